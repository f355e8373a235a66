#pragma once

// The takes of the line being recorded: the newest three, so the teacher can compare them and
// keep the best; recording a fourth forgets the oldest.

#include <QList>

#include "voice/take_recorder.h"

namespace studio::voice {

class LineTakes {
  public:
    static constexpr int kKept = 3;

    // Adds a finished take and chooses it; the oldest goes when there are more than three.
    void add(Take take);
    void clear();
    int count() const { return int(takes_.size()); }
    const Take& take(int index) const { return takes_[index]; }
    // The chosen take, -1 for none.
    int chosen() const { return chosen_; }
    void choose(int index);

  private:
    QList<Take> takes_;
    int chosen_ = -1;
};

}  // namespace studio::voice
