#pragma once

// The page being edited: its picture in the reader's 800 x 540 design space with the page's
// hotspots and answer boxes drawn as numbered outlines over it, zoomed and panned, and the tools
// that draw, select, move and resize them. Every change goes to the BookDocument as an edit;
// one mouse drag or one held key is one undo step.

#include <QCache>
#include <QFutureWatcher>
#include <QGraphicsView>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QTimer>

#include "model/book_items.h"
#include "sources/sources.h"

namespace studio {

class BookDocument;

// The tool the mouse works with: select and move (S), draw a new hotspot (R), place a new
// answer box (B).
enum class PageTool { Select, NewHotspot, NewAnswerBox };

class PageView : public QGraphicsView {
    Q_OBJECT

  public:
    explicit PageView(BookDocument* document, QWidget* parent = nullptr);
    ~PageView() override;

    // The page shown (an index into the document's pages), -1 for none. Showing another page
    // clears the selection.
    int page() const;
    void setPage(int page);

    // The selected items in the page's order. setSelection selects and scrolls the first into
    // view without emitting selectionChanged (the caller already knows).
    QList<ItemRef> selection() const;
    void setSelection(const QList<ItemRef>& items);

    PageTool tool() const;
    void setTool(PageTool tool);

    // 1.0 shows one design pixel as one screen pixel; kept within 0.25 .. 4.0.
    double zoom() const;
    void setZoom(double zoom);
    // Zooms so the whole page fits the view.
    void fitPage();

    // The kind of box the answer box tool places: ItemKind::Fill (the default) or Tick.
    ItemKind newBoxKind() const { return newBoxKind_; }
    void setNewBoxKind(ItemKind kind);

    // The selection's place and size in design pixels, for the status bar ("热区 3  x 120
    // y 80  宽 100  高 40"); empty with nothing selected.
    QString geometryText() const;
    // The items shown on the page (entries, answer boxes, the listen icon) in drawing order.
    QList<ItemRef> pageItems() const;

  signals:
    void selectionChanged(const QList<studio::ItemRef>& items);
    void zoomChanged(double zoom);
    void toolChanged(studio::PageTool tool);
    // geometryText() changed: another selection, or the selection moved or resized.
    void geometryChanged(const QString& text);
    // The page's picture now on show is the page as it stands (drawn on another thread after a
    // change, or taken from the view's cache).
    void pictureShown();

  protected:
    void drawBackground(QPainter* painter, const QRectF& rect) override;
    void drawForeground(QPainter* painter, const QRectF& rect) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

  private:
    enum class DragKind { None, Pending, Move, Resize, Create, Band, Pan };
    // A press of the mouse and what it does once it has gone kDragThreshold screen pixels.
    struct Drag {
        DragKind kind = DragKind::None;
        DragKind intent = DragKind::None;
        QPoint pressView;
        QPointF pressScene;
        ItemRef pressed;                 // Move: the item pressed
        int edges = 0;                   // Resize: the edges that move
        QList<ItemGeometry> start;       // Move, Resize: the items' rectangles at the press
        QList<ItemRef> selectionBefore;  // Band: the selection it adds to
        QRect rect;                      // Create, Band: the rectangle so far
        QPoint scrollStart;              // Pan
    };
    struct Zone {
        ItemRef item;
        int edges = NoZone;
        static constexpr int NoZone = -1;  // no item; 0: an item's inside; else its edges
    };

    void showPicture();
    void schedulePicture();
    void makePicture(const QString& key);
    void takePicture();
    void onPageChanged(int page);
    void onItemChanged(int page);
    void pruneSelection();
    void changeSelection(const QList<ItemRef>& items);
    void announceGeometry();

    QRectF viewRect(const QRect& designRect) const;
    QPoint designPoint(QPointF scenePoint) const;
    Zone zoneAt(QPoint viewPoint) const;
    void updateCursor(QPoint viewPoint);
    QList<QRect> otherRects(const QList<ItemRef>& moving) const;

    void beginDrag(DragKind intent, QMouseEvent* event);
    void startDrag();
    void continueDrag(QPoint viewPoint);
    void finishDrag();
    void cancelDrag();
    void moveSelection(QPoint designDelta);
    void resizeSelection(QPoint designDelta);
    QRect newHotspotRect(QPoint designPoint) const;
    void placeAnswerBox(QPoint designPoint);

    bool nudge(QKeyEvent* event);
    void selectNextEntry(bool forward);
    void duplicateSelection();
    void removeSelection();

    void paintOutline(QPainter* painter, const ItemRef& item, bool selected) const;
    void paintHandles(QPainter* painter, const QRectF& rect) const;

    BookDocument* document_;
    int page_ = -1;
    PageTool tool_ = PageTool::Select;
    ItemKind newBoxKind_ = ItemKind::Fill;
    QList<ItemRef> selection_;
    double zoom_ = 1.0;
    Drag drag_;
    bool nudging_ = false;  // a held arrow key's gesture is open
    bool spaceHeld_ = false;
    QPixmap picture_;
    QString pictureKey_;
    QCache<QString, QPixmap> pictures_;
    QTimer pictureTimer_;
    QFutureWatcher<QImage> pictureWork_;
    QString pictureWanted_;
};

// The page's picture at `size` as the reader shows it: the school's scan fitted into the page,
// or the page the content tool draws from its entries. For the view's background and the page
// list's thumbnails.
QImage pagePicture(const BookDocument& document, int page, QSize size);
QImage pagePicture(const tool::PageSource& page, QSize size);

}  // namespace studio
