// The fill-in-the-blanks game: its rules without a window, then the window driven as the child
// drives it, with scripted draws and recorded sounds, pauses and message boxes.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QTest>
#include <QTimer>

#include "book/book.h"
#include "book/page_content.h"
#include "games/fill_in/fill_in_game.h"
#include "games/fill_in/fill_in_window.h"
#include "reader/reader_window.h"
#include "support/window_driving.h"
#include "ui/controls.h"

using namespace games;
using testing_support::Trace;

namespace {

const QStringList kEnglish{"$", "This is Tom.", "Wait...", "Good morning, class!", "Well done！"};
const QStringList kChinese{"$", "这是汤姆。", "等等……", "早上好，同学们！", "做得好！"};

// ---- Rules --------------------------------------------------------------------------------

TEST(FillInRules, TheAnswerLosesOneTrailingAsciiMarkOnly) {
    EXPECT_EQ(answerOfWord("Tom."), "Tom");
    EXPECT_EQ(answerOfWord("class!"), "class");
    EXPECT_EQ(answerOfWord("Hello,"), "Hello");
    EXPECT_EQ(answerOfWord("you?"), "you");
    EXPECT_EQ(answerOfWord("Wait..."), "Wait..");
    EXPECT_EQ(answerOfWord("done！"), "done！");
    EXPECT_EQ(answerOfWord("I'm"), "I'm");
    EXPECT_EQ(answerOfWord("$"), "$");
    EXPECT_EQ(answerOfWord(""), "");
}

TEST(FillInRules, PlaceholdersAreDrawnAgainFromTheReseed) {
    testing_support::FakeServices fakes;
    FillInGame game;
    fakes.random.script = {1, 1, 4, 2};
    ASSERT_EQ(game.SetNewQuestion(kEnglish, kChinese), FillInGame::Outcome::Asked);
    EXPECT_EQ(fakes.trace, (Trace{"reseed", "draw 1..5 -> 1", "draw 1..1 -> 1", "reseed",
                                  "draw 1..5 -> 4", "draw 1..3 -> 2"}));
    EXPECT_EQ(game.question.item, 4);
    EXPECT_EQ(game.question.word, 2);
    EXPECT_EQ(game.question.answer, "morning");
}

TEST(FillInRules, APageWithNothingToAskDrawsNothing) {
    testing_support::FakeServices fakes;
    FillInGame game;
    for (const QStringList& lines : {QStringList{"$", "$", "$."}, QStringList{}}) {
        EXPECT_FALSE(FillInGame::hasAskableLine(lines));
        EXPECT_EQ(game.SetNewQuestion(lines, lines), FillInGame::Outcome::NothingToAsk);
    }
    EXPECT_TRUE(fakes.trace.isEmpty());
    EXPECT_EQ(game.question.item, 0);
    // A line mixing a placeholder with a word can be asked.
    EXPECT_TRUE(FillInGame::hasAskableLine({"$", "$ ok"}));
}

// The blank starts where word k starts in the label's own font and covers the word, whatever
// the face: the Noto fallback, a sans face and a fixed-pitch face.
TEST(FillInRules, TheBlankCoversWordKInAnyFace) {
    QFont sans("DejaVu Sans");
    sans.setPixelSize(21);
    QFont mono("DejaVu Sans Mono");
    mono.setPixelSize(21);
    const QString line = "White, white, touch the ground.";
    for (const QFont& font : {ui::songFont(-1, 21), sans, mono}) {
        SCOPED_TRACE(font.family().toStdString());
        const QFontMetricsF metrics(font);
        for (int word = 1; word <= 5; ++word) {
            const QStringList words = line.split(' ');
            const QString before = QStringList(words.mid(0, word - 1)).join(' ') +
                                   (word > 1 ? QString(" ") : QString());
            const QString answer = answerOfWord(words[word - 1]);
            const BlankPlacement blank = placeBlank(line, word, font);
            const qreal from = metrics.horizontalAdvance(before);
            const qreal to = metrics.horizontalAdvance(before + answer);
            EXPECT_NEAR(blank.left, from, 1.0) << word;
            EXPECT_GE(blank.left + blank.width, to) << word;
            EXPECT_GE(blank.width, 12 * answer.size()) << word;
        }
    }
    // "is" of "This is Tom." is word 2, not the "is" inside "This".
    const QFont song = ui::songFont(-1, 21);
    EXPECT_GE(placeBlank("This is Tom.", 2, song).left,
              int(QFontMetricsF(song).horizontalAdvance("This")));
    // A full-width mark stays in the answer and counts two bytes.
    EXPECT_GE(placeBlank("Well done！", 2, song).width, 12 * 6);
}

// ---- The window ----------------------------------------------------------------------------

class FillInWindowTest : public testing_support::GameWindowTest<FillInGameWindow> {
  protected:
    // Opens the window on kEnglish with the opening draws `item` and `word`.
    void open(int item, int word, const QStringList& english = kEnglish,
              const QStringList& chinese = kChinese) {
        testing_support::showPageLines(english, chinese);
        fakes.random.script = {item, word};
        window =
            std::make_unique<FillInGameWindow>(&reader, testing_support::session().reader.page);
        window->show();
        window->activateWindow();
    }
    QLineEdit* blank() const { return control<QLineEdit>("编辑框_要填入内容的"); }
    QLabel* label(const char* name) const { return control<QLabel>(name); }
    // Types `text` into the blank and presses Enter, with the check's draws.
    void answer(const QString& text, int praise = 1, int retry = 1) {
        blank()->setText(text);
        fakes.random.script.insert(fakes.random.script.begin(), {praise, retry});
        QTest::keyClick(blank(), Qt::Key_Return);
    }
    // The pixels the covered word takes on the sentence label, in window coordinates.
    std::pair<qreal, qreal> wordSpan(const QString& before, const QString& word) const {
        const QFontMetricsF metrics(label("透明标签_填一填的题目")->font());
        const qreal from = 190 + metrics.horizontalAdvance(before);
        return {from, from + metrics.horizontalAdvance(word)};
    }
};

TEST_F(FillInWindowTest, LayoutAndTheFirstQuestionReadAloud) {
    open(2, 3);
    EXPECT_EQ(window->windowTitle(), "填一填");
    EXPECT_EQ(fakes.trace, (Trace{"reseed", "draw 1..5 -> 2", "draw 1..3 -> 3", "play entry 2"}));
    struct Expect {
        const char* name;
        QRect geometry;
        const char* text;
    } const layout[] = {
        {"图片框填一填的背景", {0, 0, 800, 600}, ""},
        {"透明标签_填一填的题目", {190, 154, 464, 36}, "This is Tom."},
        {"透明标签_填一填的汉语提示", {190, 224, 378, 36}, "这是汤姆。"},
        {"透明标签_填一填的答案提示", {188, 354, 378, 36}, "Tom"},
    };
    for (const Expect& e : layout) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(control(e.name)->geometry(), e.geometry);
        if (*e.text) {
            EXPECT_EQ(text(e.name), QString::fromUtf8(e.text));
        }
        EXPECT_EQ(control(e.name)->parentWidget(),
                  *e.text ? control("图片框填一填的背景") : window.get());
    }
    const struct Button {
        const char* name;
        QRect geometry;
        const char* caption;
    } buttons[] = {
        {"超级按钮_下一题", {128, 475, 104, 40}, "下一题"},
        {"超级按钮_再听一遍", {254, 474, 100, 40}, "再听一遍"},
        {"超级按钮_答案", {381, 476, 60, 40}, "答案"},
        {"超级按钮_确定", {474, 475, 60, 40}, "确定"},
        {"超级按钮_退出", {704, 475, 40, 40}, "返回"},
        {"选择框汉语提示", {136, 428, 124, 28}, "是否显示汉语翻译"},
        {"选择框是否读音", {270, 427, 92, 28}, "是否读音"},
    };
    for (const Button& b : buttons) {
        SCOPED_TRACE(b.name);
        auto* button = control<QAbstractButton>(b.name);
        EXPECT_EQ(button->geometry(), b.geometry);
        EXPECT_EQ(button->text(), QString::fromUtf8(b.caption));
        EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_TRUE(button->isEnabled());
    }
    EXPECT_TRUE(control<QCheckBox>("选择框汉语提示")->isChecked());
    EXPECT_TRUE(control<QCheckBox>("选择框是否读音")->isChecked());
    EXPECT_NE(qobject_cast<ui::PictureButton*>(control("超级按钮_下一题")), nullptr);
    EXPECT_NE(qobject_cast<ui::TransparentLabel*>(control("透明标签_填一填的题目")), nullptr);
    EXPECT_TRUE(label("透明标签_填一填的汉语提示")->isVisible());
    EXPECT_FALSE(label("透明标签_填一填的答案提示")->isVisible());
    EXPECT_EQ(label("透明标签_填一填的题目")->font().pixelSize(), 21);
    EXPECT_EQ(QFontInfo(blank()->font()).family(),
              QFontInfo(label("透明标签_填一填的题目")->font()).family());
    EXPECT_EQ(blank()->palette().color(QPalette::Text), QColor(0, 0, 255));
    EXPECT_TRUE((window->focusWidget() == blank()));
    EXPECT_TRUE(blank()->text().isEmpty());
    // The blank covers "Tom" and no more of the line than 12 pixels a byte asks.
    const auto [from, to] = wordSpan("This is ", "Tom");
    EXPECT_NEAR(blank()->x(), from, 1.0);
    EXPECT_GE(blank()->geometry().right() + 1, to);
    EXPECT_EQ(blank()->y(), 154);
    EXPECT_EQ(blank()->height(), 36);
    EXPECT_GE(blank()->width(), 36);
}

TEST_F(FillInWindowTest, ARightAnswerIsPraisedThenTheNextLineIsAskedAndRead) {
    open(2, 3);
    fakes.trace.clear();
    fakes.random.script = {4, 2};  // after the check's draws: the next question's
    QString blankDuringPause;
    fakes.pauser.during = [&] { blankDuringPause = blank()->text(); };
    answer("Tom", 2, 1);
    EXPECT_EQ(fakes.trace,
              (Trace{"reseed", "draw 1..3 -> 2", "draw 1..3 -> 1", "play praise2", "pause 4000",
                     "reseed", "draw 1..5 -> 4", "draw 1..3 -> 2", "play entry 4"}));
    EXPECT_EQ(blankDuringPause, "Tom") << "the next question comes after the pause";
    EXPECT_EQ(text("透明标签_填一填的题目"), "Good morning, class!");
    EXPECT_EQ(text("透明标签_填一填的答案提示"), "morning");
    EXPECT_TRUE(blank()->text().isEmpty());
    EXPECT_TRUE((window->focusWidget() == blank()));
    const auto [from, to] = wordSpan("Good ", "morning");
    EXPECT_NEAR(blank()->x(), from, 1.0);
    EXPECT_GE(blank()->geometry().right() + 1, to);
}

TEST_F(FillInWindowTest, AWrongAnswerIsEncouragedThenTheLineIsReadAgainAndTheBlankEmptied) {
    open(2, 3);
    fakes.trace.clear();
    bool emptyDuringPause = true;
    fakes.pauser.during = [&] { emptyDuringPause = blank()->text().isEmpty(); };
    answer("tom", 1, 3);  // different capitals are wrong
    EXPECT_EQ(fakes.trace, (Trace{"reseed", "draw 1..3 -> 1", "draw 1..3 -> 3", "play retry4",
                                  "pause 4000", "play entry 2"}));
    EXPECT_FALSE(emptyDuringPause);
    EXPECT_TRUE(blank()->text().isEmpty());
    EXPECT_EQ(window->game().question.answer, "Tom");
    EXPECT_TRUE((window->focusWidget() == blank()));
    // The full stop is not part of the answer; the confirm button checks like Enter.
    fakes.trace.clear();
    blank()->setText("Tom.");
    fakes.random.script = {1, 1};
    click("超级按钮_确定");
    EXPECT_EQ(fakes.trace.mid(3, 1), Trace{"play retry1"});
    fakes.trace.clear();
    fakes.random.script = {2, 3};
    answer("Tom");
    EXPECT_EQ(fakes.trace.mid(3), (Trace{"play praise1", "pause 4000", "reseed", "draw 1..5 -> 2",
                                         "draw 1..3 -> 3", "play entry 2"}));
}

TEST_F(FillInWindowTest, FullWidthMarksStayInTheAnswerAndDotsLoseOnlyOne) {
    open(5, 2);
    EXPECT_EQ(window->game().question.answer, "done！");
    EXPECT_GE(blank()->width(), 12 * 6);
    answer("done", 1, 1);
    EXPECT_EQ(fakes.sound.played().value(1), book::namedClip("retry1"));
    fakes.random.script = {3, 1};
    answer("done！");
    EXPECT_EQ(window->game().question.answer, "Wait..");
}

TEST_F(FillInWindowTest, OptionsAreTakenOnlyOnOpeningAndOnNextQuestion) {
    open(2, 1);
    auto* read = control<QCheckBox>("选择框是否读音");
    auto* chinese = control<QCheckBox>("选择框汉语提示");
    read->click();
    chinese->click();
    fakes.trace.clear();
    click("超级按钮_再听一遍");  // the option still holds
    EXPECT_EQ(fakes.trace, Trace{"play entry 2"});
    EXPECT_TRUE(label("透明标签_填一填的汉语提示")->isVisible());
    // The automatic question after a right answer keeps the options in force.
    fakes.random.script = {4, 1};
    answer("This");
    EXPECT_EQ(fakes.trace.last(), "play entry 4");
    EXPECT_TRUE(label("透明标签_填一填的汉语提示")->isVisible());
    // The next-question button stops the sound first and then takes the options.
    fakes.trace.clear();
    fakes.random.script = {2, 2};
    click("超级按钮_下一题");
    EXPECT_EQ(fakes.trace, (Trace{"stop", "reseed", "draw 1..5 -> 2", "draw 1..3 -> 2"}));
    EXPECT_FALSE(label("透明标签_填一填的汉语提示")->isVisible());
    EXPECT_EQ(text("透明标签_填一填的汉语提示"), "这是汤姆。");
    fakes.trace.clear();
    click("超级按钮_再听一遍");
    read->click();  // checked again, but not taken yet
    click("超级按钮_再听一遍");
    EXPECT_TRUE(fakes.trace.isEmpty());
    fakes.random.script = {2, 2};
    click("超级按钮_下一题");
    EXPECT_EQ(fakes.trace.last(), "play entry 2");
}

TEST_F(FillInWindowTest, TheAnswerHintShowsOnRequestAndGoesOnCheckOrNextQuestion) {
    open(4, 3);
    QLabel* hint = label("透明标签_填一填的答案提示");
    click("超级按钮_答案");
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->text(), "class");
    bool hiddenDuringPause = false;
    fakes.pauser.during = [&] { hiddenDuringPause = !hint->isVisible(); };
    answer("clas");
    EXPECT_TRUE(hiddenDuringPause);
    click("超级按钮_答案");
    fakes.random.script = {2, 2};
    click("超级按钮_下一题");
    EXPECT_FALSE(hint->isVisible());
    EXPECT_EQ(hint->text(), "is");
}

TEST_F(FillInWindowTest, ClosingDuringThePauseLeavesEverythingUndone) {
    open(2, 3);
    fakes.pauser.during = [&] { window->close(); };
    fakes.trace.clear();
    answer("Tom", 1, 1);
    EXPECT_EQ(fakes.trace.last(), "pause 4000");
    fakes.trace.clear();
    window->show();
    answer("x", 1, 1);
    EXPECT_EQ(fakes.trace.last(), "pause 4000") << "no recording after the window went";
    EXPECT_EQ(blank()->text(), "x");
}

TEST_F(FillInWindowTest, ListsOfDifferentLengthShowTheMessageAndNoQuestion) {
    open(2, 3, kEnglish, kChinese.mid(0, 4));
    EXPECT_EQ(fakes.trace,
              (Trace{"reseed", "draw 1..4 -> 2", "message 英语和汉语和读音的数量不同"}));
    EXPECT_TRUE(text("透明标签_填一填的题目").isEmpty());
    fakes.trace.clear();
    answer("");
    EXPECT_TRUE(fakes.trace.isEmpty()) << "nothing to check";
    // Every next question tries again and says so again.
    click("超级按钮_下一题");
    click("超级按钮_下一题");
    EXPECT_EQ(fakes.messages.texts(), QStringList(3, "英语和汉语和读音的数量不同"));
    EXPECT_TRUE(label("透明标签_填一填的题目")->text().isEmpty());
}

TEST_F(FillInWindowTest, ALongLineIsSetSmallerToFitWholeWithTheBlankOverItsWord) {
    const QString longLine = "Look at the big yellow bus by the school gate, children.";
    open(2, 6, {"$", longLine, "Hi, Tom."},
         {"$", "孩子们，看看学校大门旁边那辆又大又黄的公共汽车吧，快来看呀。", "你好，汤姆。"});
    for (const char* name : {"透明标签_填一填的题目", "透明标签_填一填的汉语提示"}) {
        const QLabel* line = label(name);
        EXPECT_LE(QFontMetrics(line->font()).horizontalAdvance(line->text()), line->width())
            << name;
    }
    const auto [from, to] = wordSpan("Look at the big yellow ", "bus");
    EXPECT_NEAR(blank()->x(), from, 1);
    EXPECT_GE(blank()->geometry().right() + 1, to);
    EXPECT_LE(blank()->geometry().right(), 190 + 464);
    EXPECT_EQ(blank()->font().pixelSize(), label("透明标签_填一填的题目")->font().pixelSize());
    // A short line afterwards is set at the usual size again.
    fakes.random.script = {3, 1};
    click("超级按钮_下一题");
    ASSERT_EQ(label("透明标签_填一填的题目")->text(), "Hi, Tom.");
    EXPECT_EQ(label("透明标签_填一填的题目")->font().pixelSize(), 21);
}

TEST_F(FillInWindowTest, TheNextQuestionButtonPutsTheCaretBackInTheBlank) {
    open(2, 3);
    blank()->setText("To");
    control("选择框是否读音")->setFocus();  // the child clicked elsewhere first
    ASSERT_FALSE(window->focusWidget() == blank());
    fakes.random.script = {4, 2};
    click("超级按钮_下一题");
    EXPECT_TRUE(window->focusWidget() == blank());
    EXPECT_TRUE(blank()->text().isEmpty());
    EXPECT_EQ(label("透明标签_填一填的答案提示")->text(), "morning");
}

TEST_F(FillInWindowTest, APageOfPlaceholdersAsksNothingAndSaysSo) {
    open(1, 1, {"$", "$", "$"}, {"$", "$", "$"});
    EXPECT_TRUE(fakes.trace.isEmpty());
    EXPECT_EQ(text("透明标签_填一填的题目"), "这一页没有可以练习的句子");
    EXPECT_FALSE(blank()->isVisible());
    EXPECT_FALSE(label("透明标签_填一填的汉语提示")->isVisible());
    for (const char* name :
         {"超级按钮_下一题", "超级按钮_再听一遍", "超级按钮_答案", "超级按钮_确定"}) {
        EXPECT_FALSE(control(name)->isEnabled()) << name;
        click(name);
    }
    QTest::keyClick(blank(), Qt::Key_Return);
    EXPECT_TRUE(fakes.trace.isEmpty());
    EXPECT_TRUE(control("超级按钮_退出")->isEnabled());
}

// The toolbar opens the game modally over the reader and gets the reader back as it was.
TEST(FillInFromTheReader, OpensModallyAndLeavesThePageAlone) {
    using namespace testing_support;
    FakeServices fakes;
    QWidget loading;
    const auto reader = openReader(&loading);
    reader->show();
    click(reader.get(), "超级按钮_下一页");
    const book::PageContent before = session().reader.page;
    fakes.random.script = {5, 1};
    QString title, sentence;
    QStringList copied;
    bool readerBlocked = false;
    whenModal<FillInGameWindow>(reader.get(), [&](FillInGameWindow& game) {
        title = game.windowTitle();
        sentence = labelText(&game, "透明标签_填一填的题目");
        copied = game.lines().english;
        readerBlocked = !reader->isActiveWindow() && game.isModal();
        click(&game, "超级按钮_退出");
    });
    click(reader.get(), "超级按钮_填一填");
    EXPECT_EQ(title, "填一填");
    EXPECT_EQ(sentence, before.EnglishLines.value(4));
    EXPECT_TRUE(readerBlocked);
    EXPECT_EQ(copied, before.EnglishLines);
    EXPECT_EQ(session().reader.page.EnglishLines, before.EnglishLines);
    EXPECT_EQ(session().reader.page.PageClips, before.PageClips);
    EXPECT_EQ(reader->shownScreen(), 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    for (QWidget* top : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<FillInGameWindow*>(top), nullptr) << "the window is gone";
}

}  // namespace
