#include "games/common/page_copies.h"

#include "reader/page_content.h"

namespace games {

GamePageLists& gamePageLists() {
    static GamePageLists lists;
    return lists;
}

void CopyPageListsForGames() {
    const reader::PageContent& page = reader::currentPage();
    GamePageLists& lists = gamePageLists();
    lists.english = page.EnglishLines;
    lists.chinese = page.ChineseLines;
    // Detach now: the copies must not share storage with the page's lists.
    lists.english.detach();
    lists.chinese.detach();
}

}  // namespace games
