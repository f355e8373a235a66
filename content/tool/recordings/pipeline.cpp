#include "recordings/pipeline.h"

#include <ebur128.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <limits>

#include "common/file_kinds.h"
#include "recordings/ffmpeg_audio.h"
#include "recordings/msadpcm.h"
#include "recordings/run_program.h"
#include "recordings/wav_image.h"
#include "sound/wav_format.h"

namespace tool {

namespace {

// The detector's threshold: kCutThreshold under the peak for a clean
// recording; for a recording with a noise floor, 8 dB over that floor, but never closer than
// 30 dB to the peak.
constexpr double kNoiseMargin = 2.5;          // +8 dB
constexpr double kHighestThreshold = 0.0316;  // -30 dB
constexpr qsizetype kNoiseBlocks = 10;
// The peak limiter turns its gain down and up again over 2 x 3 ms around a peak, and takes at
// most 8 dB off a peak.
constexpr double kLimiterHalfWindow = 0.003;
constexpr double kMostLimiting = 8.0;
// A coded clip is corrected at most this many times, when its level is off by more than this.
constexpr int kCorrectionRounds = 3;
constexpr double kLoudnessTolerance = 0.25;
// Where a corrected clip's sound should start.
constexpr double kLeadAim = 0.0018;
// Sound must rise over the threshold in 3 one-millisecond blocks of 20, so that a lone tick is
// not taken for the start of a word.
constexpr int kWindowBlocks = 20;
constexpr int kLoudBlocksNeeded = 3;
// The kept tail fades to zero over its last 10 ms, so the cut never clicks.
constexpr double kTailFade = 0.010;
// A trimmed clip starts where the sound first rises 6 dB over the threshold, looked for within
// 30 ms of where it crossed it.
constexpr double kOnsetMargin = 2.0;
constexpr double kOnsetSearch = 0.030;

double dbToGain(double db) {
    return std::pow(10.0, db / 20.0);
}

}  // namespace

SoundSpan findSound(const std::vector<float>& mono, int rate, double thresholdDb) {
    SoundSpan span;
    const qsizetype n = qsizetype(mono.size());
    const qsizetype block = std::max(1, rate / 1000);
    const qsizetype blocks = (n + block - 1) / block;
    if (blocks == 0) return span;
    std::vector<float> blockPeak(size_t(blocks), 0.0f);
    for (qsizetype i = 0; i < n; ++i) {
        float& p = blockPeak[size_t(i / block)];
        p = std::max(p, std::abs(mono[size_t(i)]));
    }
    const float peak = *std::max_element(blockPeak.begin(), blockPeak.end());
    if (peak < 1e-5f) return span;  // under -100 dBFS: nothing there
    // The noise floor: the loudest peak of the quietest 10 ms stretch (zero for a clean clip).
    double noiseFloor = peak;
    for (qsizetype b = 0; b + kNoiseBlocks <= std::max(blocks, kNoiseBlocks); ++b) {
        float stretch = 0;
        for (qsizetype k = b; k < std::min(blocks, b + kNoiseBlocks); ++k)
            stretch = std::max(stretch, blockPeak[size_t(k)]);
        noiseFloor = std::min<double>(noiseFloor, stretch);
    }
    const double threshold = std::clamp(noiseFloor * kNoiseMargin, peak * dbToGain(thresholdDb),
                                        peak * kHighestThreshold);
    auto loudBlocks = [&](qsizetype from) {
        int count = 0;
        for (qsizetype b = std::max<qsizetype>(0, from); b < std::min(blocks, from + kWindowBlocks);
             ++b) {
            count += blockPeak[size_t(b)] > threshold;
        }
        return count;
    };
    qsizetype firstBlock = -1, lastBlock = -1;
    for (qsizetype b = 0; b < blocks && firstBlock < 0; ++b) {
        if (blockPeak[size_t(b)] > threshold && loudBlocks(b) >= kLoudBlocksNeeded) firstBlock = b;
    }
    for (qsizetype b = blocks - 1; b >= 0 && lastBlock < 0; --b) {
        if (blockPeak[size_t(b)] > threshold &&
            loudBlocks(b - kWindowBlocks + 1) >= kLoudBlocksNeeded)
            lastBlock = b;
    }
    if (firstBlock < 0 || lastBlock < firstBlock) return span;
    span.first = firstBlock * block;
    while (std::abs(mono[size_t(span.first)]) <= threshold) ++span.first;
    span.last = std::min(n, (lastBlock + 1) * block) - 1;
    while (std::abs(mono[size_t(span.last)]) <= threshold) --span.last;
    span.found = true;
    span.threshold = float(threshold);
    return span;
}

double loudnessOf(const std::vector<float>& mono, int rate) {
    constexpr double kSilent = -std::numeric_limits<double>::infinity();
    if (mono.empty() || rate <= 0) return kSilent;
    const double seconds = double(mono.size()) / rate;
    const bool shortClip = seconds < 0.4;
    ebur128_state* state = ebur128_init(1, unsigned(rate), EBUR128_MODE_I);
    if (!state) return kSilent;
    const unsigned long windowMs = std::max(1ul, (unsigned long)(seconds * 1000.0));
    if (shortClip) ebur128_set_max_window(state, windowMs);
    ebur128_add_frames_float(state, mono.data(), mono.size());
    double loudness = kSilent;
    const int result = shortClip ? ebur128_loudness_window(state, windowMs, &loudness)
                                 : ebur128_loudness_global(state, &loudness);
    ebur128_destroy(&state);
    return result == EBUR128_SUCCESS ? loudness : kSilent;
}

SoundFacts measureSound(const std::vector<float>& mono, int rate) {
    SoundFacts facts;
    facts.seconds = double(mono.size()) / rate;
    float peak = 0;
    for (const float v : mono) peak = std::max(peak, std::abs(v));
    facts.peakDb = peak > 0 ? 20 * std::log10(peak) : -std::numeric_limits<double>::infinity();
    const SoundSpan span = findSound(mono, rate);
    facts.silent = !span.found;
    if (!span.found) {
        facts.lead = facts.seconds;
        facts.loudness = -std::numeric_limits<double>::infinity();
        return facts;
    }
    facts.lead = double(span.first) / rate;
    facts.tail = double(qsizetype(mono.size()) - 1 - span.last) / rate;
    facts.loudness = loudnessOf(
        std::vector<float>(mono.begin() + span.first, mono.begin() + span.last + 1), rate);
    return facts;
}

void limitPeaks(std::vector<float>& mono, int rate, double ceilingDb) {
    const auto n = qsizetype(mono.size());
    const auto ceiling = float(dbToGain(ceilingDb));
    const qsizetype half = std::max(1, int(kLimiterHalfWindow * rate));
    std::vector<float> needed(size_t(n), 1.0f);
    bool any = false;
    for (qsizetype i = 0; i < n; ++i) {
        const float a = std::abs(mono[size_t(i)]);
        if (a > ceiling) needed[size_t(i)] = ceiling / a, any = true;
    }
    if (!any) return;
    // The lowest gain any sample within the half window needs, then its average over the half
    // window: every sample's own need lies in each minimum its average takes, so the smoothed
    // gain never lets a sample through over the ceiling.
    std::vector<float> lowest(static_cast<size_t>(n));
    for (qsizetype i = 0; i < n; ++i) {
        float m = 1.0f;
        for (qsizetype k = std::max<qsizetype>(0, i - half); k <= std::min(n - 1, i + half); ++k)
            m = std::min(m, needed[size_t(k)]);
        lowest[size_t(i)] = m;
    }
    std::vector<double> sums(size_t(n) + 1, 0.0);
    for (qsizetype i = 0; i < n; ++i) sums[size_t(i) + 1] = sums[size_t(i)] + lowest[size_t(i)];
    for (qsizetype i = 0; i < n; ++i) {
        const qsizetype from = std::max<qsizetype>(0, i - half);
        const qsizetype to = std::min(n - 1, i + half);
        const double gain = (sums[size_t(to) + 1] - sums[size_t(from)]) / double(to - from + 1);
        mono[size_t(i)] = float(mono[size_t(i)] * gain);
        // Rounding in the sums must not let a sample slip over.
        mono[size_t(i)] = std::clamp(mono[size_t(i)], -ceiling, ceiling);
    }
}

bool trimAndLevel(std::vector<float>& mono, int rate, const FinishSpec& spec, QString& error) {
    const SoundSpan span = findSound(mono, rate);
    if (!span.found) {
        error = QStringLiteral("it is silent");
        return false;
    }
    qsizetype soundFirst = span.first, soundLast = span.last;
    if (spec.trim) {
        // The cut goes where the sound stands clear of the threshold, so that coding, which
        // moves the quietest samples by a dB or two, cannot leave the first millisecond under it.
        const qsizetype limit = std::min(span.last, span.first + qsizetype(kOnsetSearch * rate));
        for (qsizetype i = span.first; i <= limit; ++i) {
            if (std::abs(mono[size_t(i)]) > span.threshold * kOnsetMargin) {
                soundFirst = i;
                break;
            }
        }
        const auto lead = qsizetype(std::lround(kLeadSilence * rate));
        const auto tail = qsizetype(std::lround(kTailSilence * rate));
        std::vector<float> kept(size_t(lead), 0.0f);
        const qsizetype end = std::min(qsizetype(mono.size()), span.last + 1 + tail);
        kept.insert(kept.end(), mono.begin() + soundFirst, mono.begin() + end);
        kept.resize(size_t(lead + span.last + 1 - soundFirst + tail), 0.0f);
        const auto fade = qsizetype(std::lround(kTailFade * rate));
        for (qsizetype i = 0; i < fade; ++i) {
            kept[kept.size() - 1 - size_t(i)] *= float(i) / float(fade);
        }
        mono = std::move(kept);
        soundLast = lead + span.last - soundFirst;
        soundFirst = lead;
    }
    auto soundLoudness = [&] {
        return loudnessOf(
            std::vector<float>(mono.begin() + soundFirst, mono.begin() + soundLast + 1), rate);
    };
    // Raise or lower to the target; peaks over the ceiling are limited, by at most
    // kMostLimiting dB (a clip that would need more comes out quieter). Limiting takes a little
    // loudness away, so the level is measured again and made up.
    float peak = 0;
    for (const float v : mono) peak = std::max(peak, std::abs(v));
    const double peakDb = 20 * std::log10(peak);
    double applied = 0;
    for (int round = 0; round < 4; ++round) {
        const double loudness = soundLoudness();
        if (!std::isfinite(loudness)) break;
        const double wanted =
            std::min(applied + spec.loudness - loudness, kPeakCeiling + kMostLimiting - peakDb);
        if (std::abs(wanted - applied) < 0.05) break;
        const auto gain = float(dbToGain(wanted - applied));
        for (float& v : mono) v *= gain;
        applied = wanted;
        limitPeaks(mono, rate, kPeakCeiling);
    }
    limitPeaks(mono, rate, kPeakCeiling);
    return true;
}

int codecRate(const QString& codec) {
    if (codec == QLatin1String("msadpcm") || codec == QLatin1String("ima")) return 22050;
    return codec.section(QLatin1Char('/'), 1, 1).toInt();
}

int codecChannels(const QString& codec) {
    if (codec == QLatin1String("msadpcm")) return 2;
    if (codec == QLatin1String("ima")) return 1;
    return codec.section(QLatin1Char('/'), 2, 2).toInt();
}

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// sox arguments that write the codec's sample layout.
QStringList soxTarget(const QString& codec) {
    const QStringList shape{"-r", QString::number(codecRate(codec)), "-c",
                            QString::number(codecChannels(codec))};
    if (codec == QLatin1String("ima")) return shape + QStringList{"-e", "ima-adpcm"};
    if (codec.startsWith(QLatin1String("pcm8/")))
        return shape + QStringList{"-b", "8", "-e", "unsigned-integer"};
    return shape + QStringList{"-b", "16", "-e", "signed-integer"};
}

// The lowest bitrate at which lame's first frame can carry its LAME tag: the tag tells the
// decoder how many samples of encoder delay and padding to drop, without it every MP3 clip would
// start with about 50 ms of silence.
int mp3Bitrate(int rate, int channels) {
    const int frameSamples = rate >= 32000 ? 1152 : 576;
    for (const int kbps : {32, 40, 48, 56, 64, 80, 96, 112, 128}) {
        const int frameBytes = frameSamples / 8 * kbps * 1000 / rate;
        if (kbps >= (channels == 2 ? 48 : 32) && frameBytes >= 190) return kbps;
    }
    return 128;
}

// The frames an ADPCM block holds (wSamplesPerBlock of the fmt chunk); 0 for other codecs.
int adpcmBlockFrames(const QByteArray& wav) {
    const sound::RiffLayout layout = sound::scanRiff(
        reinterpret_cast<const unsigned char*>(wav.constData()), size_t(wav.size()));
    return layout.hasFormat ? layout.format.framesPerBlock : 0;
}

// Moves the end of a trimmed clip to the nearest whole number of blocks. True when it changed.
bool fitTailToBlocks(std::vector<float>& mono, int rate, int block) {
    const auto length = qsizetype(mono.size());
    const qsizetype fitted = std::max<qsizetype>(block, (length + block / 2) / block * block);
    if (fitted == length) return false;
    mono.resize(size_t(fitted), 0.0f);
    const auto fade = std::min(fitted, qsizetype(std::lround(kTailFade * rate)));
    for (qsizetype i = 0; i < fade && fitted < length; ++i) {
        mono[size_t(fitted - 1 - i)] *= float(i) / float(fade);
    }
    return true;
}

// Applies what the measurement of the coded clip asks for: when coding left the quietest
// samples of a slow or noisy onset (an "f") under the threshold, samples are taken off the front
// (first the silence put there, then the faint start) until the sound starts within 2 ms; a
// level that coding moved is made up (by at most 1.5 dB). True when the samples changed.
bool correctCodedClip(std::vector<float>& mono, int rate, const FinishSpec& spec,
                      const SoundFacts& coded) {
    bool changed = false;
    const auto excess = qsizetype(std::ceil((coded.lead - kLeadAim) * rate));
    if (spec.trim && coded.lead > 2 * kLeadSilence && excess < qsizetype(mono.size())) {
        mono.erase(mono.begin(), mono.begin() + excess);
        changed = true;
    }
    const double off = spec.loudness - coded.loudness;
    if (std::isfinite(off) && std::abs(off) > kLoudnessTolerance) {
        const auto gain = float(dbToGain(std::clamp(off, -1.5, 1.5)));
        for (float& v : mono) v *= gain;
        limitPeaks(mono, rate, kPeakCeiling);
        changed = true;
    }
    return changed;
}

bool inputExists(const QString& input, QString& error) {
    if (!QFile::exists(input)) {
        error = QStringLiteral("the file does not exist");
        return false;
    }
    if (QFile(input).size() == 0) {
        error = QStringLiteral("the file is empty");
        return false;
    }
    return true;
}

// Decodes at most `longestSeconds` of the input into mono samples at `rate`.
bool decodeInput(const QString& input, int rate, double longestSeconds, const QString& folder,
                 std::vector<float>& mono, QString& error) {
    if (!inputExists(input, error)) return false;
    // Phones' and browsers' recordings are read through FFmpeg, the rest through sox.
    const QString kind = fileKindOfFile(input).id;
    if (readByFfmpeg(kind)) return decodeWithFfmpeg(input, kind, rate, longestSeconds, mono, error);
    const QString raw = QDir(folder).filePath(QStringLiteral("decoded.f32"));
    QString soxError;
    if (!runProgram(QStringLiteral("sox"),
                    {"-V1", input, "-t", "f32", "-r", QString::number(rate), "-c", "1", raw, "trim",
                     "0", QString::number(longestSeconds)},
                    soxError)) {
        error = QStringLiteral("it cannot be read as audio (%1)").arg(soxError);
        return false;
    }
    const QByteArray bytes = readAll(raw);
    mono.resize(size_t(bytes.size()) / sizeof(float));
    if (mono.empty()) {
        error = QStringLiteral("it holds no samples");
        return false;
    }
    memcpy(mono.data(), bytes.constData(), mono.size() * sizeof(float));
    return true;
}

// Float samples to 16 bits, rounded and without dither, so that silence stays digital silence.
std::vector<short> toSixteenBits(const std::vector<float>& mono) {
    std::vector<short> samples(mono.size());
    std::transform(mono.begin(), mono.end(), samples.begin(), [](float v) {
        return short(std::lround(std::clamp(double(v) * 32768.0, -32768.0, 32767.0)));
    });
    return samples;
}

bool encode(const std::vector<float>& mono, const QString& codec, const QString& folder,
            QByteArray& wav, QString& error) {
    // MS-ADPCM is coded here rather than by sox: searching the codes of short blocks keeps the
    // coding noise of the consonants about 3 dB lower than sox's coder does.
    if (codec == QLatin1String("msadpcm")) {
        wav = encodeMsAdpcm(toSixteenBits(mono), codecRate(codec), codecChannels(codec));
        return true;
    }
    const QDir dir(folder);
    const QString raw = dir.filePath(QStringLiteral("finished.f32"));
    {
        QFile file(raw);
        const auto size = qint64(mono.size() * sizeof(float));
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(reinterpret_cast<const char*>(mono.data()), size) != size) {
            error = QStringLiteral("cannot write %1").arg(raw);
            return false;
        }
    }
    // -D: no dither, so that silence stays digital silence even in 8 bits.
    const QStringList in{"-V1", "-t", "f32", "-r", QString::number(codecRate(codec)),
                         "-c",  "1",  raw,   "-D"};
    if (!codec.startsWith(QLatin1String("mp3/"))) {
        const QString out = dir.filePath(QStringLiteral("finished.wav"));
        if (!runProgram(QStringLiteral("sox"), in + soxTarget(codec) + QStringList{out}, error))
            return false;
        wav = readAll(out);
        return true;
    }
    const int rate = codecRate(codec), channels = codecChannels(codec);
    const QString pcm = dir.filePath(QStringLiteral("finished.wav"));
    const QString mp3 = dir.filePath(QStringLiteral("finished.mp3"));
    if (!runProgram(QStringLiteral("sox"),
                    in + QStringList{"-r", QString::number(rate), "-c", QString::number(channels),
                                     "-b", "16", "-e", "signed-integer", pcm},
                    error))
        return false;
    const int bitrate = mp3Bitrate(rate, channels);
    if (!runProgram(QStringLiteral("lame"),
                    {"--quiet", "--cbr", "-b", QString::number(bitrate), "-m",
                     channels == 2 ? "j" : "m", pcm, mp3},
                    error))
        return false;
    wav = wrapMp3InWav(readAll(mp3), rate, channels, bitrate, qsizetype(mono.size()));
    return true;
}

// The sample rate the file's sound has; 0 with `error` set when it cannot be told.
int ownRate(const QString& input, QString& error) {
    const QString kind = fileKindOfFile(input).id;
    if (readByFfmpeg(kind)) {
        const MediaStreams streams = probeMedia(input, kind);
        if (!streams.audio)
            error = streams.opened ? QStringLiteral("it holds no sound") : streams.error;
        return streams.audio ? streams.sampleRate : 0;
    }
    QByteArray rate;
    QString soxError;
    if (!runProgram(QStringLiteral("sox"), {"--i", "-r", input}, soxError, &rate)) {
        error = QStringLiteral("it cannot be read as audio (%1)").arg(soxError);
        return 0;
    }
    return rate.trimmed().toInt();
}

}  // namespace

bool decodeAudioFile(const QString& input, double longestSeconds, const QString& workFolder,
                     std::vector<float>& mono, int& rate, QString& error) {
    if (!inputExists(input, error)) return false;
    rate = ownRate(input, error);
    if (rate <= 0) {
        if (error.isEmpty()) error = QStringLiteral("its sample rate cannot be told");
        return false;
    }
    return decodeInput(input, rate, longestSeconds, workFolder, mono, error);
}

bool finishRecording(const QString& input, const FinishSpec& spec, const QString& workFolder,
                     QByteArray& wav, QString& error) {
    const int rate = codecRate(spec.codec);
    std::vector<float> mono;
    // Decoding stops a second past the longest length a recording may have: a file that long is
    // refused anyway, and an hour-long one must not fill the memory and the disk.
    if (!decodeInput(input, rate, kLongestRecording + 1, workFolder, mono, error)) return false;
    if (double(mono.size()) / rate > kLongestRecording) {
        error = QStringLiteral("it lasts longer than the %1 s a recording may last")
                    .arg(kLongestRecording, 0, 'f', 0);
        return false;
    }
    if (!trimAndLevel(mono, rate, spec, error)) return false;
    // Our own coder's blocks are known before coding: fitting the tail to them first saves
    // coding the clip a second time.
    if (spec.trim && spec.codec == QLatin1String("msadpcm")) {
        fitTailToBlocks(mono, rate,
                        msAdpcmFramesPerBlock(kMsAdpcmBlockAlign, codecChannels(spec.codec)));
    }
    if (!encode(mono, spec.codec, workFolder, wav, error)) return false;
    WavFacts facts;
    if (!inspectWav(wav, facts, &error)) return false;
    if (!matchesCodec(facts, spec.codec)) {
        error = QStringLiteral("the recording came out as format %1, %2 channels, %3 Hz, not %4")
                    .arg(facts.formatTag)
                    .arg(facts.channels)
                    .arg(facts.sampleRate)
                    .arg(spec.codec);
        return false;
    }
    // The coded clip is measured as the program will play it, and corrected where coding moved
    // it: ADPCM fills its last block with silence, and the quietest samples of a slow onset or
    // the level of the whole clip shift a little.
    const int block = spec.trim ? adpcmBlockFrames(wav) : 0;
    SoundFacts finished;
    for (int round = 0;; ++round) {
        std::vector<float> decoded;
        int decodedRate = 0;
        if (!decodeWavMono(wav, decoded, decodedRate, &error)) return false;
        finished = measureSound(decoded, decodedRate);
        if (finished.silent) break;
        bool changed = block > 0 && fitTailToBlocks(mono, rate, block);
        if (round < kCorrectionRounds) changed |= correctCodedClip(mono, rate, spec, finished);
        if (!changed) break;
        if (!encode(mono, spec.codec, workFolder, wav, error)) return false;
    }
    // What the program will play must start at once: a codec that adds delay is caught here.
    if (spec.trim && (finished.silent || finished.lead > 2 * kLeadSilence)) {
        error = QStringLiteral("the encoded recording starts with %1 ms of silence")
                    .arg(finished.lead * 1000, 0, 'f', 1);
        return false;
    }
    return true;
}

}  // namespace tool
