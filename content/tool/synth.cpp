// Non-speech sounds of the program, made from simple notes: feedback sounds of the games and
// the matching game's background music.

#include <cmath>
#include <numbers>

#include "audio.h"

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
    return {};
}

}  // namespace

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
