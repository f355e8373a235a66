// The program's icon: the series' little orange over an open book, with sound coming from the
// spot it touches, on a sky-blue tile. Drawn once in a 256 x 256 design space, as PNG at any
// size and as SVG.

#include <QBuffer>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>

#include "pictures/art/shapes.h"
#include "pictures/art/window_art.h"

namespace art {

namespace {

constexpr qreal kDesign = 256;

void paintIcon(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF tile(8, 8, kDesign - 16, kDesign - 16);
    QLinearGradient sky(tile.topLeft(), tile.bottomLeft());
    sky.setColorAt(0, QColor(0x3f, 0xa9, 0xf5));
    sky.setColorAt(1, QColor(0xc9, 0xec, 0xff));
    p.setPen(QPen(QColor(0x2b, 0x7c, 0xc0), 4));
    p.setBrush(sky);
    p.drawRoundedRect(tile, 52, 52);

    paintOpenBook(p, QPointF(128, 170), 196, QColor(0x2e, 0xa0, 0x52));

    // Sound rising from the page where the orange touches it.
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 3; ++i) {
        const qreal r = 30 + i * 20;
        p.setPen(QPen(QColor(255, 255, 255, 235 - i * 40), 9, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(150 - r, 96 - r, 2 * r, 2 * r), -40 * 16, 80 * 16);
    }
    paintOrangeLogo(p, QPointF(104, 96), 46);
}

}  // namespace

QImage renderAppIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.scale(size / kDesign, size / kDesign);
    paintIcon(p);
    return image;
}

QByteArray renderAppIconSvg() {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(int(kDesign), int(kDesign)));
    svg.setViewBox(QRectF(0, 0, kDesign, kDesign));
    svg.setTitle(QStringLiteral("qcbook"));
    svg.setDescription(QStringLiteral("An orange over an open book, with sound"));
    QPainter p(&svg);
    paintIcon(p);
    p.end();
    return buffer.data();
}

}  // namespace art
