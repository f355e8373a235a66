#pragma once

// The rules of the sentence ordering game, apart from its window: drawing a line and shuffling
// its words onto the word labels, the labels' three looks, the sentence the child builds by
// clicking, and the judgement.

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

#include "games/common/judgement.h"

namespace games {

// The instruction on the sentence line before the child clicks.
extern const char* const kOrderInstruction;
// The sentence line after a wrong order or a restart.
extern const char* const kOrderRestart;

enum class WordLook {
    Fresh,    // not clicked yet: 14 points, black
    Current,  // clicked last: 20 points, blue, one and a half times as wide
    Used      // clicked before: 14 points, navy, back to two thirds
};

QColor wordColour(WordLook look);
// A fresh label is 13 pixels wide per GBK byte of its word.
int freshWidth(const QString& word);
// Widths after a change of look, cut to whole pixels.
int currentWidth(int previousWidth);
int usedWidth(int currentWidth);

struct WordLabel {
    QString word;
    WordLook look = WordLook::Fresh;
    int left = 0;
    int width = 0;
};

class SentenceOrderGame {
  public:
    static constexpr int kLabelCount = 10;
    static constexpr int kMostWords = 9;
    static constexpr int kFewestWords = 2;
    static constexpr int kFirstLeft = 10;  // label 1's left in the word box
    static constexpr int kGap = 20;        // between neighbouring labels
    static constexpr int kRowWidth = 768;  // the word box's width: labels beyond it are cut off

    enum class Outcome {
        Asked,        // a line is shuffled onto the labels
        ListsDiffer,  // the page's lists have different lengths: no words are shown
        NothingToAsk  // no line of the page is usable
    };

    // `starts` counts the questions set since the program started; it is never reset, so
    // that only the very first question of a run shows the instruction in black.
    explicit SentenceOrderGame(int& starts);

    // A line is usable when it has 2 to 9 words and its labels fit the row in any order, the
    // one clicked last widened to its current look.
    static bool isUsable(const QString& line);
    // True when some line is usable.
    static bool hasUsableLine(const QStringList& english);

    // Stops the clips, reseeds, counts a start, greys the instruction after the program's
    // first start, draws a line (again from the stop while it is not usable) and deals its
    // words onto the labels in a random order, 20 pixels apart. A page with nothing usable
    // stops the clips and draws nothing.
    Outcome SetNewQuestion(const QStringList& english, const QStringList& chinese, int clipCount);

    // The child clicks word label `label` (1-based).
    void AddWord(int label);

    // Stops the clips, settles the last clicked label and compares the sentence line with the
    // sentence, both without their surrounding half- and full-width spaces (a line that ends in
    // a full-width space puts it on its last word); the judgement reseeds and draws its clips.
    Judgement Judge();

    // Stops the clips and begins the order anew; the labels keep their looks.
    void Restart();
    // Shows the sentence on the line in black; the clicks go on counting.
    void RevealAnswer();

    int item() const { return item_; }
    const QString& sentence() const { return sentence_; }
    int clicks() const { return clicks_; }
    int lastWord() const { return lastWord_; }
    // The labels in use, label 1 first; the others are hidden.
    const QList<WordLabel>& labels() const { return labels_; }
    const QString& lineText() const { return lineText_; }
    bool lineGrey() const { return lineGrey_; }

  private:
    void setLook(int label, WordLook look);
    void settleLastWord();

    int& starts_;
    int item_ = 0;
    QString sentence_;
    int clicks_ = 0;
    int lastWord_ = 0;
    QList<WordLabel> labels_;
    QString lineText_;
    bool lineGrey_ = false;
};

}  // namespace games
