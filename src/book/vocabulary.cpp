#include "book/vocabulary.h"

#include "book/book.h"
#include "book/page_content.h"

namespace book {

namespace {

// The embedded unit, or nullptr when the number names none.
const UnitDef* unitDef(int unit) {
    const Book& b = theBook();
    if (unit < kFirstUnit || unit > b.unitCount) return nullptr;
    return &b.units[unit - 1];
}

}  // namespace

int unitCount() {
    return theBook().unitCount;
}

QString unitName(int unit) {
    const UnitDef* def = unitDef(unit);
    return def ? QString::fromUtf8(def->name) : QString();
}

UnitWords LoadUnitWords(int unit) {
    UnitWords words;
    if (const UnitDef* def = unitDef(unit)) {
        // A word list has the page text table's line format: English on odd lines, the
        // Chinese meaning on the even line after it.
        SplitTextTable(QString::fromUtf8(def->wordList), words.UnitEnglishWords,
                       words.UnitChineseWords);
    }
    return words;
}

void LoadUnitWordClips(int unit, QList<sound::SoundClip>& clips) {
    const UnitDef* def = unitDef(unit);
    if (!def) return;
    QList<sound::SoundClip> loaded;
    loaded.reserve(def->wordCount);
    for (int j = 0; j < def->wordCount; ++j) loaded.append(clipAt(def->clips[j]));
    clips = loaded;
}

}  // namespace book
