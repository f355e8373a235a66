// Word-finding game timings on the real window and its play area.
//
//   step      ten bursts in flight (50 flowers): one 30 ms step, moving the flowers and
//             repainting what they cover; median and p95, with a full repaint for scale
//   flight    one burst (with nine more for load) run by the play area's own clock in real
//             time: ticks, late ticks, steps skipped, and the CPU time one burst costs
//   setup     a question set-up (clear, prompt, four candidates), median, with and without
//             the repaint that follows
//
// Runs under the platform given by QT_QPA_PLATFORM (xcb under Xvfb paints for real). The
// numbers are noisy on a shared machine: read the medians and the ratios.

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPaintEvent>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "games/common/missed_words.h"
#include "games/word_finder/play_area.h"
#include "games/word_finder/word_finder_window.h"
#include "ui/animation_box.h"
#include "ui/platform.h"

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5))];
}

double cpuMs() {
    return 1000.0 * double(std::clock()) / CLOCKS_PER_SEC;
}

void settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// Ten click points spread over the candidate fields and the prompt.
QPoint burstPoint(int i) {
    static const QPoint points[] = {{420, 120}, {640, 110}, {430, 330}, {650, 340}, {150, 260},
                                    {500, 200}, {700, 200}, {480, 400}, {700, 420}, {200, 300}};
    return points[i % 10];
}

void benchStep(games::WordFinderWindow& window, const ui::AnimationObject& flower) {
    ui::AnimationBox& box = *window.playArea();
    std::vector<double> step, full, moveOnly;
    struct RegionSpy : QObject {
        std::vector<double> rects, area;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) {
                const QRegion& r = static_cast<QPaintEvent*>(e)->region();
                rects.push_back(r.rectCount());
                double a = 0;
                for (const QRect& x : r) a += x.width() * x.height();
                area.push_back(a);
            }
            return false;
        }
    } spy;
    box.installEventFilter(&spy);
    int stepsMeasured = 0;
    for (int round = 0; round < 20; ++round) {
        // Bursts three steps apart, so the fifty flowers spread over the play area.
        for (int b = 0; b < 10; ++b) {
            games::RunFlowerBurst(box, flower, burstPoint(b + round));
            box.stepClock()->stop();  // the steps are driven here, one at a time
            for (int s = 0; s < 3; ++s) box.step();
        }
        settle();
        while (box.flyingCount() == 50) {
            QElapsedTimer t;
            t.start();
            box.step();
            moveOnly.push_back(double(t.nsecsElapsed()) / 1e6);
            QApplication::processEvents();  // paints the region the flowers touched
            step.push_back(double(t.nsecsElapsed()) / 1e6);
            ++stepsMeasured;
        }
        // For scale: a repaint of the whole play area with the same flowers.
        for (int i = 0; i < 3; ++i) {
            QElapsedTimer t;
            t.start();
            box.repaint();
            full.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        while (box.flyingCount() > 0) box.step();
        settle();
    }
    std::printf(
        "step (50 flowers, move + repaint what they cover): median %.3f ms, p95 %.3f ms, "
        "max %.3f ms over %d steps\n",
        median(step), percentile(step, 0.95), percentile(step, 1.0), stepsMeasured);
    std::printf("move only median %.3f; paint region rects median %.0f, area median %.0f px\n",
                median(moveOnly), median(spy.rects), median(spy.area));
    box.removeEventFilter(&spy);
    std::printf("full repaint of the play area with 50 flowers: median %.3f ms (ratio %.1f)\n",
                median(full), median(full) / std::max(median(step), 1e-6));
    std::printf("sprites left after all flights: %d\n", box.spriteCount());
}

void benchFlight(games::WordFinderWindow& window, const ui::AnimationObject& flower) {
    ui::AnimationBox& box = *window.playArea();
    for (const bool loaded : {false, true}) {
        if (loaded) {
            for (int b = 1; b < 10; ++b) games::RunFlowerBurst(box, flower, burstPoint(b));
        }
        QElapsedTimer wall;
        wall.start();
        const auto ids = games::RunFlowerBurst(box, flower, {460, 160});
        const int watched = ids[4];  // the straight-up flight is the longest
        const double cpuStart = cpuMs();
        // The straight-up flower's path, for checking each tick moved it exactly one step.
        const QRect start = box.spriteRect(watched);
        const QPointF centre = QPointF(start.topLeft()) + QPointF(48, 62);
        const auto flight = games::flowerFlights()[4];
        const auto expected = ui::walkPositions(
            ui::flattenQuadratic({centre, centre + flight.control, centre + flight.end}),
            games::kFlowerStep);
        std::vector<double> ticks;
        int skipped = 0, index = 0;
        QEventLoop flying;
        QTimer::singleShot(10000, &flying, &QEventLoop::quit);
        // Connected after the box's own step, so it sees each tick's result.
        QMetaObject::Connection watch = QObject::connect(box.stepClock(), &QTimer::timeout, [&] {
            ticks.push_back(double(wall.nsecsElapsed()) / 1e6);
            if (!box.hasSprite(watched)) {
                flying.quit();
                return;
            }
            const QPointF c = expected[std::min<qsizetype>(index, expected.size() - 1)];
            if (box.spriteRect(watched).topLeft() != QPoint(int(c.x() - 48), int(c.y() - 62)))
                ++skipped;
            ++index;
        });
        flying.exec();
        const double wallMs = double(wall.nsecsElapsed()) / 1e6;
        const double cpu = cpuMs() - cpuStart;
        QObject::disconnect(watch);
        std::vector<double> gaps;
        for (size_t i = 1; i < ticks.size(); ++i) gaps.push_back(ticks[i] - ticks[i - 1]);
        const long late = std::count_if(gaps.begin(), gaps.end(), [](double g) { return g > 45; });
        std::printf(
            "%s: %zu ticks for %lld path steps, %d off-path, interval median %.1f ms, "
            "max %.1f ms, %ld later than 45 ms; flight %.0f ms wall, %.0f ms CPU "
            "(%.1f %% of a core)\n",
            loaded ? "one burst among ten (CPU of all ten)" : "one burst alone", ticks.size(),
            static_cast<long long>(expected.size()), skipped, median(gaps), percentile(gaps, 1.0),
            late, wallMs, cpu, 100.0 * cpu / wallMs);
        while (box.flyingCount() > 0) box.step();
        settle();
    }
}

void benchSetup(games::WordFinderWindow& window, games::MissedWords& missed) {
    std::vector<double> alone, painted;
    for (int i = 0; i < 400; ++i) {
        QElapsedTimer t;
        t.start();
        window.rules().skip();  // clear, then draw the next prompt and four candidates
        const double drawn = double(t.nsecsElapsed()) / 1e6;
        QApplication::processEvents();
        const double total = double(t.nsecsElapsed()) / 1e6;
        alone.push_back(drawn);
        painted.push_back(total);
        missed.clear();
    }
    std::printf("question set-up: median %.3f ms (p95 %.3f); with the repaint: median %.3f ms\n",
                median(alone), percentile(alone, 0.95), median(painted));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::ClockRandom random;
    ui::services().random = &random;
    games::MissedWords missed;
    games::ChineseToEnglishWindow window(nullptr, missed);
    window.show();
    settle();
    const auto* flower = window.findChild<ui::AnimationObject*>("动画物体_鲜花1");
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    benchSetup(window, missed);
    benchStep(window, *flower);
    benchFlight(window, *flower);
    return 0;
}
