#include "editor/proposal_runner.h"

#include <QtConcurrent/QtConcurrentRun>

#include "model/book_document.h"

namespace studio {

QList<ProposedHotspot> newProposals(const QList<tool::TextProposal>& proposals,
                                    const tool::PageSource& page, double overlap) {
    QList<ProposedHotspot> kept;
    for (const tool::TextProposal& proposal : proposals) {
        bool covered = false;
        for (const tool::Entry& entry : page.entries) {
            const QRect common = proposal.rect.intersected(entry.rect);
            const double smaller = std::min(proposal.rect.width() * proposal.rect.height(),
                                            entry.rect.width() * entry.rect.height());
            if (smaller > 0 && common.width() * common.height() >= overlap * smaller)
                covered = true;
        }
        if (!covered) kept.append({proposal.rect, proposal.english, proposal.confidence});
    }
    return kept;
}

ProposalRunner::ProposalRunner(BookDocument* document, PageView* view, QObject* parent)
    : QObject(parent), document_(document), view_(view) {
    connect(&watcher_, &QFutureWatcher<tool::ProposalResult>::finished, this,
            &ProposalRunner::done);
}

ProposalRunner::~ProposalRunner() {
    cancel();
    watcher_.waitForFinished();
}

void ProposalRunner::start() {
    if (isRunning() || view_->page() < 0) return;
    page_ = view_->page();
    cancel_ = false;
    // The page as the reader shows it: the scan, or the page the tool draws.
    const QImage picture = pagePicture(*document_, page_, tool::kPagePictureSize);
    tool::ProposalWatch watch;
    watch.cancel = &cancel_;
    watch.progress = [this](int percent) {
        QMetaObject::invokeMethod(
            this, [this, percent] { emit progress(percent); }, Qt::QueuedConnection);
    };
    watcher_.setFuture(
        QtConcurrent::run([picture, watch] { return tool::proposeTextHotspots(picture, watch); }));
}

void ProposalRunner::cancel() {
    cancel_ = true;
}

void ProposalRunner::done() {
    const tool::ProposalResult result = watcher_.result();
    if (result.cancelled) return emit finished(0, QStringLiteral("已停止找句子。"));
    if (!result.error.isEmpty())
        return emit finished(0, QStringLiteral("找不出页上的句子：%1").arg(result.error));
    // The teacher may have turned the page meanwhile: the proposals belong to the page read.
    if (view_->page() != page_) return emit finished(0, QString());
    const QList<ProposedHotspot> proposals = newProposals(result.proposals, document_->page(page_));
    view_->setProposals(proposals);
    emit finished(int(proposals.size()),
                  proposals.isEmpty()
                      ? QStringLiteral("页上没有找到还没有热区的句子。")
                      : QStringLiteral("找到 %1 句：点一下虚线框或按 Enter 收下，也可以全部收下。")
                            .arg(proposals.size()));
}

}  // namespace studio
