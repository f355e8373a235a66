#pragma once

#include <QPixmap>
#include <QWidget>

namespace ui {

// A panel that paints a backing picture: cleared to its background colour (or picture),
// written on with text, pictures and lines, and repainted from the backing picture.
class DrawPanel : public QWidget {
    Q_OBJECT
  public:
    explicit DrawPanel(QWidget* parent = nullptr);

    void setBackgroundColour(const QColor& colour);
    void setBackgroundPicture(const QPixmap& picture);
    void setTextColour(const QColor& colour) { textColour_ = colour; }
    void setBorder(bool border) { border_ = border; }

    void clear();
    void clearRect(const QRect& rect);
    int textWidth(const QString& text) const;
    // Writes `text` from x on the font's one baseline for a top of writing at y: texts
    // written at the same y line up whatever their letters. Given a `maxWidth`, a wider text
    // is drawn condensed to that width rather than running on past it.
    void drawText(int x, int y, const QString& text, int maxWidth = 0);
    void drawPicture(const QRect& rect, const QPixmap& picture, const QColor& transparent);
    void drawLine(const QPoint& from, const QPoint& to, const QColor& colour);

  signals:
    void leftPressed(QPoint position);
    void mouseMoved(QPoint position);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void paintBackground(QPainter& painter, const QRect& rect);

    QPixmap backing_;
    QPixmap background_;
    QPixmap scaledBackground_;
    QColor backgroundColour_{Qt::white};
    QColor textColour_{Qt::black};
    bool border_ = false;
};

}  // namespace ui
