#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <vector>

#include "recordings/pipeline.h"
#include "sources/sources.h"

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
// Decodes a WAV image as the program does (libsndfile) and mixes it down to mono.
bool decodeWavMono(const QByteArray& wav, std::vector<float>& mono, int& sampleRate,
                   QString* error);

// Whether the facts match a codec name such as "msadpcm" or "mp3/24000/1".
bool matchesCodec(const WavFacts& facts, const QString& codec);

// Wraps MPEG layer-3 frames in a RIFF/WAVE image with format tag 0x0055.
QByteArray wrapMp3InWav(const QByteArray& mp3, int sampleRate, int channels, int bitrateKbps,
                        long long sampleFrames);

// A 16-bit PCM WAV image.
QByteArray pcmWav(const QList<qint16>& samples, int sampleRate, int channels);
// An MS-ADPCM RIFF/WAVE image around coded blocks, with the format's seven predictor pairs and
// the true frame count in its fact chunk.
QByteArray msAdpcmWav(const QByteArray& blocks, int sampleRate, int channels, int blockAlign,
                      int framesPerBlock, long long sampleFrames);

// Synthesises one of the named non-speech sounds as 16-bit mono samples at `sampleRate`;
// empty for an unknown name. The feedback sounds: chime, buzz, click, pop, sparkle, bonk, tick;
// the matching game's music: tune; the book's sound effects: doorbell, bark, burst, drum,
// lalala.
QList<qint16> synthesise(const QString& recipe, int sampleRate);
// The recipes' names.
const QStringList& soundRecipes();
// Whether a recipe is played looped (its length is kept as it is).
bool isLoopRecipe(const QString& recipe);
// The rate the recipes are made at before they are finished into their codec.
inline constexpr int kSynthRate = 44100;

// The festival voice that speaks English (Debian's festvox-us-slt-hts) and the Mandarin one.
inline constexpr char kEnglishVoice[] = "(voice_cmu_us_slt_arctic_hts)";

// How a recording is finished: its codec, and whether its silence is trimmed.
FinishSpec finishSpec(const Recording& recording);

// Runs a program to its end; false with `error` set when it cannot start or fails.
bool runProgram(const QString& program, const QStringList& arguments, QString& error);

// How many recordings a run finished, and how many it took from the cache unchanged.
struct RecordingCounts {
    int finished = 0;
    int reused = 0;
};

// Makes every recording (English speech with festival, Mandarin with espeak-ng, sounds from the
// recipes, supplied files as they are; all finished by finishRecording on `parallel` threads),
// reusing the finished images kept in `cacheFolder`. Returns key -> WAV image; failures go to
// problems, a supplied file's at the line naming it.
QHash<QString, QByteArray> makeRecordings(const QList<RecordingJob>& jobs,
                                          const QString& cacheFolder, int parallel,
                                          Problems& problems, RecordingCounts* counts = nullptr);

}  // namespace tool
