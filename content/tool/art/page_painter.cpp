// Paints whole book pages: the themed paper, the footer and every entry (title bands, speech
// boxes, word cards, pictures and instruction strips) inside its own hotspot rectangle.
//
// Pages are painted in the 800 x 540 design space and scaled onto the requested picture size,
// so each entry lands exactly on its hotspot when the picture is shown at 800 x 540.
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <QtMath>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "art/page_art.h"
#include "art/things.h"

namespace art {

// ---------------------------------------------------------------------------------------------
// Fonts and fitted text

namespace pageart {

QFont englishFont(bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("URW Gothic"), QStringLiteral("Comic Neue"),
                      QStringLiteral("Noto Sans CJK SC"), QStringLiteral("DejaVu Sans")});
    font.setWeight(bold ? QFont::DemiBold : QFont::Normal);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QFont chineseFont(bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Droid Sans Fallback")});
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

namespace {

// Text is laid out once at this letter size and then scaled, so sizes can be any fraction.
constexpr int kLayoutPixels = 100;
// Two lines are used only when that makes the letters this much bigger than one line would.
constexpr double kWrapGain = 1.25;

struct TextBlock {
    QPainterPath path;
    QRectF bounds;  // the lines' boxes together with the ink, at layout size
};

TextBlock layoutLines(const QStringList& lines, QFont font, Qt::Alignment align) {
    font.setPixelSize(kLayoutPixels);
    const QFontMetricsF metrics(font);
    QList<double> widths;
    double widest = 0;
    for (const QString& line : lines) {
        widths.append(metrics.horizontalAdvance(line));
        widest = std::max(widest, widths.last());
    }
    const double lineHeight = metrics.ascent() + metrics.descent();
    const double gap = lineHeight * 0.08;
    TextBlock block;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        double x = (widest - widths[i]) / 2;
        if (align & Qt::AlignLeft) x = 0;
        if (align & Qt::AlignRight) x = widest - widths[i];
        block.path.addText(x, metrics.ascent() + i * (lineHeight + gap), font, lines[i]);
    }
    const double height = lines.size() * lineHeight + (lines.size() - 1) * gap;
    block.bounds = QRectF(0, 0, widest, height).united(block.path.boundingRect());
    return block;
}

// The text broken at the space that makes the two lines most even; empty without a space.
QStringList balancedSplit(const QString& text, QFont font) {
    font.setPixelSize(kLayoutPixels);
    const QFontMetricsF metrics(font);
    QStringList best;
    double bestWidth = 0;
    for (qsizetype i = text.indexOf(QLatin1Char(' ')); i > 0;
         i = text.indexOf(QLatin1Char(' '), i + 1)) {
        const QString first = text.left(i).trimmed();
        const QString second = text.mid(i + 1).trimmed();
        if (first.isEmpty() || second.isEmpty()) continue;
        const double width =
            std::max(metrics.horizontalAdvance(first), metrics.horizontalAdvance(second));
        if (best.isEmpty() || width < bestWidth) {
            best = {first, second};
            bestWidth = width;
        }
    }
    return best;
}

}  // namespace

QPainterPath fitTextPath(const QString& text, const QFont& font, const QRectF& box,
                         double maxPixelSize, Qt::Alignment align, int maxLines) {
    const QString clean = text.simplified();
    if (clean.isEmpty() || box.width() <= 0 || box.height() <= 0 || maxPixelSize <= 0) {
        return {};
    }
    auto scaleOf = [&](const TextBlock& block) {
        return std::min({box.width() / block.bounds.width(), box.height() / block.bounds.height(),
                         maxPixelSize / kLayoutPixels});
    };
    TextBlock chosen = layoutLines({clean}, font, align);
    if (chosen.bounds.isEmpty()) return {};
    double scale = scaleOf(chosen);
    if (maxLines >= 2) {
        const QStringList twoLines = balancedSplit(clean, font);
        if (!twoLines.isEmpty()) {
            const TextBlock wrapped = layoutLines(twoLines, font, align);
            if (scaleOf(wrapped) > scale * kWrapGain) {
                chosen = wrapped;
                scale = scaleOf(wrapped);
            }
        }
    }
    const QRectF& b = chosen.bounds;
    double x = box.center().x() - b.center().x() * scale;
    if (align & Qt::AlignLeft) x = box.left() - b.left() * scale;
    if (align & Qt::AlignRight) x = box.right() - b.right() * scale;
    double y = box.center().y() - b.center().y() * scale;
    if (align & Qt::AlignTop) y = box.top() - b.top() * scale;
    if (align & Qt::AlignBottom) y = box.bottom() - b.bottom() * scale;
    QTransform place;
    place.translate(x, y);
    place.scale(scale, scale);
    return place.map(chosen.path);
}

}  // namespace pageart

namespace {

using pageart::outlineColour;

constexpr double kPageWidth = 800;
constexpr double kPageHeight = 540;
constexpr double kFooterTop = 516;
const QColor kInk(0x3a, 0x2d, 0x3c);
const QColor kCard(0xFF, 0xFF, 0xFF);

// ---------------------------------------------------------------------------------------------
// Themes

enum class Sprinkle { Cloud, Flower, Sun, Heart, Star, Bubble, Dots, Leaf };

struct Theme {
    const char* name;
    QColor paper;   // the page
    QColor soft;    // the page edge, washes and the footer band
    QColor accent;  // title bands, card borders, badges
    QColor deep;    // small text on the paper
    Sprinkle sprinkle;
};

const std::array kThemes{
    Theme{"sky", QColor(0xF4, 0xFA, 0xFF), QColor(0xD3, 0xEA, 0xFB), QColor(0x4B, 0xA3, 0xE3),
          QColor(0x1F, 0x5E, 0x8C), Sprinkle::Cloud},
    Theme{"grass", QColor(0xF6, 0xFB, 0xEF), QColor(0xDA, 0xF0, 0xC8), QColor(0x5F, 0xB8, 0x44),
          QColor(0x35, 0x74, 0x22), Sprinkle::Flower},
    Theme{"sun", QColor(0xFF, 0xFB, 0xEB), QColor(0xFF, 0xEC, 0xB0), QColor(0xF5, 0xA6, 0x23),
          QColor(0x9A, 0x5C, 0x00), Sprinkle::Sun},
    Theme{"rose", QColor(0xFF, 0xF5, 0xF7), QColor(0xFB, 0xD8, 0xE1), QColor(0xEB, 0x63, 0x87),
          QColor(0x9E, 0x34, 0x52), Sprinkle::Heart},
    Theme{"lilac", QColor(0xF9, 0xF5, 0xFF), QColor(0xE5, 0xDA, 0xFA), QColor(0x95, 0x72, 0xD6),
          QColor(0x57, 0x3C, 0x93), Sprinkle::Star},
    Theme{"sea", QColor(0xF1, 0xFB, 0xFB), QColor(0xCB, 0xEE, 0xEE), QColor(0x24, 0xA8, 0xAC),
          QColor(0x14, 0x6C, 0x6C), Sprinkle::Bubble},
    Theme{"peach", QColor(0xFF, 0xF7, 0xF0), QColor(0xFF, 0xDF, 0xCA), QColor(0xF2, 0x8C, 0x5A),
          QColor(0xA2, 0x4E, 0x26), Sprinkle::Dots},
    Theme{"mint", QColor(0xF2, 0xFC, 0xF7), QColor(0xCF, 0xF2, 0xE0), QColor(0x3F, 0xBB, 0x86),
          QColor(0x20, 0x72, 0x4F), Sprinkle::Leaf},
};

const Theme& themeByName(const QString& name) {
    for (const Theme& theme : kThemes) {
        if (name == QLatin1String(theme.name)) return theme;
    }
    return kThemes.front();
}

QColor withAlpha(QColor colour, int alpha) {
    colour.setAlpha(alpha);
    return colour;
}

void fillPath(QPainter& painter, const QPainterPath& path, const QColor& fill,
              const QColor& line = QColor(), double lineWidth = 0) {
    painter.setPen(line.isValid()
                       ? QPen(line, lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
                       : QPen(Qt::NoPen));
    painter.setBrush(fill);
    painter.drawPath(path);
}

QPainterPath roundedRect(const QRectF& rect, double radius) {
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

// An outlined shape drawn inside `rect`: the outline is pulled in by half its width.
QRectF insideOutline(const QRectF& rect, double lineWidth) {
    const double half = lineWidth / 2;
    return rect.adjusted(half, half, -half, -half);
}

// ---------------------------------------------------------------------------------------------
// The paper

// A small repeatable random sequence, so every page always gets the same decorations.
class Dice {
  public:
    explicit Dice(uint32_t seed) : state_(seed * 2654435761u + 12345u) {}
    double next(double low, double high) {
        state_ = state_ * 1664525u + 1013904223u;
        return low + (high - low) * double(state_ >> 8) / double(1u << 24);
    }

  private:
    uint32_t state_;
};

QPainterPath sprinkleShape(Sprinkle kind, const QPointF& c, double r) {
    QPainterPath path;
    switch (kind) {
        case Sprinkle::Cloud:
            path.addEllipse(c + QPointF(-r * 0.55, r * 0.15), r * 0.5, r * 0.4);
            path.addEllipse(c + QPointF(0, -r * 0.1), r * 0.6, r * 0.55);
            path.addEllipse(c + QPointF(r * 0.6, r * 0.15), r * 0.45, r * 0.38);
            return path.simplified();
        case Sprinkle::Flower: {
            for (int i = 0; i < 5; ++i) {
                const double a = i * 2 * M_PI / 5;
                path.addEllipse(c + QPointF(std::cos(a), std::sin(a)) * r * 0.5, r * 0.42,
                                r * 0.42);
            }
            QPainterPath centre;
            centre.addEllipse(c, r * 0.25, r * 0.25);
            return path.simplified().subtracted(centre);
        }
        case Sprinkle::Sun:
            path.addEllipse(c, r * 0.5, r * 0.5);
            for (int i = 0; i < 8; ++i) {
                const double a = i * M_PI / 4;
                QPainterPath ray;
                ray.addEllipse(c + QPointF(std::cos(a), std::sin(a)) * r * 0.82, r * 0.13,
                               r * 0.13);
                path = path.united(ray);
            }
            return path;
        case Sprinkle::Heart:
            path.moveTo(c + QPointF(0, r * 0.8));
            path.cubicTo(c + QPointF(-r * 1.1, 0), c + QPointF(-r * 0.6, -r * 0.9), c);
            path.cubicTo(c + QPointF(r * 0.6, -r * 0.9), c + QPointF(r * 1.1, 0),
                         c + QPointF(0, r * 0.8));
            return path;
        case Sprinkle::Star:
            for (int i = 0; i < 10; ++i) {
                const double a = -M_PI / 2 + i * M_PI / 5;
                const double radius = i % 2 == 0 ? r : r * 0.45;
                const QPointF p = c + QPointF(std::cos(a), std::sin(a)) * radius;
                if (i == 0) {
                    path.moveTo(p);
                } else {
                    path.lineTo(p);
                }
            }
            path.closeSubpath();
            return path;
        case Sprinkle::Bubble:
            path.addEllipse(c, r * 0.7, r * 0.7);
            path.addEllipse(c + QPointF(r * 0.2, -r * 0.25), r * 0.5, r * 0.5);
            return path;
        case Sprinkle::Dots:
            path.addEllipse(c + QPointF(-r * 0.4, 0), r * 0.3, r * 0.3);
            path.addEllipse(c + QPointF(r * 0.4, -r * 0.3), r * 0.22, r * 0.22);
            path.addEllipse(c + QPointF(r * 0.3, r * 0.45), r * 0.18, r * 0.18);
            return path;
        case Sprinkle::Leaf:
            path.moveTo(c + QPointF(-r * 0.8, r * 0.5));
            path.quadTo(c + QPointF(-r * 0.6, -r * 0.8), c + QPointF(r * 0.8, -r * 0.5));
            path.quadTo(c + QPointF(r * 0.6, r * 0.8), c + QPointF(-r * 0.8, r * 0.5));
            return path;
    }
    return path;
}

// Places small theme decorations only in free parts of the paper, away from every hotspot
// and answer box, so they never sit behind or beside what a child taps.
void paintSprinkles(QPainter& painter, const Theme& theme, const PageSpec& page) {
    QList<QRectF> taken;
    for (const PageItem& item : page.items)
        taken.append(QRectF(item.rect).adjusted(-10, -10, 10, 10));
    for (const QRect& box : page.answerBoxes) taken.append(QRectF(box).adjusted(-10, -10, 10, 10));
    const QRectF paper(20, 20, kPageWidth - 40, kFooterTop - 36);
    Dice dice(uint32_t(page.pageNumber) + 7u);
    QList<QPointF> placed;
    constexpr int kMaxSprinkles = 10;
    for (int attempt = 0; attempt < 120 && placed.size() < kMaxSprinkles; ++attempt) {
        const double r = dice.next(6, 11);
        const QPointF c(dice.next(paper.left() + r, paper.right() - r),
                        dice.next(paper.top() + r, paper.bottom() - r));
        const QRectF area(c.x() - r, c.y() - r, 2 * r, 2 * r);
        const bool blocked = std::any_of(taken.begin(), taken.end(),
                                         [&](const QRectF& t) { return t.intersects(area); });
        const bool crowded = std::any_of(placed.begin(), placed.end(), [&](const QPointF& p) {
            return QLineF(p, c).length() < 90;
        });
        if (blocked || crowded) continue;
        placed.append(c);
        const double turn = dice.next(-25, 25);
        QTransform t;
        t.translate(c.x(), c.y());
        t.rotate(turn);
        t.translate(-c.x(), -c.y());
        fillPath(painter, t.map(sprinkleShape(theme.sprinkle, c, r)), withAlpha(theme.accent, 70));
    }
}

void paintPaper(QPainter& painter, const Theme& theme, const PageSpec& page) {
    painter.fillRect(QRectF(0, 0, kPageWidth, kPageHeight), theme.soft);
    const QPainterPath paper = roundedRect(QRectF(6, 6, kPageWidth - 12, kFooterTop - 10), 16);
    fillPath(painter, paper, theme.paper);
    painter.save();
    painter.setClipPath(paper);
    const QColor wash = withAlpha(theme.soft, 120);
    for (const QPointF& corner : {QPointF(0, 0), QPointF(kPageWidth, 0),
                                  QPointF(kPageWidth, kFooterTop), QPointF(0, kFooterTop)}) {
        QPainterPath round;
        round.addEllipse(corner, 110, 110);
        fillPath(painter, round, wash);
    }
    painter.restore();
    painter.setPen(QPen(withAlpha(theme.accent, 60), 1.2, Qt::DashLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(12, 12, kPageWidth - 24, kFooterTop - 22), 12, 12);
    paintSprinkles(painter, theme, page);
}

// Page number in a round badge on the outer edge, the section name beside it.
void paintFooter(QPainter& painter, const Theme& theme, const PageSpec& page) {
    const bool leftHandPage = page.pageNumber % 2 == 0;
    const double middle = (kFooterTop + kPageHeight) / 2;
    const QPointF badge(leftHandPage ? 34 : kPageWidth - 34, middle);
    QPainterPath circle;
    circle.addEllipse(badge, 10, 10);
    fillPath(painter, circle, theme.accent);
    const QRectF numberBox(badge.x() - 7, badge.y() - 6, 14, 12);
    fillPath(painter,
             pageart::fitTextPath(QString::number(page.pageNumber), pageart::englishFont(true),
                                  numberBox, 11, Qt::AlignCenter, 1),
             Qt::white);
    const QRectF nameBox = leftHandPage ? QRectF(52, middle - 7, 300, 14)
                                        : QRectF(kPageWidth - 352, middle - 7, 300, 14);
    fillPath(painter,
             pageart::fitTextPath(page.sectionName, pageart::englishFont(true), nameBox, 11,
                                  leftHandPage ? Qt::AlignLeft : Qt::AlignRight, 1),
             theme.deep);
}

void paintAnswerBox(QPainter& painter, const Theme& theme, const QRect& box) {
    const QRectF area = insideOutline(QRectF(box), 0.8);
    fillPath(painter, roundedRect(area, 2), Qt::white, withAlpha(theme.accent, 150), 0.8);
}

// ---------------------------------------------------------------------------------------------
// Entries

QString printedEnglish(const PageItem& item) {
    return item.english == QLatin1String("$") ? QString() : item.english;
}

void paintTitle(QPainter& painter, const Theme& theme, const PageItem& item) {
    const QRectF rect(item.rect);
    const double radius = std::min(rect.height() / 2, 14.0);
    const double lip = std::clamp(rect.height() * 0.08, 1.0, 3.0);
    fillPath(painter, roundedRect(rect, radius), theme.accent.darker(125));
    fillPath(painter, roundedRect(rect.adjusted(0, 0, 0, -lip), radius), theme.accent);
    const double h = rect.height() - lip;
    fillPath(painter,
             roundedRect(QRectF(rect.left() + radius * 0.6, rect.top() + h * 0.12,
                                rect.width() - radius * 1.2, h * 0.16),
                         h * 0.08),
             QColor(255, 255, 255, 60));
    const QRectF textBox = rect.adjusted(h * 0.45, h * 0.14, -h * 0.45, -lip - h * 0.12);
    const QPainterPath letters = pageart::fitTextPath(
        printedEnglish(item), pageart::englishFont(true), textBox, h * 0.62, Qt::AlignCenter);
    const double drop = std::min(h * 0.04, textBox.bottom() - letters.boundingRect().bottom());
    if (drop > 0) fillPath(painter, letters.translated(0, drop), theme.deep);
    fillPath(painter, letters, Qt::white);
}

void paintSpeech(QPainter& painter, const Theme& theme, const PageItem& item) {
    const QRectF rect(item.rect);
    const double line = 1.2;
    const double tail = rect.height() >= 22 ? std::clamp(rect.height() * 0.2, 4.0, 9.0) : 0.0;
    const QRectF body = insideOutline(rect, line).adjusted(0, 0, 0, -tail);
    const double radius = std::min(body.height() * 0.4, 14.0);
    QPainterPath bubble = roundedRect(body, radius);
    if (tail > 0) {
        const double x = body.left() + std::min(body.width() * 0.22, 26.0);
        QPainterPath point(QPointF(x, body.bottom() - 2));
        point.lineTo(x + tail * 1.6, body.bottom() - 2);
        point.lineTo(x - tail * 0.2, body.bottom() + tail);
        point.closeSubpath();
        bubble = bubble.united(point);
    }
    fillPath(painter, bubble, kCard, theme.accent.darker(110), line);
    const double padX = std::min(body.height() * 0.35, 12.0);
    const QRectF textBox = body.adjusted(padX, body.height() * 0.14, -padX, -body.height() * 0.14);
    fillPath(painter,
             pageart::fitTextPath(printedEnglish(item), pageart::englishFont(true), textBox,
                                  body.height() * 0.5, Qt::AlignCenter),
             kInk);
}

void paintWordCard(QPainter& painter, const Theme& theme, const PageItem& item, bool wordList) {
    const QRectF rect(item.rect);
    const double line = 1.2;
    const double shadow = std::min(2.0, rect.height() * 0.08);
    const QRectF card = insideOutline(rect, line).adjusted(0, 0, 0, -shadow);
    const double radius = std::min(card.height() * 0.25, 7.0);
    fillPath(painter, roundedRect(card.translated(0, shadow), radius), withAlpha(theme.deep, 60));
    fillPath(painter, roundedRect(card, radius), kCard, theme.accent, line);
    const QString chinese = item.chinese == QLatin1String("$") ? QString() : item.chinese;
    const QString english = printedEnglish(item);
    const double pad = std::min(card.height() * 0.18, 6.0);
    const QRectF inner = card.adjusted(pad, pad * 0.7, -pad, -pad * 0.7);
    if (!wordList || chinese.isEmpty()) {
        fillPath(painter,
                 pageart::fitTextPath(english, pageart::englishFont(true), inner,
                                      card.height() * 0.6, Qt::AlignCenter),
                 kInk);
        return;
    }
    // Word lists: the English word and, smaller and softer, its Chinese meaning.
    QRectF englishBox;
    QRectF chineseBox;
    if (inner.width() > inner.height() * 3.2) {
        englishBox = QRectF(inner.left(), inner.top(), inner.width() * 0.6, inner.height());
        chineseBox = QRectF(englishBox.right() + pad, inner.top() + inner.height() * 0.08,
                            inner.width() * 0.4 - pad, inner.height() * 0.84);
    } else {
        englishBox = QRectF(inner.left(), inner.top(), inner.width(), inner.height() * 0.6);
        chineseBox = QRectF(inner.left(), englishBox.bottom(), inner.width(), inner.height() * 0.4);
    }
    const Qt::Alignment side =
        inner.width() > inner.height() * 3.2 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter;
    fillPath(painter,
             pageart::fitTextPath(english, pageart::englishFont(true), englishBox,
                                  englishBox.height() * 0.8, side),
             kInk);
    fillPath(painter,
             pageart::fitTextPath(chinese, pageart::chineseFont(false), chineseBox,
                                  chineseBox.height() * 0.8, side),
             theme.deep);
}

// The word under a drawing, on a small rounded tag.
void paintWordTag(QPainter& painter, const Theme& theme, const QString& english,
                  const QRectF& labelRect) {
    const double h = labelRect.height();
    const QRectF textSpace = labelRect.adjusted(h * 0.4, h * 0.2, -h * 0.4, -h * 0.2);
    const QPainterPath letters =
        pageart::fitTextPath(english, pageart::englishFont(true), textSpace,
                             textSpace.height() * 0.85, Qt::AlignCenter, 1);
    QRectF tag = letters.boundingRect().adjusted(-h * 0.4, 0, h * 0.4, 0);
    tag.setTop(labelRect.top());
    tag.setBottom(labelRect.bottom());
    tag = tag.intersected(insideOutline(labelRect, 1));
    fillPath(painter, roundedRect(tag, tag.height() / 2), kCard, theme.accent, 1);
    fillPath(painter, letters, kInk);
}

void paintPictureWithWord(QPainter& painter, const Theme& theme, const PageItem& item) {
    const QRectF rect(item.rect);
    const QString english = printedEnglish(item);
    if (english.isEmpty()) {
        drawThing(painter, rect, item.thing, item.colour);
        return;
    }
    const double labelHeight =
        std::min(std::clamp(rect.height() * 0.24, 11.0, 26.0), rect.height() * 0.4);
    const double gap = labelHeight * 0.15;
    const QRectF pictureArea(rect.left(), rect.top(), rect.width(), rect.height() - labelHeight);
    QRectF drawn = pageart::thingFootprint(pictureArea, item.thing, item.colour);
    if (drawn.isEmpty()) drawn = pictureArea;
    // The drawing and its word stay together as one group, centred in the hotspot; the shift
    // only ever moves the drawing down towards the word, never out of the hotspot.
    const double groupHeight = std::min(drawn.height() + gap + labelHeight, rect.height());
    const double shift =
        std::max(0.0, rect.top() + (rect.height() - groupHeight) / 2 - drawn.top());
    drawThing(painter, pictureArea.translated(0, shift), item.thing, item.colour);
    const double labelTop = std::min(rect.bottom() - labelHeight, drawn.bottom() + shift + gap);
    paintWordTag(painter, theme, english, QRectF(rect.left(), labelTop, rect.width(), labelHeight));
}

void paintStarIcon(QPainter& painter, const QRectF& box) {
    const QPointF c = box.center();
    const double r = box.width() * 0.42;
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const double a = -M_PI / 2 + i * M_PI / 5;
        const QPointF p = c + QPointF(std::cos(a), std::sin(a)) * (i % 2 == 0 ? r : r * 0.45);
        if (i == 0) {
            star.moveTo(p);
        } else {
            star.lineTo(p);
        }
    }
    star.closeSubpath();
    fillPath(painter, star.translated(0, r * 0.06), QColor(0xFF, 0xD2, 0x3F), outlineColour(),
             std::max(0.6, r * 0.12));
}

bool isListening(const QString& text) {
    return text.contains(QLatin1String("listen"), Qt::CaseInsensitive);
}

void paintInstruction(QPainter& painter, const Theme& theme, const PageItem& item) {
    const QRectF rect(item.rect);
    const QString text = item.english == QLatin1String("$") ? item.say : item.english;
    const double line = 1.0;
    const QRectF strip = insideOutline(rect, line);
    fillPath(painter, roundedRect(strip, strip.height() / 2), withAlpha(theme.soft, 200),
             theme.accent, line);
    const double iconSize = std::min(strip.height() - 2, strip.width() * 0.3);
    const QRectF icon(strip.left() + (strip.height() - iconSize) / 2,
                      strip.center().y() - iconSize / 2, iconSize, iconSize);
    QPainterPath badge;
    badge.addEllipse(icon);
    fillPath(painter, badge, kCard);
    if (isListening(text)) {
        drawThing(painter,
                  icon.adjusted(iconSize * 0.12, iconSize * 0.1, -iconSize * 0.12, -iconSize * 0.1),
                  QStringLiteral("ear"), QString());
    } else {
        paintStarIcon(painter, icon);
    }
    const double padY = strip.height() * 0.16;
    const QRectF textBox(
        icon.right() + strip.height() * 0.25, strip.top() + padY,
        strip.right() - strip.height() * 0.4 - icon.right() - strip.height() * 0.25,
        strip.height() - 2 * padY);
    fillPath(painter,
             pageart::fitTextPath(text, pageart::englishFont(true), textBox, strip.height() * 0.55,
                                  Qt::AlignLeft | Qt::AlignVCenter),
             kInk);
}

void paintItem(QPainter& painter, const Theme& theme, const PageItem& item, bool wordList) {
    if (item.rect.isEmpty()) return;
    painter.save();
    if (item.kind == QLatin1String("title")) {
        paintTitle(painter, theme, item);
    } else if (item.kind == QLatin1String("text")) {
        paintSpeech(painter, theme, item);
    } else if (item.kind == QLatin1String("word")) {
        paintWordCard(painter, theme, item, wordList);
    } else if (item.kind == QLatin1String("pic")) {
        drawThing(painter, QRectF(item.rect), item.thing, item.colour);
    } else if (item.kind == QLatin1String("picword")) {
        paintPictureWithWord(painter, theme, item);
    } else if (item.kind == QLatin1String("instr")) {
        paintInstruction(painter, theme, item);
    }
    painter.restore();
}

}  // namespace

QImage renderPage(const PageSpec& page) {
    if (page.pixelSize.isEmpty()) return QImage();
    QImage image(page.pixelSize, QImage::Format_RGB32);
    if (image.isNull()) return image;
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    painter.scale(page.pixelSize.width() / kPageWidth, page.pixelSize.height() / kPageHeight);
    const Theme& theme = themeByName(page.theme);
    paintPaper(painter, theme, page);
    paintFooter(painter, theme, page);
    for (const QRect& box : page.answerBoxes) paintAnswerBox(painter, theme, box);
    for (const PageItem& item : page.items) paintItem(painter, theme, item, page.wordList);
    painter.end();
    return image;
}

}  // namespace art
