// Press to first loud sample, measured from outside the sound service: real presses on real
// hotspots of the reader (pages 2 to 12), the real sound service on SDL's disk driver, and a
// tap on the mixed stream that notes when each buffer was mixed and where its first loud
// sample lies. A buffer goes to the device as soon as it is mixed, so the first loud sample of
// a press is heard at (time its buffer was mixed + its offset in the buffer); the latency is
// that moment minus the press. The device's own queue comes on top on real hardware.
//
// It also counts underruns: a gap between two mixer callbacks longer than two buffers means a
// double-buffered device would have run dry.
//
//   bench_press_to_sound [--frames N] [--presses N] [--loud LEVEL]
//
// LEVEL is the sample value that counts as heard (default 1000, about -30 dBFS; 160 is about
// -46 dBFS, where the content build's trimming finds the start of a recording's sound).
//
// Run it once idle and once with both cores busy (for example `stress -c 2`).

#include <SDL.h>
#include <SDL_mixer.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/features.h"
#include "book/book.h"
#include "reader/reader_window.h"
#include "sound/sdl_sound.h"
#include "ui/controls.h"
#include "ui/platform.h"

namespace {

using Clock = std::chrono::steady_clock;
int loudLevel = 1000;  // about -30 dBFS: clearly audible speech
constexpr int kMaxBuffers = 1 << 16;

// What the mixer produced, one record per buffer, written by the audio thread only.
struct StreamTap {
    struct Buffer {
        Clock::rep mixedAt;
        int firstLoudFrame;  // -1: none
    };
    std::vector<Buffer> buffers = std::vector<Buffer>(kMaxBuffers);
    std::atomic<int> count{0};
    int frames = 0;

    static void SDLCALL collect(void* self, Uint8* stream, int length) {
        auto* tap = static_cast<StreamTap*>(self);
        const int n = tap->count.load();
        if (n >= kMaxBuffers) return;
        const auto* samples = reinterpret_cast<const Sint16*>(stream);
        const int frames = length / 4;
        int loud = -1;
        for (int i = 0; i < frames && loud < 0; ++i) {
            if (std::abs(samples[2 * i]) > loudLevel || std::abs(samples[2 * i + 1]) > loudLevel)
                loud = i;
        }
        tap->frames = frames;
        tap->buffers[n] = {Clock::now().time_since_epoch().count(), loud};
        tap->count.store(n + 1);
    }
};

double percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1,
                           std::size_t(fraction * double(values.size() - 1) + 0.5))];
}

void waitMs(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

}  // namespace

int main(int argc, char** argv) {
    int frames = 512, presses = 30;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string(argv[i]) == "--frames") frames = std::atoi(argv[i + 1]);
        if (std::string(argv[i]) == "--presses") presses = std::atoi(argv[i + 1]);
        if (std::string(argv[i]) == "--loud") loudLevel = std::atoi(argv[i + 1]);
    }
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", "/dev/null");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    sound::SdlSound::Options options;
    options.bufferFrames = frames;
    sound::SdlSound sound(options);
    if (!sound.isOpen()) {
        std::fprintf(stderr, "no disk audio device\n");
        return 1;
    }
    ui::EventLoopPauser pauser;
    ui::ClockRandom random;
    ui::QtMessageBoxes messages;
    ui::DesktopShell shell;
    ui::services() = {&sound, &pauser, &random, &messages, &shell};
    app::ProgramSession session;

    StreamTap tap;
    Mix_SetPostMix(&StreamTap::collect, &tap);
    reader::ReaderWindow window(session.reader, session.attach());
    window.show();

    std::vector<double> latencies;
    int silent = 0;
    const int perPage = (presses + 5) / 6;
    for (int screen = 0; screen < 6 && int(latencies.size()) + silent < presses; ++screen) {
        if (screen > 0)
            QTest::mouseClick(window.findChild<QAbstractButton*>("超级按钮_下一页"),
                              Qt::LeftButton);
        waitMs(600);  // the page's clips are prepared while the child looks at the page
        const book::PageDef& page = *book::pageOfScreen(screen);
        QList<QWidget*> hotspots;  // the page's hotspots carry its page number as their tag
        for (auto* label : window.screenPicture(screen)->findChildren<ui::TransparentLabel*>())
            if (ui::tagOf(label) == page.pageNumber) hotspots.prepend(label);
        for (int k = 0; k < perPage && k < hotspots.size(); ++k) {
            QWidget* hotspot = hotspots[k];
            waitMs(37 * (k + 1) % 11);  // presses land anywhere between two callbacks
            const int before = tap.count.load();
            const Clock::rep pressed = Clock::now().time_since_epoch().count();
            QTest::mousePress(hotspot, Qt::LeftButton, {}, QPoint(2, 2));
            waitMs(500);
            const int after = tap.count.load();
            double latency = -1;
            for (int b = before; b < after; ++b) {
                const StreamTap::Buffer& buffer = tap.buffers[b];
                if (buffer.mixedAt < pressed || buffer.firstLoudFrame < 0) continue;
                latency = std::chrono::duration<double, std::milli>(
                              Clock::duration(buffer.mixedAt - pressed))
                              .count() +
                          1000.0 * buffer.firstLoudFrame / 44100.0;
                break;
            }
            if (latency < 0) {
                ++silent;
            } else {
                latencies.push_back(latency);
            }
        }
    }
    Mix_SetPostMix(nullptr, nullptr);

    // Underruns: gaps between callbacks longer than two buffers.
    const int n = tap.count.load();
    const double bufferMs = 1000.0 * tap.frames / 44100.0;
    int underruns = 0;
    std::vector<double> gaps;
    for (int b = 1; b < n; ++b) {
        const double gap = std::chrono::duration<double, std::milli>(
                               Clock::duration(tap.buffers[b].mixedAt - tap.buffers[b - 1].mixedAt))
                               .count();
        gaps.push_back(gap);
        underruns += gap > 2 * bufferMs;
    }
    std::printf("buffer %d frames (%.2f ms), %zu presses measured, %d silent\n", tap.frames,
                bufferMs, latencies.size(), silent);
    std::printf("press to first loud sample: p50 %.1f ms, p95 %.1f ms, max %.1f ms\n",
                percentile(latencies, 0.5), percentile(latencies, 0.95),
                percentile(latencies, 1.0));
    std::printf("callbacks %d, gap p50 %.2f ms, max %.2f ms, underruns %d\n", n,
                percentile(gaps, 0.5), percentile(gaps, 1.0), underruns);
    return 0;
}
