#pragma once

// Reads the printed English of the page shown and proposes its hotspots: on a worker thread,
// with progress and a way to stop, and without the lines the page already has a hotspot for.

#include <QFutureWatcher>
#include <QObject>
#include <atomic>

#include "editor/page_view.h"
#include "pictures/text_proposals.h"

namespace studio {

class BookDocument;

// The proposals that do not cover a hotspot the page has: one lying over an entry for at least
// `overlap` of the smaller of the two is dropped.
QList<ProposedHotspot> newProposals(const QList<tool::TextProposal>& proposals,
                                    const tool::PageSource& page, double overlap = 0.5);

class ProposalRunner : public QObject {
    Q_OBJECT

  public:
    ProposalRunner(BookDocument* document, PageView* view, QObject* parent = nullptr);
    ~ProposalRunner() override;

    bool isRunning() const { return watcher_.isRunning(); }
    // Reads the page shown; the proposals go to the view when the reading is done.
    void start();
    void cancel();

  signals:
    void progress(int percent);
    // The reading ended: `proposed` new proposals shown, or a message why there are none.
    void finished(int proposed, const QString& message);

  private:
    void done();

    BookDocument* document_;
    PageView* view_;
    int page_ = -1;
    std::atomic<bool> cancel_{false};
    QFutureWatcher<tool::ProposalResult> watcher_;
};

}  // namespace studio
