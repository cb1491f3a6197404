#include "app/Menu.h"
#include <cmath>
#include "app/Game.h"
#include "render/ViewLayout.h"

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

bool menuMouse(Game& g, const MenuPointer& p) {
    // Integer centre as the screen arithmetic has it: W / 2 and H / 2 truncate.
    const int centreX = p.clientWidth / 2;
    const int centreY = p.clientHeight / 2;
    g.mouseX = (p.x - centreX) / (p.clientWidth / 11.5f);
    g.mouseY = (centreY - p.y) / (p.clientHeight / 8.3f);
    const bool hide = cursorHidingArea.contains(g.mouseX, g.mouseY);

    if (p.leftPress) {
        if (g.helpShown == 0) {
            if (startArea.contains(g.mouseX, g.mouseY))
                g.gameRunning = true;
            else if (helpArea.contains(g.mouseX, g.mouseY))
                g.helpShown = 1;
        } else if (closeArea.contains(g.mouseX, g.mouseY)) {
            g.helpShown = 0;
        }
    }
    return hide;
}
