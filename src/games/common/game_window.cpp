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

void GameWindow::showShortage(QWidget* parent, QRect geometry, const QString& line) {
    const QString name = QString::fromUtf8(kShortageLine);
    auto* shortage = parent->findChild<ui::TransparentLabel*>(name, Qt::FindDirectChildrenOnly);
    if (!shortage) {
        if (line.isEmpty()) return;
        shortage = ui::addTransparentLabel(parent, name, geometry, ui::heiFont(-1, 24),
                                           QColor(192, 0, 0), Qt::AlignCenter);
    }
    shortage->setText(line);
    shortage->setVisible(!line.isEmpty());
    if (!line.isEmpty()) shortage->raise();
}

}  // namespace games
