#pragma once

// Listening a page through: each English line beside its finished recording (the teacher's own,
// or the one the voice makes), with what the listening check heard in it. Space plays the
// chosen line and moves to the next, so the whole page is heard with one key.

#include <QDialog>
#include <QFutureWatcher>
#include <QList>

#include "recordings/listen_check.h"
#include "sources/sources.h"

class QLabel;
class QProgressBar;
class QTableWidget;

namespace sound {
class Sound;
}

namespace studio {

class BookDocument;

// One finished line of a page and what was heard in it.
struct HeardLine {
    int entry = -1;  // the entry's index on the page
    QString text;
    QByteArray wav;
    QString flag;  // empty when the recording seems to say its line
};

// Finishes the page's English recordings (kept in `cacheFolder`) and listens to them; runs on a
// worker thread. An empty list with `error` when it cannot.
QList<HeardLine> hearPage(const tool::BookSources& book, int page, const QString& cacheFolder,
                          QString* error);

class ListenThroughDialog : public QDialog {
    Q_OBJECT

  public:
    ListenThroughDialog(BookDocument* document, int page, sound::Sound* sound,
                        const QString& cacheFolder, QWidget* parent = nullptr);
    ~ListenThroughDialog() override;

    bool isReady() const { return ready_; }
    const QList<HeardLine>& lines() const { return lines_; }
    // Plays the chosen line and chooses the next.
    void playNext();

  signals:
    // The page's lines have been heard (for the check list).
    void heard(int page, const QList<studio::HeardLine>& lines);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void show(const QList<HeardLine>& lines, const QString& error);

    sound::Sound* sound_;
    int page_;
    bool ready_ = false;
    QList<HeardLine> lines_;
    QFutureWatcher<QList<HeardLine>> watcher_;
    QString error_;
    QLabel* status_ = nullptr;
    QProgressBar* busy_ = nullptr;
    QTableWidget* table_ = nullptr;
};

}  // namespace studio
