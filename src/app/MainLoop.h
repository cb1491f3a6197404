#pragma once

struct Game;

// The whole program after static construction: window, context, set-up and the main loop.
// Answers the process exit code.
int runProgram(Game& game);
