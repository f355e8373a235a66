#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include "sources.h"

namespace tool {

struct RecordingJob {
    Recording recording;
    Where where;  // the first source line that asked for it
};

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
// Whether the facts match a codec name such as "msadpcm" or "mp3/24000/1".
bool matchesCodec(const WavFacts& facts, const QString& codec);

// Wraps MPEG layer-3 frames in a RIFF/WAVE image with format tag 0x0055.
QByteArray wrapMp3InWav(const QByteArray& mp3, int sampleRate, int channels, int bitrateKbps,
                        long long sampleFrames);

// A 16-bit PCM WAV image.
QByteArray pcmWav(const QList<qint16>& samples, int sampleRate, int channels);

// Synthesises one of the named non-speech sounds (chime, buzz, click, pop, sparkle, bonk,
// tick, tune) as 16-bit mono samples at `sampleRate`; empty for an unknown name.
QList<qint16> synthesise(const QString& recipe, int sampleRate);

// Makes every recording (speech with espeak-ng, conversion with sox and lame), reusing the
// finished images kept in `cacheFolder`. Returns key -> WAV image; failures go to problems.
QHash<QString, QByteArray> makeRecordings(const QList<RecordingJob>& jobs,
                                          const QString& cacheFolder, int parallel,
                                          Problems& problems);

}  // namespace tool
