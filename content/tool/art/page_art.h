#pragma once
#include <QColor>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
class QPainter;
namespace art {
struct PageItem {
    int number = 0;
    QString kind;   // "title", "text", "word", "pic", "picword", "instr"
    QString thing;  // pic/picword: a THING name
    QString
        colour;  // optional COLOUR name ("" = natural colour); for `number`, the digit/word to draw
    QRect rect;  // in the 800 x 540 design space
    QString english;  // may be "$" (placeholder)
    QString chinese;  // may be "$"; printed only on word-list pages
    QString say;      // what the recording says (instr placeholders print this)
};
struct PageSpec {
    int pageNumber = 0;
    QString theme;          // sky, grass, sun, rose, lilac, sea, peach, mint
    QString sectionName;    // "Unit 1", "Recycle 1", "单词表" (for the footer)
    QSize pixelSize;        // usually 2150 x 1524; page 52 is 801 x 560
    bool wordList = false;  // pages 70 and 74: `word` items print English and, smaller, Chinese
    QList<PageItem> items;
    QList<QRect> answerBoxes;  // design rects of answer controls laid over the page (draw a light
                               // frame/area, nothing else there)
};
QStringList knownThings();
bool isKnownThing(const QString& thing);
bool isKnownColour(const QString& colour);
QColor colourByName(const QString& colour);  // invalid QColor when unknown
void drawThing(QPainter& painter, const QRectF& rect, const QString& thing, const QString& colour);
QImage renderPage(const PageSpec& spec);  // Format_RGB32, exactly spec.pixelSize
}  // namespace art
