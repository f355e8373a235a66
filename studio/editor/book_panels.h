#pragma once

// The book beyond its pages: its names and sections, and the units with their words. Each
// field's change is one edit of the document; the panels follow the document when an edit is
// undone.

#include <QAbstractTableModel>
#include <QWidget>

class QComboBox;
class QLineEdit;
class QTableView;
class QTableWidget;

namespace studio {

class BookDocument;

// The book's names (title, caption, shortcut) and its sections (name, first page).
class NamesPanel : public QWidget {
    Q_OBJECT

  public:
    explicit NamesPanel(BookDocument* document, QWidget* parent = nullptr);
    void refresh();

  private:
    void namesEdited();
    void sectionsEdited();
    void addSection();
    void removeSection();

    BookDocument* document_;
    QLineEdit* title_;
    QLineEdit* caption_;
    QLineEdit* shortcut_;
    QTableWidget* sections_;
    bool refreshing_ = false;
};

// One unit's words: English and Chinese, edited in place.
class WordTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    explicit WordTableModel(BookDocument* document, QObject* parent = nullptr);
    int unit() const { return unit_; }
    void setUnit(int unit);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  private:
    BookDocument* document_;
    int unit_ = -1;
};

// The units, one at a time, with buttons to add and remove words.
class UnitsPanel : public QWidget {
    Q_OBJECT

  public:
    explicit UnitsPanel(BookDocument* document, QWidget* parent = nullptr);
    void refresh();
    QTableView* words() const { return words_; }

  private:
    void nameEdited();

    BookDocument* document_;
    QComboBox* units_;
    QLineEdit* name_;
    WordTableModel* model_;
    QTableView* words_;
};

}  // namespace studio
