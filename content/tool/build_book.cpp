#include "build_book.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <thread>

#include "art/page_art.h"
#include "art/window_art.h"
#include "audio.h"
#include "book_profile.h"
#include "checks.h"
#include "pack.h"

namespace tool {

namespace {

QSize pagePictureSize(int page) {
    return page == 52 ? QSize(801, 560) : QSize(2150, 1524);
}

const ScreenProfile& profileOfPage(int page) {
    for (const ScreenProfile& s : kScreens) {
        if (s.page == page) return s;
    }
    return kScreens[0];
}

QByteArray encodeJpeg(const QImage& image, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.setOptimizedWrite(true);
    return writer.write(image) ? bytes : QByteArray();
}

void printProblems(const Problems& problems) {
    fputs(problems.report().toLocal8Bit().constData(), stderr);
    fprintf(stderr, "content build stopped: %d problem(s)\n", int(problems.list().size()));
}

// Runs `work(i)` for i in [0, count) on a few threads.
template <typename Work>
void forEachParallel(int count, int parallel, Work work) {
    std::atomic<int> next{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < std::max(1, parallel); ++t) {
        threads.emplace_back([&] {
            for (int i = next++; i < count; i = next++) work(i);
        });
    }
    for (std::thread& t : threads) t.join();
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

bool writeRecordingList(const QList<RecordingJob>& jobs, const QString& folder) {
    QDir().mkpath(folder);
    QFile file(QDir(folder).filePath(QStringLiteral("recordings.tsv")));
    const QByteArray bytes = recordingList(jobs);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool renderPages(const BookSources& book, int parallel, BuiltBook& built, Problems& problems) {
    const int count = int(book.pages.size());
    built.pagePictures.resize(count);
    built.pagePictureSizes.resize(count);
    forEachParallel(count, parallel, [&](int i) {
        const QSize size = pagePictureSize(book.pages[i].pageNumber);
        built.pagePictureSizes[i] = size;
        built.pagePictures[i] = encodeJpeg(art::renderPage(pageSpec(book.pages[i], size)), 88);
    });
    for (int i = 0; i < count; ++i) {
        if (built.pagePictures[i].isEmpty()) {
            problems.add({book.pages[i].file, 0}, QStringLiteral("cannot encode the page picture"));
        }
    }
    return problems.empty();
}

bool renderWindowPictures(const BookSources& book, BuiltBook& built, Problems& problems) {
    for (const PictureSource& p : book.pictures) {
        QString error;
        const QByteArray bytes = art::renderWindowPicture(
            art::PictureSpec{p.name, p.size, p.painter, p.text, p.format}, &error);
        QImage decoded;
        if (bytes.isEmpty() || !decoded.loadFromData(bytes) || decoded.size() != p.size) {
            problems.add(p.where, QStringLiteral("cannot make the picture %1 at %2 x %3: %4")
                                      .arg(p.name)
                                      .arg(p.size.width())
                                      .arg(p.size.height())
                                      .arg(error.isEmpty() ? QStringLiteral("wrong size") : error));
            continue;
        }
        built.pictures.insert(p.name, bytes);
    }
    return problems.empty();
}

bool writePreviews(const BookSources& book, const QString& folder, int parallel) {
    QDir().mkpath(folder);
    std::atomic<bool> ok{true};
    forEachParallel(int(book.pages.size()), parallel, [&](int i) {
        const PageSource& page = book.pages[i];
        const QImage image = art::renderPage(pageSpec(page, QSize(800, 540)));
        const QString path = QDir(folder).filePath(
            QStringLiteral("p%1.png").arg(page.pageNumber, 2, 10, QChar('0')));
        if (!image.save(path)) ok = false;
    });
    return ok;
}

}  // namespace

art::PageSpec pageSpec(const PageSource& page, QSize pixelSize) {
    art::PageSpec spec;
    spec.pageNumber = page.pageNumber;
    spec.theme = page.theme;
    spec.sectionName = QString::fromUtf8(profileOfPage(page.pageNumber).section);
    spec.pixelSize = pixelSize;
    spec.wordList = isWordListPage(page.pageNumber);
    for (const Entry& e : page.entries) {
        // A strip prints what its recording says; one that plays a made sound prints its say:
        // text (or its English line) instead of the recipe's name.
        const QString said = e.sound.isEmpty() ? e.recording.text
                             : e.say.isEmpty() ? e.english
                                               : e.say;
        spec.items.append(
            {e.number, e.kind, e.thing, e.colour, e.rect, e.english, e.chinese, said, e.speaker});
    }
    for (const Drawing& d : page.drawings) {
        spec.drawings.append({0, d.kind, d.thing, d.colour, d.rect, d.text, QString(), QString()});
    }
    for (const ListenIcon& icon : page.listens)
        spec.listenIcons.append(QRect(icon.pos, QSize(kListenIconSize, kListenIconSize)));
    for (const FillBox& f : page.fills)
        spec.answerBoxes.append(QRect(f.pos, QSize(kFillBoxSize, kFillBoxSize)));
    for (const TickBox& t : page.ticks) {
        spec.answerBoxes.append(QRect(t.pos + QPoint(7, 8), QSize(kTickBoxWidth, kTickBoxHeight)));
    }
    return spec;
}

int runContentBuild(const Options& options) {
    QElapsedTimer clock;
    clock.start();
    Problems problems;
    const BookSources book = readSources(options.source, options.onlyPages, problems);
    const bool wholeBook = options.onlyPages.isEmpty();
    checkBook(book, wholeBook, problems);
    if (!problems.empty()) {
        printProblems(problems);
        return 1;
    }
    if (!options.preview.isEmpty() && !writePreviews(book, options.preview, options.parallel)) {
        fprintf(stderr, "cannot write previews to %s\n", qPrintable(options.preview));
        return 1;
    }
    const QList<RecordingJob> jobs = recordingJobs(book);
    if (!options.out.isEmpty() && wholeBook && !writeRecordingList(jobs, options.out)) {
        fprintf(stderr, "cannot write the recording list to %s\n", qPrintable(options.out));
        return 1;
    }
    if (options.checkOnly || !wholeBook) {
        printf("content checked: %d page(s), no problems\n", int(book.pages.size()));
        return 0;
    }
    BuiltBook built;
    built.sources = &book;
    built.recordings = makeRecordings(jobs, options.cache, options.parallel, problems);
    if (problems.empty()) renderPages(book, options.parallel, built, problems);
    if (problems.empty()) renderWindowPictures(book, built, problems);
    if (!problems.empty()) {
        printProblems(problems);
        return 1;
    }
    QString error, summary;
    if (!writeBook(built, options.out, &error, &summary)) {
        fprintf(stderr, "content build stopped: %s\n", qPrintable(error));
        return 1;
    }
    printf("content built in %.1f s: %s\n", clock.elapsed() / 1000.0, qPrintable(summary));
    return 0;
}

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

}  // namespace tool

namespace tool {

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
