#pragma once

// The content check run as the teacher works: shortly after each change (the changes of one
// moment wait for each other), on a copy of the book as it stands, on a worker thread so the
// window never waits for it. A change made while a check runs starts another once it is done.

#include <QFutureWatcher>
#include <QList>
#include <QObject>
#include <QTimer>

#include "model/book_items.h"
#include "sources/sources.h"

namespace studio {

class BookDocument;

// Where a problem lies in the book: the page and the item of its line, or the unit.
struct ProblemPlace {
    int page = -1;
    ItemRef item;  // index -1: the page as a whole
    int unit = -1;
};

// Finds the page and item (or the unit) a problem's file and line name.
ProblemPlace placeOfProblem(const BookDocument& document, const tool::Where& where);

class BookChecker : public QObject {
    Q_OBJECT

  public:
    explicit BookChecker(BookDocument* document, int delayMs = 300, QObject* parent = nullptr);
    ~BookChecker() override;

    // Checks again after the delay (each call restarts it).
    void schedule();
    bool busy() const;
    const QList<tool::Problem>& problems() const { return problems_; }

  signals:
    void checked(const QList<tool::Problem>& problems);

  private:
    void start();
    void finish();

    BookDocument* document_;
    QTimer delay_;
    QFutureWatcher<QList<tool::Problem>> running_;
    bool again_ = false;
    QList<tool::Problem> problems_;
};

}  // namespace studio
