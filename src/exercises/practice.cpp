#include "exercises/practice.h"

#include <QFont>

#include "book/book.h"
#include "book/page_content.h"
#include "reader/reader_layout.h"
#include "reader/reader_window.h"
#include "ui/controls.h"
#include "ui/gbk_text.h"
#include "ui/service_calls.h"

namespace exercises {

namespace {

using Kind = PageExercise::Kind;
using Outcome = PageExercise::Question::Outcome;

const QString kOverlayPrefix = QStringLiteral("透明标签练一练是否错误");
const QString kUsable = QStringLiteral("可用");
const QString kUnusable = QStringLiteral("不可用");
constexpr int kIntroPause = 7000;
constexpr int kPraisePause = 3000;
constexpr int kRetryPause = 4000;
constexpr double kQuestionPointSize = 22;

// The book page on show.
int pageOnShow(const reader::ReaderWindow& window) {
    return book::pageNumberOfScreen(window.session().ScreenIndex);
}

// The bounds of the shown page's hotspots in the page picture's coordinates, entry i
// belonging to hotspot i + 1.
QList<QRect> hotspotBounds(const reader::ReaderWindow& window) {
    QList<QRect> bounds;
    for (const ui::TransparentLabel* hotspot : window.hotspotsOf(window.session().ScreenIndex))
        bounds.append(hotspot->geometry());
    return bounds;
}

sound::SoundClip numberedClip(const char* role, int number) {
    return book::namedClip(QStringLiteral("%1%2").arg(role).arg(number).toUtf8().constData());
}

// Find-it asks in the bubble, which becomes the question label: centred near the top of the
// page, sized from the meaning's GBK length. It may be wider than the page for a long meaning.
// A page with nothing to ask says so in the same label.
void showQuestionLine(reader::ReaderWindow& window, const QString& text) {
    ui::Label* label = window.bubble();
    const int pageWidth = window.screenPicture(0) ? window.screenPicture(0)->width() : 800;
    label->setGeometry(reader::findItLabelGeometry(ui::gbkLength(text), pageWidth));
    label->setText(text);
    QFont font = label->font();
    font.setPointSizeF(kQuestionPointSize);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    label->show();
    label->raise();
}

// The page is done: the overlays let presses through again and the closing clip plays.
void finish(reader::ReaderWindow& window) {
    window.SetExerciseOverlays(kUnusable);
    ui::playClip(book::namedClip("done"));
}

// Only the exercise is wrong here, not the page: it has ended, so that the overlays stop
// taking presses with nothing asked, and the child's helper is shown the two counts.
void reportCountsDiffer(reader::ReaderWindow& window, Kind kind,
                        const PageExercise::Question& question) {
    window.SetExerciseOverlays(kUnusable);
    const QString message = kind == Kind::Practice
                                ? QStringLiteral("读音数量与找到的透明标签练一练不相等")
                                : QStringLiteral("汉语翻译数量与找到的透明标签找一找不相等");
    const QString caption = QStringLiteral("信息：");
    for (const QString& text :
         {QString::number(question.shownCount), QString::number(question.boundsCount), message}) {
        ui::showMessage(&window, text, caption);
    }
}

void askNext(reader::ReaderWindow& window, PageExercise& exercise) {
    const PageExercise::Question question = exercise.AskNext();
    switch (question.outcome) {
        case Outcome::Asked:
            if (exercise.kind() == Kind::Practice) {
                ui::playClip(question.clip);
            } else {
                showQuestionLine(window, question.text);
            }
            return;
        case Outcome::PageDone:
            // Find-it's label keeps the last meaning found.
            finish(window);
            return;
        case Outcome::CountsDiffer:
            reportCountsDiffer(window, exercise.kind(), question);
            return;
    }
}

// After a miss the entry is asked again: its recording once more, or its meaning back in the
// label wherever the child has dragged it.
void askAgain(reader::ReaderWindow& window, const PageExercise& exercise) {
    if (exercise.kind() == Kind::Practice) {
        ui::playClip(exercise.askedClip());
    } else {
        window.bubble()->setText(exercise.askedText());
    }
}

// Each pause below returns false when the window went away meanwhile: nothing more is played
// for a window that is gone.
void checkPress(reader::ReaderWindow& window, PageExercise& exercise, QPoint press) {
    const PageExercise::Press judged = exercise.JudgePress(press);
    if (!judged.found) {
        ui::playClip(numberedClip("retry", judged.retry));
        if (ui::pauseWhileOpen(&window, kRetryPause)) askAgain(window, exercise);
        return;
    }
    ui::playClip(numberedClip("praise", judged.praise));
    if (!ui::pauseWhileOpen(&window, kPraisePause)) return;
    if (exercise.TakeFound()) {
        finish(window);
        return;
    }
    askNext(window, exercise);
}

// Presses that arrive while no entry is asked, or from another page than the exercise's, are
// ignored.
void handleOverlayPress(reader::ReaderWindow& window, PageExercise& exercise, int page,
                        QPoint press) {
    if (!exercise.awaitsPressOn(page)) return;
    // A page turn or a section choice ends the exercise by making the overlays unusable; a
    // press that still reports from one belongs to no exercise.
    const auto* overlay = window.findChild<ui::TransparentLabel*>(
        kOverlayPrefix + QString::number(page) + QStringLiteral("_0"));
    if (!overlay || !overlay->isEnabled()) return;
    checkPress(window, exercise, press);
}

}  // namespace

void StartPageExercise(reader::ReaderWindow& window, PageExercise& exercise, Kind kind) {
    const book::PageContent& page = window.session().page;
    exercise.Open(kind, pageOnShow(window), page.ChineseLines, page.PageClips,
                  hotspotBounds(window));
    if (const QString line = exercise.nothingToAskLine(); !line.isEmpty()) {
        showQuestionLine(window, line);
        return;
    }
    // Practice asks by ear, so the bubble goes; find-it's keeps whatever it shows until the
    // first question replaces it.
    if (kind == Kind::Practice) {
        window.bubble()->setText(QString());
        window.bubble()->hide();
    }
    window.SetExerciseOverlays(kUsable);
    ui::playClip(book::namedClip(kind == Kind::Practice ? "practice_intro" : "findit_intro"));
    if (!ui::pauseWhileOpen(&window, kIntroPause)) return;
    askNext(window, exercise);
}

void attachPageExercises(reader::ReaderWindow& window, PageExercise& exercise) {
    reader::ReaderWindow* w = &window;
    PageExercise* e = &exercise;
    QObject::connect(w, &reader::ReaderWindow::pageLeft, w, [e] { e->ForgetPageBounds(); });
    // Every page's overlay reports its presses through this one signal.
    QObject::connect(w, &reader::ReaderWindow::overlayPressed, w,
                     [w, e](int page, QPoint press) { handleOverlayPress(*w, *e, page, press); });
}

}  // namespace exercises
