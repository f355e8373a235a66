#pragma once

#include <QList>
#include <QTimer>

#include <cstddef>
#include <cstdint>
#include <future>
#include <list>
#include <memory>
#include <unordered_map>
#include <vector>

#include "sound/sound.h"

struct Mix_Chunk;

namespace sound {

// Plays clips through SDL_mixer. Each clip is decoded and converted to the device format on
// first use and kept in a bounded cache, so that pressing a hotspot a second time costs only
// a table look-up. Long looped clips (background music) are the exception: they are decoded
// and converted piece by piece in the audio thread as they play, so they start at once and
// hold next to no memory. When there is no sound device every call does nothing.
//
// The device is opened on a worker thread as the object is made, so that the first window does
// not wait for the sound system; the first call that needs the device waits for the opening.
//
// Use from the GUI thread only. One SdlSound owns the mixer at a time; a second one created
// while the first exists stays silent.
class SdlSound : public Sound {
  public:
    struct Options {
        int frequency = 44100;
        int channels = 2;
        // 512 frames (11.6 ms at 44100 Hz): the press-to-sound delay stays under 20 ms, and
        // the mixer keeps up while both cores are busy, which 256 frames did not always do.
        int bufferFrames = 512;
        int mixingChannels = 32;
        std::size_t cacheBytes = std::size_t{64} << 20;
        // How long one idle slice may spend decoding clips handed to prepare().
        int prepareSliceMilliseconds = 4;
        // Looped clips longer than this (background music) are decoded as they play rather
        // than whole up front: they start at once and hold a few kilobytes, not megabytes.
        double streamLoopsLongerThanSeconds = 10.0;
    };

    struct DeviceFormat {
        int frequency = 0;
        int channels = 0;
        std::uint16_t sampleFormat = 0;  // an SDL_AudioFormat
    };

    SdlSound();
    explicit SdlSound(const Options& options);
    ~SdlSound() override;

    SdlSound(const SdlSound&) = delete;
    SdlSound& operator=(const SdlSound&) = delete;

    void play(const SoundClip& clip) override;
    void playLooped(const SoundClip& clip) override;
    void stopAll() override;
    // Queues the clips that are not cached yet; idle slices decode them a few at a time.
    void prepare(const QList<SoundClip>& clips) override;

    bool isOpen() const { return deviceReady(); }
    DeviceFormat deviceFormat() const {
        awaitDevice();
        return device_;
    }
    // Bytes held: the cache's converted audio plus clip bytes the cache keeps alive, and the
    // working buffers of the looped clips being streamed.
    std::size_t memoryHeld() const;
    int streamingLoopCount() const { return static_cast<int>(loops_.size()); }
    int cachedClipCount() const { return static_cast<int>(entries_.size()); }
    int pendingPrepareCount() const { return static_cast<int>(pending_.size()); }
    // Decodes every clip still waiting from prepare() right away.
    void finishPreparing();

  private:
    struct ChunkFree {
        void operator()(Mix_Chunk* chunk) const;
    };

    struct ClipKey {
        const char* data;
        qsizetype size;
        bool operator==(const ClipKey&) const = default;
    };

    struct ClipKeyHash {
        std::size_t operator()(const ClipKey& key) const;
    };

    struct CacheEntry {
        ClipKey key;
        // Holding the clip keeps bytes it owns alive, so no other clip can reuse the address
        // that the key is made of while the entry exists.
        SoundClip clip;
        std::vector<std::uint8_t> samples;            // device format; empty when decoding failed
        std::unique_ptr<Mix_Chunk, ChunkFree> chunk;  // declared after samples: freed first
        std::size_t bytes = 0;
    };

    using EntryList = std::list<CacheEntry>;

    // A looped clip decoded and converted piece by piece in the audio thread.
    struct StreamedLoop;
    struct LoopFree {
        void operator()(StreamedLoop* loop) const;
    };
    using LoopPtr = std::unique_ptr<StreamedLoop, LoopFree>;

    static ClipKey keyOf(const SoundClip& clip);
    void openDevice(const Options& options);
    // Waits until the worker has finished opening the device (at once after the first time).
    void awaitDevice() const;
    bool deviceReady() const {
        awaitDevice();
        return mixerOpen_;
    }
    void closeDevice();
    void start(const SoundClip& clip, int loops);
    Mix_Chunk* chunkFor(const SoundClip& clip);
    EntryList::iterator find(const ClipKey& key);
    EntryList::iterator addToCache(const SoundClip& clip);
    std::vector<std::uint8_t> decodeForDevice(const SoundClip& clip) const;
    void evictBeyondBudget(EntryList::const_iterator keep);
    bool isPlaying(const Mix_Chunk* chunk) const;
    void removePending(const ClipKey& key);
    void prepareSlice();
    bool startStreamedLoop(const SoundClip& clip);
    void stopStreamedLoops();
    static void mixStreamedLoops(void* self, std::uint8_t* stream, int length);

    Options options_;
    // The device opening on the worker thread; its fields below are read only after it ends.
    std::future<void> opening_;
    bool ownsMixer_ = false;
    bool subsystemUp_ = false;
    bool mixerOpen_ = false;
    int mixingChannels_ = 0;
    DeviceFormat device_;

    EntryList entries_;  // most recently used first
    std::unordered_map<ClipKey, EntryList::iterator, ClipKeyHash> index_;
    std::size_t bytesHeld_ = 0;

    QList<SoundClip> pending_;
    QTimer preparer_;

    // Changed only while the audio thread is kept out of them (the music hook unset).
    std::vector<LoopPtr> loops_;
};

}  // namespace sound
