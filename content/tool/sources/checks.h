#pragma once

#include <QStringList>

#include "sources/sources.h"

namespace tool {

// What the sources may name that the later stages make: the drawings a page may show and their
// colours, and the made sounds. The pictures and recordings stages know them; whoever checks
// the sources hands them in (the content build gives bookVocabulary()).
struct Vocabulary {
    QStringList drawings;         // THINGs of pictures and draw lines
    QStringList countedDrawings;  // drawings whose COLOUR slot holds what to draw instead
    QStringList speakers;         // drawings of people and animals, who can say a line
    QStringList colours;          // COLOURs
    QStringList sounds;           // the synthesiser's recipes, in their order
};

// Whether the text can be written in the GBK code page (the program measures texts in GBK
// bytes, and the book's tables are GBK by design).
bool encodesInGbk(const QString& text);

// Checks one page against the book's fixed shape; every problem names file and line.
void checkPage(const PageSource& page, const Vocabulary& vocabulary, Problems& problems);
// Checks the unit word lists, the built-in clips, the pictures and the start texts.
void checkUnits(const QList<UnitSource>& units, Problems& problems);
void checkClips(const QList<ClipSource>& clips, const Vocabulary& vocabulary, Problems& problems);
void checkPictures(const QList<PictureSource>& pictures, Problems& problems);
void checkBook(const BookSources& book, bool wholeBook, const Vocabulary& vocabulary,
               Problems& problems);

}  // namespace tool
