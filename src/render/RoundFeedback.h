#pragma once
#include "world/TickEvents.h"
#include <cstdint>
#include <span>
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

// What each player was last shown of the round's events. Each event is handed over once (a
// round played online hands over a tick run again only what it did not tell before), so this
// shows what it is given; the round itself keeps no such state.
class RoundFeedback {
  public:
    // Shows the events of the ticks run since the last frame, at the round's time now; a round
    // of another seed starts afresh.
    void observe(const RoundState& round, std::span<const RoundEvent> events);
    const PlayerFeedback& shown(int player) const { return feedback[player == 2 ? 1 : 0]; }

  private:
    bool started = false;
    uint32_t seed = 0;
    PlayerFeedback feedback[2];
};
