#pragma once

// Recording the teacher's voice line by line. With a line chosen: R starts a take and R stops
// it, the take plays back at once, Enter keeps the chosen take as the line's recording and asks
// for the next line. The newest three takes can be played and compared. A meter shows the level
// while recording; a take that clipped or is too quiet says so. Without a microphone the record
// button says so and nothing else changes.

#include <QTimer>
#include <QWidget>

#include <memory>

#include "voice/line_takes.h"
#include "voice/take_recorder.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace sound {
class Sound;
}

namespace studio {

class BookDocument;
namespace voice {
class CaptureDevice;
}

class RecordPanel : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kSampleRate = 44100;

    RecordPanel(BookDocument* document, voice::CaptureDevice* microphone, sound::Sound* sound,
                QWidget* parent = nullptr);
    ~RecordPanel() override;

    // The line the takes are for; -1 for none (the buttons are off).
    void setEntry(int page, int entry);
    bool hasMicrophone() const { return microphoneOpen_; }
    bool isRecording() const { return recorder_.isRecording(); }
    const voice::LineTakes& takes() const { return takes_; }

  public slots:
    // R: starts a take, or stops the one being recorded and plays it back.
    void toggleRecording();
    // Enter: the chosen take becomes the line's recording (one undo step) and the next line is
    // asked for. False with a message when it cannot be written.
    bool keepChosenTake();
    void playChosenTake();

  signals:
    void nextLineRequested();
    // A take could not be kept (the folder is read-only, the disk is full).
    void problem(const QString& message);

  private:
    void openMicrophone();
    void drainMicrophone();
    void showTakes();
    void showState();

    BookDocument* document_;
    voice::CaptureDevice* microphone_;
    sound::Sound* sound_;
    bool microphoneOpen_ = false;
    QString microphoneError_;
    voice::TakeRecorder recorder_{kSampleRate};
    voice::LineTakes takes_;
    int page_ = -1;
    int entry_ = -1;
    QTimer drainTimer_;
    QPushButton* recordButton_ = nullptr;
    QPushButton* keepButton_ = nullptr;
    QPushButton* playButton_ = nullptr;
    QProgressBar* meter_ = nullptr;
    QListWidget* takeList_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace studio
