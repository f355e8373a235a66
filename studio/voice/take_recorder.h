#pragma once

// The rules of recording one line: while the microphone is open the last 200 ms are kept, so a
// take that starts when the teacher presses R already holds the first syllable she began a
// moment before; while recording, the level of what just arrived feeds the meter; a finished
// take is judged for clipping and for being too quiet to use.

#include <QString>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace studio::voice {

struct Take {
    int sampleRate = 0;
    std::vector<std::int16_t> samples;
    // How many of the samples came from before the key press.
    std::size_t preRollSamples = 0;
    double seconds() const { return sampleRate > 0 ? double(samples.size()) / sampleRate : 0.0; }
};

struct TakeVerdict {
    bool clipped = false;   // samples at full scale: the voice was too loud for the microphone
    bool tooQuiet = false;  // the loudest part is so soft the words will not be heard
    double peakDbfs = -120.0;
    QString warning() const;  // what to tell the teacher; empty when the take is fine
};

// Peaks at or above this many samples in a row at full scale count as clipping (one sample at
// full scale can be an honest peak).
inline constexpr int kClippedRun = 3;
// A take whose peak stays under this is too quiet to use.
inline constexpr double kTooQuietPeakDbfs = -30.0;

TakeVerdict judgeTake(const Take& take);

class TakeRecorder {
  public:
    explicit TakeRecorder(int sampleRate, int preRollMilliseconds = 200);

    int sampleRate() const { return sampleRate_; }
    // Samples from the microphone, in order.
    void feed(const std::int16_t* samples, std::size_t count);
    void feed(const std::vector<std::int16_t>& samples) { feed(samples.data(), samples.size()); }

    void start();
    bool isRecording() const { return recording_; }
    // Ends the take and hands it over; an empty take when none was recording.
    Take stop();
    // The meter: the loudest of the samples fed last, 0 .. 1 of full scale.
    double level() const { return level_; }

  private:
    int sampleRate_;
    std::size_t preRollCapacity_;
    std::deque<std::int16_t> preRoll_;
    bool recording_ = false;
    Take take_;
    double level_ = 0.0;
};

// Writes the take as 16-bit mono FLAC; false with `error` naming the file when it cannot.
bool writeTakeFlac(const Take& take, const QString& path, QString* error);

// 16-bit mono samples as a RIFF/WAVE file image, for playing them at once.
QByteArray monoWav(const std::int16_t* samples, std::size_t count, int rate);
inline QByteArray takeAsWav(const Take& take) {
    return monoWav(take.samples.data(), take.samples.size(), take.sampleRate);
}

}  // namespace studio::voice
