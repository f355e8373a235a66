#include "editor/book_panels.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "model/book_document.h"

namespace studio {

namespace {

QString unitTitle(const tool::UnitSource& unit) {
    return unit.name.isEmpty() ? QStringLiteral("Unit %1").arg(unit.unit)
                               : QStringLiteral("Unit %1  %2").arg(unit.unit).arg(unit.name);
}

}  // namespace

NamesPanel::NamesPanel(BookDocument* document, QWidget* parent)
    : QWidget(parent), document_(document) {
    title_ = new QLineEdit(this);
    caption_ = new QLineEdit(this);
    shortcut_ = new QLineEdit(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("书名（标题）："), title_);
    form->addRow(QStringLiteral("说明："), caption_);
    form->addRow(QStringLiteral("桌面快捷方式："), shortcut_);
    for (QLineEdit* field : {title_, caption_, shortcut_})
        connect(field, &QLineEdit::editingFinished, this, &NamesPanel::namesEdited);

    sections_ = new QTableWidget(0, 2, this);
    sections_->setHorizontalHeaderLabels({QStringLiteral("分段名称"), QStringLiteral("起始页")});
    sections_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    connect(sections_, &QTableWidget::itemChanged, this, &NamesPanel::sectionsEdited);
    auto* add = new QPushButton(QStringLiteral("添加分段"), this);
    auto* remove = new QPushButton(QStringLiteral("删除分段"), this);
    connect(add, &QPushButton::clicked, this, &NamesPanel::addSection);
    connect(remove, &QPushButton::clicked, this, &NamesPanel::removeSection);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(new QLabel(QStringLiteral("分段："), this));
    layout->addWidget(sections_);
    layout->addLayout(buttons);
    connect(document_, &BookDocument::bookChanged, this, &NamesPanel::refresh);
    connect(document_, &BookDocument::opened, this, &NamesPanel::refresh);
}

void NamesPanel::refresh() {
    refreshing_ = true;
    const tool::BookSources& book = document_->sources();
    title_->setText(book.names.title.text);
    caption_->setText(book.names.caption.text);
    shortcut_->setText(book.names.shortcut.text);
    sections_->setRowCount(int(book.sections.size()));
    for (int row = 0; row < book.sections.size(); ++row) {
        sections_->setItem(row, 0, new QTableWidgetItem(book.sections[row].name));
        sections_->setItem(row, 1,
                           new QTableWidgetItem(QString::number(book.sections[row].firstPage)));
    }
    refreshing_ = false;
}

void NamesPanel::namesEdited() {
    if (refreshing_) return;
    const NamesText names{title_->text(), caption_->text(), shortcut_->text()};
    const tool::BookNames& now = document_->sources().names;
    if (names.title == now.title.text && names.caption == now.caption.text &&
        names.shortcut == now.shortcut.text)
        return;
    if (!document_->setNames(names)) refresh();
}

void NamesPanel::sectionsEdited() {
    if (refreshing_) return;
    QList<SectionText> sections;
    for (int row = 0; row < sections_->rowCount(); ++row) {
        const QTableWidgetItem* name = sections_->item(row, 0);
        const QTableWidgetItem* page = sections_->item(row, 1);
        sections.append(
            {name ? name->text().trimmed() : QString(), page ? page->text().toInt() : 0});
    }
    // A row being filled in waits for both its cells; a refused edit shows the book as it is.
    for (const SectionText& section : sections) {
        if (section.name.isEmpty() || section.firstPage <= 0) return;
    }
    if (!document_->setSections(sections)) refresh();
}

void NamesPanel::addSection() {
    const int row = sections_->rowCount();
    refreshing_ = true;
    sections_->insertRow(row);
    sections_->setItem(row, 0, new QTableWidgetItem);
    sections_->setItem(row, 1, new QTableWidgetItem);
    refreshing_ = false;
    sections_->setCurrentCell(row, 0);
    sections_->editItem(sections_->item(row, 0));
}

void NamesPanel::removeSection() {
    const int row = sections_->currentRow();
    if (row < 0) return;
    refreshing_ = true;
    sections_->removeRow(row);
    refreshing_ = false;
    sectionsEdited();
}

WordTableModel::WordTableModel(BookDocument* document, QObject* parent)
    : QAbstractTableModel(parent), document_(document) {
    connect(document_, &BookDocument::unitChanged, this, [this](int unit) {
        if (unit != unit_) return;
        beginResetModel();
        endResetModel();
    });
}

void WordTableModel::setUnit(int unit) {
    beginResetModel();
    unit_ = unit;
    endResetModel();
}

int WordTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || unit_ < 0 || unit_ >= document_->unitCount()) return 0;
    return int(document_->unit(unit_).words.size());
}

int WordTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

QVariant WordTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    const tool::UnitWord& word = document_->unit(unit_).words[index.row()];
    switch (index.column()) {
        case 0:
            return word.english;
        case 1:
            return word.chinese;
        default:
            return word.audio.given() ? word.audio.file : QStringLiteral("由语音合成");
    }
}

QVariant WordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    static const char* const names[] = {"英文", "中文", "录音"};
    return section >= 0 && section < 3 ? QString::fromUtf8(names[section]) : QVariant();
}

Qt::ItemFlags WordTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() < 2) flags |= Qt::ItemIsEditable;
    return flags;
}

bool WordTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || index.column() >= 2 || index.row() >= rowCount()) return false;
    const QString text = value.toString();
    if (text == data(index, Qt::EditRole).toString()) return true;
    return document_->setWordText(
        unit_, index.row(), index.column() == 0 ? WordField::English : WordField::Chinese, text);
}

UnitsPanel::UnitsPanel(BookDocument* document, QWidget* parent)
    : QWidget(parent), document_(document) {
    units_ = new QComboBox(this);
    name_ = new QLineEdit(this);
    name_->setPlaceholderText(QStringLiteral("单元名称（留空则显示 Unit N）"));
    connect(name_, &QLineEdit::editingFinished, this, &UnitsPanel::nameEdited);
    model_ = new WordTableModel(document_, this);
    words_ = new QTableView(this);
    words_->setModel(model_);
    words_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    connect(units_, &QComboBox::currentIndexChanged, this, [this](int unit) {
        model_->setUnit(unit);
        name_->setText(unit >= 0 ? document_->unit(unit).name : QString());
    });
    connect(document_, &BookDocument::unitChanged, this, [this](int unit) {
        if (unit != units_->currentIndex()) return;
        name_->setText(document_->unit(unit).name);
        units_->setItemText(unit, unitTitle(document_->unit(unit)));
    });
    auto* add = new QPushButton(QStringLiteral("添加单词"), this);
    auto* remove = new QPushButton(QStringLiteral("删除单词"), this);
    connect(add, &QPushButton::clicked, this, [this] {
        const int unit = model_->unit();
        if (unit < 0) return;
        const int position = int(document_->unit(unit).words.size());
        if (document_->addWord(unit, position,
                               {QStringLiteral("word"), QStringLiteral("单词"), QString()}))
            words_->edit(model_->index(position, 0));
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        const QModelIndex current = words_->currentIndex();
        if (model_->unit() >= 0 && current.isValid())
            document_->removeWord(model_->unit(), current.row());
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    auto* choice = new QHBoxLayout;
    choice->addWidget(units_);
    choice->addWidget(name_, 1);
    layout->addLayout(choice);
    layout->addWidget(words_);
    layout->addLayout(buttons);
    connect(document_, &BookDocument::opened, this, &UnitsPanel::refresh);
}

void UnitsPanel::refresh() {
    {
        const QSignalBlocker quiet(units_);
        units_->clear();
        for (int u = 0; u < document_->unitCount(); ++u)
            units_->addItem(unitTitle(document_->unit(u)));
    }
    units_->setCurrentIndex(-1);
    units_->setCurrentIndex(document_->unitCount() > 0 ? 0 : -1);
}

void UnitsPanel::nameEdited() {
    const int unit = units_->currentIndex();
    if (unit < 0 || name_->text().trimmed() == document_->unit(unit).name) return;
    if (!document_->setUnitName(unit, name_->text())) name_->setText(document_->unit(unit).name);
}

}  // namespace studio
