#pragma once
#include "screens/Settings.h"
#include <cstdint>
#include <functional>
#include <string>

struct Game;
struct Replay;
class NetSession;

// What the command line asked of the program.
struct ProgramOptions {
    std::string recordPath;         // --record FILE: write the round's seed and keys to FILE
    const Replay* replay = nullptr; // --replay FILE: play this recording instead of the keys
    bool fullscreen = false;        // --fullscreen
    Settings settings;              // as read from the settings file
    std::string settingsPath;       // where they are kept again at the end; empty: not kept
    uint32_t firstTick = 0;         // the first round starts this far in
    NetSession* session = nullptr;  // --host or --join: the round is played with another machine
    // Tests: called before each frame; answering false ends the program as Esc does.
    std::function<bool(Game&)> beforeFrame;
    // --computer: per player -1 a person, else a computer player's level; -2: as chosen on the
    // title (player 2) or a person (player 1).
    int32_t computer[2] = {-2, -2};
    // --host-online, --join-code CODE: straight to the online screens; --lobby HOST[:PORT] in
    // place of the settings' lobby.
    bool hostOnline = false;
    std::string joinCode;
    std::string lobby;
};

// The whole program after the game is built: window, context, set-up and the main loop.
// Answers the process exit code.
int runProgram(Game& game, const ProgramOptions& options = {});
