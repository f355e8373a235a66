#include "page_view.h"

#include <QDateTime>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <cmath>

#include "model/book_document.h"
#include "page_geometry.h"
#include "pictures/book_pictures.h"
#include "pictures/supplied_pictures.h"
#include "sources/book_profile.h"

namespace studio {

namespace {

// Screen pixels: how far a press must go to be a drag, and the reach of a handle or an edge
// from its line (the grab zone is twice that across, at any zoom).
constexpr int kDragThreshold = 5;
constexpr int kGrabReach = 5;
constexpr int kHandleSize = 8;
// An item smaller than this on screen is moved from its inside; its handles and edges are
// grabbed from outside.
constexpr int kSmallOnScreen = 3 * kGrabReach;
// The page picture is made at twice the design size, sharp up to 200 %.
constexpr int kPictureScale = 2;
constexpr double kMinZoom = 0.25;
constexpr double kMaxZoom = 4.0;
// A drawn page is redrawn this long after its last change (not on every step of a drag).
constexpr int kPictureDelayMs = 150;
constexpr int kPicturesKept = 6;

const QColor kEntryColour(0x1e, 0x6f, 0xd9);
const QColor kBoxColour(0xe0, 0x7b, 0x00);
const QColor kSelectedColour(0xd9, 0x1e, 0x63);

QString kindName(ItemKind kind) {
    switch (kind) {
        case ItemKind::Entry:
            return QStringLiteral("热区");
        case ItemKind::Drawing:
            return QStringLiteral("图画");
        case ItemKind::Fill:
            return QStringLiteral("填空框");
        case ItemKind::Tick:
            return QStringLiteral("判断框");
        case ItemKind::Listen:
            return QStringLiteral("听录音图标");
    }
    return {};
}

// The label drawn at an outline's corner.
QString itemLabel(const ItemRef& item) {
    const QString number = QString::number(item.index + 1);
    switch (item.kind) {
        case ItemKind::Fill:
            return QStringLiteral("填") + number;
        case ItemKind::Tick:
            return QStringLiteral("判") + number;
        case ItemKind::Listen:
            return QStringLiteral("听");
        default:
            return number;
    }
}

// The edges of `rect` (screen) that `point` grabs: a handle (corner or middle of a side) or a
// whole edge, each kGrabReach either side of its line; 0 for none.
int grabbedEdges(const QRectF& rect, QPointF point) {
    const auto near = [](double a, double b) { return std::abs(a - b) <= kGrabReach; };
    const bool inX =
        point.x() >= rect.left() - kGrabReach && point.x() <= rect.right() + kGrabReach;
    const bool inY =
        point.y() >= rect.top() - kGrabReach && point.y() <= rect.bottom() + kGrabReach;
    if (!inX || !inY) return NoEdge;
    int edges = NoEdge;
    if (near(point.x(), rect.left())) edges |= LeftEdge;
    if (near(point.x(), rect.right()) && !(edges & LeftEdge)) edges |= RightEdge;
    if (near(point.y(), rect.top())) edges |= TopEdge;
    if (near(point.y(), rect.bottom()) && !(edges & TopEdge)) edges |= BottomEdge;
    return edges;
}

Qt::CursorShape edgeCursor(int edges) {
    switch (edges) {
        case LeftEdge | TopEdge:
        case RightEdge | BottomEdge:
            return Qt::SizeFDiagCursor;
        case RightEdge | TopEdge:
        case LeftEdge | BottomEdge:
            return Qt::SizeBDiagCursor;
        case LeftEdge:
        case RightEdge:
            return Qt::SizeHorCursor;
        default:
            return Qt::SizeVerCursor;
    }
}

bool isArrow(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

// A page picture's key in the cache: a scan by its file and time, a drawn page by its text.
QString pictureKey(const BookDocument& document, int page) {
    const tool::PageSource& p = document.page(page);
    if (p.image.given()) {
        const QFileInfo info(p.image.path);
        return QStringLiteral("scan:%1:%2")
            .arg(info.absoluteFilePath())
            .arg(info.lastModified().toMSecsSinceEpoch());
    }
    const int file = document.fileOfPage(page);
    const QString text = file >= 0 ? document.file(file).text() : QString();
    return QStringLiteral("drawn:%1:%2:%3").arg(page).arg(qHash(text)).arg(p.section);
}

}  // namespace

QImage pagePicture(const BookDocument& document, int page, QSize size) {
    if (page < 0 || page >= document.pageCount()) return {};
    return pagePicture(document.page(page), size);
}

QImage pagePicture(const tool::PageSource& p, QSize size) {
    if (size.isEmpty()) return {};
    if (!p.image.given()) return art::renderPage(tool::pageSpec(p, size));
    QList<QImage> frames;
    int delayMs = 0;
    QString error;
    if (tool::readPicture(p.image.path, frames, delayMs, error) && !frames.isEmpty())
        return tool::fitPicture(frames.first(), size, Qt::white);
    // A scan that cannot be read shows as a grey page that says so.
    QImage blank(size, QImage::Format_RGB32);
    blank.fill(QColor(0xdd, 0xdd, 0xdd));
    QPainter painter(&blank);
    painter.drawText(blank.rect(), Qt::AlignCenter,
                     QStringLiteral("扫描图无法读取：%1").arg(p.image.file));
    return blank;
}

PageView::PageView(BookDocument* document, QWidget* parent)
    : QGraphicsView(parent), document_(document), pictures_(kPicturesKept) {
    auto* scene = new QGraphicsScene(this);
    scene->setSceneRect(pageRect());
    setScene(scene);
    setCacheMode(CacheBackground);
    setTransformationAnchor(AnchorUnderMouse);
    setFocusPolicy(Qt::StrongFocus);
    setBackgroundBrush(QColor(0x80, 0x80, 0x80));
    viewport()->setMouseTracking(true);
    pictureTimer_.setSingleShot(true);
    pictureTimer_.setInterval(kPictureDelayMs);
    connect(&pictureTimer_, &QTimer::timeout, this, &PageView::showPicture);
    connect(&pictureWork_, &QFutureWatcher<QImage>::finished, this, &PageView::takePicture);
    connect(document_, &BookDocument::pageChanged, this, &PageView::onPageChanged);
    connect(document_, &BookDocument::itemChanged, this,
            [this](int page, ItemRef) { onItemChanged(page); });
    connect(document_, &BookDocument::opened, this, [this] {
        pictures_.clear();
        setPage(document_->pageCount() > 0 ? 0 : -1);
    });
}

PageView::~PageView() {
    pictureWork_.waitForFinished();
}

int PageView::page() const {
    return page_;
}

void PageView::setPage(int page) {
    cancelDrag();
    page_ = page >= 0 && page < document_->pageCount() ? page : -1;
    const bool hadSelection = !selection_.isEmpty();
    selection_.clear();
    picture_ = QPixmap();
    pictureKey_.clear();
    showPicture();
    if (hadSelection) emit selectionChanged(selection_);
    announceGeometry();
    viewport()->update();
}

QList<ItemRef> PageView::selection() const {
    return selection_;
}

void PageView::setSelection(const QList<ItemRef>& items) {
    selection_.clear();
    for (const ItemRef& item : items) {
        if (pageItems().contains(item) && !selection_.contains(item)) selection_.append(item);
    }
    if (!selection_.isEmpty()) ensureVisible(document_->itemRect(page_, selection_.first()));
    announceGeometry();
    viewport()->update();
}

PageTool PageView::tool() const {
    return tool_;
}

void PageView::setTool(PageTool tool) {
    if (tool == tool_) return;
    cancelDrag();
    tool_ = tool;
    viewport()->setCursor(tool == PageTool::Select ? Qt::ArrowCursor : Qt::CrossCursor);
    emit toolChanged(tool);
}

void PageView::setNewBoxKind(ItemKind kind) {
    if (kind == ItemKind::Fill || kind == ItemKind::Tick) newBoxKind_ = kind;
}

double PageView::zoom() const {
    return zoom_;
}

void PageView::setZoom(double zoom) {
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    if (qFuzzyCompare(zoom, zoom_)) return;
    zoom_ = zoom;
    setTransform(QTransform::fromScale(zoom, zoom));
    emit zoomChanged(zoom_);
}

void PageView::fitPage() {
    const QSize room = viewport()->size() - QSize(4, 4);
    setZoom(std::min(double(room.width()) / tool::kPageWidth,
                     double(room.height()) / tool::kPageHeight));
    centerOn(pageRect().center());
}

QList<ItemRef> PageView::pageItems() const {
    QList<ItemRef> items;
    if (page_ < 0) return items;
    const tool::PageSource& p = document_->page(page_);
    for (int i = 0; i < p.entries.size(); ++i) items.append({ItemKind::Entry, i});
    for (int i = 0; i < p.fills.size(); ++i) items.append({ItemKind::Fill, i});
    for (int i = 0; i < p.ticks.size(); ++i) items.append({ItemKind::Tick, i});
    for (int i = 0; i < p.listens.size(); ++i) items.append({ItemKind::Listen, i});
    return items;
}

QString PageView::geometryText() const {
    if (page_ < 0 || selection_.isEmpty()) return {};
    QRect all;
    for (const ItemRef& item : selection_) all = all.united(document_->itemRect(page_, item));
    const QString head =
        selection_.size() == 1
            ? kindName(selection_.first().kind) + QLatin1Char(' ') + itemLabel(selection_.first())
            : QStringLiteral("已选 %1 项").arg(selection_.size());
    return QStringLiteral("%1  x %2  y %3  宽 %4  高 %5")
        .arg(head)
        .arg(all.x())
        .arg(all.y())
        .arg(all.width())
        .arg(all.height());
}

// ---------------------------------------------------------------------------------------------
// The page's picture.

void PageView::showPicture() {
    if (page_ < 0) {
        picture_ = QPixmap();
        pictureKey_.clear();
        resetCachedContent();
        return;
    }
    if (drag_.kind != DragKind::None || nudging_) {
        pictureTimer_.start();  // not while the teacher drags: once the drag is over
        return;
    }
    const QString key = pictureKey(*document_, page_);
    if (key == pictureKey_) return;
    if (!pictures_.contains(key)) return makePicture(key);
    picture_ = *pictures_.object(key);
    pictureKey_ = key;
    resetCachedContent();
    viewport()->update();
    emit pictureShown();
}

// Draws the page (or fits its scan) on another thread from a copy of the page as it stands; the
// view shows the picture it has meanwhile. Once done, showPicture looks again: the page may have
// changed while it was drawn.
void PageView::makePicture(const QString& key) {
    if (pictureWork_.isRunning()) return;
    pictureWanted_ = key;
    const tool::PageSource page = document_->page(page_);
    const QSize size(tool::kPageWidth * kPictureScale, tool::kPageHeight * kPictureScale);
    pictureWork_.setFuture(QtConcurrent::run([page, size] { return pagePicture(page, size); }));
}

void PageView::takePicture() {
    pictures_.insert(pictureWanted_, new QPixmap(QPixmap::fromImage(pictureWork_.result())));
    showPicture();
}

void PageView::schedulePicture() {
    pictureTimer_.start();
}

void PageView::onPageChanged(int page) {
    if (page != page_) return;
    pruneSelection();
    schedulePicture();
    announceGeometry();
    viewport()->update();
}

void PageView::onItemChanged(int page) {
    if (page != page_) return;
    schedulePicture();
    announceGeometry();
    viewport()->update();
}

void PageView::pruneSelection() {
    const QList<ItemRef> items = pageItems();
    QList<ItemRef> kept;
    for (const ItemRef& item : selection_) {
        if (items.contains(item)) kept.append(item);
    }
    if (kept != selection_) changeSelection(kept);
}

void PageView::changeSelection(const QList<ItemRef>& items) {
    if (items == selection_) return;
    selection_ = items;
    emit selectionChanged(selection_);
    announceGeometry();
    viewport()->update();
}

void PageView::announceGeometry() {
    emit geometryChanged(geometryText());
}

// ---------------------------------------------------------------------------------------------
// Painting.

void PageView::drawBackground(QPainter* painter, const QRectF& rect) {
    QGraphicsView::drawBackground(painter, rect);
    if (page_ < 0) return;
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    if (!picture_.isNull()) {
        painter->drawPixmap(QRectF(pageRect()), picture_, QRectF(picture_.rect()));
    } else {
        painter->fillRect(pageRect(), Qt::white);
    }
}

void PageView::drawForeground(QPainter* painter, const QRectF&) {
    if (page_ < 0) return;
    painter->save();
    painter->resetTransform();  // outlines, labels and handles are drawn in screen pixels
    for (const ItemRef& item : pageItems()) {
        if (!selection_.contains(item)) paintOutline(painter, item, false);
    }
    for (const ItemRef& item : selection_) paintOutline(painter, item, true);
    if (selection_.size() == 1 && isResizable(selection_.first().kind))
        paintHandles(painter, viewRect(document_->itemRect(page_, selection_.first())));
    if (drag_.kind == DragKind::Create || drag_.kind == DragKind::Band) {
        QPen pen(drag_.kind == DragKind::Create ? kEntryColour : kSelectedColour, 1, Qt::DashLine);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(viewRect(drag_.rect));
    }
    painter->restore();
}

void PageView::paintOutline(QPainter* painter, const ItemRef& item, bool selected) const {
    const QRectF rect = viewRect(document_->itemRect(page_, item));
    const QColor colour = selected                       ? kSelectedColour
                          : item.kind == ItemKind::Entry ? kEntryColour
                                                         : kBoxColour;
    QColor fill = colour;
    fill.setAlpha(selected ? 40 : 18);
    painter->setPen(QPen(colour, selected ? 2 : 1));
    painter->setBrush(fill);
    painter->drawRect(rect);
    const QString label = itemLabel(item);
    const QFontMetrics metrics = painter->fontMetrics();
    const QRectF tag(rect.topLeft(),
                     QSizeF(metrics.horizontalAdvance(label) + 6, metrics.height() + 2));
    painter->fillRect(tag, colour);
    painter->setPen(Qt::white);
    painter->drawText(tag, Qt::AlignCenter, label);
}

void PageView::paintHandles(QPainter* painter, const QRectF& rect) const {
    painter->setPen(QPen(kSelectedColour, 1));
    painter->setBrush(Qt::white);
    const double xs[] = {rect.left(), rect.center().x(), rect.right()};
    const double ys[] = {rect.top(), rect.center().y(), rect.bottom()};
    for (double x : xs) {
        for (double y : ys) {
            if (x == xs[1] && y == ys[1]) continue;
            painter->drawRect(
                QRectF(x - kHandleSize / 2.0, y - kHandleSize / 2.0, kHandleSize, kHandleSize));
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Where the mouse is.

QRectF PageView::viewRect(const QRect& designRect) const {
    return mapFromScene(QRectF(designRect)).boundingRect();
}

QPoint PageView::designPoint(QPointF scenePoint) const {
    return {qRound(scenePoint.x()), qRound(scenePoint.y())};
}

PageView::Zone PageView::zoneAt(QPoint viewPoint) const {
    if (page_ < 0) return {};
    if (selection_.size() == 1 && isResizable(selection_.first().kind)) {
        const QRectF rect = viewRect(document_->itemRect(page_, selection_.first()));
        const bool small = rect.width() < kSmallOnScreen || rect.height() < kSmallOnScreen;
        const int edges = grabbedEdges(rect, viewPoint);
        if (edges != NoEdge && !(small && rect.contains(viewPoint)))
            return {selection_.first(), edges};
    }
    // The smallest item under the point: one lying inside another stays reachable.
    Zone hit;
    double hitArea = 0;
    for (const ItemRef& item : pageItems()) {
        const QRectF rect = viewRect(document_->itemRect(page_, item));
        const double area = rect.width() * rect.height();
        if (rect.contains(viewPoint) && (hit.edges == Zone::NoZone || area < hitArea)) {
            hit = {item, 0};
            hitArea = area;
        }
    }
    return hit;
}

void PageView::updateCursor(QPoint viewPoint) {
    if (tool_ != PageTool::Select || drag_.kind != DragKind::None) return;
    const Zone zone = zoneAt(viewPoint);
    viewport()->setCursor(zone.edges > 0    ? edgeCursor(zone.edges)
                          : zone.edges == 0 ? Qt::SizeAllCursor
                                            : Qt::ArrowCursor);
}

QList<QRect> PageView::otherRects(const QList<ItemRef>& moving) const {
    QList<QRect> rects;
    for (const ItemRef& item : pageItems()) {
        if (!moving.contains(item)) rects.append(document_->itemRect(page_, item));
    }
    return rects;
}

// ---------------------------------------------------------------------------------------------
// The mouse.

void PageView::mousePressEvent(QMouseEvent* event) {
    if (drag_.kind != DragKind::None) return;
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && spaceHeld_)) {
        beginDrag(DragKind::Pan, event);
        drag_.kind = DragKind::Pan;
        viewport()->setCursor(Qt::ClosedHandCursor);
        return;
    }
    if (event->button() != Qt::LeftButton || page_ < 0) return;
    if (tool_ == PageTool::NewHotspot) return beginDrag(DragKind::Create, event);
    if (tool_ == PageTool::NewAnswerBox) return placeAnswerBox(designPoint(mapToScene(at)));
    const Zone zone = zoneAt(at);
    const bool adding = event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier);
    if (zone.edges == Zone::NoZone) {
        if (!adding) changeSelection({});
        return beginDrag(DragKind::Band, event);
    }
    if (adding) {
        QList<ItemRef> items = selection_;
        if (!items.removeOne(zone.item)) items.append(zone.item);
        return changeSelection(items);
    }
    if (!selection_.contains(zone.item)) changeSelection({zone.item});
    beginDrag(zone.edges > 0 ? DragKind::Resize : DragKind::Move, event);
    drag_.pressed = zone.item;
    drag_.edges = std::max(zone.edges, 0);
}

void PageView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (drag_.kind == DragKind::None) return updateCursor(at);
    if (drag_.kind == DragKind::Pending) {
        if (QLineF(drag_.pressView, at).length() < kDragThreshold) return;
        startDrag();
    }
    continueDrag(at);
}

void PageView::mouseReleaseEvent(QMouseEvent* event) {
    if (drag_.kind == DragKind::None) return;
    const bool panning = drag_.kind == DragKind::Pan;
    if ((panning && event->button() != Qt::MiddleButton && event->button() != Qt::LeftButton) ||
        (!panning && event->button() != Qt::LeftButton))
        return;
    finishDrag();
    updateCursor(event->position().toPoint());
}

void PageView::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);  // a quick second press is a press like any other
}

void PageView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) return QGraphicsView::wheelEvent(event);
    const double steps = event->angleDelta().y() / 120.0;
    setZoom(zoom_ * std::pow(1.15, steps));
    event->accept();
}

void PageView::beginDrag(DragKind intent, QMouseEvent* event) {
    drag_ = Drag();
    drag_.kind = DragKind::Pending;
    drag_.intent = intent;
    drag_.pressView = event->position().toPoint();
    drag_.pressScene = mapToScene(drag_.pressView);
    drag_.scrollStart = {horizontalScrollBar()->value(), verticalScrollBar()->value()};
    drag_.selectionBefore = selection_;
    for (const ItemRef& item : selection_)
        drag_.start.append({item, document_->itemRect(page_, item)});
}

// The press has gone far enough to be a drag. A move or resize opens the document's gesture:
// every step until the release merges into one undo step.
void PageView::startDrag() {
    drag_.kind = drag_.intent;
    if (drag_.kind == DragKind::Move || drag_.kind == DragKind::Resize) document_->beginGesture();
}

void PageView::continueDrag(QPoint viewPoint) {
    const QPointF scene = mapToScene(viewPoint);
    const QPoint delta = designPoint(scene) - designPoint(drag_.pressScene);
    switch (drag_.kind) {
        case DragKind::Move:
            return moveSelection(delta);
        case DragKind::Resize:
            return resizeSelection(delta);
        case DragKind::Create:
            drag_.rect = newHotspotRect(designPoint(scene));
            break;
        case DragKind::Band: {
            drag_.rect = QRectF(drag_.pressScene, scene).normalized().toAlignedRect();
            QList<ItemRef> items = drag_.selectionBefore;
            for (const ItemRef& item : pageItems()) {
                if (!items.contains(item) &&
                    drag_.rect.intersects(document_->itemRect(page_, item)))
                    items.append(item);
            }
            selection_ = items;  // announced at the release
            break;
        }
        case DragKind::Pan: {
            const QPoint moved = viewPoint - drag_.pressView;
            horizontalScrollBar()->setValue(drag_.scrollStart.x() - moved.x());
            verticalScrollBar()->setValue(drag_.scrollStart.y() - moved.y());
            return;
        }
        default:
            break;
    }
    viewport()->update();
}

void PageView::finishDrag() {
    const Drag drag = drag_;
    drag_ = Drag();
    if (drag.kind == DragKind::Move || drag.kind == DragKind::Resize) document_->endGesture();
    // A click (no drag) on one of several selected selects it alone.
    if (drag.kind == DragKind::Pending && drag.intent == DragKind::Move && selection_.size() > 1)
        changeSelection({drag.pressed});
    if (drag.kind == DragKind::Create) {
        const int at = int(document_->page(page_).entries.size());
        NewEntry entry;
        entry.rect = drag.rect;
        if (document_->addEntry(page_, at, entry)) changeSelection({{ItemKind::Entry, at}});
    }
    if (drag.kind == DragKind::Band) {
        const QList<ItemRef> chosen = selection_;
        selection_ = drag.selectionBefore;
        changeSelection(chosen);
    }
    if (drag.kind == DragKind::Pan) viewport()->unsetCursor();
    if (pictureTimer_.isActive() || drag.kind == DragKind::Move || drag.kind == DragKind::Resize)
        schedulePicture();
    viewport()->update();
}

// Esc: a move or resize gives back the geometry it started from and leaves no undo step; a new
// hotspot is not made; a rubber band leaves the selection as it was.
void PageView::cancelDrag() {
    if (drag_.kind == DragKind::None) return;
    const Drag drag = drag_;
    drag_ = Drag();
    if (drag.kind == DragKind::Move || drag.kind == DragKind::Resize) {
        document_->cancelGesture();
        document_->endGesture();
    }
    if (drag.kind == DragKind::Band) selection_ = drag.selectionBefore;
    announceGeometry();
    viewport()->update();
}

void PageView::moveSelection(QPoint delta) {
    QRect group;
    QList<QRect> areas;
    QList<ItemRef> items;
    for (const ItemGeometry& g : drag_.start) {
        group = group.united(g.rect);
        areas.append(g.rect.marginsAdded(markMargins(g.item.kind)));
        items.append(g.item);
    }
    // The group's own place is among the edges it snaps to: let go where it started, it stays.
    const QPoint offset = keptInside(areas, snapped(group, delta, otherRects(items) << group));
    QList<ItemGeometry> moves;
    bool changed = false;
    for (const ItemGeometry& g : drag_.start) {
        moves.append({g.item, g.rect.translated(offset)});
        changed |= document_->itemRect(page_, g.item) != moves.last().rect;
    }
    if (changed) document_->setGeometry(page_, moves);
}

void PageView::resizeSelection(QPoint delta) {
    if (drag_.start.size() != 1) return;
    const ItemGeometry& g = drag_.start.first();
    const QRect rect = resized(g.rect, drag_.edges, delta, otherRects({g.item}) << g.rect,
                               smallestSize(g.item.kind), largestSize(g.item.kind));
    if (rect != document_->itemRect(page_, g.item)) document_->setGeometry(page_, {{g.item, rect}});
}

// The new hotspot from the press to `point`, within the sizes a hotspot may have and the page.
QRect PageView::newHotspotRect(QPoint point) const {
    const QPoint press = designPoint(drag_.pressScene);
    const QPoint delta = point - press;
    const int edges =
        (delta.x() < 0 ? LeftEdge : RightEdge) | (delta.y() < 0 ? TopEdge : BottomEdge);
    return resized(QRect(press, QSize(0, 0)), edges, delta, otherRects({}),
                   smallestSize(ItemKind::Entry), largestSize(ItemKind::Entry));
}

// The answer box tool: a box with its top left corner at the press, moved in as far as its mark
// needs to be on the page.
void PageView::placeAnswerBox(QPoint point) {
    const ItemKind kind = newBoxKind_;
    const QRect box(point, kind == ItemKind::Fill
                               ? QSize(tool::kFillBoxSize, tool::kFillBoxSize)
                               : QSize(tool::kTickBoxWidth, tool::kTickBoxHeight));
    const QPoint place = point + keptInside({box.marginsAdded(markMargins(kind))}, QPoint(0, 0));
    const tool::PageSource& p = document_->page(page_);
    const int at = int(kind == ItemKind::Fill ? p.fills.size() : p.ticks.size());
    const QString answer = kind == ItemKind::Tick ? QStringLiteral("-") : QString();
    if (document_->addAnswerBox(page_, kind, place, answer)) changeSelection({{kind, at}});
}

// ---------------------------------------------------------------------------------------------
// Keys.

void PageView::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const auto mods = event->modifiers() & ~Qt::KeypadModifier;
    if (key == Qt::Key_Escape && drag_.kind != DragKind::None) return cancelDrag();
    if (isArrow(key) && nudge(event)) return;
    if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) &&
        !(mods & (Qt::ControlModifier | Qt::AltModifier)) && page_ >= 0 &&
        !document_->page(page_).entries.isEmpty())
        return selectNextEntry(key == Qt::Key_Tab && !(mods & Qt::ShiftModifier));
    if (key == Qt::Key_Space && !event->isAutoRepeat()) {
        spaceHeld_ = true;
        return;
    }
    if (mods == Qt::NoModifier && !event->isAutoRepeat()) {
        if (key == Qt::Key_S) return setTool(PageTool::Select);
        if (key == Qt::Key_R) return setTool(PageTool::NewHotspot);
        if (key == Qt::Key_B) return setTool(PageTool::NewAnswerBox);
    }
    if ((key == Qt::Key_Delete || key == Qt::Key_Backspace) && drag_.kind == DragKind::None)
        return removeSelection();
    if (key == Qt::Key_D && mods == Qt::ControlModifier && drag_.kind == DragKind::None)
        return duplicateSelection();
    if (mods == Qt::ControlModifier && (key == Qt::Key_Plus || key == Qt::Key_Equal))
        return setZoom(zoom_ * 1.25);
    if (mods == Qt::ControlModifier && key == Qt::Key_Minus) return setZoom(zoom_ / 1.25);
    if (mods == Qt::ControlModifier && key == Qt::Key_0) return fitPage();
    QGraphicsView::keyPressEvent(event);
}

void PageView::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) return;
    if (event->key() == Qt::Key_Space) spaceHeld_ = false;
    if (isArrow(event->key()) && nudging_) {
        nudging_ = false;
        document_->endGesture();
        schedulePicture();
    }
}

void PageView::focusOutEvent(QFocusEvent* event) {
    spaceHeld_ = false;
    if (nudging_) {
        nudging_ = false;
        document_->endGesture();
    }
    QGraphicsView::focusOutEvent(event);
}

// Arrows move the selection 1 design pixel, with Shift 10. The first press opens a gesture
// that the key's real release closes, so a held key (its repeats) is one undo step.
bool PageView::nudge(QKeyEvent* event) {
    if (selection_.isEmpty() || drag_.kind != DragKind::None) return false;
    const int step = event->modifiers() & Qt::ShiftModifier ? 10 : 1;
    QPoint delta;
    switch (event->key()) {
        case Qt::Key_Left:
            delta = {-step, 0};
            break;
        case Qt::Key_Right:
            delta = {step, 0};
            break;
        case Qt::Key_Up:
            delta = {0, -step};
            break;
        default:
            delta = {0, step};
            break;
    }
    if (!nudging_) {
        nudging_ = true;
        document_->beginGesture();
    }
    QList<QRect> areas;
    for (const ItemRef& item : selection_)
        areas.append(document_->itemRect(page_, item).marginsAdded(markMargins(item.kind)));
    const QPoint offset = keptInside(areas, delta);
    if (offset.isNull()) return true;
    QList<ItemGeometry> moves;
    for (const ItemRef& item : selection_)
        moves.append({item, document_->itemRect(page_, item).translated(offset)});
    document_->setGeometry(page_, moves);
    return true;
}

bool PageView::focusNextPrevChild(bool next) {
    if (page_ < 0 || document_->page(page_).entries.isEmpty())
        return QGraphicsView::focusNextPrevChild(next);
    selectNextEntry(next);
    return true;
}

// Tab and Shift+Tab: the page's entries in their order, round again at the end.
void PageView::selectNextEntry(bool forward) {
    const int count = int(document_->page(page_).entries.size());
    int current = -1;
    for (const ItemRef& item : selection_) {
        if (item.kind == ItemKind::Entry) {
            current = item.index;
            break;
        }
    }
    const int next =
        current < 0 ? (forward ? 0 : count - 1) : (current + (forward ? 1 : count - 1)) % count;
    changeSelection({{ItemKind::Entry, next}});
    ensureVisible(document_->itemRect(page_, selection_.first()));
}

void PageView::duplicateSelection() {
    if (page_ < 0 || selection_.isEmpty()) return;
    const QList<ItemRef> copies = document_->duplicateItems(page_, selection_, QPoint(10, 10));
    if (!copies.isEmpty()) changeSelection(copies);
}

void PageView::removeSelection() {
    if (page_ < 0 || selection_.isEmpty()) return;
    const QList<ItemRef> gone = selection_;
    changeSelection({});
    document_->removeItems(page_, gone);
}

}  // namespace studio
