#pragma once

// The rules of the two one-minute word-finding games: a prompt on the left and four
// candidates, one of them right; a click scores and brings the next question, the clock
// counts sixty seconds, and a summary closes the game. The two games differ only in the
// points of their twin table; everything here runs without a window.

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

#include "games/common/game_message.h"
#include "games/common/missed_words.h"

namespace games {

// Every point in which ChineseToEnglishWindow and EnglishToChineseWindow differ.
struct FinderTwin {
    QString title;
    // True: the prompt is the Chinese meaning, the candidates English words (the distractor
    // pool is the unit's English list). False: the other way round.
    bool chinesePrompt = true;
    // Caption of the all-right message: a null text gives the default "信息：", an empty text
    // an empty caption.
    QString allRightCaption;
    // Control geometry (left, top, width, height).
    QRect flowerTemplate;
    QRect skipButton;
    QRect exitButton;
    QRect unitSelector;
};

const FinderTwin& chineseToEnglishTwin();
const FinderTwin& englishToChineseTwin();

// What the rules draw on: the play area of the window (or a recording fake in tests).
class FinderSurface {
  public:
    virtual ~FinderSurface() = default;
    virtual void setFontPointSize(int points) = 0;
    virtual int textWidth(const QString& text) const = 0;
    // Writes `text` with its top-left at (x, y).
    virtual void drawText(int x, int y, const QString& text) = 0;
    virtual void clearAll() = 0;
    // Sets off the five flowers of a right answer at the click point.
    virtual void flowerBurst(QPoint at) = 0;
};

// A candidate field: where its text is centred and topped, and the bounds a click must lie
// strictly inside.
struct AnswerSlot {
    int centreX;
    int top;
    QRect clickBounds;  // left, top, right, bottom exclusive on every side
    bool contains(QPoint point) const;
};
const std::array<AnswerSlot, 4>& answerSlots();

inline constexpr int kPromptCentreX = 150;
inline constexpr int kPromptTop = 250;
inline constexpr int kQuestionPointSize = 20;
inline constexpr int kGameSeconds = 60;
// A question shows four different candidates, so a unit needs four words to be played.
inline constexpr int kFewestFinderWords = 4;

class WordFinderRules {
  public:
    // Misses are recorded in `missed`, which outlives the rules.
    WordFinderRules(const FinderTwin& twin, FinderSurface& surface, MissedWords& missed);

    // Replaces the unit lists with the unit's words. Lists of different lengths give the
    // message the window shows before the next question; play goes on with them.
    std::optional<GameMessage> loadUnit(int unit);
    // The same with lists given directly (entry j of each list belongs to word j).
    std::optional<GameMessage> loadWords(const QStringList& english, const QStringList& chinese);
    // Draws the next question: a reseed, the target, the right slot and three distractors.
    void setUpQuestion();
    // What the window shows instead of questions when the lists hold fewer than
    // kFewestFinderWords words: kTooFewWords; empty when they can be played.
    QString tooFewWordsLine() const;
    static const char* const kTooFewWords;

    // The slot (1..4) whose click bounds hold `point`; 0 when none does.
    static int slotAt(QPoint point);
    // Scores a click on the play area and brings the next question; true for a right answer.
    bool answerClick(QPoint point);
    // Counts the question as missed, silently, and brings the next one.
    void skip();
    // One second of the clock. True while the game goes on (the remaining-time caption is
    // then `remainingCaption()`); false when this tick ended it.
    bool tick();
    // The message that sums up a finished game, and whether the missed words follow it.
    GameMessage summary() const;
    bool summaryListsMisses() const;
    void summaryDone() { correctCount_ = 0; }
    // A new unit: a fresh count, a clear play area, an empty missed-word list and the unit's
    // lists, with loadUnit's message; setUpQuestion then asks the unit's first question.
    std::optional<GameMessage> changeUnit(int unit);

    QString remainingCaption() const;
    int correctCount() const { return correctCount_; }
    int secondsCounter() const { return secondsCounter_; }
    int correctSlot() const { return correctSlot_; }
    QString targetEnglish() const { return targetEnglish_; }
    QString targetChinese() const { return targetChinese_; }
    QString prompt() const { return prompt_; }
    // The texts shown in slots 1..4 (index 0 is slot 1).
    const std::array<QString, 4>& candidates() const { return candidates_; }
    const QStringList& unitEnglishWords() const { return english_; }
    const QStringList& unitChineseWords() const { return chinese_; }

  private:
    void drawCentred(int centreX, int top, const QString& text);
    void recordMiss();

    const FinderTwin& twin_;
    FinderSurface& surface_;
    MissedWords& missed_;
    QStringList english_;
    QStringList chinese_;
    QString targetEnglish_;
    QString targetChinese_;
    QString prompt_;
    std::array<QString, 4> candidates_;
    int correctSlot_ = 1;
    int correctCount_ = 0;
    int secondsCounter_ = 0;
};

}  // namespace games
