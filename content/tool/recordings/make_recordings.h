#pragma once

// Every recording of the book, made once: English speech with festival, Mandarin with
// espeak-ng, sounds from the synthesiser's recipes and the files a school supplies, each
// finished by the pipeline and kept in a cache so that an unchanged one is not made again.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <functional>

#include "recordings/pipeline.h"
#include "sources/sources.h"

namespace tool {

struct RecordingJob {
    Recording recording;
    Where where;  // the first source line that asked for it
};

// The festival voice that speaks English (Debian's festvox-us-slt-hts).
inline constexpr char kEnglishVoice[] = "(voice_cmu_us_slt_arctic_hts)";

// Every distinct recording the book plays, each with the first source line that asks for it.
QList<RecordingJob> recordingJobs(const BookSources& book);

// Writes recordings.tsv into `folder`: one line per recording in clip order (the order of the
// pack's clip table) with its index, voice, codec, the first source line that asks for it,
// and what it says or which sound it is. False when it cannot be written.
bool writeRecordingList(const QList<RecordingJob>& jobs, const QString& folder);

// Whether the voice that speaks lines of `voice` ("en": festival's, "zh": espeak-ng's) is
// installed; when it is not, `package` names the Debian package that brings it.
bool voiceInstalled(const QString& voice, QString* package = nullptr);

// A line with no recording is spoken by its voice: every such line whose voice is not installed
// is a problem at the line, that says to add a recording or install the voice. `makesUnit` tells
// which units' word lists this run makes.
void checkVoices(const BookSources& book, const std::function<bool(int unit)>& makesUnit,
                 Problems& problems);

// How a recording is finished: its codec, and whether its silence is trimmed.
FinishSpec finishSpec(const Recording& recording);

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
