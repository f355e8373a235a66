#include "ui/animation_box.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace ui {

// ---- Paths ------------------------------------------------------------------------------

namespace {

void flattenInto(QList<QPointF>& corners, QPointF p0, QPointF p1, QPointF p2, int levelsLeft,
                 double flatEnough) {
    const double width = std::max({p0.x(), p1.x(), p2.x()}) - std::min({p0.x(), p1.x(), p2.x()});
    const double height = std::max({p0.y(), p1.y(), p2.y()}) - std::min({p0.y(), p1.y(), p2.y()});
    if (levelsLeft <= 0 || width + height < flatEnough) {
        corners.append(p2);
        return;
    }
    const QPointF left = (p0 + p1) / 2;
    const QPointF right = (p1 + p2) / 2;
    const QPointF middle = (left + right) / 2;  // the curve's own point halfway along t
    flattenInto(corners, p0, left, middle, levelsLeft - 1, flatEnough);
    flattenInto(corners, middle, right, p2, levelsLeft - 1, flatEnough);
}

double distance(QPointF a, QPointF b) {
    return std::hypot(b.x() - a.x(), b.y() - a.y());
}

}  // namespace

QList<QPointF> flattenQuadratic(const QuadraticCurve& curve, int maxDepth, double flatEnough) {
    QList<QPointF> corners{curve.start};
    flattenInto(corners, curve.start, curve.control, curve.end, maxDepth, flatEnough);
    return corners;
}

PathWalk::PathWalk(QList<QPointF> corners) : corners_(std::move(corners)) {}

QPointF PathWalk::position() const {
    if (corners_.isEmpty()) return {};
    if (finished()) return corners_.last();
    const QPointF from = corners_[piece_];
    const QPointF to = corners_[piece_ + 1];
    const double length = distance(from, to);
    return length > 0 ? from + (to - from) * (along_ / length) : from;
}

QPointF PathWalk::advance(double step) {
    double left = std::max(step, 0.0);
    while (!finished()) {
        const double length = distance(corners_[piece_], corners_[piece_ + 1]);
        if (along_ + left < length) {
            along_ += left;
            break;
        }
        left -= length - along_;
        ++piece_;
        along_ = 0;
    }
    return position();
}

QList<QPointF> walkPositions(const QList<QPointF>& corners, double step) {
    QList<QPointF> positions;
    if (step <= 0) return positions;
    PathWalk walk(corners);
    while (!walk.finished()) positions.append(walk.advance(step));
    return positions;
}

// ---- Template objects -------------------------------------------------------------------

AnimationObject::AnimationObject(QWidget* parent) : QWidget(parent) {
    hide();
}

void AnimationObject::setPicture(const QPixmap& picture, const QColor& transparent) {
    picture_ = picture;
    transparent_ = transparent;
    prepared_ = QPixmap();
}

QPixmap AnimationObject::spritePicture() const {
    if (prepared_.isNull() && !picture_.isNull() && !size().isEmpty()) {
        // Stretched without smoothing, so the transparent colour stays exact at the edges.
        QImage image = picture_.toImage()
                           .scaled(size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)
                           .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const QRgb clear = transparent_.rgb() & RGB_MASK;
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                if ((line[x] & RGB_MASK) == clear && qAlpha(line[x]) == 255) line[x] = 0;
            }
        }
        prepared_ = QPixmap::fromImage(image);
    }
    return prepared_;
}

void AnimationObject::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    prepared_ = QPixmap();
}

// ---- The box ----------------------------------------------------------------------------

QRect AnimationBox::Sprite::rect() const {
    // Positions are cut to whole pixels toward zero.
    return QRect(QPoint(int(topLeft.x()), int(topLeft.y())), picture.size());
}

AnimationBox::AnimationBox(QWidget* parent) : Canvas(parent), clock_(new QTimer(this)) {
    clock_->setObjectName(QStringLiteral("spriteClock"));
    clock_->setTimerType(Qt::PreciseTimer);
    clock_->setInterval(30);
    connect(clock_, &QTimer::timeout, this, &AnimationBox::step);
}

void AnimationBox::setFontPointSize(double points) {
    QFont f = font();
    f.setPointSizeF(points);
    setFont(f);
}

void AnimationBox::drawText(int x, int y, const QString& text) {
    ensureBacking();
    const QFontMetrics metrics(font());
    // (x, y) is the top of the writing. The same reference ink top serves every text of a
    // font, so English words with and without tall letters share one baseline, and the tall
    // line metrics of the fallback faces do not push the writing down.
    const int inkTop = std::min(metrics.tightBoundingRect(QStringLiteral("国Ag")).top(), 0);
    const int baseline = y - inkTop;
    QPainter painter(&backing());
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font());
    painter.setPen(textColour());
    painter.drawText(QPoint(x, baseline), text);
    update(QRect(x, baseline - metrics.ascent(), metrics.horizontalAdvance(text), metrics.height())
               .adjusted(-4, -4, 4, 4));
}

AnimationBox::Sprite* AnimationBox::find(int id) {
    auto it = std::lower_bound(sprites_.begin(), sprites_.end(), id,
                               [](const Sprite& s, int key) { return s.id < key; });
    return it != sprites_.end() && it->id == id ? &*it : nullptr;
}

const AnimationBox::Sprite* AnimationBox::find(int id) const {
    return const_cast<AnimationBox*>(this)->find(id);
}

int AnimationBox::createSprite(const AnimationObject& object, QPoint topLeft) {
    Sprite sprite;
    sprite.id = nextId_++;
    sprite.picture = object.spritePicture();
    sprite.topLeft = topLeft;
    sprites_.push_back(sprite);
    update(sprites_.back().rect());
    return sprite.id;
}

int AnimationBox::copySprite(int id) {
    const Sprite* original = find(id);
    if (!original) return 0;
    Sprite copy;
    copy.id = nextId_++;
    copy.picture = original->picture;
    copy.topLeft = original->topLeft;
    sprites_.push_back(copy);
    update(copy.rect());
    return copy.id;
}

void AnimationBox::moveSprite(int id, const QList<QPointF>& corners, double step) {
    Sprite* sprite = find(id);
    if (!sprite || corners.size() < 2 || step <= 0) return;
    const QPointF half(sprite->picture.width() / 2.0, sprite->picture.height() / 2.0);
    sprite->walk = PathWalk(corners);
    sprite->topLeft = corners.first() - half;
    sprite->step = step;
    sprite->flying = true;
    if (!clock_->isActive()) clock_->start();
}

void AnimationBox::flySprite(int id, QPointF controlOffset, QPointF endOffset, double step) {
    const Sprite* sprite = find(id);
    if (!sprite) return;
    const QPointF centre =
        sprite->topLeft + QPointF(sprite->picture.width() / 2.0, sprite->picture.height() / 2.0);
    moveSprite(id, flattenQuadratic({centre, centre + controlOffset, centre + endOffset}), step);
}

bool AnimationBox::hasSprite(int id) const {
    return find(id) != nullptr;
}

bool AnimationBox::isFlying(int id) const {
    const Sprite* sprite = find(id);
    return sprite && sprite->flying;
}

QRect AnimationBox::spriteRect(int id) const {
    const Sprite* sprite = find(id);
    return sprite ? sprite->rect() : QRect();
}

int AnimationBox::flyingCount() const {
    return int(
        std::count_if(sprites_.begin(), sprites_.end(), [](const Sprite& s) { return s.flying; }));
}

void AnimationBox::setStepInterval(int milliseconds) {
    // A running clock given its own interval again keeps its phase: flowers already in
    // flight are not held back by a new burst.
    milliseconds = std::max(milliseconds, 1);
    if (clock_->interval() != milliseconds) clock_->setInterval(milliseconds);
}

void AnimationBox::step() {
    const QRect visible = rect();
    bool anyFlying = false;
    for (auto it = sprites_.begin(); it != sprites_.end();) {
        Sprite& sprite = *it;
        if (!sprite.flying) {
            ++it;
            continue;
        }
        const QRect before = sprite.rect();
        const QPointF half(sprite.picture.width() / 2.0, sprite.picture.height() / 2.0);
        sprite.topLeft = sprite.walk.advance(sprite.step) - half;
        const QRect after = sprite.rect();
        // Only what the sprite covered and now covers is painted again.
        const QRect touched = before.united(after) & visible;
        if (!touched.isEmpty()) addTouched(touched);
        if (sprite.walk.finished()) {
            sprite.flying = false;
            // A sprite whose flight ended below the box can never be seen again: let it go,
            // so that a minute of fast play leaves no pile of finished sprites behind.
            if (after.top() >= visible.bottom() + 1) {
                it = sprites_.erase(it);
                continue;
            }
        } else {
            anyFlying = true;
        }
        ++it;
    }
    for (const QRect& area : touched_) update(area);
    touched_.clear();
    if (!anyFlying) clock_->stop();
}

void AnimationBox::addTouched(QRect area) {
    // Overlapping rectangles are repainted as one: a few rectangles cost less to compose and
    // to hand to the window system than the many-sided union of fifty flowers. The merge
    // is kept only while it adds little that no flower touched.
    for (bool merged = true; merged;) {
        merged = false;
        for (auto it = touched_.begin(); it != touched_.end(); ++it) {
            const QRect both = area.united(*it);
            const auto size = [](const QRect& r) { return qint64(r.width()) * r.height(); };
            if (it->intersects(area) && size(both) * 3 <= (size(area) + size(*it)) * 4) {
                area = both;
                touched_.erase(it);
                merged = true;
                break;
            }
        }
    }
    touched_.push_back(area);
}

void AnimationBox::paintEvent(QPaintEvent* event) {
    ensureBacking();
    const QPixmap& backing = this->backing();
    if (frame_.size() != backing.size()) frame_ = QPixmap(backing.size());
    const QRegion& region = event->region();
    // The frame is composed rectangle by rectangle under a plain rectangular clip, which is
    // many times cheaper than drawing every sprite through the many-sided region of a step.
    {
        QPainter compose(&frame_);
        for (const QRect& area : region) {
            compose.setClipRect(area);
            compose.drawPixmap(area, backing, area);
            for (const Sprite& sprite : sprites_) {
                const QRect covered = sprite.rect();
                if (covered.intersects(area)) compose.drawPixmap(covered.topLeft(), sprite.picture);
            }
        }
    }
    QPainter painter(this);
    for (const QRect& area : region) painter.drawPixmap(area, frame_, area);
}

}  // namespace ui
