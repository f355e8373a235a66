#include "games/word_finder/word_finder_rules.h"

#include <algorithm>

#include "book/vocabulary.h"
#include "games/common/game_clips.h"
#include "games/common/game_text.h"
#include "ui/service_calls.h"

namespace games {

const FinderTwin& chineseToEnglishTwin() {
    static const FinderTwin twin{
        QStringLiteral("汉找英"),
        true,
        QString(),  // the default caption
        QRect(4, 4, 96, 124),
        QRect(480, 536, 72, 32),
        QRect(604, 528, 40, 40),
        QRect(339, 537, 96, 22),
    };
    return twin;
}

const FinderTwin& englishToChineseTwin() {
    static const FinderTwin twin{
        QStringLiteral("英找汉"), false,
        QStringLiteral(""),  // an empty caption
        QRect(684, 4, 96, 124),   QRect(480, 532, 72, 32),
        QRect(628, 528, 40, 40),  QRect(347, 532, 96, 22),
    };
    return twin;
}

bool AnswerSlot::contains(QPoint point) const {
    return point.x() > clickBounds.left() && point.x() < clickBounds.right() &&
           point.y() > clickBounds.top() && point.y() < clickBounds.bottom();
}

const std::array<AnswerSlot, 4>& answerSlots() {
    // Click bounds as (left, top) to (right, bottom); a click must lie strictly inside.
    static const std::array<AnswerSlot, 4> fields{{
        {460, 150, QRect(QPoint(370, 84), QPoint(550, 250))},
        {680, 150, QRect(QPoint(590, 84), QPoint(770, 250))},
        {460, 360, QRect(QPoint(370, 290), QPoint(550, 450))},
        {680, 360, QRect(QPoint(590, 290), QPoint(770, 450))},
    }};
    return fields;
}

const char* const WordFinderRules::kTooFewWords = "这个单元不到4个单词，不能玩这个游戏";

WordFinderRules::WordFinderRules(const FinderTwin& twin, FinderSurface& surface,
                                 MissedWords& missed)
    : twin_(twin), surface_(surface), missed_(missed) {}

std::optional<GameMessage> WordFinderRules::loadUnit(int unit) {
    const book::UnitWords words = book::LoadUnitWords(unit);
    return loadWords(words.UnitEnglishWords, words.UnitChineseWords);
}

std::optional<GameMessage> WordFinderRules::loadWords(const QStringList& english,
                                                      const QStringList& chinese) {
    english_ = english;
    chinese_ = chinese;
    if (english_.size() == chinese_.size()) return std::nullopt;
    return GameMessage{QStringLiteral("汉语和英语不同"), QString()};
}

QString WordFinderRules::tooFewWordsLine() const {
    const qsizetype words = std::min(english_.size(), chinese_.size());
    return words < kFewestFinderWords ? QString::fromUtf8(kTooFewWords) : QString();
}

void WordFinderRules::drawCentred(int centreX, int top, const QString& text) {
    // The centre is kept; the left edge is cut toward zero like every computed position.
    const int x = int(centreX - surface_.textWidth(text) / 2.0);
    surface_.drawText(x, top, text);
}

void WordFinderRules::setUpQuestion() {
    surface_.setFontPointSize(kQuestionPointSize);
    ui::reseedRandom();
    const int k = ui::drawBetween(1, int(english_.size()));
    targetChinese_ = withoutFullWidthParentheses(chinese_.value(k - 1));
    targetEnglish_ = english_.value(k - 1);
    // The pool holds the twin's candidates of the other entries: the target never appears
    // among the distractors, whatever its text.
    QStringList pool = twin_.chinesePrompt ? english_ : chinese_;
    if (k >= 1 && k <= pool.size()) pool.removeAt(k - 1);

    prompt_ = twin_.chinesePrompt ? targetChinese_ : targetEnglish_;
    drawCentred(kPromptCentreX, kPromptTop, prompt_);

    correctSlot_ = ui::drawBetween(1, 4);
    const QString right = twin_.chinesePrompt ? targetEnglish_ : targetChinese_;
    candidates_ = {};
    candidates_[correctSlot_ - 1] = right;
    const AnswerSlot& correct = answerSlots()[correctSlot_ - 1];
    drawCentred(correct.centreX, correct.top, right);
    for (int slot = 1; slot <= 4; ++slot) {
        if (slot == correctSlot_) continue;
        // A unit of fewer than four words leaves the slots it cannot fill empty.
        if (pool.isEmpty()) continue;
        const int j = ui::drawBetween(1, int(pool.size()));
        const QString distractor = pool.takeAt(j - 1);
        candidates_[slot - 1] = distractor;
        const AnswerSlot& field = answerSlots()[slot - 1];
        drawCentred(field.centreX, field.top, distractor);
    }
}

int WordFinderRules::slotAt(QPoint point) {
    for (int slot = 1; slot <= 4; ++slot) {
        if (answerSlots()[slot - 1].contains(point)) return slot;
    }
    return 0;
}

void WordFinderRules::recordMiss() {
    missed_.record(targetEnglish_, targetChinese_);
}

bool WordFinderRules::answerClick(QPoint point) {
    ui::reseedRandom();
    const bool right = slotAt(point) == correctSlot_;
    if (right) {
        ui::playClip(RightAnswerClip());
        surface_.flowerBurst(point);
        ++correctCount_;
    } else {
        // A wrong field and the empty background both count as a miss.
        ui::playClip(clipNumber(WrongAnswerClips(), ui::drawBetween(1, 2)));
        recordMiss();
    }
    surface_.clearAll();
    setUpQuestion();
    return right;
}

void WordFinderRules::skip() {
    surface_.clearAll();
    recordMiss();
    setUpQuestion();
}

bool WordFinderRules::tick() {
    --secondsCounter_;
    if (secondsCounter_ > -kGameSeconds) return true;
    secondsCounter_ = 0;
    return false;
}

QString WordFinderRules::remainingCaption() const {
    if (secondsCounter_ == 0) return QStringLiteral("剩余秒：");
    return QStringLiteral("剩余秒；") + QString::number(kGameSeconds + secondsCounter_);
}

bool WordFinderRules::summaryListsMisses() const {
    return !missed_.isEmpty();
}

GameMessage WordFinderRules::summary() const {
    if (!summaryListsMisses())
        return {QStringLiteral("太棒了！你竟然全对了，继续保持哦！"), twin_.allRightCaption};
    // The list holds two entries per miss; the count is printed without a fraction when whole.
    const double misses = missed_.entries().size() / 2.0;
    return {QStringLiteral("一分钟内你正确%1个。\r\n错误%2个。继续努力哦！错误情况如下：")
                .arg(correctCount_)
                .arg(QString::number(misses)),
            QStringLiteral("错误情况")};
}

std::optional<GameMessage> WordFinderRules::changeUnit(int unit) {
    correctCount_ = 0;
    surface_.clearAll();
    missed_.clear();
    return loadUnit(unit);
}

}  // namespace games
