#pragma once

// The tool's commands besides the build: measuring recordings, finishing one file as the
// book's recordings are finished, cutting a take of a whole page into its lines' clips,
// proposing a page picture's hotspots from its print, and writing the program's icons.

#include <QString>
#include <QStringList>

namespace tool {

// Prints, for each WAV file, its length, leading and trailing silence, loudness and peak as
// the recording pipeline measures them (decoded by libsndfile, as the program decodes). With a
// `decodeFolder`, also writes each one there as decoded: mono 16-bit PCM under the same name.
int measureRecordings(const QStringList& files, const QString& decodeFolder = {});

// Finishes one audio file into a WAV image in the codec and writes it; 0 on success.
int finishOneFile(const QString& input, const QString& codec, const QString& output);

// Cuts the take (an audio file of a page read aloud) into one clip per line of the text file
// `linesFile` (one line of the page a line, in reading order): writes them as 01.wav, 02.wav ...
// (mono 16-bit PCM at the take's rate) into `outFolder` and prints each clip's start and end in
// milliseconds and its line. A take that does not fit the page (a line missing or read twice)
// is reported with the line and nothing is written. 0 on success.
int splitTakeFile(const QString& take, const QString& linesFile, const QString& outFolder);

// Reads the printed English of a page picture and prints one proposed hotspot a line: x, y,
// width and height in the 800 x 540 design space, the reader's confidence (0-100) and the
// text, tab-separated. 0 on success, 1 when the file is not a picture or cannot be read.
int proposeHotspots(const QString& picture);

// Writes the program's icon as qcbook.svg and qcbook-N.png for the menu's sizes; 0 on success.
int writeIcons(const QString& folder);

}  // namespace tool
