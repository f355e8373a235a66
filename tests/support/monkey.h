#pragma once

// A monkey: starts the program's real windows and feeds them random input the way the window
// system would (presses, releases, double clicks, drags, moves, wheels, keys, text, window
// close requests), plus clicks on visible buttons, drop-down choices and answers to message
// boxes. It finds windows and controls generically, so every window the program has is
// covered. A watchdog ends the run when the event loop stops answering.

#include <QSet>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace book {
struct Book;
}

namespace testing_support {

struct MonkeyOptions {
    std::uint32_t seed = 1;
    int events = 5000;
    // Pauses after feedback are this many times shorter, so that a run does real work.
    int pauseDivisor = 200;
    // The event loop must answer at least this often.
    int watchdogSeconds = 10;
    // The book the program shows during the run; the built-in one when null.
    const book::Book* book = nullptr;
};

struct MonkeyReport {
    int events = 0;
    int restarts = 0;       // the program was ended (exit button, last window closed) and restarted
    QSet<QString> windows;  // class names of the top-level windows that took input
    QSet<int> readerScreens;
    QStringList lastActions;  // the most recent actions, for a failure report
};

MonkeyReport runMonkey(const MonkeyOptions& options);

}  // namespace testing_support
