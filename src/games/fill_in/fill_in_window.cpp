#include "games/fill_in/fill_in_window.h"

#include <algorithm>

#include "book/book.h"
#include "ui/control_builders.h"
#include "ui/service_calls.h"

namespace games {

namespace {

constexpr int kAnswerPause = 4000;
constexpr int kSentencePixels = 21;
constexpr int kSmallestPixels = 12;

// The font a line is set in so that it fits its place whole: the usual size, or smaller for the
// long lines a school's book may have (down to a size still easy to read).
QFont fittedFont(const QString& line, QFont font, int width) {
    font.setPixelSize(kSentencePixels);
    while (font.pixelSize() > kSmallestPixels && QFontMetrics(font).horizontalAdvance(line) > width)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

}  // namespace

FillInGameWindow::FillInGameWindow(QWidget* owner, const book::PageContent& page)
    : PageGameWindow(owner, QStringLiteral("填一填"), page) {
    buildLayout();
    ReadOptions();
    SetNewQuestion();
    blank_->setFocus();
}

void FillInGameWindow::buildLayout() {
    background_ = addBackground(QStringLiteral("图片框填一填的背景"), "fillin_background");

    const QFont text = ui::songFont(-1, kSentencePixels);
    sentence_ = ui::addTransparentLabel(background_, QStringLiteral("透明标签_填一填的题目"),
                                        {190, 154, 464, 36}, text);
    blank_ = ui::addControl<ui::EditBox>(background_, QStringLiteral("编辑框_要填入内容的"),
                                         {190, 154, 15, 36});
    blank_->setFont(text);
    // Blue typing on white, a thin border so the blank reads as a box, and no inner padding
    // so that the typed word starts where the covered word does.
    blank_->setStyleSheet(
        QStringLiteral("QLineEdit { background-color: white; color: rgb(0, 0, 255);"
                       " border: 1px solid rgb(110, 140, 200); padding: 0px; }"));
    chineseHint_ = ui::addTransparentLabel(background_, QStringLiteral("透明标签_填一填的汉语提示"),
                                           {190, 224, 378, 36}, text);
    answerHint_ = ui::addTransparentLabel(background_, QStringLiteral("透明标签_填一填的答案提示"),
                                          {188, 354, 378, 36}, text);
    answerHint_->hide();

    chineseOption_ = ui::addCheckBox(background_, QStringLiteral("选择框汉语提示"),
                                     {136, 428, 124, 28}, QStringLiteral("是否显示汉语翻译"), true);
    readOption_ = ui::addCheckBox(background_, QStringLiteral("选择框是否读音"), {270, 427, 92, 28},
                                  QStringLiteral("是否读音"), true);
    for (ui::CheckBox* box : {chineseOption_, readOption_}) box->setFont(ui::songFont(9));

    auto* next =
        ui::addPictureButton(background_, QStringLiteral("超级按钮_下一题"), {128, 475, 104, 40},
                             book::picture("button_104x40"), QStringLiteral("下一题"));
    auto* again =
        ui::addPictureButton(background_, QStringLiteral("超级按钮_再听一遍"), {254, 474, 100, 40},
                             book::picture("button_100x40"), QStringLiteral("再听一遍"));
    auto* answer =
        ui::addPictureButton(background_, QStringLiteral("超级按钮_答案"), {381, 476, 60, 40},
                             book::picture("button_60x40"), QStringLiteral("答案"));
    auto* confirm =
        ui::addPictureButton(background_, QStringLiteral("超级按钮_确定"), {474, 475, 60, 40},
                             book::picture("button_60x40"), QStringLiteral("确定"));
    addReturnButton(background_, {704, 475, 40, 40});
    questionButtons_ = {next, again, answer, confirm};

    connect(next, &QAbstractButton::clicked, this, &FillInGameWindow::NextQuestion);
    connect(confirm, &QAbstractButton::clicked, this, &FillInGameWindow::CheckAnswer);
    connect(blank_, &ui::EditBox::enterPressed, this, &FillInGameWindow::CheckAnswer);
    connect(answer, &QAbstractButton::clicked, answerHint_, &QWidget::show);
    connect(again, &QAbstractButton::clicked, this, &FillInGameWindow::HearAgain);
}

void FillInGameWindow::ReadOptions() {
    game_.question.ReadAloudOption = readOption_->isChecked();
    game_.question.ChineseHintOption = chineseOption_->isChecked();
}

void FillInGameWindow::SetNewQuestion() {
    const PageLines& lists = lines();
    blank_->clear();
    const FillInGame::Outcome outcome = game_.SetNewQuestion(lists.english, lists.chinese);
    blank_->move(sentence_->pos());
    if (outcome == FillInGame::Outcome::NothingToAsk) {
        ShowNothingToAsk();
        return;
    }
    if (outcome == FillInGame::Outcome::ListsDiffer) {
        ui::showMessage(this, QStringLiteral("英语和汉语和读音的数量不同"));
        return;
    }
    const FillInQuestion& q = game_.question;
    if (q.ReadAloudOption) playLine(q.item);
    const QString line = lists.english.value(q.item - 1);
    sentence_->setFont(fittedFont(line, sentence_->font(), sentence_->width()));
    blank_->setFont(sentence_->font());
    sentence_->setText(line);
    const BlankPlacement blank = placeBlank(line, q.word, sentence_->font());
    blank_->setGeometry(sentence_->x() + blank.left, sentence_->y(), blank.width,
                        sentence_->height());
    chineseHint_->setVisible(q.ChineseHintOption);
    const QString chinese = lists.chinese.value(q.item - 1);
    chineseHint_->setFont(fittedFont(chinese, chineseHint_->font(), chineseHint_->width()));
    chineseHint_->setText(chinese);
    answerHint_->setText(q.answer);
}

void FillInGameWindow::ShowNothingToAsk() {
    showNothingToAsk(sentence_, questionButtons_);
    blank_->hide();
    chineseHint_->hide();
    answerHint_->hide();
}

void FillInGameWindow::NextQuestion() {
    blank_->setFocus();
    answerHint_->hide();
    ui::stopAllClips();
    ReadOptions();
    SetNewQuestion();
    blank_->setFocus();
}

void FillInGameWindow::HearAgain() {
    if (game_.question.ReadAloudOption && game_.question.item > 0) playLine(game_.question.item);
}

void FillInGameWindow::CheckAnswer() {
    if (game_.question.item == 0) return;  // no question to check
    answerHint_->hide();
    const Judgement judgement = game_.Check(blank_->text());
    ui::playClip(feedbackClip(judgement));
    if (!ui::pauseWhileOpen(this, kAnswerPause)) return;
    if (judgement.right) {
        SetNewQuestion();
    } else {
        if (game_.question.ReadAloudOption) playLine(game_.question.item);
        blank_->clear();
    }
    blank_->setFocus();
}

}  // namespace games
