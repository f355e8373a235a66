#include "games/sentence_order/sentence_order_game.h"

#include <algorithm>

#include "games/common/game_text.h"
#include "ui/gbk_text.h"
#include "ui/service_calls.h"

namespace games {

const char* const kOrderInstruction =
    "请按照你认为正确的单词顺序单击上面单词，然后看看我什么变化哦...";
const char* const kOrderRestart = "重新开始吧！";

namespace {

// A draw loop that keeps meeting unusable lines gives up after this many tries and takes the
// first usable line, so that a random source that always answers the same never freezes the
// window. With the clock-seeded generator it is never reached.
constexpr int kMostDraws = 10000;

bool usable(const QString& line) {
    return SentenceOrderGame::isUsable(line);
}

QString withoutOuterSpaces(const QString& text) {
    const auto isSpace = [](QChar c) { return c == u' ' || c == QChar(0x3000); };
    qsizetype from = 0, to = text.size();
    while (from < to && isSpace(text[from])) ++from;
    while (to > from && isSpace(text[to - 1])) --to;
    return text.mid(from, to - from);
}

}  // namespace

QColor wordColour(WordLook look) {
    switch (look) {
        case WordLook::Current:
            return QColor(0, 0, 255);
        case WordLook::Used:
            return QColor(0, 0, 128);
        case WordLook::Fresh:
            break;
    }
    return QColor(0, 0, 0);
}

int freshWidth(const QString& word) {
    return 13 * ui::gbkLength(word);
}

int currentWidth(int previousWidth) {
    return previousWidth * 3 / 2;
}

int usedWidth(int currentWidth) {
    return currentWidth * 2 / 3;
}

SentenceOrderGame::SentenceOrderGame(int& starts)
    : starts_(starts), lineText_(QString::fromUtf8(kOrderInstruction)) {}

bool SentenceOrderGame::isUsable(const QString& line) {
    const QStringList words = splitAtSpaces(line);
    if (words.size() < kFewestWords || words.size() > kMostWords) return false;
    int right = kFirstLeft - kGap;
    int widest = 0;
    for (const QString& word : words) {
        right += kGap + freshWidth(word);
        widest = std::max(widest, freshWidth(word));
    }
    return right - widest + currentWidth(widest) <= kRowWidth;
}

bool SentenceOrderGame::hasUsableLine(const QStringList& english) {
    return std::any_of(english.begin(), english.end(), usable);
}

SentenceOrderGame::Outcome SentenceOrderGame::SetNewQuestion(const QStringList& english,
                                                             const QStringList& chinese,
                                                             int clipCount) {
    const bool sameLengths = english.size() == chinese.size() && chinese.size() == clipCount;
    if (sameLengths && !hasUsableLine(english)) {
        ui::stopAllClips();
        labels_.clear();
        item_ = 0;
        sentence_.clear();
        clicks_ = 0;
        lastWord_ = 0;
        return Outcome::NothingToAsk;
    }
    for (int tries = 0;; ++tries) {
        ui::stopAllClips();
        ui::reseedRandom();
        labels_.clear();
        ++starts_;
        clicks_ = 0;
        lastWord_ = 0;
        if (starts_ > 1) {
            lineText_ = QString::fromUtf8(kOrderInstruction);
            lineGrey_ = true;
        }
        if (!sameLengths) return Outcome::ListsDiffer;
        item_ = ui::drawBetween(1, int(chinese.size()));
        if (!usable(english.value(item_ - 1)) && tries >= kMostDraws) {
            item_ = int(std::find_if(english.begin(), english.end(), usable) - english.begin()) + 1;
        }
        sentence_ = english.value(item_ - 1);
        QStringList remaining = splitAtSpaces(sentence_);
        if (!usable(sentence_)) continue;
        while (!remaining.isEmpty()) {
            const int r = ui::drawBetween(1, int(remaining.size()));
            WordLabel label;
            label.word = remaining.takeAt(r - 1);
            label.width = freshWidth(label.word);
            label.left =
                labels_.isEmpty() ? kFirstLeft : labels_.last().left + labels_.last().width + kGap;
            labels_.append(label);
        }
        return Outcome::Asked;
    }
}

void SentenceOrderGame::setLook(int label, WordLook look) {
    if (label < 1 || label > labels_.size()) return;
    WordLabel& l = labels_[label - 1];
    if (look == WordLook::Current) l.width = currentWidth(l.width);
    if (look == WordLook::Used) l.width = usedWidth(l.width);
    l.look = look;
}

void SentenceOrderGame::settleLastWord() {
    if (clicks_ > 0) setLook(lastWord_, WordLook::Used);
    clicks_ = 0;
}

void SentenceOrderGame::AddWord(int label) {
    if (label < 1 || label > labels_.size()) return;
    ++clicks_;
    if (clicks_ > 1) setLook(lastWord_, WordLook::Used);
    if (clicks_ == 1) lineText_.clear();
    setLook(label, WordLook::Current);
    lineText_ = lineText_ + QLatin1Char(' ') + labels_[label - 1].word;
    lineGrey_ = false;
    lastWord_ = label;
}

Judgement SentenceOrderGame::Judge() {
    ui::stopAllClips();
    settleLastWord();
    const Judgement judgement =
        judged(withoutOuterSpaces(lineText_) == withoutOuterSpaces(sentence_));
    if (!judgement.right) {
        lineText_ = QString::fromUtf8(kOrderRestart);
        lineGrey_ = true;
    }
    return judgement;
}

void SentenceOrderGame::Restart() {
    ui::stopAllClips();
    settleLastWord();
    lineText_ = QString::fromUtf8(kOrderRestart);
    lineGrey_ = true;
}

void SentenceOrderGame::RevealAnswer() {
    lineText_ = sentence_;
    lineGrey_ = false;
}

}  // namespace games
