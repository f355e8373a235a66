// Sound service speed: decoding per codec as a multiple of real time, the cost of a first
// press (decode and convert), prepare() for a page of clips, and the time from play() until
// the mixer first mixes the clip, with the device buffer and the memory the cache holds.
//
// Clips per codec are made with sox and lame at start-up; the press measurements use every
// clip on the book's pages when the content is linked in, else a set of made clips.

#include <benchmark/benchmark.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <set>

#include "book/book_data.h"
#include "sound/sdl_sound.h"
#include "sound/wav_decoder.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Codec {
    const char* name;
    QStringList soxEncoding;  // empty: MP3 made by lame
    int rate;
    int channels;
};

const Codec kCodecs[] = {
    {"pcm8_11025_mono", {"-b", "8", "-e", "unsigned-integer"}, 11025, 1},
    {"pcm16_22050_stereo", {"-b", "16"}, 22050, 2},
    {"pcm16_44100_stereo", {"-b", "16"}, 44100, 2},
    {"msadpcm_22050_stereo", {"-e", "ms-adpcm"}, 22050, 2},
    {"ima_22050_stereo", {"-e", "ima-adpcm"}, 22050, 2},
    {"mp3_22050_stereo", {}, 22050, 2},
};

QByteArray le(quint32 value, int bytes) {
    QByteArray out;
    for (int i = 0; i < bytes; ++i) out += char(value >> (8 * i) & 0xFF);
    return out;
}

QByteArray chunk(const char* id, const QByteArray& payload) {
    const QByteArray out = QByteArray(id, 4) + le(quint32(payload.size()), 4) + payload;
    return payload.size() % 2 ? out + '\0' : out;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray{};
}

// Two tones and a little noise, so that the codecs have something like speech to work on.
QString soxClip(const QTemporaryDir& dir, const QStringList& encoding, int rate, int channels,
                double seconds) {
    static int made = 0;
    const QString out = dir.filePath(QString("clip%1.wav").arg(++made));
    QStringList args{"-n", "-r", QString::number(rate), "-c", QString::number(channels)};
    args << encoding << out << "synth" << QString::number(seconds) << "sine"
         << "300-900"
         << "sine"
         << "220"
         << "pinknoise"
         << "vol"
         << "0.4";
    return QProcess::execute("sox", args) == 0 ? out : QString();
}

QByteArray mp3Clip(const QTemporaryDir& dir, int rate, int channels, double seconds) {
    const QString pcm = soxClip(dir, {"-b", "16"}, rate, channels, seconds);
    const QString mp3 = pcm + ".mp3";
    if (pcm.isEmpty() ||
        QProcess::execute("lame", {"-t", "--quiet", "-b", "64", "--resample",
                                   QString::number(rate / 1000.0), pcm, mp3}) != 0) {
        return {};
    }
    const quint32 kbps = 64;
    const QByteArray layer3 =
        le(12, 2) + le(1, 2) + le(2, 4) + le(72000 * kbps / rate, 2) + le(1, 2) + le(1393, 2);
    const QByteArray format = le(0x55, 2) + le(channels, 2) + le(rate, 4) + le(kbps * 1000 / 8, 4) +
                              le(1, 2) + le(0, 2) + layer3;
    const quint32 frames = quint32(seconds * rate);
    const QByteArray chunks =
        chunk("fmt ", format) + chunk("fact", le(frames, 4)) + chunk("data", readFile(mp3));
    return "RIFF" + le(quint32(chunks.size() + 4), 4) + "WAVE" + chunks;
}

QByteArray makeClip(const QTemporaryDir& dir, const Codec& codec, double seconds) {
    if (codec.soxEncoding.isEmpty()) return mp3Clip(dir, codec.rate, codec.channels, seconds);
    return readFile(soxClip(dir, codec.soxEncoding, codec.rate, codec.channels, seconds));
}

bool haveTools() {
    return !QStandardPaths::findExecutable("sox").isEmpty() &&
           !QStandardPaths::findExecutable("lame").isEmpty();
}

// ---- Decoding ------------------------------------------------------------------------------

void decodeSpeed(benchmark::State& state, QByteArray clip) {
    const auto probe = sound::decodeWav(clip.constData(), std::size_t(clip.size()));
    if (!probe) return state.SkipWithError("clip does not decode");
    for (auto _ : state) {
        auto audio = sound::decodeWav(clip.constData(), std::size_t(clip.size()));
        benchmark::DoNotOptimize(audio);
    }
    // Seconds of audio per second of work: the multiple of real time.
    state.counters["x_realtime"] =
        benchmark::Counter(probe->seconds(), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["clip_s"] = probe->seconds();
    state.counters["clip_KB"] = clip.size() / 1024.0;
}

// Decode and convert to the device format: what a first press costs before mixing starts.
// With no cache budget, each of the two alternating copies evicts the other.
void firstPressCost(benchmark::State& state, QByteArray clip) {
    sound::SdlSound::Options options;
    options.cacheBytes = 0;
    sound::SdlSound sound(options);
    if (!sound.isOpen()) return state.SkipWithError("no audio device");
    const QList<QByteArray> copies{QByteArray(clip.constData(), clip.size()),
                                   QByteArray(clip.constData(), clip.size())};
    int turn = 0;
    for (auto _ : state) {
        sound.prepare({copies[turn ^= 1]});
        sound.finishPreparing();
    }
    const auto probe = sound::decodeWav(clip.constData(), std::size_t(clip.size()));
    if (probe)
        state.counters["x_realtime"] =
            benchmark::Counter(probe->seconds(), benchmark::Counter::kIsIterationInvariantRate);
}

// ---- A page of clips -----------------------------------------------------------------------

// The clips the press measurements use: every distinct clip on the book's pages, or when
// the book has none, 25 copies of made MS-ADPCM clips of 1 to 4 seconds.
QList<QByteArray> pageClips(const QTemporaryDir& dir) {
    QList<QByteArray> clips;
    const book::Book& book = book::theBook();
    std::set<int> seen;
    for (int p = 0; p < book.pageCount; ++p) {
        const book::PageDef& page = book.pages[p];
        for (int e = 0; e < page.entryCount; ++e) {
            const int index = page.clips[e];
            if (index < 0 || index >= book.clipCount || !seen.insert(index).second) continue;
            const book::Blob& blob = book.clips[index];
            clips.append(QByteArray::fromRawData(reinterpret_cast<const char*>(blob.data),
                                                 qsizetype(blob.size)));
        }
    }
    if (!clips.isEmpty() || !haveTools()) return clips;
    QList<QByteArray> made;
    for (double seconds : {1.0, 2.0, 3.0, 4.0}) made.append(makeClip(dir, kCodecs[3], seconds));
    for (int i = 0; i < 25; ++i)
        clips.append(QByteArray(made[i % 4].constData(), made[i % 4].size()));
    return clips;
}

// prepare() only queues the clips; the decoding happens in idle slices.
void prepareCall(benchmark::State& state, QList<QByteArray> clips) {
    sound::SdlSound sound;
    if (!sound.isOpen()) return state.SkipWithError("no audio device");
    clips = clips.mid(0, 25);
    for (auto _ : state) sound.prepare(clips);
    state.counters["clips"] = double(clips.size());
}

// What those idle slices add up to: decoding a whole page at once.
void prepareAllAtOnce(benchmark::State& state, QList<QByteArray> clips) {
    sound::SdlSound::Options options;
    options.cacheBytes = 0;
    sound::SdlSound sound(options);
    if (!sound.isOpen()) return state.SkipWithError("no audio device");
    clips = clips.mid(0, 25);
    QList<QByteArray> copies[2];
    for (const QByteArray& clip : clips) {
        for (auto& set : copies) set.append(QByteArray(clip.constData(), clip.size()));
    }
    int turn = 0;
    for (auto _ : state) {
        sound.prepare(copies[turn ^= 1]);
        sound.finishPreparing();
    }
    state.counters["clips"] = double(clips.size());
}

// ---- From play() to the first mixed buffer -------------------------------------------------

struct FirstMix {
    std::atomic<bool> armed{false};
    std::atomic<Clock::rep> at{0};
    std::atomic<int> bufferFrames{0};
    int frameBytes = 4;

    static void SDLCALL postMix(void* self, Uint8*, int length) {
        auto* probe = static_cast<FirstMix*>(self);
        probe->bufferFrames = length / probe->frameBytes;
        if (probe->armed && Mix_Playing(-1) > 0) {
            probe->at = Clock::now().time_since_epoch().count();
            probe->armed = false;
        }
    }
};

double percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(fraction * double(values.size())))];
}

double millisecondsSince(Clock::time_point start, Clock::rep end) {
    return std::chrono::duration<double, std::milli>(Clock::duration(end) -
                                                     start.time_since_epoch())
        .count();
}

struct PressTimes {
    std::vector<double> playCall;  // inside play(): look-up, decode and convert when cold
    std::vector<double> firstMix;  // play() called until the mixer has mixed the clip
    int silent = 0;
};

void pressEach(sound::SdlSound& sound, FirstMix& probe, const QList<QByteArray>& clips,
               PressTimes& times) {
    // Presses land anywhere between two mixer callbacks, not just after one.
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> pause(0, 12000);
    for (const QByteArray& clip : clips) {
        sound.stopAll();
        QThread::usleep(static_cast<unsigned long>(pause(random)));
        probe.at = 0;
        probe.armed = true;
        const Clock::time_point pressed = Clock::now();
        sound.play(clip);
        times.playCall.push_back(
            std::chrono::duration<double, std::milli>(Clock::now() - pressed).count());
        const Clock::time_point deadline = pressed + std::chrono::seconds(2);
        while (probe.at == 0 && Clock::now() < deadline) QThread::usleep(200);
        probe.armed = false;
        if (probe.at == 0)
            ++times.silent;
        else
            times.firstMix.push_back(millisecondsSince(pressed, probe.at));
    }
    sound.stopAll();
}

// Cold: every clip pressed once on an empty cache of `cacheBytes`. Cached: a page's worth of
// clips prepared first, then pressed.
void pressToFirstSample(benchmark::State& state, QList<QByteArray> clips, bool cached,
                        std::size_t cacheBytes) {
    sound::SdlSound::Options options;
    options.cacheBytes = cacheBytes;
    sound::SdlSound sound(options);
    if (cached) clips = clips.mid(0, 25);
    if (!sound.isOpen()) return state.SkipWithError("no audio device");
    if (clips.isEmpty()) return state.SkipWithError("no clips");
    const sound::SdlSound::DeviceFormat device = sound.deviceFormat();
    FirstMix probe;
    probe.frameBytes = SDL_AUDIO_BITSIZE(device.sampleFormat) / 8 * device.channels;
    Mix_SetPostMix(&FirstMix::postMix, &probe);
    PressTimes times;
    for (auto _ : state) {
        if (cached) {
            sound.prepare(clips);
            sound.finishPreparing();
        }
        pressEach(sound, probe, clips, times);
    }
    Mix_SetPostMix(nullptr, nullptr);
    state.counters["clips"] = double(clips.size());
    state.counters["silent"] = times.silent;
    state.counters["play_call_p50_ms"] = percentile(times.playCall, 0.5);
    state.counters["play_call_p95_ms"] = percentile(times.playCall, 0.95);
    state.counters["first_mix_p50_ms"] = percentile(times.firstMix, 0.5);
    state.counters["first_mix_p95_ms"] = percentile(times.firstMix, 0.95);
    state.counters["buffer_frames"] = probe.bufferFrames.load();
    state.counters["device_latency_ms"] = 1000.0 * probe.bufferFrames / device.frequency;
    state.counters["cache_MB"] = double(sound.memoryHeld()) / (1 << 20);
    state.counters["cached_clips"] = sound.cachedClipCount();
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir dir;
    if (haveTools()) {
        for (const Codec& codec : kCodecs) {
            const QByteArray clip = makeClip(dir, codec, 3.0);
            benchmark::RegisterBenchmark((std::string("Decode/") + codec.name).c_str(), decodeSpeed,
                                         clip);
            benchmark::RegisterBenchmark((std::string("FirstPressCost/") + codec.name).c_str(),
                                         firstPressCost, clip)
                ->Unit(benchmark::kMillisecond);
        }
    } else {
        benchmark::AddCustomContext("note", "sox or lame missing: no per-codec measurements");
    }
    const QList<QByteArray> clips = pageClips(dir);
    benchmark::RegisterBenchmark("Prepare25/call", prepareCall, clips);
    benchmark::RegisterBenchmark("Prepare25/decodeAll", prepareAllAtOnce, clips)
        ->Unit(benchmark::kMillisecond);
    const std::size_t defaultCache = sound::SdlSound::Options{}.cacheBytes;
    benchmark::RegisterBenchmark("PressToFirstSample/cold", pressToFirstSample, clips, false,
                                 defaultCache)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("PressToFirstSample/cold_unbounded_cache", pressToFirstSample,
                                 clips, false, std::size_t{4} << 30)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("PressToFirstSample/prepared_page", pressToFirstSample, clips,
                                 true, defaultCache)
        ->Iterations(3)
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
