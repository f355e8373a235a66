// What teachers' devices produce, given to the content tool: phones' and browsers' recordings,
// WEBP and TIFF pictures, and files of the wrong kind.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QProcess>
#include <QTemporaryDir>

#include "common/file_kinds.h"
#include "pictures/supplied_pictures.h"
#include "recordings/pipeline.h"
#include "recordings/wav_image.h"
#include "sources/sources.h"
#include "sources/supplied_files.h"

using namespace tool;

namespace {

// Runs a program to make a test file; its error output on failure.
QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000)) return program + " did not finish";
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0) return {};
    return program + ": " + QString::fromLocal8Bit(process.readAllStandardError());
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

SuppliedFile supplied(const QString& path) {
    return {QFileInfo(path).fileName(), path, {QStringLiteral("p10.txt"), 3}};
}

// A book whose page has one entry per recording, each naming its file.
BookSources bookOfRecordings(const QStringList& paths) {
    BookSources book;
    PageSource page;
    for (const QString& path : paths) {
        Entry entry;
        entry.where = {QStringLiteral("p10.txt"), int(page.entries.size()) + 2};
        entry.recording.voice = QStringLiteral("file");
        entry.recording.file = QFileInfo(path).fileName();
        entry.recording.path = path;
        page.entries.append(entry);
    }
    book.pages = {page};
    return book;
}

}  // namespace

TEST(TeachersRecordings, PhonesAndBrowsersKindsAreFinishedLikeAnyOther) {
    QTemporaryDir dir;
    // A second of tone between silences, as a voice memo holds a line.
    const QString wav = dir.filePath("tone.wav");
    ASSERT_EQ(run("sox", {"-R", "-n", "-r", "48000", "-c", "2", wav, "synth", "1", "sine",
                          "300-500", "gain", "-15", "pad", "0.4", "0.5"}),
              "");
    struct Case {
        QString name;  // the iPhone's memo is saved under a wrong name: its content tells
        QString kind;
        QString program;
        QStringList arguments;
    };
    const QList<Case> cases{
        {"memo.mp3", "m4a", "ffmpeg", {"-c:a", "aac", "-b:a", "96k", "-f", "ipod"}},
        {"phone.amr", "amr", "sox", {"-r", "8000", "-c", "1", "-t", "amr-nb"}},
        {"browser.opus", "opus", "ffmpeg", {"-ac", "1", "-c:a", "libopus", "-f", "ogg"}},
        {"browser.webm", "webm", "ffmpeg", {"-c:a", "libopus", "-f", "webm"}},
    };
    QStringList paths;
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(c.name));
        const QString path = dir.filePath(c.name);
        paths << path;
        const QStringList arguments =
            c.program == "sox"
                ? QStringList{"-R", wav} + c.arguments + QStringList{path}
                : QStringList{"-v", "error", "-y", "-i", wav, "-map_metadata", "-1"} + c.arguments +
                      QStringList{path};
        ASSERT_EQ(run(c.program, arguments), "");
        EXPECT_EQ(fileKindOfFile(path).id, c.kind);
        QTemporaryDir work;
        QByteArray finished;
        QString error;
        ASSERT_TRUE(finishRecording(path, FinishSpec{"msadpcm"}, work.path(), finished, error))
            << qPrintable(error);
        std::vector<float> mono;
        int rate = 0;
        ASSERT_TRUE(decodeWavMono(finished, mono, rate, &error)) << qPrintable(error);
        const SoundFacts sound = measureSound(mono, rate);
        EXPECT_LE(sound.lead, 0.002);
        EXPECT_NEAR(sound.seconds, 1.0 + kLeadSilence + kTailSilence, 0.05);
        EXPECT_NEAR(sound.loudness, kTargetLoudness, 1.0);
    }
    Problems problems;
    checkSuppliedFiles(bookOfRecordings(paths), problems);
    EXPECT_TRUE(problems.empty()) << qPrintable(problems.report());
}

TEST(TeachersPictures, WebpAndTiffAreTakenAndTurnedUprightAsTheyAsk) {
    QTemporaryDir dir;
    QImage picture(60, 20, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    const QString webp = dir.filePath("photo.webp"), tiff = dir.filePath("scan.tif");
    ASSERT_TRUE(picture.save(webp, "webp", 100));
    // A camera held upright stores the picture on its side and says so in its orientation tag.
    QImageWriter writer(tiff, "tiff");
    writer.setTransformation(QImageIOHandler::TransformationRotate90);
    ASSERT_TRUE(writer.write(picture)) << qPrintable(writer.errorString());
    QList<QImage> frames;
    int delay = 0;
    QString error;
    ASSERT_TRUE(readPicture(webp, frames, delay, error)) << qPrintable(error);
    EXPECT_EQ(frames.first().size(), QSize(60, 20));
    ASSERT_TRUE(readPicture(tiff, frames, delay, error)) << qPrintable(error);
    ASSERT_EQ(frames.first().size(), QSize(20, 60));
    EXPECT_EQ(frames.first().pixel(19, 0), qRgb(255, 0, 0)) << "turned the wrong way";
    BookSources book;
    PageSource page;
    page.image = supplied(tiff);
    book.pages = {page};
    PictureSource window;
    window.image = supplied(webp);
    book.pictures = {window};
    Problems problems;
    checkSuppliedFiles(book, problems);
    EXPECT_TRUE(problems.empty()) << qPrintable(problems.report());
}

TEST(WrongKinds, EachSaysWhatTheFileIsAndHowToConvertIt) {
    QTemporaryDir dir;
    // An iPhone's photo as a page scan, and a video filmed without sound as a recording.
    const QString heic = dir.filePath("p10.jpg");
    ASSERT_TRUE(writeFile(heic, QByteArray("\0\0\0\x18"
                                           "ftypheic\0\0\0\0mif1heic",
                                           24) +
                                    QByteArray(200, '\0')));
    const QString video = dir.filePath("line3.m4a");
    ASSERT_EQ(run("ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i", "color=c=red:s=32x32:d=1",
                             "-c:v", "mpeg4", "-f", "mp4", video}),
              "");
    BookSources book = bookOfRecordings({video});
    book.pages[0].image = supplied(heic);
    Problems problems;
    checkSuppliedFiles(book, problems);
    EXPECT_EQ(problems.report(),
              "p10.txt:3: the picture p10.jpg is a HEIC photo, which the tool does not read: save "
              "it as JPEG or PNG (an iPhone takes JPEG photos with Settings > Camera > Formats > "
              "Most Compatible)\n"
              "p10.txt:2: the recording line3.m4a is a video with no sound: record it again, or "
              "export it as M4A, MP3 or WAV\n");
}

