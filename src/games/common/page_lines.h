#pragma once

// A page game's own copy of the shown page's English and Chinese lines and their recordings,
// taken when its window opens: the game may change it without touching the page.

#include <QList>
#include <QStringList>

#include "book/page_content.h"

namespace games {

struct PageLines {
    PageLines() = default;
    explicit PageLines(const book::PageContent& page);

    QStringList english;
    QStringList chinese;
    QList<sound::SoundClip> clips;
};

}  // namespace games
