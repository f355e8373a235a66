#pragma once

// The rules of the word dictation trainer (背单词), apart from its screen: a run over a unit's
// words in textbook or random order, the judgement of each typed word, the status line and the
// record of the words missed.
//
// A run lives as long as the program: leaving the dictation screen, or a reader window made
// anew for the other screen mode, keeps it as it was; only the start button begins a new one.

#include <QList>
#include <QString>
#include <QStringList>

#include "sound/sound.h"

namespace exercises {

struct DictationWord {
    QString english;
    QString chinese;
    sound::SoundClip clip;
};

class WordDictation {
  public:
    enum class Order { Textbook, Random };

    // Begins a run over the words of unit `unit`. Nothing is asked yet.
    void Start(int unit);
    // What the screen shows, right after Start, instead of a run over a unit without words:
    // kNoWords; empty when the unit has words.
    QString noWordsLine() const;
    static const char* const kNoWords;

    struct Next {
        bool runOver = false;  // every word has been asked: nothing more is asked
        QString meaning;       // the Chinese meaning of the word asked
    };
    // Presents the next word: reseeds the random source and counts the word; unless that ends
    // the run, takes the next word in `order` (read afresh for every word) and plays it. Random
    // order draws uniformly from the words not asked yet.
    Next NextWord(Order order);

    // Judges the typed word against the word asked, compared as typed: no trimming, and
    // capital and small letters differ. A wrong word joins the record. Stops any sound first.
    // Returns the mark to show: "√" or "×".
    QString Confirm(const QString& typed);
    // Skips the word asked: it joins the record as wrong, without a mark. Stops any sound.
    void Skip();
    // Plays the word asked again, after stopping any sound.
    void Replay() const;
    // A new unit or order was chosen: the record is emptied; the run's words stay until the
    // next start.
    void Reset() { wrongWords_.clear(); }

    // The status line while the run goes on, "<unit>共<words>个单词。目前错误<wrong>个", and once
    // it is over, "<unit>共<words>个单词。共错误<wrong>个"; `unitName` is the unit as the chooser
    // shows it.
    QString runningStatus(const QString& unitName) const;
    QString finalStatus(const QString& unitName) const;
    // The words missed or skipped, each as English then Chinese on a line of its own followed
    // by an empty line (CR LF line ends).
    QString record() const;

    // How many words have been presented, the one asked included.
    int position() const { return position_; }
    const DictationWord& currentWord() const { return current_; }

  private:
    int nextWordNumber(Order order);
    void recordWrong();
    QString statusLine(const QString& unitName, const QString& wrongCountWording) const;

    // Word numbers are 1-based, as the child counts them; list index 0 holds word 1.
    QStringList english_;
    QStringList chinese_;
    QList<sound::SoundClip> clips_;  // clip j belongs to English word j
    int position_ = 0;
    QList<int> undrawn_;  // word numbers not yet drawn in random order
    DictationWord current_;
    QStringList wrongWords_;  // English + Chinese + CR LF per wrong or skipped word
};

}  // namespace exercises
