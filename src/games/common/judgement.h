#pragma once

// The judgement of an answer in the page games, with the feedback clip it plays.

#include "sound/sound.h"

namespace games {

struct Judgement {
    bool right = false;
    int praise = 1;  // the praise clip to play after a right answer, 1 to 3
    int retry = 1;   // the retry clip to play after a wrong one, 1 to 3
};

// The judgement of an answer found `right` or not: a reseed, then the praise clip and the
// retry clip drawn, both of them whatever the answer.
Judgement judged(bool right);

// What the judgement plays: its praise clip of the three praise clips when right, else its
// retry clip of the page games' three retry clips.
sound::SoundClip feedbackClip(const Judgement& judgement);

}  // namespace games
