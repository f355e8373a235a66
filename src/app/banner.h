#pragma once

namespace app {

// The start window's banner bounces between two stops: it moves left one pixel per tick until
// its right end reaches the panel's right edge, then right until its left edge is 5 pixels from
// the panel's left edge. The turns use "reached or passed", so a text narrower than the panel
// bounces too instead of running off for ever.
struct BannerStep {
    int offset;
    bool turn;  // the other timer takes over
};

BannerStep bannerMoveLeft(int offset, int panelWidth, int textWidth);
BannerStep bannerMoveRight(int offset);

// The reader toolbar's banner: scrolls left one pixel per tick and jumps back to 10 once the
// title's right end has reached the panel's right edge; a title that fits stands at 10.
int readerBannerStep(int offset, int panelWidth, int textWidth);

}  // namespace app
