// Placement arithmetic of the reader: full-screen scaling, the translation bubble, the find-it
// question label and the two banners.
#include <gtest/gtest.h>

#include "app/banner.h"
#include "reader/reader_layout.h"
#include "ui/gbk_text.h"

using namespace reader;

namespace {
const QString kTenChinese = QStringLiteral("一二三四五六七八九十");
}

TEST(LayoutScale, NormalModeIsOneToOneWhateverTheScreen) {
    const LayoutScale s = layoutScale(false, QSize(1920, 1080));
    EXPECT_EQ(s.width, 800);
    EXPECT_EQ(s.height, 600);
    EXPECT_DOUBLE_EQ(s.sx, 1.0);
    EXPECT_DOUBLE_EQ(s.sy, 1.0);
    EXPECT_EQ(scaledRect(QRect(41, 162, 16, 16), s), QRect(41, 162, 16, 16));
    // Tick boxes still move by half their size at 1:1.
    EXPECT_EQ(tickBoxPosition(QRect(100, 200, 15, 16), s), QPoint(107, 208));
}

TEST(LayoutScale, FullScreenTruncatesEveryComputedValue) {
    const LayoutScale s = layoutScale(true, QSize(1024, 768));
    EXPECT_DOUBLE_EQ(s.sx, 1.28);
    EXPECT_DOUBLE_EQ(s.sy, 708.0 / 540.0);
    // 1.28 * 41 = 52.48, 1.3111 * 162 = 212.4, 1.28 * 16 = 20.48, 1.3111 * 16 = 20.98
    EXPECT_EQ(scaledRect(QRect(41, 162, 16, 16), s), QRect(52, 212, 20, 20));
    // The toolbar strip: 1.28 * 792 = 1013.76, 1.3111 * 536 = 702.76, 1.3111 * 59 = 77.35
    EXPECT_EQ(scaledRect(QRect(1, 536, 792, 59), s), QRect(1, 702, 1013, 77));
    // Negative design positions truncate toward zero as well.
    EXPECT_EQ(scaledPoint(QPoint(0, -4), s), QPoint(0, -5));
    // One computed value per coordinate: 1.28 * 100 + 1.28 * 7.5 = 137.6
    EXPECT_EQ(tickBoxPosition(QRect(100, 200, 15, 16), s), QPoint(137, 272));

    const LayoutScale wide = layoutScale(true, QSize(1920, 1080));
    EXPECT_DOUBLE_EQ(wide.sx, 2.4);
    EXPECT_DOUBLE_EQ(wide.sy, 1020.0 / 540.0);
    EXPECT_EQ(scaledRect(QRect(0, 0, 800, 540), wide), QRect(0, 0, 1920, 1020));
    EXPECT_EQ(scaledRect(QRect(1, 536, 792, 59), wide), QRect(2, 1012, 1900, 111));
}

TEST(BubblePlacement, OneLineIsCentredBelowAndKeptInsideTheWindow) {
    const QSize window(800, 600);
    BubblePlacement p = placeBubble(QPoint(100, 100), kTenChinese, window);
    EXPECT_TRUE(p.centred);
    EXPECT_EQ(p.geometry, QRect(100, 175, 260, 25));
    // Crossing the right edge: 800 - 260 - 20.
    p = placeBubble(QPoint(700, 100), kTenChinese, window);
    EXPECT_EQ(p.geometry.left(), 520);
    // 525 + 40 > 560: flips above the hotspot; 520 + 40 = 560 stays below (strict test).
    EXPECT_EQ(placeBubble(QPoint(100, 450), kTenChinese, window).geometry.top(), 400);
    EXPECT_EQ(placeBubble(QPoint(100, 445), kTenChinese, window).geometry.top(), 520);
    // An exactly fitting bubble is not moved: 540 + 260 = 800 is not greater than 800.
    EXPECT_EQ(placeBubble(QPoint(540, 100), kTenChinese, window).geometry.left(), 540);
    EXPECT_EQ(placeBubble(QPoint(541, 100), kTenChinese, window).geometry.left(), 520);
}

TEST(BubblePlacement, FullScreenUsesTheScreenAsLimits) {
    const BubblePlacement p = placeBubble(QPoint(900, 100), kTenChinese, QSize(1024, 768));
    EXPECT_EQ(p.geometry.left(), 1024 - 260 - 20);
}

TEST(BubblePlacement, EmptyAndMultiLineTextsAreLeftAlignedAndSizedByTheLongestLine) {
    const BubblePlacement empty = placeBubble(QPoint(300, 200), QString(), QSize(800, 600));
    EXPECT_FALSE(empty.centred);
    EXPECT_EQ(empty.geometry, QRect(300, 250, 0, 0));
    const QString twoLines = QStringLiteral("Hello\r\n你好，朋友们");  // 5 and 12 bytes
    const BubblePlacement multi = placeBubble(QPoint(300, 200), twoLines, QSize(800, 600));
    EXPECT_EQ(multi.geometry, QRect(300, 250, 120, 40));
    // 480 + 50 + 40 + 40 > 560: goes above, by its own height.
    EXPECT_EQ(placeBubble(QPoint(300, 480), twoLines, QSize(800, 600)).geometry.top(),
              480 - 50 - 40);
    // A trailing CR LF adds no line; the one-line width counts the whole text's bytes.
    const BubblePlacement trailing =
        placeBubble(QPoint(0, 0), QStringLiteral("Hi\r\n"), QSize(800, 600));
    EXPECT_TRUE(trailing.centred);
    EXPECT_EQ(trailing.geometry.width(), 52);
}

TEST(FindItLabel, CentredOverThePageAndSizedFromTheMeaning) {
    EXPECT_EQ(findItLabelGeometry(4, 800), QRect(370, 40, 60, 35));
    const QRect wide = findItLabelGeometry(54, 800);
    EXPECT_EQ(wide.width(), 810);
    EXPECT_EQ(wide.left(), -5);
}

TEST(GbkText, LengthsAndCutsCountBytesNotCharacters) {
    EXPECT_EQ(ui::gbkLength(QStringLiteral("ruler")), 5);
    EXPECT_EQ(ui::gbkLength(QStringLiteral("脚（复数）")), 10);
    EXPECT_EQ(ui::gbkLength(QStringLiteral("红色；红色的")), 12);
    EXPECT_EQ(ui::gbkMid(QStringLiteral("pencil box"), 8, 8), QStringLiteral("ox"));
    EXPECT_EQ(ui::gbkMid(QStringLiteral("一二三四五六"), 0, 8), QStringLiteral("一二三四"));
    // A cut in the middle of a character leaves the character out.
    EXPECT_EQ(ui::gbkMid(QStringLiteral("a一二"), 0, 2), QStringLiteral("a"));
    EXPECT_EQ(ui::splitCrLf(QString()).size(), 0);
    EXPECT_EQ(ui::splitCrLf(QStringLiteral("a\r\nb")), QStringList({"a", "b"}));
    EXPECT_EQ(ui::splitCrLf(QStringLiteral("a\r\nb\r\n")), QStringList({"a", "b"}));
}

TEST(StartBanner, BouncesBetweenTheRightEdgeAndFivePixels) {
    // A text 400 wide on a 360 panel: left until offset -40, then right until 5.
    int offset = 0;
    int ticks = 0;
    app::BannerStep step{0, false};
    do {
        step = app::bannerMoveLeft(offset, 360, 400);
        offset = step.offset;
        ++ticks;
    } while (!step.turn);
    EXPECT_EQ(offset, -40);
    EXPECT_EQ(ticks, 40);
    ticks = 0;
    do {
        step = app::bannerMoveRight(offset);
        offset = step.offset;
        ++ticks;
    } while (!step.turn);
    EXPECT_EQ(offset, 5);
    EXPECT_EQ(ticks, 45);
}

TEST(StartBanner, ANarrowTextStillTurns) {
    // 360 - 100 = 260: the first left step already passes the stop.
    const app::BannerStep left = app::bannerMoveLeft(0, 360, 100);
    EXPECT_EQ(left.offset, -1);
    EXPECT_TRUE(left.turn);
    EXPECT_TRUE(app::bannerMoveRight(6).turn);
}

TEST(ReaderBanner, ScrollsLeftThenJumpsBackToTen) {
    EXPECT_EQ(reader::readerBannerStep(0, 118, 300), -1);
    EXPECT_EQ(reader::readerBannerStep(-181, 118, 300), -182);
    EXPECT_EQ(reader::readerBannerStep(-182, 118, 300), 10);  // 118 - 300 + 182 = 0 reached
    EXPECT_EQ(reader::readerBannerStep(10, 118, 50), 10);     // a fitting title stands still
}
