#pragma once

// The rules of the listen-and-find practice (练一练) and of its reading twin find-it (找一找),
// apart from the reader window: which entry of the page is asked, whether a press finds it,
// which praise or encouragement it earns, and when the page is done.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include "sound/sound.h"

namespace exercises {

class PageExercise {
  public:
    enum class Kind {
        Practice,  // the entry's recording is played; the child presses where it is
        FindIt,    // the entry's Chinese meaning is shown; the child presses where it is
    };

    // Begins an exercise on book page `page`, whose entries carry `chineseLines` and `clips`
    // (entry i + 1 at index i) and whose hotspots have `hotspotBounds` in the page picture's
    // coordinates, entry i belonging to hotspot i + 1. Stops any sound. Nothing is asked yet.
    void Open(Kind kind, int page, const QStringList& chineseLines,
              const QList<sound::SoundClip>& clips, const QList<QRect>& hotspotBounds);

    // What the window shows, right after Open, instead of the exercise when the page has no
    // entry to ask (every meaning is a placeholder): kNothingToAsk; empty when it has one.
    QString nothingToAskLine() const;
    static const char* const kNothingToAsk;

    struct Question {
        enum class Outcome {
            Asked,        // `text` and `clip` are the entry asked; presses are awaited
            PageDone,     // nothing is left to ask: the exercise is over
            CountsDiffer  // the entries and the hotspots disagree: the exercise is over
        };
        Outcome outcome = Outcome::PageDone;
        QString text;
        sound::SoundClip clip;
        // With CountsDiffer: the entries left (the recordings in practice, the meanings in
        // find-it) and the hotspot bounds left.
        int shownCount = 0;
        int boundsCount = 0;
    };
    // Asks a random entry of those left. Each draw begins with a reseed, the silencing of any
    // sound and a fresh target list; a placeholder ("$") drawn leaves the list unasked and the
    // draw is made again.
    Question AskNext();

    struct Press {
        bool found = false;
        int praise = 1;  // the praise clip earned by a find, 1 to 3
        int retry = 1;   // the encouragement earned by a miss, 1 to 4
    };
    // Judges a press relative to the overlay against the bounds of the hotspots whose Chinese
    // line is the one asked, compared as they are. The top edge reaches 10 pixels higher; the
    // other edges are strict. Reseeds, draws the praise and the encouragement, then stops any
    // sound, whatever the press.
    Press JudgePress(QPoint press) const;
    // The entry asked was found: it leaves the lists. True when nothing is left, which ends
    // the exercise.
    bool TakeFound();
    // Ends the exercise without a word.
    void End() { asking_ = false; }
    // The shown page was left: its bounds go with its content, so an exercise that carried on
    // would end at its next question.
    void ForgetPageBounds() { boundsLeft_ = 0; }

    // True while an entry of `page` is asked and waits for a press.
    bool awaitsPressOn(int page) const { return asking_ && page == page_; }
    bool asking() const { return asking_; }
    Kind kind() const { return kind_; }
    // The entry asked, to be asked again after a miss.
    QString askedText() const { return textsLeft_.value(asked_ - 1); }
    sound::SoundClip askedClip() const { return clipsLeft_.value(asked_ - 1); }
    // The hotspot numbers whose Chinese line is the entry asked, highest number first.
    const QList<int>& targets() const { return targets_; }
    // Every hotspot's bounds as collected when the exercise opened.
    const QList<QRect>& hotspotBounds() const { return fullBounds_; }

  private:
    void pick();
    void removeAsked();

    Kind kind_ = Kind::Practice;
    int page_ = 0;  // the book page the exercise was opened on
    QStringList pageLines_;
    QStringList textsLeft_;
    QList<sound::SoundClip> clipsLeft_;  // practice only
    QList<QRect> fullBounds_;            // never shrinks: the hit test reads it
    qsizetype boundsLeft_ = 0;           // one per entry left, checked against textsLeft_
    int asked_ = 0;                      // 1-based index into the lists left of the entry asked
    QList<int> targets_;
    bool asking_ = false;
};

}  // namespace exercises
