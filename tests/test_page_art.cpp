// Page pictures: the drawing vocabulary is complete and every drawing stays inside its
// rectangle; pages come out at the asked size with each entry on its hotspot, text shrinks to
// fit instead of spilling, and parallel rendering gives the same pictures as serial rendering.

#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <thread>
#include <vector>

#include "pictures/art/page_art.h"
#include "pictures/art/things.h"
#include "pictures/book_pictures.h"
#include "sources/sources.h"

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

// --- The book's own pages ------------------------------------------------------------------------

namespace {

QList<art::PageSpec> bookPages() {
    tool::Problems problems;
    const tool::BookSources book =
        tool::readSources(QStringLiteral(QCBOOK_CONTENT_DIR), {}, problems);
    QList<art::PageSpec> specs;
    for (const tool::PageSource& page : book.pages)
        specs.append(tool::pageSpec(page, QSize(800, 540)));
    return specs;
}

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

}  // namespace

TEST(PageArtBook, PictureWordsAreAsLargeAsTheOtherEnglishOfTheirPage) {
    const QList<art::PageSpec> pages = bookPages();
    ASSERT_EQ(pages.size(), 36);
    int labels = 0;
    for (const art::PageSpec& page : pages) {
        QList<double> body;
        for (const art::PrintedText& text : art::printedEnglish(page)) {
            if (text.kind == QLatin1String("text") || text.kind == QLatin1String("instr"))
                body.append(text.pixels);
        }
        for (const art::PrintedText& text : art::printedEnglish(page)) {
            if (text.kind != QLatin1String("label")) continue;
            ++labels;
            EXPECT_GE(text.pixels, std::max(11.0, median(body) - 0.25))
                << "page " << page.pageNumber << " entry " << text.number << " \""
                << text.text.toStdString() << "\"";
        }
    }
    EXPECT_GT(labels, 50);
}

TEST(PageArtBook, EverySpeechBoxWithASpeakerPointsAtIt) {
    int tails = 0;
    for (const art::PageSpec& page : bookPages()) {
        for (const art::PageItem& item : page.items) {
            const QLineF tail = art::speechTail(page, item);
            if (item.speaker == 0) {
                EXPECT_TRUE(tail.isNull()) << page.pageNumber << " " << item.number;
                continue;
            }
            if (tail.isNull()) continue;  // left off: it would run into another box
            ++tails;
            const art::PageItem* speaker = nullptr;
            for (const art::PageItem& other : page.items) {
                if (other.number == item.speaker) speaker = &other;
            }
            ASSERT_NE(speaker, nullptr);
            const QPointF head = art::pageart::headPoint(QRectF(speaker->rect), speaker->thing);
            EXPECT_LT(QLineF(tail.p2(), head).length(), QLineF(tail.p1(), head).length())
                << "page " << page.pageNumber << " entry " << item.number;
        }
    }
    EXPECT_GT(tails, 80);
}

// --- Speech tails, drawings without hotspots, strips with the listen icon ------------------------

namespace {

art::PageItem speech(const QRect& rect, int speaker) {
    art::PageItem box = item(QStringLiteral("text"), rect, QStringLiteral("Hello!"));
    box.number = 2;
    box.speaker = speaker;
    return box;
}

}  // namespace

TEST(PageArtSpeech, TheTailLeavesTheEdgeFacingTheSpeakerAndPointsAtTheHead) {
    art::PageItem boy = item(QStringLiteral("pic"), QRect(350, 200, 100, 150),
                             QStringLiteral("Hello!"), QStringLiteral("boy"));
    boy.number = 1;
    const QPointF head = art::pageart::headPoint(QRectF(boy.rect), QStringLiteral("boy"));
    struct Case {
        QRect box;
        char edge;  // where the tail leaves the box
    };
    for (const Case& c :
         {Case{QRect(320, 120, 160, 30), 'b'}, Case{QRect(320, 400, 160, 30), 't'},
          Case{QRect(100, 230, 160, 30), 'r'}, Case{QRect(540, 230, 160, 30), 'l'}}) {
        const art::PageSpec sheet = page({boy, speech(c.box, 1)}, QSize(800, 540));
        const QLineF tail = art::speechTail(sheet, sheet.items[1]);
        ASSERT_FALSE(tail.isNull()) << c.edge;
        const QRectF body = QRectF(c.box).adjusted(0.6, 0.6, -0.6, -0.6);
        const double onEdge = c.edge == 'b'   ? std::abs(tail.p1().y() - body.bottom())
                              : c.edge == 't' ? std::abs(tail.p1().y() - body.top())
                              : c.edge == 'r' ? std::abs(tail.p1().x() - body.right())
                                              : std::abs(tail.p1().x() - body.left());
        EXPECT_LT(onEdge, 0.01) << c.edge;
        EXPECT_FALSE(body.contains(tail.p2())) << c.edge;
        EXPECT_LT(QLineF(tail.p2(), head).length(), QLineF(tail.p1(), head).length()) << c.edge;
        EXPECT_LE(tail.length(), 12.01) << c.edge;
        // The painted tail is there: the page differs from one whose box has no speaker.
        const art::PageSpec silent = page({boy, speech(c.box, 0)}, QSize(800, 540));
        const QRect diff = differenceBounds(art::renderPage(sheet), art::renderPage(silent));
        EXPECT_TRUE(diff.isValid()) << c.edge;
        EXPECT_TRUE(QRectF(c.box).adjusted(-14, -14, 14, 14).contains(QRectF(diff))) << c.edge;
    }
}

TEST(PageArtSpeech, NoSpeakerNoTailAndABlockedTailIsLeftOff) {
    art::PageItem boy = item(QStringLiteral("pic"), QRect(350, 300, 100, 150),
                             QStringLiteral("Hello!"), QStringLiteral("boy"));
    boy.number = 1;
    // A chant line: nobody says it.
    art::PageSpec sheet = page({boy, speech(QRect(320, 220, 160, 30), 0)}, QSize(800, 540));
    EXPECT_TRUE(art::speechTail(sheet, sheet.items[1]).isNull());
    // The speaker's second box, stacked above the first: its tail would pierce the first box.
    art::PageItem first = speech(QRect(320, 250, 160, 30), 1);
    first.number = 3;
    sheet = page({boy, speech(QRect(320, 218, 160, 30), 1), first}, QSize(800, 540));
    EXPECT_TRUE(art::speechTail(sheet, sheet.items[1]).isNull());
    EXPECT_FALSE(art::speechTail(sheet, sheet.items[2]).isNull());
}

TEST(PageArtPage, DrawingsLieUnderTheEntriesAndLeaveTheRestOfThePage) {
    const QSize size(800, 540);
    const QRect ball(300, 200, 80, 80);
    art::PageItem entry =
        item(QStringLiteral("pic"), ball, QStringLiteral("$"), QStringLiteral("ball"));
    art::PageSpec plain = page({entry}, size);
    art::PageSpec withTable = plain;
    art::PageItem table =
        item(QStringLiteral("pic"), QRect(250, 240, 200, 80), QString(), QStringLiteral("table"));
    withTable.drawings = {table};
    const QImage a = art::renderPage(plain);
    const QImage b = art::renderPage(withTable);
    const QRect diff = differenceBounds(a, b);
    ASSERT_TRUE(diff.isValid());
    EXPECT_TRUE(table.rect.adjusted(-1, -1, 1, 1).contains(diff));
    // The ball's middle is painted over the table.
    EXPECT_EQ(a.pixel(340, 260), b.pixel(340, 260));
}

TEST(PageArtPage, HeadingsPrintTheirWordsOnATabInTheirRectangle) {
    const QSize size(800, 540);
    art::PageSpec sheet = page({}, size);
    art::PageItem heading =
        item(QStringLiteral("heading"), QRect(100, 100, 180, 22), QStringLiteral("Unit 3"));
    sheet.drawings = {heading};
    const QRect diff = differenceBounds(art::renderPage(page({}, size)), art::renderPage(sheet));
    ASSERT_TRUE(diff.isValid());
    EXPECT_TRUE(heading.rect.contains(diff));
    EXPECT_LT(diff.width(), heading.rect.width() / 2) << "the tab is as wide as its words";
    const QList<art::PrintedText> printed = art::printedEnglish(sheet);
    ASSERT_EQ(printed.size(), 1);
    EXPECT_EQ(printed[0].kind, "heading");
    EXPECT_EQ(printed[0].text, "Unit 3");
    EXPECT_GT(printed[0].pixels, 12);
}

TEST(PageArtPage, AStripHoldingTheListenIconLeavesItAWhiteSeatAndNoEar) {
    const QSize size(800, 540);
    const QRect strip(24, 72, 220, 30);
    const art::PageItem listen =
        item(QStringLiteral("instr"), strip, QStringLiteral("Listen and tick."));
    art::PageSpec withIcon = page({listen}, size);
    const QRect icon(30, 77, 20, 20);
    withIcon.listenIcons = {icon};
    const QImage seat = art::renderPage(withIcon);
    for (int y = icon.top(); y <= icon.bottom(); ++y) {
        for (int x = icon.left(); x <= icon.right(); ++x) {
            ASSERT_GT(QColor(seat.pixel(x, y)).lightness(), 245) << x << "," << y;
        }
    }
    // Without the icon the strip draws its own ear there.
    const QImage ear = art::renderPage(page({listen}, size));
    EXPECT_TRUE(differenceBounds(seat, ear).intersects(icon));
}

TEST(PageArtPage, WordListMeaningsKeepClearOfTheCardEdge) {
    const QSize size(800, 540);
    const QRect card(16, 100, 246, 27);
    for (const auto& [english, chinese] :
         {std::pair{"Nice to meet you, too.", "我也很高兴认识你。"},
          std::pair{"Would you like some rice?", "你想吃点米饭吗？"},
          std::pair{"sharpener", "卷笔刀（削笔刀）"}}) {
        art::PageItem with = item(QStringLiteral("word"), card, QString::fromUtf8(english));
        with.chinese = QString::fromUtf8(chinese);
        art::PageItem without = item(QStringLiteral("word"), card, QString::fromUtf8(english));
        art::PageSpec a = page({with}, size);
        art::PageSpec b = page({without}, size);
        a.wordList = b.wordList = true;
        const QRect meaning = differenceBounds(art::renderPage(a), art::renderPage(b));
        ASSERT_TRUE(meaning.isValid()) << english;
        EXPECT_LE(meaning.right(), card.right() - 6) << english;
        EXPECT_GE(meaning.top(), card.top() + 3) << english;
        EXPECT_GT(meaning.height(), 8) << english << ": the meaning stays readable";
        // The English keeps to the left of the meaning.
        for (const art::PrintedText& text : art::printedEnglish(a)) EXPECT_GT(text.pixels, 10);
    }
}

TEST(PageArtDrawing, BirthdayCakesCountTheirCandlesAndAWhiteEraserIsWhiteAllOver) {
    const QRect rect(0, 0, 150, 150);
    auto flamePixels = [&](const QImage& image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                count += qAlpha(p) == 255 && qRed(p) > 240 && qGreen(p) > 180 && qGreen(p) < 220 &&
                         qBlue(p) < 90;
            }
        }
        return count;
    };
    const int one = flamePixels(drawn(QStringLiteral("birthdaycake"), "1", rect, rect.size()));
    const int ten = flamePixels(drawn(QStringLiteral("birthdaycake"), "10", rect, rect.size()));
    EXPECT_GT(one, 5);
    EXPECT_GT(ten, one * 4);
    // The eraser's blue sleeve belongs to its natural colours only.
    auto bluePixels = [&](const QImage& image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                count += qAlpha(p) == 255 && qBlue(p) > qRed(p) + 60;
            }
        }
        return count;
    };
    EXPECT_GT(bluePixels(drawn(QStringLiteral("eraser"), {}, rect, rect.size())), 300);
    EXPECT_EQ(bluePixels(drawn(QStringLiteral("eraser"), "white", rect, rect.size())), 0);
    // Closed eyes show no eyeball.
    EXPECT_GT(bluePixels(drawn(QStringLiteral("eye"), {}, rect, rect.size())), 300);
    EXPECT_EQ(bluePixels(drawn(QStringLiteral("closedeye"), {}, rect, rect.size())), 0);
}
