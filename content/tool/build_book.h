#pragma once

#include <QList>
#include <QString>

#include "sources.h"

namespace art {
struct PageSpec;
}

namespace tool {

struct Options {
    QString source;
    QString out;
    QString cache;
    QString preview;         // folder for PNG previews of pages (800 x 540)
    QList<int> onlyPages;    // limit reading, checking and previews to these pages
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
