#pragma once

// A new content folder with the book's shape: every page file with its entries numbered and
// placeholder texts, the six unit word lists, the built-in clips, the window pictures, the
// start window's texts and a short guide (README.md, in Chinese and English). It passes the
// content check as it is, so a school can fill it in piece by piece and build at any moment.

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
