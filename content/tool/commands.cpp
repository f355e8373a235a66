#include "commands.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "pictures/art/window_art.h"
#include "pictures/supplied_pictures.h"
#include "pictures/text_proposals.h"
#include "recordings/pipeline.h"
#include "recordings/take_splitter.h"
#include "recordings/wav_image.h"
#include "sources/sources.h"

namespace tool {

int measureRecordings(const QStringList& files, const QString& decodeFolder) {
    int failures = 0;
    printf("file\tseconds\tlead_ms\ttail_ms\tloudness_lufs\tpeak_dbfs\n");
    for (const QString& path : files) {
        QFile file(path);
        std::vector<float> mono;
        int rate = 0;
        QString error;
        if (!file.open(QIODevice::ReadOnly) || !decodeWavMono(file.readAll(), mono, rate, &error) ||
            rate <= 0) {
            fprintf(stderr, "%s: cannot decode: %s\n", qPrintable(path), qPrintable(error));
            ++failures;
            continue;
        }
        const SoundFacts f = measureSound(mono, rate);
        if (!decodeFolder.isEmpty()) {
            QList<qint16> samples;
            samples.reserve(qsizetype(mono.size()));
            for (const float v : mono)
                samples.append(qint16(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f)));
            QFile decoded(QDir(decodeFolder).filePath(QFileInfo(path).fileName()));
            const QByteArray bytes = pcmWav(samples, rate, 1);
            if (!decoded.open(QIODevice::WriteOnly) || decoded.write(bytes) != bytes.size()) {
                fprintf(stderr, "cannot write %s\n", qPrintable(decoded.fileName()));
                ++failures;
            }
        }
        printf("%s\t%.3f\t%.1f\t%.1f\t%.2f\t%.2f\n", qPrintable(path), f.seconds, f.lead * 1000,
               f.tail * 1000, f.loudness, f.peakDb);
    }
    return failures ? 1 : 0;
}

int finishOneFile(const QString& input, const QString& codec, const QString& output) {
    QTemporaryDir work;
    QByteArray wav;
    QString error;
    if (!isCodec(codec)) {
        fprintf(stderr, "unknown codec \"%s\"\n", qPrintable(codec));
        return 2;
    }
    if (!work.isValid() || !finishRecording(input, FinishSpec{codec}, work.path(), wav, error)) {
        fprintf(stderr, "%s: %s\n", qPrintable(input), qPrintable(error));
        return 1;
    }
    QFile file(output);
    if (!file.open(QIODevice::WriteOnly) || file.write(wav) != wav.size()) {
        fprintf(stderr, "cannot write %s\n", qPrintable(output));
        return 1;
    }
    return 0;
}

namespace {

// The lines of a text file, blank lines left out; false when it cannot be read.
bool readLines(const QString& path, QStringList& lines) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty()) lines << line.trimmed();
    }
    return true;
}

QByteArray sixteenBitWav(const std::vector<float>& mono, TakeSpan span, int rate) {
    QList<qint16> samples;
    samples.reserve(span.end - span.first);
    for (qsizetype i = span.first; i < span.end; ++i) {
        const double v = std::clamp(double(mono[size_t(i)]) * 32768.0, -32768.0, 32767.0);
        samples.append(qint16(std::lround(v)));
    }
    return pcmWav(samples, rate, 1);
}

}  // namespace

int splitTakeFile(const QString& take, const QString& linesFile, const QString& outFolder) {
    QStringList lines;
    if (!readLines(linesFile, lines) || lines.isEmpty()) {
        fprintf(stderr, "%s: cannot read the page's lines (one a line)\n", qPrintable(linesFile));
        return 2;
    }
    QTemporaryDir work;
    std::vector<float> mono;
    int rate = 0;
    QString error;
    if (!work.isValid() ||
        !decodeAudioFile(take, kLongestTake + 1, work.path(), mono, rate, error)) {
        fprintf(stderr, "%s: %s\n", qPrintable(take), qPrintable(error));
        return 1;
    }
    if (double(mono.size()) / rate > kLongestTake) {
        fprintf(stderr, "%s: it lasts longer than the %.0f s a take may last\n", qPrintable(take),
                kLongestTake);
        return 1;
    }
    const TakeSplit split = splitTake(mono, rate, lines);
    if (split.problem != TakeProblem::None) {
        fprintf(stderr, "%s: %s; no clips written\n", qPrintable(take), qPrintable(split.message));
        return 1;
    }
    const int digits = std::max(2, int(QString::number(lines.size()).size()));
    if (!QDir().mkpath(outFolder)) {
        fprintf(stderr, "cannot make the folder %s\n", qPrintable(outFolder));
        return 1;
    }
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const TakeSpan clip = split.clips[size_t(i)];
        QFile file(QDir(outFolder).filePath(
            QStringLiteral("%1.wav").arg(i + 1, digits, 10, QLatin1Char('0'))));
        const QByteArray wav = sixteenBitWav(mono, clip, rate);
        if (!file.open(QIODevice::WriteOnly) || file.write(wav) != wav.size()) {
            fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
        printf("%lld\t%lld\t%s\n", (long long)(clip.first * 1000 / rate),
               (long long)(clip.end * 1000 / rate), qPrintable(lines[i]));
    }
    return 0;
}

int proposeHotspots(const QString& picture) {
    QList<QImage> frames;
    int delayMs = 0;
    QString error;
    if (!readPicture(picture, frames, delayMs, error)) {
        fprintf(stderr, "%s: %s\n", qPrintable(picture), qPrintable(error));
        return 1;
    }
    const ProposalResult result = proposeTextHotspots(frames.first());
    if (!result.error.isEmpty()) {
        fprintf(stderr, "%s: %s\n", qPrintable(picture), qPrintable(result.error));
        return 1;
    }
    for (const TextProposal& p : result.proposals) {
        printf("%d\t%d\t%d\t%d\t%d\t%s\n", p.rect.x(), p.rect.y(), p.rect.width(), p.rect.height(),
               p.confidence, qPrintable(p.english));
    }
    return 0;
}

int writeIcons(const QString& folder) {
    QDir().mkpath(folder);
    const auto write = [&folder](const QString& name, const QByteArray& bytes) {
        QFile file(QDir(folder).filePath(name));
        if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) return true;
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        return false;
    };
    bool ok = write(QStringLiteral("qcbook.svg"), art::renderAppIconSvg());
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        art::renderAppIcon(size).save(&buffer, "PNG");
        ok = write(QStringLiteral("qcbook-%1.png").arg(size), png) && ok;
    }
    return ok ? 0 : 1;
}

}  // namespace tool
