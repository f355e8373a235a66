#include "exercises/page_exercise.h"

#include <algorithm>

#include "ui/service_calls.h"

namespace exercises {

namespace {

// An entry the page prints no meaning for: it is never asked.
const QString kPlaceholder = QStringLiteral("$");

// The edges of a hotspot that count for a press; the top reaches 10 pixels higher, so that a
// press on the printed word's upper edge still finds it.
bool pressFinds(QPoint press, const QRect& bounds) {
    return bounds.x() < press.x() && press.x() < bounds.x() + bounds.width() &&
           press.y() > bounds.y() - 10 && press.y() < bounds.y() + bounds.height();
}

}  // namespace

const char* const PageExercise::kNothingToAsk = "这一页没有可以练习的内容";

void PageExercise::Open(Kind kind, int page, const QStringList& chineseLines,
                        const QList<sound::SoundClip>& clips, const QList<QRect>& hotspotBounds) {
    asking_ = false;
    kind_ = kind;
    page_ = page;
    ui::stopAllClips();
    pageLines_ = chineseLines;
    textsLeft_ = chineseLines;
    clipsLeft_ = clips;
    fullBounds_ = hotspotBounds;
    boundsLeft_ = hotspotBounds.size();
    asked_ = 0;
    targets_.clear();
}

QString PageExercise::nothingToAskLine() const {
    const bool askable =
        std::any_of(textsLeft_.begin(), textsLeft_.end(),
                    [](const QString& meaning) { return meaning != kPlaceholder; });
    return askable ? QString() : QString::fromUtf8(kNothingToAsk);
}

PageExercise::Question PageExercise::AskNext() {
    Question question;
    for (;;) {
        ui::reseedRandom();
        ui::stopAllClips();
        targets_.clear();
        if (textsLeft_.size() != boundsLeft_) {
            asking_ = false;
            question.outcome = Question::Outcome::CountsDiffer;
            const qsizetype shown = kind_ == Kind::Practice ? clipsLeft_.size() : textsLeft_.size();
            question.shownCount = int(shown);
            question.boundsCount = int(boundsLeft_);
            return question;
        }
        // Only placeholders were left after the last find: the page is done.
        if (textsLeft_.isEmpty()) {
            asking_ = false;
            question.outcome = Question::Outcome::PageDone;
            return question;
        }
        pick();
        if (askedText() != kPlaceholder) break;
        removeAsked();
    }
    asking_ = true;
    question.outcome = Question::Outcome::Asked;
    question.text = askedText();
    question.clip = askedClip();
    return question;
}

void PageExercise::pick() {
    asked_ = ui::drawBetween(1, int(textsLeft_.size()));
    // Several hotspots may carry the same text; a press on any of them counts.
    const QString text = askedText();
    for (qsizetype i = 0; i < pageLines_.size(); ++i) {
        if (pageLines_[i] == text) targets_.prepend(int(i + 1));
    }
}

PageExercise::Press PageExercise::JudgePress(QPoint press) const {
    ui::reseedRandom();
    Press judged;
    judged.praise = ui::drawBetween(1, 3);
    judged.retry = ui::drawBetween(1, 4);
    ui::stopAllClips();
    for (int target : targets_) {
        const qsizetype i = target - 1;
        if (i >= 0 && i < fullBounds_.size() && pressFinds(press, fullBounds_[i])) {
            judged.found = true;
            break;
        }
    }
    return judged;
}

bool PageExercise::TakeFound() {
    removeAsked();
    if (!textsLeft_.isEmpty()) return false;
    asking_ = false;
    return true;
}

void PageExercise::removeAsked() {
    const qsizetype i = asked_ - 1;
    if (i < 0 || i >= textsLeft_.size()) return;
    textsLeft_.removeAt(i);
    if (i < clipsLeft_.size()) clipsLeft_.removeAt(i);
    if (i < boundsLeft_) --boundsLeft_;
}

}  // namespace exercises
