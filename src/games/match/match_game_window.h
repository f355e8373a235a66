#pragma once

// The timed matching challenge: a board of 48 tiles, English words and their Chinese
// meanings, to be cleared in pairs before the time bar runs empty, at one of three speeds,
// with background music looping while the window is open.

#include <QPixmap>

#include "games/common/game_clips.h"
#include "games/common/game_window.h"
#include "games/match/match_board.h"

class QProgressBar;
class QTimer;

namespace ui {
class CheckBox;
class ComboBox;
class DrawPanel;
}  // namespace ui

namespace games {

class MatchGameWindow : public GameWindow {
    Q_OBJECT
  public:
    explicit MatchGameWindow(QWidget* owner);

    const MatchBoard& board() const { return board_; }

  protected:
    // However the window closes (the return button or the window's own close button), the
    // clock stops and every sound ends with it: the music must not loop on over the reader.
    void done(int result) override;

  private:
    void hoverAt(QPoint point);
    void clickAt(QPoint point);
    void tick();
    void levelChanged();
    void unitChanged();
    void musicClicked();
    void boardWon();

    void pick();
    void deal();
    void drawTile(int cell);
    void drawFrame(int cell, const QColor& colour);
    void removeFrame(int cell);
    void refillTime();
    void setTickPeriodFromLevel();

    ui::DrawPanel* panel_ = nullptr;
    QProgressBar* timeBar_ = nullptr;
    QTimer* clock_ = nullptr;
    ui::CheckBox* music_ = nullptr;
    ui::ComboBox* level_ = nullptr;
    ui::ComboBox* unit_ = nullptr;

    MatchBoard board_;
    MatchClock time_;
    MatchClips clips_;
    QPixmap englishTile_;
    QPixmap chineseTile_;
    bool closed_ = false;
};

}  // namespace games
