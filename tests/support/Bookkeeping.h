#pragma once
#include <string>
#include <vector>

struct RoundState;

// Checks that the world's shared bookkeeping holds together after a frame: every cell's open
// flag, where every item is (in the world, held or delivered, never lost or doubled), the pools
// of laid walls and traps, and the links between lying bombs and their cells. Answers one line
// per fault found; empty when everything adds up.
std::vector<std::string> bookkeepingFaults(RoundState& round);
