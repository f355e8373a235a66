// The recording pipeline: finding the sound in a clip, measuring its loudness, trimming and
// levelling it, and finishing a file of any common format into each codec of the book.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <numbers>

#include "recordings/msadpcm.h"
#include "recordings/pipeline.h"
#include "recordings/run_program.h"
#include "recordings/synth.h"
#include "recordings/wav_image.h"
#include "sources/sources.h"

using namespace tool;

namespace {

constexpr int kRate = 22050;

std::vector<float> silence(double seconds, int rate = kRate) {
    return std::vector<float>(size_t(seconds * rate), 0.0f);
}

std::vector<float> sine(double seconds, double frequency, double amplitude, int rate = kRate) {
    std::vector<float> out(size_t(seconds * rate));
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = float(amplitude * std::sin(2 * std::numbers::pi * frequency * double(i) / rate));
    return out;
}

std::vector<float> joined(std::initializer_list<std::vector<float>> parts) {
    std::vector<float> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// Quiet noise like a room under a microphone.
std::vector<float> noise(double seconds, double amplitude, int rate = kRate) {
    std::vector<float> out(size_t(seconds * rate));
    unsigned seed = 3;
    for (float& v : out) {
        seed = seed * 1664525u + 1013904223u;
        v = float(amplitude * (double(seed >> 8) / double(1 << 24) * 2 - 1));
    }
    return out;
}

double peakDb(const std::vector<float>& mono) {
    float peak = 0;
    for (float v : mono) peak = std::max(peak, std::abs(v));
    return 20 * std::log10(peak);
}

}  // namespace

TEST(SoundSpan, FindsTheSoundBetweenSilencesToTheMillisecond) {
    const auto clip = joined({silence(0.3), sine(0.5, 440, 0.1), silence(0.7)});
    const SoundSpan span = findSound(clip, kRate);
    ASSERT_TRUE(span.found);
    EXPECT_NEAR(double(span.first) / kRate, 0.3, 0.001);
    EXPECT_NEAR(double(span.last) / kRate, 0.8, 0.001);
    const SoundFacts facts = measureSound(clip, kRate);
    EXPECT_NEAR(facts.lead, 0.3, 0.001);
    EXPECT_NEAR(facts.tail, 0.7, 0.001);
    EXPECT_NEAR(facts.seconds, 1.5, 0.001);
    EXPECT_NEAR(facts.peakDb, -20, 0.1);
}

TEST(SoundSpan, SilenceALoneTickAndARoomsHissAreNotSound) {
    EXPECT_FALSE(findSound(silence(1.0), kRate).found);
    EXPECT_FALSE(findSound({}, kRate).found);
    EXPECT_TRUE(measureSound(silence(0.5), kRate).silent);

    // A one-sample tick is not the start of a word: the clip holds no sound.
    auto tick = silence(1.0);
    tick[5000] = 0.5f;
    EXPECT_FALSE(findSound(tick, kRate).found);

    // A tick before a word does not count as its start either.
    auto tickThenWord = joined({silence(0.2), sine(0.4, 300, 0.2), silence(0.2)});
    tickThenWord[100] = 0.5f;
    const SoundSpan word = findSound(tickThenWord, kRate);
    ASSERT_TRUE(word.found);
    EXPECT_NEAR(double(word.first) / kRate, 0.2, 0.001);

    // A recording with a noise floor at -50 dBFS under a tone at -10: the sound is the tone.
    const auto room = noise(1.3, 0.003);
    auto spoken = joined({silence(0.4), sine(0.5, 500, 0.3), silence(0.4)});
    for (size_t i = 0; i < spoken.size(); ++i) spoken[i] += room[i];
    const SoundSpan over = findSound(spoken, kRate);
    ASSERT_TRUE(over.found);
    EXPECT_NEAR(double(over.first) / kRate, 0.4, 0.002);
    EXPECT_NEAR(double(over.last) / kRate, 0.9, 0.002);
}

TEST(Loudness, ASineReadsAsBs1770SaysForLongAndShortClips) {
    // A 1 kHz sine at 0 dBFS in one channel reads -3.01 LUFS; at -20 dBFS, -23.01.
    EXPECT_NEAR(loudnessOf(sine(2.0, 1000, 0.1), kRate), -23.01, 0.15);
    EXPECT_NEAR(loudnessOf(sine(2.0, 1000, 0.1, 44100), 44100), -23.01, 0.15);
    // A clip shorter than one 400 ms block is measured over its whole length.
    EXPECT_NEAR(loudnessOf(sine(0.08, 1000, 0.1), kRate), -23.01, 0.3);
    // The clip's facts measure the sound alone, not the silence around it.
    EXPECT_NEAR(
        measureSound(joined({silence(2.0), sine(2.0, 1000, 0.1), silence(2.0)}), kRate).loudness,
        -23.01, 0.15);
    EXPECT_TRUE(std::isinf(loudnessOf(silence(1.0), kRate)));
}

TEST(TrimAndLevel, LeavesOneMillisecondInFrontAHundredBehindAndTheTarget) {
    auto clip = joined({silence(0.3), sine(0.5, 440, 0.02), silence(0.7)});
    QString error;
    ASSERT_TRUE(trimAndLevel(clip, kRate, FinishSpec{"pcm16/22050/1"}, error));
    const int lead = int(std::lround(kLeadSilence * kRate));
    for (int i = 0; i < lead; ++i) ASSERT_EQ(clip[size_t(i)], 0.0f) << i;
    EXPECT_NE(clip[size_t(lead)], 0.0f);
    EXPECT_NEAR(double(clip.size()) / kRate, kLeadSilence + 0.5 + kTailSilence, 0.002);
    const SoundFacts facts = measureSound(clip, kRate);
    EXPECT_NEAR(facts.lead, kLeadSilence, 0.0005);
    EXPECT_NEAR(facts.tail, kTailSilence, 0.002);
    EXPECT_NEAR(facts.loudness, kTargetLoudness, 0.2);
    EXPECT_EQ(clip.back(), 0.0f) << "the tail fades to nothing";

    // A sound that runs to the very end gets its 100 ms of silence added.
    auto abrupt = joined({silence(0.05), sine(0.3, 440, 0.3)});
    ASSERT_TRUE(trimAndLevel(abrupt, kRate, FinishSpec{"pcm16/22050/1"}, error));
    EXPECT_NEAR(measureSound(abrupt, kRate).tail, kTailSilence, 0.012);

    // Silence cannot be levelled.
    auto quiet = silence(1.0);
    EXPECT_FALSE(trimAndLevel(quiet, kRate, FinishSpec{"pcm16/22050/1"}, error));
    EXPECT_EQ(error, "it is silent");
}

TEST(TrimAndLevel, LimitsPeaksToTheCeilingAndStillReachesTheTarget) {
    // A steady tone with a few sharp peaks (like a plosive): the peaks would go far over the
    // ceiling at the target level; the limiter takes them down and the level is still met.
    auto peaky = joined({silence(0.1), sine(1.0, 220, 0.02), silence(0.3)});
    for (const double at : {0.3, 0.6, 0.9})
        for (int i = 0; i < 20; ++i) peaky[size_t(at * kRate) + size_t(i)] = i % 2 ? 0.15f : -0.15f;
    QString error;
    ASSERT_TRUE(trimAndLevel(peaky, kRate, FinishSpec{"pcm16/22050/1"}, error));
    EXPECT_LE(peakDb(peaky), kPeakCeiling + 1e-4);
    EXPECT_NEAR(measureSound(peaky, kRate).loudness, kTargetLoudness, 0.2);

    // The limiter alone: nothing over the ceiling, and a quiet stretch away from the peak is
    // left as it was.
    auto spike = sine(0.5, 440, 0.3);
    spike[5000] = 1.0f;
    const auto before = spike;
    limitPeaks(spike, kRate, -6.0);
    EXPECT_LE(peakDb(spike), -6.0 + 1e-4);
    EXPECT_EQ(spike[8000], before[8000]);

    // A short click with a tiny average would need far more limiting than is allowed: it comes
    // out quieter than the target rather than flattened.
    auto click = joined({silence(0.1), sine(0.004, 2000, 0.05), silence(0.4)});
    ASSERT_TRUE(trimAndLevel(click, kRate, FinishSpec{"pcm16/22050/1"}, error));
    EXPECT_LE(peakDb(click), kPeakCeiling + 1e-4);
}

TEST(TrimAndLevel, KeepsALoopWhole) {
    QString error;
    // A loop keeps its length and its silences; only its level changes.
    const auto music = joined({sine(1.0, 330, 0.5), silence(0.25)});
    auto loop = music;
    ASSERT_TRUE(trimAndLevel(loop, kRate, FinishSpec{"mp3/16000/2", false}, error));
    ASSERT_EQ(loop.size(), music.size());
    EXPECT_NEAR(loop[1000] / music[1000], loop[5000] / music[5000], 1e-4);
    EXPECT_NEAR(measureSound(loop, kRate).loudness, kTargetLoudness, 0.2);
}

namespace {

// Makes an input file with sox: `silenceBefore` s, a 0.6 s chord at -30 dBFS, `silenceAfter` s;
// the same file on every run (-R: no randomly seeded dither).
QString soxInput(const QTemporaryDir& dir, const QString& name, const QStringList& format,
                 double silenceBefore, double silenceAfter) {
    const QString path = dir.filePath(name);
    QProcess sox;
    sox.start("sox", QStringList{"-R", "-n"} + format +
                         QStringList{path, "synth", "0.6", "sine", "300", "sine", "450", "gain",
                                     "-30", "pad", QString::number(silenceBefore),
                                     QString::number(silenceAfter)});
    sox.waitForFinished(30000);
    EXPECT_EQ(sox.exitCode(), 0) << qPrintable(sox.readAllStandardError());
    return path;
}

}  // namespace

TEST(FinishRecording, AnyInputComesOutTrimmedLevelledAndInItsCodec) {
    QTemporaryDir dir;
    struct Case {
        QString name;
        QStringList format;
        double before;
        QString codec;
    };
    const QList<Case> cases{
        {"eight_k_mono.flac", {"-r", "8000", "-c", "1"}, 0.3, "msadpcm"},
        {"stereo_48k.ogg", {"-r", "48000", "-c", "2"}, 0.5, "ima"},
        {"two_seconds_in_front.wav", {"-r", "44100", "-c", "1", "-b", "16"}, 2.0, "pcm8/11025/1"},
        {"stereo_44k.wav", {"-r", "44100", "-c", "2", "-b", "24"}, 0.2, "pcm16/44100/2"},
        {"mono_22k.wav", {"-r", "22050", "-c", "1"}, 0.4, "mp3/24000/1"},
        {"mono_16k.wav", {"-r", "16000", "-c", "1"}, 0.4, "mp3/16000/2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(c.name + " -> " + c.codec));
        const QString input = soxInput(dir, c.name, c.format, c.before, 0.8);
        QTemporaryDir work;
        QByteArray wav;
        QString error;
        ASSERT_TRUE(finishRecording(input, FinishSpec{c.codec}, work.path(), wav, error))
            << qPrintable(error);
        WavFacts facts;
        ASSERT_TRUE(inspectWav(wav, facts, &error)) << qPrintable(error);
        EXPECT_TRUE(matchesCodec(facts, c.codec));
        std::vector<float> mono;
        int rate = 0;
        ASSERT_TRUE(decodeWavMono(wav, mono, rate, &error));
        const SoundFacts sound = measureSound(mono, rate);
        EXPECT_LE(sound.lead, 0.002);
        EXPECT_NEAR(sound.tail, kTailSilence, 0.025);  // ADPCM: whole blocks
        EXPECT_NEAR(sound.seconds, 0.6 + kLeadSilence + kTailSilence, 0.03);
        // 8-bit samples and the ADPCM and MP3 coders move the level a little.
        EXPECT_NEAR(sound.loudness, kTargetLoudness, 1.0);
        EXPECT_LE(sound.peakDb, kPeakCeiling + 0.5);
    }
}

TEST(FinishRecording, ASoftNoisyOnsetStillStartsWithinTwoMilliseconds) {
    // An "f" at the threshold's level before a vowel: coding moves such samples under the line,
    // and the pipeline takes the front off until the coded clip starts at once.
    QTemporaryDir dir;
    const auto fricative = noise(0.04, 0.0045, 22050);
    const auto vowel = sine(0.4, 220, 0.8, 22050);
    QList<qint16> samples;
    for (const auto& part : {silence(0.2, 22050), fricative, vowel, silence(0.3, 22050)})
        for (float v : part) samples.append(qint16(std::lround(v * 32767)));
    const QString input = dir.filePath("fish.wav");
    QFile file(input);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(pcmWav(samples, 22050, 1));
    file.close();
    for (const char* codec : {"msadpcm", "ima", "pcm8/22050/1", "mp3/24000/1"}) {
        SCOPED_TRACE(codec);
        QTemporaryDir work;
        QByteArray wav;
        QString error;
        ASSERT_TRUE(finishRecording(input, FinishSpec{codec}, work.path(), wav, error))
            << qPrintable(error);
        std::vector<float> mono;
        int rate = 0;
        ASSERT_TRUE(decodeWavMono(wav, mono, rate, &error));
        const SoundFacts facts = measureSound(mono, rate);
        EXPECT_LE(facts.lead, 0.002);
        // The vowel stays whole; of the "f", 8 bits keep nothing (it lies under one step).
        EXPECT_GE(facts.seconds, 0.4 + kLeadSilence + kTailSilence - 0.01);
        EXPECT_LE(facts.seconds, 0.44 + kLeadSilence + kTailSilence + 0.03);
    }
}

TEST(FinishRecording, ABrokenInputIsRefusedWithWhatIsWrong) {
    QTemporaryDir dir;
    auto refused = [&](const QString& path) {
        QTemporaryDir work;
        QByteArray wav;
        QString error;
        EXPECT_FALSE(finishRecording(path, FinishSpec{"msadpcm"}, work.path(), wav, error));
        return error;
    };
    EXPECT_EQ(refused(dir.filePath("missing.wav")), "the file does not exist");

    QFile empty(dir.filePath("empty.wav"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    EXPECT_EQ(refused(empty.fileName()), "the file is empty");

    QFile text(dir.filePath("notes.wav"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("Number one: a ruler.\n");
    text.close();
    EXPECT_TRUE(refused(text.fileName()).startsWith("it cannot be read as audio"));

    QProcess sox;
    sox.start("sox",
              {"-n", "-r", "8000", "-c", "1", dir.filePath("silent.wav"), "trim", "0", "1.0"});
    sox.waitForFinished(30000);
    EXPECT_EQ(refused(dir.filePath("silent.wav")), "it is silent");

    const QString tooLong =
        soxInput(dir, "too_long.flac", {"-r", "8000", "-c", "1"}, kLongestRecording, 1.0);
    EXPECT_TRUE(refused(tooLong).contains("longer than the 120 s")) << qPrintable(refused(tooLong));
}

// sox, lame and the voices run as programs: one still running when its time is up is stopped
// and fails, rather than passing with half its output.
TEST(RunProgram, AProgramStillRunningAtItsTimeoutIsStoppedAndFails) {
    QString error;
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(runProgram("sleep", {"30"}, error, nullptr, std::chrono::milliseconds(200)));
    EXPECT_LT(timer.elapsed(), 10000);
    EXPECT_TRUE(error.contains("did not finish")) << qPrintable(error);
    QByteArray output;
    EXPECT_TRUE(runProgram("sh", {"-c", "echo 22050"}, error, &output));
    EXPECT_EQ(output.trimmed(), "22050");
}

TEST(SoundOption, AHotspotPlaysAMadeSoundInItsCodec) {
    Problems problems;
    const PageSource page =
        parsePage("p38.txt",
                  "page 38\n"
                  "4 | pic dog | 118,196,64,64 | $ | $ | say: Woof! Woof!; codec: pcm16/22050/1; "
                  "sound: bark\n"
                  "5 | pic bell | 24,312,64,64 | $ | $ | sound: doorbell\n"
                  "6 | pic bell | 24,400,64,64 | $ | $ | sound: doorbell; voice: zh\n"
                  "7 | pic bell | 24,480,64,40 | $ | $ | sound: two words\n",
                  problems);
    ASSERT_EQ(page.entries.size(), 4);
    EXPECT_EQ(page.entries[0].recording.key(), "synth|pcm16/22050/1|bark");
    EXPECT_EQ(page.entries[0].say, "Woof! Woof!");
    EXPECT_EQ(page.entries[1].recording.key(), "synth|msadpcm|doorbell");
    EXPECT_EQ(problems.report().toStdString(),
              "p38.txt:4: a sound: option takes no voice: option\n"
              "p38.txt:5: expected an option say: TEXT, sound: RECIPE, voice: en|zh, codec: "
              "CODEC, by: ENTRY or audio: FILE, found \"sound: two words\"\n"
              "p38.txt:5: a placeholder entry needs a say: option telling what its recording "
              "says, a sound: option or an audio: file\n");
}

TEST(SoundOption, EverySoundOfTheBookIsMadeAndStartsAtOnce) {
    for (const QString& recipe : soundRecipes()) {
        SCOPED_TRACE(qPrintable(recipe));
        const QList<qint16> samples = synthesise(recipe, kSynthRate);
        ASSERT_FALSE(samples.isEmpty());
        std::vector<float> mono;
        for (qint16 s : samples) mono.push_back(s / 32768.0f);
        const SoundFacts facts = measureSound(mono, kSynthRate);
        EXPECT_FALSE(facts.silent);
        EXPECT_LE(facts.lead, 0.002);
        EXPECT_LE(facts.peakDb, 0.0);
        EXPECT_GT(facts.peakDb, -20.0) << "made at a useful level before it is levelled";
    }
    EXPECT_TRUE(isLoopRecipe("tune"));
    EXPECT_FALSE(isLoopRecipe("doorbell"));
}

namespace {

// Something like a spoken word: a voiced stretch (a buzz gliding from 180 to 120 Hz, shaped by
// two formants, swelling and fading), an "s" (noise), a softer vowel, then silence; 16-bit
// samples at 22050 Hz.
std::vector<short> spokenWord() {
    std::vector<float> voiced(size_t(0.3 * kRate));
    double phase = 0;
    for (size_t i = 0; i < voiced.size(); ++i) {
        const double t = double(i) / kRate;
        const double pitch = 180 - 200 * t;
        phase += 2 * std::numbers::pi * pitch / kRate;
        double v = 0;
        for (int h = 1; h * pitch < 5000; ++h) {
            const double f = h * pitch;
            const double formants = 1 / (1 + std::pow((f - 700) / 150, 2)) +
                                    0.5 / (1 + std::pow((f - 2300) / 250, 2)) + 0.02;
            v += formants * std::sin(h * phase);
        }
        voiced[i] = float(0.15 * v * std::sin(std::numbers::pi * t / 0.3));
    }
    auto soft = voiced;
    for (float& v : soft) v *= 0.2f;
    std::vector<short> out;
    for (const auto& part : {voiced, noise(0.12, 0.4), soft, silence(0.1)})
        for (const float v : part)
            out.push_back(short(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767)));
    return out;
}

std::vector<float> decodedMono(const QByteArray& wav) {
    std::vector<float> mono;
    int rate = 0;
    QString error;
    EXPECT_TRUE(decodeWavMono(wav, mono, rate, &error)) << qPrintable(error);
    EXPECT_EQ(rate, kRate);
    return mono;
}

// Signal to coding noise, in dB, over the length of `original`.
double snrDb(const std::vector<short>& original, const std::vector<float>& decoded) {
    double signal = 0, noise = 0;
    for (size_t i = 0; i < original.size(); ++i) {
        const double s = original[i] / 32768.0;
        const double d = i < decoded.size() ? decoded[i] - s : -s;
        signal += s * s;
        noise += d * d;
    }
    return noise == 0 ? 200 : 10 * std::log10(signal / noise);
}

quint16 le16(const QByteArray& bytes, qsizetype at) {
    return quint16(uchar(bytes[at]) | uchar(bytes[at + 1]) << 8);
}

}  // namespace

TEST(MsAdpcm, CodesSpeechInShortBlocksWithLessNoiseThanSox) {
    const std::vector<short> word = spokenWord();
    const QByteArray wav = encodeMsAdpcm(word, kRate, 2);
    WavFacts facts;
    QString error;
    ASSERT_TRUE(inspectWav(wav, facts, &error)) << qPrintable(error);
    EXPECT_EQ(facts.formatTag, 2);
    EXPECT_EQ(facts.channels, 2);
    const qsizetype fmt = wav.indexOf("fmt ") + 8;
    EXPECT_EQ(le16(wav, fmt + 12), kMsAdpcmBlockAlign);
    EXPECT_EQ(le16(wav, fmt + 18), msAdpcmFramesPerBlock(kMsAdpcmBlockAlign, 2));
    EXPECT_EQ(msAdpcmFramesPerBlock(256, 2), 244);
    EXPECT_EQ(msAdpcmFramesPerBlock(1024, 2), 1012);

    // The last block is filled up with silence; the fact chunk keeps the true length.
    const std::vector<float> ours = decodedMono(wav);
    EXPECT_EQ(ours.size() % 244, 0u);
    EXPECT_GE(ours.size(), word.size());
    EXPECT_LT(ours.size(), word.size() + 244);
    const qsizetype fact = wav.indexOf("fact") + 8;
    EXPECT_EQ(le16(wav, fact), word.size());
    for (size_t i = word.size(); i < ours.size(); ++i) ASSERT_EQ(ours[i], 0.0f);

    // The same samples through sox's coder, as a yardstick.
    QTemporaryDir dir;
    const QString raw = dir.filePath("word.s16"), soxWav = dir.filePath("word.wav");
    QFile file(raw);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(word.data()), qint64(word.size() * 2));
    file.close();
    ASSERT_EQ(QProcess::execute("sox", {"-t", "s16", "-r", "22050", "-c", "1", raw, "-D", "-c", "2",
                                        "-e", "ms-adpcm", soxWav}),
              0);
    QFile soxFile(soxWav);
    ASSERT_TRUE(soxFile.open(QIODevice::ReadOnly));
    // The vowels, where sox's coder leaves the most room, gain most; the "s" must not lose.
    const std::vector<float> sox = decodedMono(soxFile.readAll());
    struct Part {
        const char* name;
        double from, to, leastGainDb;
    };
    for (const Part& p : {Part{"vowel", 0.0, 0.3, 2.0}, Part{"s", 0.3, 0.42, 0.0},
                          Part{"soft vowel", 0.42, 0.72, 2.0}}) {
        const auto slice = [&](const auto& samples) {
            using Sample = typename std::decay_t<decltype(samples)>::value_type;
            return std::vector<Sample>(samples.begin() + qsizetype(p.from * kRate),
                                       samples.begin() + qsizetype(p.to * kRate));
        };
        const double oursDb = snrDb(slice(word), slice(ours));
        const double soxDb = snrDb(slice(word), slice(sox));
        EXPECT_GE(oursDb, soxDb + p.leastGainDb)
            << p.name << ": ours " << oursDb << " dB, sox " << soxDb << " dB";
    }
}

TEST(MsAdpcm, BothChannelsCarryTheSameCodesAndEveryInputDecodes) {
    // Silence stays exact; an empty input is one silent block; a full-scale square, a full-scale
    // rattle and noise jumping out of silence drive the step size to its largest, where a step
    // that left 16 bits would wrap in libsndfile and the decoded sound would fall apart.
    std::vector<short> square;
    for (int i = 0; i < 3000; ++i) square.push_back(i < 500 ? 0 : (i / 60) % 2 ? 32767 : -32768);
    std::vector<short> rattle(100, 0);  // full scale, flipping every sample
    for (int i = 0; i < 1000; ++i) rattle.push_back(i % 2 ? 32767 : -32768);
    std::vector<short> loudNoise;
    unsigned seed = 7;
    for (int i = 0; i < 2000; ++i) {
        seed = seed * 1664525u + 1013904223u;
        loudNoise.push_back(i % 700 < 350 ? short(seed >> 16) : 0);
    }
    struct Case {
        const char* name;
        std::vector<short> samples;
        double leastSnrDb;
    };
    for (const Case& c : {Case{"silence", std::vector<short>(1000, 0), 200}, Case{"empty", {}, 200},
                          Case{"square", square, 14}, Case{"noise", loudNoise, 10}}) {
        SCOPED_TRACE(c.name);
        const QByteArray wav = encodeMsAdpcm(c.samples, kRate, 2);
        const std::vector<float> decoded = decodedMono(wav);
        EXPECT_EQ(decoded.size(), std::max<size_t>(244, (c.samples.size() + 243) / 244 * 244));
        EXPECT_GE(snrDb(c.samples, decoded), c.leastSnrDb);
        const qsizetype data = wav.indexOf("data") + 8;
        for (qsizetype block = data; block < wav.size(); block += kMsAdpcmBlockAlign) {
            EXPECT_EQ(wav[block], wav[block + 1]);                  // predictors
            EXPECT_EQ(le16(wav, block + 2), le16(wav, block + 4));  // step sizes
            EXPECT_LE(le16(wav, block + 2), 32767);
            for (qsizetype b = block + 14; b < block + kMsAdpcmBlockAlign; ++b)
                ASSERT_EQ(uchar(wav[b]) >> 4, uchar(wav[b]) & 15);
        }
    }
}
