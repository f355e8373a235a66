#include "recordings/ffmpeg_audio.h"

#include <QFile>
#include <QHash>
#include <algorithm>
#include <memory>
#include <mutex>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

namespace tool {

namespace {

// The demuxer for each kind the tool reads through FFmpeg. Naming it, rather than letting FFmpeg
// guess, keeps a file from being read as a playlist that opens other files.
const char* demuxerOf(const QString& kind) {
    static const QHash<QString, const char*> demuxers{
        {"m4a", "mov"},  {"aac", "aac"},      {"amr", "amr"},       {"amr-wb", "amr"},
        {"opus", "ogg"}, {"ogg-flac", "ogg"}, {"ogg-other", "ogg"}, {"webm", "matroska"}};
    return demuxers.value(kind, nullptr);
}

QString avError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

struct FormatCloser {
    void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
struct CodecFreer {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct PacketFreer {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct FrameFreer {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
using Format = std::unique_ptr<AVFormatContext, FormatCloser>;
using Codec = std::unique_ptr<AVCodecContext, CodecFreer>;
using Packet = std::unique_ptr<AVPacket, PacketFreer>;
using Frame = std::unique_ptr<AVFrame, FrameFreer>;

// Opens the file with the demuxer of its kind, reading local files only, and finds its streams.
Format openMedia(const QString& path, const QString& kind, QString& error) {
    // The tool says itself what is wrong with a file; FFmpeg's own log would only add noise.
    static std::once_flag quiet;
    std::call_once(quiet, [] { av_log_set_level(AV_LOG_QUIET); });
    const char* name = demuxerOf(kind);
    const AVInputFormat* demuxer = name ? av_find_input_format(name) : nullptr;
    if (!demuxer) {
        error = QStringLiteral("the tool cannot read %1 files").arg(kind);
        return {};
    }
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    AVFormatContext* opened = nullptr;
    const QByteArray url = "file:" + QFile::encodeName(path);
    const int result = avformat_open_input(&opened, url.constData(), demuxer, &options);
    av_dict_free(&options);
    if (result < 0) {
        error = QStringLiteral("it cannot be read as audio (%1)").arg(avError(result));
        return {};
    }
    Format format(opened);
    if (const int found = avformat_find_stream_info(opened, nullptr); found < 0) {
        error = QStringLiteral("it cannot be read as audio (%1)").arg(avError(found));
        return {};
    }
    return format;
}

// Decoded frames of any layout, format and rate, made into mono samples at one rate. A stream
// whose layout or rate changes part-way gets a new converter from there on.
class MonoConverter {
  public:
    explicit MonoConverter(int rate) : rate_(rate) {}
    ~MonoConverter() {
        swr_free(&swr_);
        av_channel_layout_uninit(&layout_);
    }
    MonoConverter(const MonoConverter&) = delete;
    MonoConverter& operator=(const MonoConverter&) = delete;

    bool add(const AVFrame* frame, std::vector<float>& mono, QString& error) {
        if (!swr_ || frame->format != format_ || frame->sample_rate != inputRate_ ||
            av_channel_layout_compare(&frame->ch_layout, &layout_) != 0) {
            flush(mono);
            if (!setUp(frame, error)) return false;
        }
        return convert(frame->extended_data, frame->nb_samples, mono, error);
    }

    void flush(std::vector<float>& mono) {
        QString ignored;
        if (swr_) convert(nullptr, 0, mono, ignored);
    }

  private:
    bool setUp(const AVFrame* frame, QString& error) {
        swr_free(&swr_);
        av_channel_layout_uninit(&layout_);
        const int channels = frame->ch_layout.nb_channels;
        if (channels <= 0 || frame->sample_rate <= 0) {
            error = QStringLiteral("its sound has no channels or no sample rate");
            return false;
        }
        AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
        // FFmpeg 5 takes the input layout by a pointer that is not const; it does not change it.
        int result = swr_alloc_set_opts2(
            &swr_, &mono, AV_SAMPLE_FMT_FLT, rate_, const_cast<AVChannelLayout*>(&frame->ch_layout),
            AVSampleFormat(frame->format), frame->sample_rate, 0, nullptr);
        // Every channel counts alike, as sox mixes them.
        const std::vector<double> matrix(size_t(channels), 1.0 / channels);
        if (result >= 0) result = swr_set_matrix(swr_, matrix.data(), channels);
        if (result >= 0) result = swr_init(swr_);
        if (result < 0) {
            error = QStringLiteral("its sound cannot be converted (%1)").arg(avError(result));
            swr_free(&swr_);
            return false;
        }
        av_channel_layout_copy(&layout_, &frame->ch_layout);
        format_ = frame->format;
        inputRate_ = frame->sample_rate;
        return true;
    }

    bool convert(uint8_t* const* input, int count, std::vector<float>& mono, QString& error) {
        const int room = swr_get_out_samples(swr_, count);
        if (room <= 0) return true;
        const size_t start = mono.size();
        mono.resize(start + size_t(room));
        auto* out = reinterpret_cast<uint8_t*>(mono.data() + start);
        const int made = swr_convert(swr_, &out, room, const_cast<const uint8_t**>(input), count);
        mono.resize(start + size_t(std::max(0, made)));
        if (made < 0)
            error = QStringLiteral("its sound cannot be converted (%1)").arg(avError(made));
        return made >= 0;
    }

    int rate_;
    SwrContext* swr_ = nullptr;
    AVChannelLayout layout_{};
    int format_ = -1;
    int inputRate_ = 0;
};

// Takes every frame the decoder has ready; false on a decoding error.
bool receiveFrames(AVCodecContext* codec, AVFrame* frame, MonoConverter& converter,
                   std::vector<float>& mono, QString& error) {
    for (;;) {
        const int result = avcodec_receive_frame(codec, frame);
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return true;
        if (result < 0) {
            error = QStringLiteral("it cannot be decoded (%1)").arg(avError(result));
            return false;
        }
        const bool added = converter.add(frame, mono, error);
        av_frame_unref(frame);
        if (!added) return false;
    }
}

}  // namespace

bool readByFfmpeg(const QString& kind) {
    return demuxerOf(kind) != nullptr;
}

MediaStreams probeMedia(const QString& path, const QString& kind) {
    MediaStreams streams;
    const Format format = openMedia(path, kind, streams.error);
    if (!format) return streams;
    streams.opened = true;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVStream* stream = format->streams[i];
        const AVMediaType type = stream->codecpar->codec_type;
        // A recording's cover picture is a video stream of one picture: not a video.
        if (type == AVMEDIA_TYPE_VIDEO && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC))
            streams.video = true;
        if (type == AVMEDIA_TYPE_AUDIO && avcodec_find_decoder(stream->codecpar->codec_id)) {
            if (!streams.audio) streams.sampleRate = stream->codecpar->sample_rate;
            streams.audio = true;
        }
    }
    return streams;
}

bool decodeWithFfmpeg(const QString& path, const QString& kind, int rate, double longestSeconds,
                      std::vector<float>& mono, QString& error) {
    mono.clear();
    const Format format = openMedia(path, kind, error);
    if (!format) return false;
    const AVCodec* decoder = nullptr;
    const int stream = av_find_best_stream(format.get(), AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
    if (stream < 0 || !decoder) {
        error = stream == AVERROR_DECODER_NOT_FOUND
                    ? QStringLiteral("its sound is in a codec the tool cannot decode")
                    : QStringLiteral("it holds no sound");
        return false;
    }
    const Codec codec(avcodec_alloc_context3(decoder));
    const Packet packet(av_packet_alloc());
    const Frame frame(av_frame_alloc());
    if (!codec || !packet || !frame) {
        error = QStringLiteral("out of memory");
        return false;
    }
    int result = avcodec_parameters_to_context(codec.get(), format->streams[stream]->codecpar);
    codec->pkt_timebase = format->streams[stream]->time_base;
    if (result >= 0) result = avcodec_open2(codec.get(), decoder, nullptr);
    if (result < 0) {
        error = QStringLiteral("its sound cannot be decoded (%1)").arg(avError(result));
        return false;
    }
    MonoConverter converter(rate);
    // Decoding stops a little past the longest length a recording may have: a file that long is
    // refused anyway, and an hour-long one must not fill the memory.
    const auto most = size_t(longestSeconds * rate);
    while (mono.size() < most) {
        result = av_read_frame(format.get(), packet.get());
        if (result == AVERROR_EOF) break;
        if (result < 0) {
            error = QStringLiteral("it cannot be read to its end (%1)").arg(avError(result));
            return false;
        }
        // A damaged packet is skipped, as players skip it; the rest of the recording still counts.
        if (packet->stream_index == stream) avcodec_send_packet(codec.get(), packet.get());
        av_packet_unref(packet.get());
        if (!receiveFrames(codec.get(), frame.get(), converter, mono, error)) return false;
    }
    avcodec_send_packet(codec.get(), nullptr);
    if (!receiveFrames(codec.get(), frame.get(), converter, mono, error)) return false;
    converter.flush(mono);
    if (mono.size() > most) mono.resize(most);
    if (mono.empty()) {
        error = QStringLiteral("it holds no samples");
        return false;
    }
    return true;
}

}  // namespace tool
