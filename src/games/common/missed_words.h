#pragma once

// The words missed in the word games, for the whole program run: two entries per miss, the
// English word and then the Chinese meaning shown. The games append; the result window lists
// the entries and empties the list when it closes; the word-finding games empty it when
// their window opens or their unit changes.

#include <QStringList>

namespace games {

QStringList& MissedWordList();
void RecordMissedWord(const QString& english, const QString& chinese);
// The number of missed words: entries divided by two.
int MissedWordCount();

}  // namespace games
