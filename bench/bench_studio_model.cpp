// The studio's book model on the built-in book's sources (36 pages), median of several runs:
//
//   open        reading the content folder into a document (every file as lines, read by
//               the content tool's readers): well under 1 s
//   save        writing the whole book in place after an edit on every page and unit (each
//               file through QSaveFile): under 200 ms
//   copy        writing every text file into another folder
//   drag step   one move of a hotspot during a drag (a merged undo command, the page read
//               back): the model's share of a handle drag's repaint budget
//   round trip  the built-in book's sources and the template, each loaded, edited on every
//               page and unit, undone, saved, and written out whole as a copy: the SHA-256 of
//               every file before, after the save and in the copy must all agree
//
// Runs on a copy in a temporary folder; the numbers are noisy on a shared machine.

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QMap>
#include <QTemporaryDir>
#include <QUndoStack>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench_support.h"
#include "model/book_document.h"
#include "sources/new_book.h"

namespace {

using bench::copyFolder;
using bench::median;

double p95(std::vector<double> values) {
    return bench::percentile(std::move(values), 0.95);
}

template <typename Work>
double millis(Work work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
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

// The SHA-256 of every file under `folder`, by its path inside it.
QMap<QString, QByteArray> digests(const QString& folder) {
    QMap<QString, QByteArray> sums;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        sums.insert(QDir(folder).relativeFilePath(path),
                    QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256));
    }
    return sums;
}

// Loads, edits everything, undoes it all, saves and writes a copy; prints how many files kept
// their SHA-256 through the save and in the copy.
bool roundTrip(const QString& name, const QString& folder, const QString& copy) {
    const QMap<QString, QByteArray> before = digests(folder);
    studio::BookDocument document;
    document.open(folder);
    touchEverything(document, 1);
    while (document.undoStack()->canUndo()) document.undoStack()->undo();
    document.save();
    const QMap<QString, QByteArray> after = digests(folder);
    document.writeCopy(copy);
    const QMap<QString, QByteArray> copied = digests(copy);
    int sameInCopy = 0;
    for (auto it = copied.begin(); it != copied.end(); ++it)
        sameInCopy += before.value(it.key()) == it.value();
    std::printf(
        "  round trip  %-9s %d files, SHA-256 unchanged by load-edit-undo-save: %s; text "
        "files written out whole: %d of %d identical\n",
        qPrintable(name), int(before.size()), before == after ? "all" : "NOT ALL", sameInCopy,
        int(copied.size()));
    return before == after && sameInCopy == copied.size();
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
    const QString fresh = dir.filePath(QStringLiteral("fresh"));
    copyFolder(QStringLiteral(QCBOOK_SOURCE_DIR "/content/book"), fresh);
    const QString templateBook = dir.filePath(QStringLiteral("template"));
    tool::writeNewBook(templateBook);
    const bool kept = roundTrip(QStringLiteral("built-in"), fresh, dir.filePath("fresh-copy")) &
                      roundTrip(QStringLiteral("template"), templateBook, dir.filePath("tpl-copy"));
    return kept ? 0 : 1;
}
