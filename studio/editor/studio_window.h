#pragma once

// The studio's main window: the page list on the left, the page in the middle, the page's
// entries and answer boxes, the book's names and its units on the right, the check's problems
// below. It opens, makes and saves books, keeps a recovery file of unsaved work, watches the
// files for changes made elsewhere and tries the book out in the real reader.

#include <QHash>
#include <QMainWindow>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>

#include "editor/prompts.h"
#include "model/book_document.h"
#include "model/book_items.h"

class QAction;
class QFileSystemWatcher;
class QLabel;
class QListWidget;
class QMenu;
class QProgressBar;
class QPushButton;
class QTableView;
class QTabWidget;

namespace sound {
class Sound;
}

namespace studio {

class AnswerTableModel;
class BookChecker;
class BookFileMaker;
class EntryTableModel;
class NamesPanel;
class PageView;
class ProposalRunner;
class UnitsPanel;
class VoiceTools;
namespace voice {
class CaptureDevice;
}

struct StudioOptions {
    // How often unsaved work is written to the recovery file.
    int recoveryIntervalMs = 60 * 1000;
    // Where recovery files are kept; empty: the program's data folder.
    QString recoveryFolder;
    // How long the check waits after a change.
    int checkDelayMs = 300;
    // Starts the reader on a book file; empty: QProcess::startDetached.
    std::function<bool(const QString& program, const QStringList& arguments)> launch;
    // The microphone the teacher records with and the sound the studio plays takes and lines
    // through (none: the record buttons say there is no microphone, nothing plays).
    voice::CaptureDevice* microphone = nullptr;
    sound::Sound* sound = nullptr;
    // Where the finished recordings the listening check hears are kept; empty: the program's
    // cache folder.
    QString recordingsCache;
};

class StudioWindow : public QMainWindow {
    Q_OBJECT

  public:
    // `prompts` answers the window's questions (nullptr: real dialogs); the window owns it.
    explicit StudioWindow(std::unique_ptr<StudioPrompts> prompts = nullptr,
                          StudioOptions options = {}, QWidget* parent = nullptr);
    ~StudioWindow() override;

    // Opens a content folder, offering back the unsaved work of a recovery file newer than
    // its files; false with a message when it is not a book.
    bool openFolder(const QString& folder);
    // Writes the template into `folder` (missing or empty) and opens it.
    bool newBook(const QString& folder);
    // Saves; false with a message (the work stays unsaved) when a file cannot be written.
    bool save();
    // Writes the book file in the background, then starts the reader on the page shown.
    void tryIt();
    void cancelTryIt();
    // Gives the page shown a scan the teacher picked; a file that is not a picture changes
    // nothing.
    bool replaceScan(const QString& file);

    BookDocument* document() { return &document_; }
    PageView* pageView() const { return pageView_; }
    VoiceTools* voiceTools() const { return voice_; }
    ProposalRunner* proposer() const { return proposer_; }
    QTableView* entryTable() const { return entryTable_; }
    QTableView* answerTable() const { return answerTable_; }
    QListWidget* pageList() const { return pageList_; }
    QListWidget* problemList() const { return problemList_; }
    int currentPage() const;
    void showPage(int page);
    // Goes to the page and item a problem of the list names.
    void goToProblem(int row);
    // The recovery file of the folder open (or of `folder`).
    QString recoveryPath(const QString& folder = QString()) const;
    // Whether every page's thumbnail is made.
    bool thumbnailsDone() const { return pendingThumbnails_.isEmpty(); }
    // Looks for files changed on disk behind the studio's back and offers to read them again.
    void checkDiskChanges();

  signals:
    void firstPageShown();
    void checked(int problems);
    void tryItFinished(bool started, const QString& message);

  protected:
    void closeEvent(QCloseEvent* event) override;
    // R and Enter in the entry table record the chosen line and keep its take.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void buildActions();
    void buildDocks();
    void afterOpen();
    void updateTitle();
    void askOpenFolder();
    void askNewBook();
    void askReplaceScan();
    bool maySwitchAway();
    void writeRecovery();
    void removeRecovery();
    void offerRecovery();
    void watchFiles();
    void edited();
    void listProblems(const QList<tool::Problem>& problems);
    void takeListenFlags(const QList<tool::Problem>& flags, int page);
    void showProblems();
    void recordNextLine();
    void buildVoiceAndProposals(QMenu* tools);
    void makeNextThumbnail();
    void pageListChosen(int row);
    void tableSelectionChanged();
    void pageSelectionChanged(const QList<ItemRef>& items);
    void bookFileWritten(bool written, const QString& message);
    void launchReader(const QString& bookFile);

    BookDocument document_;
    std::unique_ptr<StudioPrompts> prompts_;
    StudioOptions options_;
    PageView* pageView_ = nullptr;
    QListWidget* pageList_ = nullptr;
    EntryTableModel* entries_ = nullptr;
    AnswerTableModel* answers_ = nullptr;
    QTableView* entryTable_ = nullptr;
    QTableView* answerTable_ = nullptr;
    QTabWidget* sideTabs_ = nullptr;
    NamesPanel* namesPanel_ = nullptr;
    UnitsPanel* unitsPanel_ = nullptr;
    QListWidget* problemList_ = nullptr;
    QLabel* zoomLabel_ = nullptr;
    QProgressBar* tryProgress_ = nullptr;
    QPushButton* tryCancel_ = nullptr;
    QAction* saveAction_ = nullptr;
    QAction* tryAction_ = nullptr;
    BookChecker* checker_ = nullptr;
    BookFileMaker* maker_ = nullptr;
    QFileSystemWatcher* watcher_ = nullptr;
    QTimer recoveryTimer_;
    QTimer thumbnailTimer_;
    QList<int> pendingThumbnails_;
    QList<tool::Problem> problems_;
    QList<tool::Problem> checkProblems_;
    QList<tool::Problem> listenFlags_;
    VoiceTools* voice_ = nullptr;
    ProposalRunner* proposer_ = nullptr;
    QProgressBar* proposeProgress_ = nullptr;
    QPushButton* proposeCancel_ = nullptr;
    // Files changed on disk that the teacher chose not to reload, with their bytes' digest
    // then: a later change to one is offered again.
    QHash<QString, QByteArray> changesAnswered_;
    QString tryFolder_;
    int tryPage_ = 0;
    bool syncing_ = false;
    bool asking_ = false;
};

}  // namespace studio
