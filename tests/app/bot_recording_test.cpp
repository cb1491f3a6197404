// A round of two computer players, recorded as the game records it, replays headless to the very
// same world.
#include "bots/Bot.h"
#include "record/Headless.h"
#include "record/Replay.h"
#include "rules/RoundState.h"
#include "rules/RoundTick.h"
#include "rules/WorldHash.h"
#include <cstdio>
#include <gtest/gtest.h>

TEST(BotRecording, ARecordedRoundOfComputerPlayersReplaysExactly) {
    const uint32_t seed = 31337;
    RoundState round(seed);
    setUpRound(round);
    Bot one(BotLevel::hard, seed, 1), two(BotLevel::normal, seed, 2);
    Replay recorded;
    recorded.seed = seed;
    for (int t = 0; t < 6000; ++t) {
        KeyState keys;
        one.press(round, keys);
        two.press(round, keys);
        tickRound(round, keys);
        recorded.keys.push_back(packKeys(keys));
    }
    recorded.finalHash = hashWorld(round);

    Replay read;
    std::string wrong;
    ASSERT_TRUE(decodeReplay(encodeReplay(recorded), read, wrong)) << wrong;
    std::FILE* out = std::tmpfile();
    EXPECT_EQ(replayHeadless(read, "bots.rec", out), 0);
    std::fclose(out);
}
