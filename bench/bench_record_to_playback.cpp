// Record to playback: the teacher presses R to stop a take, and the take plays back at once.
// Measured from the key (RecordPanel::toggleRecording) to the moment the mixer puts the take's
// first loud sample into the stream, with the real microphone path (SDL capture on the disk
// driver, fed a steady tone) and the real sound service (SDL_mixer on the disk driver). A tap
// on the mixed stream notes when each buffer was mixed and where its first loud sample lies.
//
//   bench_record_to_playback [--takes N]

#include <SDL.h>
#include <SDL_mixer.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

#include "editor/record_panel.h"
#include "model/book_document.h"
#include "sound/sdl_sound.h"
#include "sources/new_book.h"
#include "voice/capture_device.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kLoud = 1000;

// The first loud sample's time in the stream after `since`, written by the audio thread.
struct StreamTap {
    std::atomic<Clock::rep> since{0};
    std::atomic<Clock::rep> heardAt{0};
    static void collect(void* self, Uint8* stream, int bytes) {
        auto* tap = static_cast<StreamTap*>(self);
        const Clock::rep now = Clock::now().time_since_epoch().count();
        if (tap->since.load() == 0 || tap->heardAt.load() != 0 || now < tap->since.load()) return;
        const auto* samples = reinterpret_cast<const Sint16*>(stream);
        const int count = bytes / 2;
        for (int i = 0; i < count; ++i) {
            if (std::abs(int(samples[i])) >= kLoud) {
                // Stereo frames at 44100 Hz: the sample is heard this long after the buffer.
                const auto offset = std::chrono::nanoseconds(std::int64_t(i / 2 * 1e9 / 44100));
                tap->heardAt = now + std::chrono::duration_cast<Clock::duration>(offset).count();
                return;
            }
        }
    }
};

void waitMs(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

}  // namespace

int main(int argc, char** argv) {
    int takes = 20;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--takes") takes = std::atoi(argv[i + 1]);
    QTemporaryDir folder;
    // A microphone that hears a steady tone for a minute.
    {
        QFile input(folder.filePath("microphone.raw"));
        input.open(QIODevice::WriteOnly);
        std::vector<Sint16> tone(60 * studio::RecordPanel::kSampleRate);
        for (size_t n = 0; n < tone.size(); ++n)
            tone[n] = Sint16(8000 * std::sin(2 * std::numbers::pi * 440 * double(n) / 44100));
        input.write(reinterpret_cast<const char*>(tone.data()), qint64(tone.size() * 2));
    }
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILEIN", QFile::encodeName(folder.filePath("microphone.raw")));
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(folder.filePath("speaker.raw")));
    QApplication app(argc, argv);
    sound::SdlSound sound;
    if (!sound.isOpen()) {
        std::fprintf(stderr, "no sound device\n");
        return 1;
    }
    StreamTap tap;
    Mix_SetPostMix(&StreamTap::collect, &tap);

    tool::writeNewBook(folder.filePath("book"));
    studio::BookDocument document;
    document.open(folder.filePath("book"));
    studio::voice::SdlCaptureDevice microphone;
    studio::RecordPanel panel(&document, &microphone, &sound);
    panel.setEntry(0, 0);
    if (!panel.hasMicrophone()) {
        std::fprintf(stderr, "no microphone\n");
        return 1;
    }
    std::vector<double> latencies;
    int silent = 0;
    for (int take = 0; take < takes; ++take) {
        sound.stopAll();
        waitMs(300 + 13 * take % 23);  // keys land anywhere between two buffers
        panel.toggleRecording();
        waitMs(400);
        tap.heardAt = 0;
        const Clock::rep pressed = Clock::now().time_since_epoch().count();
        tap.since = pressed;
        panel.toggleRecording();
        waitMs(300);
        tap.since = 0;
        if (tap.heardAt.load() == 0) {
            ++silent;
            continue;
        }
        latencies.push_back(
            std::chrono::duration<double, std::milli>(Clock::duration(tap.heardAt.load() - pressed))
                .count());
    }
    Mix_SetPostMix(nullptr, nullptr);
    std::sort(latencies.begin(), latencies.end());
    if (latencies.empty()) {
        std::printf("no take was heard (%d silent)\n", silent);
        return 1;
    }
    const auto at = [&](double q) { return latencies[size_t(q * double(latencies.size() - 1))]; };
    std::printf(
        "record to playback (R pressed to first loud sample mixed), %zu takes, %d silent: "
        "p50 %.1f ms, p95 %.1f ms, max %.1f ms\n",
        latencies.size(), silent, at(0.5), at(0.95), latencies.back());
    return 0;
}
