// Page pictures: the drawing vocabulary is complete and every drawing stays inside its
// rectangle; pages come out at the asked size with each entry on its hotspot, text shrinks to
// fit instead of spilling, and parallel rendering gives the same pictures as serial rendering.

#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>
#include <thread>
#include <vector>

#include "art/page_art.h"
#include "art/things.h"

// Readable names in GoogleTest's messages about parameters.
void PrintTo(const QString& text, std::ostream* out) {
    *out << text.toStdString();
}

namespace {

// The backticked single words of FORMAT.md's drawing vocabulary: things, then colours.
struct Vocabulary {
    QStringList things;
    QStringList colours;
};

Vocabulary vocabularyFromFormat() {
    QFile file(QStringLiteral(QCBOOK_SOURCE_DIR "/content/FORMAT.md"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QString text = QString::fromUtf8(file.readAll());
    const qsizetype start = text.indexOf(QStringLiteral("## Drawing vocabulary"));
    if (start < 0) return {};
    static const QRegularExpression word(QStringLiteral("`([a-z]+)`"));
    Vocabulary vocabulary;
    bool inColours = false;
    for (const QString& line : text.mid(start).split(QLatin1Char('\n')).mid(1)) {
        if (line.startsWith(QStringLiteral("## "))) break;
        if (line.startsWith(QStringLiteral("COLOUR:"))) inColours = true;
        for (const auto& match : word.globalMatch(line)) {
            (inColours ? vocabulary.colours : vocabulary.things).append(match.captured(1));
        }
    }
    return vocabulary;
}

// A transparent canvas, so every touched pixel shows in its alpha.
QImage canvas(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage drawn(const QString& thing, const QString& colour, const QRect& rect, QSize size) {
    QImage image = canvas(size.width(), size.height());
    QPainter painter(&image);
    art::drawThing(painter, QRectF(rect), thing, colour);
    return image;
}

struct Coverage {
    int inside = 0;     // painted pixels inside the rectangle
    int outside = 0;    // painted pixels outside it
    int onTheEdge = 0;  // painted pixels on the rectangle's outermost pixel ring
    QRect painted;      // bounds of all painted pixels
};

Coverage coverage(const QImage& image, const QRect& rect) {
    Coverage c;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) == 0) continue;
            c.painted |= QRect(x, y, 1, 1);
            if (!rect.contains(x, y)) {
                ++c.outside;
                continue;
            }
            ++c.inside;
            if (x == rect.left() || x == rect.right() || y == rect.top() || y == rect.bottom()) {
                ++c.onTheEdge;
            }
        }
    }
    return c;
}

// The smallest rectangle holding every pixel in which the two pictures differ.
QRect differenceBounds(const QImage& a, const QImage& b) {
    QRect bounds;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

// A design rectangle in the pixels of a page picture of `size`, grown by a pixel for
// antialiasing.
QRect onPicture(const QRect& design, QSize size) {
    const double sx = size.width() / 800.0;
    const double sy = size.height() / 540.0;
    return QRectF(design.x() * sx, design.y() * sy, design.width() * sx, design.height() * sy)
        .toAlignedRect()
        .adjusted(-1, -1, 1, 1);
}

art::PageItem item(const QString& kind, const QRect& rect, const QString& english,
                   const QString& thing = {}, const QString& colour = {}) {
    art::PageItem i;
    i.number = 1;
    i.kind = kind;
    i.thing = thing;
    i.colour = colour;
    i.rect = rect;
    i.english = english;
    i.chinese = QStringLiteral("$");
    return i;
}

art::PageSpec page(QList<art::PageItem> items, QSize size = QSize(2150, 1524)) {
    art::PageSpec sheet;
    sheet.pageNumber = 12;
    sheet.theme = QStringLiteral("sky");
    sheet.sectionName = QStringLiteral("Unit 1");
    sheet.pixelSize = size;
    sheet.items = std::move(items);
    return sheet;
}

// --- The drawing vocabulary ------------------------------------------------------------------

TEST(PageArtVocabulary, EveryThingAndColourOfTheFormatIsKnown) {
    const Vocabulary vocabulary = vocabularyFromFormat();
    ASSERT_GT(vocabulary.things.size(), 70) << "FORMAT.md's vocabulary was not found";
    ASSERT_EQ(vocabulary.colours.size(), 11);
    for (const QString& thing : vocabulary.things) {
        EXPECT_TRUE(art::isKnownThing(thing)) << thing.toStdString();
    }
    for (const QString& colour : vocabulary.colours) {
        EXPECT_TRUE(art::isKnownColour(colour)) << colour.toStdString();
        EXPECT_TRUE(art::colourByName(colour).isValid()) << colour.toStdString();
    }
    const QStringList known = art::knownThings();
    EXPECT_EQ(QSet<QString>(known.begin(), known.end()).size(), known.size()) << "duplicates";
    EXPECT_EQ(QSet<QString>(known.begin(), known.end()),
              QSet<QString>(vocabulary.things.begin(), vocabulary.things.end()));
}

TEST(PageArtVocabulary, UnknownNamesAreReported) {
    for (const char* name : {"dinosaur", "", "Boy", "boy ", "pencil box", "numbers"}) {
        EXPECT_FALSE(art::isKnownThing(QString::fromLatin1(name))) << name;
    }
    for (const char* name : {"gray", "Red", "", "navy", "7"}) {
        EXPECT_FALSE(art::isKnownColour(QString::fromLatin1(name))) << name;
        EXPECT_FALSE(art::colourByName(QString::fromLatin1(name)).isValid()) << name;
    }
}

// --- Drawings stay in their rectangles --------------------------------------------------------

class EveryThing : public testing::TestWithParam<QString> {};

TEST_P(EveryThing, DrawsOnlyInsideItsRectangleWithoutTouchingTheEdge) {
    // Square, wide and tall hotspots, small and big; nothing may be cut off at the edge.
    for (const QRect& rect : {QRect(20, 20, 60, 60), QRect(10, 30, 180, 70), QRect(40, 5, 64, 190),
                              QRect(30, 30, 160, 160)}) {
        const Coverage c = coverage(drawn(GetParam(), {}, rect, QSize(220, 220)), rect);
        EXPECT_EQ(c.outside, 0) << "rect " << rect.width() << "x" << rect.height();
        EXPECT_EQ(c.onTheEdge, 0) << "rect " << rect.width() << "x" << rect.height();
        // Pictures with a word under them are laid out from the drawing's footprint.
        const QRect footprint =
            art::pageart::thingFootprint(QRectF(rect), GetParam(), {}).toAlignedRect();
        EXPECT_TRUE(footprint.adjusted(-1, -1, 1, 1).contains(c.painted)) << "footprint";
        // A drawing fills a good share of the space its proportions leave it.
        const int side = std::min(rect.width(), rect.height());
        EXPECT_GT(c.inside, side * side / 8) << "rect " << rect.width() << "x" << rect.height();
    }
}

INSTANTIATE_TEST_SUITE_P(PageArt, EveryThing, testing::ValuesIn(art::knownThings()),
                         [](const testing::TestParamInfo<QString>& info) {
                             return info.param.toStdString();
                         });

TEST(PageArtDrawing, ColourRecolours) {
    const QRect rect(0, 0, 120, 120);
    for (const char* thing :
         {"balloon", "crayon", "bag", "ball", "car", "apple", "paint", "girl"}) {
        const QImage red =
            drawn(QString::fromLatin1(thing), QStringLiteral("red"), rect, rect.size());
        const QImage blue =
            drawn(QString::fromLatin1(thing), QStringLiteral("blue"), rect, rect.size());
        int bluePixels = 0;
        const QRgb wanted = art::colourByName(QStringLiteral("blue")).rgb();
        for (int y = 0; y < blue.height(); ++y) {
            for (int x = 0; x < blue.width(); ++x) {
                const QRgb p = blue.pixel(x, y);
                if (qAbs(qRed(p) - qRed(wanted)) + qAbs(qGreen(p) - qGreen(wanted)) +
                        qAbs(qBlue(p) - qBlue(wanted)) <
                    30) {
                    ++bluePixels;
                }
            }
        }
        EXPECT_GT(bluePixels, 300) << thing;
        EXPECT_TRUE(differenceBounds(red, blue).isValid()) << thing;
    }
}

TEST(PageArtDrawing, NumbersDrawTheirTextAndLongWordsStillFit) {
    const QRect rect(10, 10, 60, 60);
    const QImage seven = drawn(QStringLiteral("number"), QStringLiteral("7"), rect, QSize(80, 80));
    const QImage twelve =
        drawn(QStringLiteral("number"), QStringLiteral("12"), rect, QSize(80, 80));
    EXPECT_TRUE(differenceBounds(seven, twelve).isValid());
    for (const char* word : {"fourteen", "twenty-one", "1234567890"}) {
        const Coverage c = coverage(
            drawn(QStringLiteral("number"), QString::fromLatin1(word), rect, QSize(80, 80)), rect);
        EXPECT_EQ(c.outside, 0) << word;
        EXPECT_EQ(c.onTheEdge, 0) << word;
        EXPECT_GT(c.inside, 100) << word;
    }
}

TEST(PageArtDrawing, UnknownThingsAndEmptyRectanglesAreHarmless) {
    const QRect rect(10, 10, 50, 50);
    EXPECT_EQ(coverage(drawn(QStringLiteral("dinosaur"), {}, rect, QSize(70, 70)), rect).outside,
              0);
    EXPECT_EQ(
        coverage(drawn(QStringLiteral("boy"), {}, QRect(10, 10, 0, 40), QSize(70, 70)), QRect())
            .outside,
        0);
}

// --- Text fitting ------------------------------------------------------------------------------

TEST(PageArtText, FittedTextStaysInsideItsBox) {
    const QFont font = art::pageart::englishFont(true);
    for (const QRectF& box :
         {QRectF(10, 10, 200, 30), QRectF(0, 0, 40, 13), QRectF(5, 5, 60, 120)}) {
        for (const char* text :
             {"Hi!", "Supercalifragilistic", "Good morning, Miss White. How are you today?",
              "Let's go to the zoo and see the panda, the monkey and the tiger."}) {
            const QPainterPath path = art::pageart::fitTextPath(QString::fromLatin1(text), font,
                                                                box, 100, Qt::AlignCenter);
            ASSERT_FALSE(path.isEmpty()) << text;
            EXPECT_TRUE(box.adjusted(-0.01, -0.01, 0.01, 0.01).contains(path.boundingRect()))
                << text << " in " << box.width() << "x" << box.height();
        }
    }
}

TEST(PageArtText, LongSentencesWrapOntoTwoLinesAndShortOnesDoNot) {
    const QFont font = art::pageart::englishFont(true);
    const QRectF box(0, 0, 160, 60);
    const QPainterPath sentence = art::pageart::fitTextPath(
        QStringLiteral("Nice to meet you too, Miss White."), font, box, 40, Qt::AlignCenter);
    const QPainterPath word =
        art::pageart::fitTextPath(QStringLiteral("Hello"), font, box, 20, Qt::AlignCenter);
    // Two lines of a usable size fill more than half the box height; one line would not.
    EXPECT_GT(sentence.boundingRect().height(), box.height() * 0.5);
    // The size limit holds, and a single word stays on one line.
    EXPECT_LT(word.boundingRect().height(), 20 * 1.05);
    EXPECT_TRUE(
        art::pageart::fitTextPath(QStringLiteral("   "), font, box, 20, Qt::AlignCenter).isEmpty());
    EXPECT_TRUE(art::pageart::fitTextPath(QStringLiteral("Hi"), font, QRectF(0, 0, 0, 10), 20,
                                          Qt::AlignCenter)
                    .isEmpty());
}

// --- Whole pages --------------------------------------------------------------------------------

TEST(PageArtPage, PicturesHaveExactlyTheAskedSize) {
    for (const QSize& size : {QSize(2150, 1524), QSize(801, 560), QSize(800, 540)}) {
        const QImage image = art::renderPage(page(
            {item(QStringLiteral("title"), QRect(24, 12, 300, 40), QStringLiteral("Unit one"))},
            size));
        EXPECT_EQ(image.size(), size);
        EXPECT_EQ(image.format(), QImage::Format_RGB32);
    }
    EXPECT_TRUE(art::renderPage(page({}, QSize(0, 0))).isNull());
}

TEST(PageArtPage, EachEntryLandsOnItsHotspot) {
    const QSize size(2150, 1524);
    const QRect hotspot(600, 300, 90, 120);
    struct Change {
        art::PageItem before;
        art::PageItem after;
    };
    const QList<Change> changes{
        {item(QStringLiteral("pic"), hotspot, QStringLiteral("$"), QStringLiteral("ball")),
         item(QStringLiteral("pic"), hotspot, QStringLiteral("$"), QStringLiteral("star"))},
        {item(QStringLiteral("picword"), hotspot, QStringLiteral("pear"), QStringLiteral("pear")),
         item(QStringLiteral("picword"), hotspot, QStringLiteral("kite"), QStringLiteral("kite"))},
        {item(QStringLiteral("word"), hotspot, QStringLiteral("$")),
         item(QStringLiteral("word"), hotspot,
              QStringLiteral("A very long word card text that has to shrink a lot"))},
        {item(QStringLiteral("text"), hotspot, QStringLiteral("$")),
         item(QStringLiteral("text"), hotspot,
              QStringLiteral("Hello! I'm Tom. What's your name?"))},
        {item(QStringLiteral("instr"), hotspot, QStringLiteral("Listen")),
         item(QStringLiteral("instr"), hotspot, QStringLiteral("Look and say the words"))},
    };
    for (const Change& change : changes) {
        const QRect diff = differenceBounds(art::renderPage(page({change.before}, size)),
                                            art::renderPage(page({change.after}, size)));
        ASSERT_TRUE(diff.isValid()) << change.after.kind.toStdString();
        EXPECT_TRUE(onPicture(hotspot, size).contains(diff)) << change.after.kind.toStdString();
    }
}

TEST(PageArtPage, LongTextIsShrunkToFillItsCardNotCut) {
    const QSize size(800, 540);
    const QRect card(100, 100, 120, 30);
    const QImage empty =
        art::renderPage(page({item(QStringLiteral("word"), card, QStringLiteral("$"))}, size));
    const QImage filled = art::renderPage(page(
        {item(QStringLiteral("word"), card, QStringLiteral("Thisisaverylongwordwithoutanyspaces"))},
        size));
    const QRect ink = differenceBounds(empty, filled);
    ASSERT_TRUE(ink.isValid());
    EXPECT_TRUE(card.contains(ink));
    EXPECT_GT(ink.width(), card.width() * 0.7) << "the text should be shrunk, not left tiny";
}

TEST(PageArtPage, PlaceholderInstructionsPrintWhatTheRecordingSays) {
    const QRect strip(40, 450, 300, 28);
    art::PageItem placeholder = item(QStringLiteral("instr"), strip, QStringLiteral("$"));
    placeholder.say = QStringLiteral("Listen and point.");
    const art::PageItem written =
        item(QStringLiteral("instr"), strip, QStringLiteral("Listen and point."));
    const QSize size(800, 540);
    EXPECT_EQ(art::renderPage(page({placeholder}, size)), art::renderPage(page({written}, size)));
}

TEST(PageArtPage, ChineseIsPrintedOnlyOnWordListPages) {
    const QRect card(100, 100, 200, 40);
    art::PageItem withChinese = item(QStringLiteral("word"), card, QStringLiteral("ruler"));
    withChinese.chinese = QStringLiteral("尺子");
    const art::PageItem withoutChinese =
        item(QStringLiteral("word"), card, QStringLiteral("ruler"));
    const QSize size(800, 540);
    art::PageSpec lesson = page({withChinese}, size);
    EXPECT_EQ(art::renderPage(lesson), art::renderPage(page({withoutChinese}, size)));
    lesson.wordList = true;
    art::PageSpec wordList = page({withoutChinese}, size);
    wordList.wordList = true;
    const QRect chinese = differenceBounds(art::renderPage(lesson), art::renderPage(wordList));
    ASSERT_TRUE(chinese.isValid());
    EXPECT_TRUE(card.contains(chinese));
}

TEST(PageArtPage, DecorationsKeepAwayFromHotspotsAndAnswerBoxes) {
    // Pages 10 and 12 differ only in their decorations (and the page number), so whatever lies
    // on and around their hotspots and answer boxes must be the same pixel for pixel.
    QList<art::PageItem> items;
    for (int i = 0; i < 6; ++i) {
        items.append(item(QStringLiteral("pic"), QRect(40 + i * 120, 60 + (i % 3) * 140, 70, 70),
                          QStringLiteral("$"), QStringLiteral("apple")));
    }
    const QSize size(800, 540);
    art::PageSpec ten = page(items, size);
    ten.pageNumber = 10;
    ten.answerBoxes = {QRect(300, 470, 16, 16), QRect(700, 40, 15, 16)};
    art::PageSpec twelve = ten;
    twelve.pageNumber = 12;
    const QImage a = art::renderPage(ten);
    const QImage b = art::renderPage(twelve);
    QList<QRect> guarded = ten.answerBoxes;
    for (const art::PageItem& i : items) guarded.append(i.rect);
    for (const QRect& area : guarded) {
        const QRect around = area.adjusted(-6, -6, 6, 6);
        EXPECT_EQ(a.copy(around), b.copy(around)) << area.x() << "," << area.y();
    }
    EXPECT_NE(a, b) << "the pages should have their own decorations";
}

TEST(PageArtDrawing, LongThingsTurnToFollowTheirRectangle) {
    const QSize size(200, 200);
    const QRect tall(80, 10, 40, 180);
    const QRect wide(10, 80, 180, 40);
    for (const char* thing : {"pencil", "ruler", "crayon", "pen"}) {
        const QRect upright =
            coverage(drawn(QString::fromLatin1(thing), {}, tall, size), tall).painted;
        const QRect lying =
            coverage(drawn(QString::fromLatin1(thing), {}, wide, size), wide).painted;
        EXPECT_GT(upright.height(), upright.width() * 3) << thing;
        EXPECT_GT(lying.width(), lying.height() * 3) << thing;
    }
}

TEST(PageArtPage, FooterSitsInItsBandOnTheOuterEdge) {
    const QSize size(800, 540);
    for (int number : {10, 11}) {
        art::PageSpec first = page({}, size);
        first.pageNumber = number;
        art::PageSpec second = first;
        second.sectionName = QStringLiteral("Recycle 1");
        const QRect diff = differenceBounds(art::renderPage(first), art::renderPage(second));
        ASSERT_TRUE(diff.isValid());
        EXPECT_GE(diff.top(), 516) << number;
        // Left-hand pages carry it on the left, right-hand pages on the right.
        if (number % 2 == 0) {
            EXPECT_LT(diff.right(), 400) << number;
        } else {
            EXPECT_GT(diff.left(), 400) << number;
        }
    }
}

TEST(PageArtPage, AnswerBoxesAreDrawnOnlyWhereTheyAre) {
    const QSize size(2150, 1524);
    art::PageSpec plain = page({}, size);
    art::PageSpec withBox = plain;
    const QRect box(400, 250, 16, 16);
    withBox.answerBoxes = {box};
    const QRect diff = differenceBounds(art::renderPage(plain), art::renderPage(withBox));
    ASSERT_TRUE(diff.isValid());
    EXPECT_TRUE(onPicture(box, size).contains(diff));
}

TEST(PageArtPage, ThemesGiveTheirOwnPaperAndUnknownOnesFallBackToSky) {
    const QSize size(80, 54);
    QSet<QRgb> papers;
    for (const char* theme : {"sky", "grass", "sun", "rose", "lilac", "sea", "peach", "mint"}) {
        art::PageSpec sheet = page({}, size);
        sheet.theme = QString::fromLatin1(theme);
        papers.insert(art::renderPage(sheet).pixel(40, 27));
    }
    EXPECT_EQ(papers.size(), 8);
    art::PageSpec sky = page({}, size);
    art::PageSpec unknown = sky;
    unknown.theme = QStringLiteral("neon");
    EXPECT_EQ(art::renderPage(sky), art::renderPage(unknown));
}

TEST(PageArtPage, ParallelRenderingMatchesSerialRendering) {
    art::PageSpec sheet =
        page({item(QStringLiteral("title"), QRect(24, 12, 300, 40), QStringLiteral("Unit one")),
              item(QStringLiteral("picword"), QRect(40, 80, 120, 150), QStringLiteral("Tom"),
                   QStringLiteral("boy")),
              item(QStringLiteral("text"), QRect(200, 90, 220, 40), QStringLiteral("Hello!")),
              item(QStringLiteral("pic"), QRect(500, 90, 80, 80), QStringLiteral("$"),
                   QStringLiteral("number"), QStringLiteral("12"))},
             QSize(1075, 762));
    const QImage serial = art::renderPage(sheet);
    std::vector<QImage> results(4);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < results.size(); ++i) {
        threads.emplace_back([&, i] { results[i] = art::renderPage(sheet); });
    }
    for (std::thread& t : threads) t.join();
    for (const QImage& image : results) EXPECT_EQ(image, serial);
}

}  // namespace
