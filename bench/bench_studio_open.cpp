// The studio's window on the built-in book's sources (36 pages), offscreen, median of several
// runs:
//
//   open to first page   from openFolder() to the first page painted in the page view, the
//                        page list and the entry table filled (the thumbnails come after):
//                        under 1 s
//   all thumbnails       until every page's thumbnail is made (after the first page)
//   save                 the window's save of the whole book after an edit on every page and
//                        unit: under 200 ms
//
// Runs on a copy in a temporary folder; the numbers are noisy on a shared machine.

#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench_support.h"
#include "editor/page_view.h"
#include "editor/prompts.h"
#include "editor/studio_window.h"

namespace {

using bench::copyFolder;
using bench::median;

double millis(const QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}

// Answers no question (the bench asks none) and prints what it is told.
class QuietPrompts : public studio::StudioPrompts {
  public:
    void tell(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    QMessageBox::StandardButton ask(const QString&, QMessageBox::StandardButtons,
                                    QMessageBox::StandardButton cancel) override {
        return cancel;
    }
    QString chooseFolder(const QString&) override { return {}; }
    QString chooseFile(const QString&, const QString&) override { return {}; }
};

void touchEverything(studio::BookDocument& document, int round) {
    for (int p = 0; p < document.pageCount(); ++p) {
        const QRect r = document.itemRect(p, {studio::ItemKind::Entry, 0});
        document.setGeometry(p,
                             {{{studio::ItemKind::Entry, 0}, r.translated(round % 2 ? 1 : -1, 0)}});
    }
    for (int u = 0; u < document.unitCount(); ++u)
        document.setWordText(u, 0, studio::WordField::Chinese, QStringLiteral("词%1").arg(round));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("book"));
    if (!copyFolder(QStringLiteral(QCBOOK_SOURCE_DIR "/content/book"), folder)) {
        std::fprintf(stderr, "cannot copy the built-in book's sources\n");
        return 1;
    }
    constexpr int kRuns = 7;
    std::vector<double> firstPage, thumbnails, save;
    int pages = 0;
    for (int run = 0; run < kRuns; ++run) {
        studio::StudioOptions options;
        options.recoveryFolder = dir.filePath(QStringLiteral("recovery"));
        studio::StudioWindow window(std::make_unique<QuietPrompts>(), options);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) return 1;
        QElapsedTimer timer;
        timer.start();
        if (!window.openFolder(folder)) return 1;
        // The first page is shown once the view has painted it.
        window.pageView()->viewport()->repaint();
        firstPage.push_back(millis(timer));
        if (!QTest::qWaitFor([&] { return window.thumbnailsDone(); }, 60000)) return 1;
        thumbnails.push_back(millis(timer));
        pages = window.document()->pageCount();
        touchEverything(*window.document(), run);
        timer.restart();
        window.save();
        save.push_back(millis(timer));
    }
    std::printf("studio window, built-in book (%d pages), %d runs, offscreen\n", pages, kRuns);
    std::printf("  open to first page  median %7.1f ms   (under 1000 ms)\n", median(firstPage));
    std::printf("  all thumbnails      median %7.1f ms\n", median(thumbnails));
    std::printf("  save                median %7.1f ms   (every page and unit; under 200 ms)\n",
                median(save));
    return 0;
}
