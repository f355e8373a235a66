#include "editor/book_checker.h"

#include <QtConcurrent>

#include "build_book.h"
#include "model/book_document.h"
#include "sources/checks.h"
#include "sources/supplied_files.h"

namespace studio {

namespace {

// The whole content check of a copy of the book, with the syntax problems the document found.
QList<tool::Problem> checkCopy(const tool::BookSources& book, QList<tool::Problem> found) {
    tool::Problems problems;
    tool::checkBook(book, true, tool::bookVocabulary(), problems);
    tool::checkSuppliedFiles(book, problems);
    found += problems.list();
    return found;
}

template <typename Items>
int itemOnLine(const Items& items, int line) {
    for (int i = 0; i < items.size(); ++i) {
        if (items[i].where.line == line) return i;
    }
    return -1;
}

}  // namespace

ProblemPlace placeOfProblem(const BookDocument& document, const tool::Where& where) {
    ProblemPlace place;
    const QString file = QFileInfo(where.file).absoluteFilePath();
    for (int p = 0; p < document.pageCount(); ++p) {
        const tool::PageSource& page = document.page(p);
        if (QFileInfo(page.file).absoluteFilePath() != file) continue;
        place.page = p;
        const std::pair<ItemKind, int> found[] = {
            {ItemKind::Entry, itemOnLine(page.entries, where.line)},
            {ItemKind::Drawing, itemOnLine(page.drawings, where.line)},
            {ItemKind::Fill, itemOnLine(page.fills, where.line)},
            {ItemKind::Tick, itemOnLine(page.ticks, where.line)},
            {ItemKind::Listen, itemOnLine(page.listens, where.line)}};
        for (const auto& [kind, index] : found) {
            if (index >= 0) {
                place.item = {kind, index};
                break;
            }
        }
        return place;
    }
    for (int u = 0; u < document.unitCount(); ++u) {
        if (QFileInfo(document.unit(u).file).absoluteFilePath() == file) place.unit = u;
    }
    return place;
}

BookChecker::BookChecker(BookDocument* document, int delayMs, QObject* parent)
    : QObject(parent), document_(document) {
    delay_.setSingleShot(true);
    delay_.setInterval(delayMs);
    connect(&delay_, &QTimer::timeout, this, &BookChecker::start);
    connect(&running_, &QFutureWatcher<QList<tool::Problem>>::finished, this, &BookChecker::finish);
}

BookChecker::~BookChecker() {
    // The worker holds its own copy of the book; only its result is waited for.
    running_.waitForFinished();
}

void BookChecker::schedule() {
    delay_.start();
}

bool BookChecker::busy() const {
    return delay_.isActive() || running_.isRunning() || again_;
}

void BookChecker::start() {
    if (running_.isRunning()) {
        again_ = true;
        return;
    }
    running_.setFuture(
        QtConcurrent::run(checkCopy, document_->sources(), document_->readProblems()));
}

void BookChecker::finish() {
    problems_ = running_.result();
    if (again_) {
        again_ = false;
        start();
        return;
    }
    emit checked(problems_);
}

}  // namespace studio
