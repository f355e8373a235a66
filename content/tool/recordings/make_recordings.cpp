#include "recordings/make_recordings.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <mutex>

#include "common/file_kinds.h"
#include "common/parallel.h"
#include "common/progress.h"
#include "recordings/pipeline.h"
#include "recordings/run_program.h"
#include "recordings/synth.h"
#include "recordings/wav_image.h"
#include "sources/supplied_files.h"

namespace tool {

FinishSpec finishSpec(const Recording& recording) {
    FinishSpec spec;
    spec.codec = recording.codec;
    spec.trim = !(recording.voice == QLatin1String("synth") && isLoopRecipe(recording.text)) &&
                !(recording.supplied() && recording.loop);
    return spec;
}

bool voiceInstalled(const QString& voice, QString* package) {
    const auto missing = [package](const char* name) {
        if (package) *package = QString::fromLatin1(name);
        return false;
    };
    if (voice == QLatin1String("zh")) {
        return !QStandardPaths::findExecutable(QStringLiteral("espeak-ng")).isEmpty() ||
               missing("espeak-ng");
    }
    if (QStandardPaths::findExecutable(QStringLiteral("text2wave")).isEmpty())
        return missing("festival");
    // festival runs without its English voice, but cannot speak a line.
    return !QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                   QStringLiteral("festival/voices/us/cmu_us_slt_arctic_hts"),
                                   QStandardPaths::LocateDirectory)
                .isEmpty() ||
           missing("festvox-us-slt-hts");
}

void checkVoices(const BookSources& book, const std::function<bool(int unit)>& makesUnit,
                 Problems& problems) {
    // A book with no voice at all would list every line; the first ones show what to do.
    constexpr int kLinesTold = 20;
    QHash<QString, QString> missingPackage;
    for (const char* voice : {"en", "zh"}) {
        QString package;
        if (!voiceInstalled(QLatin1String(voice), &package))
            missingPackage.insert(QLatin1String(voice), package);
    }
    if (missingPackage.isEmpty()) return;
    int lines = 0;
    const auto check = [&](const Recording& r, const Where& where) {
        if (!missingPackage.contains(r.voice)) return;
        if (++lines > kLinesTold) return;
        problems.add(where, QStringLiteral("no recording for this line, and no voice is "
                                           "installed: add audio: ... or install %1")
                                .arg(missingPackage.value(r.voice)));
    };
    for (const PageSource& page : book.pages) {
        for (const Entry& e : page.entries) check(entryRecording(e), e.where);
    }
    for (const UnitSource& unit : book.units) {
        if (!makesUnit(unit.unit)) continue;
        for (const UnitWord& w : unit.words) check(unitWordRecording(w), w.where);
    }
    for (const ClipSource& c : book.clips) check(c.recording, c.where);
    if (lines > kLinesTold) {
        problems.add({book.folder, 0},
                     QStringLiteral("and %1 more lines with no recording and no voice installed")
                         .arg(lines - kLinesTold));
    }
}

namespace {

// Bump when the way recordings are made changes, so that cached ones are made again.
constexpr int kRecordingVersion = 10;

// Bump when a sound recipe changes: only the made sounds are made again.
constexpr int kSoundVersion = 3;

// A finished recording is kept under a name made from the way it is finished and what it is
// made from: its text and voice, or for a supplied file the file's content (not its name or
// date), so that an unchanged file is not converted again and a changed one is.
QString cacheName(const Recording& r, const QByteArray& contentDigest) {
    QString version = QString::number(kRecordingVersion);
    if (r.voice == QLatin1String("synth")) version += QStringLiteral("s%1").arg(kSoundVersion);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    if (r.supplied()) {
        hash.addData((version + QStringLiteral("|file|") + r.codec +
                      (r.loop ? QStringLiteral("|loop|") : QStringLiteral("|")))
                         .toUtf8());
        hash.addData(contentDigest);
    } else {
        hash.addData((version + QLatin1Char('|') + r.key()).toUtf8());
    }
    return QString::fromLatin1(hash.result().toHex()) + QStringLiteral(".wav");
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A finished recording goes into the cache whole or not at all: a build stopped half-way must
// not leave a cut-short recording there for the next build to take.
void storeInCache(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) file.commit();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The raw recording: English speech from festival's HTS voice, Mandarin from espeak-ng, or a
// sound from the synthesiser's recipes.
bool makeRaw(const Recording& r, const QString& folder, QString& rawPath, QString& error) {
    rawPath = folder + QStringLiteral("/raw.wav");
    if (r.voice == QLatin1String("synth")) {
        QList<qint16> samples = synthesise(r.text, kSynthRate);
        if (samples.isEmpty()) {
            error = QStringLiteral("unknown sound recipe \"%1\"").arg(r.text);
            return false;
        }
        // Silence on both sides, as a recording has: the pipeline then sees where the sound
        // ends rather than taking its dying end for a noise floor. A loop stays as it is.
        if (!isLoopRecipe(r.text)) {
            const QList<qint16> quiet(kSynthRate / 20, 0);
            samples = quiet + samples + quiet;
        }
        return writeFile(rawPath, pcmWav(samples, kSynthRate, 1)) ||
               (error = QStringLiteral("cannot write %1").arg(rawPath), false);
    }
    const QString textPath = folder + QStringLiteral("/text.txt");
    if (!writeFile(textPath, r.text.toUtf8())) {
        error = QStringLiteral("cannot write %1").arg(textPath);
        return false;
    }
    if (r.voice == QLatin1String("zh")) {
        return runProgram(QStringLiteral("espeak-ng"),
                          {"-v", "cmn", "-s", "150", "-p", "55", "-w", rawPath, "-f", textPath},
                          error);
    }
    return runProgram(QStringLiteral("text2wave"),
                      {"-eval", QString::fromLatin1(kEnglishVoice), textPath, "-o", rawPath},
                      error);
}

// A supplied file as the decoder should read it: sox tells most formats from their content, but
// takes MP3 only by its name, so a file whose name says another kind is linked (or copied)
// under the name its content asks for.
QString suppliedInput(const Recording& r, const QByteArray& head, const QString& folder) {
    const QString format = fileKindOf(head).id;
    if (!readBySox(format) || QFileInfo(r.path).suffix().toLower() == format) return r.path;
    const QString named = folder + QStringLiteral("/supplied.") + format;
    if (QFile::link(QFileInfo(r.path).absoluteFilePath(), named) || QFile::copy(r.path, named))
        return named;
    return r.path;
}

bool makeOne(const Recording& r, const QByteArray& head, QByteArray& wav, QString& error) {
    QTemporaryDir folder;
    if (!folder.isValid()) {
        error = QStringLiteral("cannot make a temporary folder");
        return false;
    }
    QString rawPath;
    if (r.supplied()) {
        rawPath = suppliedInput(r, head, folder.path());
    } else if (!makeRaw(r, folder.path(), rawPath, error)) {
        return false;
    }
    return finishRecording(rawPath, finishSpec(r), folder.path(), wav, error);
}

// A supplied recording's first bytes (which tell its kind) and the SHA-1 of its whole content,
// read a piece at a time (a long recording is not held in memory). False with `error` set when
// it cannot be read or is empty.
bool readSupplied(const Recording& r, QByteArray& head, QByteArray& digest, QString& error) {
    QFile file(r.path);
    if (!file.exists()) {
        error = QStringLiteral("the file does not exist");
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("it cannot be read: %1").arg(file.errorString());
        return false;
    }
    head = file.peek(kKindHeadBytes);
    if (head.isEmpty()) {
        error = QStringLiteral("the file is empty");
        return false;
    }
    QCryptographicHash hash(QCryptographicHash::Sha1);
    if (!hash.addData(&file)) {
        error = QStringLiteral("it cannot be read: %1").arg(file.errorString());
        return false;
    }
    digest = hash.result();
    return true;
}

}  // namespace

QHash<QString, QByteArray> makeRecordings(const QList<RecordingJob>& jobs,
                                          const QString& cacheFolder, int parallel,
                                          Problems& problems, RecordingCounts* counts) {
    QDir().mkpath(cacheFolder);
    QHash<QString, QByteArray> made;
    std::mutex lock;
    std::atomic<int> finished{0}, reused{0};
    Progress progress(QStringLiteral("recordings finished"), int(jobs.size()));
    forEachParallel(int(jobs.size()), parallel, [&](int i) {
        const RecordingJob& job = jobs[i];
        const Recording& r = job.recording;
        QString error;
        QByteArray head, digest;
        if (r.supplied()) readSupplied(r, head, digest, error);
        QByteArray wav;
        bool reusable = false;
        if (error.isEmpty()) {
            const QString cached = QDir(cacheFolder).filePath(cacheName(r, digest));
            wav = readFile(cached);
            WavFacts facts;
            reusable =
                !wav.isEmpty() && inspectWav(wav, facts, nullptr) && matchesCodec(facts, r.codec);
            if (reusable) {
                ++reused;
            } else if (makeOne(r, head, wav, error)) {
                ++finished;
                storeInCache(cached, wav);
            }
        }
        progress.step();
        std::lock_guard guard(lock);
        if (!reusable && !error.isEmpty()) {
            problems.add(
                job.where,
                r.supplied()
                    ? QStringLiteral("cannot use the recording %1: %2").arg(r.file, error)
                    : QStringLiteral("cannot make the recording \"%1\": %2").arg(r.text, error));
        } else {
            made.insert(r.key(), wav);
        }
    });
    if (counts) *counts = {finished.load(), reused.load()};
    return made;
}

QList<RecordingJob> recordingJobs(const BookSources& book) {
    QList<RecordingJob> jobs;
    QSet<QString> seen;
    auto add = [&](const Recording& r, const Where& where) {
        if (seen.contains(r.key())) return;
        seen.insert(r.key());
        jobs.append({r, where});
    };
    for (const PageSource& page : book.pages) {
        for (const Entry& e : page.entries) add(entryRecording(e), e.where);
    }
    for (const UnitSource& unit : book.units) {
        for (const UnitWord& w : unit.words) add(unitWordRecording(w), w.where);
    }
    for (const ClipSource& c : book.clips) add(c.recording, c.where);
    return jobs;
}

namespace {

// One line per recording in clip order (the order of the pack's clip table): index, voice,
// codec, the first source line that asks for it, and what it says or which sound it is.
QByteArray recordingList(const QList<RecordingJob>& jobs) {
    QList<RecordingJob> sorted = jobs;
    std::sort(sorted.begin(), sorted.end(), [](const RecordingJob& a, const RecordingJob& b) {
        return a.recording.key() < b.recording.key();
    });
    QByteArray out = "clip\tvoice\tcodec\tsource\ttext\n";
    for (int i = 0; i < sorted.size(); ++i) {
        const RecordingJob& job = sorted[i];
        out += QStringLiteral("%1\t%2\t%3\t%4:%5\t%6\n")
                   .arg(i)
                   .arg(job.recording.voice, job.recording.codec, job.where.file)
                   .arg(job.where.line)
                   .arg(job.recording.text)
                   .toUtf8();
    }
    return out;
}

}  // namespace

bool writeRecordingList(const QList<RecordingJob>& jobs, const QString& folder) {
    QDir().mkpath(folder);
    QFile file(QDir(folder).filePath(QStringLiteral("recordings.tsv")));
    const QByteArray bytes = recordingList(jobs);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace tool
