// Plays a recorded round back and tells how a player fared in it: how far it got from home,
// on how many ticks it stood in a burning cell, and whether the round came out as recorded.
// bot_watch FILE PLAYER
#include "record/Replay.h"
#include "rules/WorldHash.h"
#include "rules/RoundState.h"
#include "rules/RoundTick.h"
#include "world/ArenaLayout.h"
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: bot_watch FILE PLAYER\n");
        return 2;
    }
    Replay replay;
    std::string message;
    if (!readReplayFile(argv[1], replay, message)) {
        std::fprintf(stderr, "%s\n", message.c_str());
        return 2;
    }
    const int n = std::atoi(argv[2]) == 1 ? 1 : 2;
    RoundState round(replay.seed);
    setUpRound(round);
    round.steeringHelp = replay.steeringHelp;
    float farthest = 0;
    int burning = 0;
    for (uint16_t keys : replay.keys) {
        tickRound(round, unpackKeys(keys));
        const Player& p = round.player(n);
        if (p.x >= arena::labyrinthOrigin)
            continue;
        farthest =
            std::max(farthest, std::fabs(p.x - arena::homeXOf(n)) + std::fabs(p.y - arena::homeY));
        for (const BurningCell& b : round.world.burning())
            if (b.x == static_cast<int>(p.x) && b.y == static_cast<int>(p.y))
                ++burning;
    }
    std::printf("ticks %zu farthest %.1f burning %d replay %s\n", replay.keys.size(), farthest,
                burning, hashWorld(round) == replay.finalHash ? "same" : "different");
    return 0;
}
