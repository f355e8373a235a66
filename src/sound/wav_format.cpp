#include "sound/wav_format.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace sound {
namespace {

int readU16(const unsigned char* at) {
    return at[0] | at[1] << 8;
}

std::uint32_t readU32(const unsigned char* at) {
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

// WAVEFORMATEX: tag, channels, rate, bytes per second, block align, bits per sample, extra
// size; the ADPCM formats then give their samples per block.
WavFormat readFormat(const unsigned char* chunk, std::size_t bytes) {
    WavFormat format;
    format.bytes = bytes;
    format.formatTag = readU16(chunk);
    if (bytes >= 4) format.channels = readU16(chunk + 2);
    if (bytes >= 8) format.sampleRate = static_cast<int>(readU32(chunk + 4));
    if (bytes >= 14) format.blockAlign = readU16(chunk + 12);
    if (bytes >= 16) format.bitsPerSample = readU16(chunk + 14);
    const bool adpcm = format.formatTag == kWaveMsAdpcm || format.formatTag == kWaveImaAdpcm;
    if (adpcm && bytes >= 20) format.framesPerBlock = readU16(chunk + 18);
    return format;
}

}  // namespace

bool isRiffWave(const unsigned char* bytes, std::size_t size) {
    return size >= 12 && std::memcmp(bytes, "RIFF", 4) == 0 &&
           std::memcmp(bytes + 8, "WAVE", 4) == 0;
}

RiffLayout scanRiff(const unsigned char* bytes, std::size_t size) {
    RiffLayout layout;
    if (!isRiffWave(bytes, size)) return layout;
    std::size_t at = 12;
    while (size - at >= 8 && (!layout.hasFormat || !layout.hasData)) {
        const std::size_t declared = readU32(bytes + at + 4);
        const std::size_t begin = at + 8;
        const std::size_t end = begin + std::min(declared, size - begin);
        if (std::memcmp(bytes + at, "fmt ", 4) == 0 && !layout.hasFormat && end - begin >= 2) {
            layout.hasFormat = true;
            layout.format = readFormat(bytes + begin, end - begin);
        } else if (std::memcmp(bytes + at, "data", 4) == 0 && !layout.hasData) {
            layout.hasData = true;
            layout.dataBegin = begin;
            layout.dataEnd = end;
        }
        // A chunk cut short by the end of the image is the last one; a whole chunk is followed
        // by a pad byte when its size is odd, so the next one starts at most at the end.
        if (end == size) break;
        at = end + (declared & 1);
    }
    return layout;
}

MemoryFile::MemoryFile(const void* data, std::size_t size)
    : data_(static_cast<const unsigned char*>(data)), size_(static_cast<sf_count_t>(size)) {}

SNDFILE* MemoryFile::open(SF_INFO& info) {
    static SF_VIRTUAL_IO io{length, seek, read, write, tell};
    position_ = 0;
    info = SF_INFO{};
    return sf_open_virtual(&io, SFM_READ, &info, this);
}

sf_count_t MemoryFile::length(void* self) {
    return static_cast<MemoryFile*>(self)->size_;
}

sf_count_t MemoryFile::seek(sf_count_t offset, int whence, void* self) {
    MemoryFile& file = *static_cast<MemoryFile*>(self);
    sf_count_t base = 0;
    switch (whence) {
        case SEEK_SET:
            base = 0;
            break;
        case SEEK_CUR:
            base = file.position_;
            break;
        case SEEK_END:
            base = file.size_;
            break;
        default:
            return -1;
    }
    // Offsets come from the file's own headers: keep the position inside the image without
    // ever forming an overflowing sum (0 <= base <= size). Reads at the end return nothing.
    if (offset >= 0) {
        file.position_ = offset > file.size_ - base ? file.size_ : base + offset;
    } else {
        file.position_ = offset < -base ? 0 : base + offset;
    }
    return file.position_;
}

sf_count_t MemoryFile::read(void* destination, sf_count_t count, void* self) {
    MemoryFile& file = *static_cast<MemoryFile*>(self);
    if (count <= 0) return 0;
    const sf_count_t copied = std::min(count, file.size_ - file.position_);
    if (copied <= 0) return 0;
    std::memcpy(destination, file.data_ + file.position_, static_cast<std::size_t>(copied));
    file.position_ += copied;
    return copied;
}

sf_count_t MemoryFile::write(const void*, sf_count_t, void*) {
    return 0;
}

sf_count_t MemoryFile::tell(void* self) {
    return static_cast<MemoryFile*>(self)->position_;
}

}  // namespace sound
