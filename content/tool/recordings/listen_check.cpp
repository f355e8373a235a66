#include "recordings/listen_check.h"

#include <QSet>

#include <atomic>
#include <limits>
#include <mutex>
#include <thread>

#include "common/progress.h"
#include "recordings/make_recordings.h"

#include "recordings/spoken_words.h"

namespace tool::listen {

namespace {

const QString kPageGrammar = QStringLiteral("page");

// A text in Chinese (or any script the English model cannot say) is no English line.
bool looksEnglish(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() >= 0x2E80) return false;
    }
    return !spokenWords(text).isEmpty();
}

}  // namespace

bool isEnglishLine(const Entry& entry) {
    const Recording& r = entry.recording;
    if (r.voice != QLatin1String("en") && !r.supplied()) return false;
    return looksEnglish(r.text);
}

std::unique_ptr<PageListener> PageListener::open(QString& error) {
    std::unique_ptr<SpeechDecoder> decoder = SpeechDecoder::open(error);
    if (!decoder) return nullptr;
    return std::unique_ptr<PageListener>(new PageListener(std::move(decoder)));
}

PageListener::PageListener(std::unique_ptr<SpeechDecoder> decoder) : decoder_(std::move(decoder)) {}

bool PageListener::setPage(const QList<ListenLine>& page) {
    candidates_.clear();
    candidateOf_.clear();
    firstLineOf_.clear();
    for (int i = 0; i < page.size(); ++i) {
        const QStringList words = looksEnglish(page[i].text)
                                      ? decoder_->sayable(spokenWords(page[i].text))
                                      : QStringList();
        int candidate = words.isEmpty() ? -1 : int(candidates_.indexOf(words));
        if (!words.isEmpty() && candidate < 0) {
            candidate = int(candidates_.size());
            candidates_ << words;
            firstLineOf_ << i;
        }
        candidateOf_ << candidate;
    }
    ownGrammarSet_ = QList<bool>(candidates_.size(), false);
    return candidates_.isEmpty() || decoder_->setLines(kPageGrammar, candidates_);
}

QString PageListener::ownGrammar(int candidate) {
    const QString name = QStringLiteral("line%1").arg(candidate);
    if (!ownGrammarSet_[candidate]) {
        decoder_->setLines(name, {candidates_[candidate]});
        ownGrammarSet_[candidate] = true;
    }
    return name;
}

Hearing PageListener::hear(const SpeechSamples& samples, int own, const Thresholds& thresholds) {
    Hearing hearing;
    const Decoding chosen = decoder_->decode(kPageGrammar, samples);
    const int winner = chosen.heard ? int(candidates_.indexOf(chosen.words)) : -1;
    // Where the page's grammar chose the recording's own line, that path is its own line's.
    const Decoding alone = winner == own ? chosen : decoder_->decode(ownGrammar(own), samples);
    const Decoding free = decoder_->decodePhones(samples);
    const int frames = std::max(1, alone.frames);
    // A recording that cannot be fitted to its own line at all fits it worse than any measure.
    const bool ownFitted = alone.heard && alone.words == candidates_[own];
    hearing.ownGap = ownFitted ? double(free.acoustic - alone.acoustic) / frames
                               : std::numeric_limits<double>::infinity();
    if (winner >= 0 && winner != own) {
        hearing.otherMargin = ownFitted ? double(chosen.acoustic - alone.acoustic) / frames
                                        : std::numeric_limits<double>::infinity();
        if (hearing.otherMargin > thresholds.otherMargin) {
            hearing.verdict = Hearing::SoundsLikeOther;
            hearing.other = firstLineOf_[winner];
            return hearing;
        }
    }
    if (hearing.ownGap > thresholds.ownGap) hearing.verdict = Hearing::FitsPoorly;
    return hearing;
}

QList<Hearing> PageListener::listen(const QList<ListenLine>& page, const Thresholds& thresholds) {
    const bool grammarSet = setPage(page);
    QList<Hearing> hearings(page.size());
    for (int i = 0; i < page.size(); ++i) {
        if (page[i].wav.isEmpty() || candidateOf_[i] < 0) continue;
        // Two entries of a page with the same line and recording are heard once.
        int same = 0;
        while (same < i && (candidateOf_[same] != candidateOf_[i] || page[same].wav != page[i].wav))
            ++same;
        if (same < i) {
            hearings[i] = hearings[same];
            continue;
        }
        SpeechSamples samples;
        QString error;
        if (!grammarSet) {
            error = QStringLiteral("the speech recogniser cannot take the page's lines");
        } else if (recogniserInput(page[i].wav, samples, error)) {
            hearings[i] = hear(samples, candidateOf_[i], thresholds);
            continue;
        }
        hearings[i].verdict = Hearing::NotHeard;
        hearings[i].error = error;
    }
    return hearings;
}

QString flagMessage(const Hearing& hearing, const QList<ListenLine>& page) {
    switch (hearing.verdict) {
        case Hearing::SoundsLikeOther:
            return QStringLiteral("the recording sounds like \"%1\" (entry %2), not its own line")
                .arg(page[hearing.other].text)
                .arg(page[hearing.other].entry);
        case Hearing::FitsPoorly:
            return QStringLiteral("the recording does not sound like its line");
        case Hearing::NotHeard:
            return QStringLiteral("the recording cannot be listened to: %1").arg(hearing.error);
        case Hearing::Fits:
            break;
    }
    return {};
}

namespace {

bool toHear(const Entry& entry, bool suppliedOnly) {
    return isEnglishLine(entry) && (!suppliedOnly || entry.recording.supplied());
}

}  // namespace

QList<Recording> recordingsToHear(const BookSources& book, bool suppliedOnly) {
    QList<Recording> recordings;
    for (const PageSource& page : book.pages) {
        for (const Entry& e : page.entries) {
            if (toHear(e, suppliedOnly)) recordings << entryRecording(e);
        }
    }
    return recordings;
}

QList<QList<ListenLine>> linesToHear(const BookSources& book,
                                     const QHash<QString, QByteArray>& recordings,
                                     bool suppliedOnly) {
    QList<QList<ListenLine>> pages;
    for (const PageSource& page : book.pages) {
        QList<ListenLine> lines;
        for (const Entry& e : page.entries) {
            if (!isEnglishLine(e)) continue;
            const Recording r = entryRecording(e);
            lines.append({e.where, e.number, r.text,
                          toHear(e, suppliedOnly) ? recordings.value(r.key()) : QByteArray()});
        }
        pages << lines;
    }
    return pages;
}

bool listenToPages(const QList<QList<ListenLine>>& pages, int parallel,
                   QList<QList<Hearing>>& hearings, QString& error, const Thresholds& thresholds) {
    std::vector<QList<Hearing>> heard(size_t(pages.size()));
    int recordings = 0;
    for (const QList<ListenLine>& page : pages) {
        for (const ListenLine& line : page) recordings += !line.wav.isEmpty();
    }
    Progress progress(QStringLiteral("recordings heard"), recordings);
    std::atomic<int> next{0};
    std::mutex lock;
    bool opened = true;
    // A recogniser per thread, each taking the next page as soon as it is done with one.
    const auto work = [&] {
        QString openError;
        std::unique_ptr<PageListener> listener = PageListener::open(openError);
        if (!listener) {
            std::lock_guard guard(lock);
            opened = false;
            error = openError;
            return;
        }
        for (int i = next++; i < pages.size(); i = next++) {
            heard[size_t(i)] = listener->listen(pages[i], thresholds);
            for (const ListenLine& line : pages[i]) {
                if (!line.wav.isEmpty()) progress.step();
            }
        }
    };
    std::vector<std::thread> threads;
    const int count = std::clamp(parallel, 1, std::max(1, int(pages.size())));
    for (int t = 0; t < count; ++t) threads.emplace_back(work);
    for (std::thread& t : threads) t.join();
    hearings = QList<QList<Hearing>>(heard.begin(), heard.end());
    return opened;
}

bool hearBook(const BookSources& book, const QString& cacheFolder, int parallel,
              bool suppliedOnly, BookHearing& result, Problems& problems, QString& error) {
    QSet<QString> heard;
    for (const Recording& r : recordingsToHear(book, suppliedOnly)) heard.insert(r.key());
    QList<RecordingJob> jobs = recordingJobs(book);
    jobs.removeIf([&](const RecordingJob& job) { return !heard.contains(job.recording.key()); });
    const QHash<QString, QByteArray> recordings =
        makeRecordings(jobs, cacheFolder, parallel, problems);
    if (!problems.empty()) return false;
    result.pages = linesToHear(book, recordings, suppliedOnly);
    result.listenedTo = int(jobs.size());
    return listenToPages(result.pages, parallel, result.hearings, error);
}

}  // namespace tool::listen
