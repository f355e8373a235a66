#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace reader {

// The reader's layout size and scale: 800 x 600 in normal mode, the screen in full-screen mode;
// sx = W / 800 and sy = (H - 60) / 540. Computed values are truncated toward zero.
struct LayoutScale {
    int width = 800;
    int height = 600;
    double sx = 1.0;
    double sy = 1.0;
};

LayoutScale layoutScale(bool fullScreen, QSize screen);
QRect scaledRect(const QRect& rect, const LayoutScale& scale);
QPoint scaledPoint(const QPoint& point, const LayoutScale& scale);
// Tick boxes move by half their size as they are laid out (7 and 8 pixels at 1:1).
QPoint tickBoxPosition(const QRect& design, const LayoutScale& scale);

// Where the translation bubble goes for a pressed hotspot (left and top of the hotspot in
// window coordinates) and a text; limits are the window (800 x 600) or the screen.
struct BubblePlacement {
    QRect geometry;
    bool centred = false;
};
BubblePlacement placeBubble(const QPoint& source, const QString& text, QSize limits);

// Where the find-it question label goes for a meaning of `bytes` GBK bytes on a page picture
// `pageWidth` wide.
QRect findItLabelGeometry(int bytes, int pageWidth);

// The toolbar's banner: scrolls left one pixel per tick and jumps back to 10 once the title's
// right end has reached the panel's right edge; a title that fits stands at 10.
int readerBannerStep(int offset, int panelWidth, int textWidth);

}  // namespace reader
