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
    WordFinderWindow(QWidget* owner, const FinderTwin& twin);
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
    explicit ChineseToEnglishWindow(QWidget* owner);
};

// Shows an English word and four Chinese meanings.
class EnglishToChineseWindow : public WordFinderWindow {
    Q_OBJECT
  public:
    explicit EnglishToChineseWindow(QWidget* owner);
};

}  // namespace games
