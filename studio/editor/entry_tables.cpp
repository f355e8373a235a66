#include "editor/entry_tables.h"

#include <QFileInfo>
#include <QMimeData>
#include <algorithm>

#include "model/book_document.h"

namespace studio {

namespace {

const QString kEntryRowType = QStringLiteral("application/x-qcbook-studio-entry-row");

}  // namespace

EntryTableModel::EntryTableModel(BookDocument* document, QObject* parent)
    : QAbstractTableModel(parent), document_(document) {
    connect(document_, &BookDocument::pageChanged, this, &EntryTableModel::pageEdited);
    connect(document_, &BookDocument::itemChanged, this, &EntryTableModel::itemEdited);
    connect(document_, &BookDocument::opened, this, [this] { setPage(-1); });
}

void EntryTableModel::setPage(int page) {
    beginResetModel();
    page_ = page;
    endResetModel();
}

void EntryTableModel::pageEdited(int page) {
    if (page != page_) return;
    beginResetModel();
    endResetModel();
}

void EntryTableModel::itemEdited(int page, ItemRef item) {
    if (page != page_ || item.kind != ItemKind::Entry) return;
    if (item.index >= rowCount()) return pageEdited(page);
    emit dataChanged(index(item.index, 0), index(item.index, ColumnCount - 1));
}

int EntryTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || page_ < 0 || page_ >= document_->pageCount()) return 0;
    return int(document_->page(page_).entries.size());
}

int EntryTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString EntryTableModel::recordingState(int entry) const {
    const tool::Recording& recording = document_->page(page_).entries[entry].recording;
    if (!recording.supplied()) return QStringLiteral("由语音合成");
    return QFileInfo::exists(recording.path) ? QStringLiteral("自带录音文件")
                                             : QStringLiteral("缺少录音文件");
}

QVariant EntryTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const tool::Entry& entry = document_->page(page_).entries[index.row()];
    if (role == Qt::ToolTipRole && index.column() == Recording && entry.recording.supplied())
        return entry.recording.file;
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    switch (index.column()) {
        case Number:
            return entry.number;
        case English:
            return entry.english;
        case Chinese:
            return entry.chinese;
        case Say:
            return entry.say;
        case Recording:
            return recordingState(index.row());
        default:
            return {};
    }
}

QVariant EntryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const names[] = {"号", "英文", "中文", "录音说的", "录音"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(names[section]) : QVariant();
}

Qt::ItemFlags EntryTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::ItemIsDropEnabled;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    if (index.column() == English || index.column() == Chinese || index.column() == Say)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool EntryTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount()) return false;
    static const TextField fields[] = {TextField::English, TextField::English, TextField::Chinese,
                                       TextField::Say, TextField::English};
    if (!(flags(index) & Qt::ItemIsEditable)) return false;
    const QString text = value.toString();
    if (text == data(index, Qt::EditRole).toString()) return true;
    return document_->setText(page_, {ItemKind::Entry, index.row()}, fields[index.column()], text);
}

QStringList EntryTableModel::mimeTypes() const {
    return {kEntryRowType};
}

QMimeData* EntryTableModel::mimeData(const QModelIndexList& indexes) const {
    if (indexes.isEmpty()) return nullptr;
    auto* data = new QMimeData;
    data->setData(kEntryRowType, QByteArray::number(indexes.first().row()));
    return data;
}

bool EntryTableModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int,
                                   const QModelIndex& parent) {
    if (action != Qt::MoveAction || !data || !data->hasFormat(kEntryRowType)) return false;
    bool number = false;
    const int from = data->data(kEntryRowType).toInt(&number);
    if (!number || from < 0 || from >= rowCount()) return false;
    // Dropped between rows: before `row`; dropped on a row: in its place.
    int target = row >= 0 ? row : parent.isValid() ? parent.row() : rowCount();
    if (row >= 0 && target > from) --target;
    target = std::clamp(target, 0, rowCount() - 1);
    if (target == from) return false;
    if (!document_->moveEntry(page_, from, target)) return false;
    emit entryMoved(target);
    // The rows were already put in their new order by the edit: nothing for the view to remove.
    return false;
}

AnswerTableModel::AnswerTableModel(BookDocument* document, QObject* parent)
    : QAbstractTableModel(parent), document_(document) {
    connect(document_, &BookDocument::pageChanged, this, [this](int page) {
        if (page == page_) reset();
    });
    connect(document_, &BookDocument::itemChanged, this, [this](int page, ItemRef item) {
        const int row = page == page_ ? rowOfItem(item) : -1;
        if (row >= 0) emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    });
    connect(document_, &BookDocument::opened, this, [this] { setPage(-1); });
}

void AnswerTableModel::setPage(int page) {
    page_ = page;
    reset();
}

void AnswerTableModel::reset() {
    beginResetModel();
    endResetModel();
}

int AnswerTableModel::fillCount() const {
    return page_ >= 0 && page_ < document_->pageCount() ? int(document_->page(page_).fills.size())
                                                        : 0;
}

ItemRef AnswerTableModel::itemOfRow(int row) const {
    return row < fillCount() ? ItemRef{ItemKind::Fill, row}
                             : ItemRef{ItemKind::Tick, row - fillCount()};
}

int AnswerTableModel::rowOfItem(ItemRef item) const {
    if (item.kind == ItemKind::Fill && item.index < fillCount()) return item.index;
    if (item.kind == ItemKind::Tick && fillCount() + item.index < rowCount())
        return fillCount() + item.index;
    return -1;
}

int AnswerTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || page_ < 0 || page_ >= document_->pageCount()) return 0;
    return fillCount() + int(document_->page(page_).ticks.size());
}

int AnswerTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant AnswerTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    const tool::PageSource& page = document_->page(page_);
    const ItemRef item = itemOfRow(index.row());
    const bool fill = item.kind == ItemKind::Fill;
    switch (index.column()) {
        case Kind:
            return fill ? QStringLiteral("填空框") : QStringLiteral("勾选框");
        case Number:
            return fill ? page.fills[item.index].number : page.ticks[item.index].number;
        case Answer: {
            if (fill) return page.fills[item.index].answer;
            const int expected = page.ticks[item.index].expected;
            return expected == 1   ? QStringLiteral("yes")
                   : expected == 0 ? QStringLiteral("no")
                                   : QStringLiteral("-");
        }
        default:
            return {};
    }
}

QVariant AnswerTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const names[] = {"答题框", "号", "答案"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(names[section]) : QVariant();
}

Qt::ItemFlags AnswerTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == Answer) flags |= Qt::ItemIsEditable;
    return flags;
}

bool AnswerTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || index.column() != Answer || index.row() >= rowCount()) return false;
    const QString text = value.toString().trimmed();
    if (text == data(index, Qt::EditRole).toString()) return true;
    return document_->setText(page_, itemOfRow(index.row()), TextField::Answer, text);
}

}  // namespace studio
