#pragma once

// A whole page read aloud in one take, cut into one clip per line. The cuts are first chosen by
// the content tool's splitter, which fits each piece to its line's length; when the take does
// not fit the page (a line left out or read twice) the splitter says which line, and the cuts
// start at the longest pauses (or, failing those, in proportion to the lines' lengths) for the
// teacher to set right: by dragging a boundary, or by tapping a key at each line's start while
// the take plays.

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

#include "recordings/take_splitter.h"
#include "voice/take_recorder.h"

namespace studio::voice {

class PageTake {
  public:
    // Reads an audio file (any kind the content tool reads); false with `error` when it cannot.
    bool load(const QString& path, QString* error);
    // A take recorded in the studio (16-bit samples).
    void setSamples(const std::vector<std::int16_t>& samples, int rate);

    const std::vector<float>& samples() const { return mono_; }
    int rate() const { return rate_; }
    double seconds() const { return rate_ > 0 ? double(mono_.size()) / rate_ : 0.0; }

    // Cuts the take for these lines (in reading order). The problem, when there is one, is in
    // problem()/problemMessage(); there are cuts to set right either way (none for a silent
    // take).
    void split(const QStringList& lines);
    tool::TakeProblem problem() const { return problem_; }
    const QString& problemMessage() const { return message_; }
    // The lines the problem is about (0-based), first to last; -1 when none.
    int problemFirstLine() const { return problemFirst_; }
    int problemLastLine() const { return problemLast_; }
    int lineCount() const { return int(lines_.size()); }
    const QStringList& lines() const { return lines_; }

    // The clips, one per line, in samples: consecutive clips meet or leave a gap, never overlap.
    const std::vector<tool::TakeSpan>& clips() const { return clips_; }
    bool hasClips() const { return !clips_.empty(); }
    // Moves a clip's start (and the previous clip's end where they meet) or its end, kept
    // between its neighbours' boundaries and inside the take.
    void moveStart(int line, qsizetype sample);
    void moveEnd(int line, qsizetype sample);
    // A tap at `sample` while the take plays: line `line` starts here; the line before ends
    // here. Lines tapped out of order are ignored.
    void tapLineStart(int line, qsizetype sample);

    // The clip as 16-bit samples (to write it) and as a WAV file image (to play it).
    Take clipTake(int line) const;
    QByteArray clipWav(int line) const { return takeAsWav(clipTake(line)); }

  private:
    void cutInProportion();

    std::vector<float> mono_;
    int rate_ = 0;
    QStringList lines_;
    std::vector<tool::TakeSpan> clips_;
    tool::TakeProblem problem_ = tool::TakeProblem::None;
    QString message_;
    int problemFirst_ = -1;
    int problemLast_ = -1;
};

}  // namespace studio::voice
