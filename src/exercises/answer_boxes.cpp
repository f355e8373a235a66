#include "exercises/answer_boxes.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>

#include "book/book.h"
#include "exercises/answer_key.h"
#include "reader/reader_window.h"
#include "ui/controls.h"
#include "ui/services.h"

namespace exercises {

namespace {

constexpr int kMarkTag = 90;

// A new mark: a copy of the hidden template 图片框_正确 (same kind, size and parent), tagged so
// that the reader hides it when the page is left. It starts hidden. Null without a template.
ui::PictureBox* CreateMark(reader::ReaderWindow& window) {
    auto* markTemplate = window.findChild<ui::PictureBox*>(QStringLiteral("图片框_正确"));
    if (!markTemplate || !markTemplate->parentWidget()) return nullptr;
    auto* mark = new ui::PictureBox(markTemplate->parentWidget());
    mark->setObjectName(QStringLiteral("图片框_答案标记"));
    mark->resize(markTemplate->size());
    // A mark only shows the judgement: presses go through it to the box or page beneath.
    mark->setAttribute(Qt::WA_TransparentForMouseEvents);
    mark->hide();
    window.session().AnswerMarksShown = true;
    ui::setTag(mark, kMarkTag);
    return mark;
}

void SetMarkPicture(ui::PictureBox* mark, AnswerMark judged) {
    const char* picture = judged == AnswerMark::Tick ? "mark_right" : "mark_wrong";
    mark->setPictureBytes(book::pictureBytes(picture));
}

// Box positions are relative to the page picture, which sits at the window's origin, so they
// serve as window positions for the marks as they are.
void ShowMark(ui::PictureBox* mark, QPoint position) {
    mark->move(position);
    mark->show();
}

// Asks whether to show the right answer; on Yes writes it into the box, which checks the box
// again before this returns.
void OfferRightAnswer(reader::ReaderWindow& window, QLineEdit* box, const QString& answer) {
    if (!ui::services().messages) return;
    ui::MessageRequest request{QStringLiteral("答案填写不正确！是否提示正确答案？"),
                               QStringLiteral("答案不正确！"), true, ui::MessageIcon::Question};
    QPointer<QLineEdit> alive(box);
    if (ui::services().messages->show(&window, request) == ui::MessageButton::Yes && alive) {
        box->setText(answer);
    }
}

// Every change makes a new mark; the marks of earlier answers stay beneath it.
void CheckFillInBox(reader::ReaderWindow& window, QLineEdit* box, const FillInAnswer& key) {
    QPointer<ui::PictureBox> mark = CreateMark(window);
    if (!mark) return;
    const FillInAnswer::Verdict verdict = key.judge(box->text());
    if (verdict.mark == AnswerMark::None) return;  // an emptied box: the new mark stays hidden
    const QPoint position = FillInAnswer::markPosition(box->geometry());
    SetMarkPicture(mark, verdict.mark);
    if (verdict.markBeforeOffer) ShowMark(mark, position);
    if (verdict.offerRightAnswer) OfferRightAnswer(window, box, key.answer());
    // A cross for a wrong character appears only once the question is answered, after any
    // nested check of the answer written on Yes.
    if (!verdict.markBeforeOffer && mark) ShowMark(mark, position);
}

void CheckTickBox(reader::ReaderWindow& window, QCheckBox* box, const TickAnswer& key) {
    ui::PictureBox* mark = CreateMark(window);
    if (!mark) return;
    SetMarkPicture(mark, key.judge(box->isChecked()));
    ShowMark(mark, TickAnswer::markPosition(box->geometry()));
}

}  // namespace

void attachAnswerBoxes(reader::ReaderWindow& window) {
    reader::ReaderWindow* w = &window;
    for (ui::EditBox* box : ui::childrenWithPrefix<ui::EditBox>(w, QStringLiteral("编辑框"))) {
        const QVariant answer = box->property("answer");
        if (!answer.isValid()) continue;  // not a page's answer box (the dictation screen's)
        const FillInAnswer key(answer.toString());
        QObject::connect(box, &QLineEdit::textChanged, w,
                         [w, box, key] { CheckFillInBox(*w, box, key); });
    }
    for (ui::CheckBox* box :
         ui::childrenWithPrefix<ui::CheckBox>(w, QStringLiteral("选择框打钩"))) {
        const QVariant expected = box->property("shouldBeTicked");
        // Boxes without an expected state (-1) are never checked.
        if (!expected.isValid() || (expected.toInt() != 0 && expected.toInt() != 1)) continue;
        const TickAnswer key(expected.toInt() == 1);
        QObject::connect(box, &QCheckBox::toggled, w,
                         [w, box, key] { CheckTickBox(*w, box, key); });
    }
}

}  // namespace exercises
