#pragma once

#include "sources/sources.h"

namespace art {
struct PageSpec;
}

namespace tool {

// Whether the text can be written in the GBK code page (the program measures texts in GBK
// bytes, and the book's tables are GBK by design).
bool encodesInGbk(const QString& text);

// Checks one page against the book's fixed shape; every problem names file and line.
void checkPage(const PageSource& page, Problems& problems);
// Checks the unit word lists, the built-in clips, the pictures and the start texts.
void checkUnits(const QList<UnitSource>& units, Problems& problems);
void checkClips(const QList<ClipSource>& clips, Problems& problems);
void checkPictures(const QList<PictureSource>& pictures, Problems& problems);
void checkBook(const BookSources& book, bool wholeBook, Problems& problems);

}  // namespace tool
