#include "exercises/exercises.h"

namespace exercises {

void attachAnswerBoxes(reader::ReaderWindow&) {}

}  // namespace exercises
