#include "exercises/exercises.h"

namespace exercises {

void attachPageExercises(reader::ReaderWindow&) {}

}  // namespace exercises
