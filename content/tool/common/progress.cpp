#include "common/progress.h"

#include <unistd.h>

namespace tool {

namespace {

// A terminal's line is redrawn at most this often.
constexpr qint64 kRedrawMs = 100;

QString minutes(qint64 ms) {
    const qint64 seconds = (ms + 999) / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QChar('0'));
}

}  // namespace

Progress::Progress(const QString& what, int total, FILE* out, int terminal)
    : what_(what),
      total_(total),
      out_(out),
      terminal_(terminal < 0 ? isatty(fileno(out)) != 0 : terminal != 0) {
    clock_.start();
}

Progress::~Progress() {
    // A line left unfinished on a terminal is ended, so that what follows starts on its own.
    if (terminal_ && toldAt_ >= 0) {
        std::fputs("\n", out_);
        std::fflush(out_);
    }
}

QString Progress::line(int done) const {
    QString text = QStringLiteral("%1 %2/%3").arg(what_).arg(done).arg(total_);
    const qint64 elapsed = clock_.elapsed();
    // The time left is guessed from the pace so far, once there is a pace to go by.
    if (done > 0 && done < total_ && elapsed >= 1000)
        text += QStringLiteral(", %1 left").arg(minutes(elapsed * (total_ - done) / done));
    return text;
}

void Progress::step() {
    std::lock_guard guard(lock_);
    const int done = ++done_;
    if (total_ <= 0) return;
    const qint64 now = clock_.elapsed();
    if (terminal_) {
        if (done < total_ && toldAt_ >= 0 && now - toldAt_ < kRedrawMs) return;
        // \r goes back to the line's start, ESC[K clears what a longer line left.
        std::fprintf(out_, "\r%s\033[K", qPrintable(line(done)));
    } else {
        const int tenths = done * 10 / total_;
        if (tenths <= toldTenths_) return;
        toldTenths_ = tenths;
        std::fprintf(out_, "%s\n", qPrintable(line(done)));
    }
    std::fflush(out_);
    toldAt_ = now;
}

}  // namespace tool
