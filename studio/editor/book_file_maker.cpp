#include "editor/book_file_maker.h"

#include <QtConcurrent>

#include "build_book.h"
#include "pack/book_file_out.h"
#include "pack/pack.h"
#include "pictures/book_pictures.h"
#include "recordings/make_recordings.h"
#include "sources/checks.h"
#include "sources/supplied_files.h"

namespace studio {

namespace {

constexpr int kParallel = 2;

const QString kCancelled = QStringLiteral("已取消");

// The first problems of a stage that stopped, as the teacher reads them.
QString stoppedBy(const tool::Problems& problems) {
    QStringList lines;
    for (const tool::Problem& problem : problems.list().mid(0, 8)) {
        lines << QStringLiteral("%1:%2: %3")
                     .arg(QFileInfo(problem.where.file).fileName())
                     .arg(problem.where.line)
                     .arg(problem.message);
    }
    if (problems.list().size() > 8)
        lines << QStringLiteral("…… 共 %1 个问题").arg(problems.list().size());
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

BookFileMaker::BookFileMaker(QObject* parent) : QObject(parent) {}

BookFileMaker::~BookFileMaker() {
    shared_->cancelled = true;
    if (running_) ending_.append(running_->future());
    for (QFuture<Result>& run : ending_) run.waitForFinished();
}

bool BookFileMaker::start(const tool::BookSources& book, const QString& cacheFolder,
                          const QString& path) {
    if (busy()) return false;
    shared_ = std::make_shared<Shared>();
    ending_.removeIf([](const QFuture<Result>& run) { return run.isFinished(); });
    running_ = new QFutureWatcher<Result>(this);
    QFutureWatcher<Result>* watcher = running_;
    connect(watcher, &QFutureWatcher<Result>::finished, this, [this, watcher] {
        watcher->deleteLater();
        if (watcher != running_) return;  // cancelled, and already told
        running_ = nullptr;
        const Result result = watcher->result();
        emit finished(result.written, result.message);
    });
    watcher->setFuture(QtConcurrent::run(&BookFileMaker::make, book, cacheFolder, path, shared_,
                                         static_cast<QObject*>(this)));
    return true;
}

void BookFileMaker::cancel() {
    if (!running_) return;
    shared_->cancelled = true;
    // The run ends on its own; the next one may start at once.
    ending_.append(running_->future());
    running_ = nullptr;
    emit finished(false, kCancelled);
}

BookFileMaker::Result BookFileMaker::make(tool::BookSources book, QString cacheFolder, QString path,
                                          std::shared_ptr<Shared> shared, QObject* teller) {
    // Each stage is told to the window from its thread; none once cancelled.
    auto begin = [&](int stage, const QString& what) {
        if (shared->cancelled) return false;
        QMetaObject::invokeMethod(
            teller,
            [teller, stage, what, shared] {
                if (!shared->cancelled)
                    emit static_cast<BookFileMaker*>(teller)->progressed(stage, what);
            },
            Qt::QueuedConnection);
        return true;
    };
    tool::Problems problems;
    if (!begin(0, QStringLiteral("检查书本"))) return {false, kCancelled};
    tool::checkBook(book, true, tool::bookVocabulary(), problems);
    tool::checkSuppliedFiles(book, problems);
    tool::checkVoices(
        book, [](int) { return true; }, problems);
    if (!problems.empty()) return {false, stoppedBy(problems)};

    if (!begin(1, QStringLiteral("制作录音"))) return {false, kCancelled};
    tool::BuiltBook built;
    built.sources = &book;
    built.recordings =
        tool::makeRecordings(tool::recordingJobs(book), cacheFolder, kParallel, problems);
    if (!problems.empty()) return {false, stoppedBy(problems)};

    if (!begin(2, QStringLiteral("制作图片"))) return {false, kCancelled};
    tool::PictureCounts counts;
    const QString pictureCache = QDir(cacheFolder).filePath(QStringLiteral("pictures"));
    if (!tool::makePagePictures(book, pictureCache, kParallel, built.pagePictures,
                                built.pagePictureSizes, counts, problems) ||
        !tool::makeWindowPictures(book, pictureCache, kParallel, built.pictures, counts,
                                  problems)) {
        return {false, stoppedBy(problems)};
    }

    if (!begin(3, QStringLiteral("写入书本文件"))) return {false, kCancelled};
    QString error;
    if (!tool::writeBookFileTo(built, path, &error)) return {false, error};
    return {true, path};
}

}  // namespace studio
