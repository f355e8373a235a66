// A page read in one take is cut at the pauses between its lines, not at the longer pauses
// inside them; a take with a line left out or read twice is reported with the line; the
// command writes the clips and prints the cuts.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>

#include "recordings/take_splitter.h"
#include "recordings/wav_image.h"

using namespace tool;

namespace {

constexpr int kRate = 16000;

// Commas and full stops inside these lines are read as pauses of 450 ms, longer than most of
// the pauses between the lines.
const QStringList kPage = {
    "Hi, Pip! I'm Tom.", "Good morning, Miss Green.", "Hello!",
    "Look! A big bus.",  "One, two, three.",          "Yes.",
    "Open your bag.",    "Wave, wave your arms.",
};
constexpr double kInnerPause = 0.45;

struct MadeTake {
    std::vector<float> mono;
    std::vector<TakeSpan> lines;  // where each line's sound lies
};

// A voiced burst: a 180 Hz tone with two harmonics under a raised-cosine envelope.
void addVoice(std::vector<float>& mono, double seconds) {
    const auto n = size_t(seconds * kRate);
    for (size_t i = 0; i < n; ++i) {
        const double t = double(i) / kRate, w = 2 * std::numbers::pi * 180 * t;
        const double envelope = std::sin(std::numbers::pi * double(i) / double(n));
        mono.push_back(
            float(0.3 * envelope * (std::sin(w) + 0.5 * std::sin(2 * w) + 0.3 * std::sin(3 * w))));
    }
}

void addSilence(std::vector<float>& mono, double seconds) {
    mono.resize(mono.size() + size_t(seconds * kRate), 0.0f);
}

// The page's lines `order` read at 1.2 times the even pace, a word a burst (40 ms apart), with
// pauses of 300-400 ms between lines, in faint noise with mains hum.
MadeTake readAloud(const std::vector<int>& order) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> gap(0.30, 0.40);
    MadeTake take;
    addSilence(take.mono, 0.5);
    for (const int index : order) {
        const QString& line = kPage[index];
        const QStringList phrases = line.split(QRegularExpression("[,.!?]\\s"));
        const double sound = 1.2 * spokenLength(line) - kInnerPause * double(phrases.size() - 1);
        const qsizetype letters = QString(line).remove(QRegularExpression("[^A-Za-z]")).size();
        const auto first = qsizetype(take.mono.size());
        for (qsizetype p = 0; p < phrases.size(); ++p) {
            if (p > 0) addSilence(take.mono, kInnerPause);
            const QStringList words = phrases[p].split(' ');
            for (qsizetype w = 0; w < words.size(); ++w) {
                if (w > 0) addSilence(take.mono, 0.04);
                addVoice(take.mono, sound * double(words[w].size()) / double(letters) - 0.04);
            }
        }
        take.lines.push_back({first, qsizetype(take.mono.size())});
        addSilence(take.mono, gap(random));
    }
    addSilence(take.mono, 0.3);
    std::normal_distribution<double> noise(0, std::pow(10.0, -50.0 / 20));
    for (size_t i = 0; i < take.mono.size(); ++i) {
        const double hum = 0.01 * std::sin(2 * std::numbers::pi * 50 * double(i) / kRate);
        take.mono[i] += float(noise(random) + hum);
    }
    return take;
}

std::vector<int> wholePage() {
    std::vector<int> order;
    for (qsizetype i = 0; i < kPage.size(); ++i) order.push_back(int(i));
    return order;
}

// Every clip starts and ends in the silence between its line and the next.
bool cutsBetweenLines(const std::vector<TakeSpan>& clips, const MadeTake& take) {
    if (clips.size() != take.lines.size()) return false;
    for (size_t i = 0; i < clips.size(); ++i) {
        const qsizetype after =
            i + 1 < clips.size() ? take.lines[i + 1].first : std::numeric_limits<qsizetype>::max();
        const qsizetype before = i > 0 ? take.lines[i - 1].end : -1;
        if (clips[i].first > take.lines[i].first || clips[i].first < before) return false;
        if (clips[i].end < take.lines[i].end || clips[i].end > after) return false;
    }
    return true;
}

}  // namespace

TEST(TakeSplitter, CutsBetweenLinesWhereTheLongestPausesLieInsideThem) {
    const MadeTake take = readAloud(wholePage());
    const TakeSplit split = splitTake(take.mono, kRate, kPage);
    EXPECT_EQ(split.problem, TakeProblem::None) << qPrintable(split.message);
    EXPECT_TRUE(cutsBetweenLines(split.clips, take));
    EXPECT_FALSE(cutsBetweenLines(splitAtLongestPauses(take.mono, kRate, int(kPage.size())), take));
}

TEST(TakeSplitter, NamesALineLeftOutOrReadTwice) {
    std::vector<int> order = wholePage();
    order.erase(order.begin() + 1);
    TakeSplit split = splitTake(readAloud(order).mono, kRate, kPage);
    EXPECT_EQ(split.problem, TakeProblem::LineMissing);
    EXPECT_TRUE(split.firstLine <= 1 && 1 <= split.lastLine) << qPrintable(split.message);
    EXPECT_TRUE(split.message.contains("missing")) << qPrintable(split.message);

    order = wholePage();
    order.insert(order.begin() + 3, 3);
    split = splitTake(readAloud(order).mono, kRate, kPage);
    EXPECT_EQ(split.problem, TakeProblem::LineRepeated);
    EXPECT_TRUE(split.firstLine <= 3 && 3 <= split.lastLine) << qPrintable(split.message);
}

TEST(TakeSplitter, SilentOrTooShortTakesGiveNoClips) {
    for (const std::vector<float>& mono :
         {std::vector<float>{}, std::vector<float>(5, 0.5f), std::vector<float>(kRate, 0.0f)}) {
        const TakeSplit split = splitTake(mono, kRate, kPage);
        EXPECT_EQ(split.problem, TakeProblem::NoSpeech);
        EXPECT_TRUE(split.clips.empty());
    }
    // One line, one clip around it.
    const MadeTake take = readAloud({2});
    const TakeSplit split = splitTake(take.mono, kRate, {kPage[2]});
    EXPECT_EQ(split.problem, TakeProblem::None);
    EXPECT_TRUE(cutsBetweenLines(split.clips, take));
}

TEST(TakeSplitter, LinesAreAsLongAsTheirWordsNotTheirSpelling) {
    EXPECT_DOUBLE_EQ(spokenLength("Number 3."), spokenLength("Number three."));
    EXPECT_DOUBLE_EQ(spokenLength("I'm Tom!"), spokenLength("Im Tom"));
    EXPECT_GT(spokenLength("Hi, Pip! I'm Tom."), spokenLength("Hi Pip I'm Tom"));
}

TEST(TakeSplitter, TheCommandWritesOneClipPerLineAndPrintsTheCuts) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const MadeTake take = readAloud(wholePage());
    QList<qint16> samples;
    for (const float v : take.mono) samples.append(qint16(std::lround(v * 32767)));
    QFile wav(dir.filePath("take.wav")), lines(dir.filePath("lines.txt"));
    ASSERT_TRUE(wav.open(QIODevice::WriteOnly) && lines.open(QIODevice::WriteOnly));
    wav.write(pcmWav(samples, kRate, 1));
    lines.write((kPage.join('\n') + "\n\n").toUtf8());
    wav.close(), lines.close();
    const auto run = [&](const QString& linesFile, const QString& out) {
        QProcess tool;
        tool.start(QStringLiteral(QCBOOK_TOOL),
                   {"--split", wav.fileName(), "--lines", linesFile, "--out", out});
        tool.waitForFinished(60000);
        return std::pair{tool.exitCode(), QString::fromUtf8(tool.readAllStandardOutput() +
                                                            tool.readAllStandardError())};
    };

    const auto [code, output] = run(lines.fileName(), dir.filePath("clips"));
    ASSERT_EQ(code, 0) << qPrintable(output);
    const QStringList printed = output.split('\n', Qt::SkipEmptyParts).filter("\t");
    ASSERT_EQ(printed.size(), kPage.size()) << qPrintable(output);
    std::vector<TakeSpan> clips;
    for (qsizetype i = 0; i < printed.size(); ++i) {
        const QStringList fields = printed[i].split('\t');
        ASSERT_EQ(fields.size(), 3);
        EXPECT_EQ(fields[2], kPage[i]);
        clips.push_back(
            {fields[0].toLongLong() * kRate / 1000, fields[1].toLongLong() * kRate / 1000});
        QFile clip(dir.filePath(QStringLiteral("clips/%1.wav").arg(i + 1, 2, 10, QChar('0'))));
        ASSERT_TRUE(clip.open(QIODevice::ReadOnly)) << qPrintable(clip.fileName());
        std::vector<float> mono;
        int rate = 0;
        ASSERT_TRUE(decodeWavMono(clip.readAll(), mono, rate, nullptr));
        EXPECT_EQ(rate, kRate);
        EXPECT_NEAR(double(mono.size()) / kRate * 1000, fields[1].toDouble() - fields[0].toDouble(),
                    1.5);
    }
    EXPECT_TRUE(cutsBetweenLines(clips, take));

    // With a line the take does not have, the command names it and writes nothing.
    QFile more(dir.filePath("more.txt"));
    ASSERT_TRUE(more.open(QIODevice::WriteOnly));
    more.write((QStringList(kPage).mid(0, 4).join('\n') + "\nLet's sing a song together!\n" +
                QStringList(kPage).mid(4).join('\n'))
                   .toUtf8());
    more.close();
    const auto [failed, message] = run(more.fileName(), dir.filePath("none"));
    EXPECT_EQ(failed, 1);
    EXPECT_TRUE(message.contains("missing")) << qPrintable(message);
    EXPECT_FALSE(QDir(dir.filePath("none")).exists());
}
