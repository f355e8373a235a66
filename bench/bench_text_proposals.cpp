// Hotspots proposed from page pictures, measured: every page of the book in content/book is
// drawn by the tool, its printed English read back by the proposer, and each proposal compared
// with the page's true hotspots. Then the same on "photographed" pages made from the drawn
// ones: turned by 1-3 degrees, blurred, lit unevenly, with a little noise, saved as JPEG at
// quality 60.
//
// A hotspot is found when a proposal overlaps it at IoU >= 0.5; found hotspots' text is
// compared letter by letter (character error: edits over the true text's length). A proposal
// is right when it overlaps a hotspot with printed English at IoU >= 0.5, or, looser, when its
// centre lies in one. Time is the processor time a page takes (median, and the slowest page)
// and the median time on the clock, which a busy machine lengthens.
//
// usage: OMP_THREAD_LIMIT=1 bench_text_proposals [--source DIR] [--pages 10,12] [--misses]
//        [--write DIR]
// OMP_THREAD_LIMIT=1 keeps Tesseract on one core, as the figures are given. --misses prints
// every missed hotspot and every wrong proposal; --write keeps the photographed pictures.

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QtMath>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>

#include "bench_support.h"
#include "pictures/art/page_art.h"
#include "pictures/book_pictures.h"
#include "pictures/text_proposals.h"
#include "sources/sources.h"

using namespace tool;

namespace {

using bench::median;

enum class Kind { Sentence, Card, Other };

struct Truth {
    QRect rect;  // design space
    QString text;
    Kind kind = Kind::Other;
    QString itemKind;
};

struct Tally {
    int sentences = 0, sentencesFound = 0;
    int cards = 0, cardsFound = 0;
    int others = 0, othersFound = 0;
    long long edits = 0, letters = 0;
    int proposals = 0, right = 0, rightByCentre = 0;
    std::vector<double> seconds, cpuSeconds;
};

// The calling thread's processor time: what a page costs on one core, however busy the machine.
double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

double iou(const QRect& a, const QRect& b) {
    const QRect both = a.intersected(b);
    if (both.isEmpty()) return 0;
    const double shared = double(both.width()) * both.height();
    return shared / (double(a.width()) * a.height() + double(b.width()) * b.height() - shared);
}

int editDistance(const QString& a, const QString& b) {
    std::vector<int> row(size_t(b.size()) + 1);
    for (size_t j = 0; j < row.size(); ++j) row[j] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int above = row[size_t(j)];
            row[size_t(j)] = std::min(
                {above + 1, row[size_t(j - 1)] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row.back();
}

// The page's hotspots that print English, with what they print. Sentences are those of two
// words or more; cards are one-word word cards; the rest (a picture's word, a one-word title
// or card) are counted apart.
std::vector<Truth> truthOf(const art::PageSpec& spec) {
    std::vector<Truth> truths;
    for (const art::PrintedText& printed : art::printedEnglish(spec)) {
        if (printed.number == 0) continue;  // a heading: nobody presses it
        const auto item = std::find_if(spec.items.begin(), spec.items.end(),
                                       [&](const auto& i) { return i.number == printed.number; });
        if (item == spec.items.end()) continue;
        const QString text = printed.text.simplified();
        const bool severalWords = text.contains(QLatin1Char(' '));
        Kind kind = Kind::Other;
        if (printed.kind == QLatin1String("word") && !severalWords) kind = Kind::Card;
        if (printed.kind != QLatin1String("label") && severalWords) kind = Kind::Sentence;
        truths.push_back({item->rect, text, kind, printed.kind});
    }
    // Titles print their English on a coloured band.
    for (const art::PageItem& item : spec.items) {
        const QString text = item.english.simplified();
        if (item.kind != QLatin1String("title") || text.isEmpty() || text == QLatin1String("$"))
            continue;
        truths.push_back({item.rect, text,
                          text.contains(QLatin1Char(' ')) ? Kind::Sentence : Kind::Other,
                          item.kind});
    }
    return truths;
}

// A drawn page as a phone would photograph it: turned, soft, lit from one side, noisy and
// JPEG-compressed. `turn` is how far it was turned (degrees), for moving the true hotspots.
QImage photograph(const QImage& page, std::mt19937& random, double& turn) {
    std::uniform_real_distribution<double> unit(0, 1);
    turn = (1 + 2 * unit(random)) * (unit(random) < 0.5 ? -1 : 1);
    QImage photo(page.size(), QImage::Format_RGB32);
    photo.fill(QColor(112, 104, 96));  // the table under the book
    {
        QPainter painter(&photo);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.translate(page.width() / 2.0, page.height() / 2.0);
        painter.rotate(turn);
        painter.translate(-page.width() / 2.0, -page.height() / 2.0);
        painter.drawImage(0, 0, page);
    }
    // Soft focus: a box blur of 2 pixels twice over, about a Gaussian of 1.6 pixels.
    const int w = photo.width(), h = photo.height();
    for (int pass = 0; pass < 4; ++pass) {
        const bool across = pass % 2 == 0;
        const QImage from = photo.copy();
        for (int y = 0; y < h; ++y) {
            auto* out = reinterpret_cast<QRgb*>(photo.scanLine(y));
            for (int x = 0; x < w; ++x) {
                int r = 0, g = 0, b = 0, n = 0;
                for (int d = -2; d <= 2; ++d) {
                    const int sx = across ? std::clamp(x + d, 0, w - 1) : x;
                    const int sy = across ? y : std::clamp(y + d, 0, h - 1);
                    const QRgb c = reinterpret_cast<const QRgb*>(from.constScanLine(sy))[sx];
                    r += qRed(c), g += qGreen(c), b += qBlue(c), ++n;
                }
                out[x] = qRgb(r / n, g / n, b / n);
            }
        }
    }
    // Light falling off from one side to the other, down to 60 %, with sensor noise.
    const double angle = unit(random) * 2 * M_PI;
    const double dx = std::cos(angle), dy = std::sin(angle);
    std::normal_distribution<double> noise(0, 3);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const double along = ((x - w / 2.0) * dx + (y - h / 2.0) * dy) / std::hypot(w, h) + 0.5;
            const double light = 1.0 - 0.4 * std::clamp(along, 0.0, 1.0);
            const auto shade = [&](int v) {
                return std::clamp(int(std::lround(v * light + noise(random))), 0, 255);
            };
            line[x] = qRgb(shade(qRed(line[x])), shade(qGreen(line[x])), shade(qBlue(line[x])));
        }
    }
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(60);
    writer.write(photo);
    return QImage::fromData(jpeg, "JPEG");
}

// Where a hotspot lies on the photograph: its middle turned with the page, its size kept.
QRect turned(const QRect& rect, double degrees) {
    const QPointF middle(kPageWidth / 2.0, kPageHeight / 2.0);
    // The page is turned in pixels, which are stretched differently across and down.
    const double sx = kPagePictureSize.width() / double(kPageWidth);
    const double sy = kPagePictureSize.height() / double(kPageHeight);
    const QPointF from = rect.toRectF().center() - middle;
    const double a = qDegreesToRadians(degrees);
    const QPointF pixels(from.x() * sx, from.y() * sy);
    const QPointF to(pixels.x() * std::cos(a) - pixels.y() * std::sin(a),
                     pixels.x() * std::sin(a) + pixels.y() * std::cos(a));
    QRectF moved = rect.toRectF();
    moved.moveCenter(middle + QPointF(to.x() / sx, to.y() / sy));
    return moved.toRect();
}

void measurePage(int pageNumber, const QImage& picture, const std::vector<Truth>& truths,
                 bool showMisses, Tally& tally) {
    QElapsedTimer timer;
    timer.start();
    const double cpuStart = threadSeconds();
    const ProposalResult result = proposeTextHotspots(picture);
    tally.cpuSeconds.push_back(threadSeconds() - cpuStart);
    tally.seconds.push_back(timer.nsecsElapsed() / 1e9);
    if (!result.error.isEmpty()) {
        fprintf(stderr, "%s\n", qPrintable(result.error));
        exit(1);
    }
    for (const Truth& truth : truths) {
        const TextProposal* best = nullptr;
        double bestIou = 0;
        for (const TextProposal& p : result.proposals) {
            if (iou(p.rect, truth.rect) > bestIou) best = &p, bestIou = iou(p.rect, truth.rect);
        }
        const bool found = bestIou >= 0.5;
        int& count = truth.kind == Kind::Sentence ? tally.sentences
                     : truth.kind == Kind::Card   ? tally.cards
                                                  : tally.others;
        int& hits = truth.kind == Kind::Sentence ? tally.sentencesFound
                    : truth.kind == Kind::Card   ? tally.cardsFound
                                                 : tally.othersFound;
        ++count;
        hits += found;
        if (found) {
            const int edits = editDistance(best->english.simplified(), truth.text);
            tally.edits += edits;
            tally.letters += truth.text.size();
            if (showMisses && edits > 0)
                printf("  p%d misread %s \"%s\" as \"%s\"\n", pageNumber,
                       qPrintable(truth.itemKind), qPrintable(truth.text),
                       qPrintable(best->english));
        } else if (showMisses && truth.kind != Kind::Other) {
            printf("  p%d missed %s \"%s\" at %d,%d,%d,%d (best IoU %.2f%s%s)\n", pageNumber,
                   qPrintable(truth.itemKind), qPrintable(truth.text), truth.rect.x(),
                   truth.rect.y(), truth.rect.width(), truth.rect.height(), bestIou,
                   best ? ": " : "", best ? qPrintable(best->english) : "");
        }
    }
    for (const TextProposal& p : result.proposals) {
        ++tally.proposals;
        const bool right = std::any_of(truths.begin(), truths.end(),
                                       [&](const Truth& t) { return iou(p.rect, t.rect) >= 0.5; });
        const bool centred = std::any_of(truths.begin(), truths.end(), [&](const Truth& t) {
            return t.rect.contains(p.rect.center());
        });
        tally.right += right;
        tally.rightByCentre += centred;
        if (showMisses && !right)
            printf("  p%d wrong proposal %d,%d,%d,%d %d%% \"%s\"\n", pageNumber, p.rect.x(),
                   p.rect.y(), p.rect.width(), p.rect.height(), p.confidence,
                   qPrintable(p.english));
    }
}

double share(int part, int whole) {
    return whole ? 100.0 * part / whole : 0.0;
}

void printTally(const char* name, int pages, const Tally& tally) {
    const double slowest = tally.cpuSeconds.empty() ? 0
                                                    : *std::max_element(tally.cpuSeconds.begin(),
                                                                        tally.cpuSeconds.end());
    printf("%-13s %5d %5d %9.1f %5d %9.1f %9.1f %6.2f %9d %7.1f %8.1f %8.2f %8.2f %8.2f\n", name,
           pages, tally.sentences, share(tally.sentencesFound, tally.sentences), tally.cards,
           share(tally.cardsFound, tally.cards), share(tally.othersFound, tally.others),
           tally.letters ? 100.0 * double(tally.edits) / double(tally.letters) : 0.0,
           tally.proposals, share(tally.right, tally.proposals),
           share(tally.rightByCentre, tally.proposals), median(tally.cpuSeconds), slowest,
           median(tally.seconds));
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QString sourceFolder = QStringLiteral(QCBOOK_SOURCE_DIR "/content/book"), writeFolder;
    QList<int> onlyPages;
    bool showMisses = false;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString next = args.value(i + 1);
        if (args[i] == "--source") sourceFolder = next, ++i;
        if (args[i] == "--write") writeFolder = next, ++i;
        if (args[i] == "--misses") showMisses = true;
        if (args[i] == "--pages") {
            for (const QString& page : next.split(QLatin1Char(','))) onlyPages.append(page.toInt());
            ++i;
        }
    }
    Problems problems;
    const BookSources book = readSources(sourceFolder, onlyPages, problems);
    if (!problems.empty() || book.pages.isEmpty()) {
        fprintf(stderr, "%s\n", qPrintable(problems.report()));
        return 1;
    }
    if (!writeFolder.isEmpty()) QDir().mkpath(writeFolder);
    Tally drawn, photographed;
    int pages = 0;
    for (const PageSource& page : book.pages) {
        if (page.image.given()) continue;  // a scan: no true hotspots to draw it from
        ++pages;
        const art::PageSpec spec = pageSpec(page, pagePictureSize(book, page.pageNumber));
        const QImage picture = art::renderPage(spec);
        const std::vector<Truth> truths = truthOf(spec);
        if (showMisses) printf("p%d drawn\n", page.pageNumber);
        measurePage(page.pageNumber, picture, truths, showMisses, drawn);
        // Each page its own photograph, the same whichever pages are measured.
        std::mt19937 random(uint32_t(page.pageNumber));
        double turn = 0;
        const QImage photo = photograph(picture, random, turn);
        if (!writeFolder.isEmpty())
            photo.save(QDir(writeFolder).filePath(QStringLiteral("p%1.jpg").arg(page.pageNumber)));
        std::vector<Truth> moved = truths;
        for (Truth& truth : moved) truth.rect = turned(truth.rect, turn);
        if (showMisses) printf("p%d photographed (%.1f degrees)\n", page.pageNumber, turn);
        measurePage(page.pageNumber, photo, moved, showMisses, photographed);
    }
    printf("%-13s %5s %5s %9s %5s %9s %9s %6s %9s %7s %8s %8s %8s %8s\n", "pictures", "pages",
           "sent", "sent_%", "cards", "cards_%", "other_%", "cer_%", "proposals", "right_%",
           "centre_%", "cpu_s", "max_cpu", "wall_s");
    printTally("drawn", pages, drawn);
    printTally("photographed", pages, photographed);
    return 0;
}
