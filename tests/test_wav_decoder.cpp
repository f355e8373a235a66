// Decoding of WAV images from memory: every codec the content uses, measured against what
// libsndfile itself reports for the same bytes, and a battery of broken images.

#include <gtest/gtest.h>
#include <sndfile.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtEndian>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <random>

#include <unistd.h>

#include "book/book_data.h"
#include "sound/wav_decoder.h"

namespace {

// ---- Building WAV images by hand ----------------------------------------------------------

QByteArray le16(quint16 value) {
    const char bytes[2] = {char(value & 0xFF), char(value >> 8)};
    return QByteArray(bytes, 2);
}

QByteArray le32(quint32 value) {
    return le16(value & 0xFFFF) + le16(value >> 16);
}

QByteArray chunk(const char* id, const QByteArray& payload, std::optional<quint32> declared = {}) {
    QByteArray out = QByteArray(id, 4) + le32(declared.value_or(quint32(payload.size()))) + payload;
    return payload.size() % 2 ? out + '\0' : out;
}

QByteArray riff(const QByteArray& chunks, std::optional<quint32> declared = {}) {
    return "RIFF" + le32(declared.value_or(quint32(chunks.size() + 4))) + "WAVE" + chunks;
}

QByteArray fmt(quint16 tag, quint16 channels, quint32 rate, quint16 bits, quint16 blockAlign,
               const QByteArray& extra = {}) {
    return le16(tag) + le16(channels) + le32(rate) + le32(rate * blockAlign) + le16(blockAlign) +
           le16(bits) + extra;
}

// Frame f of channel c holds a value that tells both apart.
qint16 testSample(int frame, int channel) {
    return qint16((frame * 7 + channel * 1000) % 20000 - 10000);
}

QByteArray pcm16Data(int channels, int frames) {
    QByteArray out;
    for (int f = 0; f < frames; ++f)
        for (int c = 0; c < channels; ++c) out += le16(quint16(testSample(f, c)));
    return out;
}

QByteArray pcm16Wav(int channels, quint32 rate, int frames) {
    const quint16 align = quint16(2 * channels);
    return riff(chunk("fmt ", fmt(1, quint16(channels), rate, 16, align)) +
                chunk("data", pcm16Data(channels, frames)));
}

std::optional<sound::DecodedAudio> decode(const QByteArray& image,
                                          const sound::WavLimits& limits = {}) {
    return sound::decodeWav(image.constData(), std::size_t(image.size()), limits);
}

// ---- What libsndfile reports when it reads the same bytes ----------------------------------

struct Reference {
    SF_INFO info{};
    std::vector<qint16> samples;
};

struct ByteSource {
    const QByteArray* bytes;
    sf_count_t at = 0;
};

std::optional<Reference> libsndfileReference(const QByteArray& bytes) {
    static SF_VIRTUAL_IO io{
        [](void* s) -> sf_count_t { return static_cast<ByteSource*>(s)->bytes->size(); },
        [](sf_count_t offset, int whence, void* s) -> sf_count_t {
            auto* src = static_cast<ByteSource*>(s);
            const sf_count_t base = whence == SEEK_SET   ? 0
                                    : whence == SEEK_CUR ? src->at
                                                         : src->bytes->size();
            src->at = std::clamp<sf_count_t>(base + offset, 0, src->bytes->size());
            return src->at;
        },
        [](void* out, sf_count_t count, void* s) -> sf_count_t {
            auto* src = static_cast<ByteSource*>(s);
            const sf_count_t n = std::min(count, sf_count_t(src->bytes->size()) - src->at);
            std::memcpy(out, src->bytes->constData() + src->at, size_t(n));
            src->at += n;
            return n;
        },
        nullptr, [](void* s) -> sf_count_t { return static_cast<ByteSource*>(s)->at; }};
    ByteSource source{&bytes};
    Reference ref;
    SNDFILE* file = sf_open_virtual(&io, SFM_READ, &ref.info, &source);
    if (file == nullptr) return std::nullopt;
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);  // as the player reads MPEG
    std::vector<qint16> block(4096 * std::size_t(ref.info.channels));
    while (sf_count_t got = sf_readf_short(file, block.data(), 4096))
        ref.samples.insert(ref.samples.end(), block.begin(),
                           block.begin() + got * ref.info.channels);
    sf_close(file);
    return ref;
}

bool isMpeg(const Reference& ref) {
    return (ref.info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_MPEG_LAYER_III;
}

// libsndfile only estimates an MPEG stream's length; two frames' worth is the slack allowed.
constexpr sf_count_t kMpegFrameSlack = 2304;

// Decoding must give exactly the samples libsndfile gives for the whole image.
void expectMatchesLibsndfile(const QByteArray& image, const sound::DecodedAudio& audio) {
    const auto ref = libsndfileReference(image);
    ASSERT_TRUE(ref);
    EXPECT_EQ(audio.channels, ref->info.channels);
    EXPECT_EQ(audio.sampleRate, ref->info.samplerate);
    const sf_count_t slack = isMpeg(*ref) ? kMpegFrameSlack : 0;
    EXPECT_LE(std::abs(audio.frames() - ref->info.frames), slack);
    EXPECT_TRUE(audio.samples == ref->samples) << "samples differ from libsndfile's own reading";
}

// ---- Clips made by sox and lame ------------------------------------------------------------

struct ToolClip {
    const char* name;
    QStringList encoding;  // sox output options; empty for MP3 made by lame
    int rate;
    int channels;
};

constexpr double kToolSeconds = 1.5;

bool haveTools() {
    return !QStandardPaths::findExecutable("sox").isEmpty() &&
           !QStandardPaths::findExecutable("lame").isEmpty();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return !path.isEmpty() && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray{};
}

// Left channel a half-scale 440 Hz sine, right channel silent.
QString soxSine(const QTemporaryDir& dir, const QStringList& encoding, int rate, int channels) {
    static int made = 0;
    const QString out = dir.filePath(QString("sine%1.wav").arg(++made));
    QStringList args{"-n", "-r", QString::number(rate), "-c", QString::number(channels)};
    args << "-D" << encoding << out << "synth" << QString::number(kToolSeconds) << "sine"
         << "440"
         << "vol"
         << "0.5";
    if (channels == 2)
        args << "remix"
             << "1"
             << "0";
    return QProcess::execute("sox", args) == 0 ? out : QString();
}

QByteArray soxClip(const QTemporaryDir& dir, const QStringList& encoding, int rate, int channels) {
    return readFile(soxSine(dir, encoding, rate, channels));
}

// lame's frames in a RIFF with an MPEGLAYER3WAVEFORMAT header and a fact chunk.
QByteArray mp3InWav(const QByteArray& mp3, int rate, int channels, int kbps) {
    const quint16 frameBytes = quint16((rate >= 32000 ? 144000 : 72000) * kbps / rate);
    const QByteArray layer3 = le16(1) + le32(2) + le16(frameBytes) + le16(1) + le16(1393);
    QByteArray format = fmt(0x55, quint16(channels), quint32(rate), 0, 1, le16(12) + layer3);
    format.replace(8, 4, le32(quint32(kbps * 1000 / 8)));
    const quint32 frames = quint32(kToolSeconds * rate);
    return riff(chunk("fmt ", format) + chunk("fact", le32(frames)) + chunk("data", mp3));
}

QByteArray lameClip(const QTemporaryDir& dir, int rate, int channels) {
    const QString pcm = soxSine(dir, {"-b", "16"}, rate, channels);
    const QString mp3 = pcm + ".mp3";
    const QStringList args{"-t",         "--quiet",
                           "-b",         "64",
                           "--resample", QString::number(rate / 1000.0),
                           "-m",         channels == 1 ? "m" : "j",
                           pcm,          mp3};
    if (pcm.isEmpty() || QProcess::execute("lame", args) != 0) return {};
    return mp3InWav(readFile(mp3), rate, channels, 64);
}

class ToolMadeClip : public ::testing::TestWithParam<ToolClip> {
  protected:
    QByteArray make() {
        if (!haveTools()) return {};
        const ToolClip& clip = GetParam();
        return clip.encoding.isEmpty() ? lameClip(dir_, clip.rate, clip.channels)
                                       : soxClip(dir_, clip.encoding, clip.rate, clip.channels);
    }
    QTemporaryDir dir_;
};

double rms(const sound::DecodedAudio& audio, int channel) {
    double sum = 0;
    for (std::size_t i = std::size_t(channel); i < audio.samples.size();
         i += std::size_t(audio.channels))
        sum += double(audio.samples[i]) * audio.samples[i];
    return std::sqrt(sum / double(audio.frames()));
}

TEST_P(ToolMadeClip, DecodesLikeLibsndfileWithTheRightLengthAndChannels) {
    const QByteArray image = make();
    if (image.isEmpty()) GTEST_SKIP() << "sox or lame missing";
    const auto audio = decode(image);
    ASSERT_TRUE(audio);
    EXPECT_EQ(audio->channels, GetParam().channels);
    EXPECT_EQ(audio->sampleRate, GetParam().rate);
    expectMatchesLibsndfile(image, *audio);
    // Block codecs pad their last block and MPEG adds its encoder delay: a little longer only.
    EXPECT_GE(audio->seconds(), kToolSeconds - 0.001);
    EXPECT_LE(audio->seconds(), kToolSeconds + 0.15);
    // A half-scale sine has an RMS of about 0.35 of full scale; the right channel is silent
    // but for codec noise (IMA ADPCM leaves some 27 dB below the tone).
    EXPECT_NEAR(rms(*audio, 0) / 32768.0, 0.354, 0.03);
    if (audio->channels == 2) {
        EXPECT_LT(rms(*audio, 1), rms(*audio, 0) / 10);
    }
}

// Long clips are streamed: read in pieces, then read again from the start for the next loop.
TEST_P(ToolMadeClip, StreamsTheSameSamplesInPiecesAndAgainAfterRewinding) {
    const QByteArray image = make();
    if (image.isEmpty()) GTEST_SKIP() << "sox or lame missing";
    const auto whole = decode(image);
    ASSERT_TRUE(whole);
    const auto stream = sound::WavStream::open(image.constData(), std::size_t(image.size()));
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->channels(), whole->channels);
    EXPECT_EQ(stream->sampleRate(), whole->sampleRate);
    EXPECT_NEAR(stream->seconds(), whole->seconds(), 0.15);
    for (int round = 0; round < 2; ++round) {
        std::vector<std::int16_t> read;
        std::vector<std::int16_t> piece(std::size_t(777 * stream->channels()));
        while (const std::int64_t frames = stream->read(piece.data(), 777))
            read.insert(read.end(), piece.begin(), piece.begin() + frames * stream->channels());
        EXPECT_TRUE(read == whole->samples) << "round " << round;
        ASSERT_TRUE(stream->rewind());
    }
    EXPECT_FALSE(sound::WavStream::open(image.constData(), 40));
    EXPECT_FALSE(sound::WavStream::open(nullptr, 0));
}

INSTANTIATE_TEST_SUITE_P(
    Codecs, ToolMadeClip,
    ::testing::Values(ToolClip{"pcm8_11025_mono", {"-b", "8", "-e", "unsigned-integer"}, 11025, 1},
                      ToolClip{
                          "pcm8_22050_stereo", {"-b", "8", "-e", "unsigned-integer"}, 22050, 2},
                      ToolClip{"pcm16_11025_mono", {"-b", "16"}, 11025, 1},
                      ToolClip{"pcm16_44100_stereo", {"-b", "16"}, 44100, 2},
                      ToolClip{"msadpcm_22050_stereo", {"-e", "ms-adpcm"}, 22050, 2},
                      ToolClip{"msadpcm_11025_mono", {"-e", "ms-adpcm"}, 11025, 1},
                      ToolClip{"ima_22050_stereo", {"-e", "ima-adpcm"}, 22050, 2},
                      ToolClip{"ima_44100_mono", {"-e", "ima-adpcm"}, 44100, 1},
                      ToolClip{"mp3_22050_stereo", {}, 22050, 2},
                      ToolClip{"mp3_44100_mono", {}, 44100, 1}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Hand-made images: exact values and limits ---------------------------------------------

TEST(WavDecoder, Pcm16AndPcm8SamplesComeOutExactly) {
    const auto stereo = decode(pcm16Wav(2, 22050, 300));
    ASSERT_TRUE(stereo);
    ASSERT_EQ(stereo->frames(), 300);
    for (int f = 0; f < 300; ++f)
        for (int c = 0; c < 2; ++c)
            ASSERT_EQ(stereo->samples[std::size_t(f * 2 + c)], testSample(f, c));

    // Unsigned 8-bit: 128 is silence, each step is 256 in 16 bits.
    const QByteArray bytes("\x80\x00\xff\x81", 4);
    const auto eight = decode(riff(chunk("fmt ", fmt(1, 1, 11025, 8, 1)) + chunk("data", bytes)));
    ASSERT_TRUE(eight);
    EXPECT_EQ(eight->samples, (std::vector<std::int16_t>{0, -32768, 32512, 256}));
}

TEST(WavDecoder, LimitsRefuseWholeClipsAtTheirBoundary) {
    const QByteArray second = pcm16Wav(2, 22050, 22050);  // one second, 88200 decoded bytes
    EXPECT_TRUE(decode(second, {.maxSeconds = 1.0}));
    EXPECT_FALSE(decode(second, {.maxSeconds = 0.99}));
    EXPECT_TRUE(decode(second, {.maxDecodedBytes = 88200}));
    EXPECT_FALSE(decode(second, {.maxDecodedBytes = 88199}));
    EXPECT_FALSE(decode(second, {.maxChannels = 1}));
    EXPECT_FALSE(decode(second, {.maxSampleRate = 22049}));
    EXPECT_FALSE(decode(second, {.minSampleRate = 22051}));
}

// ---- Broken images -------------------------------------------------------------------------

enum class Expect { Refused, Decodes, Either };

struct BrokenCase {
    const char* name;
    QByteArray image;
    Expect expect;
    int frames = 0;  // for Decodes
};

std::vector<BrokenCase> brokenCases() {
    const QByteArray data = pcm16Data(2, 200);
    const QByteArray stereoFmt = chunk("fmt ", fmt(1, 2, 22050, 16, 4));
    auto withFmt = [&](const QByteArray& format, const QByteArray& payload = {}) {
        return riff(chunk("fmt ", format) + chunk("data", payload.isNull() ? data : payload));
    };
    const QByteArray msAdpcmCoefs = le16(32) + le16(0xFFFF) + le16(7) + QByteArray(28, '\0');
    return {
        {"empty", QByteArray(), Expect::Refused},
        {"riff tag only", "RIFF", Expect::Refused},
        {"not WAVE", riff(stereoFmt + chunk("data", data)).replace(8, 4, "AVI "), Expect::Refused},
        {"zero-length data", riff(stereoFmt + chunk("data", {})), Expect::Refused},
        {"missing fmt", riff(chunk("data", data)), Expect::Refused},
        {"fmt after data", riff(chunk("data", data) + stereoFmt), Expect::Refused},
        {"huge RIFF size", riff(stereoFmt + chunk("data", data), 0xFFFFFFFF), Expect::Decodes, 200},
        {"huge data size", riff(stereoFmt + chunk("data", data, 0xFFFFFFFF)), Expect::Decodes, 200},
        {"huge fmt size",
         riff(chunk("fmt ", fmt(1, 2, 22050, 16, 4), 0xFFFFFFF0) + chunk("data", data)),
         Expect::Refused},
        {"data cut after 10 frames", riff(stereoFmt + chunk("data", data, 800)).left(44 + 40),
         Expect::Decodes, 10},
        {"0 channels", withFmt(fmt(1, 0, 22050, 16, 4)), Expect::Refused},
        {"3 channels", withFmt(fmt(1, 3, 22050, 16, 6), data.left(798)), Expect::Decodes, 133},
        {"7 channels", withFmt(fmt(1, 7, 22050, 16, 14), data.left(798)), Expect::Decodes, 57},
        {"9 channels", withFmt(fmt(1, 9, 22050, 16, 18)), Expect::Refused},
        {"255 channels", withFmt(fmt(1, 255, 22050, 16, 510)), Expect::Refused},
        {"rate 0", withFmt(fmt(1, 2, 0, 16, 4)), Expect::Refused},
        {"rate 4 billion", withFmt(fmt(1, 2, 4000000000u, 16, 4)), Expect::Refused},
        {"rate 999", withFmt(fmt(1, 2, 999, 16, 4)), Expect::Refused},
        {"block align 0", withFmt(fmt(1, 2, 22050, 16, 0)), Expect::Either},
        {"bits 0", withFmt(fmt(1, 2, 22050, 0, 4)), Expect::Refused},
        {"unknown tag", withFmt(fmt(0x1234, 2, 22050, 16, 4)), Expect::Refused},
        {"A-law, not a content codec", withFmt(fmt(6, 2, 22050, 8, 2)), Expect::Refused},
        {"GSM, not a content codec", withFmt(fmt(0x31, 1, 8000, 0, 65, le16(2) + le16(320))),
         Expect::Refused},
        {"MS-ADPCM huge samples per block", withFmt(fmt(2, 2, 22050, 4, 512, msAdpcmCoefs)),
         Expect::Either},
        {"MS-ADPCM block align 0", withFmt(fmt(2, 2, 22050, 4, 0, msAdpcmCoefs)), Expect::Either},
        {"IMA huge samples per block", withFmt(fmt(0x11, 1, 22050, 4, 256, le16(2) + le16(0xFFFF))),
         Expect::Either},
        {"MPEG tag over garbage", withFmt(fmt(0x55, 2, 22050, 0, 1), QByteArray(2048, '\x5a')),
         Expect::Refused},
        {"MPEG tag over zeros", withFmt(fmt(0x55, 2, 22050, 0, 1), QByteArray(2048, '\0')),
         Expect::Refused},
    };
}

// Whatever a broken image yields must still be sane audio within the limits.
void expectSane(const std::optional<sound::DecodedAudio>& audio,
                const sound::WavLimits& limits = {}) {
    if (!audio) return;
    EXPECT_GE(audio->channels, 1);
    EXPECT_LE(audio->channels, limits.maxChannels);
    EXPECT_GE(audio->sampleRate, limits.minSampleRate);
    EXPECT_LE(audio->sampleRate, limits.maxSampleRate);
    EXPECT_GT(audio->frames(), 0);
    EXPECT_EQ(audio->samples.size() % std::size_t(audio->channels), 0u);
    EXPECT_LE(audio->seconds(), limits.maxSeconds);
}

TEST(BrokenWav, HandMadeHeadersAreRefusedOrDecodedSafely) {
    for (const BrokenCase& broken : brokenCases()) {
        SCOPED_TRACE(broken.name);
        const auto audio = decode(broken.image);
        expectSane(audio);
        if (broken.expect == Expect::Refused) {
            EXPECT_FALSE(audio);
        }
        if (broken.expect == Expect::Decodes) {
            ASSERT_TRUE(audio);
            EXPECT_EQ(audio->frames(), broken.frames);
        }
    }
    EXPECT_FALSE(sound::decodeWav(nullptr, 100));
}

// Offsets where each chunk header and payload begins and ends, and one byte either side.
std::vector<int> chunkBoundaries(const QByteArray& image) {
    std::vector<int> cuts{0, 4, 8, 12};
    for (qsizetype at = 12; at + 8 <= image.size();) {
        const qsizetype size = qFromLittleEndian<quint32>(image.constData() + at + 4);
        for (qsizetype cut : {at, at + 4, at + 8, at + 8 + size})
            cuts.insert(cuts.end(), {int(cut) - 1, int(cut), int(cut) + 1});
        at += 8 + size + (size & 1);
    }
    std::erase_if(cuts, [&](int cut) { return cut < 0 || cut > image.size(); });
    return cuts;
}

std::vector<QByteArray> truncationBases(const QTemporaryDir& dir) {
    std::vector<QByteArray> bases{pcm16Wav(2, 22050, 500), pcm16Wav(1, 11025, 300)};
    if (haveTools()) {
        bases.push_back(soxClip(dir, {"-e", "ms-adpcm"}, 22050, 2));
        bases.push_back(soxClip(dir, {"-e", "ima-adpcm"}, 22050, 1));
        bases.push_back(lameClip(dir, 22050, 2));
    }
    return bases;
}

TEST(BrokenWav, TruncatedAnywhereYieldsNothingOrAPrefix) {
    QTemporaryDir dir;
    std::mt19937 random(20240611);
    for (const QByteArray& base : truncationBases(dir)) {
        const auto whole = decode(base);
        ASSERT_TRUE(whole);
        std::vector<int> cuts = chunkBoundaries(base);
        for (int i = 0; i < 150; ++i) cuts.push_back(int(random() % quint32(base.size())));
        for (int cut : cuts) {
            SCOPED_TRACE(cut);
            const auto audio = decode(base.left(cut));
            expectSane(audio);
            if (!audio) continue;
            EXPECT_EQ(audio->channels, whole->channels);
            EXPECT_EQ(audio->sampleRate, whole->sampleRate);
            EXPECT_LE(audio->frames(), whole->frames());
        }
    }
}

TEST(BrokenWav, RandomHeaderBytesNeverEscapeTheLimits) {
    QTemporaryDir dir;
    std::mt19937 random(7);
    const sound::WavLimits tight{.maxChannels = 4, .maxSeconds = 5.0};
    for (const QByteArray& base : truncationBases(dir)) {
        const quint32 headerBytes = quint32(base.indexOf("data") + 8);
        for (int round = 0; round < 300; ++round) {
            QByteArray image = base;
            for (int n = 1 + int(random() % 4); n > 0; --n)
                image[int(random() % headerBytes)] = char(random());
            const auto started = std::chrono::steady_clock::now();
            expectSane(decode(image, tight), tight);
            EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
        }
    }
}

// Everything written to stderr while `work` runs.
QByteArray stderrDuring(const std::function<void()>& work) {
    QTemporaryFile capture;
    if (!capture.open()) return "cannot capture stderr";
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    dup2(capture.handle(), STDERR_FILENO);
    work();
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    capture.seek(0);
    return capture.readAll();
}

QByteArray withRiffSize(QByteArray image) {
    return image.replace(4, 4, le32(quint32(image.size() - 8)));
}

// mpg123 prints notes about any byte that is not a frame; a clip must not make it speak.
TEST(BrokenWav, MpegClipsWithStrayBytesSayNothing) {
    QTemporaryDir dir;
    const QByteArray clip = haveTools() ? lameClip(dir, 22050, 2) : QByteArray();
    if (clip.isEmpty()) GTEST_SKIP() << "sox or lame missing";
    const qsizetype dataAt = clip.indexOf("data") + 8;
    const QByteArray list = chunk("LIST", "INFOISFT" + le32(6) + QByteArray("qcbook", 6));
    const std::vector<QByteArray> playable{
        withRiffSize(clip + list), clip + QByteArray(700, '\x33'), clip + QByteArray(300, '\0'),
        clip.left(clip.size() - 100)};
    const QByteArray said = stderrDuring([&] {
        for (const QByteArray& image : playable) EXPECT_TRUE(decode(image));
        EXPECT_FALSE(decode(clip.left(dataAt + 300)));  // one frame and a piece
    });
    EXPECT_TRUE(said.isEmpty()) << said.toStdString();
}

// ---- The clips the book ships --------------------------------------------------------------

TEST(BookClips, EveryClipDecodesAsLibsndfileReportsIt) {
    const book::Book& book = book::theBook();
    ASSERT_GT(book.clipCount, 0);
    for (int i = 0; i < book.clipCount; ++i) {
        SCOPED_TRACE(i);
        const book::Blob& blob = book.clips[i];
        const QByteArray bytes =
            QByteArray::fromRawData(reinterpret_cast<const char*>(blob.data), qsizetype(blob.size));
        const auto audio = decode(bytes);
        ASSERT_TRUE(audio);
        const auto ref = libsndfileReference(bytes);
        ASSERT_TRUE(ref);
        expectMatchesLibsndfile(bytes, *audio);
        const double reportedSeconds = double(ref->info.frames) / ref->info.samplerate;
        EXPECT_NEAR(audio->seconds(), reportedSeconds, isMpeg(*ref) ? 0.11 : 1e-9);
        EXPECT_GT(audio->seconds(), 0.05);
        EXPECT_GE(ref->info.samplerate, 8000);
        EXPECT_LE(ref->info.samplerate, 48000);
        EXPECT_LE(ref->info.channels, 2);
        const int codec = ref->info.format & SF_FORMAT_SUBMASK;
        EXPECT_TRUE(codec == SF_FORMAT_MS_ADPCM || codec == SF_FORMAT_IMA_ADPCM ||
                    codec == SF_FORMAT_PCM_U8 || codec == SF_FORMAT_PCM_16 ||
                    codec == SF_FORMAT_MPEG_LAYER_III)
            << std::hex << codec;
    }
}

}  // namespace
