#include "games/common/game_clips.h"

#include "reader/book.h"

namespace games {

QList<ui::SoundClip> ExercisePraiseClips() {
    return {reader::namedClip("praise1"), reader::namedClip("praise2"),
            reader::namedClip("praise3")};
}

QList<ui::SoundClip> GameRetryClips() {
    return {reader::namedClip("retry1"), reader::namedClip("retry3"), reader::namedClip("retry4")};
}

ui::SoundClip RightAnswerClip() {
    return reader::namedClip("right_answer");
}

QList<ui::SoundClip> WrongAnswerClips() {
    return {reader::namedClip("wrong1"), reader::namedClip("wrong2")};
}

ui::SoundClip LetterClickClip() {
    return reader::namedClip("letter_click");
}

MatchClips matchClips() {
    return {reader::namedClip("match_select"), reader::namedClip("match_pair"),
            reader::namedClip("match_mismatch"), reader::namedClip("match_empty"),
            reader::namedClip("match_music")};
}

ui::SoundClip clipNumber(const QList<ui::SoundClip>& set, int number) {
    return set.value(number - 1);
}

}  // namespace games
