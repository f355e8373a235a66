#include "exercises/practice.h"

#include "book/book.h"
#include "book/page_content.h"
#include "exercises/exercises.h"
#include "exercises/page_exercise.h"
#include "reader/reader_window.h"
#include "ui/controls.h"
#include "ui/service_calls.h"
#include "ui/services.h"

namespace exercises {

namespace {

const QString kOverlayPrefix = QStringLiteral("透明标签练一练是否错误");
const QString kUsable = QStringLiteral("可用");
const QString kUnusable = QStringLiteral("不可用");
const QString kPlaceholder = QStringLiteral("$");
constexpr double kTolerance = 1e-7;
constexpr int kIntroPause = 7000;
constexpr int kPraisePause = 3000;
constexpr int kRetryPause = 4000;

void stopSound() {
    if (ui::services().sound) ui::services().sound->stopAll();
}

void play(const sound::SoundClip& clip) {
    if (ui::services().sound) ui::services().sound->play(clip);
}

void reseed() {
    if (ui::services().random) ui::services().random->reseed();
}

int draw(int low, int high) {
    return ui::services().random ? ui::services().random->between(low, high) : low;
}

// Waits while the clip just started plays; false when the window was closed meanwhile, so
// that nothing more is played for a window that is gone.
bool pauseFor(reader::ReaderWindow& window, int milliseconds) {
    return ui::pauseWhileOpen(&window, milliseconds);
}

// The book page on show: 2, 4, ..., 68 for screens 0 to 33.
int pageOnShow(const reader::ReaderWindow& window) {
    return static_cast<int>(2.0 * (window.session().ScreenIndex + 1));
}

}  // namespace

namespace exercise_steps {

PressDraws DrawPressFeedback() {
    reseed();
    PressDraws draws;
    draws.praise = draw(1, 3);
    draws.retry = draw(1, 4);
    stopSound();
    return draws;
}

int HitTarget(QPoint press) {
    const PageExercise& exercise = pageExercise();
    const Bounds& full = exercise.FullBounds;
    for (int target : exercise.TargetList) {
        const qsizetype i = target - 1;
        if (i < 0 || i >= full.Left.size()) continue;
        const bool hit = full.Left[i] < press.x() && press.x() < full.Right[i] &&
                         double(press.y() + 10 - full.Top[i]) > kTolerance &&
                         press.y() < full.Bottom[i];
        if (hit) return target;
    }
    return 0;
}

bool PraiseAndWait(reader::ReaderWindow& window, int praise) {
    play(book::namedClip(QStringLiteral("praise%1").arg(praise).toUtf8().constData()));
    return pauseFor(window, kPraisePause);
}

bool EncourageAndWait(reader::ReaderWindow& window, int retry) {
    play(book::namedClip(QStringLiteral("retry%1").arg(retry).toUtf8().constData()));
    return pauseFor(window, kRetryPause);
}

void BeginQuestion() {
    reseed();
    stopSound();
    pageExercise().TargetList.clear();
}

bool LengthsAgree(reader::ReaderWindow& window, int shownCount, const char* message) {
    const PageExercise& exercise = pageExercise();
    const qsizetype bounds = exercise.HotspotBounds.Left.size();
    if (exercise.RemainingTexts.size() == bounds) return true;
    // Only the exercise is wrong here, not the page: end it so that the overlays do not keep
    // taking presses with nothing asked.
    EndExercise(window);
    if (!ui::services().messages) return false;
    const QString caption = QStringLiteral("信息：");
    for (const QString& text :
         {QString::number(shownCount), QString::number(bounds), QString::fromUtf8(message)}) {
        ui::services().messages->show(&window, {text, caption});
    }
    return false;
}

QString PickQuestion(const reader::ReaderWindow& window) {
    PageExercise& exercise = pageExercise();
    exercise.CurrentPick = draw(1, int(exercise.RemainingTexts.size()));
    const QString text = exercise.RemainingTexts.value(exercise.CurrentPick - 1);
    // Several hotspots may carry the same text; a press on any of them counts.
    const QStringList& lines = window.session().page.ChineseLines;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i] == text) exercise.TargetList.prepend(int(i + 1));
    }
    return text;
}

void RemoveCurrentPick(bool withClips) {
    PageExercise& exercise = pageExercise();
    const qsizetype i = exercise.CurrentPick - 1;
    if (i < 0 || i >= exercise.RemainingTexts.size()) return;
    exercise.RemainingTexts.removeAt(i);
    if (withClips && i < exercise.RemainingClips.size()) exercise.RemainingClips.removeAt(i);
    if (i < exercise.HotspotBounds.Left.size()) exercise.HotspotBounds.removeAt(i);
}

void EndExercise(reader::ReaderWindow& window) {
    pageExercise().asking = false;
    window.SetExerciseOverlays(kUnusable);
}

void FinishExercise(reader::ReaderWindow& window) {
    EndExercise(window);
    play(book::namedClip("done"));
}

void OpenExercise(const reader::ReaderWindow& window, int mode) {
    PageExercise& exercise = pageExercise();
    exercise.asking = false;
    exercise.ExerciseMode = mode;
    exercise.page = pageOnShow(window);
    stopSound();
    exercise.RemainingTexts = window.session().page.ChineseLines;
}

bool IntroduceAndWait(reader::ReaderWindow& window, const char* clipRole) {
    play(book::namedClip(clipRole));
    return pauseFor(window, kIntroPause);
}

}  // namespace exercise_steps

using namespace exercise_steps;

void CollectHotspotBounds(reader::ReaderWindow& window) {
    PageExercise& exercise = pageExercise();
    Bounds& bounds = exercise.HotspotBounds;
    bounds.clear();
    const int page = pageOnShow(window);
    // The window lists a page's hotspots from the highest number down; inserting each at the
    // front leaves entry i with hotspot i + 1.
    for (ui::TransparentLabel* label : window.findChildren<ui::TransparentLabel*>()) {
        const int tag = ui::tagOf(label);
        if (tag < page - 1 || tag > page + 1) continue;
        const QRect r = label->geometry();
        bounds.Left.prepend(r.x());
        bounds.Right.prepend(r.x() + r.width());
        bounds.Top.prepend(r.y());
        bounds.Bottom.prepend(r.y() + r.height());
    }
    exercise.FullBounds = bounds;
}

void StartPractice(reader::ReaderWindow& window) {
    OpenExercise(window, kPractice);
    pageExercise().RemainingClips = window.session().page.PageClips;
    window.bubble()->setText(QString());
    window.bubble()->hide();
    window.SetExerciseOverlays(kUsable);
    CollectHotspotBounds(window);
    if (!IntroduceAndWait(window, "practice_intro")) return;
    AskPracticeQuestion(window);
}

void AskPracticeQuestion(reader::ReaderWindow& window) {
    PageExercise& exercise = pageExercise();
    for (;;) {
        BeginQuestion();
        if (!LengthsAgree(window, int(exercise.RemainingClips.size()),
                          "读音数量与找到的透明标签练一练不相等")) {
            return;
        }
        // Only placeholders were left after the last find: the page is done.
        if (exercise.RemainingTexts.isEmpty()) {
            FinishExercise(window);
            return;
        }
        if (PickQuestion(window) != kPlaceholder) break;
        RemoveCurrentPick(true);
    }
    play(exercise.RemainingClips.value(exercise.CurrentPick - 1));
    exercise.asking = true;
}

void CheckPracticePress(reader::ReaderWindow& window, QPoint press) {
    PageExercise& exercise = pageExercise();
    const PressDraws draws = DrawPressFeedback();
    if (HitTarget(press) == 0) {
        if (!EncourageAndWait(window, draws.retry)) return;
        play(exercise.RemainingClips.value(exercise.CurrentPick - 1));
        return;
    }
    if (!PraiseAndWait(window, draws.praise)) return;
    RemoveCurrentPick(true);
    if (exercise.RemainingTexts.isEmpty()) {
        FinishExercise(window);
        return;
    }
    AskPracticeQuestion(window);
}

void HandleOverlayPress(reader::ReaderWindow& window, int page, QPoint press) {
    const PageExercise& exercise = pageExercise();
    if (!exercise.asking || page != exercise.page) return;
    // A page turn or a section choice ends the exercise by making the overlays unusable; a
    // press that still reports from one belongs to no exercise.
    const auto* overlay = window.findChild<ui::TransparentLabel*>(
        kOverlayPrefix + QString::number(page) + QStringLiteral("_0"));
    if (!overlay || !overlay->isEnabled()) return;
    if (exercise.ExerciseMode == kFindIt) {
        CheckFindItPress(window, press);
    } else {
        CheckPracticePress(window, press);
    }
}

void attachPageExercises(reader::ReaderWindow& window) {
    reader::ReaderWindow* w = &window;
    // The shown page's hotspot bounds go with its content.
    QObject::connect(w, &reader::ReaderWindow::pageLeft, w, &ClearHotspotBounds);
    // Every page's overlay, page 64's included, reports its presses through this one signal.
    QObject::connect(w, &reader::ReaderWindow::overlayPressed, w,
                     [w](int page, QPoint press) { HandleOverlayPress(*w, page, press); });
}

}  // namespace exercises
