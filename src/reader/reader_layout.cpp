#include "reader/reader_layout.h"

#include <QString>
#include <QStringList>
#include <algorithm>

#include "ui/gbk_text.h"

namespace reader {

namespace {
constexpr double kTolerance = 1e-7;
int truncated(double value) {
    return static_cast<int>(value);
}
bool greater(double a, double b) {
    return a - b > kTolerance;
}
}  // namespace

LayoutScale layoutScale(bool fullScreen, QSize screen) {
    LayoutScale scale;
    if (fullScreen) {
        scale.width = screen.width();
        scale.height = screen.height();
    }
    scale.sx = scale.width / 800.0;
    scale.sy = (scale.height - 60) / 540.0;
    return scale;
}

QRect scaledRect(const QRect& r, const LayoutScale& s) {
    return QRect(truncated(s.sx * r.x()), truncated(s.sy * r.y()), truncated(s.sx * r.width()),
                 truncated(s.sy * r.height()));
}

QPoint scaledPoint(const QPoint& p, const LayoutScale& s) {
    return QPoint(truncated(s.sx * p.x()), truncated(s.sy * p.y()));
}

QPoint tickBoxPosition(const QRect& r, const LayoutScale& s) {
    return QPoint(truncated(s.sx * r.x() + s.sx * r.width() / 2),
                  truncated(s.sy * r.y() + s.sy * r.height() / 2));
}

BubblePlacement placeBubble(const QPoint& source, const QString& text, QSize limits) {
    const QStringList lines = ui::splitCrLf(text);
    const double W = limits.width(), H = limits.height();
    double left = source.x(), top = 0, width = 0, height = 25;
    BubblePlacement placement;
    if (lines.size() == 1) {
        placement.centred = true;
        width = ui::gbkLength(text) * 13.0;
        if (greater(left + width, W)) left = W - width - 20;
        top = source.y() + 75;
        if (greater(top + 40, H - 40)) top = source.y() - 50;
    } else {
        int maxLength = 0;
        for (const QString& line : lines) maxLength = std::max(maxLength, ui::gbkLength(line));
        width = maxLength * 10.0;
        height = lines.size() * 20.0;
        if (greater(left + width, W)) left = W - width - 20;
        top = source.y() + 50;
        if (greater(top + height + 40, H - 40)) top = source.y() - 50 - height;
    }
    placement.geometry =
        QRect(truncated(left), truncated(top), truncated(width), truncated(height));
    return placement;
}

QRect findItLabelGeometry(int bytes, int pageWidth) {
    const int width = bytes * 15;
    return QRect(truncated((pageWidth - width) / 2.0), 40, width, 35);
}

int readerBannerStep(int offset, int panelWidth, int textWidth) {
    return panelWidth - textWidth - offset >= 0 ? 10 : offset - 1;
}

}  // namespace reader
