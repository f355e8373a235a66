#pragma once

#include <QList>
#include <QString>

#include "sources/sources.h"

namespace art {
struct PageSpec;
}

namespace tool {

// The pieces of the book a run is limited to (`--only p10,unit1,clips,pictures`); nothing
// chosen means the whole book.
struct Selection {
    QList<int> pages;  // book page numbers; none chosen while others are: no pages
    QList<int> units;
    bool clips = false;
    bool pictures = false;
    bool whole() const { return pages.isEmpty() && units.isEmpty() && !clips && !pictures; }
    // Reads "p10,p12,unit1,clips,pictures"; false with `error` set for an unknown piece.
    bool parse(const QString& text, QString& error);
};

struct Options {
    QString source;
    QString out;
    QString cache;
    QString preview;  // folder for the pages' preview sheets (800 x 540 PNG)
    // Limits reading, checking, previews and making to these pieces; a limited run that is
    // given an out folder writes each piece there as a file of its own.
    Selection only;
    bool checkOnly = false;  // read and check, make nothing
    int parallel = 2;
};

// What a page source asks the page painter to draw.
art::PageSpec pageSpec(const PageSource& page, QSize pixelSize);

// Runs the content build; returns the process exit code and prints problems to stderr.
int runContentBuild(const Options& options);

// Prints, for each WAV file, its length, leading and trailing silence, loudness and peak as
// the recording pipeline measures them (decoded by libsndfile, as the program decodes). With a
// `decodeFolder`, also writes each one there as decoded: mono 16-bit PCM under the same name.
int measureRecordings(const QStringList& files, const QString& decodeFolder = {});

// Finishes one audio file into a WAV image in the codec and writes it; 0 on success.
int finishOneFile(const QString& input, const QString& codec, const QString& output);

// Writes the program's icon as qcbook.svg and qcbook-N.png for the menu's sizes; 0 on success.
int writeIcons(const QString& folder);

}  // namespace tool
