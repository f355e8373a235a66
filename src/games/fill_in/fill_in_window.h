#pragma once

// FillInGameWindow (填一填): one line of the shown page with a word covered by a blank; the
// child types the word. Opened modally from the reader's toolbar.

#include "games/common/page_game_window.h"
#include "games/fill_in/fill_in_game.h"
#include "ui/controls.h"

namespace games {

class FillInGameWindow : public PageGameWindow {
    Q_OBJECT
  public:
    // Asks from its own copy of the lines of `page`, the page the reader shows.
    FillInGameWindow(QWidget* owner, const book::PageContent& page);

    const FillInGame& game() const { return game_; }

  private:
    void buildLayout();
    void SetNewQuestion();
    void CheckAnswer();
    void NextQuestion();
    void HearAgain();
    void ReadOptions();
    void ShowNothingToAsk();

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

}  // namespace games
