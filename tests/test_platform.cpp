// The real pause: its length, and the child's input held back until it is over.
#include <gtest/gtest.h>

#include <qpa/qwindowsysteminterface.h>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "ui/platform.h"

namespace {

TEST(EventLoopPauser, LastsItsTimeAndNeverEndsEarly) {
    ui::EventLoopPauser pauser;
    for (int milliseconds : {300, 700}) {
        QElapsedTimer clock;
        clock.start();
        pauser.pause(milliseconds);
        const qint64 took = clock.elapsed();
        // A coarse timer may end up to 5 % early; a precise one never does. Lateness only
        // comes from a busy machine, so the upper bound is loose.
        EXPECT_GE(took, milliseconds);
        EXPECT_LT(took, milliseconds * 3 / 2 + 200);
    }
}

TEST(EventLoopPauser, HoldsClicksBackAndDeliversThemInOrderAfterwards) {
    QWidget window;
    auto* first = new QPushButton("1", &window);
    auto* second = new QPushButton("2", &window);
    second->move(0, 40);
    window.show();
    QStringList clicked;
    QObject::connect(first, &QPushButton::clicked, [&] { clicked << "first"; });
    QObject::connect(second, &QPushButton::clicked, [&] { clicked << "second"; });
    QWindow* handle = window.windowHandle();
    ASSERT_NE(handle, nullptr);
    // Clicks as the window system queues them, not sent straight to the buttons.
    const auto click = [handle](QWidget* button) {
        const QPointF at = button->geometry().center();
        for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            const Qt::MouseButtons held =
                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
            QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
                handle, at, handle->mapToGlobal(at), held, Qt::LeftButton, type);
        }
    };
    bool timerRan = false;
    QTimer::singleShot(50, [&] {
        timerRan = true;  // timers go on during the pause
        click(first);
        click(second);
    });
    ui::EventLoopPauser pauser;
    pauser.pause(200);
    EXPECT_TRUE(timerRan);
    EXPECT_TRUE(clicked.isEmpty()) << "a click was handled during the pause";
    QCoreApplication::processEvents();
    EXPECT_EQ(clicked, QStringList({"first", "second"}));
}

}  // namespace
