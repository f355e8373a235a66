// The monkey's short run: 5,000 random inputs over every window the program opens, with a
// fixed seed. It passes when nothing crashed, no sanitizer spoke and the event loop never
// stopped answering.
#include <gtest/gtest.h>

#include <cstdio>

#include "support/monkey.h"
#include "support/odd_book.h"

namespace {

testing_support::MonkeyReport run(int events, const book::Book* book = nullptr) {
    testing_support::MonkeyOptions options;
    options.seed = 20261209;
    options.events = events;
    options.book = book;
    const testing_support::MonkeyReport report = testing_support::runMonkey(options);
    QStringList windows(report.windows.begin(), report.windows.end());
    windows.sort();
    std::printf("%d events, %d restarts, %lld reader screens, windows: %s\n", report.events,
                report.restarts, static_cast<long long>(report.readerScreens.size()),
                qPrintable(windows.join(", ")));
    return report;
}

TEST(Monkey, FiveThousandRandomInputsBreakNothing) {
    const testing_support::MonkeyReport report = run(5000);
    EXPECT_EQ(report.events, 5000);
    EXPECT_TRUE(report.windows.contains("app::StartWindow"));
    EXPECT_TRUE(report.windows.contains("reader::ReaderWindow"));
    EXPECT_GE(report.windows.size(), 3) << "the run never got past the reader";
    EXPECT_GE(report.readerScreens.size(), 3u);
}

// The same over a small book of another shape, whose units are too small for some games.
TEST(Monkey, ThreeThousandInputsOnABookOfAnotherShapeBreakNothing) {
    const testing_support::OddBook odd;
    const testing_support::MonkeyReport report = run(3000, &odd.book());
    EXPECT_EQ(report.events, 3000);
    EXPECT_GE(report.windows.size(), 3) << "the run never got past the reader";
    EXPECT_GE(report.readerScreens.size(), 3u);
}

}  // namespace
