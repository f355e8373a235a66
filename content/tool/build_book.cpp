#include "build_book.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cstdio>

#include "pack/book_file_out.h"
#include "pack/pack.h"
#include "pictures/art/page_art.h"
#include "pictures/book_pictures.h"
#include "pictures/preview.h"
#include "recordings/listen_check.h"
#include "recordings/make_recordings.h"
#include "recordings/synth.h"
#include "sources/checks.h"
#include "sources/supplied_files.h"

namespace tool {

namespace {

QString pictureCache(const Options& options) {
    return QDir(options.cache).filePath(QStringLiteral("pictures"));
}

// pNN.EXT for a page, pNN-EE.EXT for its entry EE.
QString pieceName(int page, int entry, const char* extension) {
    QString name = QStringLiteral("p%1").arg(page, 2, 10, QChar('0'));
    if (entry > 0) name += QStringLiteral("-%1").arg(entry, 2, 10, QChar('0'));
    return name + QLatin1Char('.') + QLatin1String(extension);
}

// Prints the problems that stopped a build; returns its exit code.
int stopped(const Problems& problems) {
    fputs(problems.report().toLocal8Bit().constData(), stderr);
    fprintf(stderr, "content build stopped: %d problem(s)\n", int(problems.list().size()));
    return 1;
}

// What a run converted and what it took from the cache, told at its end so that a teacher (and
// a test) sees that an unchanged file was not converted again.
struct Conversions {
    RecordingCounts recordings;
    PictureCounts pictures;
    QString report() const {
        QString text = QStringLiteral("recordings: %1 made, %2 from the cache")
                           .arg(recordings.finished)
                           .arg(recordings.reused);
        if (pictures.supplied > 0) {
            text += QStringLiteral("; supplied pictures: %1 converted, %2 from the cache")
                        .arg(pictures.converted.load())
                        .arg(pictures.supplied - pictures.converted);
        }
        return text;
    }
};

// The page pictures, then the window pictures; problems when one cannot be made.
void makePictures(const BookSources& book, const Options& options, BuiltBook& built,
                  Conversions& conversions, Problems& problems) {
    if (!makePagePictures(book, pictureCache(options), options.parallel, built.pagePictures,
                          built.pagePictureSizes, conversions.pictures, problems)) {
        return;
    }
    makeWindowPictures(book, pictureCache(options), options.parallel, built.pictures,
                       conversions.pictures, problems);
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
    if (problems.empty()) makePictures(book, options, built, conversions, problems);
    if (!problems.empty()) return stopped(problems);
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
    if (!problems.empty()) return stopped(problems);
    printf("%d piece(s) written to %s; %s\n", files, qPrintable(options.out),
           qPrintable(conversions.report()));
    return 0;
}

}  // namespace

Vocabulary bookVocabulary() {
    return {art::knownThings(), art::countedThings(), art::speakers(), art::knownColours(),
            soundRecipes()};
}

bool Selection::parse(const QString& text, QString& error) {
    static const QRegularExpression page(QStringLiteral("^p?(\\d+)$"));
    static const QRegularExpression unit(QStringLiteral("^unit(\\d+)$"));
    for (const QString& raw : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString piece = raw.trimmed().toLower();
        const auto pageMatch = page.match(piece);
        const auto unitMatch = unit.match(piece);
        if (pageMatch.hasMatch()) {
            pages.append(pageMatch.captured(1).toInt());
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

namespace {

// The chosen pieces the book does not have; empty when it has them all.
QString missingPieces(const Selection& only, const BookSources& book) {
    QStringList missing;
    for (int page : only.pages) {
        if (!book.pageNumbers.contains(page))
            missing << QStringLiteral("the book has no page %1").arg(page);
    }
    for (int unit : only.units) {
        if (unit < 1 || unit > book.units.size())
            missing << QStringLiteral("the book has no unit %1").arg(unit);
    }
    return missing.join(QStringLiteral("; "));
}

// Listens to the English lines' recordings (finished first, or taken from the cache) and
// prints each that does not seem to say its line as `file:line: ...`; returns the exit code: 1
// when one is flagged.
int listenToRecordings(const BookSources& book, const Options& options) {
    listen::BookHearing hearing;
    Problems problems;
    QString error;
    if (!listen::hearBook(book, options.cache, options.parallel, options.listenSuppliedOnly,
                          hearing, problems, error)) {
        if (!problems.empty()) return stopped(problems);
        fprintf(stderr, "cannot listen to the recordings: %s\n", qPrintable(error));
        return 1;
    }
    const auto& pages = hearing.pages;
    const auto& hearings = hearing.hearings;
    int flagged = 0;
    for (int p = 0; p < pages.size(); ++p) {
        for (int i = 0; i < pages[p].size(); ++i) {
            const QString message = listen::flagMessage(hearings[p][i], pages[p]);
            if (message.isEmpty()) continue;
            ++flagged;
            printf("%s:%d: %s\n", qPrintable(pages[p][i].where.file), pages[p][i].where.line,
                   qPrintable(message));
        }
    }
    printf("content checked: %d page(s), no problems; %d recording(s) listened to, %d flagged\n",
           int(book.pages.size()), hearing.listenedTo, flagged);
    return flagged > 0 ? 1 : 0;
}

}  // namespace

int runContentBuild(const Options& options) {
    QElapsedTimer clock;
    clock.start();
    Problems problems;
    const Selection& only = options.only;
    BookSources book =
        readSources(options.source, only.pages, problems, only.whole() || !only.pages.isEmpty());
    book.builtInVolume = options.builtInVolume;
    const QString missing = missingPieces(only, book);
    if (!missing.isEmpty()) {
        fprintf(stderr, "--only: %s\n", qPrintable(missing));
        return 2;
    }
    const bool wholeBook = only.whole();
    const Vocabulary vocabulary = bookVocabulary();
    if (!wholeBook) {
        // A partial run checks and makes the chosen pieces; the unit lists are always checked.
        if (!only.clips) book.clips.clear();
        if (!only.pictures) book.pictures.clear();
        if (only.clips) checkClips(book.clips, vocabulary, problems);
        if (only.pictures) checkPictures(book.pictures, problems);
    }
    checkBook(book, wholeBook, vocabulary, problems);
    checkSuppliedFiles(book, problems);
    checkVoices(
        book, [&](int unit) { return wholeBook || only.units.contains(unit); }, problems);
    if (!problems.empty()) return stopped(problems);
    if (!options.preview.isEmpty() &&
        !writePreviews(book, options.preview, options.parallel, problems)) {
        return stopped(problems);
    }
    const QList<RecordingJob> jobs = recordingJobs(book);
    if (!options.out.isEmpty() && wholeBook && !writeRecordingList(jobs, options.out)) {
        fprintf(stderr, "cannot write the recording list to %s\n", qPrintable(options.out));
        return 1;
    }
    if (options.checkOnly && options.listen) return listenToRecordings(book, options);
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
    if (problems.empty()) makePictures(book, options, built, conversions, problems);
    if (!problems.empty()) return stopped(problems);
    QString error, summary;
    if (!options.out.isEmpty() && !writeBook(built, options.out, &error, &summary)) {
        fprintf(stderr, "content build stopped: %s\n", qPrintable(error));
        return 1;
    }
    if (!options.bookFile.isEmpty()) {
        if (!writeBookFileTo(built, options.bookFile, &error)) {
            fprintf(stderr, "content build stopped: %s\n", qPrintable(error));
            return 1;
        }
        summary += (summary.isEmpty() ? QString() : QStringLiteral("; ")) +
                   QStringLiteral("book file %1").arg(options.bookFile);
    }
    printf("content built in %.1f s on %d thread(s): %s; %s\n", clock.elapsed() / 1000.0,
           std::max(1, options.parallel), qPrintable(summary), qPrintable(conversions.report()));
    return 0;
}

}  // namespace tool
