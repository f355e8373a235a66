#pragma once

// PocketSphinx (0.8, Debian's libpocketsphinx-dev with its US English model) as the tool uses
// it: a recording decoded against a grammar of a few lines, each said whole, or against the
// model's phone loop, which fits any speech as well as sounds can. One decoder per thread.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

struct ps_decoder_s;

namespace tool::listen {

// A recording as the recogniser takes it: 16 kHz mono 16-bit samples.
using SpeechSamples = std::vector<short>;

// Decodes a finished recording (a WAV image) and makes it what the recogniser was trained on:
// resampled to 16 kHz, levelled to a moderate loudness (louder input makes it hear sounds that
// are not there) and given a moment of quiet on either side. False with `error` set when the
// image cannot be decoded or holds no sound.
bool recogniserInput(const QByteArray& wav, SpeechSamples& samples, QString& error);

// What one decoding found. Scores are the recogniser's log-likelihoods (base 1.0001): the path
// score with the grammar's part, and the acoustic part alone summed over the path.
struct Decoding {
    bool heard = false;  // the search came out with a path
    QStringList words;   // the words on it, pauses and noises left out
    long long score = 0;
    long long acoustic = 0;
    int frames = 0;  // 10 ms each
};

class SpeechDecoder {
  public:
    // Loads the model; null with `error` set when it is not installed.
    static std::unique_ptr<SpeechDecoder> open(QString& error);
    ~SpeechDecoder();
    SpeechDecoder(const SpeechDecoder&) = delete;
    SpeechDecoder& operator=(const SpeechDecoder&) = delete;

    // The words (spokenWords) as the decoder can say them: each the dictionary lacks is given a
    // pronunciation from its spelling; one that still cannot be said is left out.
    QStringList sayable(const QStringList& words);
    // A grammar named `name` that says exactly one of `lines` (each as sayable() gives it), all
    // equally likely, with pauses between words allowed. False when the lines hold no word.
    bool setLines(const QString& name, const QList<QStringList>& lines);
    // Decodes the samples with the grammar of that name.
    Decoding decode(const QString& name, const SpeechSamples& samples);
    // Decodes the samples with a loop of the model's phones: the best any speech sounds score.
    Decoding decodePhones(const SpeechSamples& samples);

    // How the decoder pronounces a word; empty when it does not know it.
    QString pronunciation(const QString& word) const;

  private:
    explicit SpeechDecoder(ps_decoder_s* decoder);
    bool setPhoneLoop();
    Decoding run(const char* search, const SpeechSamples& samples);

    ps_decoder_s* ps_;
};

}  // namespace tool::listen
