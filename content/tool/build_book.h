#pragma once

// The content build: reads and checks the sources, makes the recordings and the pictures, and
// writes what the program embeds; or, for a run limited to a few pieces, writes each of them
// as a file of its own.

#include <QList>
#include <QString>

#include "sources/checks.h"
#include "sources/sources.h"

namespace tool {

// The pieces of the book a run is limited to (`--only p10,unit1,clips,pictures`); nothing
// chosen means the whole book.
struct Selection {
    QList<int> pages;  // book page numbers; none chosen while others are: no pages
    QList<int> units;  // unit numbers
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
    QString bookFile;  // write the whole book as this book file too
    QString preview;   // folder for the pages' preview sheets (800 x 540 PNG)
    // Limits reading, checking, previews and making to these pieces; a limited run that is
    // given an out folder writes each piece there as a file of its own.
    Selection only;
    bool checkOnly = false;  // read and check, make nothing
    // With checkOnly: listen to the pages' English recordings (all of them, or only the
    // supplied ones) and name each that does not seem to say its line.
    bool listen = false;
    bool listenSuppliedOnly = false;
    // The sources are the demonstration volume's: check its facts too, and keep the names and
    // sizes its pages have always had in the program.
    bool builtInVolume = false;
    int parallel = 2;
};

// What this tool can draw and make: the vocabulary its sources are checked against.
Vocabulary bookVocabulary();

// Runs the content build; returns the process exit code and prints problems to stderr.
int runContentBuild(const Options& options);

}  // namespace tool
