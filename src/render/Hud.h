#pragma once
#include <string>

struct RoundView;
class Player;

// The round clock read off the game time e in milliseconds: 6:00 at the start, 0:00 at the end.
struct RoundClock {
    int minutes;
    int seconds;
};
RoundClock roundClock(float e);
std::string clockText(int minutes, int seconds);
// Decided by points alone.
const char* resultText(int points1, int points2);
// A player's seven inventory lines, top to bottom.
std::string hudLine(const Player& p, int line);
constexpr int hudLineCount = 7;

// True once the round clock reads 0:00 at game time e (or e has passed the six minutes).
bool roundEnded(float e);
// Writes the clock, both players' counts and, once the round is over, the result over the
// overview.
void drawHud(const RoundView& view);

// A line of the title menu's own (the state of a network round), under its buttons.
void drawMenuLine(const std::string& text);
