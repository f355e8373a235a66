#pragma once

#include <QPixmap>

#include "ui/canvas.h"

namespace ui {

// A canvas written on with text, pictures and lines, repainted from its backing picture as
// it is; white until another background is set.
class DrawPanel : public Canvas {
    Q_OBJECT
  public:
    explicit DrawPanel(QWidget* parent = nullptr);

    void setBorder(bool border) { border_ = border; }

    // Writes `text` from x on the font's one baseline for a top of writing at y: texts
    // written at the same y line up whatever their letters. Given a `maxWidth`, a wider text
    // is drawn condensed to that width rather than running on past it.
    void drawText(int x, int y, const QString& text, int maxWidth = 0);
    void drawPicture(const QRect& rect, const QPixmap& picture, const QColor& transparent);
    void drawLine(const QPoint& from, const QPoint& to, const QColor& colour);

  signals:
    void mouseMoved(QPoint position);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    bool border_ = false;
};

}  // namespace ui
