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

}  // namespace app
