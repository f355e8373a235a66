#pragma once

// The in-book exercises: what they remember while the program runs, and how each wires
// itself to a new reader window.

#include "exercises/page_exercise.h"
#include "exercises/word_dictation.h"

namespace reader {
class ReaderWindow;
}

namespace exercises {

// The exercises' memory. The program keeps one and hands it to every reader window it
// opens.
struct ExerciseMemory {
    PageExercise page;        // the practice or find-it run on the shown page
    WordDictation dictation;  // the word dictation run
};

// The practice and find-it exercises take the page overlays' presses, the answer boxes check
// their pages' boxes, the word dictation trainer runs its screen.
void attachExercises(reader::ReaderWindow& window, ExerciseMemory& memory);

}  // namespace exercises
