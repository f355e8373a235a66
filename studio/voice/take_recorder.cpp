#include "voice/take_recorder.h"

#include <QByteArray>
#include <QFile>
#include <QtEndian>

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace studio::voice {

QString TakeVerdict::warning() const {
    if (clipped) return QStringLiteral("声音太响，录音失真了：离话筒远一点再录一遍。");
    if (tooQuiet) return QStringLiteral("声音太轻，听不清：靠近话筒或大声一点再录一遍。");
    return {};
}

TakeVerdict judgeTake(const Take& take) {
    TakeVerdict verdict;
    int peak = 0;
    int run = 0;
    for (std::int16_t sample : take.samples) {
        const int magnitude = std::abs(int(sample));
        peak = std::max(peak, magnitude);
        run = magnitude >= 32767 ? run + 1 : 0;
        if (run >= kClippedRun) verdict.clipped = true;
    }
    verdict.peakDbfs = peak > 0 ? 20.0 * std::log10(peak / 32768.0) : -120.0;
    verdict.tooQuiet = !verdict.clipped && verdict.peakDbfs < kTooQuietPeakDbfs;
    return verdict;
}

TakeRecorder::TakeRecorder(int sampleRate, int preRollMilliseconds)
    : sampleRate_(sampleRate),
      preRollCapacity_(std::size_t(sampleRate) * std::size_t(preRollMilliseconds) / 1000) {}

void TakeRecorder::feed(const std::int16_t* samples, std::size_t count) {
    int peak = 0;
    for (std::size_t i = 0; i < count; ++i) peak = std::max(peak, std::abs(int(samples[i])));
    level_ = std::min(1.0, peak / 32767.0);
    if (recording_) {
        take_.samples.insert(take_.samples.end(), samples, samples + count);
        return;
    }
    // Keep only the newest pre-roll's worth while waiting for the key.
    const std::size_t keep = std::min(count, preRollCapacity_);
    preRoll_.insert(preRoll_.end(), samples + (count - keep), samples + count);
    while (preRoll_.size() > preRollCapacity_) preRoll_.pop_front();
}

void TakeRecorder::start() {
    if (recording_) return;
    take_ = Take{};
    take_.sampleRate = sampleRate_;
    take_.samples.assign(preRoll_.begin(), preRoll_.end());
    take_.preRollSamples = take_.samples.size();
    preRoll_.clear();
    recording_ = true;
}

Take TakeRecorder::stop() {
    if (!recording_) return Take{sampleRate_, {}, 0};
    recording_ = false;
    return std::move(take_);
}

bool writeTakeFlac(const Take& take, const QString& path, QString* error) {
    SF_INFO info{};
    info.samplerate = take.sampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!file) {
        if (error)
            *error = QStringLiteral("录音不能保存到 %1：%2")
                         .arg(path, QString::fromUtf8(sf_strerror(nullptr)));
        return false;
    }
    const sf_count_t written =
        sf_write_short(file, take.samples.data(), sf_count_t(take.samples.size()));
    const bool closed = sf_close(file) == 0;
    if (written != sf_count_t(take.samples.size()) || !closed) {
        QFile::remove(path);
        if (error) *error = QStringLiteral("录音没有完整保存到 %1（磁盘可能满了）。").arg(path);
        return false;
    }
    return true;
}

QByteArray monoWav(const std::int16_t* samples, std::size_t count, int rate) {
    const auto dataBytes = quint32(count * sizeof(std::int16_t));
    QByteArray wav(44 + int(dataBytes), Qt::Uninitialized);
    auto* out = reinterpret_cast<uchar*>(wav.data());
    std::memcpy(out, "RIFF", 4);
    qToLittleEndian<quint32>(36 + dataBytes, out + 4);
    std::memcpy(out + 8, "WAVEfmt ", 8);
    qToLittleEndian<quint32>(16, out + 16);
    qToLittleEndian<quint16>(1, out + 20);  // PCM
    qToLittleEndian<quint16>(1, out + 22);  // mono
    qToLittleEndian<quint32>(quint32(rate), out + 24);
    qToLittleEndian<quint32>(quint32(rate) * 2, out + 28);
    qToLittleEndian<quint16>(2, out + 32);
    qToLittleEndian<quint16>(16, out + 34);
    std::memcpy(out + 36, "data", 4);
    qToLittleEndian<quint32>(dataBytes, out + 40);
    for (std::size_t i = 0; i < count; ++i) qToLittleEndian<qint16>(samples[i], out + 44 + 2 * i);
    return wav;
}

}  // namespace studio::voice
