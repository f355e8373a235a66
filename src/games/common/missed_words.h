#pragma once

// The words missed in the word games, for the whole program run: the program's session keeps
// the list and hands it to the windows that record or show misses. Two entries per miss, the
// English word and then the Chinese meaning shown. The games append; the result window lists
// the entries and empties the list when it closes; the word-finding games empty it when their
// window opens or their unit changes.

#include <QStringList>

namespace games {

class MissedWords {
  public:
    void record(const QString& english, const QString& chinese);
    // Two entries per miss, the oldest first.
    const QStringList& entries() const { return entries_; }
    // The number of missed words: entries divided by two.
    int count() const { return int(entries_.size() / 2); }
    bool isEmpty() const { return entries_.isEmpty(); }
    void clear() { entries_.clear(); }

  private:
    QStringList entries_;
};

}  // namespace games
