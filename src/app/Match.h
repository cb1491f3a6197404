#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

// `--match LEVEL1 LEVEL2 --rounds N [--seed S]`: whole rounds between two computer players (or
// a player pressing random keys, "random"), headless, on two threads. Sides swap every other
// round. Prints each round's result, a summary per side and, last, "LEVEL1 W wins, LEVEL2 W
// wins, D draws". Answers the exit code.
struct MatchOptions {
    std::string sides[2];
    int32_t rounds = 0;
    uint32_t seed = 1;
};

// A side's name the match knows: a level or "random".
bool isMatchSide(const std::string& name);
int playMatch(const MatchOptions& options, std::FILE* out);
