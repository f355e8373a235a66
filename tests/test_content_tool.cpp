// The content tool stops on bad sources with the file, the line and what it expected, and
// makes recordings in the codec each role names.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <tuple>

#include "build_book.h"
#include "recordings/make_recordings.h"
#include "recordings/synth.h"
#include "recordings/wav_image.h"
#include "sources/built_in_volume.h"
#include "sources/checks.h"
#include "sources/new_book.h"
#include "sources/sources.h"

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

// Parses and checks a page source by the rules of every book, and with `builtIn` by the built-in
// volume's facts too; returns the problems' report.
QString checkText(int page, const QString& text, bool builtIn = false) {
    Problems problems;
    const PageSource source = parsePage(pagePath(page), text, problems);
    checkPage(source, bookVocabulary(), problems);
    if (builtIn) checkBuiltInPage(source, problems);
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
        EXPECT_EQ(checkText(page, readFile(pagePath(page)), true), QString()) << page;
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

// The built-in volume's facts hold for its own build only: another book's pages may hold any
// number of entries and placeholders.
TEST(ContentChecks, EntryAndPlaceholderCountsMustMatchTheBuiltInVolume) {
    // One entry too many.
    const QString extra = readFile(pagePath(2)) + "\n11 | text | 700,500,60,14 | Bye! | 再见！\n";
    EXPECT_EQ(checkText(2, extra), QString()) << "a school's page 2 may have eleven entries";
    QString report = checkText(2, extra, true);
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
    report =
        checkText(2, withLine(2, line, f.join('|') + (f.size() == 5 ? "| say: Hello" : "")), true);
    EXPECT_TRUE(report.contains("expected 0 English and 0 Chinese \"$\" lines on page 2"))
        << qPrintable(report);
}

TEST(ContentChecks, AnswerKeysMustBeTheDigitsOnceEach) {
    QString text = readFile(pagePath(10));
    text.replace(QRegularExpression("fill 2 \\| 132,191 \\| \\d"), "fill 2 | 132,191 | 9");
    const QString report = checkText(10, text, true);
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
    checkBuiltInUnits(units, problems);
    EXPECT_TRUE(problems.empty()) << qPrintable(problems.report());
    units[0].words[1].english = QStringLiteral("pen cil box");
    // The built-in volume's words are ten letters at most: eleven are refused.
    units[1].words[0].english = QStringLiteral("colourfully");
    units[1].words[1].english = QStringLiteral("pencil box");
    units[4].words.removeLast();
    checkUnits(units, problems);
    checkBuiltInUnits(units, problems);
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
    checkBook(book, false, bookVocabulary(), problems);
    EXPECT_EQ(problems.report(), QString()) << "the shipped word lists share a recording";

    // Saying the fruit like the colour again: both hotspots would play one recording.
    const int line = firstEntryLine(74, 14);
    ASSERT_GT(line, 0);
    const QString fruit = readFile(pagePath(74)).split('\n')[line - 1];
    ASSERT_TRUE(fruit.endsWith(QStringLiteral("| orange | 橙子 | say: an orange")))
        << qPrintable(fruit);
    Problems shared;
    pages[1] =
        parsePage(pagePath(74),
                  withLine(74, line, fruit.left(fruit.indexOf(QStringLiteral(" | say:")))), shared);
    book.pages = pages;
    checkBook(book, false, bookVocabulary(), shared);
    EXPECT_TRUE(shared.report().contains(QRegularExpression(
        QStringLiteral("p74\\.txt:%1: expected a recording of its own: \"orange\" "
                       "is already said at .*p70\\.txt:\\d+")
            .arg(line))))
        << qPrintable(shared.report());
}

namespace {

// Page `page` with the lines appended; returns the report and, through `lines`, the line
// number each appended line got.
QString checkWithLines(int page, const QStringList& extra, QList<int>& lines) {
    QString text = readFile(pagePath(page));
    if (!text.endsWith('\n')) text += '\n';
    int next = int(text.count('\n')) + 1;
    lines.clear();
    for (const QString& line : extra) {
        text += line + '\n';
        lines.append(next++);
    }
    return checkText(page, text);
}

QString at(int page, int line) {
    return pagePath(page) + ":" + QString::number(line) + ": ";
}

}  // namespace

TEST(ContentChecks, DrawingsWithoutHotspotsAreCheckedAtTheirLine) {
    QList<int> lines;
    // Page 44: picture 9 (the zoo) at 370,58,150,110; speech box 10 at 530,62,220,30;
    // tick box 1 at 126,140 (laid out 7 right and 8 down); the listen icon at 20,60.
    const QString report =
        checkWithLines(44,
                       {"draw grass | 360,50,170,40",          // under a picture: scenery, fine
                        "draw card green | 120,140,40,40",     // a card under a tick box: fine
                        "draw unicorn | 600,300,40,40",        // unknown
                        "draw ball purplish | 600,300,40,40",  // unknown colour
                        "draw table | 10,500,60,40",           // reaches into the footer
                        "draw ball | 600,300,6,40",            // too thin
                        "draw ball | 540,60,40,40",            // under the speech box
                        "draw ball | 120,140,40,40",           // over tick box 1
                        "draw ball | 16,56,30,30",             // over the listen icon and its strip
                        "draw heading | 600,200,100,20 | ",    // a heading without words
                        "draw heading | 380,60,100,20 | Zoo",  // a heading under a picture
                        "draw birthdaycake 11 | 600,300,60,60", "draw birthdaycake | 600,300,60,60",
                        "draw",                // no kind, no rectangle
                        "draw ball | 1,2,3"},  // a broken rectangle
                       lines);
    const QStringList problems = report.split('\n', Qt::SkipEmptyParts);
    auto problemsAt = [&](int i) { return problems.filter(at(44, lines[i])); };
    EXPECT_TRUE(problemsAt(0).isEmpty()) << qPrintable(report);
    EXPECT_TRUE(problemsAt(1).isEmpty()) << qPrintable(report);
    EXPECT_EQ(problemsAt(2), QStringList{at(44, lines[2]) + "unknown drawing \"unicorn\""});
    EXPECT_EQ(problemsAt(3), QStringList{at(44, lines[3]) + "unknown colour \"purplish\""});
    EXPECT_TRUE(problemsAt(4).join('\n').contains("inside the page above its footer"));
    EXPECT_TRUE(problemsAt(5).join('\n').contains("at least 8 x 8"));
    EXPECT_TRUE(problemsAt(6).join('\n').contains("lies under hotspot 10 (text)"));
    EXPECT_TRUE(problemsAt(7).join('\n').contains("only a card may lie under an answer box"));
    EXPECT_TRUE(problemsAt(8).join('\n').contains("only a card may lie under an answer box"));
    EXPECT_TRUE(problemsAt(8).join('\n').contains("lies under hotspot 3 (instr)"));
    EXPECT_TRUE(problemsAt(9).join('\n').contains("expected a heading's words"));
    EXPECT_TRUE(problemsAt(10).join('\n').contains("lies under hotspot 9 (pic)"));
    EXPECT_TRUE(problemsAt(11).join('\n').contains("number of candles (1 to 10)"));
    EXPECT_TRUE(problemsAt(12).join('\n').contains("number of candles (1 to 10)"));
    EXPECT_TRUE(problemsAt(13).join('\n').contains("expected \"draw THING [COLOUR] | x,y,w,h\""));
    EXPECT_TRUE(problemsAt(14).join('\n').contains("expected \"draw THING [COLOUR] | x,y,w,h\""));
    EXPECT_EQ(problems.size(), 14) << qPrintable(report);
}

TEST(ContentChecks, DrawingsReachTheParsedPage) {
    Problems problems;
    const PageSource page = parsePage(pagePath(44),
                                      readFile(pagePath(44)) +
                                          "\ndraw birthdaycake 3 | 600,300,60,60\n"
                                          "draw heading | 600,200,100,20 | Unit 4\n",
                                      problems);
    ASSERT_TRUE(problems.empty()) << qPrintable(problems.report());
    ASSERT_GE(page.drawings.size(), 2);
    const Drawing& cake = page.drawings[page.drawings.size() - 2];
    EXPECT_EQ(cake.kind, "pic");
    EXPECT_EQ(cake.thing, "birthdaycake");
    EXPECT_EQ(cake.colour, "3");
    EXPECT_EQ(cake.rect, QRect(600, 300, 60, 60));
    const Drawing& heading = page.drawings.last();
    EXPECT_EQ(heading.kind, "heading");
    EXPECT_EQ(heading.text, "Unit 4");
    EXPECT_EQ(page.entries.size(), 21) << "drawings are not entries";
}

TEST(ContentChecks, SpeakersAreDrawnPeopleOrAnimalsOfThePage) {
    // Page 58: 3 is Tom (boy), 4 his speech box, 5 the present (a gift), 6 a speech box.
    auto withBy = [](int entry, const QString& by) {
        const int line = firstEntryLine(58, entry);
        QString text = readFile(pagePath(58)).split('\n')[line - 1];
        text.remove(QRegularExpression(" \\| by: \\d+$"));
        return std::pair{line, withLine(58, line, text + " | by: " + by)};
    };
    EXPECT_EQ(checkText(58, withBy(6, "3").second), QString()) << "Tom gives the present";
    for (const auto& [entry, by, problem] :
         {std::tuple{6, QStringLiteral("5"), QStringLiteral("must name the picture of a person")},
          std::tuple{6, QStringLiteral("99"), QStringLiteral("must name the picture of a person")},
          std::tuple{5, QStringLiteral("3"), QStringLiteral("only a speech box")}}) {
        const auto [line, text] = withBy(entry, by);
        const QString report = checkText(58, text);
        EXPECT_TRUE(report.contains(at(58, line)) && report.contains(problem))
            << entry << " by " << by.toStdString() << "\n"
            << qPrintable(report);
    }
    Problems problems;
    const PageSource page = parsePage(pagePath(58), readFile(pagePath(58)), problems);
    EXPECT_EQ(page.entries[3].speaker, 3);
    EXPECT_EQ(page.entries[8].speaker, 0) << "the song has no speaker";
}

TEST(ContentTool, ListsEveryRecordingOnceInClipOrder) {
    // The check scripts find a recording's text through this list: one row per distinct
    // recording, sorted by voice, codec and text as the pack's clip table is.
    QTemporaryDir out;
    QProcess tool;
    tool.start(QStringLiteral(QCBOOK_TOOL),
               {"--source", QStringLiteral(QCBOOK_CONTENT_DIR), "--check", "--out", out.path()});
    ASSERT_TRUE(tool.waitForFinished(60000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().constData();
    QStringList rows = readFile(out.filePath("recordings.tsv")).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.takeFirst(), "clip\tvoice\tcodec\tsource\ttext");

    Problems problems;
    const BookSources book = readSources(QStringLiteral(QCBOOK_CONTENT_DIR), {}, problems);
    QSet<QString> keys;
    for (const PageSource& page : book.pages)
        for (const Entry& e : page.entries) keys.insert(e.recording.key());
    for (const UnitSource& unit : book.units)
        for (const UnitWord& w : unit.words) keys.insert("en|msadpcm|" + w.english);
    for (const ClipSource& c : book.clips) keys.insert(c.recording.key());
    ASSERT_EQ(rows.size(), keys.size());

    QStringList listed;
    for (int i = 0; i < rows.size(); ++i) {
        const QStringList f = rows[i].split('\t');
        ASSERT_EQ(f.size(), 5) << qPrintable(rows[i]);
        EXPECT_EQ(f[0].toInt(), i);
        EXPECT_TRUE(f[3].contains(QRegularExpression("\\.txt:\\d+$"))) << qPrintable(f[3]);
        listed << f[1] + '|' + f[2] + '|' + f[4];
    }
    QStringList sorted = listed;
    sorted.sort();
    EXPECT_EQ(listed, sorted);
    EXPECT_EQ(QSet<QString>(listed.begin(), listed.end()), keys);
    // The sound-effect hotspots play made sounds.
    EXPECT_TRUE(listed.contains("synth|msadpcm|doorbell"));
    EXPECT_FALSE(listed.contains("en|msadpcm|Ding dong!"));
}

namespace {

// `entries` hotspots on a grid, five across, each with a line of its own.
QString gridPage(int page, int entries, bool wordList = false) {
    QString text = QStringLiteral("page %1\ntheme sky\n").arg(page);
    if (wordList) text += "word list\n";
    for (int i = 0; i < entries; ++i) {
        text += QStringLiteral("%1 | %2 | %3,%4,140,40 | Line %1 of page %5. | 第%5页第%1句。\n")
                    .arg(i + 1)
                    .arg(wordList ? QStringLiteral("word") : QStringLiteral("text"))
                    .arg(16 + i % 5 * 156)
                    .arg(12 + i / 5 * 60)
                    .arg(page);
    }
    return text;
}

QString unitOf(int words) {
    QString text;
    for (int w = 1; w <= words; ++w) text += QStringLiteral("word%1 | 词语%1\n").arg(w);
    return text;
}

QString bookFile(const QList<int>& sectionPages) {
    QString text = "title: 我们的课本\ncaption: 课本\nshortcut: 我们的课本\n";
    for (int i = 0; i < sectionPages.size(); ++i)
        text += QStringLiteral("section: Part %1 | page %2\n").arg(i + 1).arg(sectionPages[i]);
    return text;
}

bool writeText(const QString& path, const QString& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) > 0;
}

BookSources checkedFolder(const QString& folder, bool builtIn, Problems& problems) {
    BookSources book = readSources(folder, {}, problems);
    book.builtInVolume = builtIn;
    checkBook(book, true, bookVocabulary(), problems);
    return book;
}

}  // namespace

// A school's book of its own shape: twelve pages numbered from 3 (one of forty entries, the
// others of one, a word list on page 100), eight units of three to thirty words with words the
// built-in volume has none like, in twelve sections or in one.
TEST(BookShape, AnOddShapedBookPassesTheRulesThatTheBuiltInFactsWouldRefuse) {
    QTemporaryDir dir;
    const QMap<QString, QByteArray> common = newBookFiles();
    for (const char* file : {"clips.txt", "pictures.txt", "start_about.html", "start_faq.html"})
        ASSERT_TRUE(writeText(dir.filePath(file), QString::fromUtf8(common.value(file))));
    const QList<int> pages{3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 100};
    for (int page : pages) {
        const QString text =
            page == 4 ? gridPage(4, 40) : gridPage(page, page == 100 ? 3 : 1, page == 100);
        ASSERT_TRUE(writeText(dir.filePath("pages/" + pageFileName(page)), text));
    }
    ASSERT_TRUE(writeText(dir.filePath("units/unit1.txt"), "name: Starter\n" + unitOf(3)));
    ASSERT_TRUE(writeText(dir.filePath("units/unit2.txt"), unitOf(30)));
    ASSERT_TRUE(writeText(dir.filePath("units/unit3.txt"),
                          "Miss White | 怀特老师\nOK | 好的\nice-cream | 冰淇淋\n"
                          "international | 国际的\n"));
    for (int unit = 4; unit <= 8; ++unit)
        ASSERT_TRUE(
            writeText(dir.filePath(QStringLiteral("units/unit%1.txt").arg(unit)), unitOf(2)));
    for (const QList<int>& sections : {pages, QList<int>{3}}) {
        ASSERT_TRUE(writeText(dir.filePath("book.txt"), bookFile(sections)));
        Problems problems;
        const BookSources book = checkedFolder(dir.path(), false, problems);
        EXPECT_TRUE(problems.empty()) << qPrintable(problems.report());
        ASSERT_EQ(book.pages.size(), 12);
        EXPECT_EQ(book.pages[1].entries.size(), 40);
        EXPECT_TRUE(book.pages.last().wordList);
        EXPECT_EQ(screenOfPage(book, 100), 11);
        EXPECT_EQ(sectionOfPage(book, 100), sections.size() == 1 ? "Part 1" : "Part 12");
        ASSERT_EQ(book.units.size(), 8);
        EXPECT_EQ(book.units[0].name, "Starter");
        EXPECT_EQ(book.units[1].words.size(), 30);
    }
    Problems facts;
    checkedFolder(dir.path(), true, facts);
    const QString report = facts.report();
    for (const char* fact : {"expected p02.txt", "unexpected page 100",
                             "expected 9 sections, found 1", "expected 10 words in unit 1, found 3",
                             "expected 6 units", "unit3.txt:1: expected one capital letter at most",
                             "unit3.txt:3: expected an English word of ASCII letters",
                             "unit3.txt:4: expected an English word of ASCII letters"}) {
        EXPECT_TRUE(report.contains(QString::fromUtf8(fact))) << fact << "\n" << qPrintable(report);
    }
}

// What the program cannot handle stops the check at its line, with the reason.
TEST(BookShape, TheChecksRefuseWhatTheProgramCannotHandleAndSayWhy) {
    Problems problems;
    BookSources book;
    book.folder = "/school";
    parseBookFile("book.txt",
                  "title: 我们的课本\ncaption: 课本\n"
                  "section: Unit 1 | page 4\nsection: Unit 2 | page 3\nsection: Unit 3 | page 9\n",
                  book, problems);
    book.pageNumbers = {3, 4};
    book.pages = {parsePage("p03.txt",
                            "page 3\ntheme sky\n"
                            "1 | text | 10,10,100,30 | Hello. | 你好。\n"
                            "2 | text | 50,20,100,30 | Hi! 😀 | 嗨。\n"
                            "3 | text | 790,500,30,30 | Bye. | 再见。\n"
                            "5 | text | 300,300,100,30 | $ | 你好 | say: Hello\n"
                            "listen 1 | 500,400\n"
                            "fill 1 | 600,300 | a\n"
                            "tick 1 | 598,296 | yes\n",
                            problems),
                  parsePage("p04.txt", "page 4\ntheme sky\n", problems)};
    book.units = {parseUnit("unit1.txt", 1, "unbelievableness | 难以置信\n小猫 | 小猫\n", problems),
                  parseUnit("unit3.txt", 3, "# no words yet\n", problems)};
    ASSERT_TRUE(problems.empty()) << qPrintable(problems.report());
    checkBook(book, false, bookVocabulary(), problems);
    const QString report = problems.report();
    for (const char* refusal :
         {"book.txt: expected a \"shortcut: TEXT\" line: the desktop shortcut bears it",
          "book.txt:3: expected the first section to start on page 3, the book's first page: "
          "every page belongs to a section",
          "book.txt:4: expected section \"Unit 2\" to start after page 4, where the section "
          "before it starts: sections are listed in the book's order",
          "book.txt:5: section \"Unit 3\" starts on page 9, which the book does not have",
          "p03.txt:4: expected the English line to encode in GBK: \"Hi! 😀\": the program "
          "stores its texts in GBK",
          "p03.txt:4: hotspot 2 overlaps hotspot 1: a press there could not tell which of the "
          "two to play",
          "p03.txt:5: expected the hotspot inside the 800 x 540 page: a child can only press "
          "what lies on the page",
          "p03.txt:6: expected entry number 4, found 5 (numbers run 1, 2, 3 ... in order, each "
          "once): the program finds an entry's lines and recording by its number",
          "p03.txt:6: expected \"$\" in both lines of a placeholder: without an English line",
          "p03.txt:7: expected the listen icon inside a hotspot: pressing the icon plays the "
          "hotspot it lies in",
          "p03.txt:9: this box lies over the one on line 8: a child could not reach the one "
          "beneath",
          "p04.txt: expected at least one entry on the page: a page with nothing to press",
          "unit1.txt:1: expected at most 15 letters, spaces and signs, found 16: the spelling "
          "game has 15 letter tiles",
          "unit1.txt:2: expected an English word of letters, spaces and signs such as - and ' "
          "(no Chinese or full-width characters): the spelling game puts each character on a "
          "letter tile of its own",
          "unit3.txt: expected at least one word in unit 3: the unit choosers offer it",
          "unit3.txt: expected units/unit2.txt before this file: units are numbered 1, 2, 3 "
          "... without a gap"}) {
        EXPECT_TRUE(report.contains(QString::fromUtf8(refusal))) << refusal << "\n"
                                                                 << qPrintable(report);
    }
    EXPECT_EQ(problems.list().size(), 16) << qPrintable(report);
}
