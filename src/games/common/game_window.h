#pragma once

// What every game window shares: a modal window of a fixed 800 x 600 client area over the
// reader, destroyed when closed, whose Escape key does not close it (a stray key must not end
// a child's game; the return button and the window's close button do).

#include <QDialog>

namespace games {

inline constexpr int kGameWidth = 800;
inline constexpr int kGameHeight = 600;

class GameWindow : public QDialog {
    Q_OBJECT
  public:
    GameWindow(QWidget* owner, const QString& title);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Opens a game window modally over `owner` and returns when the child has closed it.
template <typename Window>
void openGameWindow(QWidget* owner) {
    Window window(owner);
    window.exec();
}

}  // namespace games
