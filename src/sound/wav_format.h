#pragma once

// The RIFF/WAVE container as the program and the content tool both read it: where the format
// and data chunks lie, what the format chunk says, and an image in memory handed to libsndfile.
// One reader, so that what the tool checks when it writes a recording is what the program sees
// when it plays it.

#include <sndfile.h>

#include <cstddef>

namespace sound {

// Format tags of the 'fmt ' chunk.
inline constexpr int kWavePcm = 0x0001;
inline constexpr int kWaveMsAdpcm = 0x0002;
inline constexpr int kWaveImaAdpcm = 0x0011;
inline constexpr int kWaveMpegLayer3 = 0x0055;
inline constexpr int kWaveExtensible = 0xFFFE;

// What the 'fmt ' chunk says. A field the chunk is too short to hold stays 0.
struct WavFormat {
    std::size_t bytes = 0;  // the chunk's size, as far as the image holds it
    int formatTag = 0;
    int channels = 0;
    int sampleRate = 0;
    int blockAlign = 0;
    int bitsPerSample = 0;
    int framesPerBlock = 0;  // ADPCM's samples per block; 0 for other formats
};

// The first 'fmt ' chunk of at least two bytes and the first 'data' chunk. A size that runs
// past the image is cut to it.
struct RiffLayout {
    bool hasFormat = false;
    WavFormat format;
    bool hasData = false;
    std::size_t dataBegin = 0;
    std::size_t dataEnd = 0;
};

bool isRiffWave(const unsigned char* bytes, std::size_t size);

// Walks the chunks of a RIFF/WAVE image; neither chunk is found when it is not one.
RiffLayout scanRiff(const unsigned char* bytes, std::size_t size);

// Bytes in memory that libsndfile reads through its virtual I/O, without a copy. The bytes
// must outlive this object, and this object every file it opened.
class MemoryFile {
  public:
    MemoryFile() = default;
    MemoryFile(const void* data, std::size_t size);

    // Opens the bytes for reading from their start; null when libsndfile cannot read them.
    SNDFILE* open(SF_INFO& info);

  private:
    static sf_count_t length(void* self);
    static sf_count_t seek(sf_count_t offset, int whence, void* self);
    static sf_count_t read(void* destination, sf_count_t count, void* self);
    static sf_count_t write(const void* source, sf_count_t count, void* self);
    static sf_count_t tell(void* self);

    const unsigned char* data_ = nullptr;
    sf_count_t size_ = 0;
    sf_count_t position_ = 0;
};

}  // namespace sound
