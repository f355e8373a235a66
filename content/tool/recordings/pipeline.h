#pragma once

// One way every recording of the book is finished, whatever made it (a speech synthesiser, the
// tool's own sound recipes, or a file a teacher supplies): decoded to mono, its leading silence
// cut to 1 ms, its trailing silence cut or padded to 100 ms, its loudness levelled to the
// book's target, then encoded in the codec its role names and checked to decode as that codec.

#include <QByteArray>
#include <QString>
#include <vector>

namespace tool {

// Loudness as EBU R128 integrated loudness (ITU-R BS.1770: K-weighted, gated), measured with
// libebur128 on the mono signal; clips shorter than one 400 ms block are measured over their
// whole length. Every recording is levelled to this target.
inline constexpr double kTargetLoudness = -18.0;  // LUFS
// No sample of a finished recording goes above this peak.
inline constexpr double kPeakCeiling = -1.0;  // dBFS
// Silence kept in front of the first sound (every millisecond of it is delay between a press
// and what is heard) and after the last sound.
inline constexpr double kLeadSilence = 0.001;  // seconds
inline constexpr double kTailSilence = 0.100;  // seconds
// A supplied recording longer than this is refused (the background music is the longest clip).
inline constexpr double kLongestRecording = 120.0;  // seconds

struct FinishSpec {
    QString codec;                      // msadpcm, ima, pcm8/R/C, pcm16/R/C or mp3/R/C
    bool trim = true;                   // false keeps the length as it is (a loop)
    double loudness = kTargetLoudness;  // LUFS
};

// Where the sound lies in a clip: samples [first, last] hold it; `found` is false when the
// clip is silent. A sample counts as sound when it rises above a threshold `thresholdDb` under
// the clip's peak (or 8 dB over the noise floor when a recording has one) and the sound goes
// on: 3 one-millisecond blocks of the 20 from there rise over it too.
struct SoundSpan {
    bool found = false;
    qsizetype first = 0;
    qsizetype last = 0;
    float threshold = 0;  // the level that counted as sound
};
// Sound is what rises 45 dB under the peak.
inline constexpr double kCutThreshold = -45.0;
SoundSpan findSound(const std::vector<float>& mono, int rate, double thresholdDb = kCutThreshold);

// BS.1770 loudness in LUFS of the mono samples; -inf for silence.
double loudnessOf(const std::vector<float>& mono, int rate);

// What the check scripts and tests read off a clip.
struct SoundFacts {
    double seconds = 0;
    double lead = 0;  // seconds before the first sound
    double tail = 0;  // seconds after the last sound
    double loudness = 0;
    double peakDb = 0;  // dBFS
    bool silent = true;
};
SoundFacts measureSound(const std::vector<float>& mono, int rate);

// Turns down the samples around every peak over `ceilingDb` (dBFS) so that none stays over it.
void limitPeaks(std::vector<float>& mono, int rate, double ceilingDb);

// Trims and levels mono samples as the finishing settings ask. Returns false with `error` set
// when the clip holds no sound.
bool trimAndLevel(std::vector<float>& mono, int rate, const FinishSpec& spec, QString& error);

// The sample rate and channel count a codec name stands for.
int codecRate(const QString& codec);
int codecChannels(const QString& codec);

// Finishes the audio file at `input` (a kind sox reads, or one of phones' and browsers' kinds
// read through FFmpeg; told from its content) into a WAV image in the settings' codec, using
// `workFolder` for intermediate files. On failure `error` says what is wrong with the input:
// unreadable, empty, silent, too long, or not encodable.
bool finishRecording(const QString& input, const FinishSpec& spec, const QString& workFolder,
                     QByteArray& wav, QString& error);

// A take of a whole page read aloud may last this long.
inline constexpr double kLongestTake = 600.0;  // seconds

// Decodes an audio file (the kinds finishRecording reads) into mono samples at its own sample
// rate, set in `rate`, at most `longestSeconds` of them. False with `error` set when it cannot
// be read.
bool decodeAudioFile(const QString& input, double longestSeconds, const QString& workFolder,
                     std::vector<float>& mono, int& rate, QString& error);

}  // namespace tool
