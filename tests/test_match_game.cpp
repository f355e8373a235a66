// The matching challenge, driven as the child plays it: pointer moves and clicks at the
// centres of the board's cells, the clock's ticks, the selectors and the music check box,
// with scripted draws and recorded sounds and messages.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPaintEvent>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

#include "book/book.h"
#include "games/match/match_board.h"
#include "games/match/match_game_window.h"
#include "reader/reader_window.h"
#include "support/window_driving.h"
#include "ui/draw_panel.h"

using namespace games;

namespace {

// ---- The board's geometry, as the game's layout gives it ---------------------------------

// Top-left of cell c: x = 79 * column + 10, y = 69 * (row - 1) + 80; 79 x 69.
QPoint cellCorner(int cell) {
    const int column = (cell - 1) % 8 + 1, row = (cell - 1) / 8 + 1;
    return QPoint(79 * column + 10, 69 * (row - 1) + 80);
}

QPoint cellCentre(int cell) {
    return cellCorner(cell) + QPoint(39, 34);
}

// The pixels of a cell's frame: four lines from the corner to 79 right and 69 down.
QList<QPoint> framePixels(int cell) {
    const QPoint c = cellCorner(cell);
    QList<QPoint> pixels;
    for (int i = 0; i <= 79; ++i) pixels << c + QPoint(i, 0) << c + QPoint(i, 69);
    for (int i = 0; i <= 69; ++i) pixels << c + QPoint(0, i) << c + QPoint(79, i);
    return pixels;
}

// "draw 1..high -> value" for high = from down to to, each answered by `value(high)`.
QStringList draws(
    int from, int to, const std::function<int(int)>& value = [](int) { return 1; }) {
    QStringList list;
    for (int high = from; high >= to; --high)
        list << QStringLiteral("draw 1..%1 -> %2").arg(high).arg(value(high));
    return list;
}

const QStringList kLowDeal = QStringList{"reseed"} + draws(48, 1);
const QString kWon = QStringLiteral("你太棒了！冲关成功！可以挑战更高级别哦！");
const QString kTimeUp = QStringLiteral("很遗憾时间到！冲关失败！继续努力哦！");

class MatchGameTest : public testing_support::GameWindowTest<MatchGameWindow> {
  protected:
    void SetUp() override { background = book::picture("match_background").toImage(); }

    void open() {
        window = std::make_unique<MatchGameWindow>(&reader);
        heldTicks.hold(clock());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    ui::DrawPanel* panel() const { return control<ui::DrawPanel>("画板_底图"); }
    QTimer* clock() const { return control<QTimer>("时钟1"); }
    int timeLeft() const { return control<QProgressBar>("进度条_时间")->value(); }
    QComboBox* levels() const { return control<QComboBox>("组合框_难易"); }
    QComboBox* units() const { return control<QComboBox>("组合框_背单词课时选择"); }
    QCheckBox* music() const { return control<QCheckBox>("选择框_背景音乐"); }

    void clickAt(QPoint point) { QTest::mouseClick(panel(), Qt::LeftButton, {}, point); }
    void click(int cell) { clickAt(cellCentre(cell)); }
    void moveTo(QPoint point) {
        QMouseEvent move(QEvent::MouseMove, point, panel()->mapToGlobal(point), Qt::NoButton,
                         Qt::NoButton, {});
        QApplication::sendEvent(panel(), &move);
    }
    void tick(int times = 1) {
        for (int i = 0; i < times; ++i) QMetaObject::invokeMethod(clock(), "timeout");
    }
    QStringList traceSince(qsizetype from) const { return fakes.trace.mid(from); }

    QImage shot() const { return panel()->grab().toImage(); }
    bool framedIn(int cell, const QColor& colour) const {
        const QImage image = shot();
        for (const QPoint& p : framePixels(cell))
            if (image.pixelColor(p) != colour) return false;
        return true;
    }
    bool unframed(int cell) const {
        const QImage image = shot();
        for (const QPoint& p : framePixels(cell))
            if (image.pixel(p) != background.pixel(p)) return false;
        return true;
    }
    bool showsBackground(int cell) const {
        const QImage image = shot();
        const QRect r(cellCorner(cell), QSize(79, 69));
        return image.copy(r) == background.copy(r).convertToFormat(image.format());
    }
    // The tile's face colour above its text: blue-ish for English, orange-ish for Chinese.
    bool looksEnglish(const QImage& image, int cell) const {
        long red = 0, blue = 0;
        for (int y = 8; y < 24; ++y)
            for (int x = 20; x < 60; ++x) {
                const QColor c = image.pixelColor(cellCorner(cell) + QPoint(x, y));
                red += c.red();
                blue += c.blue();
            }
        return blue > red;
    }

    testing_support::HeldTicks heldTicks;
    QImage background;
};

// ---- Rules without a window --------------------------------------------------------------

TEST(MatchRules, CellsSpanTheBoardAndMovesAndClicksShareOneSpan) {
    EXPECT_EQ(matchCellRect(1), QRect(89, 80, 79, 69));
    EXPECT_EQ(matchCellRect(8), QRect(642, 80, 79, 69));
    EXPECT_EQ(matchCellRect(48), QRect(642, 425, 79, 69));
    EXPECT_EQ(matchCellAt({90, 81}), 1);
    EXPECT_EQ(matchCellAt({167, 148}), 1);
    EXPECT_EQ(matchCellAt({168, 149}), 10);
    EXPECT_EQ(matchCellAt({720, 493}), 48);
    for (QPoint outside : {QPoint(89, 100), QPoint(721, 100), QPoint(300, 80), QPoint(300, 494)})
        EXPECT_FALSE(isOnMatchBoard(outside)) << outside.x() << "," << outside.y();
    for (QPoint inside : {QPoint(90, 81), QPoint(711, 100), QPoint(720, 493)})
        EXPECT_TRUE(isOnMatchBoard(inside)) << inside.x() << "," << inside.y();
    // A frame and what its removal clears, on cell 10 (top-left 168, 149).
    const auto lines = matchFrameLines(10);
    EXPECT_EQ(lines[0].from, QPoint(168, 149));
    EXPECT_EQ(lines[0].to, QPoint(247, 149));
    EXPECT_EQ(lines[3].from, QPoint(247, 149));
    EXPECT_EQ(lines[3].to, QPoint(247, 218));
    const auto strips = matchFrameRemoval(10);
    EXPECT_EQ(strips[0], QRect(167, 149, 2, 69));
    EXPECT_EQ(strips[1], QRect(246, 149, 2, 69));
    EXPECT_EQ(strips[2], QRect(167, 149, 79, 2));
    EXPECT_EQ(strips[3], QRect(167, 218, 79, 2));
    EXPECT_EQ(strips[4], QRect(246, 218, 2, 1));
}

TEST(MatchRules, TileTextIsWrittenInEightBytePiecesByWidth) {
    using Lines = QList<std::pair<QPoint, QString>>;
    const auto layout = [](int cell, const QString& text, int width) {
        Lines lines;
        for (const MatchTextLine& l : matchTextLines(cell, text, width))
            lines.append({l.topLeft, l.text});
        return lines;
    };
    // Cell 10: left 168, top 149. A parenthesised meaning loses the part in "（）".
    EXPECT_EQ(shownTileText("脚（复数）"), "脚");
    EXPECT_EQ(layout(10, "脚", 19), (Lines{{{168 + 30, 179}, "脚"}}));    // (79 - 19) / 2 = 30
    EXPECT_EQ(layout(10, "cat", 30), (Lines{{{168 + 24, 179}, "cat"}}));  // 24.5 cut to 24
    // A long meaning: four Chinese characters to a piece.
    EXPECT_EQ(layout(10, "红色；红色的", 114),
              (Lines{{{172, 179}, "红色；红"}, {{172, 199}, "色的"}}));
    EXPECT_EQ(layout(10, "一二三四五六七八九十", 190),
              (Lines{{{172, 159}, "一二三四"}, {{172, 179}, "五六七八"}, {{172, 199}, "九十"}}));
    // Widths of exactly 58, 116 and 172 keep the smaller layout.
    EXPECT_EQ(layout(10, "abcdef", 58).size(), 1);
    EXPECT_EQ(layout(10, "abcdef", 59).first().first, QPoint(172, 179));
    EXPECT_EQ(layout(10, "sharpener", 116), (Lines{{{172, 179}, "sharpene"}, {{172, 199}, "r"}}));
    // Pieces may use the cell up to 3 pixels from its right edge (247), no further.
    EXPECT_EQ(matchTextLines(10, "sharpener", 90).first().maxWidth, 72);
    EXPECT_GE(matchTextLines(10, "abcdef", 58).first().maxWidth, 58);
    EXPECT_EQ(layout(10, "abcdefghijklmnopq", 117).first().first, QPoint(172, 159));
    EXPECT_EQ(layout(10, "abcdefghijklmnopq", 172).size(), 3);
    EXPECT_EQ(layout(10, "abcdefghijklmnopqrstuvwxy", 173).last(),
              (std::pair<QPoint, QString>{{172, 219}, "y"}));
    // Narrow letters in a proportional face: 17 bytes in 100 pixels still all written.
    EXPECT_EQ(layout(10, "illillillillillil", 100).size(), 3);
    EXPECT_TRUE(isEnglishTile("pencil box"));
    EXPECT_FALSE(isEnglishTile("铅笔盒"));
}

TEST(MatchRules, AUnitOfMoreThanTwelvePairsGivesTwelveDrawnPairsOnTwoTilesEach) {
    testing_support::FakeServices fakes;
    book::UnitWords words;
    for (int k = 1; k <= 14; ++k) {
        words.UnitEnglishWords << QStringLiteral("word%1").arg(k);
        words.UnitChineseWords << QStringLiteral("词%1").arg(k);
    }
    MatchBoard board;
    board.pick(words);
    EXPECT_EQ(fakes.trace, QStringList{"reseed"} + draws(14, 3));
    ASSERT_EQ(board.pairCount(), 12);
    EXPECT_EQ(board.boardEnglish().first(), "word1");  // low-end draws take the first left
    EXPECT_EQ(board.boardChinese().last(), "词12");
    board.deal();
    QMap<int, int> perId;
    for (int cell = 1; cell <= 48; ++cell) ++perId[board.pairIdAt(cell)];
    EXPECT_EQ(perId.size(), 24);
    for (int count : perId) EXPECT_EQ(count, 2);
}

TEST(MatchRules, ClockRunsOutAfterAHundredAndTwentyTicksAtTheLevelsPace) {
    EXPECT_EQ(matchTickPeriod(1), 750);
    EXPECT_EQ(matchTickPeriod(2), 500);
    EXPECT_EQ(matchTickPeriod(3), 250);
    MatchClock clock;
    for (int i = 0; i < 119; ++i) ASSERT_FALSE(clock.tick());
    EXPECT_EQ(clock.timeLeft(), 1);
    EXPECT_TRUE(clock.tick());
    clock.refill();
    EXPECT_EQ(clock.timeLeft(), 120);
}

// ---- The window --------------------------------------------------------------------------

TEST_F(MatchGameTest, OpensWithItsControlsAndLoopsTheMusicBeforeTheFirstBoard) {
    open();
    EXPECT_EQ(window->size(), QSize(800, 600));
    EXPECT_EQ(panel()->geometry(), QRect(0, 0, 800, 600));
    EXPECT_EQ(panel()->font().pixelSize(), 19);
    const auto* bar = control<QProgressBar>("进度条_时间");
    EXPECT_EQ(bar->geometry(), QRect(184, 20, 412, 32));
    EXPECT_EQ(bar->maximum(), 120);
    EXPECT_EQ(bar->value(), 120);
    EXPECT_EQ(music()->geometry(), QRect(321, 550, 135, 24));
    EXPECT_TRUE(music()->isChecked());
    EXPECT_EQ(music()->text(), "背景音乐关");
    ASSERT_EQ(levels()->count(), 3);
    EXPECT_EQ(levels()->itemText(2), "高级");
    EXPECT_EQ(levels()->itemData(2).toInt(), 3);
    EXPECT_EQ(levels()->geometry().topLeft(), QPoint(211, 548));
    EXPECT_EQ(units()->geometry().topLeft(), QPoint(99, 548));
    EXPECT_EQ(units()->currentText(), "Unit 1");
    const auto* exit = control<QAbstractButton>("超级按钮_退出");
    EXPECT_EQ(exit->geometry(), QRect(732, 540, 40, 40));
    EXPECT_EQ(exit->text(), "返回");
    EXPECT_TRUE(clock()->isActive());
    EXPECT_EQ(clock()->interval(), 750);
    // Music, then the pick of Unit 1 (ten pairs: six drawn), then the deal.
    EXPECT_EQ(fakes.trace, (QStringList{"loop match_music", "reseed"} + draws(10, 5) + kLowDeal));
}

TEST_F(MatchGameTest, SixPairUnitIsAShuffledPermutationWithEachTextOnFourTiles) {
    // The pick takes pairs 3, 1, 8, 2, 2, 5 of what is left; the deal always the last tile
    // left, so cell c holds tile 49 - c.
    const std::deque<int> pick{3, 1, 8, 2, 2, 5};
    fakes.random.script = pick;
    for (int left = 48; left >= 1; --left) fakes.random.script.push_back(left);
    open();
    EXPECT_EQ(window->board().boardEnglish(),
              QStringList({"eraser", "ruler", "desk", "crayon", "bag", "sharpener"}));
    EXPECT_EQ(window->board().boardChinese(),
              QStringList({"橡皮", "尺子", "书桌", "蜡笔", "书包", "卷笔刀（削笔刀）"}));
    const QStringList drawn = draws(10, 5, [&](int high) { return pick[10 - high]; });
    const QStringList shuffled = draws(48, 1, [](int high) { return high; });
    EXPECT_EQ(fakes.trace, (QStringList{"loop match_music", "reseed"} + drawn +
                            QStringList{"reseed"} + shuffled));
    const MatchBoard& board = window->board();
    EXPECT_EQ(board.textAt(1), "卷笔刀（削笔刀）") << "the board keeps the parenthesised part";
    EXPECT_EQ(board.pairIdAt(1), 12);
    EXPECT_EQ(board.textAt(48), "eraser");
    EXPECT_EQ(board.pairIdAt(48), 1);
    QMap<int, int> perId;
    QMap<QString, int> perText;
    const QImage image = shot();
    for (int cell = 1; cell <= 48; ++cell) {
        ++perId[board.pairIdAt(cell)];
        ++perText[board.textAt(cell)];
        EXPECT_EQ(looksEnglish(image, cell), board.pairIdAt(cell) <= 6) << "cell " << cell;
    }
    EXPECT_EQ(perId.keys(), QList<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    for (int count : perId) EXPECT_EQ(count, 4);
    EXPECT_EQ(perText.size(), 12);
    for (int count : perText) EXPECT_EQ(count, 4);
}

TEST_F(MatchGameTest, TwelvePairUnitDealsAllItsPairsInTableOrderOnTwoTilesEach) {
    open();
    const qsizetype from = fakes.trace.size();
    units()->setCurrentIndex(2);  // Unit 3: twelve pairs, nothing drawn for the pick
    EXPECT_EQ(traceSince(from), QStringList{"reseed"} + kLowDeal);
    const MatchBoard& board = window->board();
    EXPECT_EQ(board.boardEnglish(), book::LoadUnitWords(3).UnitEnglishWords);
    EXPECT_EQ(board.boardChinese(), book::LoadUnitWords(3).UnitChineseWords);
    // Drawing the low end each time deals the tiles in order: two per text.
    for (int cell : {1, 2}) EXPECT_EQ(board.textAt(cell), "head");
    EXPECT_EQ(board.textAt(3), "face");
    for (int cell : {25, 26}) EXPECT_EQ(board.pairIdAt(cell), 13);
    EXPECT_EQ(board.textAt(46), "身体");
    EXPECT_EQ(board.pairIdAt(48), 24);
    EXPECT_EQ(timeLeft(), 120);
}

TEST_F(MatchGameTest, WordAndMeaningPairInEitherOrderAndLeaveEmptyCells) {
    open();  // cells 1-4 "ruler", 25-28 "尺子"
    fakes.trace.clear();
    click(1);
    EXPECT_TRUE(framedIn(1, QColor(0, 0, 255)));
    click(25);
    click(26);
    click(2);
    EXPECT_EQ(fakes.trace, QStringList({"play match_select", "play match_pair", "play match_select",
                                        "play match_pair"}));
    EXPECT_EQ(window->board().clearedCells(), QList<int>({1, 25, 26, 2}));
    for (int cell : {1, 2, 25, 26}) EXPECT_TRUE(showsBackground(cell)) << cell;
    EXPECT_FALSE(window->board().tileSelection());
}

TEST_F(MatchGameTest, MismatchesDeselectAndRemoveBothFrames) {
    open();
    fakes.trace.clear();
    click(1);  // "ruler" twice on the board: the same word never pairs with itself
    click(2);
    click(25);  // two Chinese tiles
    click(29);
    click(5);  // the selected tile a second time
    click(5);
    EXPECT_EQ(fakes.trace,
              QStringList({"play match_select", "play match_mismatch", "play match_select",
                           "play match_mismatch", "play match_select", "play match_mismatch"}));
    EXPECT_FALSE(window->board().tileSelection());
    EXPECT_TRUE(window->board().clearedCells().isEmpty());
    for (int cell : {1, 2, 25, 29, 5}) EXPECT_TRUE(unframed(cell)) << cell;
}

TEST_F(MatchGameTest, EmptyClicksKeepTheSelectionAndTheEighthColumnAnswersToItsEdge) {
    open();
    click(1);
    click(25);
    fakes.trace.clear();
    click(6);
    click(1);             // a cleared cell
    clickAt({85, 120});   // left of the board
    clickAt({400, 500});  // below it
    clickAt({721, 120});  // right of it
    EXPECT_EQ(fakes.trace, QStringList({"play match_select", "play match_empty", "play match_empty",
                                        "play match_empty", "play match_empty"}));
    ASSERT_TRUE(window->board().tileSelection());
    EXPECT_EQ(window->board().tileSelection()->cell, 6);
    EXPECT_TRUE(framedIn(6, QColor(0, 0, 255)));
    // The rightmost ten pixels of column eight are a tile's like the rest of it.
    fakes.trace.clear();
    clickAt({715, 120});  // cell 8, another "pencil": a mismatch, so the click reached it
    clickAt({720, 130});
    clickAt({716, 125});
    EXPECT_EQ(fakes.trace,
              QStringList({"play match_mismatch", "play match_select", "play match_mismatch"}));
}

TEST_F(MatchGameTest, HoverFrameFollowsThePointerButStaysWhileATileIsSelected) {
    open();
    QRegion painted;
    struct PaintSpy : QObject {
        QRegion* region;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint)
                *region += static_cast<QPaintEvent*>(event)->region();
            return false;
        }
    } spy;
    spy.region = &painted;
    moveTo(cellCentre(3));
    EXPECT_TRUE(framedIn(3, QColor(255, 0, 0)));
    click(3);
    moveTo(cellCentre(14));
    EXPECT_EQ(window->board().hoveredCell(), 3);
    EXPECT_TRUE(framedIn(3, QColor(0, 0, 255)));
    EXPECT_TRUE(unframed(14));
    click(14);  // a mismatch: both frames go
    EXPECT_TRUE(unframed(3));
    moveTo(cellCentre(11));
    EXPECT_TRUE(framedIn(11, QColor(255, 0, 0)));
    // Moving far across the board repaints the frames' strips, not the span between them.
    moveTo(cellCentre(46));
    QApplication::processEvents();
    panel()->installEventFilter(&spy);
    moveTo(cellCentre(11));
    QApplication::processEvents();
    panel()->removeEventFilter(&spy);
    long area = 0;
    for (const QRect& r : painted) area += long(r.width()) * r.height();
    EXPECT_GT(area, 0);
    EXPECT_LT(area, 2 * 2 * (82 + 72) * 3);  // two frames' strips, removed and drawn
    EXPECT_TRUE(framedIn(11, QColor(255, 0, 0)));
    EXPECT_TRUE(unframed(46));
    // Cleared cells take no hover frame.
    click(1);
    click(25);
    moveTo(cellCentre(1));
    EXPECT_EQ(window->board().hoveredCell(), 11);
}

TEST_F(MatchGameTest, PointerMovesOffTheBoardChangeNothingAndADealTakesEveryFrameAway) {
    open();
    // Through the window, as the pointer really moves: onto cell 48, then down and left off
    // the board onto the level selector.
    QTest::mouseMove(window.get(), cellCentre(48));
    ASSERT_TRUE(framedIn(48, QColor(255, 0, 0)));
    for (QPoint off : {QPoint(700, 510), QPoint(60, 300), QPoint(400, 30), QPoint(250, 560)}) {
        QTest::mouseMove(window.get(), off);
        EXPECT_EQ(window->board().hoveredCell(), 48);
    }
    EXPECT_TRUE(framedIn(48, QColor(255, 0, 0)));
    levels()->setCurrentIndex(1);
    EXPECT_EQ(window->board().hoveredCell(), 0);
    EXPECT_TRUE(unframed(48)) << "the frame reaches past the cleared deal area";
    // A selected tile's frame goes with the deal too.
    click(40);
    ASSERT_TRUE(framedIn(40, QColor(0, 0, 255)));
    units()->setCurrentIndex(1);
    EXPECT_FALSE(window->board().tileSelection());
    EXPECT_TRUE(unframed(40));
}

// The rows of dark writing in `area` of the panel: top and bottom, or (-1, -1) when none.
std::pair<int, int> inkRows(const QImage& image, const QRect& area) {
    int top = -1, bottom = -1;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 80) {
                if (top < 0) top = y;
                bottom = y;
            }
    return {top, bottom};
}

TEST_F(MatchGameTest, TileTextsAreWrittenInsideTheirTilesOnOneBaseline) {
    open();  // cells 1-4 "ruler", 9-12 "eraser", 25-28 "尺子"
    ASSERT_EQ(window->board().textAt(1), "ruler");
    ASSERT_EQ(window->board().textAt(9), "eraser");
    const QImage image = shot();
    const auto inside = [](int cell) { return QRect(cellCorner(cell), QSize(79, 69)); };
    const auto [rulerTop, rulerBottom] = inkRows(image, inside(1));
    const auto [eraserTop, eraserBottom] = inkRows(image, inside(9));
    ASSERT_GE(rulerTop, 0) << "the word is written on its tile";
    ASSERT_GE(eraserTop, 0);
    // Written from 30 pixels below the tile's top, within the tile.
    EXPECT_GE(rulerTop - cellCorner(1).y(), 28);
    EXPECT_LE(rulerTop - cellCorner(1).y(), 36);
    EXPECT_LT(rulerBottom, cellCorner(1).y() + 69);
    // The same baseline whether or not a word has tall letters: "eraser" sits lower.
    EXPECT_EQ(eraserBottom - cellCorner(9).y(), rulerBottom - cellCorner(1).y());
    EXPECT_GT(eraserTop - cellCorner(9).y(), rulerTop - cellCorner(1).y());
    EXPECT_GE(inkRows(image, inside(25)).first, 0) << "the meaning is written too";
}

TEST_F(MatchGameTest, ADealClearsItsWholeAreaBeforeDrawingTheTiles) {
    open();
    click(1);
    click(25);
    ASSERT_TRUE(showsBackground(1));
    // A mark inside the deal area but between the tiles, left of the first column.
    panel()->drawLine({75, 100}, {75, 300}, Qt::red);
    levels()->setCurrentIndex(2);
    EXPECT_FALSE(showsBackground(1)) << "a tile again";
    const QImage image = shot();
    for (int y = 100; y <= 300; ++y) ASSERT_EQ(image.pixel(75, y), background.pixel(75, y)) << y;
}

TEST_F(MatchGameTest, ClearingTheBoardPraisesWithTheClockStoppedThenDealsAFreshBoard) {
    open();
    levels()->setCurrentIndex(1);  // 中级, 500 ms
    tick(30);
    bool clockRanDuringMessage = true;
    fakes.messages.onShow = [&](const ui::MessageRequest&) {
        clockRanDuringMessage = clock()->isActive();
    };
    fakes.trace.clear();
    // Cell e holds an English tile and cell e + 24 its own meaning.
    for (int cell = 1; cell <= 24; ++cell) {
        click(cell);
        click(cell + 24);
    }
    EXPECT_EQ(fakes.messages.texts(), QStringList{kWon});
    EXPECT_TRUE(fakes.messages.shown.first().caption.isNull());  // shown as "信息："
    EXPECT_FALSE(clockRanDuringMessage);
    const QStringList tail = fakes.trace.mid(fakes.trace.indexOf("message " + kWon) - 1);
    EXPECT_EQ(tail, QStringList({"play match_pair", "message " + kWon, "reseed"}) + draws(10, 5) +
                        kLowDeal);
    EXPECT_EQ(timeLeft(), 120);
    EXPECT_TRUE(clock()->isActive());
    EXPECT_EQ(clock()->interval(), 500);
    EXPECT_EQ(levels()->currentIndex(), 1);
    EXPECT_TRUE(window->board().clearedCells().isEmpty());
    EXPECT_FALSE(showsBackground(1));
}

TEST_F(MatchGameTest, TimeOutDealsThePairsHeldAndPicksForTheNextBoard) {
    open();  // Unit 1: pairs 1 to 6 picked
    click(1);
    tick(119);
    EXPECT_EQ(timeLeft(), 1);
    int timeShown = -1;
    bool clockRan = true;
    fakes.messages.onShow = [&](const ui::MessageRequest&) {
        timeShown = timeLeft();
        clockRan = clock()->isActive();
    };
    // The deal takes the low end; the pick after it takes the last pairs left each time.
    for (int i = 0; i < 48; ++i) fakes.random.script.push_back(1);
    for (int left = 10; left >= 5; --left) fakes.random.script.push_back(left);
    fakes.trace.clear();
    tick();
    EXPECT_EQ(fakes.trace, QStringList{"message " + kTimeUp} + kLowDeal + QStringList{"reseed"} +
                               draws(10, 5, [](int high) { return high; }));
    EXPECT_EQ(timeShown, 0);
    EXPECT_FALSE(clockRan);
    EXPECT_EQ(timeLeft(), 120);
    EXPECT_TRUE(clock()->isActive());
    EXPECT_FALSE(window->board().tileSelection());
    // This board still holds the six pairs picked when the window opened ...
    EXPECT_EQ(window->board().textAt(1), "ruler");
    EXPECT_EQ(window->board().textAt(48), "钢笔");
    // ... and the next time-out deals the ones picked at the first.
    tick(120);
    EXPECT_EQ(fakes.messages.texts(), QStringList({kTimeUp, kTimeUp}));
    QStringList dealt;
    for (int cell = 1; cell <= 24; cell += 4) dealt << window->board().textAt(cell);
    EXPECT_EQ(dealt, QStringList({"desk", "sharpener", "book", "pencil box", "pen", "bag"}));
}

TEST_F(MatchGameTest, LevelAndUnitChangesGiveAFullBarAndANewBoardAtTheirPace) {
    open();
    tick(10);
    click(1);
    const int phase = clock()->timerId();
    qsizetype from = fakes.trace.size();
    units()->setCurrentIndex(4);  // Unit 5: eight pairs, six drawn; the pace unchanged
    EXPECT_EQ(traceSince(from), QStringList{"reseed"} + draws(8, 3) + kLowDeal);
    EXPECT_EQ(timeLeft(), 120);
    EXPECT_EQ(clock()->timerId(), phase) << "the same period must not restart the clock";
    EXPECT_FALSE(window->board().tileSelection());
    EXPECT_EQ(window->board().textAt(1), "bread");

    tick(5);
    from = fakes.trace.size();
    levels()->setCurrentIndex(2);
    EXPECT_EQ(traceSince(from), QStringList{"reseed"} + draws(8, 3) + kLowDeal);
    EXPECT_EQ(timeLeft(), 120);
    EXPECT_EQ(clock()->interval(), 250);
    EXPECT_TRUE(clock()->isActive());
    levels()->setCurrentIndex(0);
    EXPECT_EQ(clock()->interval(), 750);
}

TEST_F(MatchGameTest, MusicCheckBoxStopsEverySoundAndTheReturnButtonStopsAndCloses) {
    open();
    fakes.trace.clear();
    click(1);
    music()->click();
    EXPECT_EQ(music()->text(), "背景音乐开");
    music()->click();
    EXPECT_EQ(music()->text(), "背景音乐关");
    EXPECT_EQ(fakes.trace, QStringList({"play match_select", "stop", "loop match_music"}));
    fakes.trace.clear();
    QTest::mouseClick(control<QAbstractButton>("超级按钮_退出"), Qt::LeftButton);
    EXPECT_EQ(fakes.trace, QStringList{"stop"});
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(clock()->isActive());
}

TEST_F(MatchGameTest, TheWindowsOwnCloseButtonAlsoSilencesTheMusic) {
    open();
    fakes.trace.clear();
    window->close();
    EXPECT_EQ(fakes.trace, QStringList{"stop"});
    EXPECT_FALSE(clock()->isActive());
}

TEST_F(MatchGameTest, TheReadersToolbarButtonOpensTheGameModally) {
    const auto readerWindow = testing_support::openReader(&reader);
    readerWindow->show();
    QString opened;
    testing_support::whenModal<MatchGameWindow>(readerWindow.get(), [&](MatchGameWindow& game) {
        opened = game.windowTitle();
        EXPECT_EQ(game.parentWidget(), readerWindow.get());
        testing_support::click(&game, "超级按钮_退出");
    });
    testing_support::click(readerWindow.get(), "超级按钮_连连看");
    EXPECT_EQ(opened, "连连看");
    EXPECT_TRUE(fakes.trace.contains("loop match_music"));
    EXPECT_EQ(fakes.trace.last(), "stop");
}

}  // namespace
