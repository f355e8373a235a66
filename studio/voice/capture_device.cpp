#include "voice/capture_device.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

namespace studio::voice {

SdlCaptureDevice::SdlCaptureDevice(double maxBufferedSeconds)
    : maxBufferedSeconds_(maxBufferedSeconds) {}

SdlCaptureDevice::~SdlCaptureDevice() {
    close();
}

bool SdlCaptureDevice::open(int sampleRate, QString* error) {
    close();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        if (error) *error = QStringLiteral("没有找到声音设备，不能录音。");
        return false;
    }
    subsystemStarted_ = true;
    SDL_AudioSpec wanted{};
    wanted.freq = sampleRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = 1024;
    wanted.callback = &SdlCaptureDevice::gather;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts whatever the microphone gives to mono 16-bit at the rate.
    device_ = SDL_OpenAudioDevice(nullptr, 1, &wanted, &obtained, 0);
    if (device_ == 0) {
        if (error)
            *error = QStringLiteral("没有找到话筒，不能录音。（%1）")
                         .arg(QString::fromUtf8(SDL_GetError()));
        close();
        return false;
    }
    {
        std::lock_guard lock(mutex_);
        buffer_.clear();
        dropped_ = 0;
        maxSamples_ = std::size_t(maxBufferedSeconds_ * sampleRate);
    }
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void SdlCaptureDevice::close() {
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);
        device_ = 0;
    }
    if (subsystemStarted_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystemStarted_ = false;
    }
}

std::vector<std::int16_t> SdlCaptureDevice::takeSamples() {
    std::vector<std::int16_t> samples;
    std::lock_guard lock(mutex_);
    samples.swap(buffer_);
    return samples;
}

std::size_t SdlCaptureDevice::droppedSamples() const {
    std::lock_guard lock(mutex_);
    return dropped_;
}

void SdlCaptureDevice::gather(void* self, std::uint8_t* stream, int bytes) {
    auto* device = static_cast<SdlCaptureDevice*>(self);
    const auto* samples = reinterpret_cast<const std::int16_t*>(stream);
    const std::size_t count = std::size_t(bytes) / sizeof(std::int16_t);
    std::lock_guard lock(device->mutex_);
    const std::size_t room = device->maxSamples_ > device->buffer_.size()
                                 ? device->maxSamples_ - device->buffer_.size()
                                 : 0;
    const std::size_t kept = std::min(room, count);
    device->buffer_.insert(device->buffer_.end(), samples, samples + kept);
    device->dropped_ += count - kept;
}

}  // namespace studio::voice
