// libFuzzer entry point: any byte string handed to the WAV decoder must be refused or decoded
// into sane audio within the limits, without crashing, hanging or reading out of bounds.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "sound/wav_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Tighter than the player's limits, so that inputs cannot spend the run on long decodes.
    sound::WavLimits limits;
    limits.maxSeconds = 30.0;
    limits.maxDecodedBytes = std::size_t{32} << 20;
    const auto audio = sound::decodeWav(data, size, limits);
    if (!audio) return 0;
    const bool sane = audio->channels >= 1 && audio->channels <= limits.maxChannels &&
                      audio->sampleRate >= limits.minSampleRate &&
                      audio->sampleRate <= limits.maxSampleRate && audio->frames() > 0 &&
                      audio->samples.size() % static_cast<std::size_t>(audio->channels) == 0 &&
                      audio->samples.size() * sizeof(std::int16_t) <= limits.maxDecodedBytes &&
                      audio->seconds() <= limits.maxSeconds;
    if (!sane) std::abort();
    return 0;
}
