#include "render/ViewLayout.h"
#include <algorithm>
#include <cmath>

FrameRect frameRect(int drawableWidth, int drawableHeight) {
    FrameRect f;
    const int w = std::max(drawableWidth, 0), h = std::max(drawableHeight, 0);
    const double scale =
        std::min(static_cast<double>(w) / windowWidth, static_cast<double>(h) / windowHeight);
    f.width = std::min(w, static_cast<int>(std::lround(windowWidth * scale)));
    f.height = std::min(h, static_cast<int>(std::lround(windowHeight * scale)));
    f.x = (w - f.width) / 2;
    f.y = (h - f.height) / 2;
    return f;
}

FrameRect::Pixels FrameRect::place(int designX, int designY, int designWidth,
                                   int designHeight) const {
    const double s = scale();
    const auto edge = [s](int design) { return static_cast<int>(std::lround(design * s)); };
    const int left = edge(designX), right = edge(designX + designWidth);
    const int bottom = edge(designY), top = edge(designY + designHeight);
    return {x + left, y + bottom, right - left, top - bottom};
}
