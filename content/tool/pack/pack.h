#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include "sources/sources.h"

namespace tool {

// Everything the program embeds, ready to be written.
struct BuiltBook {
    const BookSources* sources = nullptr;
    QList<QByteArray> pagePictures;  // screen order, JPEG
    QList<QSize> pagePictureSizes;
    QHash<QString, QByteArray> pictures;    // window pictures by name
    QHash<QString, QByteArray> recordings;  // Recording::key() -> WAV image
};

// Writes pack.bin (all pictures and recordings, aligned) and content_data.cpp (the tables
// that point into it). Only files whose content changed are rewritten.
bool writeBook(const BuiltBook& built, const QString& outFolder, QString* error, QString* summary);

// A C string literal holding the text as UTF-8 (non-ASCII bytes as octal escapes).
QByteArray cppString(const QString& text);

}  // namespace tool
