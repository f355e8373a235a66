#include "recordings/take_splitter.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <numeric>

namespace tool {

namespace {

// --- Where the speech is -------------------------------------------------------------------

// The envelope: the energy of 10 ms frames in two bands, each against its own noise floor. The
// voice band has hum and rumble filtered away (a fourth-order Butterworth high-pass: 50 Hz hum
// comes out 38 dB down, a voice keeps its harmonics); the hiss band above 3 kHz hears the
// fricatives and bursts ("f", "s", "t") that a room's noise, loudest low down, hides in the
// voice band.
constexpr double kFrameSeconds = 0.010;
constexpr double kVoiceHz = 150.0;
constexpr double kHissHz = 3000.0;
// A band's noise floor is the level the quietest 5 % of its frames stay under; the speech's
// level the one 95 % stay under. A frame is quiet where it is within 8 dB of the floor, or in
// a take with no noise at all, 45 dB under the speech, in both bands.
constexpr double kFloorShare = 0.05;
constexpr double kSpeechShare = 0.95;
constexpr double kOverFloorDb = 8.0;
constexpr double kUnderSpeechDb = 45.0;
constexpr double kFaintOverFloorDb = 4.0;
constexpr double kFaintUnderSpeechDb = 55.0;
// A pause is 60 ms of quiet at least; a louder stretch shorter than 30 ms (a click, a lip
// smack, a noise peak) does not end it.
constexpr int kShortestPauseFrames = 6;
constexpr int kShortestSoundFrames = 3;

// A second-order high-pass section (the audio EQ cookbook's), run in place.
void highPass(std::vector<double>& signal, int rate, double hz, double q) {
    const double w = 2 * std::numbers::pi * hz / rate;
    const double alpha = std::sin(w) / (2 * q), c = std::cos(w), a0 = 1 + alpha;
    const double b0 = (1 + c) / 2 / a0, b1 = -(1 + c) / a0, b2 = b0;
    const double a1 = -2 * c / a0, a2 = (1 - alpha) / a0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (double& v : signal) {
        const double y = b0 * v + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1, x1 = v, y2 = y1, y1 = y;
        v = y;
    }
}

// The level in dB of each frame of the take high-passed at `hz`.
std::vector<double> frameLevels(const std::vector<float>& mono, int rate, double hz,
                                qsizetype hop) {
    std::vector<double> filtered(mono.begin(), mono.end());
    // Two sections with the Q values of a fourth-order Butterworth filter.
    highPass(filtered, rate, hz, 0.5412);
    highPass(filtered, rate, hz, 1.3066);
    std::vector<double> levels(filtered.size() / size_t(hop));
    for (size_t f = 0; f < levels.size(); ++f) {
        double energy = 0;
        for (size_t i = f * size_t(hop); i < (f + 1) * size_t(hop); ++i)
            energy += filtered[i] * filtered[i];
        levels[f] = 10 * std::log10(energy / double(hop) + 1e-14);
    }
    return levels;
}

double shareLevel(std::vector<double> levels, double share) {
    const auto at = levels.begin() + std::ptrdiff_t(share * double(levels.size() - 1));
    std::nth_element(levels.begin(), at, levels.end());
    return *at;
}

// The frames quiet in both bands. Louder stretches too short to be speech count as quiet;
// speech reaches on into the faint frames around it (a word's fading end, a soft onset), as
// long as their level, smoothed over 30 ms, stays 4 dB over the floor.
std::vector<bool> quietFrames(const std::vector<float>& mono, int rate, qsizetype hop) {
    std::vector<bool> quiet(mono.size() / size_t(hop), true), faint(quiet.size(), false);
    if (quiet.empty()) return quiet;
    for (const double hz : {kVoiceHz, std::min(kHissHz, 0.4 * rate)}) {
        const std::vector<double> levels = frameLevels(mono, rate, hz, hop);
        const double floor = shareLevel(levels, kFloorShare);
        const double speech = shareLevel(levels, kSpeechShare);
        const double loud = std::max(floor + kOverFloorDb, speech - kUnderSpeechDb);
        const double soft = std::max(floor + kFaintOverFloorDb, speech - kFaintUnderSpeechDb);
        for (size_t f = 0; f < levels.size(); ++f) {
            quiet[f] = quiet[f] && levels[f] < loud;
            const size_t from = f > 0 ? f - 1 : f, to = std::min(levels.size() - 1, f + 1);
            double energy = 0;
            for (size_t k = from; k <= to; ++k) energy += std::pow(10.0, levels[k] / 10);
            faint[f] = faint[f] || 10 * std::log10(energy / double(to - from + 1)) > soft;
        }
    }
    for (size_t f = 0; f < quiet.size();) {
        if (quiet[f]) {
            ++f;
            continue;
        }
        size_t end = f;
        while (end < quiet.size() && !quiet[end]) ++end;
        if (end - f < size_t(kShortestSoundFrames))
            std::fill(quiet.begin() + std::ptrdiff_t(f), quiet.begin() + std::ptrdiff_t(end), true);
        f = end;
    }
    std::vector<bool> grown = quiet;
    for (size_t f = 0; f < quiet.size(); ++f) {
        if (quiet[f]) continue;
        for (size_t k = f; k > 0 && grown[k - 1] && faint[k - 1]; --k) grown[k - 1] = false;
        for (size_t k = f + 1; k < quiet.size() && quiet[k] && faint[k]; ++k) grown[k] = false;
    }
    return grown;
}

}  // namespace

TakeSpeech findSpeech(const std::vector<float>& mono, int rate) {
    TakeSpeech found;
    const auto hop = std::max<qsizetype>(1, qsizetype(std::lround(kFrameSeconds * rate)));
    const std::vector<bool> quiet = quietFrames(mono, rate, hop);
    const auto firstLoud = std::find(quiet.begin(), quiet.end(), false);
    if (firstLoud == quiet.end()) return found;
    const auto first = size_t(firstLoud - quiet.begin());
    const auto last = size_t(quiet.rend() - std::find(quiet.rbegin(), quiet.rend(), false)) - 1;
    found.found = true;
    found.speech = {qsizetype(first) * hop, qsizetype(last + 1) * hop};
    for (size_t f = first; f <= last;) {
        if (!quiet[f]) {
            ++f;
            continue;
        }
        size_t end = f;
        while (quiet[end]) ++end;  // the last frame is loud: the run ends before it
        if (end - f >= size_t(kShortestPauseFrames))
            found.pauses.push_back({qsizetype(f) * hop, qsizetype(end) * hop});
        f = end;
    }
    return found;
}

// --- How long a line takes -------------------------------------------------------------------

namespace {

// A line's length at an even reading pace, from what its letters spell: every line has a
// little of its own, every word, vowel sound and consonant letter adds to it, and inner
// punctuation adds a breath (a comma) or a longer pause (a full stop). Fitted to the built-in
// book's recordings, lines of one word to four sentences: the lengths come within 15 % (one
// standard deviation of the log ratio), where syllables alone come within 26 %.
constexpr double kLineSeconds = 0.12;
constexpr double kWordSeconds = 0.08;
constexpr double kVowelSeconds = 0.05;
constexpr double kConsonantSeconds = 0.05;
constexpr double kCommaSeconds = 0.12;
constexpr double kStopSeconds = 0.40;

bool isVowel(QChar c) {
    return QStringLiteral("aeiouy").contains(c);
}

// The vowel sounds of a word in lower-case letters: its groups of vowels, less a silent final
// e ("like", "faces" but not "table", "boxes"), with a vowel pair said as two ("lion") as two.
int vowelSounds(const QString& word) {
    int groups = 0;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const bool vowel = isVowel(word[i]) && !(word[i] == u'y' && i == 0);
        const bool after = i > 0 && isVowel(word[i - 1]) && !(word[i - 1] == u'y' && i == 1);
        if (vowel && !after) ++groups;
    }
    const auto endsWith = [&](const char* tail) { return word.endsWith(QLatin1String(tail)); };
    if (groups > 1 && endsWith("e") && !endsWith("le") && !endsWith("ee") && !endsWith("ye")) {
        --groups;
    } else if (groups > 1 && endsWith("le") && word.size() > 2 && isVowel(word[word.size() - 3])) {
        --groups;
    } else if (groups > 1 && (endsWith("es") || endsWith("ed"))) {
        static const char* const kSaid[] = {"ses", "xes", "zes", "ches", "shes",
                                            "ces", "ges", "ted", "ded"};
        if (std::none_of(std::begin(kSaid), std::end(kSaid), endsWith)) --groups;
    }
    for (const char* pair : {"ia", "io", "eo", "ua", "uo"}) {
        const qsizetype at = word.indexOf(QLatin1String(pair));
        if (at > 0 && word[at - 1] != u'q' && !word.mid(at - 1).startsWith(QLatin1String("tio")) &&
            !word.mid(at - 1).startsWith(QLatin1String("sio")))
            ++groups;
    }
    return std::max(1, groups);
}

// Numbers written in digits as they are read: up to twenty and whole tens by their names,
// others digit by digit.
QString numberInWords(const QString& digits) {
    static const QStringList kNames = QStringLiteral(
                                          "zero one two three four five six seven eight nine ten "
                                          "eleven twelve thirteen fourteen fifteen sixteen "
                                          "seventeen eighteen nineteen twenty")
                                          .split(u' ');
    static const QStringList kTens =
        QStringLiteral("thirty forty fifty sixty seventy eighty ninety").split(u' ');
    const int value = digits.size() <= 2 ? digits.toInt() : -1;
    if (value >= 0 && value <= 20) return kNames[value];
    if (value > 20 && value % 10 == 0) return kTens[value / 10 - 3];
    QStringList words;
    for (const QChar d : digits) words << kNames[d.digitValue()];
    return words.join(u' ');
}

double wordSeconds(const QString& word) {
    int consonants = 0;
    for (const QChar c : word) consonants += !isVowel(c);
    return kWordSeconds + kVowelSeconds * vowelSounds(word) + kConsonantSeconds * consonants;
}

}  // namespace

double spokenLength(const QString& line) {
    QString spelled;
    static const QRegularExpression kNumber(QStringLiteral("\\d+"));
    qsizetype from = 0;
    for (auto it = kNumber.globalMatch(line); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        spelled +=
            line.mid(from, m.capturedStart() - from) + u' ' + numberInWords(m.captured()) + u' ';
        from = m.capturedEnd();
    }
    spelled += line.mid(from);
    double seconds = kLineSeconds, pause = 0;
    QString word;
    bool spoken = false;  // punctuation counts only between words
    const auto endWord = [&] {
        if (word.isEmpty()) return;
        seconds += (spoken ? pause : 0) + wordSeconds(word);
        spoken = true;
        pause = 0;
        word.clear();
    };
    for (const QChar c : spelled.toLower()) {
        if (c.isLetter()) {
            word += c;
            continue;
        }
        if (c == u'\'' || c == u'\u2019') continue;  // "I'm" is one word
        endWord();
        if (QStringLiteral(".!?").contains(c)) pause = std::max(pause, kStopSeconds);
        if (QStringLiteral(",;:\u2014").contains(c)) pause = std::max(pause, kCommaSeconds);
    }
    endWord();
    return seconds;
}

// --- Fitting the lines to the pauses ---------------------------------------------------------

namespace {

// A line's length in the take against its text's: the log of their ratio is scored in units of
// its expected spread, wider for short lines (a word may be drawn out or clipped).
constexpr double kSpreadLong = 0.15;
constexpr double kSpreadShort = 0.15;  // more for a 0.35 s word, shrinking as 1 / sqrt(length)
constexpr double kShortLine = 0.35;    // seconds
// A longer pause is likelier between lines: its log length against a reference length is worth
// this much (a 1 s pause 7 where a 100 ms one is worth nothing).
constexpr double kPauseWeight = 3.0;
constexpr double kPauseReference = 0.100;  // seconds
// Noise hides the faint edges of words ("f", a breathy end); as much is tried as hidden on each
// line, and the lengths fit best kept.
const std::vector<double> kHiddenLengths = {0, 0.05, 0.10, 0.15};
// No line lasts 4 times longer or shorter than its text predicts.
constexpr double kWidestRatio = 1.386;  // log 4
// The speaking rate is searched over 0.6 to 1.67 times the first guess.
constexpr int kRateSteps = 10;
constexpr double kRateStep = 0.05;  // in log units
// A line left out or read twice must fit this much better than the page as it is; lines for
// which it fits within the margin of the best are named with it. A line lasting 4 spreads off
// its text does not fit.
constexpr double kHypothesisPenalty = 8.0;
constexpr double kTieMargin = 2.0;
constexpr double kMisfitSpreads = 4.0;
// A line read twice need only fit better than the page as it is when its two readings sound
// alike: their spectral shapes lie less than this share of the usual distance between
// neighbouring lines apart. The likeliest few such lines are listened to.
constexpr double kEchoPenalty = 0.0;
constexpr double kAlikeShare = 0.45;
constexpr size_t kEchoesTried = 5;
// A cut lies a little past the middle of its pause: a word's end fades out more slowly than the
// next one starts, and noise hides more of it.
constexpr double kCutShare = 0.55;
// The first clip starts this long before the speech, the last ends this long after it.
constexpr double kLeadSeconds = 0.25;
constexpr double kTailSeconds = 0.30;

constexpr double kNever = std::numeric_limits<double>::infinity();

// Where the lines may meet: node 0 is the start of the speech, nodes 1 to M the pauses, node
// M + 1 the end of the speech; a line runs from the end of one node to the start of a later one.
struct Layout {
    std::vector<double> starts, ends;  // seconds
    std::vector<double> pauseScore;    // cost of cutting at the node (negative: welcome)
    int pauses() const { return int(starts.size()) - 2; }
    // The log length of a line from node `from` to node `to`, with what noise hid of its edges.
    double logLength(int from, int to, double hidden) const {
        return std::log(starts[size_t(to)] - ends[size_t(from)] + hidden);
    }
};

Layout layoutOf(const TakeSpeech& speech, int rate, double reference = kPauseReference) {
    Layout layout;
    const auto seconds = [rate](qsizetype sample) { return double(sample) / rate; };
    layout.starts.push_back(seconds(speech.speech.first));
    layout.ends.push_back(seconds(speech.speech.first));
    layout.pauseScore.push_back(0);
    for (const TakeSpan& p : speech.pauses) {
        layout.starts.push_back(seconds(p.first));
        layout.ends.push_back(seconds(p.end));
        layout.pauseScore.push_back(-kPauseWeight * std::log(seconds(p.end - p.first) / reference));
    }
    layout.starts.push_back(seconds(speech.speech.end));
    layout.ends.push_back(seconds(speech.speech.end));
    layout.pauseScore.push_back(0);
    return layout;
}

struct LineModel {
    double logLength;  // log of spokenLength
    double weight;     // 1 / spread²
};

std::vector<LineModel> modelsOf(const std::vector<double>& lengths) {
    std::vector<LineModel> models;
    for (const double length : lengths) {
        const double spread2 =
            kSpreadLong * kSpreadLong + kSpreadShort * kSpreadShort * kShortLine / length;
        models.push_back({std::log(length), 1 / spread2});
    }
    return models;
}

struct Fit {
    double cost = kNever;
    double logRate = 0;      // log of the take's pace against the even pace
    double hidden = 0;       // seconds of each line's edges that the room's noise hides
    std::vector<int> nodes;  // the node each line ends at; the last is M + 1
};

// The best cuts at one speaking rate, by dynamic programming over (line, node it ends at).
Fit fitAtRate(const Layout& layout, const std::vector<LineModel>& lines, double logRate,
              double hidden) {
    const int n = int(lines.size()), last = layout.pauses() + 1;
    Fit fit;
    fit.logRate = logRate;
    fit.hidden = hidden;
    if (n == 0 || n - 1 > layout.pauses()) return fit;
    std::vector<std::vector<double>> cost(size_t(n), std::vector<double>(size_t(last) + 1, kNever));
    std::vector<std::vector<int>> from(size_t(n), std::vector<int>(size_t(last) + 1, -1));
    for (int i = 0; i < n; ++i) {
        const LineModel& line = lines[size_t(i)];
        // Line i ends at a pause that leaves one for each later cut, or the last one at the end.
        const int lowest = i == n - 1 ? last : i + 1;
        const int highest = i == n - 1 ? last : layout.pauses() - (n - 2 - i);
        for (int a = i == 0 ? 0 : i; a <= (i == 0 ? 0 : highest); ++a) {
            const double before = i == 0 ? 0 : cost[size_t(i - 1)][size_t(a)];
            if (before == kNever) continue;
            for (int b = std::max(a + 1, lowest); b <= highest; ++b) {
                const double off = layout.logLength(a, b, hidden) - logRate - line.logLength;
                if (off > kWidestRatio) break;
                if (off < -kWidestRatio) continue;
                const double total =
                    before + line.weight * off * off + layout.pauseScore[size_t(b)];
                if (total < cost[size_t(i)][size_t(b)]) {
                    cost[size_t(i)][size_t(b)] = total;
                    from[size_t(i)][size_t(b)] = a;
                }
            }
        }
    }
    if (cost[size_t(n - 1)][size_t(last)] == kNever) return fit;
    fit.cost = cost[size_t(n - 1)][size_t(last)];
    fit.nodes.resize(size_t(n));
    for (int i = n - 1, b = last; i >= 0; --i) {
        fit.nodes[size_t(i)] = b;
        b = from[size_t(i)][size_t(b)];
    }
    return fit;
}

// The speaking rate at which the cuts found fit best: the weighted mean of the lines' log ratios.
double rateOfFit(const Layout& layout, const std::vector<LineModel>& lines, const Fit& fit) {
    double sum = 0, weights = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const int a = i == 0 ? 0 : fit.nodes[i - 1];
        sum +=
            lines[i].weight * (layout.logLength(a, fit.nodes[i], fit.hidden) - lines[i].logLength);
        weights += lines[i].weight;
    }
    return sum / weights;
}

// The best cuts over speaking rates around `guess` and the edges' hidden lengths: a coarse
// search, then the rate the cuts found imply, until the cuts no longer improve.
Fit fitLines(const Layout& layout, const std::vector<LineModel>& lines, double guess, int steps,
             const std::vector<double>& hiddenLengths) {
    Fit best;
    for (const double hidden : hiddenLengths) {
        for (int k = -steps; k <= steps; ++k) {
            Fit fit = fitAtRate(layout, lines, guess + k * kRateStep, hidden);
            if (fit.cost < best.cost) best = std::move(fit);
        }
    }
    for (int round = 0; round < 3 && best.cost < kNever; ++round) {
        Fit fit = fitAtRate(layout, lines, rateOfFit(layout, lines, best), best.hidden);
        if (!(fit.cost < best.cost - 1e-9)) break;
        best = std::move(fit);
    }
    return best;
}

// The first guess at the speaking rate: the speech's length less the longest pauses (taken
// for the pauses between lines), over the lines' lengths at an even pace.
double guessRate(const Layout& layout, const std::vector<double>& lengths) {
    std::vector<double> pauses;
    for (int p = 1; p <= layout.pauses(); ++p)
        pauses.push_back(layout.ends[size_t(p)] - layout.starts[size_t(p)]);
    std::sort(pauses.begin(), pauses.end(), std::greater<>());
    double speaking = layout.starts.back() - layout.ends.front();
    for (size_t p = 0; p + 1 < lengths.size() && p < pauses.size(); ++p) speaking -= pauses[p];
    double even = 0;
    for (const double l : lengths) even += l;
    return std::log(std::max(speaking, 0.1 * even) / even);
}

// The pause length halfway in log length between the median pause the cuts took and the median
// pause left inside the lines.
double middlePause(const Layout& layout, const Fit& fit) {
    std::vector<double> taken, left;
    for (int p = 1; p <= layout.pauses(); ++p) {
        const bool cut = std::find(fit.nodes.begin(), fit.nodes.end(), p) != fit.nodes.end();
        (cut ? taken : left).push_back(std::log(layout.ends[size_t(p)] - layout.starts[size_t(p)]));
    }
    const auto median = [](std::vector<double>& v) {
        std::nth_element(v.begin(), v.begin() + std::ptrdiff_t(v.size() / 2), v.end());
        return v[v.size() / 2];
    };
    if (taken.empty() || left.empty()) return kPauseReference;
    return std::exp((median(taken) + median(left)) / 2);
}

// Whether two lines say the same words ("Let's check" and "Let's check!").
bool sameWords(const QString& a, const QString& b) {
    static const QRegularExpression kNotLetters(QStringLiteral("[^a-z0-9]+"));
    return a.toLower().remove(kNotLetters) == b.toLower().remove(kNotLetters);
}

QString lineName(const QStringList& lines, int line) {
    return QStringLiteral("line %1 (\"%2\")").arg(line + 1).arg(lines[line].trimmed());
}

// --- Whether two readings sound alike ---------------------------------------------------------

// The spectral shape of each 10 ms frame: its levels in octave bands from 300 Hz, less their
// mean, so that a line read louder or softer keeps its shape.
class FrameShapes {
  public:
    FrameShapes(const std::vector<float>& mono, int rate)
        : hop_(std::max<qsizetype>(1, qsizetype(std::lround(kFrameSeconds * rate)))),
          frameRate_(double(rate) / double(hop_)) {
        for (double hz = kLowestBandHz; hz < 0.4 * rate && size_t(bands_) < kMostBands; hz *= 2) {
            const std::vector<double> levels = bandLevels(mono, rate, hz);
            if (bands_ == 0) shapes_.resize(levels.size() * kMostBands);
            for (size_t f = 0; f < levels.size(); ++f)
                shapes_[f * kMostBands + size_t(bands_)] = float(levels[f]);
            ++bands_;
        }
        for (size_t f = 0; f * kMostBands < shapes_.size(); ++f) {
            float* shape = &shapes_[f * kMostBands];
            const float mean = std::accumulate(shape, shape + bands_, 0.0f) / float(bands_);
            for (int b = 0; b < bands_; ++b) shape[b] -= mean;
        }
    }

    // The mean distance between the frames of two stretches (seconds), aligned by dynamic time
    // warping so that one read faster than the other still matches.
    double distance(double fromA, double toA, double fromB, double toB) const {
        const size_t a0 = frameAt(fromA), a1 = frameAt(toA), b0 = frameAt(fromB), b1 = frameAt(toB);
        if (a1 <= a0 || b1 <= b0 || a1 - a0 > kLongestLineFrames || b1 - b0 > kLongestLineFrames)
            return kNever;
        const size_t width = b1 - b0;
        std::vector<double> previous(width + 1, kNever), row(width + 1, kNever);
        previous[0] = 0;
        for (size_t i = a0; i < a1; ++i) {
            row[0] = kNever;
            for (size_t j = 0; j < width; ++j) {
                row[j + 1] =
                    frameDistance(i, b0 + j) + std::min({previous[j], previous[j + 1], row[j]});
            }
            std::swap(previous, row);
        }
        return previous[width] / double(a1 - a0 + width);
    }

  private:
    static constexpr double kLowestBandHz = 300.0;
    static constexpr double kBandQ = 1.41;  // about an octave wide
    static constexpr size_t kMostBands = 6;
    static constexpr size_t kLongestLineFrames = 2000;

    std::vector<double> bandLevels(const std::vector<float>& mono, int rate, double hz) const {
        // A band-pass section (the audio EQ cookbook's, 0 dB at its centre).
        const double w = 2 * std::numbers::pi * hz / rate, alpha = std::sin(w) / 2 / kBandQ;
        const double a0 = 1 + alpha, b0 = alpha / a0, a1 = -2 * std::cos(w) / a0;
        const double a2 = (1 - alpha) / a0;
        std::vector<double> levels(mono.size() / size_t(hop_));
        double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
        for (size_t f = 0; f < levels.size(); ++f) {
            double energy = 0;
            for (size_t i = f * size_t(hop_); i < (f + 1) * size_t(hop_); ++i) {
                const double y = b0 * mono[i] - b0 * x2 - a1 * y1 - a2 * y2;
                x2 = x1, x1 = mono[i], y2 = y1, y1 = y;
                energy += y * y;
            }
            levels[f] = 10 * std::log10(energy / double(hop_) + 1e-14);
        }
        return levels;
    }
    size_t frameAt(double seconds) const {
        return std::min(shapes_.size() / kMostBands, size_t(std::max(0.0, seconds * frameRate_)));
    }
    double frameDistance(size_t a, size_t b) const {
        double sum = 0;
        for (int k = 0; k < bands_; ++k) {
            const double d =
                shapes_[a * kMostBands + size_t(k)] - shapes_[b * kMostBands + size_t(k)];
            sum += d * d;
        }
        return std::sqrt(sum);
    }

    qsizetype hop_;
    double frameRate_;
    int bands_ = 0;
    std::vector<float> shapes_;  // kMostBands a frame, bands_ of them used
};

// Where line `i` of a fit lies, in seconds.
std::pair<double, double> lineSpan(const Layout& layout, const Fit& fit, int i) {
    return {layout.ends[size_t(i == 0 ? 0 : fit.nodes[size_t(i - 1)])],
            layout.starts[size_t(fit.nodes[size_t(i)])]};
}

// How far apart neighbouring lines of the page as it is sound, those with the same words left
// out: the median distance, or kNever when there are too few to tell.
double usualDistance(const FrameShapes& shapes, const Layout& layout, const Fit& asItIs,
                     const QStringList& lines) {
    std::vector<double> neighbours;
    for (int k = 0; k + 1 < int(lines.size()); ++k) {
        if (sameWords(lines[k], lines[k + 1])) continue;
        const auto [a0, a1] = lineSpan(layout, asItIs, k);
        const auto [b0, b1] = lineSpan(layout, asItIs, k + 1);
        const double d = shapes.distance(a0, a1, b0, b1);
        if (d < kNever) neighbours.push_back(d);
    }
    if (neighbours.size() < 2) return kNever;
    const auto middle = neighbours.begin() + std::ptrdiff_t(neighbours.size() / 2);
    std::nth_element(neighbours.begin(), middle, neighbours.end());
    return *middle;
}

// Whether readings i and i + 1 of a fit sound much more alike than neighbouring lines usually do.
bool soundAlike(const FrameShapes& shapes, const Layout& layout, const Fit& twice, int i,
                double usual) {
    const auto [a0, a1] = lineSpan(layout, twice, i);
    const auto [b0, b1] = lineSpan(layout, twice, i + 1);
    return usual < kNever && shapes.distance(a0, a1, b0, b1) < kAlikeShare * usual;
}

// Whether a line left out or read twice fits the take clearly better than the page as it is,
// or a line read twice fits somewhat better and its two readings sound alike; names the line in
// `split` when so.
bool findMissingOrRepeated(const std::vector<float>& mono, int rate, const Layout& layout,
                           const std::vector<double>& lengths, const Fit& asItIs,
                           const QStringList& lines, TakeSplit& split) {
    struct Hypothesis {
        TakeProblem problem;
        int line;
        Fit fit;
    };
    std::vector<Hypothesis> tried;
    const int n = int(lengths.size());
    for (int k = 0; k < n; ++k) {
        std::vector<double> without = lengths, twice = lengths;
        without.erase(without.begin() + k);
        twice.insert(twice.begin() + k, lengths[size_t(k)]);
        if (!without.empty())
            tried.push_back(
                {TakeProblem::LineMissing, k,
                 fitLines(layout, modelsOf(without), asItIs.logRate, 3, {asItIs.hidden})});
        // A line read twice beside a line with the same words cannot be told from it.
        const bool twin = (k > 0 && sameWords(lines[k - 1], lines[k])) ||
                          (k + 1 < n && sameWords(lines[k], lines[k + 1]));
        if (!twin)
            tried.push_back(
                {TakeProblem::LineRepeated, k,
                 fitLines(layout, modelsOf(twice), asItIs.logRate, 3, {asItIs.hidden})});
    }
    const auto cheaper = [](const Hypothesis& x, const Hypothesis& y) {
        return x.fit.cost < y.fit.cost;
    };
    const auto best = std::min_element(tried.begin(), tried.end(), cheaper);
    if (best == tried.end()) return false;
    if (!(best->fit.cost + kHypothesisPenalty < asItIs.cost)) {
        // The likeliest few lines read twice, tried for readings that sound alike.
        std::vector<const Hypothesis*> repeats;
        for (const Hypothesis& h : tried) {
            if (h.problem == TakeProblem::LineRepeated && h.fit.cost + kEchoPenalty < asItIs.cost)
                repeats.push_back(&h);
        }
        std::sort(repeats.begin(), repeats.end(),
                  [&](const Hypothesis* x, const Hypothesis* y) { return cheaper(*x, *y); });
        repeats.resize(std::min<size_t>(repeats.size(), kEchoesTried));
        if (repeats.empty()) return false;
        const FrameShapes shapes(mono, rate);
        const double usual = usualDistance(shapes, layout, asItIs, lines);
        const auto alike = std::find_if(repeats.begin(), repeats.end(), [&](const Hypothesis* h) {
            return soundAlike(shapes, layout, h->fit, h->line, usual);
        });
        if (alike == repeats.end()) return false;
        // The readings that sound alike tell which line it is.
        split.problem = TakeProblem::LineRepeated;
        split.line = split.firstLine = split.lastLine = (*alike)->line;
        split.message =
            QStringLiteral("%1 seems read twice in the take").arg(lineName(lines, split.line));
        return true;
    }
    split.problem = best->problem;
    split.line = split.firstLine = split.lastLine = best->line;
    // Neighbours of the same length fit as well: a list of words with one left out cannot tell
    // which. The lines on either side that fit about as well are named too.
    const auto fitsAlike = [&](int line) {
        return std::any_of(tried.begin(), tried.end(), [&](const Hypothesis& h) {
            return h.problem == best->problem && h.line == line &&
                   h.fit.cost < best->fit.cost + kTieMargin;
        });
    };
    while (fitsAlike(split.firstLine - 1)) --split.firstLine;
    while (fitsAlike(split.lastLine + 1)) ++split.lastLine;
    const QString which =
        split.firstLine == split.lastLine
            ? lineName(lines, split.line)
            : QStringLiteral("one of lines %1 to %2 (from \"%3\" to \"%4\")")
                  .arg(split.firstLine + 1)
                  .arg(split.lastLine + 1)
                  .arg(lines[split.firstLine].trimmed(), lines[split.lastLine].trimmed());
    split.message = best->problem == TakeProblem::LineMissing
                        ? QStringLiteral("%1 seems missing from the take").arg(which)
                        : QStringLiteral("%1 seems read twice in the take").arg(which);
    return true;
}

// The line that lasts farthest from what its text predicts, when it lies too far to be trusted.
bool findMisfit(const Layout& layout, const std::vector<LineModel>& models, const Fit& fit,
                const std::vector<double>& lengths, const QStringList& lines, TakeSplit& split) {
    int worst = -1;
    double worstSpreads = kMisfitSpreads;
    for (int i = 0; i < int(models.size()); ++i) {
        const int a = i == 0 ? 0 : fit.nodes[size_t(i - 1)];
        const double off = layout.logLength(a, fit.nodes[size_t(i)], fit.hidden) - fit.logRate -
                           models[size_t(i)].logLength;
        const double spreads = std::abs(off) * std::sqrt(models[size_t(i)].weight);
        if (spreads > worstSpreads) worst = i, worstSpreads = spreads;
    }
    if (worst < 0) return false;
    const int a = worst == 0 ? 0 : fit.nodes[size_t(worst - 1)];
    const double heard = std::exp(layout.logLength(a, fit.nodes[size_t(worst)], 0));
    const double expected = std::exp(fit.logRate) * lengths[size_t(worst)] - fit.hidden;
    split.problem = TakeProblem::LineMisfit;
    split.line = split.firstLine = split.lastLine = worst;
    split.message = QStringLiteral(
                        "%1 lasts %2 s in the take where its text takes about %3 s: a line may be "
                        "missing, read twice or read in its neighbour's place")
                        .arg(lineName(lines, worst))
                        .arg(heard, 0, 'f', 1)
                        .arg(expected, 0, 'f', 1);
    return true;
}

// The clips that cuts in the pauses `cuts` (indexes into speech.pauses) make, with the trims.
std::vector<TakeSpan> clipsAt(const TakeSpeech& speech, const std::vector<int>& cuts, int rate,
                              qsizetype samples) {
    std::vector<TakeSpan> clips;
    qsizetype start = std::max<qsizetype>(0, speech.speech.first - qsizetype(kLeadSeconds * rate));
    for (const int p : cuts) {
        const TakeSpan& pause = speech.pauses[size_t(p)];
        const qsizetype cut = pause.first + qsizetype(kCutShare * double(pause.end - pause.first));
        clips.push_back({start, cut});
        start = cut;
    }
    clips.push_back({start, std::min(samples, speech.speech.end + qsizetype(kTailSeconds * rate))});
    return clips;
}

}  // namespace

TakeSplit splitTake(const std::vector<float>& mono, int rate, const QStringList& lines) {
    TakeSplit split;
    const TakeSpeech speech = findSpeech(mono, rate);
    if (!speech.found || lines.isEmpty()) {
        split.problem = TakeProblem::NoSpeech;
        split.message = QStringLiteral("the take holds no speech");
        return split;
    }
    if (int(speech.pauses.size()) < lines.size() - 1) {
        split.problem = TakeProblem::TooFewPauses;
        split.message = QStringLiteral(
                            "the take has %1 pauses where the page's %2 lines need %3: a line may "
                            "be missing, or lines run on without a pause")
                            .arg(speech.pauses.size())
                            .arg(lines.size())
                            .arg(lines.size() - 1);
        return split;
    }
    std::vector<double> lengths;
    for (const QString& line : lines) lengths.push_back(spokenLength(line));
    const Layout layout = layoutOf(speech, rate);
    const std::vector<LineModel> models = modelsOf(lengths);
    const Fit fit =
        fitLines(layout, models, guessRate(layout, lengths), kRateSteps, kHiddenLengths);
    if (fit.cost == kNever) {
        split.problem = TakeProblem::LineMisfit;
        split.message =
            QStringLiteral("the take's pauses do not part it into lines of the page's lengths");
        return split;
    }
    std::vector<int> cuts;
    for (size_t i = 0; i + 1 < fit.nodes.size(); ++i) cuts.push_back(fit.nodes[i] - 1);
    split.clips = clipsAt(speech, cuts, rate, qsizetype(mono.size()));
    // Whether the page fits better with a line left out or read twice is judged with pauses
    // scored against the take's own: a pause longer than halfway (in log length) between the
    // pauses the cuts took and those left inside lines is welcome, a shorter one unwelcome, so
    // that a page with a line more or less does not win by its number of cuts alone.
    const Layout judged = layoutOf(speech, rate, middlePause(layout, fit));
    const Fit judgedFit = fitLines(judged, models, fit.logRate, 3, {fit.hidden});
    if (!findMissingOrRepeated(mono, rate, judged, lengths, judgedFit, lines, split))
        findMisfit(layout, models, fit, lengths, lines, split);
    return split;
}

std::vector<TakeSpan> splitAtLongestPauses(const std::vector<float>& mono, int rate, int lines) {
    const TakeSpeech speech = findSpeech(mono, rate);
    if (!speech.found || lines < 1 || int(speech.pauses.size()) < lines - 1) return {};
    std::vector<int> order(speech.pauses.size());
    for (size_t p = 0; p < order.size(); ++p) order[p] = int(p);
    std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
        const TakeSpan &a = speech.pauses[size_t(x)], &b = speech.pauses[size_t(y)];
        return a.end - a.first > b.end - b.first;
    });
    order.resize(size_t(lines - 1));
    std::sort(order.begin(), order.end());
    return clipsAt(speech, order, rate, qsizetype(mono.size()));
}

}  // namespace tool
