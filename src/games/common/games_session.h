#pragma once

// What the games remember while the program runs. The program's session keeps one and hands
// each game window the part it uses.

#include "games/common/missed_words.h"

namespace games {

struct GamesSession {
    MissedWords missedWords;
    // How many sentence-ordering questions were set since the program started; never reset,
    // so that only the very first question of a run shows the instruction in black.
    int sentenceOrderStarts = 0;
};

}  // namespace games
