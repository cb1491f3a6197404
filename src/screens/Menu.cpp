#include "screens/Menu.h"
#include <cmath>
#include "screens/ScreenState.h"

bool menuMouse(ScreenState& g, const MenuPointer& p) {
    // Integer centre as the screen arithmetic has it: W / 2 and H / 2 truncate.
    const int centreX = p.clientWidth / 2;
    const int centreY = p.clientHeight / 2;
    g.mouseX = (p.x - centreX) / (p.clientWidth / 11.5f);
    g.mouseY = (centreY - p.y) / (p.clientHeight / 8.3f);
    const bool hide = cursorHidingArea.contains(g.mouseX, g.mouseY);
    // Only a pointer that moves takes the highlight, so that one resting on a button does not
    // hold it against the keys.
    const bool moved =
        g.menus.pointerX != -1 && (p.x != g.menus.pointerX || p.y != g.menus.pointerY);
    g.menus.pointerX = p.x;
    g.menus.pointerY = p.y;
    g.menus.pointerDown = p.leftPress;
    if (g.menus.optionsShown)
        return hide;

    if (g.helpShown == 0) {
        for (int n = 0; n < titleEntryCount; ++n) {
            if (!titleEntries[n].area.contains(g.mouseX, g.mouseY))
                continue;
            if (!titleEntryShown(g, n))
                continue;
            if (moved || p.leftPress)
                g.menus.titleFocus = n;
            // The opponent line steps once a click, below, however long the press is seen.
            if (p.leftPress && titleEntries[n].action != TitleAction::opponent)
                pressTitle(g, titleEntries[n].action);
        }
    } else if (p.leftPress && closeArea.contains(g.mouseX, g.mouseY)) {
        g.helpShown = 0;
    }
    if (g.helpShown == 0 && g.opponents.offered)
        g.opponents.pointer(p.leftPress && opponentArea.contains(g.mouseX, g.mouseY));
    return hide;
}

void pressTitle(ScreenState& g, TitleAction action) {
    switch (action) {
    case TitleAction::start:
        g.gameRunning = true;
        break;
    case TitleAction::opponent:
        if (g.opponents.offered) {
            g.opponents.step();
            g.opponents.chosenOnTitle = true;
        }
        break;
    case TitleAction::help:
        g.helpShown = 1;
        break;
    case TitleAction::online:
        if (g.onlineOffered)
            g.online.open();
        break;
    case TitleAction::options:
        g.menus.openOptions();
        break;
    }
}

bool titleEntryShown(const ScreenState& g, int n) {
    if (titleEntries[n].action == TitleAction::online)
        return g.onlineOffered;
    return titleEntries[n].action != TitleAction::opponent || g.opponents.offered;
}
