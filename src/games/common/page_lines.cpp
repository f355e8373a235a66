#include "games/common/page_lines.h"

namespace games {

PageLines::PageLines(const book::PageContent& page)
    : english(page.EnglishLines), chinese(page.ChineseLines), clips(page.PageClips) {
    // Detach now: the copies must not share storage with the page's lists.
    english.detach();
    chinese.detach();
}

}  // namespace games
