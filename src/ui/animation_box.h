#pragma once

// The animation box: a play area that paints a backing picture (a background picture with
// texts written on it) and, over it, sprites that fly along quadratic Bézier paths. Sprites
// are made from hidden template objects; only what they cover is repainted as they move.

#include <QColor>
#include <QList>
#include <QPixmap>
#include <QPointF>
#include <QWidget>
#include <vector>

#include "ui/canvas.h"

class QTimer;

namespace ui {

// ---- Paths ------------------------------------------------------------------------------

// A quadratic Bézier curve: it starts at `start`, bends towards `control` and ends at `end`.
struct QuadraticCurve {
    QPointF start;
    QPointF control;
    QPointF end;
};

// The curve as straight pieces, given as their corner points from the start to the end. The
// curve is halved at its midpoint (de Casteljau) at most `maxDepth` levels deep; a part is
// not halved further once the width plus the height of the bounding box of its three points
// is under `flatEnough` pixels. Each part becomes the piece from its start to its end.
QList<QPointF> flattenQuadratic(const QuadraticCurve& curve, int maxDepth = 3,
                                double flatEnough = 32.0);

// A walk along straight pieces: each advance moves the given distance further along them,
// crossing corners as needed, and stops for good at the last corner.
class PathWalk {
  public:
    PathWalk() = default;
    explicit PathWalk(QList<QPointF> corners);

    QPointF position() const;
    bool finished() const { return piece_ + 1 >= corners_.size(); }
    QPointF advance(double distance);

  private:
    QList<QPointF> corners_;
    qsizetype piece_ = 0;  // the piece being walked: from corners_[piece_] to the next corner
    double along_ = 0;     // distance already walked on that piece
};

// Every position a walk of `step` pixels per move reaches, from the first move to the end
// (the last position is the last corner).
QList<QPointF> walkPositions(const QList<QPointF>& corners, double step);

// ---- Template objects and the box -------------------------------------------------------

// A hidden object whose picture, size and transparent colour sprites are made from.
class AnimationObject : public QWidget {
    Q_OBJECT
  public:
    explicit AnimationObject(QWidget* parent = nullptr);

    // The picture is shown stretched to the object's size; pixels of `transparent` colour
    // let what lies beneath show through.
    void setPicture(const QPixmap& picture, const QColor& transparent);
    // The picture as a sprite shows it: at the object's size, transparent colour removed.
    QPixmap spritePicture() const;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QPixmap picture_;
    QColor transparent_{Qt::white};
    mutable QPixmap prepared_;
};

class AnimationBox : public Canvas {
    Q_OBJECT
  public:
    explicit AnimationBox(QWidget* parent = nullptr);

    // Texts are written onto the backing picture; clearing a rectangle paints the background
    // back over it.
    void setFontPointSize(double points);
    // Writes `text` with the top of its writing at y and its left edge at x.
    void drawText(int x, int y, const QString& text);

    // Sprites. Ids start at 1 and are never reused; a sprite that is gone answers no more.
    int createSprite(const AnimationObject& object, QPoint topLeft);
    int copySprite(int id);  // a new sprite at the same place; 0 when `id` is gone
    // Sends the sprite's centre along `corners` (absolute box points), `step` pixels per
    // step of the box's clock. A flight that ends below the box releases the sprite.
    void moveSprite(int id, const QList<QPointF>& corners, double step);
    // Sends the sprite's centre along a quadratic curve whose control and end points are
    // offsets from the sprite's centre.
    void flySprite(int id, QPointF controlOffset, QPointF endOffset, double step);

    bool hasSprite(int id) const;
    bool isFlying(int id) const;
    QRect spriteRect(int id) const;  // empty when the sprite is gone
    int spriteCount() const { return int(sprites_.size()); }
    int flyingCount() const;

    // The clock that moves flying sprites; it runs only while one flies.
    QTimer* stepClock() const { return clock_; }
    void setStepInterval(int milliseconds);
    // One step of every flying sprite (what a tick of the clock does).
    void step();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    struct Sprite {
        int id = 0;
        QPixmap picture;
        QPointF topLeft;
        PathWalk walk;
        double step = 0;
        bool flying = false;
        QRect rect() const;
    };
    Sprite* find(int id);
    const Sprite* find(int id) const;
    void addTouched(QRect area);

    QPixmap frame_;  // the backing picture with the sprites over it, composed where painted
    std::vector<Sprite> sprites_;  // in creation order, so ids ascend; later ones on top
    int nextId_ = 1;
    std::vector<QRect> touched_;  // what the current step must repaint
    QTimer* clock_;
};

}  // namespace ui
