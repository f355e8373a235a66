#pragma once

// What the windows of the two page games (填一填, 句子排序) share: their own copy of the shown
// page's lines, taken when the window opens; the line recordings; and the line they show, with
// their question buttons disabled, when the page has nothing to ask.

#include "book/page_content.h"
#include "games/common/game_window.h"
#include "games/common/page_lines.h"

class QAbstractButton;
class QLabel;

namespace games {

class PageGameWindow : public GameWindow {
    Q_OBJECT
  public:
    PageGameWindow(QWidget* owner, const QString& title, const book::PageContent& page);

    const PageLines& lines() const { return lines_; }

    // The line shown instead of a question when the page has nothing to ask.
    static const char* const kNothingToAsk;

  protected:
    // Plays the recording of line `item` (1-based); nothing for an item the page lacks.
    void playLine(int item) const;
    // Shows kNothingToAsk on `line` and disables the question buttons; the return button
    // stays usable.
    static void showNothingToAsk(QLabel* line, const QList<QAbstractButton*>& questionButtons);

  private:
    PageLines lines_;
};

}  // namespace games
