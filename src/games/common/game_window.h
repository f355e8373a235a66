#pragma once

// What every game window shares: a modal window of a fixed 800 x 600 client area over the
// reader, destroyed when closed, whose Escape key does not close it (a stray key must not end
// a child's game; the return button and the window's close button do); and the pieces the
// games build their windows from.

#include <QDialog>
#include <utility>

class QTimer;

namespace ui {
class PictureBox;
class PictureButton;
}  // namespace ui

namespace games {

inline constexpr int kGameWidth = 800;
inline constexpr int kGameHeight = 600;

class GameWindow : public QDialog {
    Q_OBJECT
  public:
    GameWindow(QWidget* owner, const QString& title);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

    // The window's background: the book's picture `picture` over the whole client area,
    // `top` pixels down, as the parent of the controls laid on it.
    ui::PictureBox* addBackground(const QString& name, const char* picture, int top = 0);
    // The round return button (超级按钮_退出, captioned 返回) that closes the window.
    ui::PictureButton* addReturnButton(QWidget* parent, QRect geometry);
    // The game's clock (时钟1), stopped until the game sets its period.
    QTimer* addClock();
    // Shows `line` on the shortage line (kShortageLine), which says in place of the game that
    // the chosen unit is too small for it; an empty `line` hides it. The line is made on
    // `parent` at `geometry` the first time there is something to say.
    static void showShortage(QWidget* parent, QRect geometry, const QString& line);
};

inline constexpr const char* kShortageLine = "透明标签_内容不足";

// Opens a game window modally over `owner` and returns when the child has closed it. What the
// window needs besides its owner (the page, the missed words) follows.
template <typename Window, typename... Needs>
void openGameWindow(QWidget* owner, Needs&&... needs) {
    Window window(owner, std::forward<Needs>(needs)...);
    window.exec();
}

}  // namespace games
