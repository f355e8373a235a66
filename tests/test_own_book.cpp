// A school's own book: a content folder made from the template, with page scans and a
// teacher's recordings, checked, previewed and built by the content tool.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "build_book.h"
#include "pack/pack.h"
#include "pictures/preview.h"
#include "pictures/supplied_pictures.h"
#include "recordings/make_recordings.h"
#include "recordings/pipeline.h"
#include "recordings/wav_image.h"
#include "sources/book_profile.h"
#include "sources/built_in_volume.h"
#include "sources/checks.h"
#include "sources/new_book.h"
#include "sources/sources.h"

using namespace tool;

namespace {

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString errors;
};

ToolRun runTool(const QStringList& arguments) {
    QProcess tool;
    tool.start(QStringLiteral(QCBOOK_TOOL), arguments);
    ToolRun run;
    if (!tool.waitForFinished(300000)) return run;
    run.exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    run.out = QString::fromLocal8Bit(tool.readAllStandardOutput());
    run.errors = QString::fromLocal8Bit(tool.readAllStandardError());
    return run;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString readText(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

// A plain "scan": one colour with a dark frame, saved as JPEG.
bool writeScan(const QString& path, QSize size, const QColor& colour) {
    QImage scan(size, QImage::Format_RGB32);
    scan.fill(colour);
    QPainter p(&scan);
    p.setPen(QPen(Qt::black, 4));
    p.drawRect(scan.rect().adjusted(2, 2, -3, -3));
    p.end();
    QDir().mkpath(QFileInfo(path).path());
    return scan.save(path, "JPEG", 92);
}

// A content folder made from the template by the tool itself.
class TemplateBook : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        const ToolRun run = runTool({"--new-book", folder()});
        ASSERT_EQ(run.exitCode, 0) << qPrintable(run.errors);
    }
    QString folder() const { return dir_.path() + "/book"; }
    QString path(const QString& relative) const { return folder() + "/" + relative; }

    // Appends an option to entry `entry` of page `page`; returns the line's number.
    int addOption(int page, int entry, const QString& option) {
        const QString file = path(QStringLiteral("pages/p%1.txt").arg(page, 2, 10, QChar('0')));
        QStringList lines = readText(file).split('\n');
        for (int i = 0; i < lines.size(); ++i) {
            if (!lines[i].startsWith(QString::number(entry) + " | ")) continue;
            lines[i] += (lines[i].count('|') == 5 ? "; " : " | ") + option;
            writeFile(file, lines.join('\n').toUtf8());
            return i + 1;
        }
        return -1;
    }
    // Turns the page's commented image line into a real one; returns its line number.
    int useScan(int page) {
        const QString file = path(QStringLiteral("pages/p%1.txt").arg(page, 2, 10, QChar('0')));
        QStringList lines = readText(file).split('\n');
        for (int i = 0; i < lines.size(); ++i) {
            if (!lines[i].startsWith("# image: ")) continue;
            lines[i].remove(0, 2);
            writeFile(file, lines.join('\n').toUtf8());
            return i + 1;
        }
        return -1;
    }
    QString at(int page, int line) const {
        return QStringLiteral("p%1.txt:%2: ").arg(page, 2, 10, QChar('0')).arg(line);
    }

    QTemporaryDir dir_;
};

}  // namespace

TEST(NewBook, TheTemplateIsASmallTruthfulBookThatPassesTheCheck) {
    const QMap<QString, QByteArray> files = newBookFiles();
    QTemporaryDir dir;
    for (auto it = files.begin(); it != files.end(); ++it)
        ASSERT_TRUE(writeFile(dir.filePath(it.key()), it.value()));
    Problems problems;
    const BookSources book = readSources(dir.path(), {}, problems);
    checkBook(book, true, bookVocabulary(), problems);
    EXPECT_TRUE(problems.empty()) << qPrintable(problems.report());
    // A handful of pages of a few entries each, one of them a word list; no filler entries.
    ASSERT_EQ(book.pages.size(), 4);
    int wordLists = 0;
    for (const PageSource& page : book.pages) {
        wordLists += page.wordList;
        EXPECT_LE(page.entries.size(), 8) << page.pageNumber;
        EXPECT_FALSE(page.image.given()) << "a scan is named only once the school has one";
        for (const Entry& e : page.entries)
            EXPECT_NE(e.english, "$") << "page " << page.pageNumber << " entry " << e.number;
    }
    EXPECT_EQ(wordLists, 1);
    EXPECT_EQ(book.sections.size(), 3);
    EXPECT_EQ(book.units.size(), 2);
    // The names are the school's to fill in, not the built-in volume's.
    EXPECT_FALSE(book.names.title.text.isEmpty());
    EXPECT_NE(book.names.title.text, QStringLiteral("青橙英语三年级上册点读软件"));
    EXPECT_EQ(book.clips.size(), int(kClipRoles.size()));
    EXPECT_EQ(book.pictures.size(), requiredPictures().size());
    // The guide speaks to the teacher in both languages and names every file.
    const QString guide = QString::fromUtf8(files.value("README.md"));
    for (const char* needle :
         {"哪个文件放什么", "Which file holds what", "book.txt", "word list", "pages/p01.txt",
          "units/unit1.txt", "clips.txt", "pictures.txt", "start_about.html", "--preview",
          "--book-file", "qcbook our-book.qcbook", "audio:", "image:"}) {
        EXPECT_TRUE(guide.contains(QString::fromUtf8(needle))) << needle;
    }
}

TEST_F(TemplateBook, TheToolWritesItOnceAndNeverOverAnotherFolder) {
    for (const char* sub : {"scans", "recordings", "pictures"})
        EXPECT_TRUE(QDir(path(sub)).exists());
    const ToolRun check = runTool({"--source", folder(), "--check"});
    EXPECT_EQ(check.exitCode, 0) << qPrintable(check.errors);
    writeFile(path("units/unit1.txt"), "mine | 我的\n");
    const ToolRun again = runTool({"--new-book", folder()});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.errors.contains("is not empty"));
    EXPECT_EQ(readText(path("units/unit1.txt")), "mine | 我的\n")
        << "a teacher's work was overwritten";
}

TEST(SuppliedPictures, AScanKeepsItsAspectOnAWhiteMarginAtThePageSize) {
    QImage tall(300, 900, QImage::Format_RGB32);
    tall.fill(Qt::red);
    const QImage page = fitPicture(tall, QSize(2150, 1524), Qt::white);
    ASSERT_EQ(page.size(), QSize(2150, 1524));
    // 1524 high: 508 wide, centred.
    EXPECT_EQ(page.pixelColor(1075, 10), QColor(Qt::red));
    EXPECT_EQ(page.pixelColor(1075 - 250, 762), QColor(Qt::red));
    EXPECT_EQ(page.pixelColor(1075 - 258, 762), QColor(Qt::white));
    EXPECT_EQ(page.pixelColor(1075 + 258, 762), QColor(Qt::white));
    EXPECT_EQ(fittedRect(QSizeF(4000, 1000), QSizeF(800, 540)), QRectF(0, 170, 800, 200));

    QTemporaryDir dir;
    const QString scan = dir.filePath("p52.jpg");
    ASSERT_TRUE(writeScan(scan, QSize(1203, 1611), QColor(200, 230, 255)));
    QString error;
    const QByteArray jpeg = suppliedPagePicture({"p52.jpg", scan, {}}, builtInPagePictureSize(52),
                                                dir.filePath("cache"), error);
    ASSERT_FALSE(jpeg.isEmpty()) << qPrintable(error);
    EXPECT_EQ(QImage::fromData(jpeg).size(), QSize(801, 560));
    EXPECT_EQ(QDir(dir.filePath("cache")).entryList(QDir::Files).size(), 1);
}

TEST_F(TemplateBook, ThePreviewOutlinesEveryHotspotAndAnswerBoxOnTheScan) {
    // Page 2 of the template: a listening exercise with its fill-in boxes and listen icon.
    ASSERT_TRUE(writeScan(path("scans/p02.jpg"), QSize(1777, 2391), QColor(255, 240, 200)));
    ASSERT_GT(useScan(2), 0);
    const QString preview = dir_.path() + "/preview";
    const ToolRun run =
        runTool({"--source", folder(), "--check", "--only", "p02", "--preview", preview});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.errors);
    const QImage sheet(preview + "/p02.png");
    ASSERT_EQ(sheet.size(), QSize(800, 540));
    Problems problems;
    const PageSource page = readSources(folder(), {2}, problems).pages.value(0);
    ASSERT_EQ(page.entries.size(), 5);
    ASSERT_EQ(page.fills.size(), 3);
    auto near = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                   std::abs(a.blue() - b.blue()) <
               60;
    };
    // Each rectangle's bottom edge, away from its number tag, is drawn in the outline colour.
    for (const Entry& e : page.entries) {
        const QPoint edge(e.rect.center().x(), e.rect.bottom());
        EXPECT_TRUE(near(sheet.pixelColor(edge), kHotspotOutline))
            << "hotspot " << e.number << " " << qPrintable(sheet.pixelColor(edge).name());
    }
    for (const FillBox& f : page.fills) {
        const QPoint edge(f.pos.x() + kFillBoxSize / 2, f.pos.y() + kFillBoxSize - 1);
        EXPECT_TRUE(near(sheet.pixelColor(edge), kAnswerOutline)) << "fill box " << f.number;
    }
    // The scan (taller than the page) stands in the middle with white margins either side.
    const QRectF scan = fittedRect(QSizeF(1777, 2391), QSizeF(2150, 1524));
    const int left = int(scan.left() * 800 / 2150);
    EXPECT_TRUE(near(sheet.pixelColor(left - 6, 530), Qt::white));
    EXPECT_TRUE(near(sheet.pixelColor(left + 12, 530), QColor(255, 240, 200)));
}

TEST_F(TemplateBook, WindowPicturesFromFilesTakeTheirPlacesSizeAndFormat) {
    QImage cover(500, 500, QImage::Format_RGB32);
    cover.fill(Qt::blue);
    ASSERT_TRUE(cover.save(path("pictures/cover.png")));
    QImage button(300, 60, QImage::Format_ARGB32);
    button.fill(Qt::green);
    ASSERT_TRUE(button.save(path("pictures/start.png")));
    QString pictures = readText(path("pictures.txt"));
    pictures.replace(QRegularExpression("(\\ncover [^\\n]*)"), "\\1 | image: pictures/cover.png");
    pictures.replace(QRegularExpression("(\\nstart_button [^\\n]*)"),
                     "\\1 | image: pictures/start.png");
    writeFile(path("pictures.txt"), pictures.toUtf8());
    const QString pieces = dir_.path() + "/pieces";
    const ToolRun run = runTool({"--source", folder(), "--only", "pictures", "--out", pieces});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.errors);
    // The square cover stands in the middle of the tall JPEG, on white above and below.
    const QImage coverPicture(pieces + "/picture-cover.jpg");
    ASSERT_EQ(coverPicture.size(), QSize(1092, 1512));
    EXPECT_LT(qBlue(coverPicture.pixel(546, 10)) - qRed(coverPicture.pixel(546, 10)), 20);
    EXPECT_GT(qBlue(coverPicture.pixel(546, 756)), 200);
    EXPECT_LT(qRed(coverPicture.pixel(546, 756)), 40);
    // The wide button keeps its aspect in its PNG: see-through above and below it.
    const QImage buttonPicture(pieces + "/picture-start_button.png");
    ASSERT_EQ(buttonPicture.size(), QSize(100, 40));
    EXPECT_EQ(qAlpha(buttonPicture.pixel(50, 3)), 0);
    EXPECT_EQ(buttonPicture.pixelColor(50, 20), QColor(Qt::green));
}

namespace {

// Makes a recording with sox: `input` before the output file, `effects` after it; -R makes
// the same file on every run (sox dithers with a random seed otherwise).
bool sox(const QStringList& input, const QString& output, const QStringList& effects) {
    QDir().mkpath(QFileInfo(output).path());
    return QProcess::execute("sox", QStringList{"-R"} + input + QStringList{output} + effects) == 0;
}

// A second and a half of warbling tone at the rate and channel count, at `volume`.
bool tone(const QString& output, int rate, int channels, const QString& volume,
          const QStringList& more = {}) {
    return sox(
        {"-n", "-r", QString::number(rate), "-c", QString::number(channels)}, output,
        QStringList{"synth", "1.5", "sine", "300-600", "tremolo", "6", "50", "vol", volume} + more);
}

SoundFacts factsOf(const QByteArray& wav, WavFacts& coded) {
    std::vector<float> mono;
    int rate = 0;
    if (!inspectWav(wav, coded, nullptr) || !decodeWavMono(wav, mono, rate, nullptr)) return {};
    return measureSound(mono, rate);
}

// "recordings: N made" from the tool's last line: how many recordings a run converted.
int recordingsMade(const ToolRun& run) {
    static const QRegularExpression made(QStringLiteral("recordings: (\\d+) made"));
    const auto match = made.match(run.out);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

}  // namespace

TEST(SuppliedRecordings, EachLineNamesItsFileAndItsRoleTellsHowItIsFinished) {
    Problems problems;
    PageSource page =
        parsePage("p10.txt",
                  "page 10\n"
                  "2 | text | 10,10,100,30 | Hello. | 你好。 | audio: rec/a.ogg\n"
                  "3 | text | 10,50,100,30 | $ | $ | codec: ima; audio: rec/a.ogg\n"
                  "4 | text | 10,90,100,30 | Hi. | 嗨。 | sound: bark; audio: rec/b.wav\n",
                  problems);
    QList<ClipSource> clips = parseClips("clips.txt",
                                         "praise1 | en | mp3/24000/1 | Great job! | audio: p.mp3\n"
                                         "match_music | synth | mp3/16000/2 | tune | audio: m.mp3\n"
                                         "match_pair | synth | ima | sparkle | audio:\n",
                                         problems);
    UnitSource unit = parseUnit("unit1.txt", 1, "ruler | 尺子 | audio: rec/ruler.flac\n", problems);
    BookSources book;
    book.pages = {page};
    book.clips = clips;
    book.units = {unit};
    resolveSuppliedFiles(book, "/school/book");
    // The placeholder needs no say: with a file; a sound and a file at once is refused; a clip
    // line's audio: must name a file.
    EXPECT_EQ(problems.report().toStdString(),
              "p10.txt:4: an entry plays a sound: or an audio: file, not both\n"
              "clips.txt:3: expected \"role | voice | codec | text [| audio: FILE]\"\n");
    const Recording hello = entryRecording(book.pages[0].entries[0]);
    const Recording placeholder = entryRecording(book.pages[0].entries[1]);
    EXPECT_TRUE(hello.supplied());
    EXPECT_EQ(hello.path, "/school/book/rec/a.ogg");
    EXPECT_EQ(hello.text, "Hello.") << "it still says its line (the recognition check reads it)";
    EXPECT_TRUE(finishSpec(hello).trim);
    // One file in two codecs is two recordings; the same file and codec would be one.
    EXPECT_NE(hello.key(), placeholder.key());
    EXPECT_EQ(placeholder.codec, "ima");
    const Recording ruler = unitWordRecording(book.units[0].words[0]);
    EXPECT_EQ(ruler.path, "/school/book/rec/ruler.flac");
    EXPECT_EQ(book.units[0].words[0].audio.where.line, 1);
    ASSERT_EQ(book.clips.size(), 2);
    EXPECT_TRUE(book.clips[0].recording.supplied());
    EXPECT_TRUE(finishSpec(book.clips[0].recording).trim);
    // The looped music keeps its length: cutting its silence would change the loop.
    EXPECT_FALSE(finishSpec(book.clips[1].recording).trim);
    EXPECT_NE(book.clips[1].recording.key(),
              Recording(book.clips[1].recording.text, "file", "mp3/16000/2",
                        book.clips[1].recording.file, book.clips[1].recording.path)
                  .key());
}

TEST_F(TemplateBook, ATeachersRecordingsAndScansAreFinishedForTheirRoles) {
    // A recording in each accepted format, one saved under the wrong name, and two scans of
    // odd sizes.
    ASSERT_TRUE(tone(path("recordings/mono8k.flac"), 8000, 1, "0.2"));
    ASSERT_TRUE(tone(path("recordings/stereo48k.ogg"), 48000, 2, "0.9"));
    ASSERT_TRUE(tone(path("recordings/late.wav"), 22050, 1, "0.5", {"pad", "2", "0.6"}));
    ASSERT_TRUE(tone(path("recordings/song.mp3"), 44100, 2, "0.4"));
    ASSERT_TRUE(sox({"-n", "-r", "16000", "-c", "1", "-t", "flac"}, path("recordings/flac.wav"),
                    {"synth", "1", "sine", "440", "vol", "0.3"}));
    ASSERT_TRUE(writeScan(path("scans/p01.jpg"), QSize(1111, 777), QColor(230, 255, 230)));
    ASSERT_TRUE(writeScan(path("scans/p04.jpg"), QSize(999, 1601), QColor(255, 230, 230)));
    ASSERT_GT(useScan(1), 0);
    ASSERT_GT(useScan(4), 0);
    // Page 1's first four entries in four codecs, the word list's hotspots, the words of unit 2
    // and every built-in clip (the looped music among them).
    const QStringList files{"mono8k.flac", "stereo48k.ogg", "late.wav", "song.mp3"};
    const QStringList codecs{"msadpcm", "ima", "mp3/24000/1", "pcm16/22050/2"};
    for (int e = 1; e <= 4; ++e) {
        const QString codec = e == 1 ? QString() : "codec: " + codecs[e - 1] + "; ";
        ASSERT_GT(addOption(1, e, codec + "audio: recordings/" + files[e - 1]), 0);
    }
    // Every hotspot of the word list has a recording of its own; the third's is the FLAC.
    for (int e = 1; e <= 8; ++e) {
        const QString file = QStringLiteral("recordings/w%1.wav").arg(e);
        if (e != 3) {
            ASSERT_TRUE(sox({"-n", "-r", "16000", "-c", "1"}, path(file),
                            {"synth", "0.6", "sine", QString::number(300 + 7 * e), "vol", "0.3"}));
        }
        ASSERT_GT(addOption(4, e, e == 3 ? "audio: recordings/flac.wav" : "audio: " + file), 0);
    }
    QString unit = readText(path("units/unit2.txt"));
    unit.replace(QRegularExpression("(?m)^([a-z]+ \\| \\S+)$"), "\\1 | audio: recordings/late.wav");
    writeFile(path("units/unit2.txt"), unit.toUtf8());
    QString clips = readText(path("clips.txt"));
    clips.replace(QRegularExpression("\\n([a-z_0-9]+ \\|[^\\n]*)"),
                  "\n\\1 | audio: recordings/song.mp3");
    writeFile(path("clips.txt"), clips.toUtf8());

    const QString pieces = dir_.path() + "/pieces", cache = dir_.path() + "/cache";
    const QStringList build{"--source", folder(), "--only",  "p01,p04,unit2,clips",
                            "--out",    pieces,   "--cache", cache};
    const ToolRun run = runTool(build);
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.errors);
    EXPECT_GT(recordingsMade(run), 10) << qPrintable(run.out);

    EXPECT_EQ(QImage(pieces + "/p01.jpg").size(), QSize(2150, 1524));
    EXPECT_EQ(QImage(pieces + "/p04.jpg").size(), QSize(2150, 1524));
    auto expectFinished = [&](const QString& piece, const QString& codec, bool loop = false) {
        QFile file(pieces + "/" + piece);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(piece);
        WavFacts coded;
        const SoundFacts sound = factsOf(file.readAll(), coded);
        EXPECT_TRUE(matchesCodec(coded, codec)) << qPrintable(piece + " " + codec);
        EXPECT_FALSE(sound.silent) << qPrintable(piece);
        EXPECT_NEAR(sound.loudness, kTargetLoudness, 1.0) << qPrintable(piece);
        if (loop) {
            // Played looped: its length stays as it was, silence and all.
            EXPECT_NEAR(sound.seconds, 1.5, 0.1) << qPrintable(piece);
            return;
        }
        EXPECT_LE(sound.lead, 0.002) << qPrintable(piece);
        EXPECT_NEAR(sound.tail, kTailSilence, 0.03) << qPrintable(piece);
        EXPECT_LT(sound.seconds, 1.8) << qPrintable(piece) << ": the silence was not cut";
    };
    for (int e = 1; e <= 4; ++e)
        expectFinished(QStringLiteral("p01-0%1.wav").arg(e), codecs[e - 1]);
    expectFinished("p04-03.wav", "msadpcm");
    expectFinished("p04-08.wav", "msadpcm");
    expectFinished("unit2-01.wav", "msadpcm");
    for (const ClipRoleProfile& role : kClipRoles) {
        if (role.codec) {
            expectFinished(QStringLiteral("clip-%1.wav").arg(role.role), role.codec,
                           isLoopedClipRole(role.role));
        }
    }

    // Built again: nothing is converted again; a changed recording is, and only it.
    const auto cacheFiles = [&] {
        QStringList names;
        QDirIterator it(cache, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info(it.next());
            names << info.fileName() + "@" +
                         QString::number(info.lastModified().toMSecsSinceEpoch());
        }
        names.sort();
        return names;
    };
    const QStringList first = cacheFiles();
    const ToolRun again = runTool(build);
    ASSERT_EQ(again.exitCode, 0) << qPrintable(again.errors);
    EXPECT_EQ(recordingsMade(again), 0) << qPrintable(again.out);
    EXPECT_TRUE(again.out.contains("supplied pictures: 0 converted, 2 from the cache"))
        << qPrintable(again.out);
    EXPECT_EQ(cacheFiles(), first);
    ASSERT_TRUE(tone(path("recordings/mono8k.flac"), 8000, 1, "0.3"));
    const ToolRun changed = runTool(build);
    ASSERT_EQ(changed.exitCode, 0) << qPrintable(changed.errors);
    EXPECT_EQ(recordingsMade(changed), 1) << qPrintable(changed.out);
    EXPECT_EQ(cacheFiles().size(), first.size() + 1);
}

TEST_F(TemplateBook, BrokenFilesStopTheCheckAtTheLineThatNamesThem) {
    writeFile(path("recordings/text.wav"), "This is not a recording.\n");
    writeFile(path("recordings/empty.wav"), "");
    writeFile(path("scans/p02.jpg"), "Not a picture either.\n");
    writeFile(path("pictures/flower.png"), "");
    // An Ogg Opus stream cut short in its first page.
    writeFile(path("recordings/opus.opus"),
              QByteArray("OggS") + QByteArray(22, '\0') + QByteArray("\x01\x13") +
                  QByteArray("OpusHead\x01\x02") + QByteArray(64, '\0'));
    const int missing = addOption(1, 1, "audio: recordings/missing.wav");
    const int text = addOption(1, 2, "audio: recordings/text.wav");
    const int empty = addOption(1, 3, "audio: recordings/empty.wav");
    const int picture = useScan(2);
    // Two words of the word list that would play one teacher's recording.
    ASSERT_TRUE(sox({"-n", "-r", "16000", "-c", "1"}, path("recordings/apple.wav"),
                    {"synth", "0.5", "sine", "440"}));
    const int apple = addOption(4, 1, "audio: recordings/apple.wav");
    const int sameApple = addOption(4, 2, "audio: recordings/apple.wav");
    QString unit = readText(path("units/unit2.txt"));
    unit.replace(QRegularExpression("\\n(bird \\| [^\\n]*)\\n"),
                 "\n\\1 | audio: recordings/gone.mp3\n");
    writeFile(path("units/unit2.txt"), unit.toUtf8());
    const int unitLine =
        readText(path("units/unit2.txt")).left(unit.indexOf("gone.mp3")).count('\n') + 1;
    QString clips = readText(path("clips.txt"));
    clips.replace(QRegularExpression("\\n(done \\|[^\\n]*)"),
                  "\n\\1 | audio: recordings/opus.opus");
    writeFile(path("clips.txt"), clips.toUtf8());
    const int clipLine = clips.left(clips.indexOf("opus.opus")).count('\n') + 1;
    QString pictures = readText(path("pictures.txt"));
    pictures.replace(QRegularExpression("\\n(flower [^\\n]*)"),
                     "\n\\1 | image: pictures/flower.png");
    writeFile(path("pictures.txt"), pictures.toUtf8());
    const int pictureLine = pictures.left(pictures.indexOf("pictures/flower.png")).count('\n') + 1;

    const ToolRun run = runTool({"--source", folder(), "--check"});
    EXPECT_EQ(run.exitCode, 1);
    for (const auto& [where, what] :
         {std::pair{at(1, missing), "the recording recordings/missing.wav does not exist"},
          std::pair{at(1, text),
                    "the recording recordings/text.wav is a text file, not a recording: name a "
                    "recording here, saved as M4A, MP3 or WAV"},
          std::pair{at(1, empty), "the recording recordings/empty.wav is empty"},
          std::pair{at(2, picture),
                    "the picture scans/p02.jpg is a text file, not a picture: save it as JPEG or "
                    "PNG"},
          std::pair{QStringLiteral("unit2.txt:%1: ").arg(unitLine),
                    "the recording recordings/gone.mp3 does not exist"},
          std::pair{QStringLiteral("clips.txt:%1: ").arg(clipLine),
                    "the recording recordings/opus.opus looks like an Opus recording, but it "
                    "cannot be read as audio"},
          std::pair{QStringLiteral("pictures.txt:%1: ").arg(pictureLine),
                    "the picture pictures/flower.png is empty"},
          std::pair{at(4, sameApple),
                    "expected a recording of its own: recordings/apple.wav "
                    "is already played at "}}) {
        EXPECT_TRUE(run.errors.contains(where + QString::fromUtf8(what)))
            << qPrintable(where + what) << "\n"
            << qPrintable(run.errors);
    }
    EXPECT_TRUE(run.errors.contains(QStringLiteral("p04.txt:%1\n").arg(apple)));
    EXPECT_TRUE(run.errors.contains("content build stopped: 8 problem(s)"))
        << qPrintable(run.errors);
}

TEST_F(TemplateBook, SilentCutShortAndOverlongRecordingsStopTheBuildAtTheirLine) {
    ASSERT_TRUE(
        sox({"-n", "-r", "16000", "-c", "1"}, path("recordings/silent.wav"), {"trim", "0", "2"}));
    ASSERT_TRUE(sox({"-n", "-r", "8000", "-c", "1"}, path("recordings/long.flac"),
                    {"synth", QString::number(kLongestRecording + 5), "sine", "300"}));
    // A WAV header with its samples cut away, as a copy that stopped half-way leaves it.
    ASSERT_TRUE(sox({"-n", "-r", "16000", "-c", "1", "-b", "16"}, path("recordings/cut.wav"),
                    {"synth", "1", "sine", "300"}));
    QFile cut(path("recordings/cut.wav"));
    ASSERT_TRUE(cut.resize(44));
    ASSERT_TRUE(tone(path("recordings/fine.ogg"), 16000, 1, "0.5"));
    const int silent = addOption(1, 1, "audio: recordings/silent.wav");
    const int overlong = addOption(1, 2, "audio: recordings/long.flac");
    const int shortened = addOption(1, 3, "audio: recordings/cut.wav");
    addOption(1, 4, "audio: recordings/fine.ogg");
    const ToolRun check = runTool({"--source", folder(), "--check", "--only", "p01"});
    EXPECT_EQ(check.exitCode, 0) << "what only decoding finds is found by the build";
    const ToolRun run =
        runTool({"--source", folder(), "--only", "p01", "--out", dir_.path() + "/out"});
    EXPECT_EQ(run.exitCode, 1);
    for (const auto& [line, what] :
         {std::pair{silent, "cannot use the recording recordings/silent.wav: it is silent"},
          std::pair{overlong,
                    "cannot use the recording recordings/long.flac: it lasts longer "
                    "than the 120 s a recording may last"},
          std::pair{shortened,
                    "cannot use the recording recordings/cut.wav: it holds no "
                    "samples"}}) {
        EXPECT_TRUE(run.errors.contains(at(1, line) + QString::fromUtf8(what)))
            << what << "\n"
            << qPrintable(run.errors);
    }
    EXPECT_TRUE(run.errors.contains("content build stopped: 3 problem(s)"))
        << qPrintable(run.errors);
    EXPECT_FALSE(QFileInfo::exists(dir_.path() + "/out/p01-04.wav"))
        << "a build that stopped wrote its pieces";
}
