#include "app/Menu.h"
#include <cmath>
#include "app/Game.h"

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
    if (g.helpShown == 0 && g.opponents.offered)
        g.opponents.pointer(p.leftPress && opponentArea.contains(g.mouseX, g.mouseY));
    return hide;
}
