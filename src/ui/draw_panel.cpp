#include "ui/draw_panel.h"

#include <QMouseEvent>
#include <QPainter>

namespace ui {

DrawPanel::DrawPanel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void DrawPanel::setBackgroundColour(const QColor& colour) {
    backgroundColour_ = colour;
    clear();
}

void DrawPanel::setBackgroundPicture(const QPixmap& picture) {
    background_ = picture;
    scaledBackground_ = QPixmap();
    clear();
}

void DrawPanel::paintBackground(QPainter& painter, const QRect& rect) {
    if (background_.isNull()) {
        painter.fillRect(rect, backgroundColour_);
        return;
    }
    if (scaledBackground_.size() != size()) {
        scaledBackground_ =
            background_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    painter.drawPixmap(rect, scaledBackground_, rect);
}

void DrawPanel::clear() {
    clearRect(rect());
}

void DrawPanel::clearRect(const QRect& area) {
    if (backing_.size() != size()) backing_ = QPixmap(size().expandedTo(QSize(1, 1)));
    QPainter painter(&backing_);
    paintBackground(painter, area);
    update(area);
}

int DrawPanel::textWidth(const QString& text) const {
    return QFontMetrics(font()).horizontalAdvance(text);
}

void DrawPanel::drawText(int x, int y, const QString& text, int maxWidth) {
    QPainter painter(&backing_);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font());
    painter.setPen(textColour_);
    const QFontMetrics metrics(font());
    // (x, y) is the top-left of the writing. The faces that stand in for the Windows ones
    // have tall line metrics, so an ink top is used rather than the line's: the same
    // reference ink top for every text of the font, so that words with and without tall
    // letters, and the lines of one tile, share their baselines.
    const int inkTop = metrics.tightBoundingRect(QStringLiteral("国Ag")).top();
    const QPoint at(x, y - std::min(inkTop, 0));
    const int width = metrics.horizontalAdvance(text);
    if (maxWidth > 0 && width > maxWidth) {
        painter.translate(at);
        painter.scale(double(maxWidth) / width, 1.0);
        painter.drawText(QPoint(0, 0), text);
    } else {
        painter.drawText(at, text);
    }
    update();
}

void DrawPanel::drawPicture(const QRect& area, const QPixmap& picture, const QColor& transparent) {
    QPixmap scaled = picture.scaled(area.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    scaled.setMask(scaled.createMaskFromColor(transparent, Qt::MaskInColor));
    QPainter painter(&backing_);
    painter.drawPixmap(area.topLeft(), scaled);
    update(area);
}

void DrawPanel::drawLine(const QPoint& from, const QPoint& to, const QColor& colour) {
    QPainter painter(&backing_);
    painter.setPen(QPen(colour, 1));
    painter.drawLine(from, to);
    update(QRect(from, to).normalized().adjusted(-1, -1, 1, 1));
}

void DrawPanel::paintEvent(QPaintEvent* event) {
    if (backing_.size() != size()) clear();
    QPainter painter(this);
    // Only the parts that changed: a frame that moves across a board repaints its thin strips,
    // not the whole rectangle spanning the old place and the new.
    for (const QRect& area : event->region()) painter.drawPixmap(area, backing_, area);
    if (border_) {
        painter.setPen(QColor(90, 90, 90));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void DrawPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // A panel drawn on before it is first shown gets its resize event only then, at the size
    // it already had: what was drawn stays.
    if (backing_.size() != size()) clear();
}

void DrawPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit leftPressed(event->position().toPoint());
}

void DrawPanel::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(event->position().toPoint());
}

}  // namespace ui
