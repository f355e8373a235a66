// Animated GIF writer: one global palette shared by all frames (exact when the frames use at
// most 256 colours, median cut otherwise), an LZW encoder for the image data and a NETSCAPE2.0
// block so that viewers loop the animation forever. Pixels with alpha below one half become
// the transparent colour.

#include <QtGlobal>
#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "pictures/art/window_art.h"

namespace art {
namespace {

constexpr int kMaxCodeBits = 12;
constexpr int kMaxCodes = 1 << kMaxCodeBits;
constexpr int kMaxSide = 0xffff;

bool isTransparent(QRgb pixel) {
    return qAlpha(pixel) < 128;
}

QRgb opaque(QRgb pixel) {
    return pixel | 0xff000000u;
}

// A group of histogram colours that median cut keeps splitting.
struct ColourBox {
    std::vector<std::pair<QRgb, int>> colours;  // colour and pixel count

    int range(int channel) const {
        int low = 255, high = 0;
        for (const auto& [rgb, count] : colours) {
            const int value = (rgb >> (16 - 8 * channel)) & 0xff;
            low = std::min(low, value);
            high = std::max(high, value);
        }
        return high - low;
    }

    int widestChannel() const {
        int best = 0;
        for (int channel = 1; channel < 3; ++channel) {
            if (range(channel) > range(best)) best = channel;
        }
        return best;
    }

    QRgb average() const {
        double r = 0, g = 0, b = 0, total = 0;
        for (const auto& [rgb, count] : colours) {
            r += qRed(rgb) * double(count);
            g += qGreen(rgb) * double(count);
            b += qBlue(rgb) * double(count);
            total += count;
        }
        return qRgb(int(r / total + 0.5), int(g / total + 0.5), int(b / total + 0.5));
    }
};

// Splits a box at the weighted median of its widest channel.
std::pair<ColourBox, ColourBox> splitBox(ColourBox box) {
    const int channel = box.widestChannel();
    const int shift = 16 - 8 * channel;
    std::sort(box.colours.begin(), box.colours.end(), [shift](const auto& a, const auto& b) {
        return ((a.first >> shift) & 0xff) < ((b.first >> shift) & 0xff);
    });
    long long total = 0;
    for (const auto& entry : box.colours) total += entry.second;
    long long seen = 0;
    size_t cut = 1;
    for (; cut < box.colours.size(); ++cut) {
        seen += box.colours[cut - 1].second;
        if (seen * 2 >= total) break;
    }
    cut = std::min(cut, box.colours.size() - 1);
    ColourBox low, high;
    low.colours.assign(box.colours.begin(), box.colours.begin() + cut);
    high.colours.assign(box.colours.begin() + cut, box.colours.end());
    return {low, high};
}

std::vector<QRgb> medianCut(const std::unordered_map<QRgb, int>& histogram, int maxColours) {
    std::vector<ColourBox> boxes(1);
    boxes[0].colours.assign(histogram.begin(), histogram.end());
    while (int(boxes.size()) < maxColours) {
        int pick = -1, widest = 0;
        for (int i = 0; i < int(boxes.size()); ++i) {
            if (boxes[i].colours.size() < 2) continue;
            const int width = boxes[i].range(boxes[i].widestChannel());
            if (pick < 0 || width > widest) pick = i, widest = width;
        }
        if (pick < 0) break;
        auto [low, high] = splitBox(std::move(boxes[pick]));
        boxes[pick] = std::move(low);
        boxes.push_back(std::move(high));
    }
    std::vector<QRgb> palette;
    for (const ColourBox& box : boxes) palette.push_back(box.average());
    return palette;
}

// The frames' colours mapped to palette indices.
class Palette {
  public:
    explicit Palette(const std::vector<QImage>& frames) {
        std::unordered_map<QRgb, int> histogram;
        for (const QImage& frame : frames) {
            for (int y = 0; y < frame.height(); ++y) {
                const auto* line = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
                for (int x = 0; x < frame.width(); ++x) {
                    if (isTransparent(line[x])) {
                        hasTransparency_ = true;
                    } else {
                        ++histogram[opaque(line[x])];
                    }
                }
            }
        }
        const int room = hasTransparency_ ? 255 : 256;
        if (int(histogram.size()) <= room) {
            for (const auto& entry : histogram) colours_.push_back(entry.first);
            std::sort(colours_.begin(), colours_.end());
        } else {
            colours_ = medianCut(histogram, room);
        }
        if (hasTransparency_) {
            transparentIndex_ = int(colours_.size());
            colours_.push_back(qRgb(255, 255, 255));
        }
        for (int i = 0; i < int(colours_.size()); ++i) {
            if (i != transparentIndex_) indexOf_.emplace(colours_[i], i);
        }
    }

    uint8_t indexOf(QRgb pixel) {
        if (isTransparent(pixel)) return uint8_t(transparentIndex_);
        pixel = opaque(pixel);
        const auto found = indexOf_.find(pixel);
        if (found != indexOf_.end()) return uint8_t(found->second);
        const int nearest = nearestIndex(pixel);
        indexOf_.emplace(pixel, nearest);
        return uint8_t(nearest);
    }

    // Table size as a power of two (at least 2), as the format requires.
    int tableBits() const {
        int bits = 1;
        while ((1 << bits) < int(colours_.size())) ++bits;
        return bits;
    }
    QRgb colour(int index) const {
        return index < int(colours_.size()) ? colours_[index] : qRgb(0, 0, 0);
    }
    bool hasTransparency() const { return hasTransparency_; }
    int transparentIndex() const { return std::max(transparentIndex_, 0); }

  private:
    int nearestIndex(QRgb pixel) const {
        int best = 0;
        long long bestDistance = -1;
        for (int i = 0; i < int(colours_.size()); ++i) {
            if (i == transparentIndex_) continue;
            const long long dr = qRed(pixel) - qRed(colours_[i]);
            const long long dg = qGreen(pixel) - qGreen(colours_[i]);
            const long long db = qBlue(pixel) - qBlue(colours_[i]);
            const long long distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
            if (bestDistance < 0 || distance < bestDistance) best = i, bestDistance = distance;
        }
        return best;
    }

    std::vector<QRgb> colours_;
    std::unordered_map<QRgb, int> indexOf_;
    bool hasTransparency_ = false;
    int transparentIndex_ = -1;
};

// Packs variable-width codes least significant bit first into 255-byte data sub-blocks.
class CodeWriter {
  public:
    explicit CodeWriter(QByteArray& out) : out_(out) {}

    void write(int code, int bits) {
        buffer_ |= uint32_t(code) << bitCount_;
        bitCount_ += bits;
        while (bitCount_ >= 8) {
            pushByte(uint8_t(buffer_ & 0xff));
            buffer_ >>= 8;
            bitCount_ -= 8;
        }
    }

    void finish() {
        if (bitCount_ > 0) pushByte(uint8_t(buffer_ & 0xff));
        buffer_ = 0;
        bitCount_ = 0;
        flushBlock();
        out_.append('\0');  // block terminator
    }

  private:
    void pushByte(uint8_t byte) {
        block_.append(char(byte));
        if (block_.size() == 255) flushBlock();
    }
    void flushBlock() {
        if (block_.isEmpty()) return;
        out_.append(char(block_.size()));
        out_.append(block_);
        block_.clear();
    }

    QByteArray& out_;
    QByteArray block_;
    uint32_t buffer_ = 0;
    int bitCount_ = 0;
};

// LZW-compresses palette indices the way GIF decoders expect: codes grow from
// minCodeSize + 1 bits up to 12 bits, and a clear code restarts the table when it is full.
void writeLzw(const std::vector<uint8_t>& indices, int minCodeSize, QByteArray& out) {
    out.append(char(minCodeSize));
    CodeWriter writer(out);
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    std::unordered_map<uint32_t, int> table;
    int codeBits = minCodeSize + 1;
    int nextCode = endCode + 1;
    writer.write(clearCode, codeBits);
    if (indices.empty()) {
        writer.write(endCode, codeBits);
        writer.finish();
        return;
    }
    int prefix = indices[0];
    for (size_t i = 1; i < indices.size(); ++i) {
        const uint32_t key = (uint32_t(prefix) << 8) | indices[i];
        const auto found = table.find(key);
        if (found != table.end()) {
            prefix = found->second;
            continue;
        }
        writer.write(prefix, codeBits);
        prefix = indices[i];
        if (nextCode < kMaxCodes) {
            table.emplace(key, nextCode++);
            if (nextCode > (1 << codeBits) && codeBits < kMaxCodeBits) ++codeBits;
        }
        if (nextCode == kMaxCodes) {
            writer.write(clearCode, codeBits);
            table.clear();
            codeBits = minCodeSize + 1;
            nextCode = endCode + 1;
        }
    }
    writer.write(prefix, codeBits);
    writer.write(endCode, codeBits);
    writer.finish();
}

void appendWord(QByteArray& out, int value) {
    out.append(char(value & 0xff));
    out.append(char((value >> 8) & 0xff));
}

void appendHeader(QByteArray& out, QSize canvas, const Palette& palette) {
    out.append("GIF89a", 6);
    appendWord(out, canvas.width());
    appendWord(out, canvas.height());
    const int bits = palette.tableBits();
    out.append(char(0x80 | (7 << 4) | (bits - 1)));  // global table, 8-bit colour resolution
    out.append(char(palette.transparentIndex()));    // background colour index
    out.append('\0');                                // square pixels
    for (int i = 0; i < (1 << bits); ++i) {
        const QRgb rgb = palette.colour(i);
        out.append(char(qRed(rgb)));
        out.append(char(qGreen(rgb)));
        out.append(char(qBlue(rgb)));
    }
    // NETSCAPE2.0 application block: loop count 0 = forever.
    out.append("\x21\xff\x0b", 3);
    out.append("NETSCAPE2.0", 11);
    out.append("\x03\x01\x00\x00\x00", 5);
}

void appendFrame(QByteArray& out, const QImage& frame, Palette& palette, int delayCentis) {
    const bool transparent = palette.hasTransparency();
    out.append("\x21\xf9\x04", 3);  // graphic control block
    // Frames with transparent parts clear to the background before the next frame is drawn,
    // so that the previous frame does not show through; opaque frames simply stay.
    const int disposal = transparent ? 2 : 1;
    out.append(char((disposal << 2) | (transparent ? 1 : 0)));
    appendWord(out, delayCentis);
    out.append(char(palette.transparentIndex()));
    out.append('\0');

    out.append(char(0x2c));  // image descriptor
    appendWord(out, 0);
    appendWord(out, 0);
    appendWord(out, frame.width());
    appendWord(out, frame.height());
    out.append('\0');  // no local table, not interlaced

    std::vector<uint8_t> indices;
    indices.reserve(size_t(frame.width()) * size_t(frame.height()));
    for (int y = 0; y < frame.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
        for (int x = 0; x < frame.width(); ++x) indices.push_back(palette.indexOf(line[x]));
    }
    writeLzw(indices, std::max(2, palette.tableBits()), out);
}

}  // namespace

QByteArray writeAnimatedGif(const QList<QImage>& frames, int delayMs) {
    std::vector<QImage> argbFrames;
    QSize canvas(0, 0);
    for (const QImage& frame : frames) {
        if (frame.isNull() || frame.width() > kMaxSide || frame.height() > kMaxSide) return {};
        argbFrames.push_back(frame.convertToFormat(QImage::Format_ARGB32));
        canvas = canvas.expandedTo(frame.size());
    }
    if (argbFrames.empty()) return {};
    Palette palette(argbFrames);
    const int delayCentis = (std::clamp(delayMs, 0, 655350) + 5) / 10;
    QByteArray out;
    appendHeader(out, canvas, palette);
    for (const QImage& frame : argbFrames) appendFrame(out, frame, palette, delayCentis);
    out.append(char(0x3b));  // trailer
    return out;
}

}  // namespace art
