#pragma once
#include "bots/BotLevel.h"
#include "bots/BurnMap.h"
#include "bots/PathSearch.h"
#include "bots/Sight.h"
#include "rules/KeyState.h"
#include "scene/RandomGenerator.h"
#include "world/Tuning.h"
#include <cstdint>
#include <cstdlib>

struct RoundState;

// A computer player: each tick it reads the round as its player sees it and presses that
// player's keys, as a keyboard would. It knows the arena as anyone watching it does (bombs and
// their fuses, fire, open items, walls, traps, creatures, the other player), an item only once
// its obstacle is gone, and the labyrinth only as far as its player has seen it this round. It
// reads no clock and draws only from its own generator, so the same round gives the same keys.
// One Bot per computer player and round; it remembers its plan from tick to tick.
//
// Its parts: what it sees (Sight, BurnMap), how it walks (PathSearch), what it wants (the goals
// of BotGoals, BotHunt and BotWayOut) and the labyrinth (Labyrinth, BotLabyrinth).
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
    static constexpr int8_t stay = Reach::stay;
    // Into the labyrinth out of fire or a pocket, back out by the same door no sooner than this:
    // a blast's fuse and burning, and a moment more. A pocket it leads back into is remembered
    // then.
    static constexpr float backOutMs = tuning::fuseMs + 1500;
    // Behind in the last minutes of the round, risks are taken.
    static constexpr float chaseMs = 120000;
    // The other player within this many cells (along the axes) is close: its bombs can shut a
    // way, and walls and traps are laid against it.
    static constexpr int32_t closeCells = 3;
    // A pocket: the cells reachable, not counting doors and traps, are this few or fewer.
    static constexpr int32_t pocketCells = 6;
    // A spot where a bomb would leave no way out is not tried again for this long.
    static constexpr float bombSpotRestMs = 3000;
    // A new aim's moment of hesitation comes no sooner than this after the last.
    static constexpr uint32_t hesitationGapTicks = 180;

    // What the player is walking to: kept from plan to plan until it is reached or worthless,
    // and dropped only for something clearly better.
    enum class Aim : int8_t { none, item, home, labyrinth, bomb, hunt, roam, escape, shadow };
    struct Goal {
        Aim aim = Aim::none;
        int32_t x = -1, y = -1;
    };
    // The score, the clock and the other player, as the HUD and the arena show them, at a plan.
    struct Outlook {
        bool otherInArena;
        int32_t ox, oy;
        bool keepLead, chase, wantCheese, canBomb;
        int32_t reachOfBomb;
        // A bomb of the other player's can shut a way out.
        bool otherArmed;
        // What a hit on the other player is worth, as a share of three coins' points.
        float attack;
        bool threatAt(int32_t x, int32_t y) const {
            return otherArmed && std::abs(ox - x) + std::abs(oy - y) <= closeCells;
        }
    };
    // What a cell offers: its value in coins' points, cells of walk it costs beyond the way
    // there, and what it is.
    struct Worth {
        float value = 0, extra = 0;
        Aim aim = Aim::none;
    };
    struct Choice {
        float score = 0;
        int32_t x = -1, y = -1;
        Aim aim = Aim::none;
    };
    // A spot to lay a bomb from, and the cells of walk there (less for the spot in hand).
    struct Spot {
        int32_t x, y, cost;
    };
    static constexpr int32_t mostSpots = 8;

    // Bot.cpp: looking, and pressing the keys of the plan.
    void arena(const RoundState& round, bool* keys);
    void watchOtherPlayer(const RoundState& round);
    // Standing too long in one box: a new plan, trying another way for a while.
    bool watchStillness(const RoundState& round);
    bool creatureClose(const RoundState& round) const;
    void act(const RoundState& round, bool* keys);
    void steer(const RoundState& round, bool* keys, int32_t dx, int32_t dy) const;
    void walk(const RoundState& round, bool* keys) const;
    // heedCreatures: the cells about a creature are shut for the first cells of the way.
    // who: the player searched for (0: this one). laid: a bomb about to be laid, which shuts its
    // cell to a player not standing on it.
    void search(const RoundState& round, const BurnMap& fire, Reach& reach, bool heedCreatures,
                int32_t who, const PlannedBomb* laid = nullptr) const;
    void aimAt(Aim aim, int32_t x, int32_t y, const Reach& reach);
    // Through the door it stands on into the labyrinth, to come out by another.
    void passThroughDoor(const RoundState& round, int32_t x, int32_t y);
    bool chance(int32_t perMille);

    // BotGoals.cpp: what it wants.
    void plan(const RoundState& round);
    void startPlan(const RoundState& round);
    // Out of fire that is coming, or away from a creature; false when neither threatens.
    bool keepSafe(const RoundState& round, const BurnMap& fire, Reach& reach);
    Outlook outlook(const RoundState& round) const;
    void shadow(const RoundState& round, const Reach& reach, const Outlook& look);
    Choice chooseGoal(const RoundState& round, const BurnMap& fire, const Reach& reach,
                      const Outlook& look) const;
    // theirs: where the other player would be first, or null when it is not weighed.
    Worth worthOf(const RoundState& round, int32_t x, int32_t y, int32_t layer, const Reach* theirs,
                  const Outlook& look) const;
    float bombWorth(const RoundState& round, int32_t x, int32_t y, const Outlook& look) const;
    void layWallOrTrap(const RoundState& round, const Outlook& look);
    bool shutInHere(const RoundState& round, const Outlook& look);
    // A beginner's slip: now and then a bomb where it stands, that opens nothing, as long as it
    // has a way out and the other player is not close.
    bool poorBomb(const RoundState& round, const Outlook& look);
    void actHere(const RoundState& round, Aim aim);
    void headFor(const RoundState& round, const Reach& reach, const Choice& choice);
    // With a lead late in the round that the other player could still turn.
    bool keepsLead(const RoundState& round) const;

    // BotHunt.cpp: with nothing worth fetching, after the other player with a bomb, through
    // the labyrinth out of a walled-in corner, or on to somewhere else.
    void seekSomething(const RoundState& round, const Reach& reach);
    bool keepAway(const RoundState& round, const Reach& reach);
    bool bombForOtherPlayer(const RoundState& round, const Reach& reach, bool ownBombLying);
    int32_t nearestSpots(const RoundState& round, const Reach& reach,
                         Spot (&spots)[mostSpots]) const;
    bool closeIn(const RoundState& round, const Reach& reach);
    bool bombLeavesWayOut(const RoundState& round, int32_t x, int32_t y) const;
    // A bomb at (x, y) would leave the other player no way out of the fire.
    bool shutsIn(const RoundState& round, int32_t x, int32_t y) const;
    // A bomb whose flames open a laid wall within `near` cells of (tx, ty), or the walk to
    // where it is laid; false when there is none.
    bool openWall(const RoundState& round, const Reach& reach, int32_t tx, int32_t ty,
                  int32_t near);
    // Behind late in the round, a hit on this player costs it less than one on the other: a
    // bomb that shuts both in is worth laying.
    bool tradesAHit(const RoundState& round) const;
    // The other player is not to be bombed: back at home after a hit a moment ago, sheltered at
    // home (it blinks there), or with no points and no cheese left to lose.
    bool leftAlone(const RoundState& round) const;

    // BotWayOut.cpp: out of fire, pockets and standing still.
    void escape(const RoundState& round, const BurnMap& fire, Reach& reach);
    bool shelter(const RoundState& round, const BurnMap& fire, Reach& reach);
    // Walled into a few cells: into a trap, through the labyrinth or a bomb at a wall.
    bool leavePocket(const RoundState& round, const Reach& reach);
    // On somewhere else, kept until reached: a cell picked at random a few cells away.
    void walkOn(const RoundState& round, const Reach& reach, bool hunts);
    // Standing too long for whatever reason (a creature that does not move on, a way that
    // never opens): somewhere else for a while, or a bomb to open the way.
    void unstick(const RoundState& round, const BurnMap& fire, const Reach& reach);
    // Kept from its ways by a creature that does not move on: the ways past it as close as a
    // person would dare, into `close`, or else past it whatever it does, into `past`.
    const Reach& waysPastCreatures(const RoundState& round, const BurnMap& fire, Reach& close,
                                   Reach& past) const;
    // Into a trap next to it, which throws it somewhere else; with `reach`, one it reaches in a
    // step.
    bool stepIntoTrap(const RoundState& round, const Reach* reach);
    // Through the labyrinth leads somewhere from the cells of `reach`: a door whose way on is
    // open lies outside them, and is not known to lead nowhere.
    bool labyrinthLeadsOn(const RoundState& round, const Reach& reach) const;

    // BotLabyrinth.cpp.
    void labyrinth(const RoundState& round, bool* keys);
    // A newcomer's wrong way and hesitation, drawn on coming to a new cell.
    void slipInLabyrinth(const RoundState& round, int32_t column, int32_t row);

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
    CreatureMap creatures;
    // A cell's walk (ms) and the margin kept from a blast (ms), at this plan.
    float msPerCell = 200;
    float guard = 100;
};
