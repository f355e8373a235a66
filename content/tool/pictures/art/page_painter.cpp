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

#include "pictures/art/page_art.h"
#include "pictures/art/things.h"

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

FittedText fitText(const QString& text, const QFont& font, const QRectF& box, double maxPixelSize,
                   Qt::Alignment align, int maxLines) {
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
    return {place.map(chosen.path), scale * kLayoutPixels};
}

QPainterPath fitTextPath(const QString& text, const QFont& font, const QRectF& box,
                         double maxPixelSize, Qt::Alignment align, int maxLines) {
    return fitText(text, font, box, maxPixelSize, align, maxLines).path;
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
    for (const QList<PageItem>* list : {&page.items, &page.drawings}) {
        for (const PageItem& item : *list)
            taken.append(QRectF(item.rect).adjusted(-10, -10, 10, 10));
    }
    for (const QList<QRect>* list : {&page.answerBoxes, &page.listenIcons}) {
        for (const QRect& box : *list) taken.append(QRectF(box).adjusted(-10, -10, 10, 10));
    }
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

QString shownEnglish(const PageItem& item) {
    return item.english == QLatin1String("$") ? QString() : item.english;
}

// What a page's painting needs besides an item: the theme, the whole page and the letter size
// of the words under pictures.
struct Look {
    const Theme& theme;
    const PageSpec& page;
    double labelPixels;
};

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
        shownEnglish(item), pageart::englishFont(true), textBox, h * 0.62, Qt::AlignCenter);
    const double drop = std::min(h * 0.04, textBox.bottom() - letters.boundingRect().bottom());
    if (drop > 0) fillPath(painter, letters.translated(0, drop), theme.deep);
    fillPath(painter, letters, Qt::white);
}

// ---------------------------------------------------------------------------------------------
// Speech boxes

constexpr double kSpeechLine = 1.2;

QRectF speechBody(const PageItem& item) {
    return insideOutline(QRectF(item.rect), kSpeechLine);
}

double speechRadius(const QRectF& body) {
    return std::min(body.height() * 0.4, 14.0);
}

pageart::FittedText speechText(const PageItem& item) {
    const QRectF body = speechBody(item);
    const double padX = std::min(body.height() * 0.35, 12.0);
    const QRectF textBox = body.adjusted(padX, body.height() * 0.14, -padX, -body.height() * 0.14);
    return pageart::fitText(shownEnglish(item), pageart::englishFont(true), textBox,
                            body.height() * 0.5, Qt::AlignCenter);
}

// The picture of whoever says a speech box's line, as its by: option names it.
const PageItem* speakerOf(const PageSpec& page, const PageItem& line) {
    if (line.speaker <= 0) return nullptr;
    for (const PageItem& other : page.items) {
        if (other.number == line.speaker &&
            (other.kind == QLatin1String("pic") || other.kind == QLatin1String("picword"))) {
            return &other;
        }
    }
    return nullptr;
}

// The tail's base width, along the box's edge.
double tailWidth(const QRectF& body) {
    return std::min(body.height() * 0.42, 12.0);
}

void paintSpeech(QPainter& painter, const Look& look, const PageItem& item) {
    const QRectF body = speechBody(item);
    const double radius = speechRadius(body);
    QPainterPath bubble = roundedRect(body, radius);
    const QLineF tail = speechTail(look.page, item);
    if (!tail.isNull()) {
        // The base runs along the edge and reaches 2 units into the box, so the two shapes join.
        const QPointF along = std::abs(tail.p1().y() - body.top()) < 0.5 ||
                                      std::abs(tail.p1().y() - body.bottom()) < 0.5
                                  ? QPointF(1, 0)
                                  : QPointF(0, 1);
        const QPointF inward = (tail.p1() - tail.p2()) / std::max(tail.length(), 1.0) * 2;
        const double half = tailWidth(body) / 2;
        QPainterPath point(tail.p1() - along * half + inward);
        point.lineTo(tail.p1() + along * half + inward);
        point.lineTo(tail.p2());
        point.closeSubpath();
        bubble = bubble.united(point);
    }
    fillPath(painter, bubble, kCard, look.theme.accent.darker(110), kSpeechLine);
    fillPath(painter, speechText(item).path, kInk);
}

// ---------------------------------------------------------------------------------------------
// Word cards

struct CardBoxes {
    QRectF card;
    QRectF english;
    QRectF chinese;  // empty when no Chinese is printed
    Qt::Alignment align = Qt::AlignCenter;
    Qt::Alignment chineseAlign = Qt::AlignCenter;
};

CardBoxes cardBoxes(const PageItem& item, bool wordList) {
    const QRectF rect(item.rect);
    const double shadow = std::min(2.0, rect.height() * 0.08);
    CardBoxes boxes;
    boxes.card = insideOutline(rect, 1.2).adjusted(0, 0, 0, -shadow);
    const QRectF& card = boxes.card;
    const QString chinese = item.chinese == QLatin1String("$") ? QString() : item.chinese;
    if (!wordList || chinese.isEmpty()) {
        const double pad = std::min(card.height() * 0.18, 6.0);
        boxes.english = card.adjusted(pad, pad * 0.7, -pad, -pad * 0.7);
        return boxes;
    }
    // Word lists: the English word and, smaller and softer, its Chinese meaning, both well
    // inside the card's rounded edge.
    const double padX = std::max(card.height() * 0.3, 7.0);
    const double padY = card.height() * 0.1;
    const QRectF inner = card.adjusted(padX, padY, -padX, -padY);
    if (inner.width() > inner.height() * 3.2) {
        // Side by side: English from the left edge, Chinese up to the right edge, each as wide
        // as it needs at its size; both shrink together when the two would not fit.
        const double gap = inner.height() * 0.6;
        QFont english = pageart::englishFont(true);
        QFont meaning = pageart::chineseFont(false);
        english.setPixelSize(100);
        meaning.setPixelSize(100);
        const double englishSize = inner.height() * 0.8;
        const double meaningSize = inner.height() * 0.72;
        const double englishWidth =
            QFontMetricsF(english).horizontalAdvance(shownEnglish(item)) * englishSize / 100;
        const double meaningWidth =
            QFontMetricsF(meaning).horizontalAdvance(chinese) * meaningSize / 100;
        const double fit =
            std::min(1.0, (inner.width() - gap) / std::max(1.0, englishWidth + meaningWidth));
        boxes.english = QRectF(inner.left(), inner.top(), englishWidth * fit + 1, inner.height());
        const double meaningHeight = inner.height() * 0.8;
        boxes.chinese =
            QRectF(inner.right() - meaningWidth * fit - 1, inner.center().y() - meaningHeight / 2,
                   meaningWidth * fit + 1, meaningHeight);
        boxes.align = Qt::AlignLeft | Qt::AlignVCenter;
        boxes.chineseAlign = Qt::AlignRight | Qt::AlignVCenter;
    } else {
        boxes.english = QRectF(inner.left(), inner.top(), inner.width(), inner.height() * 0.6);
        boxes.chinese =
            QRectF(inner.left(), boxes.english.bottom(), inner.width(), inner.height() * 0.4);
    }
    return boxes;
}

pageart::FittedText cardEnglish(const PageItem& item, const CardBoxes& boxes) {
    const double size =
        boxes.chinese.isEmpty() ? boxes.card.height() * 0.6 : boxes.english.height() * 0.8;
    return pageart::fitText(shownEnglish(item), pageart::englishFont(true), boxes.english, size,
                            boxes.align);
}

void paintWordCard(QPainter& painter, const Theme& theme, const PageItem& item, bool wordList) {
    const CardBoxes boxes = cardBoxes(item, wordList);
    const QRectF& card = boxes.card;
    const double shadow = std::min(2.0, QRectF(item.rect).height() * 0.08);
    const double radius = std::min(card.height() * 0.25, 7.0);
    fillPath(painter, roundedRect(card.translated(0, shadow), radius), withAlpha(theme.deep, 60));
    fillPath(painter, roundedRect(card, radius), kCard, theme.accent, 1.2);
    fillPath(painter, cardEnglish(item, boxes).path, kInk);
    if (boxes.chinese.isEmpty()) return;
    fillPath(painter,
             pageart::fitTextPath(item.chinese, pageart::chineseFont(false), boxes.chinese,
                                  boxes.chinese.height() * 0.8, boxes.chineseAlign, 1),
             theme.deep);
}

// ---------------------------------------------------------------------------------------------
// Pictures with their word

// Where a picture's word goes: a tag along the bottom of the hotspot, its letters as large as
// the page's other English when the hotspot is wide enough.
struct Label {
    pageart::FittedText letters;
    QRectF tag;
};

Label pictureLabel(const PageItem& item, double pixels) {
    const QRectF rect(item.rect);
    // A line of this font is about 1.33 letter sizes high; the tag leaves a little air round it.
    const double height = std::min(pixels * 1.62, rect.height() * 0.45);
    const double letterRoom = height * 0.88;
    const double pad = height * 0.4;
    const QRectF textSpace(rect.left() + pad, rect.bottom() - 1 - height / 2 - letterRoom / 2,
                           rect.width() - 2 * pad, letterRoom);
    Label label;
    label.letters = pageart::fitText(shownEnglish(item), pageart::englishFont(true), textSpace,
                                     height / 1.62, Qt::AlignCenter, 1);
    QRectF tag = label.letters.path.boundingRect().adjusted(-pad, 0, pad, 0);
    tag.setTop(rect.bottom() - 1 - height);
    tag.setHeight(height);
    label.tag = tag.intersected(insideOutline(rect, 1));
    return label;
}

void paintPictureWithWord(QPainter& painter, const Look& look, const PageItem& item) {
    const QRectF rect(item.rect);
    if (shownEnglish(item).isEmpty()) {
        drawThing(painter, rect, item.thing, item.colour);
        return;
    }
    const Label label = pictureLabel(item, look.labelPixels);
    const double gap = label.tag.height() * 0.15;
    const QRectF pictureArea(rect.left(), rect.top(), rect.width(),
                             label.tag.top() - gap - rect.top());
    // The drawing stands on its word: moved down onto the tag, never out of its area.
    const QRectF drawn = pageart::thingFootprint(pictureArea, item.thing, item.colour);
    const double shift =
        drawn.isEmpty() ? 0.0 : std::max(0.0, pictureArea.bottom() - drawn.bottom());
    drawThing(painter, pictureArea.translated(0, shift), item.thing, item.colour);
    fillPath(painter, roundedRect(label.tag, label.tag.height() / 2), kCard, look.theme.accent, 1);
    fillPath(painter, label.letters.path, kInk);
}

// ---------------------------------------------------------------------------------------------
// Instruction strips

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

QString stripText(const PageItem& item) {
    return item.english == QLatin1String("$") ? item.say : item.english;
}

struct StripBoxes {
    QRectF strip;
    QRectF badge;
    QRectF text;
    bool programIcon = false;  // the program's loudspeaker lies on the badge
};

StripBoxes stripBoxes(const PageSpec& page, const PageItem& item) {
    StripBoxes boxes;
    boxes.strip = insideOutline(QRectF(item.rect), 1.0);
    const QRectF& strip = boxes.strip;
    const double iconSize = std::min(strip.height() - 2, strip.width() * 0.3);
    boxes.badge = QRectF(strip.left() + (strip.height() - iconSize) / 2,
                         strip.center().y() - iconSize / 2, iconSize, iconSize);
    for (const QRect& icon : page.listenIcons) {
        if (!QRectF(icon).intersects(strip)) continue;
        // A white round seat just bigger than the loudspeaker the program lays on the strip.
        const double side = std::max(QRectF(icon).width(), QRectF(icon).height()) + 4;
        boxes.badge =
            QRectF(QRectF(icon).center() - QPointF(side / 2, side / 2), QSizeF(side, side));
        boxes.programIcon = true;
    }
    const double padY = strip.height() * 0.16;
    const double left = boxes.badge.right() + strip.height() * 0.25;
    boxes.text = QRectF(left, strip.top() + padY, strip.right() - strip.height() * 0.4 - left,
                        strip.height() - 2 * padY);
    return boxes;
}

pageart::FittedText stripLetters(const PageSpec& page, const PageItem& item) {
    const StripBoxes boxes = stripBoxes(page, item);
    return pageart::fitText(stripText(item), pageart::englishFont(true), boxes.text,
                            boxes.strip.height() * 0.55, Qt::AlignLeft | Qt::AlignVCenter);
}

void paintInstruction(QPainter& painter, const Look& look, const PageItem& item) {
    const StripBoxes boxes = stripBoxes(look.page, item);
    fillPath(painter, roundedRect(boxes.strip, boxes.strip.height() / 2),
             withAlpha(look.theme.soft, 200), look.theme.accent, 1.0);
    // The program's loudspeaker is a square picture: its seat is a rounded square under it.
    QPainterPath badge;
    if (boxes.programIcon) {
        badge = roundedRect(boxes.badge, boxes.badge.width() * 0.25);
    } else {
        badge.addEllipse(boxes.badge);
    }
    fillPath(painter, badge, kCard);
    const double s = boxes.badge.width();
    if (boxes.programIcon) {
        // The program's own loudspeaker goes here; drawing an ear too would show two icons.
    } else if (isListening(stripText(item))) {
        drawThing(painter, boxes.badge.adjusted(s * 0.12, s * 0.1, -s * 0.12, -s * 0.1),
                  QStringLiteral("ear"), QString());
    } else {
        paintStarIcon(painter, boxes.badge);
    }
    fillPath(painter, stripLetters(look.page, item).path, kInk);
}

// ---------------------------------------------------------------------------------------------
// Headings that nobody presses (the word lists' unit headings)

pageart::FittedText headingLetters(const PageItem& heading) {
    const QRectF rect(heading.rect);
    const double h = rect.height();
    return pageart::fitText(heading.english, pageart::englishFont(true),
                            rect.adjusted(h * 0.5, h * 0.08, -h * 0.5, -h * 0.08), h * 0.64,
                            Qt::AlignLeft | Qt::AlignVCenter, 1);
}

void paintHeading(QPainter& painter, const Theme& theme, const PageItem& heading) {
    const QRectF rect(heading.rect);
    const pageart::FittedText letters = headingLetters(heading);
    QRectF tab = insideOutline(rect, 1);
    tab.setRight(std::min(tab.right(), letters.path.boundingRect().right() + rect.height() * 0.5));
    fillPath(painter, roundedRect(tab, rect.height() / 2), theme.accent, theme.accent.darker(115),
             1);
    fillPath(painter, letters.path, Qt::white);
}

void paintItem(QPainter& painter, const Look& look, const PageItem& item) {
    if (item.rect.isEmpty()) return;
    painter.save();
    if (item.kind == QLatin1String("title")) {
        paintTitle(painter, look.theme, item);
    } else if (item.kind == QLatin1String("text")) {
        paintSpeech(painter, look, item);
    } else if (item.kind == QLatin1String("word")) {
        paintWordCard(painter, look.theme, item, look.page.wordList);
    } else if (item.kind == QLatin1String("pic")) {
        drawThing(painter, QRectF(item.rect), item.thing, item.colour);
    } else if (item.kind == QLatin1String("picword")) {
        paintPictureWithWord(painter, look, item);
    } else if (item.kind == QLatin1String("instr")) {
        paintInstruction(painter, look, item);
    } else if (item.kind == QLatin1String("heading")) {
        paintHeading(painter, look.theme, item);
    }
    painter.restore();
}

// The letter size of the words under pictures: that of the page's speech boxes and strips (the
// middle one), so the new words are never the smallest print on the page.
double labelPixels(const PageSpec& page) {
    QList<double> sizes;
    for (const PageItem& item : page.items) {
        if (item.kind == QLatin1String("text") && !shownEnglish(item).isEmpty()) {
            sizes.append(speechText(item).pixels);
        } else if (item.kind == QLatin1String("instr")) {
            sizes.append(stripLetters(page, item).pixels);
        }
    }
    if (sizes.isEmpty()) return 14;
    std::sort(sizes.begin(), sizes.end());
    return sizes[sizes.size() / 2];
}

}  // namespace

QList<PrintedText> printedEnglish(const PageSpec& page) {
    QList<PrintedText> texts;
    const double label = labelPixels(page);
    for (const PageItem& item : page.items) {
        const QString english = shownEnglish(item);
        if (item.kind == QLatin1String("text") && !english.isEmpty()) {
            texts.append({item.number, item.kind, english, speechText(item).pixels});
        } else if (item.kind == QLatin1String("instr")) {
            texts.append(
                {item.number, item.kind, stripText(item), stripLetters(page, item).pixels});
        } else if (item.kind == QLatin1String("word") && !english.isEmpty()) {
            texts.append({item.number, item.kind, english,
                          cardEnglish(item, cardBoxes(item, page.wordList)).pixels});
        } else if (item.kind == QLatin1String("picword") && !english.isEmpty()) {
            texts.append({item.number, QStringLiteral("label"), english,
                          pictureLabel(item, label).letters.pixels});
        }
    }
    for (const PageItem& drawing : page.drawings) {
        if (drawing.kind == QLatin1String("heading")) {
            texts.append({0, drawing.kind, drawing.english, headingLetters(drawing).pixels});
        }
    }
    return texts;
}

QLineF speechTail(const PageSpec& page, const PageItem& item) {
    if (item.kind != QLatin1String("text") || item.rect.height() < 16) return {};
    const PageItem* speaker = speakerOf(page, item);
    if (!speaker) return {};
    const QPointF head = pageart::headPoint(QRectF(speaker->rect), speaker->thing);
    const QRectF body = speechBody(item);
    if (body.contains(head)) return {};
    const double dx = std::max({body.left() - head.x(), head.x() - body.right(), 0.0});
    const double dy = std::max({body.top() - head.y(), head.y() - body.bottom(), 0.0});
    const double keep = speechRadius(body) + tailWidth(body) / 2 + 1;
    QPointF base;
    if (dy > 0 && dy * 1.6 >= dx) {
        // Below or above: the tail leaves the long edge, as near the head as the corners allow.
        const double low = body.left() + keep;
        const double high = std::max(low, body.right() - keep);
        base = QPointF(std::clamp(head.x(), low, high),
                       head.y() > body.bottom() ? body.bottom() : body.top());
    } else {
        base = QPointF(head.x() < body.left() ? body.left() : body.right(), body.center().y());
    }
    const QLineF toHead(base, head);
    const double length = std::clamp(toHead.length() - 6, 5.0, 12.0);
    const QLineF tail(base, base + (head - base) / toHead.length() * length);
    // A tail that would run into another line of print is left off: a box stacked under the
    // speaker's first box needs none.
    const QRectF reach = QRectF(tail.p1(), tail.p2()).normalized().adjusted(-3, -3, 3, 3);
    for (const PageItem& other : page.items) {
        if (&other == &item || other.rect == item.rect) continue;
        const bool print =
            other.kind == QLatin1String("text") || other.kind == QLatin1String("word") ||
            other.kind == QLatin1String("instr") || other.kind == QLatin1String("title");
        if (print && QRectF(other.rect).intersects(reach)) return {};
    }
    return tail;
}

QImage renderPage(const PageSpec& page) {
    if (page.pixelSize.isEmpty()) return QImage();
    QImage image(page.pixelSize, QImage::Format_RGB32);
    if (image.isNull()) return image;
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    painter.scale(page.pixelSize.width() / kPageWidth, page.pixelSize.height() / kPageHeight);
    const Look look{themeByName(page.theme), page, labelPixels(page)};
    paintPaper(painter, look.theme, page);
    paintFooter(painter, look.theme, page);
    for (const PageItem& drawing : page.drawings) paintItem(painter, look, drawing);
    for (const QRect& box : page.answerBoxes) paintAnswerBox(painter, look.theme, box);
    for (const PageItem& item : page.items) paintItem(painter, look, item);
    painter.end();
    return image;
}

}  // namespace art
