// The round's fingerprint: a change anywhere in the round changes it, and only what it names as
// left out does not.
#include "rules/RoundState.h"
#include "rules/RoundTick.h"
#include "rules/WorldHash.h"
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace {
// A round some way in: bombs have gone off, creatures roamed, the generator moved on.
RoundState roundInPlay() {
    RoundState round(5150);
    setUpRound(round);
    KeyState keys;
    keys.player[0][keyForward] = true;
    keys.player[1][keyBomb] = true;
    for (int t = 0; t < 300; ++t)
        tickRound(round, keys);
    return round;
}

struct Change {
    const char* what;
    std::function<void(RoundState&)> make;
};
} // namespace

TEST(WorldHash, EveryPartOfTheRoundCountsButWhatItLeavesOut) {
    const RoundState base = roundInPlay();
    const uint64_t before = hashWorld(base);
    EXPECT_EQ(hashWorld(RoundState(base)), before) << "a copy hashes alike";

    const std::vector<Change> counted = {
        {"a tally", [](RoundState& r) { ++r.player2.tally.caught; }},
        {"a tally's lost points", [](RoundState& r) { r.player1.tally.pointsLost += 5; }},
        {"what sent a player home", [](RoundState& r) { r.world.respawnCause[1] = causeCreature; }},
        {"what a player has seen of the labyrinth",
         [](RoundState& r) { r.sight[0].seen[40] ^= 1; }},
        {"the other player's sight", [](RoundState& r) { r.sight[1].seen[0] ^= 1; }},
        {"a labyrinth wall", [](RoundState& r) { r.world.maze.wallPosX[10] ^= 1; }},
        {"the labyrinth's sets", [](RoundState& r) { ++r.world.maze.sets.rank[3]; }},
        {"the clock", [](RoundState& r) { r.clock.advance(1); }},
        {"the seed", [](RoundState& r) { ++r.seed; }},
        {"the overview camera", [](RoundState& r) { r.overviewCamera.position.z += 1; }},
        {"steering help", [](RoundState& r) { r.steeringHelp = !r.steeringHelp; }},
        {"whose blast burns", [](RoundState& r) { r.world.blastOwner ^= 3; }},
        {"a cell's bomb entry", [](RoundState& r) { r.world.cells[4][4].bomb = 12; }},
        {"an obstacle's colour", [](RoundState& r) { r.world.obstacles[5].colourG += 0.5f; }},
        {"a figure's dimension", [](RoundState& r) { r.creatures[2].shape.earTilt += 1; }},
        {"the generator's snapshot", [](RoundState& r) { r.random.snapshot[20][1] ^= 1; }},
        {"the snow's slowdown", [](RoundState& r) { r.particles.emitter.slowdown += 1; }},
        {"an item's spin", [](RoundState& r) { r.world.items[94].spin += 1; }},
    };
    for (const Change& c : counted) {
        RoundState changed = base;
        c.make(changed);
        EXPECT_NE(hashWorld(changed), before) << c.what;
    }

    // What it says it leaves out, it does.
    std::vector<std::string> named;
    for (const LeftOutOfFingerprint& l : fingerprintLeavesOut()) {
        named.push_back(l.field);
        EXPECT_GT(std::string(l.why).size(), 20u) << l.field << ": a reason, not a word";
    }
    EXPECT_EQ(named, (std::vector<std::string>{"paused", "world.events",
                                               "world.blastCells past blastCellCount"}));
    const std::vector<Change> leftOut = {
        {"paused", [](RoundState& r) { r.paused = !r.paused; }},
        {"world.events",
         [](RoundState& r) {
             r.world.events.clear();
             r.world.events.tell(RoundEvent::of(RoundEvent::bump, 1, 101, 101));
         }},
        {"world.blastCells past blastCellCount",
         [](RoundState& r) {
             r.world.blastCells[MazeWorld::maxBurningCells - 1].time += 7;
             r.world.blastCells[MazeWorld::maxBurningCells - 1].x = 3;
         }},
    };
    for (const Change& c : leftOut) {
        RoundState changed = base;
        c.make(changed);
        EXPECT_EQ(hashWorld(changed), before) << c.what;
    }
    ASSERT_LT(base.world.blastCellCount, MazeWorld::maxBurningCells);
}
