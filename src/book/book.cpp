#include "book/book.h"

#include <cstring>

namespace book {

namespace {
const Book* shownBook = nullptr;
}  // namespace

const Book& theBook() {
    return shownBook ? *shownBook : builtInBook();
}

void useBook(const Book* book) {
    shownBook = book;
}

QString programTitle() {
    return QString::fromUtf8(theBook().title);
}

QString programCaption() {
    return QString::fromUtf8(theBook().caption);
}

QString shortcutName() {
    return QString::fromUtf8(theBook().shortcutName);
}

int bookScreenCount() {
    return theBook().pageCount;
}

bool screenHasEntries(int screen) {
    const PageDef* page = pageOfScreen(screen);
    return page && !page->wordList;
}

const PageDef* pageOfScreen(int screen) {
    const Book& b = theBook();
    return screen >= 0 && screen < b.pageCount ? &b.pages[screen] : nullptr;
}

int pageNumberOfScreen(int screen) {
    const PageDef* page = pageOfScreen(screen);
    return page ? page->pageNumber : 0;
}

int sectionFirstScreen(int itemData) {
    const Book& b = theBook();
    for (int i = 0; i < b.sectionCount; ++i) {
        if (b.sections[i].data != itemData) continue;
        const int first = b.sections[i].firstScreen;
        return first >= 0 && first < b.pageCount ? first : -1;
    }
    return -1;
}

sound::SoundClip clipAt(int index) {
    const Book& b = theBook();
    if (index < 0 || index >= b.clipCount) return {};
    const Blob& blob = b.clips[index];
    return QByteArray::fromRawData(reinterpret_cast<const char*>(blob.data), qsizetype(blob.size));
}

sound::SoundClip namedClip(const char* role) {
    const Book& b = theBook();
    for (int i = 0; i < b.namedClipCount; ++i) {
        if (std::strcmp(b.namedClips[i].role, role) == 0) return clipAt(b.namedClips[i].clip);
    }
    return {};
}

QByteArray pictureBytes(const char* name) {
    const Book& b = theBook();
    for (int i = 0; i < b.pictureCount; ++i) {
        if (std::strcmp(b.pictures[i].name, name) == 0) {
            const Blob& blob = b.pictures[i].blob;
            return QByteArray::fromRawData(reinterpret_cast<const char*>(blob.data),
                                           qsizetype(blob.size));
        }
    }
    return {};
}

QPixmap picture(const char* name) {
    QPixmap pixmap;
    pixmap.loadFromData(pictureBytes(name));
    return pixmap;
}

}  // namespace book
