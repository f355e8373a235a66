#include "games/result/result_window.h"

#include <QKeyEvent>
#include <QPlainTextEdit>

#include "ui/controls.h"

namespace games {

ResultWindow::ResultWindow(QWidget* owner, MissedWords& missed) : QDialog(owner), missed_(missed) {
    setWindowTitle(QStringLiteral("错误单词列表！"));
    setWindowFlags((windowFlags() | Qt::WindowCloseButtonHint) & ~Qt::WindowContextHelpButtonHint);
    // The edit box fills the whole client area: the report is all the window shows.
    setFixedSize(372, 220);
    report_ = new QPlainTextEdit(this);
    ui::place(report_, QStringLiteral("编辑框_错误情况"), 0, 0, 372, 220);
    report_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    report_->setFont(ui::songFont(20));
    QPalette palette = report_->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    report_->setPalette(palette);
    report_->setPlainText(reportText());
}

ResultWindow::~ResultWindow() {
    missed_.clear();
}

QString ResultWindow::reportText() const {
    QString text;
    for (const QString& entry : missed_.entries()) text += entry + QStringLiteral("\r\n");
    return text;
}

void ResultWindow::keyPressEvent(QKeyEvent* event) {
    // Escape closes this little report like its close button; Enter must not.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ShowResultWindow(QWidget* owner, MissedWords& missed) {
    ResultWindow window(owner, missed);
    window.exec();
}

}  // namespace games
