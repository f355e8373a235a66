// The pictures of the program's windows: the start window, the book cover, buttons, the
// dictation screen, the five game backgrounds, the matching tiles, the flower, the marks and
// the loading spinner. Every picture is drawn with QPainter from simple shapes; painters with a
// fixed layout draw in their design size and are scaled when asked for another size.

#include <QBuffer>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>
#include <cstdint>
#include <functional>

#include "pictures/art/shapes.h"
#include "pictures/art/window_art.h"

namespace art {
namespace {

constexpr int kMaxSide = 4096;
constexpr int kJpegQuality = 90;
constexpr int kSpinnerFrames = 8;
constexpr int kSpinnerDelayMs = 100;

// ---------------------------------------------------------------------------------------------
// Colours and small helpers

const QColor kInk(0x3b, 0x3f, 0x5c);
const QColor kPaper(0xff, 0xfb, 0xef);
const QColor kSkin(0xff, 0xd9, 0xb3);
const QColor kSkinLine(0xe0, 0xa0, 0x70);
const QColor kCheek(0xff, 0x8f, 0x8f, 120);
const QColor kHighlight(0xf4, 0xf4, 0xf4);
const QList<QColor> kRainbow = {QColor(0xff, 0x5e, 0x5e), QColor(0xff, 0x9f, 0x1c),
                                QColor(0xf5, 0xc4, 0x00), QColor(0x4c, 0xc9, 0x5a),
                                QColor(0x2f, 0x9b, 0xf0), QColor(0x8e, 0x6c, 0xf0),
                                QColor(0xff, 0x6f, 0xb5)};

QColor rainbow(int i) {
    const int count = int(kRainbow.size());
    return kRainbow[((i % count) + count) % count];
}

QColor withAlpha(QColor colour, int alpha) {
    colour.setAlpha(alpha);
    return colour;
}

QColor mix(const QColor& a, const QColor& b, qreal t) {
    return QColor::fromRgbF(
        a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
        a.blueF() + (b.blueF() - a.blueF()) * t, a.alphaF() + (b.alphaF() - a.alphaF()) * t);
}

QFont cjkFont(qreal pixelSize, bool bold = true) {
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(qMax(1, qRound(pixelSize)));
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

// A fixed-seed generator, so that scattered decorations land on the same spots every build.
class SeededRandom {
  public:
    explicit SeededRandom(uint32_t seed) : state_(seed) {}
    qreal real() {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) / qreal(1 << 24);
    }
    qreal between(qreal low, qreal high) { return low + (high - low) * real(); }

  private:
    uint32_t state_;
};

QPen roundPen(const QColor& colour, qreal width) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void fillVertical(QPainter& p, const QRectF& rect, const QColor& top, const QColor& bottom) {
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    p.fillRect(rect, gradient);
}

QPainterPath textPath(const QString& text, const QFont& font) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    return path;
}

// Text centred on its ink inside `box`, with an optional outline drawn behind it.
void drawCentredText(QPainter& p, const QRectF& box, const QString& text, const QFont& font,
                     const QColor& fill, const QColor& outline = Qt::transparent,
                     qreal outlineWidth = 0) {
    QPainterPath path = textPath(text, font);
    path.translate(box.center() - path.boundingRect().center());
    if (outlineWidth > 0) p.strokePath(path, roundPen(outline, outlineWidth));
    p.fillPath(path, fill);
}

// Text centred in `box` with a soft offset shadow.
void drawShadowText(QPainter& p, const QRectF& box, const QString& text, const QFont& font,
                    const QColor& fill, const QColor& shadow, qreal offset) {
    drawCentredText(p, box.translated(offset * 0.6, offset), text, font, shadow);
    drawCentredText(p, box, text, font, fill);
}

QPainterPath starPath(QPointF centre, qreal outer, qreal inner, int points = 5,
                      qreal turnDegrees = 0) {
    QPainterPath path;
    for (int i = 0; i < points * 2; ++i) {
        const qreal radius = (i % 2 == 0) ? outer : inner;
        const qreal angle = qDegreesToRadians(-90 + turnDegrees + i * 180.0 / points);
        const QPointF point = centre + QPointF(radius * qCos(angle), radius * qSin(angle));
        if (i == 0) {
            path.moveTo(point);
        } else {
            path.lineTo(point);
        }
    }
    path.closeSubpath();
    return path;
}

void drawStar(QPainter& p, QPointF centre, qreal radius, const QColor& colour,
              qreal turnDegrees = 0) {
    const QPainterPath star = starPath(centre, radius, radius * 0.48, 5, turnDegrees);
    p.setPen(roundPen(colour.darker(125), qMax(1.0, radius * 0.12)));
    p.setBrush(colour);
    p.drawPath(star);
}

void drawSparkle(QPainter& p, QPointF centre, qreal radius, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(starPath(centre, radius, radius * 0.25, 4));
}

void drawCloud(QPainter& p, QPointF centre, qreal width, int alpha = 235) {
    const qreal h = width * 0.42;
    QPainterPath cloud;
    cloud.addRoundedRect(QRectF(centre.x() - width / 2, centre.y() - h * 0.1, width, h * 0.5),
                         h * 0.25, h * 0.25);
    cloud.addEllipse(QPointF(centre.x() - width * 0.22, centre.y()), width * 0.2, h * 0.38);
    cloud.addEllipse(QPointF(centre.x() + width * 0.05, centre.y() - h * 0.18), width * 0.26,
                     h * 0.55);
    cloud.addEllipse(QPointF(centre.x() + width * 0.3, centre.y() + h * 0.02), width * 0.17,
                     h * 0.34);
    cloud.setFillRule(Qt::WindingFill);
    cloud = cloud.simplified();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xb8, 0xd8, 0xee, alpha / 2));
    p.drawPath(cloud.translated(0, h * 0.08));
    p.setBrush(QColor(255, 255, 255, alpha));
    p.drawPath(cloud);
}

void drawSmile(QPainter& p, QPointF centre, qreal width, const QColor& colour, qreal pen) {
    p.setPen(roundPen(colour, pen));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(centre.x() - width / 2, centre.y() - width / 2, width, width * 0.8), -20 * 16,
              -140 * 16);
}

void drawEyes(QPainter& p, QPointF centre, qreal gap, qreal size) {
    p.setPen(Qt::NoPen);
    for (const qreal side : {-1.0, 1.0}) {
        const QPointF eye = centre + QPointF(side * gap / 2, 0);
        p.setBrush(QColor(0x2b, 0x25, 0x2b));
        p.drawEllipse(eye, size * 0.75, size);
        p.setBrush(kHighlight);
        p.drawEllipse(eye + QPointF(size * 0.25, -size * 0.35), size * 0.28, size * 0.28);
    }
}

void drawSun(QPainter& p, QPointF centre, qreal radius, bool face) {
    p.save();
    p.setPen(roundPen(QColor(0xff, 0xb3, 0x1a), radius * 0.12));
    for (int i = 0; i < 12; ++i) {
        const qreal angle = qDegreesToRadians(i * 30.0 + 8);
        const QPointF dir(qCos(angle), qSin(angle));
        p.drawLine(centre + dir * radius * 1.2, centre + dir * radius * (i % 2 ? 1.45 : 1.6));
    }
    QRadialGradient glow(centre - QPointF(radius * 0.3, radius * 0.3), radius * 1.3);
    glow.setColorAt(0, QColor(0xff, 0xf3, 0x8a));
    glow.setColorAt(1, QColor(0xff, 0xc8, 0x2e));
    p.setPen(roundPen(QColor(0xff, 0xa8, 0x1a), radius * 0.06));
    p.setBrush(glow);
    p.drawEllipse(centre, radius, radius);
    if (face) {
        drawEyes(p, centre + QPointF(0, -radius * 0.12), radius * 0.62, radius * 0.13);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xff, 0x7a, 0x5a, 110));
        p.drawEllipse(centre + QPointF(-radius * 0.52, radius * 0.2), radius * 0.16, radius * 0.1);
        p.drawEllipse(centre + QPointF(radius * 0.52, radius * 0.2), radius * 0.16, radius * 0.1);
        drawSmile(p, centre + QPointF(0, radius * 0.12), radius * 0.6, QColor(0xc0, 0x5a, 0x10),
                  radius * 0.08);
    }
    p.restore();
}

// A rounded hill whose top is at `top`, reaching from `left` to `right` and down to `bottom`.
void drawHill(QPainter& p, qreal left, qreal right, qreal top, qreal bottom, const QColor& colour) {
    const qreal width = right - left;
    QPainterPath hill;
    hill.moveTo(left, bottom);
    hill.cubicTo(left + width * 0.2, top, left + width * 0.8, top, right, bottom);
    hill.closeSubpath();
    QLinearGradient shade(0, top, 0, bottom);
    shade.setColorAt(0, colour.lighter(112));
    shade.setColorAt(1, colour);
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawPath(hill);
}

void drawTree(QPainter& p, QPointF base, qreal height) {
    const qreal s = height / 100.0;
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xa0, 0x6a, 0x3c));
    QPainterPath trunk;
    trunk.moveTo(base + QPointF(-7 * s, 0));
    trunk.lineTo(base + QPointF(-4 * s, -50 * s));
    trunk.lineTo(base + QPointF(4 * s, -50 * s));
    trunk.lineTo(base + QPointF(7 * s, 0));
    trunk.closeSubpath();
    p.drawPath(trunk);
    const QColor leaf(0x4c, 0xb8, 0x4f);
    const QList<QPointF> blobs = {{-22, -58}, {20, -60}, {0, -80}, {-14, -76}, {14, -78}};
    p.setBrush(leaf.darker(115));
    for (const QPointF& b : blobs) p.drawEllipse(base + b * s + QPointF(0, 4 * s), 24 * s, 22 * s);
    p.setBrush(leaf);
    for (const QPointF& b : blobs) p.drawEllipse(base + b * s, 23 * s, 21 * s);
    p.setBrush(QColor(0xff, 0x5e, 0x5e));
    for (const QPointF& apple : {QPointF(-20, -62), QPointF(16, -70), QPointF(2, -88),
                                 QPointF(26, -54), QPointF(-8, -70)}) {
        p.drawEllipse(base + apple * s, 4.5 * s, 4.5 * s);
    }
    p.restore();
}

void drawSmallFlower(QPainter& p, QPointF centre, qreal radius, const QColor& petals) {
    p.save();
    p.setPen(roundPen(QColor(0x3f, 0xa3, 0x4a), qMax(1.0, radius * 0.25)));
    p.drawLine(centre, centre + QPointF(0, radius * 2.6));
    p.setPen(Qt::NoPen);
    p.setBrush(petals);
    for (int i = 0; i < 5; ++i) {
        const qreal angle = qDegreesToRadians(i * 72.0 - 90);
        p.drawEllipse(centre + QPointF(qCos(angle), qSin(angle)) * radius * 0.62, radius * 0.48,
                      radius * 0.48);
    }
    p.setBrush(QColor(0xff, 0xd5, 0x3a));
    p.drawEllipse(centre, radius * 0.38, radius * 0.38);
    p.restore();
}

void drawGrassTufts(QPainter& p, qreal left, qreal right, qreal y, qreal height, uint32_t seed) {
    SeededRandom random(seed);
    p.save();
    p.setPen(roundPen(QColor(0x3f, 0xa3, 0x4a), qMax(1.0, height * 0.18)));
    for (qreal x = left; x < right; x += random.between(18, 40)) {
        for (int blade = -1; blade <= 1; ++blade) {
            p.drawLine(QPointF(x, y), QPointF(x + blade * height * 0.45, y - height));
        }
    }
    p.restore();
}

void drawBalloon(QPainter& p, QPointF centre, qreal radius, const QColor& colour,
                 QPointF stringEnd) {
    p.save();
    p.setPen(roundPen(QColor(0x80, 0x80, 0x90), qMax(1.0, radius * 0.06)));
    QPainterPath string;
    const QPointF knot = centre + QPointF(0, radius * 1.2);
    string.moveTo(knot);
    string.cubicTo(knot + QPointF(radius * 0.4, radius * 0.6),
                   stringEnd + QPointF(-radius * 0.4, -radius * 0.6), stringEnd);
    p.setBrush(Qt::NoBrush);
    p.drawPath(string);
    QRadialGradient shine(centre - QPointF(radius * 0.35, radius * 0.4), radius * 1.3);
    shine.setColorAt(0, colour.lighter(140));
    shine.setColorAt(1, colour);
    p.setPen(roundPen(colour.darker(120), qMax(1.0, radius * 0.05)));
    p.setBrush(shine);
    p.drawEllipse(centre, radius, radius * 1.18);
    QPolygonF knotShape({knot + QPointF(0, -radius * 0.05),
                         knot + QPointF(-radius * 0.15, radius * 0.15),
                         knot + QPointF(radius * 0.15, radius * 0.15)});
    p.setBrush(colour.darker(110));
    p.drawPolygon(knotShape);
    p.restore();
}

void drawBird(QPainter& p, QPointF centre, qreal size, const QColor& colour) {
    p.save();
    p.setPen(roundPen(colour, qMax(1.2, size * 0.12)));
    p.setBrush(Qt::NoBrush);
    QPainterPath wings;
    wings.moveTo(centre + QPointF(-size, -size * 0.1));
    wings.quadTo(centre + QPointF(-size * 0.5, -size * 0.6), centre);
    wings.quadTo(centre + QPointF(size * 0.5, -size * 0.6), centre + QPointF(size, -size * 0.1));
    p.drawPath(wings);
    p.restore();
}

void drawKite(QPainter& p, QPointF top, qreal size, QPointF stringEnd) {
    p.save();
    const QPointF left = top + QPointF(-size * 0.55, size * 0.6);
    const QPointF right = top + QPointF(size * 0.55, size * 0.6);
    const QPointF bottom = top + QPointF(0, size * 1.5);
    p.setPen(roundPen(QColor(0x70, 0x70, 0x80), qMax(1.0, size * 0.03)));
    p.setBrush(Qt::NoBrush);
    QPainterPath line;
    line.moveTo(bottom);
    line.cubicTo(bottom + QPointF(size * 0.2, size), stringEnd + QPointF(size, -size), stringEnd);
    p.drawPath(line);
    p.setPen(roundPen(QColor(0xc0, 0x3a, 0x3a), qMax(1.0, size * 0.04)));
    p.setBrush(QColor(0xff, 0x6b, 0x6b));
    p.drawPolygon(QPolygonF({top, right, bottom, left}));
    p.setBrush(QColor(0xff, 0xd5, 0x3a));
    p.drawPolygon(QPolygonF({top, right, top + QPointF(0, size * 0.6)}));
    p.drawPolygon(QPolygonF({top + QPointF(0, size * 0.6), left, bottom}));
    p.setPen(roundPen(QColor(0xff, 0x9f, 0x1c), qMax(1.0, size * 0.05)));
    QPainterPath tail;
    tail.moveTo(bottom);
    tail.cubicTo(bottom + QPointF(-size * 0.4, size * 0.4),
                 bottom + QPointF(size * 0.4, size * 0.6),
                 bottom + QPointF(-size * 0.1, size * 1.1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tail);
    p.restore();
}

void drawRainbow(QPainter& p, QPointF centre, qreal radius, qreal band) {
    p.save();
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 6; ++i) {
        p.setPen(QPen(withAlpha(rainbow(i), 170), band, Qt::SolidLine, Qt::FlatCap));
        const qreal r = radius - i * band;
        p.drawArc(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), 0, 180 * 16);
    }
    p.restore();
}

// A wooden-looking toy block with a letter on its face.
void drawLetterBlock(QPainter& p, const QRectF& face, const QString& letter, const QColor& colour,
                     qreal depth = 0) {
    p.save();
    if (depth > 0) {
        QPolygonF top({face.topLeft(), face.topLeft() + QPointF(depth, -depth),
                       face.topRight() + QPointF(depth, -depth), face.topRight()});
        QPolygonF side({face.topRight(), face.topRight() + QPointF(depth, -depth),
                        face.bottomRight() + QPointF(depth, -depth), face.bottomRight()});
        p.setPen(roundPen(colour.darker(150), 1.2));
        p.setBrush(colour.lighter(125));
        p.drawPolygon(top);
        p.setBrush(colour.darker(118));
        p.drawPolygon(side);
    }
    const qreal radius = face.width() * 0.12;
    p.setPen(roundPen(colour.darker(150), qMax(1.2, face.width() * 0.03)));
    QLinearGradient shade(face.topLeft(), face.bottomRight());
    shade.setColorAt(0, colour.lighter(115));
    shade.setColorAt(1, colour);
    p.setBrush(shade);
    p.drawRoundedRect(face, radius, radius);
    const QRectF inner = face.adjusted(face.width() * 0.12, face.height() * 0.12,
                                       -face.width() * 0.12, -face.height() * 0.12);
    p.setPen(roundPen(withAlpha(Qt::white, 170), qMax(1.0, face.width() * 0.04)));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(inner, radius * 0.7, radius * 0.7);
    drawCentredText(p, face, letter, cjkFont(face.height() * 0.58), Qt::white, colour.darker(160),
                    face.width() * 0.06);
    p.restore();
}

// A soft white card with a shadow, laid under an area the window covers with a panel.
void drawCard(QPainter& p, const QRectF& rect, qreal radius, const QColor& fill,
              const QColor& border, qreal shadow = 4) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x30, 0x50, 0x80, 40));
    p.drawRoundedRect(rect.translated(shadow * 0.5, shadow), radius, radius);
    p.setPen(QPen(border, 2));
    p.setBrush(fill);
    p.drawRoundedRect(rect, radius, radius);
    p.restore();
}

void drawPolkaDots(QPainter& p, const QRectF& area, qreal step, qreal radius,
                   const QColor& colour) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    int row = 0;
    for (qreal y = area.top(); y < area.bottom() + step; y += step, ++row) {
        const qreal shift = (row % 2) ? step / 2 : 0;
        for (qreal x = area.left() + shift; x < area.right() + step; x += step) {
            p.drawEllipse(QPointF(x, y), radius, radius);
        }
    }
    p.restore();
}

// ---------------------------------------------------------------------------------------------
// Children and animals. Each is drawn around its feet position with a given total height.

struct KidLook {
    bool girl = false;
    QColor shirt;
    QColor trousers;
    QColor hair;
    bool waving = true;
};

// Hair as a cap over the top of the head with a fringe of little points.
void drawKidHair(QPainter& p, const KidLook& look, QPointF head, qreal r) {
    auto at = [&](qreal x, qreal y) { return head + QPointF(x * r, y * r); };
    QPainterPath hair;
    hair.moveTo(at(-1.04, 0.1));
    hair.cubicTo(at(-1.14, -1.42), at(1.14, -1.42), at(1.04, 0.1));
    const QList<QPointF> fringe =
        look.girl
            ? QList<QPointF>{{0.8, -0.42}, {0.45, -0.32}, {0.1, -0.46}, {-0.3, -0.3}, {-0.7, -0.44}}
            : QList<QPointF>{{0.7, -0.22},   {0.5, -0.5},   {0.22, -0.2},  {-0.05, -0.52},
                             {-0.32, -0.24}, {-0.6, -0.52}, {-0.82, -0.18}};
    QPointF previous = at(0.9, -0.1);
    hair.lineTo(previous);
    for (const QPointF& point : fringe) {
        const QPointF next = at(point.x(), point.y());
        hair.quadTo((previous + next) / 2 + QPointF(0, r * 0.16), next);
        previous = next;
    }
    hair.quadTo(at(-0.95, -0.2), at(-1.04, 0.1));
    hair.closeSubpath();
    p.setPen(roundPen(look.hair.darker(130), r * 0.04));
    p.setBrush(look.hair);
    p.drawPath(hair);
    p.setPen(roundPen(withAlpha(Qt::white, 70), r * 0.08));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(at(-0.62, -0.86), at(0.18, -0.3)), 100 * 16, 55 * 16);
}

void drawKidHead(QPainter& p, const KidLook& look, QPointF head, qreal r) {
    if (look.girl) {
        // hair falling behind the head, two bunches with bows
        p.setPen(Qt::NoPen);
        p.setBrush(look.hair);
        p.drawRoundedRect(QRectF(head.x() - r * 1.05, head.y() - r * 0.8, r * 2.1, r * 1.75),
                          r * 0.8, r * 0.8);
        for (const qreal side : {-1.0, 1.0}) {
            const QPointF bunch = head + QPointF(side * r * 1.2, r * 0.05);
            p.setBrush(look.hair);
            p.drawEllipse(bunch, r * 0.34, r * 0.5);
            p.setBrush(QColor(0xff, 0x5e, 0x9a));
            const QPointF bow = head + QPointF(side * r * 0.98, -r * 0.5);
            p.drawEllipse(bow + QPointF(-r * 0.14, 0), r * 0.16, r * 0.12);
            p.drawEllipse(bow + QPointF(r * 0.14, 0), r * 0.16, r * 0.12);
            p.setBrush(QColor(0xe0, 0x3a, 0x7a));
            p.drawEllipse(bow, r * 0.07, r * 0.07);
        }
    }
    p.setPen(roundPen(kSkinLine, r * 0.04));
    p.setBrush(kSkin);
    p.drawEllipse(head + QPointF(-r, r * 0.05), r * 0.18, r * 0.22);
    p.drawEllipse(head + QPointF(r, r * 0.05), r * 0.18, r * 0.22);
    p.drawEllipse(head, r, r * 0.96);
    drawKidHair(p, look, head, r);
    drawEyes(p, head + QPointF(0, r * 0.08), r * 0.72, r * 0.14);
    p.setPen(Qt::NoPen);
    p.setBrush(kCheek);
    p.drawEllipse(head + QPointF(-r * 0.56, r * 0.38), r * 0.17, r * 0.11);
    p.drawEllipse(head + QPointF(r * 0.56, r * 0.38), r * 0.17, r * 0.11);
    // an open smile
    QPainterPath mouth;
    const QPointF m = head + QPointF(0, r * 0.38);
    mouth.moveTo(m + QPointF(-r * 0.24, 0));
    mouth.quadTo(m + QPointF(0, r * 0.02), m + QPointF(r * 0.24, 0));
    mouth.quadTo(m + QPointF(0, r * 0.42), m + QPointF(-r * 0.24, 0));
    p.setPen(roundPen(QColor(0xa0, 0x30, 0x30), r * 0.04));
    p.setBrush(QColor(0xe8, 0x55, 0x55));
    p.drawPath(mouth);
}

void drawKid(QPainter& p, QPointF feet, qreal height, const KidLook& look) {
    const qreal u = height / 200.0;  // one design unit
    auto at = [&](qreal x, qreal y) { return feet + QPointF(x * u, y * u); };
    p.save();
    // legs and shoes
    p.setPen(Qt::NoPen);
    p.setBrush(look.girl ? kSkin : look.trousers);
    p.drawRoundedRect(QRectF(at(-21, -62), at(-5, -8)), 6 * u, 6 * u);
    p.drawRoundedRect(QRectF(at(5, -62), at(21, -8)), 6 * u, 6 * u);
    if (look.girl) {
        p.setBrush(kHighlight);
        p.drawRect(QRectF(at(-21, -22), at(-5, -8)));
        p.drawRect(QRectF(at(5, -22), at(21, -8)));
    }
    p.setBrush(QColor(0x6a, 0x3d, 0x2a));
    p.drawEllipse(at(-15, -6), 14 * u, 7.5 * u);
    p.drawEllipse(at(15, -6), 14 * u, 7.5 * u);
    // arms
    const QPointF leftShoulder = at(-26, -112), rightShoulder = at(26, -112);
    const QPointF leftHand = at(-44, -70);
    const QPointF rightHand = look.waving ? at(58, -168) : at(44, -70);
    p.setPen(roundPen(look.shirt.darker(110), 15 * u));
    p.drawLine(leftShoulder, leftHand);
    p.drawLine(rightShoulder, rightHand);
    p.setPen(roundPen(kSkinLine, 1.2 * u));
    p.setBrush(kSkin);
    p.drawEllipse(leftHand, 8.5 * u, 8.5 * u);
    p.drawEllipse(rightHand, 8.5 * u, 8.5 * u);
    // body: a dress or a shirt over trousers
    QPainterPath body;
    if (look.girl) {
        body.moveTo(at(-24, -124));
        body.lineTo(at(24, -124));
        body.quadTo(at(40, -80), at(48, -52));
        body.quadTo(at(0, -44), at(-48, -52));
        body.quadTo(at(-40, -80), at(-24, -124));
    } else {
        body.addRoundedRect(QRectF(at(-30, -126), at(30, -56)), 14 * u, 14 * u);
    }
    p.setPen(roundPen(look.shirt.darker(125), 2 * u));
    p.setBrush(look.shirt);
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Qt::white, 200));
    if (look.girl) {
        for (int i = 0; i < 3; ++i) p.drawEllipse(at(-22 + i * 22, -70), 4 * u, 4 * u);
    } else {
        drawStar(p, at(0, -92), 12 * u, QColor(0xff, 0xd5, 0x3a));
    }
    // collar and neck
    p.setPen(Qt::NoPen);
    p.setBrush(kSkin);
    p.drawRoundedRect(QRectF(at(-8, -134), at(8, -122)), 3 * u, 3 * u);
    drawKidHead(p, look, at(0, -160), 40 * u);
    p.restore();
}

void drawPanda(QPainter& p, QPointF bottom, qreal height) {
    const qreal u = height / 160.0;
    auto at = [&](qreal x, qreal y) { return bottom + QPointF(x * u, y * u); };
    const QColor black(0x2f, 0x2b, 0x33);
    const QColor white(0xf6, 0xf6, 0xf4);
    p.save();
    p.setPen(roundPen(QColor(0x50, 0x4a, 0x55), 2 * u));
    p.setBrush(black);
    p.drawEllipse(at(-34, -14), 20 * u, 14 * u);  // feet
    p.drawEllipse(at(34, -14), 20 * u, 14 * u);
    p.setBrush(white);
    p.drawEllipse(at(0, -50), 50 * u, 46 * u);  // body
    p.setBrush(black);
    p.drawEllipse(at(-44, -62), 14 * u, 26 * u);  // arms
    p.drawEllipse(at(44, -62), 14 * u, 26 * u);
    p.drawEllipse(at(-34, -138), 16 * u, 16 * u);  // ears
    p.drawEllipse(at(34, -138), 16 * u, 16 * u);
    p.setBrush(white);
    p.drawEllipse(at(0, -112), 44 * u, 38 * u);  // head
    p.setPen(Qt::NoPen);
    p.setBrush(black);
    for (const qreal side : {-1.0, 1.0}) {
        p.save();
        p.translate(at(side * 17, -114));
        p.rotate(side * -30);
        p.drawEllipse(QPointF(0, 0), 10 * u, 14 * u);
        p.restore();
    }
    p.setBrush(kHighlight);
    p.drawEllipse(at(-16, -116), 4 * u, 4 * u);
    p.drawEllipse(at(16, -116), 4 * u, 4 * u);
    p.setBrush(black);
    p.drawEllipse(at(0, -100), 6 * u, 4 * u);
    p.setBrush(kCheek);
    p.drawEllipse(at(-28, -96), 7 * u, 4 * u);
    p.drawEllipse(at(28, -96), 7 * u, 4 * u);
    drawSmile(p, at(0, -96), 14 * u, black, 2 * u);
    p.restore();
}

void drawRabbit(QPainter& p, QPointF bottom, qreal height) {
    const qreal u = height / 160.0;
    auto at = [&](qreal x, qreal y) { return bottom + QPointF(x * u, y * u); };
    const QColor fur(0xf7, 0xf1, 0xea);
    const QColor line(0xc8, 0xb0, 0xa0);
    const QColor pink(0xff, 0xa6, 0xc1);
    p.save();
    p.setPen(roundPen(line, 2 * u));
    for (const qreal side : {-1.0, 1.0}) {
        p.save();
        p.translate(at(side * 14, -108));
        p.rotate(side * 12);
        p.setBrush(fur);
        p.drawEllipse(QPointF(0, -30 * u), 11 * u, 32 * u);
        p.setPen(Qt::NoPen);
        p.setBrush(pink);
        p.drawEllipse(QPointF(0, -30 * u), 5 * u, 24 * u);
        p.restore();
    }
    p.setBrush(fur);
    p.drawEllipse(at(0, -42), 38 * u, 40 * u);
    p.drawEllipse(at(-22, -8), 16 * u, 9 * u);
    p.drawEllipse(at(22, -8), 16 * u, 9 * u);
    p.drawEllipse(at(0, -96), 34 * u, 30 * u);
    p.setBrush(QColor(0xff, 0xf9, 0xf2));
    p.drawEllipse(at(0, -40), 22 * u, 26 * u);
    drawEyes(p, at(0, -100), 30 * u, 5 * u);
    p.setPen(Qt::NoPen);
    p.setBrush(pink);
    p.drawEllipse(at(0, -88), 4 * u, 3 * u);
    p.setBrush(kCheek);
    p.drawEllipse(at(-20, -86), 6 * u, 4 * u);
    p.drawEllipse(at(20, -86), 6 * u, 4 * u);
    drawSmile(p, at(0, -86), 10 * u, QColor(0x9a, 0x60, 0x60), 1.8 * u);
    // a carrot in its paws
    p.setBrush(QColor(0xff, 0x8c, 0x1a));
    QPolygonF carrot({at(-8, -58), at(10, -54), at(-16, -24)});
    p.drawPolygon(carrot);
    p.setPen(roundPen(QColor(0x4c, 0xb8, 0x4f), 3 * u));
    p.drawLine(at(1, -58), at(6, -68));
    p.drawLine(at(1, -58), at(-4, -68));
    p.setPen(roundPen(line, 2 * u));
    p.setBrush(fur);
    p.drawEllipse(at(-14, -50), 9 * u, 7 * u);
    p.drawEllipse(at(12, -48), 9 * u, 7 * u);
    p.restore();
}

void drawOwl(QPainter& p, QPointF bottom, qreal height) {
    const qreal u = height / 100.0;
    auto at = [&](qreal x, qreal y) { return bottom + QPointF(x * u, y * u); };
    const QColor feather(0xb9, 0x84, 0x5a);
    p.save();
    p.setPen(roundPen(feather.darker(140), 1.6 * u));
    p.setBrush(feather);
    QPainterPath body;
    body.moveTo(at(-34, -6));
    body.cubicTo(at(-44, -60), at(-30, -92), at(-26, -96));
    body.lineTo(at(-14, -82));
    body.quadTo(at(0, -88), at(14, -82));
    body.lineTo(at(26, -96));
    body.cubicTo(at(30, -92), at(44, -60), at(34, -6));
    body.quadTo(at(0, 4), at(-34, -6));
    p.drawPath(body);
    p.setBrush(QColor(0xf3, 0xdc, 0xb8));
    p.drawEllipse(at(0, -28), 22 * u, 22 * u);
    p.setBrush(kHighlight);
    p.drawEllipse(at(-14, -62), 14 * u, 14 * u);
    p.drawEllipse(at(14, -62), 14 * u, 14 * u);
    drawEyes(p, at(0, -62), 28 * u, 7 * u);
    p.setBrush(QColor(0xff, 0xa7, 0x26));
    p.drawPolygon(QPolygonF({at(-5, -50), at(5, -50), at(0, -42)}));
    p.drawEllipse(at(-12, -2), 8 * u, 4 * u);
    p.drawEllipse(at(12, -2), 8 * u, 4 * u);
    p.setPen(roundPen(feather.darker(130), 1.4 * u));
    for (int i = 0; i < 3; ++i) {
        p.drawArc(QRectF(at(-10 + i * 7 - 4, -30), QSizeF(8 * u, 6 * u)), 180 * 16, 180 * 16);
    }
    // a little graduation cap
    p.setPen(roundPen(QColor(0x22, 0x22, 0x33), 1.2 * u));
    p.setBrush(QColor(0x33, 0x36, 0x4a));
    p.drawPolygon(QPolygonF({at(-30, -96), at(0, -108), at(30, -96), at(0, -86)}));
    p.drawRect(QRectF(at(-12, -94), at(12, -86)));
    p.setPen(roundPen(QColor(0xff, 0xd5, 0x3a), 1.6 * u));
    p.drawLine(at(0, -97), at(22, -92));
    p.drawLine(at(22, -92), at(22, -78));
    p.restore();
}

void drawPencil(QPainter& p, QPointF tip, qreal length, qreal angleDegrees, const QColor& body) {
    const qreal w = length * 0.14;
    p.save();
    p.translate(tip);
    p.rotate(angleDegrees);
    p.setPen(roundPen(body.darker(150), qMax(1.0, w * 0.08)));
    p.setBrush(QColor(0xf6, 0xd2, 0x9c));
    p.drawPolygon(
        QPolygonF({QPointF(0, 0), QPointF(length * 0.2, -w / 2), QPointF(length * 0.2, w / 2)}));
    p.setBrush(QColor(0x44, 0x44, 0x55));
    p.drawPolygon(QPolygonF(
        {QPointF(0, 0), QPointF(length * 0.07, -w * 0.18), QPointF(length * 0.07, w * 0.18)}));
    p.setBrush(body);
    p.drawRect(QRectF(length * 0.2, -w / 2, length * 0.65, w));
    p.setBrush(QColor(0xc8, 0xc8, 0xd0));
    p.drawRect(QRectF(length * 0.85, -w / 2, length * 0.05, w));
    p.setBrush(QColor(0xff, 0x9a, 0xb0));
    p.drawRoundedRect(QRectF(length * 0.9, -w / 2, length * 0.1, w), w * 0.3, w * 0.3);
    p.restore();
}

void drawOpenBook(QPainter& p, QPointF centre, qreal width, const QColor& cover) {
    const qreal h = width * 0.45;
    p.save();
    p.setPen(roundPen(cover.darker(140), qMax(1.0, width * 0.012)));
    p.setBrush(cover);
    p.drawRoundedRect(QRectF(centre.x() - width / 2 - 4, centre.y() - h / 2 + 6, width + 8, h), 6,
                      6);
    p.setPen(roundPen(QColor(0xc8, 0xb8, 0x98), qMax(1.0, width * 0.01)));
    p.setBrush(QColor(0xff, 0xfd, 0xf6));
    for (const qreal side : {-1.0, 1.0}) {
        QPainterPath page;
        page.moveTo(centre);
        page.quadTo(centre + QPointF(side * width * 0.25, -h * 0.18),
                    centre + QPointF(side * width / 2, -h * 0.08));
        page.lineTo(centre + QPointF(side * width / 2, h * 0.42));
        page.quadTo(centre + QPointF(side * width * 0.25, h * 0.32), centre + QPointF(0, h * 0.5));
        page.closeSubpath();
        p.drawPath(page);
        p.setPen(roundPen(QColor(0xb0, 0xc4, 0xe0), qMax(1.0, width * 0.012)));
        for (int i = 1; i <= 3; ++i) {
            const qreal y = centre.y() - h * 0.02 + i * h * 0.11;
            p.drawLine(QPointF(centre.x() + side * width * 0.1, y),
                       QPointF(centre.x() + side * width * 0.4, y - h * 0.04));
        }
        p.setPen(roundPen(QColor(0xc8, 0xb8, 0x98), qMax(1.0, width * 0.01)));
    }
    p.restore();
}

// The series' logo: a little green-leafed orange.
void drawOrangeLogo(QPainter& p, QPointF centre, qreal radius) {
    p.save();
    p.setPen(roundPen(QColor(0x2e, 0x8b, 0x3a), radius * 0.1));
    p.setBrush(QColor(0x5c, 0xc8, 0x4a));
    QPainterPath leaf;
    const QPointF stem = centre + QPointF(0, -radius * 0.9);
    leaf.moveTo(stem);
    leaf.quadTo(stem + QPointF(radius * 0.4, -radius * 0.8),
                stem + QPointF(radius * 1.1, -radius * 0.5));
    leaf.quadTo(stem + QPointF(radius * 0.6, radius * 0.1), stem);
    p.drawPath(leaf);
    QRadialGradient skin(centre - QPointF(radius * 0.3, radius * 0.35), radius * 1.2);
    skin.setColorAt(0, QColor(0xff, 0xc8, 0x5a));
    skin.setColorAt(1, QColor(0xff, 0x8a, 0x1a));
    p.setPen(roundPen(QColor(0xe0, 0x6a, 0x10), radius * 0.08));
    p.setBrush(skin);
    p.drawEllipse(centre, radius, radius * 0.94);
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(kHighlight, 170));
    p.drawEllipse(centre + QPointF(-radius * 0.4, -radius * 0.4), radius * 0.2, radius * 0.13);
    p.restore();
}

// ---------------------------------------------------------------------------------------------
// Buttons

struct ButtonColours {
    QColor top;
    QColor bottom;
    QColor border;
};

const ButtonColours kGreenButton{QColor(0x8a, 0xe0, 0x6a), QColor(0x35, 0xab, 0x3f),
                                 QColor(0x25, 0x80, 0x2e)};
const ButtonColours kBlueButton{QColor(0x7c, 0xcb, 0xff), QColor(0x25, 0x8c, 0xe6),
                                QColor(0x1a, 0x68, 0xb0)};
const ButtonColours kOrangeButton{QColor(0xff, 0xc4, 0x5c), QColor(0xff, 0x86, 0x1a),
                                  QColor(0xd0, 0x62, 0x0a)};
const ButtonColours kPinkButton{QColor(0xff, 0xa4, 0xc8), QColor(0xf0, 0x5a, 0x94),
                                QColor(0xc0, 0x3a, 0x70)};
const ButtonColours kSunnyButton{QColor(0xff, 0xf0, 0xa8), QColor(0xff, 0xc9, 0x4a),
                                 QColor(0xe8, 0xa2, 0x2a)};

// A glossy rounded face filling the whole picture; the corners keep the picture's backdrop
// (see-through in a PNG).
void drawButtonFace(QPainter& p, const QSizeF& size, const ButtonColours& colours,
                    const QColor& rim) {
    const QRectF outer = QRectF(QPointF(0, 0), size).adjusted(0.75, 0.75, -0.75, -0.75);
    const qreal radius = qMin(size.height() * 0.32, 14.0);
    QLinearGradient fill(outer.topLeft(), outer.bottomLeft());
    fill.setColorAt(0, colours.top);
    fill.setColorAt(1, colours.bottom);
    p.setPen(QPen(colours.border, 1.5));
    p.setBrush(fill);
    p.drawRoundedRect(outer, radius, radius);
    const QRectF inner = outer.adjusted(1.8, 1.8, -1.8, -1.8);
    p.setPen(QPen(rim, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(inner, radius - 1.8, radius - 1.8);
    QPainterPath gloss;
    gloss.addRoundedRect(inner.adjusted(2, 1, -2, -inner.height() * 0.52), radius * 0.7,
                         radius * 0.7);
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Qt::white, 80));
    p.drawPath(gloss);
}

// A white caption with a dark edge, centred, as large as suits the face and shrunk when it
// would be wider than the face.
void drawFittedCaption(QPainter& p, const QSizeF& size, const QString& text, qreal pixels,
                       const QColor& shadow, const QColor& outline) {
    if (text.isEmpty()) return;
    QPainterPath path = textPath(text, cjkFont(pixels));
    const QRectF ink = path.boundingRect();
    const qreal room = size.width() - 16;
    const qreal scale = ink.width() > room ? room / ink.width() : 1.0;
    QTransform fit;
    fit.translate(size.width() / 2, size.height() / 2);
    fit.scale(scale, scale);
    fit.translate(-ink.center().x(), -ink.center().y());
    path = fit.map(path);
    p.fillPath(path.translated(0, 1.2), shadow);
    p.strokePath(path, roundPen(outline, 2.2 * qMax(scale, 0.6)));
    p.fillPath(path, Qt::white);
}

void drawButtonCaption(QPainter& p, const QSizeF& size, const QString& text,
                       const ButtonColours& colours) {
    drawFittedCaption(p, size, text, qMin(size.height() * 0.44, 18.0), colours.border.darker(130),
                      colours.border.darker(115));
}

void paintButton(QPainter& p, const QSizeF& size, const QString& text,
                 const ButtonColours& colours) {
    drawButtonFace(p, size, colours, withAlpha(Qt::white, 150));
    drawButtonCaption(p, size, text, colours);
}

// A plain face that the program writes its own caption on: light enough for dark text.
void paintPlainButton(QPainter& p, const QSizeF& size, const QStringList&) {
    drawButtonFace(p, size, kSunnyButton, withAlpha(Qt::white, 230));
}

// The start window's button: green with an orange rim and a play sign.
void paintStartButton(QPainter& p, const QSizeF& size, const QStringList& words) {
    const ButtonColours colours{QColor(0x8d, 0xe2, 0x5e), QColor(0x2f, 0xa8, 0x3c),
                                QColor(0xff, 0x8c, 0x1a)};
    const QRectF outer = QRectF(QPointF(0, 0), size).adjusted(1, 1, -1, -1);
    const qreal radius = outer.height() / 2;
    p.setPen(QPen(colours.border, 2));
    p.setBrush(QColor(0xff, 0xb3, 0x47));
    p.drawRoundedRect(outer, radius, radius);
    const QRectF face = outer.adjusted(2.5, 2.5, -2.5, -2.5);
    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    fill.setColorAt(0, colours.top);
    fill.setColorAt(1, colours.bottom);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(face, face.height() / 2, face.height() / 2);
    p.setBrush(withAlpha(Qt::white, 90));
    p.drawRoundedRect(face.adjusted(6, 1.5, -6, -face.height() * 0.52), face.height() / 4,
                      face.height() / 4);
    drawFittedCaption(p, size, words.value(0), qMin(size.height() * 0.42, 17.0),
                      QColor(0x1c, 0x6a, 0x24), QColor(0x24, 0x80, 0x2c));
}

// ---------------------------------------------------------------------------------------------
// The start window's background (803 x 605). The window lays a group box with the cover and
// the start button on the left and two white text panels on the right.

void drawStartSky(QPainter& p, const QSizeF& size) {
    fillVertical(p, QRectF(QPointF(0, 0), size), QColor(0x86, 0xcf, 0xff),
                 QColor(0xe4, 0xf6, 0xff));
    drawSun(p, QPointF(790, 18), 30, false);
    drawCloud(p, QPointF(70, 330), 110, 220);
    drawCloud(p, QPointF(300, 312), 90, 200);
    drawCloud(p, QPointF(396, 80), 60, 200);
    drawRainbow(p, QPointF(200, 560), 185, 11);
}

void drawStartHills(QPainter& p) {
    drawHill(p, -120, 470, 400, 640, QColor(0x9a, 0xd9, 0x72));
    drawHill(p, 200, 900, 470, 660, QColor(0x86, 0xcf, 0x62));
    drawHill(p, -60, 420, 470, 660, QColor(0x6d, 0xc2, 0x55));
    fillVertical(p, QRectF(0, 560, 803, 45), QColor(0x74, 0xc6, 0x58), QColor(0x5a, 0xb0, 0x46));
    drawTree(p, QPointF(52, 520), 120);
    drawGrassTufts(p, 0, 803, 590, 8, 7);
    const QList<QPointF> flowers = {{120, 540}, {160, 560}, {250, 530}, {300, 556},
                                    {345, 540}, {200, 575}, {385, 585}, {24, 575}};
    for (int i = 0; i < flowers.size(); ++i) {
        drawSmallFlower(p, flowers[i], 7, rainbow(i * 3 + 1));
    }
    drawRabbit(p, QPointF(236, 548), 50);
}

void drawStartSkyToys(QPainter& p) {
    // two children: one flying a kite, one holding balloons
    const qreal kid = 100;
    const QPointF girlFeet(140, 552), boyFeet(320, 556);
    const QPointF girlHand = girlFeet + QPointF(58, -168) * (kid / 200);
    const QPointF boyHand = boyFeet + QPointF(58, -168) * (kid / 200);
    drawKite(p, QPointF(250, 326), 34, boyHand);
    drawBalloon(p, QPointF(150, 400), 14, rainbow(0), girlHand);
    drawBalloon(p, QPointF(180, 388), 13, rainbow(4), girlHand);
    drawBalloon(p, QPointF(200, 414), 12, rainbow(2), girlHand);
    drawKid(p, girlFeet, kid,
            {true, QColor(0xff, 0x6b, 0x8e), QColor(), QColor(0x4a, 0x2e, 0x22), true});
    drawKid(p, boyFeet, kid,
            {false, QColor(0x3d, 0x9a, 0xf2), QColor(0x3a, 0x4a, 0x8a), QColor(0x3b, 0x2a, 0x20),
             true});
    drawBird(p, QPointF(300, 370), 9, QColor(0x4a, 0x5a, 0x7a));
    drawBird(p, QPointF(326, 360), 7, QColor(0x4a, 0x5a, 0x7a));
    const QList<QPair<QPointF, QString>> letters = {{{28, 300}, "A"},
                                                    {{392, 170}, "b"},
                                                    {{396, 320}, "C"},
                                                    {{786, 190}, "d"},
                                                    {{786, 430}, "E"}};
    for (int i = 0; i < letters.size(); ++i) {
        drawCentredText(p, QRectF(letters[i].first - QPointF(14, 14), QSizeF(28, 28)),
                        letters[i].second, cjkFont(24), rainbow(i * 2), Qt::white, 3);
    }
    drawStar(p, QPointF(394, 250), 7, QColor(0xff, 0xd5, 0x3a), 10);
    drawStar(p, QPointF(392, 92), 6, QColor(0xff, 0x9f, 0x1c), -8);
    drawStar(p, QPointF(786, 320), 6, QColor(0xff, 0xd5, 0x3a));
    drawStar(p, QPointF(786, 84), 6, QColor(0xff, 0x6f, 0xb5), 15);
    drawSparkle(p, QPointF(180, 300), 6, withAlpha(Qt::white, 230));
    drawSparkle(p, QPointF(376, 420), 5, withAlpha(Qt::white, 230));
}

// Hello bubble and letter blocks in the free space of the group box, right of the cover.
void drawStartCorner(QPainter& p) {
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(200, 36, 150, 52), 22, 22);
    QPainterPath tail;
    tail.moveTo(250, 84);
    tail.lineTo(236, 102);
    tail.lineTo(270, 86);
    bubble = bubble.united(tail);
    p.setPen(QPen(QColor(0x8e, 0xb8, 0xe0), 2));
    p.setBrush(Qt::white);
    p.drawPath(bubble);
    drawCentredText(p, QRectF(200, 36, 150, 52), QStringLiteral("Hello!"), cjkFont(26),
                    QColor(0xff, 0x6b, 0x3d));
    drawLetterBlock(p, QRectF(226, 146, 40, 40), QStringLiteral("A"), rainbow(0), 7);
    drawLetterBlock(p, QRectF(272, 146, 40, 40), QStringLiteral("B"), rainbow(4), 7);
    drawLetterBlock(p, QRectF(249, 104, 40, 40), QStringLiteral("C"), rainbow(3), 7);
    drawStar(p, QPointF(334, 126), 10, QColor(0xff, 0xd5, 0x3a), 12);
    drawSparkle(p, QPointF(208, 124), 6, QColor(0xff, 0xb3, 0x47));
}

void paintStartBackground(QPainter& p, const QSizeF& size, const QStringList&) {
    drawStartSky(p, size);
    drawStartHills(p);
    drawStartSkyToys(p);
    // calm cards under the group box and the text panels
    drawCard(p, QRectF(4, 6, 376, 282), 16, withAlpha(kPaper, 235), QColor(0xff, 0xff, 0xff));
    const QColor panelEdge(0xa8, 0xd4, 0xf4);
    drawCard(p, QRectF(414, 106, 364, 178), 14, withAlpha(Qt::white, 245), panelEdge);
    drawCard(p, QRectF(414, 327, 364, 235), 14, withAlpha(Qt::white, 245), panelEdge);
    // ribbons behind the two captions
    drawCard(p, QRectF(516, 71, 136, 34), 17, QColor(0xff, 0xf1, 0xb0), QColor(0xff, 0xc2, 0x4a),
             2);
    drawCard(p, QRectF(524, 290, 136, 34), 17, QColor(0xff, 0xe0, 0xea), QColor(0xff, 0x9a, 0xbd),
             2);
    drawStar(p, QPointF(506, 88), 7, QColor(0xff, 0xb3, 0x1a));
    drawStar(p, QPointF(670, 307), 7, QColor(0xff, 0x6f, 0xb5));
    drawStartCorner(p);
}

// ---------------------------------------------------------------------------------------------
// The book cover (1092 x 1512).

// Each letter of the title in its own colour, bouncing a little, on one white outline.
void drawCoverTitle(QPainter& p, const QString& title, const QRectF& area) {
    QFont font = cjkFont(300);
    qreal width = QFontMetricsF(font).horizontalAdvance(title);
    if (width > area.width()) {
        font.setPixelSize(qMax(1, int(300 * area.width() / width)));
        width = QFontMetricsF(font).horizontalAdvance(title);
    }
    const QFontMetricsF metrics(font);
    const qreal baseline = area.center().y() + metrics.capHeight() / 2;
    QList<QPainterPath> letters;
    qreal x = area.center().x() - width / 2;
    for (int i = 0; i < title.size(); ++i) {
        const QString letter = title.mid(i, 1);
        const qreal advance = metrics.horizontalAdvance(letter);
        QPainterPath path = textPath(letter, font).translated(-advance / 2, 0);
        QTransform place;
        place.translate(x + advance / 2, baseline + ((i % 2) ? 14 : -10));
        place.rotate((i % 2) ? 5 : -5);
        letters.append(place.map(path));
        x += advance;
    }
    for (const QPainterPath& letter : letters) {
        p.strokePath(letter.translated(8, 14), roundPen(QColor(0x1d, 0x4e, 0x89, 90), 30));
    }
    for (const QPainterPath& letter : letters) p.strokePath(letter, roundPen(Qt::white, 30));
    for (int i = 0; i < letters.size(); ++i) {
        p.fillPath(letters[i], rainbow(i));
        p.save();
        p.setClipPath(letters[i]);
        const QRectF box = letters[i].boundingRect();
        p.fillRect(box.adjusted(0, 0, 0, -box.height() * 0.55), withAlpha(Qt::white, 55));
        p.restore();
    }
}

void drawCoverBadge(QPainter& p, const QString& text, const QPointF& centre) {
    const QFont font = cjkFont(84);
    const qreal width = QFontMetricsF(font).horizontalAdvance(text) + 140;
    const QRectF badge(centre.x() - width / 2, centre.y() - 66, width, 132);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1d, 0x4e, 0x89, 60));
    p.drawRoundedRect(badge.translated(6, 12), 66, 66);
    p.setPen(QPen(Qt::white, 12));
    QLinearGradient fill(badge.topLeft(), badge.bottomLeft());
    fill.setColorAt(0, QColor(0xff, 0x8a, 0x5c));
    fill.setColorAt(1, QColor(0xf2, 0x4d, 0x4d));
    p.setBrush(fill);
    p.drawRoundedRect(badge, 66, 66);
    drawStar(p, QPointF(badge.left() + 58, centre.y()), 26, QColor(0xff, 0xe0, 0x5a));
    drawStar(p, QPointF(badge.right() - 58, centre.y()), 26, QColor(0xff, 0xe0, 0x5a));
    drawShadowText(p, badge, text, font, Qt::white, QColor(0xa0, 0x20, 0x20, 150), 5);
}

void drawCoverScene(QPainter& p) {
    drawHill(p, -300, 700, 860, 1400, QColor(0x9e, 0xdb, 0x74));
    drawHill(p, 400, 1400, 820, 1400, QColor(0x8c, 0xd2, 0x64));
    drawHill(p, -200, 1300, 1000, 1500, QColor(0x6c, 0xc2, 0x52));
    drawTree(p, QPointF(150, 1000), 300);
    drawTree(p, QPointF(1010, 970), 200);
    const QPointF hand(690 + 58 * 2.1, 1290 - 168 * 2.1);
    drawBalloon(p, QPointF(790, 720), 44, rainbow(1), hand);
    drawBalloon(p, QPointF(890, 690), 48, rainbow(4), hand);
    drawBalloon(p, QPointF(860, 790), 40, rainbow(6), hand);
    drawRabbit(p, QPointF(170, 1300), 190);
    drawKid(p, QPointF(420, 1290), 440,
            {false, QColor(0x3d, 0x9a, 0xf2), QColor(0x3a, 0x4a, 0x8a), QColor(0x3b, 0x2a, 0x20),
             true});
    drawKid(p, QPointF(690, 1290), 420,
            {true, QColor(0xff, 0x6b, 0x8e), QColor(), QColor(0x4a, 0x2e, 0x22), true});
    drawPanda(p, QPointF(930, 1300), 220);
    const QList<QPointF> flowers = {{60, 1230},   {300, 1300}, {560, 1310},  {800, 1305},
                                    {1040, 1240}, {260, 1180}, {1010, 1100}, {70, 1110}};
    for (int i = 0; i < flowers.size(); ++i) {
        drawSmallFlower(p, flowers[i], 20, rainbow(i * 2 + 5));
    }
}

void drawCoverBand(QPainter& p, const QString& series, const QSizeF& size) {
    const QRectF band(0, size.height() - 172, size.width(), 172);
    QPainterPath wave;
    wave.moveTo(0, band.top() + 20);
    for (int i = 0; i < 6; ++i) {
        const qreal x = i * size.width() / 6;
        wave.quadTo(x + size.width() / 12, band.top() - 10, x + size.width() / 6, band.top() + 20);
    }
    wave.lineTo(size.width(), size.height());
    wave.lineTo(0, size.height());
    wave.closeSubpath();
    QLinearGradient fill(band.topLeft(), band.bottomLeft());
    fill.setColorAt(0, QColor(0xff, 0xa6, 0x2b));
    fill.setColorAt(1, QColor(0xff, 0x80, 0x14));
    p.setPen(QPen(Qt::white, 10));
    p.setBrush(fill);
    p.drawPath(wave);
    const QFont font = cjkFont(92);
    const qreal textWidth = QFontMetricsF(font).horizontalAdvance(series);
    const qreal logoRadius = 46;
    const qreal total = textWidth + logoRadius * 2 + 30;
    const qreal left = size.width() / 2 - total / 2;
    const QPointF logo(left + logoRadius, band.center().y() + 14);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(logo, logoRadius * 1.35, logoRadius * 1.35);
    drawOrangeLogo(p, logo + QPointF(0, 6), logoRadius);
    drawShadowText(p, QRectF(left + logoRadius * 2 + 30, band.top() + 20, textWidth, 150), series,
                   font, Qt::white, QColor(0xb0, 0x4a, 0x00, 160), 5);
}

void paintCover(QPainter& p, const QSizeF& size, const QStringList& words) {
    fillVertical(p, QRectF(QPointF(0, 0), size), QColor(0x5e, 0xbe, 0xff),
                 QColor(0xd6, 0xf1, 0xff));
    drawPolkaDots(p, QRectF(0, 0, size.width(), 860), 90, 6, withAlpha(Qt::white, 50));
    drawSun(p, QPointF(930, 170), 100, true);
    drawCloud(p, QPointF(190, 150), 280);
    drawCloud(p, QPointF(590, 110), 200, 220);
    drawBird(p, QPointF(420, 760), 26, QColor(0x3a, 0x5a, 0x8a));
    drawBird(p, QPointF(480, 730), 20, QColor(0x3a, 0x5a, 0x8a));
    drawCoverScene(p);
    drawCoverTitle(p, words.value(0), QRectF(70, 290, 952, 300));
    drawCoverBadge(p, words.value(1), QPointF(size.width() / 2, 620));
    for (int i = 0; i < 6; ++i) {
        const QPointF at(80 + i * 186, 256 + ((i % 2) ? 18 : -12));
        drawSparkle(p, at, 14, withAlpha(Qt::white, 230));
    }
    drawStar(p, QPointF(110, 560), 30, QColor(0xff, 0xd5, 0x3a), -12);
    drawStar(p, QPointF(995, 530), 24, QColor(0xff, 0x9f, 0x1c), 16);
    drawCoverBand(p, words.value(2), size);
}

// ---------------------------------------------------------------------------------------------
// The dictation screen (800 x 560): a spiral notebook on a dotted desk.

void drawNotebook(QPainter& p, const QRectF& page) {
    drawCard(p, page, 20, kPaper, QColor(0xe8, 0xd6, 0xb0), 8);
    p.save();
    p.setClipRect(page.adjusted(2, 2, -2, -2));
    p.setPen(QPen(QColor(0xdb, 0xe8, 0xf5), 1.4));
    for (qreal y = page.top() + 72; y < page.bottom() - 20; y += 36) {
        p.drawLine(QPointF(page.left() + 16, y), QPointF(page.right() - 16, y));
    }
    p.setPen(QPen(QColor(0xff, 0xb0, 0xb0), 1.6));
    p.drawLine(QPointF(page.left() + 20, page.top() + 10),
               QPointF(page.left() + 20, page.bottom() - 10));
    p.restore();
    for (qreal x = page.left() + 50; x < page.right() - 30; x += 46) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x8a, 0x7e, 0x70));
        p.drawEllipse(QPointF(x, page.top() + 16), 5, 5);
        const QRectF ring(x - 6, page.top() - 14, 12, 34);
        QLinearGradient metal(ring.topLeft(), ring.topRight());
        metal.setColorAt(0, QColor(0x8c, 0x96, 0xa8));
        metal.setColorAt(0.5, QColor(0xe4, 0xe8, 0xf0));
        metal.setColorAt(1, QColor(0x8c, 0x96, 0xa8));
        p.setPen(QPen(QBrush(metal), 3.5));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(ring, 6, 6);
    }
}

void drawTitleRibbon(QPainter& p, const QRectF& ribbon, const QString& title,
                     const QColor& colour) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour.darker(125));
    for (const qreal side : {-1.0, 1.0}) {
        const qreal edge = side < 0 ? ribbon.left() : ribbon.right();
        QPolygonF tail({QPointF(edge - side * 14, ribbon.top() + 12),
                        QPointF(edge + side * 30, ribbon.top() + 12),
                        QPointF(edge + side * 18, ribbon.center().y() + 12),
                        QPointF(edge + side * 30, ribbon.bottom() + 10),
                        QPointF(edge - side * 14, ribbon.bottom() + 10)});
        p.drawPolygon(tail);
    }
    drawCard(p, ribbon, ribbon.height() / 2, colour, Qt::white, 4);
    drawShadowText(p, ribbon, title, cjkFont(ribbon.height() * 0.56), Qt::white, colour.darker(160),
                   2);
    p.restore();
}

void drawFieldLabel(QPainter& p, const QRectF& box, const QString& text, const QColor& colour) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(colour, 45));
    p.drawRoundedRect(box, box.height() / 2, box.height() / 2);
    drawCentredText(p, box, text, cjkFont(box.height() * 0.6), colour.darker(130));
    p.restore();
}

void paintDictation(QPainter& p, const QSizeF& size, const QStringList& words) {
    fillVertical(p, QRectF(QPointF(0, 0), size), QColor(0xc9, 0xee, 0xdc),
                 QColor(0xa8, 0xdf, 0xc6));
    drawPolkaDots(p, QRectF(QPointF(0, 0), size), 34, 3.5, withAlpha(Qt::white, 110));
    drawNotebook(p, QRectF(30, 74, 740, 470));
    drawTitleRibbon(p, QRectF(300, 8, 200, 54), words.value(0), QColor(0xff, 0x8c, 0x3a));
    drawStar(p, QPointF(262, 30), 10, QColor(0xff, 0xd5, 0x3a), -10);
    drawStar(p, QPointF(540, 30), 10, QColor(0xff, 0xd5, 0x3a), 10);
    drawFieldLabel(p, QRectF(62, 98, 56, 28), words.value(1), QColor(0x2f, 0x8f, 0xe0));
    drawFieldLabel(p, QRectF(262, 98, 56, 28), words.value(2), QColor(0xe0, 0x6a, 0x2f));
    drawOwl(p, QPointF(690, 528), 88);
    drawOpenBook(p, QPointF(590, 500), 96, QColor(0x5c, 0xb8, 0xf0));
    drawPencil(p, QPointF(60, 520), 110, -12, QColor(0xff, 0xc9, 0x3a));
    drawPencil(p, QPointF(80, 470), 90, -30, QColor(0x5c, 0xc8, 0x6a));
    const QList<QPair<QPointF, QString>> stickers = {
        {{700, 110}, "a"}, {{734, 148}, "b"}, {{704, 180}, "c"}};
    for (int i = 0; i < stickers.size(); ++i) {
        drawLetterBlock(p, QRectF(stickers[i].first - QPointF(15, 15), QSizeF(30, 30)),
                        stickers[i].second, rainbow(i * 2 + 1), 4);
    }
}

// ---------------------------------------------------------------------------------------------
// Game backgrounds (800 x 600 each).

// Fill-in game: a classroom wall with a white board, alphabet bunting and a clock.
void drawBunting(QPainter& p, qreal left, qreal right, qreal top, const QString& letters) {
    QPainterPath rope;
    rope.moveTo(left, top);
    rope.quadTo((left + right) / 2, top + 36, right, top);
    p.setPen(roundPen(QColor(0x8a, 0x6a, 0x4a), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(rope);
    const int count = letters.size();
    for (int i = 0; i < count; ++i) {
        const qreal t = (i + 0.5) / count;
        const QPointF at = rope.pointAtPercent(t);
        QPolygonF flag({at + QPointF(-17, 0), at + QPointF(17, 0), at + QPointF(0, 34)});
        p.setPen(roundPen(rainbow(i).darker(120), 1.5));
        p.setBrush(rainbow(i));
        p.drawPolygon(flag);
        drawCentredText(p, QRectF(at + QPointF(-12, 1), QSizeF(24, 20)), letters.mid(i, 1),
                        cjkFont(15), Qt::white);
    }
}

void drawClock(QPainter& p, QPointF centre, qreal radius) {
    p.setPen(QPen(QColor(0xff, 0x8c, 0x3a), radius * 0.16));
    p.setBrush(kHighlight);
    p.drawEllipse(centre, radius, radius);
    p.setPen(roundPen(kInk, radius * 0.1));
    p.drawLine(centre, centre + QPointF(0, -radius * 0.62));
    p.drawLine(centre, centre + QPointF(radius * 0.45, radius * 0.1));
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    for (int i = 0; i < 12; ++i) {
        const qreal angle = qDegreesToRadians(i * 30.0);
        p.drawEllipse(centre + QPointF(qCos(angle), qSin(angle)) * radius * 0.78, radius * 0.05,
                      radius * 0.05);
    }
}

void drawPlantPot(QPainter& p, QPointF base, qreal height) {
    const qreal u = height / 100.0;
    p.save();
    p.setPen(roundPen(QColor(0x2e, 0x8b, 0x3a), 2 * u));
    p.setBrush(QColor(0x5c, 0xc8, 0x4a));
    for (int i = -2; i <= 2; ++i) {
        p.save();
        p.translate(base + QPointF(0, -38 * u));
        p.rotate(i * 22);
        p.drawEllipse(QPointF(0, -30 * u), 9 * u, 28 * u);
        p.restore();
    }
    p.setPen(roundPen(QColor(0xb0, 0x52, 0x2a), 2 * u));
    p.setBrush(QColor(0xe8, 0x7a, 0x44));
    p.drawPolygon(QPolygonF({base + QPointF(-24 * u, -40 * u), base + QPointF(24 * u, -40 * u),
                             base + QPointF(17 * u, 0), base + QPointF(-17 * u, 0)}));
    p.drawRoundedRect(QRectF(base + QPointF(-28 * u, -46 * u), QSizeF(56 * u, 10 * u)), 3 * u,
                      3 * u);
    p.restore();
}

void drawBookStack(QPainter& p, QPointF base, qreal width) {
    const QList<QColor> covers = {rainbow(4), rainbow(0), rainbow(3), rainbow(5)};
    qreal y = base.y();
    for (int i = 0; i < covers.size(); ++i) {
        const qreal w = width * (1.0 - 0.06 * (i % 2)) - i * 4;
        const QRectF book(base.x() - w / 2 + ((i % 2) ? 4 : -3), y - 16, w, 16);
        p.setPen(roundPen(covers[i].darker(135), 1.5));
        p.setBrush(covers[i]);
        p.drawRoundedRect(book, 3, 3);
        p.setPen(Qt::NoPen);
        p.setBrush(kHighlight);
        p.drawRect(QRectF(book.right() - 8, book.top() + 3, 5, 10));
        y -= 16;
    }
}

void paintClassroom(QPainter& p, const QSizeF& size, const QStringList&) {
    fillVertical(p, QRectF(0, 0, size.width(), 440), QColor(0xff, 0xf2, 0xc8),
                 QColor(0xff, 0xe6, 0xb0));
    p.setPen(QPen(QColor(0xff, 0xff, 0xff, 90), 14));
    for (qreal x = 20; x < size.width(); x += 56) p.drawLine(QPointF(x, 0), QPointF(x, 440));
    fillVertical(p, QRectF(0, 440, size.width(), 160), QColor(0xe9, 0xc2, 0x8c),
                 QColor(0xd9, 0xa8, 0x6c));
    p.setPen(QPen(QColor(0xc8, 0x96, 0x5a), 2));
    for (qreal y = 470; y < size.height(); y += 30) p.drawLine(QPointF(0, y), QPointF(800, y));
    p.fillRect(QRectF(0, 436, size.width(), 8), QColor(0xb8, 0x7a, 0x44));
    drawBunting(p, 150, 650, 22, QStringLiteral("ABCDEFGHIJ"));
    drawClock(p, QPointF(720, 62), 30);
    drawStar(p, QPointF(80, 60), 16, QColor(0xff, 0xd5, 0x3a), -8);
    drawStar(p, QPointF(118, 92), 10, QColor(0xff, 0x9f, 0x1c), 12);
    // the white board
    const QRectF board(150, 112, 550, 310);
    drawCard(p, board.adjusted(-14, -14, 14, 14), 18, QColor(0x4a, 0xa8, 0xe8),
             QColor(0x2f, 0x80, 0xc8), 6);
    fillVertical(p, board, QColor(0xff, 0xff, 0xfc), QColor(0xf4, 0xf9, 0xff));
    p.fillRect(QRectF(board.left() + 30, board.bottom() + 6, board.width() - 60, 10),
               QColor(0xc0, 0x86, 0x50));
    for (int i = 0; i < 3; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(rainbow(i * 2));
        p.drawRoundedRect(QRectF(board.left() + 60 + i * 34, board.bottom() + 1, 26, 7), 3, 3);
    }
    drawPlantPot(p, QPointF(70, 436), 120);
    drawBookStack(p, QPointF(748, 436), 76);
    drawSmallFlower(p, QPointF(40, 420), 9, rainbow(6));
}

// Ordering game: a sentence train on its rails beneath the play rows.
void drawWagon(QPainter& p, const QRectF& box, const QColor& colour, const QString& letter) {
    p.setPen(roundPen(colour.darker(140), 2));
    p.setBrush(colour);
    p.drawRoundedRect(box, 8, 8);
    p.setBrush(withAlpha(Qt::white, 220));
    p.drawRoundedRect(box.adjusted(10, 8, -10, -box.height() * 0.45), 5, 5);
    drawCentredText(p, box.adjusted(10, 8, -10, -box.height() * 0.45), letter, cjkFont(18),
                    colour.darker(130));
    p.setBrush(QColor(0x44, 0x44, 0x55));
    for (const qreal x : {box.left() + 16, box.right() - 16}) {
        p.setPen(roundPen(QColor(0x22, 0x22, 0x2a), 2));
        p.drawEllipse(QPointF(x, box.bottom() + 4), 10, 10);
        p.setBrush(QColor(0xc8, 0xc8, 0xd0));
        p.drawEllipse(QPointF(x, box.bottom() + 4), 3.5, 3.5);
        p.setBrush(QColor(0x44, 0x44, 0x55));
    }
}

void drawEngine(QPainter& p, QPointF rearBottom) {
    const qreal x = rearBottom.x(), y = rearBottom.y();
    p.setPen(roundPen(QColor(0xa0, 0x26, 0x26), 2));
    p.setBrush(QColor(0xff, 0x5e, 0x5e));
    p.drawRoundedRect(QRectF(x, y - 58, 44, 58), 6, 6);         // cab
    p.drawRoundedRect(QRectF(x + 40, y - 36, 62, 36), 10, 10);  // boiler
    p.setBrush(QColor(0x44, 0x44, 0x55));
    p.drawRect(QRectF(x + 80, y - 58, 12, 24));              // chimney
    p.drawRoundedRect(QRectF(x - 4, y - 66, 52, 10), 4, 4);  // roof
    p.setBrush(QColor(0xd6, 0xf0, 0xff));
    p.drawRoundedRect(QRectF(x + 9, y - 48, 26, 18), 4, 4);  // window
    p.setBrush(QColor(0xff, 0xd5, 0x3a));
    p.drawEllipse(QPointF(x + 102, y - 18), 6, 6);  // lamp
    for (const qreal wx : {x + 18, x + 62, x + 88}) {
        p.setPen(roundPen(QColor(0x22, 0x22, 0x2a), 2));
        p.setBrush(QColor(0x44, 0x44, 0x55));
        p.drawEllipse(QPointF(wx, y + 4), wx == x + 18 ? 13 : 10, wx == x + 18 ? 13 : 10);
        p.setBrush(QColor(0xc8, 0xc8, 0xd0));
        p.drawEllipse(QPointF(wx, y + 4), 4, 4);
    }
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        p.setBrush(withAlpha(Qt::white, 230 - i * 40));
        p.drawEllipse(QPointF(x + 100 + i * 22, y - 72 - i * 10), 12 + i * 4, 9 + i * 3);
    }
}

void paintTrain(QPainter& p, const QSizeF& size, const QStringList&) {
    fillVertical(p, QRectF(QPointF(0, 0), size), QColor(0x92, 0xd6, 0xff),
                 QColor(0xea, 0xf8, 0xff));
    drawSun(p, QPointF(60, 60), 34, true);
    drawCloud(p, QPointF(330, 64), 150);
    drawCloud(p, QPointF(620, 50), 120, 220);
    drawBird(p, QPointF(470, 90), 10, QColor(0x4a, 0x5a, 0x7a));
    drawBird(p, QPointF(494, 80), 8, QColor(0x4a, 0x5a, 0x7a));
    drawHill(p, -100, 400, 470, 620, QColor(0x9e, 0xdb, 0x74));
    drawHill(p, 300, 950, 450, 620, QColor(0x8c, 0xd2, 0x64));
    fillVertical(p, QRectF(0, 540, size.width(), 60), QColor(0x74, 0xc6, 0x58),
                 QColor(0x5a, 0xb0, 0x46));
    // rails
    p.fillRect(QRectF(0, 566, size.width(), 5), QColor(0x8a, 0x8e, 0x9a));
    for (qreal x = 4; x < size.width(); x += 24) {
        p.fillRect(QRectF(x, 571, 12, 8), QColor(0x9a, 0x6a, 0x40));
    }
    // calm lanes behind the three rows
    for (const QRectF& lane :
         {QRectF(8, 146, 784, 71), QRectF(22, 236, 756, 65), QRectF(16, 316, 784 - 16, 65)}) {
        drawCard(p, lane, 14, withAlpha(Qt::white, 170), withAlpha(Qt::white, 230), 3);
    }
    const QString word = QStringLiteral("ABCDE");
    for (int i = 0; i < 4; ++i) {
        drawWagon(p, QRectF(120 + i * 128, 520, 112, 42), rainbow(i * 2 + 1), word.mid(i, 1));
        p.setPen(roundPen(QColor(0x55, 0x55, 0x66), 4));
        p.drawLine(QPointF(232 + i * 128, 548), QPointF(248 + i * 128, 548));
    }
    drawEngine(p, QPointF(632, 562));
    drawTree(p, QPointF(50, 548), 90);
    drawGrassTufts(p, 0, size.width(), 598, 8, 11);
}

// Spelling game: stacks of alphabet blocks on a toy shelf.
void paintBlocks(QPainter& p, const QSizeF& size, const QStringList&) {
    fillVertical(p, QRectF(0, 0, size.width(), 470), QColor(0xf4, 0xe8, 0xff),
                 QColor(0xff, 0xef, 0xf4));
    // a wallpaper of faint letters in slanted rows
    int letter = 0;
    for (int row = 0; row < 8; ++row) {
        for (int col = 0; col < 14; ++col, ++letter) {
            const QPointF at(col * 60 + ((row % 2) ? 30 : 0) + 10, row * 60 + 20);
            drawCentredText(p, QRectF(at - QPointF(14, 14), QSizeF(28, 28)),
                            QString(QChar('A' + letter % 26)), cjkFont(22),
                            withAlpha(rainbow(letter), 34));
        }
    }
    fillVertical(p, QRectF(0, 470, size.width(), 130), QColor(0xf2, 0xcf, 0x9a),
                 QColor(0xe2, 0xb4, 0x78));
    p.fillRect(QRectF(0, 466, size.width(), 8), QColor(0xc6, 0x8a, 0x50));
    // calm lanes behind the title, meaning, letter row and result
    const QColor lane = withAlpha(QColor(0xff, 0xfc, 0xff), 225);
    const QColor edge(0xd8, 0xc4, 0xf4);
    drawCard(p, QRectF(48, 8, 748, 72), 18, lane, withAlpha(Qt::white, 230), 3);
    drawCard(p, QRectF(100, 108, 540, 74), 16, lane, edge, 3);
    drawCard(p, QRectF(22, 186, 756, 52), 14, lane, edge, 3);
    drawCard(p, QRectF(92, 276, 552, 82), 16, lane, edge, 3);
    // block towers in the free corners
    drawLetterBlock(p, QRectF(664, 404, 56, 56), QStringLiteral("A"), rainbow(0), 10);
    drawLetterBlock(p, QRectF(724, 404, 56, 56), QStringLiteral("B"), rainbow(4), 10);
    drawLetterBlock(p, QRectF(694, 342, 56, 56), QStringLiteral("C"), rainbow(3), 10);
    drawLetterBlock(p, QRectF(704, 282, 44, 44), QStringLiteral("D"), rainbow(5), 8);
    drawLetterBlock(p, QRectF(16, 404, 56, 56), QStringLiteral("x"), rainbow(1), 10);
    drawLetterBlock(p, QRectF(26, 342, 50, 50), QStringLiteral("y"), rainbow(6), 9);
    drawLetterBlock(p, QRectF(670, 120, 40, 40), QStringLiteral("Z"), rainbow(2), 7);
    drawStar(p, QPointF(740, 130), 12, QColor(0xff, 0xd5, 0x3a), 10);
    drawBalloon(p, QPointF(36, 262), 17, rainbow(5), QPointF(50, 344));
    drawBalloon(p, QPointF(72, 250), 15, rainbow(1), QPointF(52, 344));
}

// Matching game: a checkered picnic lawn around a plain board for the tiles.
void paintPlayground(QPainter& p, const QSizeF& size, const QStringList&) {
    const qreal cell = 40;
    for (int row = 0; row * cell < size.height(); ++row) {
        for (int col = 0; col * cell < size.width(); ++col) {
            const bool dark = (row + col) % 2 == 0;
            p.fillRect(QRectF(col * cell, row * cell, cell, cell),
                       dark ? QColor(0xb9, 0xe8, 0xa6) : QColor(0xcf, 0xf1, 0xbf));
        }
    }
    // the time bar's slot
    drawCard(p, QRectF(176, 14, 428, 44), 22, withAlpha(Qt::white, 200), QColor(0x8c, 0xcf, 0x70),
             3);
    drawStar(p, QPointF(158, 36), 14, QColor(0xff, 0xd5, 0x3a), -8);
    drawStar(p, QPointF(622, 36), 14, QColor(0xff, 0xd5, 0x3a), 8);
    // the board: plain and light, a little larger than the tiles' area x 89..720, y 80..493
    const QRectF board(87, 78, 636, 418);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x30, 0x70, 0x30, 50));
    p.drawRoundedRect(board.adjusted(-6, -4, 10, 14), 22, 22);
    p.setBrush(QColor(0xff, 0xb3, 0x47));
    p.drawRoundedRect(board.adjusted(-10, -10, 10, 10), 24, 24);
    p.setPen(QPen(Qt::white, 3, Qt::DotLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(board.adjusted(-5, -5, 5, 5), 20, 20);
    p.fillRect(board, QColor(0xff, 0xfd, 0xf5));
    // toys at the sides
    drawBalloon(p, QPointF(38, 140), 20, rainbow(0), QPointF(44, 290));
    drawBalloon(p, QPointF(62, 200), 17, rainbow(4), QPointF(46, 290));
    drawBalloon(p, QPointF(760, 150), 19, rainbow(5), QPointF(764, 300));
    drawBalloon(p, QPointF(776, 220), 15, rainbow(2), QPointF(766, 300));
    drawSmallFlower(p, QPointF(40, 420), 12, rainbow(6));
    drawSmallFlower(p, QPointF(762, 430), 12, rainbow(1));
    drawStar(p, QPointF(44, 340), 10, QColor(0xff, 0x9f, 0x1c));
    drawStar(p, QPointF(760, 362), 10, QColor(0xff, 0x6f, 0xb5));
    // the control strip
    drawCard(p, QRectF(20, 530, 760, 60), 20, withAlpha(Qt::white, 150), withAlpha(Qt::white, 220),
             3);
}

// Word-finding game: a garden with four light sign boards and a dark hedge strip at the bottom.
void drawFence(QPainter& p, qreal top, qreal bottom, qreal width) {
    p.setPen(roundPen(QColor(0xc8, 0x9a, 0x66), 1.5));
    p.setBrush(QColor(0xf6, 0xe0, 0xbc));
    p.drawRect(QRectF(0, top + 14, width, 10));
    p.drawRect(QRectF(0, bottom - 26, width, 10));
    for (qreal x = 6; x < width; x += 30) {
        QPolygonF picket({QPointF(x, bottom), QPointF(x, top + 8), QPointF(x + 10, top),
                          QPointF(x + 20, top + 8), QPointF(x + 20, bottom)});
        p.drawPolygon(picket);
    }
}

void drawSignBoard(QPainter& p, const QRectF& face) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xa0, 0x6a, 0x3c));
    p.drawRect(QRectF(face.center().x() - 6, face.bottom(), 12, 14));
    drawCard(p, face.adjusted(-8, -8, 8, 8), 14, QColor(0xd9, 0xa0, 0x62), QColor(0xa8, 0x70, 0x3c),
             4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xfc, 0xf0));
    p.drawRoundedRect(face, 8, 8);
}

void paintGarden(QPainter& p, const QSizeF& size, const QStringList&) {
    fillVertical(p, QRectF(0, 0, size.width(), 330), QColor(0x8c, 0xd4, 0xff),
                 QColor(0xdc, 0xf4, 0xff));
    drawSun(p, QPointF(60, 56), 34, true);
    drawCloud(p, QPointF(230, 50), 130);
    drawBird(p, QPointF(300, 110), 9, QColor(0x4a, 0x5a, 0x7a));
    fillVertical(p, QRectF(0, 330, size.width(), 200), QColor(0x9e, 0xdb, 0x74),
                 QColor(0x7c, 0xc8, 0x5a));
    drawFence(p, 260, 340, size.width());
    // the prompt's patch of calm: a wooden sign on the left
    drawSignBoard(p, QRectF(30, 200, 320, 100));
    for (const QRectF& field : {QRectF(370, 84, 180, 166), QRectF(590, 84, 180, 166),
                                QRectF(370, 290, 180, 160), QRectF(590, 290, 180, 160)}) {
        drawSignBoard(p, field);
    }
    const QList<QPointF> flowers = {{40, 400},  {90, 430}, {150, 395}, {210, 440}, {270, 405},
                                    {330, 450}, {30, 470}, {560, 470}, {120, 480}, {786, 470}};
    for (int i = 0; i < flowers.size(); ++i) {
        drawSmallFlower(p, flowers[i], 11, rainbow(i * 3));
    }
    // a butterfly
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0x8f, 0xc8));
    p.drawEllipse(QPointF(186, 340), 10, 7);
    p.drawEllipse(QPointF(202, 340), 10, 7);
    p.setBrush(QColor(0xff, 0xc8, 0x3a));
    p.drawEllipse(QPointF(188, 350), 6, 5);
    p.drawEllipse(QPointF(200, 350), 6, 5);
    p.setBrush(kInk);
    p.drawRoundedRect(QRectF(192.5, 334, 3, 20), 1.5, 1.5);
    // the dark hedge strip, where the window writes white text
    fillVertical(p, QRectF(0, 515, size.width(), 85), QColor(0x3e, 0x8e, 0x3a),
                 QColor(0x2a, 0x6a, 0x2a));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3e, 0x8e, 0x3a));
    for (qreal x = 0; x < size.width() + 20; x += 26) p.drawEllipse(QPointF(x, 518), 16, 10);
    p.setBrush(QColor(0x55, 0xa8, 0x48, 120));
    for (qreal x = 13; x < size.width() + 20; x += 26) p.drawEllipse(QPointF(x, 514), 10, 6);
}

// ---------------------------------------------------------------------------------------------
// Flower, tiles, marks and the loudspeaker

// A smiling flower on pure white, which the program treats as transparent; nothing inside the
// flower is pure white.
void paintFlower(QPainter& p, const QSizeF& size, const QStringList&) {
    p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    const qreal u = size.width() / 96.0;
    const qreal v = size.height() / 124.0;
    auto at = [&](qreal x, qreal y) { return QPointF(x * u, y * v); };
    p.setPen(roundPen(QColor(0x2e, 0x8b, 0x3a), 5 * u));
    QPainterPath stem;
    stem.moveTo(at(48, 120));
    stem.cubicTo(at(44, 98), at(54, 80), at(48, 52));
    p.setBrush(Qt::NoBrush);
    p.drawPath(stem);
    p.setPen(roundPen(QColor(0x2e, 0x8b, 0x3a), 1.5 * u));
    p.setBrush(QColor(0x5c, 0xc8, 0x4a));
    QPainterPath leftLeaf;
    leftLeaf.moveTo(at(47, 104));
    leftLeaf.quadTo(at(24, 84), at(12, 96));
    leftLeaf.quadTo(at(26, 112), at(47, 104));
    p.drawPath(leftLeaf);
    QPainterPath rightLeaf;
    rightLeaf.moveTo(at(49, 90));
    rightLeaf.quadTo(at(72, 70), at(84, 80));
    rightLeaf.quadTo(at(72, 98), at(49, 90));
    p.drawPath(rightLeaf);
    const QPointF centre = at(48, 38);
    for (int i = 0; i < 8; ++i) {
        const qreal angle = qDegreesToRadians(i * 45.0);
        const QPointF petal = centre + QPointF(qCos(angle) * 23 * u, qSin(angle) * 23 * v);
        QRadialGradient shade(petal, 15 * u);
        shade.setColorAt(0, QColor(0xff, 0xa8, 0xcc));
        shade.setColorAt(1, QColor(0xff, 0x6f, 0xa8));
        p.setPen(roundPen(QColor(0xe0, 0x48, 0x88), 1.4 * u));
        p.setBrush(shade);
        p.drawEllipse(petal, 13 * u, 13 * v);
    }
    p.setPen(roundPen(QColor(0xe8, 0xa0, 0x10), 1.5 * u));
    p.setBrush(QColor(0xff, 0xd5, 0x3a));
    p.drawEllipse(centre, 17 * u, 17 * v);
    drawEyes(p, centre + QPointF(0, -2 * v), 12 * u, 2.6 * u);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0x80, 0x60, 140));
    p.drawEllipse(centre + QPointF(-10 * u, 4 * v), 3 * u, 2 * v);
    p.drawEllipse(centre + QPointF(10 * u, 4 * v), 3 * u, 2 * v);
    drawSmile(p, centre + QPointF(0, 4 * v), 10 * u, QColor(0xa0, 0x4a, 0x10), 1.6 * u);
}

// A rounded card on pure white (the transparent colour); the middle stays plain for the word.
// The card reaches the picture's edges: JPEG colour subsampling would tint a thin white margin,
// which then no longer matches the transparent colour, so white is left only in the corners.
void paintTile(QPainter& p, const QSizeF& size, const QColor& face, const QColor& edge) {
    p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    const QRectF card = QRectF(QPointF(0, 0), size).adjusted(1.1, 1.1, -1.1, -1.1);
    QLinearGradient fill(card.topLeft(), card.bottomLeft());
    fill.setColorAt(0, face.lighter(106));
    fill.setColorAt(1, face);
    p.setPen(QPen(edge, 2.2));
    p.setBrush(fill);
    p.drawRoundedRect(card, 11, 11);
    p.setPen(QPen(withAlpha(kHighlight, 220), 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(card.adjusted(3, 3, -3, -3), 8, 8);
    p.setPen(Qt::NoPen);
    p.setBrush(edge);
    for (const QPointF& corner :
         {card.topLeft() + QPointF(9, 9), card.topRight() + QPointF(-9, 9),
          card.bottomLeft() + QPointF(9, -9), card.bottomRight() + QPointF(-9, -9)}) {
        p.drawEllipse(corner, 2.2, 2.2);
    }
}

void paintEnglishTile(QPainter& p, const QSizeF& size, const QStringList&) {
    paintTile(p, size, QColor(0xc8, 0xe8, 0xff), QColor(0x6c, 0xb4, 0xee));
}

void paintChineseTile(QPainter& p, const QSizeF& size, const QStringList&) {
    paintTile(p, size, QColor(0xff, 0xe0, 0xb8), QColor(0xf6, 0xa6, 0x52));
}

void paintTick(QPainter& p, const QSizeF& size, const QStringList&) {
    p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    p.scale(size.width() / 20.0, size.height() / 20.0);
    QPainterPath tick;
    tick.moveTo(3.5, 10.5);
    tick.lineTo(8, 15);
    tick.lineTo(16.5, 4.5);
    p.strokePath(tick, roundPen(QColor(0x1e, 0x8e, 0x2e), 4.2));
    p.strokePath(tick, roundPen(QColor(0x3c, 0xc8, 0x4a), 2.4));
}

void paintCross(QPainter& p, const QSizeF& size, const QStringList&) {
    p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    p.scale(size.width() / 20.0, size.height() / 20.0);
    QPainterPath cross;
    cross.moveTo(4.5, 4.5);
    cross.lineTo(15.5, 15.5);
    cross.moveTo(15.5, 4.5);
    cross.lineTo(4.5, 15.5);
    p.strokePath(cross, roundPen(QColor(0xb8, 0x1e, 0x1e), 4.2));
    p.strokePath(cross, roundPen(QColor(0xf0, 0x40, 0x40), 2.4));
}

void paintLoudspeaker(QPainter& p, const QSizeF& size, const QStringList&) {
    p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    p.scale(size.width() / 20.0, size.height() / 20.0);
    p.setPen(roundPen(QColor(0xc0, 0x5a, 0x00), 1));
    p.setBrush(QColor(0xff, 0x8c, 0x1a));
    p.drawPolygon(QPolygonF({QPointF(2, 7.5), QPointF(5.5, 7.5), QPointF(10, 3.5),
                             QPointF(10, 16.5), QPointF(5.5, 12.5), QPointF(2, 12.5)}));
    p.setPen(roundPen(QColor(0x26, 0x8c, 0xe6), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(8.5, 6.5, 5, 7), -55 * 16, 110 * 16);
    p.drawArc(QRectF(8, 3.5, 9, 13), -55 * 16, 110 * 16);
}

// ---------------------------------------------------------------------------------------------
// The loading spinner: eight dots round a circle, the bright one moving on each frame.

// Dot widths in pixels from the leading dot backwards. GIF pixels are either fully transparent
// or fully opaque, so the dots are set pixel by pixel rather than antialiased.
constexpr int kSpinnerDotWidths[kSpinnerFrames] = {7, 6, 6, 5, 5, 4, 4, 4};

// A round pixel dot `width` pixels across: odd widths centre on a pixel, even on a corner.
void setPixelDot(QImage& image, QPointF centre, int width, QRgb colour) {
    const bool odd = width % 2 == 1;
    const QPointF at = odd ? QPointF(qFloor(centre.x()) + 0.5, qFloor(centre.y()) + 0.5)
                           : QPointF(qRound(centre.x()), qRound(centre.y()));
    const qreal radius = width / 2.0 - (odd ? 0.25 : 0.4);
    for (int y = qFloor(at.y() - radius); y <= qCeil(at.y() + radius); ++y) {
        for (int x = qFloor(at.x() - radius); x <= qCeil(at.x() + radius); ++x) {
            const QPointF d = QPointF(x + 0.5, y + 0.5) - at;
            if (image.rect().contains(x, y) && d.x() * d.x() + d.y() * d.y() <= radius * radius) {
                image.setPixel(x, y, colour);
            }
        }
    }
}

QList<QImage> spinnerFrames(const QSize& size) {
    QList<QImage> frames;
    const QPointF centre(size.width() / 2.0, size.height() / 2.0);
    const qreal scale = qMin(size.width(), size.height()) / 32.0;
    const qreal ring = 11 * scale;
    for (int frame = 0; frame < kSpinnerFrames; ++frame) {
        QImage image(size, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        for (int i = 0; i < kSpinnerFrames; ++i) {
            const int behind = (frame - i + kSpinnerFrames) % kSpinnerFrames;
            const qreal angle = qDegreesToRadians(i * 360.0 / kSpinnerFrames - 90);
            const QColor colour = i < kRainbow.size() ? rainbow(i) : QColor(0x26, 0xc6, 0xb8);
            setPixelDot(image, centre + QPointF(qCos(angle), qSin(angle)) * ring,
                        qMax(1, qRound(kSpinnerDotWidths[behind] * scale)),
                        mix(colour, Qt::white, behind * 0.07).rgb());
        }
        frames.append(image);
    }
    return frames;
}

// ---------------------------------------------------------------------------------------------
// The painter table

using PaintFunction = std::function<void(QPainter&, const QSizeF&, const QStringList&)>;

// What lies under a picture's drawing where it leaves the picture's rectangle free.
enum class Backdrop {
    White,    // pure white (the transparent colour of the flower and the tiles)
    Rounded,  // a rounded face: see-through in a PNG, the window's paper colour in a JPEG
};

struct Painter {
    QString name;
    QSize designSize;  // empty: drawn at the asked size
    PaintFunction paint;
    Backdrop backdrop = Backdrop::White;
};

PaintFunction captionButton(const ButtonColours& colours) {
    return [colours](QPainter& p, const QSizeF& size, const QStringList& words) {
        paintButton(p, size, words.join(QLatin1Char(' ')), colours);
    };
}

const QList<Painter>& painters() {
    static const QList<Painter> table = {
        {QStringLiteral("start_background"), QSize(803, 605), paintStartBackground},
        {QStringLiteral("cover"), QSize(1092, 1512), paintCover},
        {QStringLiteral("start_button"), QSize(), paintStartButton, Backdrop::Rounded},
        {QStringLiteral("button_green"), QSize(), captionButton(kGreenButton), Backdrop::Rounded},
        {QStringLiteral("button_blue"), QSize(), captionButton(kBlueButton), Backdrop::Rounded},
        {QStringLiteral("button_orange"), QSize(), captionButton(kOrangeButton), Backdrop::Rounded},
        {QStringLiteral("button_pink"), QSize(), captionButton(kPinkButton), Backdrop::Rounded},
        {QStringLiteral("button_plain"), QSize(), paintPlainButton, Backdrop::Rounded},
        {QStringLiteral("dictation"), QSize(800, 560), paintDictation},
        {QStringLiteral("classroom"), QSize(800, 600), paintClassroom},
        {QStringLiteral("train"), QSize(800, 600), paintTrain},
        {QStringLiteral("blocks"), QSize(800, 600), paintBlocks},
        {QStringLiteral("playground"), QSize(800, 600), paintPlayground},
        {QStringLiteral("garden"), QSize(800, 600), paintGarden},
        {QStringLiteral("flower"), QSize(), paintFlower},
        {QStringLiteral("tile_english"), QSize(), paintEnglishTile},
        {QStringLiteral("tile_chinese"), QSize(), paintChineseTile},
        {QStringLiteral("tick"), QSize(), paintTick},
        {QStringLiteral("cross"), QSize(), paintCross},
        {QStringLiteral("loudspeaker"), QSize(), paintLoudspeaker},
    };
    return table;
}

const Painter* findPainter(const QString& name) {
    for (const Painter& painter : painters()) {
        if (painter.name == name) return &painter;
    }
    return nullptr;
}

QImage paintStill(const Painter& painter, const PictureSpec& spec, const QStringList& words) {
    QImage image(spec.size, QImage::Format_ARGB32_Premultiplied);
    const bool png = spec.format.toLower() == QLatin1String("png");
    if (painter.backdrop == Backdrop::Rounded) {
        image.fill(png ? QColor(Qt::transparent) : kPaper);
    } else {
        image.fill(Qt::white);
    }
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                     QPainter::SmoothPixmapTransform);
    QSizeF drawSize = spec.size;
    if (!painter.designSize.isEmpty()) {
        p.scale(qreal(spec.size.width()) / painter.designSize.width(),
                qreal(spec.size.height()) / painter.designSize.height());
        drawSize = painter.designSize;
    }
    painter.paint(p, drawSize, words);
    p.end();
    return image;
}

QByteArray encodeStill(const QImage& image, const QString& format, QString* error) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const bool jpeg = format == QLatin1String("jpg");
    QImageWriter writer(&buffer, jpeg ? "jpg" : "png");
    if (jpeg) writer.setQuality(kJpegQuality);
    const QImage flat = image.convertToFormat(jpeg ? QImage::Format_RGB32 : QImage::Format_ARGB32);
    if (!writer.write(flat)) {
        if (error)
            *error = QStringLiteral("cannot encode as %1: %2").arg(format, writer.errorString());
        return {};
    }
    return bytes;
}

bool fail(QString* error, const QString& message) {
    if (error) *error = message;
    return false;
}

bool checkSpec(const PictureSpec& spec, QString* error) {
    if (spec.size.width() < 1 || spec.size.height() < 1 || spec.size.width() > kMaxSide ||
        spec.size.height() > kMaxSide) {
        return fail(error, QStringLiteral("picture %1: size %2x%3 is outside 1..%4")
                               .arg(spec.name)
                               .arg(spec.size.width())
                               .arg(spec.size.height())
                               .arg(kMaxSide));
    }
    const QString format = spec.format.toLower();
    if (format != QLatin1String("jpg") && format != QLatin1String("png") &&
        format != QLatin1String("gif")) {
        return fail(error, QStringLiteral("picture %1: unknown format \"%2\" (jpg, png or gif)")
                               .arg(spec.name, spec.format));
    }
    if (spec.painter == QLatin1String("spinner") && format != QLatin1String("gif")) {
        return fail(error,
                    QStringLiteral("picture %1: the spinner is animated and needs the gif format")
                        .arg(spec.name));
    }
    return true;
}

QStringList splitWords(const QString& text) {
    QStringList words;
    for (const QString& word : text.split(QLatin1Char(';'))) words.append(word.trimmed());
    return words;
}

}  // namespace

void paintOpenBook(QPainter& p, QPointF centre, qreal width, const QColor& cover) {
    drawOpenBook(p, centre, width, cover);
}

void paintOrangeLogo(QPainter& p, QPointF centre, qreal radius) {
    drawOrangeLogo(p, centre, radius);
}

QByteArray renderWindowPicture(const PictureSpec& spec, QString* error) {
    if (!checkSpec(spec, error)) return {};
    const QString format = spec.format.toLower();
    QList<QImage> frames;
    if (spec.painter == QLatin1String("spinner")) {
        frames = spinnerFrames(spec.size);
    } else {
        const Painter* painter = findPainter(spec.painter);
        if (!painter) {
            fail(error,
                 QStringLiteral("picture %1: unknown painter \"%2\"").arg(spec.name, spec.painter));
            return {};
        }
        frames.append(paintStill(*painter, spec, splitWords(spec.text)));
    }
    const QByteArray bytes = encodeWindowPicture(frames, format, kSpinnerDelayMs, error);
    if (bytes.isEmpty() && error) *error = QStringLiteral("picture %1: %2").arg(spec.name, *error);
    return bytes;
}

QByteArray encodeWindowPicture(const QList<QImage>& frames, const QString& format, int delayMs,
                               QString* error) {
    if (frames.isEmpty()) {
        fail(error, QStringLiteral("no picture to encode"));
        return {};
    }
    if (format == QLatin1String("gif")) {
        QByteArray gif = writeAnimatedGif(frames, delayMs);
        if (gif.isEmpty()) fail(error, QStringLiteral("GIF encoding failed"));
        return gif;
    }
    return encodeStill(frames.first(), format, error);
}

}  // namespace art
