// Find-it: the page's Chinese meanings are shown one by one in the translation bubble, and the
// child presses the place on the page where each one is.
#include <QFont>

#include "exercises/page_exercise.h"
#include "exercises/practice.h"
#include "reader/reader_layout.h"
#include "reader/reader_window.h"
#include "ui/controls.h"
#include "ui/gbk_text.h"

namespace exercises {

using namespace exercise_steps;

namespace {

constexpr double kQuestionPointSize = 22;

// The bubble becomes the question label: centred near the top of the page, sized from the
// meaning's GBK length. It may be wider than the page for a long meaning.
void ShowQuestion(reader::ReaderWindow& window, const QString& text) {
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

}  // namespace

void StartFindIt(reader::ReaderWindow& window) {
    // The bubble keeps whatever it shows until the first question replaces it.
    OpenExercise(window, kFindIt);
    window.SetExerciseOverlays(QStringLiteral("可用"));
    CollectHotspotBounds(window);
    if (!IntroduceAndWait(window, "findit_intro")) return;
    AskFindItQuestion(window);
}

void AskFindItQuestion(reader::ReaderWindow& window) {
    PageExercise& exercise = pageExercise();
    QString text;
    for (;;) {
        BeginQuestion();
        if (!LengthsAgree(window, int(exercise.RemainingTexts.size()),
                          "汉语翻译数量与找到的透明标签找一找不相等")) {
            return;
        }
        // Only placeholders were left after the last find: the page is done, and the label
        // keeps the last meaning found.
        if (exercise.RemainingTexts.isEmpty()) {
            FinishExercise(window);
            return;
        }
        text = PickQuestion(window);
        if (text != QLatin1String("$")) break;
        RemoveCurrentPick(false);
    }
    ShowQuestion(window, text);
    exercise.asking = true;
}

void CheckFindItPress(reader::ReaderWindow& window, QPoint press) {
    PageExercise& exercise = pageExercise();
    const PressDraws draws = DrawPressFeedback();
    if (HitTarget(press) == 0) {
        if (!EncourageAndWait(window, draws.retry)) return;
        window.bubble()->setText(exercise.RemainingTexts.value(exercise.CurrentPick - 1));
        return;
    }
    if (!PraiseAndWait(window, draws.praise)) return;
    RemoveCurrentPick(false);
    if (exercise.RemainingTexts.isEmpty()) {
        FinishExercise(window);
        return;
    }
    AskFindItQuestion(window);
}

}  // namespace exercises
