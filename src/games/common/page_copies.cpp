#include "games/common/page_copies.h"

#include "book/page_content.h"

namespace games {

GamePageLists& gamePageLists() {
    static GamePageLists lists;
    return lists;
}

void CopyPageListsForGames(const book::PageContent& page) {
    GamePageLists& lists = gamePageLists();
    lists.english = page.EnglishLines;
    lists.chinese = page.ChineseLines;
    lists.clips = page.PageClips;
    // Detach now: the copies must not share storage with the page's lists.
    lists.english.detach();
    lists.chinese.detach();
}

}  // namespace games
