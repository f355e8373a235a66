#pragma once

#include "ui/services.h"

namespace ui {

// Waits while painting and timers go on; the child's presses and keys are held back and
// delivered, in order, when the pause is over.
class EventLoopPauser : public Pauser {
  public:
    void pause(int milliseconds) override;
};

class ClockRandom : public Random {
  public:
    ClockRandom();
    void reseed() override;
    int between(int low, int high) override;

  private:
    unsigned long long state_;
};

class QtMessageBoxes : public MessageBoxes {
  public:
    MessageButton show(QWidget* parent, const MessageRequest& request) override;
};

class DesktopShell : public Shell {
  public:
    QSize screenSize() override;
    QString desktopFolder() override;
    QString programFolder() override;
    void openWebAddress(const QString& address) override;
};

// Installs the real services (sound through the sound card, real pauses, clock-seeded random
// numbers, real message boxes, the real desktop) for the program's whole run.
void installRealServices();

}  // namespace ui
