#pragma once
#include <cstdint>
#include <span>

// Something that happened in the round, told by the tick that made it happen: for the sounds,
// the players' feedback and anything else that shows the round without changing it.
struct RoundEvent {
    enum Kind : uint8_t {
        bombLaid,       // player: who laid it
        blast,          // player: whose bomb
        obstacleOpened, // by a blast
        wallBurnt,      // a laid wall freed by a blast
        creatureBlasted,
        itemTaken,  // player: who; detail: the item's kind (a coin, a card, cheese)
        trapSprung, // player: who was thrown (0: a creature sprang it)
        wallLaid,
        trapLaid,
        sentHome,   // player: who; detail: what sent it (RespawnCause); points: lost
        cheeseLost, // player: who dropped it on the way home
        cheeseHome, // player: who; points: won
        bump,       // player: who walked into a labyrinth wall
    };
    Kind kind = bombLaid;
    int8_t player = 0; // 1 or 2; 0 for none
    int8_t detail = 0;
    int16_t x = -1, y = -1; // the cell it happened in, -1 where none belongs to it
    int16_t points = 0;

    // An event of `kind` for `player` in cell (x, y).
    static RoundEvent of(Kind kind, int32_t player, int32_t x = -1, int32_t y = -1,
                         int32_t detail = 0, int32_t points = 0) {
        return {kind,
                static_cast<int8_t>(player),
                static_cast<int8_t>(detail),
                static_cast<int16_t>(x),
                static_cast<int16_t>(y),
                static_cast<int16_t>(points)};
    }
    bool operator==(const RoundEvent&) const = default;
};

// What one tick told, in the order it happened. Bounded: a tick of many blasts opens at most
// every obstacle once and sets off at most every bomb once, so the list holds a worst tick with
// room to spare; were it ever full, what did not fit is counted, never written past the end.
struct TickEvents {
    static constexpr int32_t capacity = 256;
    RoundEvent list[capacity];
    int32_t count = 0;
    int32_t overflow = 0;

    void clear() {
        count = 0;
        overflow = 0;
    }
    void tell(const RoundEvent& event) {
        if (count < capacity)
            list[count++] = event;
        else
            ++overflow;
    }
    std::span<const RoundEvent> all() const { return {list, static_cast<size_t>(count)}; }
};
