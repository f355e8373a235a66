#include "build_book.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <thread>

#include "pack/pack.h"
#include "pictures/art/page_art.h"
#include "pictures/art/window_art.h"
#include "pictures/preview.h"
#include "pictures/supplied_pictures.h"
#include "recordings/make_recordings.h"
#include "recordings/wav_image.h"
#include "sources/book_profile.h"
#include "sources/checks.h"
#include "sources/supplied_files.h"

namespace tool {

namespace {

const ScreenProfile& profileOfPage(int page) {
    for (const ScreenProfile& s : kScreens) {
        if (s.page == page) return s;
    }
    return kScreens[0];
}

QString pictureCache(const Options& options) {
    return QDir(options.cache).filePath(QStringLiteral("pictures"));
}

// pNN.EXT for a page, pNN-EE.EXT for its entry EE.
QString pieceName(int page, int entry, const char* extension) {
    QString name = QStringLiteral("p%1").arg(page, 2, 10, QChar('0'));
    if (entry > 0) name += QStringLiteral("-%1").arg(entry, 2, 10, QChar('0'));
    return name + QLatin1Char('.') + QLatin1String(extension);
}

void printProblems(const Problems& problems) {
    fputs(problems.report().toLocal8Bit().constData(), stderr);
    fprintf(stderr, "content build stopped: %d problem(s)\n", int(problems.list().size()));
}

// What a run converted and what it took from the cache, told at its end so that a teacher (and
// a test) sees that an unchanged file was not converted again.
struct Conversions {
    RecordingCounts recordings;
    std::atomic<int> picturesConverted{0};
    std::atomic<int> picturesSupplied{0};
    QString report() const {
        QString text = QStringLiteral("recordings: %1 made, %2 from the cache")
                           .arg(recordings.finished)
                           .arg(recordings.reused);
        if (picturesSupplied > 0) {
            text += QStringLiteral("; supplied pictures: %1 converted, %2 from the cache")
                        .arg(picturesConverted.load())
                        .arg(picturesSupplied - picturesConverted);
        }
        return text;
    }
};

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

// Page pictures: a supplied scan fitted to the page's size, or the drawn page.
bool renderPages(const BookSources& book, const Options& options, BuiltBook& built,
                 Conversions& conversions, Problems& problems) {
    const int count = int(book.pages.size());
    built.pagePictures.resize(count);
    built.pagePictureSizes.resize(count);
    QList<QString> errors(count);
    forEachParallel(count, options.parallel, [&](int i) {
        const PageSource& page = book.pages[i];
        const QSize size = pagePictureSize(page.pageNumber);
        built.pagePictureSizes[i] = size;
        if (!page.image.given()) {
            built.pagePictures[i] = encodePagePicture(art::renderPage(pageSpec(page, size)));
            return;
        }
        bool converted = false;
        built.pagePictures[i] =
            suppliedPagePicture(page.image, size, pictureCache(options), errors[i], &converted);
        ++conversions.picturesSupplied;
        conversions.picturesConverted += converted;
    });
    for (int i = 0; i < count; ++i) {
        const PageSource& page = book.pages[i];
        if (!built.pagePictures[i].isEmpty()) continue;
        if (page.image.given()) {
            problems.add(
                page.image.where,
                QStringLiteral("cannot use the picture %1: %2").arg(page.image.file, errors[i]));
        } else {
            problems.add({page.file, 0}, QStringLiteral("cannot encode the page picture"));
        }
    }
    return problems.empty();
}

// Window pictures: a supplied file fitted to the picture's size, or the drawn picture; made on
// a few threads like the pages.
bool renderWindowPictures(const BookSources& book, const Options& options, BuiltBook& built,
                          Conversions& conversions, Problems& problems) {
    const int count = int(book.pictures.size());
    std::vector<QByteArray> made(static_cast<size_t>(count));
    std::vector<QString> errors(static_cast<size_t>(count));
    forEachParallel(count, options.parallel, [&](int at) {
        const auto i = size_t(at);
        const PictureSource& p = book.pictures[at];
        if (p.image.given()) {
            bool converted = false;
            made[i] = suppliedWindowPicture(p, pictureCache(options), errors[i], &converted);
            ++conversions.picturesSupplied;
            conversions.picturesConverted += converted;
            return;
        }
        made[i] = art::renderWindowPicture(
            art::PictureSpec{p.name, p.size, p.painter, p.text, p.format}, &errors[i]);
        QImage decoded;
        if (!made[i].isEmpty() && (!decoded.loadFromData(made[i]) || decoded.size() != p.size)) {
            made[i].clear();
            errors[i] = QStringLiteral("wrong size");
        }
    });
    for (size_t i = 0; i < made.size(); ++i) {
        const PictureSource& p = book.pictures[qsizetype(i)];
        if (!made[i].isEmpty()) {
            built.pictures.insert(p.name, made[i]);
        } else if (p.image.given()) {
            problems.add(
                p.image.where,
                QStringLiteral("cannot use the picture %1: %2").arg(p.image.file, errors[i]));
        } else {
            problems.add(p.where,
                         QStringLiteral("cannot make the picture %1 at %2 x %3: %4")
                             .arg(p.name)
                             .arg(p.size.width())
                             .arg(p.size.height())
                             .arg(errors[i].isEmpty() ? QStringLiteral("wrong size") : errors[i]));
        }
    }
    return problems.empty();
}

// The preview sheets: each page as the reader shows it, hotspots and answer boxes outlined.
bool writePreviews(const BookSources& book, const Options& options, Problems& problems) {
    QDir().mkpath(options.preview);
    const int count = int(book.pages.size());
    QList<QString> errors(count);
    forEachParallel(count, options.parallel, [&](int i) {
        const PageSource& page = book.pages[i];
        QImage sheet;
        if (!pagePreviewPicture(page, sheet, errors[i])) return;
        outlinePage(page, sheet);
        const QString path = QDir(options.preview).filePath(pieceName(page.pageNumber, 0, "png"));
        if (!sheet.save(path)) errors[i] = QStringLiteral("cannot write %1").arg(path);
    });
    for (int i = 0; i < count; ++i) {
        if (errors[i].isEmpty()) continue;
        const PageSource& page = book.pages[i];
        problems.add(
            page.image.given() ? page.image.where : Where{page.file, 0},
            page.image.given()
                ? QStringLiteral("cannot use the picture %1: %2").arg(page.image.file, errors[i])
                : errors[i]);
    }
    return problems.empty();
}

bool writeFile(const QString& path, const QByteArray& bytes, Problems& problems) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) return true;
    problems.add({path, 0}, QStringLiteral("cannot write the file"));
    return false;
}

// A build of the chosen pieces only: each written to the out folder as a file of its own
// (pNN.jpg, pNN-EE.wav, unitN-WW.wav, clip-ROLE.wav, picture-NAME.FORMAT), for a teacher who
// wants to look at or listen to a few pieces without building the whole book.
int buildPieces(const BookSources& book, const Options& options, Problems& problems) {
    const QList<RecordingJob> jobs = recordingJobs(book);
    Conversions conversions;
    const QHash<QString, QByteArray> recordings =
        makeRecordings(jobs, options.cache, options.parallel, problems, &conversions.recordings);
    BuiltBook built;
    built.sources = &book;
    if (problems.empty()) renderPages(book, options, built, conversions, problems);
    if (problems.empty()) renderWindowPictures(book, options, built, conversions, problems);
    if (!problems.empty()) {
        printProblems(problems);
        return 1;
    }
    QDir().mkpath(options.out);
    const QDir out(options.out);
    int files = 0;
    auto write = [&](const QString& name, const QByteArray& bytes) {
        files += writeFile(out.filePath(name), bytes, problems);
    };
    for (int i = 0; i < book.pages.size(); ++i) {
        const PageSource& page = book.pages[i];
        write(pieceName(page.pageNumber, 0, "jpg"), built.pagePictures[i]);
        for (const Entry& e : page.entries) {
            write(pieceName(page.pageNumber, e.number, "wav"),
                  recordings.value(entryRecording(e).key()));
        }
    }
    for (const UnitSource& unit : book.units) {
        for (int w = 0; w < unit.words.size(); ++w) {
            write(QStringLiteral("unit%1-%2.wav").arg(unit.unit).arg(w + 1, 2, 10, QChar('0')),
                  recordings.value(unitWordRecording(unit.words[w]).key()));
        }
    }
    for (const ClipSource& clip : book.clips) {
        write(QStringLiteral("clip-%1.wav").arg(clip.role), recordings.value(clip.recording.key()));
    }
    for (const PictureSource& picture : book.pictures) {
        write(QStringLiteral("picture-%1.%2").arg(picture.name, picture.format.toLower()),
              built.pictures.value(picture.name));
    }
    if (!problems.empty()) {
        printProblems(problems);
        return 1;
    }
    printf("%d piece(s) written to %s; %s\n", files, qPrintable(options.out),
           qPrintable(conversions.report()));
    return 0;
}

}  // namespace

bool Selection::parse(const QString& text, QString& error) {
    static const QRegularExpression page(QStringLiteral("^p?(\\d+)$"));
    static const QRegularExpression unit(QStringLiteral("^unit([1-6])$"));
    for (const QString& raw : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString piece = raw.trimmed().toLower();
        const auto pageMatch = page.match(piece);
        const auto unitMatch = unit.match(piece);
        if (pageMatch.hasMatch()) {
            const int number = pageMatch.captured(1).toInt();
            const bool known =
                std::any_of(kScreens.begin(), kScreens.end(),
                            [number](const ScreenProfile& s) { return s.page == number; });
            if (!known) {
                error = QStringLiteral("the book has no page %1").arg(number);
                return false;
            }
            pages.append(number);
        } else if (unitMatch.hasMatch()) {
            units.append(unitMatch.captured(1).toInt());
        } else if (piece == QLatin1String("clips")) {
            clips = true;
        } else if (piece == QLatin1String("pictures")) {
            pictures = true;
        } else {
            error = QStringLiteral("unknown piece \"%1\" (pNN, unitN, clips, pictures)").arg(raw);
            return false;
        }
    }
    return true;
}

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
    const Selection& only = options.only;
    BookSources book =
        readSources(options.source, only.pages, problems, only.whole() || !only.pages.isEmpty());
    const bool wholeBook = only.whole();
    if (!wholeBook) {
        // A partial run checks and makes the chosen pieces; the unit lists are always checked.
        if (!only.clips) book.clips.clear();
        if (!only.pictures) book.pictures.clear();
        if (only.clips) checkClips(book.clips, problems);
        if (only.pictures) checkPictures(book.pictures, problems);
    }
    checkBook(book, wholeBook, problems);
    checkSuppliedFiles(book, problems);
    if (!problems.empty()) {
        printProblems(problems);
        return 1;
    }
    if (!options.preview.isEmpty() && !writePreviews(book, options, problems)) {
        printProblems(problems);
        return 1;
    }
    const QList<RecordingJob> jobs = recordingJobs(book);
    if (!options.out.isEmpty() && wholeBook && !writeRecordingList(jobs, options.out)) {
        fprintf(stderr, "cannot write the recording list to %s\n", qPrintable(options.out));
        return 1;
    }
    if (options.checkOnly || (!wholeBook && options.out.isEmpty())) {
        printf("content checked: %d page(s), no problems\n", int(book.pages.size()));
        return 0;
    }
    if (!wholeBook) {
        QList<UnitSource> units;
        for (const UnitSource& unit : book.units) {
            if (only.units.contains(unit.unit)) units.append(unit);
        }
        book.units = units;
        return buildPieces(book, options, problems);
    }
    BuiltBook built;
    built.sources = &book;
    Conversions conversions;
    built.recordings =
        makeRecordings(jobs, options.cache, options.parallel, problems, &conversions.recordings);
    if (problems.empty()) renderPages(book, options, built, conversions, problems);
    if (problems.empty()) renderWindowPictures(book, options, built, conversions, problems);
    if (!problems.empty()) {
        printProblems(problems);
        return 1;
    }
    QString error, summary;
    if (!writeBook(built, options.out, &error, &summary)) {
        fprintf(stderr, "content build stopped: %s\n", qPrintable(error));
        return 1;
    }
    printf("content built in %.1f s on %d thread(s): %s; %s\n", clock.elapsed() / 1000.0,
           std::max(1, options.parallel), qPrintable(summary), qPrintable(conversions.report()));
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
