#pragma once
// Pieces shared by the page painter and the drawings: the outline colour, the book's fonts and
// text that is laid out to fit a box.
#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QRectF>
#include <QString>

namespace art::pageart {

// The dark outline every drawing, card and band uses.
inline QColor outlineColour() {
    return QColor(0x3a, 0x2d, 0x3c);
}

// Rounded, easy-to-read letters for English; a CJK face for Chinese.
QFont englishFont(bool bold);
QFont chineseFont(bool bold);

// Where drawThing() really draws inside `rect`: drawings keep their own proportions, so they
// usually fill the rectangle in one direction only.
QRectF thingFootprint(const QRectF& rect, const QString& thing, const QString& colour);

// The text as one outline path placed inside `box`: on one line, or wrapped at a space onto
// two lines when that lets the letters be clearly bigger, and shrunk until the whole block
// fits. Letters never get taller than `maxPixelSize` design units. Returns an empty path for
// blank text or an empty box.
QPainterPath fitTextPath(const QString& text, const QFont& font, const QRectF& box,
                         double maxPixelSize, Qt::Alignment align, int maxLines = 2);

// The same, with the letter size (font pixels) the text was given.
struct FittedText {
    QPainterPath path;
    double pixels = 0;
};
FittedText fitText(const QString& text, const QFont& font, const QRectF& box, double maxPixelSize,
                   Qt::Alignment align, int maxLines = 2);

// Where a speaker's head is in a drawing placed in `rect`: where a speech box's tail points.
QPointF headPoint(const QRectF& rect, const QString& thing);

}  // namespace art::pageart
