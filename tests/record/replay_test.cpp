// Recorded rounds: a recording plays back to the very same world, and a damaged or foreign
// file is turned away with a message that says what is wrong.
#include "rules/RoundState.h"
#include "record/Headless.h"
#include "record/Replay.h"
#include "rules/RoundTick.h"
#include "rules/WorldHash.h"
#include "support/RoundDriver.h"
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {
// Plays `ticks` ticks of random keys from `seed` and records them as the game does.
Replay recordRound(uint32_t seed, int ticks, RoundState& game) {
    setUpRound(game);
    Replay r;
    r.seed = seed;
    RandomKeys random(seed + 1);
    KeyState keys;
    for (int t = 0; t < ticks; ++t) {
        if (t % 5 == 0)
            keys = random.next();
        tickRound(game, keys);
        r.keys.push_back(packKeys(keys));
    }
    r.finalHash = hashWorld(game);
    return r;
}

std::string replayError(const std::string& bytes) {
    Replay r;
    std::string wrong;
    EXPECT_FALSE(decodeReplay(bytes, r, wrong));
    return wrong;
}

std::string readAll(std::FILE* f) {
    std::rewind(f);
    std::string text;
    char buffer[256];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, f))
        text.append(buffer, n);
    return text;
}
} // namespace

TEST(Replay, ARecordedRoundPlaysBackToTheSameWorld) {
    RoundState played(8086);
    const Replay recording = recordRound(8086, 3000, played);
    RoundState idle(8086);
    recordRound(8086, 0, idle);
    for (int t = 0; t < 3000; ++t)
        tickRound(idle, KeyState{});
    ASSERT_NE(hashWorld(idle), hashWorld(played)) << "the keys made a difference";

    Replay read;
    std::string wrong;
    ASSERT_TRUE(decodeReplay(encodeReplay(recording), read, wrong)) << wrong;
    EXPECT_EQ(read.seed, 8086u);
    ASSERT_EQ(read.keys, recording.keys);

    RoundState again(read.seed);
    setUpRound(again);
    for (uint16_t k : read.keys)
        tickRound(again, unpackKeys(k));
    EXPECT_EQ(hashWorld(again), hashWorld(played));
    EXPECT_EQ(hashWorld(again), read.finalHash);

    // Played back without a window: the clock where it was left and both players' points.
    std::FILE* out = std::tmpfile();
    ASSERT_EQ(replayHeadless(read, "round.rec", out), 0);
    EXPECT_EQ(readAll(out),
              "left at TIME: 5:10\nplayer 1: " + std::to_string(played.player1.points) +
                  " points\nplayer 2: " + std::to_string(played.player2.points) + " points\n");
    std::fclose(out);

    // A recording whose world came out otherwise is reported.
    read.finalHash ^= 1;
    out = std::tmpfile();
    EXPECT_EQ(replayHeadless(read, "round.rec", out), 3);
    std::fclose(out);
}

TEST(Replay, KeysPackIntoFifteenBitsAndBack) {
    KeyState keys;
    keys.player[0][keyForward] = keys.player[1][keyBomb] = keys.shadowToggle = true;
    const uint16_t packed = packKeys(keys);
    EXPECT_EQ(packed, (1u << 0) | (1u << (playerKeyCount + keyBomb)) | (1u << 14));
    const KeyState back = unpackKeys(packed);
    EXPECT_TRUE(back.player[0][keyForward]);
    EXPECT_TRUE(back.player[1][keyBomb]);
    EXPECT_FALSE(back.player[0][keyBomb]);
    EXPECT_TRUE(back.shadowToggle);
}

TEST(Replay, DamagedAndForeignFilesAreTurnedAway) {
    Replay r;
    r.seed = 7;
    r.keys = {0, 1, 2, 0x4000};
    const std::string good = encodeReplay(r);
    // The header (32 bytes), two bytes a tick, the checksum.
    ASSERT_EQ(good.size(), 32u + 8 + 4);

    EXPECT_NE(replayError("").find("not a TUVO!! replay"), std::string::npos);
    EXPECT_NE(replayError("GIF89a.........................").find("not a TUVO!! replay"),
              std::string::npos);
    EXPECT_NE(replayError(good.substr(0, 20)).find("truncated"), std::string::npos);
    EXPECT_NE(replayError(good.substr(0, good.size() - 1)).find("truncated"), std::string::npos);
    EXPECT_NE(replayError(good + "x").find("1 bytes follow"), std::string::npos);

    std::string flipped = good;
    flipped[30] ^= 0x01;
    EXPECT_NE(replayError(flipped).find("checksum"), std::string::npos);

    std::string otherVersion = good;
    // A recording of the rules before a player sent home had its grace from the creatures.
    otherVersion[8] = 2;
    EXPECT_NE(replayError(otherVersion).find("another version of TUVO!! (replay format 2"),
              std::string::npos);
    // One of the rules before the grace at the round's start: creatures could catch a player
    // that had not moved yet.
    otherVersion[8] = 3;
    EXPECT_NE(replayError(otherVersion).find("(replay format 3, this game reads 5)"),
              std::string::npos);
    // One of the rules before the shelter at home (a blast could send home a player that had
    // just come back and not moved yet), whose end was fingerprinted without the tallies, the
    // labyrinth and the clock.
    otherVersion[8] = 4;
    EXPECT_NE(replayError(otherVersion).find("(replay format 4, this game reads 5)"),
              std::string::npos);

    // Steering help is kept; an option the game does not know is damage.
    Replay steered = r;
    steered.steeringHelp = true;
    Replay back;
    std::string wrong;
    ASSERT_TRUE(decodeReplay(encodeReplay(steered), back, wrong)) << wrong;
    EXPECT_TRUE(back.steeringHelp);
    ASSERT_TRUE(decodeReplay(good, back, wrong)) << wrong;
    EXPECT_FALSE(back.steeringHelp);
    std::string unknownOption = encodeReplay(steered);
    unknownOption[28] = 3;
    const size_t body = unknownOption.size() - 4;
    uint32_t h = 2166136261u;
    for (size_t i = 0; i < body; ++i)
        h = (h ^ static_cast<unsigned char>(unknownOption[i])) * 16777619u;
    for (int i = 0; i < 4; ++i)
        unknownOption[body + i] = static_cast<char>((h >> (8 * i)) & 0xFF);
    EXPECT_NE(replayError(unknownOption).find("round option"), std::string::npos);

    // A count no round reaches is refused before anything is made for it.
    std::string huge = good;
    huge[16] = huge[17] = huge[18] = huge[19] = static_cast<char>(0xFF);
    EXPECT_NE(replayError(huge).find("more than a round"), std::string::npos);

    Replay unknownKey = r;
    unknownKey.keys[2] = 0x8000;
    EXPECT_NE(replayError(encodeReplay(unknownKey)).find("tick 2 holds a key"), std::string::npos);
}

TEST(Replay, FilesAreNamedInEveryMessageAndWrittenWhole) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tuvo-replay-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "round.rec").string();
    Replay r, read;
    r.seed = 12;
    r.keys = {3, 5};
    std::string message;
    ASSERT_TRUE(writeReplayFile(path, r, message)) << message;
    EXPECT_FALSE(std::filesystem::exists(path + ".part"));
    ASSERT_TRUE(readReplayFile(path, read, message)) << message;
    EXPECT_EQ(read.keys, r.keys);

    std::filesystem::resize_file(path, 30);
    EXPECT_FALSE(readReplayFile(path, read, message));
    EXPECT_NE(message.find("'" + path + "': truncated"), std::string::npos) << message;

    EXPECT_FALSE(readReplayFile((folder / "missing.rec").string(), read, message));
    EXPECT_NE(message.find("missing.rec': cannot be read"), std::string::npos) << message;

    EXPECT_FALSE(writeReplayFile((folder / "no" / "such.rec").string(), r, message));
    EXPECT_NE(message.find("such.rec': cannot be written"), std::string::npos) << message;
    std::filesystem::remove_all(folder);
}

// A recording made before a trap's throw counted for blasts and creatures played otherwise: it is
// turned away with the version that made it, not played to a different end.
TEST(Replay, ARecordingOfTheEarlierRulesIsTurnedAwayByItsVersion) {
    Replay old;
    std::string message;
    EXPECT_FALSE(
        readReplayFile(TUVO_SOURCE_DIR "/tests/record/data/format1-seed2026.rec", old, message));
    EXPECT_NE(message.find("format1-seed2026.rec"), std::string::npos) << message;
    EXPECT_NE(message.find("replay format 1,"), std::string::npos) << message;
}
