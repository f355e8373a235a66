// The program takes its shape from the book: every value derived from the built-in book is
// today's, and a book of another shape (tests/support/odd_book.h) opens in the real windows,
// turns its pages, reads its hotspots and plays every exercise and game, each saying in a line
// when what the book gives is too small for it.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/start_window.h"
#include "book/book.h"
#include "book/vocabulary.h"
#include "exercises/page_exercise.h"
#include "exercises/word_dictation.h"
#include "games/fill_in/fill_in_window.h"
#include "games/match/match_game_window.h"
#include "games/sentence_order/sentence_order_window.h"
#include "games/word_finder/word_finder_window.h"
#include "games/word_spell/word_spell_window.h"
#include "reader/reader_window.h"
#include "support/odd_book.h"
#include "support/window_driving.h"
#include "ui/animation_box.h"
#include "ui/controls.h"
#include "ui/shortcut.h"

namespace odd = testing_support::odd;
using testing_support::control;
using testing_support::labelText;

namespace {

// ---- The built-in book ---------------------------------------------------------------------

TEST(BuiltInBook, EveryValueDerivedFromItsShapeIsTodays) {
    ASSERT_EQ(&book::theBook(), &book::builtInBook());
    EXPECT_EQ(book::bookScreenCount(), 36);
    EXPECT_EQ(book::screenCount(), 37);
    EXPECT_EQ(book::dictationScreen(), 36);
    EXPECT_EQ(book::lastBookScreen(), 35);
    const int entries[34] = {10, 19, 12, 15, 25, 9,  19, 20, 22, 26, 9, 22, 25, 20, 25, 14, 5,
                             9,  27, 24, 19, 21, 10, 20, 25, 16, 25, 6, 18, 26, 17, 14, 18, 4};
    for (int screen = 0; screen <= 36; ++screen) {
        const int page = screen <= 33   ? 2 * (screen + 1)
                         : screen == 34 ? 70
                         : screen == 35 ? 74
                                        : 0;
        EXPECT_EQ(book::pageNumberOfScreen(screen), page) << screen;
        EXPECT_EQ(book::screenHasEntries(screen), screen <= 33) << screen;
        if (screen > 35) continue;
        EXPECT_EQ(book::pageOfScreen(screen)->wordList, screen >= 34) << screen;
        if (screen <= 33) {
            EXPECT_EQ(book::pageOfScreen(screen)->entryCount, entries[screen]);
        }
    }
    EXPECT_EQ(book::pageOfScreen(36), nullptr);
    const char* const names[] = {"Unit 1", "Unit 2", "Unit 3",    "Recycle 1", "Unit 4",
                                 "Unit 5", "Unit 6", "Recycle 2", "单词表"};
    const int firsts[] = {0, 5, 10, 15, 17, 22, 27, 32, 34};
    const book::Book& b = book::theBook();
    ASSERT_EQ(b.sectionCount, 9);
    for (int i = 0; i < 9; ++i) {
        EXPECT_STREQ(b.sections[i].text, names[i]);
        EXPECT_EQ(b.sections[i].data, i + 1);
        EXPECT_EQ(book::sectionFirstScreen(i + 1), firsts[i]);
    }
    EXPECT_EQ(book::sectionFirstScreen(10), -1);
    const int words[] = {10, 10, 12, 12, 8, 12};
    ASSERT_EQ(book::unitCount(), 6);
    for (int unit = 1; unit <= 6; ++unit) {
        EXPECT_EQ(book::unitName(unit), QStringLiteral("Unit %1").arg(unit));
        EXPECT_EQ(book::LoadUnitWords(unit).UnitEnglishWords.size(), words[unit - 1]);
    }
    EXPECT_EQ(book::programTitle(), "青橙英语三年级上册点读软件");
    EXPECT_EQ(book::programCaption(), "英语三年级上册点读软件");
    EXPECT_EQ(book::shortcutName(), "青橙点读软件三年级上册");
    EXPECT_EQ(ui::shortcutFileName(book::shortcutName()), "青橙点读软件三年级上册.desktop");
}

TEST(ShortcutName, IsMadeSafeAsAFileName) {
    EXPECT_EQ(ui::safeShortcutName(odd::kShortcutName), "奇形课本点读");
    EXPECT_EQ(ui::safeShortcutName("a/b\tc\x7f"), "abc");
    EXPECT_EQ(ui::safeShortcutName(" ..hidden "), "hidden");
    for (const char* nothing : {"", "/", "..", " . / "})
        EXPECT_EQ(ui::safeShortcutName(nothing), "qcbook") << nothing;
    const QString name = ui::shortcutFileName(QString(200, QChar(0x4E66)));  // 600 bytes
    EXPECT_LE(name.toUtf8().size(), 255);
    EXPECT_TRUE(name.endsWith(QStringLiteral("书书.desktop")));
    // A title cannot add a key to the desktop entry.
    EXPECT_FALSE(ui::desktopEntryText("A\nExec=rm", "/opt/qcbook").contains("\nExec=rm"));
}

// ---- A book of another shape -----------------------------------------------------------------

const testing_support::OddBook& oddBook() {
    static const testing_support::OddBook made;
    return made;
}

class OddBookTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window = testing_support::openReader();
        window->show();
    }
    template <typename T = QWidget>
    T* find(const QString& name) const {
        return control<T>(window.get(), name);
    }
    void press(const QString& button) { testing_support::click(window.get(), button); }
    void goToScreen(int screen) {
        while (window->shownScreen() < screen) press("超级按钮_下一页");
        fakes.trace.clear();
    }
    // A press on the middle of hotspot `entry` of the shown page, through whatever lies there.
    void pressHotspot(int entry) {
        const book::Rect r = book::pageOfScreen(window->shownScreen())->hotspots[entry - 1].rect;
        const QPoint at(r.x + r.w / 2, r.y + r.h / 2);
        QWidget* target = window->childAt(at);
        ASSERT_NE(target, nullptr);
        QTest::mousePress(target, Qt::LeftButton, {}, target->mapFrom(window.get(), at));
    }
    QString bubble() const {
        return window->bubble()->isVisible() ? window->bubble()->text() : QString();
    }
    const book::PageContent& page() const { return testing_support::session().reader.page; }

    testing_support::FakeServices fakes;
    testing_support::BookInUse inUse{oddBook().book()};
    std::unique_ptr<reader::ReaderWindow> window;
};

TEST_F(OddBookTest, StartWindowNamesTheBookAndItsShortcut) {
    QTemporaryDir desktop;
    fakes.shell.desktop = desktop.path();
    app::StartWindow start;
    EXPECT_EQ(start.windowTitle(), odd::kTitle);
    EXPECT_EQ(labelText(&start, "标签3"), odd::kCaption);
    QFile entry(desktop.filePath("奇形课本点读.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    EXPECT_TRUE(entry.readAll().contains(QByteArray("\nName=") + odd::kTitle + "\n"));
}

TEST_F(OddBookTest, SectionsPageTurnsAndTheDictationScreenFollowTheBook) {
    auto* sections = find<QComboBox>("组合框课程选择");
    ASSERT_EQ(sections->count(), 12);
    for (int i = 11; i >= 0; --i) {
        sections->setCurrentIndex(i);
        EXPECT_EQ(sections->itemText(i), odd::sectionName(i + 1));
        EXPECT_EQ(window->shownScreen(), odd::kSectionFirstScreens[i]) << i;
    }
    {
        // A school's name too long for the narrow box shows whole as its tooltip.
        const QString longName = QStringLiteral("第十二单元：我们的学校和朋友");
        ui::ComboBox box;
        box.resize(60, 20);
        box.addItems({"L1", longName});
        EXPECT_EQ(box.toolTip(), "");
        box.setCurrentIndex(1);
        EXPECT_EQ(box.toolTip(), longName);
    }
    for (int screen = 1; screen < odd::kScreens; ++screen) {
        press("超级按钮_下一页");
        ASSERT_EQ(window->shownScreen(), screen);
        EXPECT_EQ(page().EnglishLines.size(), odd::entryCount(screen));
        EXPECT_EQ(find<QAbstractButton>("超级按钮_练一练")->isEnabled(),
                  screen != odd::kWordListScreen);
        EXPECT_EQ(find<QAbstractButton>("超级按钮_下一页")->isEnabled(),
                  screen < odd::kScreens - 1);
    }
    window->GoToNextPage();
    EXPECT_EQ(fakes.messages.texts(), QStringList{"已经最后一页了！"});
    EXPECT_EQ(window->shownScreen(), odd::kScreens - 1);
    press("超级按钮_背单词");
    EXPECT_EQ(window->shownScreen(), odd::kScreens);
    auto* units = control<QComboBox>(window->screenPicture(odd::kScreens), "组合框_背单词课时选择");
    ASSERT_EQ(units->count(), 8);
    for (int unit = 1; unit <= 8; ++unit) EXPECT_EQ(units->itemText(unit - 1), odd::unitName(unit));
}

TEST_F(OddBookTest, HotspotsReadTheirEntriesAndAnswerMarksLeaveThemInPlace) {
    goToScreen(odd::kFortyEntryScreen);
    ASSERT_EQ(window->hotspotsOf(odd::kFortyEntryScreen).size(), 40);
    pressHotspot(40);
    EXPECT_EQ(fakes.trace, (QStringList{"stop", "play entry 40"}));
    EXPECT_EQ(bubble(), odd::chineseLine(odd::kFortyEntryScreen, 40));
    // A right answer in page 90's box earns a mark, tagged like page 90's hotspots; leaving
    // the page hides the mark and nothing else.
    find<QLineEdit>("编辑框90_1")->setText("7");
    QWidget* mark = find("图片框_答案标记");
    EXPECT_TRUE(mark->isVisible());
    press("超级按钮_下一页");
    EXPECT_TRUE(mark->isHidden());
    press("超级按钮_上一页");
    int shown = 0;
    for (const ui::TransparentLabel* hotspot : window->hotspotsOf(odd::kFortyEntryScreen))
        shown += hotspot->isVisible();
    EXPECT_EQ(shown, 40);
    goToScreen(odd::kWordListScreen);
    pressHotspot(2);
    EXPECT_EQ(fakes.trace, (QStringList{"stop", "play word dog"}));
}

TEST_F(OddBookTest, PracticeAndFindItAskTheShownPageOnlyOrSayThereIsNothingToAsk) {
    // Page 89's neighbour, page 90, has forty hotspots: none of them is asked here.
    fakes.random.script = {1};
    press("超级按钮_练一练");
    EXPECT_EQ(fakes.trace.mid(fakes.trace.indexOf("play practice_intro")),
              (QStringList{"play practice_intro", "pause 7000", "reseed", "stop", "draw 1..1 -> 1",
                           "play entry 1"}));
    fakes.random.script = {2, 1};
    pressHotspot(1);
    EXPECT_EQ(fakes.trace.filter("play").mid(2), (QStringList{"play praise2", "play done"}));
    EXPECT_FALSE(testing_support::session().exercises.page.asking());

    goToScreen(odd::kFortyEntryScreen);
    press("超级按钮_找一找");
    EXPECT_EQ(testing_support::session().exercises.page.hotspotBounds().size(), 40);
    EXPECT_TRUE(testing_support::session().exercises.page.asking());

    goToScreen(odd::kPlaceholderScreen);
    for (const char* exercise : {"超级按钮_练一练", "超级按钮_找一找"}) {
        press(exercise);
        EXPECT_EQ(bubble(), exercises::PageExercise::kNothingToAsk);
        EXPECT_FALSE(fakes.trace.contains("play practice_intro") ||
                     fakes.trace.contains("play findit_intro"));
        EXPECT_FALSE(testing_support::session().exercises.page.asking());
    }
}

TEST_F(OddBookTest, ThePageGamesPlayARoundOnThePageOrSayThereIsNothingToAsk) {
    int& starts = testing_support::session().games.sentenceOrderStarts;
    {
        games::SentenceOrderWindow order(window.get(), page(), starts);  // "Hello!" alone
        EXPECT_EQ(labelText(&order, "透明标签p_排列好的"), games::PageGameWindow::kNothingToAsk);
    }
    goToScreen(odd::kFortyEntryScreen);
    fakes.random.script = {40, 4};  // line 40, its fourth word
    {
        games::FillInGameWindow fill(window.get(), page());
        fill.show();
        EXPECT_EQ(labelText(&fill, "透明标签_填一填的题目"), "This is line 40.");
        auto* blank = control<QLineEdit>(&fill, "编辑框_要填入内容的");
        blank->setText("40");
        fakes.random.script = {3, 1};
        QTest::keyClick(blank, Qt::Key_Return);
        EXPECT_TRUE(fakes.trace.contains("play praise3"));
    }
    fakes.random.script = {2};  // line 2; then low-end draws deal its words in order
    {
        games::SentenceOrderWindow order(window.get(), page(), starts);
        order.show();
        for (int label = 1; label <= 4; ++label)
            QTest::mouseClick(control(&order, QStringLiteral("透明标签p_打乱的单词%1").arg(label)),
                              Qt::LeftButton);
        EXPECT_EQ(labelText(&order, "透明标签p_排列好的"), " This is line 2.");
        fakes.random.script = {2, 1};
        testing_support::click(&order, "超级按钮_提交答案");
        EXPECT_TRUE(fakes.trace.contains("play praise2"));
    }
    goToScreen(odd::kPlaceholderScreen);
    games::FillInGameWindow fill(window.get(), page());
    EXPECT_EQ(labelText(&fill, "透明标签_填一填的题目"), games::PageGameWindow::kNothingToAsk);
}

TEST_F(OddBookTest, TheWordGamesPlayARoundOnTheUnitsOrSayTheUnitIsTooSmall) {
    games::MissedWords& missed = testing_support::session().games.missedWords;
    testing_support::HeldTicks heldTicks;
    auto chooseUnit = [](QWidget* window, int unit) {
        for (QComboBox* units : window->findChildren<QComboBox*>()) {
            if (units->itemText(0) == odd::unitName(1)) units->setCurrentIndex(unit - 1);
        }
    };
    auto shortage = [](QWidget* window) {
        auto* line = window->findChild<QLabel*>(games::kShortageLine);
        return line && line->isVisible() ? line->text() : QString();
    };
    {
        games::ChineseToEnglishWindow finder(window.get(), missed);  // Starter: three words
        finder.show();
        heldTicks.hold(finder.findChild<QTimer*>("时钟1"));
        EXPECT_EQ(shortage(&finder), games::WordFinderRules::kTooFewWords);
        EXPECT_TRUE(fakes.random.draws.isEmpty()) << "no question is drawn";
        const QPoint slot2 = games::answerSlots()[1].clickBounds.center();
        QTest::mouseClick(finder.playArea(), Qt::LeftButton, {}, slot2);
        EXPECT_FALSE(finder.findChild<QTimer*>("时钟1")->isActive());
        fakes.random.script = {5, 2};  // "cow" in slot 2
        chooseUnit(&finder, 2);
        EXPECT_EQ(shortage(&finder), QString());
        EXPECT_EQ(finder.rules().prompt(), "奶牛");
        QTest::mouseClick(finder.playArea(), Qt::LeftButton, {}, slot2);
        EXPECT_EQ(finder.rules().correctCount(), 1);
    }
    {
        games::MatchGameWindow match(window.get());  // Starter: three pairs on twelve tiles
        const games::MatchBoard& board = match.board();
        ASSERT_EQ(board.pairCount(), 3);
        match.show();
        int word = 0, meaning = 0;  // the first tiles of pair 1: PairIds 1 and 1 + 3
        for (int cell = games::kMatchCells; cell >= 1; --cell) {
            if (board.pairIdAt(cell) == 1) word = cell;
            if (board.pairIdAt(cell) == 4) meaning = cell;
        }
        auto* panel = match.findChild<QWidget*>("画板_底图");
        for (int cell : {word, meaning})
            QTest::mouseClick(panel, Qt::LeftButton, {}, games::matchCellRect(cell).center());
        EXPECT_TRUE(fakes.trace.contains("play match_pair"));
        chooseUnit(&match, 3);  // one word
        EXPECT_EQ(shortage(&match), games::MatchBoard::kTooFewWords);
        EXPECT_FALSE(match.findChild<QTimer*>("时钟1")->isActive());
        for (int cell = 1; cell <= games::kMatchCells; ++cell) EXPECT_FALSE(board.hasTile(cell));
        chooseUnit(&match, 2);  // thirty words: twelve drawn
        EXPECT_EQ(board.pairCount(), 12);
        EXPECT_EQ(shortage(&match), QString());
        EXPECT_TRUE(match.findChild<QTimer*>("时钟1")->isActive());
    }
    {
        games::WordSpellWindow spell(window.get(), missed);
        spell.show();
        ASSERT_EQ(spell.game().question().word, "cat");  // low-end draws: c, a, t on 13 to 15
        for (int tile = 13; tile <= 15; ++tile)
            QTest::mouseClick(spell.tileControl(tile), Qt::LeftButton);
        EXPECT_TRUE(fakes.trace.contains("play right_answer"));
    }
    press("超级按钮_背单词");
    QWidget* screen = window->screenPicture(odd::kScreens);
    testing_support::click(screen, "超级按钮b_开始");
    auto* typing = control<QLineEdit>(screen, "编辑框背单词");
    for (const char* word : {"cat", "dog", "pig"}) {
        QTest::keyClicks(typing, word);
        QTest::keyClick(typing, Qt::Key_Return);
    }
    EXPECT_EQ(labelText(screen, "透明标签单词总数和错误"), "Starter共3个单词。共错误0个");
}

TEST(OnePageBook, OpensWithNothingToTurnToAndItsOnlySection) {
    testing_support::FakeServices fakes;
    const testing_support::OddBook onePage(true);
    testing_support::BookInUse inUse(onePage.book());
    const auto window = testing_support::openReader();
    window->show();
    EXPECT_FALSE(control<QAbstractButton>(window.get(), "超级按钮_下一页")->isEnabled());
    EXPECT_TRUE(control<QAbstractButton>(window.get(), "超级按钮_练一练")->isEnabled());
    EXPECT_EQ(control<QComboBox>(window.get(), "组合框课程选择")->count(), 1);
    testing_support::click(window.get(), "超级按钮_背单词");
    EXPECT_EQ(window->shownScreen(), 1);
    EXPECT_EQ(control<QComboBox>(window->screenPicture(1), "组合框_背单词课时选择")->count(), 1);
}

// What a book the content tool accepts never holds, the rules still answer with a line.
TEST(TooSmall, TheRulesSayWhatTheWindowsShowInsteadOfAGame) {
    testing_support::FakeServices fakes;
    exercises::WordDictation dictation;
    dictation.Start(0);
    EXPECT_EQ(dictation.noWordsLine(), exercises::WordDictation::kNoWords);
    games::MissedWords missed;
    games::WordSpellGame spell(missed);
    spell.LoadWords({"abcdefghijklmnop", QStringLiteral("ｃａｔ")}, {"十六", "猫"}, {});
    EXPECT_EQ(spell.noWordToSpellLine(), games::WordSpellGame::kNoWordToSpell);
    EXPECT_TRUE(spell.SetNewWord().messages.isEmpty()) << "no summary of a pass never made";
    EXPECT_TRUE(spell.passOver());
    EXPECT_TRUE(fakes.random.draws.isEmpty());
    games::MatchBoard board;
    board.pick(book::UnitWords{{"cat"}, {"猫"}});
    board.deal();
    EXPECT_EQ(board.tooFewWordsLine(), games::MatchBoard::kTooFewWords);
    EXPECT_FALSE(board.hasTile(1));
    board.pick(book::UnitWords{{"cat", "dog"}, {"猫", "狗"}});
    EXPECT_EQ(board.tooFewWordsLine(), QString());
    // Six words whose labels would run past the word row: never asked.
    const QString wide = "Congratulations everybody, wonderful extraordinary celebrations tonight!";
    EXPECT_FALSE(games::SentenceOrderGame::hasUsableLine({wide}));
    EXPECT_TRUE(games::SentenceOrderGame::hasUsableLine({wide, "Good night, everybody!"}));
}

}  // namespace
