#pragma once
#include "world/RoundClock.h"
#include <string>

struct RoundView;
class Player;

// A player's seven inventory lines, top to bottom.
std::string hudLine(const Player& p, int line);
constexpr int hudLineCount = 7;

// Writes the clock, both players' counts and, once the round is over, the result over the
// overview.
void drawHud(const RoundView& view);

// A line of the title menu's own (the state of a network round), under its buttons.
void drawMenuLine(const std::string& text);
