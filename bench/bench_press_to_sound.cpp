// Press to first loud sample, measured from outside the sound service: real presses on real
// hotspots of the reader (pages 2 to 12), the real sound service on SDL's disk driver, and a
// tap on the mixed stream that notes when each buffer was mixed and where its first loud
// sample lies. A buffer goes to the device as soon as it is mixed, so the first loud sample of
// a press is heard at (time its buffer was mixed + its offset in the buffer); the latency is
// that moment minus the press. The device's own queue comes on top on real hardware.
//
// It also tells the mixer's part from the recording's: where the clip's sound begins (its first
// sample above -56 dBFS, just after the recording's 1 ms of lead-in) and in which buffer after
// the press that is, and how far that lies in the stream from where the stream was at the press
// (the buffer last mixed, as far as it had been played out): a press whose sound begins in the
// next buffer scores at most one buffer plus the lead-in, however late the disk driver's thread
// gets to run on a busy machine. How far into the clip its sound reaches LEVEL is the
// recording's own rise.
// Each press is made in silence (what the last press started is stopped 40 ms before), so that
// the first sound after a press is its own clip.
//
// It also counts underruns: a gap between two mixer callbacks longer than two buffers means a
// double-buffered device would have run dry.
//
//   bench_press_to_sound [--frames N] [--presses N] [--loud LEVEL] [--each 1]
//
// LEVEL is the sample value that counts as heard (default 1000, about -30 dBFS; 160 is about
// -46 dBFS, where the content build's trimming finds the start of a recording's sound). With
// --each 1 every press is listed.
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
int loudLevel = 1000;            // about -30 dBFS: clearly audible speech
constexpr int kSoundLevel = 52;  // about -56 dBFS: where a clip's sound begins
constexpr int kMaxBuffers = 1 << 16;

// What the mixer produced, one record per buffer, written by the audio thread only.
struct StreamTap {
    struct Buffer {
        Clock::rep mixedAt;
        int firstLoudFrame;   // -1: none
        int firstSoundFrame;  // -1: none
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
        const auto firstAbove = [&](int level) {
            for (int i = 0; i < frames; ++i) {
                if (std::abs(samples[2 * i]) > level || std::abs(samples[2 * i + 1]) > level)
                    return i;
            }
            return -1;
        };
        tap->frames = frames;
        tap->buffers[n] = {Clock::now().time_since_epoch().count(), firstAbove(loudLevel),
                           firstAbove(kSoundLevel)};
        tap->count.store(n + 1);
    }

    // The first buffer from `from` on in which `frameOf` finds a frame; -1 when none.
    template <typename Field>
    int firstWith(int from, int to, Field frameOf) const {
        for (int b = from; b < to; ++b)
            if (frameOf(buffers[b]) >= 0) return b;
        return -1;
    }
    // Milliseconds from `pressed` to frame `frame` of buffer `b`, taking a buffer to go out
    // when it has been mixed.
    double msAfter(Clock::rep pressed, int b, int frame) const {
        return std::chrono::duration<double, std::milli>(
                   Clock::duration(buffers[b].mixedAt - pressed))
                   .count() +
               1000.0 * frame / 44100.0;
    }
};

// What one press gave: its clip's first sound and first loud sample after the press, the first
// sound's distance in the stream, and the buffer it began in (1: the first whose mixing ended
// after the press).
struct PressResult {
    double soundMs = -1;
    double loudMs = -1;
    double soundInStreamMs = -1;
    int startBuffer = 0;
};

PressResult measurePress(const StreamTap& tap, int before, int after, Clock::rep pressed) {
    PressResult result;
    int next = before;  // the first buffer mixed after the press
    while (next < after && tap.buffers[next].mixedAt < pressed) ++next;
    const int sound =
        tap.firstWith(next, after, [](const StreamTap::Buffer& b) { return b.firstSoundFrame; });
    const int loud =
        tap.firstWith(next, after, [](const StreamTap::Buffer& b) { return b.firstLoudFrame; });
    if (sound >= 0) {
        result.soundMs = tap.msAfter(pressed, sound, tap.buffers[sound].firstSoundFrame);
        result.startBuffer = sound - next + 1;
        // Where the stream stood at the press: the last buffer mixed before it, played out for
        // the time since it was mixed, at most whole.
        const double bufferMs = 1000.0 * tap.frames / 44100.0;
        const double played =
            next > 0 ? std::min(bufferMs, -tap.msAfter(pressed, next - 1, 0)) : bufferMs;
        const double soundInStream =
            1000.0 * ((sound - next) * tap.frames + tap.buffers[sound].firstSoundFrame) / 44100.0;
        result.soundInStreamMs = bufferMs - played + soundInStream;
    }
    if (loud >= 0) result.loudMs = tap.msAfter(pressed, loud, tap.buffers[loud].firstLoudFrame);
    return result;
}

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
    bool each = false;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string(argv[i]) == "--frames") frames = std::atoi(argv[i + 1]);
        if (std::string(argv[i]) == "--presses") presses = std::atoi(argv[i + 1]);
        if (std::string(argv[i]) == "--loud") loudLevel = std::atoi(argv[i + 1]);
        if (std::string(argv[i]) == "--each") each = std::atoi(argv[i + 1]) != 0;
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

    std::vector<double> latencies, soundLatencies, rises;
    std::vector<int> startBuffers(4, 0);  // next, second, third, later
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
            sound.stopAll();  // the last clip may still sound: each press is made in silence
            waitMs(40);
            waitMs(37 * (k + 1) % 11);  // presses land anywhere between two callbacks
            const int before = tap.count.load();
            const Clock::rep pressed = Clock::now().time_since_epoch().count();
            QTest::mousePress(hotspot, Qt::LeftButton, {}, QPoint(2, 2));
            waitMs(500);
            const PressResult press = measurePress(tap, before, tap.count.load(), pressed);
            if (each) {
                std::printf(
                    "page %d hotspot %d: sound in buffer %d, %.1f ms on in the stream and "
                    "%.1f ms after the press; loud %.1f ms after the press\n",
                    page.pageNumber, k + 1, press.startBuffer, press.soundInStreamMs, press.soundMs,
                    press.loudMs);
            }
            if (press.soundMs >= 0) {
                soundLatencies.push_back(press.soundInStreamMs);
                ++startBuffers[std::min(press.startBuffer, 4) - 1];
            }
            if (press.loudMs < 0) {
                ++silent;
            } else {
                latencies.push_back(press.loudMs);
                if (press.soundMs >= 0) rises.push_back(press.loudMs - press.soundMs);
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
    std::printf(
        "press to the clip's first sound (-56 dBFS) in the stream: p50 %.1f ms, p95 %.1f ms, "
        "max %.1f ms\n",
        percentile(soundLatencies, 0.5), percentile(soundLatencies, 0.95),
        percentile(soundLatencies, 1.0));
    std::printf(
        "clip sound began in the next buffer %d times, the second %d, the third %d, "
        "later %d\n",
        startBuffers[0], startBuffers[1], startBuffers[2], startBuffers[3]);
    std::printf(
        "the recordings' own rise from first sound to first loud sample: p50 %.1f ms, "
        "max %.1f ms\n",
        percentile(rises, 0.5), percentile(rises, 1.0));
    std::printf("callbacks %d, gap p50 %.2f ms, max %.2f ms, underruns %d\n", n,
                percentile(gaps, 0.5), percentile(gaps, 1.0), underruns);
    return 0;
}
