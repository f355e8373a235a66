// The matching game's costs: a deal (the board cleared and 48 tiles drawn), a pointer move
// that changes the hovered cell (with the repaint it causes, which must cover only the two
// frames' strips), and, through the real sound service on SDL's disk driver, the time from
// opening the window to the first mixed sample of its music and the memory the music holds.
//
// Run with QT_QPA_PLATFORM=offscreen. Prints medians and 95th percentiles in milliseconds.

#include <SDL.h>
#include <SDL_mixer.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <vector>

#include "games/match/match_board.h"
#include "games/match/match_game_window.h"
#include "sound/sdl_sound.h"
#include "sound/wav_decoder.h"
#include "ui/draw_panel.h"
#include "ui/platform.h"

namespace {

using Clock = std::chrono::steady_clock;

double milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

struct Stats {
    double median, p95, max;
};

Stats stats(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double q) { return samples[std::size_t(q * double(samples.size() - 1))]; };
    return {at(0.5), at(0.95), samples.back()};
}

long residentKilobytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * 4 : -1;
}

// Notes when the mixer first produces a sample that is not silence.
struct FirstSound {
    std::atomic<bool> heard{false};
    Clock::time_point when;
    static void SDLCALL collect(void* self, Uint8* stream, int length) {
        auto* first = static_cast<FirstSound*>(self);
        if (first->heard) return;
        for (int i = 0; i < length; ++i) {
            if (stream[i] != 0) {
                first->when = Clock::now();
                first->heard = true;
                return;
            }
        }
    }
};

void music(const char* how, double streamLongerThan) {
    QTemporaryDir dir;
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", dir.filePath(QStringLiteral("out.raw")).toLocal8Bit());
    sound::SdlSound::Options options;
    options.streamLoopsLongerThanSeconds = streamLongerThan;
    sound::SdlSound sound(options);
    if (!sound.isOpen()) {
        std::printf("music: no disk audio device\n");
        return;
    }
    ui::services().sound = &sound;
    FirstSound first;
    Mix_SetPostMix(&FirstSound::collect, &first);
    QThread::msleep(100);  // the device runs, mixing silence
    const long before = residentKilobytes();
    const auto opened = Clock::now();
    {
        games::MatchGameWindow window(nullptr);
        const auto built = Clock::now();
        window.show();
        QElapsedTimer waited;
        waited.start();
        while (!first.heard && waited.elapsed() < 5000) {
            QApplication::processEvents();
            QThread::msleep(1);
        }
        std::printf("music %s: window built in %.1f ms; first music sample %.1f ms after opening\n",
                    how, milliseconds(built - opened), milliseconds(first.when - opened));
        QThread::msleep(300);
        std::printf(
            "music %s: sound service holds %.1f KB while the music loops; "
            "resident memory grew by %.1f MB\n",
            how, double(sound.memoryHeld()) / 1024, double(residentKilobytes() - before) / 1024);
        window.close();
    }
    Mix_SetPostMix(nullptr, nullptr);
    ui::services().sound = nullptr;
}

void deals() {
    games::MatchGameWindow window(nullptr);
    window.show();
    QApplication::processEvents();
    auto* units = window.findChild<QComboBox*>(QStringLiteral("组合框_背单词课时选择"));
    auto* panel = window.findChild<ui::DrawPanel*>(QStringLiteral("画板_底图"));
    std::vector<double> dealt, painted;
    for (int i = 0; i < 200; ++i) {
        // Units 3 and 4 hold twelve pairs: the pick draws nothing, the change is the deal.
        const auto start = Clock::now();
        units->setCurrentIndex(2 + i % 2);
        const auto drawn = Clock::now();
        panel->repaint();
        dealt.push_back(milliseconds(drawn - start));
        painted.push_back(milliseconds(Clock::now() - drawn));
    }
    const Stats d = stats(dealt), p = stats(painted);
    std::printf("deal (clear, 48 tiles drawn): median %.2f ms, p95 %.2f ms, max %.2f ms\n",
                d.median, d.p95, d.max);
    std::printf("whole board repainted after a deal: median %.2f ms, p95 %.2f ms\n", p.median,
                p.p95);
}

struct PaintArea : QObject {
    long area = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            for (const QRect& r : static_cast<QPaintEvent*>(event)->region())
                area += long(r.width()) * r.height();
        }
        return false;
    }
};

void hovers() {
    games::MatchGameWindow window(nullptr);
    window.show();
    QApplication::processEvents();
    auto* panel = window.findChild<ui::DrawPanel*>(QStringLiteral("画板_底图"));
    PaintArea spy;
    panel->installEventFilter(&spy);
    const QPoint far[2] = {games::matchCellRect(11).center(), games::matchCellRect(46).center()};
    std::vector<double> times;
    long largest = 0;
    for (int i = 0; i < 2000; ++i) {
        const QPoint at = far[i % 2];
        spy.area = 0;
        const auto start = Clock::now();
        QMouseEvent move(QEvent::MouseMove, at, panel->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         {});
        QApplication::sendEvent(panel, &move);
        QApplication::processEvents();  // the repaint the move asked for
        times.push_back(milliseconds(Clock::now() - start));
        largest = std::max(largest, spy.area);
    }
    const Stats s = stats(times);
    const QRect span = games::matchCellRect(11).united(games::matchCellRect(46));
    std::printf("hover change with its repaint: median %.3f ms, p95 %.3f ms, max %.3f ms\n",
                s.median, s.p95, s.max);
    std::printf("hover change repaints at most %ld pixels (the span of both cells: %d)\n", largest,
                span.width() * span.height());
}

// Each time round, a streamed loop opens a fresh decoder in the audio thread: it must cost
// far less than one device buffer (11.6 ms).
void musicRewinds() {
    const sound::SoundClip clip = games::matchClips().music;
    auto stream = sound::WavStream::open(clip.constData(), std::size_t(clip.size()));
    if (!stream) return;
    std::vector<double> times;
    for (int i = 0; i < 50; ++i) {
        const auto start = Clock::now();
        stream->rewind();
        times.push_back(milliseconds(Clock::now() - start));
    }
    const Stats s = stats(times);
    std::printf("music (%.0f s): going round to its start: median %.2f ms, max %.2f ms\n",
                stream->seconds(), s.median, s.max);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::ClockRandom random;
    ui::services().random = &random;
    deals();  // also loads the fonts and pictures, as the reader has before any game opens
    hovers();
    musicRewinds();
    music("streamed", 10.0);
    music("decoded up front", 1e9);
    return 0;
}
