#pragma once

// The studio's voice tools for the page shown: recording the chosen line (R starts and stops a
// take, Enter keeps it and goes to the next line), one take for the whole page, listening the
// page through, and the listening check over the whole book, whose flags go to the check list.

#include <QFutureWatcher>
#include <QList>
#include <QObject>

#include "sources/sources.h"

class QMenu;
class QWidget;

namespace sound {
class Sound;
}

namespace studio {

class BookDocument;
class PageView;
class RecordPanel;
namespace voice {
class CaptureDevice;
}

class VoiceTools : public QObject {
    Q_OBJECT

  public:
    VoiceTools(BookDocument* document, PageView* view, voice::CaptureDevice* microphone,
               sound::Sound* sound, const QString& recordingsCache, QWidget* window);
    ~VoiceTools() override;

    RecordPanel* recordPanel() const { return panel_; }
    // Adds the voice menu's actions.
    void addActions(QMenu* menu);
    // The line the takes are for: the one entry selected on the page shown, or none.
    void followSelection();

    void recordWholePage();
    void listenThroughPage();
    // Listens to every English recording of the book on a worker thread; the flags come with
    // listened().
    void listenToBook();
    bool isListening() const { return listening_.isRunning(); }

  signals:
    // What the listening check found: flags for the recordings that do not seem to say their
    // lines, on the pages listened to (all of them, or one), replacing earlier flags there.
    void listened(const QList<tool::Problem>& flags, int page);
    void message(const QString& text);

  private:
    struct BookFlags {
        QList<tool::Problem> flags;
        QString error;
    };

    BookDocument* document_;
    PageView* view_;
    voice::CaptureDevice* microphone_;
    sound::Sound* sound_;
    QString cache_;
    QWidget* window_;
    RecordPanel* panel_ = nullptr;
    QFutureWatcher<BookFlags> listening_;
};

}  // namespace studio
