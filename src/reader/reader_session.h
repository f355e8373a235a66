#pragma once

#include "book/page_content.h"

namespace reader {

// What the reader remembers while the program runs. The program keeps one session and hands
// it to every reader window it opens, so a window made anew for the other screen mode, or
// opened again from the start window, carries on where the last one stopped.
struct ReaderSession {
    int ScreenIndex = 0;
    bool FullScreenMode = false;
    int FullScreenToggleCount = 0;
    bool BubbleEnabled = true;
    bool AnswerMarksShown = false;
    int bannerOffset = 0;  // the toolbar banner's text position
    // The lists of the page on show (three parallel 1-based lists: index 0 holds entry 1),
    // which the hotspots, the exercises and the page games read.
    book::PageContent page;
};

}  // namespace reader
