#pragma once

// SentenceOrderWindow (句子排序): the words of one line of the shown page in a random order;
// the child clicks them in the order that makes the sentence. Opened modally from the
// reader's toolbar.

#include <array>

#include "book/page_content.h"
#include "games/common/game_window.h"
#include "games/sentence_order/sentence_order_game.h"
#include "ui/controls.h"

namespace games {

class SentenceOrderWindow : public GameWindow {
    Q_OBJECT
  public:
    explicit SentenceOrderWindow(QWidget* owner);

    const SentenceOrderGame& game() const { return game_; }

    // The Chinese line shown on the sentence line when the page has nothing to ask.
    static const char* const kNothingToAsk;

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

// The toolbar's opener: takes the games' copies of the page lists, then opens the window
// modally over the reader.
void OpenSentenceOrderGame(QWidget* reader, const book::PageContent& page);

}  // namespace games
