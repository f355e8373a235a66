#pragma once
#include <QColor>
#include <QImage>
#include <QLineF>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
class QPainter;
namespace art {
struct PageItem {
    int number = 0;
    QString kind;  // "title", "text", "word", "pic", "picword", "instr"; drawings: "pic", "heading"
    QString thing;  // pic/picword: a THING name
    QString
        colour;  // optional COLOUR name ("" = natural colour); for `number`, the digit/word to draw
    QRect rect;  // in the 800 x 540 design space
    QString english;  // may be "$" (placeholder); a heading's words
    QString chinese;  // may be "$"; printed only on word-list pages
    QString say;      // what the recording says (instr placeholders print this)
    int speaker = 0;  // text: the entry whose picture says it (0: nobody, no tail)
};
struct PageSpec {
    int pageNumber = 0;
    QString theme;          // sky, grass, sun, rose, lilac, sea, peach, mint
    QString sectionName;    // "Unit 1", "Recycle 1", "单词表" (for the footer)
    QSize pixelSize;        // usually 2150 x 1524; page 52 is 801 x 560
    bool wordList = false;  // pages 70 and 74: `word` items print English and, smaller, Chinese
    QList<PageItem> items;
    QList<PageItem> drawings;  // no hotspot: scenery ("pic") and headings, painted under the items
    QList<QRect> answerBoxes;  // design rects of answer controls laid over the page (draw a light
                               // frame/area, nothing else there)
    QList<QRect> listenIcons;  // the program lays its loudspeaker here: a strip leaves it room
};
QStringList knownThings();
bool isKnownThing(const QString& thing);
const QStringList& knownColours();
bool isKnownColour(const QString& colour);
// Things whose colour slot holds what to draw (a number's digits, a cake's candles).
const QStringList& countedThings();
bool takesCount(const QString& thing);
// People and animals: the drawings that can say a line.
const QStringList& speakers();
bool isSpeaker(const QString& thing);
QColor colourByName(const QString& colour);  // invalid QColor when unknown
void drawThing(QPainter& painter, const QRectF& rect, const QString& thing, const QString& colour);
QImage renderPage(const PageSpec& spec);  // Format_RGB32, exactly spec.pixelSize

// The English a page prints, with the letter size (font pixels in the 800 x 540 design space)
// it is printed at. `kind` is the item's kind, "label" for the word under a picture.
struct PrintedText {
    int number = 0;
    QString kind;
    QString text;
    double pixels = 0;
};
QList<PrintedText> printedEnglish(const PageSpec& spec);
// A speech box's tail: from the middle of its base on the box's edge to its tip, pointing at
// the speaker's head. A null line when the line has no speaker on the page.
QLineF speechTail(const PageSpec& spec, const PageItem& item);
}  // namespace art
