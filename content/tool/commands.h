#pragma once

// The tool's commands besides the build: measuring recordings, finishing one file as the
// book's recordings are finished, and writing the program's icons.

#include <QString>
#include <QStringList>

namespace tool {

// Prints, for each WAV file, its length, leading and trailing silence, loudness and peak as
// the recording pipeline measures them (decoded by libsndfile, as the program decodes). With a
// `decodeFolder`, also writes each one there as decoded: mono 16-bit PCM under the same name.
int measureRecordings(const QStringList& files, const QString& decodeFolder = {});

// Finishes one audio file into a WAV image in the codec and writes it; 0 on success.
int finishOneFile(const QString& input, const QString& codec, const QString& output);

// Writes the program's icon as qcbook.svg and qcbook-N.png for the menu's sizes; 0 on success.
int writeIcons(const QString& folder);

}  // namespace tool
