#include "editor/studio_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMenuBar>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QUndoStack>
#include <algorithm>
#include <utility>

#include "editor/book_checker.h"
#include "editor/book_file_maker.h"
#include "editor/book_panels.h"
#include "editor/entry_tables.h"
#include "editor/page_view.h"
#include "editor/prompts.h"
#include "editor/proposal_runner.h"
#include "editor/record_panel.h"
#include "editor/voice_tools.h"
#include "pictures/supplied_pictures.h"
#include "sources/new_book.h"

namespace studio {

namespace {

const QString kProgramName = QStringLiteral("qcbook 书本工作室");
constexpr QSize kThumbnailSize(160, 108);

QString pageName(const tool::PageSource& page) {
    return QStringLiteral("第 %1 页").arg(page.pageNumber);
}

// The newest change time among the files a document read.
QDateTime newestFile(const BookDocument& document) {
    QDateTime newest;
    for (int f = 0; f < document.fileCount(); ++f) {
        const QDateTime changed = QFileInfo(document.file(f).path()).lastModified();
        if (!newest.isValid() || changed > newest) newest = changed;
    }
    return newest;
}

QByteArray digestOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1);
}

bool isEmptyFolder(const QString& folder) {
    const QDir dir(folder);
    return !dir.exists() || dir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

// The reader: beside the studio's own executable (installed, or in the build), else on PATH.
QString readerProgram() {
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath("qcbook");
    if (QFileInfo(beside).isExecutable()) return beside;
    return QStandardPaths::findExecutable(QStringLiteral("qcbook"));
}

}  // namespace

StudioWindow::StudioWindow(std::unique_ptr<StudioPrompts> prompts, StudioOptions options,
                           QWidget* parent)
    : QMainWindow(parent), prompts_(std::move(prompts)), options_(std::move(options)) {
    if (!prompts_) prompts_ = std::make_unique<DialogPrompts>(this);
    if (options_.recoveryFolder.isEmpty()) {
        options_.recoveryFolder =
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
            QStringLiteral("/recovery");
    }
    if (options_.recordingsCache.isEmpty()) {
        options_.recordingsCache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
                                   QStringLiteral("/recordings");
    }
    setWindowTitle(kProgramName);
    resize(1400, 860);

    pageView_ = new PageView(&document_, this);
    setCentralWidget(pageView_);
    buildDocks();
    buildActions();

    checker_ = new BookChecker(&document_, options_.checkDelayMs, this);
    connect(checker_, &BookChecker::checked, this, &StudioWindow::listProblems);
    maker_ = new BookFileMaker(this);
    connect(maker_, &BookFileMaker::progressed, this, [this](int stage, const QString& what) {
        tryProgress_->setValue(stage);
        tryProgress_->setFormat(what + QStringLiteral(" %p%"));
    });
    connect(maker_, &BookFileMaker::finished, this, &StudioWindow::bookFileWritten);
    watcher_ = new QFileSystemWatcher(this);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this,
            [this] { QTimer::singleShot(200, this, &StudioWindow::checkDiskChanges); });

    connect(document_.undoStack(), &QUndoStack::indexChanged, this, &StudioWindow::edited);
    connect(&document_, &BookDocument::modifiedChanged, this, &StudioWindow::updateTitle);
    connect(&document_, &BookDocument::bookChanged, this, &StudioWindow::updateTitle);
    auto queueThumbnail = [this](int page) {
        if (pendingThumbnails_.contains(page)) return;
        pendingThumbnails_.append(page);
        thumbnailTimer_.start();
    };
    connect(&document_, &BookDocument::pageChanged, this, queueThumbnail);
    connect(&document_, &BookDocument::itemChanged, this,
            [queueThumbnail](int page, ItemRef) { queueThumbnail(page); });

    recoveryTimer_.setInterval(options_.recoveryIntervalMs);
    connect(&recoveryTimer_, &QTimer::timeout, this, &StudioWindow::writeRecovery);
    // One thumbnail per turn of the event loop, after the page is shown: opening a long book
    // waits for none of them.
    thumbnailTimer_.setInterval(0);
    connect(&thumbnailTimer_, &QTimer::timeout, this, &StudioWindow::makeNextThumbnail);
}

StudioWindow::~StudioWindow() {
    // The workers, the page view, the tables and the panels all read the document, which as a
    // member is gone before the window's base class deletes its children: they go first. The
    // document's own last signals (its undo stack cleared) no longer reach the window.
    // Nor do the children's, as focus and selections move while they go.
    document_.disconnect(this);
    document_.undoStack()->disconnect(this);
    for (QObject* child : findChildren<QObject*>())
        QObject::disconnect(child, nullptr, this, nullptr);
    delete proposer_;
    delete checker_;
    delete maker_;
    for (QDockWidget* dock : findChildren<QDockWidget*>(Qt::FindDirectChildrenOnly)) delete dock;
    delete takeCentralWidget();
    delete voice_;
}

void StudioWindow::buildDocks() {
    pageList_ = new QListWidget(this);
    // The thumbnails one under the other, each with its page number beneath it.
    pageList_->setViewMode(QListView::IconMode);
    pageList_->setFlow(QListView::TopToBottom);
    pageList_->setWrapping(false);
    pageList_->setMovement(QListView::Static);
    pageList_->setResizeMode(QListView::Adjust);
    pageList_->setIconSize(kThumbnailSize);
    pageList_->setGridSize(kThumbnailSize + QSize(16, 28));
    pageList_->setUniformItemSizes(true);
    pageList_->setMinimumWidth(kThumbnailSize.width() + 40);
    connect(pageList_, &QListWidget::currentRowChanged, this, &StudioWindow::pageListChosen);
    auto* pages = new QDockWidget(QStringLiteral("页面"), this);
    pages->setObjectName(QStringLiteral("pages"));
    pages->setWidget(pageList_);
    pages->setFeatures(QDockWidget::DockWidgetMovable);
    addDockWidget(Qt::LeftDockWidgetArea, pages);

    entries_ = new EntryTableModel(&document_, this);
    entryTable_ = new QTableView(this);
    entryTable_->setModel(entries_);
    entryTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
    entryTable_->setDragDropMode(QAbstractItemView::InternalMove);
    entryTable_->setDragEnabled(true);
    entryTable_->setDropIndicatorShown(true);
    entryTable_->setDefaultDropAction(Qt::MoveAction);
    entryTable_->verticalHeader()->hide();
    entryTable_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    entryTable_->horizontalHeader()->setStretchLastSection(true);
    entryTable_->setColumnWidth(EntryTableModel::Number, 36);
    entryTable_->setColumnWidth(EntryTableModel::English, 150);
    entryTable_->setColumnWidth(EntryTableModel::Chinese, 120);
    entryTable_->setColumnWidth(EntryTableModel::Say, 100);
    connect(entries_, &EntryTableModel::entryMoved, this, [this](int row) {
        pageView_->setSelection({{ItemKind::Entry, row}});
        pageSelectionChanged({{ItemKind::Entry, row}});
    });
    answers_ = new AnswerTableModel(&document_, this);
    answerTable_ = new QTableView(this);
    answerTable_->setModel(answers_);
    answerTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
    answerTable_->verticalHeader()->hide();
    answerTable_->horizontalHeader()->setStretchLastSection(true);
    for (QTableView* table : {entryTable_, answerTable_}) {
        connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &StudioWindow::tableSelectionChanged);
    }
    // A reset (the page edited as a whole) makes a new selection model for neither view, but
    // drops the selection: the page view's is put back.
    for (QAbstractItemModel* model :
         {static_cast<QAbstractItemModel*>(entries_), static_cast<QAbstractItemModel*>(answers_)}) {
        connect(model, &QAbstractItemModel::modelReset, this, [this] {
            QTimer::singleShot(0, this, [this] { pageSelectionChanged(pageView_->selection()); });
        });
    }
    connect(pageView_, &PageView::selectionChanged, this, &StudioWindow::pageSelectionChanged);

    voice_ = new VoiceTools(&document_, pageView_, options_.microphone, options_.sound,
                            options_.recordingsCache, this);
    connect(voice_->recordPanel(), &RecordPanel::nextLineRequested, this,
            &StudioWindow::recordNextLine);
    connect(voice_, &VoiceTools::listened, this, &StudioWindow::takeListenFlags);
    connect(voice_, &VoiceTools::message, this,
            [this](const QString& text) { statusBar()->showMessage(text, 10000); });
    entryTable_->installEventFilter(this);

    auto* pageSide = new QSplitter(Qt::Vertical, this);
    pageSide->addWidget(entryTable_);
    pageSide->addWidget(answerTable_);
    pageSide->addWidget(voice_->recordPanel());
    pageSide->setStretchFactor(0, 3);
    pageSide->setStretchFactor(1, 1);
    pageSide->setStretchFactor(2, 0);
    namesPanel_ = new NamesPanel(&document_, this);
    unitsPanel_ = new UnitsPanel(&document_, this);
    sideTabs_ = new QTabWidget(this);
    sideTabs_->addTab(pageSide, QStringLiteral("本页条目"));
    sideTabs_->addTab(namesPanel_, QStringLiteral("书名与分段"));
    sideTabs_->addTab(unitsPanel_, QStringLiteral("单元单词"));
    auto* side = new QDockWidget(QStringLiteral("内容"), this);
    side->setObjectName(QStringLiteral("content"));
    side->setWidget(sideTabs_);
    side->setFeatures(QDockWidget::DockWidgetMovable);
    addDockWidget(Qt::RightDockWidgetArea, side);
    resizeDocks({pages, side}, {kThumbnailSize.width() + 40, 520}, Qt::Horizontal);

    problemList_ = new QListWidget(this);
    connect(problemList_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { goToProblem(problemList_->row(item)); });
    connect(problemList_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { goToProblem(problemList_->row(item)); });
    auto* problems = new QDockWidget(QStringLiteral("检查"), this);
    problems->setObjectName(QStringLiteral("problems"));
    problems->setWidget(problemList_);
    problems->setFeatures(QDockWidget::DockWidgetMovable);
    addDockWidget(Qt::BottomDockWidgetArea, problems);
    resizeDocks({problems}, {130}, Qt::Vertical);

    auto* geometry = new QLabel(this);
    statusBar()->addPermanentWidget(geometry);
    connect(pageView_, &PageView::geometryChanged, geometry, &QLabel::setText);
    zoomLabel_ = new QLabel(this);
    statusBar()->addPermanentWidget(zoomLabel_);
    connect(pageView_, &PageView::zoomChanged, this, [this](double zoom) {
        zoomLabel_->setText(QStringLiteral("%1 %").arg(qRound(zoom * 100)));
    });
    tryProgress_ = new QProgressBar(this);
    tryProgress_->setRange(0, BookFileMaker::kStages);
    tryProgress_->setMaximumWidth(260);
    tryCancel_ = new QPushButton(QStringLiteral("取消"), this);
    connect(tryCancel_, &QPushButton::clicked, this, &StudioWindow::cancelTryIt);
    statusBar()->addWidget(tryProgress_);
    statusBar()->addWidget(tryCancel_);
    tryProgress_->hide();
    tryCancel_->hide();
}

void StudioWindow::buildActions() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    QToolBar* bar = addToolBar(QStringLiteral("工具"));
    bar->setObjectName(QStringLiteral("tools"));
    auto add = [&](QMenu* menu, const QString& text, const QKeySequence& key, auto slot,
                   bool onBar) {
        QAction* action = menu->addAction(text);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, slot);
        if (onBar) bar->addAction(action);
        return action;
    };
    add(file, QStringLiteral("打开文件夹…"), QKeySequence::Open, &StudioWindow::askOpenFolder,
        true);
    add(file, QStringLiteral("新建书本…"), QKeySequence::New, &StudioWindow::askNewBook, true);
    saveAction_ = add(file, QStringLiteral("保存"), QKeySequence::Save, &StudioWindow::save, true);
    file->addSeparator();
    add(file, QStringLiteral("换本页扫描图…"), QKeySequence(), &StudioWindow::askReplaceScan,
        false);
    tryAction_ =
        add(file, QStringLiteral("试一试"), QKeySequence(Qt::Key_F5), &StudioWindow::tryIt, true);
    file->addSeparator();
    add(file, QStringLiteral("退出"), QKeySequence::Quit, &StudioWindow::close, false);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("编辑(&E)"));
    QAction* undo = document_.undoStack()->createUndoAction(this, QStringLiteral("撤销"));
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = document_.undoStack()->createRedoAction(this, QStringLiteral("重做"));
    redo->setShortcut(QKeySequence::Redo);
    edit->addAction(undo);
    edit->addAction(redo);
    bar->addSeparator();
    bar->addAction(undo);
    bar->addAction(redo);

    QMenu* view = menuBar()->addMenu(QStringLiteral("视图(&V)"));
    // A zoom keeps the selection in sight.
    auto zoomTo = [this](double zoom) {
        if (zoom > 0)
            pageView_->setZoom(zoom);
        else
            pageView_->fitPage();
        if (!pageView_->selection().isEmpty()) pageView_->setSelection(pageView_->selection());
    };
    const std::pair<QString, double> zooms[] = {{QStringLiteral("适合页面"), 0},
                                                {QStringLiteral("100 %"), 1.0},
                                                {QStringLiteral("200 %"), 2.0}};
    const Qt::Key zoomKeys[] = {Qt::Key_0, Qt::Key_1, Qt::Key_2};
    for (int i = 0; i < 3; ++i) {
        const double zoom = zooms[i].second;
        add(
            view, zooms[i].first, QKeySequence(Qt::CTRL | zoomKeys[i]),
            [zoomTo, zoom] { zoomTo(zoom); }, false);
    }

    // The page's tools; their letters work while the page has the keyboard.
    QMenu* tools = menuBar()->addMenu(QStringLiteral("工具(&T)"));
    bar->addSeparator();
    const std::pair<QString, PageTool> toolList[] = {
        {QStringLiteral("选择 (S)"), PageTool::Select},
        {QStringLiteral("新热区 (R)"), PageTool::NewHotspot},
        {QStringLiteral("新答题框 (B)"), PageTool::NewAnswerBox}};
    auto* group = new QActionGroup(this);
    for (const auto& [text, tool] : toolList) {
        QAction* action = tools->addAction(text);
        action->setCheckable(true);
        action->setChecked(tool == PageTool::Select);
        action->setActionGroup(group);
        const PageTool chosen = tool;
        connect(action, &QAction::triggered, this, [this, chosen] { pageView_->setTool(chosen); });
        connect(pageView_, &PageView::toolChanged, action,
                [action, chosen](PageTool now) { action->setChecked(now == chosen); });
        bar->addAction(action);
    }
    // What the answer box tool places.
    auto* boxKind = new QComboBox(this);
    boxKind->addItem(QStringLiteral("填空框"), int(ItemKind::Fill));
    boxKind->addItem(QStringLiteral("勾选框"), int(ItemKind::Tick));
    boxKind->setToolTip(QStringLiteral("新答题框的种类"));
    connect(boxKind, &QComboBox::currentIndexChanged, this, [this, boxKind] {
        pageView_->setNewBoxKind(ItemKind(boxKind->currentData().toInt()));
    });
    bar->addWidget(boxKind);
    buildVoiceAndProposals(tools);
}

void StudioWindow::buildVoiceAndProposals(QMenu* tools) {
    tools->addSeparator();
    proposer_ = new ProposalRunner(&document_, pageView_, this);
    proposeProgress_ = new QProgressBar(this);
    proposeProgress_->setRange(0, 100);
    proposeProgress_->setMaximumWidth(200);
    proposeProgress_->setFormat(QStringLiteral("找句子 %p%"));
    proposeCancel_ = new QPushButton(QStringLiteral("停止找句子"), this);
    statusBar()->addWidget(proposeProgress_);
    statusBar()->addWidget(proposeCancel_);
    proposeProgress_->hide();
    proposeCancel_->hide();
    connect(proposeCancel_, &QPushButton::clicked, proposer_, &ProposalRunner::cancel);
    connect(proposer_, &ProposalRunner::progress, proposeProgress_, &QProgressBar::setValue);
    connect(proposer_, &ProposalRunner::finished, this, [this](int, const QString& message) {
        proposeProgress_->hide();
        proposeCancel_->hide();
        if (!message.isEmpty()) statusBar()->showMessage(message, 10000);
    });
    QAction* propose = tools->addAction(QStringLiteral("找出页上的句子"));
    propose->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(propose, &QAction::triggered, this, [this] {
        if (proposer_->isRunning() || currentPage() < 0) return;
        proposeProgress_->setValue(0);
        proposeProgress_->show();
        proposeCancel_->show();
        proposer_->start();
    });
    QAction* acceptAll = tools->addAction(QStringLiteral("收下全部找到的句子"));
    connect(acceptAll, &QAction::triggered, pageView_, &PageView::acceptAllProposals);

    QMenu* voiceMenu = menuBar()->addMenu(QStringLiteral("录音(&A)"));
    voice_->addActions(voiceMenu);
}

bool StudioWindow::eventFilter(QObject* watched, QEvent* event) {
    // While a cell is being edited its editor has the keys, not the table.
    if (watched == entryTable_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        RecordPanel* panel = voice_->recordPanel();
        if (key->key() == Qt::Key_R && key->modifiers() == Qt::NoModifier && !key->isAutoRepeat()) {
            panel->toggleRecording();
            return true;
        }
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && panel->takes().chosen() >= 0 && !panel->isRecording()) {
            panel->keepChosenTake();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// After a take is kept, the next line of the page is chosen, ready to be recorded.
void StudioWindow::recordNextLine() {
    const QList<ItemRef> items = pageView_->selection();
    if (currentPage() < 0 || items.size() != 1 || items.first().kind != ItemKind::Entry) return;
    const int next = items.first().index + 1;
    if (next >= document_.page(currentPage()).entries.size()) return;
    const QList<ItemRef> chosen{{ItemKind::Entry, next}};
    pageView_->setSelection(chosen);
    pageSelectionChanged(chosen);
    entryTable_->setFocus();
}

QString StudioWindow::recoveryPath(const QString& folder) const {
    const QString of = QFileInfo(folder.isEmpty() ? document_.folder() : folder).absoluteFilePath();
    const QByteArray key =
        QCryptographicHash::hash(of.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QDir(options_.recoveryFolder).filePath(QString::fromLatin1(key) + ".recovery");
}

bool StudioWindow::openFolder(const QString& folder) {
    if (!maySwitchAway()) return false;
    if (!QFileInfo(QDir(folder).filePath(QStringLiteral("book.txt"))).isFile()) {
        prompts_->tell(QStringLiteral("「%1」不是书本文件夹：里面没有 book.txt。\n"
                                      "请打开一个书本的内容文件夹，或新建一本书。")
                           .arg(QDir::toNativeSeparators(folder)));
        return false;
    }
    QString error;
    if (!document_.open(folder, &error)) {
        prompts_->tell(QStringLiteral("无法打开「%1」：%2").arg(folder, error));
        return false;
    }
    afterOpen();
    offerRecovery();
    return true;
}

void StudioWindow::afterOpen() {
    {
        const QSignalBlocker quiet(pageList_);
        pageList_->clear();
        QPixmap blank(kThumbnailSize);
        blank.fill(Qt::white);
        for (int p = 0; p < document_.pageCount(); ++p)
            pageList_->addItem(new QListWidgetItem(QIcon(blank), pageName(document_.page(p))));
    }
    changesAnswered_.clear();
    problems_.clear();
    checkProblems_.clear();
    listenFlags_.clear();
    problemList_->clear();
    showPage(document_.pageCount() > 0 ? 0 : -1);
    pageView_->fitPage();
    emit firstPageShown();
    pendingThumbnails_.clear();
    for (int p = 0; p < document_.pageCount(); ++p) pendingThumbnails_.append(p);
    thumbnailTimer_.start();
    watchFiles();
    updateTitle();
    checker_->schedule();
    recoveryTimer_.start();
}

void StudioWindow::offerRecovery() {
    const QString path = recoveryPath();
    const QFileInfo recovery(path);
    if (!recovery.exists()) return;
    if (recovery.lastModified() <= newestFile(document_)) {
        // Older than the files: the work in it was saved since, or given up.
        QFile::remove(path);
        return;
    }
    const auto answer =
        prompts_->ask(QStringLiteral("这本书有上次没有保存的工作（%1 自动保留）。要恢复它吗？\n"
                                     "选“否”会丢弃这些工作。")
                          .arg(QLocale().toString(recovery.lastModified(), QLocale::ShortFormat)),
                      QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes) {
        QFile::remove(path);
        return;
    }
    QString error;
    if (!document_.loadRecovery(path, &error)) {
        prompts_->tell(QStringLiteral("无法恢复上次的工作：%1").arg(error));
        return;
    }
    afterOpen();
}

bool StudioWindow::newBook(const QString& folder) {
    if (!isEmptyFolder(folder)) {
        prompts_->tell(QStringLiteral("「%1」不是空文件夹。新书本要放在一个新的或空的文件夹里。")
                           .arg(QDir::toNativeSeparators(folder)));
        return false;
    }
    if (!maySwitchAway()) return false;
    if (tool::writeNewBook(folder) != 0) {
        prompts_->tell(QStringLiteral("无法在「%1」里建立新书本。").arg(folder));
        return false;
    }
    return openFolder(folder);
}

bool StudioWindow::save() {
    if (document_.folder().isEmpty()) return false;
    bool overwrite = false;
    const QStringList changed = document_.filesChangedOnDisk();
    if (!changed.isEmpty() && document_.isModified()) {
        QStringList names;
        for (const QString& file : changed)
            names << QDir(document_.folder()).relativeFilePath(file);
        const auto answer = prompts_->ask(
            QStringLiteral("这些文件在工作室之外被改动了：\n%1\n用工作室里的内容覆盖它们吗？")
                .arg(names.join(QLatin1Char('\n'))),
            QMessageBox::Yes | QMessageBox::Cancel, QMessageBox::Cancel);
        if (answer != QMessageBox::Yes) return false;
        overwrite = true;
    }
    QString error;
    if (!document_.save(&error, overwrite)) {
        prompts_->tell(QStringLiteral("保存没有完成：%1\n修改仍在工作室里，还没有保存；"
                                      "已经保存的文件没有受损。")
                           .arg(error));
        updateTitle();
        return false;
    }
    removeRecovery();
    changesAnswered_.clear();
    watchFiles();
    updateTitle();
    return true;
}

void StudioWindow::removeRecovery() {
    if (!document_.folder().isEmpty()) QFile::remove(recoveryPath());
}

void StudioWindow::writeRecovery() {
    if (document_.folder().isEmpty()) return;
    if (!document_.isModified()) return removeRecovery();
    QDir().mkpath(options_.recoveryFolder);
    QString error;
    if (!document_.saveRecovery(recoveryPath(), &error))
        statusBar()->showMessage(QStringLiteral("无法写入恢复文件：%1").arg(error), 10000);
}

bool StudioWindow::maySwitchAway() {
    if (document_.folder().isEmpty() || !document_.isModified()) return true;
    const auto answer = prompts_->ask(
        QStringLiteral("《%1》有没有保存的修改。要保存吗？")
            .arg(document_.sources().names.title.text),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Cancel);
    if (answer == QMessageBox::Save) return save();
    if (answer == QMessageBox::Discard) {
        removeRecovery();
        return true;
    }
    return false;
}

void StudioWindow::closeEvent(QCloseEvent* event) {
    if (!maySwitchAway()) {
        event->ignore();
        return;
    }
    maker_->cancel();
    recoveryTimer_.stop();
    removeRecovery();
    event->accept();
}

void StudioWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        QTimer::singleShot(0, this, &StudioWindow::checkDiskChanges);
}

void StudioWindow::watchFiles() {
    if (!watcher_->files().isEmpty()) watcher_->removePaths(watcher_->files());
    QStringList paths;
    for (int f = 0; f < document_.fileCount(); ++f) paths << document_.file(f).path();
    if (!paths.isEmpty()) watcher_->addPaths(paths);
}

void StudioWindow::checkDiskChanges() {
    if (asking_ || document_.folder().isEmpty()) return;
    QStringList changed;
    for (const QString& file : document_.filesChangedOnDisk()) {
        const auto answered = changesAnswered_.constFind(file);
        if (answered == changesAnswered_.cend() || *answered != digestOf(file)) changed << file;
    }
    if (changed.isEmpty()) return;
    QStringList names;
    for (const QString& file : changed) names << QDir(document_.folder()).relativeFilePath(file);
    asking_ = true;
    const auto answer = prompts_->ask(
        QStringLiteral("这些文件在工作室之外被改动了：\n%1\n要重新载入吗？%2")
            .arg(names.join(QLatin1Char('\n')),
                 document_.isModified() ? QStringLiteral("\n工作室里没有保存的修改会丢失。")
                                        : QString()),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    asking_ = false;
    if (answer != QMessageBox::Yes) {
        for (const QString& file : changed) changesAnswered_.insert(file, digestOf(file));
        watchFiles();
        return;
    }
    const int page = currentPage();
    QString error;
    if (!document_.open(document_.folder(), &error)) {
        prompts_->tell(QStringLiteral("无法重新载入：%1").arg(error));
        return;
    }
    afterOpen();
    if (page >= 0 && page < document_.pageCount()) showPage(page);
}

void StudioWindow::updateTitle() {
    if (document_.folder().isEmpty()) {
        setWindowTitle(kProgramName);
        return;
    }
    QString title = document_.sources().names.title.text;
    if (title.isEmpty()) title = QFileInfo(document_.folder()).fileName();
    setWindowTitle(QStringLiteral("%1[*] — %2").arg(title, kProgramName));
    setWindowModified(document_.isModified());
    saveAction_->setEnabled(true);
}

void StudioWindow::edited() {
    checker_->schedule();
    updateTitle();
}

int StudioWindow::currentPage() const {
    return pageView_->page();
}

void StudioWindow::showPage(int page) {
    if (page >= document_.pageCount()) return;
    if (page != pageView_->page() || page < 0) pageView_->setPage(page);
    entries_->setPage(page);
    answers_->setPage(page);
    voice_->followSelection();
    const QSignalBlocker quiet(pageList_);
    pageList_->setCurrentRow(page);
}

void StudioWindow::pageListChosen(int row) {
    if (row >= 0) showPage(row);
}

void StudioWindow::makeNextThumbnail() {
    if (pendingThumbnails_.isEmpty()) {
        thumbnailTimer_.stop();
        return;
    }
    const int page = pendingThumbnails_.takeFirst();
    if (page < pageList_->count())
        pageList_->item(page)->setIcon(
            QPixmap::fromImage(pagePicture(document_, page, kThumbnailSize)));
}

void StudioWindow::tableSelectionChanged() {
    if (syncing_) return;
    // The table clicked in holds the selection; the other one lets go of its rows.
    QTableView* from = sender() == answerTable_->selectionModel() ? answerTable_ : entryTable_;
    QTableView* other = from == entryTable_ ? answerTable_ : entryTable_;
    syncing_ = true;
    other->clearSelection();
    syncing_ = false;
    QList<ItemRef> items;
    for (const QModelIndex& row : from->selectionModel()->selectedRows()) {
        items.append(from == entryTable_ ? ItemRef{ItemKind::Entry, row.row()}
                                         : answers_->itemOfRow(row.row()));
    }
    std::sort(items.begin(), items.end(), [](const ItemRef& a, const ItemRef& b) {
        return std::pair(int(a.kind), a.index) < std::pair(int(b.kind), b.index);
    });
    pageView_->setSelection(items);
    voice_->followSelection();
}

void StudioWindow::pageSelectionChanged(const QList<ItemRef>& items) {
    syncing_ = true;
    entryTable_->clearSelection();
    answerTable_->clearSelection();
    for (const ItemRef& item : items) {
        QTableView* table = nullptr;
        int row = -1;
        if (item.kind == ItemKind::Entry) {
            table = entryTable_;
            row = item.index < entries_->rowCount() ? item.index : -1;
        } else {
            table = answerTable_;
            row = answers_->rowOfItem(item);
        }
        if (row < 0) continue;
        table->selectionModel()->select(table->model()->index(row, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
        table->scrollTo(table->model()->index(row, 0));
    }
    syncing_ = false;
    voice_->followSelection();
}

void StudioWindow::listProblems(const QList<tool::Problem>& problems) {
    checkProblems_ = problems;
    showProblems();
    emit checked(int(problems.size()));
}

// The listening check's flags, for the whole book (page -1) or one page, stand in the list
// after the check's problems until those pages are listened to again.
void StudioWindow::takeListenFlags(const QList<tool::Problem>& flags, int page) {
    if (page < 0) {
        listenFlags_ = flags;
    } else {
        const QString file = document_.page(page).file;
        listenFlags_.removeIf([&](const tool::Problem& flag) { return flag.where.file == file; });
        listenFlags_.append(flags);
    }
    showProblems();
}

void StudioWindow::showProblems() {
    problems_ = checkProblems_ + listenFlags_;
    problemList_->clear();
    for (int i = 0; i < problems_.size(); ++i) {
        const tool::Problem& problem = problems_[i];
        problemList_->addItem(
            QStringLiteral("%1%2:%3: %4")
                .arg(i < checkProblems_.size() ? QString() : QStringLiteral("听："))
                .arg(QDir(document_.folder()).relativeFilePath(problem.where.file))
                .arg(problem.where.line)
                .arg(problem.message));
    }
    if (problems_.isEmpty()) problemList_->addItem(QStringLiteral("没有问题。"));
}

void StudioWindow::goToProblem(int row) {
    if (row < 0 || row >= problems_.size()) return;
    const ProblemPlace place = placeOfProblem(document_, problems_[row].where);
    if (place.page >= 0) {
        sideTabs_->setCurrentIndex(0);
        showPage(place.page);
        const QList<ItemRef> items =
            place.item.index >= 0 ? QList<ItemRef>{place.item} : QList<ItemRef>{};
        pageView_->setSelection(items);
        pageSelectionChanged(items);
    } else if (place.unit >= 0) {
        sideTabs_->setCurrentIndex(2);
    } else if (QFileInfo(problems_[row].where.file).fileName() == QLatin1String("book.txt")) {
        sideTabs_->setCurrentIndex(1);
    }
}

void StudioWindow::askOpenFolder() {
    const QString folder = prompts_->chooseFolder(QStringLiteral("打开书本文件夹"));
    if (!folder.isEmpty()) openFolder(folder);
}

void StudioWindow::askNewBook() {
    const QString folder = prompts_->chooseFolder(QStringLiteral("新书本放在哪个空文件夹里"));
    if (!folder.isEmpty()) newBook(folder);
}

void StudioWindow::askReplaceScan() {
    if (currentPage() < 0) return;
    const QString file = prompts_->chooseFile(
        QStringLiteral("选择本页的扫描图"),
        QStringLiteral("图片 (*.jpg *.jpeg *.png *.webp *.tif *.tiff *.bmp);;所有文件 (*)"));
    if (!file.isEmpty()) replaceScan(file);
}

bool StudioWindow::replaceScan(const QString& file) {
    const int page = currentPage();
    if (page < 0) return false;
    QList<QImage> frames;
    int delayMs = 0;
    QString error;
    if (!tool::readPicture(file, frames, delayMs, error)) {
        prompts_->tell(QStringLiteral("「%1」不是可以用的图片（%2）。本页没有改动。")
                           .arg(QFileInfo(file).fileName(), error));
        return false;
    }
    const QString name =
        QStringLiteral("p%1").arg(document_.page(page).pageNumber, 2, 10, QLatin1Char('0'));
    const QString relative = document_.importFile(file, QStringLiteral("scans"), name, &error);
    if (relative.isEmpty()) {
        prompts_->tell(QStringLiteral("无法把扫描图放进书本文件夹：%1。本页没有改动。").arg(error));
        return false;
    }
    return document_.setPageImage(page, relative);
}

void StudioWindow::tryIt() {
    if (document_.folder().isEmpty() || maker_->busy()) return;
    tryPage_ = currentPage() >= 0 ? document_.page(currentPage()).pageNumber : 0;
    tryFolder_ = QDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation))
                     .filePath(QStringLiteral("qcbook-studio-try"));
    QDir().mkpath(tryFolder_);
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                          QStringLiteral("/qcbook-content");
    maker_->start(document_.sources(), cache,
                  QDir(tryFolder_).filePath(QStringLiteral("book.qcbook")));
    tryProgress_->setValue(0);
    tryProgress_->show();
    tryCancel_->show();
    tryAction_->setEnabled(false);
}

void StudioWindow::cancelTryIt() {
    maker_->cancel();
}

void StudioWindow::bookFileWritten(bool written, const QString& message) {
    tryProgress_->hide();
    tryCancel_->hide();
    tryAction_->setEnabled(true);
    if (!written) {
        if (message != QStringLiteral("已取消"))
            prompts_->tell(QStringLiteral("书本文件没有做成：\n%1").arg(message));
        emit tryItFinished(false, message);
        return;
    }
    launchReader(message);
}

void StudioWindow::launchReader(const QString& bookFile) {
    QStringList arguments{bookFile};
    if (tryPage_ > 0) arguments << QStringLiteral("--page") << QString::number(tryPage_);
    bool started = false;
    if (options_.launch) {
        started = options_.launch(readerProgram(), arguments);
    } else {
        const QString program = readerProgram();
        started = !program.isEmpty() && QProcess::startDetached(program, arguments);
        if (program.isEmpty())
            prompts_->tell(QStringLiteral("找不到 qcbook 程序。书本文件已写好：%1").arg(bookFile));
        else if (!started)
            prompts_->tell(QStringLiteral("无法启动 qcbook。书本文件已写好：%1").arg(bookFile));
    }
    emit tryItFinished(started, bookFile);
}

}  // namespace studio
