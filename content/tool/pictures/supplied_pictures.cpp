#include "pictures/supplied_pictures.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <algorithm>
#include <cmath>
#include <mutex>

#include "pictures/art/window_art.h"

namespace tool {

namespace {

// Bump when the way supplied pictures are fitted or encoded changes, so that cached ones are
// made again.
constexpr int kPictureVersion = 1;
constexpr int kPageJpegQuality = 88;
// An animation keeps at most this many frames.
constexpr int kMostFrames = 240;

QByteArray readAll(const QString& path, QString* error = nullptr) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("it cannot be read: %1").arg(file.errorString());
        return {};
    }
    return file.readAll();
}

// The cache file for a picture made from `content` in the way `recipe` describes.
QString cachePath(const QString& folder, const QByteArray& content, const QString& recipe,
                  const QString& suffix) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QByteArray::number(kPictureVersion) + '|' + recipe.toUtf8() + '|');
    hash.addData(content);
    return QDir(folder).filePath(QString::fromLatin1(hash.result().toHex()) + suffix);
}

void store(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) file.commit();
}

bool decodePicture(const QByteArray& bytes, QList<QImage>& frames, int& delayMs, QString& error) {
    // Qt's allocation limit is one number for the whole program; it is set once.
    static std::once_flag limit;
    std::call_once(limit, [] { QImageReader::setAllocationLimit(kPictureMemoryLimitMb); });
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    frames.clear();
    delayMs = 100;
    if (!reader.canRead()) {
        error = QStringLiteral("it is not a picture Qt can read");
        return false;
    }
    while (frames.size() < kMostFrames) {
        QImage frame;
        if (!reader.read(&frame)) break;
        frames.append(frame);
        if (frames.size() == 1 && reader.nextImageDelay() > 0) delayMs = reader.nextImageDelay();
        if (!reader.supportsAnimation() || !reader.canRead()) break;
    }
    if (frames.isEmpty()) {
        error = QStringLiteral("it cannot be decoded as a picture: %1").arg(reader.errorString());
        return false;
    }
    return true;
}

QByteArray encodeJpeg(const QImage& image, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.setOptimizedWrite(true);
    return writer.write(image.convertToFormat(QImage::Format_RGB32)) ? bytes : QByteArray();
}

}  // namespace

QRectF fittedRect(QSizeF source, QSizeF box) {
    if (source.isEmpty() || box.isEmpty()) return {};
    const double scale = std::min(box.width() / source.width(), box.height() / source.height());
    const QSizeF size = source * scale;
    return {(box.width() - size.width()) / 2, (box.height() - size.height()) / 2, size.width(),
            size.height()};
}

QImage fitPicture(const QImage& picture, QSize size, const QColor& margin) {
    QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(margin);
    const QRectF place = fittedRect(picture.size(), size);
    // Whole pixels: the scaled picture fills its place exactly, the margins split evenly.
    const QSize scaledSize(std::clamp(int(std::lround(place.width())), 1, size.width()),
                           std::clamp(int(std::lround(place.height())), 1, size.height()));
    const QImage scaled = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                              .scaled(scaledSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&canvas);
    painter.drawImage(
        QPoint((size.width() - scaledSize.width()) / 2, (size.height() - scaledSize.height()) / 2),
        scaled);
    painter.end();
    return canvas;
}

bool readPicture(const QString& path, QList<QImage>& frames, int& delayMs, QString& error) {
    const QByteArray bytes = readAll(path, &error);
    if (bytes.isEmpty()) {
        if (error.isEmpty()) error = QStringLiteral("the file is empty");
        return false;
    }
    return decodePicture(bytes, frames, delayMs, error);
}

QByteArray encodePagePicture(const QImage& image) {
    return encodeJpeg(image, kPageJpegQuality);
}

QByteArray suppliedPagePicture(const SuppliedFile& image, QSize size, const QString& cacheFolder,
                               QString& error, bool* converted) {
    const QByteArray bytes = readAll(image.path, &error);
    if (bytes.isEmpty()) {
        if (error.isEmpty()) error = QStringLiteral("the file is empty");
        return {};
    }
    const QString cached = cachePath(cacheFolder, bytes,
                                     QStringLiteral("page|%1x%2|jpeg%3")
                                         .arg(size.width())
                                         .arg(size.height())
                                         .arg(kPageJpegQuality),
                                     QStringLiteral(".jpg"));
    QByteArray picture = readAll(cached);
    if (!picture.isEmpty()) return picture;
    QList<QImage> frames;
    int delayMs = 0;
    if (!decodePicture(bytes, frames, delayMs, error)) return {};
    picture = encodePagePicture(fitPicture(frames.first(), size, marginColour("jpg")));
    if (picture.isEmpty()) {
        error = QStringLiteral("it cannot be encoded as JPEG");
        return {};
    }
    store(cached, picture);
    if (converted) *converted = true;
    return picture;
}

QByteArray suppliedWindowPicture(const PictureSource& source, const QString& cacheFolder,
                                 QString& error, bool* converted) {
    const QByteArray bytes = readAll(source.image.path, &error);
    if (bytes.isEmpty()) {
        if (error.isEmpty()) error = QStringLiteral("the file is empty");
        return {};
    }
    const QString format = source.format.toLower();
    const QString cached = cachePath(cacheFolder, bytes,
                                     QStringLiteral("window|%1x%2|%3")
                                         .arg(source.size.width())
                                         .arg(source.size.height())
                                         .arg(format),
                                     QLatin1Char('.') + format);
    QByteArray picture = readAll(cached);
    if (!picture.isEmpty()) return picture;
    QList<QImage> frames;
    int delayMs = 0;
    if (!decodePicture(bytes, frames, delayMs, error)) return {};
    for (QImage& frame : frames) frame = fitPicture(frame, source.size, marginColour(format));
    picture = art::encodeWindowPicture(frames, format, delayMs, &error);
    if (picture.isEmpty()) return {};
    store(cached, picture);
    if (converted) *converted = true;
    return picture;
}

}  // namespace tool
