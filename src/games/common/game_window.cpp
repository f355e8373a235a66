#include "games/common/game_window.h"

#include <QKeyEvent>

namespace games {

GameWindow::GameWindow(QWidget* owner, const QString& title) : QDialog(owner) {
    setWindowTitle(title);
    setWindowFlags((windowFlags() | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) &
                   ~Qt::WindowContextHelpButtonHint);
    setFixedSize(kGameWidth, kGameHeight);
    setModal(true);
}

void GameWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace games
