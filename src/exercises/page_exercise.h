#pragma once

// The state shared by the listen-and-find practice and the find-it exercise.

#include <QList>
#include <QStringList>

#include "sound/sound.h"

namespace exercises {

// Bounds of a page's hotspots in the page picture's coordinates; entry i belongs to hotspot
// i + 1 while nothing has been removed.
struct Bounds {
    QList<int> Left, Right, Top, Bottom;
    void clear() {
        Left.clear();
        Right.clear();
        Top.clear();
        Bottom.clear();
    }
    void removeAt(qsizetype i) {
        Left.removeAt(i);
        Right.removeAt(i);
        Top.removeAt(i);
        Bottom.removeAt(i);
    }
};

inline constexpr int kPractice = 0;
inline constexpr int kFindIt = 1;

struct PageExercise {
    int ExerciseMode = kPractice;
    QStringList RemainingTexts;
    QList<sound::SoundClip> RemainingClips;
    Bounds HotspotBounds;
    Bounds FullBounds;
    int CurrentPick = 0;    // 1-based index into the remaining lists of the item asked
    QList<int> TargetList;  // hotspot numbers whose Chinese line equals the item asked
    bool asking = false;    // an item has been asked and waits for a press
    int page = 0;           // the book page the exercise was started on
};

PageExercise& pageExercise();
// Called by the reader's navigation: the page's bounds go with its content.
void ClearHotspotBounds();

}  // namespace exercises
