#pragma once

namespace reader {
class ReaderWindow;
}

namespace exercises {

// Each in-book exercise wires itself to a new reader window: the practice and find-it
// exercises to the toolbar and the page overlays, the answer boxes to their pages, the word
// dictation trainer to its screen.
void attachPageExercises(reader::ReaderWindow& window);
void attachAnswerBoxes(reader::ReaderWindow& window);
void attachDictation(reader::ReaderWindow& window);

}  // namespace exercises
