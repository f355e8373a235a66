#include "games/sentence_order/sentence_order_window.h"

#include <QPainter>

#include "ui/control_builders.h"
#include "ui/service_calls.h"

namespace games {

namespace {

constexpr int kPraisePause = 4000;
constexpr int kFirstTag = 100;
constexpr int kWordTop = 13;
constexpr int kWordHeight = 30;
const QColor kGrey(128, 128, 128);
const QColor kBlue(0, 0, 255);

// A word label that writes its word with the letters' ink centred in its height: the label is
// 30 pixels high, and a fallback face with tall line spacing would otherwise cut the tails of
// g, p and y at 20 points. Every word takes the same baseline for its size, so the row stays
// level.
class WordLabelControl : public ui::TransparentLabel {
  public:
    using ui::TransparentLabel::TransparentLabel;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setFont(font());
        painter.setPen(palette().color(QPalette::WindowText));
        const QRectF ink = QFontMetricsF(font()).tightBoundingRect(QStringLiteral("Hdgjpqy"));
        const qreal baseline = (height() - ink.height()) / 2 - ink.top();
        painter.drawText(QPointF(0, baseline), text());
    }
};

// The thin frame lines are group boxes drawn as plain strokes.
ui::GroupBox* addLine(QWidget* parent, const QString& name, QRect geometry) {
    auto* line = ui::addControl<ui::GroupBox>(parent, name, geometry);
    line->setStyleSheet(
        QStringLiteral("QGroupBox { background-color: rgb(70, 120, 190);"
                       " border: none; margin: 0px; }"));
    return line;
}

void setColourIfChanged(QWidget* control, const QColor& colour) {
    if (control->palette().color(QPalette::WindowText) != colour)
        ui::setTextColour(control, colour);
}

ui::SuperButton* addButton(QWidget* parent, const QString& name, QRect geometry,
                           const QString& caption) {
    ui::SuperButton* button = ui::addTextButton(parent, name, geometry, caption, ui::songFont(11));
    button->setColours(QColor(242, 249, 255), QColor(221, 238, 255), QColor(204, 228, 252),
                       QColor(20, 40, 80));
    return button;
}

}  // namespace

QFont wordFont(WordLook look) {
    return ui::songFont(look == WordLook::Current ? 20 : 14);
}

SentenceOrderWindow::SentenceOrderWindow(QWidget* owner, const book::PageContent& page, int& starts)
    : PageGameWindow(owner, QStringLiteral("句子排序"), page), game_(starts) {
    buildLayout();
    SetNewQuestion();
}

void SentenceOrderWindow::buildLayout() {
    // The picture lies 2 pixels high; the strip it leaves at the bottom takes the grass's
    // colour.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(72, 163, 67));
    setPalette(palette);
    background_ = addBackground(QStringLiteral("图片框排序的背景"), "order_background", -2);

    wordBox_ = ui::addControl<ui::GroupBox>(background_, QStringLiteral("分组框_随机的单词"),
                                            {16, 154, SentenceOrderGame::kRowWidth, 55});
    // The background picture draws the panel the words lie on; the box itself stays clear.
    wordBox_->setStyleSheet(QStringLiteral(
        "QGroupBox#分组框_随机的单词 { background: transparent; border: none; margin: 0px; }"));
    static constexpr int lefts[] = {10, 79, 149, 219, 289, 359, 429, 499, 569, 634};
    for (int k = 1; k <= SentenceOrderGame::kLabelCount; ++k) {
        auto* word = ui::addControl<WordLabelControl>(
            wordBox_, QStringLiteral("透明标签p_打乱的单词%1").arg(k),
            {lefts[k - 1], kWordTop, k == 1 ? 103 : 104, kWordHeight});
        word->setFont(wordFont(WordLook::Fresh));
        ui::setTextColour(word, wordColour(WordLook::Fresh));
        ui::setTag(word, kFirstTag + k);
        word->setCursor(Qt::PointingHandCursor);
        word->hide();
        connect(word, &ui::Label::leftPressed, this, [this, k] { AddWord(k); });
        words_[k - 1] = word;
        shownLooks_[k - 1] = int(WordLook::Fresh);
    }

    translationFrame_ = {
        addLine(background_, QStringLiteral("分组框_边线4"), {16, 236, 768, 2}),
        addLine(background_, QStringLiteral("分组框_边线3"), {18, 297, 768, 2}),
        addLine(background_, QStringLiteral("分组框_竖边线4"), {16, 238, 2, 60}),
        addLine(background_, QStringLiteral("分组框_竖边线3"), {782, 237, 2, 60}),
    };
    translation_ = ui::addTransparentLabel(background_, QStringLiteral("透明标签p_汉语翻译"),
                                           {32, 244, 736, 49}, ui::songFont(-1, 21), kBlue);
    ShowTranslation(false);

    line_ = ui::addTransparentLabel(background_, QStringLiteral("透明标签p_排列好的"),
                                    {25, 324, 768, 49}, ui::songFont(-1, 21), Qt::black);
    line_->setText(game_.lineText());
    addLine(background_, QStringLiteral("分组框_边线1"), {18, 318, 768, 2});
    addLine(background_, QStringLiteral("分组框_边线2"), {20, 376, 768, 2});
    addLine(background_, QStringLiteral("分组框_竖边线1"), {18, 318, 2, 60});
    addLine(background_, QStringLiteral("分组框_竖边线2"), {784, 319, 2, 60});

    readOption_ = ui::addSwitchCheckBox(background_, QStringLiteral("选择框_排序读音开关"),
                                        {127, 409, 88, 24}, QStringLiteral("读音关"),
                                        QStringLiteral("读音开"));
    translationOption_ = ui::addSwitchCheckBox(
        background_, QStringLiteral("选择框_排序汉语翻译开关"), {240, 409, 88, 24},
        QStringLiteral("汉语翻译关"), QStringLiteral("汉语翻译开"));
    for (ui::CheckBox* box : {readOption_, translationOption_}) box->setFont(ui::songFont(9));

    auto* next = addButton(background_, QStringLiteral("超级按钮_排序开始"), {120, 448, 64, 40},
                           QStringLiteral("下一题"));
    auto* again = addButton(background_, QStringLiteral("超级按钮_再听一遍"), {222, 448, 82, 40},
                            QStringLiteral("再听一遍"));
    redo_ = addButton(background_, QStringLiteral("超级按钮_重做"), {330, 448, 64, 40},
                      QStringLiteral("重做"));
    redo_->hide();
    auto* judge = addButton(background_, QStringLiteral("超级按钮_提交答案"), {426, 448, 64, 40},
                            QStringLiteral("确定"));
    auto* answer = addButton(background_, QStringLiteral("超级按钮_答案"), {530, 448, 64, 40},
                             QStringLiteral("答案"));
    auto* quit = addButton(background_, QStringLiteral("超级按钮_提交答案1"), {712, 448, 64, 40},
                           QStringLiteral("返回"));
    questionButtons_ = {next, again, judge, answer};

    connect(next, &QAbstractButton::clicked, this, &SentenceOrderWindow::SetNewQuestion);
    connect(again, &QAbstractButton::clicked, this, &SentenceOrderWindow::HearAgain);
    connect(redo_, &QAbstractButton::clicked, this, &SentenceOrderWindow::Restart);
    connect(judge, &QAbstractButton::clicked, this, &SentenceOrderWindow::Judge);
    connect(answer, &QAbstractButton::clicked, this, &SentenceOrderWindow::RevealAnswer);
    connect(quit, &QAbstractButton::clicked, this, &QWidget::close);
}

void SentenceOrderWindow::ShowTranslation(bool shown) {
    for (ui::GroupBox* stroke : translationFrame_) stroke->setVisible(shown);
    translation_->setVisible(shown);
}

void SentenceOrderWindow::showLabels() {
    const QList<WordLabel>& labels = game_.labels();
    for (int k = 1; k <= SentenceOrderGame::kLabelCount; ++k) {
        ui::TransparentLabel* word = words_[k - 1];
        if (k > labels.size()) {
            word->hide();
            continue;
        }
        const WordLabel& shown = labels[k - 1];
        if (shownLooks_[k - 1] != int(shown.look)) {
            word->setFont(wordFont(shown.look));
            ui::setTextColour(word, wordColour(shown.look));
            shownLooks_[k - 1] = int(shown.look);
        }
        word->setText(shown.word);
        const QRect place(shown.left, kWordTop, shown.width, kWordHeight);
        if (word->geometry() != place) word->setGeometry(place);
        word->show();
    }
}

void SentenceOrderWindow::showLine() {
    line_->setText(game_.lineText());
    setColourIfChanged(line_, game_.lineGrey() ? kGrey : QColor(Qt::black));
}

void SentenceOrderWindow::SetNewQuestion() {
    const PageLines& lists = lines();
    const SentenceOrderGame::Outcome outcome =
        game_.SetNewQuestion(lists.english, lists.chinese, int(lists.clips.size()));
    ShowTranslation(false);
    showLabels();
    if (outcome == SentenceOrderGame::Outcome::NothingToAsk) {
        ShowNothingToAsk();
        return;
    }
    showLine();
    if (outcome == SentenceOrderGame::Outcome::ListsDiffer) return;
    if (readOption_->isChecked()) playLine(game_.item());
    if (translationOption_->isChecked()) {
        translation_->setText(lists.chinese.value(game_.item() - 1));
        ShowTranslation(true);
    }
}

void SentenceOrderWindow::ShowNothingToAsk() {
    showNothingToAsk(line_, questionButtons_);
    setColourIfChanged(line_, Qt::black);
}

void SentenceOrderWindow::AddWord(int label) {
    if (label > game_.labels().size()) return;
    game_.AddWord(label);
    redo_->show();
    showLabels();
    showLine();
}

void SentenceOrderWindow::Judge() {
    const Judgement judgement = game_.Judge();
    showLabels();
    ui::playClip(feedbackClip(judgement));
    if (judgement.right) {
        ui::pauseWhileOpen(this, kPraisePause);
        return;
    }
    showLine();
}

void SentenceOrderWindow::Restart() {
    game_.Restart();
    showLabels();
    showLine();
}

void SentenceOrderWindow::RevealAnswer() {
    game_.RevealAnswer();
    showLine();
}

void SentenceOrderWindow::HearAgain() {
    if (game_.item() > 0) playLine(game_.item());
}

}  // namespace games
