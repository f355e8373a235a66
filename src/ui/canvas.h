#pragma once

// The base of the draw panel and the animation box: a widget painted from a picture of its
// own, the backing picture. Clearing paints the background (a picture stretched to the widget,
// or a plain colour) back over part of the backing picture; the subclasses write on it and
// decide how it reaches the screen.

#include <QColor>
#include <QPixmap>
#include <QWidget>

namespace ui {

class Canvas : public QWidget {
    Q_OBJECT
  public:
    // Without a background picture the background is `backgroundColour`, or the palette's
    // window colour when that is not a valid colour.
    explicit Canvas(QWidget* parent = nullptr, const QColor& backgroundColour = QColor());

    // Each clears the whole canvas to the new background.
    void setBackgroundPicture(const QPixmap& picture);
    void setBackgroundColour(const QColor& colour);
    void setTextColour(const QColor& colour) { textColour_ = colour; }

    void clear() { clearRect(rect()); }
    void clearRect(const QRect& area);
    int textWidth(const QString& text) const;

  signals:
    void leftPressed(QPoint position);

  protected:
    // Makes the backing picture the canvas's size and all background when it is not that size
    // yet; true when it was made afresh.
    bool ensureBacking();
    QPixmap& backing() { return backing_; }
    const QPixmap& backing() const { return backing_; }
    const QColor& textColour() const { return textColour_; }

    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void paintBackground(QPainter& painter, const QRect& area);

    QPixmap backing_;
    QPixmap background_;
    QPixmap scaledBackground_;  // the background picture at the canvas's size, made once
    QColor backgroundColour_;
    QColor textColour_{Qt::black};
};

}  // namespace ui
