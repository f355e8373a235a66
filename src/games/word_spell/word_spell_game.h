#pragma once

// The rules of the word spelling game, without a window: one pass over a unit's words in
// random order, each word's letters shuffled onto a row of fifteen tiles, the clicks that spell
// it, the judgement, skips, redo, the answer, and the summary at the end of the pass. The
// window shows this state, forwards the child's presses and tells the child what the game's
// steps report.

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

#include "games/common/game_message.h"
#include "games/common/missed_words.h"
#include "sound/sound.h"

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

// What a step of the game asks its window to tell the child, in this order: the message
// boxes, then the result window over the missed words.
struct SpellNews {
    QList<GameMessage> messages;
    // The pass ended with misses: the result window follows the summary, unless the window
    // was closed while the summary was up.
    bool listMisses = false;
};

class WordSpellGame {
  public:
    // Misses are recorded in `missed`, which outlives the game.
    explicit WordSpellGame(MissedWords& missed);
    WordSpellGame(const WordSpellGame&) = delete;
    WordSpellGame& operator=(const WordSpellGame&) = delete;

    // The two options the window's check boxes give, read when a word is set and on replay.
    bool readAloud = true;
    bool meaningWanted = true;

    // Replaces the three word lists with the unit's own copies; when the English and Chinese
    // counts differ, the news says "英语汉语数量不同" and play goes on with the lists as they
    // are.
    SpellNews LoadUnit(int unit);
    // The same with lists given directly (entry j of each list belongs to word j).
    SpellNews LoadWords(const QStringList& english, const QStringList& chinese,
                        const QList<sound::SoundClip>& clips);
    // Draws the next word of the pass and lays its letters out, or ends the pass: the news
    // then holds the summary (and the result window when words were missed). Lists without a
    // word that fits the tiles give no pass at all: no word, no summary, the tiles inert.
    SpellNews SetNewWord();
    // What the window shows in place of the game when the lists loaded hold no word that fits
    // the tiles: kNoWordToSpell; empty when they hold one.
    QString noWordToSpellLine() const;
    static const char* const kNoWordToSpell;
    // Another unit chosen: silence and the unit's full lists, told as LoadUnit tells them;
    // SetNewWord then begins the unit's pass.
    SpellNews ChooseUnit(int unit);
    // A press on tile `number` (1 to 15).
    SpellNews ClickTile(int number);
    // The next-word button: the word counts as missed.
    SpellNews SkipWord();
    void Redo();
    void ShowAnswer();
    void ReplayWord();
    // The meaning check box was clicked and is now `checked`.
    void SetMeaningShown(bool checked);

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
    int unitSize() const { return unitSize_; }
    int remainingWords() const { return int(english_.size()); }

  private:
    SpellNews endPass();
    // Removes entry k (1-based) from the three lists, each as far as it reaches.
    void removeEntry(int k);
    void layOutLetters(const QString& word);
    // Words are measured in GBK bytes, as every text layout of the program measures them:
    // a word takes one tile per byte, and it is finished when that many tiles are clicked.
    int wordLength() const;

    MissedWords& missed_;
    QStringList english_;
    QStringList chinese_;
    QList<sound::SoundClip> clips_;
    int unitSize_ = 0;
    bool spellable_ = false;  // the lists loaded hold a word that fits the tiles
    WordSpellQuestion question_;
    std::array<LetterTile, kLetterTileCount> tiles_{};
    QString result_ = kWordSpellHint;
    QString meaning_;
    bool meaningVisible_ = true;
    bool redoVisible_ = false;
    bool resultEnlarged_ = false;
    bool passOver_ = false;
};

}  // namespace games
