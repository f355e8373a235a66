// The monkey's long run, for scripts/monkey.sh: many random inputs with the seeds given.
//   qcbook_monkey [--events N] SEED [SEED ...]
#include <QApplication>
#include <cstdio>
#include <cstring>

#include "support/monkey.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
    QApplication app(argc, argv);
    int events = 100000;
    QList<unsigned> seeds;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--events") == 0 && i + 1 < argc) {
            events = std::atoi(argv[++i]);
        } else {
            seeds.append(unsigned(std::strtoul(argv[i], nullptr, 10)));
        }
    }
    if (seeds.isEmpty()) seeds = {1};
    for (unsigned seed : seeds) {
        testing_support::MonkeyOptions options;
        options.seed = seed;
        options.events = events;
        const testing_support::MonkeyReport report = testing_support::runMonkey(options);
        QStringList windows(report.windows.begin(), report.windows.end());
        windows.sort();
        std::printf("seed %u: %d events, %d restarts, %lld reader screens, windows: %s\n", seed,
                    report.events, report.restarts,
                    static_cast<long long>(report.readerScreens.size()),
                    qPrintable(windows.join(", ")));
        std::fflush(stdout);
    }
    return 0;
}
