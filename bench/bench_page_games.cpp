// The page games' opening time and the repaint of a word click.
//
//   bench_page_games [runs]
//
// 1. From the reader's 填一填 / 排序 press to the game window painted: the press goes through
//    the reader's own button (the opener copies the page lists and opens the window modally);
//    the time is taken once the window's first paint has finished. Medians and p95 per game.
// 2. A word click in the ordering game: which controls repaint, the area they repaint, and the
//    time from the press to the repaint done.
//
// Runs under the platform given by QT_QPA_PLATFORM (xcb under Xvfb for real painting,
// offscreen otherwise), with the real sound, random and pause services.

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <map>

#include "app/features.h"
#include "games/common/game_window.h"
#include "games/sentence_order/sentence_order_window.h"
#include "reader/reader_window.h"
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
    return v.empty() ? 0 : v[std::min(v.size() - 1, size_t(p * (v.size() - 1) + 0.5))];
}

// Once a game window has painted, notes the time and closes it, which ends its modal loop.
class OpenTimer : public QObject {
  public:
    OpenTimer() { qApp->installEventFilter(this); }
    ~OpenTimer() override { qApp->removeEventFilter(this); }
    double time(QAbstractButton* button) {
        done_ = false;
        clock_.start();
        button->click();  // returns once the window has been closed
        return elapsed_;
    }
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() != QEvent::Paint || done_) return false;
        auto* widget = qobject_cast<QWidget*>(object);
        auto* game = widget ? qobject_cast<games::GameWindow*>(widget->window()) : nullptr;
        if (!game) return false;
        done_ = true;
        // Runs after the whole window's paint pass.
        QTimer::singleShot(0, game, [this, game] {
            elapsed_ = clock_.nsecsElapsed() / 1e6;
            game->close();
        });
        return false;
    }

  private:
    QElapsedTimer clock_;
    double elapsed_ = 0;
    bool done_ = false;
};

// Records which controls of a window paint and how much of the window they cover.
class PaintSpy : public QObject {
  public:
    explicit PaintSpy(QWidget* window) : window_(window) { qApp->installEventFilter(this); }
    ~PaintSpy() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(object);
        if (event->type() == QEvent::Paint && widget && widget->window() == window_) {
            const QRegion region = static_cast<QPaintEvent*>(event)->region();
            painted[widget->objectName().isEmpty()
                        ? QString::fromLatin1(widget->metaObject()->className())
                        : widget->objectName()] += 1;
            painted_ += region.translated(widget->mapTo(window_, QPoint(0, 0)));
        }
        return false;
    }
    std::map<QString, int> painted;
    // The window's pixels painted at least once.
    qint64 area() const {
        qint64 sum = 0;
        for (const QRect& r : painted_) sum += qint64(r.width()) * r.height();
        return sum;
    }
    QRect bounds() const { return painted_.boundingRect(); }

  private:
    QWidget* window_;
    QRegion painted_;
};

void settle(int ms) {
    QElapsedTimer idle;
    idle.start();
    while (idle.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 5);
}

void press(QWidget* target) {
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QMouseEvent down(QEvent::MouseButtonPress, at, target->mapToGlobal(at), Qt::LeftButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(target, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), Qt::LeftButton,
                   Qt::NoButton, {});
    QApplication::sendEvent(target, &up);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    ui::installRealServices();
    app::ProgramSession session;
    reader::ReaderWindow reader(session.reader, session.attach());
    reader.show();
    settle(300);
    // Page 10: a long page (25 entries) with placeholders.
    auto* next = reader.findChild<QAbstractButton*>(QStringLiteral("超级按钮_下一页"));
    for (int i = 0; i < 4; ++i) next->click();
    settle(200);

    std::printf("platform: %s, %d runs per game (the machine is shared)\n",
                qPrintable(QGuiApplication::platformName()), runs);
    OpenTimer timer;
    for (const char* name : {"超级按钮_填一填", "超级按钮_排序"}) {
        auto* button = reader.findChild<QAbstractButton*>(QString::fromUtf8(name));
        std::vector<double> times;
        for (int i = 0; i < runs; ++i) {
            times.push_back(timer.time(button));
            settle(60);
        }
        std::printf("%s press to game window painted: median %.1f ms, p95 %.1f ms, first %.1f ms\n",
                    name, median(times), percentile(times, 0.95), times.front());
    }

    // A word click in the ordering game.
    games::SentenceOrderWindow window(&reader, session.reader.page,
                                      session.games.sentenceOrderStarts);
    window.show();
    settle(300);
    std::vector<double> clicks;
    PaintSpy* last = nullptr;
    for (int i = 0; i < runs; ++i) {
        QWidget* word =
            window.findChild<QWidget*>(QStringLiteral("透明标签p_打乱的单词%1").arg(i % 2 + 1));
        delete last;
        last = new PaintSpy(&window);
        QElapsedTimer clock;
        clock.start();
        press(word);
        QApplication::processEvents();
        clicks.push_back(clock.nsecsElapsed() / 1e6);
        settle(20);
    }
    std::printf("word click to repainted: median %.2f ms, p95 %.2f ms\n", median(clicks),
                percentile(clicks, 0.95));
    const QRect bounds = last->bounds();
    std::printf("one word click repaints %.1f %% of the window (within %d,%d %dx%d); controls:",
                last->area() * 100.0 / (800 * 600), bounds.x(), bounds.y(), bounds.width(),
                bounds.height());
    for (const auto& [name, count] : last->painted) std::printf(" %s", qPrintable(name));
    std::printf("\n");
    delete last;
    return 0;
}
