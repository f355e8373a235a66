#pragma once

// The built-in feedback clips of the games.

#include <QList>

#include "sound/sound.h"

namespace games {

// Praise after a right answer (three clips, shared with the page exercises).
QList<sound::SoundClip> ExercisePraiseClips();
// Encouragement after a wrong answer in the page games: the first, third and fourth clip of
// the exercises' four retry clips.
QList<sound::SoundClip> GameRetryClips();
// The word games' right and wrong sounds.
sound::SoundClip RightAnswerClip();
QList<sound::SoundClip> WrongAnswerClips();
// The word spelling game's tile click.
sound::SoundClip LetterClickClip();

// The matching game's sounds and its looping music.
struct MatchClips {
    sound::SoundClip select, pair, mismatch, emptyClick, music;
};
MatchClips matchClips();

// Entry `number` (1-based) of a clip set; nothing for a number outside the set.
sound::SoundClip clipNumber(const QList<sound::SoundClip>& set, int number);

}  // namespace games
