#include "exercises/answer_boxes.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>

#include "book/book.h"
#include "reader/reader_window.h"
#include "ui/controls.h"
#include "ui/gbk_text.h"
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

void SetMarkPicture(ui::PictureBox* mark, bool right) {
    mark->setPictureBytes(book::pictureBytes(right ? "mark_right" : "mark_wrong"));
}

// Box positions are relative to the page picture, which sits at the window's origin, so they
// serve as window positions for the marks as they are.
void ShowMark(ui::PictureBox* mark, QPoint position) {
    mark->move(position);
    mark->show();
}

QPoint FillInMarkPosition(const QLineEdit* box) {
    return QPoint(box->x() + box->width() + 5, box->y() - 20);
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

}  // namespace

void CheckFillInBox(reader::ReaderWindow& window, QLineEdit* box, const QString& answer) {
    QPointer<ui::PictureBox> mark = CreateMark(window);
    if (!mark) return;
    const int answerBytes = ui::gbkLength(answer);
    const int contentBytes = ui::gbkLength(box->text());
    if (contentBytes < answerBytes) return;  // an emptied box: the new mark stays hidden
    const QPoint position = FillInMarkPosition(box);
    if (contentBytes > answerBytes) {
        SetMarkPicture(mark, false);
        ShowMark(mark, position);
        OfferRightAnswer(window, box, answer);
        return;
    }
    const bool right = box->text() == answer;
    SetMarkPicture(mark, right);
    // The cross appears only once the question is answered, after any nested check of the
    // answer written on Yes.
    if (!right) OfferRightAnswer(window, box, answer);
    if (mark) ShowMark(mark, position);
}

void CheckTickBox(reader::ReaderWindow& window, QCheckBox* box, int shouldBeTicked) {
    ui::PictureBox* mark = CreateMark(window);
    if (!mark) return;
    SetMarkPicture(mark, box->isChecked() == (shouldBeTicked == 1));
    ShowMark(mark, QPoint(box->x() + 20, box->y()));
}

void attachAnswerBoxes(reader::ReaderWindow& window) {
    reader::ReaderWindow* w = &window;
    for (ui::EditBox* box : ui::childrenWithPrefix<ui::EditBox>(w, QStringLiteral("编辑框"))) {
        const QVariant answer = box->property("answer");
        if (!answer.isValid()) continue;  // not a page's answer box (the dictation screen's)
        const QString expected = answer.toString();
        QObject::connect(box, &QLineEdit::textChanged, w,
                         [w, box, expected] { CheckFillInBox(*w, box, expected); });
    }
    for (ui::CheckBox* box :
         ui::childrenWithPrefix<ui::CheckBox>(w, QStringLiteral("选择框打钩"))) {
        const QVariant expected = box->property("shouldBeTicked");
        // Page 66's boxes carry no expected state (-1) and are never checked.
        if (!expected.isValid() || (expected.toInt() != 0 && expected.toInt() != 1)) continue;
        const int shouldBeTicked = expected.toInt();
        QObject::connect(box, &QCheckBox::toggled, w,
                         [w, box, shouldBeTicked] { CheckTickBox(*w, box, shouldBeTicked); });
    }
}

}  // namespace exercises
