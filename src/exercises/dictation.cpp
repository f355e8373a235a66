#include "exercises/dictation.h"

#include <QAbstractButton>
#include <QPlainTextEdit>
#include <QPointer>

#include "book/book.h"
#include "exercises/dictation_screen.h"
#include "reader/reader_window.h"
#include "ui/controls.h"
#include "ui/service_calls.h"

namespace exercises {

namespace {

// The order chooser's item data for textbook order.
constexpr int kTextbookOrder = 1;

// The controls of one dictation screen, found by their layout names.
struct DictationControls {
    explicit DictationControls(const QWidget* screen)
        : units(ui::child<QComboBox>(screen, QStringLiteral("组合框_背单词课时选择"))),
          order(ui::child<QComboBox>(screen, QStringLiteral("组合框_背单词顺序选择"))),
          meaningShown(ui::child<QCheckBox>(screen, QStringLiteral("选择框_是否显示中文"))),
          status(ui::child<QLabel>(screen, QStringLiteral("透明标签单词总数和错误"))),
          mark(ui::child<QLabel>(screen, QStringLiteral("透明标签_对错判断"))),
          meaning(ui::child<QLabel>(screen, QStringLiteral("透明标签_背单词的汉语翻译"))),
          typing(ui::child<ui::EditBox>(screen, QStringLiteral("编辑框背单词"))),
          record(ui::child<QPlainTextEdit>(screen, QStringLiteral("编辑框错误记录"))),
          start(ui::child<QAbstractButton>(screen, QStringLiteral("超级按钮b_开始"))),
          replay(ui::child<QAbstractButton>(screen, QStringLiteral("超级按钮b_再听一遍"))),
          next(ui::child<QAbstractButton>(screen, QStringLiteral("超级按钮b_下一题"))),
          confirm(ui::child<QAbstractButton>(screen, QStringLiteral("超级按钮b_确定背单词"))) {}

    bool complete() const {
        return units && order && meaningShown && status && mark && meaning && typing && record &&
               start && replay && next && confirm;
    }

    // The three buttons that only make sense while a word is asked.
    void enableWordButtons(bool enabled) const {
        replay->setEnabled(enabled);
        confirm->setEnabled(enabled);
        next->setEnabled(enabled);
    }

    QComboBox* units;
    QComboBox* order;
    QCheckBox* meaningShown;
    QLabel* status;
    QLabel* mark;
    QLabel* meaning;
    ui::EditBox* typing;
    QPlainTextEdit* record;
    QAbstractButton* start;
    QAbstractButton* replay;
    QAbstractButton* next;
    QAbstractButton* confirm;
};

// Runs one reader window's dictation screen over the program's run: a new window's trainer
// carries on with the same run.
class DictationTrainer : public QObject {
  public:
    DictationTrainer(QWidget* screen, const DictationControls& controls, WordDictation& run)
        : QObject(screen), c_(controls), run_(run) {
        connect(c_.start, &QAbstractButton::clicked, this, &DictationTrainer::StartDictation);
        connect(c_.confirm, &QAbstractButton::clicked, this, &DictationTrainer::ConfirmWord);
        connect(c_.typing, &ui::EditBox::enterPressed, this, &DictationTrainer::ConfirmWord);
        connect(c_.next, &QAbstractButton::clicked, this, &DictationTrainer::SkipWord);
        connect(c_.replay, &QAbstractButton::clicked, this, [this] { run_.Replay(); });
        connect(c_.meaningShown, &QCheckBox::toggled, c_.meaning, &QWidget::setVisible);
        connect(c_.units, &QComboBox::currentIndexChanged, this, &DictationTrainer::ResetDictation);
        connect(c_.order, &QComboBox::currentIndexChanged, this, &DictationTrainer::ResetDictation);
    }

  private:
    void StartDictation();
    void PresentNextWord();
    void ConfirmWord();
    void SkipWord();
    void ResetDictation();
    void finishRun();
    WordDictation::Order chosenOrder() const;

    DictationControls c_;
    WordDictation& run_;
};

void DictationTrainer::StartDictation() {
    // The unit number is the item data of the chosen item, never its text.
    run_.Start(c_.units->currentData().toInt());
    if (const QString line = run_.noWordsLine(); !line.isEmpty()) {
        c_.status->setText(line);
        return;
    }
    c_.typing->setFont(ui::songFont(22));
    c_.typing->show();
    c_.typing->setEnabled(true);
    c_.record->hide();
    c_.record->clear();
    c_.enableWordButtons(true);
    c_.typing->setFocus();
    c_.start->setEnabled(false);
    PresentNextWord();
}

WordDictation::Order DictationTrainer::chosenOrder() const {
    return c_.order->currentData().toInt() == kTextbookOrder ? WordDictation::Order::Textbook
                                                             : WordDictation::Order::Random;
}

void DictationTrainer::PresentNextWord() {
    c_.status->setText(run_.runningStatus(c_.units->currentText()));
    const WordDictation::Next next = run_.NextWord(chosenOrder());
    c_.next->setEnabled(true);
    if (next.runOver) {
        finishRun();
        return;
    }
    c_.meaning->setText(next.meaning);
}

void DictationTrainer::finishRun() {
    const QPointer<DictationTrainer> alive(this);
    ui::showMessage(c_.status->window(), QStringLiteral("已经是本课时的最后一个单词了！"),
                    QStringLiteral("信息："));
    if (!alive) return;  // the window went away while the box was open
    c_.start->setEnabled(true);
    c_.record->show();
    c_.record->raise();  // over the meaning label, which it partly covers
    c_.typing->hide();
    c_.enableWordButtons(false);
    c_.status->setText(run_.finalStatus(c_.units->currentText()));
    c_.record->moveCursor(QTextCursor::End);
    c_.record->insertPlainText(run_.record());
}

void DictationTrainer::ConfirmWord() {
    c_.mark->setText(run_.Confirm(c_.typing->text()));
    c_.typing->clear();
    c_.typing->setFocus();
    PresentNextWord();
}

void DictationTrainer::SkipWord() {
    run_.Skip();
    c_.typing->clear();
    PresentNextWord();
}

void DictationTrainer::ResetDictation() {
    // A new unit or order takes effect at the next start. Until then the typing box takes no
    // answers, or Enter would carry the old run on under the new choice's name.
    run_.Reset();
    c_.start->setEnabled(true);
    c_.enableWordButtons(false);
    c_.typing->show();
    c_.typing->setEnabled(false);
    c_.record->hide();
}

}  // namespace

void attachDictation(reader::ReaderWindow& window, WordDictation& run) {
    ui::PictureBox* screen = window.screenPicture(book::dictationScreen());
    if (!screen) return;
    buildDictationScreen(screen);
    QObject::connect(ui::child<QAbstractButton>(screen, QStringLiteral("超级按钮b_退出背单词")),
                     &QAbstractButton::clicked, &window, &reader::ReaderWindow::LeaveDictation);
    const DictationControls controls(screen);
    if (controls.complete()) new DictationTrainer(screen, controls, run);
}

}  // namespace exercises
