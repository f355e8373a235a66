// Listen-and-find practice and find-it driven as the child drives them: toolbar buttons and
// presses on the page, with scripted draws and recorded sounds, pauses and message boxes.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QTest>

#include "app/features.h"
#include "book/book.h"
#include "book/page_content.h"
#include "reader/reader_window.h"
#include "support/fake_services.h"
#include "ui/controls.h"

using namespace book;
using namespace reader;
using Clips = QList<sound::SoundClip>;

void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// Failures name what the child heard instead of dumping the recordings' bytes.
void PrintTo(const QByteArray& clip, std::ostream* os) {
    for (const char* role : {"practice_intro", "findit_intro", "praise1", "praise2", "praise3",
                             "retry1", "retry2", "retry3", "retry4", "done"}) {
        if (clip == namedClip(role)) {
            *os << role;
            return;
        }
    }
    *os << "recording of entry "
        << testing_support::session().reader.page.PageClips.indexOf(clip) + 1;
}

namespace {

constexpr int kPage4 = 1, kPage12 = 5, kPage64 = 31, kPage68 = 33;

sound::SoundClip praise(int a) {
    return namedClip(("praise" + std::to_string(a)).c_str());
}
sound::SoundClip retry(int b) {
    return namedClip(("retry" + std::to_string(b)).c_str());
}

class ExerciseTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window = testing_support::openReader(&loading);
        window->show();
    }
    void goToScreen(int screen) {
        while (window->shownScreen() < screen) click("超级按钮_下一页");
        forget();
    }
    void click(const char* name) {
        QTest::mouseClick(window->findChild<QAbstractButton*>(QString::fromUtf8(name)),
                          Qt::LeftButton);
    }
    // Starts an exercise whose first question draw is `firstPick` (0: the low end).
    void start(const char* button, int firstPick = 0) {
        if (firstPick) fakes.random.script = {firstPick};
        click(button);
    }
    void forget() {
        fakes.sound.events.clear();
        fakes.pauser.pauses.clear();
        fakes.random.draws.clear();
    }
    // A press where the child's finger lands: whatever control lies at that window point.
    void pressWindow(QPoint point) {
        QWidget* target = window->childAt(point);
        ASSERT_NE(target, nullptr);
        QTest::mousePress(target, Qt::LeftButton, {}, target->mapFrom(window.get(), point));
    }
    // A press on the middle of a hotspot, with the press's draws: praise a, retry b.
    void pressHotspot(int entry, int a = 1, int b = 1) {
        fakes.random.script = {a, b};
        pressWindow(hotspotRect(window->shownScreen(), entry).center());
    }
    bool anyOverlayUsable() const {
        for (auto* o :
             ui::childrenWithPrefix<ui::TransparentLabel>(window.get(), "透明标签练一练是否错误")) {
            if (o->isEnabled()) return true;
        }
        return false;
    }
    // A hotspot's rectangle as the book's content gives it.
    static QRect hotspotRect(int screen, int entry) {
        const book::PageDef& page = *pageOfScreen(screen);
        const book::Rect r = page.hotspots[entry - 1].rect;
        EXPECT_EQ(page.hotspots[entry - 1].number, entry);
        return QRect(r.x, r.y, r.w, r.h);
    }
    Clips played() const { return fakes.sound.played(); }
    sound::SoundClip clip(int entry) const {
        return testing_support::session().reader.page.PageClips.value(entry - 1);
    }
    QString text(int entry) const {
        return testing_support::session().reader.page.ChineseLines.value(entry - 1);
    }

    testing_support::FakeServices fakes;
    QWidget loading;
    std::unique_ptr<ReaderWindow> window;
};

}  // namespace

TEST_F(ExerciseTest, PracticeRunAsksEveryRealEntryOnceAndHandsThePageBack) {
    goToScreen(kPage4);  // placeholders at 2, 3, 13, 16; equal texts at 4/5, 6/7, ... 17/18
    start("超级按钮_练一练");
    Clips expected{namedClip("practice_intro"), clip(1)};
    QList<int> pauses{7000};
    EXPECT_FALSE(window->bubble()->isVisible());
    // Low-end draws ask the entries in page order and skip the placeholders unheard.
    const QList<int> asked{1, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 17, 18, 19};
    for (qsizetype k = 0; k < asked.size(); ++k) {
        const int a = int(k % 3) + 1;
        // Equal texts count for each other: 4 is answered on 5's hotspot and 5 on 4's.
        pressHotspot(asked[k] == 4 ? 5 : asked[k] == 5 ? 4 : asked[k], a, 4);
        expected.append(praise(a));
        pauses.append(3000);
        if (k + 1 < asked.size()) expected.append(clip(asked[k + 1]));
    }
    expected.append(namedClip("done"));
    EXPECT_EQ(played(), expected);
    EXPECT_EQ(fakes.pauser.pauses, pauses);
    EXPECT_FALSE(anyOverlayUsable());
    forget();
    pressWindow(hotspotRect(kPage4, 8).center());  // the page reads again
    EXPECT_EQ(played(), Clips{clip(8)});
    EXPECT_EQ(window->bubble()->text(), text(8));
}

TEST_F(ExerciseTest, PlaceholdersLeftLastStillEndThePage) {
    goToScreen(kPage68);  // entries 2 and 3 share their text; 4 is a placeholder
    start("超级按钮_练一练");
    for (int entry : {1, 3, 2}) pressHotspot(entry);
    EXPECT_EQ(played(), (Clips{namedClip("practice_intro"), clip(1), praise(1), clip(2), praise(1),
                               clip(3), praise(1), namedClip("done")}));
    EXPECT_FALSE(anyOverlayUsable());
    // Find-it ends the same way, the last meaning staying on show.
    start("超级按钮_找一找");
    for (int entry : {1, 2, 3}) pressHotspot(entry);
    EXPECT_EQ(played().last(), namedClip("done"));
    EXPECT_EQ(window->bubble()->text(), text(3));
    EXPECT_FALSE(anyOverlayUsable());
    EXPECT_TRUE(fakes.messages.shown.isEmpty());
}

TEST_F(ExerciseTest, PracticeOnPageSixtyFourCanBeAnswered) {
    goToScreen(kPage64);
    start("超级按钮_练一练");
    forget();
    pressHotspot(1, 2);
    EXPECT_EQ(played(), (Clips{praise(2), clip(2)}));
}

TEST_F(ExerciseTest, AMissKeepsTheItemAndRepeatsItsRecording) {
    goToScreen(kPage4);
    start("超级按钮_练一练", 5);
    forget();
    pressHotspot(12, 2, 3);
    EXPECT_EQ(played(), (Clips{retry(3), clip(5)}));
    EXPECT_EQ(fakes.pauser.pauses, QList<int>{4000});
    forget();
    pressHotspot(4, 2, 1);  // still entry 5: its twin answers it, and 18 entries remain
    EXPECT_EQ(played(), (Clips{praise(2), clip(1)}));
    EXPECT_EQ(fakes.random.draws, (QList<std::pair<int, int>>{{1, 3}, {1, 4}, {1, 18}}));
}

TEST_F(ExerciseTest, HitTestEdgesInTheOverlaysCoordinates) {
    goToScreen(kPage12);  // overlay at 8, 20; entry 6 spans 372..472 x 400..500 on the page
    ASSERT_EQ(hotspotRect(kPage12, 6), QRect(372, 400, 100, 100));
    auto* overlay = window->findChild<QWidget*>("透明标签练一练是否错误12_0");
    struct Case {
        QPoint press;
        bool viaWindow, hit;
    } const cases[] = {
        {{372, 450}, false, false},
        {{373, 450}, false, true},
        {{471, 450}, false, true},
        {{472, 450}, false, false},
        {{420, 399}, false, true},
        {{420, 391}, false, true},
        {{420, 390}, false, false},
        {{420, 499}, false, true},
        {{420, 500}, false, false},
        // Pressed on the page inside the hotspot, reported as 372, 400: the left edge.
        {{380, 420}, true, false},
        // Pressed below the hotspot, reported inside its bounds.
        {{382, 505}, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.press.x() << "," << c.press.y());
        start("超级按钮_练一练", 6);
        forget();
        fakes.random.script = {2, 3};
        if (c.viaWindow) {
            pressWindow(c.press);
        } else {
            QTest::mousePress(overlay, Qt::LeftButton, {}, c.press);
        }
        ASSERT_FALSE(played().isEmpty());
        EXPECT_EQ(played()[0], c.hit ? praise(2) : retry(3));
    }
}

TEST_F(ExerciseTest, BoundsBelongToTheirHotspotsOnEveryPage) {
    for (int screen = 0; screen < bookScreenCount(); ++screen) {
        if (!screenHasEntries(screen)) continue;
        goToScreen(screen);
        start("超级按钮_练一练");
        const QList<QRect>& bounds = testing_support::session().exercises.page.hotspotBounds();
        ASSERT_EQ(bounds.size(), testing_support::session().reader.page.ChineseLines.size())
            << screen;
        for (int i = 0; i < bounds.size(); ++i) {
            EXPECT_EQ(bounds[i], hotspotRect(screen, i + 1))
                << "screen " << screen << " entry " << i + 1;
        }
    }
    EXPECT_TRUE(fakes.messages.shown.isEmpty());
}

TEST_F(ExerciseTest, PageTurnAndSectionChoiceEndTheExercise) {
    goToScreen(kPage4);
    start("超级按钮_练一练");
    click("超级按钮_下一页");
    click("超级按钮_上一页");
    EXPECT_FALSE(anyOverlayUsable());
    forget();
    pressWindow(hotspotRect(kPage4, 1).center());
    emit window->overlayPressed(4, hotspotRect(kPage4, 1).center());  // a late report
    EXPECT_EQ(played(), Clips{clip(1)});                              // read, not checked

    goToScreen(kPage12);
    start("超级按钮_找一找");
    window->findChild<QComboBox*>("组合框课程选择")->setCurrentIndex(1);  // Unit 2: this page
    EXPECT_FALSE(anyOverlayUsable());
    forget();
    pressWindow(hotspotRect(kPage12, 6).center());
    EXPECT_EQ(played(), Clips{clip(6)});
    EXPECT_EQ(window->bubble()->text(), text(6));
}

TEST_F(ExerciseTest, FailedLengthCheckShowsTheCountsAndEndsTheExercise) {
    goToScreen(kPage4);
    testing_support::session().reader.page.ChineseLines.append(QStringLiteral("多出来的一行"));
    start("超级按钮_练一练");
    start("超级按钮_找一找");
    EXPECT_EQ(fakes.messages.texts(),
              QStringList({"19", "19", "读音数量与找到的透明标签练一练不相等", "20", "19",
                           "汉语翻译数量与找到的透明标签找一找不相等"}));
    for (const ui::MessageRequest& r : fakes.messages.shown) EXPECT_EQ(r.caption, "信息：");
    EXPECT_EQ(played(), (Clips{namedClip("practice_intro"), namedClip("findit_intro")}));
    EXPECT_FALSE(anyOverlayUsable());
    EXPECT_FALSE(window->bubble()->isVisible());
    forget();
    emit window->overlayPressed(4, hotspotRect(kPage4, 1).center());
    EXPECT_TRUE(played().isEmpty());
}

TEST_F(ExerciseTest, FindItLabelIsSizedFromTheMeaningsBytes) {
    goToScreen(kPage12);
    start("超级按钮_找一找", 6);
    EXPECT_EQ(played(), Clips{namedClip("findit_intro")});
    EXPECT_EQ(fakes.pauser.pauses, QList<int>{7000});
    ui::Label* label = window->bubble();
    EXPECT_TRUE(label->isVisible());
    EXPECT_EQ(label->text(), "红色");
    EXPECT_EQ(label->geometry(), QRect(370, 40, 60, 35));
    EXPECT_EQ(label->font().pointSizeF(), 22);
    EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

    testing_support::session().reader.page.ChineseLines[1] =
        QString(27, QChar(0x5B57));  // 27 x 字: 54 bytes
    start("超级按钮_找一找", 2);
    EXPECT_EQ(label->geometry(), QRect(-5, 40, 810, 35));
}

TEST_F(ExerciseTest, FindItSkipsPlaceholdersAndKeepsTheMeaningAfterAMiss) {
    goToScreen(kPage4);
    start("超级按钮_找一找", 2);  // a placeholder first; then the low end
    EXPECT_EQ(fakes.random.draws, (QList<std::pair<int, int>>{{1, 19}, {1, 18}}));
    EXPECT_EQ(window->bubble()->text(), text(1));
    forget();
    window->bubble()->move(500, 300);  // dragged away by the child
    pressHotspot(12, 1, 2);
    EXPECT_EQ(played(), Clips{retry(2)});
    EXPECT_EQ(fakes.pauser.pauses, QList<int>{4000});
    EXPECT_EQ(window->bubble()->text(), text(1));
    forget();
    pressHotspot(1, 3);  // the next meaning, after the placeholder at 3, back at top 40
    EXPECT_EQ(played(), Clips{praise(3)});
    EXPECT_EQ(window->bubble()->text(), text(4));
    EXPECT_EQ(window->bubble()->geometry(), QRect(250, 40, 300, 35));
}

// ---- The order of what the child hears, and of the draws behind it -------------------------

TEST_F(ExerciseTest, PracticeStepsComeInTheirOrder) {
    goToScreen(kPage4);
    // The bubble is on show from reading the page; starting practice empties and hides it.
    pressWindow(hotspotRect(kPage4, 8).center());
    ASSERT_TRUE(window->bubble()->isVisible());
    fakes.trace.clear();
    start("超级按钮_练一练", 3);  // a placeholder first: skipped unheard, then the low end
    EXPECT_FALSE(window->bubble()->isVisible());
    EXPECT_TRUE(window->bubble()->text().isEmpty());
    EXPECT_EQ(fakes.trace, QStringList({"stop", "play practice_intro", "pause 7000", "reseed",
                                        "stop", "draw 1..19 -> 3", "reseed", "stop",
                                        "draw 1..18 -> 1", "play entry 1"}));
    fakes.trace.clear();
    pressHotspot(12, 2, 3);  // a miss: the retry clip, the pause, then the item again
    EXPECT_EQ(fakes.trace, QStringList({"reseed", "draw 1..3 -> 2", "draw 1..4 -> 3", "stop",
                                        "play retry3", "pause 4000", "play entry 1"}));
    fakes.trace.clear();
    pressHotspot(1, 2, 1);  // a hit: praise, the pause, then the next question
    EXPECT_EQ(fakes.trace,
              QStringList({"reseed", "draw 1..3 -> 2", "draw 1..4 -> 1", "stop", "play praise2",
                           "pause 3000", "reseed", "stop", "draw 1..17 -> 1", "reseed", "stop",
                           "draw 1..16 -> 1", "play entry 4"}));
}

TEST_F(ExerciseTest, FindItStepsComeInTheirOrder) {
    goToScreen(kPage4);
    start("超级按钮_找一找", 1);
    EXPECT_EQ(fakes.trace.mid(fakes.trace.size() - 6),
              QStringList({"stop", "play findit_intro", "pause 7000", "reseed", "stop",
                           "draw 1..19 -> 1"}));
    fakes.trace.clear();
    pressHotspot(12, 3, 4);  // a miss shows the same meaning again and plays nothing more
    EXPECT_EQ(fakes.trace, QStringList({"reseed", "draw 1..3 -> 3", "draw 1..4 -> 4", "stop",
                                        "play retry4", "pause 4000"}));
}

TEST_F(ExerciseTest, ClosingTheReaderDuringAPauseEndsTheExercise) {
    goToScreen(kPage4);
    start("超级按钮_练一练", 1);
    fakes.pauser.during = [this] { window->close(); };
    fakes.trace.clear();
    pressHotspot(12, 1, 1);  // a miss: the item would play again after the pause
    const auto afterPause = [this](const QString& pause) {
        return fakes.trace.mid(fakes.trace.indexOf(pause) + 1);
    };
    ASSERT_TRUE(fakes.trace.contains("pause 4000"));
    EXPECT_EQ(afterPause("pause 4000").filter("play").size(), 0)
        << fakes.trace.join(", ").toStdString();
    fakes.trace.clear();
    start("超级按钮_练一练", 1);  // likewise the question after the instruction's pause
    ASSERT_TRUE(fakes.trace.contains("pause 7000"));
    EXPECT_EQ(afterPause("pause 7000").filter("play").size(), 0)
        << fakes.trace.join(", ").toStdString();
}
