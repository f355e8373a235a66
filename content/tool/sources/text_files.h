#pragma once

// The text files of a content folder as teachers' editors save them: UTF-8 with or without a
// byte-order mark (Notepad writes one), UTF-16 with one (Notepad's "Unicode"), or GBK (what
// Chinese Windows has long saved). Every character must be one GBK can write: the program lays
// out its texts by their GBK length.

#include <QByteArray>
#include <QList>
#include <QString>

#include "sources/sources.h"

namespace tool {

struct TextProblem {
    int line = 0;  // 1-based; 0 for the whole file
    QString message;
};

// Decodes a text file's bytes: UTF-8 when they are valid UTF-8, otherwise GBK when they are
// valid GBK. False with `problem` set for bytes that are neither or a file that is not text.
bool decodeText(const QByteArray& bytes, QString& text, TextProblem& problem);

// Every character of `text` that GBK cannot write, with its line and its place on the line
// (both 1-based), said in Chinese and English.
QList<TextProblem> charactersOutsideGbk(const QString& text);

// Reads the text file at `path`; false with a problem at the file's line when it cannot be read
// or decoded. A character GBK cannot write is a problem at its line, but the text is read, so
// that the rest of the file is still checked.
bool readTextFile(const QString& path, QString& text, Problems& problems);

}  // namespace tool
