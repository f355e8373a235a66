#pragma once

// The page being edited: its picture in the reader's 800 x 540 design space with the page's
// hotspots and answer boxes drawn as numbered outlines over it, zoomed and panned, and the tools
// that draw, select, move and resize them. Every change goes to the BookDocument as an edit;
// one mouse drag or one held key is one undo step.

#include <QGraphicsView>
#include <QImage>
#include <QList>

#include "model/book_items.h"

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

  signals:
    void selectionChanged(const QList<studio::ItemRef>& items);
    void zoomChanged(double zoom);
    void toolChanged(studio::PageTool tool);
};

// The page's picture at `size` as the reader shows it: the school's scan fitted into the page,
// or the page the content tool draws from its entries. For the view's background and the page
// list's thumbnails.
QImage pagePicture(const BookDocument& document, int page, QSize size);

}  // namespace studio
