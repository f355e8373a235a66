#pragma once

// The book named on the command line (a double click on a book file passes it the same way):
// opened and checked in full before any window shows.

#include <QString>
#include <memory>

#include "book/book_file.h"

namespace app {

// Opens the book file at `path` and shows it from now on. A file that is refused gets a
// message box in Chinese and the same line on standard error; the result is then nullptr and
// the program ends with status 1. The returned file must outlive every window.
std::unique_ptr<book::BookFile> openBookArgument(const QString& path);

// The absolute path of the book file opened, empty for the built-in book: the desktop
// shortcut made for it opens that file.
QString openedBookPath();

}  // namespace app
