#pragma once

// The word dictation trainer's memory. It lives for the program's whole life: leaving the
// dictation screen, or a reader window made anew for the other screen mode, keeps the run as
// it was; only the start button begins a new one.

#include <QList>
#include <QStringList>

#include "sound/sound.h"

namespace reader {
class ReaderWindow;
}

namespace exercises {

// Word numbers are 1-based, as the child counts them; list index 0 holds word 1.
struct DictationState {
    QStringList ChineseWords;
    QStringList EnglishWords;
    QList<sound::SoundClip> WordClips;  // clip j belongs to English word j
    qint32 WordTotal = 0;               // shown in the status line
    qint32 EnglishTotal = 0;            // decides when the run ends
    qint32 Position = 0;                // how many words have been presented
    QList<qint32> Pool;                 // word numbers not yet drawn in random order
    qint32 OrderMode = 0;               // order choice read for the last word: 1 textbook order
    QString CurrentEnglish;
    QString CurrentChinese;
    sound::SoundClip CurrentClip;
    QStringList WrongWordList;  // English + Chinese + CR LF per wrong or skipped word
};

DictationState& dictationState();
// Back to the empty state of a fresh program start.
void resetDictationState();

// Puts the trainer's controls on the window's dictation screen and runs them.
void attachDictation(reader::ReaderWindow& window);

}  // namespace exercises
