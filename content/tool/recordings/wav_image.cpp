#include "recordings/wav_image.h"

#include <sndfile.h>

#include <QStringList>
#include <QtEndian>
#include <algorithm>

#include "sound/wav_format.h"

namespace tool {

void appendLe16(QByteArray& out, quint16 value) {
    const quint16 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&le), 2);
}

void appendLe32(QByteArray& out, quint32 value) {
    const quint32 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&le), 4);
}

QByteArray riffWave(const QByteArray& chunks) {
    QByteArray out("RIFF");
    appendLe32(out, quint32(4 + chunks.size()));
    out += "WAVE";
    out += chunks;
    return out;
}

QByteArray riffChunk(const char* id, const QByteArray& body) {
    QByteArray out(id, 4);
    appendLe32(out, quint32(body.size()));
    out += body;
    if (body.size() % 2) out += '\0';
    return out;
}

namespace {

const unsigned char* bytesOf(const QByteArray& wav) {
    return reinterpret_cast<const unsigned char*>(wav.constData());
}

// The fmt chunk as the program's reader finds it; false when there is none of 16 bytes or more.
bool readFmt(const QByteArray& wav, WavFacts& facts) {
    const sound::RiffLayout layout = sound::scanRiff(bytesOf(wav), size_t(wav.size()));
    if (!layout.hasFormat || layout.format.bytes < 16) return false;
    facts.formatTag = layout.format.formatTag;
    facts.channels = layout.format.channels;
    facts.sampleRate = layout.format.sampleRate;
    facts.bits = layout.format.bitsPerSample;
    return true;
}

// Opens a WAV image in memory with libsndfile, as the program decodes it; null with `error`
// set when libsndfile cannot read it.
SNDFILE* openInMemory(sound::MemoryFile& file, SF_INFO& info, QString* error) {
    SNDFILE* sf = file.open(info);
    if (!sf && error)
        *error = QStringLiteral("libsndfile cannot open it: %1").arg(sf_strerror(nullptr));
    return sf;
}

}  // namespace

bool inspectWav(const QByteArray& wav, WavFacts& facts, QString* error) {
    if (!readFmt(wav, facts)) {
        if (error) *error = QStringLiteral("no RIFF/WAVE fmt chunk");
        return false;
    }
    sound::MemoryFile file(wav.constData(), size_t(wav.size()));
    SF_INFO info{};
    SNDFILE* sf = openInMemory(file, info, error);
    if (!sf) return false;
    std::vector<short> block(4096 * size_t(std::max(1, info.channels)));
    long long frames = 0;
    for (;;) {
        const sf_count_t n = sf_readf_short(sf, block.data(), 4096);
        if (n <= 0) break;
        frames += n;
    }
    sf_close(sf);
    facts.frames = frames;
    if (frames == 0 && error) *error = QStringLiteral("it decodes to no sound");
    return frames > 0;
}

bool decodeWavMono(const QByteArray& wav, std::vector<float>& mono, int& sampleRate,
                   QString* error) {
    sound::MemoryFile file(wav.constData(), size_t(wav.size()));
    SF_INFO info{};
    SNDFILE* sf = openInMemory(file, info, error);
    if (!sf) return false;
    const int channels = std::max(1, info.channels);
    sampleRate = info.samplerate;
    mono.clear();
    std::vector<float> block(4096 * size_t(channels));
    for (;;) {
        const sf_count_t n = sf_readf_float(sf, block.data(), 4096);
        if (n <= 0) break;
        for (sf_count_t f = 0; f < n; ++f) {
            float sum = 0;
            for (int c = 0; c < channels; ++c) sum += block[size_t(f * channels + c)];
            mono.push_back(sum / float(channels));
        }
    }
    sf_close(sf);
    return true;
}

bool matchesCodec(const WavFacts& facts, const QString& codec) {
    if (codec == QLatin1String("msadpcm")) {
        return facts.formatTag == sound::kWaveMsAdpcm && facts.channels == 2 &&
               facts.sampleRate == 22050;
    }
    if (codec == QLatin1String("ima")) {
        return facts.formatTag == sound::kWaveImaAdpcm && facts.channels == 1 &&
               facts.sampleRate == 22050;
    }
    const QStringList parts = codec.split(QLatin1Char('/'));
    if (parts.size() != 3) return false;
    const bool shape = facts.sampleRate == parts[1].toInt() && facts.channels == parts[2].toInt();
    if (parts[0] == QLatin1String("pcm8"))
        return shape && facts.formatTag == sound::kWavePcm && facts.bits == 8;
    if (parts[0] == QLatin1String("pcm16"))
        return shape && facts.formatTag == sound::kWavePcm && facts.bits == 16;
    if (parts[0] == QLatin1String("mp3")) return shape && facts.formatTag == sound::kWaveMpegLayer3;
    return false;
}

QByteArray wrapMp3InWav(const QByteArray& mp3, int sampleRate, int channels, int bitrateKbps,
                        long long sampleFrames) {
    // MPEGLAYER3WAVEFORMAT: WAVEFORMATEX followed by the layer-3 specific fields.
    QByteArray fmt;
    appendLe16(fmt, sound::kWaveMpegLayer3);
    appendLe16(fmt, quint16(channels));
    appendLe32(fmt, quint32(sampleRate));
    appendLe32(fmt, quint32(bitrateKbps * 1000 / 8));
    appendLe16(fmt, 1);   // block align
    appendLe16(fmt, 0);   // bits per sample
    appendLe16(fmt, 12);  // size of the extra fields
    appendLe16(fmt, 1);   // MPEGLAYER3_ID_MPEG
    appendLe32(fmt, 2);   // MPEGLAYER3_FLAG_PADDING_OFF
    const int samplesPerFrame = sampleRate >= 32000 ? 1152 : 576;
    appendLe16(fmt, quint16(samplesPerFrame / 8 * bitrateKbps * 1000 / sampleRate));
    appendLe16(fmt, 1);     // frames per block
    appendLe16(fmt, 1393);  // codec delay
    QByteArray fact;
    appendLe32(fact, quint32(sampleFrames));
    return riffWave(riffChunk("fmt ", fmt) + riffChunk("fact", fact) + riffChunk("data", mp3));
}

QByteArray pcmWav(const QList<qint16>& samples, int sampleRate, int channels) {
    QByteArray fmt;
    appendLe16(fmt, sound::kWavePcm);
    appendLe16(fmt, quint16(channels));
    appendLe32(fmt, quint32(sampleRate));
    appendLe32(fmt, quint32(sampleRate * channels * 2));
    appendLe16(fmt, quint16(channels * 2));
    appendLe16(fmt, 16);
    QByteArray data;
    data.reserve(samples.size() * 2);
    for (const qint16 s : samples) appendLe16(data, quint16(s));
    return riffWave(riffChunk("fmt ", fmt) + riffChunk("data", data));
}

}  // namespace tool
