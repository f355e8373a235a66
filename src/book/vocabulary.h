#pragma once

// The unit vocabulary: each teaching unit of the book has a word list (English entry, Chinese
// meaning), any number of words long, and one recording per English word. The dictation trainer and
// the word games take fresh copies of a unit's lists and replace whatever they held before.

#include <QList>
#include <QString>
#include <QStringList>

#include "sound/sound.h"

namespace book {

inline constexpr int kFirstUnit = 1;
// Units are numbered 1 to unitCount().
int unitCount();
// The unit's name in the unit choosers; empty for a number that names no unit.
QString unitName(int unit);

// One unit's list split in two: entry j of each list belongs to word j (index 0 holds word 1).
struct UnitWords {
    QStringList UnitEnglishWords;
    QStringList UnitChineseWords;
};

// The unit's English entries and Chinese meanings, each entry whole (inner spaces and "；"
// included). A number that names no unit gives two empty lists.
UnitWords LoadUnitWords(int unit);

// Replaces `clips` with the unit's word recordings, clip j being the recording of English
// entry j. For a number that names no unit `clips` is left as it was.
void LoadUnitWordClips(int unit, QList<sound::SoundClip>& clips);

}  // namespace book
