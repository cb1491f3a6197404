#include "world/RoundClock.h"
#include "world/ArenaLayout.h"

RoundClock roundClock(float e) {
    int m = static_cast<int>(6 - e / 60000);
    int w = static_cast<int>(e / 60000);
    int s = static_cast<int>(60 - (e - w * 60000) / 1000);
    return {m, s % 60};
}

bool roundEnded(float e) {
    const RoundClock clock = roundClock(e);
    return (clock.minutes == 0 && clock.seconds == 0) || e >= arena::roundMs;
}
