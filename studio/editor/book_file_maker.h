#pragma once

// Try it: the book as it stands written as a book file on a worker thread, by the content
// tool's own stages (check, recordings, pictures, the file), telling each stage as it starts.
// Cancelling lets the window go on at once: the stage running is left to end on its own and
// nothing is written after it.

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <atomic>
#include <memory>

#include "sources/sources.h"

namespace studio {

class BookFileMaker : public QObject {
    Q_OBJECT

  public:
    // The stages told through progressed(), in order.
    static constexpr int kStages = 4;

    explicit BookFileMaker(QObject* parent = nullptr);
    ~BookFileMaker() override;

    // Writes `book` as the book file `path`, keeping converted files in `cacheFolder`; false
    // when a book file is being written already (a cancelled one does not count).
    bool start(const tool::BookSources& book, const QString& cacheFolder, const QString& path);
    void cancel();
    bool busy() const { return running_ && !shared_->cancelled; }

  signals:
    // `stage` of kStages has started; `what` says what it does.
    void progressed(int stage, const QString& what);
    // The book file was written (`message` is its path) or not (`message` says why; a
    // cancelled run says so).
    void finished(bool written, const QString& message);

  private:
    struct Shared {
        std::atomic<bool> cancelled{false};
    };
    struct Result {
        bool written = false;
        QString message;
    };
    static Result make(tool::BookSources book, QString cacheFolder, QString path,
                       std::shared_ptr<Shared> shared, QObject* teller);

    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
    // The run told about; a cancelled one may still be ending, in `ending_`.
    QFutureWatcher<Result>* running_ = nullptr;
    QList<QFuture<Result>> ending_;
};

}  // namespace studio
