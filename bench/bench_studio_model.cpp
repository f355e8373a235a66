// The studio's book model on the built-in book's sources (36 pages), median of several runs:
//
//   open        reading the content folder into a document (every file as lines, read by
//               the content tool's readers): well under 1 s
//   save        writing the whole book in place after an edit on every page and unit (each
//               file through QSaveFile): under 200 ms
//   copy        writing every text file into another folder
//   drag step   one move of a hotspot during a drag (a merged undo command, the page read
//               back): the model's share of a handle drag's repaint budget
//
// Runs on a copy in a temporary folder; the numbers are noisy on a shared machine.

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "model/book_document.h"

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double p95(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[std::min(v.size() - 1, size_t(0.95 * double(v.size() - 1) + 0.5))];
}

template <typename Work>
double millis(Work work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

bool copyFolder(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = QDir(to).filePath(QDir(from).relativeFilePath(source));
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(source, target)) return false;
    }
    return true;
}

// An edit on every page and unit, so that a save writes every one of them.
void touchEverything(studio::BookDocument& document, int round) {
    for (int p = 0; p < document.pageCount(); ++p) {
        const QRect r = document.itemRect(p, {studio::ItemKind::Entry, 0});
        document.setGeometry(p,
                             {{{studio::ItemKind::Entry, 0}, r.translated(round % 2 ? 1 : -1, 0)}});
    }
    for (int u = 0; u < document.unitCount(); ++u) {
        document.setWordText(u, 0, studio::WordField::Chinese, QStringLiteral("词%1").arg(round));
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("book"));
    if (!copyFolder(QStringLiteral(QCBOOK_SOURCE_DIR "/content/book"), folder)) {
        std::fprintf(stderr, "cannot copy the built-in book's sources\n");
        return 1;
    }
    constexpr int kRuns = 15;
    std::vector<double> open, save, copy, step;
    for (int run = 0; run < kRuns; ++run) {
        studio::BookDocument document;
        open.push_back(millis([&] { document.open(folder); }));
        touchEverything(document, run);
        save.push_back(millis([&] { document.save(); }));
        copy.push_back(millis([&] { document.writeCopy(dir.filePath(QStringLiteral("copy"))); }));
    }
    studio::BookDocument document;
    document.open(folder);
    const studio::ItemRef hotspot{studio::ItemKind::Entry, 2};
    const QRect start = document.itemRect(4, hotspot);
    document.beginGesture();
    for (int i = 1; i <= 400; ++i) {
        const QRect to = start.translated(i % 40, i % 17);
        step.push_back(millis([&] { document.setGeometry(4, {{hotspot, to}}); }));
    }
    document.endGesture();
    std::printf("studio model, built-in book (%d pages), %d runs\n", document.pageCount(), kRuns);
    std::printf("  open        median %7.1f ms   (under 1000 ms)\n", median(open));
    std::printf("  save        median %7.1f ms   (every page and unit written; under 200 ms)\n",
                median(save));
    std::printf("  copy        median %7.1f ms   (every text file into another folder)\n",
                median(copy));
    std::printf("  drag step   median %7.3f ms   p95 %.3f ms (one undo step: %d)\n", median(step),
                p95(step), int(document.undoStack()->count()));
    return 0;
}
