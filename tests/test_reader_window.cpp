// The reader window driven as the child drives it: toolbar, page turns, sections, dictation
// screen, full-screen layout and click-to-read.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

#include "app/features.h"
#include "book/book.h"
#include "book/page_content.h"
#include "reader/reader_window.h"
#include "support/window_driving.h"
#include "ui/controls.h"

using namespace book;
using namespace reader;
using testing_support::SoundEvent;

namespace {

const QStringList kPageButtons{"超级按钮_排序", "超级按钮_找一找", "超级按钮_练一练",
                               "超级按钮_填一填", "超级按钮_中文提示"};
const QStringList kAlwaysOn{"超级按钮_全屏",     "超级按钮_背单词", "超级按钮_连连看",
                            "超级按钮_单词排序", "超级按钮_汉找英", "超级按钮_英找汉",
                            "超级按钮_退出"};

class ReaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window = testing_support::openReader(&loading);
        window->show();
    }

    QAbstractButton* button(const QString& name) const {
        return testing_support::control<QAbstractButton>(window.get(), name);
    }
    void press(const QString& name) { testing_support::click(window.get(), name); }
    bool enabled(const QString& name) const { return button(name)->isEnabled(); }
    QComboBox* sections() const { return window->findChild<QComboBox*>("组合框课程选择"); }
    ui::TransparentLabel* hotspot(const QString& name) const {
        return window->findChild<ui::TransparentLabel*>(name);
    }
    void goToScreen(int screen) {
        while (window->shownScreen() < screen) press("超级按钮_下一页");
    }

    testing_support::FakeServices fakes;
    QWidget loading;
    std::unique_ptr<ReaderWindow> window;
};

}  // namespace

TEST_F(ReaderTest, OpensOnPageTwoWithOnlyThePreviousButtonDisabled) {
    EXPECT_EQ(window->shownScreen(), 0);
    EXPECT_EQ(testing_support::session().reader.ScreenIndex, 0);
    EXPECT_FALSE(loading.isVisible());
    EXPECT_FALSE(enabled("超级按钮_上一页"));
    for (const QString& name : kPageButtons + kAlwaysOn + QStringList{"超级按钮_下一页"}) {
        EXPECT_TRUE(enabled(name)) << qPrintable(name);
    }
    EXPECT_EQ(testing_support::session().reader.page.EnglishLines.size(), 10);
    EXPECT_EQ(window->size(), QSize(800, 600));
    EXPECT_FALSE(window->bubble()->isVisible());
    EXPECT_EQ(ui::tagOf(window->bubble()), 1);
}

TEST_F(ReaderTest, ToolbarFollowsEveryScreenClass) {
    auto expectStates = [&](int screen, bool previous, bool next, bool pageButtons) {
        EXPECT_EQ(window->shownScreen(), screen);
        EXPECT_EQ(enabled("超级按钮_上一页"), previous) << screen;
        EXPECT_EQ(enabled("超级按钮_下一页"), next) << screen;
        for (const QString& name : kPageButtons)
            EXPECT_EQ(enabled(name), pageButtons) << screen << qPrintable(name);
        for (const QString& name : kAlwaysOn)
            EXPECT_TRUE(enabled(name)) << screen << qPrintable(name);
    };
    for (int screen = 1; screen <= 35; ++screen) {
        press("超级按钮_下一页");
        if (screen <= 33) expectStates(screen, true, true, true);
    }
    expectStates(35, true, false, false);
    press("超级按钮_上一页");
    expectStates(34, true, true, false);
    EXPECT_TRUE(testing_support::session().reader.page.EnglishLines.isEmpty());
    press("超级按钮_背单词");
    EXPECT_EQ(window->shownScreen(), 36);
    EXPECT_EQ(testing_support::session().reader.ScreenIndex, 34);
    expectStates(36, true, false, false);
}

TEST_F(ReaderTest, PageTurnsKeepTheListsOfTheShownPage) {
    fakes.sound.events.clear();
    press("超级按钮_下一页");
    EXPECT_EQ(window->shownScreen(), 1);
    EXPECT_EQ(testing_support::session().reader.page.EnglishLines.size(), 19);
    EXPECT_EQ(testing_support::session().reader.page.PageClips.size(), 19);
    EXPECT_GE(fakes.sound.stops(), 1);
    press("超级按钮_上一页");
    EXPECT_EQ(testing_support::session().reader.page.EnglishLines.size(), 10);
    EXPECT_EQ(testing_support::session().reader.ScreenIndex, 0);
    // The guards only show their message: nothing else changes.
    window->GoToPreviousPage();
    EXPECT_EQ(fakes.messages.texts(), QStringList({"已经第一页了！"}));
    EXPECT_EQ(fakes.messages.shown[0].caption, QString());
    EXPECT_EQ(window->shownScreen(), 0);
    // Turning pages never changes the section chooser.
    EXPECT_EQ(sections()->currentIndex(), 0);
}

TEST_F(ReaderTest, LastPageGuard) {
    sections()->setCurrentIndex(8);
    press("超级按钮_下一页");
    EXPECT_EQ(window->shownScreen(), 35);
    window->GoToNextPage();
    EXPECT_EQ(fakes.messages.texts(), QStringList({"已经最后一页了！"}));
    EXPECT_EQ(window->shownScreen(), 35);
}

TEST_F(ReaderTest, ChoosingASectionShowsItsFirstPage) {
    sections()->setCurrentIndex(8);  // 单词表
    EXPECT_EQ(window->shownScreen(), 34);
    EXPECT_EQ(testing_support::session().reader.ScreenIndex, 34);
    EXPECT_TRUE(testing_support::session().reader.page.EnglishLines.isEmpty());
    sections()->setCurrentIndex(4);  // Unit 4
    EXPECT_EQ(window->shownScreen(), 17);
    EXPECT_EQ(testing_support::session().reader.page.EnglishLines.size(), 9);
}

TEST_F(ReaderTest, ChoosingTheSectionOfTheShownPageReloadsIt) {
    goToScreen(5);  // page 12, first page of Unit 2, reached with the next button
    sections()->setCurrentIndex(1);
    EXPECT_EQ(window->shownScreen(), 5);
    ASSERT_EQ(testing_support::session().reader.page.ChineseLines.size(), 9);
    fakes.sound.events.clear();
    auto* first = hotspot("透明标签页12_2");
    ASSERT_NE(first, nullptr);
    QTest::mousePress(first, Qt::LeftButton, {}, QPoint(3, 3));
    ASSERT_EQ(fakes.sound.played().size(), 1);
    EXPECT_EQ(fakes.sound.played()[0], testing_support::session().reader.page.PageClips[1]);
    EXPECT_EQ(window->bubble()->text(), testing_support::session().reader.page.ChineseLines[1]);
}

TEST_F(ReaderTest, DictationScreenRoundTrip) {
    goToScreen(9);  // page 20
    press("超级按钮_背单词");
    EXPECT_EQ(window->shownScreen(), 36);
    EXPECT_EQ(testing_support::session().reader.ScreenIndex, 9);
    EXPECT_TRUE(testing_support::session().reader.page.EnglishLines.isEmpty());
    press("超级按钮b_退出背单词");
    EXPECT_EQ(window->shownScreen(), 9);
    EXPECT_EQ(testing_support::session().reader.page.EnglishLines.size(), 26);
    // Going back a page from the dictation screen shows the page before the one left.
    press("超级按钮_背单词");
    press("超级按钮_上一页");
    EXPECT_EQ(window->shownScreen(), 8);
    EXPECT_EQ(testing_support::session().reader.page.EnglishLines.size(), 22);
}

TEST_F(ReaderTest, PreviousPageFromDictationEnteredOnPageTwoIsGuarded) {
    press("超级按钮_背单词");
    EXPECT_TRUE(enabled("超级按钮_上一页"));
    press("超级按钮_上一页");
    EXPECT_EQ(fakes.messages.texts(), QStringList({"已经第一页了！"}));
    EXPECT_EQ(window->shownScreen(), 36);
}

TEST_F(ReaderTest, NormalLayoutMovesTickBoxesAndEmptiesCaptions) {
    const book::PageDef& page44 = *pageOfScreen(21);
    auto* tick = window->findChild<QCheckBox*>("选择框打钩44_1");
    ASSERT_NE(tick, nullptr);
    EXPECT_EQ(tick->pos(), QPoint(page44.tickBoxes[0].x + 7, page44.tickBoxes[0].y + 8));
    for (auto* label : window->findChildren<ui::TransparentLabel*>())
        EXPECT_TRUE(label->text().isEmpty());
    EXPECT_EQ(window->banner()->x(), 672);
    auto* overlay = window->findChild<ui::TransparentLabel*>("透明标签练一练是否错误54_0");
    ASSERT_NE(overlay, nullptr);
    EXPECT_FALSE(overlay->isEnabled());
    EXPECT_EQ(overlay->geometry(), QRect(8, 8, 20, 20));
    auto* box = window->findChild<QLineEdit*>("编辑框10_1");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->geometry(), QRect(41, 162, 16, 16));
}

TEST_F(ReaderTest, OverlaysCoverThePageWhenUsable) {
    window->SetExerciseOverlays(QStringLiteral("可用"));
    auto overlays =
        ui::childrenWithPrefix<ui::TransparentLabel>(window.get(), "透明标签练一练是否错误");
    EXPECT_EQ(overlays.size(), 34);
    for (auto* overlay : overlays) {
        EXPECT_TRUE(overlay->isEnabled());
        EXPECT_EQ(overlay->size(), QSize(800, 540));
    }
    // Choosing a section ends a running exercise: the overlays let presses through again.
    sections()->setCurrentIndex(1);
    for (auto* overlay : overlays) EXPECT_FALSE(overlay->isEnabled());
}

TEST_F(ReaderTest, ClickToReadPlaysTheEntryAndPlacesTheBubble) {
    const book::PageDef& page = *pageOfScreen(0);
    auto* h3 = hotspot("透明标签页二_3");
    ASSERT_NE(h3, nullptr);
    EXPECT_EQ(ui::tagOf(h3), 2);
    fakes.sound.events.clear();
    QTest::mousePress(h3, Qt::LeftButton, {}, QPoint(2, 2));
    ASSERT_EQ(fakes.sound.events.size(), 2);
    EXPECT_EQ(fakes.sound.events[0].kind, SoundEvent::Stop);
    EXPECT_EQ(fakes.sound.events[1].clip, testing_support::session().reader.page.PageClips[2]);
    const QString text = testing_support::session().reader.page.ChineseLines[2];
    EXPECT_EQ(window->bubble()->text(), text);
    EXPECT_TRUE(window->bubble()->isVisible());
    const QRect expected =
        placeBubble(QPoint(page.hotspots[2].rect.x, page.hotspots[2].rect.y), text, QSize(800, 600))
            .geometry;
    EXPECT_EQ(window->bubble()->geometry(), expected);
    EXPECT_TRUE(window->bubble()->alignment() & Qt::AlignHCenter);

    // The hint switched off: the clip still plays, the bubble stays hidden from now on.
    press("超级按钮_中文提示");
    EXPECT_EQ(button("超级按钮_中文提示")->text(), QStringLiteral("中文翻译开"));
    EXPECT_TRUE(window->bubble()->isVisible());  // a bubble already shown stays
    QTest::mousePress(hotspot("透明标签页二_4"), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_FALSE(window->bubble()->isVisible());
    EXPECT_EQ(window->bubble()->text(), testing_support::session().reader.page.ChineseLines[3]);
    press("超级按钮_中文提示");
    EXPECT_EQ(button("超级按钮_中文提示")->text(), QStringLiteral("中文翻译关"));
    EXPECT_TRUE(testing_support::session().reader.BubbleEnabled);
}

TEST_F(ReaderTest, PlaceholderAndWordListPressesPlayWithoutTranslation) {
    press("超级按钮_下一页");  // page 4 has "$" entries
    int dollar = testing_support::session().reader.page.ChineseLines.indexOf(QStringLiteral("$"));
    ASSERT_GE(dollar, 0);
    QTest::mousePress(hotspot("透明标签页四_1"), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_TRUE(window->bubble()->isVisible());
    fakes.sound.events.clear();
    QTest::mousePress(hotspot(QStringLiteral("透明标签页四_%1").arg(dollar + 1)), Qt::LeftButton,
                      {}, QPoint(2, 2));
    EXPECT_EQ(fakes.sound.played().size(), 1);
    EXPECT_FALSE(window->bubble()->isVisible());

    sections()->setCurrentIndex(8);  // page 70
    fakes.sound.events.clear();
    auto* word = hotspot("透明标签页70_64");
    ASSERT_NE(word, nullptr);
    EXPECT_EQ(ui::tagOf(word), 0);
    QTest::mousePress(word, Qt::LeftButton, {}, QPoint(2, 2));
    ASSERT_EQ(fakes.sound.played().size(), 1);
    EXPECT_EQ(fakes.sound.played()[0], clipAt(pageOfScreen(34)->hotspots[63].clip));
    EXPECT_EQ(window->bubble()->width(), 0);
}

TEST_F(ReaderTest, SecondPressCutsTheFirstClip) {
    QTest::mousePress(hotspot("透明标签页二_2"), Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mousePress(hotspot("透明标签页二_5"), Qt::LeftButton, {}, QPoint(2, 2));
    const QList<SoundEvent>& e = fakes.sound.events;
    ASSERT_EQ(e.size(), 4);
    EXPECT_EQ(e[2].kind, SoundEvent::Stop);
    EXPECT_EQ(e[3].clip, testing_support::session().reader.page.PageClips[4]);
}

TEST_F(ReaderTest, FullScreenReopensTheReaderLaidOutForTheScreen) {
    press("超级按钮_下一页");
    press("超级按钮_全屏");
    EXPECT_EQ(window->result(), ReaderWindow::kReopen);
    EXPECT_TRUE(testing_support::session().reader.FullScreenMode);
    EXPECT_TRUE(loading.isVisible());
    window = testing_support::openReader(&loading);  // what the opener does next
    window->show();
    EXPECT_FALSE(loading.isVisible());
    EXPECT_EQ(window->shownScreen(), 0);
    EXPECT_EQ(button("超级按钮_全屏")->text(), QStringLiteral("退出全屏"));
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
    // Its size is fixed at the screen's, for which the layout is made.
    EXPECT_EQ(window->minimumSize(), QSize(1024, 768));
    EXPECT_EQ(window->maximumSize(), QSize(1024, 768));
    // 1024 x 768: sx 1.28, sy 708 / 540.
    EXPECT_EQ(window->screenPicture(0)->geometry(), QRect(0, 0, 1024, 708));
    EXPECT_EQ(window->screenPicture(36)->geometry(), QRect(0, 0, 1024, 734));
    EXPECT_EQ(window->findChild<QWidget*>("分组框翻页")->geometry(), QRect(1, 702, 1013, 77));
    EXPECT_EQ(window->banner()->x(), 1013 - 118 - 2);
    EXPECT_EQ(window->findChild<QLineEdit*>("编辑框10_1")->geometry(), QRect(52, 212, 20, 20));
    EXPECT_EQ(button("超级按钮b_开始")->pos(), QPoint(179, 524));
    EXPECT_EQ(button("超级按钮b_开始")->size(), QSize(60, 40));
    // Bubble limits are the screen now.
    QTest::mousePress(hotspot("透明标签页二_2"), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_LE(window->bubble()->geometry().right(), 1024);

    press("超级按钮_全屏");
    EXPECT_FALSE(testing_support::session().reader.FullScreenMode);
    EXPECT_EQ(testing_support::session().reader.FullScreenToggleCount, 2);
    window = testing_support::openReader(&loading);
    EXPECT_EQ(window->size(), QSize(800, 600));
    EXPECT_EQ(button("超级按钮_全屏")->text(), QStringLiteral("全屏"));
}

TEST_F(ReaderTest, FullScreenOnAWideScreen) {
    fakes.shell.screen = QSize(1920, 1080);
    testing_support::session().reader.FullScreenMode = true;
    window = testing_support::openReader(&loading);
    EXPECT_EQ(window->screenPicture(3)->geometry(), QRect(0, 0, 1920, 1020));
    EXPECT_EQ(window->findChild<QWidget*>("分组框翻页")->geometry(), QRect(2, 1012, 1900, 111));
    // Hotspots scale with their page: 2.4 and 1020 / 540.
    const book::HotspotDef& h = pageOfScreen(0)->hotspots[0];
    const QRect r = hotspot("透明标签页二_1")->geometry();
    EXPECT_EQ(r.x(), int(2.4 * h.rect.x));
    EXPECT_EQ(r.height(), int(1020.0 / 540.0 * h.rect.h));
}

TEST_F(ReaderTest, AnswerMarksAreHiddenWhenThePageIsLeft) {
    auto* mark = new ui::PictureBox(window->screenPicture(0));
    ui::setTag(mark, 90);
    mark->show();
    testing_support::session().reader.AnswerMarksShown = true;
    press("超级按钮_下一页");
    EXPECT_FALSE(mark->isVisible());
}

TEST_F(ReaderTest, EveryHotspotReadsItsOwnEntry) {
    int pressed = 0;
    for (int screen = 0; screen <= 35; ++screen) {
        window->ShowScreen(screen);
        const book::PageDef& page = *pageOfScreen(screen);
        for (int i = 0; i < page.hotspotCount; ++i) {
            const book::HotspotDef& def = page.hotspots[i];
            auto* label = ui::childrenWithPrefix<ui::TransparentLabel>(
                              window->screenPicture(screen), "透明标签页")
                              .value(page.hotspotCount - 1 - i);
            ASSERT_NE(label, nullptr);
            ASSERT_TRUE(label->objectName().endsWith(QStringLiteral("_%1").arg(def.number)));
            fakes.sound.events.clear();
            QTest::mousePress(label, Qt::LeftButton, {}, QPoint(1, 1));
            ASSERT_EQ(fakes.sound.played().size(), 1) << qPrintable(label->objectName());
            const bool wordList = screen >= 34;
            const sound::SoundClip expected =
                wordList ? clipAt(def.clip)
                         : testing_support::session().reader.page.PageClips[def.number - 1];
            EXPECT_EQ(fakes.sound.played()[0], expected) << qPrintable(label->objectName());
            EXPECT_EQ(window->bubble()->text(),
                      wordList
                          ? QString()
                          : testing_support::session().reader.page.ChineseLines[def.number - 1]);
            QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(1, 1));
            ++pressed;
        }
    }
    EXPECT_EQ(pressed, 698);
}

TEST_F(ReaderTest, TheBubbleCanBeDraggedAway) {
    QTest::mousePress(hotspot("透明标签页二_2"), Qt::LeftButton, {}, QPoint(2, 2));
    ui::Label* bubble = window->bubble();
    const QPoint before = bubble->pos();
    QTest::mousePress(bubble, Qt::LeftButton, {}, QPoint(5, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(45, 35), bubble->mapToGlobal(QPointF(45, 35)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bubble, &move);
    QTest::mouseRelease(bubble, Qt::LeftButton, {}, QPoint(45, 35));
    EXPECT_EQ(bubble->pos(), before + QPoint(40, 30));
    EXPECT_EQ(bubble->palette().color(QPalette::Window), QColor(255, 255, 223));
    EXPECT_TRUE(bubble->wordWrap());
}

TEST_F(ReaderTest, EscapeDoesNotCloseTheBook) {
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->result(), 0);
}

TEST_F(ReaderTest, TheTitleBarShowsNoTextOfOurs) {
    // An empty title would make Qt show the program's name instead.
    EXPECT_FALSE(window->windowTitle().isEmpty());
    EXPECT_TRUE(window->windowTitle().trimmed().isEmpty());
}

TEST_F(ReaderTest, TheWheelOverTheSectionChooserChangesNothing) {
    goToScreen(2);
    const int index = sections()->currentIndex();
    for (const QPoint delta : {QPoint(0, -120), QPoint(0, 120)}) {
        QWheelEvent wheel(QPointF(10, 10), sections()->mapToGlobal(QPointF(10, 10)), {}, delta,
                          Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(sections(), &wheel);
    }
    EXPECT_EQ(sections()->currentIndex(), index);
    EXPECT_EQ(window->shownScreen(), 2);
}
