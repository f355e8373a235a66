#include "recordings/speech_decoder.h"

#include <pocketsphinx.h>
#include <sphinxbase/err.h>
#include <sphinxbase/fsg_model.h>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <mutex>

#include "recordings/pipeline.h"
#include "recordings/spoken_words.h"
#include "recordings/wav_image.h"

namespace tool::listen {

namespace {

constexpr int kRecogniserRate = 16000;
// The en-us model recognises best at about this loudness; louder input makes it hear sounds
// that are not there.
constexpr double kRecogniserLoudness = -27.0;  // LUFS
// Quiet before and after the speech: the model expects an utterance to start and end in it.
constexpr double kQuietSeconds = 0.3;

constexpr char kPhoneLoop[] = "phones";

const QString kModelFolder = QStringLiteral(QCBOOK_POCKETSPHINX_MODELDIR "/en-us");

bool resampleTo16k(const std::vector<float>& mono, int rate, std::vector<float>& out) {
    if (rate == kRecogniserRate) {
        out = mono;
        return true;
    }
    SwrContext* swr = nullptr;
    AVChannelLayout layout = AV_CHANNEL_LAYOUT_MONO;
    if (swr_alloc_set_opts2(&swr, &layout, AV_SAMPLE_FMT_FLT, kRecogniserRate, &layout,
                            AV_SAMPLE_FMT_FLT, rate, 0, nullptr) < 0 ||
        swr_init(swr) < 0) {
        swr_free(&swr);
        return false;
    }
    out.resize(size_t(swr_get_out_samples(swr, int(mono.size()))) + 64);
    auto* to = reinterpret_cast<uint8_t*>(out.data());
    const auto* from = reinterpret_cast<const uint8_t*>(mono.data());
    const int made = swr_convert(swr, &to, int(out.size()), &from, int(mono.size()));
    int flushed = 0;
    if (made >= 0) {
        uint8_t* rest = reinterpret_cast<uint8_t*>(out.data() + made);
        flushed = swr_convert(swr, &rest, int(out.size()) - made, nullptr, 0);
    }
    swr_free(&swr);
    if (made < 0 || flushed < 0) return false;
    out.resize(size_t(made + flushed));
    return true;
}

}  // namespace

bool recogniserInput(const QByteArray& wav, SpeechSamples& samples, QString& error) {
    std::vector<float> mono, speech;
    int rate = 0;
    if (!decodeWavMono(wav, mono, rate, &error) || rate <= 0) {
        if (error.isEmpty()) error = QStringLiteral("the recording cannot be decoded");
        return false;
    }
    if (!resampleTo16k(mono, rate, speech)) {
        error = QStringLiteral("the recording cannot be resampled");
        return false;
    }
    const double loudness = loudnessOf(speech, kRecogniserRate);
    if (!std::isfinite(loudness)) {
        error = QStringLiteral("the recording is silent");
        return false;
    }
    const float gain = float(std::pow(10.0, (kRecogniserLoudness - loudness) / 20.0));
    const size_t quiet = size_t(kQuietSeconds * kRecogniserRate);
    samples.assign(speech.size() + 2 * quiet, 0);
    // A faint hiss (a sample or two), the same every time, so that the quiet is no digital
    // silence, which the front end cannot take the logarithm of.
    quint32 noise = 12345;
    for (size_t i = 0; i < samples.size(); ++i) {
        noise = noise * 1664525u + 1013904223u;
        const float hiss = float(int(noise >> 30) - 2);
        const float value =
            i >= quiet && i - quiet < speech.size() ? speech[i - quiet] * gain * 32767.0f : 0.0f;
        samples[i] = short(std::lround(std::clamp(value + hiss, -32767.0f, 32767.0f)));
    }
    return true;
}

std::unique_ptr<SpeechDecoder> SpeechDecoder::open(QString& error) {
    // The recogniser's log is one for the whole process; its chatter has no place in the tool's
    // output, and switching it per decoder would race between threads.
    static std::once_flag quiet;
    std::call_once(quiet, [] { err_set_logfp(nullptr); });
    const QString hmm = kModelFolder + QStringLiteral("/en-us");
    const QString dict = kModelFolder + QStringLiteral("/cmudict-en-us.dict");
    if (!QFileInfo(hmm + QStringLiteral("/mdef")).exists() || !QFileInfo(dict).exists()) {
        error = QStringLiteral(
            "the speech recogniser's US English model is not installed "
            "(install pocketsphinx-en-us)");
        return nullptr;
    }
    const QByteArray hmmPath = hmm.toLocal8Bit(), dictPath = dict.toLocal8Bit();
    // Every recording is one whole utterance: no voice activity detection dropping frames,
    // and the noise estimate starts afresh for each (see run()). Every senone is scored in
    // every frame: scores are counted from the frame's best senone, so the acoustic scores of
    // two grammars compare only when both saw the same best one. The path the search found is
    // the one scored (no lattice rescoring).
    cmd_ln_t* config = cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", hmmPath.constData(), "-dict",
                                   dictPath.constData(), "-remove_silence", "no", "-compallsen",
                                   "yes", "-bestpath", "no", nullptr);
    if (!config) {
        error = QStringLiteral("the speech recogniser cannot be set up");
        return nullptr;
    }
    ps_decoder_t* decoder = ps_init(config);
    cmd_ln_free_r(config);
    if (!decoder) {
        error = QStringLiteral("the speech recogniser's model cannot be loaded");
        return nullptr;
    }
    std::unique_ptr<SpeechDecoder> made(new SpeechDecoder(decoder));
    // Before any grammar, so that no search is left with the dictionary it had before the
    // phones were added.
    if (!made->setPhoneLoop()) {
        error = QStringLiteral("the speech recogniser's phones cannot be set up");
        return nullptr;
    }
    return made;
}

SpeechDecoder::SpeechDecoder(ps_decoder_s* decoder) : ps_(decoder) {}

SpeechDecoder::~SpeechDecoder() {
    ps_free(ps_);
}

QString SpeechDecoder::pronunciation(const QString& word) const {
    char* phones = ps_lookup_word(ps_, word.toUtf8().constData());
    const QString found = phones ? QString::fromLatin1(phones) : QString();
    ckd_free(phones);
    return found;
}

QStringList SpeechDecoder::sayable(const QStringList& words) {
    QStringList known;
    for (const QString& word : words) {
        if (pronunciation(word).isEmpty()) {
            // "pip's": the word the dictionary knows, with its s.
            QString phones;
            if (word.endsWith(QLatin1String("'s"))) {
                const QString base = pronunciation(word.chopped(2));
                if (!base.isEmpty()) phones = base + QStringLiteral(" Z");
            }
            if (phones.isEmpty()) phones = guessPronunciation(word);
            // Every search is brought up to date with the new word: rare enough (a few names a
            // book) not to matter.
            if (ps_add_word(ps_, word.toUtf8().constData(), phones.toLatin1().constData(), TRUE) <
                0) {
                continue;
            }
        }
        known << word;
    }
    return known;
}

bool SpeechDecoder::setLines(const QString& name, const QList<QStringList>& lines) {
    QList<QStringList> spoken;
    for (const QStringList& line : lines) {
        const QStringList words = sayable(line);
        if (!words.isEmpty()) spoken << words;
    }
    if (spoken.isEmpty()) return false;
    int states = 2;
    for (const QStringList& line : spoken) states += int(line.size()) - 1;
    logmath_t* logmath = ps_get_logmath(ps_);
    const float languageWeight = cmd_ln_float32_r(ps_get_config(ps_), "-lw");
    const QByteArray grammarName = name.toUtf8();
    fsg_model_t* fsg = fsg_model_init(grammarName.constData(), logmath, languageWeight, states);
    fsg->start_state = 0;
    fsg->final_state = 1;
    const int choose = int(logmath_log(logmath, 1.0 / double(spoken.size())) * languageWeight);
    int next = 2;
    for (const QStringList& line : spoken) {
        int from = 0;
        for (int w = 0; w < line.size(); ++w) {
            const int to = w == line.size() - 1 ? 1 : next++;
            const int word = fsg_model_word_add(fsg, line[w].toUtf8().constData());
            fsg_model_trans_add(fsg, from, to, w == 0 ? choose : 0, word);
            from = to;
        }
    }
    const bool set = ps_set_fsg(ps_, grammarName.constData(), fsg) == 0;
    fsg_model_free(fsg);
    return set;
}

Decoding SpeechDecoder::decode(const QString& name, const SpeechSamples& samples) {
    return run(name.toUtf8().constData(), samples);
}

bool SpeechDecoder::setPhoneLoop() {
    // The model's phones, each as a word of its own that any other may follow, with no cost
    // for choosing one: the best path any run of speech sounds can take.
    static const char* const kPhones[] = {
        "AA", "AE", "AH", "AO", "AW", "AY", "B",  "CH", "D", "DH", "EH", "ER", "EY",
        "F",  "G",  "HH", "IH", "IY", "JH", "K",  "L",  "M", "N",  "NG", "OW", "OY",
        "P",  "R",  "S",  "SH", "T",  "TH", "UH", "UW", "V", "W",  "Y",  "Z",  "ZH"};
    const float languageWeight = cmd_ln_float32_r(ps_get_config(ps_), "-lw");
    fsg_model_t* fsg = fsg_model_init(kPhoneLoop, ps_get_logmath(ps_), languageWeight, 2);
    fsg->start_state = 0;
    fsg->final_state = 1;
    for (const char* phone : kPhones) {
        const QByteArray word = QByteArray("phone-") + phone;
        if (pronunciation(QString::fromLatin1(word)).isEmpty())
            ps_add_word(ps_, word.constData(), phone, FALSE);
        const int id = fsg_model_word_add(fsg, word.constData());
        fsg_model_trans_add(fsg, 0, 1, 0, id);
        fsg_model_trans_add(fsg, 1, 1, 0, id);
    }
    const bool set = ps_set_fsg(ps_, kPhoneLoop, fsg) == 0;
    fsg_model_free(fsg);
    return set;
}

Decoding SpeechDecoder::decodePhones(const SpeechSamples& samples) {
    return run(kPhoneLoop, samples);
}

Decoding SpeechDecoder::run(const char* search, const SpeechSamples& samples) {
    Decoding result;
    if (ps_set_search(ps_, search) < 0) return result;
    // A new stream for every recording: nothing learnt from the one before (its noise level)
    // carries over, so that a recording is heard the same whichever came before it.
    ps_start_stream(ps_);
    if (ps_start_utt(ps_) < 0) return result;
    ps_process_raw(ps_, samples.data(), samples.size(), FALSE, TRUE);
    ps_end_utt(ps_);
    int score = 0;
    if (!ps_get_hyp(ps_, &score)) return result;
    result.heard = true;
    result.score = score;
    for (ps_seg_t* seg = ps_seg_iter(ps_); seg; seg = ps_seg_next(seg)) {
        int acoustic = 0, language = 0, back = 0;
        ps_seg_prob(seg, &acoustic, &language, &back);
        result.acoustic += acoustic;
        const QString word = QString::fromUtf8(ps_seg_word(seg));
        // Pauses (<sil>, <s>, </s>) and noises ([NOISE]) are no words of a line.
        if (!word.startsWith(QLatin1Char('<')) && !word.startsWith(QLatin1Char('['))) {
            result.words << word.section(QLatin1Char('('), 0, 0);
        }
    }
    result.frames = ps_get_n_frames(ps_);
    return result;
}

}  // namespace tool::listen
