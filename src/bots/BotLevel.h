#pragma once
#include <cstdint>
#include <string>

// How well a computer player plays.
enum class BotLevel { easy, normal, hard };

// "easy", "normal" or "hard"; false for anything else.
bool readBotLevel(const std::string& text, BotLevel& level);
const char* botLevelName(BotLevel level);

// What sets the levels apart. Ticks are the round's ticks (60 a second).
struct BotStyle {
    // Ticks before a change in the arena (a bomb laid, a blast, a creature turning) is acted on.
    int32_t reactionTicks;
    // Ticks a plan is followed before it is made again when nothing has changed.
    int32_t replanTicks;
    // Chance in 1000, per plan, of a wrong step or a moment's hesitation.
    int32_t errPerMille;
    int32_t hesitateTicks;
    // Milliseconds kept clear of a blast on either side of its burning.
    float blastGuardMs;
    // Cells of the way ahead planned around the fire.
    int32_t lookAheadCells;
    // Whether it fetches cheese from the labyrinth.
    bool fetchesCheese;
    // How keen it is on a bomb whose flames would reach the other player: in 1000ths of three
    // coins' points, three times that chasing a deficit late, nothing when keeping a lead.
    int32_t attackPerMille;
    // Cells kept from a creature.
    int32_t creatureBerth;
    // Whether it lays bombs for creatures; whether it keeps out of dead ends and lays no bomb
    // for obstacles with the other player near, and shuts that player in when it can.
    bool huntsCreatures;
    bool wary;
    // Spots from where a bomb's flames reach the other player that it weighs for one that shuts
    // it in (nearest first; at most 8): 0 none, 1 only the cell it stands on.
    int32_t shutInSpots = 0;
    // The simple plans the benchmark measures the levels against: bombing obstacles open or
    // not, taking only coins, staying beside the other player.
    // Chance in 1000, per plan, of a wrong turn: a step to a neighbouring cell off the way.
    int32_t wrongTurnPerMille = 0;
    // A walk held on all ticks but every restEvery-th (0: on all): a slower pace, except out of
    // fire.
    int32_t restEvery = 0;
    // What a trip into the labyrinth for cheese is worth before the walk, in a coin's points.
    float cheeseValue = 12;
    // Round ms from the start, and after each trip into the labyrinth, before the next.
    float tripGapMs = 0;
    bool opensObstacles = true;
    bool onlyCoins = false;
    bool shadows = false;
    // Whether it goes after the other player at all: bombs laid where the flames reach it, a
    // walk towards it with none ready.
    bool huntsOtherPlayer = false;
    // Whether it counts on the other player taking an item it reaches first, and keeps near it
    // between bombs when behind or late in the round.
    bool watchesOtherPlayer = false;
    // Whether it lays a second bomb, from a spot a few cells off, that leaves the other player
    // no way out of the first.
    bool shutsInFromAfar = false;
    // Chance in 1000, when the other player is close and it has a trap, of laying it.
    int32_t trapPerMille = 0;
    // Ticks from the round's start before its first look at the arena: a person takes in the
    // arena before the first key.
    int32_t firstLookTicks = 15;
    // Chance in 1000, per plan, of a bomb laid where it stands that opens nothing.
    int32_t poorBombPerMille = 0;
    // Its own bombs lying at once, at most (0: as many as it holds).
    int32_t mostBombsLying = 0;
};

BotStyle styleOf(BotLevel level);

// A rival of one simple plan for the benchmark: "coins" bombs obstacles open and takes only the
// coins, "picker" takes whatever lies open and never lays a bomb, "shadow" keeps within two
// cells of the other player and never lays a bomb. False for any other name.
bool readRivalStyle(const std::string& name, BotStyle& style);
