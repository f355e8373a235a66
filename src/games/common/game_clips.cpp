#include "games/common/game_clips.h"

#include "book/book.h"

namespace games {

QList<sound::SoundClip> ExercisePraiseClips() {
    return {book::namedClip("praise1"), book::namedClip("praise2"), book::namedClip("praise3")};
}

QList<sound::SoundClip> GameRetryClips() {
    return {book::namedClip("retry1"), book::namedClip("retry3"), book::namedClip("retry4")};
}

sound::SoundClip RightAnswerClip() {
    return book::namedClip("right_answer");
}

QList<sound::SoundClip> WrongAnswerClips() {
    return {book::namedClip("wrong1"), book::namedClip("wrong2")};
}

sound::SoundClip LetterClickClip() {
    return book::namedClip("letter_click");
}

MatchClips matchClips() {
    return {book::namedClip("match_select"), book::namedClip("match_pair"),
            book::namedClip("match_mismatch"), book::namedClip("match_empty"),
            book::namedClip("match_music")};
}

sound::SoundClip clipNumber(const QList<sound::SoundClip>& set, int number) {
    return set.value(number - 1);
}

}  // namespace games
