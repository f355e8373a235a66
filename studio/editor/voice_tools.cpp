#include "editor/voice_tools.h"

#include <QMenu>
#include <QWidget>
#include <QtConcurrent/QtConcurrentRun>

#include "editor/listen_through_dialog.h"
#include "editor/page_take_dialog.h"
#include "editor/page_view.h"
#include "editor/record_panel.h"
#include "model/book_document.h"
#include "recordings/listen_check.h"

namespace studio {

VoiceTools::VoiceTools(BookDocument* document, PageView* view, voice::CaptureDevice* microphone,
                       sound::Sound* sound, const QString& recordingsCache, QWidget* window)
    : QObject(window),
      document_(document),
      view_(view),
      microphone_(microphone),
      sound_(sound),
      cache_(recordingsCache),
      window_(window) {
    panel_ = new RecordPanel(document, microphone, sound, window);
    connect(panel_, &RecordPanel::problem, this, &VoiceTools::message);
    connect(&listening_, &QFutureWatcher<BookFlags>::finished, this, [this] {
        const BookFlags result = listening_.result();
        if (!result.error.isEmpty()) return emit message(result.error);
        emit listened(result.flags, -1);
        emit message(result.flags.isEmpty()
                         ? QStringLiteral("听完了：每个录音都像是读对了。")
                         : QStringLiteral("听完了：%1 个录音好像不对，见检查列表。")
                               .arg(result.flags.size()));
    });
}

VoiceTools::~VoiceTools() {
    listening_.waitForFinished();
}

void VoiceTools::addActions(QMenu* menu) {
    QAction* record = menu->addAction(QStringLiteral("录这一句 / 停止（在条目表里按 R）"));
    connect(record, &QAction::triggered, panel_, &RecordPanel::toggleRecording);
    QAction* keep = menu->addAction(QStringLiteral("保留这一遍，录下一句（Enter）"));
    connect(keep, &QAction::triggered, panel_, &RecordPanel::keepChosenTake);
    menu->addSeparator();
    connect(menu->addAction(QStringLiteral("整页一遍录音…")), &QAction::triggered, this,
            &VoiceTools::recordWholePage);
    connect(menu->addAction(QStringLiteral("逐句听这一页…")), &QAction::triggered, this,
            &VoiceTools::listenThroughPage);
    connect(menu->addAction(QStringLiteral("听全书的录音是不是读对了")), &QAction::triggered, this,
            &VoiceTools::listenToBook);
}

void VoiceTools::followSelection() {
    const QList<ItemRef> items = view_->selection();
    if (view_->page() >= 0 && items.size() == 1 && items.first().kind == ItemKind::Entry)
        panel_->setEntry(view_->page(), items.first().index);
    else
        panel_->setEntry(-1, -1);
}

void VoiceTools::recordWholePage() {
    if (view_->page() < 0) return;
    // The line recorder lets go of the microphone while the page's take has it.
    panel_->setEntry(-1, -1);
    PageTakeDialog dialog(document_, view_->page(), microphone_, sound_, window_);
    dialog.exec();
    followSelection();
}

void VoiceTools::listenThroughPage() {
    const int page = view_->page();
    if (page < 0) return;
    ListenThroughDialog dialog(document_, page, sound_, cache_, window_);
    connect(&dialog, &ListenThroughDialog::heard, this,
            [this](int heardPage, const QList<HeardLine>& lines) {
                QList<tool::Problem> flags;
                for (const HeardLine& line : lines) {
                    if (line.flag.isEmpty()) continue;
                    const tool::Entry& entry = document_->page(heardPage).entries.value(line.entry);
                    flags.append({entry.where, line.flag});
                }
                emit listened(flags, heardPage);
            });
    dialog.exec();
}

void VoiceTools::listenToBook() {
    if (isListening() || document_->pageCount() == 0) return;
    emit message(QStringLiteral("正在听全书的录音（第一次要先做好录音，会慢一些）……"));
    listening_.setFuture(QtConcurrent::run([book = document_->sources(), cache = cache_] {
        BookFlags result;
        tool::listen::BookHearing hearing;
        tool::Problems problems;
        if (!tool::listen::hearBook(book, cache, 1, false, hearing, problems, result.error)) {
            if (!problems.empty()) result.error = problems.report();
            result.error = QStringLiteral("没法听录音：%1").arg(result.error);
            return result;
        }
        for (int p = 0; p < hearing.pages.size(); ++p) {
            for (int i = 0; i < hearing.pages[p].size(); ++i) {
                const QString flag =
                    tool::listen::flagMessage(hearing.hearings[p][i], hearing.pages[p]);
                if (!flag.isEmpty()) result.flags.append({hearing.pages[p][i].where, flag});
            }
        }
        return result;
    }));
}

}  // namespace studio
