#include "ui/draw_panel.h"

#include <QMouseEvent>
#include <QPainter>

namespace ui {

DrawPanel::DrawPanel(QWidget* parent) : Canvas(parent, Qt::white) {
    setMouseTracking(true);
}

void DrawPanel::drawText(int x, int y, const QString& text, int maxWidth) {
    QPainter painter(&backing());
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font());
    painter.setPen(textColour());
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
    QPainter painter(&backing());
    painter.drawPixmap(area.topLeft(), scaled);
    update(area);
}

void DrawPanel::drawLine(const QPoint& from, const QPoint& to, const QColor& colour) {
    QPainter painter(&backing());
    painter.setPen(QPen(colour, 1));
    painter.drawLine(from, to);
    update(QRect(from, to).normalized().adjusted(-1, -1, 1, 1));
}

void DrawPanel::paintEvent(QPaintEvent* event) {
    ensureBacking();
    QPainter painter(this);
    // Only the parts that changed: a frame that moves across a board repaints its thin strips,
    // not the whole rectangle spanning the old place and the new.
    for (const QRect& area : event->region()) painter.drawPixmap(area, backing(), area);
    if (border_) {
        painter.setPen(QColor(90, 90, 90));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void DrawPanel::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(event->position().toPoint());
}

}  // namespace ui
