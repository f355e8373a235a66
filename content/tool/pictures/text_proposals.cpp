#include "pictures/text_proposals.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

#include "pictures/supplied_pictures.h"

namespace tool {

namespace {

// The page is read at this many pixels per design unit: the smallest print of a page (about 9
// units high) then has letters of over 25 pixels, which Tesseract reads well even blurred.
constexpr double kScale = 3.0;
// The working picture's letters are about as big as those of a 300 dpi scan.
constexpr int kWorkingDpi = 300;
// Dark ink: at most this bright (the brightest channel, with the paper at 255) and this
// coloured (the brightest channel less the darkest). The page's coloured small print (section
// names, Chinese meanings) and the boxes' coloured outlines stay out.
constexpr int kInkLevel = 150;
constexpr int kInkColour = 60;
// Light letters: at least this bright and this grey, on a band at least this coloured.
constexpr int kLightLevel = 205;
constexpr int kLightGreyness = 48;
constexpr int kBandColour = 60;
// Lines read with less confidence than this are not proposed; words at a line's ends with less
// than kEndConfidence are left off it (stray marks read as letters beside the text).
constexpr int kLineConfidence = 70;
constexpr int kEndConfidence = 70;
// Colours of one flat box differ by at most this much in a channel from the box's colour (light,
// noise, JPEG), and by the second number from a neighbour's; the later tolerances are for boxes
// whose colour is close to the paper's.
struct Tolerance {
    int ground, step;
};
constexpr Tolerance kFlatTolerances[] = {{48, 12}, {34, 12}, {20, 8}, {12, 6}};

// A picture's pixels, one byte each, with their size.
struct Plane {
    int width = 0, height = 0;
    std::vector<uint8_t> at;
    Plane(int w, int h, uint8_t fill = 0) : width(w), height(h), at(size_t(w) * size_t(h), fill) {}
    uint8_t& operator()(int x, int y) { return at[size_t(y) * size_t(width) + size_t(x)]; }
    uint8_t operator()(int x, int y) const { return at[size_t(y) * size_t(width) + size_t(x)]; }
};

// The picture placed as the program shows it, at kScale pixels per design unit.
QImage workingPicture(const QImage& picture, QSize pageSize) {
    const QSize size(qRound(kPageWidth * kScale), qRound(kPageHeight * kScale));
    QImage working(size, QImage::Format_RGB32);
    working.fill(Qt::white);
    const QRectF fitted = fittedRect(picture.size(), pageSize);
    const double sx = size.width() / double(pageSize.width());
    const double sy = size.height() / double(pageSize.height());
    QPainter painter(&working);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(
        QRectF(fitted.x() * sx, fitted.y() * sy, fitted.width() * sx, fitted.height() * sy),
        picture);
    return working;
}

// How bright the paper is around each pixel: the brightest of the blocks near it, so that a
// page lit unevenly or photographed in a dim room still has its ink and its paper apart.
Plane paperLevel(const QImage& picture) {
    constexpr int kBlock = 40;
    const int bw = (picture.width() + kBlock - 1) / kBlock;
    const int bh = (picture.height() + kBlock - 1) / kBlock;
    Plane blocks(bw, bh);
    for (int y = 0; y < picture.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb c = line[x];
            const int value = std::max({qRed(c), qGreen(c), qBlue(c)});
            uint8_t& block = blocks(x / kBlock, y / kBlock);
            block = uint8_t(std::max<int>(block, value));
        }
    }
    // Blocks inside a big coloured drawing or band take the paper of blocks two away.
    Plane near(bw, bh);
    for (int y = 0; y < bh; ++y) {
        for (int x = 0; x < bw; ++x) {
            int brightest = 0;
            for (int dy = -2; dy <= 2; ++dy) {
                for (int dx = -2; dx <= 2; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < bw && ny < bh)
                        brightest = std::max<int>(brightest, blocks(nx, ny));
                }
            }
            near(x, y) = uint8_t(std::max(brightest, 64));
        }
    }
    Plane level(picture.width(), picture.height());
    for (int y = 0; y < picture.height(); ++y) {
        const double by = std::clamp((y + 0.5) / kBlock - 0.5, 0.0, bh - 1.0);
        const int y0 = int(by), y1 = std::min(y0 + 1, bh - 1);
        const double fy = by - y0;
        for (int x = 0; x < picture.width(); ++x) {
            const double bx = std::clamp((x + 0.5) / kBlock - 0.5, 0.0, bw - 1.0);
            const int x0 = int(bx), x1 = std::min(x0 + 1, bw - 1);
            const double fx = bx - x0;
            const double top = near(x0, y0) * (1 - fx) + near(x1, y0) * fx;
            const double bottom = near(x0, y1) * (1 - fx) + near(x1, y1) * fx;
            level(x, y) = uint8_t(top * (1 - fy) + bottom * fy);
        }
    }
    return level;
}

// Each pixel's brightness and colourfulness measured against its paper (0-255), and where
// the coloured bands are.
class Shades {
  public:
    explicit Shades(const QImage& picture)
        : w_(picture.width()),
          h_(picture.height()),
          value_(w_, h_),
          colour_(w_, h_),
          bandSums_(size_t(w_ + 1) * size_t(h_ + 1), 0) {
        const Plane paper = paperLevel(picture);
        for (int y = 0; y < h_; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
            int row = 0;
            for (int x = 0; x < w_; ++x) {
                const QRgb c = line[x];
                const int high = std::max({qRed(c), qGreen(c), qBlue(c)});
                const int low = std::min({qRed(c), qGreen(c), qBlue(c)});
                const int scale = paper(x, y);
                value_(x, y) = uint8_t(std::min(255, high * 255 / scale));
                colour_(x, y) = uint8_t(std::min(255, (high - low) * 255 / scale));
                row += isBand(x, y);
                bandSums_[size_t(y + 1) * size_t(w_ + 1) + size_t(x + 1)] = bandSum(x + 1, y) + row;
            }
        }
    }

    bool isInk(int x, int y) const {
        return value_(x, y) <= kInkLevel && colour_(x, y) <= kInkColour;
    }

    // Light and grey, with coloured band around it: the letters of a title.
    bool isLightLetter(int x, int y) const {
        return value_(x, y) >= kLightLevel && colour_(x, y) <= kLightGreyness &&
               bandShare(x, y) > 0.3 && enclosed(x, y);
    }

  private:
    bool isBand(int x, int y) const {
        return colour_(x, y) >= kBandColour && value_(x, y) > kInkLevel && value_(x, y) < 250;
    }

    // How many band pixels lie above and left of (x, y), for sums over any box.
    int bandSum(int x, int y) const { return bandSums_[size_t(y) * size_t(w_ + 1) + size_t(x)]; }

    double bandShare(int x, int y) const {
        const int reach = int(8 * kScale);
        const int x0 = std::max(0, x - reach), x1 = std::min(w_, x + reach + 1);
        const int y0 = std::max(0, y - reach), y1 = std::min(h_, y + reach + 1);
        const int count = bandSum(x1, y1) - bandSum(x0, y1) - bandSum(x1, y0) + bandSum(x0, y0);
        return double(count) / ((x1 - x0) * (y1 - y0));
    }

    // A light letter has its band on all four sides of it within a letter's height: the light
    // gap between two coloured outlines (cards stacked in a list) has not.
    bool enclosed(int x, int y) const {
        const int reach = int(24 * kScale);
        const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (const auto& step : steps) {
            bool met = false;
            for (int d = 1; d <= reach && !met; ++d) {
                const int nx = x + step[0] * d, ny = y + step[1] * d;
                if (nx < 0 || ny < 0 || nx >= w_ || ny >= h_) break;
                met = isBand(nx, ny);
            }
            if (!met) return false;
        }
        return true;
    }

    int w_, h_;
    Plane value_, colour_;
    std::vector<int> bandSums_;
};

// The picture as Tesseract reads it best: black letters on white. Dark ink is taken as it is;
// light letters are taken where they lie on a coloured band (a title), not on white paper.
Plane letterMask(const QImage& picture) {
    const Shades shades(picture);
    Plane mask(picture.width(), picture.height(), 255);
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            if (shades.isInk(x, y) || shades.isLightLetter(x, y)) mask(x, y) = 0;
        }
    }
    return mask;
}

// One line of text as read: its words' box in working pixels, its text and its confidence.
struct ReadLine {
    QRect box;
    QString text;
    double confidence = 0;
    int letters = 0;  // how many letters and digits: the line's weight when lines are joined
};

bool hasLetterOrDigit(const QString& word) {
    return std::any_of(word.begin(), word.end(), [](QChar c) { return c.isLetterOrNumber(); });
}

struct Word {
    QString text;
    QRect box;
    float confidence = 0;
};

// A line's words kept for a proposal: `|` is the reader's I, marks without a letter or digit
// are dropped, and so are doubtful words at either end (bits of a drawing beside the text).
std::optional<ReadLine> keptLine(std::vector<Word> words) {
    for (Word& word : words) word.text.replace(QLatin1Char('|'), QLatin1Char('I'));
    std::erase_if(words, [](const Word& word) { return !hasLetterOrDigit(word.text); });
    while (!words.empty() && words.back().confidence < kEndConfidence) words.pop_back();
    while (!words.empty() && words.front().confidence < kEndConfidence) words.erase(words.begin());
    if (words.empty()) return std::nullopt;
    ReadLine line;
    QStringList texts;
    double weighted = 0;
    for (const Word& word : words) {
        const int letters = int(std::count_if(word.text.begin(), word.text.end(),
                                              [](QChar c) { return c.isLetterOrNumber(); }));
        weighted += double(word.confidence) * letters;
        line.letters += letters;
        line.box = line.box.united(word.box);
        texts.append(word.text);
    }
    line.text = texts.join(QLatin1Char(' '));
    line.confidence = weighted / line.letters;
    if (line.confidence < kLineConfidence) return std::nullopt;
    return line;
}

// Tesseract's progress and cancelling reach the caller's watch through this.
struct Monitor {
    tesseract::ETEXT_DESC desc;
    const ProposalWatch* watch = nullptr;
    int told = -1;
};

bool onCancelCheck(void* data, int) {
    const auto* monitor = static_cast<Monitor*>(data);
    return monitor->watch->cancel && monitor->watch->cancel->load();
}

bool onProgress(tesseract::ETEXT_DESC* desc, int, int, int, int) {
    auto* monitor = static_cast<Monitor*>(desc->cancel_this);
    // Reading is the bulk of the work: 10 to 90 of the caller's scale.
    const int percent = 10 + desc->progress * 80 / 100;
    if (monitor->watch->progress && percent != monitor->told) monitor->watch->progress(percent);
    monitor->told = percent;
    return true;
}

// The words Tesseract has read, line by line.
std::vector<std::vector<Word>> wordsByLine(tesseract::TessBaseAPI& api) {
    std::vector<std::vector<Word>> lines;
    std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
    if (!it) return lines;
    do {
        const std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_WORD));
        int left = 0, top = 0, right = 0, bottom = 0;
        if (!text || !it->BoundingBox(tesseract::RIL_WORD, &left, &top, &right, &bottom)) continue;
        if (lines.empty() || it->IsAtBeginningOf(tesseract::RIL_TEXTLINE)) lines.emplace_back();
        lines.back().push_back({QString::fromUtf8(text.get()).trimmed(),
                                QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)),
                                it->Confidence(tesseract::RIL_WORD)});
    } while (it->Next(tesseract::RIL_WORD));
    return lines;
}

// Sparse reading sometimes strings two speech boxes and the drawing between them into one
// line, and then reads the boxes' words run together and badly. A long, doubtful word is read
// again on its own as one line of text; the better reading is kept.
void rereadDoubtfulWords(tesseract::TessBaseAPI& api, const ProposalWatch& watch,
                         std::vector<Word>& words) {
    std::vector<Word> better;
    for (const Word& word : words) {
        const bool textLike =
            word.box.width() >= 2 * word.box.height() && word.box.height() >= int(6 * kScale);
        if (word.confidence >= kEndConfidence || !textLike ||
            (watch.cancel && watch.cancel->load())) {
            better.push_back(word);
            continue;
        }
        const int air = word.box.height() / 4;
        const QRect around = word.box.adjusted(-air, -air, air, air);
        api.SetPageSegMode(tesseract::PSM_SINGLE_LINE);
        api.SetRectangle(around.x(), around.y(), around.width(), around.height());
        std::vector<Word> again;
        if (api.Recognize(nullptr) == 0) {
            for (std::vector<Word>& line : wordsByLine(api))
                again.insert(again.end(), line.begin(), line.end());
        }
        const bool surer =
            !again.empty() && std::all_of(again.begin(), again.end(), [](const Word& w) {
                return w.confidence >= kEndConfidence;
            });
        if (surer) {
            better.insert(better.end(), again.begin(), again.end());
        } else {
            better.push_back(word);
        }
    }
    words = std::move(better);
}

// A line's words in pieces parted by gaps wider than a word gap could be: text of two boxes
// side by side, or a mark of a drawing beside the text.
std::vector<std::vector<Word>> piecesOf(const std::vector<Word>& words) {
    std::vector<std::vector<Word>> pieces;
    for (const Word& word : words) {
        if (!pieces.empty()) {
            const QRect& before = pieces.back().back().box;
            const int height = std::max(before.height(), word.box.height());
            if (word.box.left() - before.right() <= 1.2 * height) {
                pieces.back().push_back(word);
                continue;
            }
        }
        pieces.push_back({word});
    }
    return pieces;
}

// Reads the mask's lines with page segmentation for sparse text: a page's print is short lines
// scattered among drawings. False when Tesseract cannot start.
bool readLines(const Plane& mask, const ProposalWatch& watch, std::vector<ReadLine>& lines,
               QString& error) {
    tesseract::TessBaseAPI api;
    if (api.Init(nullptr, "eng", tesseract::OEM_LSTM_ONLY) != 0) {
        error = QStringLiteral(
            "the text reader cannot start: is Tesseract's English model "
            "(tesseract-ocr-eng) installed?");
        return false;
    }
    api.SetPageSegMode(tesseract::PSM_SPARSE_TEXT);
    api.SetImage(mask.at.data(), mask.width, mask.height, 1, mask.width);
    // A picture without a resolution would be taken as 70 dpi and its letters as huge.
    api.SetSourceResolution(kWorkingDpi);
    Monitor monitor;
    monitor.watch = &watch;
    monitor.desc.cancel = &onCancelCheck;
    monitor.desc.cancel_this = &monitor;
    monitor.desc.progress_callback2 = &onProgress;
    if (api.Recognize(&monitor.desc) != 0) return true;  // cancelled, or nothing to read
    for (std::vector<Word>& words : wordsByLine(api)) {
        for (const std::vector<Word>& piece : piecesOf(words)) {
            std::vector<Word> reread = piece;
            rereadDoubtfulWords(api, watch, reread);
            if (auto line = keptLine(std::move(reread))) lines.push_back(*line);
        }
    }
    return true;
}

// The colour a line of text is printed on: the middle of the colours among its letters.
std::optional<QRgb> groundColour(const QImage& picture, const Plane& mask, const QRect& text) {
    std::vector<int> reds, greens, blues;
    for (int y = text.top(); y <= text.bottom(); y += 2) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = text.left(); x <= text.right(); x += 2) {
            if (mask(x, y) == 0) continue;
            reds.push_back(qRed(line[x]));
            greens.push_back(qGreen(line[x]));
            blues.push_back(qBlue(line[x]));
        }
    }
    if (reds.size() < 8) return std::nullopt;
    auto middle = [](std::vector<int>& values) {
        std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
        return values[values.size() / 2];
    };
    return qRgb(middle(reds), middle(greens), middle(blues));
}

// A fill goes on to colours within `ground` of the box's colour, each step to a neighbour
// within `step`: light that changes across a box changes little between neighbours; a box's
// edge, even blurred, changes much.
bool near(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

// The pixels of `window` reached from the text's pixels of `ground` colour, counted by row
// and by column.
struct Fill {
    std::vector<int> rows, columns;
};

Fill fillFrom(const QImage& picture, const QRect& window, const QRect& text, QRgb ground,
              Tolerance tolerance) {
    const int ww = window.width(), wh = window.height();
    std::vector<uint8_t> filled(size_t(ww) * size_t(wh), 0);
    std::vector<QPoint> todo;
    auto colourAt = [&](int x, int y) {
        return reinterpret_cast<const QRgb*>(picture.constScanLine(y))[x];
    };
    auto visit = [&](int x, int y, QRgb from) {
        if (!window.contains(x, y)) return;
        uint8_t& seen = filled[size_t(y - window.top()) * size_t(ww) + size_t(x - window.left())];
        const QRgb c = colourAt(x, y);
        if (seen || !near(c, ground, tolerance.ground) || !near(c, from, tolerance.step)) return;
        seen = 1;
        todo.push_back({x, y});
    };
    for (int y = text.top(); y <= text.bottom(); ++y) {
        for (int x = text.left(); x <= text.right(); ++x) visit(x, y, colourAt(x, y));
    }
    Fill fill{std::vector<int>(size_t(wh), 0), std::vector<int>(size_t(ww), 0)};
    while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        ++fill.rows[size_t(p.y() - window.top())];
        ++fill.columns[size_t(p.x() - window.left())];
        const QRgb c = colourAt(p.x(), p.y());
        visit(p.x() + 1, p.y(), c);
        visit(p.x() - 1, p.y(), c);
        visit(p.x(), p.y() + 1, c);
        visit(p.x(), p.y() - 1, c);
    }
    return fill;
}

// Where the box's body lies along one direction: without thin parts sticking out of it (a
// speech box's tail), as rows or columns far narrower than most are cut off its edges. False
// when the fill reached the window's edge: the colour runs on, the text is on open paper.
bool bodySpan(const std::vector<int>& counts, int& first, int& last) {
    if (counts.empty() || counts.front() > 0 || counts.back() > 0) return false;
    std::vector<int> sorted;
    for (int c : counts) {
        if (c > 0) sorted.push_back(c);
    }
    if (sorted.empty()) return false;
    std::sort(sorted.begin(), sorted.end());
    const double narrow = sorted[sorted.size() * 3 / 4] * 0.6;
    first = 0;
    last = int(counts.size()) - 1;
    while (first < last && counts[size_t(first)] < narrow) ++first;
    while (last > first && counts[size_t(last)] < narrow) --last;
    return true;
}

// The flat-coloured box a line of text is printed on: the colour around its letters filled
// outwards until it meets the box's edge. Null when the colour runs on (the text is on the
// open paper). A box whose colour is close to the paper's, or whose outline another shape
// breaks, is filled again with less tolerance before it is given up.
QRect boxAround(const QImage& picture, const Plane& mask, const QRect& text) {
    const int lineHeight = std::max(text.height(), 1);
    const int reachX = std::max(int(lineHeight * 6), int(kHotspotMaxWidth * kScale) - text.width());
    const int reachY = std::max(int(lineHeight * 2.5), int(16 * kScale));
    const QRect window = text.adjusted(-reachX, -reachY, reachX, reachY)
                             .intersected(QRect(QPoint(0, 0), picture.size()));
    const std::optional<QRgb> ground = groundColour(picture, mask, text);
    if (!ground) return {};
    for (const Tolerance& tolerance : kFlatTolerances) {
        const Fill fill = fillFrom(picture, window, text, *ground, tolerance);
        int top = 0, bottom = 0, left = 0, right = 0;
        if (!bodySpan(fill.rows, top, bottom) || !bodySpan(fill.columns, left, right)) continue;
        const QRect box(window.left() + left, window.top() + top, right - left + 1,
                        bottom - top + 1);
        if (!box.contains(text.center())) continue;
        // Grown by the box's outline, which the hotspot takes in.
        const int outline = int(std::ceil(1.5 * kScale));
        return box.adjusted(-outline, -outline, outline, outline);
    }
    return {};
}

QRect toDesign(const QRect& working) {
    return QRectF(working.x() / kScale, working.y() / kScale, working.width() / kScale,
                  working.height() / kScale)
        .toAlignedRect()
        .intersected(QRect(0, 0, kPageWidth, kPageHeight));
}

// A proposal being made: its lines, and the box they are printed on (null: open paper).
struct Gathered {
    QRect box;
    bool onBox = false;
    std::vector<ReadLine> lines;
};

bool sameRow(const QRect& a, const QRect& b) {
    const int overlap = std::min(a.bottom(), b.bottom()) - std::max(a.top(), b.top());
    const int gap = std::max(a.left(), b.left()) - std::min(a.right(), b.right());
    return overlap > 0.6 * std::min(a.height(), b.height()) &&
           gap < 1.5 * std::max(a.height(), b.height());
}

bool sameBox(const QRect& a, const QRect& b) {
    const QRect both = a.intersected(b);
    const double shared = double(both.width()) * both.height();
    const double smaller = std::min(double(a.width()) * a.height(), double(b.width()) * b.height());
    return !both.isEmpty() && shared > 0.8 * smaller;
}

// Lines printed on one box make one proposal; so do pieces of one line on the open paper.
std::vector<Gathered> gather(std::vector<Gathered> pieces) {
    std::vector<Gathered> joined;
    for (Gathered& piece : pieces) {
        auto into = std::find_if(joined.begin(), joined.end(), [&](const Gathered& g) {
            if (piece.onBox != g.onBox) return false;
            return piece.onBox ? sameBox(piece.box, g.box) : sameRow(piece.box, g.box);
        });
        if (into == joined.end()) {
            joined.push_back(std::move(piece));
            continue;
        }
        into->box = into->box.united(piece.box);
        into->lines.insert(into->lines.end(), piece.lines.begin(), piece.lines.end());
    }
    return joined;
}

TextProposal proposalOf(Gathered gathered) {
    // Reading order: lines top to bottom; pieces of a row left to right.
    std::sort(gathered.lines.begin(), gathered.lines.end(),
              [](const ReadLine& a, const ReadLine& b) {
                  if (sameRow(a.box, b.box)) return a.box.left() < b.box.left();
                  return a.box.top() < b.box.top();
              });
    QStringList texts;
    double weighted = 0;
    int letters = 0;
    for (const ReadLine& line : gathered.lines) {
        texts.append(line.text);
        weighted += line.confidence * line.letters;
        letters += line.letters;
    }
    return {toDesign(gathered.box), qRound(weighted / std::max(letters, 1)),
            texts.join(QLatin1Char(' '))};
}

// Each line grown to the box it is printed on, the lines of one box joined, in reading order.
QList<TextProposal> proposalsOf(const std::vector<ReadLine>& lines, const QImage& working,
                                const Plane& mask) {
    std::vector<Gathered> pieces;
    for (const ReadLine& line : lines) {
        const QRect box = boxAround(working, mask, line.box);
        if (box.isNull()) {
            // Text on the open paper: its own box with a little air round it.
            const int air = line.box.height() / 3;
            pieces.push_back({line.box.adjusted(-air, -air, air, air), false, {line}});
        } else {
            pieces.push_back({box, true, {line}});
        }
    }
    QList<TextProposal> proposals;
    for (Gathered& gathered : gather(std::move(pieces))) {
        TextProposal proposal = proposalOf(std::move(gathered));
        // Print without a letter is a page number, not a hotspot's English.
        if (std::any_of(proposal.english.begin(), proposal.english.end(),
                        [](QChar c) { return c.isLetter(); }))
            proposals.append(proposal);
    }
    std::sort(proposals.begin(), proposals.end(), [](const TextProposal& a, const TextProposal& b) {
        return std::pair(a.rect.top(), a.rect.left()) < std::pair(b.rect.top(), b.rect.left());
    });
    return proposals;
}

}  // namespace

ProposalResult proposeTextHotspots(const QImage& picture, const ProposalWatch& watch,
                                   QSize pageSize) {
    ProposalResult result;
    auto cancelled = [&] { return watch.cancel && watch.cancel->load(); };
    auto tell = [&](int percent) {
        if (watch.progress) watch.progress(percent);
    };
    if (picture.isNull() || pageSize.isEmpty()) return result;
    tell(0);
    // Drawn over white, as the tool fits a page's image: a see-through PNG reads as on paper.
    const QImage working = workingPicture(picture, pageSize);
    const Plane mask = letterMask(working);
    tell(10);
    if (cancelled()) {
        result.cancelled = true;
        return result;
    }
    std::vector<ReadLine> lines;
    if (!readLines(mask, watch, lines, result.error)) return result;
    if (cancelled()) {
        result.cancelled = true;
        return result;
    }
    tell(90);
    result.proposals = proposalsOf(lines, working, mask);
    tell(100);
    return result;
}

}  // namespace tool
