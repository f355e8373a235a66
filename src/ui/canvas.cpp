#include "ui/canvas.h"

#include <QMouseEvent>
#include <QPainter>

namespace ui {

Canvas::Canvas(QWidget* parent, const QColor& backgroundColour)
    : QWidget(parent), backgroundColour_(backgroundColour) {
    // Every pixel comes from the backing picture: nothing beneath needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Canvas::setBackgroundPicture(const QPixmap& picture) {
    background_ = picture;
    scaledBackground_ = QPixmap();
    clear();
}

void Canvas::setBackgroundColour(const QColor& colour) {
    backgroundColour_ = colour;
    clear();
}

void Canvas::paintBackground(QPainter& painter, const QRect& area) {
    if (background_.isNull()) {
        painter.fillRect(area, backgroundColour_.isValid() ? backgroundColour_
                                                           : palette().color(QPalette::Window));
        return;
    }
    if (scaledBackground_.size() != size()) {
        scaledBackground_ =
            background_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    painter.drawPixmap(area, scaledBackground_, area);
}

bool Canvas::ensureBacking() {
    if (backing_.size() == size()) return false;
    backing_ = QPixmap(size().expandedTo(QSize(1, 1)));
    QPainter painter(&backing_);
    paintBackground(painter, backing_.rect());
    return true;
}

void Canvas::clearRect(const QRect& area) {
    if (!ensureBacking()) {
        QPainter painter(&backing_);
        paintBackground(painter, area);
    }
    update(area);
}

int Canvas::textWidth(const QString& text) const {
    return QFontMetrics(font()).horizontalAdvance(text);
}

void Canvas::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // A canvas drawn on before it is first shown gets its resize event only then, at the size
    // it already had: what was drawn stays.
    ensureBacking();
}

void Canvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit leftPressed(event->position().toPoint());
}

}  // namespace ui
