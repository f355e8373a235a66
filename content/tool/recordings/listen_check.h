#pragma once

// Does each recording say its line? Every English line's finished recording is decoded against
// a grammar of its page's lines (one of them, said whole) and against its own line alone; a
// recording that fits another line of the page clearly better than its own (two recordings
// swapped, a file named on the wrong entry) or that fits its own line far worse than speech
// sounds fit it at all (another text, another language, noise) is flagged.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

#include "recordings/speech_decoder.h"
#include "sources/sources.h"

namespace tool::listen {

// A line of a page as the check hears it.
struct ListenLine {
    Where where;
    int entry = 0;
    QString text;    // what its recording says
    QByteArray wav;  // its finished recording; empty: the line is only one the others may fit
};

struct Hearing {
    enum Verdict { Fits, SoundsLikeOther, FitsPoorly, NotHeard };
    Verdict verdict = Fits;
    int other = -1;  // SoundsLikeOther: the line (index in the page) the recording fits
    // How much better the recording fits the line the page's grammar chose than its own line
    // (0 when it chose its own), and how much better the loop of phones fits it than its own
    // line: acoustic scores (the recogniser's scaled log-likelihoods) per 10 ms frame; infinite
    // when the recording cannot be fitted to its own line at all.
    double otherMargin = 0;
    double ownGap = 0;
    QString error;  // NotHeard: why the recording could not be listened to
};

// Where the verdicts turn, measured on the built-in book's recordings (bench/listen_check.cpp,
// 686 lines, 200 swapped recordings, 100 recordings of another page's line). A right recording
// whose page grammar chose another line fits that line better by at most 11.7 (one of them;
// the rest by 6.2 at most); a swapped recording fits its partner's line better by over 10 but
// for one of 200 (four of them under 12): the line between them is drawn so that the book's own
// recordings pass. A right recording's own line falls short of the phones by at most 16, a
// recording of a line from another page mostly by 20 or more.
struct Thresholds {
    double otherMargin = 12;  // another line fits this much better: sounds like that line
    double ownGap = 20;       // its own line fits this much worse than free speech sounds
};

class PageListener {
  public:
    // Loads the recogniser; null with `error` set when it is not installed.
    static std::unique_ptr<PageListener> open(QString& error);

    // One hearing per line of the page, in order; a line without a recording Fits.
    QList<Hearing> listen(const QList<ListenLine>& page, const Thresholds& thresholds = {});

  private:
    explicit PageListener(std::unique_ptr<SpeechDecoder> decoder);
    // The page's lines as the recogniser's grammar; false when it cannot take them.
    bool setPage(const QList<ListenLine>& page);
    Hearing hear(const SpeechSamples& samples, int own, const Thresholds& thresholds);
    QString ownGrammar(int candidate);

    std::unique_ptr<SpeechDecoder> decoder_;
    QList<QStringList> candidates_;  // the page's distinct lines, as words
    QList<int> candidateOf_;         // line -> candidate (-1: no English words)
    QList<int> firstLineOf_;         // candidate -> its first line
    QList<bool> ownGrammarSet_;      // candidate -> its own grammar is set for this page
};

// A line of the book whose recording is checked: an entry whose recording speaks English (made
// by the English voice, or supplied with an English line).
bool isEnglishLine(const Entry& entry);

// What the check says of a flagged recording, after `file:line: `; empty for one that fits.
QString flagMessage(const Hearing& hearing, const QList<ListenLine>& page);

// The recordings a check listens to: every English line's, or only the supplied ones.
QList<Recording> recordingsToHear(const BookSources& book, bool suppliedOnly);

// Each page's lines for the check: every English line, with its finished recording (from
// `recordings`, by key) where it is one to listen to.
QList<QList<ListenLine>> linesToHear(const BookSources& book,
                                     const QHash<QString, QByteArray>& recordings,
                                     bool suppliedOnly);

// Listens to every page on `parallel` threads (a recogniser each); the hearings of each page in
// the pages' order. False with `error` set when the recogniser cannot be loaded.
bool listenToPages(const QList<QList<ListenLine>>& pages, int parallel,
                   QList<QList<Hearing>>& hearings, QString& error,
                   const Thresholds& thresholds = {});

// What listening to a book's English recordings found: each page's lines with their finished
// recordings, and a hearing for each line.
struct BookHearing {
    QList<QList<ListenLine>> pages;
    QList<QList<Hearing>> hearings;
    int listenedTo = 0;  // recordings finished and heard
};

// Finishes the recordings to hear (or takes them from `cacheFolder`) and listens to them. False
// when one cannot be made (in `problems`) or the recogniser cannot be loaded (in `error`).
bool hearBook(const BookSources& book, const QString& cacheFolder, int parallel,
              bool suppliedOnly, BookHearing& result, Problems& problems, QString& error);

}  // namespace tool::listen
