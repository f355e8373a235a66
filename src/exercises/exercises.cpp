#include "exercises/exercises.h"

#include "exercises/answer_boxes.h"
#include "exercises/dictation.h"
#include "exercises/practice.h"

namespace exercises {

void attachExercises(reader::ReaderWindow& window, ExerciseMemory& memory) {
    attachPageExercises(window, memory.page);
    attachAnswerBoxes(window);
    attachDictation(window, memory.dictation);
}

}  // namespace exercises
