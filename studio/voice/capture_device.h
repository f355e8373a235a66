#pragma once

// The microphone, as a source of mono 16-bit samples. The studio asks for what arrived since it
// last asked (from a timer on the interface thread); the device gathers samples on its own
// thread in between.

#include <QString>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace studio::voice {

class CaptureDevice {
  public:
    virtual ~CaptureDevice() = default;
    // Opens the default microphone for mono samples at `sampleRate` and starts gathering;
    // false with `error` in words a teacher understands when there is none.
    virtual bool open(int sampleRate, QString* error) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // The samples gathered since the last call, oldest first.
    virtual std::vector<std::int16_t> takeSamples() = 0;
};

// The microphone through SDL's capture devices (SDL_OpenAudioDevice with capture on). Samples
// wait in a buffer of at most `maxBufferedSeconds`; when nobody takes them for that long, the
// newest are dropped and counted, so a stalled interface never eats memory.
class SdlCaptureDevice : public CaptureDevice {
  public:
    explicit SdlCaptureDevice(double maxBufferedSeconds = 30.0);
    ~SdlCaptureDevice() override;
    SdlCaptureDevice(const SdlCaptureDevice&) = delete;
    SdlCaptureDevice& operator=(const SdlCaptureDevice&) = delete;

    bool open(int sampleRate, QString* error) override;
    void close() override;
    bool isOpen() const override { return device_ != 0; }
    std::vector<std::int16_t> takeSamples() override;
    // Samples dropped because the buffer was full.
    std::size_t droppedSamples() const;

  private:
    static void gather(void* self, std::uint8_t* stream, int bytes);

    double maxBufferedSeconds_;
    std::uint32_t device_ = 0;
    bool subsystemStarted_ = false;
    std::size_t maxSamples_ = 0;
    mutable std::mutex mutex_;
    std::vector<std::int16_t> buffer_;
    std::size_t dropped_ = 0;
};

}  // namespace studio::voice
