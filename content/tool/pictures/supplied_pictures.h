#pragma once

// Pictures a school supplies in place of what the tool draws: scans or photos of its pages and
// window pictures, fitted to the size their role takes with their aspect kept. (A supplied
// recording goes through the same finishing as a made one.)

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QSize>
#include <QString>

#include "sources/sources.h"

namespace tool {

// Pictures are read when they decode to at most this many megabytes (a 600 dpi scan of an A4
// page takes about 140).
inline constexpr int kPictureMemoryLimitMb = 1024;

// Where a picture of `source` size lies when fitted into `box`: as large as fits with its
// aspect kept, centred.
QRectF fittedRect(QSizeF source, QSizeF box);

// The picture scaled into a canvas of `size`, as fittedRect places it, on `margin`.
QImage fitPicture(const QImage& picture, QSize size, const QColor& margin);

// The colour around a picture whose aspect differs from its place: plain white, like paper.
// PNG window pictures get a see-through margin instead.
inline QColor marginColour(const QString& format) {
    return format == QLatin1String("png") ? QColor(Qt::transparent) : QColor(Qt::white);
}

// Reads a picture file whole, every frame of an animation, turned upright as its EXIF
// orientation says. False with `error` set when it cannot.
bool readPicture(const QString& path, QList<QImage>& frames, int& delayMs, QString& error);

// A page picture encoded as the program takes it (JPEG).
QByteArray encodePagePicture(const QImage& image);

// The page picture from the page's image file: fitted into `size` and encoded as JPEG; a
// finished picture is kept in `cacheFolder` under a name made from the file's content and the
// way it is made, so an unchanged file is not converted again (`converted`, when given, is set
// when it was). Empty with `error` on failure.
QByteArray suppliedPagePicture(const SuppliedFile& image, QSize size, const QString& cacheFolder,
                               QString& error, bool* converted = nullptr);

// A window picture from its image file, fitted into its size and encoded in its format (an
// animated GIF keeps its frames when the format is gif); cached as above.
QByteArray suppliedWindowPicture(const PictureSource& picture, const QString& cacheFolder,
                                 QString& error, bool* converted = nullptr);

}  // namespace tool
