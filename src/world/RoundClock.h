#pragma once
#include <string>

// The round clock read off the game time e in milliseconds: 6:00 at the start, 0:00 at the end.
struct RoundClock {
    int minutes;
    int seconds;
};
RoundClock roundClock(float e);
// True once the round clock reads 0:00 at game time e (or e has passed the six minutes).
bool roundEnded(float e);

// "TIME: m:ss", as the overview shows it.
std::string clockText(int minutes, int seconds);
// The round's result, decided by points alone.
const char* resultText(int points1, int points2);
