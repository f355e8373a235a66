#include "recordings/msadpcm.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

#include "recordings/wav_image.h"
#include "sound/wav_format.h"

namespace tool {

namespace {

// The format's step-size adaptation (in 1/256).
constexpr std::array<int, 16> kAdaptation{230, 230, 230, 230, 307, 409, 512, 614,
                                          768, 614, 512, 409, 307, 230, 230, 230};
constexpr int kSmallestStep = 16;
constexpr int kLargestStep = 32767;

// Partial codings kept at each sample, and how many of the likeliest block starts are searched.
constexpr int kBeamWidth = 8;
constexpr int kFinalists = 3;

int clampSample(int v) {
    return std::clamp(v, -32768, 32767);
}

// The coder's state after a sample, as the decoder will have it.
struct CoderState {
    int sample1 = 0;  // the last decoded sample
    int sample2 = 0;  // the one before it
    int step = kSmallestStep;
};

// What the predictor makes of the last two samples.
int predict(const CoderState& state, int predictor) {
    return (state.sample1 * kMsAdpcmCoefficient1[size_t(predictor)] +
            state.sample2 * kMsAdpcmCoefficient2[size_t(predictor)]) >>
           8;
}

// The code (-8..7) whose sample lies nearest to `target`.
int nearestCode(int predicted, int step, int target) {
    const int miss = target - predicted;
    // Rounds half away from zero; integer division truncates towards it.
    const int code = (miss + (miss < 0 ? -step : step) / 2) / step;
    return std::clamp(code, -8, 7);
}

// The step size after `code`, before it is held at the smallest.
int nextStep(int step, int code) {
    return (kAdaptation[size_t(code & 15)] * step) >> 8;
}

// `code`, or where the step size would then leave 16 bits, the nearest code towards zero that
// keeps it in (the codes -3..3 always shrink it).
int allowedCode(int step, int code) {
    while (nextStep(step, code) > kLargestStep) code += code < 0 ? 1 : -1;
    return code;
}

// Decodes `code` from `state`; false when the next step size would leave 16 bits.
inline bool advance(const CoderState& state, int predicted, int code, CoderState& next) {
    const int step = nextStep(state.step, code);
    if (step > kLargestStep) return false;
    next.sample2 = state.sample1;
    next.sample1 = clampSample(predicted + code * state.step);
    next.step = std::max(step, kSmallestStep);
    return true;
}

// The error of a coding that was given up: worse than any other.
constexpr std::int64_t kGivenUp = std::numeric_limits<std::int64_t>::max();

struct Node {
    CoderState state;
    std::int64_t error = 0;
    int parent = -1;
    int code = 0;
};

// How one block starts: its predictor and initial step size, and what coding it that way costs.
struct BlockStart {
    int predictor = 0;
    int step = kSmallestStep;
    std::int64_t error = kGivenUp;
};

bool byError(const BlockStart& a, const BlockStart& b) {
    return a.error < b.error;
}

// Codes samples 2.. of a block from its two stored samples, keeping the best partial codings at
// each sample, each followed by the nearest code and its two neighbours; returns the squared
// error of the best and writes its codes (one per sample from 2). A coding that cannot beat
// `bound` is given up as soon as that shows (the error only grows), returning kGivenUp.
std::int64_t codeBlock(const short* x, int frames, const BlockStart& start, std::int64_t bound,
                       std::vector<Node>& nodes, std::vector<int>& codes) {
    constexpr int width = kBeamWidth;
    CoderState first;
    first.sample1 = x[1];
    first.sample2 = x[0];
    first.step = start.step;
    nodes.assign(size_t(frames) * size_t(width), Node{});
    // Each kept coding is followed by three codes; filled in place, as copying them is what
    // this loop would otherwise spend its time on.
    std::array<Node, 3 * kBeamWidth> candidates;
    int alive = 1;
    nodes[size_t(width)] = Node{first, 0, -1, 0};  // row 1: the stored samples
    for (int i = 2; i < frames; ++i) {
        int count = 0;
        const Node* row = &nodes[size_t(i - 1) * size_t(width)];
        for (int b = 0; b < alive; ++b) {
            const int predicted = predict(row[b].state, start.predictor);
            const int nearest =
                allowedCode(row[b].state.step, nearestCode(predicted, row[b].state.step, x[i]));
            for (int code = std::max(-8, nearest - 1); code <= std::min(7, nearest + 1); ++code) {
                Node& n = candidates[size_t(count)];
                if (!advance(row[b].state, predicted, code, n.state)) continue;
                const std::int64_t miss = n.state.sample1 - x[i];
                n.error = row[b].error + miss * miss;
                n.parent = b;
                n.code = code;
                ++count;
            }
        }
        alive = std::min(width, count);
        std::partial_sort(candidates.begin(), candidates.begin() + alive,
                          candidates.begin() + count,
                          [](const Node& a, const Node& b) { return a.error < b.error; });
        if (candidates.front().error >= bound) return kGivenUp;
        std::copy_n(candidates.begin(), alive, &nodes[size_t(i) * size_t(width)]);
    }
    codes.assign(size_t(std::max(0, frames - 2)), 0);
    int b = 0;
    for (int i = frames - 1; i >= 2; --i) {
        const Node& n = nodes[size_t(i) * size_t(width) + size_t(b)];
        codes[size_t(i - 2)] = n.code;
        b = n.parent;
    }
    return frames > 2 ? nodes[size_t(frames - 1) * size_t(width)].error : 0;
}

// The squared error of coding a block greedily, the nearest code at every sample.
// Gives up, returning kGivenUp, as soon as the error reaches `bound`.
std::int64_t greedyError(const short* x, int frames, const BlockStart& start, std::int64_t bound) {
    CoderState state{x[1], x[0], start.step};
    std::int64_t error = 0;
    for (int i = 2; i < frames; ++i) {
        CoderState next;
        const int predicted = predict(state, start.predictor);
        advance(state, predicted, allowedCode(state.step, nearestCode(predicted, state.step, x[i])),
                next);
        const std::int64_t miss = next.sample1 - x[i];
        error += miss * miss;
        if (error >= bound) return kGivenUp;
        state = next;
    }
    return error;
}

// The best few starts found by coding greedily with each predictor and a ladder of step sizes.
std::vector<BlockStart> likelyStarts(const short* x, int frames) {
    std::vector<BlockStart> tried;
    for (int predictor = 0; predictor < int(kMsAdpcmCoefficient1.size()); ++predictor) {
        for (int step = kSmallestStep; step <= 8192; step = step * 3 / 2) {
            // Only a start that can still make the finalists needs coding to its end.
            std::int64_t bound = kGivenUp;
            if (tried.size() >= size_t(kFinalists)) {
                std::nth_element(tried.begin(), tried.begin() + (kFinalists - 1), tried.end(),
                                 byError);
                bound = tried[kFinalists - 1].error;
            }
            BlockStart s{predictor, step, 0};
            s.error = greedyError(x, frames, s, bound);
            tried.push_back(s);
        }
    }
    const auto keep = std::min<size_t>(kFinalists, tried.size());
    std::partial_sort(tried.begin(), tried.begin() + std::ptrdiff_t(keep), tried.end(), byError);
    tried.resize(keep);
    return tried;
}

void appendSample(QByteArray& out, int v) {
    out.append(char(v & 0xff));
    out.append(char((v >> 8) & 0xff));
}

// One block: the header (per channel predictor, step, second and first sample), then the codes,
// one nibble per channel and sample, the first channel in the high nibble.
void writeBlock(QByteArray& out, const short* x, const BlockStart& start,
                const std::vector<int>& codes, int channels, int blockAlign) {
    const qsizetype begin = out.size();
    for (int c = 0; c < channels; ++c) out.append(char(start.predictor));
    for (int c = 0; c < channels; ++c) appendSample(out, start.step);
    for (int c = 0; c < channels; ++c) appendSample(out, x[1]);
    for (int c = 0; c < channels; ++c) appendSample(out, x[0]);
    std::vector<int> nibbles;
    nibbles.reserve(codes.size() * size_t(channels));
    for (const int code : codes)
        for (int c = 0; c < channels; ++c) nibbles.push_back(code & 15);
    for (size_t i = 0; i + 1 < nibbles.size(); i += 2)
        out.append(char(nibbles[i] << 4 | nibbles[i + 1]));
    out.append(QByteArray(blockAlign - (out.size() - begin), '\0'));
}

// The RIFF/WAVE image around coded blocks: the format's seven predictor pairs in its fmt
// chunk, and the true frame count in its fact chunk.
QByteArray msAdpcmWav(const QByteArray& blocks, int sampleRate, int channels, int blockAlign,
                      int framesPerBlock, long long sampleFrames) {
    QByteArray fmt;
    appendLe16(fmt, sound::kWaveMsAdpcm);
    appendLe16(fmt, quint16(channels));
    appendLe32(fmt, quint32(sampleRate));
    appendLe32(fmt, quint32(qint64(sampleRate) * blockAlign / framesPerBlock));
    appendLe16(fmt, quint16(blockAlign));
    appendLe16(fmt, 4);   // bits per sample
    appendLe16(fmt, 32);  // size of the extra fields
    appendLe16(fmt, quint16(framesPerBlock));
    appendLe16(fmt, quint16(kMsAdpcmCoefficient1.size()));
    for (size_t i = 0; i < kMsAdpcmCoefficient1.size(); ++i) {
        appendLe16(fmt, quint16(kMsAdpcmCoefficient1[i]));
        appendLe16(fmt, quint16(kMsAdpcmCoefficient2[i]));
    }
    QByteArray fact;
    appendLe32(fact, quint32(sampleFrames));
    return riffWave(riffChunk("fmt ", fmt) + riffChunk("fact", fact) + riffChunk("data", blocks));
}

}  // namespace

int msAdpcmFramesPerBlock(int blockAlign, int channels) {
    return (blockAlign - 7 * channels) * 2 / channels + 2;
}

QByteArray encodeMsAdpcm(const std::vector<short>& mono, int sampleRate, int channels,
                         int blockAlign) {
    const int frames = msAdpcmFramesPerBlock(blockAlign, channels);
    // At least one block: a data chunk without any is refused by some decoders.
    const size_t blocks = std::max<size_t>(1, (mono.size() + size_t(frames) - 1) / size_t(frames));
    std::vector<short> padded(mono);
    padded.resize(blocks * size_t(frames), 0);
    QByteArray data;
    data.reserve(qsizetype(blocks) * blockAlign);
    std::vector<Node> nodes;
    std::vector<int> codes, bestCodes;
    for (size_t b = 0; b < blocks; ++b) {
        const short* x = padded.data() + b * size_t(frames);
        BlockStart best;
        for (const BlockStart& likely : likelyStarts(x, frames)) {
            // Around each likely start, steps from 3/4 to 5/4 of it in eighths.
            for (int eighths = 6; eighths <= 10; ++eighths) {
                BlockStart s = likely;
                s.step = std::clamp(likely.step * eighths / 8, kSmallestStep, kLargestStep);
                s.error = codeBlock(x, frames, s, best.error, nodes, codes);
                if (s.error < best.error) {
                    best = s;
                    bestCodes = codes;
                }
            }
        }
        writeBlock(data, x, best, bestCodes, channels, blockAlign);
    }
    return msAdpcmWav(data, sampleRate, channels, blockAlign, frames, qint64(mono.size()));
}

}  // namespace tool
