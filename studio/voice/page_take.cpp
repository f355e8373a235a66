#include "voice/page_take.h"

#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

#include "recordings/pipeline.h"

namespace studio::voice {

bool PageTake::load(const QString& path, QString* error) {
    QTemporaryDir work;
    QString why;
    std::vector<float> mono;
    int rate = 0;
    if (!work.isValid() ||
        !tool::decodeAudioFile(path, tool::kLongestTake, work.path(), mono, rate, why)) {
        if (error) *error = QStringLiteral("这个录音文件读不出来：%1").arg(why);
        return false;
    }
    mono_ = std::move(mono);
    rate_ = rate;
    clips_.clear();
    return true;
}

void PageTake::setSamples(const std::vector<std::int16_t>& samples, int rate) {
    mono_.resize(samples.size());
    std::transform(samples.begin(), samples.end(), mono_.begin(),
                   [](std::int16_t s) { return float(s) / 32768.0f; });
    rate_ = rate;
    clips_.clear();
}

void PageTake::split(const QStringList& lines) {
    lines_ = lines;
    const tool::TakeSplit split = tool::splitTake(mono_, rate_, lines_);
    problem_ = split.problem;
    message_ = split.message;
    problemFirst_ = split.firstLine >= 0 ? split.firstLine : split.line;
    problemLast_ = split.lastLine >= 0 ? split.lastLine : split.line;
    clips_ = split.clips;
    if (clips_.empty() && problem_ != tool::TakeProblem::NoSpeech)
        clips_ = tool::splitAtLongestPauses(mono_, rate_, int(lines_.size()));
    if (clips_.empty() && problem_ != tool::TakeProblem::NoSpeech) cutInProportion();
}

// Cuts the whole take into pieces as long as the lines' texts predict: a start for the teacher
// to set right when the pauses tell nothing.
void PageTake::cutInProportion() {
    if (lines_.isEmpty() || mono_.empty()) return;
    std::vector<double> lengths;
    double total = 0;
    for (const QString& line : lines_) {
        lengths.push_back(std::max(0.2, tool::spokenLength(line)));
        total += lengths.back();
    }
    const auto size = double(mono_.size());
    double at = 0;
    for (double length : lengths) {
        const auto first = qsizetype(std::llround(at / total * size));
        at += length;
        clips_.push_back({first, qsizetype(std::llround(at / total * size))});
    }
}

void PageTake::moveStart(int line, qsizetype sample) {
    if (line < 0 || line >= int(clips_.size())) return;
    tool::TakeSpan& clip = clips_[size_t(line)];
    const qsizetype low = line > 0 ? clips_[size_t(line) - 1].first + 1 : 0;
    if (low > clip.end - 1) return;  // no room between the neighbours
    sample = std::clamp(sample, low, clip.end - 1);
    if (line > 0 && clips_[size_t(line) - 1].end >= clip.first)
        clips_[size_t(line) - 1].end = sample;  // they met: the boundary moves for both
    else if (line > 0)
        clips_[size_t(line) - 1].end = std::min(clips_[size_t(line) - 1].end, sample);
    clip.first = sample;
}

void PageTake::moveEnd(int line, qsizetype sample) {
    if (line < 0 || line >= int(clips_.size())) return;
    tool::TakeSpan& clip = clips_[size_t(line)];
    const bool last = line + 1 == int(clips_.size());
    const qsizetype high = last ? qsizetype(mono_.size()) : clips_[size_t(line) + 1].end - 1;
    if (clip.first + 1 > high) return;  // no room between the neighbours
    sample = std::clamp(sample, clip.first + 1, high);
    if (!last && clips_[size_t(line) + 1].first <= clip.end)
        clips_[size_t(line) + 1].first = sample;
    else if (!last)
        clips_[size_t(line) + 1].first = std::max(clips_[size_t(line) + 1].first, sample);
    clip.end = sample;
}

void PageTake::tapLineStart(int line, qsizetype sample) {
    if (line < 0 || line >= int(clips_.size())) return;
    if (line > 0 && sample <= clips_[size_t(line) - 1].first) return;
    // A tap after the take has ended (or too near its end for the lines left) is ignored.
    const auto linesLeft = qsizetype(clips_.size()) - line;
    if (sample < 0 || sample > qsizetype(mono_.size()) - linesLeft) return;
    tool::TakeSpan& clip = clips_[size_t(line)];
    if (line > 0) clips_[size_t(line) - 1].end = sample;
    clip.first = sample;
    clip.end = std::max(clip.end, sample + 1);
    for (size_t next = size_t(line) + 1; next < clips_.size(); ++next) {
        // Later lines keep their places unless the tap ran past them.
        if (clips_[next].first >= clips_[next - 1].end) break;
        clips_[next].first = clips_[next - 1].end;
        clips_[next].end = std::max(clips_[next].end, clips_[next].first + 1);
    }
}

Take PageTake::clipTake(int line) const {
    const tool::TakeSpan clip = clips_.at(size_t(line));
    Take take;
    take.sampleRate = rate_;
    take.samples.resize(size_t(std::max<qsizetype>(0, clip.end - clip.first)));
    for (size_t i = 0; i < take.samples.size(); ++i) {
        const float value = mono_[size_t(clip.first) + i] * 32768.0f;
        take.samples[i] = std::int16_t(std::lrint(std::clamp(value, -32768.0f, 32767.0f)));
    }
    return take;
}

}  // namespace studio::voice
