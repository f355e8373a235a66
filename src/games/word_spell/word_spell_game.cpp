#include "games/word_spell/word_spell_game.h"

#include <algorithm>

#include "book/vocabulary.h"
#include "games/common/game_clips.h"
#include "ui/gbk_text.h"
#include "ui/service_calls.h"

namespace games {

const QString kWordSpellHint = QStringLiteral("点击上面的字母看我有什么变化哦");

namespace {

// A tile shows one single-byte letter, so a word fits the row when it is 1 to 15 GBK bytes
// long and every character of it is one byte: a double-byte character has no tile to go on.
bool fitsTheTiles(const QString& word) {
    const int bytes = ui::gbkLength(word);
    return bytes >= 1 && bytes <= kLetterTileCount && bytes == word.size();
}

}  // namespace

const char* const WordSpellGame::kNoWordToSpell = "这个单元没有可以拼的单词";

WordSpellGame::WordSpellGame(MissedWords& missed) : missed_(missed) {}

QString WordSpellGame::noWordToSpellLine() const {
    return spellable_ ? QString() : QString::fromUtf8(kNoWordToSpell);
}

SpellNews WordSpellGame::LoadUnit(int unit) {
    const book::UnitWords words = book::LoadUnitWords(unit);
    QList<sound::SoundClip> clips;
    book::LoadUnitWordClips(unit, clips);
    return LoadWords(words.UnitEnglishWords, words.UnitChineseWords, clips);
}

SpellNews WordSpellGame::LoadWords(const QStringList& english, const QStringList& chinese,
                                   const QList<sound::SoundClip>& clips) {
    english_ = english;
    chinese_ = chinese;
    clips_ = clips;
    unitSize_ = int(english_.size());
    spellable_ = std::any_of(english_.begin(), english_.end(), fitsTheTiles);
    passOver_ = false;
    // Let the sound service decode the unit's recordings and the game's own sounds while the
    // child looks at the first word, so that no press waits for a decoder.
    if (sound::Sound* sound = ui::services().sound)
        sound->prepare(clips_ + QList<sound::SoundClip>{LetterClickClip(), RightAnswerClip(),
                                                        clipNumber(WrongAnswerClips(), 1)});
    SpellNews news;
    if (english_.size() != chinese_.size())
        news.messages.append({QStringLiteral("英语汉语数量不同"), QString()});
    return news;
}

SpellNews WordSpellGame::ChooseUnit(int unit) {
    ui::stopAllClips();
    return LoadUnit(unit);
}

SpellNews WordSpellGame::SetNewWord() {
    if (!spellable_) {
        question_ = {};
        meaning_.clear();
        for (LetterTile& tile : tiles_) tile = LetterTile{};
        redoVisible_ = false;
        result_.clear();
        passOver_ = true;
        return {};
    }
    // A word that cannot be laid out on the tiles (empty, longer than the row, or holding a
    // double-byte character) is dropped from the pass unheard and unrecorded; the loop then
    // draws again.
    for (;;) {
        ui::reseedRandom();
        question_.letterClicks = 0;
        redoVisible_ = false;
        if (english_.isEmpty()) return endPass();
        const int k = ui::drawBetween(1, int(english_.size()));
        const QString word = english_.value(k - 1);
        if (!fitsTheTiles(word)) {
            removeEntry(k);
            unitSize_ = std::max(0, unitSize_ - 1);
            continue;
        }
        question_.word = word;
        question_.meaning = chinese_.value(k - 1);
        question_.clip = clips_.value(k - 1);
        if (readAloud) ui::playClip(question_.clip);
        meaning_ = question_.meaning;
        if (meaningWanted) meaningVisible_ = true;
        layOutLetters(word);
        removeEntry(k);
        return {};
    }
}

int WordSpellGame::wordLength() const {
    return ui::gbkLength(question_.word);
}

void WordSpellGame::layOutLetters(const QString& word) {
    for (LetterTile& tile : tiles_) tile = LetterTile{};
    QString unplaced = word;
    // Position p (1 = leftmost) is tile 16 - p; the positions are filled from the right end
    // of the word's stretch of tiles back to the leftmost tile. The word is all single-byte
    // characters (fitsTheTiles), so each position takes one character.
    for (int p = ui::gbkLength(word); p >= 1; --p) {
        LetterTile& tile = tiles_[kLetterTileCount - p];
        tile.visible = true;
        const int r = ui::drawBetween(1, int(unplaced.size()));
        tile.letter = unplaced.mid(r - 1, 1);
        unplaced.remove(r - 1, 1);
    }
}

void WordSpellGame::removeEntry(int k) {
    if (k <= english_.size()) english_.removeAt(k - 1);
    if (k <= chinese_.size()) chinese_.removeAt(k - 1);
    if (k <= clips_.size()) clips_.removeAt(k - 1);
}

SpellNews WordSpellGame::endPass() {
    passOver_ = true;
    const int misses = missed_.count();
    QString text = QStringLiteral("本课共") + QString::number(unitSize_) +
                   QStringLiteral("个单词,错误") + QString::number(misses);
    text += misses != 0 ? QStringLiteral("个。继续努力哦！") : QStringLiteral("个。继续保持哦！");
    SpellNews news;
    news.messages.append({text, QStringLiteral("错误情况")});
    news.listMisses = misses != 0;
    return news;
}

SpellNews WordSpellGame::ClickTile(int number) {
    if (passOver_ || number < 1 || number > kLetterTileCount) return {};
    LetterTile& tile = tiles_[number - 1];
    if (!tile.visible || tile.clicked) return {};
    question_.letterClicks += 1;
    if (question_.letterClicks == 1) result_.clear();
    ui::playClip(LetterClickClip());
    tile.clicked = true;
    resultEnlarged_ = true;
    redoVisible_ = true;
    if (result_ == kWordSpellHint) result_.clear();
    result_ += tile.letter;
    if (question_.letterClicks != wordLength()) return {};
    if (result_ == question_.word) {
        ui::playClip(RightAnswerClip());
    } else {
        ui::playClip(clipNumber(WrongAnswerClips(), 1));
        missed_.record(question_.word, question_.meaning);
    }
    // No stop: the next word's recording starts while the feedback still sounds.
    question_.letterClicks = 0;
    result_.clear();
    return SetNewWord();
}

SpellNews WordSpellGame::SkipWord() {
    if (passOver_) return {};
    ui::stopAllClips();
    missed_.record(question_.word, question_.meaning);
    result_.clear();
    return SetNewWord();
}

void WordSpellGame::Redo() {
    if (passOver_) return;
    question_.letterClicks = 0;
    for (LetterTile& tile : tiles_) tile.clicked = false;
    result_.clear();
}

void WordSpellGame::ShowAnswer() {
    result_ = question_.word;
}

void WordSpellGame::ReplayWord() {
    if (readAloud) ui::playClip(question_.clip);
}

void WordSpellGame::SetMeaningShown(bool checked) {
    meaningWanted = checked;
    meaningVisible_ = checked;
}

}  // namespace games
