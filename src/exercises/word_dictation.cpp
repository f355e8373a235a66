#include "exercises/word_dictation.h"

#include "book/vocabulary.h"
#include "ui/service_calls.h"

namespace exercises {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

}  // namespace

const char* const WordDictation::kNoWords = "这个单元没有单词";

QString WordDictation::noWordsLine() const {
    return english_.isEmpty() ? QString::fromUtf8(kNoWords) : QString();
}

void WordDictation::Start(int unit) {
    const book::UnitWords words = book::LoadUnitWords(unit);
    english_ = words.UnitEnglishWords;
    chinese_ = words.UnitChineseWords;
    clips_.clear();
    book::LoadUnitWordClips(unit, clips_);
    position_ = 0;
    undrawn_.clear();
    for (int number = 1; number <= english_.size(); ++number) undrawn_.append(number);
    wrongWords_.clear();
}

WordDictation::Next WordDictation::NextWord(Order order) {
    ui::reseedRandom();
    position_ += 1;
    if (position_ > english_.size()) return {true, {}};
    const int index = nextWordNumber(order) - 1;
    current_ = {english_.value(index), chinese_.value(index), clips_.value(index)};
    ui::playClip(current_.clip);
    return {false, current_.chinese};
}

int WordDictation::nextWordNumber(Order order) {
    if (order == Order::Textbook || undrawn_.isEmpty()) return position_;
    // Uniform without replacement: the drawn number leaves the pool.
    return undrawn_.takeAt(ui::drawBetween(1, int(undrawn_.size())) - 1);
}

QString WordDictation::Confirm(const QString& typed) {
    ui::stopAllClips();
    if (typed == current_.english) return QStringLiteral("√");
    recordWrong();
    return QStringLiteral("×");
}

void WordDictation::Skip() {
    ui::stopAllClips();
    recordWrong();
}

void WordDictation::Replay() const {
    ui::stopAllClips();
    ui::playClip(current_.clip);
}

void WordDictation::recordWrong() {
    wrongWords_.append(current_.english + current_.chinese + kCrLf);
}

QString WordDictation::runningStatus(const QString& unitName) const {
    return statusLine(unitName, QStringLiteral("个单词。目前错误"));
}

QString WordDictation::finalStatus(const QString& unitName) const {
    return statusLine(unitName, QStringLiteral("个单词。共错误"));
}

QString WordDictation::statusLine(const QString& unitName, const QString& wrongCountWording) const {
    return unitName + QStringLiteral("共") + QString::number(chinese_.size()) + wrongCountWording +
           QString::number(wrongWords_.size()) + QStringLiteral("个");
}

QString WordDictation::record() const {
    QString record;
    for (const QString& entry : wrongWords_) record += entry + kCrLf;
    return record;
}

}  // namespace exercises
