#pragma once

// Recordings that phones and browsers make (M4A/AAC voice memos, AMR, Opus, WebM), read through
// FFmpeg's libraries. sox reads the other kinds the tool takes (WAV, FLAC, Ogg Vorbis, MP3).

#include <QString>
#include <vector>

namespace tool {

// Whether the tool reads a file of this kind (an id of fileKindOf) through FFmpeg.
bool readByFfmpeg(const QString& kind);

// What a file of a kind FFmpeg reads holds; `error` says why it could not be opened.
struct MediaStreams {
    bool opened = false;
    bool audio = false;
    bool video = false;
    int sampleRate = 0;  // of the first audio stream the tool can decode
    QString error;
};
MediaStreams probeMedia(const QString& path, const QString& kind);

// Decodes the first audio stream of the file, a file of `kind`, into mono samples at `rate`
// (the channels averaged), stopping after `longestSeconds`. False with `error` set when it
// cannot be read or holds no sound stream.
bool decodeWithFfmpeg(const QString& path, const QString& kind, int rate, double longestSeconds,
                      std::vector<float>& mono, QString& error);

}  // namespace tool
