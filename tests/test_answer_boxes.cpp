// The answer boxes of the exercise pages, filled and ticked as the child does it: the marks that
// appear beside them, the offer to show the right answer, and the marks going with the page.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <functional>

#include "app/features.h"
#include "book/book.h"
#include "exercises/answer_key.h"
#include "reader/reader_window.h"
#include "support/fake_services.h"
#include "ui/controls.h"

using namespace book;
using namespace reader;
using ui::MessageButton;

void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

constexpr int kPage10 = 4, kPage44 = 21;

class AnswerBoxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window = testing_support::openReader(&loading);
        window->show();
    }
    void goToScreen(int screen) {
        while (window->shownScreen() < screen) click("超级按钮_下一页");
    }
    void click(const char* name) {
        QTest::mouseClick(window->findChild<QAbstractButton*>(QString::fromUtf8(name)),
                          Qt::LeftButton);
    }
    QLineEdit* fillBox(int page, int k) const {
        return window->findChild<QLineEdit*>(QStringLiteral("编辑框%1_%2").arg(page).arg(k));
    }
    QCheckBox* tickBox(int page, int k) const {
        return window->findChild<QCheckBox*>(QStringLiteral("选择框打钩%1_%2").arg(page).arg(k));
    }
    void tick(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(7, 8)); }

    // Every mark made so far, oldest first, as "tick", "cross" or "blank", "+" when visible.
    QStringList marks() const {
        QStringList found;
        for (ui::PictureBox* mark : markBoxes()) {
            const QByteArray shown = mark->pictureBytes();
            const char* name = shown == pictureBytes("mark_right")   ? "tick"
                               : shown == pictureBytes("mark_wrong") ? "cross"
                                                                     : "blank";
            found.append(QString(name) + (mark->isVisible() ? "+" : ""));
        }
        return found;
    }
    QList<ui::PictureBox*> markBoxes() const {
        QList<ui::PictureBox*> found;
        for (auto* p : window->findChildren<ui::PictureBox*>(Qt::FindDirectChildrenOnly)) {
            if (ui::tagOf(p) == 90) found.append(p);
        }
        return found;
    }
    static QRect besideFillBox(const QLineEdit* box) {
        return QRect(box->x() + box->width() + 5, box->y() - 20, 20, 20);
    }

    testing_support::FakeServices fakes;
    QWidget loading;
    std::unique_ptr<ReaderWindow> window;
};

}  // namespace

TEST_F(AnswerBoxTest, RightDigitTickThenDeletionAndPageLeave) {
    goToScreen(kPage10);
    QLineEdit* box = fillBox(10, 1);  // expects 3
    ASSERT_EQ(box->geometry(), QRect(41, 162, 16, 16));
    QTest::keyClicks(box, "3");
    EXPECT_EQ(marks(), QStringList{"tick+"});
    EXPECT_EQ(markBoxes()[0]->geometry(), QRect(62, 142, 20, 20));
    EXPECT_TRUE(testing_support::session().reader.AnswerMarksShown);
    QTest::keyClick(box, Qt::Key_Backspace);  // deleting shows nothing new
    EXPECT_EQ(marks(), QStringList({"tick+", "blank"}));
    QTest::keyClicks(box, "3");
    click("超级按钮_下一页");
    click("超级按钮_上一页");
    EXPECT_EQ(box->text(), "3");
    EXPECT_EQ(marks(), QStringList({"tick", "blank", "tick"}));
    EXPECT_TRUE(fakes.messages.shown.isEmpty());
}

TEST_F(AnswerBoxTest, WrongDigitAnsweredYesOrNo) {
    goToScreen(kPage10);
    QLineEdit* yesBox = fillBox(10, 2);  // expects 1
    fakes.messages.answers = {MessageButton::Yes};
    QTest::keyClicks(yesBox, "4");
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    const ui::MessageRequest& question = fakes.messages.shown[0];
    EXPECT_EQ(question.text, "答案填写不正确！是否提示正确答案？");
    EXPECT_EQ(question.caption, "答案不正确！");
    EXPECT_TRUE(question.yesNo);
    EXPECT_EQ(question.icon, ui::MessageIcon::Question);
    EXPECT_EQ(yesBox->text(), "1");
    EXPECT_EQ(marks(), QStringList({"cross+", "tick+"}));
    for (ui::PictureBox* mark : markBoxes()) EXPECT_EQ(mark->geometry(), besideFillBox(yesBox));
    // The tick written by Yes is the one the child sees: it lies above the cross.
    const QObjectList stack = window->children();
    EXPECT_GT(stack.indexOf(markBoxes()[1]), stack.indexOf(markBoxes()[0]));

    QLineEdit* noBox = fillBox(10, 3);  // expects 4
    QTest::keyClicks(noBox, "2");
    EXPECT_EQ(noBox->text(), "2");
    EXPECT_EQ(marks(), QStringList({"cross+", "tick+", "cross+"}));
    EXPECT_EQ(markBoxes()[2]->geometry(), besideFillBox(noBox));
}

TEST_F(AnswerBoxTest, TooLongContentIsWrongWhateverItSays) {
    goToScreen(kPage10);
    QTest::keyClicks(fillBox(10, 1), "33");  // the right digit, twice
    EXPECT_EQ(fillBox(10, 1)->text(), "33");
    fakes.messages.answers = {MessageButton::Yes};
    fillBox(10, 4)->insert(QStringLiteral("二"));  // one Chinese character: two bytes
    EXPECT_EQ(fillBox(10, 4)->text(), "2");
    EXPECT_EQ(fakes.messages.shown.size(), 2);
    EXPECT_EQ(marks(), QStringList({"tick+", "cross+", "cross+", "tick+"}));
}

// While the question is open, a wrong digit has no cross yet; too long content has one.
TEST_F(AnswerBoxTest, CrossBesideTheBoxWhileTheQuestionIsOpen) {
    struct WatchingMessages : ui::MessageBoxes {
        std::function<QStringList()> look;
        QList<QStringList> seen;
        ui::MessageButton show(QWidget*, const ui::MessageRequest&) override {
            seen.append(look());
            return ui::MessageButton::No;
        }
    } watching;
    watching.look = [this] { return marks(); };
    ui::services().messages = &watching;
    goToScreen(kPage10);
    QTest::keyClicks(fillBox(10, 1), "4");
    QTest::keyClicks(fillBox(10, 2), "12");
    EXPECT_EQ(watching.seen, (QList<QStringList>{{"cross"}, {"cross+", "tick+", "cross+"}}));
}

TEST_F(AnswerBoxTest, TickingAndUntickingMarksBothChanges) {
    goToScreen(kPage44);
    QCheckBox* shouldTick = tickBox(44, 1);
    QCheckBox* shouldNot = tickBox(44, 2);
    for (QCheckBox* box : {shouldTick, shouldTick, shouldNot, shouldNot}) tick(box);
    EXPECT_FALSE(shouldTick->isChecked());
    EXPECT_EQ(marks(), QStringList({"tick+", "cross+", "cross+", "tick+"}));
    const QList<ui::PictureBox*> made = markBoxes();
    EXPECT_EQ(made[0]->geometry(), QRect(shouldTick->x() + 20, shouldTick->y(), 20, 20));
    EXPECT_EQ(made[1]->geometry(), made[0]->geometry());
    EXPECT_EQ(made[3]->geometry(), QRect(shouldNot->x() + 20, shouldNot->y(), 20, 20));
}

TEST_F(AnswerBoxTest, EveryBoxIsCheckedAgainstItsOwnAnswer) {
    for (int screen : {4, 9, 14, 21, 26, 31, 32}) {  // pages 10, 20, 30, 44, 54, 64, 66
        goToScreen(screen);
        const book::PageDef& page = *pageOfScreen(screen);
        for (int i = 0; i < page.fillBoxCount; ++i) {
            const book::FillBoxDef& def = page.fillBoxes[i];
            QLineEdit* box = fillBox(page.pageNumber, def.number);
            QTest::keyClicks(box, def.answer);
            EXPECT_EQ(marks().last(), "tick+") << page.pageNumber << "_" << def.number;
            EXPECT_EQ(markBoxes().last()->geometry(), besideFillBox(box));
        }
        for (int i = 0; i < page.tickBoxCount; ++i) {
            const book::TickBoxDef& def = page.tickBoxes[i];
            const qsizetype before = marks().size();
            tick(tickBox(page.pageNumber, def.number));
            ASSERT_TRUE(tickBox(page.pageNumber, def.number)->isChecked());
            // Page 66's boxes have no answer key and are never marked.
            const QStringList expected = def.shouldBeTicked == 1   ? QStringList{"tick+"}
                                         : def.shouldBeTicked == 0 ? QStringList{"cross+"}
                                                                   : QStringList{};
            EXPECT_EQ(marks().mid(before), expected) << page.pageNumber << "_" << def.number;
        }
    }
    EXPECT_TRUE(fakes.messages.shown.isEmpty());
}

TEST_F(AnswerBoxTest, MarksLetPressesThroughToTheBoxesBeneath) {
    goToScreen(9);  // page 20
    QLineEdit* answered = fillBox(20, 2);
    QLineEdit* next = fillBox(20, 3);
    QTest::keyClicks(answered, answered->property("answer").toString());
    ASSERT_FALSE(marks().isEmpty());
    ASSERT_TRUE(markBoxes().last()->isVisible());
    // The book's boxes stand apart, but a mark may still come to lie over a box (marks pile up,
    // a school's own book may put boxes close): lay this one over the next box.
    const QPoint centre = next->mapTo(window.get(), next->rect().center());
    QWidget* mark = markBoxes().last();  // a direct child of the window
    mark->move(centre - QPoint(mark->width() / 2, mark->height() / 2));
    ASSERT_TRUE(mark->geometry().contains(centre));
    QWidget* target = window->childAt(centre);
    EXPECT_EQ(target, next);
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(window.get(), centre));
    EXPECT_EQ(window->focusWidget(), next);
}

// A box's content is measured in GBK bytes, as its answer is: one Chinese character typed for a
// digit is too long, so its cross shows at once, while the offer of the right answer is open.
TEST(FillInAnswer, AChineseCharacterIsTooLongForADigit) {
    const exercises::FillInAnswer::Verdict verdict =
        exercises::FillInAnswer(QStringLiteral("2")).judge(QStringLiteral("二"));
    EXPECT_EQ(verdict.mark, exercises::AnswerMark::Cross);
    EXPECT_TRUE(verdict.offerRightAnswer);
    EXPECT_TRUE(verdict.markBeforeOffer);
}
