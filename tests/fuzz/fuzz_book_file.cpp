// libFuzzer entry point: any byte string handed to the book file reader must be refused or
// give a book whose every table, text and blob lies inside the bytes, without crashing or
// hanging. Each input is tried as it is and with its checksum made right, so that mutations
// reach the structure checks behind the checksum.
//
//   fuzz_book_file --make-seed DIR   writes a small book file into DIR to start from

#include <xxhash.h>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "book/book_file.h"
#include "tiny_book.h"

namespace {

volatile std::size_t sink;

void touch(const char* text) {
    if (text) sink = sink + std::strlen(text);
}

void touch(const book::Blob& blob) {
    if (blob.size > 0) sink = sink + blob.data[0] + blob.data[blob.size - 1];
}

// Reads every field a window could read, so that the sanitizers see any pointer that escapes.
void walk(const book::Book& b) {
    touch(b.title), touch(b.caption), touch(b.shortcutName), touch(b.aboutHtml), touch(b.faqHtml);
    for (int i = 0; i < b.pageCount; ++i) {
        const book::PageDef& p = b.pages[i];
        touch(p.pictureBox), touch(p.picture), touch(p.textTable);
        for (int e = 0; e < p.entryCount; ++e) touch(b.clips[p.clips[e]]);
        for (int h = 0; h < p.hotspotCount; ++h) {
            const book::HotspotDef& d = p.hotspots[h];
            if (p.wordList) touch(b.clips[d.clip]);
            if (!p.wordList && (d.number < 1 || d.number > p.entryCount)) std::abort();
        }
        for (int f = 0; f < p.fillBoxCount; ++f) touch(p.fillBoxes[f].answer);
        for (int t = 0; t < p.tickBoxCount; ++t) sink = sink + std::size_t(p.tickBoxes[t].x);
        if (p.listenIcon) touch(p.listenIcon->name);
    }
    for (int i = 0; i < b.sectionCount; ++i) {
        touch(b.sections[i].text);
        if (b.sections[i].firstScreen < 0 || b.sections[i].firstScreen >= b.pageCount) std::abort();
    }
    for (int i = 0; i < b.unitCount; ++i) {
        touch(b.units[i].wordList), touch(b.units[i].name);
        for (int w = 0; w < b.units[i].wordCount; ++w) touch(b.clips[b.units[i].clips[w]]);
    }
    for (int i = 0; i < b.namedClipCount; ++i) touch(b.namedClips[i].role);
    for (int i = 0; i < b.pictureCount; ++i) touch(b.pictures[i].name), touch(b.pictures[i].blob);
}

void tryBytes(const QByteArray& bytes) {
    book::BookFileError error;
    if (auto file = book::BookFile::fromBytes(bytes, &error)) walk(file->book());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    for (int i = 1; i + 1 < *argc; ++i) {
        if (std::strcmp((*argv)[i], "--make-seed") != 0) continue;
        QDir().mkpath(QString::fromLocal8Bit((*argv)[i + 1]));
        QFile seed(QDir(QString::fromLocal8Bit((*argv)[i + 1])).filePath("tiny.qcbook"));
        const bool written = seed.open(QIODevice::WriteOnly) &&
                             seed.write(book::writeBookFile(fuzzing::tinyBook())) > 0;
        seed.close();  // exit() below runs no destructors
        std::exit(written && seed.error() == QFileDevice::NoError ? 0 : 1);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    tryBytes(bytes);
    if (bytes.size() >= 40) {
        const QByteArray covered = bytes.left(24) + bytes.mid(40);
        XXH128_canonical_t sum;
        XXH128_canonicalFromHash(&sum, XXH3_128bits(covered.constData(), size_t(covered.size())));
        bytes.replace(24, 16, QByteArray(reinterpret_cast<const char*>(sum.digest), 16));
        tryBytes(bytes);
    }
    return 0;
}
