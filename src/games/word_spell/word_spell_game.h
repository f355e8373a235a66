#pragma once

// The rules of the word spelling game, without a window: one pass over a unit's words in
// random order, each word's letters shuffled onto a row of fifteen tiles, the clicks that spell
// it, the judgement, skips, redo, the answer, and the summary at the end of the pass. The
// window shows this state and forwards the child's presses.

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

#include "sound/sound.h"

class QWidget;

namespace games {

// Tile 15 is the leftmost; a word of n letters uses tiles 15 down to 16 - n.
inline constexpr int kLetterTileCount = 15;

// The result line's caption before the child has clicked a tile.
extern const QString kWordSpellHint;

struct LetterTile {
    QString letter;
    bool visible = false;
    bool clicked = false;  // the clicked look: takes no more clicks
};

struct WordSpellQuestion {
    QString word;
    QString meaning;
    sound::SoundClip clip;
    int letterClicks = 0;  // letters clicked since the word was set or last restarted
};

class WordSpellGame {
  public:
    // `owner` parents the summary message box and the result window; nullptr gives them none.
    explicit WordSpellGame(QWidget* owner = nullptr);
    WordSpellGame(const WordSpellGame&) = delete;
    WordSpellGame& operator=(const WordSpellGame&) = delete;

    // The two options the window's check boxes give, read when a word is set and on replay.
    bool readAloud = true;
    bool meaningWanted = true;

    // Called just before the game waits on a message box or the result window, so that the
    // window shows the state those boxes speak about.
    std::function<void()> beforeWaiting;
    // Opens the result window; by default the real one, modally over the owner.
    std::function<void()> openResults;

    // Replaces the three word lists with the unit's own copies; says "英语汉语数量不同" when
    // the English and Chinese counts differ and goes on with the lists as they are.
    void LoadUnit(int unit);
    // The same with lists given directly (entry j of each list belongs to word j).
    void LoadWords(const QStringList& english, const QStringList& chinese,
                   const QList<sound::SoundClip>& clips);
    // Draws the next word of the pass and lays its letters out, or ends the pass.
    void SetNewWord();
    // Another unit chosen: silence, the unit's full lists and a new word.
    void ChooseUnit(int unit);
    // A press on tile `number` (1 to 15).
    void ClickTile(int number);
    // The next-word button: the word counts as missed.
    void SkipWord();
    void Redo();
    void ShowAnswer();
    void ReplayWord();
    // The meaning check box was clicked and is now `checked`.
    void SetMeaningShown(bool checked);
    // Opens the result window a pass owes: one that ended with misses before its window was
    // shown. The window calls this once it is up.
    void OpenOwedResults();

    const LetterTile& tile(int number) const { return tiles_[number - 1]; }
    const WordSpellQuestion& question() const { return question_; }
    const QString& resultLine() const { return result_; }
    const QString& meaningText() const { return meaning_; }
    bool meaningVisible() const { return meaningVisible_; }
    bool redoVisible() const { return redoVisible_; }
    // The result line is drawn at 30 points once a tile has been clicked.
    bool resultEnlarged() const { return resultEnlarged_; }
    // True from the summary until another unit is chosen: tiles and the next-word button then
    // do nothing, while the answer and replay buttons still serve the last word.
    bool passOver() const { return passOver_; }
    bool resultsOwed() const { return resultsOwed_; }
    int unitSize() const { return unitSize_; }
    int remainingWords() const { return int(english_.size()); }

  private:
    void endPass();
    // Removes entry k (1-based) from the three lists, each as far as it reaches.
    void removeEntry(int k);
    void layOutLetters(const QString& word);
    // Words are measured in GBK bytes, as every text layout of the program measures them:
    // a word takes one tile per byte, and it is finished when that many tiles are clicked.
    int wordLength() const;

    QPointer<QWidget> owner_;
    bool hasOwner_;
    QStringList english_;
    QStringList chinese_;
    QList<sound::SoundClip> clips_;
    int unitSize_ = 0;
    WordSpellQuestion question_;
    std::array<LetterTile, kLetterTileCount> tiles_{};
    QString result_ = kWordSpellHint;
    QString meaning_;
    bool meaningVisible_ = true;
    bool redoVisible_ = false;
    bool resultEnlarged_ = false;
    bool passOver_ = false;
    bool resultsOwed_ = false;
};

}  // namespace games
