// The two word-finding games: the rules on a recording play area (question draws in order,
// positions, distractors, the slot fields), and the real windows played as a child plays
// them, with scripted draws, recorded sounds and messages and a driven clock.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <functional>
#include <set>

#include "book/book.h"
#include "book/vocabulary.h"
#include "games/common/missed_words.h"
#include "games/result/result_window.h"
#include "games/word_finder/play_area.h"
#include "games/word_finder/word_finder_window.h"
#include "reader/reader_window.h"
#include "support/window_driving.h"
#include "ui/animation_box.h"
#include "ui/controls.h"
#include "ui/gbk_text.h"

using namespace games;

namespace {

// Unit 1: ruler 尺子, pencil 铅笔, eraser 橡皮, crayon 蜡笔, bag 书包, pen 钢笔,
// pencil box 铅笔盒, book 书, sharpener 卷笔刀（削笔刀）, desk 书桌.

// A play area that writes down what it is asked; a text is 10 pixels per GBK byte plus one,
// so that halving a width leaves a half pixel to cut.
class RecordingSurface : public FinderSurface {
  public:
    void setFontPointSize(int points) override { log << QStringLiteral("font %1").arg(points); }
    int textWidth(const QString& text) const override { return 10 * ui::gbkLength(text) + 1; }
    void drawText(int x, int y, const QString& text) override {
        log << QStringLiteral("text %1,%2 %3").arg(x).arg(y).arg(text);
    }
    void clearAll() override { log << QStringLiteral("clear"); }
    void flowerBurst(QPoint at) override {
        log << QStringLiteral("burst %1,%2").arg(at.x()).arg(at.y());
    }
    QStringList log;
};

class RulesTest : public ::testing::Test {
  protected:
    testing_support::FakeServices fakes;
    RecordingSurface surface;
    MissedWords missed;
};

TEST_F(RulesTest, ASetUpReseedsThenDrawsTargetSlotAndDistractorsInOrder) {
    WordFinderRules rules(chineseToEnglishTwin(), surface, missed);
    rules.loadUnit(1);
    fakes.random.script = {7, 3, 1, 8, 4};
    rules.setUpQuestion();
    EXPECT_EQ(fakes.trace, QStringList({"reseed", "draw 1..10 -> 7", "draw 1..4 -> 3",
                                        "draw 1..9 -> 1", "draw 1..8 -> 8", "draw 1..7 -> 4"}));
    // The pool without "pencil box" loses each pick: ruler (1 of 9), desk (8 of 8), bag
    // (4 of 7: pencil eraser crayon bag ...).
    EXPECT_EQ(surface.log,
              QStringList({"font 20", "text 119,250 铅笔盒", "text 409,360 pencil box",
                           "text 434,150 ruler", "text 659,150 desk", "text 664,360 bag"}));
    EXPECT_EQ(rules.correctSlot(), 3);
    EXPECT_EQ(rules.targetEnglish(), "pencil box");
    EXPECT_EQ(rules.targetChinese(), "铅笔盒");
    EXPECT_EQ(rules.candidates(), (std::array<QString, 4>{"ruler", "desk", "pencil box", "bag"}));
}

TEST_F(RulesTest, OnlyTheTargetLosesItsParenthesisedPart) {
    WordFinderRules chinesePrompt(chineseToEnglishTwin(), surface, missed);
    chinesePrompt.loadUnit(1);
    fakes.random.script = {9, 2};
    chinesePrompt.setUpQuestion();
    EXPECT_EQ(chinesePrompt.prompt(), "卷笔刀");
    EXPECT_EQ(chinesePrompt.candidates()[1], "sharpener");
    EXPECT_EQ(chinesePrompt.unitChineseWords()[8], "卷笔刀（削笔刀）") << "the list keeps it";

    WordFinderRules englishPrompt(englishToChineseTwin(), surface, missed);
    englishPrompt.loadUnit(1);
    // Target desk 书桌; the pool without it holds 卷笔刀（削笔刀） as its ninth entry.
    fakes.random.script = {10, 1, 9, 1, 1};
    englishPrompt.setUpQuestion();
    EXPECT_EQ(englishPrompt.prompt(), "desk");
    EXPECT_EQ(englishPrompt.candidates(),
              (std::array<QString, 4>{"书桌", "卷笔刀（削笔刀）", "尺子", "铅笔"}));
    // The missed word is recorded as shown: the meaning without its parenthesised part.
    fakes.random.script = {9, 4};
    englishPrompt.setUpQuestion();
    EXPECT_EQ(englishPrompt.candidates()[3], "卷笔刀");
    englishPrompt.skip();
    EXPECT_EQ(missed.entries(), QStringList({"sharpener", "卷笔刀"}));
}

TEST_F(RulesTest, DistractorsAreThreeDifferentEntriesNeverTheTarget) {
    for (const FinderTwin* twin : {&chineseToEnglishTwin(), &englishToChineseTwin()}) {
        WordFinderRules rules(*twin, surface, missed);
        for (int unit = 1; unit <= 6; ++unit) {
            rules.loadUnit(unit);
            const QStringList& pool =
                twin->chinesePrompt ? rules.unitEnglishWords() : rules.unitChineseWords();
            ASSERT_EQ(std::set<QString>(pool.begin(), pool.end()).size(), size_t(pool.size()));
            const int n = int(pool.size());
            for (int k = 1; k <= n; ++k) {
                for (int slot = 1; slot <= 4; ++slot) {
                    fakes.random.script = {k, slot, (k * 7) % (n - 1) + 1, n - 2, (k % 3) + 1};
                    rules.setUpQuestion();
                    const auto& shown = rules.candidates();
                    const QString right = shown[slot - 1];
                    EXPECT_EQ(right,
                              twin->chinesePrompt ? rules.targetEnglish() : rules.targetChinese());
                    std::set<QString> distractors;
                    for (int s = 1; s <= 4; ++s) {
                        if (s == slot) continue;
                        EXPECT_NE(shown[s - 1], pool[k - 1]) << "unit " << unit << " k " << k;
                        EXPECT_TRUE(pool.contains(shown[s - 1]));
                        distractors.insert(shown[s - 1]);
                    }
                    EXPECT_EQ(distractors.size(), 3u) << "unit " << unit << " k " << k;
                }
            }
        }
    }
}

TEST_F(RulesTest, AnsweringOrSkippingClearsTheOldQuestionBeforeTheNextIsWritten) {
    WordFinderRules rules(chineseToEnglishTwin(), surface, missed);
    rules.loadUnit(1);
    rules.setUpQuestion();
    const std::function<void()> ways[] = {
        [&] { rules.answerClick(answerSlots()[rules.correctSlot() - 1].clickBounds.center()); },
        [&] {
            rules.answerClick({10, 10});
        },
        [&] { rules.skip(); }};
    for (const auto& answer : ways) {
        surface.log.clear();
        answer();
        const qsizetype cleared = surface.log.indexOf("clear");
        ASSERT_GE(cleared, 0);
        EXPECT_EQ(surface.log.filter("text ").size(), 5) << "the prompt and four candidates";
        EXPECT_TRUE(surface.log.mid(0, cleared).filter("text ").isEmpty());
    }
}

TEST_F(RulesTest, ListsOfDifferentLengthsAreToldAndPlayGoesOn) {
    WordFinderRules rules(englishToChineseTwin(), surface, missed);
    EXPECT_FALSE(rules.loadUnit(1).has_value());
    const std::optional<GameMessage> message = rules.loadWords({"cat", "dog", "pig"}, {"猫", "狗"});
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->text, "汉语和英语不同");
    fakes.random.script = {3, 1};
    rules.setUpQuestion();
    EXPECT_EQ(rules.prompt(), "pig");
    EXPECT_EQ(rules.candidates(), (std::array<QString, 4>{"", "猫", "狗", ""}));
}

TEST_F(RulesTest, AClickCountsForASlotOnlyStrictlyInsideItsField) {
    EXPECT_EQ(WordFinderRules::slotAt({371, 85}), 1);
    EXPECT_EQ(WordFinderRules::slotAt({549, 249}), 1);
    EXPECT_EQ(WordFinderRules::slotAt({370, 150}), 0);
    EXPECT_EQ(WordFinderRules::slotAt({550, 150}), 0);
    EXPECT_EQ(WordFinderRules::slotAt({460, 84}), 0);
    EXPECT_EQ(WordFinderRules::slotAt({460, 250}), 0);
    EXPECT_EQ(WordFinderRules::slotAt({591, 85}), 2);
    EXPECT_EQ(WordFinderRules::slotAt({769, 249}), 2);
    EXPECT_EQ(WordFinderRules::slotAt({371, 291}), 3);
    EXPECT_EQ(WordFinderRules::slotAt({549, 449}), 3);
    EXPECT_EQ(WordFinderRules::slotAt({460, 450}), 0);
    EXPECT_EQ(WordFinderRules::slotAt({700, 300}), 4);
    EXPECT_EQ(WordFinderRules::slotAt({570, 200}), 0);  // between the fields
    EXPECT_EQ(WordFinderRules::slotAt({460, 270}), 0);
    EXPECT_EQ(WordFinderRules::slotAt({150, 260}), 0);  // on the prompt
}

// ---- The windows ----------------------------------------------------------------------

class FinderWindowTest : public testing_support::GameWindowTest<WordFinderWindow> {
  protected:
    template <typename Window>
    void open() {
        window = std::make_unique<Window>(&reader, missed);
        // Only the test ticks the game clock and the flowers' step clock.
        heldTicks.hold(clock());
        heldTicks.hold(window->playArea()->stepClock());
        window->show();
    }
    QTimer* clock() const { return control<QTimer>("时钟1"); }
    QAbstractButton* button(const char* name) const { return control<QAbstractButton>(name); }
    QComboBox* units() const { return control<QComboBox>("组合框_背单词课时选择"); }
    QString remaining() const { return text("透明标签_剩余时间"); }
    void press(QPoint point) { QTest::mouseClick(window->playArea(), Qt::LeftButton, {}, point); }
    void tick(int times = 1) {
        for (int i = 0; i < times; ++i) QMetaObject::invokeMethod(clock(), "timeout");
    }
    // Closes the result window as soon as it is open, noting what it listed.
    void closeResultWhenOpen() {
        // Tied to the game window, so a close that never came is dropped with it.
        QTimer::singleShot(0, window.get(), [this] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                auto* result = qobject_cast<ResultWindow*>(top);
                if (!result || !result->isVisible()) continue;
                reportShown = result->reportText();
                result->close();
            }
        });
    }

    testing_support::HeldTicks heldTicks;
    MissedWords missed;  // the program's list of missed words
    QString reportShown;
};

TEST_F(FinderWindowTest, AScriptedMinuteOfChineseToEnglish) {
    missed.record("old", "旧");  // left over from an earlier game
    fakes.random.script = {7, 3, 1, 8, 4};
    open<ChineseToEnglishWindow>();
    EXPECT_TRUE(missed.isEmpty());
    EXPECT_EQ(fakes.trace, QStringList({"reseed", "draw 1..10 -> 7", "draw 1..4 -> 3",
                                        "draw 1..9 -> 1", "draw 1..8 -> 8", "draw 1..7 -> 4"}));
    EXPECT_EQ(window->windowTitle(), "汉找英");
    EXPECT_EQ(window->playArea()->objectName(), "动画框");
    EXPECT_EQ(window->playArea()->geometry(), QRect(0, 0, 800, 600));
    auto* flower = window->findChild<ui::AnimationObject*>("动画物体_鲜花1");
    ASSERT_NE(flower, nullptr);
    EXPECT_EQ(flower->geometry(), QRect(4, 4, 96, 124));
    EXPECT_FALSE(flower->isVisible());
    EXPECT_EQ(button("超级按钮_下一题")->geometry(), QRect(480, 536, 72, 32));
    EXPECT_EQ(button("超级按钮_下一题")->text(), "下一题");
    EXPECT_EQ(button("超级按钮_退出")->geometry(), QRect(604, 528, 40, 40));
    EXPECT_EQ(button("超级按钮_退出")->text(), "返回");
    EXPECT_EQ(units()->pos(), QPoint(339, 537));
    EXPECT_EQ(units()->currentText(), "Unit 1");
    EXPECT_EQ(remaining(), "剩余秒：");
    EXPECT_FALSE(button("超级按钮_下一题")->isEnabled());
    EXPECT_FALSE(clock()->isActive());

    // A right answer: the chime, five flowers at the click point, and the next question.
    fakes.trace.clear();
    fakes.random.script = {1, 2, 5, 5, 5};  // ruler in slot 2
    press({460, 370});
    EXPECT_EQ(fakes.trace, QStringList({"reseed", "play right_answer", "reseed", "draw 1..10 -> 1",
                                        "draw 1..4 -> 2", "draw 1..9 -> 5", "draw 1..8 -> 5",
                                        "draw 1..7 -> 5"}));
    EXPECT_TRUE(clock()->isActive());
    EXPECT_EQ(clock()->interval(), 1000);
    const int clockId = clock()->timerId();
    EXPECT_TRUE(button("超级按钮_下一题")->isEnabled());
    EXPECT_EQ(window->playArea()->spriteCount(), 5);
    EXPECT_EQ(window->playArea()->spriteRect(1), QRect(460, 370, 96, 124));
    EXPECT_EQ(window->rules().candidates(),
              (std::array<QString, 4>{"pen", "ruler", "pencil box", "book"}));

    // A wrong field: a wrong-answer clip chosen by a draw, and the word missed. Later clicks
    // leave the clock's phase alone.
    fakes.trace.clear();
    fakes.random.script = {2, 10, 4, 1, 1, 1};  // desk in slot 4
    press({400, 100});
    EXPECT_EQ(fakes.trace, QStringList({"reseed", "draw 1..2 -> 2", "play wrong2", "reseed",
                                        "draw 1..10 -> 10", "draw 1..4 -> 4", "draw 1..9 -> 1",
                                        "draw 1..8 -> 1", "draw 1..7 -> 1"}));
    EXPECT_EQ(clock()->timerId(), clockId) << "the second click restarted the clock";

    // A click on the empty background is a miss too.
    fakes.trace.clear();
    fakes.random.script = {1, 5, 1, 2, 2, 2};  // bag in slot 1
    press({200, 450});
    EXPECT_EQ(fakes.trace, QStringList({"reseed", "draw 1..2 -> 1", "play wrong1", "reseed",
                                        "draw 1..10 -> 5", "draw 1..4 -> 1", "draw 1..9 -> 2",
                                        "draw 1..8 -> 2", "draw 1..7 -> 2"}));

    // A skip: a miss without a sound.
    fakes.trace.clear();
    fakes.random.script = {3, 4};
    QTest::mouseClick(button("超级按钮_下一题"), Qt::LeftButton);
    EXPECT_EQ(fakes.trace, QStringList({"reseed", "draw 1..10 -> 3", "draw 1..4 -> 4",
                                        "draw 1..9 -> 1", "draw 1..8 -> 1", "draw 1..7 -> 1"}));
    EXPECT_EQ(missed.entries(), QStringList({"ruler", "尺子", "desk", "书桌", "bag", "书包"}));

    tick();
    EXPECT_EQ(remaining(), "剩余秒；59");
    EXPECT_FALSE(units()->isEnabled());
    tick(58);
    EXPECT_EQ(remaining(), "剩余秒；1");
    EXPECT_TRUE(clock()->isActive());
    EXPECT_TRUE(fakes.messages.shown.isEmpty());

    fakes.trace.clear();
    closeResultWhenOpen();
    tick();
    EXPECT_EQ(fakes.trace, QStringList({"message 一分钟内你正确1个。\r\n错误3个。继续努力哦！"
                                        "错误情况如下："}));
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    EXPECT_EQ(fakes.messages.shown[0].caption, "错误情况");
    EXPECT_EQ(reportShown, "ruler\r\n尺子\r\ndesk\r\n书桌\r\nbag\r\n书包\r\n");
    EXPECT_TRUE(missed.isEmpty());
    EXPECT_FALSE(clock()->isActive());
    EXPECT_TRUE(units()->isEnabled());
    EXPECT_FALSE(button("超级按钮_下一题")->isEnabled());
    EXPECT_EQ(remaining(), "剩余秒；1") << "the label keeps its last text";
    EXPECT_EQ(window->rules().correctCount(), 0);
    EXPECT_EQ(window->rules().secondsCounter(), 0);

    // The next click starts a new game; all right this time, under the default caption.
    fakes.random.script = {};
    const int slot = window->rules().correctSlot();
    press(answerSlots()[slot - 1].clickBounds.center());
    EXPECT_TRUE(clock()->isActive());
    tick(59);
    EXPECT_EQ(fakes.messages.shown.size(), 1);
    tick();
    ASSERT_EQ(fakes.messages.shown.size(), 2);
    EXPECT_EQ(fakes.messages.shown[1].text, "太棒了！你竟然全对了，继续保持哦！");
    EXPECT_TRUE(fakes.messages.shown[1].caption.isNull()) << "the default caption";
}

TEST_F(FinderWindowTest, AUnitChangeStartsAGameThatEndsAllRightWithoutAnyClick) {
    open<EnglishToChineseWindow>();
    EXPECT_EQ(window->windowTitle(), "英找汉");
    EXPECT_EQ(window->findChild<ui::AnimationObject*>("动画物体_鲜花1")->geometry(),
              QRect(684, 4, 96, 124));
    EXPECT_EQ(button("超级按钮_下一题")->geometry(), QRect(480, 532, 72, 32));
    EXPECT_EQ(button("超级按钮_退出")->geometry(), QRect(628, 528, 40, 40));
    EXPECT_EQ(units()->pos(), QPoint(347, 532));
    EXPECT_EQ(window->rules().prompt(), "ruler");
    EXPECT_EQ(window->rules().candidates()[0], "尺子");

    missed.record("stale", "旧的");
    fakes.trace.clear();
    fakes.random.script = {2, 3};
    units()->setCurrentIndex(1);
    EXPECT_EQ(fakes.trace, QStringList({"reseed", "draw 1..10 -> 2", "draw 1..4 -> 3",
                                        "draw 1..9 -> 1", "draw 1..8 -> 1", "draw 1..7 -> 1"}));
    EXPECT_EQ(window->rules().unitEnglishWords(), book::LoadUnitWords(2).UnitEnglishWords);
    EXPECT_TRUE(missed.isEmpty());
    EXPECT_TRUE(clock()->isActive());
    EXPECT_TRUE(button("超级按钮_下一题")->isEnabled());
    closeResultWhenOpen();  // none should open; if one does, it must not block the test
    tick(60);
    EXPECT_TRUE(reportShown.isNull()) << "no result window without misses";
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    EXPECT_EQ(fakes.messages.shown[0].text, "太棒了！你竟然全对了，继续保持哦！");
    EXPECT_TRUE(fakes.messages.shown[0].caption.isEmpty());
    EXPECT_FALSE(fakes.messages.shown[0].caption.isNull()) << "an empty caption, not the default";
    EXPECT_FALSE(clock()->isActive());
    EXPECT_TRUE(fakes.sound.events.isEmpty());
}

TEST_F(FinderWindowTest, AUnitChangeCountsTheRightAnswersAfresh) {
    open<ChineseToEnglishWindow>();
    press(answerSlots()[window->rules().correctSlot() - 1].clickBounds.center());
    ASSERT_EQ(window->rules().correctCount(), 1);
    units()->setCurrentIndex(2);
    EXPECT_EQ(window->rules().correctCount(), 0);
    press({10, 10});  // a miss in the new unit's game
    closeResultWhenOpen();
    tick(60);
    EXPECT_EQ(fakes.messages.texts(),
              QStringList({"一分钟内你正确0个。\r\n错误1个。继续努力哦！错误情况如下："}));
}

TEST_F(FinderWindowTest, ClosingMidGameStopsTheClockAndReopeningGivesAFullMinute) {
    open<ChineseToEnglishWindow>();
    press({100, 100});
    tick(10);
    EXPECT_EQ(remaining(), "剩余秒；50");
    QTest::mouseClick(button("超级按钮_退出"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(clock()->isActive());
    EXPECT_TRUE(fakes.messages.shown.isEmpty());

    missed.record("left", "留下");
    open<ChineseToEnglishWindow>();
    EXPECT_TRUE(missed.isEmpty());
    EXPECT_EQ(remaining(), "剩余秒：");
    EXPECT_FALSE(clock()->isActive());
    press(answerSlots()[window->rules().correctSlot() - 1].clickBounds.center());
    tick(59);
    EXPECT_EQ(remaining(), "剩余秒；1");
    EXPECT_TRUE(fakes.messages.shown.isEmpty());
    tick();
    EXPECT_EQ(fakes.messages.texts(), QStringList({"太棒了！你竟然全对了，继续保持哦！"}));
}

TEST_F(FinderWindowTest, TheFlowersFanOutRiseFallAndAreReleasedBelowTheWindow) {
    open<ChineseToEnglishWindow>();
    ui::AnimationBox* box = window->playArea();
    const QPoint click = answerSlots()[window->rules().correctSlot() - 1].clickBounds.center();
    press(click);
    ASSERT_EQ(box->spriteCount(), 5);
    const QPointF centre = QPointF(click) + QPointF(48, 62);
    QList<QList<QPointF>> flights;
    for (const FlowerFlight& f : flowerFlights()) {
        flights.append(ui::walkPositions(
            ui::flattenQuadratic({centre, centre + f.control, centre + f.end}), kFlowerStep));
    }
    const auto topLeftAt = [](QPointF c) { return QPoint(int(c.x() - 48), int(c.y() - 62)); };
    // The flowers keep flying while the next question is answered.
    press({10, 10});
    for (int step = 0; box->stepClock()->isActive(); ++step) {
        QMetaObject::invokeMethod(box->stepClock(), "timeout");
        for (int i = 0; i < 5; ++i) {
            if (step < flights[i].size() - 1) {
                ASSERT_EQ(box->spriteRect(i + 1).topLeft(), topLeftAt(flights[i][step]))
                    << "flower " << i + 1 << " step " << step;
            }
        }
        if (step == 8) {
            EXPECT_GT(box->spriteRect(1).x(), click.x());
            EXPECT_LT(box->spriteRect(3).x(), click.x());
            EXPECT_EQ(box->spriteRect(5).x(), click.x());
            EXPECT_LT(box->spriteRect(5).y(), click.y() - 60) << "the middle one rises first";
        }
    }
    EXPECT_EQ(box->spriteCount(), 0) << "every flight ended below the window";
}

TEST_F(FinderWindowTest, TheReaderToolbarOpensBothGamesModally) {
    const auto readerWindow = testing_support::openReader(&reader);
    readerWindow->show();
    for (const auto& [buttonName, title] :
         {std::pair{"超级按钮_汉找英", "汉找英"}, std::pair{"超级按钮_英找汉", "英找汉"}}) {
        QString opened;
        testing_support::whenModal<WordFinderWindow>(readerWindow.get(),
                                                     [&opened](WordFinderWindow& game) {
                                                         opened = game.windowTitle();
                                                         game.close();
                                                     });
        testing_support::click(readerWindow.get(), QString::fromUtf8(buttonName));
        EXPECT_EQ(opened, QString::fromUtf8(title));
    }
}

}  // namespace
