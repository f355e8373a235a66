#include "sound/wav_decoder.h"

#include <sndfile.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "sound/wav_format.h"

namespace sound {
namespace {

std::uint32_t readU32(const unsigned char* at) {
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

// Only these reach libsndfile, so that none of its other decoders ever sees a clip's bytes.
bool isAcceptedTag(int tag) {
    return tag == sound::kWavePcm || tag == sound::kWaveMsAdpcm || tag == sound::kWaveImaAdpcm ||
           tag == sound::kWaveMpegLayer3 || tag == sound::kWaveExtensible;
}

// One MPEG audio layer 3 frame header: what must stay the same from frame to frame, and the
// frame's length in bytes (0 when the header is not a layer 3 header we can walk past).
struct MpegFrame {
    std::uint32_t fixedBits = 0;
    std::size_t bytes = 0;
};

MpegFrame parseMpegLayer3Header(const unsigned char* at) {
    static constexpr int kBitrates[2][16] = {
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},      // MPEG 2, 2.5
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},  // MPEG 1
    };
    static constexpr int kRates[4][3] = {
        {11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};
    const std::uint32_t header = readU32(at);
    const std::uint32_t word =
        (header & 0xFF) << 24 | (header & 0xFF00) << 8 | (header >> 8 & 0xFF00) | header >> 24;
    const unsigned version = word >> 19 & 3;
    const unsigned layer = word >> 17 & 3;
    const unsigned bitrateIndex = word >> 12 & 15;
    const unsigned rateIndex = word >> 10 & 3;
    if ((word >> 21) != 0x7FF || version == 1 || layer != 1 || rateIndex == 3) return {};
    const bool mpeg1 = version == 3;
    const int kbps = kBitrates[mpeg1 ? 1 : 0][bitrateIndex];
    if (kbps == 0) return {};
    const int rate = kRates[version][rateIndex];
    const std::size_t padding = word >> 9 & 1;
    const std::size_t bytes = static_cast<std::size_t>((mpeg1 ? 144000 : 72000) * kbps / rate);
    const bool mono = (word >> 6 & 3) == 3;
    return {(word & 0xFFFE0C00u) | (mono ? 1u : 0u), bytes + padding};
}

std::size_t skipId3v2(const unsigned char* bytes, std::size_t begin, std::size_t end) {
    if (end - begin < 10 || std::memcmp(bytes + begin, "ID3", 3) != 0) return begin;
    const unsigned char* sizeBytes = bytes + begin + 6;
    if ((sizeBytes[0] | sizeBytes[1] | sizeBytes[2] | sizeBytes[3]) & 0x80) return begin;
    std::size_t tagBytes = 10 + (static_cast<std::size_t>(sizeBytes[0]) << 21 |
                                 static_cast<std::size_t>(sizeBytes[1]) << 14 |
                                 static_cast<std::size_t>(sizeBytes[2]) << 7 | sizeBytes[3]);
    if (bytes[begin + 5] & 0x10) tagBytes += 10;  // footer present
    return tagBytes <= end - begin ? begin + tagBytes : begin;
}

// The end of the run of whole, consistent layer 3 frames at the start of the data chunk, or
// `begin` when there are fewer than two (mpg123 warns about a one-frame stream). libsndfile
// hands mpg123 everything up to the end of the file, and mpg123 prints notes on stderr about
// any byte that is not a frame, so the decoder is shown nothing past this run.
std::size_t mpegFramesEnd(const unsigned char* bytes, std::size_t begin, std::size_t end) {
    std::size_t at = skipId3v2(bytes, begin, end);
    std::uint32_t firstFixedBits = 0;
    int frames = 0;
    while (end - at >= 4) {
        const MpegFrame frame = parseMpegLayer3Header(bytes + at);
        if (frame.bytes < 4 || frame.bytes > end - at) break;
        if (frames == 0) firstFixedBits = frame.fixedBits;
        if (frame.fixedBits != firstFixedBits) break;
        at += frame.bytes;
        ++frames;
    }
    return frames >= 2 ? at : begin;
}

// The part of the image libsndfile may see; empty when the image is refused outright.
struct DecoderView {
    std::size_t bytes = 0;
    bool mpegWalked = false;  // the data chunk was checked as a run of layer 3 frames
};

DecoderView decoderView(const unsigned char* bytes, std::size_t size) {
    const sound::RiffLayout layout = sound::scanRiff(bytes, size);
    if (!layout.hasFormat || !layout.hasData || !isAcceptedTag(layout.format.formatTag)) return {};
    if (layout.format.formatTag != sound::kWaveMpegLayer3) return {size, false};
    const std::size_t framesEnd = mpegFramesEnd(bytes, layout.dataBegin, layout.dataEnd);
    return framesEnd > layout.dataBegin ? DecoderView{framesEnd, true} : DecoderView{};
}

bool isAcceptedEncoding(int format) {
    const int container = format & SF_FORMAT_TYPEMASK;
    if (container != SF_FORMAT_WAV && container != SF_FORMAT_WAVEX) return false;
    switch (format & SF_FORMAT_SUBMASK) {
        case SF_FORMAT_PCM_U8:
        case SF_FORMAT_PCM_16:
        case SF_FORMAT_PCM_24:
        case SF_FORMAT_PCM_32:
        case SF_FORMAT_MS_ADPCM:
        case SF_FORMAT_IMA_ADPCM:
        case SF_FORMAT_MPEG_LAYER_III:
            return true;
        default:
            return false;
    }
}

bool isWithinLimits(const SF_INFO& info, const WavLimits& limits) {
    return info.channels >= 1 && info.channels <= limits.maxChannels &&
           info.samplerate >= limits.minSampleRate && info.samplerate <= limits.maxSampleRate;
}

sf_count_t maxFramesFor(const SF_INFO& info, const WavLimits& limits) {
    const double bySeconds = limits.maxSeconds * info.samplerate;
    const std::size_t bytesPerFrame =
        sizeof(std::int16_t) * static_cast<std::size_t>(info.channels);
    const double byBytes = static_cast<double>(limits.maxDecodedBytes / bytesPerFrame);
    return static_cast<sf_count_t>(std::max(0.0, std::min(bySeconds, byBytes)));
}

// Room to reserve up front: what the header reports, but never more than the limit nor more
// than a generous multiple of the image size, so that a lying header costs nothing.
std::size_t initialCapacity(const SF_INFO& info, sf_count_t maxFrames, std::size_t imageSize) {
    constexpr sf_count_t kFramesPerByteAtMost = 16;
    const sf_count_t plausible = static_cast<sf_count_t>(imageSize) * kFramesPerByteAtMost;
    const sf_count_t frames =
        std::clamp<sf_count_t>(info.frames, 0, std::min(maxFrames, plausible));
    return static_cast<std::size_t>(frames) * static_cast<std::size_t>(info.channels);
}

using SndFilePtr = std::unique_ptr<SNDFILE, decltype(&sf_close)>;

// Opens the image for libsndfile when it is a clip we accept, within the limits; `memory`
// must outlive the file. Returns nothing (and no open file) otherwise.
SndFilePtr openAccepted(const unsigned char* bytes, std::size_t size, const WavLimits& limits,
                        sound::MemoryFile& memory, SF_INFO& info) {
    SndFilePtr none(nullptr, &sf_close);
    if (bytes == nullptr || !sound::isRiffWave(bytes, size)) return none;
    const DecoderView view = decoderView(bytes, size);
    if (view.bytes == 0) return none;
    memory = sound::MemoryFile(bytes, view.bytes);
    SndFilePtr file(memory.open(info), &sf_close);
    const bool isMpeg = (info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_MPEG_LAYER_III;
    if (!file || !isAcceptedEncoding(info.format) || !isWithinLimits(info, limits) ||
        isMpeg != view.mpegWalked || info.frames > maxFramesFor(info, limits)) {
        return none;
    }
    // Float-based decoders (MPEG) must saturate rather than wrap when a sample overshoots.
    sf_command(file.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);
    return file;
}

// Reads every frame; refuses the clip when it turns out longer than maxFrames.
bool readAllFrames(SNDFILE* file, int channels, sf_count_t maxFrames,
                   std::vector<std::int16_t>& out) {
    constexpr sf_count_t kBlockFrames = 4096;
    std::vector<std::int16_t> block(static_cast<std::size_t>(kBlockFrames * channels));
    sf_count_t total = 0;
    for (;;) {
        const sf_count_t got = sf_readf_short(file, block.data(), kBlockFrames);
        if (got <= 0) break;
        total += got;
        if (total > maxFrames) return false;
        out.insert(out.end(), block.begin(), block.begin() + got * channels);
    }
    return total > 0;
}

}  // namespace

std::optional<DecodedAudio> decodeWav(const void* data, std::size_t size, const WavLimits& limits) {
    sound::MemoryFile memory;
    SF_INFO info{};
    const SndFilePtr file =
        openAccepted(static_cast<const unsigned char*>(data), size, limits, memory, info);
    if (!file) return std::nullopt;

    const sf_count_t maxFrames = maxFramesFor(info, limits);
    DecodedAudio audio;
    audio.channels = info.channels;
    audio.sampleRate = info.samplerate;
    audio.samples.reserve(initialCapacity(info, maxFrames, size));
    if (!readAllFrames(file.get(), info.channels, maxFrames, audio.samples)) return std::nullopt;
    return audio;
}

struct WavStream::State {
    const unsigned char* bytes = nullptr;
    std::size_t size = 0;
    WavLimits limits;
    sound::MemoryFile memory;
    SF_INFO info{};
    SndFilePtr file{nullptr, &sf_close};

    bool open() {
        file = openAccepted(bytes, size, limits, memory, info);
        return file != nullptr;
    }
};

WavStream::WavStream() = default;
WavStream::~WavStream() = default;

std::unique_ptr<WavStream> WavStream::open(const void* data, std::size_t size,
                                           const WavLimits& limits) {
    std::unique_ptr<WavStream> stream(new WavStream);
    stream->state_ = std::make_unique<State>();
    State& state = *stream->state_;
    state.bytes = static_cast<const unsigned char*>(data);
    state.size = size;
    state.limits = limits;
    if (!state.open()) return nullptr;
    return stream;
}

int WavStream::channels() const {
    return state_->info.channels;
}

int WavStream::sampleRate() const {
    return state_->info.samplerate;
}

double WavStream::seconds() const {
    return static_cast<double>(state_->info.frames) / state_->info.samplerate;
}

std::int64_t WavStream::read(std::int16_t* out, std::int64_t frames) {
    if (!state_->file || frames <= 0) return 0;
    const sf_count_t got = sf_readf_short(state_->file.get(), out, frames);
    return got > 0 ? got : 0;
}

bool WavStream::rewind() {
    // A fresh decoder, not a seek: after seeking back, libsndfile's MPEG decoding of 44.1 kHz
    // clips does not give the same samples again, and the loop's start would sound wrong.
    state_->file.reset();
    return state_->open();
}

}  // namespace sound
