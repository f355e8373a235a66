#pragma once

// What the games remember while the program runs. The program's session keeps one and hands
// each game window the part it uses.

namespace games {

struct GamesSession {
    // How many sentence-ordering questions were set since the program started; never reset,
    // so that only the very first question of a run shows the instruction in black.
    int sentenceOrderStarts = 0;
};

}  // namespace games
