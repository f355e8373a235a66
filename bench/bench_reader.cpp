// Start-up, reader opening and page-turn timings of the real windows.
//
//   bench_reader            runs everything and prints medians and ratios
//   bench_reader --child M  one measured run of mode M (start, file, empty, bare, reader)
//   bench_reader --write-book F   writes the built-in book as the book file F
//
// With QCBOOK_BENCH_BOOK naming a book file, start-up from that file is measured alongside.
//
// Process start to first paint is measured by the parent from spawning the child to reading
// its "painted" line, for the start window, for an empty 800 x 600 window with the same fonts
// and sound start-up, and for a bare 800 x 600 Qt window, alternately in the same run. The
// start runs also report where their time goes (stages since the application object). Runs under
// the platform given by QT_QPA_PLATFORM (xcb under Xvfb for real painting, offscreen otherwise).

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <map>

#include "app/features.h"
#include "app/start_window.h"
#include "book/book.h"
#include "book/book_file.h"
#include "reader/reader_window.h"
#include "ui/controls.h"
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

long statusKb(const char* field) {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return 0;
    const QByteArray name(field);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(name)) return line.mid(name.size()).trimmed().split(' ')[0].toLong();
    }
    return 0;
}

long residentKb() {
    return statusKb("VmRSS:");
}

// Calls `done` once, the first time `target` or one of its children is painted.
class PaintWatcher : public QObject {
  public:
    PaintWatcher(QWidget* target, std::function<void()> done)
        : target_(target), done_(std::move(done)) {
        qApp->installEventFilter(this);
    }
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Paint && !fired_) {
            auto* widget = qobject_cast<QWidget*>(object);
            if (widget && (widget == target_ || target_->isAncestorOf(widget))) {
                fired_ = true;
                QTimer::singleShot(0, qApp, done_);
            }
        }
        return false;
    }

  private:
    QWidget* target_;
    std::function<void()> done_;
    bool fired_ = false;
};

// An empty window of the start window's size, with the fonts the program asks for.
class EmptyWindow : public QWidget {
  public:
    EmptyWindow() {
        setFixedSize(800, 600);
        auto* label = new QLabel(QStringLiteral("青橙"), this);
        label->setFont(ui::songFont(-1, 21));
        auto* other = new QLabel(QStringLiteral("说明"), this);
        other->move(0, 40);
        other->setFont(ui::heiFont(-1, 22));
    }
};

QElapsedTimer sinceApplication;

// Stage times of one start-up, printed after the "painted" line: services, window built,
// shown, painted.
struct Stages {
    double services = 0, built = 0, shown = 0, painted = 0;
};

int childStart(const QString& mode) {
    Stages stages;
    if (mode != "bare") ui::installRealServices();
    // "file": the book comes from the book file named by QCBOOK_BENCH_BOOK, checked in full.
    std::unique_ptr<book::BookFile> bookFile;
    if (mode == "file") {
        book::BookFileError error;
        bookFile = book::BookFile::open(qEnvironmentVariable("QCBOOK_BENCH_BOOK"), &error);
        if (!bookFile) return 2;
        book::useBook(&bookFile->book());
    }
    stages.services = sinceApplication.nsecsElapsed() / 1e6;
    std::unique_ptr<QWidget> window;
    if (mode == "bare") {
        window = std::make_unique<QWidget>();
        window->setFixedSize(800, 600);
    } else if (mode == "empty") {
        window = std::make_unique<EmptyWindow>();
    } else {
        window = std::make_unique<app::StartWindow>();
    }
    stages.built = sinceApplication.nsecsElapsed() / 1e6;
    PaintWatcher watcher(window.get(), [&stages] {
        stages.painted = sinceApplication.nsecsElapsed() / 1e6;
        std::printf("painted %.2f %.2f %.2f %.2f %ld\n", stages.services, stages.built,
                    stages.shown, stages.painted, statusKb("VmHWM:"));
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    window->show();
    stages.shown = sinceApplication.nsecsElapsed() / 1e6;
    return qApp->exec();
}

int childReader() {
    ui::installRealServices();
    app::StartWindow start;
    start.show();
    QElapsedTimer clock;
    // Once the start window is up, press its start button and time the reader's first paint.
    QTimer::singleShot(300, [&] {
        auto* button = start.findChild<QAbstractButton*>(QStringLiteral("超级按钮_开始学习"));
        QTimer::singleShot(0, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* reader = qobject_cast<reader::ReaderWindow*>(w);
                if (!reader) continue;
                new PaintWatcher(reader, [&clock, reader] {
                    std::printf("%.3f\n", clock.nsecsElapsed() / 1e6);
                    std::fflush(stdout);
                    reader->done(0);
                    QCoreApplication::exit(0);
                });
            }
        });
        clock.start();
        button->click();
    });
    return qApp->exec();
}

std::vector<Stages> stageRuns;
std::map<QString, std::vector<double>> peakKb;

double spawnAndTime(const QString& mode) {
    QProcess child;
    child.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer clock;
    clock.start();
    child.start(QCoreApplication::applicationFilePath(), {"--child", mode});
    if (!child.waitForStarted(10000)) return -1;
    QByteArray out;
    while (!out.contains('\n') && child.waitForReadyRead(20000))
        out += child.readAllStandardOutput();
    const double elapsed = clock.nsecsElapsed() / 1e6;
    child.waitForFinished(20000);
    const QList<QByteArray> fields = out.trimmed().split(' ');
    if (fields.size() == 6) {
        if (mode == "start") {
            stageRuns.push_back({fields[1].toDouble(), fields[2].toDouble(), fields[3].toDouble(),
                                 fields[4].toDouble()});
        }
        peakKb[mode].push_back(fields[5].toDouble());
    }
    return mode == "reader" ? out.trimmed().toDouble() : elapsed;
}

// Turns every page with the next button and times press to new page painted.
std::vector<double> pageTurns(reader::ReaderWindow& window, int& painted) {
    std::vector<double> times;
    auto* next = window.findChild<QAbstractButton*>(QStringLiteral("超级按钮_下一页"));
    for (int screen = 1; screen <= book::lastBookScreen(); ++screen) {
        // Give the reader the time a child gives it between two presses.
        QElapsedTimer idle;
        idle.start();
        while (idle.elapsed() < 120) QApplication::processEvents(QEventLoop::AllEvents, 10);
        QWidget* picture = window.screenPicture(screen);
        bool done = false;
        PaintWatcher watcher(picture, [&] { done = true; });
        QElapsedTimer clock;
        clock.start();
        next->click();
        while (!done && clock.elapsed() < 2000)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        painted += done;
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    return times;
}

int parent() {
    const int runs = 10;
    std::vector<double> start, empty, bare, open, fromFile;
    const bool withFile = !qEnvironmentVariableIsEmpty("QCBOOK_BENCH_BOOK");
    for (int i = 0; i < runs; ++i) {
        bare.push_back(spawnAndTime("bare"));
        empty.push_back(spawnAndTime("empty"));
        start.push_back(spawnAndTime("start"));
        if (withFile) fromFile.push_back(spawnAndTime("file"));
        open.push_back(spawnAndTime("reader"));
    }
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    std::printf(
        "start window painted:  median %.1f ms (bare Qt window %.1f ms, ratio %.2f; empty "
        "window with fonts and sound %.1f ms, ratio %.2f)\n",
        median(start), median(bare), median(start) / median(bare), median(empty),
        median(start) / median(empty));
    std::printf("peak memory at first paint, median: built-in book %.1f MB, bare window %.1f MB\n",
                median(peakKb["start"]) / 1024, median(peakKb["bare"]) / 1024);
    if (withFile) {
        std::printf(
            "start window painted from the book file: median %.1f ms (ratio to the "
            "built-in book %.2f), peak memory %.1f MB\n",
            median(fromFile), median(fromFile) / median(start), median(peakKb["file"]) / 1024);
    }
    auto stage = [](double Stages::*field) {
        std::vector<double> v;
        for (const Stages& s : stageRuns) v.push_back(s.*field);
        return median(v);
    };
    std::printf(
        "start window stages since the application object, medians: services %.1f ms, "
        "window built %.1f ms, shown %.1f ms, painted %.1f ms\n",
        stage(&Stages::services), stage(&Stages::built), stage(&Stages::shown),
        stage(&Stages::painted));
    std::printf("reader painted after the start button: median %.1f ms (p90 %.1f)\n", median(open),
                percentile(open, 0.9));

    ui::installRealServices();
    app::ProgramSession session;
    const long before = residentKb();
    reader::ReaderWindow window(session.reader, session.attach());
    window.show();
    int painted = 0;
    const std::vector<double> turns = pageTurns(window, painted);
    std::printf(
        "page turn to painted over %zu turns (%d painted): median %.2f ms, p95 %.2f ms, max %.2f "
        "ms\n",
        turns.size(), painted, median(turns), percentile(turns, 0.95),
        *std::max_element(turns.begin(), turns.end()));
    std::printf("resident memory: %ld MB before the reader, %ld MB after visiting every page\n",
                before / 1024, residentKb() / 1024);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    sinceApplication.start();
    const QStringList args = app.arguments();
    // The built-in book as a book file, for comparing start-up from one with the built-in.
    if (const int write = int(args.indexOf("--write-book")); write > 0 && write + 1 < args.size()) {
        QFile out(args[write + 1]);
        return out.open(QIODevice::WriteOnly) &&
                       out.write(book::writeBookFile(book::builtInBook())) > 0
                   ? 0
                   : 1;
    }
    const int child = int(args.indexOf("--child"));
    if (child > 0 && child + 1 < args.size()) {
        const QString mode = args[child + 1];
        if (mode == "reader") return childReader();
        return childStart(mode);
    }
    return parent();
}
