// How well the listening check tells a recording of the wrong line, on the built-in book's own
// recordings: every English line is listened to as it is (the share of right recordings
// flagged), then, round after round, ten pairs of lines of one page exchange their recordings
// (the share of the twenty swapped recordings flagged), and ten lines are given the recording of
// a line of another page (the share of those flagged). Also the time per recording.
//
//   listen_check_bench --cache DIR [--source DIR] [--rounds N] [--pairs N] [--jobs N]
//                      [--figures FILE] [--margin X] [--gap X] [--noise DBFS]
//
// The recordings come from the content build's cache (nothing is made again when it holds
// them); --figures writes every hearing's measures for choosing the thresholds; --noise adds a
// hiss to every recording, as a teacher's room would.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QTextStream>
#include <cmath>
#include <cstdio>
#include <random>

#include <sys/resource.h>

#include "recordings/listen_check.h"
#include "recordings/make_recordings.h"
#include "recordings/spoken_words.h"
#include "recordings/wav_image.h"
#include "sources/sources.h"

using namespace tool;
using namespace tool::listen;

namespace {

struct Swap {
    int page;
    int a;
    int b;
};

// Ten pairs (or `pairs`) of lines, each pair on a page of its own, whose recordings differ and
// whose words differ: swapping them is a mistake the check should hear.
QList<Swap> chooseSwaps(const QList<QList<ListenLine>>& pages, int pairs, std::mt19937& random) {
    QList<int> order;
    for (int p = 0; p < pages.size(); ++p) order << p;
    std::shuffle(order.begin(), order.end(), random);
    QList<Swap> swaps;
    for (int p : order) {
        if (swaps.size() == pairs) break;
        const QList<ListenLine>& lines = pages[p];
        QList<QPair<int, int>> candidates;
        for (int a = 0; a < lines.size(); ++a) {
            for (int b = a + 1; b < lines.size(); ++b) {
                if (lines[a].wav.isEmpty() || lines[b].wav.isEmpty() ||
                    lines[a].wav == lines[b].wav ||
                    spokenWords(lines[a].text) == spokenWords(lines[b].text)) {
                    continue;
                }
                candidates.append({a, b});
            }
        }
        if (candidates.isEmpty()) continue;
        const auto pick = candidates[int(random() % candidates.size())];
        swaps.append({p, pick.first, pick.second});
    }
    return swaps;
}

// Ten lines (or `count`), each on a page of its own, given the recording of a line of another
// page whose words the page does not have: a recording of no line of the page at all.
QList<Swap> chooseStrangers(const QList<QList<ListenLine>>& pages, int count,
                            std::mt19937& random) {
    QList<int> order;
    for (int p = 0; p < pages.size(); ++p) order << p;
    std::shuffle(order.begin(), order.end(), random);
    QList<Swap> strangers;
    for (int p : order) {
        if (strangers.size() == count) break;
        const QList<ListenLine>& lines = pages[p];
        QSet<QStringList> said;
        QList<int> heard;
        for (int i = 0; i < lines.size(); ++i) {
            said.insert(spokenWords(lines[i].text));
            if (!lines[i].wav.isEmpty()) heard << i;
        }
        if (heard.isEmpty()) continue;
        for (int tries = 0; tries < 20; ++tries) {
            const int from = int(random() % pages.size());
            if (from == p || pages[from].isEmpty()) continue;
            const int line = int(random() % pages[from].size());
            if (pages[from][line].wav.isEmpty() ||
                said.contains(spokenWords(pages[from][line].text)))
                continue;
            strangers.append({p, heard[int(random() % heard.size())], from * 1000 + line});
            break;
        }
    }
    return strangers;
}

// The recording with a steady hiss added at `decibels` dBFS (RMS), as a room or a phone adds:
// the book's recordings are levelled to -18 LUFS, so -35 dBFS is about 17 dB under the voice.
QByteArray withNoise(const QByteArray& wav, double decibels, std::mt19937& random) {
    std::vector<float> mono;
    int rate = 0;
    if (!decodeWavMono(wav, mono, rate, nullptr)) return wav;
    std::normal_distribution<float> hiss(0.0f, float(std::pow(10.0, decibels / 20.0)));
    QList<qint16> samples;
    for (const float v : mono) {
        samples << qint16(std::lround(std::clamp(v + hiss(random), -1.0f, 1.0f) * 32767.0f));
    }
    return pcmWav(samples, rate, 1);
}

const char* verdictName(Hearing::Verdict v) {
    switch (v) {
        case Hearing::Fits:
            return "fits";
        case Hearing::SoundsLikeOther:
            return "other";
        case Hearing::FitsPoorly:
            return "poor";
        case Hearing::NotHeard:
            return "unheard";
    }
    return "";
}

void writeFigures(QTextStream& out, int round, const QList<ListenLine>& lines,
                  const QList<Hearing>& hearings, const QSet<int>& swapped) {
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].wav.isEmpty()) continue;
        const Hearing& h = hearings[i];
        out << round << '\t' << lines[i].where.file << ':' << lines[i].where.line << '\t'
            << (swapped.contains(i) ? 1 : 0) << '\t' << verdictName(h.verdict) << '\t'
            << h.otherMargin << '\t' << h.ownGap << '\t' << lines[i].text << '\n';
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption source("source", "Content folder.", "folder",
                                    QStringLiteral(QCBOOK_SOURCE_DIR "/content/book"));
    const QCommandLineOption cache("cache", "The content build's recordings cache.", "folder");
    const QCommandLineOption rounds("rounds", "Rounds of swaps.", "n", "1");
    const QCommandLineOption pairsOption("pairs", "Pairs swapped in a round.", "n", "10");
    const QCommandLineOption jobs("jobs", "Threads.", "n", "2");
    const QCommandLineOption figures("figures", "Write every hearing's measures here.", "file");
    const QCommandLineOption margin("margin", "Another line fits better by this much.", "x");
    const QCommandLineOption gap("gap", "Its own line fits worse than speech by this much.", "x");
    const QCommandLineOption noise("noise", "Add a hiss at this level (dBFS) to every recording.",
                                   "db");
    parser.addOptions({source, cache, rounds, pairsOption, jobs, figures, margin, gap, noise});
    parser.process(app);
    if (!parser.isSet(cache)) parser.showHelp(2);
    Thresholds thresholds;
    if (parser.isSet(margin)) thresholds.otherMargin = parser.value(margin).toDouble();
    if (parser.isSet(gap)) thresholds.ownGap = parser.value(gap).toDouble();
    const int threads = parser.value(jobs).toInt();

    Problems problems;
    const BookSources book = readSources(parser.value(source), {}, problems);
    QList<RecordingJob> recordingJobs;
    QSet<QString> keys;
    for (const Recording& r : recordingsToHear(book, false)) {
        if (!keys.contains(r.key())) recordingJobs.append({r, {}});
        keys.insert(r.key());
    }
    RecordingCounts counts;
    const QHash<QString, QByteArray> recordings =
        makeRecordings(recordingJobs, parser.value(cache), threads, problems, &counts);
    if (!problems.empty()) {
        fputs(qPrintable(problems.report()), stderr);
        return 1;
    }
    printf("%d recordings: %d from the cache, %d made\n", int(recordingJobs.size()), counts.reused,
           counts.finished);

    QFile figuresFile(parser.value(figures));
    if (parser.isSet(figures)) figuresFile.open(QIODevice::WriteOnly | QIODevice::Text);
    QTextStream out(&figuresFile);
    out << "round\tline\tswapped\tverdict\tother_margin\town_gap\ttext\n";

    // The book as it is: every flag is a right recording flagged.
    QList<QList<ListenLine>> pages = linesToHear(book, recordings, false);
    if (parser.isSet(noise)) {
        std::mt19937 random(0);
        for (QList<ListenLine>& lines : pages) {
            for (ListenLine& line : lines) {
                if (!line.wav.isEmpty())
                    line.wav = withNoise(line.wav, parser.value(noise).toDouble(), random);
            }
        }
    }
    QList<QList<Hearing>> hearings;
    QString error;
    QElapsedTimer clock;
    clock.start();
    if (!listenToPages(pages, threads, hearings, error, thresholds)) {
        fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const double seconds = clock.elapsed() / 1000.0;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double cpu = double(usage.ru_utime.tv_sec) + usage.ru_utime.tv_usec / 1e6;
    int heard = 0, flagged = 0;
    for (int p = 0; p < pages.size(); ++p) {
        for (int i = 0; i < pages[p].size(); ++i) {
            if (pages[p][i].wav.isEmpty()) continue;
            ++heard;
            if (hearings[p][i].verdict != Hearing::Fits) {
                ++flagged;
                printf("  right recording flagged: %s:%d \"%s\": %s\n",
                       qPrintable(pages[p][i].where.file), pages[p][i].where.line,
                       qPrintable(pages[p][i].text),
                       qPrintable(flagMessage(hearings[p][i], pages[p])));
            }
        }
        if (parser.isSet(figures)) writeFigures(out, 0, pages[p], hearings[p], {});
    }
    printf("right recordings flagged: %d of %d (%.1f %%; goal at most 5 %%)\n", flagged, heard,
           100.0 * flagged / std::max(1, heard));
    printf(
        "time: %.2f s of processor time per line heard, loading the recogniser and reading "
        "the cache included (%.0f s for %d lines on %d thread(s))\n",
        cpu / std::max(1, heard), seconds, heard, threads);

    // Rounds of swaps: two lines of a page exchange their recordings.
    int swappedTotal = 0, swappedFlagged = 0, pointedRight = 0;
    int strangersTotal = 0, strangersFlagged = 0;
    for (int round = 1; round <= parser.value(rounds).toInt(); ++round) {
        std::mt19937 random(round);
        const QList<Swap> swaps = chooseSwaps(pages, parser.value(pairsOption).toInt(), random);
        QList<QList<ListenLine>> swappedPages;
        for (const Swap& s : swaps) {
            // Only the swapped two are heard again: the others were heard as they are.
            QList<ListenLine> lines = pages[s.page];
            const QByteArray a = lines[s.a].wav, b = lines[s.b].wav;
            for (ListenLine& line : lines) line.wav.clear();
            lines[s.a].wav = b;
            lines[s.b].wav = a;
            swappedPages << lines;
        }
        if (!listenToPages(swappedPages, threads, hearings, error, thresholds)) return 1;
        int roundFlagged = 0;
        for (int k = 0; k < swaps.size(); ++k) {
            const QList<ListenLine>& lines = swappedPages[k];
            for (const int i : {swaps[k].a, swaps[k].b}) {
                const Hearing& h = hearings[k][i];
                const bool hit = h.verdict != Hearing::Fits;
                roundFlagged += hit;
                const int partner = i == swaps[k].a ? swaps[k].b : swaps[k].a;
                pointedRight +=
                    h.verdict == Hearing::SoundsLikeOther &&
                    spokenWords(lines[h.other].text) == spokenWords(lines[partner].text);
                if (!hit) {
                    printf("  swap missed: %s:%d \"%s\" playing \"%s\" (margin %.0f, gap %.0f)\n",
                           qPrintable(lines[i].where.file), lines[i].where.line,
                           qPrintable(lines[i].text), qPrintable(lines[partner].text),
                           h.otherMargin, h.ownGap);
                }
            }
            if (parser.isSet(figures))
                writeFigures(out, round, lines, hearings[k], {swaps[k].a, swaps[k].b});
        }
        // Recordings of lines the page does not have.
        const QList<Swap> strangers = chooseStrangers(pages, int(swaps.size()), random);
        QList<QList<ListenLine>> strangerPages;
        for (const Swap& s : strangers) {
            QList<ListenLine> lines = pages[s.page];
            for (ListenLine& line : lines) line.wav.clear();
            lines[s.a].wav = pages[s.b / 1000][s.b % 1000].wav;
            strangerPages << lines;
        }
        if (!listenToPages(strangerPages, threads, hearings, error, thresholds)) return 1;
        for (int k = 0; k < strangers.size(); ++k) {
            const Hearing& h = hearings[k][strangers[k].a];
            strangersFlagged += h.verdict != Hearing::Fits;
            const ListenLine& line = strangerPages[k][strangers[k].a];
            if (h.verdict == Hearing::Fits) {
                printf("  stranger missed: %s:%d \"%s\" playing \"%s\" (gap %.0f)\n",
                       qPrintable(line.where.file), line.where.line, qPrintable(line.text),
                       qPrintable(pages[strangers[k].b / 1000][strangers[k].b % 1000].text),
                       h.ownGap);
            }
            if (parser.isSet(figures))
                writeFigures(out, -round, strangerPages[k], hearings[k], {strangers[k].a});
        }
        strangersTotal += int(strangers.size());
        swappedTotal += 2 * int(swaps.size());
        swappedFlagged += roundFlagged;
        printf("round %d: %d of %d swapped recordings flagged\n", round, roundFlagged,
               2 * int(swaps.size()));
    }
    printf(
        "swapped recordings flagged: %d of %d (%.1f %%; goal at least 90 %%), %d of them "
        "named the line they say\n",
        swappedFlagged, swappedTotal, 100.0 * swappedFlagged / std::max(1, swappedTotal),
        pointedRight);
    printf("recordings of a line the page does not have flagged: %d of %d (%.1f %%)\n",
           strangersFlagged, strangersTotal,
           100.0 * strangersFlagged / std::max(1, strangersTotal));
    return 0;
}
