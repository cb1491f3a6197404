#include "record/Headless.h"
#include "rules/RoundState.h"
#include "record/Replay.h"
#include "rules/RoundTick.h"
#include "rules/WorldHash.h"
#include "world/RoundClock.h"

std::string roundSummary(const RoundState& game) {
    std::string text;
    if (game.roundOver) {
        text = resultText(game.player1.points, game.player2.points);
    } else {
        const RoundClock left = roundClock(game.gameTime);
        text = "left at " + clockText(left.minutes, left.seconds);
    }
    // The draw's result is centred by two leading spaces on screen; a line of text needs none.
    text.erase(0, text.find_first_not_of(' '));
    for (int n = 1; n <= 2; ++n)
        text += "\nplayer " + std::to_string(n) + ": " + std::to_string(game.player(n).points) +
                " points";
    return text + "\n";
}

int replayHeadless(const Replay& replay, const std::string& path, std::FILE* out) {
    RoundState game(replay.seed);
    setUpRound(game);
    game.steeringHelp = replay.steeringHelp;
    for (uint16_t keys : replay.keys)
        tickRound(game, unpackKeys(keys));
    std::fputs(roundSummary(game).c_str(), out);
    if (hashWorld(game) != replay.finalHash) {
        std::fprintf(stderr,
                     "tuvo: replay file '%s': the round came out differently from the recording "
                     "(another version of the game made it?)\n",
                     path.c_str());
        return 3;
    }
    return 0;
}
