#include "bots/Bot.h"
#include "bots/Labyrinth.h"
#include "rules/RoundState.h"
#include "rules/RoundTick.h"
#include "world/ArenaLayout.h"
#include <algorithm>
#include <cmath>

namespace {
constexpr int32_t side = BurnMap::side;
// A way out's cost, in quarters of a cell's walk: a cell kept from creatures is worth two cells
// of walking, a door (or a trap) one and a half.
constexpr int32_t cellCost = 4;
constexpr int32_t creatureCost = 8;
constexpr int32_t doorCost = 6;
// With no cell clear of the fire in reach, the one where fire comes last, a farther one first
// by this much a cell (ms).
constexpr float fartherMsPerCell = 10;
// A door that led into a few walled-in cells is remembered as leading nowhere this long; it is
// found out coming into the pocket this soon after coming out.
constexpr float nowhereMs = 45000;
constexpr float justOutMs = 15000;
// In the last minute and a half every hit on a player with points left is a sure 5 points off
// its total: the other player is kept under pressure.
constexpr float pressMs = 90000;
// Walking on: to a cell this many cells of walk away at least and at most; pressing, one this
// many cells from the other player.
constexpr int32_t nearestRoamCells = 3;
constexpr int32_t farthestRoamCells = 14;
constexpr int32_t pressNearestCells = 2;
constexpr int32_t pressFarthestCells = 5;
// Trying another way: a cell this many cells of walk away at least and at most.
constexpr int32_t nearestUnstickCells = 2;
constexpr int32_t farthestUnstickCells = 10;
} // namespace

void Bot::escape(const RoundState& round, const BurnMap& fire, Reach& reach) {
    const Player& p = round.player(self);
    const int32_t cx = static_cast<int32_t>(p.x), cy = static_cast<int32_t>(p.y);
    if (reach.safeLayer[cx][cy] != 0) {
        // Running from fire: the bare pace of a step, and a thin margin.
        const Pace running{static_cast<float>(tickMs) / p.stepLength + static_cast<float>(tickMs),
                           2 * static_cast<float>(tickMs),
                           std::min(maxLayers, style.lookAheadCells)};
        searchReach(round, fire, &creatures, cx, cy, running, reach);
    }
    // Fire is certain, a creature only likely: with no way out around the creatures, the way
    // out past them.
    bool wayOut = false;
    for (int32_t x = 0; x < side && !wayOut; ++x)
        for (int32_t y = 0; y < side && !wayOut; ++y)
            wayOut = reach.safeLayer[x][y] > 0;
    if (!wayOut && reach.safeLayer[cx][cy] != 0)
        search(round, fire, reach, false, 0);
    about = creatures.near[cx][cy] && reach.safeLayer[cx][cy] == 0 ? "keeping from a creature"
                                                                   : "getting out of the fire";
    // A door leads out of every arena blast and away from every creature.
    if (MazeWorld::isHouseDoor(cx, cy)) {
        passThroughDoor(round, cx, cy);
        about = "escaping into the labyrinth";
        return;
    }
    // The cell it was already making for, while still clear: two ways out of equal length
    // never take turns.
    if (goal.aim == Aim::escape && !(goal.x == cx && goal.y == cy) &&
        reach.safeLayer[goal.x][goal.y] > 0 && !creatures.near[goal.x][goal.y]) {
        move = reach.safeMove[goal.x][goal.y];
        return;
    }
    if (shelter(round, fire, reach) || reach.safeLayer[cx][cy] == 0)
        return;
    // No cell clear of the fire in reach: the farthest reachable, where the fire comes last.
    float latest = -1;
    for (int32_t x = 0; x < side; ++x)
        for (int32_t y = 0; y < side; ++y) {
            const float when =
                fire.start[x][y] + fartherMsPerCell * static_cast<float>(reach.layer[x][y]);
            if (reach.layer[x][y] >= 0 && when > latest) {
                latest = when;
                move = reach.move[x][y];
            }
        }
}

bool Bot::shelter(const RoundState& round, const BurnMap& fire, Reach& reach) {
    const Player& p = round.player(self);
    const int32_t cx = static_cast<int32_t>(p.x), cy = static_cast<int32_t>(p.y);
    int32_t best = 1 << 20, bestX = -1, bestY = -1;
    for (int32_t x = 0; x < side; ++x)
        for (int32_t y = 0; y < side; ++y) {
            const bool door = isWayOff(round, x, y);
            // A door or a trap only has to be reached before the fire: beyond it lies the
            // labyrinth, or another cell.
            const int32_t layer = door ? reach.layer[x][y] : reach.safeLayer[x][y];
            if (layer < 0 || (x == cx && y == cy))
                continue;
            const int32_t cost = layer * cellCost + (creatures.near[x][y] ? creatureCost : 0) +
                                 (door ? doorCost : 0);
            if (cost < best) {
                best = cost;
                bestX = x;
                bestY = y;
            }
        }
    if (bestX < 0 && reach.safeLayer[cx][cy] == 0) {
        // Only a creature to keep from, and no way round it: past it, to where it is not.
        search(round, fire, reach, false, 0);
        for (int32_t cell = 0; cell < side * side; ++cell) {
            const int32_t x = cell / side, y = cell % side;
            const int32_t layer = reach.safeLayer[x][y];
            if (layer > 0 && !creatures.near[x][y] && !isWayOff(round, x, y) && layer < best) {
                best = layer;
                bestX = x;
                bestY = y;
            }
        }
    }
    if (bestX < 0)
        return false;
    goal = {Aim::escape, bestX, bestY};
    move = isWayOff(round, bestX, bestY) ? reach.move[bestX][bestY] : reach.safeMove[bestX][bestY];
    return true;
}

bool Bot::stepIntoTrap(const RoundState& round, const Reach* reach) {
    const Player& p = round.player(self);
    const int32_t cx = static_cast<int32_t>(p.x), cy = static_cast<int32_t>(p.y);
    for (int8_t m = 0; m < stay; ++m) {
        const int32_t x = cx + stepX[m], y = cy + stepY[m];
        if (onArena(x, y) && trapLiesAt(round, x, y) && (!reach || reach->layer[x][y] == 1) &&
            !creatures.near[x][y]) {
            goal = {};
            move = m;
            about = "stepping into a trap to get out";
            return true;
        }
    }
    return false;
}

bool Bot::leavePocket(const RoundState& round, const Reach& reach) {
    const Player& p = round.player(self);
    const int32_t cx = static_cast<int32_t>(p.x), cy = static_cast<int32_t>(p.y);
    // Walled into a few cells with a door: through the labyrinth and out by another.
    int32_t room = 0, doorX = -1, doorY = -1;
    for (int32_t x = 0; x < side; ++x)
        for (int32_t y = 0; y < side; ++y) {
            if (reach.layer[x][y] < 0)
                continue;
            if (!isWayOff(round, x, y))
                ++room;
            else if (MazeWorld::isHouseDoor(x, y) &&
                     (doorX < 0 || reach.layer[x][y] < reach.layer[doorX][doorY])) {
                doorX = x;
                doorY = y;
            }
        }
    const bool pocket = room <= pocketCells;
    // Or shut in by traps: one of them throws it somewhere else.
    if (pocket && stepIntoTrap(round, &reach))
        return true;
    // Just out of a door into this pocket: that door leads nowhere for a while, and through the
    // labyrinth is a way on only while another door's way on is open.
    if (doorX >= 0 && pocket && cameOutBy >= 0 && round.gameTime - outOfLabyrinthAt < justOutMs)
        leadsNowhereUntil[cameOutBy] = round.gameTime + nowhereMs;
    // A door cell takes no bomb: from a pocket of door cells alone, through the labyrinth anyway.
    if (doorX >= 0 && pocket && (labyrinthLeadsOn(round, reach) || room == 0)) {
        about = "going through the labyrinth";
        if (doorX == cx && doorY == cy) {
            passThroughDoor(round, cx, cy);
        } else {
            goal = {Aim::labyrinth, doorX, doorY};
            move = reach.move[doorX][doorY];
        }
        return true;
    }
    // Walled into a few cells for good: a bomb that opens a wall.
    if (pocket && openWall(round, reach, cx, cy, side)) {
        about = "bombing a way free";
        return true;
    }
    return false;
}

void Bot::walkOn(const RoundState& round, const Reach& reach, bool hunts) {
    const Player& p = round.player(self);
    const Player& other = round.player(3 - self);
    const int32_t cx = static_cast<int32_t>(p.x), cy = static_cast<int32_t>(p.y);
    const int32_t ox = static_cast<int32_t>(other.x), oy = static_cast<int32_t>(other.y);
    about = "walking on";
    if (goal.aim == Aim::roam && !(goal.x == cx && goal.y == cy) &&
        reach.safeLayer[goal.x][goal.y] > 0) {
        move = reach.safeMove[goal.x][goal.y];
        return;
    }
    // Hunting, between bombs, when behind or late with the other player's points still to
    // take: somewhere about the other player, to keep it under pressure.
    const bool presses = hunts && style.watchesOtherPlayer &&
                         (p.points < other.points ||
                          (tuning::roundMs - round.gameTime < pressMs && other.points > 0));
    int32_t candidates[side * side][2], count = 0;
    for (int32_t pass = presses ? 0 : 1; pass < 3 && count == 0; ++pass)
        for (int32_t cell = 0; cell < side * side; ++cell) {
            const int32_t x = cell / side, y = cell % side;
            const int32_t layer = reach.safeLayer[x][y];
            const int32_t apart = std::abs(ox - x) + std::abs(oy - y);
            const bool aboutOther = apart >= pressNearestCells && apart <= pressFarthestCells;
            if (layer >= (pass < 2 ? nearestRoamCells : 1) && layer <= farthestRoamCells &&
                !isWayOff(round, x, y) && !creatures.near[x][y] && (pass > 0 || aboutOther)) {
                candidates[count][0] = x;
                candidates[count++][1] = y;
            }
        }
    if (count == 0) {
        goal = {};
        about = "waiting for a way to open";
        stepIntoTrap(round, nullptr);
        return;
    }
    const int32_t pick = random.nextInt(0, count - 1);
    aimAt(Aim::roam, candidates[pick][0], candidates[pick][1], reach);
}

void Bot::unstick(const RoundState& round, const BurnMap& fire, const Reach& reach) {
    const Player& p = round.player(self);
    const int32_t cx = static_cast<int32_t>(p.x), cy = static_cast<int32_t>(p.y);
    about = "trying another way";
    // Shut into a few cells for good (walls or obstacles all round, say): the blast opens the
    // way, or sends it home, which costs less than the rest of the round.
    int32_t room = 0;
    bool wayOff = false;
    for (int32_t x = 0; x < side; ++x)
        for (int32_t y = 0; y < side; ++y)
            if (reach.layer[x][y] >= 0) {
                wayOff = wayOff || trapLiesAt(round, x, y) ||
                         (MazeWorld::isHouseDoor(x, y) && labyrinthLeadsOn(round, reach));
                ++room;
            }
    const bool canBomb = p.bombsReady > 0 && bombFits(round, cx, cy);
    if (canBomb && !wayOff && room <= pocketCells) {
        dropBomb = true;
        about = "bombing a way free";
        return;
    }
    creatures = creaturesAbout(round, 0);
    Reach close, past;
    const Reach& ways = waysPastCreatures(round, fire, close, past);
    if (goal.aim == Aim::roam && !(goal.x == cx && goal.y == cy) &&
        ways.safeLayer[goal.x][goal.y] > 0 && ways.safeMove[goal.x][goal.y] != stay) {
        move = ways.safeMove[goal.x][goal.y];
        return;
    }
    int32_t candidates[side * side][2], count = 0;
    for (int32_t x = 0; x < side; ++x)
        for (int32_t y = 0; y < side; ++y) {
            const int32_t layer = ways.safeLayer[x][y];
            if (layer >= nearestUnstickCells && layer <= farthestUnstickCells &&
                ways.safeMove[x][y] != stay && !isWayOff(round, x, y) && !creatures.near[x][y]) {
                candidates[count][0] = x;
                candidates[count++][1] = y;
            }
        }
    if (count > 0) {
        const int32_t pick = random.nextInt(0, count - 1);
        aimAt(Aim::roam, candidates[pick][0], candidates[pick][1], ways);
    } else if (canBomb && bombLeavesWayOut(round, cx, cy)) {
        dropBomb = true;
        about = "bombing a way free";
    } else if (MazeWorld::isHouseDoor(cx, cy)) {
        // On a door with no way on in the arena: the labyrinth is the only way left.
        passThroughDoor(round, cx, cy);
        about = "going through the labyrinth";
    }
}

const Reach& Bot::waysPastCreatures(const RoundState& round, const BurnMap& fire, Reach& close,
                                    Reach& past) const {
    search(round, fire, close, true, 0);
    for (int32_t x = 0; x < side; ++x)
        for (int32_t y = 0; y < side; ++y)
            if (close.safeLayer[x][y] >= nearestUnstickCells && close.safeMove[x][y] != stay)
                return close;
    search(round, fire, past, false, 0);
    return past;
}

bool Bot::labyrinthLeadsOn(const RoundState& round, const Reach& reach) const {
    for (int32_t i = 0; i < 4; ++i) {
        const LabyrinthExit& e = labyrinthExits[i];
        if (leadsNowhereUntil[i] <= round.gameTime && reach.layer[e.arenaX][e.arenaY] < 0 &&
            walkable(round, e.arenaX, e.arenaY, false))
            return true;
    }
    return false;
}
