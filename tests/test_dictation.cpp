// The word dictation trainer driven through the reader window as the child drives it.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPlainTextEdit>
#include <QTest>

#include "app/features.h"
#include "book/vocabulary.h"
#include "reader/reader_window.h"
#include "support/fake_services.h"
#include "ui/controls.h"

using testing_support::SoundEvent;

namespace {

const QString kEnd = QStringLiteral("已经是本课时的最后一个单词了！");
const QStringList kWordButtons{"超级按钮b_再听一遍", "超级按钮b_下一题", "超级按钮b_确定背单词"};

class DictationTest : public ::testing::Test {
  protected:
    void SetUp() override { openReader(); }
    void openReader() {
        window = testing_support::openReader();
        window->show();
        QTest::mouseClick(window->findChild<QAbstractButton*>("超级按钮_背单词"), Qt::LeftButton);
    }

    template <typename T = QWidget>
    T* control(const QString& name) const {
        T* found = window->screenPicture(36)->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << qPrintable(name);
        return found;
    }
    void press(const QString& name) {
        QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton);
    }
    void answer(const QString& typed) {
        QTest::keyClicks(typing(), typed);
        QTest::keyClick(typing(), Qt::Key_Return);
    }
    QString text(const QString& label) const { return control<QLabel>(label)->text(); }
    QString status() const { return text("透明标签单词总数和错误"); }
    QString meaning() const { return text("透明标签_背单词的汉语翻译"); }
    QString mark() const { return text("透明标签_对错判断"); }
    QLineEdit* typing() const { return control<QLineEdit>("编辑框背单词"); }
    QPlainTextEdit* record() const { return control<QPlainTextEdit>("编辑框错误记录"); }
    bool enabled(const QString& name) const { return control(name)->isEnabled(); }
    // Running: start disabled and the three word buttons enabled; otherwise the reverse.
    bool buttonsRunning(bool running) const {
        bool all = enabled("超级按钮b_开始") != running;
        for (const QString& name : kWordButtons) all = all && enabled(name) == running;
        return all;
    }
    void choose(const QString& combo, int index) {
        control<QComboBox>(combo)->setCurrentIndex(index);
    }

    // The program's run, which outlives the reader windows.
    static const exercises::WordDictation& run() {
        return testing_support::session().exercises.dictation;
    }

    testing_support::FakeServices fakes;
    std::unique_ptr<reader::ReaderWindow> window;
};

}  // namespace

TEST_F(DictationTest, TextbookOrderRunMarksEveryAnswerAndRecordsTheMisses) {
    const book::UnitWords unit = book::LoadUnitWords(1);
    QList<sound::SoundClip> clips;
    book::LoadUnitWordClips(1, clips);
    EXPECT_TRUE(buttonsRunning(false));
    EXPECT_FALSE(typing()->isEnabled());
    press("超级按钮b_开始");
    EXPECT_EQ(status(), QStringLiteral("Unit 1共10个单词。目前错误0个"));
    EXPECT_TRUE(buttonsRunning(true));
    EXPECT_EQ(window->focusWidget(), typing());
    EXPECT_EQ(typing()->font().pointSize(), 22);
    EXPECT_EQ(meaning(), unit.UnitChineseWords[0]);

    answer(unit.UnitEnglishWords[0]);
    EXPECT_EQ(mark(), QStringLiteral("√"));
    QString capitalised = unit.UnitEnglishWords[1];
    capitalised[0] = capitalised[0].toUpper();
    answer(capitalised);
    EXPECT_EQ(mark(), QStringLiteral("×"));
    answer(unit.UnitEnglishWords[2] + ' ');
    EXPECT_EQ(mark(), QStringLiteral("×"));
    QTest::keyClicks(typing(), unit.UnitEnglishWords[3]);
    press("超级按钮b_确定背单词");
    EXPECT_EQ(mark(), QStringLiteral("√"));
    QTest::keyClicks(typing(), "half typed");
    press("超级按钮b_下一题");
    EXPECT_EQ(mark(), QStringLiteral("√")) << "a skip shows no mark";
    EXPECT_TRUE(typing()->text().isEmpty());
    EXPECT_EQ(window->focusWidget(), typing());
    EXPECT_EQ(status(), QStringLiteral("Unit 1共10个单词。目前错误3个"));
    for (int j = 5; j < 10; ++j) answer(unit.UnitEnglishWords[j]);  // "pencil box" among them

    ASSERT_EQ(fakes.messages.texts(), QStringList{kEnd});
    EXPECT_EQ(fakes.messages.shown[0].caption, QStringLiteral("信息："));
    EXPECT_EQ(status(), QStringLiteral("Unit 1共10个单词。共错误3个"));
    EXPECT_TRUE(buttonsRunning(false));
    EXPECT_TRUE(typing()->isHidden());
    EXPECT_FALSE(record()->isHidden());
    EXPECT_TRUE(record()->isAncestorOf(window->screenPicture(36)->childAt(250, 285)))
        << "the record covers the meaning label";
    EXPECT_EQ(record()->toPlainText(),
              unit.UnitEnglishWords[1] + unit.UnitChineseWords[1] + "\n\n" +
                  unit.UnitEnglishWords[2] + unit.UnitChineseWords[2] + "\n\n" +
                  unit.UnitEnglishWords[4] + unit.UnitChineseWords[4] + "\n\n");
    // Each word's clip in textbook order, every one after the first behind a stop.
    EXPECT_EQ(fakes.sound.played(), clips);
    EXPECT_EQ(fakes.sound.events[0].kind, SoundEvent::Stop);  // entering the screen
    EXPECT_EQ(fakes.sound.stops(), 1 + 9 + 1);
    EXPECT_TRUE(fakes.random.draws.isEmpty());
}

TEST_F(DictationTest, RandomOrderAsksEveryWordOnceFromTheShrinkingPool) {
    choose("组合框_背单词顺序选择", 1);
    fakes.random.script = {3, 1, 8, 1, 2, 5, 4, 1, 2, 1};
    press("超级按钮b_开始");
    const book::UnitWords unit = book::LoadUnitWords(1);
    QStringList asked;
    for (int i = 0; i < 10; ++i) {
        const qsizetype index = unit.UnitChineseWords.indexOf(meaning());
        asked.append(unit.UnitEnglishWords.value(index));
        answer(run().currentWord().english);
    }
    QStringList expected;
    for (int number : {3, 1, 10, 2, 5, 9, 8, 4, 7, 6})
        expected.append(unit.UnitEnglishWords[number - 1]);
    EXPECT_EQ(asked, expected);
    QList<std::pair<int, int>> ranges;
    for (int size = 10; size >= 1; --size) ranges.append({1, size});
    EXPECT_EQ(fakes.random.draws, ranges);
    EXPECT_EQ(fakes.random.reseeds, 11);
    EXPECT_EQ(status(), QStringLiteral("Unit 1共10个单词。共错误0个"));
    EXPECT_TRUE(record()->toPlainText().isEmpty());
}

TEST_F(DictationTest, ChangingAChoiceResetsAndTheNextStartBeginsAfresh) {
    press("超级按钮b_开始");
    answer("wrong");
    choose("组合框_背单词课时选择", 4);
    EXPECT_TRUE(buttonsRunning(false));
    EXPECT_TRUE(run().record().isEmpty());
    EXPECT_EQ(run().position(), 2) << "the run's lists stay until the next start";
    fakes.trace.clear();
    answer("x");  // into the box of the run just reset: it must not go on under Unit 5's name
    EXPECT_TRUE(fakes.trace.isEmpty());
    EXPECT_EQ(status(), QStringLiteral("Unit 1共10个单词。目前错误1个"));

    press("超级按钮b_开始");
    EXPECT_EQ(status(), QStringLiteral("Unit 5共8个单词。目前错误0个"));
    EXPECT_EQ(mark(), QStringLiteral("×")) << "the last mark stays across runs";
    for (int i = 0; i < 8; ++i) press("超级按钮b_下一题");
    EXPECT_EQ(status(), QStringLiteral("Unit 5共8个单词。共错误8个"));
    EXPECT_EQ(record()->toPlainText().count("\n\n"), 8);

    // A reset from the finished state brings the typing box back; a new start empties the record.
    choose("组合框_背单词顺序选择", 1);
    EXPECT_FALSE(typing()->isHidden());
    EXPECT_FALSE(typing()->isEnabled()) << "a finished run takes no more answers";
    EXPECT_TRUE(record()->isHidden());
    press("超级按钮b_开始");
    EXPECT_TRUE(record()->toPlainText().isEmpty());
    EXPECT_EQ(fakes.messages.texts(), QStringList{kEnd});
}

TEST_F(DictationTest, TheRunSurvivesLeavingTheScreenAndANewReaderWindow) {
    press("超级按钮b_开始");
    answer("x");
    answer("y");
    control<QCheckBox>("选择框_是否显示中文")->setChecked(false);
    press("超级按钮b_再听一遍");
    EXPECT_EQ(fakes.sound.played().last(), run().currentWord().clip);
    const QString word = meaning();
    press("超级按钮b_退出背单词");
    EXPECT_EQ(window->shownScreen(), testing_support::session().reader.ScreenIndex);
    QTest::mouseClick(window->findChild<QAbstractButton*>("超级按钮_下一页"), Qt::LeftButton);
    QTest::mouseClick(window->findChild<QAbstractButton*>("超级按钮_背单词"), Qt::LeftButton);
    EXPECT_EQ(meaning(), word);
    EXPECT_TRUE(control("透明标签_背单词的汉语翻译")->isHidden());
    EXPECT_EQ(status(), QStringLiteral("Unit 1共10个单词。目前错误2个"));
    EXPECT_TRUE(buttonsRunning(true));
    answer(run().currentWord().english);
    EXPECT_EQ(mark(), QStringLiteral("√"));
    EXPECT_EQ(run().position(), 4);
    EXPECT_EQ(meaning(), book::LoadUnitWords(1).UnitChineseWords[3]) << "hidden, yet it follows";

    // A reader made anew (the full-screen switch) starts with its controls as designed.
    openReader();
    EXPECT_TRUE(buttonsRunning(false));
    EXPECT_FALSE(typing()->isEnabled());
    EXPECT_TRUE(status().isEmpty());
    EXPECT_EQ(run().position(), 4);
    press("超级按钮b_开始");
    EXPECT_EQ(run().position(), 1);
    EXPECT_EQ(meaning(), book::LoadUnitWords(1).UnitChineseWords[0]);
}

TEST_F(DictationTest, RandomOrderStepsComeInTheirOrder) {
    choose("组合框_背单词顺序选择", 1);
    const book::UnitWords unit = book::LoadUnitWords(1);
    fakes.trace.clear();
    fakes.random.script = {4};
    press("超级按钮b_开始");
    const QString fourth = "play word " + unit.UnitEnglishWords[3];
    EXPECT_EQ(fakes.trace, QStringList({"reseed", "draw 1..10 -> 4", fourth}));
    fakes.trace.clear();
    fakes.random.script = {1};
    answer("x");  // wrong: stop first, then the next word
    EXPECT_EQ(fakes.trace, QStringList({"stop", "reseed", "draw 1..9 -> 1",
                                        "play word " + unit.UnitEnglishWords[0]}));
    fakes.trace.clear();
    press("超级按钮b_再听一遍");
    EXPECT_EQ(fakes.trace, QStringList({"stop", "play word " + unit.UnitEnglishWords[0]}));
    fakes.trace.clear();
    press("超级按钮b_下一题");
    EXPECT_EQ(fakes.trace, QStringList({"stop", "reseed", "draw 1..8 -> 1",
                                        "play word " + unit.UnitEnglishWords[1]}));
}
