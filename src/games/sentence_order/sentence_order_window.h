#pragma once

// SentenceOrderWindow (句子排序): the words of one line of the shown page in a random order;
// the child clicks them in the order that makes the sentence. Opened modally from the
// reader's toolbar.

#include <QFont>
#include <array>

#include "games/common/page_game_window.h"
#include "games/sentence_order/sentence_order_game.h"
#include "ui/controls.h"

namespace games {

// The face of a word label in each look: 宋体 at 14 points, 20 while it is the current word.
QFont wordFont(WordLook look);

class SentenceOrderWindow : public PageGameWindow {
    Q_OBJECT
  public:
    // Asks from its own copy of the lines of `page`, the page the reader shows; `starts`
    // counts the questions set since the program started (see SentenceOrderGame).
    SentenceOrderWindow(QWidget* owner, const book::PageContent& page, int& starts);

    const SentenceOrderGame& game() const { return game_; }

  private:
    void buildLayout();
    void SetNewQuestion();
    void AddWord(int label);
    void Judge();
    void Restart();
    void RevealAnswer();
    void HearAgain();
    void ShowTranslation(bool shown);
    void ShowNothingToAsk();
    // Brings the word labels and the sentence line in line with the game, touching only the
    // controls whose look changed so that a click repaints no more than it must.
    void showLabels();
    void showLine();

    SentenceOrderGame game_;
    ui::PictureBox* background_ = nullptr;
    ui::GroupBox* wordBox_ = nullptr;
    std::array<ui::TransparentLabel*, SentenceOrderGame::kLabelCount> words_{};
    std::array<int, SentenceOrderGame::kLabelCount> shownLooks_{};
    ui::TransparentLabel* translation_ = nullptr;
    QList<ui::GroupBox*> translationFrame_;
    ui::TransparentLabel* line_ = nullptr;
    ui::CheckBox* readOption_ = nullptr;
    ui::CheckBox* translationOption_ = nullptr;
    QAbstractButton* redo_ = nullptr;
    QList<QAbstractButton*> questionButtons_;
};

}  // namespace games
