#pragma once

#include <QSize>
#include <QString>

#include "sound/sound.h"

class QWidget;

namespace ui {

// Holds back the child's input for a while after feedback, while painting and timers go on.
class Pauser {
  public:
    virtual ~Pauser() = default;
    virtual void pause(int milliseconds) = 0;
};

// Random integers drawn uniformly from [low, high], both ends included.
class Random {
  public:
    virtual ~Random() = default;
    virtual void reseed() = 0;
    virtual int between(int low, int high) = 0;
};

enum class MessageButton { Ok, Yes, No };
enum class MessageIcon { None, Question };

struct MessageRequest {
    QString text;
    QString caption;
    bool yesNo = false;
    MessageIcon icon = MessageIcon::None;
};

// Modal message boxes; returns the button that closed the box.
class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    virtual MessageButton show(QWidget* parent, const MessageRequest& request) = 0;
};

// The few things the program asks of the desktop.
class Shell {
  public:
    virtual ~Shell() = default;
    virtual QSize screenSize() = 0;
    virtual QString desktopFolder() = 0;
    virtual QString programFolder() = 0;
    virtual void openWebAddress(const QString& address) = 0;
};

// The services the program uses; production code installs the real ones at start-up,
// tests install recording fakes.
struct Services {
    sound::Sound* sound = nullptr;
    Pauser* pauser = nullptr;
    Random* random = nullptr;
    MessageBoxes* messages = nullptr;
    Shell* shell = nullptr;
};

Services& services();

}  // namespace ui
