#pragma once

// The round clock read off the game time e in milliseconds: 6:00 at the start, 0:00 at the end.
struct RoundClock {
    int minutes;
    int seconds;
};
RoundClock roundClock(float e);
// True once the round clock reads 0:00 at game time e (or e has passed the six minutes).
bool roundEnded(float e);
