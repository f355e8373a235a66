#include "recordings/audio.h"

#include <sndfile.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <atomic>
#include <mutex>
#include <thread>

#include "pictures/supplied.h"
#include "recordings/msadpcm.h"
#include "recordings/pipeline.h"

namespace tool {

namespace {

void appendLe16(QByteArray& out, quint16 v) {
    const quint16 le = qToLittleEndian(v);
    out.append(reinterpret_cast<const char*>(&le), 2);
}
void appendLe32(QByteArray& out, quint32 v) {
    const quint32 le = qToLittleEndian(v);
    out.append(reinterpret_cast<const char*>(&le), 4);
}

QByteArray riff(const QByteArray& chunks) {
    QByteArray out("RIFF");
    appendLe32(out, quint32(4 + chunks.size()));
    out += "WAVE";
    out += chunks;
    return out;
}

QByteArray chunk(const char* id, const QByteArray& body) {
    QByteArray out(id, 4);
    appendLe32(out, quint32(body.size()));
    out += body;
    if (body.size() % 2) out += '\0';
    return out;
}

// libsndfile reads the image from memory through these callbacks.
struct MemoryFile {
    const QByteArray* bytes;
    sf_count_t position = 0;
};

sf_count_t memLength(void* user) {
    return static_cast<MemoryFile*>(user)->bytes->size();
}
sf_count_t memSeek(sf_count_t offset, int whence, void* user) {
    auto* f = static_cast<MemoryFile*>(user);
    const sf_count_t base = whence == SEEK_SET   ? 0
                            : whence == SEEK_CUR ? f->position
                                                 : f->bytes->size();
    f->position = std::clamp<sf_count_t>(base + offset, 0, f->bytes->size());
    return f->position;
}
sf_count_t memRead(void* out, sf_count_t count, void* user) {
    auto* f = static_cast<MemoryFile*>(user);
    const sf_count_t n =
        std::max<sf_count_t>(0, std::min<sf_count_t>(count, f->bytes->size() - f->position));
    memcpy(out, f->bytes->constData() + f->position, size_t(n));
    f->position += n;
    return n;
}
sf_count_t memWrite(const void*, sf_count_t, void*) {
    return 0;
}
sf_count_t memTell(void* user) {
    return static_cast<MemoryFile*>(user)->position;
}

bool readFmt(const QByteArray& wav, WavFacts& facts) {
    if (wav.size() < 12 || !wav.startsWith("RIFF") || wav.mid(8, 4) != "WAVE") return false;
    qsizetype at = 12;
    while (at + 8 <= wav.size()) {
        const quint32 size = qFromLittleEndian<quint32>(wav.constData() + at + 4);
        if (wav.mid(at, 4) == "fmt " && size >= 16 && at + 8 + 16 <= wav.size()) {
            const char* fmt = wav.constData() + at + 8;
            facts.formatTag = qFromLittleEndian<quint16>(fmt);
            facts.channels = qFromLittleEndian<quint16>(fmt + 2);
            facts.sampleRate = int(qFromLittleEndian<quint32>(fmt + 4));
            facts.bits = qFromLittleEndian<quint16>(fmt + 14);
            return true;
        }
        at += 8 + qsizetype(size) + (size % 2);
    }
    return false;
}

// Opens a WAV image in memory with libsndfile, as the program decodes it; null with `error`
// set when libsndfile cannot read it.
SNDFILE* openInMemory(MemoryFile& file, SF_INFO& info, QString* error) {
    static SF_VIRTUAL_IO io{memLength, memSeek, memRead, memWrite, memTell};
    SNDFILE* sf = sf_open_virtual(&io, SFM_READ, &info, &file);
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
    MemoryFile file{&wav};
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
    MemoryFile file{&wav};
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
        return facts.formatTag == 2 && facts.channels == 2 && facts.sampleRate == 22050;
    }
    if (codec == QLatin1String("ima")) {
        return facts.formatTag == 0x11 && facts.channels == 1 && facts.sampleRate == 22050;
    }
    const QStringList parts = codec.split(QLatin1Char('/'));
    if (parts.size() != 3) return false;
    const bool shape = facts.sampleRate == parts[1].toInt() && facts.channels == parts[2].toInt();
    if (parts[0] == QLatin1String("pcm8")) return shape && facts.formatTag == 1 && facts.bits == 8;
    if (parts[0] == QLatin1String("pcm16"))
        return shape && facts.formatTag == 1 && facts.bits == 16;
    if (parts[0] == QLatin1String("mp3")) return shape && facts.formatTag == 0x55;
    return false;
}

QByteArray wrapMp3InWav(const QByteArray& mp3, int sampleRate, int channels, int bitrateKbps,
                        long long sampleFrames) {
    // MPEGLAYER3WAVEFORMAT: WAVEFORMATEX followed by the layer-3 specific fields.
    QByteArray fmt;
    appendLe16(fmt, 0x0055);
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
    return riff(chunk("fmt ", fmt) + chunk("fact", fact) + chunk("data", mp3));
}

QByteArray pcmWav(const QList<qint16>& samples, int sampleRate, int channels) {
    QByteArray fmt;
    appendLe16(fmt, 1);
    appendLe16(fmt, quint16(channels));
    appendLe32(fmt, quint32(sampleRate));
    appendLe32(fmt, quint32(sampleRate * channels * 2));
    appendLe16(fmt, quint16(channels * 2));
    appendLe16(fmt, 16);
    QByteArray data;
    data.reserve(samples.size() * 2);
    for (const qint16 s : samples) appendLe16(data, quint16(s));
    return riff(chunk("fmt ", fmt) + chunk("data", data));
}

QByteArray msAdpcmWav(const QByteArray& blocks, int sampleRate, int channels, int blockAlign,
                      int framesPerBlock, long long sampleFrames) {
    QByteArray fmt;
    appendLe16(fmt, 0x0002);
    appendLe16(fmt, quint16(channels));
    appendLe32(fmt, quint32(sampleRate));
    appendLe32(fmt, quint32(qint64(sampleRate) * blockAlign / framesPerBlock));
    appendLe16(fmt, quint16(blockAlign));
    appendLe16(fmt, 4);   // bits per sample
    appendLe16(fmt, 32);  // size of the extra fields
    appendLe16(fmt, quint16(framesPerBlock));
    appendLe16(fmt, quint16(kMsAdpcmCoefficient1.size()));
    for (size_t i = 0; i < kMsAdpcmCoefficient1.size(); ++i) {
        appendLe16(fmt, quint16(kMsAdpcmCoefficient1[i]));
        appendLe16(fmt, quint16(kMsAdpcmCoefficient2[i]));
    }
    QByteArray fact;
    appendLe32(fact, quint32(sampleFrames));
    return riff(chunk("fmt ", fmt) + chunk("fact", fact) + chunk("data", blocks));
}

FinishSpec finishSpec(const Recording& recording) {
    FinishSpec spec;
    spec.codec = recording.codec;
    spec.trim = !(recording.voice == QLatin1String("synth") && isLoopRecipe(recording.text)) &&
                !(recording.supplied() && recording.loop);
    return spec;
}

bool runProgram(const QString& program, const QStringList& arguments, QString& error) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(20000)) {
        error = QStringLiteral("cannot start %1").arg(program);
        return false;
    }
    process.waitForFinished(300000);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        error = QStringLiteral("%1 failed: %2")
                    .arg(program, QString::fromLocal8Bit(process.readAllStandardError()).trimmed());
        return false;
    }
    return true;
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
    const QString format = audioFormatOf(head);
    static const QStringList known{"wav", "flac", "ogg", "mp3"};
    if (!known.contains(format) || QFileInfo(r.path).suffix().toLower() == format) return r.path;
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
    head = file.peek(64);
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
    std::atomic<int> next{0};
    std::atomic<int> finished{0}, reused{0};
    auto worker = [&] {
        for (int i = next++; i < jobs.size(); i = next++) {
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
                reusable = !wav.isEmpty() && inspectWav(wav, facts, nullptr) &&
                           matchesCodec(facts, r.codec);
                if (reusable) {
                    ++reused;
                } else if (makeOne(r, head, wav, error)) {
                    ++finished;
                    storeInCache(cached, wav);
                }
            }
            std::lock_guard guard(lock);
            if (!reusable && !error.isEmpty()) {
                problems.add(
                    job.where,
                    r.supplied()
                        ? QStringLiteral("cannot use the recording %1: %2").arg(r.file, error)
                        : QStringLiteral("cannot make the recording \"%1\": %2")
                              .arg(r.text, error));
            } else {
                made.insert(r.key(), wav);
            }
        }
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < std::max(1, parallel); ++t) threads.emplace_back(worker);
    for (std::thread& t : threads) t.join();
    if (counts) *counts = {finished.load(), reused.load()};
    return made;
}

}  // namespace tool
