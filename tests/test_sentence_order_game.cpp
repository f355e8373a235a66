// The sentence ordering game: its rules without a window, then the window driven as the child
// drives it, with scripted draws and recorded sounds and pauses.
#include <gtest/gtest.h>

#include <QSet>
#include <QTest>
#include <QTimer>

#include "book/book.h"
#include "book/page_content.h"
#include "games/sentence_order/sentence_order_game.h"
#include "games/sentence_order/sentence_order_window.h"
#include "reader/reader_window.h"
#include "support/window_driving.h"
#include "ui/controls.h"

using namespace games;
using testing_support::Trace;

namespace {

const QStringList kEnglish{"$", "Hello Tom", "This is my bag.", "a b c d e f g h i j", "Hi!"};
const QStringList kChinese{"$", "你好汤姆", "这是我的书包。", "十个字母", "嗨！"};
const QString kInstruction = QString::fromUtf8(kOrderInstruction);
const QString kRestart = QString::fromUtf8(kOrderRestart);

QStringList wordsOf(const SentenceOrderGame& game) {
    QStringList words;
    for (const WordLabel& label : game.labels()) words.append(label.word);
    return words;
}

// ---- Rules --------------------------------------------------------------------------------

TEST(SentenceOrderRules, TheThreeLooks) {
    EXPECT_EQ(wordFont(WordLook::Fresh).pointSize(), 14);
    EXPECT_EQ(wordFont(WordLook::Current).pointSize(), 20);
    EXPECT_EQ(wordFont(WordLook::Used).pointSize(), 14);
    EXPECT_EQ(wordColour(WordLook::Fresh), QColor(0, 0, 0));
    EXPECT_EQ(wordColour(WordLook::Current), QColor(0, 0, 255));
    EXPECT_EQ(wordColour(WordLook::Used), QColor(0, 0, 128));
    EXPECT_EQ(freshWidth("bag."), 52);
    EXPECT_EQ(freshWidth("好！"), 52) << "two bytes per Chinese character or full-width mark";
    EXPECT_EQ(currentWidth(52), 78);
    EXPECT_EQ(usedWidth(78), 52);
    EXPECT_EQ(currentWidth(39), 58);  // cut toward zero
    EXPECT_EQ(usedWidth(58), 38);
}

class SentenceOrderRulesTest : public ::testing::Test {
  protected:
    // Deals "This is my bag." as my, This, bag., is.
    void deal() {
        fakes.random.script = {3, 3, 1, 2, 1};
        ASSERT_EQ(game.SetNewQuestion(kEnglish, kChinese, 5), SentenceOrderGame::Outcome::Asked);
        fakes.trace.clear();
    }
    testing_support::FakeServices fakes;
    int starts = 0;  // the program's count of questions set
    SentenceOrderGame game{starts};
};

TEST_F(SentenceOrderRulesTest, DealsAPermutationTwentyPixelsApartAfterStopAndReseed) {
    fakes.random.script = {1, 4, 3, 3, 1, 2, 1};  // "$", then ten words, then the line
    ASSERT_EQ(game.SetNewQuestion(kEnglish, kChinese, 5), SentenceOrderGame::Outcome::Asked);
    EXPECT_EQ(fakes.trace,
              (Trace{"stop", "reseed", "draw 1..5 -> 1", "stop", "reseed", "draw 1..5 -> 4", "stop",
                     "reseed", "draw 1..5 -> 3", "draw 1..4 -> 3", "draw 1..3 -> 1",
                     "draw 1..2 -> 2", "draw 1..1 -> 1"}));
    EXPECT_EQ(starts, 3) << "each draw again counts as a start";
    EXPECT_EQ(game.item(), 3);
    EXPECT_EQ(game.sentence(), "This is my bag.");
    EXPECT_EQ(wordsOf(game), QStringList({"my", "This", "bag.", "is"}));
    QList<int> lefts, widths;
    for (const WordLabel& label : game.labels()) {
        lefts.append(label.left);
        widths.append(label.width);
        EXPECT_EQ(label.look, WordLook::Fresh);
    }
    EXPECT_EQ(widths, QList<int>({26, 52, 52, 26}));
    EXPECT_EQ(lefts, QList<int>({10, 56, 128, 200}));
    EXPECT_EQ(game.lineText(), kInstruction);
    EXPECT_TRUE(game.lineGrey()) << "not the program's first start";
}

TEST_F(SentenceOrderRulesTest, ClicksBuildTheLineAndMoveTheCurrentLook) {
    deal();
    game.AddWord(2);  // This
    EXPECT_EQ(game.lineText(), " This");
    EXPECT_FALSE(game.lineGrey());
    EXPECT_EQ(game.labels()[1].look, WordLook::Current);
    EXPECT_EQ(game.labels()[1].width, 78);
    game.AddWord(4);  // is
    game.AddWord(1);  // my
    EXPECT_EQ(game.labels()[1].look, WordLook::Used);
    EXPECT_EQ(game.labels()[1].width, 52);
    EXPECT_EQ(game.labels()[3].look, WordLook::Used);
    EXPECT_EQ(game.labels()[0].look, WordLook::Current);
    EXPECT_EQ(game.labels()[0].width, 39);
    EXPECT_EQ(game.lineText(), " This is my");
    game.AddWord(3);
    fakes.random.script = {2, 3};
    const Judgement judgement = game.Judge();
    EXPECT_TRUE(judgement.right) << "the leading space is ignored";
    EXPECT_EQ(judgement.praise, 2);
    EXPECT_EQ(fakes.trace, (Trace{"stop", "reseed", "draw 1..3 -> 2", "draw 1..3 -> 3"}));
    EXPECT_EQ(game.labels()[2].look, WordLook::Used) << "the last word settles";
    EXPECT_EQ(game.clicks(), 0);
    EXPECT_EQ(game.lineText(), " This is my bag.");
}

TEST_F(SentenceOrderRulesTest, AWrongOrderAsksForARestartAndThePromptNeverMatches) {
    deal();
    game.AddWord(2);
    game.AddWord(2);  // the same label twice: its word twice
    EXPECT_EQ(game.lineText(), " This This");
    EXPECT_EQ(game.labels()[1].look, WordLook::Current);
    EXPECT_EQ(game.labels()[1].width, 78);
    EXPECT_FALSE(game.Judge().right);
    EXPECT_EQ(game.lineText(), kRestart);
    EXPECT_TRUE(game.lineGrey());
    EXPECT_FALSE(game.Judge().right) << "the prompt itself is judged";
    // The next click empties the line and begins a new order; used labels stay navy.
    game.AddWord(1);
    EXPECT_EQ(game.lineText(), " my");
    EXPECT_EQ(game.labels()[1].look, WordLook::Used);
    fakes.trace.clear();
    game.Restart();
    EXPECT_EQ(fakes.trace, Trace{"stop"});
    EXPECT_EQ(game.labels()[0].look, WordLook::Used);
    EXPECT_EQ(game.lineText(), kRestart);
    EXPECT_TRUE(game.lineGrey());
}

TEST_F(SentenceOrderRulesTest, TheAnswerKeepsTheClicksCounting) {
    deal();
    game.RevealAnswer();
    EXPECT_EQ(game.lineText(), "This is my bag.");
    EXPECT_FALSE(game.lineGrey());
    game.AddWord(1);  // no clicks before: the line is emptied first
    EXPECT_EQ(game.lineText(), " my");
    game.RevealAnswer();
    game.AddWord(2);  // clicked before: the word follows the revealed sentence
    EXPECT_EQ(game.lineText(), "This is my bag. This");
    EXPECT_EQ(game.labels()[0].look, WordLook::Used);
}

TEST_F(SentenceOrderRulesTest, NineWordsAreAskedTenNeverAndOuterFullWidthSpacesDoNotCount) {
    const QString nine = "We can sing and dance and read and write";
    const QString endsInFullWidthSpace = QStringLiteral("Hello Tom\u3000");
    const QStringList english{"a b c d e f g h i j", nine, endsInFullWidthSpace};
    const QStringList chinese{"十", "九", "二"};
    EXPECT_FALSE(SentenceOrderGame::hasUsableLine({english[0]}));
    fakes.random.script = {1, 2};  // the ten-word line is drawn again; then low-end deals
    ASSERT_EQ(game.SetNewQuestion(english, chinese, 3), SentenceOrderGame::Outcome::Asked);
    EXPECT_EQ(game.item(), 2);
    ASSERT_EQ(wordsOf(game), nine.split(' '));
    for (int label = 1; label <= 9; ++label) game.AddWord(label);
    EXPECT_TRUE(game.Judge().right);
    // The full-width space stays on the last word and on the built line, yet the right order
    // is judged right.
    fakes.random.script = {3};
    ASSERT_EQ(game.SetNewQuestion(english, chinese, 3), SentenceOrderGame::Outcome::Asked);
    ASSERT_EQ(wordsOf(game), QStringList({"Hello", QStringLiteral("Tom\u3000")}));
    game.AddWord(1);
    game.AddWord(2);
    EXPECT_EQ(game.lineText(), QStringLiteral(" Hello Tom\u3000"));
    EXPECT_TRUE(game.Judge().right);
    game.AddWord(2);
    game.AddWord(1);
    EXPECT_FALSE(game.Judge().right);
}

TEST_F(SentenceOrderRulesTest, NothingUsableIsAskedWithoutDrawsOrStarts) {
    for (const QStringList& lines :
         {QStringList{"$", "$"}, QStringList{"Hi!", "a b c d e f g h i j"}, QStringList{}}) {
        EXPECT_FALSE(SentenceOrderGame::hasUsableLine(lines));
        EXPECT_EQ(game.SetNewQuestion(lines, lines, int(lines.size())),
                  SentenceOrderGame::Outcome::NothingToAsk);
    }
    EXPECT_EQ(fakes.trace, (Trace{"stop", "stop", "stop"}));
    EXPECT_EQ(starts, 0);
    EXPECT_TRUE(game.labels().isEmpty());
    // Lists of different length: a start, but no draw and no words.
    EXPECT_EQ(game.SetNewQuestion(kEnglish, kChinese, 4), SentenceOrderGame::Outcome::ListsDiffer);
    EXPECT_EQ(fakes.trace.mid(3), (Trace{"stop", "reseed"}));
    EXPECT_EQ(starts, 1);
    EXPECT_TRUE(game.labels().isEmpty());
}

// ---- The window ----------------------------------------------------------------------------

class SentenceOrderWindowTest : public testing_support::GameWindowTest<SentenceOrderWindow> {
  protected:
    // Opens the window with the deal's draws (item first).
    void open(std::initializer_list<int> draws, const QStringList& english = kEnglish,
              const QStringList& chinese = kChinese) {
        testing_support::showPageLines(english, chinese);
        fakes.random.script = draws;
        window = std::make_unique<SentenceOrderWindow>(
            &reader, testing_support::session().reader.page, starts);
        window->show();
    }
    QLabel* word(int k) const {
        return control<QLabel>(QStringLiteral("透明标签p_打乱的单词%1").arg(k));
    }
    void clickWord(int k) { QTest::mouseClick(word(k), Qt::LeftButton); }
    QLabel* line() const { return control<QLabel>("透明标签p_排列好的"); }
    QColor lineColour() const { return line()->palette().color(QPalette::WindowText); }
    bool translationShown() const {
        for (const char* name : {"透明标签p_汉语翻译", "分组框_边线3", "分组框_边线4",
                                 "分组框_竖边线3", "分组框_竖边线4"})
            if (!control(QString::fromUtf8(name))->isVisible()) return false;
        return true;
    }

    int starts = 0;  // the program's count of questions set
};

TEST_F(SentenceOrderWindowTest, LayoutAndTheFirstQuestion) {
    open({2, 2, 1});  // "Hello Tom" as Tom, Hello
    EXPECT_EQ(window->windowTitle(), "句子排序");
    EXPECT_EQ(fakes.trace, (Trace{"stop", "reseed", "draw 1..5 -> 2", "draw 1..2 -> 2",
                                  "draw 1..1 -> 1", "play entry 2"}));
    auto* background = control("图片框排序的背景");
    EXPECT_EQ(background->geometry(), QRect(0, -2, 800, 600));
    const struct {
        const char* name;
        QRect geometry;
        bool visible;
    } layout[] = {
        {"分组框_随机的单词", {16, 154, 768, 55}, true},
        {"透明标签p_汉语翻译", {32, 244, 736, 49}, true},
        {"分组框_边线4", {16, 236, 768, 2}, true},
        {"分组框_边线3", {18, 297, 768, 2}, true},
        {"分组框_竖边线4", {16, 238, 2, 60}, true},
        {"分组框_竖边线3", {782, 237, 2, 60}, true},
        {"透明标签p_排列好的", {25, 324, 768, 49}, true},
        {"分组框_边线1", {18, 318, 768, 2}, true},
        {"分组框_边线2", {20, 376, 768, 2}, true},
        {"分组框_竖边线1", {18, 318, 2, 60}, true},
        {"分组框_竖边线2", {784, 319, 2, 60}, true},
        {"选择框_排序读音开关", {127, 409, 88, 24}, true},
        {"选择框_排序汉语翻译开关", {240, 409, 88, 24}, true},
        {"超级按钮_排序开始", {120, 448, 64, 40}, true},
        {"超级按钮_再听一遍", {222, 448, 82, 40}, true},
        {"超级按钮_重做", {330, 448, 64, 40}, false},
        {"超级按钮_提交答案", {426, 448, 64, 40}, true},
        {"超级按钮_答案", {530, 448, 64, 40}, true},
        {"超级按钮_提交答案1", {712, 448, 64, 40}, true},
    };
    for (const auto& c : layout) {
        SCOPED_TRACE(c.name);
        QWidget* w = control(QString::fromUtf8(c.name));
        EXPECT_EQ(w->geometry(), c.geometry);
        EXPECT_EQ(w->parentWidget(), background);
        EXPECT_EQ(w->isVisible(), c.visible);
    }
    EXPECT_EQ(control<QLabel>("透明标签p_汉语翻译")->text(), "你好汤姆");
    EXPECT_EQ(control<QAbstractButton>("选择框_排序读音开关")->text(), "读音关");
    EXPECT_EQ(control<QAbstractButton>("选择框_排序汉语翻译开关")->text(), "汉语翻译关");
    EXPECT_EQ(control<QAbstractButton>("超级按钮_提交答案")->text(), "确定");
    EXPECT_EQ(control<QAbstractButton>("超级按钮_提交答案1")->text(), "返回");
    EXPECT_EQ(line()->text(), kInstruction);
    EXPECT_EQ(lineColour(), QColor(Qt::black)) << "the program's first question";
    // Tom (3 bytes) at 10, Hello (5 bytes) 20 pixels after it; the other labels hidden.
    EXPECT_EQ(word(1)->geometry(), QRect(10, 13, 39, 30));
    EXPECT_EQ(word(2)->geometry(), QRect(69, 13, 65, 30));
    for (int k = 1; k <= 10; ++k) {
        EXPECT_EQ(ui::tagOf(word(k)), 100 + k);
        EXPECT_EQ(word(k)->parentWidget(), control("分组框_随机的单词"));
        EXPECT_EQ(word(k)->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_EQ(word(k)->isVisible(), k <= 2) << k;
    }
    EXPECT_EQ(word(10)->geometry(), QRect(634, 13, 104, 30));
    EXPECT_EQ(word(1)->text(), "Tom");
    EXPECT_EQ(word(1)->font().pointSize(), 14);
}

TEST_F(SentenceOrderWindowTest, ARightOrderIsPraisedAndTheQuestionStays) {
    open({2, 2, 1});
    clickWord(2);
    EXPECT_TRUE(control("超级按钮_重做")->isVisible());
    EXPECT_EQ(word(2)->font().pointSize(), 20);
    EXPECT_EQ(word(2)->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(word(2)->width(), 97);
    clickWord(1);
    EXPECT_EQ(word(2)->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_EQ(word(2)->width(), 64);
    EXPECT_EQ(line()->text(), " Hello Tom");
    EXPECT_EQ(lineColour(), QColor(Qt::black));
    fakes.trace.clear();
    fakes.random.script = {3, 1};
    click("超级按钮_提交答案");
    EXPECT_EQ(fakes.trace, (Trace{"stop", "reseed", "draw 1..3 -> 3", "draw 1..3 -> 1",
                                  "play praise3", "pause 4000"}));
    EXPECT_EQ(line()->text(), " Hello Tom");
    EXPECT_EQ(word(1)->font().pointSize(), 14);
    EXPECT_TRUE(control("超级按钮_重做")->isVisible()) << "stays from the first click on";
}

TEST_F(SentenceOrderWindowTest, AWrongOrderPlaysARetryAndGreysThePrompt) {
    open({2, 1, 1});  // Hello, Tom
    clickWord(2);
    clickWord(1);
    fakes.trace.clear();
    fakes.random.script = {1, 2};
    click("超级按钮_提交答案");
    EXPECT_EQ(fakes.trace,
              (Trace{"stop", "reseed", "draw 1..3 -> 1", "draw 1..3 -> 2", "play retry3"}));
    EXPECT_EQ(line()->text(), kRestart);
    EXPECT_EQ(lineColour(), QColor(128, 128, 128));
    // Restart after clicks: stop, the last word navy, the prompt again.
    clickWord(1);
    EXPECT_EQ(line()->text(), " Hello");
    fakes.trace.clear();
    click("超级按钮_重做");
    EXPECT_EQ(fakes.trace, Trace{"stop"});
    EXPECT_EQ(word(1)->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_EQ(line()->text(), kRestart);
}

TEST_F(SentenceOrderWindowTest, OptionsActOnTheNextQuestionAndHearAgainAlwaysPlays) {
    open({3, 1, 1, 1, 1});
    auto* read = control<QAbstractButton>("选择框_排序读音开关");
    auto* translation = control<QAbstractButton>("选择框_排序汉语翻译开关");
    read->click();
    translation->click();
    EXPECT_EQ(read->text(), "读音开");
    EXPECT_EQ(translation->text(), "汉语翻译开");
    EXPECT_TRUE(translationShown()) << "until the next question";
    fakes.trace.clear();
    click("超级按钮_再听一遍");
    EXPECT_EQ(fakes.trace, Trace{"play entry 3"});
    // The answer before any click, then a click that empties the line first.
    click("超级按钮_答案");
    EXPECT_EQ(line()->text(), "This is my bag.");
    clickWord(1);
    EXPECT_EQ(line()->text(), " This");
    fakes.trace.clear();
    fakes.random.script = {2, 2, 1};
    click("超级按钮_排序开始");
    EXPECT_EQ(fakes.trace,
              (Trace{"stop", "reseed", "draw 1..5 -> 2", "draw 1..2 -> 2", "draw 1..1 -> 1"}));
    EXPECT_FALSE(translationShown());
    EXPECT_EQ(line()->text(), kInstruction);
    EXPECT_EQ(lineColour(), QColor(128, 128, 128));
    EXPECT_FALSE(word(3)->isVisible());
    EXPECT_EQ(word(1)->font().pointSize(), 14) << "fresh look again";
    EXPECT_EQ(word(1)->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    read->click();
    EXPECT_EQ(read->text(), "读音关");
}

TEST_F(SentenceOrderWindowTest, TheInstructionIsBlackOnlyOnTheProgramsFirstQuestion) {
    open({2, 1, 1});
    EXPECT_EQ(lineColour(), QColor(Qt::black));
    window.reset();
    open({2, 1, 1});
    EXPECT_EQ(line()->text(), kInstruction);
    EXPECT_EQ(lineColour(), QColor(128, 128, 128)) << "the count outlives the window";
    EXPECT_EQ(starts, 2);
}

TEST_F(SentenceOrderWindowTest, APageWithNoUsableLineAsksNothingAndSaysSo) {
    open({}, {"$", "Hi!", "$"}, {"$", "嗨！", "$"});
    EXPECT_EQ(fakes.trace, Trace{"stop"});
    EXPECT_EQ(line()->text(), "这一页没有可以练习的句子");
    EXPECT_FALSE(translationShown());
    for (int k = 1; k <= 10; ++k) EXPECT_FALSE(word(k)->isVisible());
    for (const char* name :
         {"超级按钮_排序开始", "超级按钮_再听一遍", "超级按钮_提交答案", "超级按钮_答案"}) {
        EXPECT_FALSE(control(QString::fromUtf8(name))->isEnabled()) << name;
        click(name);
    }
    EXPECT_EQ(fakes.trace, Trace{"stop"});
    EXPECT_EQ(starts, 0);
    EXPECT_TRUE(control("超级按钮_提交答案1")->isEnabled());
}

// A word click repaints the two labels whose look changed and the sentence line, not the
// other word labels.
TEST_F(SentenceOrderWindowTest, AWordClickRepaintsOnlyWhatChanges) {
    open({3, 1, 1, 1, 1});  // This is my bag.
    clickWord(1);
    QCoreApplication::processEvents();
    QSet<QObject*> painted;
    struct Spy : QObject {
        QSet<QObject*>* painted;
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::Paint) painted->insert(watched);
            return false;
        }
    } spy;
    spy.painted = &painted;
    for (int k = 1; k <= 4; ++k) word(k)->installEventFilter(&spy);
    line()->installEventFilter(&spy);
    clickWord(2);
    QCoreApplication::processEvents();
    EXPECT_TRUE(painted.contains(word(1)));
    EXPECT_TRUE(painted.contains(word(2)));
    EXPECT_TRUE(painted.contains(line()));
    EXPECT_FALSE(painted.contains(word(4)));
}

TEST(SentenceOrderFromTheReader, OpensModallyAndLeavesThePageAlone) {
    using namespace testing_support;
    FakeServices fakes;
    QWidget loading;
    const auto reader = openReader(&loading);
    reader->show();
    const book::PageContent before = session().reader.page;
    fakes.random.script = {3};  // page 2, entry 3: "Good morning, class!"
    QStringList shown, copied;
    whenModal<SentenceOrderWindow>(reader.get(), [&](SentenceOrderWindow& game) {
        for (int k = 1; k <= 3; ++k)
            shown.append(labelText(&game, QStringLiteral("透明标签p_打乱的单词%1").arg(k)));
        copied = game.lines().chinese;
        click(&game, "超级按钮_提交答案1");
    });
    click(reader.get(), "超级按钮_排序");
    EXPECT_EQ(shown, QStringList({"Good", "morning,", "class!"}));
    EXPECT_EQ(copied, before.ChineseLines);
    EXPECT_EQ(session().reader.page.EnglishLines, before.EnglishLines);
    EXPECT_EQ(session().reader.page.PageClips, before.PageClips);
    EXPECT_EQ(session().games.sentenceOrderStarts, 1) << "the program's session counts it";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
