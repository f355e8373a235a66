#pragma once

// The tables beside the page: its entries (number, English, Chinese, what the recording says,
// where the recording comes from), edited in place and reordered by drag, and its answer boxes
// with their keys. Both read the document as it stands and change it only through its edits,
// so each cell edit and each drag is one undo step.

#include <QAbstractTableModel>

#include "model/book_items.h"

namespace studio {

class BookDocument;

class EntryTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum Column { Number, English, Chinese, Say, Recording, ColumnCount };

    explicit EntryTableModel(BookDocument* document, QObject* parent = nullptr);

    int page() const { return page_; }
    void setPage(int page);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // A row dragged onto another place moves that entry in the clip order.
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

  signals:
    // An entry was moved by a drag and now stands at `row`.
    void entryMoved(int row);

  private:
    QString recordingState(int entry) const;
    void pageEdited(int page);
    void itemEdited(int page, ItemRef item);

    BookDocument* document_;
    int page_ = -1;
};

// The page's answer boxes: fill-in boxes and tick boxes, each with its number and its key.
class AnswerTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum Column { Kind, Number, Answer, ColumnCount };

    explicit AnswerTableModel(BookDocument* document, QObject* parent = nullptr);

    int page() const { return page_; }
    void setPage(int page);
    // The box a row shows, and the row of a box (-1 when it is not an answer box).
    ItemRef itemOfRow(int row) const;
    int rowOfItem(ItemRef item) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  private:
    int fillCount() const;
    void reset();

    BookDocument* document_;
    int page_ = -1;
};

}  // namespace studio
