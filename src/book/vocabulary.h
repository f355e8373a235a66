#pragma once

// The unit vocabulary: each of the six teaching units has a fixed word list (English entry,
// Chinese meaning) and one recording per English word. The dictation trainer and the word
// games take fresh copies of a unit's lists and replace whatever they held before.

#include <QList>
#include <QStringList>

#include "sound/sound.h"

namespace book {

inline constexpr int kFirstUnit = 1;
inline constexpr int kLastUnit = 6;

// One unit's list split in two: entry j of each list belongs to word j (index 0 holds word 1).
struct UnitWords {
    QStringList UnitEnglishWords;
    QStringList UnitChineseWords;
};

// The unit's English entries and Chinese meanings, each entry whole (inner spaces and "；"
// included). A unit number outside 1 to 6 gives two empty lists.
UnitWords LoadUnitWords(int unit);

// Replaces `clips` with the unit's word recordings, clip j being the recording of English
// entry j. For a unit number outside 1 to 6 `clips` is left as it was.
void LoadUnitWordClips(int unit, QList<sound::SoundClip>& clips);

}  // namespace book
