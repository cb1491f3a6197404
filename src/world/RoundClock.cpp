#include "world/RoundClock.h"
#include "world/ArenaLayout.h"
#include <cstdio>

RoundClock roundClock(float e) {
    using tuning::minuteMs;
    int m = static_cast<int>(tuning::roundMinutes - e / minuteMs);
    int w = static_cast<int>(e / minuteMs);
    int s = static_cast<int>(60 - (e - w * minuteMs) / 1000);
    return {m, s % 60};
}

bool roundEnded(float e) {
    const RoundClock clock = roundClock(e);
    return (clock.minutes == 0 && clock.seconds == 0) || e >= tuning::roundMs;
}

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
