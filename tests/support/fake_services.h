#pragma once

// Recording fakes of the platform services: tests install them, drive windows and then assert
// the exact sounds, pauses, random draws and messages.

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>
#include <deque>

#include "ui/services.h"

namespace testing_support {

struct SoundEvent {
    enum Kind { Play, Loop, Stop } kind;
    ui::SoundClip clip;
};

class FakeSound : public ui::Sound {
  public:
    void play(const ui::SoundClip& clip) override {
        events.append(SoundEvent{SoundEvent::Play, clip});
    }
    void playLooped(const ui::SoundClip& clip) override {
        events.append(SoundEvent{SoundEvent::Loop, clip});
    }
    void stopAll() override { events.append(SoundEvent{SoundEvent::Stop, {}}); }
    QList<ui::SoundClip> played() const;
    int stops() const;
    QList<SoundEvent> events;
};

class FakePauser : public ui::Pauser {
  public:
    void pause(int milliseconds) override { pauses.append(milliseconds); }
    QList<int> pauses;
};

// Hands out scripted values; with the script used up it answers the low end.
class ScriptedRandom : public ui::Random {
  public:
    void reseed() override { ++reseeds; }
    int between(int low, int high) override;
    std::deque<int> script;
    QList<std::pair<int, int>> draws;  // the ranges asked for
    int reseeds = 0;
};

class FakeMessages : public ui::MessageBoxes {
  public:
    ui::MessageButton show(QWidget* parent, const ui::MessageRequest& request) override;
    QList<ui::MessageRequest> shown;
    std::deque<ui::MessageButton> answers;  // for yes/no boxes; default No
    QStringList texts() const;
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

// Installs fresh fakes for the lifetime of the scope and resets the program-wide state.
class FakeServices {
  public:
    FakeServices();
    ~FakeServices();
    FakeSound sound;
    FakePauser pauser;
    ScriptedRandom random;
    FakeMessages messages;
    FakeShell shell;

  private:
    ui::Services saved_;
};

}  // namespace testing_support
