#pragma once
#include "bots/BotLevel.h"
#include "bots/BurnMap.h"
#include "rules/KeyState.h"
#include "scene/RandomGenerator.h"
#include <cstdint>

struct RoundState;

// A computer player: each tick it reads the round as its player sees it and presses that
// player's keys, as a keyboard would. It knows the arena as anyone watching it does (bombs and
// their fuses, fire, open items, walls, traps, creatures, the other player), an item only once
// its obstacle is gone, and the labyrinth only as far as its player has seen it this round. It
// reads no clock and draws only from its own generator, so the same round gives the same keys.
// One Bot per computer player and round; it remembers its plan from tick to tick.
class Bot {
  public:
    Bot(BotLevel level, uint32_t roundSeed, int32_t playerNumber);
    // A player of its own style: the benchmark's scripted rivals.
    Bot(const BotStyle& style, uint32_t roundSeed, int32_t playerNumber);

    // Sets this player's keys in `keys` for the coming tick (the other player's are left alone).
    void press(const RoundState& round, KeyState& keys);

    int32_t number() const { return self; }
    BotLevel level() const { return skill; }
    // What it is about, in a few words: for tests' messages.
    const char* doing() const { return about; }

  private:
    static constexpr int32_t side = BurnMap::side;
    static constexpr int32_t maxLayers = 40;
    static constexpr int8_t stay = 4;

    // Where the player can be, layer by layer (one layer a cell's walk), keeping out of fire.
    struct Reach {
        int16_t layer[side][side];     // first layer the cell is reached at; -1: not
        int8_t move[side][side];       // the first move on that way (0..3, or stay)
        int16_t safeLayer[side][side]; // first layer it is reached with no fire due after
        int8_t safeMove[side][side];
    };

    // What the player is walking to: kept from plan to plan until it is reached or worthless,
    // and dropped only for something clearly better.
    enum class Aim : int8_t { none, item, home, labyrinth, bomb, hunt, roam, escape, shadow };
    struct Goal {
        Aim aim = Aim::none;
        int32_t x = -1, y = -1;
    };

    void arena(const RoundState& round, bool* keys);
    void labyrinth(const RoundState& round, bool* keys);
    void plan(const RoundState& round);
    // Out of fire that is coming, or away from a creature.
    void escape(const RoundState& round, const BurnMap& fire, Reach& reach);
    // With nothing worth fetching: after the other player with a bomb, through the labyrinth
    // out of a walled-in corner, or on to somewhere else.
    void seekSomething(const RoundState& round, const Reach& reach);
    void aimAt(Aim aim, int32_t x, int32_t y, const Reach& reach);
    // Standing too long for whatever reason (a creature that does not move on, a way that
    // never opens): somewhere else for a while, or a bomb to open the way.
    void unstick(const RoundState& round, const BurnMap& fire, const Reach& reach);
    // heedCreatures: the cells about a creature are shut for the first cells of the way.
    // who: the player searched for (0: this one). laid: a bomb about to be laid, which shuts its
    // cell to a player not standing on it.
    void search(const RoundState& round, const BurnMap& fire, Reach& reach, bool heedCreatures,
                int32_t who, const PlannedBomb* laid = nullptr) const;
    bool bombLeavesWayOut(const RoundState& round, int32_t x, int32_t y) const;
    // A bomb at (x, y) would leave the other player no way out of the fire.
    bool shutsIn(const RoundState& round, int32_t x, int32_t y) const;
    // Open cells next to (x, y).
    int32_t waysOn(const RoundState& round, int32_t x, int32_t y) const;
    // A bomb whose flames open a laid wall within `near` cells of (tx, ty), or the walk to
    // where it is laid; false when there is none.
    bool openWall(const RoundState& round, const Reach& reach, int32_t tx, int32_t ty,
                  int32_t near);
    // Behind late in the round, a hit on this player costs it less than one on the other: a
    // bomb that shuts both in is worth laying.
    bool tradesAHit(const RoundState& round) const;
    // The other player is back at home after a hit, a moment ago.
    bool justSentHome(const RoundState& round) const;
    // Through the labyrinth leads somewhere from the cells of `reach`: a door whose way on is
    // open lies outside them, and is not known to lead nowhere.
    bool labyrinthLeadsOn(const RoundState& round, const Reach& reach) const;
    // berth: cells kept from a creature on either side (-1: the style's).
    void markCreatures(const RoundState& round, int32_t berth = -1);
    bool walkable(const RoundState& round, int32_t x, int32_t y, bool start) const;
    void steer(const RoundState& round, bool* keys, int32_t dx, int32_t dy) const;
    void walk(const RoundState& round, bool* keys) const;
    bool chance(int32_t perMille);

    BotLevel skill;
    BotStyle style;
    int32_t self;
    RandomGenerator random;
    const char* about = "starting";

    // The plan: made at planTick in cell (planX, planY); a move (0..3: +x, -x, +y, -y; stay)
    // and what to lay there.
    uint32_t planTick = 0;
    bool planned = false;
    int32_t planX = -1, planY = -1;
    int8_t move = stay;
    bool dropBomb = false, layWall = false, layTrap = false;
    bool intoDoor = false, deliver = false;
    Goal goal;
    // Going through the labyrinth to another door: the door it went in by.
    bool passage = false;
    int32_t doorIn = -1;
    // Until when that door is not the way out (round ms).
    float doorInUntil = 0;
    // When the other player last laid a bomb (round ms; a person watching sees it): a player
    // who never bombs is no threat to a way out.
    float otherBombedAt = -1e9f;
    // The box it has stood in since stillSince (its own position, as a person knows theirs),
    // and until when it is trying another way.
    float lowX = 1e9f, highX = -1e9f, lowY = 1e9f, highY = -1e9f;
    uint32_t stillSince = 0, unstickUntil = 0;
    // Times it tried another way without leaving the box.
    int32_t stuckCount = 0;
    float bannedUntil[side][side] = {};
    bool fleeing = false;
    // When it last came out of the labyrinth (round ms), and by which door (an index of the
    // labyrinth's exits, -1: none).
    float outOfLabyrinthAt = 0;
    int32_t cameOutBy = -1;
    // Until when each door is known to lead only into a few walled-in cells (round ms).
    float leadsNowhereUntil[4] = {};
    bool wasInLabyrinth = false;
    // In the labyrinth: the cell it last stood in, and a wrong way taken from it (-1: none).
    int32_t mazeCell = -1, mazeWrongWay = -1;
    int32_t otherReady = -1;
    // Where the other player stood at the last tick, and when it was last seen sent home.
    float otherX = -1, otherY = -1, otherSentHomeAt = -1e9f;
    uint32_t replanAt = 0;
    uint32_t hesitateUntil = 0;
    uint64_t ownBombs = 0, otherBombs = 0;
    float noBombUntil[side][side] = {};
    bool creatureNear[side][side] = {};
    bool creatureCell[side][side] = {};
    float msPerCell = 200;
    float guard = 100;
};
