#include "games/common/page_game_window.h"

#include <QAbstractButton>
#include <QLabel>

#include "ui/service_calls.h"

namespace games {

const char* const PageGameWindow::kNothingToAsk = "这一页没有可以练习的句子";

PageGameWindow::PageGameWindow(QWidget* owner, const QString& title, const book::PageContent& page)
    : GameWindow(owner, title), lines_(page) {}

void PageGameWindow::playLine(int item) const {
    ui::playClip(lines_.clips.value(item - 1));
}

void PageGameWindow::showNothingToAsk(QLabel* line,
                                      const QList<QAbstractButton*>& questionButtons) {
    line->setText(QString::fromUtf8(kNothingToAsk));
    for (QAbstractButton* button : questionButtons) button->setEnabled(false);
}

}  // namespace games
