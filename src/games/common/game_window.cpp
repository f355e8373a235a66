#include "games/common/game_window.h"

#include <QKeyEvent>
#include <QTimer>

#include "book/book.h"
#include "ui/control_builders.h"

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

ui::PictureBox* GameWindow::addBackground(const QString& name, const char* picture, int top) {
    auto* background =
        ui::addControl<ui::PictureBox>(this, name, {0, top, kGameWidth, kGameHeight});
    background->setPictureBytes(book::pictureBytes(picture));
    return background;
}

ui::PictureButton* GameWindow::addReturnButton(QWidget* parent, QRect geometry) {
    ui::PictureButton* button =
        ui::addPictureButton(parent, QStringLiteral("超级按钮_退出"), geometry,
                             book::picture("button_40x40"), QStringLiteral("返回"));
    connect(button, &QAbstractButton::clicked, this, &QWidget::close);
    return button;
}

QTimer* GameWindow::addClock() {
    auto* clock = new QTimer(this);
    clock->setObjectName(QStringLiteral("时钟1"));
    return clock;
}

}  // namespace games
