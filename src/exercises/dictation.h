#pragma once

// The word dictation trainer (背单词) on the reader window's dictation screen; its rules are in
// exercises/word_dictation.h.

#include "exercises/word_dictation.h"

namespace reader {
class ReaderWindow;
}

namespace exercises {

// Puts the trainer's controls on the window's dictation screen and runs them over `run`.
void attachDictation(reader::ReaderWindow& window, WordDictation& run);

}  // namespace exercises
