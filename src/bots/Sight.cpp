#include "bots/Sight.h"
#include "rules/RoundState.h"
#include "world/ArenaLayout.h"
#include <algorithm>
#include <cmath>

namespace {
constexpr int32_t side = BurnMap::side;
constexpr int32_t cheesePieces = MazeWorld::itemTotal - MazeWorld::firstCheese;
// Cells ahead of a creature that a player keeps out of: it runs faster than a player walks.
constexpr int32_t creatureRunCells = 3;
} // namespace

bool onArena(int32_t x, int32_t y) {
    return x >= 0 && x < side && y >= 0 && y < side;
}

int32_t homeColumn(int32_t number) {
    return number == 1 ? 0 : side - 1;
}

bool aboutHome(const RoundState& round, int32_t n) {
    const Player& p = round.player(n);
    return std::abs(static_cast<int32_t>(p.x) - homeColumn(n)) + static_cast<int32_t>(p.y) <= 1;
}

const Item* openItemAt(const RoundState& round, int32_t x, int32_t y) {
    const Cell& c = round.world.cell(x, y);
    const Item* item = round.world.itemIn(c);
    return item && !c.hasObstacle && item->taken == 0 ? item : nullptr;
}

const Item* itemNumbered(const RoundState& round, int32_t i) {
    return round.world.items[i].type != 0 ? &round.world.items[i] : nullptr;
}

bool bombLiesAt(const RoundState& round, int32_t x, int32_t y) {
    return round.world.cell(x, y).bomb != Cell::none;
}

bool trapLiesAt(const RoundState& round, int32_t x, int32_t y) {
    return round.world.cell(x, y).trap != Cell::none;
}

bool bombFits(const RoundState& round, int32_t x, int32_t y) {
    const Cell& c = round.world.cell(x, y);
    return c.open() && c.bomb == Cell::none;
}

bool isWayOff(const RoundState& round, int32_t x, int32_t y) {
    return MazeWorld::isHouseDoor(x, y) || trapLiesAt(round, x, y);
}

bool obstaclesLeft(const RoundState& round) {
    for (int32_t x = 0; x < side; ++x)
        for (int32_t y = 0; y < side; ++y)
            if (round.world.cell(x, y).hasObstacle)
                return true;
    return false;
}

bool walkable(const RoundState& round, int32_t x, int32_t y, bool start) {
    if (!onArena(x, y))
        return false;
    if (MazeWorld::isHouseDoor(x, y))
        return true;
    const Cell& c = round.world.cell(x, y);
    if (c.pillar || c.hasObstacle)
        return false;
    return start || (c.wall == Cell::none && c.bomb == Cell::none && c.trap == Cell::none);
}

int32_t waysOn(const RoundState& round, int32_t x, int32_t y) {
    int32_t ways = 0;
    for (int32_t m = 0; m < 4; ++m)
        ways += walkable(round, x + stepX[m], y + stepY[m], false) ? 1 : 0;
    return ways;
}

int32_t reachOfNextBomb(const Player& p) {
    for (int32_t i = 0; i < p.bombCapacity && i < tuning::bombSlots; ++i)
        if (p.bombs[i].ready)
            return p.bombs[i].reach;
    return p.bombs[0].reach;
}

int32_t cheeseInLabyrinth(const RoundState& round) {
    int32_t left = cheesePieces - round.player1.cheese - round.player2.cheese -
                   (round.player1.carryingCheese ? 1 : 0) - (round.player2.carryingCheese ? 1 : 0);
    for (int32_t i = MazeWorld::firstCheese; i < MazeWorld::itemTotal; ++i) {
        const Item* piece = itemNumbered(round, i);
        if (piece && piece->taken == 0 && piece->x >= 0 && piece->x < arena::labyrinthOrigin)
            --left;
    }
    return std::max(0, left);
}

uint64_t bombSignature(const Player& p) {
    uint64_t h = 1469598103934665603ull;
    for (const Bomb& b : p.bombs) {
        const uint64_t v = static_cast<uint64_t>(b.ready) |
                           static_cast<uint64_t>(b.exploding) << 1 |
                           static_cast<uint64_t>(b.dropTime * 8) << 2;
        h = (h ^ v) * 1099511628211ull;
    }
    return h;
}

namespace {
// -1, 0 or 1: the way a creature runs along one axis.
int32_t runningWay(float dir) {
    return dir > 0.5f ? 1 : dir < -0.5f ? -1 : 0;
}

// Keeps the cells within `berth` steps of (cx, cy) from a creature there.
void keepFrom(CreatureMap& map, int32_t cx, int32_t cy, int32_t berth) {
    for (int32_t dx = -berth; dx <= berth; ++dx)
        for (int32_t dy = -berth; dy <= berth; ++dy)
            if (onArena(cx + dx, cy + dy) && std::abs(dx) + std::abs(dy) <= berth)
                map.near[cx + dx][cy + dy] = true;
}
} // namespace

CreatureMap creaturesAbout(const RoundState& round, int32_t berth) {
    CreatureMap map;
    for (int32_t n = 1; n <= 4; ++n) {
        const Creature& c = round.creature(n);
        if (round.world.creatureHit[n - 1] || c.x < 0 || c.y < 0)
            continue;
        const int32_t cx = static_cast<int32_t>(c.x), cy = static_cast<int32_t>(c.y);
        if (onArena(cx, cy))
            map.cell[cx][cy] = true;
        keepFrom(map, cx, cy, berth);
        const int32_t ax = runningWay(c.dirX), ay = runningWay(c.dirY);
        for (int32_t i = 1; i <= creatureRunCells; ++i) {
            const int32_t x = cx + ax * i, y = cy + ay * i;
            if (!walkable(round, x, y, false) || MazeWorld::isHouseDoor(x, y))
                break;
            map.near[x][y] = true;
        }
    }
    return map;
}
