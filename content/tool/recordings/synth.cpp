// Non-speech sounds of the program, made from simple notes: feedback sounds of the games and
// the matching game's background music.

#include "recordings/synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace tool {

namespace {

using Buffer = std::vector<float>;

double noteFrequency(int midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

// A plucked or bell-like tone: a few harmonics under an exponential decay, with a short attack
// so that no note starts with a click.
void addTone(Buffer& buffer, int rate, double start, double length, double frequency, double volume,
             double decay, double harmonics = 0.35) {
    const int first = int(start * rate);
    const int count = int(length * rate);
    for (int i = 0; i < count && first + i < int(buffer.size()); ++i) {
        const double t = double(i) / rate;
        const double attack = std::min(1.0, t / 0.004);
        const double release = std::min(1.0, (length - t) / 0.01);
        const double envelope = attack * release * std::exp(-t * decay);
        const double phase = 2 * std::numbers::pi * frequency * t;
        const double wave = std::sin(phase) + harmonics * std::sin(2 * phase) +
                            harmonics * 0.4 * std::sin(3 * phase);
        buffer[first + i] += float(volume * envelope * wave);
    }
}

// A tone whose pitch glides from one frequency to another.
void addGlide(Buffer& buffer, int rate, double start, double length, double from, double to,
              double volume, bool square) {
    const int first = int(start * rate);
    const int count = int(length * rate);
    double phase = 0;
    for (int i = 0; i < count && first + i < int(buffer.size()); ++i) {
        const double t = double(i) / rate;
        const double frequency = from + (to - from) * t / length;
        phase += 2 * std::numbers::pi * frequency / rate;
        const double attack = std::min(1.0, t / 0.004);
        const double release = std::min(1.0, (length - t) / 0.03);
        double wave = std::sin(phase);
        if (square) wave = std::tanh(3 * wave);
        buffer[first + i] += float(volume * attack * release * wave);
    }
}

// A soft noise burst for the rhythm of the music.
void addNoise(Buffer& buffer, int rate, double start, double length, double volume,
              unsigned& seed) {
    const int first = int(start * rate);
    const int count = int(length * rate);
    for (int i = 0; i < count && first + i < int(buffer.size()); ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double noise = double(seed >> 8) / double(1 << 24) * 2 - 1;
        const double t = double(i) / rate;
        buffer[first + i] += float(volume * std::exp(-t * 60) * noise);
    }
}

// A struck bell: inharmonic partials that die away at different speeds.
void addBell(Buffer& buffer, int rate, double start, double length, double frequency,
             double volume) {
    const double partials[][3] = {// ratio, relative volume, decay per second
                                  {0.5, 0.35, 1.6}, {1.0, 1.0, 2.2},  {1.19, 0.4, 3.0},
                                  {1.5, 0.3, 3.6},  {2.0, 0.45, 4.5}, {2.76, 0.2, 6.0},
                                  {4.07, 0.1, 9.0}};
    const int first = int(start * rate);
    const int count = int(length * rate);
    for (int i = 0; i < count && first + i < int(buffer.size()); ++i) {
        const double t = double(i) / rate;
        const double attack = std::min(1.0, t / 0.002);
        const double release = std::min(1.0, (length - t) / 0.05);
        double sum = 0;
        for (const auto& p : partials) {
            sum +=
                p[1] * std::exp(-t * p[2]) * std::sin(2 * std::numbers::pi * frequency * p[0] * t);
        }
        buffer[first + i] += float(volume * attack * release * sum);
    }
}

// A voiced sound (a bark, a sung syllable): harmonics of a gliding fundamental shaped by two
// vowel formants, with an optional vibrato and a little breath noise.
struct Voicing {
    double from, to;            // fundamental, Hz
    double formant1, formant2;  // vowel resonances, Hz
    double volume;
    double vibrato = 0;  // depth as a fraction of the pitch
    double breath = 0;   // noise share
    double attack = 0.01, release = 0.04;
    double decay = 0;  // per second, after the attack
};

void addVoiced(Buffer& buffer, int rate, double start, double length, const Voicing& v,
               unsigned& seed) {
    const int first = int(start * rate);
    const int count = int(length * rate);
    double phase = 0;
    double lowPassed = 0;
    for (int i = 0; i < count && first + i < int(buffer.size()); ++i) {
        const double t = double(i) / rate;
        const double glide = v.from + (v.to - v.from) * t / length;
        const double f0 = glide * (1 + v.vibrato * std::sin(2 * std::numbers::pi * 5.5 * t));
        phase += 2 * std::numbers::pi * f0 / rate;
        double wave = 0;
        for (int k = 1; k * f0 < rate / 2.2 && k <= 40; ++k) {
            const double f = k * f0;
            const double weight = std::exp(-std::pow((f - v.formant1) / 260.0, 2)) +
                                  0.6 * std::exp(-std::pow((f - v.formant2) / 380.0, 2)) +
                                  0.3 / (k * k);
            wave += weight * std::sin(k * phase);
        }
        seed = seed * 1664525u + 1013904223u;
        const double noise = double(seed >> 8) / double(1 << 24) * 2 - 1;
        lowPassed += 0.3 * (noise - lowPassed);
        const double attack = std::min(1.0, t / v.attack);
        const double release = std::min(1.0, (length - t) / v.release);
        const double envelope = attack * release * std::exp(-t * v.decay);
        buffer[first + i] += float(v.volume * envelope * (wave + v.breath * lowPassed));
    }
}

// A drum beat: a pitch that falls fast under a short noise smack.
void addDrum(Buffer& buffer, int rate, double start, double length, double volume, unsigned& seed) {
    const int first = int(start * rate);
    const int count = int(length * rate);
    double phase = 0;
    for (int i = 0; i < count && first + i < int(buffer.size()); ++i) {
        const double t = double(i) / rate;
        const double frequency = 48 + 110 * std::exp(-t * 18);
        phase += 2 * std::numbers::pi * frequency / rate;
        seed = seed * 1664525u + 1013904223u;
        const double noise = double(seed >> 8) / double(1 << 24) * 2 - 1;
        const double attack = std::min(1.0, t / 0.002);
        const double release = std::min(1.0, (length - t) / 0.05);
        const double body = std::sin(phase) * std::exp(-t * 5.5);
        buffer[first + i] +=
            float(volume * attack * release * (body + 0.35 * noise * std::exp(-t * 70)));
    }
}

// A burst: loud noise that is gone in a few tens of milliseconds, over a low thump.
void addBurst(Buffer& buffer, int rate, double start, double volume, unsigned& seed) {
    const double length = 0.3;
    const int first = int(start * rate);
    const int count = int(length * rate);
    double lowPassed = 0, phase = 0;
    for (int i = 0; i < count && first + i < int(buffer.size()); ++i) {
        const double t = double(i) / rate;
        seed = seed * 1664525u + 1013904223u;
        const double noise = double(seed >> 8) / double(1 << 24) * 2 - 1;
        lowPassed += 0.55 * (noise - lowPassed);
        phase += 2 * std::numbers::pi * (70 + 160 * std::exp(-t * 30)) / rate;
        const double attack = std::min(1.0, t / 0.0008);
        const double release = std::min(1.0, (length - t) / 0.02);
        buffer[first + i] +=
            float(volume * attack * release *
                  (lowPassed * std::exp(-t * 45) + 0.6 * std::sin(phase) * std::exp(-t * 22)));
    }
}

Buffer silence(int rate, double seconds) {
    return Buffer(size_t(rate * seconds), 0.0f);
}

Buffer makeTune(int rate) {
    // Four bars of C - G - Am - F at 120 beats per minute, eight times over: 64 seconds.
    const double beat = 0.5;
    const int bars = 32;
    Buffer buffer = silence(rate, bars * 4 * beat);
    const int chords[4][3] = {{60, 64, 67}, {55, 59, 62}, {57, 60, 64}, {53, 57, 60}};
    const int melodyShapes[4][8] = {{0, 1, 2, 1, 0, 2, 1, 2},
                                    {2, 1, 0, 1, 2, 2, 1, 0},
                                    {0, 2, 1, 2, 0, 1, 2, 2},
                                    {1, 0, 1, 2, 1, 0, 2, 1}};
    unsigned seed = 7;
    for (int bar = 0; bar < bars; ++bar) {
        const int* chord = chords[bar % 4];
        const int* shape = melodyShapes[(bar / 4) % 4];
        const double barStart = bar * 4 * beat;
        addTone(buffer, rate, barStart, 4 * beat, noteFrequency(chord[0] - 24), 0.22, 1.2, 0.2);
        addTone(buffer, rate, barStart + 2 * beat, 2 * beat, noteFrequency(chord[2] - 24), 0.16,
                1.5, 0.2);
        for (int step = 0; step < 8; ++step) {
            const bool rest = (bar % 8 == 7) && step >= 6;
            if (rest) continue;
            const int note = chord[shape[step]] + 12 + ((bar / 16) % 2 && step % 4 == 3 ? 2 : 0);
            addTone(buffer, rate, barStart + step * beat / 2, beat / 2, noteFrequency(note), 0.13,
                    5.0);
        }
        for (int b = 0; b < 4; ++b)
            addNoise(buffer, rate, barStart + b * beat + beat / 2, 0.06, 0.04, seed);
    }
    return buffer;
}

Buffer makeRecipe(const QString& recipe, int rate) {
    if (recipe == QLatin1String("chime")) {
        Buffer b = silence(rate, 0.65);
        addTone(b, rate, 0.0, 0.2, noteFrequency(76), 0.45, 6);
        addTone(b, rate, 0.16, 0.49, noteFrequency(81), 0.5, 5);
        return b;
    }
    if (recipe == QLatin1String("buzz")) {
        Buffer b = silence(rate, 0.5);
        addGlide(b, rate, 0, 0.5, 260, 130, 0.45, false);
        return b;
    }
    if (recipe == QLatin1String("click")) {
        Buffer b = silence(rate, 0.08);
        addTone(b, rate, 0, 0.08, 1400, 0.6, 60, 0.6);
        return b;
    }
    if (recipe == QLatin1String("pop")) {
        Buffer b = silence(rate, 0.14);
        addGlide(b, rate, 0, 0.14, 500, 1100, 0.5, false);
        return b;
    }
    if (recipe == QLatin1String("sparkle")) {
        Buffer b = silence(rate, 0.45);
        for (int i = 0; i < 3; ++i)
            addTone(b, rate, i * 0.09, 0.45 - i * 0.09, noteFrequency(84 + 4 * i - (i == 2)), 0.35,
                    8);
        return b;
    }
    if (recipe == QLatin1String("bonk")) {
        Buffer b = silence(rate, 0.3);
        addGlide(b, rate, 0, 0.3, 200, 90, 0.35, true);
        return b;
    }
    if (recipe == QLatin1String("tick")) {
        Buffer b = silence(rate, 0.05);
        addTone(b, rate, 0, 0.05, 2000, 0.4, 80, 0.1);
        return b;
    }
    if (recipe == QLatin1String("tune")) return makeTune(rate);
    unsigned seed = 11;
    if (recipe == QLatin1String("doorbell")) {
        // Ding (E5) - dong (C5).
        Buffer b = silence(rate, 1.7);
        addBell(b, rate, 0.0, 1.7, noteFrequency(76), 0.3);
        addBell(b, rate, 0.45, 1.25, noteFrequency(72), 0.32);
        return b;
    }
    if (recipe == QLatin1String("bark")) {
        // Woof! Woof!
        Buffer b = silence(rate, 0.62);
        for (const double at : {0.0, 0.34}) {
            addVoiced(b, rate, at, 0.2, Voicing{420, 230, 700, 1250, 0.12, 0, 0.9, 0.006, 0.08},
                      seed);
        }
        return b;
    }
    if (recipe == QLatin1String("burst")) {
        // A balloon that pops.
        Buffer b = silence(rate, 0.3);
        addBurst(b, rate, 0, 0.8, seed);
        return b;
    }
    if (recipe == QLatin1String("drum")) {
        // Boom, boom, boom!
        Buffer b = silence(rate, 1.45);
        for (int beat = 0; beat < 3; ++beat) addDrum(b, rate, beat * 0.42, 0.6, 0.8, seed);
        return b;
    }
    if (recipe == QLatin1String("lalala")) {
        // La la la, la la la! sung on G4 E4 G4 - A4 G4 E4.
        const int notes[] = {67, 64, 67, 69, 67, 64};
        Buffer b = silence(rate, 2.05);
        for (int n = 0; n < 6; ++n) {
            const double at = n * 0.3 + (n >= 3 ? 0.2 : 0.0);
            const double f = noteFrequency(notes[n]);
            addVoiced(b, rate, at, n == 5 ? 0.45 : 0.27,
                      Voicing{f, f, 850, 1250, 0.07, 0.012, 0.05, 0.03, 0.05}, seed);
        }
        return b;
    }
    return {};
}

}  // namespace

const QStringList& soundRecipes() {
    static const QStringList names{"chime", "buzz", "click", "pop",      "sparkle",
                                   "bonk",  "tick", "tune",  "doorbell", "bark",
                                   "burst", "drum", "lalala"};
    return names;
}

bool isLoopRecipe(const QString& recipe) {
    return recipe == QLatin1String("tune");
}

QList<qint16> synthesise(const QString& recipe, int sampleRate) {
    const Buffer buffer = makeRecipe(recipe, sampleRate);
    QList<qint16> samples;
    samples.reserve(qsizetype(buffer.size()));
    for (const float v : buffer) {
        samples.append(qint16(std::lround(std::clamp(v, -1.0f, 1.0f) * 32000.0f)));
    }
    return samples;
}

}  // namespace tool
