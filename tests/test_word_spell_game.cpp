// The word spelling game driven as the child drives it: presses on the letter tiles and the
// buttons of a real window, with scripted draws and the ordered record of sounds, reseeds,
// draws and message boxes; and the rules alone, fed with lists no unit holds.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include "book/book.h"
#include "book/vocabulary.h"
#include "games/common/missed_words.h"
#include "games/result/result_window.h"
#include "games/word_spell/word_spell_game.h"
#include "games/word_spell/word_spell_window.h"
#include "reader/reader_window.h"
#include "support/window_driving.h"
#include "ui/controls.h"

using namespace games;

namespace {

const QString kRightHint = QStringLiteral("点击上面的字母看我有什么变化哦");

QString summary(int words, int misses) {
    return QStringLiteral("本课共%1个单词,错误%2个。").arg(words).arg(misses) +
           (misses ? QStringLiteral("继续努力哦！") : QStringLiteral("继续保持哦！"));
}

// What setting a word asks when every draw answers the low end: the first remaining word is
// taken and its letters are placed in order from the right end of its stretch of tiles, so
// tile 16 - n shows the first letter and tile 15 (the leftmost) the last.
QStringList lowEndWord(int remaining, const QString& word, bool readAloud = true) {
    QStringList trace{"reseed", QStringLiteral("draw 1..%1 -> 1").arg(remaining)};
    if (readAloud) trace << "play word " + word;
    for (int p = int(word.size()); p >= 1; --p) trace << QStringLiteral("draw 1..%1 -> 1").arg(p);
    return trace;
}

QStringList repeat(const QString& event, int times) {
    QStringList list;
    for (int i = 0; i < times; ++i) list << event;
    return list;
}

class WordSpellTest : public testing_support::GameWindowTest<WordSpellWindow> {
  protected:
    void open() {
        window = std::make_unique<WordSpellWindow>(&reader, missed);
        window->show();
    }
    LetterTileLabel* tile(int number) const {
        return control<LetterTileLabel>(QStringLiteral("透明标签_字母%1").arg(number));
    }
    QLabel* result() const { return control<QLabel>("透明标签_结果"); }
    QLabel* meaning() const { return control<QLabel>("透明标签_汉语"); }
    void press(int number) { QTest::mouseClick(tile(number), Qt::LeftButton); }
    // Presses the tiles of a word laid out by low-end draws, in spelling order.
    void spellLowEnd(int letters) {
        for (int number = 16 - letters; number <= kLetterTileCount; ++number) press(number);
    }
    // Presses, for each letter of `text`, the leftmost tile still fresh that shows it.
    void spell(const QString& text) {
        for (const QChar letter : text) {
            int found = 0;
            for (int number = kLetterTileCount; number >= 1 && !found; --number) {
                if (tile(number)->isVisible() && !tile(number)->hasClickedLook() &&
                    tile(number)->text() == letter)
                    found = number;
            }
            ASSERT_NE(found, 0) << "no fresh tile shows " << QString(letter).toStdString();
            press(found);
        }
    }
    QString word() const { return window->game().question().word; }
    // Closes the result window as soon as it is up, noting what it listed.
    void closeResultWindowWhenShown() {
        fakes.messages.onShow = [this](const ui::MessageRequest&) { closeResultWindowSoon(); };
    }
    // Closes the result window that the events now waiting open, noting what it listed.
    void closeResultWindowSoon() {
        QTimer::singleShot(0, window.get(), [this] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                auto* shown = qobject_cast<ResultWindow*>(top);
                if (!shown || !shown->isVisible()) continue;
                reports << shown->findChild<QPlainTextEdit*>("编辑框_错误情况")->toPlainText();
                shown->close();
            }
        });
    }

    MissedWords missed;   // the program's list of missed words
    QStringList reports;  // what each result window listed
};

}  // namespace

TEST_F(WordSpellTest, LaysOutTheWindowAsDesigned) {
    open();
    EXPECT_EQ(window->size(), QSize(800, 600));
    auto* background = control<ui::PictureBox>("图片框_背景");
    EXPECT_EQ(background->geometry(), QRect(0, 0, 800, 600));
    EXPECT_EQ(background->pictureBytes(), book::pictureBytes("spell_background"));
    EXPECT_FALSE(background->pictureBytes().isEmpty());
    const QList<int> lefts{33, 82, 131, 180, 229, 278, 327, 376, 425, 474, 523, 572, 621, 670, 721};
    for (int number = 15; number >= 1; --number) {
        LetterTileLabel* t = tile(number);
        EXPECT_EQ(t->parentWidget(), background);
        EXPECT_EQ(t->geometry(), QRect(lefts[15 - number], 192, 40, 40)) << number;
        EXPECT_EQ(t->font().families().first(), "SimHei");
        EXPECT_EQ(t->font().pointSizeF(), 30);
        EXPECT_EQ(t->cursor().shape(), Qt::PointingHandCursor);
    }
    EXPECT_EQ(window->findChildren<ui::TransparentLabel*>().size(), 18);
    auto* help = control<QLabel>("透明标签_帮助");
    EXPECT_EQ(help->geometry(), QRect(60, 16, 744, 56));
    EXPECT_EQ(help->text(), "请根据下面给出的字母组合正确的单词");
    EXPECT_EQ(help->font().pixelSize(), 40);
    EXPECT_EQ(meaning()->geometry(), QRect(112, 117, 516, 56));
    EXPECT_EQ(meaning()->palette().color(QPalette::WindowText), QColor(0, 96, 192));
    EXPECT_EQ(meaning()->alignment(), Qt::AlignCenter);
    EXPECT_EQ(result()->geometry(), QRect(104, 285, 528, 64));
    EXPECT_EQ(result()->font().families().first(), "SimSun");
    EXPECT_EQ(result()->font().pixelSize(), 27);
    EXPECT_EQ(result()->text(), kRightHint);
    // Once clicked, the result line holds a ten-letter entry at 30 points unclipped.
    const QFontMetrics large(ui::songFont(30));
    EXPECT_LE(large.height(), result()->height());
    EXPECT_LT(large.horizontalAdvance("pencil box"), result()->width());

    auto* units = control<QComboBox>("组合框_单词排序课时选择");
    EXPECT_EQ(units->pos(), QPoint(32, 508));
    EXPECT_GE(units->height(), std::max(15, units->sizeHint().height()));
    EXPECT_EQ(units->currentText(), "Unit 1");
    EXPECT_EQ(units->itemData(5).toInt(), 6);
    auto* meaningBox = control<QCheckBox>("选择框_单词翻译");
    auto* readAloud = control<QCheckBox>("选择框_排序读音开关");
    EXPECT_EQ(meaningBox->geometry(), QRect(139, 512, 135, 24));
    EXPECT_EQ(readAloud->geometry(), QRect(285, 511, 89, 24));
    EXPECT_EQ(meaningBox->text(), "单词翻译关");
    EXPECT_EQ(readAloud->text(), "读音关");
    EXPECT_TRUE(meaningBox->isChecked() && readAloud->isChecked());
    EXPECT_EQ(meaningBox->palette().color(QPalette::Window), QColor(0, 255, 0));
    EXPECT_EQ(meaningBox->palette().color(QPalette::WindowText), QColor(Qt::white));

    const QList<std::tuple<const char*, QRect, const char*>> buttons{
        {"超级按钮_重做", {383, 495, 64, 40}, "重做"},
        {"超级按钮_再听一遍", {454, 495, 90, 40}, "再听一遍"},
        {"超级按钮_排序开始", {551, 495, 64, 40}, "下一题"},
        {"超级按钮_答案", {622, 495, 64, 40}, "答案"},
        {"超级按钮_提交答案1", {696, 495, 64, 40}, "返回"}};
    for (const auto& [name, geometry, caption] : buttons) {
        auto* button = control<ui::SuperButton>(QString::fromUtf8(name));
        EXPECT_EQ(button->geometry(), geometry) << name;
        EXPECT_EQ(button->text(), QString::fromUtf8(caption));
        EXPECT_EQ(button->font().families().first(), "KaiTi_GB2312");
    }
    EXPECT_FALSE(control("超级按钮_重做")->isVisible());
    click("超级按钮_提交答案1");
    EXPECT_FALSE(window->isVisible());
}

TEST_F(WordSpellTest, AUnitSpelledWithoutAMistakeEndsWithTheKeepItUpSummaryAlone) {
    const QStringList words = book::LoadUnitWords(1).UnitEnglishWords;
    ASSERT_EQ(words.size(), 10);
    closeResultWindowWhenShown();
    open();
    QStringList expected = lowEndWord(10, words[0]);
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(word(), words[i]);
        EXPECT_EQ(meaning()->text(), book::LoadUnitWords(1).UnitChineseWords[i]);
        spellLowEnd(int(words[i].size()));
        // Every click clicks; the right sound and the next word's recording follow without a
        // stop, so they are heard together.
        expected << repeat("play letter_click", int(words[i].size())) << "play right_answer";
        if (i + 1 < 10) expected << lowEndWord(9 - i, words[i + 1]);
    }
    expected << "reseed"
             << "message " + summary(10, 0);
    EXPECT_EQ(fakes.trace, expected);
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    EXPECT_EQ(fakes.messages.shown[0].caption, "错误情况");
    QApplication::processEvents();
    EXPECT_TRUE(reports.isEmpty()) << "no result window without a mistake";
    EXPECT_TRUE(missed.isEmpty());
}

TEST_F(WordSpellTest, AWrongSpellingAndASkipAreBothListedInTheSummaryAndTheResultWindow) {
    const book::UnitWords unit = book::LoadUnitWords(1);
    closeResultWindowWhenShown();
    open();
    // "ruler" spelled from the left gives "relur": wrong.
    for (int number = 15; number >= 11; --number) press(number);
    EXPECT_EQ(fakes.trace, lowEndWord(10, "ruler") + repeat("play letter_click", 5) +
                               QStringList{"play wrong1"} + lowEndWord(9, "pencil"));
    ASSERT_EQ(missed.entries(), QStringList({"ruler", "尺子"}));
    ASSERT_EQ(word(), "pencil");
    fakes.trace.clear();
    click("超级按钮_排序开始");
    EXPECT_EQ(fakes.trace, QStringList{"stop"} + lowEndWord(8, "eraser"));
    EXPECT_EQ(result()->text(), "");
    for (int i = 2; i < 10; ++i) spellLowEnd(int(unit.UnitEnglishWords[i].size()));
    EXPECT_EQ(fakes.messages.texts(), QStringList{summary(10, 2)});
    EXPECT_EQ(fakes.messages.shown[0].caption, "错误情况");
    ASSERT_EQ(reports.size(), 1);
    EXPECT_EQ(reports[0], "ruler\n尺子\npencil\n铅笔\n");
    EXPECT_TRUE(missed.isEmpty()) << "the result window empties it when it closes";
}

TEST_F(WordSpellTest, LettersGoShuffledOntoExactlyTheLeftmostTilesOfTheWord) {
    // Word 5 of unit 1 is "bag". Position 3 (tile 13) takes letter 2 of "bag", position 2
    // (tile 14) letter 2 of "bg", position 1 (tile 15) the "b" left.
    fakes.random.script = {5, 2, 2, 1};
    open();
    EXPECT_EQ(fakes.trace, QStringList({"reseed", "draw 1..10 -> 5", "play word bag",
                                        "draw 1..3 -> 2", "draw 1..2 -> 2", "draw 1..1 -> 1"}));
    EXPECT_EQ(word(), "bag");
    EXPECT_EQ(meaning()->text(), "书包");
    EXPECT_EQ(tile(15)->text(), "b");
    EXPECT_EQ(tile(14)->text(), "g");
    EXPECT_EQ(tile(13)->text(), "a");
    for (int number = 1; number <= 15; ++number)
        EXPECT_EQ(tile(number)->isVisible(), number >= 13) << number;
    EXPECT_EQ(window->game().remainingWords(), 9);

    // The first click empties the hint, greys the tile and shows the redo button.
    press(13);
    EXPECT_EQ(result()->text(), "a");
    EXPECT_EQ(result()->font().pointSizeF(), 30);
    EXPECT_FALSE(tile(13)->isEnabled());
    EXPECT_EQ(tile(13)->font().pointSizeF(), 20);
    EXPECT_EQ(tile(13)->palette().color(QPalette::WindowText), QColor(192, 192, 192));
    EXPECT_TRUE(tile(13)->isVisible());
    EXPECT_TRUE(control("超级按钮_重做")->isVisible());
    // A clicked tile takes no further clicks.
    press(13);
    EXPECT_EQ(result()->text(), "a");
    EXPECT_EQ(fakes.trace.count("play letter_click"), 1);
}

// The rectangle of a tile's pixels that `isInk` accepts, as the tile paints itself.
template <typename Test>
QRect inkOf(QWidget* tile, Test isInk) {
    const QImage image = tile->grab().toImage();
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (isInk(image.pixel(x, y))) ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

TEST_F(WordSpellTest, LettersSitCentredOnTheirTilesFreshAndClicked) {
    fakes.random.script = {7};  // "pencil box": letters with and without ascenders/descenders
    open();
    const auto black = [](QRgb p) { return qAlpha(p) > 128 && QColor(p).value() < 120; };
    for (int number = 6; number <= 15; ++number) {
        const QString letter = tile(number)->text();
        if (letter == " ") continue;
        const QRect ink = inkOf(tile(number), black);
        ASSERT_FALSE(ink.isEmpty()) << number;
        EXPECT_LE(std::abs(ink.left() + ink.right() + 1 - 40), 3) << letter.toStdString();
        EXPECT_GE(ink.top(), 1) << letter.toStdString();
        EXPECT_LE(ink.bottom(), 38) << letter.toStdString();
        // Letters of x-height alone sit upright in the middle.
        if (QStringLiteral("ceo").contains(letter)) {
            EXPECT_LE(std::abs(ink.top() + ink.bottom() + 1 - 40), 3) << letter.toStdString();
        }
    }
    // The clicked look's silver letter is centred as well.
    press(6);
    const QRect grey = inkOf(tile(6), [](QRgb p) { return QColor(p) == QColor(192, 192, 192); });
    ASSERT_FALSE(grey.isEmpty());
    EXPECT_LE(std::abs(grey.left() + grey.right() + 1 - 40), 3);
}

TEST_F(WordSpellTest, TheTwoWordEntryHasATileForItsSpace) {
    fakes.random.script = {7};  // "pencil box"; its letters then land by low-end draws
    open();
    ASSERT_EQ(word(), "pencil box");
    int spaces = 0;
    for (int number = 1; number <= 15; ++number) {
        EXPECT_EQ(tile(number)->isVisible(), number >= 6) << number;
        spaces += tile(number)->text() == " ";
    }
    EXPECT_EQ(spaces, 1);
    spell("pencil box");
    EXPECT_EQ(fakes.trace.count("play letter_click"), 10);
    EXPECT_TRUE(fakes.trace.contains("play right_answer"));
    EXPECT_TRUE(missed.isEmpty());
    EXPECT_EQ(word(), "ruler");
}

TEST_F(WordSpellTest, RedoMidWordFreshensTheClickedTilesAndKeepsTheWord) {
    open();  // "ruler" laid out r u l e r from tile 11 to tile 15
    press(11);
    press(12);
    EXPECT_EQ(result()->text(), "ru");
    click("超级按钮_重做");
    EXPECT_EQ(result()->text(), "");
    for (int number = 11; number <= 15; ++number) {
        EXPECT_TRUE(tile(number)->isEnabled() && tile(number)->isVisible());
        EXPECT_EQ(tile(number)->font().pointSizeF(), 30);
        EXPECT_EQ(tile(number)->palette().color(QPalette::WindowText), QColor(Qt::black));
    }
    EXPECT_TRUE(tile(1)->isHidden()) << "visibility stays as it was";
    EXPECT_EQ(word(), "ruler");
    EXPECT_EQ(window->game().question().letterClicks, 0);
    fakes.trace.clear();
    spellLowEnd(5);
    EXPECT_EQ(fakes.trace.mid(0, 7),
              repeat("play letter_click", 5) + QStringList({"play right_answer", "reseed"}));
    EXPECT_TRUE(missed.isEmpty());
}

TEST_F(WordSpellTest, FinishingAWordAfterTheAnswerIsJudgedWrong) {
    open();
    press(11);
    click("超级按钮_答案");
    EXPECT_EQ(result()->text(), "ruler");
    for (int number = 12; number <= 15; ++number) press(number);
    EXPECT_TRUE(fakes.trace.contains("play wrong1"));
    EXPECT_FALSE(fakes.trace.contains("play right_answer"));
    EXPECT_EQ(missed.entries(), QStringList({"ruler", "尺子"}));
    // Looked at before the first click, the answer is cleared by that click.
    ASSERT_EQ(word(), "pencil");
    click("超级按钮_答案");
    EXPECT_EQ(result()->text(), "pencil");
    spellLowEnd(6);
    EXPECT_TRUE(fakes.trace.contains("play right_answer"));
    EXPECT_EQ(missed.count(), 1);
}

TEST_F(WordSpellTest, WithReadingOffNoWordIsHeardAndReplayIsSilent) {
    open();
    click("超级按钮_再听一遍");
    EXPECT_EQ(fakes.trace.last(), "play word ruler");
    control<QCheckBox>("选择框_排序读音开关")->click();
    EXPECT_EQ(control<QCheckBox>("选择框_排序读音开关")->text(), "读音关");
    fakes.trace.clear();
    click("超级按钮_再听一遍");
    EXPECT_TRUE(fakes.trace.isEmpty());
    spellLowEnd(5);
    EXPECT_EQ(fakes.trace, repeat("play letter_click", 5) + QStringList{"play right_answer"} +
                               lowEndWord(9, "pencil", false));
    fakes.trace.clear();
    click("超级按钮_排序开始");
    EXPECT_EQ(fakes.trace, QStringList{"stop"} + lowEndWord(8, "eraser", false));
}

TEST_F(WordSpellTest, TheMeaningBoxActsAtOnceAndNewWordsRespectIt) {
    open();
    auto* box = control<QCheckBox>("选择框_单词翻译");
    ASSERT_TRUE(meaning()->isVisible());
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_FALSE(meaning()->isVisible());
    EXPECT_EQ(box->text(), "单词翻译开");
    click("超级按钮_排序开始");
    EXPECT_FALSE(meaning()->isVisible()) << "left hidden while unchecked";
    EXPECT_EQ(meaning()->text(), "铅笔");
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_TRUE(meaning()->isVisible());
    EXPECT_EQ(box->text(), "单词翻译关");
}

TEST_F(WordSpellTest, AFinishedPassIsInertUntilAUnitIsChosen) {
    closeResultWindowWhenShown();
    open();
    for (int i = 0; i < 10; ++i) click("超级按钮_排序开始");
    ASSERT_EQ(fakes.messages.texts(), QStringList{summary(10, 10)});
    QApplication::processEvents();
    ASSERT_EQ(reports.size(), 1);
    ASSERT_TRUE(missed.isEmpty());
    // The last word ("desk") stays on its tiles, shown inert: greyed like a disabled control,
    // at its size, with no pointing hand; nothing judges or records it.
    const auto black = [](QRgb p) { return qAlpha(p) > 128 && QColor(p).value() < 100; };
    for (int number = 12; number <= 15; ++number) {
        EXPECT_TRUE(tile(number)->isVisible() && !tile(number)->isEnabled()) << number;
        EXPECT_TRUE(tile(number)->isInert());
        EXPECT_EQ(tile(number)->cursor().shape(), Qt::ArrowCursor);
        EXPECT_EQ(tile(number)->font().pointSizeF(), 30);
        EXPECT_TRUE(inkOf(tile(number), black).isEmpty()) << "no black letter on tile " << number;
        EXPECT_FALSE(inkOf(tile(number), [](QRgb p) {
                         return QColor(p) == QColor(128, 128, 128);
                     }).isEmpty());
    }
    fakes.trace.clear();
    for (int number = 12; number <= 15; ++number) press(number);
    click("超级按钮_排序开始");
    EXPECT_TRUE(fakes.trace.isEmpty());
    EXPECT_EQ(fakes.messages.shown.size(), 1);
    EXPECT_TRUE(missed.isEmpty());
    EXPECT_EQ(result()->text(), "");
    // The answer and the replay still serve the last word.
    click("超级按钮_答案");
    EXPECT_EQ(result()->text(), "desk");
    click("超级按钮_再听一遍");
    EXPECT_EQ(fakes.trace, QStringList{"play word desk"});
    // Choosing a unit starts a new pass.
    fakes.trace.clear();
    control<QComboBox>("组合框_单词排序课时选择")->setCurrentIndex(1);
    const QString first = book::LoadUnitWords(2).UnitEnglishWords[0];
    EXPECT_EQ(fakes.trace, QStringList{"stop"} + lowEndWord(10, first));
    EXPECT_TRUE(tile(15)->isEnabled() && !tile(15)->isInert());
    EXPECT_EQ(tile(15)->cursor().shape(), Qt::PointingHandCursor);
    spellLowEnd(int(first.size()));
    EXPECT_TRUE(fakes.trace.contains("play right_answer"));
}

TEST_F(WordSpellTest, TheRedoButtonHidesOnceAWordIsFinishedOrSkipped) {
    open();  // "ruler" on tiles 11 to 15, then "pencil" on tiles 10 to 15
    QWidget* redo = control("超级按钮_重做");
    press(11);
    EXPECT_TRUE(redo->isVisible());
    for (int number = 12; number <= 15; ++number) press(number);
    ASSERT_EQ(word(), "pencil");
    EXPECT_FALSE(redo->isVisible());
    press(10);
    EXPECT_TRUE(redo->isVisible());
    click("超级按钮_排序开始");
    ASSERT_EQ(word(), "eraser");
    EXPECT_FALSE(redo->isVisible());
}

TEST_F(WordSpellTest, APassEndedBeforeTheWindowIsShownOpensItsResultWindowOnceShown) {
    window = std::make_unique<WordSpellWindow>(&reader, missed);
    auto* next = window->findChild<QAbstractButton*>("超级按钮_排序开始");
    for (int i = 0; i < 10; ++i) next->click();
    ASSERT_TRUE(window->game().passOver());
    EXPECT_EQ(fakes.messages.texts(), QStringList{summary(10, 10)});
    QApplication::processEvents();
    EXPECT_EQ(missed.entries().size(), 20) << "no result window over a window not shown";
    window->show();
    closeResultWindowSoon();
    QApplication::processEvents();
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].startsWith("ruler\n尺子\npencil\n铅笔\n"));
    EXPECT_TRUE(missed.isEmpty());
    // It was owed once: showing the window again opens nothing.
    window->hide();
    window->show();
    closeResultWindowSoon();
    QApplication::processEvents();
    EXPECT_EQ(reports.size(), 1);
}

TEST_F(WordSpellTest, MissesOfAnUnfinishedUnitCountInTheNextSummary) {
    closeResultWindowWhenShown();
    missed.record("cat", "猫");  // from an earlier opening of the window
    open();
    click("超级按钮_排序开始");  // "ruler" skipped
    control<QComboBox>("组合框_单词排序课时选择")->setCurrentIndex(5);
    EXPECT_EQ(missed.entries().size(), 4) << "choosing a unit keeps the list";
    const QStringList words = book::LoadUnitWords(6).UnitEnglishWords;
    for (const QString& w : words) spellLowEnd(int(w.size()));
    EXPECT_EQ(fakes.messages.texts(), QStringList{summary(int(words.size()), 2)});
    ASSERT_EQ(reports.size(), 1);
    EXPECT_EQ(reports[0], "cat\n猫\nruler\n尺子\n");
}

TEST(WordSpellLaunch, TheReadersButtonOpensTheGameModallyOverTheReader) {
    using namespace testing_support;
    FakeServices fakes;
    QWidget loading;
    const auto reader = openReader(&loading);
    reader->show();
    int opened = 0;
    whenModal<WordSpellWindow>(reader.get(), [&](WordSpellWindow& game) {
        ++opened;
        EXPECT_EQ(game.parentWidget(), reader.get());
        EXPECT_TRUE(game.isModal());
        click(&game, "超级按钮_排序开始");  // "ruler" skipped
        click(&game, "超级按钮_提交答案1");
    });
    click(reader.get(), "超级按钮_单词排序");
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(fakes.trace.mid(0, 3), QStringList({"reseed", "draw 1..10 -> 1", "play word ruler"}));
    EXPECT_EQ(session().games.missedWords.entries(), QStringList({"ruler", "尺子"}))
        << "the miss is the program's, kept beyond the window";
    for (QWidget* top : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<WordSpellWindow*>(top), nullptr) << "destroyed when closed";
}

// ---- The rules alone, with lists no unit holds ------------------------------------------

TEST(WordSpellRules, UnequalCountsAreReportedAndPlayGoesOn) {
    testing_support::FakeServices fakes;
    MissedWords missed;
    WordSpellGame game(missed);
    const SpellNews loaded = game.LoadWords({"cat", "dog"}, {"猫"}, {});
    ASSERT_EQ(loaded.messages.size(), 1);
    EXPECT_EQ(loaded.messages[0].text, "英语汉语数量不同");
    EXPECT_TRUE(loaded.messages[0].caption.isNull()) << "the default caption";
    EXPECT_EQ(game.unitSize(), 2);
    fakes.random.script = {2};
    EXPECT_TRUE(game.SetNewWord().messages.isEmpty());
    EXPECT_EQ(game.question().word, "dog");
    EXPECT_EQ(game.meaningText(), "") << "the missing meaning reads as empty";
    game.SkipWord();
    EXPECT_EQ(game.question().word, "cat");
    EXPECT_EQ(game.meaningText(), "猫");
    const SpellNews end = game.SkipWord();
    EXPECT_TRUE(game.passOver());
    ASSERT_EQ(end.messages.size(), 1);
    EXPECT_EQ(end.messages[0].text, summary(2, 2));
    EXPECT_TRUE(end.listMisses);
    EXPECT_EQ(missed.entries(), QStringList({"dog", "", "cat", "猫"}))
        << "the game itself never empties the list";
    EXPECT_TRUE(fakes.messages.shown.isEmpty()) << "the rules open no message box";
}

TEST(WordSpellRules, AWordTooLongForTheRowIsLeftOutSafely) {
    testing_support::FakeServices fakes;
    MissedWords missed;
    WordSpellGame game(missed);
    const QString fifteen = "abcdefghijklmno";
    game.LoadWords({"abcdefghijklmnop", fifteen}, {"十六", "十五"}, {});
    fakes.random.script = {1};
    game.SetNewWord();
    // The 16-letter word is dropped unheard and unrecorded; the draw starts again.
    EXPECT_EQ(fakes.trace.mid(0, 4),
              QStringList({"reseed", "draw 1..2 -> 1", "reseed", "draw 1..1 -> 1"}));
    EXPECT_EQ(game.question().word, fifteen);
    for (int number = 1; number <= 15; ++number) EXPECT_TRUE(game.tile(number).visible);
    EXPECT_TRUE(missed.isEmpty());
    // Low-end draws put "a" on tile 1 and "o" on tile 15: spelled from tile 1 upwards.
    SpellNews end;
    for (int number = 1; number <= 15; ++number) end = game.ClickTile(number);
    EXPECT_EQ(fakes.trace.count("play right_answer"), 1);
    EXPECT_EQ(end.messages, QList<GameMessage>({{summary(1, 0), "错误情况"}}));
    EXPECT_FALSE(end.listMisses);
}

TEST(WordSpellRules, WordsAreMeasuredInGbkBytesAndADoubleByteLetterHasNoTile) {
    testing_support::FakeServices fakes;
    MissedWords missed;
    WordSpellGame game(missed);
    // Fifteen characters but sixteen bytes; three characters of two bytes each; a plain word.
    game.LoadWords({QStringLiteral("abcdefghijklmn！"), QStringLiteral("ｃａｔ"), "dog"},
                   {"十六", "猫", "狗"}, {});
    game.SetNewWord();
    EXPECT_EQ(fakes.trace.mid(0, 6), QStringList({"reseed", "draw 1..3 -> 1", "reseed",
                                                  "draw 1..2 -> 1", "reseed", "draw 1..1 -> 1"}));
    ASSERT_EQ(game.question().word, "dog");
    EXPECT_EQ(game.unitSize(), 1);
    for (int number = 1; number <= 15; ++number)
        EXPECT_EQ(game.tile(number).visible, number >= 13) << number;
    SpellNews end;
    for (int number = 13; number <= 15; ++number) end = game.ClickTile(number);
    EXPECT_EQ(fakes.trace.count("play right_answer"), 1);
    EXPECT_EQ(end.messages, QList<GameMessage>({{summary(1, 0), "错误情况"}}));
    EXPECT_TRUE(missed.isEmpty());
}

TEST(WordSpellRules, CapitalsCountInTheJudgement) {
    testing_support::FakeServices fakes;
    MissedWords missed;
    WordSpellGame game(missed);
    game.LoadWords({"Bob", "Bob"}, {"鲍勃", "鲍勃"}, {});
    // Low-end draws put "B" on tile 13, "o" on tile 14 and "b" on tile 15.
    game.SetNewWord();
    for (int number : {15, 14, 13}) game.ClickTile(number);  // "boB"
    EXPECT_EQ(fakes.trace.count("play wrong1"), 1);
    EXPECT_EQ(missed.entries(), QStringList({"Bob", "鲍勃"}));
    for (int number : {13, 14, 15}) game.ClickTile(number);
    EXPECT_EQ(fakes.trace.count("play right_answer"), 1);
    EXPECT_EQ(missed.count(), 1);
}

TEST(WordSpellRules, ClicksOnHiddenOrOutOfRangeTilesAreIgnored) {
    testing_support::FakeServices fakes;
    MissedWords missed;
    WordSpellGame game(missed);
    game.LoadWords({"cat"}, {"猫"}, {});
    game.SetNewWord();
    fakes.trace.clear();
    for (int number : {0, 1, 12, 16}) game.ClickTile(number);
    EXPECT_TRUE(fakes.trace.isEmpty());
    EXPECT_EQ(game.resultLine(), kRightHint);
    EXPECT_EQ(game.question().letterClicks, 0);
}
