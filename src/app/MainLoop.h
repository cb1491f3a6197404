#pragma once
#include <string>

struct Game;
struct Replay;

// What the command line asked of the program.
struct ProgramOptions {
    std::string recordPath; // --record FILE: write the round's seed and keys to FILE
    const Replay* replay = nullptr; // --replay FILE: play this recording instead of the keys
};

// The whole program after the game is built: window, context, set-up and the main loop.
// Answers the process exit code.
int runProgram(Game& game, const ProgramOptions& options = {});
