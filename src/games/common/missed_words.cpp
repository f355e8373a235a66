#include "games/common/missed_words.h"

namespace games {

QStringList& MissedWordList() {
    static QStringList list;
    return list;
}

void RecordMissedWord(const QString& english, const QString& chinese) {
    MissedWordList() << english << chinese;
}

int MissedWordCount() {
    return int(MissedWordList().size() / 2);
}

}  // namespace games
