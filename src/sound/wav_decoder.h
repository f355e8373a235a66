#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace sound {

// Bounds on what decodeWav accepts. A clip outside them is refused as a whole, never cut
// short, so that a header that lies about its sizes cannot make the program allocate or
// decode without end.
struct WavLimits {
    int maxChannels = 8;
    int minSampleRate = 1000;
    int maxSampleRate = 192000;
    double maxSeconds = 600.0;
    std::size_t maxDecodedBytes = std::size_t{256} << 20;
};

// Interleaved signed 16-bit samples, `channels` per frame.
struct DecodedAudio {
    int channels = 0;
    int sampleRate = 0;
    std::vector<std::int16_t> samples;

    std::int64_t frames() const {
        return channels > 0 ? static_cast<std::int64_t>(samples.size()) / channels : 0;
    }
    double seconds() const {
        return sampleRate > 0 ? static_cast<double>(frames()) / sampleRate : 0.0;
    }
};

// Decodes a RIFF/WAVE image held in memory, without copying it and without temporary files.
// Accepts linear PCM (8, 16, 24, 32 bit), Microsoft ADPCM, IMA ADPCM and MPEG layer 3.
// Returns nothing when the bytes are not such a file, cannot be decoded, hold no audio, or
// exceed the limits. A file cut short inside its audio data yields the audio before the cut.
std::optional<DecodedAudio> decodeWav(const void* data, std::size_t size,
                                      const WavLimits& limits = {});

// Reads a clip piece by piece instead of decoding it whole: for long clips, whose decoded
// samples would take much memory and much time before the first of them could sound. Accepts
// exactly what decodeWav accepts; the bytes must outlive the stream.
class WavStream {
  public:
    static std::unique_ptr<WavStream> open(const void* data, std::size_t size,
                                           const WavLimits& limits = {});
    ~WavStream();

    int channels() const;
    int sampleRate() const;
    // The length the clip's header gives.
    double seconds() const;
    // Reads up to `frames` frames of interleaved 16-bit samples into `out`; 0 at the end.
    std::int64_t read(std::int16_t* out, std::int64_t frames);
    // Back to the first frame; false when the clip cannot be read again.
    bool rewind();

  private:
    WavStream();
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace sound
