// The pieces every word game uses: the text rules, the missed-word list and its result
// window, the window timers' period rule, and the games' copies of the page lists.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include "book/book.h"
#include "book/page_content.h"
#include "games/common/game_clips.h"
#include "games/common/game_text.h"
#include "games/common/game_window.h"
#include "games/common/missed_words.h"
#include "games/common/page_lines.h"
#include "games/common/unit_selector.h"
#include "games/result/result_window.h"
#include "support/fake_services.h"
#include "support/printers.h"

using namespace games;

namespace {

TEST(GameText, SplitsAtSingleSpacesWithoutAnEmptyLastWord) {
    EXPECT_EQ(splitAtSpaces("This is Tom."), QStringList({"This", "is", "Tom."}));
    EXPECT_EQ(splitAtSpaces("Hello! "), QStringList({"Hello!"}));
    EXPECT_EQ(splitAtSpaces("a  b"), QStringList({"a", "", "b"}));
    EXPECT_EQ(splitAtSpaces("$"), QStringList({"$"}));
    EXPECT_TRUE(splitAtSpaces("").isEmpty());
}

TEST(GameText, RemovesEveryFullWidthParenthesisedPart) {
    EXPECT_EQ(withoutFullWidthParentheses("书包（名词）"), "书包");
    EXPECT_EQ(withoutFullWidthParentheses("（一）个（只）苹果"), "个苹果");
    // Half-width parentheses are part of the text.
    EXPECT_EQ(withoutFullWidthParentheses("cat (猫)"), "cat (猫)");
    // Only one of the two marks: nothing to remove.
    EXPECT_EQ(withoutFullWidthParentheses("书包（"), "书包（");
    // The closing mark first: the text stays as it is and the removal ends.
    EXPECT_EQ(withoutFullWidthParentheses("书）包（"), "书）包（");
    EXPECT_EQ(withoutFullWidthParentheses("（a）书）包（"), "书）包（");
}

TEST(GameClips, SetsHoldTheirClipsInOrder) {
    const auto praise = ExercisePraiseClips();
    const auto retry = GameRetryClips();
    ASSERT_EQ(praise.size(), 3);
    ASSERT_EQ(retry.size(), 3);
    EXPECT_EQ(retry[0], book::namedClip("retry1"));
    EXPECT_EQ(retry[1], book::namedClip("retry3"));
    EXPECT_EQ(retry[2], book::namedClip("retry4"));
    EXPECT_EQ(WrongAnswerClips().size(), 2);
    for (const sound::SoundClip& clip : praise + retry + WrongAnswerClips())
        EXPECT_FALSE(clip.isEmpty());
    EXPECT_FALSE(RightAnswerClip().isEmpty());
    EXPECT_FALSE(LetterClickClip().isEmpty());
    const MatchClips match = matchClips();
    for (const sound::SoundClip& clip :
         {match.select, match.pair, match.mismatch, match.emptyClick, match.music})
        EXPECT_FALSE(clip.isEmpty());
    EXPECT_TRUE(clipNumber(praise, 0).isEmpty());
    EXPECT_TRUE(clipNumber(praise, 4).isEmpty());
    EXPECT_EQ(clipNumber(praise, 3), praise[2]);
}

TEST(PageLines, AreTheGamesOwnAndLeaveThePageAlone) {
    book::PageContent page;
    book::LoadPageContent(0, page);
    PageLines lines(page);
    ASSERT_EQ(lines.english, page.EnglishLines);
    ASSERT_EQ(lines.clips, page.PageClips);
    lines.english.removeFirst();
    lines.chinese[0] = "改";
    EXPECT_NE(lines.english.size(), page.EnglishLines.size());
    EXPECT_NE(page.ChineseLines[0], QString("改"));
}

TEST(TimerPeriod, ZeroStopsTheSamePeriodKeepsThePhaseAnotherRestarts) {
    QTimer timer;
    ui::setTimerPeriod(&timer, 1000);
    ASSERT_TRUE(timer.isActive());
    const int id = timer.timerId();
    QTest::qWait(30);
    ui::setTimerPeriod(&timer, 1000);
    EXPECT_EQ(timer.timerId(), id);
    EXPECT_LE(timer.remainingTime(), 980);  // not restarted: the 30 ms already run still count
    ui::setTimerPeriod(&timer, 500);
    EXPECT_EQ(timer.interval(), 500);
    EXPECT_TRUE(timer.isActive());
    ui::setTimerPeriod(&timer, 0);
    EXPECT_FALSE(timer.isActive());
}

TEST(UnitSelector, HoldsSixUnitsAndIgnoresTheWheel) {
    QWidget parent;
    ui::ComboBox* units = addUnitSelector(&parent, "组合框_背单词课时选择", {10, 10, 96, 15});
    ASSERT_EQ(units->count(), 6);
    EXPECT_EQ(units->itemText(0), "Unit 1");
    EXPECT_EQ(units->itemData(5).toInt(), 6);
    EXPECT_EQ(selectedUnit(units), 1);
    EXPECT_GE(units->height(), 15);
    QWheelEvent wheel(QPointF(5, 5), QPointF(15, 15), {}, QPoint(0, -120), Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(units, &wheel);
    EXPECT_EQ(units->currentIndex(), 0);
}

TEST(GameWindowFrame, IsAFixedModalWindowThatEscapeDoesNotClose) {
    QWidget reader;
    GameWindow window(&reader, "填一填");
    window.show();
    EXPECT_EQ(window.size(), QSize(800, 600));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_TRUE(window.isModal());
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
}

// ---- The missed-word list and its report ----------------------------------------------

class ResultReport : public ::testing::Test {
  protected:
    static QString shownText(const ResultWindow& window) {
        return window.findChild<QPlainTextEdit*>("编辑框_错误情况")->toPlainText();
    }
    MissedWords missed;
};

TEST_F(ResultReport, ListsEveryEntryOnItsOwnLineAndEmptiesTheListOnClose) {
    missed.record("cat", "猫");
    missed.record("red", "红色");
    missed.record("pencil box", "铅笔盒");
    ASSERT_EQ(missed.entries().size(), 6);
    EXPECT_EQ(missed.count(), 3);
    {
        ResultWindow window(nullptr, missed);
        EXPECT_EQ(window.reportText(), "cat\r\n猫\r\nred\r\n红色\r\npencil box\r\n铅笔盒\r\n");
        EXPECT_EQ(window.windowTitle(), "错误单词列表！");
        auto* box = window.findChild<QPlainTextEdit*>("编辑框_错误情况");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->geometry(), QRect(0, 0, 372, 220));
        EXPECT_EQ(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        EXPECT_EQ(shownText(window), "cat\n猫\nred\n红色\npencil box\n铅笔盒\n");
        EXPECT_EQ(missed.entries().size(), 6) << "emptied only when the window goes";
    }
    EXPECT_TRUE(missed.isEmpty());
}

TEST_F(ResultReport, AnEmptyListShowsAnEmptyBoxAndAnEntryWithALineBreakTakesTwoLines) {
    {
        ResultWindow window(nullptr, missed);
        EXPECT_TRUE(shownText(window).isEmpty());
    }
    EXPECT_TRUE(missed.isEmpty());
    missed.record("two\r\nlines", "两行");
    ResultWindow window(nullptr, missed);
    EXPECT_EQ(shownText(window), "two\nlines\n两行\n");
}

TEST_F(ResultReport, SongTwentyBlackOnWhiteAndEscapeOrTheCloseButtonCloseItButEnterNot) {
    missed.record("cat", "猫");
    ResultWindow window(nullptr, missed);
    auto* box = window.findChild<QPlainTextEdit*>("编辑框_错误情况");
    EXPECT_EQ(box->font().families().first(), "SimSun");
    EXPECT_EQ(box->font().pointSizeF(), 20);
    EXPECT_EQ(box->palette().color(QPalette::Base), QColor(Qt::white));
    EXPECT_EQ(box->palette().color(QPalette::Text), QColor(Qt::black));
    EXPECT_TRUE(window.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(window.windowFlags() & Qt::WindowContextHelpButtonHint);
    window.show();
    // Keys go where the child's keyboard sends them: to the report box, then the window.
    for (int key : {Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(box, Qt::Key(key));
        QTest::keyClick(&window, Qt::Key(key));
        EXPECT_TRUE(window.isVisible()) << "Enter must not close the report";
    }
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Rejected);
    // The window's own close button (a close request from the window system) closes it too.
    window.show();
    QCloseEvent close;
    QApplication::sendEvent(&window, &close);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(missed.entries().size(), 2) << "emptied only when the window goes";
}

TEST_F(ResultReport, ShowingItReturnsWithTheListEmptyForTheNextGame) {
    missed.record("dog", "狗");
    QTimer::singleShot(0, [] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* report = qobject_cast<ResultWindow*>(top)) report->close();
    });
    ShowResultWindow(nullptr, missed);
    EXPECT_TRUE(missed.isEmpty());
    missed.record("pig", "猪");
    EXPECT_EQ(ResultWindow(nullptr, missed).reportText(), "pig\r\n猪\r\n");
}

}  // namespace
