#include "reader/book.h"

#include <cstring>

namespace reader {

const book::PageDef* pageOfScreen(int screen) {
    const book::Book& b = book::theBook();
    return screen >= 0 && screen < b.pageCount ? &b.pages[screen] : nullptr;
}

int pageNumberOfScreen(int screen) {
    const book::PageDef* page = pageOfScreen(screen);
    return page ? page->pageNumber : 0;
}

int sectionFirstScreen(int itemData) {
    const book::Book& b = book::theBook();
    for (int i = 0; i < b.sectionCount; ++i) {
        if (b.sections[i].data == itemData) return b.sections[i].firstScreen;
    }
    return -1;
}

ui::SoundClip clipAt(int index) {
    const book::Book& b = book::theBook();
    if (index < 0 || index >= b.clipCount) return {};
    const book::Blob& blob = b.clips[index];
    return QByteArray::fromRawData(reinterpret_cast<const char*>(blob.data), qsizetype(blob.size));
}

ui::SoundClip namedClip(const char* role) {
    const book::Book& b = book::theBook();
    for (int i = 0; i < b.namedClipCount; ++i) {
        if (std::strcmp(b.namedClips[i].role, role) == 0) return clipAt(b.namedClips[i].clip);
    }
    return {};
}

QByteArray pictureBytes(const char* name) {
    const book::Book& b = book::theBook();
    for (int i = 0; i < b.pictureCount; ++i) {
        if (std::strcmp(b.pictures[i].name, name) == 0) {
            const book::Blob& blob = b.pictures[i].blob;
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

}  // namespace reader
