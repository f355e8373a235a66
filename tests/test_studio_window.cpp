// The studio's main window on a small book made from the template: the entry table and the
// page view in step, a cell edit as one undo step, the title and the question on closing, the
// recovery file after a crash, saving into a folder that cannot be written, a file changed
// behind the studio's back, bad input, the check list, and Try it writing the book file.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMimeData>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include "editor/entry_tables.h"
#include "editor/page_view.h"
#include "editor/prompts.h"
#include "editor/studio_window.h"
#include "sources/new_book.h"

namespace {

using namespace studio;

// Answers the questions from a queue and keeps every message and question.
class ScriptedPrompts : public StudioPrompts {
  public:
    struct Log {
        QStringList told;
        QStringList asked;
        QList<QMessageBox::StandardButton> answers;
    };
    explicit ScriptedPrompts(Log* log) : log_(log) {}
    void tell(const QString& text) override { log_->told << text; }
    QMessageBox::StandardButton ask(const QString& text, QMessageBox::StandardButtons,
                                    QMessageBox::StandardButton cancel) override {
        log_->asked << text;
        return log_->answers.isEmpty() ? cancel : log_->answers.takeFirst();
    }
    QString chooseFolder(const QString&) override { return {}; }
    QString chooseFile(const QString&, const QString&) override { return {}; }

  private:
    Log* log_;
};

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class StudioWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QStandardPaths::setTestModeEnabled(true);
        ASSERT_TRUE(temp_.isValid());
        book_ = temp_.filePath("book");
        ASSERT_EQ(tool::writeNewBook(book_), 0);
        window_ = makeWindow();
        ASSERT_TRUE(window_->openFolder(book_));
    }

    std::unique_ptr<StudioWindow> makeWindow() {
        StudioOptions options;
        options.recoveryFolder = temp_.filePath("recovery");
        options.recoveryIntervalMs = 20;
        options.checkDelayMs = 10;
        options.launch = [this](const QString& program, const QStringList& arguments) {
            launched_ << program << arguments;
            return true;
        };
        auto window =
            std::make_unique<StudioWindow>(std::make_unique<ScriptedPrompts>(&log_), options);
        window->show();
        return window;
    }

    QModelIndex cell(int row, int column) const {
        return window_->entryTable()->model()->index(row, column);
    }
    const tool::Entry& entry(int row) { return window_->document()->page(0).entries[row]; }

    QTemporaryDir temp_;
    QString book_;
    ScriptedPrompts::Log log_;
    QStringList launched_;
    std::unique_ptr<StudioWindow> window_;
};

TEST_F(StudioWindowTest, TableAndPageViewKeepTheSameSelection) {
    ASSERT_EQ(window_->currentPage(), 0);
    ASSERT_GE(window_->entryTable()->model()->rowCount(), 3);
    window_->entryTable()->selectRow(2);
    EXPECT_EQ(window_->pageView()->selection(), (QList<ItemRef>{{ItemKind::Entry, 2}}));

    emit window_->pageView()->selectionChanged({{ItemKind::Entry, 1}});
    const QModelIndexList rows = window_->entryTable()->selectionModel()->selectedRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.first().row(), 1);
    // The page view's own choice is not sent back to it as a new selection.
    EXPECT_TRUE(window_->pageView()->selection().isEmpty() ||
                window_->pageView()->selection() == (QList<ItemRef>{{ItemKind::Entry, 2}}));

    // Another page shows its own entries.
    window_->pageList()->setCurrentRow(1);
    EXPECT_EQ(window_->currentPage(), 1);
    EXPECT_EQ(window_->entryTable()->model()->rowCount(),
              window_->document()->page(1).entries.size());
}

TEST_F(StudioWindowTest, CellEditIsOneUndoStepAndMarksTheTitle) {
    const QByteArray before = readFile(book_ + "/pages/p01.txt");
    EXPECT_FALSE(window_->isWindowModified());
    EXPECT_TRUE(window_->windowTitle().contains(QStringLiteral("qcbook 书本工作室")));

    ASSERT_TRUE(window_->entryTable()->model()->setData(cell(1, EntryTableModel::English),
                                                        "Hello, I'm Sam."));
    EXPECT_EQ(entry(1).english, "Hello, I'm Sam.");
    EXPECT_TRUE(window_->isWindowModified());
    EXPECT_EQ(window_->document()->undoStack()->count(), 1);

    window_->document()->undoStack()->undo();
    EXPECT_EQ(entry(1).english, "Hello, I'm Tom.");
    EXPECT_FALSE(window_->isWindowModified());
    ASSERT_TRUE(window_->save());
    EXPECT_EQ(readFile(book_ + "/pages/p01.txt"), before);
}

TEST_F(StudioWindowTest, DraggedRowMovesTheEntryInClipOrder) {
    const QString third = entry(2).english;
    auto* model = window_->entryTable()->model();
    QMimeData* data = model->mimeData({cell(2, 0)});
    ASSERT_TRUE(data);
    model->dropMimeData(data, Qt::MoveAction, 0, 0, {});
    delete data;
    EXPECT_EQ(entry(0).english, third);
    EXPECT_EQ(window_->pageView()->selection(), (QList<ItemRef>{{ItemKind::Entry, 0}}));
    window_->document()->undoStack()->undo();
    EXPECT_EQ(entry(2).english, third);
}

TEST_F(StudioWindowTest, ClosingWithUnsavedWorkAsks) {
    ASSERT_TRUE(window_->document()->setText(0, {ItemKind::Entry, 1}, TextField::Chinese, "你好"));
    log_.answers = {QMessageBox::Cancel};
    EXPECT_FALSE(window_->close());
    EXPECT_EQ(log_.asked.size(), 1);
    EXPECT_TRUE(window_->isVisible());

    log_.answers = {QMessageBox::Save};
    EXPECT_TRUE(window_->close());
    EXPECT_TRUE(readFile(book_ + "/pages/p01.txt").contains("你好"));
    EXPECT_FALSE(QFile::exists(window_->recoveryPath()));
}

TEST_F(StudioWindowTest, RecoveryFileIsOfferedBackAfterACrash) {
    ASSERT_TRUE(window_->document()->setText(0, {ItemKind::Entry, 1}, TextField::English,
                                             "Saved by the timer."));
    const QString recovery = window_->recoveryPath();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(recovery); }, 5000));
    // A crash: the window goes without being closed.
    window_.reset();
    ASSERT_TRUE(QFile::exists(recovery));

    log_.answers = {QMessageBox::Yes};
    window_ = makeWindow();
    ASSERT_TRUE(window_->openFolder(book_));
    ASSERT_EQ(log_.asked.size(), 1);
    EXPECT_EQ(entry(1).english, "Saved by the timer.");
    EXPECT_TRUE(window_->isWindowModified());
    // Nothing reached the files until the teacher saves.
    EXPECT_FALSE(readFile(book_ + "/pages/p01.txt").contains("Saved by the timer."));
    ASSERT_TRUE(window_->save());
    EXPECT_FALSE(QFile::exists(recovery));
    EXPECT_TRUE(readFile(book_ + "/pages/p01.txt").contains("Saved by the timer."));
}

TEST_F(StudioWindowTest, UnwritableFolderKeepsTheWorkUnsaved) {
    ASSERT_TRUE(
        window_->document()->setText(0, {ItemKind::Entry, 1}, TextField::English, "Not written."));
    // The pages folder becomes a file: nothing can be written under it, even by root.
    ASSERT_TRUE(QDir(book_).rename("pages", "pages.kept"));
    ASSERT_TRUE(QFile(book_ + "/pages").open(QIODevice::WriteOnly));
    log_.answers = {QMessageBox::Yes};  // write over the "changed" (gone) file
    EXPECT_FALSE(window_->save());
    ASSERT_FALSE(log_.told.isEmpty());
    EXPECT_TRUE(log_.told.last().contains(QStringLiteral("保存没有完成")));
    EXPECT_TRUE(window_->isWindowModified());
    EXPECT_EQ(entry(1).english, "Not written.");
    EXPECT_FALSE(readFile(book_ + "/pages.kept/p01.txt").contains("Not written."));
}

TEST_F(StudioWindowTest, FileChangedOnDiskIsOfferedForReloading) {
    const QString path = book_ + "/pages/p01.txt";
    QByteArray onDisk = "Lily";
    const auto changeLily = [&](const char* name) {
        QByteArray text = readFile(path);
        text.replace("Hi, I'm " + onDisk + ".", QByteArray("Hi, I'm ") + name + ".");
        onDisk = name;
        QFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) > 0;
    };
    ASSERT_TRUE(changeLily("Anna"));
    log_.answers = {QMessageBox::No};
    window_->checkDiskChanges();
    ASSERT_EQ(log_.asked.size(), 1);
    EXPECT_TRUE(log_.asked.first().contains("pages/p01.txt"));
    EXPECT_EQ(entry(3).english, "Hi, I'm Lily.");
    // Kept as it was: not asked again for the same change, but for the next one.
    window_->checkDiskChanges();
    EXPECT_EQ(log_.asked.size(), 1);
    ASSERT_TRUE(changeLily("Rose"));
    log_.answers = {QMessageBox::Yes};
    window_->checkDiskChanges();
    ASSERT_EQ(log_.asked.size(), 2);
    EXPECT_EQ(entry(3).english, "Hi, I'm Rose.");
    EXPECT_FALSE(window_->isWindowModified());
}

TEST_F(StudioWindowTest, BadInputChangesNothing) {
    const QString notAPicture = temp_.filePath("notes.jpg");
    QFile file(notAPicture);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("these are words, not a picture");
    file.close();
    EXPECT_FALSE(window_->replaceScan(notAPicture));
    ASSERT_EQ(log_.told.size(), 1);
    EXPECT_TRUE(log_.told.first().contains("notes.jpg"));
    EXPECT_EQ(window_->document()->undoStack()->count(), 0);
    EXPECT_FALSE(QDir(book_ + "/scans").exists("p01.jpg"));

    const QString empty = temp_.filePath("empty");
    QDir().mkpath(empty);
    EXPECT_FALSE(window_->openFolder(empty));
    ASSERT_EQ(log_.told.size(), 2);
    EXPECT_TRUE(log_.told.last().contains("book.txt"));
    EXPECT_EQ(window_->document()->folder(), book_);
    // A new book goes only into an empty folder.
    EXPECT_FALSE(window_->newBook(book_));
    EXPECT_EQ(log_.told.size(), 3);
}

TEST_F(StudioWindowTest, CheckListsAProblemAndGoesToItsEntry) {
    QSignalSpy checked(window_.get(), &StudioWindow::checked);
    ASSERT_TRUE(checked.wait(5000));
    EXPECT_EQ(checked.last().first().toInt(), 0);
    // An entry pushed off the page.
    window_->pageList()->setCurrentRow(2);
    ASSERT_TRUE(window_->document()->setGeometry(1, {{{ItemKind::Entry, 3}, {700, 200, 300, 80}}}));
    window_->pageList()->setCurrentRow(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return checked.size() > 1; }, 5000));
    ASSERT_GT(checked.last().first().toInt(), 0);
    window_->goToProblem(0);
    EXPECT_EQ(window_->currentPage(), 1);
    EXPECT_EQ(window_->pageView()->selection(), (QList<ItemRef>{{ItemKind::Entry, 3}}));
    EXPECT_EQ(window_->entryTable()->selectionModel()->selectedRows().value(0).row(), 3);
}

TEST_F(StudioWindowTest, TryItWritesTheBookFileAndStartsTheReaderOnThePage) {
    window_->showPage(2);
    QSignalSpy finished(window_.get(), &StudioWindow::tryItFinished);
    // A cancelled run tells nothing more, starts nothing, and does not hold up the next.
    window_->tryIt();
    window_->cancelTryIt();
    ASSERT_EQ(finished.size(), 1);
    EXPECT_FALSE(finished.takeFirst().at(0).toBool());
    window_->tryIt();
    ASSERT_TRUE(finished.wait(300000)) << qPrintable(log_.told.join('\n'));
    ASSERT_TRUE(finished.first().at(0).toBool()) << qPrintable(finished.first().at(1).toString());
    const QString bookFile = finished.first().at(1).toString();
    EXPECT_GT(QFileInfo(bookFile).size(), 10000);
    ASSERT_EQ(launched_.size(), 4);
    EXPECT_EQ(launched_.mid(1), (QStringList{bookFile, "--page", "3"}));
    EXPECT_TRUE(log_.told.isEmpty());
}

}  // namespace
