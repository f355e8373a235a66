#pragma once

// A whole page read in one take: recorded here or brought as a file, cut into one clip per line
// that needs a recording, shown on a waveform whose boundaries the teacher drags, each piece
// played by a click, and the cuts set by tapping Space at each line's start while the take
// plays. Accepting writes the clips into the book's recordings/ folder and names them on their
// entries, all as one undo step.

#include <QDialog>
#include <QElapsedTimer>
#include <QList>
#include <QTimer>

#include "voice/page_take.h"
#include "voice/take_recorder.h"

class QLabel;
class QPushButton;

namespace sound {
class Sound;
}

namespace studio {

class BookDocument;
class TakeWaveView;
namespace voice {
class CaptureDevice;
}

class PageTakeDialog : public QDialog {
    Q_OBJECT

  public:
    PageTakeDialog(BookDocument* document, int page, voice::CaptureDevice* microphone,
                   sound::Sound* sound, QWidget* parent = nullptr);
    ~PageTakeDialog() override;

    // The page's entries that get a clip, in clip order, and their lines.
    const QList<int>& entries() const { return entries_; }
    const voice::PageTake& take() const { return take_; }
    voice::PageTake& take() { return take_; }

    // Reads a take from a file and cuts it; false with the reason shown when it cannot be read.
    bool loadFile(const QString& path);
    // Records the take from the microphone: starts, or stops and cuts.
    void toggleRecording();
    // Plays the whole take; each Space (tap()) from now on marks the next line's start.
    void startTapping();
    void tap();
    void playClip(int line);
    // Writes the clips and names them on their entries (one undo step); false with a message
    // shown when they cannot be written, and then no entry changes.
    bool writeClips();

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void cut();
    void showState();
    void chooseFile();

    BookDocument* document_;
    int page_;
    voice::CaptureDevice* microphone_;
    sound::Sound* sound_;
    QList<int> entries_;
    voice::PageTake take_;
    voice::TakeRecorder recorder_;
    bool microphoneOpen_ = false;
    QTimer tick_;
    QElapsedTimer playing_;
    int nextTap_ = -1;
    TakeWaveView* wave_ = nullptr;
    QLabel* message_ = nullptr;
    QPushButton* recordButton_ = nullptr;
    QPushButton* tapButton_ = nullptr;
    QPushButton* acceptButton_ = nullptr;
};

}  // namespace studio
