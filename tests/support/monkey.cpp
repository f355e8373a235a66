#include "support/monkey.h"

#include <qpa/qwindowsysteminterface.h>
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QEventLoop>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <thread>

#include "app/features.h"
#include "app/start_window.h"
#include "book/book_data.h"
#include "reader/reader_window.h"
#include "sound/sdl_sound.h"
#include "support/fake_services.h"
#include "ui/platform.h"

namespace testing_support {

namespace {

using Async = QWindowSystemInterface::AsynchronousDelivery;

// The real pause, made shorter; while it lasts the monkey gives no input, because the child's
// input given during a pause is held back by the window system, not sent to the controls.
class ShortPauser : public ui::Pauser {
  public:
    explicit ShortPauser(int divisor) : divisor_(divisor) {}
    void pause(int milliseconds) override {
        ++depth;
        real_.pause(std::max(1, milliseconds / divisor_));
        --depth;
    }
    int depth = 0;

  private:
    ui::EventLoopPauser real_;
    int divisor_;
};

// Draws from a generator seeded by the monkey, so that a seed gives the same questions.
class SeededRandom : public ui::Random {
  public:
    explicit SeededRandom(std::uint32_t seed) : engine_(seed) {}
    void reseed() override { engine_.discard(7); }
    int between(int low, int high) override {
        if (high <= low) return low;
        return std::uniform_int_distribution<int>(low, high)(engine_);
    }

  private:
    std::mt19937 engine_;
};

// Fails the run when the event loop has not answered for a while.
class Watchdog {
  public:
    Watchdog(int seconds, const MonkeyReport& report) : seconds_(seconds), report_(report) {
        beat();
        thread_ = std::thread([this] { watch(); });
    }
    ~Watchdog() {
        stop_ = true;
        thread_.join();
    }
    void beat() { last_ = now(); }

  private:
    static std::int64_t now() {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    void watch() {
        while (!stop_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            if (now() - last_ > seconds_ * 1000) {
                std::fprintf(stderr, "monkey: the event loop stopped answering for %d s\n",
                             seconds_);
                for (const QString& action : report_.lastActions)
                    std::fprintf(stderr, "  %s\n", qPrintable(action));
                std::fflush(stderr);
                std::abort();
            }
        }
    }
    int seconds_;
    const MonkeyReport& report_;
    std::atomic<std::int64_t> last_{0};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

class Monkey {
  public:
    explicit Monkey(const MonkeyOptions& options)
        : options_(options),
          engine_(options.seed),
          pauser_(options.pauseDivisor),
          random_(options.seed ^ 0x9E3779B9u),
          watchdog_(options.watchdogSeconds, report_) {}

    MonkeyReport run() {
        ui::Services& services = ui::services();
        const ui::Services saved = services;
        book::useBook(options_.book);
        shell_.desktop = desktop_.path();
        services = {&sound_, &pauser_, &random_, &messages_, &shell_};
        QTimer::singleShot(0, [this] { step(); });
        while (report_.events < options_.events) {
            auto start = std::make_unique<app::StartWindow>();
            start->show();
            QApplication::exec();
            start.reset();
            if (report_.events < options_.events) ++report_.restarts;
        }
        services = saved;
        book::useBook(nullptr);
        return report_;
    }

  private:
    int below(int n) { return std::uniform_int_distribution<int>(0, std::max(0, n - 1))(engine_); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(engine_) < p; }

    void note(const QString& action) {
        report_.lastActions.append(QStringLiteral("%1: %2").arg(report_.events).arg(action));
        if (qEnvironmentVariableIsSet("MONKEY_DEBUG"))
            std::fprintf(stderr, "%s\n", qPrintable(report_.lastActions.last()));
        if (report_.lastActions.size() > 40) report_.lastActions.removeFirst();
    }

    void step() {
        watchdog_.beat();
        if (report_.events >= options_.events) {
            QCoreApplication::exit(0);
            return;
        }
        // The next step is queued first: an action that opens a modal window runs its own
        // event loop, in which the monkey goes on.
        QTimer::singleShot(0, [this] { step(); });
        if (pauser_.depth > 0) return;
        QWidget* target = pickWindow();
        if (!target || !target->windowHandle()) return;
        target->setProperty("monkeySteps", target->property("monkeySteps").toInt() + 1);
        ++report_.events;
        report_.windows.insert(QString::fromLatin1(target->metaObject()->className()));
        if (auto* reader = qobject_cast<reader::ReaderWindow*>(target))
            report_.readerScreens.insert(reader->shownScreen());
        act(target);
    }

    QWidget* pickWindow() {
        if (QWidget* popup = QApplication::activePopupWidget()) return popup;
        QWidget* modal = QApplication::activeModalWidget();
        QList<QWidget*> shown;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible() && top->isWindow()) shown.append(top);
        // Mostly the window that takes input; now and then one behind it, as a child may
        // press on a window a dialog blocks.
        if (modal && !chance(0.05)) return modal;
        return shown.isEmpty() ? nullptr : shown[below(int(shown.size()))];
    }

    QPointF randomPoint(QWidget* window) {
        return QPointF(below(window->width()), below(window->height()));
    }

    void mouse(QWindow* window, QPointF at, Qt::MouseButtons held, Qt::MouseButton button,
               QEvent::Type type) {
        QWindowSystemInterface::handleMouseEvent<Async>(window, at, window->mapToGlobal(at), held,
                                                        button, type);
    }
    void click(QWindow* window, QPointF at) {
        mouse(window, at, Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress);
        mouse(window, at, Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease);
    }
    void key(QWindow* window, int code, const QString& text) {
        QWindowSystemInterface::handleKeyEvent<Async>(window, QEvent::KeyPress, code,
                                                      Qt::NoModifier, text);
        QWindowSystemInterface::handleKeyEvent<Async>(window, QEvent::KeyRelease, code,
                                                      Qt::NoModifier, text);
    }

    void act(QWidget* target) {
        QWindow* window = target->windowHandle();
        const QString name = QString::fromLatin1(target->metaObject()->className());
        if (auto* box = qobject_cast<QMessageBox*>(target); box && chance(0.7)) {
            answer(box);
            return;
        }
        const int roll = below(100);
        if (roll < 28) {
            const QPointF at = randomPoint(target);
            note(QStringLiteral("click %1 at %2,%3").arg(name).arg(at.x()).arg(at.y()));
            click(window, at);
        } else if (roll < 50) {
            pressButton(target);
        } else if (roll < 56) {
            const QPointF at = randomPoint(target);
            note(QStringLiteral("double click %1 at %2,%3").arg(name).arg(at.x()).arg(at.y()));
            click(window, at);
            QWindowSystemInterface::handleMouseEvent<Async>(window, at, window->mapToGlobal(at),
                                                            Qt::LeftButton, Qt::LeftButton,
                                                            QEvent::MouseButtonDblClick);
            click(window, at);
        } else if (roll < 62) {
            drag(target);
        } else if (roll < 66) {
            const QPointF at = randomPoint(target);
            const bool press = chance(0.5);
            note(QStringLiteral("%1 only on %2 at %3,%4")
                     .arg(press ? "press" : "release", name)
                     .arg(at.x())
                     .arg(at.y()));
            mouse(window, at, press ? Qt::LeftButton : Qt::NoButton, Qt::LeftButton,
                  press ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease);
        } else if (roll < 72) {
            const QPointF at = randomPoint(target);
            note(QStringLiteral("move over %1 to %2,%3").arg(name).arg(at.x()).arg(at.y()));
            mouse(window, at, Qt::NoButton, Qt::NoButton, QEvent::MouseMove);
        } else if (roll < 75) {
            const QPointF at = randomPoint(target);
            note(QStringLiteral("wheel over %1 at %2,%3").arg(name).arg(at.x()).arg(at.y()));
            QWindowSystemInterface::handleWheelEvent(window, at, window->mapToGlobal(at), QPoint(),
                                                     QPoint(0, chance(0.5) ? 120 : -120));
        } else if (roll < 85) {
            typeKey(window, name);
        } else if (roll < 91) {
            typeText(window, name);
        } else if (roll < 97) {
            chooseInComboBox(target);
        } else if (roll < 98) {
            if (!mayLeave(target)) return;
            note(QStringLiteral("close %1").arg(name));
            QWindowSystemInterface::handleCloseEvent<Async>(window);
        } else {
            // Nothing: the program's own timers run (banners, game clocks).
            note(QStringLiteral("wait"));
        }
    }

    // A window is left only after the monkey has stayed in it a while, so that runs reach the
    // games' ends (summaries, result windows) and not only their first questions.
    static bool mayLeave(const QWidget* window) {
        const bool hub = qobject_cast<const reader::ReaderWindow*>(window) ||
                         qobject_cast<const app::StartWindow*>(window);
        return window->property("monkeySteps").toInt() > (hub ? 60 : 300);
    }

    void answer(QMessageBox* box) {
        const QList<QAbstractButton*> buttons = box->buttons();
        if (buttons.isEmpty() || chance(0.2)) {
            note(QStringLiteral("Enter on a message box"));
            key(box->windowHandle(), Qt::Key_Return, QStringLiteral("\r"));
            return;
        }
        QAbstractButton* button = buttons[below(int(buttons.size()))];
        note(QStringLiteral("answer \"%1\" with \"%2\"").arg(box->text(), button->text()));
        click(box->windowHandle(), button->mapTo(box, QPointF(button->rect().center())));
    }

    void pressButton(QWidget* target) {
        QList<QAbstractButton*> buttons;
        for (QAbstractButton* button : target->findChildren<QAbstractButton*>())
            if (button->isVisible() && button->isEnabled() && button->window() == target)
                buttons.append(button);
        if (buttons.isEmpty()) return;
        QAbstractButton* button = buttons[below(int(buttons.size()))];
        // Leaving a window (or re-creating the reader) ends a visit early: pick those buttons
        // less often, so that runs get deep into the games, to their summaries and results.
        const QString name = button->objectName();
        const bool leaves = button->text() == QStringLiteral("返回") ||
                            button->text() == QStringLiteral("退出") ||
                            name == QStringLiteral("超级按钮_全屏");
        if (leaves && (!mayLeave(target) || !chance(0.15))) return;
        note(QStringLiteral("press button %1 \"%2\"").arg(name, button->text()));
        click(target->windowHandle(), button->mapTo(target, QPointF(button->rect().center())));
    }

    void drag(QWidget* target) {
        QWindow* window = target->windowHandle();
        QPointF at = randomPoint(target);
        note(QStringLiteral("drag on %1 from %2,%3")
                 .arg(QString::fromLatin1(target->metaObject()->className()))
                 .arg(at.x())
                 .arg(at.y()));
        mouse(window, at, Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress);
        for (int i = 0, moves = 2 + below(6); i < moves; ++i) {
            at += QPointF(below(81) - 40, below(81) - 40);
            mouse(window, at, Qt::LeftButton, Qt::NoButton, QEvent::MouseMove);
        }
        mouse(window, at, Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease);
    }

    void typeKey(QWindow* window, const QString& name) {
        static const QList<std::pair<int, QString>> keys{
            {Qt::Key_Return, "\r"},    {Qt::Key_Enter, "\r"}, {Qt::Key_Escape, "\x1b"},
            {Qt::Key_Backspace, "\b"}, {Qt::Key_Tab, "\t"},   {Qt::Key_Space, " "},
            {Qt::Key_Delete, ""},      {Qt::Key_Left, ""},    {Qt::Key_Right, ""},
            {Qt::Key_Up, ""},          {Qt::Key_Down, ""},    {Qt::Key_Home, ""},
            {Qt::Key_End, ""},         {Qt::Key_F4, ""},      {Qt::Key_PageDown, ""}};
        const auto& [code, text] = keys[below(int(keys.size()))];
        note(QStringLiteral("key %1 in %2").arg(code, 0, 16).arg(name));
        key(window, code, text);
    }

    void typeText(QWindow* window, const QString& name) {
        static const QStringList pieces{"a",  "cat",  "Tom", "red", "is", "3", "1", "ruler",
                                        "猫", "你好", "！",  ".",   "?",  "$", " ", "pencil box"};
        const QString text = pieces[below(int(pieces.size()))];
        note(QStringLiteral("type \"%1\" in %2").arg(text, name));
        for (const QChar c : text) {
            const int code = c.isLetter() && c.unicode() < 128
                                 ? Qt::Key_A + (c.toUpper().unicode() - 'A')
                             : c.isDigit() ? Qt::Key_0 + (c.unicode() - '0')
                                           : Qt::Key_unknown;
            key(window, code, QString(c));
        }
    }

    void chooseInComboBox(QWidget* target) {
        // A new unit or level starts a game over: like leaving, only after a while, so that
        // games are played to their ends too.
        if (!qobject_cast<reader::ReaderWindow*>(target) && !mayLeave(target)) return;
        QList<QComboBox*> combos;
        for (QComboBox* combo : target->findChildren<QComboBox*>())
            if (combo->isVisible() && combo->isEnabled() && combo->count() > 0)
                combos.append(combo);
        if (combos.isEmpty()) return;
        QComboBox* combo = combos[below(int(combos.size()))];
        const int index = below(combo->count());
        note(QStringLiteral("choose item %1 of %2").arg(index).arg(combo->objectName()));
        // A choice made in the list: the same signal as a click on the item.
        combo->setCurrentIndex(index);
    }

    MonkeyOptions options_;
    std::mt19937 engine_;
    MonkeyReport report_;
    sound::SdlSound sound_;  // the real sound service, on whatever driver the run was given
    ShortPauser pauser_;
    SeededRandom random_;
    ui::QtMessageBoxes messages_;
    FakeShell shell_;
    QTemporaryDir desktop_;
    Watchdog watchdog_;
};

}  // namespace

MonkeyReport runMonkey(const MonkeyOptions& options) {
    // The offscreen platform says so each time a window asks to be raised or to grab the
    // keyboard; thousands of such lines would hide a real warning.
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (message.startsWith(QLatin1String("This plugin does not support"))) return;
            if (previous) previous(type, context, message);
        });
    Monkey monkey(options);
    MonkeyReport report = monkey.run();
    qInstallMessageHandler(previous);
    return report;
}

}  // namespace testing_support
