#include "ui/platform.h"

#include <QAbstractButton>
#include <QDateTime>
#include <QDesktopServices>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include "sound/sdl_sound.h"

namespace ui {

void EventLoopPauser::pause(int milliseconds) {
    // A precise timer: a coarse one may end a 7000 ms pause up to 5 % early or late.
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

ClockRandom::ClockRandom() {
    reseed();
}

void ClockRandom::reseed() {
    state_ = static_cast<unsigned long long>(QDateTime::currentMSecsSinceEpoch()) *
                 6364136223846793005ULL +
             1442695040888963407ULL;
}

int ClockRandom::between(int low, int high) {
    if (high <= low) return low;
    // splitmix64 step: uniform enough for drawing among a few dozen items.
    state_ += 0x9E3779B97F4A7C15ULL;
    unsigned long long z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    const unsigned long long span = static_cast<unsigned long long>(high - low) + 1;
    return low + int(z % span);
}

MessageButton QtMessageBoxes::show(QWidget* parent, const MessageRequest& request) {
    QMessageBox box(parent);
    box.setWindowTitle(request.caption.isNull() ? QStringLiteral("信息：") : request.caption);
    box.setText(request.text);
    box.setWindowModality(Qt::ApplicationModal);
    box.setIcon(request.icon == MessageIcon::Question ? QMessageBox::Question
                                                      : QMessageBox::NoIcon);
    if (request.yesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("是"));
        box.button(QMessageBox::No)->setText(QStringLiteral("否"));
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    }
    const int result = box.exec();
    if (!request.yesNo) return MessageButton::Ok;
    return result == QMessageBox::Yes ? MessageButton::Yes : MessageButton::No;
}

QSize DesktopShell::screenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(800, 600);
}

QString DesktopShell::desktopFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

QString DesktopShell::programFolder() {
    return QCoreApplication::applicationDirPath();
}

void DesktopShell::openWebAddress(const QString& address) {
    QDesktopServices::openUrl(QUrl(address));
}

void installRealServices() {
    static sound::SdlSound sound;
    static EventLoopPauser pauser;
    static ClockRandom random;
    static QtMessageBoxes messages;
    static DesktopShell shell;
    Services& s = services();
    s.sound = &sound;
    s.pauser = &pauser;
    s.random = &random;
    s.messages = &messages;
    s.shell = &shell;
}

}  // namespace ui
