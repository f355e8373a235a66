#include "book/book_file.h"

#include <xxhash.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QtEndian>
#ifdef Q_OS_UNIX
#include <fcntl.h>
#endif
#include <algorithm>
#include <cstring>
#include <vector>

namespace book {

namespace {

// ---- Layout ---------------------------------------------------------------------------------
// Header: magic (8), version (u32), section count (u32), file size (u64), checksum (16: XXH3
// 128-bit over every byte of the file but the checksum itself), then the table of contents:
// one {tag u32, reserved u32, offset u64, length u64} per section. All numbers little-endian.

constexpr std::uint64_t kChecksumAt = 24;
constexpr std::uint64_t kChecksumSize = 16;
constexpr std::uint64_t kHeaderSize = kChecksumAt + kChecksumSize;
constexpr std::uint64_t kTocEntrySize = 24;
constexpr std::uint32_t kNone = 0xffffffffu;

constexpr std::uint32_t tag(const char (&name)[5]) {
    return std::uint32_t(std::uint8_t(name[0])) | std::uint32_t(std::uint8_t(name[1])) << 8 |
           std::uint32_t(std::uint8_t(name[2])) << 16 | std::uint32_t(std::uint8_t(name[3])) << 24;
}

// Section tags and the size of one record of each table section.
constexpr std::uint32_t kMeta = tag("META");  // one record
constexpr std::uint32_t kStrings = tag("STRS");
constexpr std::uint32_t kData = tag("DATA");
constexpr std::uint32_t kBlobs = tag("BLOB");
constexpr std::uint32_t kClips = tag("CLIP");
constexpr std::uint32_t kPictures = tag("PICT");
constexpr std::uint32_t kNamedClips = tag("NAMC");
constexpr std::uint32_t kPages = tag("PAGE");
constexpr std::uint32_t kHotspots = tag("HOTS");
constexpr std::uint32_t kFills = tag("FILL");
constexpr std::uint32_t kTicks = tag("TICK");
constexpr std::uint32_t kClipRefs = tag("CREF");
constexpr std::uint32_t kSections = tag("SECT");
constexpr std::uint32_t kUnits = tag("UNIT");
constexpr std::uint32_t kAllSections[] = {kMeta,     kStrings,    kData,     kBlobs,    kClips,
                                          kPictures, kNamedClips, kPages,    kHotspots, kFills,
                                          kTicks,    kClipRefs,   kSections, kUnits};

constexpr std::uint64_t kMetaSize = 5 * 4;
constexpr std::uint64_t kBlobSize = 16;
constexpr std::uint64_t kU32Size = 4;
constexpr std::uint64_t kPairSize = 8;
constexpr std::uint64_t kPageSize = 20 * 4;
constexpr std::uint64_t kHotspotSize = 6 * 4;
constexpr std::uint64_t kFillSize = 4 * 4;
constexpr std::uint64_t kTickSize = 4 * 4;
constexpr std::uint64_t kSectionSize = 3 * 4;
constexpr std::uint64_t kUnitSize = 4 * 4;

constexpr std::uint32_t kPageOverlay = 1;
constexpr std::uint32_t kPageWordList = 2;
constexpr std::uint32_t kPageListenIcon = 4;

// Coordinates in the 800 x 540 design space; anything far outside it is damage, not a book.
constexpr int kCoordinateLimit = 10000;

std::uint32_t u32At(const unsigned char* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return qFromLittleEndian(v);
}
std::uint64_t u64At(const unsigned char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return qFromLittleEndian(v);
}
std::int32_t i32At(const unsigned char* p) {
    return std::int32_t(u32At(p));
}

// The checksum over every byte but the checksum's own, fed piece by piece in file order.
class Checksum {
  public:
    Checksum() : state_(XXH3_createState()) { XXH3_128bits_reset(state_); }
    ~Checksum() { XXH3_freeState(state_); }
    Checksum(const Checksum&) = delete;
    Checksum& operator=(const Checksum&) = delete;

    // Adds bytes [at, at + size) of the file, leaving out the checksum field.
    void add(std::uint64_t at, const unsigned char* data, std::uint64_t size) {
        const std::uint64_t end = at + size;
        if (at < kChecksumAt) XXH3_128bits_update(state_, data, std::min(end, kChecksumAt) - at);
        if (end > kHeaderSize) {
            const std::uint64_t from = std::max(at, kHeaderSize);
            XXH3_128bits_update(state_, data + (from - at), end - from);
        }
    }
    QByteArray digest() const {
        XXH128_canonical_t canonical;
        XXH128_canonicalFromHash(&canonical, XXH3_128bits_digest(state_));
        return QByteArray(reinterpret_cast<const char*>(canonical.digest), sizeof canonical.digest);
    }

  private:
    XXH3_state_t* state_;
};

QByteArray checksumOf(const unsigned char* data, std::uint64_t size) {
    Checksum sum;
    sum.add(0, data, size);
    return sum.digest();
}

// The same checksum read through the file in pieces rather than through its mapping, so that
// checking a book does not keep the whole file in the program's memory.
QByteArray checksumOfFile(QFile& file) {
#ifdef Q_OS_UNIX
    // Read without read-ahead, so that the page cache keeps the file in small pieces: a
    // mapping then brings in only the pieces that are read, not megabytes around them.
    ::posix_fadvise(file.handle(), 0, 0, POSIX_FADV_RANDOM);
#endif
    Checksum sum;
    QByteArray piece(64 << 10, Qt::Uninitialized);
    std::uint64_t at = 0;
    file.seek(0);
    for (;;) {
        const qint64 got = file.read(piece.data(), piece.size());
        if (got <= 0) break;
        sum.add(at, reinterpret_cast<const unsigned char*>(piece.constData()), std::uint64_t(got));
        at += std::uint64_t(got);
    }
    return sum.digest();
}

struct Span {
    const unsigned char* data = nullptr;
    std::uint64_t size = 0;
};

// Thrown inside the reader only; turned into a BookFileError at its edge.
struct Refusal {
    BookFileProblem problem;
    QString detail;
};

[[noreturn]] void damaged(const QString& detail) {
    throw Refusal{BookFileProblem::Damaged, detail};
}

}  // namespace

// The tables of a loaded book, owned here; texts and blobs point into the file.
class LoadedBook {
  public:
    std::vector<PageDef> pages;
    std::vector<HotspotDef> hotspots;
    std::vector<FillBoxDef> fills;
    std::vector<TickBoxDef> ticks;
    std::vector<ListenIconDef> listenIcons;
    std::vector<int> clipRefs;
    std::vector<SectionDef> sections;
    std::vector<UnitDef> units;
    std::vector<Blob> clips;
    std::vector<NamedClip> namedClips;
    std::vector<NamedBlob> pictures;
    Book book{};
};

namespace {

// Reads and checks the sections of a book file that passed the header checks.
class Reader {
  public:
    Reader(const unsigned char* data, std::uint64_t size) : data_(data), size_(size) {}

    std::unique_ptr<LoadedBook> read() {
        readToc();
        strings_ = section(kStrings);
        blobData_ = section(kData);
        auto loaded = std::make_unique<LoadedBook>();
        readBlobs();
        readClips(*loaded);
        readNamed(*loaded);
        readClipRefs(*loaded);
        readUnits(*loaded);
        readPages(*loaded);
        readSections(*loaded);
        readMeta(*loaded);
        link(*loaded);
        return loaded;
    }

  private:
    void readToc() {
        const std::uint32_t count = u32At(data_ + 12);
        if (count > 64) damaged(QStringLiteral("%1 sections listed").arg(count));
        const std::uint64_t tocEnd = kHeaderSize + count * kTocEntrySize;
        if (tocEnd > size_) damaged(QStringLiteral("table of contents runs past the end"));
        for (std::uint32_t i = 0; i < count; ++i) {
            const unsigned char* entry = data_ + kHeaderSize + i * kTocEntrySize;
            const std::uint32_t t = u32At(entry);
            const std::uint64_t offset = u64At(entry + 8);
            const std::uint64_t length = u64At(entry + 16);
            if (offset < tocEnd || offset > size_ || length > size_ - offset)
                damaged(QStringLiteral("section %1 lies outside the file").arg(i));
            if (toc_.contains(t)) damaged(QStringLiteral("section %1 listed twice").arg(i));
            toc_.insert(t, Span{data_ + offset, length});
        }
        for (std::uint32_t t : kAllSections) {
            if (!toc_.contains(t)) damaged(QStringLiteral("a section is missing"));
        }
    }

    Span section(std::uint32_t t) const { return toc_.value(t); }

    // The records of a table section: its length must be a whole number of records.
    std::uint64_t recordCount(std::uint32_t t, std::uint64_t recordSize) const {
        const Span s = section(t);
        if (s.size % recordSize != 0) damaged(QStringLiteral("a table has a broken record"));
        return s.size / recordSize;
    }

    const unsigned char* record(std::uint32_t t, std::uint64_t recordSize, std::uint64_t i) const {
        return section(t).data + i * recordSize;
    }

    // A string: an offset into the string pool, ending with a NUL inside the pool.
    const char* string(std::uint32_t offset) const {
        if (offset >= strings_.size) damaged(QStringLiteral("a text lies outside the texts"));
        const void* end = std::memchr(strings_.data + offset, 0, strings_.size - offset);
        if (!end) damaged(QStringLiteral("a text has no end"));
        return reinterpret_cast<const char*>(strings_.data + offset);
    }
    const char* optionalString(std::uint32_t offset) const {
        return offset == kNone ? nullptr : string(offset);
    }

    void readBlobs() {
        const std::uint64_t count = recordCount(kBlobs, kBlobSize);
        blobs_.reserve(count);
        for (std::uint64_t i = 0; i < count; ++i) {
            const unsigned char* r = record(kBlobs, kBlobSize, i);
            const std::uint64_t offset = u64At(r);
            const std::uint64_t length = u64At(r + 8);
            if (offset > blobData_.size || length > blobData_.size - offset)
                damaged(QStringLiteral("picture or recording %1 lies outside the file").arg(i));
            blobs_.push_back({blobData_.data + offset, std::size_t(length)});
        }
    }

    Blob blob(std::uint32_t index) const {
        if (index >= blobs_.size()) damaged(QStringLiteral("unknown picture or recording"));
        return blobs_[index];
    }

    void readClips(LoadedBook& loaded) {
        const std::uint64_t count = recordCount(kClips, kU32Size);
        for (std::uint64_t i = 0; i < count; ++i)
            loaded.clips.push_back(blob(u32At(record(kClips, kU32Size, i))));
    }

    int clip(const LoadedBook& loaded, std::uint32_t index) const {
        if (index >= loaded.clips.size()) damaged(QStringLiteral("unknown recording"));
        return int(index);
    }

    void readNamed(LoadedBook& loaded) {
        const std::uint64_t clipCount = recordCount(kNamedClips, kPairSize);
        for (std::uint64_t i = 0; i < clipCount; ++i) {
            const unsigned char* r = record(kNamedClips, kPairSize, i);
            loaded.namedClips.push_back({string(u32At(r)), clip(loaded, u32At(r + 4))});
        }
        const std::uint64_t pictureCount = recordCount(kPictures, kPairSize);
        for (std::uint64_t i = 0; i < pictureCount; ++i) {
            const unsigned char* r = record(kPictures, kPairSize, i);
            loaded.pictures.push_back({string(u32At(r)), blob(u32At(r + 4))});
        }
    }

    void readClipRefs(LoadedBook& loaded) {
        const std::uint64_t count = recordCount(kClipRefs, kU32Size);
        for (std::uint64_t i = 0; i < count; ++i)
            loaded.clipRefs.push_back(clip(loaded, u32At(record(kClipRefs, kU32Size, i))));
    }

    // A run [first, first + count) of a table with `available` records.
    static void checkRun(std::uint32_t first, std::uint32_t count, std::size_t available,
                         const char* what) {
        if (first > available || count > available - first)
            damaged(QStringLiteral("%1 run past their table").arg(QLatin1String(what)));
    }

    // A text table holds exactly `lines` lines joined by CR LF.
    static void checkLines(const char* text, std::uint32_t lines, const char* what) {
        std::uint32_t found = 1;
        for (const char* p = std::strstr(text, "\r\n"); p; p = std::strstr(p + 2, "\r\n")) ++found;
        if (lines == 0 ? *text != 0 : found != lines)
            damaged(QStringLiteral("%1 has %2 lines, expected %3")
                        .arg(QLatin1String(what))
                        .arg(lines == 0 ? 1 : found)
                        .arg(lines));
    }

    void readUnits(LoadedBook& loaded) {
        const std::uint64_t count = recordCount(kUnits, kUnitSize);
        if (count == 0) damaged(QStringLiteral("the book has no units"));
        for (std::uint64_t i = 0; i < count; ++i) {
            const unsigned char* r = record(kUnits, kUnitSize, i);
            const char* words = string(u32At(r));
            const std::uint32_t firstRef = u32At(r + 4);
            const std::uint32_t wordCount = u32At(r + 8);
            checkRun(firstRef, wordCount, loaded.clipRefs.size(), "unit recordings");
            checkLines(words, 2 * wordCount, "a unit's word list");
            if (wordCount == 0) damaged(QStringLiteral("unit %1 has no words").arg(i + 1));
            // Clip lists are pointed at once every table is read (see link()).
            loaded.units.push_back({words, reinterpret_cast<const int*>(std::uintptr_t(firstRef)),
                                    int(wordCount), string(u32At(r + 12))});
        }
    }

    static void checkPoint(int x, int y) {
        if (x < -kCoordinateLimit || x > kCoordinateLimit || y < -kCoordinateLimit ||
            y > kCoordinateLimit)
            damaged(QStringLiteral("a position lies far outside the page"));
    }

    void readHotspots(LoadedBook& loaded, std::uint32_t first, std::uint32_t count,
                      const PageDef& page) {
        checkRun(first, count, recordCount(kHotspots, kHotspotSize), "hotspots");
        for (std::uint32_t i = first; i < first + count; ++i) {
            const unsigned char* r = record(kHotspots, kHotspotSize, i);
            HotspotDef h{i32At(r),
                         {i32At(r + 4), i32At(r + 8), i32At(r + 12), i32At(r + 16)},
                         i32At(r + 20)};
            checkPoint(h.rect.x, h.rect.y);
            if (h.rect.w <= 0 || h.rect.h <= 0 || h.rect.w > kCoordinateLimit ||
                h.rect.h > kCoordinateLimit)
                damaged(QStringLiteral("a hotspot has no area"));
            if (page.wordList) {
                clip(loaded, std::uint32_t(h.clip));
            } else if (h.number < 1 || h.number > page.entryCount) {
                damaged(QStringLiteral("hotspot %1 names no entry").arg(h.number));
            }
            loaded.hotspots.push_back(h);
        }
    }

    void readBoxes(LoadedBook& loaded, const unsigned char* r, PageDef& page) {
        const std::uint32_t firstFill = u32At(r + 52), fillCount = u32At(r + 56);
        const std::uint32_t firstTick = u32At(r + 60), tickCount = u32At(r + 64);
        checkRun(firstFill, fillCount, recordCount(kFills, kFillSize), "answer boxes");
        checkRun(firstTick, tickCount, recordCount(kTicks, kTickSize), "tick boxes");
        page.fillBoxes = reinterpret_cast<const FillBoxDef*>(std::uintptr_t(loaded.fills.size()));
        for (std::uint32_t i = firstFill; i < firstFill + fillCount; ++i) {
            const unsigned char* f = record(kFills, kFillSize, i);
            loaded.fills.push_back({i32At(f), i32At(f + 4), i32At(f + 8), string(u32At(f + 12))});
            checkPoint(loaded.fills.back().x, loaded.fills.back().y);
        }
        page.fillBoxCount = int(fillCount);
        page.tickBoxes = reinterpret_cast<const TickBoxDef*>(std::uintptr_t(loaded.ticks.size()));
        for (std::uint32_t i = firstTick; i < firstTick + tickCount; ++i) {
            const unsigned char* t = record(kTicks, kTickSize, i);
            const TickBoxDef box{i32At(t), i32At(t + 4), i32At(t + 8), i32At(t + 12)};
            checkPoint(box.x, box.y);
            if (box.shouldBeTicked < -1 || box.shouldBeTicked > 1)
                damaged(QStringLiteral("a tick box has no answer"));
            loaded.ticks.push_back(box);
        }
        page.tickBoxCount = int(tickCount);
    }

    void readPages(LoadedBook& loaded) {
        const std::uint64_t count = recordCount(kPages, kPageSize);
        if (count == 0) damaged(QStringLiteral("the book has no pages"));
        for (std::uint64_t i = 0; i < count; ++i) {
            const unsigned char* r = record(kPages, kPageSize, i);
            PageDef page{};
            page.screen = int(i);
            page.pageNumber = i32At(r);
            page.pictureBox = string(u32At(r + 4));
            page.picture = blob(u32At(r + 8));
            page.pictureWidth = i32At(r + 12);
            page.pictureHeight = i32At(r + 16);
            if (page.pictureWidth <= 0 || page.pictureHeight <= 0 ||
                page.pictureWidth > kCoordinateLimit || page.pictureHeight > kCoordinateLimit)
                damaged(QStringLiteral("page %1 has no picture size").arg(i + 1));
            const std::uint32_t flags = u32At(r + 40);
            page.wordList = flags & kPageWordList;
            page.textTable = optionalString(u32At(r + 20));
            const std::uint32_t firstRef = u32At(r + 24);
            const std::uint32_t entries = u32At(r + 28);
            if (page.wordList != (page.textTable == nullptr) || (page.wordList && entries != 0))
                damaged(QStringLiteral("page %1 is half a word list").arg(i + 1));
            checkRun(firstRef, entries, loaded.clipRefs.size(), "page recordings");
            if (page.textTable) checkLines(page.textTable, 2 * entries, "a page's text table");
            page.clips = reinterpret_cast<const int*>(std::uintptr_t(firstRef));
            page.entryCount = int(entries);
            const std::uint32_t firstHotspot = u32At(r + 32);
            const std::uint32_t hotspotCount = u32At(r + 36);
            if (hotspotCount == 0 || (!page.wordList && hotspotCount != entries))
                damaged(QStringLiteral("page %1 has %2 hotspots for %3 entries")
                            .arg(i + 1)
                            .arg(hotspotCount)
                            .arg(entries));
            page.hotspots =
                reinterpret_cast<const HotspotDef*>(std::uintptr_t(loaded.hotspots.size()));
            readHotspots(loaded, firstHotspot, hotspotCount, page);
            page.hotspotCount = int(hotspotCount);
            page.hasOverlay = flags & kPageOverlay;
            page.overlayX = i32At(r + 44);
            page.overlayY = i32At(r + 48);
            checkPoint(page.overlayX, page.overlayY);
            readBoxes(loaded, r, page);
            if (flags & kPageListenIcon) {
                loaded.listenIcons.push_back({string(u32At(r + 68)), i32At(r + 72), i32At(r + 76)});
                checkPoint(loaded.listenIcons.back().x, loaded.listenIcons.back().y);
                page.listenIcon = reinterpret_cast<const ListenIconDef*>(
                    std::uintptr_t(loaded.listenIcons.size()));
            }
            loaded.pages.push_back(page);
        }
    }

    void readSections(LoadedBook& loaded) {
        const std::uint64_t count = recordCount(kSections, kSectionSize);
        if (count == 0) damaged(QStringLiteral("the book has no sections"));
        for (std::uint64_t i = 0; i < count; ++i) {
            const unsigned char* r = record(kSections, kSectionSize, i);
            const SectionDef s{string(u32At(r)), i32At(r + 4), i32At(r + 8)};
            if (s.data != int(i + 1))
                damaged(QStringLiteral("section %1 is numbered %2").arg(i + 1).arg(s.data));
            if (s.firstScreen < 0 || std::uint64_t(s.firstScreen) >= loaded.pages.size())
                damaged(QStringLiteral("section %1 starts on no page").arg(i + 1));
            loaded.sections.push_back(s);
        }
    }

    void readMeta(LoadedBook& loaded) {
        if (section(kMeta).size != kMetaSize) damaged(QStringLiteral("the names are broken"));
        const unsigned char* r = section(kMeta).data;
        Book& b = loaded.book;
        b.title = string(u32At(r));
        b.caption = string(u32At(r + 4));
        b.shortcutName = string(u32At(r + 8));
        b.aboutHtml = string(u32At(r + 12));
        b.faqHtml = string(u32At(r + 16));
        b.packSize = std::size_t(blobData_.size);
    }

    // Turns the indexes kept in pointer fields while reading into pointers into the tables,
    // now that the tables no longer grow.
    static void link(LoadedBook& loaded) {
        for (PageDef& page : loaded.pages) {
            page.clips = loaded.clipRefs.data() + std::uintptr_t(page.clips);
            page.hotspots = loaded.hotspots.data() + std::uintptr_t(page.hotspots);
            page.fillBoxes = loaded.fills.data() + std::uintptr_t(page.fillBoxes);
            page.tickBoxes = loaded.ticks.data() + std::uintptr_t(page.tickBoxes);
            if (page.listenIcon)
                page.listenIcon = &loaded.listenIcons[std::uintptr_t(page.listenIcon) - 1];
        }
        for (UnitDef& unit : loaded.units)
            unit.clips = loaded.clipRefs.data() + std::uintptr_t(unit.clips);
        Book& b = loaded.book;
        b.pages = loaded.pages.data();
        b.pageCount = int(loaded.pages.size());
        b.sections = loaded.sections.data();
        b.sectionCount = int(loaded.sections.size());
        b.units = loaded.units.data();
        b.unitCount = int(loaded.units.size());
        b.clips = loaded.clips.data();
        b.clipCount = int(loaded.clips.size());
        b.namedClips = loaded.namedClips.data();
        b.namedClipCount = int(loaded.namedClips.size());
        b.pictures = loaded.pictures.data();
        b.pictureCount = int(loaded.pictures.size());
    }

    const unsigned char* data_;
    std::uint64_t size_;
    QHash<std::uint32_t, Span> toc_;
    Span strings_;
    Span blobData_;
    std::vector<Blob> blobs_;
};

void checkHeader(const unsigned char* data, std::uint64_t size, const QByteArray& checksum) {
    if (size < sizeof kBookFileMagic || std::memcmp(data, kBookFileMagic, sizeof kBookFileMagic))
        throw Refusal{BookFileProblem::NotABookFile, QStringLiteral("no book file magic number")};
    if (size < kHeaderSize)
        throw Refusal{BookFileProblem::Incomplete, QStringLiteral("the header is cut short")};
    const std::uint32_t version = u32At(data + 8);
    if (version > kBookFileVersion)
        throw Refusal{BookFileProblem::NewerVersion,
                      QStringLiteral("format version %1, this program reads up to %2")
                          .arg(version)
                          .arg(kBookFileVersion)};
    if (version == 0) damaged(QStringLiteral("format version 0"));
    const std::uint64_t declared = u64At(data + 16);
    if (declared > size)
        throw Refusal{BookFileProblem::Incomplete,
                      QStringLiteral("%1 bytes of %2").arg(size).arg(declared)};
    if (declared < size)
        damaged(QStringLiteral("%1 bytes more than the book").arg(size - declared));
    if (checksum !=
        QByteArray::fromRawData(reinterpret_cast<const char*>(data + kChecksumAt), kChecksumSize))
        damaged(QStringLiteral("the checksum does not match"));
}

// ---- Writing --------------------------------------------------------------------------------

class Writer {
  public:
    explicit Writer(const Book& book) : book_(book) {}

    QByteArray write() {
        writeBlobs();
        writeTables();
        QByteArray meta;
        for (const char* text :
             {book_.title, book_.caption, book_.shortcutName, book_.aboutHtml, book_.faqHtml})
            put32(meta, stringRef(text));
        sections_.insert(kMeta, meta);
        sections_.insert(kStrings, strings_);
        sections_.insert(kData, data_);
        return assemble();
    }

  private:
    static void put32(QByteArray& out, std::uint32_t v) {
        v = qToLittleEndian(v);
        out.append(reinterpret_cast<const char*>(&v), 4);
    }
    static void put64(QByteArray& out, std::uint64_t v) {
        v = qToLittleEndian(v);
        out.append(reinterpret_cast<const char*>(&v), 8);
    }

    std::uint32_t stringRef(const char* text) {
        if (!text) return kNone;
        const QByteArray bytes(text);
        auto found = stringIndex_.constFind(bytes);
        if (found != stringIndex_.constEnd()) return *found;
        const auto offset = std::uint32_t(strings_.size());
        strings_.append(bytes);
        strings_.append('\0');
        stringIndex_.insert(bytes, offset);
        return offset;
    }

    // Blobs are kept 8-byte aligned in the data section.
    std::uint32_t blobRef(const Blob& blob) {
        while (data_.size() % 8) data_.append('\0');
        put64(blobs_, std::uint64_t(data_.size()));
        put64(blobs_, std::uint64_t(blob.size));
        data_.append(reinterpret_cast<const char*>(blob.data), qsizetype(blob.size));
        return blobCount_++;
    }

    void writeBlobs() {
        QByteArray clips, pictures, named;
        for (int i = 0; i < book_.clipCount; ++i) put32(clips, blobRef(book_.clips[i]));
        for (int i = 0; i < book_.namedClipCount; ++i) {
            put32(named, stringRef(book_.namedClips[i].role));
            put32(named, std::uint32_t(book_.namedClips[i].clip));
        }
        for (int i = 0; i < book_.pictureCount; ++i) {
            put32(pictures, stringRef(book_.pictures[i].name));
            put32(pictures, blobRef(book_.pictures[i].blob));
        }
        sections_.insert(kClips, clips);
        sections_.insert(kNamedClips, named);
        sections_.insert(kPictures, pictures);
    }

    std::uint32_t clipRefs(const int* clips, int count) {
        const auto first = std::uint32_t(clipRefs_.size() / kU32Size);
        for (int i = 0; i < count; ++i) put32(clipRefs_, std::uint32_t(clips[i]));
        return first;
    }

    void writePage(const PageDef& page, QByteArray& pages) {
        put32(pages, std::uint32_t(page.pageNumber));
        put32(pages, stringRef(page.pictureBox));
        put32(pages, blobRef(page.picture));
        put32(pages, std::uint32_t(page.pictureWidth));
        put32(pages, std::uint32_t(page.pictureHeight));
        put32(pages, stringRef(page.textTable));
        put32(pages, clipRefs(page.clips, page.entryCount));
        put32(pages, std::uint32_t(page.entryCount));
        put32(pages, std::uint32_t(hotspots_.size() / kHotspotSize));
        put32(pages, std::uint32_t(page.hotspotCount));
        for (int i = 0; i < page.hotspotCount; ++i) {
            const HotspotDef& h = page.hotspots[i];
            for (int v : {h.number, h.rect.x, h.rect.y, h.rect.w, h.rect.h, h.clip})
                put32(hotspots_, std::uint32_t(v));
        }
        put32(pages, (page.hasOverlay ? kPageOverlay : 0) | (page.wordList ? kPageWordList : 0) |
                         (page.listenIcon ? kPageListenIcon : 0));
        put32(pages, std::uint32_t(page.overlayX));
        put32(pages, std::uint32_t(page.overlayY));
        put32(pages, std::uint32_t(fills_.size() / kFillSize));
        put32(pages, std::uint32_t(page.fillBoxCount));
        for (int i = 0; i < page.fillBoxCount; ++i) {
            const FillBoxDef& f = page.fillBoxes[i];
            for (int v : {f.number, f.x, f.y}) put32(fills_, std::uint32_t(v));
            put32(fills_, stringRef(f.answer));
        }
        put32(pages, std::uint32_t(ticks_.size() / kTickSize));
        put32(pages, std::uint32_t(page.tickBoxCount));
        for (int i = 0; i < page.tickBoxCount; ++i) {
            const TickBoxDef& t = page.tickBoxes[i];
            for (int v : {t.number, t.x, t.y, t.shouldBeTicked}) put32(ticks_, std::uint32_t(v));
        }
        put32(pages, page.listenIcon ? stringRef(page.listenIcon->name) : kNone);
        put32(pages, page.listenIcon ? std::uint32_t(page.listenIcon->x) : 0);
        put32(pages, page.listenIcon ? std::uint32_t(page.listenIcon->y) : 0);
    }

    void writeTables() {
        QByteArray pages, sections, units;
        for (int i = 0; i < book_.pageCount; ++i) writePage(book_.pages[i], pages);
        for (int i = 0; i < book_.sectionCount; ++i) {
            const SectionDef& s = book_.sections[i];
            put32(sections, stringRef(s.text));
            put32(sections, std::uint32_t(s.data));
            put32(sections, std::uint32_t(s.firstScreen));
        }
        for (int i = 0; i < book_.unitCount; ++i) {
            const UnitDef& u = book_.units[i];
            put32(units, stringRef(u.wordList));
            put32(units, clipRefs(u.clips, u.wordCount));
            put32(units, std::uint32_t(u.wordCount));
            put32(units, stringRef(u.name));
        }
        sections_.insert(kPages, pages);
        sections_.insert(kSections, sections);
        sections_.insert(kUnits, units);
        sections_.insert(kHotspots, hotspots_);
        sections_.insert(kFills, fills_);
        sections_.insert(kTicks, ticks_);
        sections_.insert(kClipRefs, clipRefs_);
        sections_.insert(kBlobs, blobs_);
    }

    // Header, table of contents, then the sections in a fixed order, each 8-byte aligned.
    QByteArray assemble() const {
        const auto count = std::uint32_t(std::size(kAllSections));
        std::uint64_t offset = kHeaderSize + count * kTocEntrySize;
        QByteArray toc, body;
        for (std::uint32_t t : kAllSections) {
            const QByteArray& bytes = sections_.value(t);
            while ((offset + std::uint64_t(body.size())) % 8) body.append('\0');
            put32(toc, t);
            put32(toc, 0);
            put64(toc, offset + std::uint64_t(body.size()));
            put64(toc, std::uint64_t(bytes.size()));
            body.append(bytes);
        }
        QByteArray file(kBookFileMagic, sizeof kBookFileMagic);
        put32(file, kBookFileVersion);
        put32(file, count);
        put64(file, offset + std::uint64_t(body.size()));
        file.append(QByteArray(kChecksumSize, '\0'));
        file.append(toc);
        file.append(body);
        const QByteArray sum =
            checksumOf(reinterpret_cast<const unsigned char*>(file.constData()), file.size());
        file.replace(qsizetype(kChecksumAt), qsizetype(kChecksumSize), sum);
        return file;
    }

    const Book& book_;
    QHash<std::uint32_t, QByteArray> sections_;
    QByteArray strings_;
    QHash<QByteArray, std::uint32_t> stringIndex_;
    QByteArray data_;
    QByteArray blobs_;
    std::uint32_t blobCount_ = 0;
    QByteArray clipRefs_, hotspots_, fills_, ticks_;
};

}  // namespace

std::unique_ptr<BookFile> BookFile::open(const QString& path, BookFileError* error) {
    const QFileInfo info(path);
    auto refuse = [&](const QString& detail) -> std::unique_ptr<BookFile> {
        if (error) *error = {BookFileProblem::CannotRead, detail};
        return nullptr;
    };
    if (!info.exists()) return refuse(QStringLiteral("找不到这个文件。"));
    if (info.isDir()) return refuse(QStringLiteral("这是一个文件夹，不是课本文件。"));
    std::unique_ptr<BookFile> book(new BookFile);
    book->path_ = info.absoluteFilePath();
    book->file_ = std::make_unique<QFile>(path);
    if (!book->file_->open(QIODevice::ReadOnly))
        return refuse(QStringLiteral("没有读取它的权限，或者它不是普通文件。"));
    const qint64 size = book->file_->size();
    if (size <= 0) {
        if (error) *error = {BookFileProblem::NotABookFile, QStringLiteral("an empty file")};
        return nullptr;
    }
    const uchar* data = book->file_->map(0, size);
    if (!data) return refuse(QStringLiteral("读不出它的内容。"));
    const QByteArray checksum = checksumOfFile(*book->file_);
    if (!book->load(data, std::uint64_t(size), checksum, error)) return nullptr;
    return book;
}

std::unique_ptr<BookFile> BookFile::fromBytes(const QByteArray& bytes, BookFileError* error) {
    std::unique_ptr<BookFile> book(new BookFile);
    book->bytes_ = bytes;
    const auto* data = reinterpret_cast<const unsigned char*>(book->bytes_.constData());
    const auto size = std::uint64_t(book->bytes_.size());
    if (!book->load(data, size, checksumOf(data, size), error)) return nullptr;
    return book;
}

bool BookFile::load(const unsigned char* data, std::uint64_t size, const QByteArray& checksum,
                    BookFileError* error) {
    try {
        checkHeader(data, size, checksum);
        loaded_ = Reader(data, size).read();
        return true;
    } catch (const Refusal& refusal) {
        if (error) *error = {refusal.problem, refusal.detail};
        return false;
    }
}

BookFile::~BookFile() = default;

const Book& BookFile::book() const {
    return loaded_->book;
}

QByteArray writeBookFile(const Book& book) {
    return Writer(book).write();
}

QString bookFileMessage(const QString& path, const BookFileError& error) {
    const QString name = QDir::toNativeSeparators(path);
    switch (error.problem) {
        case BookFileProblem::None:
            break;
        case BookFileProblem::CannotRead:
            return QStringLiteral("打不开课本文件“%1”：%2").arg(name, error.detail);
        case BookFileProblem::NotABookFile:
            return QStringLiteral(
                       "“%1”不是点读课本文件，请选择用 qcbook-content 制作的 .qcbook 文件。")
                .arg(name);
        case BookFileProblem::NewerVersion:
            return QStringLiteral("课本文件“%1”是用更新版本的软件制作的，请先更新点读软件再打开。")
                .arg(name);
        case BookFileProblem::Incomplete:
            return QStringLiteral("课本文件“%1”不完整，可能没有复制完，请重新复制一次。").arg(name);
        case BookFileProblem::Damaged:
            return QStringLiteral("课本文件“%1”已损坏，请重新复制或重新制作。").arg(name);
    }
    return QString();
}

}  // namespace book
