// The listening check hears a recording named on the wrong line: on a small book whose page has
// two lines' recordings exchanged, `--check --listen` names those two lines, each with the line
// it sounds like, and no other; a line with a word no dictionary has is listened to like any,
// its word said from its spelling.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "recordings/make_recordings.h"
#include "recordings/speech_decoder.h"
#include "recordings/spoken_words.h"

using namespace tool;

namespace {

// Four lines, the last with a made-up name the recogniser's dictionary lacks.
const QStringList kLines = {"Good morning, Miss White!", "I like to ride my bike.",
                            "Where is the yellow kite?", "Zibbit can jump and swim."};

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The page: lines 2 and 3 play each other's recording, supplied as files.
QByteArray swappedPage() {
    QByteArray page = "page 1\ntheme sky\n";
    const QStringList chinese = {"早上好！", "我喜欢骑车。", "风筝在哪里？", "它会跳会游。"};
    for (int i = 0; i < kLines.size(); ++i) {
        page += QStringLiteral("%1 | text | 20,%2,300,30 | %3 | %4")
                    .arg(i + 1)
                    .arg(20 + 50 * i)
                    .arg(kLines[i], chinese[i])
                    .toUtf8();
        if (i == 1 || i == 2)
            page += QStringLiteral(" | audio: recordings/%1.wav").arg(i + 1).toUtf8();
        page += '\n';
    }
    return page;
}

}  // namespace

TEST(ListenCheck, NamesBothSwappedRecordingsAndNothingElse) {
    QTemporaryDir work;
    const QString book = work.filePath("book"), cache = work.filePath("cache");
    QProcess tool;
    tool.start(QStringLiteral(QCBOOK_TOOL), {"--new-book", book});
    ASSERT_TRUE(tool.waitForFinished(60000) && tool.exitCode() == 0);

    // The lines spoken once; the check takes the two unswapped ones from the same cache.
    QList<RecordingJob> jobs;
    for (const QString& line : kLines) jobs.append({Recording{line}, Where{}});
    Problems problems;
    const auto made = makeRecordings(jobs, cache, 2, problems);
    ASSERT_TRUE(problems.empty()) << qPrintable(problems.report());
    ASSERT_TRUE(writeFile(book + "/recordings/2.wav", made.value(jobs[2].recording.key())));
    ASSERT_TRUE(writeFile(book + "/recordings/3.wav", made.value(jobs[1].recording.key())));
    ASSERT_TRUE(writeFile(book + "/pages/p01.txt", swappedPage()));

    tool.start(QStringLiteral(QCBOOK_TOOL),
               {"--source", book, "--check", "--listen", "--only", "p01", "--cache", cache});
    ASSERT_TRUE(tool.waitForFinished(300000));
    const QString out = QString::fromUtf8(tool.readAllStandardOutput());
    const QString page = QDir(book).filePath("pages/p01.txt");
    EXPECT_EQ(out, page +
                       ":4: the recording sounds like \"Where is the yellow kite?\" (entry 3), "
                       "not its own line\n" +
                       page +
                       ":5: the recording sounds like \"I like to ride my bike.\" (entry "
                       "2), not its own line\n"
                       "content checked: 1 page(s), no problems; 4 recording(s) listened "
                       "to, 2 flagged\n")
        << qPrintable(QString::fromUtf8(tool.readAllStandardError()));
    EXPECT_EQ(tool.exitCode(), 1);
}

TEST(ListenCheck, AWordNoDictionaryHasIsSaidFromItsSpelling) {
    EXPECT_EQ(listen::guessPronunciation("sharpener"), "SH AA R P EH N ER");
    EXPECT_EQ(listen::guessPronunciation("Zibbit"), "Z IH B IH T");
    QString error;
    auto decoder = listen::SpeechDecoder::open(error);
    ASSERT_TRUE(decoder) << qPrintable(error);
    EXPECT_EQ(decoder->sayable({"zibbit", "pip's", "can", "swim"}),
              QStringList({"zibbit", "pip's", "can", "swim"}));
    EXPECT_EQ(decoder->pronunciation("pip's"), "P IH P Z");
}
