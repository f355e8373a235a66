#include "page_geometry.h"

#include <algorithm>
#include <cstdlib>

#include "sources/book_profile.h"

namespace studio {

bool isResizable(ItemKind kind) {
    return kind == ItemKind::Entry || kind == ItemKind::Drawing;
}

QSize smallestSize(ItemKind kind) {
    if (kind == ItemKind::Entry) return {tool::kHotspotMinWidth, tool::kHotspotMinHeight};
    return {8, 8};  // a drawing the check would still take
}

QSize largestSize(ItemKind kind) {
    if (kind == ItemKind::Entry) return {tool::kHotspotMaxWidth, tool::kHotspotMaxHeight};
    return {tool::kPageWidth, tool::kPageHeight};
}

QMargins markMargins(ItemKind kind) {
    // The content check's areas: a fill box's mark sits 5 right of the box and 20 above it
    // (20 wide); a tick box with its mark takes 50 x 26 from its place.
    if (kind == ItemKind::Fill) return {0, 20, 25, 0};
    if (kind == ItemKind::Tick) return {0, 0, 50 - tool::kTickBoxWidth, 26 - tool::kTickBoxHeight};
    return {};
}

QRect pageRect() {
    return {0, 0, tool::kPageWidth, tool::kPageHeight};
}

namespace {

// The move along one axis that keeps [low, high) inside [0, size), given the wanted `move`.
int keptMove(int low, int high, int size, int move) {
    if (low + move < 0) move = -low;
    if (high + move > size) move = size - high;
    return move;
}

// The change to `move` (at most kSnapDistance either way) that puts one of `edges` (moved by
// `move`) on one of `targets`, or 0.
int snapChange(const QList<int>& edges, int move, const QList<int>& targets) {
    int best = kSnapDistance + 1;
    int change = 0;
    for (int edge : edges) {
        for (int target : targets) {
            const int d = target - (edge + move);
            if (std::abs(d) < best) {
                best = std::abs(d);
                change = d;
            }
        }
    }
    return best <= kSnapDistance ? change : 0;
}

QList<int> xEdges(const QList<QRect>& others) {
    QList<int> xs{0, tool::kPageWidth};
    for (const QRect& r : others) xs << r.x() << r.x() + r.width();
    return xs;
}

QList<int> yEdges(const QList<QRect>& others) {
    QList<int> ys{0, tool::kPageHeight};
    for (const QRect& r : others) ys << r.y() << r.y() + r.height();
    return ys;
}

// A clamp that gives `high` when the range is empty (the page's edge wins over a size).
int bounded(int value, int low, int high) {
    return std::min(std::max(value, low), high);
}

// One axis of a resize: the edges [low, high) with the low or the high one moved.
void resizeAxis(int& low, int& high, bool moveLow, bool moveHigh, int move, const QList<int>& snaps,
                int minimum, int maximum, int size) {
    if (moveLow) {
        const int wanted = low + move + snapChange({low + move}, 0, snaps);
        low = bounded(wanted, std::max(0, high - maximum), high - minimum);
    } else if (moveHigh) {
        const int wanted = high + move + snapChange({high + move}, 0, snaps);
        high = std::max(bounded(wanted, low + minimum, std::min(size, low + maximum)), low + 1);
    }
    // A rectangle pushed out of the page by its smallest size slides back in.
    if (low < 0) {
        high -= low;
        low = 0;
    }
    if (high > size) {
        low -= high - size;
        high = size;
    }
}

}  // namespace

QPoint keptInside(const QList<QRect>& areas, QPoint offset) {
    if (areas.isEmpty()) return offset;
    QRect all = areas.first();
    for (const QRect& r : areas) all = all.united(r);
    return {keptMove(all.x(), all.x() + all.width(), tool::kPageWidth, offset.x()),
            keptMove(all.y(), all.y() + all.height(), tool::kPageHeight, offset.y())};
}

QPoint snapped(const QRect& moving, QPoint offset, const QList<QRect>& others) {
    const int dx =
        snapChange({moving.x(), moving.x() + moving.width()}, offset.x(), xEdges(others));
    const int dy =
        snapChange({moving.y(), moving.y() + moving.height()}, offset.y(), yEdges(others));
    return offset + QPoint(dx, dy);
}

QRect resized(const QRect& start, int edges, QPoint delta, const QList<QRect>& others,
              QSize minimum, QSize maximum) {
    int left = start.x(), right = start.x() + start.width();
    int top = start.y(), bottom = start.y() + start.height();
    resizeAxis(left, right, edges & LeftEdge, edges & RightEdge, delta.x(), xEdges(others),
               minimum.width(), maximum.width(), tool::kPageWidth);
    resizeAxis(top, bottom, edges & TopEdge, edges & BottomEdge, delta.y(), yEdges(others),
               minimum.height(), maximum.height(), tool::kPageHeight);
    return {left, top, right - left, bottom - top};
}

}  // namespace studio
