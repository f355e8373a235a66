#pragma once

// Cutting one take of a whole page read aloud into one clip per line. Lines have pauses inside
// them ("Hi, Pip! I'm Tom.") as long as the pauses between them, so the longest pauses alone do
// not tell where a line ends: the cuts are chosen among the take's pauses so that each piece
// lasts as long as its line's text predicts at the take's own speaking rate, longer pauses
// being preferred where the lengths leave a choice. A take that fits the page better with a line
// left out or read twice is reported as such rather than cut wrong.

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <vector>

namespace tool {

// Samples [first, end) of a take.
struct TakeSpan {
    qsizetype first = 0;
    qsizetype end = 0;
    friend bool operator==(const TakeSpan&, const TakeSpan&) = default;
};

// Where a take holds speech: from its first onset to its last offset, and the quiet runs
// between (room noise allowed, mains hum filtered away).
struct TakeSpeech {
    bool found = false;
    TakeSpan speech;
    std::vector<TakeSpan> pauses;  // in order, each inside `speech`
};
TakeSpeech findSpeech(const std::vector<float>& mono, int rate);

// How long a line takes to say at an even reading pace, in seconds, told from its words, their
// letters and its inner punctuation (which asks for a breath or a pause).
double spokenLength(const QString& line);

enum class TakeProblem {
    None,
    NoSpeech,      // the take is silent
    TooFewPauses,  // fewer pauses than the page has lines to part
    LineMissing,   // it fits the page with `line` left out
    LineRepeated,  // it fits the page with `line` read twice
    LineMisfit,    // `line` lasts far longer or shorter than its text
};

struct TakeSplit {
    // One clip per line, in the page's order: consecutive clips meet at a cut inside a pause
    // (a little past its middle); the first starts a little before the speech, the last ends a
    // little after it.
    // Empty when the take is silent or has too few pauses.
    std::vector<TakeSpan> clips;
    TakeProblem problem = TakeProblem::None;
    // The line concerned (0-based; -1 when none) and the lines around it that fit the problem
    // about as well (a word list with one word left out cannot tell which): first to last.
    int line = -1;
    int firstLine = -1;
    int lastLine = -1;
    QString message;  // what is wrong, naming the lines by their numbers and texts
};

// Cuts `mono` (at `rate`) into one clip per line of `lines` (in reading order).
TakeSplit splitTake(const std::vector<float>& mono, int rate, const QStringList& lines);

// The cuts in the `lines` - 1 longest pauses, placed and trimmed as splitTake places and trims
// them: the simple rule splitTake is measured against. Empty when there are too few pauses.
std::vector<TakeSpan> splitAtLongestPauses(const std::vector<float>& mono, int rate, int lines);

}  // namespace tool
