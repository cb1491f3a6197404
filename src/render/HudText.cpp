#include "actors/Player.h"
#include "render/Hud.h"
#include <cstdio>

std::string clockText(int minutes, int seconds) {
    char text[32];
    std::snprintf(text, sizeof text, seconds >= 10 ? "TIME: %d:%d" : "TIME: %d:0%d", minutes,
                  seconds);
    return text;
}

const char* resultText(int points1, int points2) {
    if (points1 > points2)
        return "PLAYER 1 WINS!!";
    if (points2 > points1)
        return "PLAYER 2 WINS!!";
    return "  ROUND DRAW!";
}

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
