#include "sound/sdl_sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <functional>

#include "sound/wav_decoder.h"

namespace sound {
namespace {

// SDL_mixer has one global mixer per process.
bool mixerTaken = false;

// Bookkeeping each cache entry costs besides its audio, so that failed clips count too.
constexpr std::size_t kEntryOverhead = 128;

// Converts in pieces so that SDL's work buffers stay small for long clips.
constexpr int kConvertFrames = 16384;

struct StreamFree {
    void operator()(SDL_AudioStream* stream) const { SDL_FreeAudioStream(stream); }
};
using StreamPtr = std::unique_ptr<SDL_AudioStream, StreamFree>;

int frameBytes(const SdlSound::DeviceFormat& device) {
    return SDL_AUDIO_BITSIZE(device.sampleFormat) / 8 * device.channels;
}

bool drain(SDL_AudioStream* stream, std::vector<std::uint8_t>& out) {
    const int available = SDL_AudioStreamAvailable(stream);
    if (available <= 0) return true;
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(available));
    const int got = SDL_AudioStreamGet(stream, out.data() + start, available);
    if (got < 0) return false;
    out.resize(start + static_cast<std::size_t>(got));
    return true;
}

// SDL 2.26's resampling stream keeps its last 512 input frames back even when flushed, so
// a clip would lose its end. Silence is fed after the clip and the result cut to length.
std::size_t tailPaddingFrames(int rate) {
    return static_cast<std::size_t>(std::max(rate / 10, 4096));
}

bool putAll(SDL_AudioStream* stream, const DecodedAudio& audio, std::vector<std::uint8_t>& out) {
    const std::size_t step = static_cast<std::size_t>(kConvertFrames) * audio.channels;
    for (std::size_t at = 0; at < audio.samples.size(); at += step) {
        const std::size_t count = std::min(step, audio.samples.size() - at);
        const int bytes = static_cast<int>(count * sizeof(std::int16_t));
        if (SDL_AudioStreamPut(stream, audio.samples.data() + at, bytes) != 0) return false;
        if (!drain(stream, out)) return false;
    }
    const std::vector<std::int16_t> silence(tailPaddingFrames(audio.sampleRate) * audio.channels);
    const int silenceBytes = static_cast<int>(silence.size() * sizeof(std::int16_t));
    return SDL_AudioStreamPut(stream, silence.data(), silenceBytes) == 0 &&
           SDL_AudioStreamFlush(stream) == 0 && drain(stream, out);
}

std::vector<std::uint8_t> convert(const DecodedAudio& audio, const SdlSound::DeviceFormat& device) {
    StreamPtr stream(SDL_NewAudioStream(AUDIO_S16SYS, static_cast<Uint8>(audio.channels),
                                        audio.sampleRate, device.sampleFormat,
                                        static_cast<Uint8>(device.channels), device.frequency));
    if (!stream) return {};
    const std::int64_t frames =
        (audio.frames() * device.frequency + audio.sampleRate / 2) / audio.sampleRate;
    const std::size_t bytes = static_cast<std::size_t>(frames) * frameBytes(device);
    std::vector<std::uint8_t> out;
    const std::size_t paddingFrames =
        tailPaddingFrames(audio.sampleRate) * device.frequency / audio.sampleRate + 64;
    out.reserve(bytes + paddingFrames * frameBytes(device));
    if (!putAll(stream.get(), audio, out)) return {};
    out.resize(std::min(out.size(), bytes));
    out.shrink_to_fit();
    return out;
}

// Frames a streamed loop decodes at a time: a small fraction of one device buffer's work.
constexpr int kStreamBlockFrames = 1024;

}  // namespace

struct SdlSound::StreamedLoop {
    SoundClip clip;  // keeps the bytes the source reads alive
    std::unique_ptr<WavStream> source;
    StreamPtr converter;
    std::vector<std::int16_t> block;
    std::vector<std::uint8_t> mixed;
    bool ended = false;  // the clip could not be read (again): it stays silent

    std::size_t bytes() const {
        const std::size_t ownedClipBytes =
            clip.capacity() > 0 ? static_cast<std::size_t>(clip.size()) : 0;
        return block.capacity() * sizeof(std::int16_t) + mixed.capacity() + ownedClipBytes +
               kEntryOverhead;
    }

    // Produces up to `length` bytes of device audio in `mixed`, going from the clip's last
    // frame straight on to its first: the conversion runs on without a break, so the loop
    // has no seam. Runs in the audio thread.
    int fill(int length) {
        mixed.resize(static_cast<std::size_t>(length));
        int got = 0;
        bool rewound = false;  // a clip that gives nothing even from its start must not spin
        while (got < length && !ended) {
            const int taken = SDL_AudioStreamGet(converter.get(), mixed.data() + got, length - got);
            if (taken < 0) {
                ended = true;
                break;
            }
            got += taken;
            if (got == length) break;
            const std::int64_t frames = source->read(block.data(), kStreamBlockFrames);
            if (frames > 0) {
                rewound = false;
                const int bytes = static_cast<int>(frames * source->channels() *
                                                   std::int64_t{sizeof(std::int16_t)});
                if (SDL_AudioStreamPut(converter.get(), block.data(), bytes) != 0) ended = true;
            } else if (rewound || !source->rewind()) {
                ended = true;
            } else {
                rewound = true;
            }
        }
        return got;
    }
};

void SdlSound::LoopFree::operator()(StreamedLoop* loop) const {
    delete loop;
}

void SdlSound::ChunkFree::operator()(Mix_Chunk* chunk) const {
    // Halts any channel still playing the chunk before it goes away.
    Mix_FreeChunk(chunk);
}

std::size_t SdlSound::ClipKeyHash::operator()(const ClipKey& key) const {
    const std::size_t address = std::hash<const void*>{}(key.data);
    return address ^ (std::hash<qsizetype>{}(key.size) * 0x9e3779b97f4a7c15ull);
}

SdlSound::SdlSound() : SdlSound(Options{}) {}

SdlSound::SdlSound(const Options& options) : options_(options) {
    preparer_.setInterval(0);
    QObject::connect(&preparer_, &QTimer::timeout, [this] { prepareSlice(); });
    if (mixerTaken) return;
    mixerTaken = true;
    ownsMixer_ = true;
    // The application name is read here, on the GUI thread, for the worker to use.
    const QByteArray appName = QCoreApplication::applicationName().toUtf8();
    opening_ = std::async(std::launch::async, [this, appName] {
        if (!appName.isEmpty()) SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, appName.constData());
        openDevice(options_);
    });
}

SdlSound::~SdlSound() {
    preparer_.stop();
    awaitDevice();
    closeDevice();
}

void SdlSound::awaitDevice() const {
    if (opening_.valid()) opening_.wait();
}

void SdlSound::openDevice(const Options& options) {
    // Qt handles the program's signals; SDL must not install its own. An environment
    // variable of the same name still wins over these defaults.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
    subsystemUp_ = true;
    if (Mix_OpenAudioDevice(options.frequency, AUDIO_S16SYS, options.channels, options.bufferFrames,
                            nullptr, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE) != 0) {
        return;
    }
    int frequency = 0;
    int channels = 0;
    Uint16 format = 0;
    if (Mix_QuerySpec(&frequency, &format, &channels) == 0 || frequency <= 0 || channels <= 0) {
        Mix_CloseAudio();
        return;
    }
    mixerOpen_ = true;
    device_ = {frequency, channels, format};
    mixingChannels_ = Mix_AllocateChannels(options.mixingChannels);
}

void SdlSound::closeDevice() {
    if (mixerOpen_) {
        Mix_HaltChannel(-1);
        stopStreamedLoops();
        index_.clear();
        entries_.clear();
        bytesHeld_ = 0;
        Mix_CloseAudio();
        mixerOpen_ = false;
    }
    if (subsystemUp_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    subsystemUp_ = false;
    if (ownsMixer_) mixerTaken = false;
    ownsMixer_ = false;
}

void SdlSound::play(const SoundClip& clip) {
    start(clip, 0);
}

void SdlSound::playLooped(const SoundClip& clip) {
    if (!deviceReady() || clip.isEmpty()) return;
    // A long loop not already decoded is streamed; a short one is decoded and cached.
    if (index_.find(keyOf(clip)) == index_.end() && startStreamedLoop(clip)) return;
    start(clip, -1);
}

void SdlSound::stopAll() {
    if (!deviceReady()) return;
    Mix_HaltChannel(-1);
    stopStreamedLoops();
}

std::size_t SdlSound::memoryHeld() const {
    std::size_t bytes = bytesHeld_;
    for (const LoopPtr& loop : loops_) bytes += loop->bytes();
    return bytes;
}

bool SdlSound::startStreamedLoop(const SoundClip& clip) {
    std::unique_ptr<WavStream> source =
        WavStream::open(clip.constData(), static_cast<std::size_t>(clip.size()));
    if (!source || !(source->seconds() > options_.streamLoopsLongerThanSeconds)) return false;
    StreamPtr converter(SDL_NewAudioStream(
        AUDIO_S16SYS, static_cast<Uint8>(source->channels()), source->sampleRate(),
        device_.sampleFormat, static_cast<Uint8>(device_.channels), device_.frequency));
    if (!converter) return false;
    LoopPtr loop(new StreamedLoop{clip, std::move(source), std::move(converter), {}, {}, false});
    loop->block.resize(static_cast<std::size_t>(kStreamBlockFrames * loop->source->channels()));
    // Room for a device buffer or two, so that the audio thread does not allocate.
    loop->mixed.reserve(static_cast<std::size_t>(options_.bufferFrames) * 2 * frameBytes(device_));
    // Unsetting the hook waits for a mix in progress: the list never changes under it.
    Mix_HookMusic(nullptr, nullptr);
    loops_.push_back(std::move(loop));
    Mix_HookMusic(&SdlSound::mixStreamedLoops, this);
    return true;
}

void SdlSound::stopStreamedLoops() {
    if (loops_.empty()) return;
    Mix_HookMusic(nullptr, nullptr);
    loops_.clear();
}

void SdlSound::mixStreamedLoops(void* self, std::uint8_t* stream, int length) {
    auto* sound = static_cast<SdlSound*>(self);
    for (const LoopPtr& loop : sound->loops_) {
        const int got = loop->fill(length);
        if (got > 0) {
            SDL_MixAudioFormat(stream, loop->mixed.data(), sound->device_.sampleFormat,
                               static_cast<Uint32>(got), SDL_MIX_MAXVOLUME);
        }
    }
}

void SdlSound::start(const SoundClip& clip, int loops) {
    if (!deviceReady()) return;
    Mix_Chunk* chunk = chunkFor(clip);
    // With every mixing channel busy the clip is dropped: nothing else is cut off.
    if (chunk != nullptr) Mix_PlayChannel(-1, chunk, loops);
}

SdlSound::ClipKey SdlSound::keyOf(const SoundClip& clip) {
    return {clip.constData(), clip.size()};
}

SdlSound::EntryList::iterator SdlSound::find(const ClipKey& key) {
    const auto found = index_.find(key);
    if (found == index_.end()) return entries_.end();
    entries_.splice(entries_.begin(), entries_, found->second);
    return found->second;
}

Mix_Chunk* SdlSound::chunkFor(const SoundClip& clip) {
    if (clip.isEmpty()) return nullptr;
    auto entry = find(keyOf(clip));
    if (entry == entries_.end()) entry = addToCache(clip);
    return entry->chunk.get();
}

std::vector<std::uint8_t> SdlSound::decodeForDevice(const SoundClip& clip) const {
    const auto decoded = decodeWav(clip.constData(), static_cast<std::size_t>(clip.size()));
    if (!decoded) return {};
    return convert(*decoded, device_);
}

SdlSound::EntryList::iterator SdlSound::addToCache(const SoundClip& clip) {
    removePending(keyOf(clip));
    CacheEntry entry{keyOf(clip), clip, decodeForDevice(clip), nullptr, 0};
    if (!entry.samples.empty()) {
        entry.chunk.reset(
            Mix_QuickLoad_RAW(entry.samples.data(), static_cast<Uint32>(entry.samples.size())));
        if (!entry.chunk) entry.samples = {};
    }
    // Bytes a fromRawData clip points to belong to the program image, not to the cache.
    const std::size_t ownedClipBytes =
        clip.capacity() > 0 ? static_cast<std::size_t>(clip.size()) : 0;
    entry.bytes = entry.samples.capacity() + ownedClipBytes + kEntryOverhead;
    bytesHeld_ += entry.bytes;
    entries_.push_front(std::move(entry));
    index_.emplace(entries_.front().key, entries_.begin());
    evictBeyondBudget(entries_.begin());
    return entries_.begin();
}

bool SdlSound::isPlaying(const Mix_Chunk* chunk) const {
    if (chunk == nullptr) return false;
    for (int channel = 0; channel < mixingChannels_; ++channel) {
        if (Mix_GetChunk(channel) == chunk && Mix_Playing(channel) != 0) return true;
    }
    return false;
}

// Drops least recently used entries until the cache fits its budget again. Entries still
// being played stay: freeing them would cut the sound off.
void SdlSound::evictBeyondBudget(EntryList::const_iterator keep) {
    auto candidate = entries_.end();
    while (bytesHeld_ > options_.cacheBytes && candidate != entries_.begin()) {
        --candidate;
        if (candidate == keep || isPlaying(candidate->chunk.get())) continue;
        bytesHeld_ -= candidate->bytes;
        index_.erase(candidate->key);
        candidate = entries_.erase(candidate);
    }
}

void SdlSound::prepare(const QList<SoundClip>& clips) {
    // A newer page supersedes whatever the previous one still had waiting.
    pending_.clear();
    if (!deviceReady()) return;
    for (const SoundClip& clip : clips) {
        if (clip.isEmpty() || find(keyOf(clip)) != entries_.end()) continue;
        const bool queued =
            std::any_of(pending_.cbegin(), pending_.cend(),
                        [&](const SoundClip& other) { return keyOf(other) == keyOf(clip); });
        if (!queued) pending_.append(clip);
    }
    if (!pending_.isEmpty()) preparer_.start();
}

void SdlSound::removePending(const ClipKey& key) {
    pending_.removeIf([&](const SoundClip& clip) { return keyOf(clip) == key; });
}

void SdlSound::prepareSlice() {
    QElapsedTimer slice;
    slice.start();
    while (!pending_.isEmpty() && slice.elapsed() < options_.prepareSliceMilliseconds) {
        const SoundClip clip = pending_.takeFirst();
        if (find(keyOf(clip)) == entries_.end()) addToCache(clip);
    }
    if (pending_.isEmpty()) preparer_.stop();
}

void SdlSound::finishPreparing() {
    while (!pending_.isEmpty()) {
        const SoundClip clip = pending_.takeFirst();
        if (find(keyOf(clip)) == entries_.end()) addToCache(clip);
    }
    preparer_.stop();
}

}  // namespace sound
