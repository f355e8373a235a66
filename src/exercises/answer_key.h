#pragma once

// The rules of the answer boxes printed on the exercise pages, apart from the boxes: what a
// box's content earns and where its mark goes.

#include <QPoint>
#include <QRect>
#include <QString>

namespace exercises {

enum class AnswerMark { None, Tick, Cross };

// A fill-in box's answer key: one character, compared as GBK bytes are counted.
class FillInAnswer {
  public:
    explicit FillInAnswer(const QString& answer) : answer_(answer) {}

    struct Verdict {
        AnswerMark mark = AnswerMark::None;
        // Ask whether the right answer should be written into the box.
        bool offerRightAnswer = false;
        // The cross shows while that question is open (too long content); otherwise the mark
        // shows once it is answered.
        bool markBeforeOffer = false;
    };
    // Content shorter than the answer (an emptied box) earns nothing; longer content earns a
    // cross whatever it says; content as long as the answer earns a tick when it is the
    // answer and a cross otherwise. Every cross comes with the offer of the right answer.
    Verdict judge(const QString& content) const;

    const QString& answer() const { return answer_; }

    // A box's mark stands 5 pixels right of the box and 20 pixels above its top.
    static QPoint markPosition(const QRect& box) {
        return QPoint(box.x() + box.width() + 5, box.y() - 20);
    }

  private:
    QString answer_;
};

// A tick box's answer key: whether the box should be ticked.
class TickAnswer {
  public:
    explicit TickAnswer(bool shouldBeTicked) : shouldBeTicked_(shouldBeTicked) {}

    // A tick when the box is ticked exactly when it should be, a cross otherwise.
    AnswerMark judge(bool ticked) const {
        return ticked == shouldBeTicked_ ? AnswerMark::Tick : AnswerMark::Cross;
    }

    // A tick box's mark stands 20 pixels right of the box's left edge, level with its top.
    static QPoint markPosition(const QRect& box) { return QPoint(box.x() + 20, box.y()); }

  private:
    bool shouldBeTicked_;
};

}  // namespace exercises
