#pragma once

// Driving real windows as the child does: their controls found by name, buttons clicked and
// labels read; and the fixture the game windows' tests share.

#include <gtest/gtest.h>

#include <QApplication>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "support/fake_services.h"
#include "support/printers.h"

namespace testing_support {

// The control of kind T named `name` inside `root`; a test failure when there is none.
template <typename T = QWidget>
T* control(const QObject* root, const QString& name) {
    T* found = root->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << qPrintable(name);
    return found;
}

// A left click on the middle of the button named `name` inside `root`.
void click(const QObject* root, const QString& name);

// The text of the label named `name` inside `root`.
QString labelText(const QObject* root, const QString& name);

// Once the event loop runs, as it does inside the modal window a press is about to open, hands
// that window to `act`; a test failure when the modal window is not a Window.
template <typename Window>
void whenModal(QObject* context, std::function<void(Window&)> act) {
    QTimer::singleShot(0, context, [act = std::move(act)] {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr) << "no modal window of the kind expected";
        act(*window);
    });
}

// A test of one game window of kind Window, opened by the test over a stand-in for the reader
// with the recording fakes installed.
template <typename Window>
class GameWindowTest : public ::testing::Test {
  protected:
    // The window goes first, before anything a test's own fixture holds for it.
    void TearDown() override { window.reset(); }
    template <typename T = QWidget>
    T* control(const QString& name) const {
        return testing_support::control<T>(window.get(), name);
    }
    void click(const QString& name) { testing_support::click(window.get(), name); }
    QString text(const QString& label) const { return labelText(window.get(), label); }

    FakeServices fakes;
    QWidget reader;  // the window's owner, as the reader is in the program
    std::unique_ptr<Window> window;
};

}  // namespace testing_support
