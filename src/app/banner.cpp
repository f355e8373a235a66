#include "app/banner.h"

namespace app {

BannerStep bannerMoveLeft(int offset, int panelWidth, int textWidth) {
    const int next = offset - 1;
    return {next, next <= panelWidth - textWidth};
}

BannerStep bannerMoveRight(int offset) {
    const int next = offset + 1;
    return {next, next >= 5};
}

}  // namespace app
