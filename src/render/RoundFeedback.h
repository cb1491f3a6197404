#pragma once
#include <cstdint>
#include <string>

struct RoundState;

// What a player is shown of what last happened to it: a line by its column, a word and a flash
// in its own view, from the game time it began for about a second.
struct PlayerFeedback {
    enum class Flash { none, harm, gain };
    float since = -1e9f;
    std::string columnLine; // "CAUGHT! -5", "HIT!", "+1", "+10"
    // "CAUGHT!", "HIT!", "CHEESE LOST", "+10", and under it "CHEESE LOST" too; empty: none.
    std::string viewWord, viewWordBelow;
    Flash flash = Flash::none;

    // Seconds since it began at game time `now`, never below 0 (a round run again from an earlier
    // tick may stand before it for a moment).
    float age(float now) const;
    // Whether it still shows at `now`.
    bool showing(float now) const { return !columnLine.empty() && age(now) < shownSeconds; }
    static constexpr float shownSeconds = 1.2f;
};

// The presentation's memory of a round's events: the highest count of each it has shown per
// player this round. A count that grows beyond it is shown once; a count that goes down and up
// again (a round rolled back and run again) is not shown twice. The round itself keeps no such
// state.
class RoundFeedback {
  public:
    // Looks at the round's tallies after its ticks; a round of another seed starts afresh.
    void observe(const RoundState& round);
    const PlayerFeedback& shown(int player) const { return feedback[player == 2 ? 1 : 0]; }
    // How many catches were newly shown since the last call (one "caught" sound each).
    int takeCaughtSounds();

  private:
    struct Counts {
        int32_t caught = 0, hit = 0, coins = 0, cheese = 0, cheeseLost = 0, pointsLost = 0;
    };
    bool started = false;
    uint32_t seed = 0;
    Counts highest[2];
    PlayerFeedback feedback[2];
    int caughtSounds = 0;
};
