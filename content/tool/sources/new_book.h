#pragma once

// A new content folder: a small sample book (its names and sections in book.txt, four pages with
// a few entries each, a listening exercise and a word list among them, two units of four words),
// the built-in clips, the window pictures, the start window's texts and a short guide (README.md,
// in Chinese and English) that explains the book's shape. It passes the content check as it is,
// so a school can grow it into its own book piece by piece and build at any moment.

#include <QByteArray>
#include <QMap>
#include <QString>

namespace tool {

// The folder's files by their path inside it.
QMap<QString, QByteArray> newBookFiles();

// Writes the files into `folder`, which must not exist or be empty, with the empty folders
// scans/ and recordings/ for the school's files. Returns the process exit code.
int writeNewBook(const QString& folder);

}  // namespace tool
