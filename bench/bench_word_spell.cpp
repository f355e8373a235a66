// A letter tile press in the word spelling game, timed from the press to the moment both the
// pressed tile and the result line have been repainted. Two kinds of press are timed:
//   a letter in the middle of a word (the tile greys, the letter joins the result line);
//   the word's last letter (judged, the feedback sound starts, the next word is laid out).
// Runs under the platform given by QT_QPA_PLATFORM (xcb under Xvfb for real painting,
// offscreen otherwise) with the real sound service (SDL_AUDIODRIVER=dummy keeps it quiet).

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <algorithm>
#include <cstdio>
#include <set>
#include <vector>

#include "games/word_spell/word_spell_window.h"
#include "ui/platform.h"

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty()      ? 0
           : v.size() % 2 ? v[v.size() / 2]
                          : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5))];
}

// Notes which of the watched widgets have been painted since the last reset.
class PaintWatcher : public QObject {
  public:
    PaintWatcher() { qApp->installEventFilter(this); }
    void watch(std::set<QObject*> targets) { waiting_ = std::move(targets); }
    bool done() const { return waiting_.empty(); }
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Paint) waiting_.erase(object);
        return false;
    }

  private:
    std::set<QObject*> waiting_;
};

void settle(int milliseconds) {
    QElapsedTimer idle;
    idle.start();
    while (idle.elapsed() < milliseconds) QApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Presses tile `number` as the mouse would and waits until `shown` (a tile) and the result
// line are painted.
double timedPress(games::WordSpellWindow& window, int number, QWidget* shown, QLabel* result,
                  PaintWatcher& watcher) {
    games::LetterTileLabel* tile = window.tileControl(number);
    watcher.watch({shown, result});
    const QPointF at(20, 20);
    QMouseEvent press(QEvent::MouseButtonPress, at, tile->mapTo(&window, at), tile->mapToGlobal(at),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QElapsedTimer clock;
    clock.start();
    QApplication::sendEvent(tile, &press);
    while (!watcher.done() && clock.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 1);
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    QMouseEvent release(QEvent::MouseButtonRelease, at, tile->mapTo(&window, at),
                        tile->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(tile, &release);
    return ms;
}

// The leftmost tile of the current word that can still be pressed.
int freshTile(const games::WordSpellGame& game) {
    for (int number = games::kLetterTileCount; number >= 1; --number) {
        const games::LetterTile& tile = game.tile(number);
        if (tile.visible && !tile.clicked) return number;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::installRealServices();
    games::MissedWords missed;
    games::WordSpellWindow window(nullptr, missed);
    window.show();
    settle(300);
    auto* result = window.findChild<QLabel*>(QStringLiteral("透明标签_结果"));
    auto* units = window.findChild<QComboBox*>(QStringLiteral("组合框_单词排序课时选择"));
    PaintWatcher watcher;

    std::vector<double> middle, last;
    int unit = 0;
    while (middle.size() < 300 || last.size() < 60) {
        const games::WordSpellGame& game = window.game();
        const int length = int(game.question().word.size());
        const bool lastLetter = game.question().letterClicks + 1 >= length;
        if (game.passOver() || (lastLetter && game.remainingWords() == 0)) {
            // Start the next unit rather than let the pass end in its (real) summary box.
            unit = (unit + 1) % 6;
            units->setCurrentIndex(unit);
            settle(20);
            continue;
        }
        // A child's pause between presses: each press starts from an idle window.
        settle(8);
        // Mid-word the pressed tile repaints; after the last letter the pressed tile may be
        // hidden by the next word, whose leftmost tile (15) is always shown anew.
        const int pressed = freshTile(game);
        QWidget* shown = window.tileControl(lastLetter ? games::kLetterTileCount : pressed);
        const double ms = timedPress(window, pressed, shown, result, watcher);
        (lastLetter ? last : middle).push_back(ms);
    }
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    std::printf(
        "tile press to tile and result line painted, mid-word (%zu presses): median %.3f "
        "ms, p95 %.3f ms\n",
        middle.size(), median(middle), percentile(middle, 0.95));
    std::printf(
        "last letter, judged and next word laid out (%zu presses): median %.3f ms, p95 "
        "%.3f ms\n",
        last.size(), median(last), percentile(last, 0.95));
    return 0;
}
