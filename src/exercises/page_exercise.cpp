#include "exercises/page_exercise.h"

namespace exercises {

PageExercise& pageExercise() {
    static PageExercise state;
    return state;
}

void ClearHotspotBounds() {
    pageExercise().HotspotBounds.clear();
}

}  // namespace exercises
