// The animation box: curve flattening and the step-by-step walk against hand-computed
// points, sprites made from a template, their flight, release and repainting, and the
// backing picture's texts and clearing, and the background colour of the canvas it shares
// with the draw panel.
#include <gtest/gtest.h>

#include <QPaintEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "support/fake_services.h"
#include "ui/animation_box.h"
#include "ui/draw_panel.h"

using namespace ui;

void PrintTo(const QPointF& p, std::ostream* os) {
    *os << '(' << p.x() << ", " << p.y() << ')';
}

namespace {

void expectPoints(const QList<QPointF>& actual, const QList<QPointF>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (qsizetype i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(actual[i].x(), expected[i].x(), 1e-9) << "point " << i;
        EXPECT_NEAR(actual[i].y(), expected[i].y(), 1e-9) << "point " << i;
    }
}

TEST(Flattening, ABigCurveIsHalvedThreeLevelsDeepIntoEightPieces) {
    // The right-hand low flower's path from a centre at the origin: B(t) = (200t - 100t²,
    // -400t + 1000t²); three halvings give the curve's points at t = k/8.
    const auto corners = flattenQuadratic({{0, 0}, {100, -200}, {100, 600}});
    expectPoints(corners, {{0, 0},
                           {23.4375, -34.375},
                           {43.75, -37.5},
                           {60.9375, -9.375},
                           {75, 50},
                           {85.9375, 140.625},
                           {93.75, 262.5},
                           {98.4375, 415.625},
                           {100, 600}});
}

TEST(Flattening, StopsHalvingAPartWhoseBoundingBoxIsSmall) {
    // Width plus height 20: one piece.
    expectPoints(flattenQuadratic({{0, 0}, {10, 0}, {10, 10}}), {{0, 0}, {10, 10}});
    // 40: halved once into (0,0)-(10,0)-(15,5) and (15,5)-(20,10)-(20,20), each 20.
    expectPoints(flattenQuadratic({{0, 0}, {20, 0}, {20, 20}}), {{0, 0}, {15, 5}, {20, 20}});
    // 80: halved twice; the halves (0,0)-(20,0)-(30,10) and (30,10)-(40,20)-(40,40) are 40
    // each, their halves 20.
    expectPoints(flattenQuadratic({{0, 0}, {40, 0}, {40, 40}}),
                 {{0, 0}, {17.5, 2.5}, {30, 10}, {37.5, 22.5}, {40, 40}});
    // Exactly 32 is not under 32: still halved.
    EXPECT_EQ(flattenQuadratic({{0, 0}, {16, 0}, {16, 16}}).size(), 3);
    // A straight flight up is still cut into eight pieces of one line.
    const auto up = flattenQuadratic({{5, 5}, {5, -495}, {5, 605}});
    ASSERT_EQ(up.size(), 9);
    for (const QPointF& p : up) EXPECT_EQ(p.x(), 5);
    EXPECT_DOUBLE_EQ(up[2].y(), 5 - 1000 * 0.25 + 1600 * 0.0625);
}

TEST(Walk, AdvancesTheStepAlongThePiecesAcrossCornersAndStopsAtTheEnd) {
    expectPoints(walkPositions({{0, 0}, {30, 0}, {30, 25}}, 10),
                 {{10, 0}, {20, 0}, {30, 0}, {30, 10}, {30, 20}, {30, 25}});
    // A corner in the middle of a step: 5 pixels before it and 5 after.
    expectPoints(walkPositions({{0, 0}, {15, 0}, {15, 30}}, 10),
                 {{10, 0}, {15, 5}, {15, 15}, {15, 25}, {15, 30}});
    // A 3-4-5 slope and a step longer than a piece.
    expectPoints(walkPositions({{0, 0}, {30, 40}, {33, 44}}, 20), {{12, 16}, {24, 32}, {33, 44}});
    // A piece of no length is crossed without a step of its own.
    expectPoints(walkPositions({{0, 0}, {0, 0}, {0, 10}}, 10), {{0, 10}});
    EXPECT_TRUE(walkPositions({{1, 1}}, 10).isEmpty());
    PathWalk walk({{0, 0}, {0, 10}});
    walk.advance(25);
    EXPECT_TRUE(walk.finished());
    EXPECT_EQ(walk.advance(10), QPointF(0, 10));
}

// ---- Sprites --------------------------------------------------------------------------

// A 20 x 30 picture, white with a solid red block in its middle.
QPixmap flowerPicture() {
    QPixmap picture(20, 30);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.fillRect(5, 5, 10, 20, Qt::red);
    return picture;
}

class SpriteTest : public ::testing::Test {
  protected:
    void SetUp() override {
        heldTicks.hold(box.stepClock());
        box.resize(200, 150);
        QPixmap background(200, 150);
        background.fill(QColor(0, 0, 200));
        box.setBackgroundPicture(background);
        flower = new AnimationObject(&box);
        flower->setGeometry(4, 4, 20, 30);
        flower->setPicture(flowerPicture(), Qt::white);
    }
    void tick() { QMetaObject::invokeMethod(box.stepClock(), "timeout"); }
    QColor pixel(QPoint p) { return box.grab().toImage().pixelColor(p); }

    AnimationBox box;
    testing_support::HeldTicks heldTicks;
    AnimationObject* flower = nullptr;
};

TEST_F(SpriteTest, TheTemplateStaysHiddenAndSpritesShowItsPictureWithoutTheWhite) {
    box.show();
    EXPECT_FALSE(flower->isVisible());
    const int id = box.createSprite(*flower, {50, 60});
    EXPECT_EQ(id, 1);
    EXPECT_EQ(box.spriteRect(id), QRect(50, 60, 20, 30));
    EXPECT_EQ(pixel({60, 75}), QColor(Qt::red));
    EXPECT_EQ(pixel({51, 61}), QColor(0, 0, 200)) << "white is transparent";
    const int copy = box.copySprite(id);
    EXPECT_EQ(copy, 2);
    EXPECT_EQ(box.spriteRect(copy), box.spriteRect(id));
    EXPECT_EQ(box.copySprite(99), 0);
    EXPECT_EQ(box.spriteCount(), 2);
}

TEST_F(SpriteTest, AFlightMovesTheCentreOneStepPerTickAndTheClockRunsOnlyMeanwhile) {
    const int id = box.createSprite(*flower, {40, 20});  // centre (50, 35)
    EXPECT_FALSE(box.stepClock()->isActive());
    box.flySprite(id, {0, 0}, {0, 25}, 10);  // straight down: 25 px in three steps
    EXPECT_TRUE(box.stepClock()->isActive());
    EXPECT_EQ(box.stepClock()->interval(), 30);
    tick();
    EXPECT_EQ(box.spriteRect(id).topLeft(), QPoint(40, 30));
    tick();
    EXPECT_EQ(box.spriteRect(id).topLeft(), QPoint(40, 40));
    EXPECT_TRUE(box.isFlying(id));
    tick();
    // The flight ends inside the box: the sprite stays where it stopped.
    EXPECT_EQ(box.spriteRect(id).topLeft(), QPoint(40, 45));
    EXPECT_FALSE(box.isFlying(id));
    EXPECT_TRUE(box.hasSprite(id));
    EXPECT_FALSE(box.stepClock()->isActive());
}

TEST_F(SpriteTest, ASpriteWhoseFlightEndsBelowTheBoxIsReleased) {
    const int first = box.createSprite(*flower, {100, 100});
    const int second = box.copySprite(first);
    box.flySprite(first, {0, -40}, {0, 200}, 10);  // ends with its top at 300, below 150
    box.flySprite(second, {0, -40}, {0, 20}, 10);  // ends inside
    int ticks = 0;
    while (box.stepClock()->isActive() && ticks < 1000) {
        tick();
        ++ticks;
    }
    EXPECT_FALSE(box.hasSprite(first));
    EXPECT_EQ(box.spriteRect(first), QRect());
    EXPECT_TRUE(box.hasSprite(second));
    EXPECT_EQ(box.spriteCount(), 1);
    // The walk's own count of steps: up about 20, down about 220.
    const auto corners = flattenQuadratic({{110, 115}, {110, 75}, {110, 315}});
    EXPECT_EQ(ticks, walkPositions(corners, 10).size());
    // A new sprite gets a new id: the released one is not reused.
    EXPECT_EQ(box.createSprite(*flower, {0, 0}), 3);
}

// Records the region of every paint event the box receives.
class PaintSpy : public QObject {
  public:
    QRegion painted;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

TEST_F(SpriteTest, AStepRepaintsOnlyWhatTheMovingSpritesCover) {
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    const int id = box.createSprite(*flower, {60, 40});
    box.flySprite(id, {0, 0}, {30, 0}, 10);
    // Two more, far off in a corner and overlapping each other, moving up.
    box.flySprite(box.createSprite(*flower, {170, 110}), {0, 0}, {0, -30}, 10);
    box.flySprite(box.createSprite(*flower, {175, 115}), {0, 0}, {0, -30}, 10);
    QCoreApplication::processEvents();
    PaintSpy spy;
    box.installEventFilter(&spy);
    tick();
    QCoreApplication::processEvents();
    box.removeEventFilter(&spy);
    ASSERT_FALSE(spy.painted.isEmpty());
    // The first flower's old and new place and the corner pair's; nothing in between.
    const QRegion touched = QRegion(60, 40, 30, 30) + QRegion(170, 100, 25, 45);
    EXPECT_TRUE(spy.painted.subtracted(touched).isEmpty());
    EXPECT_TRUE(touched.subtracted(spy.painted).isEmpty());
    // What the sprite left is background again, what it now covers is the sprite.
    EXPECT_EQ(pixel({66, 46}), QColor(0, 0, 200));
    EXPECT_EQ(pixel({76, 46}), QColor(Qt::red));
}

// ---- Background, texts and presses ------------------------------------------------------

int topInkRow(const QImage& image, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128) return y;
    return -1;
}

TEST(AnimationBoxText, WritesAtTheTopLeftAndClearsBackToTheBackground) {
    AnimationBox box;
    box.resize(400, 200);
    QPixmap white(400, 200);
    white.fill(Qt::white);
    box.setBackgroundPicture(white);
    box.setTextColour(Qt::black);
    box.setFontPointSize(20);
    const int wide = box.textWidth("pencil box");
    box.setFontPointSize(10);
    EXPECT_LT(box.textWidth("pencil box"), wide);
    EXPECT_GT(box.textWidth("书包"), 0);
    box.setFontPointSize(20);
    box.drawText(100, 80, "Tom cat");
    box.drawText(250, 80, "ace");  // no tall letters: same baseline, so its ink starts lower
    QImage shot = box.grab().toImage();
    const int top = topInkRow(shot, {100, 60, 100, 80});
    EXPECT_GE(top, 79);
    EXPECT_LE(top, 83);
    EXPECT_GT(topInkRow(shot, {250, 60, 100, 80}), top + 3);
    EXPECT_EQ(topInkRow(shot, {0, 0, 99, 200}), -1) << "nothing left of x";
    box.clearRect({90, 60, 140, 80});
    shot = box.grab().toImage();
    EXPECT_EQ(topInkRow(shot, {90, 60, 140, 80}), -1);
    EXPECT_NE(topInkRow(shot, {250, 60, 100, 80}), -1) << "outside the cleared rectangle";
    box.clear();
    EXPECT_EQ(topInkRow(box.grab().toImage(), box.rect()), -1);
}

// The banners paint their draw panels' canvas in a colour of their own.
TEST(Canvas, ADrawPanelClearsToTheColourItIsGiven) {
    DrawPanel panel;
    panel.resize(40, 30);
    panel.setBackgroundColour(QColor(0, 136, 255));
    EXPECT_EQ(panel.grab().toImage().pixelColor(39, 29), QColor(0, 136, 255));
}

TEST(AnimationBoxText, ReportsLeftPressesWithTheirPoint) {
    AnimationBox box;
    box.resize(300, 200);
    box.show();
    QSignalSpy pressed(&box, &AnimationBox::leftPressed);
    QTest::mousePress(&box, Qt::LeftButton, {}, {123, 45});
    QTest::mouseRelease(&box, Qt::LeftButton, {}, {123, 45});
    QTest::mousePress(&box, Qt::RightButton, {}, {10, 10});
    ASSERT_EQ(pressed.size(), 1);
    EXPECT_EQ(pressed[0][0].toPoint(), QPoint(123, 45));
}

}  // namespace
