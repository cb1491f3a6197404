#pragma once
#include "bots/BurnMap.h"
#include <cstdint>

struct RoundState;
struct Player;
struct Item;

// What a computer player reads of the arena, kept in these few functions: what anyone watching
// it can see (open items, bombs, traps, walls, creatures, the score and the clock), never an
// item under an obstacle.

// The four steps along the arena's axes: +x, -x, +y, -y.
inline constexpr int32_t stepX[4] = {1, -1, 0, 0};
inline constexpr int32_t stepY[4] = {0, 0, 1, -1};

bool onArena(int32_t x, int32_t y);
// The column of player n's home corner (its row is 0).
int32_t homeColumn(int32_t number);
// Player n stands at its home corner or a step from it.
bool aboutHome(const RoundState& round, int32_t n);
// The item lying open on cell (x, y): none under an obstacle or already taken.
const Item* openItemAt(const RoundState& round, int32_t x, int32_t y);
// The item of the round's number i, or none.
const Item* itemNumbered(const RoundState& round, int32_t i);
bool bombLiesAt(const RoundState& round, int32_t x, int32_t y);
bool trapLiesAt(const RoundState& round, int32_t x, int32_t y);
// A bomb can be laid here: open ground (not a door of the house) with no bomb on it.
bool bombFits(const RoundState& round, int32_t x, int32_t y);
// A cell that takes a player off the arena's ways: a door of the house, or a trap.
bool isWayOff(const RoundState& round, int32_t x, int32_t y);
bool obstaclesLeft(const RoundState& round);
// A cell a player can walk into: a door of the house, or ground with nothing on it. `start`:
// the cell the walk begins on, left even with a bomb, wall or trap on it.
bool walkable(const RoundState& round, int32_t x, int32_t y, bool start);
// Open cells next to (x, y).
int32_t waysOn(const RoundState& round, int32_t x, int32_t y);
// The reach of the bomb the player would lay next.
int32_t reachOfNextBomb(const Player& p);
// Pieces of cheese still in the labyrinth, as anyone can count them: all of them, less those
// delivered, carried or lying in the arena.
int32_t cheeseInLabyrinth(const RoundState& round);
// Changes whenever a bomb of the player is laid, goes off or is spent.
uint64_t bombSignature(const Player& p);

// The cells creatures stand in, and those kept from them: `berth` cells on either side and the
// cells ahead of one, as far as it runs before a player could step aside.
struct CreatureMap {
    static constexpr int32_t side = BurnMap::side;
    bool near[side][side] = {};
    bool cell[side][side] = {};
};
CreatureMap creaturesAbout(const RoundState& round, int32_t berth);
