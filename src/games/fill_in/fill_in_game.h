#pragma once

// The rules of the fill-in-the-blanks game, apart from its window: drawing a question from the
// page's lines, the covered word and its answer, where the blank goes, and the judgement.

#include <QFont>
#include <QString>
#include <QStringList>

#include "games/common/judgement.h"

namespace games {

// The answer asked for a word: the word without one trailing ASCII comma, exclamation mark,
// full stop or question mark. Only one character goes, so "..." keeps two dots; full-width
// marks stay.
QString answerOfWord(const QString& word);

// Where the blank lies over the sentence label, in pixels from the label's left edge.
struct BlankPlacement {
    int left = 0;
    int width = 0;
};

// Places the blank over word `word` (1-based, words cut at single spaces) of `line` as `font`
// lays the line out: its left edge where the word begins, its width the answer's measured
// width with room for the box's border, and never less than 12 pixels per GBK byte of the
// answer.
BlankPlacement placeBlank(const QString& line, int word, const QFont& font);

struct FillInQuestion {
    int item = 0;  // 1-based entry of the lists; 0 while no question is set
    int word = 0;  // 1-based number of the covered word in the line
    QString answer;
    bool ReadAloudOption = true;
    bool ChineseHintOption = true;
};

class FillInGame {
  public:
    enum class Outcome {
        Asked,        // a new question is set
        ListsDiffer,  // English and Chinese lists have different lengths: nothing changes
        NothingToAsk  // no line of the page can be asked
    };

    // True when some line has a word whose answer is not the placeholder "$".
    static bool hasAskableLine(const QStringList& english);

    // Draws a line and one of its words: reseed, item from 1 to the Chinese list's length,
    // word from 1 to the line's word count, again from the reseed while the answer is the
    // placeholder. A page with nothing to ask draws nothing.
    Outcome SetNewQuestion(const QStringList& english, const QStringList& chinese);

    // Compares the typed text with the answer, byte for byte and case-sensitive; the
    // judgement reseeds and draws its praise and retry clips.
    Judgement Check(const QString& typed) const;

    FillInQuestion question;

  private:
    void ask(int item, int word, const QString& text);
};

}  // namespace games
