#include "games/common/missed_words.h"

namespace games {

void MissedWords::record(const QString& english, const QString& chinese) {
    entries_ << english << chinese;
}

}  // namespace games
