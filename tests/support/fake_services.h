#pragma once

// Recording fakes of the platform services: tests install them, drive windows and then assert
// the exact sounds, pauses, random draws and messages.

#include <QEvent>
#include <QList>
#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

#include <memory>

#include "app/features.h"
#include "ui/services.h"

namespace testing_support {

// Everything the services were asked, in the order asked, as short texts a test compares:
// "play praise2", "loop match_music", "stop", "reseed", "draw 1..3 -> 2", "pause 4000",
// "message 本课共…" . Clips are named by clipName().
using Trace = QStringList;

// A readable name for a clip: its built-in role ("praise1", "right_answer"), "entry j" for
// entry j of the shown page, "word <English>" for a unit word's recording, else "clip <i>"
// or "unknown clip".
QString clipName(const sound::SoundClip& clip);

struct SoundEvent {
    enum Kind { Play, Loop, Stop } kind;
    sound::SoundClip clip;
};

class FakeSound : public sound::Sound {
  public:
    void play(const sound::SoundClip& clip) override;
    void playLooped(const sound::SoundClip& clip) override;
    void stopAll() override;
    QList<sound::SoundClip> played() const;
    int stops() const;
    QList<SoundEvent> events;
    Trace* trace = nullptr;
};

// Records each pause; a test may give it something to do during the pause (press a button,
// close the window), as a child would while the clip plays.
class FakePauser : public ui::Pauser {
  public:
    void pause(int milliseconds) override;
    QList<int> pauses;
    std::function<void()> during;
    Trace* trace = nullptr;
};

// Hands out scripted values; with the script used up it answers the low end.
class ScriptedRandom : public ui::Random {
  public:
    void reseed() override;
    int between(int low, int high) override;
    std::deque<int> script;
    QList<std::pair<int, int>> draws;  // the ranges asked for
    int reseeds = 0;
    Trace* trace = nullptr;
};

// Answers message boxes at once. `onShow` runs while a box is "open", the way a timer tick
// or a click could arrive then.
class FakeMessages : public ui::MessageBoxes {
  public:
    ui::MessageButton show(QWidget* parent, const ui::MessageRequest& request) override;
    QList<ui::MessageRequest> shown;
    std::deque<ui::MessageButton> answers;  // for yes/no boxes; default No
    std::function<void(const ui::MessageRequest&)> onShow;
    QStringList texts() const;
    Trace* trace = nullptr;
};

class FakeShell : public ui::Shell {
  public:
    QSize screenSize() override { return screen; }
    QString desktopFolder() override { return desktop; }
    QString programFolder() override { return program; }
    void openWebAddress(const QString& address) override { opened.append(address); }
    QSize screen{1024, 768};
    QString desktop;
    QString program = QStringLiteral("/opt/qcbook");
    QStringList opened;
};

// The program's session that the tests' reader windows share; FakeServices starts it afresh.
app::ProgramSession& session();
// A reader window on session() with the exercises and games attached, as the program opens it.
std::unique_ptr<reader::ReaderWindow> openReader(QWidget* loadingPicture = nullptr);

// Makes `english` and `chinese` the shown page's lists, each entry with a recording of its
// own that is none of the built-in clips (so the trace names it "entry j").
void showPageLines(const QStringList& english, const QStringList& chinese);

// Swallows a timer's own ticks, so that a test alone drives it with
// QMetaObject::invokeMethod(timer, "timeout"): a slow run can then never slip in a real tick.
// The timer still runs as the program set it (its period, its id, whether it is active).
class HeldTicks : public QObject {
  public:
    void hold(QObject* timer) { timer->installEventFilter(this); }

  protected:
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Timer; }
};

// Installs fresh fakes for the lifetime of the scope and starts the session afresh.
class FakeServices {
  public:
    FakeServices();
    ~FakeServices();
    FakeSound sound;
    FakePauser pauser;
    ScriptedRandom random;
    FakeMessages messages;
    FakeShell shell;
    Trace trace;  // sounds, stops, reseeds, draws, pauses and messages in one order

  private:
    ui::Services saved_;
};

}  // namespace testing_support
