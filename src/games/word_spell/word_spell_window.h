#pragma once

// The word spelling game's window: the letter tiles, the result line, the unit selector, the
// two option check boxes and the five text buttons over the game's background picture. The
// rules live in WordSpellGame; the window forwards presses and shows the game's state.

#include <array>

#include "games/common/game_window.h"
#include "games/word_spell/word_spell_game.h"
#include "ui/controls.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;

namespace games {

// A letter tile: its letter centred on a small block, black at 30 points while it can be
// clicked; silver at 20 points, and taking no clicks, once clicked. An inert tile (the pass
// is over) takes no clicks either and shows it: grey on a muted block, like a disabled control.
class LetterTileLabel : public ui::TransparentLabel {
    Q_OBJECT
  public:
    explicit LetterTileLabel(QWidget* parent = nullptr);
    void setClickedLook(bool clicked);
    bool hasClickedLook() const { return clicked_; }
    void setInert(bool inert);
    bool isInert() const { return inert_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void applyLook();
    QColor letterColour() const;

    bool clicked_ = false;
    bool inert_ = false;
};

class WordSpellWindow : public GameWindow {
    Q_OBJECT
  public:
    // Records the child's misses in `missed` and lists them there when a pass ends.
    WordSpellWindow(QWidget* reader, MissedWords& missed);

    WordSpellGame& game() { return game_; }
    // The tile control of tile `number` (1 to 15; 15 is the leftmost).
    LetterTileLabel* tileControl(int number) const { return tiles_[number - 1]; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildControls();
    void connectControls();
    // Brings every control in line with the game's state.
    void showState();
    // Shows the state, then tells the child what a step of the game reported.
    void tell(const SpellNews& news);

    MissedWords& missed_;
    WordSpellGame game_;
    ui::PictureBox* background_ = nullptr;
    std::array<LetterTileLabel*, kLetterTileCount> tiles_{};
    ui::TransparentLabel* meaning_ = nullptr;
    ui::TransparentLabel* result_ = nullptr;
    QComboBox* units_ = nullptr;
    QCheckBox* meaningBox_ = nullptr;
    QCheckBox* readAloudBox_ = nullptr;
    QAbstractButton* redo_ = nullptr;
    QAbstractButton* replay_ = nullptr;
    QAbstractButton* next_ = nullptr;
    QAbstractButton* answer_ = nullptr;
    QAbstractButton* back_ = nullptr;
    bool wasShown_ = false;
    bool resultsOwed_ = false;  // a pass ended with misses before the window was shown
};

}  // namespace games
