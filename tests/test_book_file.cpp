// Book files: the built-in book written and read back unchanged, and every kind of bad file
// refused with its reason before anything reads the book.

#include <gtest/gtest.h>

#include <xxhash.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <cstring>

#include "book/book_file.h"

using namespace book;

namespace {

QByteArray blobBytes(const Blob& blob) {
    return QByteArray(reinterpret_cast<const char*>(blob.data), qsizetype(blob.size));
}

QByteArray text(const char* s) {
    return s ? QByteArray(s) : QByteArray("<none>");
}

// Every table and every byte the program reads, printed in one comparable form.
QByteArray describe(const Book& b) {
    QByteArray out;
    auto add = [&out](const QByteArray& part) { out += part + '\n'; };
    add(text(b.title) + text(b.caption) + text(b.shortcutName) + text(b.aboutHtml) +
        text(b.faqHtml));
    for (int i = 0; i < b.pageCount; ++i) {
        const PageDef& p = b.pages[i];
        add(QByteArray::number(p.screen) + ' ' + QByteArray::number(p.pageNumber) + ' ' +
            text(p.pictureBox) + ' ' + blobBytes(p.picture).toHex().left(64) + ' ' +
            QByteArray::number(qsizetype(p.picture.size)) + ' ' +
            QByteArray::number(p.pictureWidth) + 'x' + QByteArray::number(p.pictureHeight) + ' ' +
            text(p.textTable) + ' ' + (p.wordList ? "list" : "page") + ' ' +
            (p.hasOverlay ? "overlay " : "") + QByteArray::number(p.overlayX) + ',' +
            QByteArray::number(p.overlayY));
        for (int e = 0; e < p.entryCount; ++e) add("clip " + QByteArray::number(p.clips[e]));
        for (int h = 0; h < p.hotspotCount; ++h) {
            const HotspotDef& d = p.hotspots[h];
            add("hotspot " + QByteArray::number(d.number) + ' ' + QByteArray::number(d.rect.x) +
                ',' + QByteArray::number(d.rect.y) + ',' + QByteArray::number(d.rect.w) + ',' +
                QByteArray::number(d.rect.h) + ' ' + QByteArray::number(d.clip));
        }
        for (int f = 0; f < p.fillBoxCount; ++f)
            add("fill " + QByteArray::number(p.fillBoxes[f].number) + ' ' +
                QByteArray::number(p.fillBoxes[f].x) + ',' + QByteArray::number(p.fillBoxes[f].y) +
                ' ' + text(p.fillBoxes[f].answer));
        for (int t = 0; t < p.tickBoxCount; ++t)
            add("tick " + QByteArray::number(p.tickBoxes[t].number) + ' ' +
                QByteArray::number(p.tickBoxes[t].x) + ',' + QByteArray::number(p.tickBoxes[t].y) +
                ' ' + QByteArray::number(p.tickBoxes[t].shouldBeTicked));
        if (p.listenIcon)
            add("listen " + text(p.listenIcon->name) + ' ' + QByteArray::number(p.listenIcon->x) +
                ',' + QByteArray::number(p.listenIcon->y));
    }
    for (int i = 0; i < b.sectionCount; ++i)
        add(text(b.sections[i].text) + ' ' + QByteArray::number(b.sections[i].data) + ' ' +
            QByteArray::number(b.sections[i].firstScreen));
    for (int i = 0; i < b.unitCount; ++i) {
        add(text(b.units[i].name) + ' ' + text(b.units[i].wordList));
        for (int w = 0; w < b.units[i].wordCount; ++w)
            add("word clip " + QByteArray::number(b.units[i].clips[w]));
    }
    for (int i = 0; i < b.clipCount; ++i) add("clip bytes " + blobBytes(b.clips[i]).toBase64());
    for (int i = 0; i < b.namedClipCount; ++i)
        add(text(b.namedClips[i].role) + ' ' + QByteArray::number(b.namedClips[i].clip));
    for (int i = 0; i < b.pictureCount; ++i)
        add(text(b.pictures[i].name) + ' ' + blobBytes(b.pictures[i].blob).toBase64());
    return out;
}

class BookFileTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { bytes_ = writeBookFile(builtInBook()); }

    static BookFileProblem problemOf(const QByteArray& bytes) {
        BookFileError error;
        EXPECT_EQ(BookFile::fromBytes(bytes, &error), nullptr);
        return error.problem;
    }

    // The bytes with a 32-bit field changed and the checksum made right again, as a faulty
    // writer (not a faulty copy) would leave them.
    static QByteArray withField(qsizetype at, std::uint32_t value) {
        QByteArray bytes = bytes_;
        const std::uint32_t le = qToLittleEndian(value);
        std::memcpy(bytes.data() + at, &le, 4);
        return resealed(bytes);
    }

    static QByteArray resealed(QByteArray bytes);
    static qsizetype sectionOffset(const char (&name)[5]);

    static QByteArray bytes_;
};

QByteArray BookFileTest::bytes_;

qsizetype BookFileTest::sectionOffset(const char (&name)[5]) {
    const std::uint32_t count = qFromLittleEndian<std::uint32_t>(bytes_.constData() + 12);
    for (std::uint32_t i = 0; i < count; ++i) {
        const char* entry = bytes_.constData() + 40 + i * 24;
        if (std::memcmp(entry, name, 4) == 0)
            return qsizetype(qFromLittleEndian<std::uint64_t>(entry + 8));
    }
    return -1;
}

// The checksum as the format defines it: XXH3 128-bit over every byte but its own 16.
QByteArray BookFileTest::resealed(QByteArray bytes) {
    const QByteArray covered = bytes.left(24) + bytes.mid(40);
    XXH128_canonical_t canonical;
    XXH128_canonicalFromHash(&canonical, XXH3_128bits(covered.constData(), size_t(covered.size())));
    bytes.replace(24, 16, QByteArray(reinterpret_cast<const char*>(canonical.digest), 16));
    return bytes;
}

TEST_F(BookFileTest, TheBuiltInBookComesBackUnchangedAndAlwaysAsTheSameBytes) {
    EXPECT_EQ(writeBookFile(builtInBook()), bytes_);
    BookFileError error;
    const std::unique_ptr<BookFile> file = BookFile::fromBytes(bytes_, &error);
    ASSERT_NE(file, nullptr) << error.detail.toStdString();
    EXPECT_EQ(describe(file->book()), describe(builtInBook()));
    EXPECT_EQ(writeBookFile(file->book()), bytes_);

    QTemporaryDir dir;
    const QString path = dir.filePath("book.qcbook");
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes_);
    out.close();
    const std::unique_ptr<BookFile> mapped = BookFile::open(path, &error);
    ASSERT_NE(mapped, nullptr) << error.detail.toStdString();
    EXPECT_EQ(describe(mapped->book()), describe(builtInBook()));
}

// The content tool writes the built-in book's sources into the same bytes, so a school's book
// file holds exactly what the program would have built in.
TEST_F(BookFileTest, TheToolsBookFileOfTheBuiltInSourcesIsTheBuiltInBook) {
    QFile made(QStringLiteral(QCBOOK_BUILT_IN_BOOK_FILE));
    if (!made.exists()) GTEST_SKIP() << "content built elsewhere without its book file";
    ASSERT_TRUE(made.open(QIODevice::ReadOnly));
    EXPECT_TRUE(made.readAll() == bytes_);
}

TEST_F(BookFileTest, BadBytesAreRefusedWithTheirReason) {
    EXPECT_EQ(problemOf(QByteArray()), BookFileProblem::NotABookFile);
    EXPECT_EQ(problemOf("<html>not a book</html>"), BookFileProblem::NotABookFile);
    EXPECT_EQ(problemOf(bytes_.left(bytes_.size() / 2)), BookFileProblem::Incomplete);
    EXPECT_EQ(problemOf(bytes_.left(30)), BookFileProblem::Incomplete);
    EXPECT_EQ(problemOf(bytes_ + "x"), BookFileProblem::Damaged);
    for (qsizetype at : {qsizetype(9), qsizetype(100), bytes_.size() / 2, bytes_.size() - 1}) {
        QByteArray flipped = bytes_;
        flipped[at] = char(flipped[at] ^ 0x10);
        EXPECT_NE(problemOf(flipped), BookFileProblem::None) << "byte " << at;
    }
    EXPECT_EQ(problemOf(withField(8, kBookFileVersion + 1)), BookFileProblem::NewerVersion);
}

// Files whose checksum is right but whose structure is not: each must be refused before any
// table is handed out.
TEST_F(BookFileTest, InconsistentStructureIsRefusedEvenWithARightChecksum) {
    ASSERT_EQ(BookFile::fromBytes(resealed(bytes_), nullptr) != nullptr, true);
    // A section offset pointing outside the file.
    EXPECT_EQ(problemOf(withField(40 + 8, 0x7fffffff)), BookFileProblem::Damaged);
    const qsizetype pages = sectionOffset("PAGE");
    const qsizetype blobs = sectionOffset("BLOB");
    const qsizetype units = sectionOffset("UNIT");
    ASSERT_GT(pages, 0);
    // The first page's entry count no longer matches its text table and hotspots.
    EXPECT_EQ(problemOf(withField(pages + 28, 11)), BookFileProblem::Damaged);
    // Its hotspots run past their table; its picture is a blob that does not exist.
    EXPECT_EQ(problemOf(withField(pages + 32, 0xfffffff0u)), BookFileProblem::Damaged);
    EXPECT_EQ(problemOf(withField(pages + 8, 100000)), BookFileProblem::Damaged);
    // A blob reaching past the data; a unit claiming more words than its list holds.
    EXPECT_EQ(problemOf(withField(blobs + 8, 0xffffffffu)), BookFileProblem::Damaged);
    EXPECT_EQ(problemOf(withField(units + 8, 99)), BookFileProblem::Damaged);
}

TEST_F(BookFileTest, FilesThatCannotBeReadSayWhyInChinese) {
    QTemporaryDir dir;
    BookFileError error;
    EXPECT_EQ(BookFile::open(dir.path(), &error), nullptr);
    EXPECT_EQ(error.problem, BookFileProblem::CannotRead);
    EXPECT_EQ(bookFileMessage(dir.path(), error),
              QStringLiteral("打不开课本文件“%1”：这是一个文件夹，不是课本文件。")
                  .arg(QDir::toNativeSeparators(dir.path())));
    QFile empty(dir.filePath("empty.qcbook"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    EXPECT_EQ(BookFile::open(empty.fileName(), &error), nullptr);
    EXPECT_EQ(error.problem, BookFileProblem::NotABookFile);
    EXPECT_EQ(BookFile::open(dir.filePath("missing.qcbook"), &error), nullptr);
    EXPECT_EQ(error.problem, BookFileProblem::CannotRead);
    EXPECT_TRUE(bookFileMessage("a.qcbook", {BookFileProblem::Incomplete, {}}).contains("不完整"));
    EXPECT_TRUE(bookFileMessage("a.qcbook", {BookFileProblem::NewerVersion, {}}).contains("更新"));
    EXPECT_TRUE(bookFileMessage("a.qcbook", {BookFileProblem::Damaged, {}}).contains("损坏"));
}

}  // namespace
