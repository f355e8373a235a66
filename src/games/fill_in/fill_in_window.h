#pragma once

// FillInGameWindow (填一填): one line of the shown page with a word covered by a blank; the
// child types the word. Opened modally from the reader's toolbar.

#include "book/page_content.h"
#include "games/common/game_window.h"
#include "games/fill_in/fill_in_game.h"
#include "ui/controls.h"

namespace games {

class FillInGameWindow : public GameWindow {
    Q_OBJECT
  public:
    explicit FillInGameWindow(QWidget* owner);

    const FillInGame& game() const { return game_; }

    // The Chinese line shown instead of a sentence when the page has nothing to ask.
    static const char* const kNothingToAsk;

  private:
    void buildLayout();
    void SetNewQuestion();
    void CheckAnswer();
    void NextQuestion();
    void HearAgain();
    void ReadOptions();
    void ShowNothingToAsk();
    void PlayItemClip() const;

    FillInGame game_;
    ui::PictureBox* background_ = nullptr;
    ui::TransparentLabel* sentence_ = nullptr;
    ui::EditBox* blank_ = nullptr;
    ui::TransparentLabel* chineseHint_ = nullptr;
    ui::TransparentLabel* answerHint_ = nullptr;
    ui::CheckBox* chineseOption_ = nullptr;
    ui::CheckBox* readOption_ = nullptr;
    QList<QAbstractButton*> questionButtons_;
};

// The toolbar's opener: takes the games' copies of the page lists, then opens the window
// modally over the reader.
void OpenFillInGame(QWidget* reader, const book::PageContent& page);

}  // namespace games
