#pragma once

// The built-in feedback clips of the games.

#include <QList>

#include "ui/sound.h"

namespace games {

// Praise after a right answer (three clips, shared with the page exercises).
QList<ui::SoundClip> ExercisePraiseClips();
// Encouragement after a wrong answer in the page games: the first, third and fourth clip of
// the exercises' four retry clips.
QList<ui::SoundClip> GameRetryClips();
// The word games' right and wrong sounds.
ui::SoundClip RightAnswerClip();
QList<ui::SoundClip> WrongAnswerClips();
// The word spelling game's tile click.
ui::SoundClip LetterClickClip();

// The matching game's sounds and its looping music.
struct MatchClips {
    ui::SoundClip select, pair, mismatch, emptyClick, music;
};
MatchClips matchClips();

// Entry `number` (1-based) of a clip set; nothing for a number outside the set.
ui::SoundClip clipNumber(const QList<ui::SoundClip>& set, int number);

}  // namespace games
