// Playback through SDL_mixer. The sound tests tap the mixer's output with a post-mix hook and
// run on SDL's disk driver, whose file receives exactly what the mixer produced.

#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <optional>

#include "sound/sdl_sound.h"

namespace {

class ScopedEnv {
  public:
    ScopedEnv(const char* name, const QByteArray& value)
        : name_(name), wasSet_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        qputenv(name, value);
    }
    ~ScopedEnv() { wasSet_ ? qputenv(name_, old_) : qunsetenv(name_); }

  private:
    const char* name_;
    bool wasSet_;
    QByteArray old_;
};

QByteArray le(quint32 value, int bytes) {
    QByteArray out;
    for (int i = 0; i < bytes; ++i) out += char(value >> (8 * i) & 0xFF);
    return out;
}

// A 16-bit PCM clip holding one constant value: easy to find, and to sum, in the mix.
QByteArray constantClip(qint16 value, double seconds, int rate = 44100, int channels = 2) {
    const int frames = int(seconds * rate);
    QByteArray data;
    for (int i = 0; i < frames * channels; ++i) data += le(quint16(value), 2);
    const QByteArray format = le(1, 2) + le(channels, 2) + le(rate, 4) +
                              le(rate * channels * 2, 4) + le(channels * 2, 2) + le(16, 2);
    const QByteArray chunks = "fmt " + le(16, 4) + format + "data" + le(data.size(), 4) + data;
    return "RIFF" + le(chunks.size() + 4, 4) + "WAVE" + chunks;
}

// Everything the mixer produced, buffer by buffer.
struct MixTap {
    std::mutex lock;
    std::vector<qint16> samples;
    std::atomic<int> buffers{0};
    int bufferSamples = 0;

    static void SDLCALL collect(void* self, Uint8* stream, int length) {
        auto* tap = static_cast<MixTap*>(self);
        std::lock_guard guard(tap->lock);
        const auto* values = reinterpret_cast<const qint16*>(stream);
        tap->samples.insert(tap->samples.end(), values, values + length / 2);
        tap->bufferSamples = length / 2;
        ++tap->buffers;
    }
    std::vector<qint16> snapshot() {
        std::lock_guard guard(lock);
        return samples;
    }
    long count(qint16 value) {
        const auto all = snapshot();
        return long(std::count(all.begin(), all.end(), value));
    }
};

// Waits until the mixer has produced `target` samples in all.
void waitForSamples(MixTap& tap, std::size_t target) {
    QElapsedTimer timer;
    timer.start();
    while (tap.snapshot().size() < target && timer.elapsed() < 10000) QThread::msleep(2);
    ASSERT_GE(tap.snapshot().size(), target) << "the audio thread stopped mixing";
}

// A few device buffers, whatever size the sound service asks for: enough for a clip that
// started on the next buffer to have been mixed to its end.
constexpr double kSlackSeconds = 4 * 1024.0 / 44100.0;

class DiskPlayback : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        sound_ = std::make_unique<sound::SdlSound>();
        if (!sound_->isOpen()) GTEST_SKIP() << "SDL's disk audio driver is not available";
        ASSERT_EQ(sound_->deviceFormat().channels, 2);
        ASSERT_EQ(sound_->deviceFormat().sampleFormat, AUDIO_S16SYS);
        Mix_SetPostMix(&MixTap::collect, &tap_);
    }
    void TearDown() override {
        if (sound_ && sound_->isOpen()) Mix_SetPostMix(nullptr, nullptr);
        sound_.reset();
    }
    // Starts over with other options, the tap on the new mixer.
    void reopen(const sound::SdlSound::Options& options) {
        Mix_SetPostMix(nullptr, nullptr);
        sound_.reset();
        sound_ = std::make_unique<sound::SdlSound>(options);
        ASSERT_TRUE(sound_->isOpen());
        Mix_SetPostMix(&MixTap::collect, &tap_);
    }
    // Lets the clips play for a while, measured in mixed buffers.
    void playFor(double seconds) {
        waitForSamples(tap_, tap_.snapshot().size() + std::size_t(seconds * 44100) * 2);
    }

    QTemporaryDir dir_;
    ScopedEnv driver_{"SDL_AUDIODRIVER", "disk"};
    ScopedEnv file_{"SDL_DISKAUDIOFILE", dir_.filePath("out.raw").toLocal8Bit()};
    MixTap tap_;
    std::unique_ptr<sound::SdlSound> sound_;
};

// Where the tapped mix begins in the device file. The device starts writing as soon as it
// is opened, before the tap is installed (paused silence first, then unpaused buffers the tap
// never saw), so the file holds some whole silent buffers ahead of the tap's first one. The
// offset is found from the first sound in each, which must then be whole buffers apart.
std::optional<qsizetype> tapOffsetInFile(const QByteArray& file, const std::vector<qint16>& mix,
                                         int bufferBytes) {
    const auto firstSound = [](const char* bytes, qsizetype size) -> qsizetype {
        for (qsizetype i = 0; i < size; ++i)
            if (bytes[i] != 0) return i;
        return -1;
    };
    const qsizetype inFile = firstSound(file.constData(), file.size());
    const qsizetype inMix =
        firstSound(reinterpret_cast<const char*>(mix.data()), qsizetype(mix.size() * 2));
    if (inFile < 0 || inMix < 0) return std::nullopt;
    const qsizetype offset = (inFile & ~qsizetype(1)) - (inMix & ~qsizetype(1));
    if (offset < 0 || offset % bufferBytes != 0) return std::nullopt;
    return offset;
}

TEST_F(DiskPlayback, PlayedClipReachesTheDeviceWhole) {
    sound_->play(constantClip(8000, 0.1));
    playFor(0.1 + kSlackSeconds);
    Mix_SetPostMix(nullptr, nullptr);
    sound_.reset();  // closing the device writes every buffer mixed so far and flushes the file

    EXPECT_EQ(tap_.count(8000), 4410 * 2);
    QFile out(dir_.filePath("out.raw"));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    const QByteArray written = out.readAll();
    const auto mixed = tap_.snapshot();
    const qsizetype mixedBytes = qsizetype(mixed.size() * 2);
    const auto offset = tapOffsetInFile(written, mixed, tap_.bufferSamples * 2);
    ASSERT_TRUE(offset.has_value()) << "the clip is not whole buffers apart in file and mix";
    // Before the tap: silence only. Then every tapped buffer, byte for byte. After the tap was
    // removed the device may have mixed a few more buffers: silence, the clip being over.
    ASSERT_GE(written.size(), *offset + mixedBytes);
    EXPECT_EQ(written.left(*offset), QByteArray(*offset, '\0'));
    EXPECT_EQ(0, std::memcmp(written.constData() + *offset, mixed.data(), size_t(mixedBytes)));
    const QByteArray after = written.mid(*offset + mixedBytes);
    EXPECT_EQ(after, QByteArray(after.size(), '\0'));
}

TEST_F(DiskPlayback, ClipsOverlapAndSumIncludingTheSameClipTwice) {
    const QByteArray low = constantClip(3000, 0.3);
    const QByteArray high = constantClip(5000, 0.3);
    sound_->prepare({low, high});
    sound_->finishPreparing();  // so that the three starts are only look-ups
    sound_->play(low);
    sound_->play(low);
    sound_->play(high);
    playFor(0.3 + kSlackSeconds);
    // Mixing is plain addition: every clip's samples are in the mix whole, however the three
    // starts fell on buffer boundaries, and while all three sound together the mix is 11000.
    const auto mixed = tap_.snapshot();
    long long sum = 0;
    for (qint16 v : mixed) sum += v;
    EXPECT_EQ(sum, (2LL * 3000 + 5000) * 13230 * 2);
    EXPECT_GT(tap_.count(11000), 0);
    EXPECT_TRUE(std::all_of(mixed.begin(), mixed.end(), [](qint16 v) {
        return v == 0 || v == 3000 || v == 5000 || v == 6000 || v == 8000 || v == 11000;
    }));
}

TEST_F(DiskPlayback, ConvertsRateAndChannelsToTheDevice) {
    sound_->play(constantClip(6000, 0.2, 22050, 1));
    playFor(0.2 + kSlackSeconds);
    const auto mixed = tap_.snapshot();
    long frames = 0;
    for (size_t i = 0; i + 1 < mixed.size(); i += 2)
        frames += std::abs(mixed[i] - 6000) < 300 && std::abs(mixed[i + 1] - 6000) < 300;
    EXPECT_NEAR(frames, 8820, 200);
}

TEST_F(DiskPlayback, LoopRunsSeamlesslyUntilStopAllSilencesEverythingWithinOneBuffer) {
    sound_->playLooped(constantClip(4000, 0.05));
    sound_->play(constantClip(2000, 3.0));
    playFor(0.4);
    sound_->stopAll();
    // stopAll holds the mixer's lock: every buffer mixed after it returns is silent. Counted
    // after the call, so a preempted test thread cannot make a later buffer look early.
    const int mixedAtStop = tap_.buffers;
    playFor(kSlackSeconds);

    const auto mixed = tap_.snapshot();
    const auto first = std::find_if(mixed.begin(), mixed.end(), [](qint16 v) { return v != 0; });
    const auto last =
        std::find_if(mixed.rbegin(), mixed.rend(), [](qint16 v) { return v != 0; }).base();
    ASSERT_LT(first, last);
    EXPECT_LE(last - mixed.begin(), long(mixedAtStop) * tap_.bufferSamples);
    // The 0.05 s loop went on well past its length, with no gap between repetitions.
    EXPECT_GT(last - first, long(0.3 * 44100 * 2));
    EXPECT_TRUE(std::all_of(first, last, [](qint16 v) { return v == 4000 || v == 6000; }));
}

TEST_F(DiskPlayback, LongLoopIsStreamedSeamlesslyInLittleMemoryUntilStopAll) {
    sound::SdlSound::Options options;
    options.streamLoopsLongerThanSeconds = 0.2;
    reopen(options);
    const QByteArray stored = constantClip(4000, 0.25);  // 44 KB once decoded
    sound_->playLooped(QByteArray::fromRawData(stored.constData(), stored.size()));
    sound_->play(constantClip(2000, 3.0));
    EXPECT_EQ(sound_->streamingLoopCount(), 1);
    EXPECT_EQ(sound_->cachedClipCount(), 1);  // only the clip played once
    const std::size_t cachedOnly = sound_->memoryHeld();
    playFor(1.0);
    EXPECT_LT(sound_->memoryHeld() - cachedOnly, 16u * 1024);
    sound_->stopAll();
    const int mixedAtStop = tap_.buffers;
    EXPECT_EQ(sound_->streamingLoopCount(), 0);
    playFor(kSlackSeconds);

    const auto mixed = tap_.snapshot();
    const auto first = std::find(mixed.begin(), mixed.end(), qint16(6000));
    const auto last =
        std::find_if(mixed.rbegin(), mixed.rend(), [](qint16 v) { return v != 0; }).base();
    ASSERT_LT(first, last);
    EXPECT_LE(last - mixed.begin(), long(mixedAtStop) * tap_.bufferSamples);
    // Three repetitions and more, summed with the other clip, without a gap between them.
    EXPECT_GT(last - first, long(0.9 * 44100 * 2));
    EXPECT_TRUE(std::all_of(first, last, [](qint16 v) { return v == 6000; }));
}

TEST_F(DiskPlayback, BrokenClipsPlayNothing) {
    const QByteArray good = constantClip(1000, 0.05);
    for (const QByteArray& broken : {QByteArray(), QByteArray(5000, '\x7f'), good.left(30),
                                     good.left(43), QByteArray(good).replace(20, 2, le(0x1234, 2)),
                                     QByteArray(good).replace(22, 2, le(0, 2))}) {
        sound_->play(broken);
        sound_->playLooped(broken);
    }
    playFor(kSlackSeconds);
    const auto mixed = tap_.snapshot();
    EXPECT_TRUE(std::all_of(mixed.begin(), mixed.end(), [](qint16 v) { return v == 0; }));
}

// ---- No device, one owner ------------------------------------------------------------------

TEST(SdlSound, WithoutADeviceEveryCallDoesNothing) {
    ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    sound::SdlSound sound;
    const QByteArray clip = constantClip(1000, 0.1);
    EXPECT_FALSE(sound.isOpen());
    sound.play(clip);
    sound.playLooped(clip);
    sound.prepare({clip});
    sound.finishPreparing();
    sound.stopAll();
    EXPECT_EQ(sound.cachedClipCount(), 0);
    EXPECT_EQ(sound.pendingPrepareCount(), 0);
    EXPECT_EQ(sound.memoryHeld(), 0u);
}

TEST(SdlSound, ASecondInstanceStaysSilentAndLeavesTheFirstAlone) {
    auto first = std::make_unique<sound::SdlSound>();
    ASSERT_TRUE(first->isOpen());
    first->playLooped(constantClip(1000, 0.1));
    {
        sound::SdlSound second;
        EXPECT_FALSE(second.isOpen());
        second.stopAll();
        EXPECT_EQ(Mix_Playing(-1), 1);
    }
    EXPECT_EQ(Mix_Playing(-1), 1);
    first.reset();
    EXPECT_TRUE(sound::SdlSound().isOpen());
}

TEST(SdlSound, OnlyLongLoopsAreStreamed) {
    sound::SdlSound sound;
    ASSERT_TRUE(sound.isOpen());
    const QByteArray music = constantClip(100, 12.0, 8000, 1);  // 4.2 MB once decoded
    sound.playLooped(QByteArray::fromRawData(music.constData(), music.size()));
    EXPECT_EQ(sound.streamingLoopCount(), 1);
    EXPECT_EQ(sound.cachedClipCount(), 0);
    EXPECT_LT(sound.memoryHeld(), 64u * 1024);
    sound.playLooped(constantClip(100, 1.0, 8000, 1));
    sound.play(QByteArray::fromRawData(music.constData(), music.size()));  // once: decoded
    EXPECT_EQ(sound.streamingLoopCount(), 1);
    EXPECT_EQ(sound.cachedClipCount(), 2);
    sound.stopAll();
    EXPECT_EQ(sound.streamingLoopCount(), 0);
}

// ---- The cache -----------------------------------------------------------------------------

constexpr std::size_t kDeviceBytesPerSecond = 44100 * 2 * 2;

TEST(SdlSoundCache, KeysOnAddressAndSizeAndCountsWhatItHolds) {
    sound::SdlSound sound;
    ASSERT_TRUE(sound.isOpen());
    const QByteArray stored = constantClip(100, 1.0, 22050, 1);
    const QByteArray clip = QByteArray::fromRawData(stored.constData(), stored.size());
    sound.play(clip);
    sound.play(QByteArray::fromRawData(stored.constData(), stored.size()));
    EXPECT_EQ(sound.cachedClipCount(), 1);
    // Converted to 44100 Hz stereo; the embedded bytes themselves are not the cache's.
    EXPECT_NEAR(double(sound.memoryHeld()), double(kDeviceBytesPerSecond),
                kDeviceBytesPerSecond * 0.02);

    sound.play(QByteArray::fromRawData(stored.constData(), stored.size() - 2000));
    EXPECT_EQ(sound.cachedClipCount(), 2);
    const std::size_t before = sound.memoryHeld();
    sound.play(QByteArray(5000, 'x'));  // heap bytes the cache keeps alive: counted
    EXPECT_EQ(sound.cachedClipCount(), 3);
    EXPECT_GE(sound.memoryHeld(), before + 5000);
}

TEST(SdlSoundCache, AFreedClipsAddressIsNotMistakenForANewClip) {
    sound::SdlSound sound;
    ASSERT_TRUE(sound.isOpen());
    const QByteArray a = constantClip(100, 0.1), b = constantClip(200, 0.1);
    auto first = std::make_unique<QByteArray>(a.constData(), a.size());
    sound.play(*first);
    first.reset();
    // The same size right after the free: the allocator would hand back the same block if the
    // cache had let the first clip's bytes go.
    const QByteArray second(b.constData(), b.size());
    sound.play(second);
    EXPECT_EQ(sound.cachedClipCount(), 2);
}

TEST(SdlSoundCache, StaysWithinBudgetWithoutFreeingAPlayingClip) {
    sound::SdlSound::Options options;
    options.cacheBytes = 600 * 1024;
    sound::SdlSound sound(options);
    ASSERT_TRUE(sound.isOpen());
    sound.playLooped(constantClip(100, 0.5));  // the oldest entry, but still playing
    std::vector<QByteArray> clips;
    for (int i = 0; i < 20; ++i) clips.push_back(constantClip(qint16(i), 0.5));
    sound.prepare(QList<QByteArray>(clips.begin(), clips.end()));
    sound.finishPreparing();
    EXPECT_LE(sound.memoryHeld(), options.cacheBytes);
    EXPECT_LT(sound.cachedClipCount(), 21);
    EXPECT_EQ(Mix_Playing(-1), 1) << "the looped clip's chunk was freed";
}

TEST(SdlSoundCache, PrepareQueuesNewClipsAndIdleTimeDecodesThem) {
    sound::SdlSound sound;
    ASSERT_TRUE(sound.isOpen());
    const QByteArray cached = constantClip(1, 0.2);
    const QByteArray a = constantClip(2, 0.2), b = constantClip(3, 0.2), c = constantClip(4, 0.2);
    sound.play(cached);

    sound.prepare({a, b, a, cached, c});
    EXPECT_EQ(sound.pendingPrepareCount(), 3);
    EXPECT_EQ(sound.cachedClipCount(), 1);  // nothing decoded inside prepare()

    const QByteArray d = constantClip(5, 0.2);
    sound.prepare({d});  // a new page replaces what the last one still had waiting
    EXPECT_EQ(sound.pendingPrepareCount(), 1);
    sound.play(d);  // pressed before its turn came: decoded now, no longer waiting
    EXPECT_EQ(sound.pendingPrepareCount(), 0);

    sound.prepare({a, b, c});
    QElapsedTimer timer;
    timer.start();
    while (sound.pendingPrepareCount() > 0 && timer.elapsed() < 5000)
        QCoreApplication::processEvents();
    EXPECT_EQ(sound.cachedClipCount(), 5);
}

}  // namespace
