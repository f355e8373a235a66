#include "exercises/answer_key.h"

#include "ui/gbk_text.h"

namespace exercises {

FillInAnswer::Verdict FillInAnswer::judge(const QString& content) const {
    const int answerBytes = ui::gbkLength(answer_);
    const int contentBytes = ui::gbkLength(content);
    Verdict verdict;
    if (contentBytes < answerBytes) return verdict;
    const bool right = content == answer_;
    verdict.mark = right ? AnswerMark::Tick : AnswerMark::Cross;
    verdict.offerRightAnswer = !right;
    verdict.markBeforeOffer = contentBytes > answerBytes;
    return verdict;
}

}  // namespace exercises
