// What teachers' devices produce, given to the content tool: phones' and browsers' recordings,
// WEBP and TIFF pictures, text saved by Notepad or as GBK, files of the wrong kind, and a book
// on a machine without the voices.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "common/file_kinds.h"
#include "pictures/supplied_pictures.h"
#include "recordings/pipeline.h"
#include "recordings/wav_image.h"
#include "sources/new_book.h"
#include "sources/sources.h"
#include "sources/supplied_files.h"
#include "sources/text_files.h"

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

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The template book written into `folder`, as `--new-book` writes it.
bool writeTemplate(const QString& folder) {
    const QMap<QString, QByteArray> files = newBookFiles();
    for (auto it = files.begin(); it != files.end(); ++it) {
        if (!writeFile(QDir(folder).filePath(it.key()), it.value())) return false;
    }
    return true;
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

TEST(TeachersTexts, Utf8WithOrWithoutMarkAndGbkAreReadAndACharacterGbkLacksIsNamed) {
    const QString page = QStringLiteral("page 10\n1 | title | 0,0,10,10 | Hello! | 你好！\n");
    QString text;
    TextProblem problem;
    EXPECT_TRUE(decodeText("\xEF\xBB\xBF" + page.toUtf8(), text, problem));
    EXPECT_EQ(text, page) << "the byte-order mark is not part of the first line";
    QStringEncoder gbk("GBK");
    const QByteArray gbkPage = gbk.encode(page);
    EXPECT_TRUE(decodeText(gbkPage, text, problem));
    EXPECT_EQ(text, page);
    EXPECT_FALSE(decodeText("page 10\ntheme sky\nHello \xFF\xFF\n", text, problem));
    EXPECT_EQ(problem.line, 3);
    // A mark says UTF-8: GBK after it is not taken for GBK.
    EXPECT_FALSE(decodeText("\xEF\xBB\xBF" + gbkPage, text, problem));
    EXPECT_EQ(problem.line, 2);

    const QList<TextProblem> outside =
        charactersOutsideGbk(QStringLiteral("page 10\ntheme sky\nHello, you!😊 | 你好"));
    ASSERT_EQ(outside.size(), 1);
    EXPECT_EQ(outside[0].line, 3);
    EXPECT_EQ(outside[0].message, QStringLiteral("第 3 行第 12 个字：😊 不能用 GBK 编码 (line 3, "
                                                 "character 12: 😊 cannot be written in GBK)"));

    // Read from a content folder: a page saved as GBK, one with a mark, one with an emoji.
    QTemporaryDir dir;
    ASSERT_TRUE(writeTemplate(dir.path()));
    const QString p10 = dir.filePath("pages/p01.txt"), p12 = dir.filePath("pages/p02.txt");
    const QString p14 = dir.filePath("pages/p03.txt");
    const QString original = QString::fromUtf8(readFile(p10));
    ASSERT_TRUE(writeFile(p10, QByteArray(gbk.encode(original))));
    ASSERT_TRUE(writeFile(p12, "\xEF\xBB\xBF" + readFile(p12)));
    ASSERT_TRUE(writeFile(p14, readFile(p14) + "# 😊\n"));
    const int emojiLine = int(readFile(p14).count('\n'));
    Problems problems;
    const BookSources book = readSources(dir.path(), {1, 2, 3}, problems);
    EXPECT_EQ(problems.report(),
              QStringLiteral("%1:%2: 第 %2 行第 3 个字：😊 不能用 GBK 编码 (line %2, character 3: 😊 "
                             "cannot be written in GBK)\n")
                  .arg(p14)
                  .arg(emojiLine));
    ASSERT_EQ(book.pages.size(), 3);
    Problems none;
    const PageSource utf8 = parsePage(p10, original, none);
    ASSERT_EQ(book.pages[0].entries.size(), utf8.entries.size());
    for (int e = 0; e < utf8.entries.size(); ++e)
        EXPECT_EQ(book.pages[0].entries[e].chinese, utf8.entries[e].chinese);
    EXPECT_EQ(book.pages[1].pageNumber, 2);
}

TEST(WrongKinds, EachSaysWhatTheFileIsAndHowToConvertIt) {
    QTemporaryDir dir;
    // A Word document saved in place of a page file.
    QByteArray docx = QByteArray("PK\x03\x04", 4) + QByteArray(26, '\0') + "[Content_Types].xml";
    docx += QByteArray(300, 'x') + "PK\x03\x04" + QByteArray(26, '\0') + "word/document.xml";
    QString text;
    TextProblem problem;
    EXPECT_FALSE(decodeText(docx, text, problem));
    EXPECT_EQ(problem.message,
              "is a Word document (.docx), not plain text: in Word choose Save "
              "As, \"Plain Text (*.txt)\" and the encoding \"Unicode (UTF-8)\"");
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

TEST(NoVoice, ALineWithNoRecordingStopsTheToolWhereItsVoiceIsMissing) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("book");
    ASSERT_TRUE(writeTemplate(folder));
    // Entry 1 of page 1 has its recording, entry 2 is Mandarin, the others are English.
    const QString p68 = folder + "/pages/p01.txt";
    QStringList lines = QString::fromUtf8(readFile(p68)).split('\n');
    int english = 0, mandarin = 0, recorded = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const auto add = [&](const QString& option) {
            lines[i] += (lines[i].count('|') == 5 ? "; " : " | ") + option;
            return i + 1;
        };
        if (lines[i].startsWith("1 | ")) recorded = add("audio: one.wav");
        if (lines[i].startsWith("2 | ")) mandarin = add("voice: zh");
        if (lines[i].startsWith("3 | ")) english = i + 1;
    }
    ASSERT_TRUE(writeFile(p68, lines.join('\n').toUtf8()));
    ASSERT_EQ(run("sox", {"-n", "-r", "16000", "-c", "1", folder + "/one.wav", "synth", "0.5",
                          "sine", "440"}),
              "");
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PATH", dir.filePath("no-programs"));  // neither festival nor espeak-ng
    tool.setProcessEnvironment(environment);
    tool.start(QStringLiteral(QCBOOK_TOOL), {"--source", folder, "--check", "--only", "p01"});
    ASSERT_TRUE(tool.waitForFinished(120000));
    const QString errors = QString::fromLocal8Bit(tool.readAllStandardError());
    EXPECT_EQ(tool.exitCode(), 1);
    const QString at = p68 +
                       ":%1: no recording for this line, and no voice is installed: add "
                       "audio: ... or install %2\n";
    EXPECT_TRUE(errors.contains(at.arg(english).arg("festival"))) << qPrintable(errors);
    EXPECT_TRUE(errors.contains(at.arg(mandarin).arg("espeak-ng"))) << qPrintable(errors);
    EXPECT_FALSE(errors.contains(QStringLiteral("%1:%2:").arg(p68).arg(recorded)))
        << qPrintable(errors);
}
