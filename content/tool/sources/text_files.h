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

// How a text file's bytes were written, so that a program that writes the file back (the
// studio) writes it as the teacher's editor saved it.
enum class TextEncoding { Utf8, Utf8Bom, Utf16Le, Utf16Be, Gbk };

// Decodes a text file's bytes: UTF-8 when they are valid UTF-8, otherwise GBK when they are
// valid GBK. False with `problem` set for bytes that are neither or a file that is not text.
// `encoding`, when given, is set to how the bytes were written.
bool decodeText(const QByteArray& bytes, QString& text, TextProblem& problem,
                TextEncoding* encoding = nullptr);

// Writes `text` in `encoding`, with the byte-order mark that encoding has. False when a character
// cannot be written in it (GBK).
bool encodeText(const QString& text, TextEncoding encoding, QByteArray& bytes);

// Every character of `text` that GBK cannot write, with its line and its place on the line
// (both 1-based), said in Chinese and English.
QList<TextProblem> charactersOutsideGbk(const QString& text);

// Reads the text file at `path`; false with a problem at the file's line when it cannot be read
// or decoded. A character GBK cannot write is a problem at its line, but the text is read, so
// that the rest of the file is still checked. `bytes`, when given, receives the file as it is
// on disk.
bool readTextFile(const QString& path, QString& text, Problems& problems,
                  QByteArray* bytes = nullptr);

}  // namespace tool
