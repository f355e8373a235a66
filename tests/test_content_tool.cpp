// The content tool stops on bad sources with the file, the line and what it expected, and
// makes recordings in the codec each role names.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "audio.h"
#include "checks.h"
#include "sources.h"

using namespace tool;

namespace {

QString readFile(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll());
}

QString pagePath(int page) {
    return QStringLiteral(QCBOOK_CONTENT_DIR "/pages/") + pageFileName(page);
}

// Parses and checks a page source; returns the problems' report.
QString checkText(int page, const QString& text) {
    Problems problems;
    const PageSource source = parsePage(pagePath(page), text, problems);
    checkPage(source, problems);
    return problems.report();
}

// The real page source with one line replaced (1-based line number).
QString withLine(int page, int line, const QString& replacement) {
    QStringList lines = readFile(pagePath(page)).split('\n');
    lines[line - 1] = replacement;
    return lines.join('\n');
}

int firstEntryLine(int page, int entry) {
    const QStringList lines = readFile(pagePath(page)).split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].trimmed().startsWith(QString::number(entry) + " |")) return i + 1;
    }
    return -1;
}

}  // namespace

TEST(ContentChecks, TheShippedPagesPass) {
    for (int page : {2, 10, 44, 56, 58, 64, 66, 70, 74}) {
        EXPECT_EQ(checkText(page, readFile(pagePath(page))), QString()) << page;
    }
}

TEST(ContentChecks, BrokenEntriesAreReportedWithFileAndLine) {
    const int line = firstEntryLine(2, 2);
    ASSERT_GT(line, 0);
    const QString where = pagePath(2) + ":" + QString::number(line) + ": ";

    // A missing field.
    QString report = checkText(2, withLine(2, line, "2 | text | 10,10,100,30 | Hello!"));
    EXPECT_TRUE(report.contains(where + "expected 5 or 6 fields")) << qPrintable(report);
    // A duplicate hotspot number: entry 2 written as a second 1.
    QString original = readFile(pagePath(2)).split('\n')[line - 1];
    report =
        checkText(2, withLine(2, line, original.replace(QRegularExpression("^\\s*2 \\|"), "1 |")));
    EXPECT_TRUE(report.contains(where + "expected entry number 2, found 1")) << qPrintable(report);
    // A character GBK cannot hold.
    report = checkText(2, withLine(2, line, "2 | text | 600,470,100,30 | Hi! 😀 | 你好！"));
    EXPECT_TRUE(report.contains(where + "expected the English line to encode in GBK"))
        << qPrintable(report);
    // A hotspot outside the page and too small.
    report = checkText(2, withLine(2, line, "2 | text | 790,530,20,10 | Hi! | 你好！"));
    EXPECT_TRUE(report.contains(where + "expected the hotspot inside the 800 x 540 page"));
    EXPECT_TRUE(report.contains(where + "expected a hotspot 24 to 320 wide"));
    // An unknown drawing.
    report = checkText(2, withLine(2, line, "2 | pic unicorn | 600,470,100,30 | Hi! | 你好！"));
    EXPECT_TRUE(report.contains(where + "unknown drawing \"unicorn\""));
}

TEST(ContentChecks, EntryAndPlaceholderCountsMustMatchThePage) {
    // One entry too many.
    const QString extra = readFile(pagePath(2)) + "\n11 | text | 700,500,60,14 | Bye! | 再见！\n";
    QString report = checkText(2, extra);
    const int extraLine = int(extra.count('\n'));
    EXPECT_TRUE(report.contains(pagePath(2) + ":" + QString::number(extraLine) +
                                ": expected 10 entries on page 2, found 11"))
        << qPrintable(report);
    // A placeholder where page 2 has none.
    const int line = firstEntryLine(2, 3);
    QString text = readFile(pagePath(2)).split('\n')[line - 1];
    QStringList f = text.split('|');
    f[3] = " $ ";
    f[4] = " $ ";
    report = checkText(2, withLine(2, line, f.join('|') + (f.size() == 5 ? "| say: Hello" : "")));
    EXPECT_TRUE(report.contains("expected 0 English and 0 Chinese \"$\" lines on page 2"))
        << qPrintable(report);
}

TEST(ContentChecks, AnswerKeysMustBeTheDigitsOnceEach) {
    QString text = readFile(pagePath(10));
    text.replace(QRegularExpression("fill 2 \\| 132,191 \\| \\d"), "fill 2 | 132,191 | 9");
    const QString report = checkText(10, text);
    EXPECT_TRUE(report.contains("expected the digits 1 to 4, each once")) << qPrintable(report);
}

TEST(ContentChecks, UnitListsAreCheckedForShapeAndSize) {
    Problems problems;
    QList<UnitSource> units;
    for (int u = 1; u <= 6; ++u) {
        const QString path = QStringLiteral(QCBOOK_CONTENT_DIR "/units/unit%1.txt").arg(u);
        units.append(parseUnit(path, u, readFile(path), problems));
    }
    checkUnits(units, problems);
    EXPECT_TRUE(problems.empty()) << qPrintable(problems.report());
    units[0].words[1].english = QStringLiteral("pen cil box");
    // The spelling game lays a word out on its row of tiles: ten letters fit, eleven do not.
    units[1].words[0].english = QStringLiteral("colourfully");
    units[1].words[1].english = QStringLiteral("pencil box");
    units[4].words.removeLast();
    checkUnits(units, problems);
    const QString report = problems.report();
    EXPECT_TRUE(report.contains("unit1.txt:3: expected an English word of ASCII letters"));
    EXPECT_TRUE(report.contains("unit2.txt:2: expected an English word of ASCII letters"));
    EXPECT_FALSE(report.contains("unit2.txt:3:")) << qPrintable(report);
    EXPECT_TRUE(report.contains("expected 8 words in unit 5, found 7"));
}

TEST(ContentTool, StopsTheBuildAndNamesTheLine) {
    QTemporaryDir copy;
    ASSERT_TRUE(copy.isValid());
    ASSERT_EQ(
        QProcess::execute("cp", {"-r", QStringLiteral(QCBOOK_CONTENT_DIR) + "/.", copy.path()}), 0);
    const QString page = copy.path() + "/pages/p04.txt";
    QString text = readFile(page);
    text.replace(QRegularExpression("\\n\\s*5 \\|[^\\n]*"), "\n5 | text | 1,2,3");
    QFile f(page);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
    f.close();
    QProcess tool;
    tool.start(QStringLiteral(QCBOOK_TOOL), {"--source", copy.path(), "--check"});
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 1);
    const QString errors = QString::fromLocal8Bit(tool.readAllStandardError());
    EXPECT_TRUE(errors.contains(QRegularExpression("p04\\.txt:\\d+: expected 5 or 6 fields")))
        << qPrintable(errors);
    EXPECT_TRUE(errors.contains("content build stopped"));
}

TEST(Recordings, EachCodecComesOutAsItsRoleNames) {
    QTemporaryDir cache;
    QList<RecordingJob> jobs;
    for (const char* codec :
         {"msadpcm", "ima", "pcm8/11025/1", "pcm16/44100/2", "mp3/24000/1", "mp3/16000/2"}) {
        jobs.append(
            {Recording{QStringLiteral("Hello"), QStringLiteral("en"), QString::fromLatin1(codec)},
             Where{QStringLiteral("test"), 1}});
    }
    jobs.append({Recording{QStringLiteral("click"), QStringLiteral("synth"),
                           QStringLiteral("pcm8/22050/1")},
                 Where{QStringLiteral("test"), 2}});
    Problems problems;
    const auto made = makeRecordings(jobs, cache.path(), 2, problems);
    ASSERT_TRUE(problems.empty()) << qPrintable(problems.report());
    for (const RecordingJob& job : jobs) {
        WavFacts facts;
        ASSERT_TRUE(inspectWav(made.value(job.recording.key()), facts, nullptr))
            << qPrintable(job.recording.codec);
        EXPECT_TRUE(matchesCodec(facts, job.recording.codec)) << qPrintable(job.recording.codec);
        EXPECT_GT(facts.frames, 0);
    }
    WavFacts mp3;
    inspectWav(made.value(jobs[4].recording.key()), mp3, nullptr);
    EXPECT_EQ(mp3.formatTag, 0x55);
}

TEST(Recordings, AnUnknownSoundStopsTheBuildAtItsLine) {
    QTemporaryDir cache;
    Problems problems;
    makeRecordings(
        {{Recording{QStringLiteral("whistle"), QStringLiteral("synth"), QStringLiteral("ima")},
          Where{QStringLiteral("clips.txt"), 7}}},
        cache.path(), 1, problems);
    ASSERT_FALSE(problems.empty());
    EXPECT_TRUE(problems.report().startsWith("clips.txt:7: cannot make the recording \"whistle\""));
}

TEST(Recordings, TheBackgroundMusicIsLongAndStartsAndEndsQuietly) {
    const QList<qint16> tune = synthesise(QStringLiteral("tune"), 16000);
    EXPECT_GE(tune.size(), 60 * 16000);
    EXPECT_LT(std::abs(tune.first()), 200);
    EXPECT_LT(std::abs(tune.last()), 2000);
    EXPECT_TRUE(synthesise(QStringLiteral("nothing"), 16000).isEmpty());
}

TEST(ContentChecks, EveryWordListHotspotHasARecordingOfItsOwn) {
    Problems problems;
    QList<PageSource> pages;
    for (int page : {70, 74})
        pages.append(parsePage(pagePath(page), readFile(pagePath(page)), problems));
    ASSERT_EQ(problems.report(), QString());
    BookSources book;
    book.pages = pages;
    checkBook(book, false, problems);
    EXPECT_EQ(problems.report(), QString()) << "the shipped word lists share a recording";

    // Saying the fruit like the colour again: both hotspots would play one recording.
    const int line = firstEntryLine(74, 36);
    ASSERT_GT(line, 0);
    Problems shared;
    pages[1] = parsePage(pagePath(74),
                         withLine(74, line, "36 | word | 548,396,236,28 | orange | 橙子"), shared);
    book.pages = pages;
    checkBook(book, false, shared);
    EXPECT_TRUE(shared.report().contains(QRegularExpression(
        QStringLiteral("p74\\.txt:%1: expected a recording of its own: \"orange\" "
                       "is already said at .*p70\\.txt:\\d+")
            .arg(line))))
        << qPrintable(shared.report());
}
