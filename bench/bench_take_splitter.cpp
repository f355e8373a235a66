// One take per page, measured: takes of whole pages are made from the built-in book's own
// recordings (each page's English lines in order, joined by pauses drawn from a range, room
// noise added) and cut by the take splitter and by the longest-pause rule. A take is fully
// right when every cut lies in the true pause between its lines and within 150 ms of that
// pause's middle, and no problem is reported. Takes with a line left out or read twice check
// that the splitter names the line.
//
// usage: bench_take_splitter [--book FILE] [--takes N] [--write DIR] [--failures]
// The book file's recordings.tsv (beside it) says which clips are English speech and what
// each says. --takes: takes per page and condition (8). --write keeps the first take of each
// page and condition as WAV, with its lines. --failures prints every take cut wrongly.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTextStream>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

#include "book/book_file.h"
#include "recordings/pipeline.h"
#include "recordings/take_splitter.h"
#include "recordings/wav_image.h"

using namespace tool;

namespace {

constexpr int kRate = 22050;
constexpr double kRightWithin = 0.150;  // seconds from the middle of the true pause
constexpr int kFewestLines = 8, kMostLines = 38;

struct Line {
    QString text;
    std::vector<float> speech;  // the recording's sound, its silences cut off
};

struct Page {
    int number = 0;
    std::vector<Line> lines;
};

struct Condition {
    const char* name;
    double shortestPause, longestPause;  // seconds
    double noiseDb;                      // dBFS
};

// What each clip of the book is: its voice ("en", "zh", "synth") and what it says.
struct ClipFacts {
    QString voice, text;
};

QHash<int, ClipFacts> readClipList(const QString& path) {
    QHash<int, ClipFacts> clips;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return clips;
    QTextStream in(&file);
    in.readLine();  // the heading
    while (!in.atEnd()) {
        const QStringList fields = in.readLine().split('\t');
        if (fields.size() >= 5) clips.insert(fields[0].toInt(), {fields[1], fields[4]});
    }
    return clips;
}

// Linear interpolation is plenty for finding pauses in speech.
std::vector<float> resample(const std::vector<float>& in, int from, int to) {
    if (from == to || in.empty()) return in;
    std::vector<float> out(size_t(double(in.size()) * to / from));
    for (size_t i = 0; i < out.size(); ++i) {
        const double x = double(i) * from / to;
        const size_t k = std::min(size_t(x), in.size() - 1);
        const double t = x - double(k);
        out[i] = float(in[k] * (1 - t) + in[std::min(k + 1, in.size() - 1)] * t);
    }
    return out;
}

bool speechOfClip(const book::Blob& blob, std::vector<float>& speech) {
    std::vector<float> mono;
    int rate = 0;
    const QByteArray wav =
        QByteArray::fromRawData(reinterpret_cast<const char*>(blob.data), qsizetype(blob.size));
    if (!decodeWavMono(wav, mono, rate, nullptr)) return false;
    mono = resample(mono, rate, kRate);
    const SoundSpan span = findSound(mono, kRate);
    if (!span.found) return false;
    speech.assign(mono.begin() + span.first, mono.begin() + span.last + 1);
    return true;
}

// The pages with 8 to 38 English lines spoken by a voice: each entry's recording once, in the
// entries' order, without placeholders and made sounds.
std::vector<Page> pagesOf(const book::Book& book, const QHash<int, ClipFacts>& facts) {
    std::vector<Page> pages;
    for (int p = 0; p < book.pageCount; ++p) {
        const book::PageDef& def = book.pages[p];
        if (def.wordList || !def.textTable) continue;
        const QStringList table = QString::fromUtf8(def.textTable).split(QStringLiteral("\r\n"));
        Page page{def.pageNumber, {}};
        QSet<int> taken;
        for (int e = 0; e < def.entryCount; ++e) {
            const int clip = def.clips[e];
            const QString english = table.value(2 * e).trimmed();
            if (english == QLatin1String("$") || taken.contains(clip) ||
                facts.value(clip).voice != QLatin1String("en"))
                continue;
            taken.insert(clip);
            Line line{facts.value(clip).text, {}};
            if (!speechOfClip(book.clips[clip], line.speech)) continue;
            page.lines.push_back(std::move(line));
        }
        const int n = int(page.lines.size());
        if (n >= kFewestLines && n <= kMostLines) pages.push_back(std::move(page));
    }
    return pages;
}

// Room noise: pink noise (Paul Kellet's filter) with mains hum 6 dB under it, at `db` RMS.
std::vector<float> roomNoise(size_t samples, double db, std::mt19937& random) {
    std::normal_distribution<double> white(0, 1);
    std::vector<double> noise(samples);
    double b0 = 0, b1 = 0, b2 = 0;
    for (size_t i = 0; i < samples; ++i) {
        const double w = white(random);
        b0 = 0.99765 * b0 + w * 0.0990460;
        b1 = 0.96300 * b1 + w * 0.2965164;
        b2 = 0.57000 * b2 + w * 1.0526913;
        noise[i] = b0 + b1 + b2 + w * 0.1848;
    }
    const auto rms = [](const std::vector<double>& v) {
        double sum = 0;
        for (const double x : v) sum += x * x;
        return std::sqrt(sum / double(v.size()));
    };
    const double pinkRms = rms(noise);
    const double hum = std::pow(10.0, -6.0 / 20);  // relative to the pink noise
    for (size_t i = 0; i < samples; ++i) {
        const double t = double(i) / kRate;
        noise[i] = noise[i] / pinkRms +
                   hum * std::sqrt(2.0 / 3) *
                       (std::sin(2 * M_PI * 50 * t) + 0.6 * std::sin(2 * M_PI * 100 * t) +
                        0.4 * std::sin(2 * M_PI * 150 * t));
    }
    const double gain = std::pow(10.0, db / 20) / rms(noise);
    std::vector<float> out(samples);
    for (size_t i = 0; i < samples; ++i) out[i] = float(noise[i] * gain);
    return out;
}

// A take, where its lines' speech truly lies (samples), and which of its milliseconds hold
// sound: a peak within 45 dB of the line's own, as the recording pipeline finds sound.
struct Take {
    std::vector<float> mono;
    std::vector<TakeSpan> speech;
    std::vector<bool> sound;  // one a millisecond
    QStringList texts;

    bool soundAt(qsizetype sample) const {
        const auto ms = size_t(sample * 1000 / kRate);
        return ms < sound.size() && sound[ms];
    }
};

void markSound(Take& take, qsizetype first, const std::vector<float>& speech) {
    float peak = 0;
    for (const float v : speech) peak = std::max(peak, std::abs(v));
    const float threshold = peak * std::pow(10.0f, float(kCutThreshold) / 20);
    take.sound.resize(take.mono.size() * 1000 / kRate + 1, false);
    for (size_t i = 0; i < speech.size(); ++i) {
        if (std::abs(speech[i]) > threshold)
            take.sound[size_t((first + qsizetype(i)) * 1000 / kRate)] = true;
    }
}

// The lines in `order` (indexes into the page's lines, a line may come twice or not at all)
// read with pauses drawn from the condition's range, in room noise. A line read a second time
// is read up to 8 % faster or slower.
Take makeTake(const Page& page, const std::vector<int>& order, const Condition& c,
              std::mt19937& random) {
    std::uniform_real_distribution<double> pause(c.shortestPause, c.longestPause);
    std::uniform_real_distribution<double> margin(0.4, 1.0), pace(0.92, 1.08);
    Take take;
    take.mono.assign(size_t(margin(random) * kRate), 0.0f);
    std::vector<bool> read(page.lines.size(), false);
    for (size_t k = 0; k < order.size(); ++k) {
        if (k > 0) take.mono.resize(take.mono.size() + size_t(pause(random) * kRate), 0.0f);
        const std::vector<float>& once = page.lines[size_t(order[k])].speech;
        const std::vector<float> speech =
            read[size_t(order[k])] ? resample(once, kRate, int(kRate * pace(random))) : once;
        read[size_t(order[k])] = true;
        const auto first = qsizetype(take.mono.size());
        take.mono.insert(take.mono.end(), speech.begin(), speech.end());
        take.speech.push_back({first, qsizetype(take.mono.size())});
        markSound(take, first, speech);
    }
    take.mono.resize(take.mono.size() + size_t(margin(random) * kRate), 0.0f);
    take.sound.resize(take.mono.size() * 1000 / kRate + 1, false);
    const std::vector<float> noise = roomNoise(take.mono.size(), c.noiseDb, random);
    for (size_t i = 0; i < take.mono.size(); ++i) take.mono[i] += noise[i];
    for (const Line& line : page.lines) take.texts << line.text;
    return take;
}

std::vector<int> inOrder(const Page& page) {
    std::vector<int> order(page.lines.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = int(i);
    return order;
}

struct Tally {
    int takes = 0, fullyRight = 0, flagged = 0, cuts = 0, wrongGap = 0, inWord = 0;
    std::vector<double> errors;  // seconds, every boundary
    double seconds = 0;          // splitting time

    void add(const Take& take, const std::vector<TakeSpan>& clips, bool problem) {
        ++takes;
        flagged += problem;
        bool right = !problem && clips.size() == take.speech.size();
        if (clips.size() != take.speech.size()) {
            errors.push_back(99);
            fullyRight += right;
            return;
        }
        // The trims must keep the first and last line whole too.
        cuts += 2;
        wrongGap += (clips.front().first > take.speech.front().first) +
                    (clips.back().end < take.speech.back().end);
        inWord += take.soundAt(clips.front().first) + take.soundAt(clips.back().end - 1);
        right = right && clips.front().first <= take.speech.front().first &&
                clips.back().end >= take.speech.back().end;
        for (size_t j = 0; j + 1 < clips.size(); ++j) {
            const qsizetype cut = clips[j].end;
            const qsizetype gapFirst = take.speech[j].end, gapEnd = take.speech[j + 1].first;
            const double error = std::abs(double(cut) - double(gapFirst + gapEnd) / 2) / kRate;
            const bool inGap = cut >= gapFirst && cut <= gapEnd;
            errors.push_back(error);
            ++cuts;
            wrongGap += !inGap;
            inWord += take.soundAt(cut);
            right = right && inGap && error <= kRightWithin;
        }
        fullyRight += right;
    }
    double percentile(double share) const {
        if (errors.empty()) return 0;
        std::vector<double> sorted = errors;
        std::sort(sorted.begin(), sorted.end());
        return sorted[std::min(sorted.size() - 1, size_t(share * double(sorted.size())))];
    }
};

void printTally(const char* condition, const char* rule, const Tally& t) {
    printf("%-26s %-14s %6d %9.1f %8.0f %10.1f %9.2f %9.1f %8.0f\n", condition, rule, t.takes,
           100.0 * t.fullyRight / std::max(1, t.takes), 1000 * t.percentile(0.95),
           100.0 * t.wrongGap / std::max(1, t.cuts), 100.0 * t.inWord / std::max(1, t.cuts),
           100.0 * t.flagged / std::max(1, t.takes), 1000 * t.seconds / std::max(1, t.takes));
}

void writeTake(const QString& folder, const QString& name, const Take& take) {
    QList<qint16> samples;
    for (const float v : take.mono)
        samples.append(qint16(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767)));
    QFile wav(QDir(folder).filePath(name + ".wav"));
    if (wav.open(QIODevice::WriteOnly)) wav.write(pcmWav(samples, kRate, 1));
    QFile text(QDir(folder).filePath(name + ".txt"));
    if (text.open(QIODevice::WriteOnly)) text.write((take.texts.join('\n') + '\n').toUtf8());
}

// For --failures: a take the splitter got wrong, with its lines (where they lie, how long
// they last against their predicted length at an even pace) and the pauses it found.
void printFailure(const Page& page, const Take& take, const TakeSplit& split) {
    std::vector<size_t> wrong;
    for (size_t j = 0; j + 1 < split.clips.size() && j + 1 < take.speech.size(); ++j) {
        const qsizetype cut = split.clips[j].end;
        const qsizetype gapFirst = take.speech[j].end, gapEnd = take.speech[j + 1].first;
        if (cut < gapFirst || cut > gapEnd || take.soundAt(cut) ||
            std::abs(double(cut) - double(gapFirst + gapEnd) / 2) / kRate > kRightWithin)
            wrong.push_back(j);
    }
    if (wrong.empty() && split.problem == TakeProblem::None) return;
    const auto s = [](qsizetype sample) { return double(sample) / kRate; };
    printf("page %d: %s\n", page.number, qPrintable(split.message));
    for (const size_t j : wrong) {
        printf("  cut after line %zu at %.3f s%s; true pause %.3f-%.3f s\n", j + 1,
               s(split.clips[j].end), take.soundAt(split.clips[j].end) ? " (in sound)" : "",
               s(take.speech[j].end), s(take.speech[j + 1].first));
    }
    printf("  lines:");
    for (size_t i = 0; i < take.speech.size(); ++i) {
        printf(" [%.2f-%.2f %.2f/%.2f %s]", s(take.speech[i].first), s(take.speech[i].end),
               s(take.speech[i].end - take.speech[i].first), spokenLength(take.texts[qsizetype(i)]),
               qPrintable(take.texts[qsizetype(i)]));
    }
    printf("\n  pauses found:");
    for (const TakeSpan& p : findSpeech(take.mono, kRate).pauses)
        printf(" %.2f-%.2f", s(p.first), s(p.end));
    printf("\n");
}

// How well the lines' texts predict their recordings' lengths: the spread of the log ratio of
// the two around its mean, for short, middling and long lines.
void printLengthModel(const std::vector<Page>& pages) {
    std::vector<std::pair<double, double>> points;  // predicted seconds, log ratio
    double sum = 0;
    for (const Page& page : pages) {
        for (const Line& line : page.lines) {
            const double predicted = spokenLength(line.text);
            const double ratio = std::log(double(line.speech.size()) / kRate / predicted);
            points.push_back({predicted, ratio});
            sum += ratio;
        }
    }
    const double mean = sum / double(points.size());
    printf(
        "line lengths over %zu lines: %.2f times the predicted on average; spread (SD of the "
        "log ratio):",
        points.size(), std::exp(mean));
    for (const auto& [low, high] : {std::pair{0.0, 0.6}, {0.6, 1.2}, {1.2, 99.0}}) {
        double s2 = 0;
        int n = 0;
        for (const auto& [predicted, ratio] : points) {
            if (predicted < low || predicted >= high) continue;
            s2 += (ratio - mean) * (ratio - mean);
            ++n;
        }
        printf(" %.1f-%.1f s %.2f (%d lines)", low, std::min(high, 10.0),
               std::sqrt(s2 / std::max(1, n)), n);
    }
    printf("\n");
}

// Takes with a line left out, or read twice, on each page: how often the splitter says so and
// names the line (alone, or among neighbours that fit alike).
struct ProblemTally {
    int takes = 0, reported = 0, named = 0, alone = 0, widths = 0;

    void add(const Page& page, int k, const TakeSplit& split, TakeProblem expected) {
        ++takes;
        if (split.problem != expected) return;
        ++reported;
        // A line with the same text is the same line.
        const auto same = [&](int line) {
            return page.lines[size_t(line)].text == page.lines[size_t(k)].text;
        };
        bool inRange = false;
        for (int line = split.firstLine; line <= split.lastLine; ++line) inRange |= same(line);
        named += inRange;
        alone += inRange && same(split.line) && split.firstLine == split.lastLine;
        widths += split.lastLine - split.firstLine + 1;
    }
    void print(const char* what, const Condition& c) const {
        printf("%-26s %-10s %6d %11.0f %8.0f %8.0f %12.1f\n", c.name, what, takes,
               100.0 * reported / std::max(1, takes), 100.0 * named / std::max(1, takes),
               100.0 * alone / std::max(1, takes), double(widths) / std::max(1, reported));
    }
};

void measureMissingAndRepeated(const std::vector<Page>& pages, const Condition& c, int takes) {
    std::mt19937 random(27);
    ProblemTally missing, repeated;
    for (const Page& page : pages) {
        for (int t = 0; t < takes; ++t) {
            const int k = std::uniform_int_distribution<int>(0, int(page.lines.size()) - 1)(random);
            std::vector<int> order = inOrder(page);
            order.erase(order.begin() + k);
            Take take = makeTake(page, order, c, random);
            missing.add(page, k, splitTake(take.mono, kRate, take.texts), TakeProblem::LineMissing);
            order = inOrder(page);
            order.insert(order.begin() + k, k);
            take = makeTake(page, order, c, random);
            repeated.add(page, k, splitTake(take.mono, kRate, take.texts),
                         TakeProblem::LineRepeated);
        }
    }
    missing.print("left out", c);
    repeated.print("read twice", c);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString bookPath = QStringLiteral(QCBOOK_BUILT_IN_BOOK_FILE), writeFolder;
    int takes = 8;
    bool showFailures = false;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString next = args.value(i + 1);
        if (args[i] == "--book") bookPath = next, ++i;
        if (args[i] == "--takes") takes = next.toInt(), ++i;
        if (args[i] == "--write") writeFolder = next, ++i;
        if (args[i] == "--failures") showFailures = true;
    }
    book::BookFileError error;
    const auto file = book::BookFile::open(bookPath, &error);
    if (!file) {
        fprintf(stderr, "%s: %s\n", qPrintable(bookPath), qPrintable(error.detail));
        return 1;
    }
    const auto facts = readClipList(QFileInfo(bookPath).dir().filePath("recordings.tsv"));
    const std::vector<Page> pages = pagesOf(file->book(), facts);
    printf("%zu pages of %d to %d lines:", pages.size(), kFewestLines, kMostLines);
    for (const Page& page : pages) printf(" p%d (%zu)", page.number, page.lines.size());
    printf("\n");
    printLengthModel(pages);
    if (!writeFolder.isEmpty()) QDir().mkpath(writeFolder);

    const Condition conditions[] = {
        {"pauses 250-900, -50 dB", 0.25, 0.90, -50},
        {"pauses 250-900, -35 dB", 0.25, 0.90, -35},
        {"pauses 150-250, -50 dB", 0.15, 0.25, -50},
        {"pauses 150-250, -35 dB", 0.15, 0.25, -35},
    };
    printf("\n%-26s %-14s %6s %9s %8s %10s %9s %9s %8s\n", "condition", "rule", "takes", "right_%",
           "p95_ms", "wrong_gap%", "in_word%", "flagged%", "ms/take");
    for (const Condition& c : conditions) {
        std::mt19937 random(2025);
        Tally fitted, longest;
        for (const Page& page : pages) {
            for (int t = 0; t < takes; ++t) {
                const Take take = makeTake(page, inOrder(page), c, random);
                if (t == 0 && !writeFolder.isEmpty())
                    writeTake(writeFolder,
                              QStringLiteral("p%1-%2-%3")
                                  .arg(page.number)
                                  .arg(int(c.shortestPause * 1000))
                                  .arg(int(-c.noiseDb)),
                              take);
                QElapsedTimer timer;
                timer.start();
                const TakeSplit split = splitTake(take.mono, kRate, take.texts);
                fitted.seconds += timer.nsecsElapsed() / 1e9;
                fitted.add(take, split.clips, split.problem != TakeProblem::None);
                if (showFailures) printFailure(page, take, split);
                longest.add(take, splitAtLongestPauses(take.mono, kRate, int(take.texts.size())),
                            false);
            }
        }
        printTally(c.name, "text lengths", fitted);
        printTally(c.name, "longest pauses", longest);
    }
    printf("\n%-26s %-10s %6s %11s %8s %8s %12s\n", "condition", "line", "takes", "reported_%",
           "named_%", "alone_%", "lines_named");
    measureMissingAndRepeated(pages, conditions[1], std::max(2, takes / 2));
    measureMissingAndRepeated(pages, conditions[3], std::max(2, takes / 2));
    return 0;
}
