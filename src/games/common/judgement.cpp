#include "games/common/judgement.h"

#include "games/common/game_clips.h"
#include "ui/service_calls.h"

namespace games {

Judgement judged(bool right) {
    ui::reseedRandom();
    Judgement judgement;
    judgement.praise = ui::drawBetween(1, 3);
    judgement.retry = ui::drawBetween(1, 3);
    judgement.right = right;
    return judgement;
}

sound::SoundClip feedbackClip(const Judgement& judgement) {
    return judgement.right ? clipNumber(ExercisePraiseClips(), judgement.praise)
                           : clipNumber(GameRetryClips(), judgement.retry);
}

}  // namespace games
