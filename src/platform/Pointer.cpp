#include "platform/Pointer.h"
#include "render/ViewLayout.h"
#include <cmath>

MenuPointer framePointer(int width, int height, int x, int y, bool leftPress) {
    const FrameRect f = frameRect(width, height);
    // The frame's rectangle counts from the bottom, the pointer from the top.
    const int top = height - f.y - f.height;
    MenuPointer p{};
    p.clientWidth = windowWidth;
    p.clientHeight = windowHeight;
    const double across = f.width > 0 ? static_cast<double>(windowWidth) / f.width : 0;
    const double down = f.height > 0 ? static_cast<double>(windowHeight) / f.height : 0;
    p.x = static_cast<int>(std::floor((x - f.x) * across));
    p.y = static_cast<int>(std::floor((y - top) * down));
    p.leftPress = leftPress;
    return p;
}
