#pragma once

#include <QByteArray>
#include <QString>

#include "pack/pack.h"

namespace tool {

// The built book as one book file (the format the program opens at run time): the same tables,
// pictures and recordings that the embedded book gets, in the same order.
QByteArray bookFileBytes(const BuiltBook& built);

// Writes the book file through a temporary file that replaces `path` only when complete.
bool writeBookFileTo(const BuiltBook& built, const QString& path, QString* error);

}  // namespace tool
