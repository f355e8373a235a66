#pragma once

namespace reader {
class ReaderWindow;
}

namespace games {

// Wires the reader's game buttons to the game windows: each press opens its game modally
// over the reader.
void attachGames(reader::ReaderWindow& window);

}  // namespace games
