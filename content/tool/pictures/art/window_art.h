#pragma once
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
namespace art {
struct PictureSpec {
    QString name;  // as in pictures.txt
    QSize size;
    QString painter;  // which painter draws it
    QString text;     // optional text the painter writes (captions, titles)
    QString format;   // "jpg", "gif" or "png"
};
// Renders and encodes the picture; on failure returns empty and sets *error.
QByteArray renderWindowPicture(const PictureSpec& spec, QString* error);
// The program's icon at `size` x `size` pixels, and as a scalable SVG.
QImage renderAppIcon(int size);
QByteArray renderAppIconSvg();
// Encodes frames as a window picture in `format` (jpg, png: the first frame; gif: all frames,
// `delayMs` apart, looping). Empty with *error set on failure.
QByteArray encodeWindowPicture(const QList<QImage>& frames, const QString& format, int delayMs,
                               QString* error);
// GIF89a with a global palette (at most 256 colours, your own LZW encoder), looping forever.
QByteArray writeAnimatedGif(const QList<QImage>& frames, int delayMs);
}  // namespace art
