#pragma once

// The listen-and-find practice (练一练) and its reading twin find-it (找一找) on the reader
// window. Both turn the page on show into an exercise: an overlay covering the page takes every
// press, and each press is judged by the exercise's rules (exercises/page_exercise.h) against
// the bounds of the page's hotspots.

#include "exercises/page_exercise.h"

namespace reader {
class ReaderWindow;
}

namespace exercises {

// Opens an exercise of `kind` on the page on show: the overlays take the presses, the opening
// instruction plays and the first entry is asked.
void StartPageExercise(reader::ReaderWindow& window, PageExercise& exercise,
                       PageExercise::Kind kind);

// Routes the presses on the window's page overlays to `exercise`, and lets it forget a page's
// hotspots when the page is left.
void attachPageExercises(reader::ReaderWindow& window, PageExercise& exercise);

}  // namespace exercises
