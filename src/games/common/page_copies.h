#pragma once

// The page games' own copies of the shown page's English and Chinese lists, taken by their
// launch buttons; the games may change them without touching the page.

#include <QStringList>

namespace games {

struct GamePageLists {
    QStringList english;
    QStringList chinese;
};

GamePageLists& gamePageLists();
// Replaces the copies with fresh copies of the shown page's lists.
void CopyPageListsForGames();

}  // namespace games
