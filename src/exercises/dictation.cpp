#include "exercises/dictation.h"

#include <QAbstractButton>
#include <QPlainTextEdit>
#include <QPointer>

#include "book/book.h"
#include "book/vocabulary.h"
#include "exercises/dictation_screen.h"
#include "reader/reader_window.h"
#include "ui/controls.h"
#include "ui/services.h"

namespace exercises {

DictationState& dictationState() {
    static DictationState state;
    return state;
}

void resetDictationState() {
    dictationState() = DictationState();
}

namespace {

constexpr int kTextbookOrder = 1;
const QString kCrLf = QStringLiteral("\r\n");
const QString kRunningCount = QStringLiteral("个单词。目前错误");
const QString kFinalCount = QStringLiteral("个单词。共错误");

void stopPlayback() {
    if (sound::Sound* sound = ui::services().sound) sound->stopAll();
}

void playClip(const sound::SoundClip& clip) {
    sound::Sound* sound = ui::services().sound;
    if (sound && !clip.isEmpty()) sound->play(clip);
}

// A uniform draw from 1 to `count`, kept inside that range whatever the generator answers.
int drawWordSlot(int count) {
    ui::Random* random = ui::services().random;
    const int drawn = random ? random->between(1, count) : 1;
    return qBound(1, drawn, count);
}

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

// Runs the dictation on one reader window's screen; what it remembers is the program-wide
// DictationState, so a new window's trainer carries on with the same state.
class DictationTrainer : public QObject {
  public:
    DictationTrainer(QWidget* screen, const DictationControls& controls)
        : QObject(screen), c_(controls) {
        connect(c_.start, &QAbstractButton::clicked, this, &DictationTrainer::StartDictation);
        connect(c_.confirm, &QAbstractButton::clicked, this, &DictationTrainer::ConfirmWord);
        connect(c_.typing, &ui::EditBox::enterPressed, this, &DictationTrainer::ConfirmWord);
        connect(c_.next, &QAbstractButton::clicked, this, &DictationTrainer::SkipWord);
        connect(c_.replay, &QAbstractButton::clicked, this, &DictationTrainer::ReplayWord);
        connect(c_.meaningShown, &QCheckBox::toggled, c_.meaning, &QWidget::setVisible);
        connect(c_.units, &QComboBox::currentIndexChanged, this, &DictationTrainer::ResetDictation);
        connect(c_.order, &QComboBox::currentIndexChanged, this, &DictationTrainer::ResetDictation);
    }

    void StartDictation();
    void PresentNextWord();
    void ConfirmWord();
    void SkipWord();
    void ReplayWord();
    void ResetDictation();

  private:
    void loadChosenUnit();
    void finishRun();
    int chooseWordNumber();
    QString statusLine(const QString& countWording) const;

    DictationControls c_;
};

void DictationTrainer::StartDictation() {
    DictationState& state = dictationState();
    c_.typing->setFont(ui::songFont(22));
    state.ChineseWords.clear();
    state.EnglishWords.clear();
    state.Pool.clear();
    state.Position = 0;
    c_.typing->show();
    c_.typing->setEnabled(true);
    c_.record->hide();
    c_.record->clear();
    c_.enableWordButtons(true);
    state.WrongWordList.clear();
    c_.typing->setFocus();
    loadChosenUnit();
    c_.start->setEnabled(false);
    PresentNextWord();
}

void DictationTrainer::loadChosenUnit() {
    DictationState& state = dictationState();
    // The unit number is the item data of the chosen item, never its text.
    const int unit = c_.units->currentData().toInt();
    book::UnitWords words = book::LoadUnitWords(unit);
    state.EnglishWords = words.UnitEnglishWords;
    state.ChineseWords = words.UnitChineseWords;
    book::LoadUnitWordClips(unit, state.WordClips);
    state.WordTotal = qint32(state.ChineseWords.size());
    state.EnglishTotal = qint32(state.EnglishWords.size());
    for (qint32 number = 1; number <= state.EnglishTotal; ++number) state.Pool.append(number);
}

QString DictationTrainer::statusLine(const QString& countWording) const {
    const DictationState& state = dictationState();
    return c_.units->currentText() + QStringLiteral("共") + QString::number(state.WordTotal) +
           countWording + QString::number(state.WrongWordList.size()) + QStringLiteral("个");
}

void DictationTrainer::PresentNextWord() {
    DictationState& state = dictationState();
    c_.status->setText(statusLine(kRunningCount));
    if (ui::Random* random = ui::services().random) random->reseed();
    state.Position += 1;
    c_.next->setEnabled(true);
    if (state.Position > state.EnglishTotal) {
        finishRun();
        return;
    }
    // The order choice is read afresh for every word.
    state.OrderMode = qint32(c_.order->currentData().toInt());
    const int index = chooseWordNumber() - 1;
    state.CurrentClip = state.WordClips.value(index);
    playClip(state.CurrentClip);
    state.CurrentEnglish = state.EnglishWords.value(index);
    state.CurrentChinese = state.ChineseWords.value(index);
    c_.meaning->setText(state.CurrentChinese);
}

int DictationTrainer::chooseWordNumber() {
    DictationState& state = dictationState();
    if (state.OrderMode == kTextbookOrder || state.Pool.isEmpty()) return state.Position;
    // Uniform without replacement: the drawn number leaves the pool.
    return state.Pool.takeAt(drawWordSlot(int(state.Pool.size())) - 1);
}

void DictationTrainer::finishRun() {
    if (ui::MessageBoxes* messages = ui::services().messages) {
        const QPointer<DictationTrainer> alive(this);
        messages->show(c_.status->window(), {QStringLiteral("已经是本课时的最后一个单词了！"),
                                             QStringLiteral("信息：")});
        if (!alive) return;  // the window went away while the box was open
    }
    c_.start->setEnabled(true);
    c_.record->show();
    c_.record->raise();  // over the meaning label, which it partly covers
    c_.typing->hide();
    c_.enableWordButtons(false);
    c_.status->setText(statusLine(kFinalCount));
    QString record;
    for (const QString& entry : dictationState().WrongWordList) record += entry + kCrLf;
    c_.record->moveCursor(QTextCursor::End);
    c_.record->insertPlainText(record);
}

void DictationTrainer::ConfirmWord() {
    DictationState& state = dictationState();
    stopPlayback();
    // Compared as typed: no trimming, and capital and small letters differ.
    if (c_.typing->text() == state.CurrentEnglish) {
        c_.mark->setText(QStringLiteral("√"));
    } else {
        c_.mark->setText(QStringLiteral("×"));
        state.WrongWordList.append(state.CurrentEnglish + state.CurrentChinese + kCrLf);
    }
    c_.typing->clear();
    c_.typing->setFocus();
    PresentNextWord();
}

void DictationTrainer::SkipWord() {
    DictationState& state = dictationState();
    stopPlayback();
    c_.typing->clear();
    // A skipped word counts as wrong, without a mark.
    state.WrongWordList.append(state.CurrentEnglish + state.CurrentChinese + kCrLf);
    PresentNextWord();
}

void DictationTrainer::ReplayWord() {
    stopPlayback();
    playClip(dictationState().CurrentClip);
}

void DictationTrainer::ResetDictation() {
    // A new unit or order takes effect at the next start; the word lists stay as they are.
    c_.start->setEnabled(true);
    c_.enableWordButtons(false);
    dictationState().WrongWordList.clear();
    c_.typing->show();
    c_.record->hide();
}

}  // namespace

void attachDictation(reader::ReaderWindow& window) {
    ui::PictureBox* screen = window.screenPicture(book::kDictationScreen);
    if (!screen) return;
    buildDictationScreen(screen);
    QObject::connect(ui::child<QAbstractButton>(screen, QStringLiteral("超级按钮b_退出背单词")),
                     &QAbstractButton::clicked, &window, &reader::ReaderWindow::LeaveDictation);
    const DictationControls controls(screen);
    if (controls.complete()) new DictationTrainer(screen, controls);
}

}  // namespace exercises
