#pragma once

// The two one-minute word-finding game windows. Both are the same window run by the same
// rules; their twin tables give the points in which they differ.

#include <memory>

#include "games/common/game_window.h"
#include "games/word_finder/word_finder_rules.h"

class QTimer;

namespace ui {
class AnimationBox;
class AnimationObject;
class ComboBox;
class PictureButton;
class TransparentLabel;
}  // namespace ui

namespace games {

class PlayArea;

class WordFinderWindow : public GameWindow {
    Q_OBJECT
  public:
    // Records the child's misses in `missed`, emptied when the window opens and when the
    // unit changes, and lists them there when a game ends.
    WordFinderWindow(QWidget* owner, const FinderTwin& twin, MissedWords& missed);
    ~WordFinderWindow() override;

    WordFinderRules& rules() { return *rules_; }
    ui::AnimationBox* playArea() const { return box_; }

  protected:
    void hideEvent(QHideEvent* event) override;

  private:
    void answerClick(QPoint point);
    void skip();
    void clockTick();
    void unitChanged();
    void endGame();
    // Asks the unit's first question, or shows the shortage line instead when the unit has too
    // few words (false).
    bool askFirstQuestion();
    // Shows the message the rules gave, if any.
    void say(const std::optional<GameMessage>& message);

    MissedWords& missed_;
    ui::AnimationBox* box_;
    ui::AnimationObject* flower_;
    QTimer* clock_;
    ui::PictureButton* next_;
    ui::TransparentLabel* remaining_;
    ui::ComboBox* units_;
    std::unique_ptr<PlayArea> surface_;
    std::unique_ptr<WordFinderRules> rules_;
};

// Shows a Chinese meaning and four English words.
class ChineseToEnglishWindow : public WordFinderWindow {
    Q_OBJECT
  public:
    ChineseToEnglishWindow(QWidget* owner, MissedWords& missed);
};

// Shows an English word and four Chinese meanings.
class EnglishToChineseWindow : public WordFinderWindow {
    Q_OBJECT
  public:
    EnglishToChineseWindow(QWidget* owner, MissedWords& missed);
};

}  // namespace games
