// The drawing vocabulary of the book's pages: people, animals, school things, food and toys.
//
// Every drawing is made of simple filled shapes with a dark outline and is designed in its own
// small coordinate box (about 100 units high). drawThing() scales that box uniformly and centres
// it in the caller's rectangle, so a drawing never stretches and never leaves its rectangle.
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <QTransform>
#include <QtMath>

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>

#include "pictures/art/page_art.h"
#include "pictures/art/things.h"

namespace art {
namespace {

using pageart::outlineColour;

constexpr double kLine = 2.4;     // outline width in drawing units
constexpr double kMargin = 0.03;  // share of the rectangle kept free around a drawing

// ---------------------------------------------------------------------------------------------
// Colours

const QColor kSkin(0xFF, 0xDC, 0xC0);
const QColor kSkinShade(0xF0, 0xB4, 0x92);
const QColor kCheek(0xFF, 0x86, 0x9C, 110);
const QColor kWhite(0xFF, 0xFF, 0xFF);
const QColor kBrownHair(0x7A, 0x4A, 0x2A);
const QColor kDarkHair(0x35, 0x2C, 0x3A);
const QColor kGreyHair(0xD4, 0xD3, 0xDC);
const QColor kWood(0xD9, 0xA0, 0x66);
const QColor kLeaf(0x5C, 0xBF, 0x5A);
const QColor kStem(0x8A, 0x5A, 0x33);
const QColor kGold(0xFF, 0xCB, 0x3D);
const QColor kRed(0xEF, 0x4C, 0x4C);
const QColor kPink(0xFF, 0x7E, 0xB3);
const QColor kBlue(0x4D, 0x9D, 0xF0);
const QColor kNavy(0x3A, 0x55, 0x9A);
const QColor kPurple(0x9B, 0x6B, 0xD6);
const QColor kOrange(0xFF, 0x9A, 0x2E);
const QColor kYellow(0xFF, 0xD6, 0x3F);
const QColor kGreen(0x4C, 0xBB, 0x6C);
const QColor kGlass(0xE6, 0xF5, 0xFF);

// ---------------------------------------------------------------------------------------------
// Shapes

QPainterPath circle(double cx, double cy, double r) {
    QPainterPath path;
    path.addEllipse(QPointF(cx, cy), r, r);
    return path;
}

QPainterPath oval(double cx, double cy, double rx, double ry) {
    QPainterPath path;
    path.addEllipse(QPointF(cx, cy), rx, ry);
    return path;
}

QPainterPath roundBox(double x, double y, double w, double h, double r) {
    QPainterPath path;
    path.addRoundedRect(QRectF(x, y, w, h), r, r);
    return path;
}

QPainterPath polygon(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

QPainterPath segment(QPointF from, QPointF to) {
    QPainterPath path(from);
    path.lineTo(to);
    return path;
}

QPainterPath bend(QPointF from, QPointF control, QPointF to) {
    QPainterPath path(from);
    path.quadTo(control, to);
    return path;
}

QPainterPath turned(const QPainterPath& path, QPointF centre, double degrees) {
    QTransform t;
    t.translate(centre.x(), centre.y());
    t.rotate(degrees);
    t.translate(-centre.x(), -centre.y());
    return t.map(path);
}

// The outline of a line drawn `width` wide with round ends, as a fillable shape.
QPainterPath thick(const QPainterPath& spine, double width) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(spine).simplified();
}

// A star with `points` tips around (cx, cy).
QPainterPath starShape(double cx, double cy, double outer, double inner, int points = 5) {
    QPolygonF corners;
    for (int i = 0; i < points * 2; ++i) {
        const double angle = -M_PI / 2 + i * M_PI / points;
        const double r = i % 2 == 0 ? outer : inner;
        corners << QPointF(cx + r * std::cos(angle), cy + r * std::sin(angle));
    }
    QPainterPath path;
    path.addPolygon(corners);
    path.closeSubpath();
    return path;
}

// A soft blob whose edge swells and dips `lobes` times (splashes, bushes).
QPainterPath blob(double cx, double cy, double r, int lobes, double dip) {
    QPainterPath path;
    const int steps = lobes * 2;
    auto pointAt = [&](int i) {
        const double angle = 2 * M_PI * i / steps;
        const double radius = i % 2 == 0 ? r : r * dip;
        return QPointF(cx + radius * std::cos(angle), cy + radius * std::sin(angle));
    };
    auto middle = [](QPointF a, QPointF b) { return (a + b) / 2; };
    path.moveTo(middle(pointAt(0), pointAt(1)));
    for (int i = 1; i <= steps; ++i) path.quadTo(pointAt(i), middle(pointAt(i), pointAt(i + 1)));
    path.closeSubpath();
    return path;
}

// ---------------------------------------------------------------------------------------------
// Ink: how shapes are put on the page.

class Ink {
  public:
    Ink(QPainter& painter, QColor tint) : painter_(painter), tint_(tint) {}

    QPainter& painter() { return painter_; }
    bool tinted() const { return tint_.isValid(); }
    // Stretched things are designed 100 high and as wide as their rectangle allows.
    double width() const { return width_; }
    void setWidth(double width) { width_ = width; }
    // Page units per design unit, for lines that keep their width whatever the size.
    double scale() const { return scale_; }
    void setScale(double scale) { scale_ = scale; }
    // What the colour slot counts for things that take a count (a cake's candles).
    int count() const { return count_; }
    void setCount(int count) { count_ = count; }
    // The caller's colour when one was asked for, else the thing's natural colour.
    QColor pick(const QColor& natural) const { return tint_.isValid() ? tint_ : natural; }

    void fill(const QPainterPath& path, const QColor& colour, double line = kLine) {
        if (line > 0) {
            painter_.setPen(
                QPen(outlineColour(), line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        } else {
            painter_.setPen(Qt::NoPen);
        }
        painter_.setBrush(colour);
        painter_.drawPath(path);
    }
    void flat(const QPainterPath& path, const QColor& colour) { fill(path, colour, 0); }
    void stroke(const QPainterPath& path, const QColor& colour, double width) {
        painter_.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter_.setBrush(Qt::NoBrush);
        painter_.drawPath(path);
    }
    // A thick line with an outline (arms, legs, stems, trunks).
    void limb(const QPainterPath& spine, const QColor& colour, double width) {
        fill(thick(spine, width), colour);
    }
    // A white gloss spot.
    void shine(double cx, double cy, double rx, double ry, double degrees = -30) {
        flat(turned(oval(cx, cy, rx, ry), QPointF(cx, cy), degrees), QColor(255, 255, 255, 150));
    }

  private:
    QPainter& painter_;
    QColor tint_;
    double width_ = 100;
    double scale_ = 1;
    int count_ = 0;
};

// Restricts painting to a shape until the end of the scope.
class ClipTo {
  public:
    ClipTo(QPainter& painter, const QPainterPath& shape) : painter_(painter) {
        painter_.save();
        painter_.setClipPath(shape, Qt::IntersectClip);
    }
    ~ClipTo() { painter_.restore(); }
    ClipTo(const ClipTo&) = delete;
    ClipTo& operator=(const ClipTo&) = delete;

  private:
    QPainter& painter_;
};

void label(Ink& ink, const QString& text, const QRectF& box, const QColor& colour) {
    const QPainterPath letters = pageart::fitTextPath(text, pageart::englishFont(true), box,
                                                      box.height(), Qt::AlignCenter, 1);
    ink.flat(letters, colour);
}

// ---------------------------------------------------------------------------------------------
// Faces

void eye(Ink& ink, double x, double y, double r) {
    ink.flat(oval(x, y, r * 0.82, r), outlineColour());
    ink.flat(circle(x + r * 0.3, y - r * 0.38, r * 0.34), kWhite);
}

void eyes(Ink& ink, double cx, double y, double gap, double r) {
    eye(ink, cx - gap, y, r);
    eye(ink, cx + gap, y, r);
}

void smile(Ink& ink, double cx, double y, double w, double depth, double line = kLine) {
    ink.stroke(bend(QPointF(cx - w / 2, y), QPointF(cx, y + depth * 2), QPointF(cx + w / 2, y)),
               outlineColour(), line);
}

// An open, laughing mouth: a half moon with a tongue.
void laugh(Ink& ink, double cx, double y, double w, double h) {
    QPainterPath mouth(QPointF(cx - w / 2, y));
    mouth.cubicTo(cx - w / 2, y + h * 1.3, cx + w / 2, y + h * 1.3, cx + w / 2, y);
    mouth.closeSubpath();
    ink.fill(mouth, QColor(0xB0, 0x2E, 0x45), kLine * 0.8);
    ClipTo clip(ink.painter(), mouth);
    ink.flat(oval(cx, y + h, w * 0.3, h * 0.45), QColor(0xFF, 0x86, 0x9C));
}

void cheeks(Ink& ink, double cx, double y, double gap, double r) {
    ink.flat(oval(cx - gap, y, r, r * 0.7), kCheek);
    ink.flat(oval(cx + gap, y, r, r * 0.7), kCheek);
}

void glasses(Ink& ink, double cx, double y, double gap, double r) {
    ink.stroke(circle(cx - gap, y, r), outlineColour(), kLine * 0.7);
    ink.stroke(circle(cx + gap, y, r), outlineColour(), kLine * 0.7);
    ink.stroke(segment(QPointF(cx - gap + r, y), QPointF(cx + gap - r, y)), outlineColour(),
               kLine * 0.7);
}

// A smiling face inside a head circle of radius r.
void happyFace(Ink& ink, double cx, double cy, double r) {
    eyes(ink, cx, cy + r * 0.08, r * 0.36, r * 0.14);
    smile(ink, cx, cy + r * 0.42, r * 0.44, r * 0.13);
    cheeks(ink, cx, cy + r * 0.4, r * 0.58, r * 0.15);
}

// Hair on top of a head: the part of a slightly larger circle above the fringe line.
void hairCap(Ink& ink, double cx, double cy, double r, const QPainterPath& aboveFringe,
             const QColor& colour) {
    ink.fill(circle(cx, cy - r * 0.06, r * 1.08).intersected(aboveFringe), colour);
}

// Short hair with a spiky fringe (boys, dads).
QPainterPath spikyFringe(double cx, double cy, double r) {
    const double top = cy - r * 1.3;
    const double y = cy - r * 0.3;
    return polygon({{cx - r * 1.2, top},
                    {cx + r * 1.2, top},
                    {cx + r * 1.2, y + r * 0.2},
                    {cx + r * 0.8, y - r * 0.1},
                    {cx + r * 0.55, y + r * 0.12},
                    {cx + r * 0.25, y - r * 0.18},
                    {cx, y + r * 0.1},
                    {cx - r * 0.3, y - r * 0.16},
                    {cx - r * 0.55, y + r * 0.14},
                    {cx - r * 0.85, y - r * 0.05},
                    {cx - r * 1.2, y + r * 0.35}});
}

// Longer hair with a smooth side-swept fringe that reaches down to the ears.
QPainterPath sweptFringe(double cx, double cy, double r) {
    QPainterPath path(QPointF(cx - r * 1.2, cy + r * 0.3));
    path.quadTo(cx - r * 0.9, cy - r * 0.55, cx + r * 0.05, cy - r * 0.45);
    path.quadTo(cx + r * 0.8, cy - r * 0.4, cx + r * 1.2, cy + r * 0.3);
    path.lineTo(cx + r * 1.2, cy - r * 1.3);
    path.lineTo(cx - r * 1.2, cy - r * 1.3);
    path.closeSubpath();
    return path;
}

void ears(Ink& ink, double cx, double cy, double r) {
    ink.fill(circle(cx - r, cy + r * 0.1, r * 0.22), kSkin);
    ink.fill(circle(cx + r, cy + r * 0.1, r * 0.22), kSkin);
}

void bow(Ink& ink, double cx, double cy, double size, const QColor& colour) {
    ink.fill(polygon({{cx, cy}, {cx - size, cy - size * 0.7}, {cx - size, cy + size * 0.7}}),
             colour, kLine * 0.8);
    ink.fill(polygon({{cx, cy}, {cx + size, cy - size * 0.7}, {cx + size, cy + size * 0.7}}),
             colour, kLine * 0.8);
    ink.fill(circle(cx, cy, size * 0.3), colour, kLine * 0.8);
}

// ---------------------------------------------------------------------------------------------
// People (boxes of 100 x 130)

struct Outfit {
    QColor top;
    QColor bottom;
    QColor shoes;
};

void shoes(Ink& ink, double leftX, double rightX, double y, const QColor& colour) {
    ink.fill(oval(leftX - 2, y, 8, 4.5), colour);
    ink.fill(oval(rightX + 2, y, 8, 4.5), colour);
}

void hand(Ink& ink, double x, double y, double r) {
    ink.fill(circle(x, y, r), kSkin);
}

// A child's body below a head at (50, 38): legs, shoes, arms and a T-shirt with shorts.
void childBody(Ink& ink, const Outfit& outfit, bool waveRight) {
    ink.limb(segment({43, 96}, {42, 116}), kSkin, 8);
    ink.limb(segment({57, 96}, {58, 116}), kSkin, 8);
    shoes(ink, 42, 58, 120, outfit.shoes);
    ink.fill(polygon({{32, 86}, {68, 86}, {70, 102}, {53, 102}, {50, 97}, {47, 102}, {30, 102}}),
             outfit.bottom);
    ink.limb(bend({34, 68}, {27, 78}, {25, 89}), kSkin, 7);
    hand(ink, 25, 91, 5);
    if (waveRight) {
        ink.limb(bend({66, 68}, {78, 66}, {81, 51}), kSkin, 7);
        hand(ink, 82, 47, 5.5);
    } else {
        ink.limb(bend({66, 68}, {73, 78}, {75, 89}), kSkin, 7);
        hand(ink, 75, 91, 5);
    }
    const QPainterPath shirt =
        roundBox(31, 61, 38, 31, 9).united(circle(32, 68, 7.5)).united(circle(68, 68, 7.5));
    ink.fill(shirt, outfit.top);
    ClipTo clip(ink.painter(), shirt);
    ink.flat(roundBox(20, 76, 60, 5, 0), outfit.top.lighter(125));
}

void drawBoy(Ink& ink) {
    childBody(ink, {ink.pick(kBlue), kNavy, QColor(0xE8, 0x5A, 0x4F)}, true);
    ears(ink, 50, 38, 24);
    ink.fill(circle(50, 38, 24), kSkin);
    hairCap(ink, 50, 38, 24, spikyFringe(50, 38, 24), kBrownHair);
    happyFace(ink, 50, 38, 24);
}

// Lily: dark hair in two buns with bows. Asked for in a colour, she is another girl (her
// friend): brown hair in a ponytail, and the dress in that colour.
void drawGirl(Ink& ink) {
    const QColor dressColour = ink.pick(kPink);
    const bool friendLook = ink.tinted();
    const QColor hair = friendLook ? kBrownHair : kDarkHair;
    if (friendLook) {
        QPainterPath ponytail(QPointF(64, 20));
        ponytail.cubicTo(90, 12, 98, 40, 88, 64);
        ponytail.cubicTo(84, 50, 80, 36, 66, 32);
        ponytail.closeSubpath();
        ink.fill(ponytail, hair);
    } else {
        ink.fill(circle(23, 46, 9), hair);
        ink.fill(circle(77, 46, 9), hair);
    }
    ink.limb(segment({44, 98}, {43, 116}), kSkin, 7.5);
    ink.limb(segment({56, 98}, {57, 116}), kSkin, 7.5);
    shoes(ink, 43, 57, 120, QColor(0xE8, 0x4F, 0x8A));
    ink.limb(bend({34, 68}, {24, 64}, {20, 51}), kSkin, 7);
    hand(ink, 19, 47, 5.5);
    ink.limb(bend({66, 68}, {73, 78}, {75, 88}), kSkin, 7);
    hand(ink, 75, 90, 5);
    QPainterPath dress(QPointF(37, 61));
    dress.lineTo(63, 61);
    dress.lineTo(75, 99);
    dress.quadTo(50, 105, 25, 99);
    dress.closeSubpath();
    ink.fill(dress.united(circle(34, 67, 7)).united(circle(66, 67, 7)), dressColour);
    ink.fill(polygon({{43, 61}, {57, 61}, {50, 69}}), kWhite, kLine * 0.8);
    ink.fill(circle(50, 38, 24), kSkin);
    hairCap(ink, 50, 38, 24, sweptFringe(50, 38, 24), hair);
    if (friendLook) {
        ink.stroke(bend({30, 24}, {50, 8}, {70, 24}), dressColour, 3.5);
        bow(ink, 70, 22, 6, dressColour);
    } else {
        bow(ink, 24, 33, 6, dressColour);
        bow(ink, 76, 33, 6, dressColour);
    }
    happyFace(ink, 50, 38, 24);
}

// An adult's legs, shoes and arms below a head at (50, 30).
void adultLegs(Ink& ink, const QColor& legs, double width, const QColor& shoeColour) {
    ink.limb(segment({44, 92}, {43, 117}), legs, width);
    ink.limb(segment({56, 92}, {57, 117}), legs, width);
    shoes(ink, 43, 57, 121, shoeColour);
}

void adultArms(Ink& ink, const QColor& sleeves) {
    ink.limb(bend({33, 52}, {26, 70}, {26, 86}), sleeves, 8);
    ink.limb(bend({67, 52}, {74, 70}, {74, 86}), sleeves, 8);
    hand(ink, 26, 89, 5);
    hand(ink, 74, 89, 5);
}

QPainterPath adultTop(double bottom) {
    return roundBox(31, 45, 38, bottom - 45, 10)
        .united(circle(33, 53, 7))
        .united(circle(67, 53, 7));
}

void drawTeacher(Ink& ink) {
    const QColor blouse = ink.pick(QColor(0x3F, 0xB6, 0x8A));
    ink.fill(roundBox(29, 14, 42, 36, 14), kBrownHair);
    adultLegs(ink, kSkin, 7, outlineColour());
    ink.fill(polygon({{32, 82}, {68, 82}, {72, 104}, {28, 104}}), kNavy);
    ink.limb(bend({33, 52}, {26, 70}, {26, 86}), blouse, 8);
    hand(ink, 26, 89, 5);
    ink.fill(adultTop(86), blouse);
    ink.fill(polygon({{44, 45}, {56, 45}, {50, 54}}), kWhite, kLine * 0.8);
    // A book held against the chest.
    ink.fill(roundBox(52, 58, 24, 28, 2), kRed);
    ink.flat(roundBox(56, 64, 16, 5, 1), kWhite);
    ink.limb(bend({67, 52}, {78, 66}, {68, 76}), blouse, 8);
    hand(ink, 65, 77, 5);
    ink.fill(circle(50, 30, 19), kSkin);
    hairCap(ink, 50, 30, 19, sweptFringe(50, 30, 19), kBrownHair);
    happyFace(ink, 50, 30, 19);
    glasses(ink, 50, 32, 7, 5);
}

// Lily's mum: long auburn hair and a red dress. Asked for in a colour, she is another mum
// (Tom's): short dark hair, and the dress in that colour.
void drawMum(Ink& ink) {
    const bool otherMum = ink.tinted();
    const QColor hair = otherMum ? kDarkHair : QColor(0xA0, 0x52, 0x2D);
    const QColor dress = ink.pick(QColor(0xF2, 0x5F, 0x5C));
    ink.fill(otherMum ? roundBox(29, 14, 42, 30, 14) : roundBox(28, 14, 44, 48, 16), hair);
    adultLegs(ink, kSkin, 7, dress.darker(130));
    adultArms(ink, kSkin);
    QPainterPath gown(QPointF(36, 45));
    gown.lineTo(64, 45);
    gown.lineTo(76, 104);
    gown.quadTo(50, 109, 24, 104);
    gown.closeSubpath();
    ink.fill(gown.united(circle(34, 52, 6.5)).united(circle(66, 52, 6.5)), dress);
    ink.flat(roundBox(33, 74, 34, 5, 2), dress.lighter(125));
    ink.fill(circle(50, 30, 19), kSkin);
    hairCap(ink, 50, 30, 19, sweptFringe(50, 30, 19), hair);
    happyFace(ink, 50, 30, 19);
    for (int i = -2; i <= 2; ++i)
        ink.flat(circle(50 + i * 4, 50.5 - std::abs(i) * 0.8, 1.6), kWhite);
}

void drawDad(Ink& ink) {
    const QColor shirt = ink.pick(QColor(0x6E, 0xC1, 0xFF));
    adultLegs(ink, QColor(0x4A, 0x4F, 0x5C), 11, QColor(0x7A, 0x4A, 0x2A));
    adultArms(ink, shirt);
    ink.fill(adultTop(94).united(roundBox(29, 45, 42, 40, 10)), shirt);
    ink.fill(polygon({{47, 46}, {53, 46}, {55, 72}, {50, 78}, {45, 72}}), kRed, kLine * 0.8);
    ears(ink, 50, 30, 19);
    ink.fill(circle(50, 30, 19), kSkin);
    hairCap(ink, 50, 30, 19, spikyFringe(50, 30, 19), kDarkHair);
    happyFace(ink, 50, 30, 19);
}

void drawGrandma(Ink& ink) {
    const QColor cardigan = ink.pick(QColor(0x9B, 0x6B, 0xD6));
    ink.fill(circle(50, 9, 7), kGreyHair);
    adultLegs(ink, kSkin, 7, outlineColour());
    ink.fill(polygon({{32, 80}, {68, 80}, {71, 108}, {29, 108}}), QColor(0xC9, 0xB3, 0xF2));
    adultArms(ink, cardigan);
    ink.fill(adultTop(86), cardigan);
    ink.fill(polygon({{44, 45}, {56, 45}, {54, 86}, {46, 86}}), kWhite, kLine * 0.8);
    for (int i = 0; i < 3; ++i) ink.flat(circle(42, 58 + i * 9, 1.6), outlineColour());
    ink.fill(circle(50, 30, 19), kSkin);
    hairCap(ink, 50, 30, 19, sweptFringe(50, 30, 19), kGreyHair);
    happyFace(ink, 50, 30, 19);
    glasses(ink, 50, 32, 7, 5);
}

void drawGrandpa(Ink& ink) {
    const QColor cardigan = ink.pick(QColor(0xA0, 0x70, 0x3C));
    adultLegs(ink, QColor(0x6B, 0x62, 0x5A), 11, outlineColour());
    ink.limb(bend({33, 52}, {26, 70}, {26, 86}), cardigan, 8);
    hand(ink, 26, 89, 5);
    ink.limb(segment({78, 82}, {80, 121}), kStem, 4);
    ink.stroke(bend({78, 82}, {80, 72}, {70, 76}), kStem, 4);
    ink.fill(adultTop(92), cardigan);
    ink.limb(bend({67, 52}, {76, 66}, {77, 80}), cardigan, 8);
    hand(ink, 77, 82, 5);
    for (int i = 0; i < 3; ++i) ink.flat(circle(50, 60 + i * 10, 1.8), outlineColour());
    ears(ink, 50, 30, 19);
    ink.fill(circle(50, 30, 19), kSkin);
    ink.fill(oval(33, 26, 4.5, 8), kGreyHair);
    ink.fill(oval(67, 26, 4.5, 8), kGreyHair);
    eyes(ink, 50, 30, 7, 2.6);
    glasses(ink, 50, 31, 7, 5);
    ink.fill(oval(45.5, 40, 5.5, 3), kWhite, kLine * 0.7);
    ink.fill(oval(54.5, 40, 5.5, 3), kWhite, kLine * 0.7);
    cheeks(ink, 50, 38, 11, 2.8);
}

void drawBaby(Ink& ink) {
    const QColor suit = ink.pick(QColor(0xFF, 0xE0, 0x66));
    ink.fill(oval(34, 90, 8, 6), kSkin);
    ink.fill(oval(66, 90, 8, 6), kSkin);
    ink.fill(oval(50, 72, 24, 20), suit);
    ink.fill(turned(oval(27, 70, 6, 9), {27, 70}, 25), kSkin);
    ink.fill(turned(oval(73, 70, 6, 9), {73, 70}, -25), kSkin);
    ink.fill(oval(50, 70, 11, 8), kWhite, kLine * 0.8);
    ink.fill(circle(50, 38, 25), kSkin);
    QPainterPath curl(QPointF(48, 14));
    curl.cubicTo(44, 6, 56, 4, 55, 11);
    curl.cubicTo(54, 15, 49, 13, 51, 10);
    ink.stroke(curl, kBrownHair, 3);
    eyes(ink, 50, 40, 9, 3.4);
    smile(ink, 50, 49, 8, 2.5);
    cheeks(ink, 50, 48, 15, 4);
}

// A child doing a star jump: arms up, legs apart.
void drawBody(Ink& ink) {
    const QColor shirt = ink.pick(QColor(0xFF, 0x9F, 0x43));
    ink.limb(segment({44, 96}, {34, 116}), kSkin, 8);
    ink.limb(segment({56, 96}, {66, 116}), kSkin, 8);
    shoes(ink, 36, 64, 120, kBlue);
    ink.fill(polygon({{32, 86}, {68, 86}, {72, 102}, {53, 102}, {50, 97}, {47, 102}, {28, 102}}),
             kNavy);
    ink.limb(bend({34, 68}, {22, 60}, {16, 44}), kSkin, 7);
    ink.limb(bend({66, 68}, {78, 60}, {84, 44}), kSkin, 7);
    hand(ink, 15, 40, 5.5);
    hand(ink, 85, 40, 5.5);
    ink.fill(roundBox(31, 61, 38, 31, 9).united(circle(32, 67, 7)).united(circle(68, 67, 7)),
             shirt);
    ink.fill(starShape(50, 76, 7, 3), kYellow, kLine * 0.7);
    ears(ink, 50, 38, 22);
    ink.fill(circle(50, 38, 22), kSkin);
    hairCap(ink, 50, 38, 22, spikyFringe(50, 38, 22), kBrownHair);
    eyes(ink, 50, 40, 8, 3);
    laugh(ink, 50, 47, 12, 6);
    cheeks(ink, 50, 46, 13, 3.3);
}

// ---------------------------------------------------------------------------------------------
// Animals (boxes of 100 x 100)

void whiskers(Ink& ink, double cx, double y, double gap, double length) {
    for (int side : {-1, 1}) {
        for (int i : {-1, 1}) {
            ink.stroke(
                segment({cx + side * gap, y + i * 1.5}, {cx + side * (gap + length), y + i * 4.5}),
                outlineColour(), kLine * 0.55);
        }
    }
}

void drawCat(Ink& ink) {
    const QColor fur = ink.pick(QColor(0xF6, 0xA5, 0x4A));
    ink.limb(bend({70, 84}, {92, 80}, {88, 56}), fur, 7);
    ink.fill(oval(50, 76, 24, 18), fur);
    ink.fill(oval(40, 92, 7, 4.5), fur);
    ink.fill(oval(60, 92, 7, 4.5), fur);
    ink.fill(polygon({{28, 34}, {27, 8}, {47, 22}}), fur);
    ink.fill(polygon({{72, 34}, {73, 8}, {53, 22}}), fur);
    ink.flat(polygon({{31, 28}, {30, 14}, {41, 22}}), kPink);
    ink.flat(polygon({{69, 28}, {70, 14}, {59, 22}}), kPink);
    ink.fill(oval(50, 42, 26, 22), fur);
    for (double x : {44.0, 50.0, 56.0}) {
        ink.stroke(segment({x, 21}, {x, 27}), fur.darker(135), kLine * 0.9);
    }
    eyes(ink, 50, 41, 10, 3.6);
    ink.fill(polygon({{47, 48}, {53, 48}, {50, 51.5}}), kPink, kLine * 0.6);
    QPainterPath mouth(QPointF(45, 53));
    mouth.quadTo(47.5, 56, 50, 52);
    mouth.quadTo(52.5, 56, 55, 53);
    ink.stroke(mouth, outlineColour(), kLine * 0.7);
    whiskers(ink, 50, 50, 12, 12);
    cheeks(ink, 50, 50, 16, 3.5);
}

void drawDog(Ink& ink) {
    const QColor fur = ink.pick(QColor(0xE0, 0xAA, 0x6E));
    const QColor ears = fur.darker(150);
    ink.limb(bend({70, 78}, {86, 74}, {88, 58}), fur, 6);
    ink.fill(oval(50, 77, 24, 18), fur);
    ink.fill(oval(40, 93, 7, 4.5), fur);
    ink.fill(oval(60, 93, 7, 4.5), fur);
    ink.fill(roundBox(36, 60, 28, 6, 3), kRed);
    ink.fill(circle(50, 68, 3.5), kGold, kLine * 0.7);
    ink.fill(circle(50, 40, 24), fur);
    ink.flat(oval(60, 38, 7, 8), ears);
    ink.fill(turned(oval(27, 42, 8, 16), {27, 42}, 18), ears);
    ink.fill(turned(oval(73, 42, 8, 16), {73, 42}, -18), ears);
    ink.fill(oval(50, 52, 12, 9), QColor(0xF6, 0xDE, 0xBB), kLine * 0.8);
    eyes(ink, 50, 38, 10, 3.6);
    ink.fill(oval(50, 47, 5, 3.6), outlineColour());
    ink.fill(oval(50, 58.5, 3.6, 4), QColor(0xFF, 0x78, 0x90), kLine * 0.7);
    smile(ink, 50, 53, 12, 2.2, kLine * 0.8);
}

void drawDuck(Ink& ink) {
    const QColor feathers = ink.pick(QColor(0xFF, 0xD8, 0x3B));
    const QColor orange(0xFF, 0x8F, 0x1F);
    ink.limb(segment({42, 84}, {40, 93}), orange, 3);
    ink.limb(segment({56, 84}, {58, 93}), orange, 3);
    ink.fill(oval(38, 94, 7, 3), orange, kLine * 0.8);
    ink.fill(oval(60, 94, 7, 3), orange, kLine * 0.8);
    QPainterPath body(QPointF(12, 52));
    body.quadTo(8, 40, 20, 46);
    body.cubicTo(40, 56, 60, 50, 66, 52);
    body.cubicTo(86, 58, 84, 86, 52, 86);
    body.cubicTo(24, 86, 14, 72, 12, 52);
    ink.fill(body.united(circle(66, 34, 17)), feathers);
    QPainterPath beak(QPointF(79, 33));
    beak.quadTo(96, 32, 95, 40);
    beak.quadTo(88, 46, 78, 42);
    beak.closeSubpath();
    ink.fill(beak, orange);
    QPainterPath wing(QPointF(30, 62));
    wing.cubicTo(38, 54, 58, 56, 58, 66);
    wing.cubicTo(56, 76, 40, 76, 30, 62);
    ink.fill(wing, feathers.darker(112), kLine * 0.8);
    eye(ink, 70, 30, 3.4);
    ink.flat(oval(74, 40, 3, 2), kCheek);
}

void drawPig(Ink& ink) {
    const QColor skin = ink.pick(QColor(0xFF, 0xB8, 0xC8));
    ink.stroke(bend({72, 76}, {88, 66}, {82, 80}), skin.darker(140), 3);
    ink.fill(oval(50, 74, 26, 19), skin);
    ink.fill(roundBox(34, 84, 9, 10, 3), skin);
    ink.fill(roundBox(57, 84, 9, 10, 3), skin);
    ink.fill(polygon({{28, 26}, {24, 8}, {44, 18}}), skin);
    ink.fill(polygon({{72, 26}, {76, 8}, {56, 18}}), skin);
    ink.fill(circle(50, 42, 25), skin);
    ink.fill(oval(50, 50, 11, 8), skin.darker(112));
    ink.flat(oval(46, 50, 2, 3), skin.darker(170));
    ink.flat(oval(54, 50, 2, 3), skin.darker(170));
    eyes(ink, 50, 36, 11, 3.4);
    smile(ink, 50, 59, 8, 1.8, kLine * 0.8);
    cheeks(ink, 50, 48, 18, 3.5);
}

void drawBear(Ink& ink) {
    const QColor fur = ink.pick(QColor(0xA8, 0x6F, 0x3F));
    const QColor light(0xE8, 0xC0, 0x90);
    ink.fill(oval(50, 76, 25, 19), fur);
    ink.flat(oval(50, 80, 13, 11), light);
    ink.fill(oval(37, 93, 8, 5), fur);
    ink.fill(oval(63, 93, 8, 5), fur);
    ink.fill(circle(28, 20, 9), fur);
    ink.fill(circle(72, 20, 9), fur);
    ink.flat(circle(28, 20, 4.5), light);
    ink.flat(circle(72, 20, 4.5), light);
    ink.fill(circle(50, 42, 25), fur);
    ink.fill(oval(50, 53, 12, 9), light, kLine * 0.8);
    eyes(ink, 50, 38, 10, 3.4);
    ink.fill(oval(50, 49.5, 4.8, 3.4), outlineColour());
    smile(ink, 50, 55, 8, 1.6, kLine * 0.8);
}

void drawPanda(Ink& ink) {
    const QColor black(0x2E, 0x2A, 0x33);
    ink.fill(oval(50, 76, 25, 19), kWhite);
    ink.fill(turned(oval(30, 76, 7, 11), {30, 76}, 30), black);
    ink.fill(turned(oval(70, 76, 7, 11), {70, 76}, -30), black);
    ink.fill(oval(37, 93, 8, 5), black);
    ink.fill(oval(63, 93, 8, 5), black);
    ink.fill(circle(28, 20, 9), black);
    ink.fill(circle(72, 20, 9), black);
    ink.fill(circle(50, 42, 25), kWhite);
    ink.flat(turned(oval(40, 40, 6, 8), {40, 40}, 35), black);
    ink.flat(turned(oval(60, 40, 6, 8), {60, 40}, -35), black);
    ink.flat(circle(41, 39, 2.6), kWhite);
    ink.flat(circle(59, 39, 2.6), kWhite);
    ink.fill(oval(50, 50, 4.5, 3.2), black);
    smile(ink, 50, 55, 8, 1.6, kLine * 0.8);
    cheeks(ink, 50, 52, 16, 3.5);
}

void drawMonkey(Ink& ink) {
    const QColor fur = ink.pick(QColor(0x9C, 0x62, 0x34));
    const QColor face(0xF5, 0xCD, 0xA0);
    ink.limb(bend({70, 84}, {96, 82}, {86, 60}), fur, 5);
    ink.fill(oval(50, 78, 22, 17), fur);
    ink.flat(oval(50, 81, 12, 10), face);
    ink.fill(circle(22, 44, 10), fur);
    ink.fill(circle(78, 44, 10), fur);
    ink.flat(circle(22, 44, 5.5), face);
    ink.flat(circle(78, 44, 5.5), face);
    ink.fill(circle(50, 42, 25), fur);
    ink.fill(circle(42, 40, 10).united(circle(58, 40, 10)).united(oval(50, 52, 16, 11)), face,
             kLine * 0.8);
    ink.stroke(bend({48, 17}, {50, 10}, {56, 14}), fur, 3);
    eyes(ink, 50, 40, 8, 3.2);
    ink.flat(oval(47.5, 48, 1.3, 1.8), outlineColour());
    ink.flat(oval(52.5, 48, 1.3, 1.8), outlineColour());
    smile(ink, 50, 53, 12, 2.4, kLine * 0.8);
}

void drawElephant(Ink& ink) {
    const QColor skin = ink.pick(QColor(0xA3, 0xB6, 0xCC));
    ink.fill(oval(50, 78, 24, 16), skin);
    ink.fill(roundBox(32, 80, 11, 14, 4), skin);
    ink.fill(roundBox(57, 80, 11, 14, 4), skin);
    ink.fill(oval(22, 42, 18, 22), skin);
    ink.fill(oval(78, 42, 18, 22), skin);
    ink.flat(oval(24, 43, 11, 15), QColor(0xF6, 0xB9, 0xC8));
    ink.flat(oval(76, 43, 11, 15), QColor(0xF6, 0xB9, 0xC8));
    ink.fill(circle(50, 40, 22), skin);
    QPainterPath trunk(QPointF(50, 48));
    trunk.cubicTo(50, 66, 48, 76, 58, 78);
    trunk.quadTo(64, 78, 64, 72);
    ink.limb(trunk, skin, 10);
    ink.flat(circle(50, 46, 6), skin);
    eyes(ink, 50, 37, 9, 3.2);
    cheeks(ink, 50, 45, 14, 3.5);
}

void drawRabbit(Ink& ink) {
    const QColor fur = ink.pick(QColor(0xF7, 0xF4, 0xF8));
    ink.fill(oval(50, 82, 21, 14), fur);
    ink.fill(circle(72, 86, 6), fur);
    ink.fill(turned(oval(39, 22, 7, 19), {39, 22}, -8), fur);
    ink.fill(turned(oval(61, 22, 7, 19), {61, 22}, 8), fur);
    ink.flat(turned(oval(39, 23, 3.5, 14), {39, 23}, -8), QColor(0xFF, 0xB3, 0xC6));
    ink.flat(turned(oval(61, 23, 3.5, 14), {61, 23}, 8), QColor(0xFF, 0xB3, 0xC6));
    ink.fill(oval(50, 55, 22, 19), fur);
    eyes(ink, 50, 52, 9, 3.2);
    ink.fill(polygon({{47, 59}, {53, 59}, {50, 62}}), QColor(0xFF, 0x86, 0x9C), kLine * 0.6);
    ink.fill(roundBox(47, 64, 6, 5, 1), kWhite, kLine * 0.6);
    ink.stroke(segment({50, 64}, {50, 69}), outlineColour(), kLine * 0.5);
    whiskers(ink, 50, 61, 9, 11);
    cheeks(ink, 50, 60, 14, 3.2);
}

void drawBird(Ink& ink) {
    const QColor feathers = ink.pick(QColor(0x5A, 0xB4, 0xF0));
    ink.limb(segment({8, 86}, {92, 86}), kStem, 5);
    ink.stroke(segment({46, 72}, {44, 84}), QColor(0xFF, 0x8F, 0x1F), 2.5);
    ink.stroke(segment({56, 72}, {58, 84}), QColor(0xFF, 0x8F, 0x1F), 2.5);
    ink.fill(polygon({{74, 52}, {94, 38}, {92, 62}}), feathers.darker(115));
    ink.fill(polygon({{22, 38}, {8, 43}, {22, 48}}), QColor(0xFF, 0x9F, 0x1C));
    ink.fill(oval(52, 56, 27, 20).united(circle(34, 42, 15)), feathers);
    ink.flat(oval(48, 64, 14, 9), feathers.lighter(135));
    QPainterPath wing(QPointF(50, 52));
    wing.cubicTo(58, 44, 76, 48, 74, 58);
    wing.cubicTo(70, 66, 56, 66, 50, 52);
    ink.fill(wing, feathers.darker(115), kLine * 0.8);
    eye(ink, 32, 40, 3.4);
    ink.flat(oval(36, 48, 3, 2), kCheek);
}

void drawFish(Ink& ink) {
    const QColor scales = ink.pick(QColor(0xFF, 0x8C, 0x42));
    ink.stroke(circle(16, 20, 5), QColor(0x7C, 0xC8, 0xF8), 2);
    ink.stroke(circle(24, 9, 3.5), QColor(0x7C, 0xC8, 0xF8), 2);
    ink.fill(polygon({{70, 54}, {95, 34}, {90, 54}, {95, 74}}), scales.darker(115));
    ink.fill(polygon({{40, 34}, {52, 22}, {62, 38}}), scales.darker(115));
    ink.fill(oval(46, 55, 33, 23), scales);
    {
        ClipTo clip(ink.painter(), oval(46, 55, 33, 23));
        for (double x : {50.0, 62.0}) {
            ink.stroke(bend({x, 34}, {x + 7, 55}, {x, 76}), scales.lighter(130), 3);
        }
    }
    ink.fill(turned(oval(44, 62, 8, 4.5), {44, 62}, 25), scales.darker(115), kLine * 0.8);
    eye(ink, 28, 50, 4);
    smile(ink, 20, 62, 6, 1.2, kLine * 0.8);
}

void drawMouse(Ink& ink) {
    const QColor fur = ink.pick(QColor(0xB9, 0xB5, 0xC6));
    ink.stroke(bend({66, 86}, {98, 90}, {90, 66}), fur.darker(140), 2.6);
    ink.fill(oval(50, 80, 19, 15), fur);
    ink.fill(circle(27, 26, 15), fur);
    ink.fill(circle(73, 26, 15), fur);
    ink.flat(circle(27, 26, 9), QColor(0xFF, 0xB3, 0xC6));
    ink.flat(circle(73, 26, 9), QColor(0xFF, 0xB3, 0xC6));
    ink.fill(oval(50, 50, 22, 19), fur);
    eyes(ink, 50, 47, 8, 3.2);
    ink.fill(circle(50, 57, 3.3), QColor(0xFF, 0x86, 0x9C), kLine * 0.7);
    whiskers(ink, 50, 57, 7, 14);
    smile(ink, 50, 61, 6, 1.2, kLine * 0.7);
}

void drawTiger(Ink& ink) {
    const QColor fur = ink.pick(QColor(0xF8, 0x98, 0x2A));
    const QColor stripe = outlineColour();
    ink.limb(bend({70, 84}, {92, 84}, {90, 62}), fur, 6);
    ink.fill(oval(50, 77, 24, 18), fur);
    {
        ClipTo clip(ink.painter(), oval(50, 77, 24, 18));
        for (double x : {34.0, 66.0}) ink.stroke(segment({x, 62}, {x + 3, 74}), stripe, 2.4);
    }
    ink.fill(oval(38, 93, 7, 4.5), fur);
    ink.fill(oval(62, 93, 7, 4.5), fur);
    ink.fill(circle(29, 21, 8), fur);
    ink.fill(circle(71, 21, 8), fur);
    ink.flat(circle(29, 21, 4), kWhite);
    ink.flat(circle(71, 21, 4), kWhite);
    ink.fill(oval(50, 42, 26, 23), fur);
    {
        ClipTo clip(ink.painter(), oval(50, 42, 26, 23));
        ink.flat(polygon({{46, 19}, {54, 19}, {50, 29}}), stripe);
        ink.flat(polygon({{38, 21}, {43, 20}, {42, 27}}), stripe);
        ink.flat(polygon({{62, 21}, {57, 20}, {58, 27}}), stripe);
        for (int side : {-1, 1}) {
            ink.flat(
                polygon({{50 + side * 26.0, 38}, {50 + side * 16.0, 41}, {50 + side * 26.0, 44}}),
                stripe);
        }
    }
    ink.fill(oval(44, 51, 8, 6).united(oval(56, 51, 8, 6)), kWhite, kLine * 0.8);
    eyes(ink, 50, 38, 10, 3.4);
    ink.fill(polygon({{46, 46}, {54, 46}, {50, 50}}), QColor(0xFF, 0x86, 0x9C), kLine * 0.6);
}

void drawZoo(Ink& ink) {
    const QColor stone(0xC9, 0x8B, 0x5A);
    ink.fill(roundBox(28, 36, 44, 58, 2), QColor(0xDD, 0xF3, 0xD0), 0);
    for (double x = 34; x <= 66; x += 8) {
        ink.stroke(segment({x, 38}, {x, 92}), QColor(0x55, 0x5A, 0x66), 2.6);
    }
    ink.fill(polygon({{16, 14}, {16, 4}, {27, 9}}), kRed, kLine * 0.7);
    ink.fill(polygon({{84, 14}, {84, 4}, {95, 9}}), kYellow, kLine * 0.7);
    ink.stroke(segment({16, 4}, {16, 22}), outlineColour(), 1.6);
    ink.stroke(segment({84, 4}, {84, 22}), outlineColour(), 1.6);
    ink.fill(roundBox(8, 30, 20, 64, 3), stone);
    ink.fill(roundBox(72, 30, 20, 64, 3), stone);
    ink.fill(roundBox(6, 20, 24, 12, 3), stone.darker(115));
    ink.fill(roundBox(70, 20, 24, 12, 3), stone.darker(115));
    ink.fill(roundBox(22, 16, 56, 22, 8), kGreen);
    label(ink, QStringLiteral("ZOO"), QRectF(28, 18.5, 44, 17), kWhite);
    ink.flat(roundBox(4, 93, 92, 4, 2), QColor(0x8C, 0xC8, 0x6C));
}

// ---------------------------------------------------------------------------------------------
// School things. Long ones are designed lying flat; drawThing() turns them to fit.

void drawRuler(Ink& ink) {
    const QColor body = ink.pick(QColor(0xFF, 0xD2, 0x4A));
    ink.fill(roundBox(3, 3, 154, 28, 4), body);
    for (int i = 0; i <= 14; ++i) {
        const double x = 10 + i * 10;
        const double length = i % 5 == 0 ? 11 : 6;
        ink.stroke(segment({x, 4}, {x, 4 + length}), outlineColour(), 1.4);
    }
}

void drawPencil(Ink& ink) {
    const QColor body = ink.pick(QColor(0xFF, 0xC6, 0x3D));
    ink.fill(roundBox(4, 5, 18, 20, 5), QColor(0xFF, 0x9E, 0xB5));
    ink.fill(polygon({{18, 4}, {130, 4}, {154, 15}, {130, 26}, {18, 26}}),
             QColor(0xF5, 0xD0, 0xA0));
    ink.fill(polygon({{146, 11.4}, {154, 15}, {146, 18.6}}), ink.tinted() ? body : outlineColour(),
             kLine * 0.6);
    ink.fill(roundBox(28, 4, 102, 22, 1), body);
    ink.flat(roundBox(29, 11, 100, 6, 0), body.lighter(120));
    ink.fill(roundBox(18, 3, 12, 24, 2), QColor(0xC4, 0xC9, 0xD4));
    ink.stroke(segment({24, 4}, {24, 26}), outlineColour(), 1.2);
}

void drawCrayon(Ink& ink) {
    const QColor wax = ink.pick(QColor(0xE8, 0x43, 0x3A));
    QPainterPath tip(QPointF(118, 7));
    tip.lineTo(146, 13);
    tip.quadTo(151, 17, 146, 21);
    tip.lineTo(118, 27);
    tip.closeSubpath();
    ink.fill(tip, wax);
    ink.fill(roundBox(6, 4, 116, 26, 6), wax.lighter(125));
    ink.flat(roundBox(8, 5.2, 14, 23.6, 5), wax);
    ink.flat(roundBox(106, 5.2, 14, 23.6, 0), wax);
    ink.stroke(roundBox(6, 4, 116, 26, 6), outlineColour(), kLine);
    for (double x : {26.0, 102.0}) ink.stroke(segment({x, 5}, {x, 29}), wax.darker(130), 2);
    ink.fill(oval(64, 17, 22, 7), kWhite, kLine * 0.7);
}

void drawPen(Ink& ink) {
    const QColor body = ink.pick(QColor(0x3E, 0x7B, 0xE0));
    ink.fill(polygon({{126, 8}, {146, 13}, {146, 19}, {126, 24}}), QColor(0xC4, 0xC9, 0xD4));
    ink.fill(circle(149, 16, 3.2), outlineColour(), 0);
    ink.fill(roundBox(4, 6, 122, 20, 9), body);
    ink.fill(roundBox(4, 6, 44, 20, 9), body.darker(125));
    ink.fill(roundBox(14, 2, 40, 5, 2.5), QColor(0xC4, 0xC9, 0xD4));
    ink.flat(roundBox(56, 10, 60, 3.5, 1.5), QColor(255, 255, 255, 120));
}

void drawEraser(Ink& ink) {
    const QColor rubber = ink.pick(QColor(0xFF, 0x9F, 0xB5));
    ink.fill(polygon({{8, 34}, {26, 16}, {94, 16}, {76, 34}}), rubber.lighter(115));
    ink.fill(polygon({{76, 34}, {94, 16}, {94, 54}, {76, 72}}), rubber.darker(110));
    ink.fill(roundBox(8, 34, 68, 38, 1), rubber);
    if (ink.tinted()) {
        // An eraser of one colour all over: a sleeve of another colour would make a white
        // eraser look half blue.
        ink.fill(starShape(42, 53, 9, 4), kYellow, kLine * 0.7);
        return;
    }
    const QColor sleeve(0x4D, 0x9D, 0xF0);
    ink.fill(polygon({{42, 34}, {60, 16}, {94, 16}, {76, 34}}), sleeve.lighter(115));
    ink.fill(polygon({{76, 34}, {94, 16}, {94, 54}, {76, 72}}), sleeve.darker(115));
    ink.fill(roundBox(42, 34, 34, 38, 1), sleeve);
    ink.fill(starShape(59, 53, 9, 4), kYellow, kLine * 0.7);
}

void drawBook(Ink& ink) {
    const QColor cover = ink.pick(QColor(0xE9, 0x4B, 0x4B));
    ink.fill(roundBox(24, 14, 64, 80, 4), cover.darker(125));
    ink.fill(polygon({{20, 10}, {82, 10}, {86, 90}, {24, 90}}), kWhite);
    for (double y : {30.0, 50.0, 70.0}) {
        ink.stroke(segment({82, y}, {85, y}), QColor(0xBB, 0xBB, 0xC4), 1);
    }
    ink.fill(roundBox(12, 6, 68, 80, 4), cover);
    ink.flat(roundBox(12.5, 6.5, 9, 79, 3), cover.darker(115));
    ink.fill(roundBox(30, 20, 40, 24, 4), kWhite, kLine * 0.8);
    ink.fill(starShape(50, 33, 8, 3.6), kYellow, kLine * 0.6);
    ink.stroke(segment({32, 56}, {68, 56}), QColor(255, 255, 255, 170), 3);
    ink.stroke(segment({32, 64}, {60, 64}), QColor(255, 255, 255, 170), 3);
}

void drawBag(Ink& ink) {
    const QColor cloth = ink.pick(QColor(0x4C, 0xBB, 0x6C));
    ink.limb(bend({36, 22}, {50, -2}, {64, 22}), cloth.darker(120), 6);
    ink.fill(roundBox(16, 20, 68, 74, 16), cloth);
    ink.fill(roundBox(26, 58, 48, 28, 8), cloth.lighter(118));
    ink.stroke(segment({32, 66}, {68, 66}), cloth.darker(120), 2);
    QPainterPath flap(QPointF(16, 44));
    flap.lineTo(16, 36);
    flap.quadTo(16, 20, 32, 20);
    flap.lineTo(68, 20);
    flap.quadTo(84, 20, 84, 36);
    flap.lineTo(84, 44);
    flap.quadTo(50, 54, 16, 44);
    ink.fill(flap, cloth.darker(112));
    ink.fill(roundBox(44, 42, 12, 12, 3), kGold, kLine * 0.8);
}

void drawSharpener(Ink& ink) {
    const QColor plastic = ink.pick(QColor(0x5A, 0xA9, 0xE6));
    QPainterPath shaving(QPointF(8, 90));
    shaving.quadTo(20, 76, 30, 90);
    shaving.quadTo(20, 96, 8, 90);
    ink.fill(shaving, QColor(0xF5, 0xD0, 0xA0), kLine * 0.8);
    ink.fill(polygon({{22, 26}, {32, 14}, {92, 14}, {82, 26}}), plastic.lighter(118));
    ink.fill(polygon({{82, 26}, {92, 14}, {92, 64}, {82, 76}}), plastic.darker(115));
    ink.fill(roundBox(22, 26, 60, 50, 4), plastic);
    ink.fill(circle(40, 51, 12), outlineColour().lighter(130));
    ink.flat(circle(40, 51, 6), outlineColour());
    ink.fill(roundBox(54, 34, 24, 34, 2), QColor(0xC4, 0xC9, 0xD4));
    ink.fill(circle(66, 51, 3.5), QColor(0x8A, 0x90, 0x9C), kLine * 0.7);
}

void drawPencilbox(Ink& ink) {
    const QColor box = ink.pick(QColor(0x6C, 0x8C, 0xFF));
    ink.fill(polygon({{8, 30}, {20, 6}, {120, 6}, {132, 30}}), box.lighter(120));
    ink.fill(polygon({{16, 28}, {24, 12}, {116, 12}, {124, 28}}), box.darker(140), 0);
    const std::array<QColor, 3> colours{kRed, kYellow, kGreen};
    for (int i = 0; i < 3; ++i) {
        const double y = 17 + i * 5;
        ink.fill(roundBox(26 + i * 6, y, 80, 6, 2.5), colours[i], kLine * 0.6);
    }
    ink.fill(roundBox(6, 28, 128, 44, 8), box);
    ink.flat(roundBox(12, 32, 116, 4, 2), QColor(255, 255, 255, 110));
    ink.fill(starShape(70, 52, 11, 5), kYellow, kLine * 0.8);
}

void drawDesk(Ink& ink) {
    const QColor wood = ink.pick(kWood);
    const QColor metal(0x8A, 0x90, 0x9C);
    ink.limb(segment({24, 50}, {22, 94}), metal, 5);
    ink.limb(segment({96, 50}, {98, 94}), metal, 5);
    ink.fill(roundBox(18, 40, 84, 22, 3), wood.darker(112));
    ink.fill(roundBox(46, 46, 28, 10, 2), wood.lighter(115), kLine * 0.8);
    ink.fill(polygon({{6, 36}, {20, 22}, {114, 22}, {114, 36}}), wood.lighter(118));
    ink.fill(roundBox(4, 34, 112, 9, 3), wood);
}

void drawBlackboard(Ink& ink) {
    const QColor board = ink.pick(QColor(0x2F, 0x7D, 0x5A));
    const QColor chalk(255, 255, 255, 225);
    ink.limb(segment({22, 84}, {16, 96}), kStem, 4);
    ink.limb(segment({118, 84}, {124, 96}), kStem, 4);
    ink.fill(roundBox(4, 4, 132, 82, 5), QColor(0xB8, 0x7A, 0x48));
    ink.fill(roundBox(11, 11, 118, 66, 2), board);
    label(ink, QStringLiteral("ABC"), QRectF(20, 20, 62, 30), chalk);
    ink.stroke(bend({22, 60}, {44, 54}, {70, 60}), chalk, 2.4);
    ink.stroke(circle(104, 38, 11), chalk, 2.2);
    smile(ink, 104, 41, 8, 2, 1.8);
    ink.painter().setPen(Qt::NoPen);
    ink.flat(circle(100, 35, 1.6), chalk);
    ink.flat(circle(108, 35, 1.6), chalk);
    ink.fill(roundBox(8, 78, 124, 8, 3), QColor(0x9C, 0x62, 0x34));
    ink.fill(roundBox(96, 72, 14, 5, 2), kWhite, kLine * 0.6);
}

// ---------------------------------------------------------------------------------------------
// The body

void drawFace(Ink& ink) {
    ink.fill(circle(12, 56, 7), kSkin);
    ink.fill(circle(88, 56, 7), kSkin);
    ink.fill(circle(50, 54, 39), kSkin);
    hairCap(ink, 50, 54, 39, spikyFringe(50, 54, 39), kBrownHair);
    for (int side : {-1, 1}) {
        ink.stroke(bend({50 + side * 20.0, 45}, {50 + side * 14.0, 41}, {50 + side * 8.0, 45}),
                   kBrownHair.darker(120), 2.4);
    }
    eyes(ink, 50, 55, 14, 5);
    ink.stroke(bend({48, 61}, {52, 66}, {48, 68}), kSkinShade.darker(115), 2.2);
    laugh(ink, 50, 73, 22, 8);
    cheeks(ink, 50, 69, 25, 6);
}

void drawHead(Ink& ink) {
    QPainterPath shoulders(QPointF(14, 106));
    shoulders.lineTo(14, 96);
    shoulders.quadTo(14, 82, 32, 82);
    shoulders.lineTo(68, 82);
    shoulders.quadTo(86, 82, 86, 96);
    shoulders.lineTo(86, 106);
    shoulders.closeSubpath();
    ink.fill(roundBox(42, 66, 16, 20, 4), kSkin);
    ink.fill(shoulders, ink.pick(kBlue));
    ink.fill(polygon({{42, 82}, {58, 82}, {50, 90}}), kSkin, kLine * 0.8);
    ears(ink, 50, 42, 30);
    ink.fill(circle(50, 42, 30), kSkin);
    hairCap(ink, 50, 42, 30, spikyFringe(50, 42, 30), kBrownHair);
    happyFace(ink, 50, 42, 30);
}

void drawEye(Ink& ink) {
    ink.stroke(bend({22, 14}, {50, 0}, {78, 14}), kBrownHair, 5);
    QPainterPath lid(QPointF(8, 48));
    lid.quadTo(50, 6, 92, 48);
    lid.quadTo(50, 86, 8, 48);
    for (double x : {24.0, 38.0, 62.0, 76.0}) {
        const double lean = (x - 50) * 0.25;
        ink.stroke(segment({x, 33 - std::abs(x - 50) * 0.22}, {x + lean, 24 - std::abs(lean)}),
                   outlineColour(), 2.6);
    }
    ink.fill(lid, kWhite);
    {
        ClipTo clip(ink.painter(), lid);
        ink.fill(circle(50, 47, 18), QColor(0x6B, 0x9E, 0xE6));
        ink.flat(circle(50, 47, 9), outlineColour());
        ink.flat(circle(56, 41, 4.5), kWhite);
    }
    ink.stroke(lid, outlineColour(), kLine);
}

// An eye shut tight ("Close your eyes"): the lid down, its lashes along the bottom.
void drawClosedEye(Ink& ink) {
    ink.stroke(bend({22, 14}, {50, 0}, {78, 14}), kBrownHair, 5);
    QPainterPath lid(QPointF(8, 48));
    lid.quadTo(50, 10, 92, 48);
    lid.quadTo(50, 70, 8, 48);
    ink.fill(lid, kSkin);
    ink.stroke(bend({24, 36}, {50, 20}, {76, 36}), kSkinShade.darker(110), 2);
    const QPainterPath line = bend({8, 48}, {50, 76}, {92, 48});
    ink.stroke(line, outlineColour(), 4);
    for (double t : {0.2, 0.35, 0.5, 0.65, 0.8}) {
        const QPointF p = line.pointAtPercent(t);
        const double lean = (t - 0.5) * 16;
        ink.stroke(segment(p, p + QPointF(lean, 12 - std::abs(lean) * 0.3)), outlineColour(), 2.6);
    }
}

void drawEar(Ink& ink) {
    QPainterPath ear(QPointF(30, 18));
    ear.cubicTo(46, 0, 82, 8, 76, 46);
    ear.cubicTo(72, 70, 56, 70, 52, 84);
    ear.cubicTo(48, 98, 22, 98, 22, 82);
    ear.cubicTo(22, 66, 14, 40, 30, 18);
    ink.fill(ear, kSkin);
    QPainterPath fold(QPointF(36, 26));
    fold.cubicTo(48, 14, 66, 24, 62, 44);
    fold.cubicTo(60, 56, 48, 56, 46, 66);
    ink.stroke(fold, kSkinShade.darker(115), 3);
    ink.stroke(bend({42, 44}, {50, 36}, {54, 46}), kSkinShade.darker(115), 3);
    ink.flat(oval(36, 84, 6, 4), kCheek);
}

void drawNose(Ink& ink) {
    const QPainterPath nose = roundBox(38, 6, 24, 60, 12)
                                  .united(circle(50, 66, 18))
                                  .united(circle(31, 74, 12))
                                  .united(circle(69, 74, 12));
    ink.fill(nose, kSkin);
    ink.flat(oval(41, 80, 4.5, 3), kSkinShade.darker(130));
    ink.flat(oval(59, 80, 4.5, 3), kSkinShade.darker(130));
    ink.shine(52, 60, 5, 3.5);
}

void drawMouth(Ink& ink) {
    QPainterPath lips(QPointF(6, 24));
    lips.cubicTo(26, 12, 40, 14, 50, 20);
    lips.cubicTo(60, 14, 74, 12, 94, 24);
    lips.cubicTo(86, 58, 66, 66, 50, 66);
    lips.cubicTo(34, 66, 14, 58, 6, 24);
    ink.fill(lips, QColor(0xE8, 0x48, 0x55));
    QPainterPath inside(QPointF(16, 28));
    inside.cubicTo(36, 24, 64, 24, 84, 28);
    inside.cubicTo(76, 50, 62, 56, 50, 56);
    inside.cubicTo(38, 56, 24, 50, 16, 28);
    ink.fill(inside, QColor(0x8C, 0x1C, 0x2E), kLine * 0.8);
    {
        ClipTo clip(ink.painter(), inside);
        ink.fill(roundBox(14, 18, 72, 16, 3), kWhite, kLine * 0.6);
        ink.flat(oval(50, 56, 18, 10), QColor(0xFF, 0x86, 0x9C));
    }
    ink.stroke(inside, outlineColour(), kLine * 0.8);
}

void drawHand(Ink& ink) {
    QPainterPath shape = roundBox(28, 48, 46, 48, 16);
    const std::array<QRectF, 4> fingers{QRectF(28, 16, 11, 44), QRectF(40, 8, 11, 50),
                                        QRectF(52, 10, 11, 48), QRectF(64, 20, 10, 40)};
    for (const QRectF& f : fingers)
        shape = shape.united(roundBox(f.x(), f.y(), f.width(), f.height(), 5.5));
    shape = shape.united(turned(roundBox(12, 52, 24, 11, 5.5), {30, 60}, 40));
    ink.fill(shape, kSkin);
    for (double x : {39.5, 51.5, 63.5}) {
        ink.stroke(segment({x, 40}, {x, 50}), kSkinShade.darker(110), 1.6);
    }
    ink.fill(roundBox(24, 88, 54, 14, 4), ink.pick(kBlue));
}

void drawArm(Ink& ink) {
    const QPainterPath arm = thick(segment({36, 62}, {84, 64}), 22)
                                 .united(thick(segment({84, 64}, {100, 30}), 20))
                                 .united(circle(60, 54, 13))
                                 .united(circle(102, 22, 14));
    ink.fill(arm, kSkin);
    ink.stroke(bend({96, 18}, {104, 14}, {110, 20}), kSkinShade.darker(110), 1.6);
    ink.stroke(bend({94, 26}, {102, 22}, {110, 28}), kSkinShade.darker(110), 1.6);
    const QColor sleeve = ink.pick(kRed);
    ink.fill(roundBox(4, 42, 38, 40, 10), sleeve);
    ink.flat(roundBox(8, 58, 30, 5, 2), sleeve.lighter(125));
}

// A child's leg stepping forward: the thigh comes out of the shorts, bends at the knee, and the
// shin with its calf goes down to a sock and a shoe pointing forward.
void drawLeg(Ink& ink) {
    QPainterPath bent(QPointF(28, 20));
    bent.lineTo(58, 62);
    bent.lineTo(42, 102);
    const QPainterPath leg = thick(bent, 22).united(turned(oval(37, 82, 10, 16), {37, 82}, 20));
    ink.fill(leg, kSkin);
    ink.stroke(bend({58, 56}, {66, 62}, {60, 69}), kSkinShade.darker(110), 2);
    ink.fill(turned(roundBox(30, 92, 24, 14, 3), {42, 99}, 20), kWhite);
    QPainterPath shoe(QPointF(26, 106));
    shoe.lineTo(52, 104);
    shoe.quadTo(78, 104, 82, 116);
    shoe.lineTo(82, 124);
    shoe.lineTo(24, 124);
    shoe.closeSubpath();
    ink.fill(shoe, kRed);
    ink.flat(roundBox(25, 118.5, 56, 4.5, 1), kWhite);
    const QColor shorts = ink.pick(kNavy);
    ink.fill(turned(roundBox(8, 4, 44, 28, 7), {30, 18}, 12), shorts);
}

void drawFoot(Ink& ink) {
    QPainterPath sole(QPointF(48, 30));
    sole.cubicTo(74, 28, 82, 52, 76, 72);
    sole.cubicTo(70, 96, 62, 106, 46, 106);
    sole.cubicTo(28, 106, 26, 86, 30, 70);
    sole.cubicTo(34, 54, 24, 32, 48, 30);
    ink.fill(sole, kSkin);
    const std::array<std::array<double, 3>, 5> toes{
        {{32, 22, 10}, {50, 16, 7.5}, {64, 18, 6.5}, {75, 24, 5.5}, {83, 33, 4.8}}};
    for (const auto& toe : toes) {
        ink.fill(circle(toe[0], toe[1], toe[2]), kSkin);
        ink.flat(oval(toe[0], toe[1] - toe[2] * 0.25, toe[2] * 0.5, toe[2] * 0.4),
                 QColor(0xFF, 0xEE, 0xE4));
    }
    ink.flat(oval(52, 70, 10, 16), QColor(0xF5, 0xC4, 0xA4));
}

// ---------------------------------------------------------------------------------------------
// Food

void drawBread(Ink& ink) {
    const QPainterPath crust =
        circle(32, 34, 24).united(circle(68, 34, 24)).united(roundBox(10, 34, 80, 52, 8));
    ink.fill(crust, QColor(0xC9, 0x8A, 0x4B));
    const QPainterPath crumb =
        circle(32, 35, 18).united(circle(68, 35, 18)).united(roundBox(16, 35, 68, 45, 6));
    ink.flat(crumb, QColor(0xFB, 0xE2, 0xAE));
    for (const QPointF& hole : {QPointF(34, 44), QPointF(62, 58), QPointF(46, 68)}) {
        ink.flat(oval(hole.x(), hole.y(), 2.4, 1.6), QColor(0xE6, 0xC0, 0x84));
    }
    eyes(ink, 50, 50, 9, 2.8);
    smile(ink, 50, 57, 8, 1.8, kLine * 0.8);
}

void drawJuice(Ink& ink) {
    const QColor drink = ink.pick(QColor(0xFF, 0xA5, 0x1F));
    const QPainterPath glass = polygon({{12, 24}, {66, 24}, {60, 106}, {18, 106}});
    ink.limb(bend({44, 60}, {52, 20}, {62, 6}), kPink, 4);
    ink.fill(glass, kGlass);
    {
        ClipTo clip(ink.painter(), glass);
        ink.flat(roundBox(0, 40, 80, 70, 0), drink);
        ink.flat(oval(39, 40, 27, 4), drink.lighter(120));
        ink.flat(roundBox(20, 46, 5, 50, 2.5), QColor(255, 255, 255, 110));
    }
    ink.stroke(glass, outlineColour(), kLine);
    QPainterPath slice(QPointF(52, 26));
    slice.arcTo(QRectF(52, 10, 30, 32), 180, 180);
    slice.closeSubpath();
    ink.fill(turned(slice, {67, 26}, 35), QColor(0xFF, 0xC8, 0x4A));
}

void drawEgg(Ink& ink) {
    const QColor cup = ink.pick(QColor(0x7C, 0xC6, 0xFF));
    QPainterPath egg(QPointF(50, 8));
    egg.cubicTo(70, 8, 76, 40, 74, 52);
    egg.lineTo(26, 52);
    egg.cubicTo(24, 40, 30, 8, 50, 8);
    ink.fill(egg, QColor(0xFF, 0xF4, 0xDC));
    ink.shine(41, 26, 5, 8, 20);
    ink.fill(roundBox(36, 76, 28, 10, 2), cup.darker(110));
    ink.fill(oval(50, 90, 24, 6), cup);
    QPainterPath bowl(QPointF(20, 48));
    bowl.lineTo(80, 48);
    bowl.cubicTo(80, 70, 66, 80, 50, 80);
    bowl.cubicTo(34, 80, 20, 70, 20, 48);
    ink.fill(bowl, cup);
    for (double x : {34.0, 50.0, 66.0}) ink.flat(circle(x, 60, 3), kWhite);
}

void drawMilk(Ink& ink) {
    const QColor blue(0x3D, 0x8B, 0xFD);
    ink.fill(polygon({{64, 36}, {84, 24}, {84, 90}, {64, 102}}), QColor(0xDC, 0xE8, 0xFA));
    ink.fill(polygon({{40, 12}, {60, 2}, {84, 24}, {64, 36}}), QColor(0xC8, 0xDC, 0xF8));
    ink.fill(polygon({{16, 36}, {40, 12}, {64, 36}}), kWhite);
    ink.fill(roundBox(16, 36, 48, 66, 1), kWhite);
    ink.fill(roundBox(16, 54, 48, 20, 0), blue);
    label(ink, QStringLiteral("MILK"), QRectF(19, 57, 42, 14), kWhite);
    ink.flat(oval(30, 88, 6, 4), outlineColour());
    ink.flat(oval(48, 84, 4, 3), outlineColour());
}

void drawWater(Ink& ink) {
    const QColor water = ink.pick(QColor(0x7C, 0xC8, 0xF8));
    ink.fill(roundBox(31, 4, 22, 12, 3), QColor(0x2F, 0x6F, 0xD0));
    ink.fill(roundBox(29, 15, 26, 10, 3), kGlass);
    const QPainterPath bottle = roundBox(14, 22, 56, 94, 14);
    ink.fill(bottle, kGlass);
    {
        ClipTo clip(ink.painter(), bottle);
        ink.flat(roundBox(0, 42, 90, 80, 0), water);
        ink.flat(roundBox(20, 48, 5, 58, 2.5), QColor(255, 255, 255, 120));
    }
    ink.stroke(bottle, outlineColour(), kLine);
    ink.fill(roundBox(14, 60, 56, 26, 0), kWhite);
    QPainterPath drop(QPointF(42, 64));
    drop.cubicTo(46, 70, 50, 74, 50, 78);
    drop.cubicTo(50, 83, 34, 83, 34, 78);
    drop.cubicTo(34, 74, 38, 70, 42, 64);
    ink.fill(drop, QColor(0x3D, 0x8B, 0xFD), kLine * 0.7);
}

// A cake's sponge from the icing line `top` down to its rounded foot at `bottom`.
QPainterPath cakeSponge(double top, double bottom) {
    QPainterPath sponge(QPointF(12, top));
    sponge.lineTo(12, bottom);
    sponge.cubicTo(12, bottom + 10, 88, bottom + 10, 88, bottom);
    sponge.lineTo(88, top);
    sponge.closeSubpath();
    return sponge;
}

// The icing on a cake whose top lies at `top`, with four drips down its side.
QPainterPath icingWithDrips(double top) {
    QPainterPath icing = oval(50, top, 38, 11);
    for (const QPointF& drip : {QPointF(20, top + 10), QPointF(36, top + 14), QPointF(58, top + 15),
                                QPointF(78, top + 11)}) {
        icing = icing.united(roundBox(drip.x() - 4, drip.y() - 12, 8, 14, 4));
    }
    return icing;
}

void drawCake(Ink& ink) {
    const QColor icing = ink.pick(QColor(0xFF, 0x9E, 0xC4));
    ink.fill(oval(50, 88, 46, 8), kWhite);
    ink.fill(cakeSponge(46, 80), QColor(0xFF, 0xE6, 0xB8));
    ink.stroke(bend({13, 66}, {50, 76}, {87, 66}), QColor(0xE9, 0x6F, 0x9A), 3);
    ink.fill(icingWithDrips(46), icing);
    for (double x : {32.0, 50.0, 68.0}) {
        ink.fill(circle(x, x == 50 ? 34 : 40, 6), kRed, kLine * 0.8);
        ink.flat(circle(x + 2, (x == 50 ? 34 : 40) - 2, 1.6), QColor(255, 255, 255, 180));
    }
    ink.stroke(bend({50, 28}, {52, 20}, {57, 18}), kLeaf.darker(130), 2);
}

void drawRice(Ink& ink) {
    const QColor bowl = ink.pick(QColor(0x5A, 0xA9, 0xE6));
    ink.limb(segment({60, 40}, {96, 10}), kWood, 4);
    ink.limb(segment({54, 38}, {90, 4}), kWood, 4);
    QPainterPath grains = circle(50, 40, 16);
    for (double x : {24.0, 36.0, 64.0, 76.0}) grains = grains.united(circle(x, 46, 12));
    ink.fill(grains, kWhite);
    for (const QPointF& g : {QPointF(40, 36), QPointF(54, 32), QPointF(66, 42), QPointF(30, 44)}) {
        ink.stroke(turned(segment({g.x() - 2, g.y()}, {g.x() + 2, g.y()}), g, 30),
                   QColor(0xC8, 0xC8, 0xD0), 1.4);
    }
    QPainterPath dish(QPointF(8, 48));
    dish.lineTo(92, 48);
    dish.cubicTo(90, 74, 70, 84, 50, 84);
    dish.cubicTo(30, 84, 10, 74, 8, 48);
    ink.fill(dish, bowl);
    ink.stroke(bend({20, 62}, {50, 70}, {80, 62}), kWhite, 3);
    ink.fill(roundBox(36, 83, 28, 7, 3), bowl.darker(115));
}

void drawApple(Ink& ink) {
    const QColor skin = ink.pick(QColor(0xE5, 0x39, 0x35));
    ink.limb(bend({50, 32}, {50, 20}, {56, 12}), kStem, 4);
    QPainterPath leaf(QPointF(56, 20));
    leaf.quadTo(66, 4, 82, 10);
    leaf.quadTo(72, 26, 56, 20);
    ink.fill(leaf, kLeaf);
    ink.fill(circle(37, 60, 30).united(circle(63, 60, 30)), skin);
    ink.shine(30, 48, 5, 9, 25);
}

void drawBanana(Ink& ink) {
    const QColor peel = ink.pick(QColor(0xFF, 0xDA, 0x3B));
    QPainterPath banana(QPointF(12, 24));
    banana.cubicTo(10, 70, 64, 92, 104, 54);
    banana.cubicTo(102, 64, 90, 80, 76, 84);
    banana.cubicTo(40, 94, 4, 70, 8, 26);
    banana.closeSubpath();
    ink.fill(banana.united(roundBox(6, 14, 9, 16, 3)), peel);
    ink.stroke(bend({18, 40}, {30, 74}, {84, 72}), peel.darker(125), 2);
    ink.fill(roundBox(6, 12, 9, 8, 2), kStem, kLine * 0.8);
    ink.flat(circle(103, 56, 2.2), kStem.darker(130));
}

void drawOrange(Ink& ink) {
    const QColor peel = ink.pick(QColor(0xFF, 0x9F, 0x1C));
    ink.fill(circle(50, 56, 38), peel);
    for (const QPointF& dot : {QPointF(66, 44), QPointF(70, 62), QPointF(58, 76), QPointF(40, 74),
                               QPointF(62, 30), QPointF(78, 52)}) {
        ink.flat(circle(dot.x(), dot.y(), 1.3), peel.darker(118));
    }
    ink.shine(34, 40, 6, 10, 30);
    QPainterPath leaf(QPointF(52, 19));
    leaf.quadTo(62, 4, 80, 8);
    leaf.quadTo(70, 24, 52, 19);
    ink.fill(leaf, kLeaf);
    ink.fill(circle(50, 19, 3.5), kStem, kLine * 0.7);
}

void drawPear(Ink& ink) {
    const QColor skin = ink.pick(QColor(0xC5, 0xE0, 0x63));
    ink.limb(bend({45, 22}, {45, 12}, {50, 6}), kStem, 3.5);
    QPainterPath leaf(QPointF(49, 12));
    leaf.quadTo(58, 0, 74, 4);
    leaf.quadTo(64, 18, 49, 12);
    ink.fill(leaf, kLeaf);
    QPainterPath pear(QPointF(45, 18));
    pear.cubicTo(58, 18, 60, 40, 66, 54);
    pear.cubicTo(80, 72, 76, 106, 45, 106);
    pear.cubicTo(14, 106, 10, 72, 24, 54);
    pear.cubicTo(30, 40, 32, 18, 45, 18);
    ink.fill(pear, skin);
    ink.shine(32, 70, 4.5, 9, 15);
    ink.flat(circle(58, 82, 1.4), skin.darker(130));
    ink.flat(circle(54, 92, 1.4), skin.darker(130));
}

void drawGrapes(Ink& ink) {
    const QColor fruit = ink.pick(QColor(0x8E, 0x5B, 0xD6));
    ink.limb(bend({45, 24}, {44, 12}, {50, 4}), kStem, 4);
    QPainterPath leaf(QPointF(48, 14));
    leaf.quadTo(62, 0, 82, 8);
    leaf.quadTo(70, 26, 48, 14);
    ink.fill(leaf, kLeaf);
    const std::array<int, 4> rows{4, 3, 2, 1};
    for (int row = 0; row < 4; ++row) {
        for (int i = 0; i < rows[row]; ++i) {
            const double x = 45 + (i - (rows[row] - 1) / 2.0) * 20;
            const double y = 34 + row * 18;
            ink.fill(circle(x, y, 11), fruit);
            ink.flat(circle(x - 3.5, y - 3.5, 2.6), QColor(255, 255, 255, 140));
        }
    }
}

void drawIcecream(Ink& ink) {
    const QColor scoop = ink.pick(QColor(0xFF, 0x9E, 0xC4));
    const QPainterPath cone = polygon({{14, 58}, {66, 58}, {40, 114}});
    ink.fill(cone, QColor(0xE9, 0xB2, 0x6B));
    {
        ClipTo clip(ink.painter(), cone);
        for (double x = -20; x <= 90; x += 10) {
            ink.stroke(segment({x, 58}, {x + 40, 118}), QColor(0xC4, 0x84, 0x3C), 1.4);
            ink.stroke(segment({x + 40, 58}, {x, 118}), QColor(0xC4, 0x84, 0x3C), 1.4);
        }
    }
    ink.stroke(cone, outlineColour(), kLine);
    QPainterPath lower = circle(40, 46, 22);
    for (double x : {24.0, 40.0, 56.0}) lower = lower.united(circle(x, 60, 7));
    ink.fill(lower, ink.tinted() ? scoop.lighter(115) : QColor(0x8E, 0xE3, 0xC8));
    ink.fill(circle(40, 24, 17), scoop);
    ink.fill(circle(40, 8, 5), kRed, kLine * 0.8);
    ink.shine(34, 19, 3, 5, 30);
}

void drawHotdog(Ink& ink) {
    const QColor bun(0xF0, 0xB2, 0x62);
    ink.fill(roundBox(10, 14, 120, 28, 14), bun.lighter(108));
    ink.fill(roundBox(3, 26, 134, 18, 9), QColor(0xD0, 0x55, 0x3D));
    QPainterPath mustard(QPointF(16, 32));
    for (int i = 0; i < 11; ++i) mustard.lineTo(24 + i * 10, i % 2 == 0 ? 38 : 30);
    ink.stroke(mustard, kYellow, 3);
    ink.fill(roundBox(10, 38, 120, 26, 13), bun);
}

void drawChicken(Ink& ink) {
    const QPainterPath bone = thick(segment({56, 46}, {82, 20}), 11)
                                  .united(circle(82, 11, 7.5))
                                  .united(circle(91, 20, 7.5));
    ink.fill(bone, QColor(0xFF, 0xF4, 0xDC));
    const QPainterPath meat = turned(oval(40, 60, 32, 25), {40, 60}, -40);
    ink.fill(meat, QColor(0xC9, 0x80, 0x3A));
    ink.flat(turned(oval(34, 54, 16, 9), {34, 54}, -40), QColor(0xDF, 0xA0, 0x5C));
    ink.shine(28, 50, 4, 6, -40);
}

void drawNoodles(Ink& ink) {
    const QColor bowl = ink.pick(QColor(0xE8, 0x5D, 0x4A));
    const QColor noodle(0xFF, 0xD8, 0x6B);
    for (double x : {26.0, 44.0}) {
        ink.stroke(bend({x, 22}, {x - 5, 14}, {x, 6}), QColor(0xC8, 0xC8, 0xD0), 2.2);
    }
    ink.limb(segment({66, 52}, {78, 4}), kWood, 4);
    ink.limb(segment({72, 52}, {88, 6}), kWood, 4);
    for (double dx : {-3.0, 0.0, 3.0}) {
        QPainterPath strand(QPointF(72 + dx, 16));
        strand.cubicTo(64 + dx, 26, 80 + dx, 34, 72 + dx, 48);
        ink.limb(strand, noodle, 3);
    }
    ink.fill(oval(50, 48, 42, 9), noodle);
    QPainterPath dish(QPointF(8, 48));
    dish.lineTo(92, 48);
    dish.cubicTo(90, 74, 70, 84, 50, 84);
    dish.cubicTo(30, 84, 10, 74, 8, 48);
    ink.fill(dish, bowl);
    ink.stroke(bend({20, 62}, {50, 70}, {80, 62}), kWhite, 3);
    ink.fill(roundBox(36, 83, 28, 7, 3), bowl.darker(115));
}

void drawCandle(Ink& ink) {
    const QColor wax = ink.pick(QColor(0xFF, 0x7F, 0xAF));
    ink.flat(circle(30, 22, 16), QColor(0xFF, 0xE0, 0x66, 90));
    QPainterPath flame(QPointF(30, 6));
    flame.cubicTo(40, 18, 40, 32, 30, 34);
    flame.cubicTo(20, 32, 20, 18, 30, 6);
    ink.fill(flame, QColor(0xFF, 0xC9, 0x3C));
    ink.flat(oval(30, 27, 4, 6), QColor(0xFF, 0x7A, 0x1F));
    ink.stroke(segment({30, 34}, {30, 41}), outlineColour(), 2);
    const QPainterPath body = roundBox(18, 40, 24, 74, 3);
    ink.fill(body, wax);
    {
        ClipTo clip(ink.painter(), body);
        for (double y = 44; y < 120; y += 14) {
            ink.stroke(segment({16, y + 10}, {44, y}), QColor(255, 255, 255, 170), 4);
        }
    }
    ink.stroke(body, outlineColour(), kLine);
}

// ---------------------------------------------------------------------------------------------
// Toys and other things

void drawSun(Ink& ink) {
    const QColor colour = ink.pick(QColor(0xFF, 0xD2, 0x3F));
    for (int i = 0; i < 12; ++i) {
        const double angle = i * M_PI / 6;
        const QPointF from(50 + 34 * std::cos(angle), 50 + 34 * std::sin(angle));
        const QPointF to(50 + 45 * std::cos(angle), 50 + 45 * std::sin(angle));
        ink.limb(segment(from, to), QColor(0xFF, 0xA8, 0x2E), 5);
    }
    ink.fill(circle(50, 50, 31), colour);
    happyFace(ink, 50, 50, 31);
}

void drawTree(Ink& ink) {
    const QColor leaves = ink.pick(kLeaf);
    ink.flat(oval(50, 113, 34, 5), QColor(0x8C, 0xC8, 0x6C));
    ink.fill(roundBox(41, 62, 18, 52, 4), kStem);
    ink.limb(segment({52, 80}, {66, 68}), kStem, 6);
    const QPainterPath crown = circle(50, 36, 30)
                                   .united(circle(26, 54, 20))
                                   .united(circle(74, 54, 20))
                                   .united(circle(50, 62, 20));
    ink.fill(crown, leaves);
    ink.flat(circle(40, 28, 8), leaves.lighter(118));
    for (const QPointF& apple : {QPointF(34, 54), QPointF(64, 40), QPointF(58, 64)}) {
        ink.fill(circle(apple.x(), apple.y(), 4.5), kRed, kLine * 0.7);
    }
}

void drawFlower(Ink& ink) {
    const QColor petals = ink.pick(QColor(0xFF, 0x6F, 0xA5));
    ink.limb(bend({40, 56}, {36, 86}, {40, 116}), kLeaf.darker(110), 5);
    QPainterPath leaf(QPointF(40, 96));
    leaf.quadTo(50, 78, 68, 82);
    leaf.quadTo(58, 98, 40, 96);
    ink.fill(leaf, kLeaf);
    ink.fill(turned(leaf, {40, 96}, 180).translated(0, -12), kLeaf);
    for (int i = 0; i < 6; ++i) {
        const double angle = i * M_PI / 3;
        ink.fill(circle(40 + 18 * std::cos(angle), 38 + 18 * std::sin(angle), 13), petals);
    }
    ink.fill(circle(40, 38, 13), kYellow);
    eyes(ink, 40, 37, 5, 2.2);
    smile(ink, 40, 42, 6, 1.4, kLine * 0.7);
}

void drawHouse(Ink& ink) {
    const QColor roof = ink.pick(QColor(0xE5, 0x48, 0x4D));
    ink.fill(roundBox(70, 12, 12, 26, 1), QColor(0xB8, 0x7A, 0x48));
    ink.fill(roundBox(18, 46, 74, 50, 2), QColor(0xFF, 0xEA, 0xB8));
    ink.fill(polygon({{6, 50}, {55, 8}, {104, 50}}), roof);
    for (double x : {25.0, 71.0}) {
        ink.fill(roundBox(x, 56, 15, 15, 1), QColor(0xA8, 0xDA, 0xFF));
        ink.stroke(segment({x + 7.5, 56}, {x + 7.5, 71}), outlineColour(), 1.4);
        ink.stroke(segment({x, 63.5}, {x + 15, 63.5}), outlineColour(), 1.4);
    }
    QPainterPath door(QPointF(46, 96));
    door.lineTo(46, 72);
    door.quadTo(46, 64, 55, 64);
    door.quadTo(64, 64, 64, 72);
    door.lineTo(64, 96);
    door.closeSubpath();
    ink.fill(door, QColor(0x9C, 0x62, 0x34));
    ink.flat(circle(60, 82, 1.8), kGold);
}

void drawBall(Ink& ink) {
    const QPainterPath ball = circle(50, 50, 44);
    ink.fill(ball, ink.pick(kRed));
    {
        ClipTo clip(ink.painter(), ball);
        const QColor first = ink.tinted() ? kWhite : kYellow;
        const QColor second = ink.tinted() ? kWhite : kBlue;
        ink.fill(oval(50, 50, 16, 50), first, kLine * 0.8);
        ink.fill(oval(50, 50, 50, 14), second, kLine * 0.8);
        if (!ink.tinted()) ink.fill(circle(50, 50, 9), kWhite, kLine * 0.8);
    }
    ink.stroke(ball, outlineColour(), kLine);
    ink.shine(30, 28, 6, 10, 40);
}

void drawCar(Ink& ink) {
    const QColor paint = ink.pick(kRed);
    QPainterPath cabin(QPointF(30, 42));
    cabin.lineTo(44, 16);
    cabin.quadTo(46, 12, 52, 12);
    cabin.lineTo(92, 12);
    cabin.quadTo(98, 12, 102, 18);
    cabin.lineTo(116, 42);
    cabin.closeSubpath();
    ink.fill(cabin, paint);
    ink.fill(polygon({{40, 40}, {50, 20}, {70, 20}, {70, 40}}), QColor(0xA8, 0xDA, 0xFF),
             kLine * 0.8);
    ink.fill(polygon({{78, 40}, {78, 20}, {96, 20}, {106, 40}}), QColor(0xA8, 0xDA, 0xFF),
             kLine * 0.8);
    ink.fill(roundBox(4, 38, 132, 32, 12), paint);
    ink.fill(roundBox(124, 46, 10, 8, 3), kYellow, kLine * 0.8);
    ink.fill(roundBox(5, 48, 8, 8, 3), QColor(0xFF, 0x8C, 0x42), kLine * 0.8);
    ink.stroke(segment({74, 42}, {74, 64}), paint.darker(130), 1.6);
    for (double x : {36.0, 104.0}) {
        ink.fill(circle(x, 70, 14), outlineColour());
        ink.fill(circle(x, 70, 6), QColor(0xC4, 0xC9, 0xD4), kLine * 0.7);
    }
}

void drawKite(Ink& ink) {
    const QColor sail = ink.pick(QColor(0x4D, 0x9D, 0xF0));
    QPainterPath tail(QPointF(50, 78));
    tail.cubicTo(40, 90, 62, 98, 52, 116);
    ink.stroke(tail, outlineColour(), 1.6);
    for (const QPointF& knot : {QPointF(47, 90), QPointF(54, 104)})
        bow(ink, knot.x(), knot.y(), 5, kRed);
    ink.stroke(bend({50, 46}, {84, 70}, {92, 116}), QColor(0x8A, 0x90, 0x9C), 1.2);
    const QPainterPath diamond = polygon({{50, 4}, {82, 38}, {50, 80}, {18, 38}});
    ink.fill(diamond, sail);
    {
        ClipTo clip(ink.painter(), diamond);
        ink.flat(polygon({{50, 0}, {90, 38}, {50, 38}}), kYellow);
        ink.flat(polygon({{50, 38}, {10, 38}, {50, 84}}), kYellow);
    }
    ink.stroke(segment({50, 4}, {50, 80}), outlineColour(), 1.6);
    ink.stroke(segment({18, 38}, {82, 38}), outlineColour(), 1.6);
    ink.stroke(diamond, outlineColour(), kLine);
}

void drawBalloon(Ink& ink) {
    const QColor rubber = ink.pick(QColor(0xF6, 0x46, 0x5B));
    QPainterPath string(QPointF(40, 80));
    string.cubicTo(32, 92, 50, 100, 42, 116);
    ink.stroke(string, outlineColour(), 1.4);
    ink.fill(polygon({{40, 76}, {45, 84}, {35, 84}}), rubber, kLine * 0.8);
    QPainterPath balloon(QPointF(40, 78));
    balloon.cubicTo(14, 72, 8, 48, 10, 36);
    balloon.cubicTo(12, 14, 28, 6, 40, 6);
    balloon.cubicTo(52, 6, 68, 14, 70, 36);
    balloon.cubicTo(72, 48, 66, 72, 40, 78);
    ink.fill(balloon, rubber);
    ink.shine(26, 26, 5, 10, 25);
}

void drawStar(Ink& ink) {
    const QPainterPath star = starShape(50, 54, 46, 22);
    ink.fill(star, ink.pick(kYellow), kLine * 1.2);
    happyFace(ink, 50, 54, 20);
}

void drawGift(Ink& ink) {
    const QColor paper = ink.pick(QColor(0x5A, 0xA9, 0xE6));
    const QColor ribbon = paper == kRed ? kYellow : QColor(0xFF, 0x5C, 0x8A);
    ink.fill(turned(oval(38, 22, 12, 8), {38, 22}, 25), ribbon);
    ink.fill(turned(oval(62, 22, 12, 8), {62, 22}, -25), ribbon);
    ink.fill(roundBox(14, 44, 72, 50, 2), paper);
    ink.fill(roundBox(44, 44, 12, 50, 0), ribbon);
    ink.fill(roundBox(9, 30, 82, 16, 3), paper.lighter(112));
    ink.fill(roundBox(44, 30, 12, 16, 0), ribbon);
    ink.fill(circle(50, 28, 6), ribbon);
}

void drawBell(Ink& ink) {
    const QColor metal = ink.pick(kGold);
    ink.fill(circle(50, 84, 8), metal.darker(120));
    QPainterPath bell(QPointF(50, 12));
    bell.cubicTo(30, 12, 26, 34, 24, 56);
    bell.cubicTo(22, 66, 14, 70, 10, 78);
    bell.lineTo(90, 78);
    bell.cubicTo(86, 70, 78, 66, 76, 56);
    bell.cubicTo(74, 34, 70, 12, 50, 12);
    ink.fill(bell, metal);
    ink.fill(roundBox(8, 72, 84, 10, 5), metal.darker(112));
    ink.flat(roundBox(36, 22, 6, 40, 3), QColor(255, 255, 255, 130));
    ink.stroke(circle(50, 8, 5), outlineColour(), 2.2);
    bow(ink, 50, 16, 9, kRed);
}

void drawDrum(Ink& ink) {
    const QColor shell = ink.pick(QColor(0xE8, 0x48, 0x55));
    ink.limb(segment({20, 6}, {56, 28}), kWood, 4);
    ink.limb(segment({92, 8}, {60, 30}), kWood, 4);
    ink.fill(circle(18, 5, 4), kWood.lighter(110), kLine * 0.8);
    ink.fill(circle(94, 7, 4), kWood.lighter(110), kLine * 0.8);
    QPainterPath side(QPointF(12, 40));
    side.lineTo(12, 80);
    side.cubicTo(12, 98, 98, 98, 98, 80);
    side.lineTo(98, 40);
    side.closeSubpath();
    ink.fill(side, shell);
    QPainterPath zigzag(QPointF(14, 50));
    for (int i = 1; i <= 8; ++i) zigzag.lineTo(14 + i * 10.5, i % 2 == 0 ? 50 : 82);
    {
        ClipTo clip(ink.painter(), side);
        ink.stroke(zigzag, kWhite, 2.2);
        ink.stroke(bend({12, 84}, {55, 102}, {98, 84}), kGold, 5);
    }
    ink.stroke(side, outlineColour(), kLine);
    ink.fill(oval(55, 40, 43, 13), QColor(0xFF, 0xF3, 0xDA));
    ink.stroke(oval(55, 40, 43, 13), kGold, 2.6);
    ink.stroke(oval(55, 40, 44.5, 14.5), outlineColour(), 1.4);
}

// One note: a head with a stem going up; `flag` adds the little flag of a quaver.
void note(Ink& ink, double x, double y, double size, const QColor& colour, bool flag) {
    ink.limb(segment({x + size * 0.8, y - size * 0.2}, {x + size * 0.8, y - size * 3.2}), colour,
             size * 0.3);
    if (flag) {
        QPainterPath tail(QPointF(x + size * 0.8, y - size * 3.2));
        tail.cubicTo(x + size * 1.2, y - size * 2.4, x + size * 2.2, y - size * 2.4, x + size * 1.6,
                     y - size * 1.4);
        ink.stroke(tail, outlineColour(), size * 0.3 + kLine);
        ink.stroke(tail, colour, size * 0.3);
    }
    ink.fill(turned(oval(x, y, size, size * 0.72), {x, y}, -22), colour);
}

void drawMusic(Ink& ink) {
    const QColor first = ink.pick(kPurple);
    const QColor second = ink.pick(kBlue);
    ink.fill(polygon({{37, 24}, {81, 12}, {81, 22}, {37, 34}}), first);
    ink.limb(segment({37, 28}, {37, 74}), first, 4);
    ink.limb(segment({81, 16}, {81, 64}), second, 4);
    ink.fill(turned(oval(29, 76, 10, 7.5), {29, 76}, -22), first);
    ink.fill(turned(oval(73, 66, 10, 7.5), {73, 66}, -22), second);
    note(ink, 14, 40, 6, kPink, true);
    ink.fill(starShape(62, 86, 6, 2.6), kYellow, kLine * 0.7);
    ink.fill(starShape(90, 84, 4, 1.8), kYellow, kLine * 0.6);
}

void drawClock(Ink& ink) {
    const QColor casing = ink.pick(kRed);
    ink.limb(segment({28, 86}, {20, 104}), outlineColour(), 3);
    ink.limb(segment({72, 86}, {80, 104}), outlineColour(), 3);
    ink.fill(turned(oval(24, 20, 13, 9), {24, 20}, -35), kGold);
    ink.fill(turned(oval(76, 20, 13, 9), {76, 20}, 35), kGold);
    ink.fill(circle(50, 58, 40), casing);
    ink.fill(circle(50, 58, 31), kWhite);
    for (int i = 0; i < 12; ++i) {
        const double angle = i * M_PI / 6;
        const double r = i % 3 == 0 ? 2.4 : 1.3;
        ink.flat(circle(50 + 25 * std::cos(angle), 58 + 25 * std::sin(angle), r), outlineColour());
    }
    ink.limb(segment({50, 58}, {36, 49}), outlineColour(), 2.4);
    ink.limb(segment({50, 58}, {64, 40}), outlineColour(), 1.6);
    ink.fill(circle(50, 58, 3.5), kRed, kLine * 0.6);
}

void drawHat(Ink& ink) {
    const QColor straw = ink.pick(QColor(0xF6, 0xD3, 0x65));
    const QColor band = ink.tinted() ? kWhite : kRed;
    ink.fill(oval(55, 58, 50, 15), straw);
    QPainterPath crown(QPointF(28, 58));
    crown.cubicTo(26, 10, 84, 10, 82, 58);
    crown.quadTo(55, 66, 28, 58);
    ink.fill(crown, straw.darker(106));
    {
        ClipTo clip(ink.painter(), crown);
        ink.fill(roundBox(20, 42, 70, 12, 0), band, kLine * 0.8);
    }
    ink.stroke(crown, outlineColour(), kLine);
    ink.fill(circle(74, 48, 6), kYellow, kLine * 0.7);
}

// A child singing, with notes flying out.
void drawChant(Ink& ink) {
    ink.fill(roundBox(20, 76, 48, 34, 12).intersected(roundBox(0, 0, 120, 106, 0)),
             ink.pick(kGreen));
    ears(ink, 44, 50, 28);
    ink.fill(circle(44, 50, 28), kSkin);
    hairCap(ink, 44, 50, 28, sweptFringe(44, 50, 28), kDarkHair);
    eyes(ink, 44, 51, 10, 3.6);
    ink.fill(oval(44, 66, 6, 6.5), QColor(0xB0, 0x2E, 0x45), kLine * 0.8);
    cheeks(ink, 44, 62, 17, 4);
    note(ink, 86, 44, 7, kPink, true);
    note(ink, 100, 82, 6, kBlue, false);
    note(ink, 78, 94, 5, kPurple, true);
}

void drawPalette(Ink& ink) {
    QPainterPath board(QPointF(50, 12));
    board.cubicTo(82, 12, 98, 34, 94, 58);
    board.cubicTo(90, 82, 62, 90, 46, 86);
    board.cubicTo(30, 82, 40, 70, 28, 68);
    board.cubicTo(12, 66, 6, 56, 8, 44);
    board.cubicTo(12, 24, 30, 12, 50, 12);
    board = board.subtracted(oval(30, 52, 6, 5));
    ink.fill(board, QColor(0xEB, 0xC0, 0x86));
    const std::array<QColor, 5> blobs{kRed, kYellow, kGreen, kBlue, kPurple};
    const std::array<QPointF, 5> spots{QPointF(28, 32), QPointF(48, 26), QPointF(68, 28),
                                       QPointF(80, 46), QPointF(70, 66)};
    for (int i = 0; i < 5; ++i)
        ink.fill(blob(spots[i].x(), spots[i].y(), 7, 4, 0.82), blobs[i], kLine * 0.8);
    ink.limb(segment({44, 96}, {62, 62}), kWood, 4);
    ink.fill(turned(oval(64, 58, 4, 8), {64, 58}, 28), kRed, kLine * 0.8);
}

void drawPaint(Ink& ink) {
    if (!ink.tinted()) {
        drawPalette(ink);
        return;
    }
    const QColor colour = ink.pick(kRed);
    ink.fill(blob(50, 52, 34, 7, 0.72), colour);
    for (const auto& drop : {std::array<double, 3>{50, 9, 4.5},
                             {90, 34, 3.5},
                             {86, 82, 5},
                             {14, 80, 4},
                             {12, 28, 3}}) {
        ink.fill(circle(drop[0], drop[1], drop[2]), colour, kLine * 0.8);
    }
    ink.shine(40, 42, 5, 9, 30);
}

void drawUnknown(Ink& ink) {
    ink.painter().setPen(QPen(QColor(0xAA, 0xAA, 0xB4), 2, Qt::DashLine));
    ink.painter().setBrush(QColor(0xF4, 0xF4, 0xF7));
    ink.painter().drawRoundedRect(QRectF(4, 4, 92, 92), 12, 12);
    label(ink, QStringLiteral("?"), QRectF(20, 20, 60, 60), QColor(0xAA, 0xAA, 0xB4));
}

// ---------------------------------------------------------------------------------------------
// Story props and scenery

// Pip's face as the children draw it: crayon lines on a sheet of paper.
void drawPandaFace(Ink& ink) {
    const QPainterPath sheet = turned(roundBox(8, 8, 84, 84, 3), {50, 50}, -4);
    ink.flat(sheet.translated(2.5, 3), QColor(0, 0, 0, 40));
    ink.fill(sheet, kWhite);
    const QColor crayon(0x2E, 0x2A, 0x33);
    ink.flat(circle(31, 31, 9), crayon);
    ink.flat(circle(69, 31, 9), crayon);
    ink.fill(circle(50, 53, 27), kWhite);
    ink.flat(turned(oval(40, 50, 6, 8), {40, 50}, 35), crayon);
    ink.flat(turned(oval(60, 50, 6, 8), {60, 50}, -35), crayon);
    ink.flat(circle(41, 49, 2.4), kWhite);
    ink.flat(circle(59, 49, 2.4), kWhite);
    ink.flat(oval(50, 60, 4.5, 3.2), crayon);
    ink.stroke(bend({44, 66}, {50, 71}, {56, 66}), crayon, 2.2);
    ink.flat(oval(36, 62, 4, 2.6), kCheek);
    ink.flat(oval(64, 62, 4, 2.6), kCheek);
}

// A birthday cake with as many lit candles as its count (one to ten), in two rows when many.
void drawBirthdayCake(Ink& ink) {
    const int count = std::clamp(ink.count(), 0, 10);
    ink.fill(oval(50, 110, 46, 7), kWhite);
    ink.fill(cakeSponge(70, 100), QColor(0xFF, 0xE6, 0xB8));
    ink.stroke(bend({13, 88}, {50, 98}, {87, 88}), QColor(0xE9, 0x6F, 0x9A), 3);
    ink.fill(icingWithDrips(70), QColor(0xFF, 0x9E, 0xC4));
    // One row across the icing, each candle a little higher or lower than its neighbour.
    const std::array<QColor, 4> colours{kBlue, kYellow, kGreen, kPurple};
    const double spacing = count > 1 ? std::min(14.0, 64.0 / (count - 1)) : 0.0;
    const double half = std::min(2.8, spacing * 0.3 + (count == 1 ? 2.8 : 0.0));
    const double flame = std::min(4.5, spacing * 0.42 + (count == 1 ? 4.5 : 0.0));
    for (int i = 0; i < count; ++i) {
        const double x = 50 + (i - (count - 1) / 2.0) * spacing;
        const double foot = 68 + (i % 2) * 4;
        ink.fill(roundBox(x - half, foot - 24, 2 * half, 24, 1.5), colours[i % 4], kLine * 0.5);
        QPainterPath fire(QPointF(x, foot - 35));
        fire.cubicTo(x + flame, foot - 30, x + flame * 0.8, foot - 26, x, foot - 26);
        fire.cubicTo(x - flame * 0.8, foot - 26, x - flame, foot - 30, x, foot - 35);
        ink.fill(fire, QColor(0xFF, 0xC9, 0x3C), kLine * 0.4);
    }
}

// A table seen from the front: as long as its rectangle.
void drawTable(Ink& ink) {
    const double w = ink.width();
    const QColor wood = ink.pick(kWood);
    for (double x : {14.0, w - 14}) ink.fill(roundBox(x - 5, 30, 10, 66, 2), wood.darker(120));
    ink.fill(roundBox(3, 16, w - 6, 18, 5), wood);
    ink.flat(roundBox(10, 19, w - 20, 4, 2), wood.lighter(118));
    ink.stroke(segment({6, 29}, {w - 6, 29}), wood.darker(125), 1.6);
}

// Grass along the ground, with a few flowers: as long as its rectangle.
void drawGrass(Ink& ink) {
    const double w = ink.width();
    const QColor green = ink.pick(QColor(0x8C, 0xD0, 0x6A));
    QPainterPath ground(QPointF(3, 96));
    ground.lineTo(3, 50);
    const int bumps = std::max(2, int(w / 60));
    for (int i = 0; i < bumps; ++i) {
        const double x0 = 3 + (w - 6) * i / bumps;
        const double x1 = 3 + (w - 6) * (i + 1) / bumps;
        ground.quadTo((x0 + x1) / 2, i % 2 ? 30 : 38, x1, 50);
    }
    ground.lineTo(w - 3, 96);
    ground.closeSubpath();
    ink.fill(ground, green);
    for (double x = 20; x < w - 14; x += 34) {
        ink.stroke(bend({x, 64}, {x - 2, 56}, {x - 6, 52}), green.darker(125), 2.4);
        ink.stroke(bend({x, 64}, {x + 1, 55}, {x + 5, 50}), green.darker(125), 2.4);
    }
    const std::array<QColor, 3> petals{kPink, kYellow, kWhite};
    for (int i = 0; i * 70 + 40 < w - 20; ++i) {
        const double x = i * 70 + 40 + (i % 2) * 12;
        const double y = 74 + (i % 3) * 6;
        for (int k = 0; k < 5; ++k) {
            const double a = k * 2 * M_PI / 5;
            ink.fill(circle(x + 5 * std::cos(a), y + 5 * std::sin(a), 3.6), petals[i % 3],
                     kLine * 0.5);
        }
        ink.fill(circle(x, y, 2.8), kOrange, kLine * 0.5);
    }
}

// Party flags on a string: as long as its rectangle.
void drawBunting(Ink& ink) {
    const double w = ink.width();
    const QPainterPath string = bend({4, 14}, {w / 2, 44}, {w - 4, 14});
    const int flags = std::max(3, int(w * ink.scale() / 38));  // one flag every 38 page units
    const std::array<QColor, 5> colours{kRed, kYellow, kBlue, kGreen, kPink};
    for (int i = 0; i < flags; ++i) {
        const double t = (i + 0.5) / flags;
        const QPointF p = string.pointAtPercent(t);
        const double half = (w - 8) / flags * 0.36;
        ink.fill(polygon({p - QPointF(half, 1), p + QPointF(half, -1), p + QPointF(0, 46)}),
                 colours[i % 5], kLine * 0.8);
    }
    ink.stroke(string, outlineColour(), 2);
}

// A sheet of drawing paper taped to the table: as long as its rectangle.
void drawPaper(Ink& ink) {
    const double w = ink.width();
    const QPainterPath sheet = roundBox(6, 6, w - 12, 88, 3);
    ink.flat(sheet.translated(3, 3), QColor(0, 0, 0, 35));
    ink.fill(sheet, kWhite);
    const double tape = std::min(20.0, (w - 12) * 0.3);
    for (const QPointF& corner : {QPointF(6 + tape * 0.7, 9), QPointF(w - 6 - tape * 0.7, 9)}) {
        ink.fill(turned(roundBox(corner.x() - tape / 2, corner.y() - 4, tape, 8, 1), corner,
                        corner.x() < w / 2 ? -30 : 30),
                 QColor(0xFF, 0xF0, 0xA8, 220), kLine * 0.4);
    }
}

// A soft panel that groups a picture with what belongs to it: as big as its rectangle.
void drawCard(Ink& ink) {
    const double w = ink.width();
    const QColor colour = ink.pick(QColor(0xB8, 0xC4, 0xD6));
    QColor paper = colour;
    paper.setHsvF(colour.hsvHueF(), colour.hsvSaturationF() * 0.18, 1.0);
    // A thin edge and round corners of the same size on every card, however big it is.
    const double unit = 1 / std::max(ink.scale(), 0.01);
    const QPainterPath panel = roundBox(unit, unit, w - 2 * unit, 100 - 2 * unit, 12 * unit);
    ink.fill(panel, paper, 0);
    ink.stroke(panel, colour, 1.6 * unit);
}

// ---------------------------------------------------------------------------------------------
// The vocabulary

enum class Layout {
    Upright,  // drawn as designed
    Long,     // a long thin thing: turned flat, upright or slanted, whichever is biggest
    Stretch,  // 100 high and as wide as the rectangle allows (scenery such as grass or tables)
};

struct Thing {
    const char* name;
    QSizeF size;
    Layout layout;
    void (*draw)(Ink&);
};

const QSizeF kPerson(100, 130);
const QSizeF kSquare(100, 100);

const std::array kThings{
    Thing{"boy", kPerson, Layout::Upright, drawBoy},
    Thing{"girl", kPerson, Layout::Upright, drawGirl},
    Thing{"teacher", kPerson, Layout::Upright, drawTeacher},
    Thing{"mum", kPerson, Layout::Upright, drawMum},
    Thing{"dad", kPerson, Layout::Upright, drawDad},
    Thing{"grandma", kPerson, Layout::Upright, drawGrandma},
    Thing{"grandpa", kPerson, Layout::Upright, drawGrandpa},
    Thing{"baby", kSquare, Layout::Upright, drawBaby},
    Thing{"cat", kSquare, Layout::Upright, drawCat},
    Thing{"dog", kSquare, Layout::Upright, drawDog},
    Thing{"duck", kSquare, Layout::Upright, drawDuck},
    Thing{"pig", kSquare, Layout::Upright, drawPig},
    Thing{"bear", kSquare, Layout::Upright, drawBear},
    Thing{"panda", kSquare, Layout::Upright, drawPanda},
    Thing{"monkey", kSquare, Layout::Upright, drawMonkey},
    Thing{"elephant", kSquare, Layout::Upright, drawElephant},
    Thing{"rabbit", kSquare, Layout::Upright, drawRabbit},
    Thing{"bird", kSquare, Layout::Upright, drawBird},
    Thing{"fish", kSquare, Layout::Upright, drawFish},
    Thing{"mouse", kSquare, Layout::Upright, drawMouse},
    Thing{"tiger", kSquare, Layout::Upright, drawTiger},
    Thing{"zoo", kSquare, Layout::Upright, drawZoo},
    Thing{"ruler", QSizeF(160, 34), Layout::Long, drawRuler},
    Thing{"pencil", QSizeF(158, 30), Layout::Long, drawPencil},
    Thing{"eraser", QSizeF(100, 76), Layout::Upright, drawEraser},
    Thing{"crayon", QSizeF(152, 34), Layout::Long, drawCrayon},
    Thing{"pen", QSizeF(156, 32), Layout::Long, drawPen},
    Thing{"book", kSquare, Layout::Upright, drawBook},
    Thing{"bag", kSquare, Layout::Upright, drawBag},
    Thing{"sharpener", kSquare, Layout::Upright, drawSharpener},
    Thing{"pencilbox", QSizeF(140, 76), Layout::Upright, drawPencilbox},
    Thing{"desk", QSizeF(120, 100), Layout::Upright, drawDesk},
    Thing{"blackboard", QSizeF(140, 100), Layout::Upright, drawBlackboard},
    Thing{"face", kSquare, Layout::Upright, drawFace},
    Thing{"head", QSizeF(100, 108), Layout::Upright, drawHead},
    Thing{"eye", QSizeF(100, 84), Layout::Upright, drawEye},
    Thing{"closedeye", QSizeF(100, 84), Layout::Upright, drawClosedEye},
    Thing{"ear", QSizeF(96, 100), Layout::Upright, drawEar},
    Thing{"nose", kSquare, Layout::Upright, drawNose},
    Thing{"mouth", QSizeF(100, 72), Layout::Upright, drawMouth},
    Thing{"hand", QSizeF(100, 104), Layout::Upright, drawHand},
    Thing{"arm", QSizeF(120, 100), Layout::Upright, drawArm},
    Thing{"leg", QSizeF(90, 128), Layout::Upright, drawLeg},
    Thing{"foot", QSizeF(100, 110), Layout::Upright, drawFoot},
    Thing{"body", kPerson, Layout::Upright, drawBody},
    Thing{"bread", QSizeF(100, 90), Layout::Upright, drawBread},
    Thing{"juice", QSizeF(84, 110), Layout::Upright, drawJuice},
    Thing{"egg", kSquare, Layout::Upright, drawEgg},
    Thing{"milk", QSizeF(100, 106), Layout::Upright, drawMilk},
    Thing{"water", QSizeF(84, 120), Layout::Upright, drawWater},
    Thing{"cake", kSquare, Layout::Upright, drawCake},
    Thing{"rice", QSizeF(100, 94), Layout::Upright, drawRice},
    Thing{"apple", kSquare, Layout::Upright, drawApple},
    Thing{"banana", QSizeF(110, 96), Layout::Upright, drawBanana},
    Thing{"orange", kSquare, Layout::Upright, drawOrange},
    Thing{"pear", QSizeF(90, 110), Layout::Upright, drawPear},
    Thing{"grapes", QSizeF(90, 100), Layout::Upright, drawGrapes},
    Thing{"icecream", QSizeF(80, 118), Layout::Upright, drawIcecream},
    Thing{"hotdog", QSizeF(140, 68), Layout::Upright, drawHotdog},
    Thing{"chicken", kSquare, Layout::Upright, drawChicken},
    Thing{"noodles", QSizeF(100, 94), Layout::Upright, drawNoodles},
    Thing{"candle", QSizeF(60, 118), Layout::Upright, drawCandle},
    Thing{"birthdaycake", QSizeF(100, 120), Layout::Upright, drawBirthdayCake},
    Thing{"sun", kSquare, Layout::Upright, drawSun},
    Thing{"tree", QSizeF(100, 120), Layout::Upright, drawTree},
    Thing{"flower", QSizeF(80, 120), Layout::Upright, drawFlower},
    Thing{"house", QSizeF(110, 100), Layout::Upright, drawHouse},
    Thing{"ball", kSquare, Layout::Upright, drawBall},
    Thing{"car", QSizeF(140, 88), Layout::Upright, drawCar},
    Thing{"kite", QSizeF(100, 120), Layout::Upright, drawKite},
    Thing{"balloon", QSizeF(80, 120), Layout::Upright, drawBalloon},
    Thing{"star", kSquare, Layout::Upright, drawStar},
    Thing{"gift", kSquare, Layout::Upright, drawGift},
    Thing{"bell", kSquare, Layout::Upright, drawBell},
    Thing{"drum", QSizeF(110, 100), Layout::Upright, drawDrum},
    Thing{"music", kSquare, Layout::Upright, drawMusic},
    Thing{"clock", QSizeF(100, 108), Layout::Upright, drawClock},
    Thing{"hat", QSizeF(110, 78), Layout::Upright, drawHat},
    Thing{"chant", QSizeF(120, 108), Layout::Upright, drawChant},
    Thing{"paint", kSquare, Layout::Upright, drawPaint},
    Thing{"pandaface", kSquare, Layout::Upright, drawPandaFace},
    Thing{"table", kSquare, Layout::Stretch, drawTable},
    Thing{"grass", kSquare, Layout::Stretch, drawGrass},
    Thing{"bunting", kSquare, Layout::Stretch, drawBunting},
    Thing{"paper", kSquare, Layout::Stretch, drawPaper},
    Thing{"card", kSquare, Layout::Stretch, drawCard},
    Thing{"number", kSquare, Layout::Upright, nullptr},  // drawn from its text, see drawNumber
};

const Thing* findThing(const QString& name) {
    for (const Thing& thing : kThings) {
        if (name == QLatin1String(thing.name)) return &thing;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Placing a design into a rectangle

// How much a design of `size`, turned by `degrees`, can grow and still fit into `space`.
double fitScale(const QSizeF& size, double degrees, const QSizeF& space) {
    const double a = qDegreesToRadians(degrees);
    const double w = std::abs(size.width() * std::cos(a)) + std::abs(size.height() * std::sin(a));
    const double h = std::abs(size.width() * std::sin(a)) + std::abs(size.height() * std::cos(a));
    return std::min(space.width() / w, space.height() / h);
}

// Long things lie flat in wide rectangles, stand up in tall ones and slant in square ones.
double bestAngle(const Thing& thing, const QSizeF& space) {
    if (thing.layout != Layout::Long) return 0;
    double best = 0;
    double bestScale = fitScale(thing.size, 0, space) * 1.05;  // lying flat wins ties
    for (double degrees : {-20.0, -30.0, -40.0, -50.0, -90.0}) {
        const double scale = fitScale(thing.size, degrees, space);
        if (scale > bestScale) {
            best = degrees;
            bestScale = scale;
        }
    }
    return best;
}

// The part of `rect` a thing is drawn in: a small share is kept free all round, and for
// stretched scenery (cards, tables, grass) just enough that the outline stays inside.
QRectF spaceIn(const QRectF& rect, Layout layout = Layout::Upright) {
    if (layout == Layout::Stretch) return rect.adjusted(2, 2, -2, -2);
    return rect.marginsRemoved(QMarginsF(rect.width() * kMargin, rect.height() * kMargin,
                                         rect.width() * kMargin, rect.height() * kMargin));
}

// The design box a thing is drawn in for `rect`: its own, or for stretched things 100 high and
// as wide as the rectangle's shape.
QSizeF designSize(const Thing& thing, const QRectF& rect) {
    if (thing.layout != Layout::Stretch) return thing.size;
    const QRectF space = spaceIn(rect, thing.layout);
    if (space.height() <= 0) return thing.size;
    return QSizeF(100 * space.width() / space.height(), 100);
}

QTransform placement(const QRectF& rect, const QSizeF& size, double degrees,
                     Layout layout = Layout::Upright) {
    const QRectF space = spaceIn(rect, layout);
    const double scale = fitScale(size, degrees, space.size());
    QTransform t;
    t.translate(space.center().x(), space.center().y());
    t.rotate(degrees);
    t.scale(scale, scale);
    t.translate(-size.width() / 2, -size.height() / 2);
    return t;
}

// ---------------------------------------------------------------------------------------------
// Numbers: big, bright digits or number words, each letter in its own colour.

struct NumberArt {
    QList<QPainterPath> letters;
    QRectF bounds;  // the letters with their white rim
};

constexpr double kNumberRim = 14;

NumberArt numberArt(const QString& text) {
    const QString shown = text.trimmed().isEmpty() ? QStringLiteral("123") : text.trimmed();
    QFont font = pageart::englishFont(true);
    font.setPixelSize(100);
    const QFontMetricsF metrics(font);
    NumberArt art;
    double x = 0;
    for (const QChar c : shown) {
        QPainterPath letter;
        letter.addText(x, metrics.ascent(), font, QString(c));
        art.letters.append(letter);
        art.bounds = art.bounds.united(letter.boundingRect());
        x += metrics.horizontalAdvance(c);
    }
    if (!art.bounds.isEmpty()) {
        art.bounds.adjust(-kNumberRim / 2, -kNumberRim / 2, kNumberRim / 2, kNumberRim / 2);
    }
    return art;
}

void drawNumber(QPainter& painter, const QRectF& rect, const QString& text) {
    const NumberArt art = numberArt(text);
    if (art.bounds.isEmpty()) return;
    painter.setTransform(placement(rect, art.bounds.size(), 0), true);
    painter.translate(-art.bounds.topLeft());
    Ink ink(painter, QColor());
    const std::array<QColor, 6> colours{kRed, kOrange, kGreen, kBlue, kPurple, kPink};
    for (const QPainterPath& letter : art.letters) ink.stroke(letter, kWhite, kNumberRim);
    // The first character picks the first colour, so different numbers look different.
    const qsizetype first = text.trimmed().isEmpty() ? 0 : text.trimmed().front().unicode();
    for (qsizetype i = 0; i < art.letters.size(); ++i) {
        ink.fill(art.letters[i], colours[(first + i) % qsizetype(colours.size())], 5);
    }
}

struct NamedColour {
    const char* name;
    QColor colour;
};

const std::array kColours{
    NamedColour{"red", QColor(0xEF, 0x4C, 0x4C)},
    NamedColour{"yellow", QColor(0xFF, 0xD6, 0x3F)},
    NamedColour{"green", QColor(0x4C, 0xBB, 0x6C)},
    NamedColour{"blue", QColor(0x4D, 0x9D, 0xF0)},
    NamedColour{"purple", QColor(0x9B, 0x6B, 0xD6)},
    NamedColour{"white", QColor(0xFF, 0xFF, 0xFF)},
    NamedColour{"black", QColor(0x3A, 0x36, 0x40)},
    NamedColour{"orange", QColor(0xFF, 0x9A, 0x2E)},
    NamedColour{"brown", QColor(0xA0, 0x6A, 0x3C)},
    NamedColour{"pink", QColor(0xFF, 0x8F, 0xC0)},
    NamedColour{"grey", QColor(0xA8, 0xAC, 0xB6)},
};

}  // namespace

QStringList knownThings() {
    QStringList names;
    for (const Thing& thing : kThings) names.append(QLatin1String(thing.name));
    return names;
}

bool isKnownThing(const QString& thing) {
    return findThing(thing) != nullptr;
}

const QStringList& countedThings() {
    static const QStringList names{"number", "birthdaycake"};
    return names;
}

bool takesCount(const QString& thing) {
    return countedThings().contains(thing);
}

const QStringList& speakers() {
    static const QStringList names{"boy",     "girl",  "teacher", "mum",      "dad",    "grandma",
                                   "grandpa", "baby",  "cat",     "dog",      "duck",   "pig",
                                   "bear",    "panda", "monkey",  "elephant", "rabbit", "bird",
                                   "fish",    "mouse", "tiger"};
    return names;
}

bool isSpeaker(const QString& thing) {
    return speakers().contains(thing);
}

const QStringList& knownColours() {
    static const QStringList names = [] {
        QStringList list;
        for (const NamedColour& named : kColours) list.append(QLatin1String(named.name));
        return list;
    }();
    return names;
}

bool isKnownColour(const QString& colour) {
    return colourByName(colour).isValid();
}

QColor colourByName(const QString& colour) {
    for (const NamedColour& named : kColours) {
        if (colour == QLatin1String(named.name)) return named.colour;
    }
    return QColor();
}

namespace pageart {

QRectF thingFootprint(const QRectF& rect, const QString& thing, const QString& colour) {
    const Thing* found = findThing(thing);
    QSizeF size = found ? designSize(*found, rect) : kSquare;
    double degrees = found ? bestAngle(*found, rect.size()) : 0;
    if (found && !found->draw) {
        size = numberArt(colour).bounds.size();
        if (size.isEmpty()) return QRectF();
    }
    return placement(rect, size, degrees, found ? found->layout : Layout::Upright)
        .mapRect(QRectF(QPointF(0, 0), size));
}

QPointF headPoint(const QRectF& rect, const QString& thing) {
    const QRectF drawn = thingFootprint(rect, thing, QString());
    const Thing* found = findThing(thing);
    // People are drawn 130 high with the head in the top quarter; animals' heads sit higher
    // than their middle.
    const double share = found && found->size == kPerson ? 0.27 : 0.4;
    return QPointF(drawn.center().x(), drawn.top() + drawn.height() * share);
}

}  // namespace pageart

void drawThing(QPainter& painter, const QRectF& rect, const QString& thing, const QString& colour) {
    if (!rect.isValid() || rect.isEmpty()) return;
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const Thing* found = findThing(thing);
    if (found && !found->draw) {
        drawNumber(painter, rect, colour);
    } else {
        // Page sources are checked with isKnownThing(); anything else shows a plain "?" card.
        static const Thing kUnknown{"", kSquare, Layout::Upright, drawUnknown};
        const Thing& design = found ? *found : kUnknown;
        const QSizeF size = designSize(design, rect);
        const double degrees = bestAngle(design, rect.size());
        painter.setTransform(placement(rect, size, degrees, design.layout), true);
        Ink ink(painter, colourByName(colour));
        ink.setWidth(size.width());
        ink.setScale(fitScale(size, degrees, spaceIn(rect, design.layout).size()));
        if (takesCount(thing)) ink.setCount(colour.toInt());
        design.draw(ink);
    }
    painter.restore();
}

}  // namespace art
