#include "editor/listen_through_dialog.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtConcurrent>

#include "model/book_document.h"
#include "sound/sound.h"

namespace studio {

QList<HeardLine> hearPage(const tool::BookSources& book, int page, const QString& cacheFolder,
                          QString* error) {
    // Only this page's recordings are made and heard.
    tool::BookSources one = book;
    one.pages = {book.pages.value(page)};
    one.units.clear();
    one.clips.clear();
    tool::listen::BookHearing hearing;
    tool::Problems problems;
    QString why;
    if (!tool::listen::hearBook(one, cacheFolder, 1, false, hearing, problems, why)) {
        *error = problems.empty() ? why : problems.report();
        return {};
    }
    QList<HeardLine> lines;
    const auto& heardLines = hearing.pages.value(0);
    for (int i = 0; i < heardLines.size(); ++i) {
        const tool::listen::ListenLine& line = heardLines[i];
        lines.append({line.entry, line.text, line.wav,
                      tool::listen::flagMessage(hearing.hearings[0][i], heardLines)});
    }
    return lines;
}

ListenThroughDialog::ListenThroughDialog(BookDocument* document, int page, sound::Sound* sound,
                                         const QString& cacheFolder, QWidget* parent)
    : QDialog(parent), sound_(sound), page_(page) {
    setObjectName(QStringLiteral("逐句听"));
    setWindowTitle(QStringLiteral("逐句听：第 %1 页").arg(document->page(page).pageNumber));
    resize(640, 420);
    status_ = new QLabel(QStringLiteral("正在准备这一页的录音，并听每一句是不是读对了……"), this);
    status_->setWordWrap(true);
    busy_ = new QProgressBar(this);
    busy_->setRange(0, 0);
    table_ = new QTableWidget(0, 3, this);
    table_->setObjectName(QStringLiteral("逐句听_句子"));
    table_->setHorizontalHeaderLabels(
        {QStringLiteral("号"), QStringLiteral("句子"), QStringLiteral("听到的")});
    table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(status_);
    layout->addWidget(busy_);
    layout->addWidget(table_, 1);
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row) {
        table_->selectRow(row);
        playNext();
    });
    connect(&watcher_, &QFutureWatcher<QList<HeardLine>>::finished, this,
            [this] { show(watcher_.result(), error_); });
    watcher_.setFuture(QtConcurrent::run([book = document->sources(), page, cacheFolder, this] {
        return hearPage(book, page, cacheFolder, &error_);
    }));
}

ListenThroughDialog::~ListenThroughDialog() {
    watcher_.waitForFinished();
}

void ListenThroughDialog::show(const QList<HeardLine>& lines, const QString& error) {
    lines_ = lines;
    ready_ = true;
    busy_->hide();
    status_->setText(error.isEmpty() ? QStringLiteral("按空格听下一句；双击一句听这一句。")
                                     : QStringLiteral("这一页的录音没法听：%1").arg(error));
    table_->setRowCount(int(lines.size()));
    for (int row = 0; row < lines.size(); ++row) {
        const HeardLine& line = lines[row];
        table_->setItem(row, 0, new QTableWidgetItem(QString::number(line.entry + 1)));
        table_->setItem(row, 1, new QTableWidgetItem(line.text));
        auto* verdict = new QTableWidgetItem(line.flag.isEmpty() ? QStringLiteral("✓") : line.flag);
        if (!line.flag.isEmpty()) verdict->setForeground(QColor(190, 40, 30));
        table_->setItem(row, 2, verdict);
    }
    if (!lines.isEmpty()) table_->selectRow(0);
    table_->setFocus();
    emit heard(page_, lines_);
}

void ListenThroughDialog::playNext() {
    const int row = table_->currentRow();
    if (!ready_ || row < 0 || row >= lines_.size()) return;
    if (sound_ && !lines_[row].wav.isEmpty()) {
        sound_->stopAll();
        sound_->play(lines_[row].wav);
    }
    if (row + 1 < lines_.size()) table_->selectRow(row + 1);
}

void ListenThroughDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space) {
        playNext();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace studio
