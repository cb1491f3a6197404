#include "actors/Player.h"
#include "render/Hud.h"
#include <cstdio>

std::string hudLine(const Player& p, int line) {
    char text[32];
    switch (line) {
    case 0:
        std::snprintf(text, sizeof text, "Bombs : %d", p.bombItems + 1);
        break;
    case 1:
        if (p.maxFireItems > 0)
            std::snprintf(text, sizeof text, "Fire  : MAX");
        else
            std::snprintf(text, sizeof text, "Fire  : %d", p.fireItems + 2);
        break;
    case 2:
        std::snprintf(text, sizeof text, "Speed : %d", p.speedItems);
        break;
    case 3:
        std::snprintf(text, sizeof text, "Walls : %d", p.wallItems);
        break;
    case 4:
        std::snprintf(text, sizeof text, "Traps : %d", p.trapItems);
        break;
    case 5:
        std::snprintf(text, sizeof text, "Cheese: %d", p.cheese);
        break;
    default:
        std::snprintf(text, sizeof text, "Points: %d", p.points);
        break;
    }
    return text;
}
