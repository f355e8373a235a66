#pragma once

// WAV images in memory: the RIFF/WAVE files the tool writes (16-bit PCM, MPEG layer-3 in WAV;
// the MS-ADPCM coder writes its own with the same pieces), and reading a finished one back as
// the program will, to check its format and measure its sound.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>
#include <vector>

namespace tool {

// The pieces of a RIFF/WAVE image: little-endian fields, a chunk (padded to an even size) and
// the RIFF header around the chunks.
void appendLe16(QByteArray& out, quint16 value);
void appendLe32(QByteArray& out, quint32 value);
QByteArray riffChunk(const char* id, const QByteArray& body);
QByteArray riffWave(const QByteArray& chunks);

// A 16-bit PCM WAV image.
QByteArray pcmWav(const QList<qint16>& samples, int sampleRate, int channels);

// Wraps MPEG layer-3 frames in a RIFF/WAVE image with format tag 0x0055.
QByteArray wrapMp3InWav(const QByteArray& mp3, int sampleRate, int channels, int bitrateKbps,
                        long long sampleFrames);

// What a finished WAV image holds, as libsndfile reads it back.
struct WavFacts {
    int formatTag = 0;
    int channels = 0;
    int sampleRate = 0;
    int bits = 0;
    long long frames = 0;
};

// Reads the fmt chunk and asks libsndfile to decode the whole image; false when it cannot.
bool inspectWav(const QByteArray& wav, WavFacts& facts, QString* error);
// Decodes a WAV image as the program does (libsndfile) and mixes it down to mono.
bool decodeWavMono(const QByteArray& wav, std::vector<float>& mono, int& sampleRate,
                   QString* error);

// Whether the facts match a codec name such as "msadpcm" or "mp3/24000/1".
bool matchesCodec(const WavFacts& facts, const QString& codec);

}  // namespace tool
