#pragma once

// The arithmetic of the page view's drags in the 800 x 540 design space: which items a drag may
// resize, the room an answer box's mark takes, keeping a moved group inside the page, snapping
// edges to other rectangles' edges, and resizing by edges within the sizes the content check
// allows. Rectangles here are QRect(x, y, w, h); an edge "at" x + w is the right one.

#include <QList>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

#include "model/book_items.h"

namespace studio {

// Which edges of a rectangle a drag moves (corners move two).
enum Edge { NoEdge = 0, LeftEdge = 1, TopEdge = 2, RightEdge = 4, BottomEdge = 8 };

// Design pixels within which a dragged edge snaps to another.
inline constexpr int kSnapDistance = 4;

// Entries (and drawings) have a rectangle of their own; answer boxes and the listen icon only a
// place.
bool isResizable(ItemKind kind);
// The smallest and largest rectangle an item may have (the content check's hotspot sizes).
QSize smallestSize(ItemKind kind);
QSize largestSize(ItemKind kind);
// What the program shows beside an item that must lie on the page too: a fill box's mark above
// and to the right, a tick box's to the right.
QMargins markMargins(ItemKind kind);
QRect pageRect();

// `offset` made as small as needed for every area moved by it to stay inside the page.
QPoint keptInside(const QList<QRect>& areas, QPoint offset);
// `offset` changed by at most kSnapDistance on each axis so that an edge of `moving` (moved by
// it) meets an edge of one of `others` or of the page.
QPoint snapped(const QRect& moving, QPoint offset, const QList<QRect>& others);
// `start` with the `edges` moved by `delta`: each moved edge snaps to the others' and the page's
// edges, and the result stays inside the page within `minimum` and `maximum`.
QRect resized(const QRect& start, int edges, QPoint delta, const QList<QRect>& others,
              QSize minimum, QSize maximum);

}  // namespace studio
