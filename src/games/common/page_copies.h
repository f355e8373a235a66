#pragma once

// The page games' own copies of the shown page's English and Chinese lists, taken by their
// launch buttons; the games may change them without touching the page.

#include <QStringList>

#include "book/page_content.h"

namespace games {

struct GamePageLists {
    QStringList english;
    QStringList chinese;
    QList<sound::SoundClip> clips;
};

GamePageLists& gamePageLists();
// Replaces the copies with fresh copies of the shown page's lists.
void CopyPageListsForGames(const book::PageContent& page);

}  // namespace games
