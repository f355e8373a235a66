#include "editor/take_wave_view.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "voice/page_take.h"

namespace studio {

namespace {
// How near a boundary the mouse grabs it, in pixels.
constexpr int kGrabPixels = 6;
}  // namespace

TakeWaveView::TakeWaveView(voice::PageTake* take, QWidget* parent) : QWidget(parent), take_(take) {
    setObjectName(QStringLiteral("整页录音_波形"));
    setMinimumHeight(120);
    setMouseTracking(true);
}

void TakeWaveView::refresh() {
    makeEnvelope();
    update();
}

void TakeWaveView::setCursorSample(qsizetype sample) {
    cursor_ = sample;
    update();
}

int TakeWaveView::xOfSample(qsizetype sample) const {
    const auto count = qsizetype(take_->samples().size());
    return count > 0 ? int(double(sample) * width() / double(count)) : 0;
}

qsizetype TakeWaveView::sampleAtX(int x) const {
    const auto count = double(take_->samples().size());
    return qsizetype(std::clamp(double(x) / std::max(1, width()), 0.0, 1.0) * count);
}

// The loudest and softest sample under each column, worked out once per size.
void TakeWaveView::makeEnvelope() {
    const auto& samples = take_->samples();
    const int columns = std::max(1, width());
    low_.fill(0.0f, columns);
    high_.fill(0.0f, columns);
    if (samples.empty()) return;
    for (int x = 0; x < columns; ++x) {
        const size_t first = size_t(double(x) * samples.size() / columns);
        const size_t end = std::max(first + 1, size_t(double(x + 1) * samples.size() / columns));
        const auto [low, high] = std::minmax_element(
            samples.begin() + long(first), samples.begin() + long(std::min(end, samples.size())));
        low_[x] = *low;
        high_[x] = *high;
    }
}

void TakeWaveView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    makeEnvelope();
}

void TakeWaveView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(250, 250, 246));
    const auto& clips = take_->clips();
    const QColor tints[2] = {QColor(255, 236, 179), QColor(200, 230, 255)};
    for (size_t line = 0; line < clips.size(); ++line) {
        const QRect piece(QPoint(xOfSample(clips[line].first), 0),
                          QPoint(xOfSample(clips[line].end), height() - 1));
        painter.fillRect(piece, tints[line % 2]);
        painter.setPen(QColor(90, 90, 90));
        painter.drawText(piece.adjusted(3, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                         QString::number(line + 1));
    }
    const int middle = height() / 2;
    const double scale = height() / 2.0 * 0.95;
    painter.setPen(QColor(40, 90, 160));
    for (int x = 0; x < low_.size(); ++x)
        painter.drawLine(x, middle - int(high_[x] * scale), x, middle - int(low_[x] * scale));
    painter.setPen(QPen(QColor(200, 60, 40), 2));
    for (const auto& clip : clips) {
        painter.drawLine(xOfSample(clip.first), 0, xOfSample(clip.first), height());
        painter.drawLine(xOfSample(clip.end), 0, xOfSample(clip.end), height());
    }
    if (cursor_ >= 0) {
        painter.setPen(QPen(Qt::black, 1));
        painter.drawLine(xOfSample(cursor_), 0, xOfSample(cursor_), height());
    }
}

TakeWaveView::Grab TakeWaveView::boundaryAt(int x) const {
    Grab best;
    int nearest = kGrabPixels + 1;
    const auto& clips = take_->clips();
    for (size_t line = 0; line < clips.size(); ++line) {
        for (bool start : {true, false}) {
            const int distance =
                std::abs(xOfSample(start ? clips[line].first : clips[line].end) - x);
            // Where a clip's end meets the next one's start, the start is grabbed: it moves both.
            if (distance < nearest || (distance == nearest && start)) {
                nearest = distance;
                best = {int(line), start};
            }
        }
    }
    return nearest <= kGrabPixels ? best : Grab{};
}

void TakeWaveView::mousePressEvent(QMouseEvent* event) {
    const int x = int(event->position().x());
    dragging_ = boundaryAt(x);
    if (dragging_.line >= 0) return;
    const qsizetype sample = sampleAtX(x);
    const auto& clips = take_->clips();
    for (size_t line = 0; line < clips.size(); ++line)
        if (sample >= clips[line].first && sample < clips[line].end) emit clipClicked(int(line));
}

void TakeWaveView::mouseMoveEvent(QMouseEvent* event) {
    const int x = int(event->position().x());
    if (dragging_.line < 0) {
        setCursor(boundaryAt(x).line >= 0 ? Qt::SizeHorCursor : Qt::ArrowCursor);
        return;
    }
    if (dragging_.start)
        take_->moveStart(dragging_.line, sampleAtX(x));
    else
        take_->moveEnd(dragging_.line, sampleAtX(x));
    update();
}

void TakeWaveView::mouseReleaseEvent(QMouseEvent*) {
    if (dragging_.line >= 0) emit cutsChanged();
    dragging_ = {};
}

}  // namespace studio
