#include "editor/prompts.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <utility>

namespace studio {

namespace {

const QString kTitle = QStringLiteral("qcbook 书本工作室");

}  // namespace

void DialogPrompts::tell(const QString& text) {
    QMessageBox::warning(parent_, kTitle, text);
}

QMessageBox::StandardButton DialogPrompts::ask(const QString& text,
                                               QMessageBox::StandardButtons buttons,
                                               QMessageBox::StandardButton cancel) {
    QMessageBox box(QMessageBox::Question, kTitle, text, buttons, parent_);
    box.setEscapeButton(cancel);
    const std::pair<QMessageBox::StandardButton, const char*> names[] = {
        {QMessageBox::Save, "保存"},
        {QMessageBox::Discard, "不保存"},
        {QMessageBox::Cancel, "取消"},
        {QMessageBox::Yes, "是"},
        {QMessageBox::No, "否"}};
    for (const auto& [button, name] : names) {
        if (QAbstractButton* shown = box.button(button)) shown->setText(QString::fromUtf8(name));
    }
    box.exec();
    const QMessageBox::StandardButton answer = box.standardButton(box.clickedButton());
    return answer == QMessageBox::NoButton ? cancel : answer;
}

QString DialogPrompts::chooseFolder(const QString& caption) {
    return QFileDialog::getExistingDirectory(parent_, caption);
}

QString DialogPrompts::chooseFile(const QString& caption, const QString& filter) {
    return QFileDialog::getOpenFileName(parent_, caption, QString(), filter);
}

}  // namespace studio
