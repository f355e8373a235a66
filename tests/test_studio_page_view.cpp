// The studio's page view driven as a teacher drives it, with Qt Test mouse drags at 50 % and
// 200 % zoom on the template book's first page: drawing a hotspot, the 5 px rule, moving,
// resizing by a handle and by an edge, Esc, nudges merging into one undo step, snapping, the
// limits kept while dragging, and duplicating, deleting and placing answer boxes as undo steps.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <memory>

#include "editor/page_view.h"
#include "model/book_document.h"
#include "sources/new_book.h"

namespace {

using namespace studio;

// Template page 1: entry 0 the title, 1 a boy at 80,210,130,200, 2 his line, 3 a girl at
// 340,210,130,200, 4 her line at 300,150,170,32.
constexpr ItemRef kGirl{ItemKind::Entry, 3};
constexpr ItemRef kBoy{ItemKind::Entry, 1};

QList<ItemRef> only(ItemRef item) {
    return {item};
}

class PageViewTest : public testing::TestWithParam<double> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        const QString folder = dir_.filePath(QStringLiteral("book"));
        ASSERT_EQ(tool::writeNewBook(folder), 0);
        ASSERT_TRUE(document_.open(folder));
        view_ = std::make_unique<PageView>(&document_);
        const double zoom = GetParam();
        // The whole page in view, from the viewport's top left corner: design points fall on
        // whole screen pixels at both zooms.
        view_->resize(int(800 * zoom) + 200, int(540 * zoom) + 200);
        view_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        view_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view_.get()));
        view_->setPage(0);
        view_->setZoom(zoom);
    }

    QWidget* viewport() const { return view_->viewport(); }
    QPoint at(QPointF design) const { return view_->mapFromScene(design); }
    QRect rectOf(ItemRef item) const { return document_.itemRect(0, item); }
    int steps() { return document_.undoStack()->count(); }

    // A press at `from` (design), moves on screen to `to` and a release there.
    void drag(QPointF from, QPointF to, Qt::KeyboardModifiers modifiers = {}) {
        dragOnScreen(at(from), at(to), modifiers);
    }
    void dragOnScreen(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mousePress(viewport(), Qt::LeftButton, modifiers, from);
        for (int i = 1; i <= 8; ++i) QTest::mouseMove(viewport(), from + (to - from) * i / 8);
        QTest::mouseRelease(viewport(), Qt::LeftButton, modifiers, to);
    }
    void key(int key, Qt::KeyboardModifiers modifiers = {}, bool autoRepeat = false,
             QEvent::Type type = QEvent::KeyPress) {
        QKeyEvent event(type, key, modifiers, QString(), autoRepeat);
        QApplication::sendEvent(view_.get(), &event);
    }

    QTemporaryDir dir_;
    BookDocument document_;
    std::unique_ptr<PageView> view_;
};

TEST_P(PageViewTest, DrawsAHotspotOnlyPastFiveScreenPixels) {
    view_->setTool(PageTool::NewHotspot);
    const int entries = int(document_.page(0).entries.size());
    dragOnScreen(at({560, 260}), at({560, 260}) + QPoint(3, 3));
    EXPECT_EQ(document_.page(0).entries.size(), entries);
    EXPECT_EQ(steps(), 0);

    drag({560, 260}, {660, 340});
    ASSERT_EQ(document_.page(0).entries.size(), entries + 1);
    EXPECT_EQ(document_.page(0).entries.last().rect, QRect(560, 260, 100, 80));
    EXPECT_EQ(view_->selection(), only({ItemKind::Entry, entries}));
    EXPECT_EQ(steps(), 1);

    // A short drag still makes a hotspot the check takes: at least 24 x 13.
    drag({560, 440}, {572, 446});
    EXPECT_EQ(document_.page(0).entries.last().rect, QRect(560, 440, 24, 13));
    document_.undoStack()->undo();
    document_.undoStack()->undo();
    EXPECT_EQ(document_.page(0).entries.size(), entries);
}

TEST_P(PageViewTest, MovesAndResizesAsOneUndoStepEach) {
    const QRect girl = rectOf(kGirl);
    const QPoint inside(404, 310);

    // Under 5 screen pixels a press on an item moves nothing.
    dragOnScreen(at(inside), at(inside) + QPoint(3, 3));
    EXPECT_EQ(rectOf(kGirl), girl);
    EXPECT_EQ(view_->selection(), only(kGirl));
    EXPECT_EQ(steps(), 0);

    drag(inside, inside + QPoint(30, 20));
    EXPECT_EQ(rectOf(kGirl), girl.translated(30, 20));
    EXPECT_EQ(steps(), 1);

    // The bottom right handle, then the left edge away from its handles.
    const QRect moved = rectOf(kGirl);
    const QPointF corner(moved.x() + moved.width(), moved.y() + moved.height());
    drag(corner, corner + QPointF(20, -30));
    EXPECT_EQ(rectOf(kGirl), QRect(moved.x(), moved.y(), moved.width() + 20, moved.height() - 30));
    EXPECT_EQ(steps(), 2);
    const QRect grown = rectOf(kGirl);
    const QPointF edge(grown.x(), grown.y() + grown.height() / 4.0);
    drag(edge, edge + QPointF(-10, 7));
    EXPECT_EQ(rectOf(kGirl), grown.adjusted(-10, 0, 0, 0));
    EXPECT_EQ(steps(), 3);

    // A drag that comes back where it started leaves no step.
    const QPoint centre = rectOf(kGirl).center();
    QTest::mousePress(viewport(), Qt::LeftButton, {}, at(centre));
    QTest::mouseMove(viewport(), at(centre + QPoint(40, 0)));
    QTest::mouseMove(viewport(), at(centre));
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, at(centre));
    EXPECT_EQ(steps(), 3);

    // Two selected move together, one step; undo gives both back.
    const QRect boy = rectOf(kBoy), before = rectOf(kGirl);
    const QPoint onBoy(144, 310);
    QTest::mouseClick(viewport(), Qt::LeftButton, Qt::ControlModifier, at(onBoy));
    EXPECT_EQ(view_->selection().size(), 2);
    drag(onBoy, onBoy + QPoint(0, 40));
    EXPECT_EQ(rectOf(kBoy), boy.translated(0, 40));
    EXPECT_EQ(rectOf(kGirl), before.translated(0, 40));
    EXPECT_EQ(steps(), 4);
    document_.undoStack()->undo();
    EXPECT_EQ(rectOf(kBoy), boy);
    EXPECT_EQ(rectOf(kGirl), before);
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, at(onBoy));
    EXPECT_EQ(view_->selection(), only(kBoy));
}

TEST_P(PageViewTest, EscapeRestoresTheGeometryAndLeavesNoStep) {
    const QRect girl = rectOf(kGirl);
    const QPoint from = at(QPoint(404, 310));
    QTest::mousePress(viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(viewport(), from + QPoint(30, 30));
    QTest::mouseMove(viewport(), from + QPoint(60, 40));
    EXPECT_NE(rectOf(kGirl), girl);
    key(Qt::Key_Escape);
    EXPECT_EQ(rectOf(kGirl), girl);
    QTest::mouseMove(viewport(), from + QPoint(80, 40));
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, from + QPoint(80, 40));
    EXPECT_EQ(rectOf(kGirl), girl);
    EXPECT_EQ(steps(), 0);
    EXPECT_FALSE(document_.isModified());
}

TEST_P(PageViewTest, HeldArrowsMoveAsOneStepAndTabWalksTheEntries) {
    view_->setFocus();
    key(Qt::Key_Tab);
    EXPECT_EQ(view_->selection(), only({ItemKind::Entry, 0}));
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(view_->selection(), only({ItemKind::Entry, 2}));

    view_->setSelection({kGirl});
    const QRect girl = rectOf(kGirl);
    key(Qt::Key_Right);
    for (int i = 0; i < 4; ++i) key(Qt::Key_Right, {}, true);
    key(Qt::Key_Right, {}, true, QEvent::KeyRelease);  // a repeat's release: still held
    key(Qt::Key_Right, {}, true);
    key(Qt::Key_Right, {}, false, QEvent::KeyRelease);
    EXPECT_EQ(rectOf(kGirl), girl.translated(6, 0));
    EXPECT_EQ(steps(), 1);

    key(Qt::Key_Up, Qt::ShiftModifier);
    key(Qt::Key_Up, Qt::ShiftModifier, true);
    key(Qt::Key_Up, Qt::ShiftModifier, false, QEvent::KeyRelease);
    EXPECT_EQ(rectOf(kGirl), girl.translated(6, -20));
    EXPECT_EQ(steps(), 2);
    document_.undoStack()->undo();
    EXPECT_EQ(rectOf(kGirl), girl.translated(6, 0));
}

TEST_P(PageViewTest, EdgesSnapAndLimitsHoldWhileDragging) {
    // The girl's left edge let go 3 from the boy's right edge (210) lands on it.
    const QPoint inside(404, 310);
    drag(inside, inside + QPoint(213 - 340, 0));
    EXPECT_EQ(rectOf(kGirl), QRect(210, 210, 130, 200));

    // Let go where it started, an item 2 from another's edge stays where it was: no step.
    const ItemRef line{ItemKind::Entry, 4};
    document_.setGeometry(0, {{line, QRect(282, 150, 170, 32)}});  // the title ends at 280
    QTest::mousePress(viewport(), Qt::LeftButton, {}, at(QPoint(360, 166)));
    QTest::mouseMove(viewport(), at(QPoint(400, 200)));
    QTest::mouseMove(viewport(), at(QPoint(360, 166)));
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, at(QPoint(360, 166)));
    EXPECT_EQ(rectOf(line), QRect(282, 150, 170, 32));
    EXPECT_EQ(steps(), 2);

    // Past the page's edges the item stops at them, at every step of the drag.
    const QPoint centre(274, 310);
    QTest::mousePress(viewport(), Qt::LeftButton, {}, at(centre));
    QTest::mouseMove(viewport(), at(centre + QPoint(-250, 0)));
    EXPECT_EQ(rectOf(kGirl).topLeft(), QPoint(0, 210));
    QTest::mouseMove(viewport(), at(centre + QPoint(0, 260)));
    EXPECT_EQ(rectOf(kGirl).topLeft(), QPoint(210, 340));
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, at(centre + QPoint(0, 260)));

    // A handle pulled far keeps the hotspot within the check's largest and smallest sizes.
    const QPoint topRight(340, 340);
    QTest::mousePress(viewport(), Qt::LeftButton, {}, at(topRight));
    QTest::mouseMove(viewport(), at(topRight + QPoint(30, -20)));
    QTest::mouseMove(viewport(), at(QPoint(640, 190)));
    EXPECT_EQ(rectOf(kGirl), QRect(210, 316, 320, 224));
    QTest::mouseMove(viewport(), at(QPoint(220, 536)));
    EXPECT_EQ(rectOf(kGirl), QRect(210, 527, 24, 13));
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, at(QPoint(220, 536)));
    EXPECT_EQ(steps(), 4);
}

TEST_P(PageViewTest, DuplicatesRemovesAndPlacesBoxesAsUndoSteps) {
    const int entries = int(document_.page(0).entries.size());
    const QStringList lines = document_.lines(document_.fileOfPage(0));
    view_->setSelection({kGirl});
    key(Qt::Key_D, Qt::ControlModifier);
    ASSERT_EQ(document_.page(0).entries.size(), entries + 1);
    const tool::Entry& copy = document_.page(0).entries.last();
    EXPECT_EQ(copy.rect, rectOf(kGirl).translated(10, 10));
    EXPECT_EQ(copy.english, document_.page(0).entries[kGirl.index].english);
    EXPECT_EQ(copy.thing, QStringLiteral("girl"));
    EXPECT_EQ(view_->selection(), only({ItemKind::Entry, entries}));

    // Two deleted at once are one step, and the renumbered lines come back byte for byte.
    view_->setSelection({kBoy, ItemRef{ItemKind::Entry, entries}});
    key(Qt::Key_Delete);
    EXPECT_EQ(document_.page(0).entries.size(), entries - 1);
    EXPECT_TRUE(view_->selection().isEmpty());
    EXPECT_EQ(steps(), 2);
    document_.undoStack()->undo();
    document_.undoStack()->undo();
    EXPECT_EQ(document_.lines(document_.fileOfPage(0)), lines);

    // The box tool places a fill box where it is clicked; near the top its mark (20 above) keeps
    // it on the page.
    view_->setTool(PageTool::NewAnswerBox);
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, at({600, 300}));
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, at({700, 4}));
    ASSERT_EQ(document_.page(0).fills.size(), 2);
    EXPECT_EQ(document_.page(0).fills[0].pos, QPoint(600, 300));
    EXPECT_EQ(document_.page(0).fills[1].pos, QPoint(700, 20));
    EXPECT_EQ(document_.page(0).fills[1].number, 2);
    view_->setNewBoxKind(ItemKind::Tick);
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, at({780, 300}));  // its mark needs 50
    ASSERT_EQ(document_.page(0).ticks.size(), 1);
    EXPECT_EQ(document_.page(0).ticks[0].pos, QPoint(750, 300));
    EXPECT_EQ(document_.page(0).ticks[0].expected, -1);
    view_->setTool(PageTool::Select);
    view_->setSelection({{ItemKind::Fill, 0}});
    key(Qt::Key_Delete);
    ASSERT_EQ(document_.page(0).fills.size(), 1);
    EXPECT_EQ(document_.page(0).fills[0].number, 1);  // renumbered
    EXPECT_EQ(document_.page(0).fills[0].pos, QPoint(700, 20));
}

TEST_P(PageViewTest, CtrlWheelZoomsWithinItsLimits) {
    const auto wheel = [this](int steps) {
        const QPoint middle = viewport()->rect().center();
        QWheelEvent event(middle, viewport()->mapToGlobal(middle), {}, {0, 120 * steps},
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport(), &event);
    };
    const double zoom = view_->zoom();
    wheel(1);
    EXPECT_GT(view_->zoom(), zoom);
    wheel(40);
    EXPECT_DOUBLE_EQ(view_->zoom(), 4.0);
    wheel(-80);
    EXPECT_DOUBLE_EQ(view_->zoom(), 0.25);
}

INSTANTIATE_TEST_SUITE_P(Zooms, PageViewTest, testing::Values(0.5, 2.0),
                         [](const testing::TestParamInfo<double>& info) {
                             return info.param < 1 ? std::string("Half") : std::string("Double");
                         });

}  // namespace
