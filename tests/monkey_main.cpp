// The monkey's long run, for scripts/monkey.sh: many random inputs with the seeds given, over
// the built-in book or, with --odd-book, over the small book of another shape the tests use.
//   qcbook_monkey [--events N] [--odd-book] SEED [SEED ...]
#include <QApplication>
#include <cstdio>
#include <cstring>

#include "support/monkey.h"
#include "support/odd_book.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
    QApplication app(argc, argv);
    int events = 100000;
    bool oddBook = false;
    QList<unsigned> seeds;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--events") == 0 && i + 1 < argc) {
            events = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--odd-book") == 0) {
            oddBook = true;
        } else {
            seeds.append(unsigned(std::strtoul(argv[i], nullptr, 10)));
        }
    }
    if (seeds.isEmpty()) seeds = {1};
    const testing_support::OddBook odd;
    for (unsigned seed : seeds) {
        testing_support::MonkeyOptions options;
        options.seed = seed;
        options.events = events;
        if (oddBook) options.book = &odd.book();
        const testing_support::MonkeyReport report = testing_support::runMonkey(options);
        QStringList windows(report.windows.begin(), report.windows.end());
        windows.sort();
        std::printf("%sseed %u: %d events, %d restarts, %lld reader screens, windows: %s\n",
                    oddBook ? "odd book, " : "", seed, report.events, report.restarts,
                    static_cast<long long>(report.readerScreens.size()),
                    qPrintable(windows.join(", ")));
        std::fflush(stdout);
    }
    return 0;
}
