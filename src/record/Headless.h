#pragma once
#include <cstdio>
#include <string>

struct RoundState;
struct Replay;

// Plays a recording through the tick with no window and no sound, then writes the result line
// (or the clock, for a recording left before 0:00) and both players' points to `out`. Answers
// 0, or 3 when the world at the end differs from the one the recording saw.
int replayHeadless(const Replay& replay, const std::string& path, std::FILE* out);

// What the heads-up display would say at the end: the result, or the clock of a round that was
// left early, then both players' points.
std::string roundSummary(const RoundState& round);
