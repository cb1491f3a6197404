#include "bots/Bot.h"
#include "rules/RoundState.h"
#include "rules/RoundTick.h"
#include "world/ArenaLayout.h"
#include <algorithm>
#include <cmath>

namespace {
constexpr int32_t side = BurnMap::side;
// A player sent home is left alone there this long, or it would be bombed again as soon as it
// is back.
constexpr float backHomeMs = 6000;
// Keeping a lead: a cell this many cells of walk away at least and at most, scored by how far
// it is from the other player (counted up to keepApartCells).
constexpr int32_t keepAwayNearest = 4;
constexpr int32_t keepAwayFarthest = 10;
constexpr int32_t keepApartCells = 8;
// Spots from where a bomb's flames reach the other player that are weighed, nearest first: at
// least this many even for a level that never shuts in; the spot in hand counts as this many
// cells nearer.
constexpr int32_t fewestSpots = 3;
constexpr int32_t spotInHandCells = 3;
// With no bomb ready, it closes in to within this many cells of the other player, and keeps
// to a spot no farther than closeInKeptCells from it.
constexpr int32_t closeInCells = 3;
constexpr int32_t closeInKeptCells = 4;
// A way out of its own bomb's fire longer than this (cells) is a slip from being caught.
constexpr int32_t longestWayOut = 10;
} // namespace

void Bot::seekSomething(const RoundState& round, const Reach& reach) {
    const Player& p = round.player(self);
    const Player& other = round.player(3 - self);
    const int32_t cx = static_cast<int32_t>(p.x), cy = static_cast<int32_t>(p.y);
    const int32_t ox = static_cast<int32_t>(other.x), oy = static_cast<int32_t>(other.y);
    const bool otherInArena = !round.world.freeRoam[2 - self] && onArena(ox, oy);
    if (otherInArena && style.huntsOtherPlayer && keepsLead(round) && keepAway(round, reach))
        return;
    // After the other player: a cell from where a bomb's flames reach it, one bomb at a time
    // (chains of its own bombs are where a hunter gets caught) unless the next one shuts it in
    // with the first; with none ready, close by.
    bool ownBombLying = false;
    for (const Bomb& b : p.bombs)
        ownBombLying = ownBombLying || b.lyingUnexploded() || b.exploding;
    const bool hunts = otherInArena && style.huntsOtherPlayer && !leftAlone(round);
    // A walk on somewhere, once begun, is ended before closing in again: at the edge of closing
    // in it would otherwise turn at every step.
    const bool roaming = goal.aim == Aim::roam && !(goal.x == cx && goal.y == cy) &&
                         reach.safeLayer[goal.x][goal.y] > 0;
    const bool armed = hunts && p.bombsReady > 0;
    if (armed && (!ownBombLying || style.shutsInFromAfar) &&
        bombForOtherPlayer(round, reach, ownBombLying))
        return;
    if (!(armed && !ownBombLying) && hunts && !obstaclesLeft(round) && !roaming &&
        std::abs(ox - cx) + std::abs(oy - cy) > closeInCells && closeIn(round, reach))
        return;
    if (leavePocket(round, reach))
        return;
    walkOn(round, reach, hunts);
}

bool Bot::keepAway(const RoundState& round, const Reach& reach) {
    const Player& p = round.player(self);
    const Player& other = round.player(3 - self);
    const int32_t cx = static_cast<int32_t>(p.x), cy = static_cast<int32_t>(p.y);
    const int32_t ox = static_cast<int32_t>(other.x), oy = static_cast<int32_t>(other.y);
    about = "keeping the lead";
    // A lead late in the round is kept: away from the other player's bombs.
    if (goal.aim == Aim::roam && !(goal.x == cx && goal.y == cy) &&
        reach.safeLayer[goal.x][goal.y] > 0 && std::abs(ox - goal.x) + std::abs(oy - goal.y) >= 2) {
        move = reach.safeMove[goal.x][goal.y];
        return true;
    }
    int32_t far = -1, bestX = -1, bestY = -1;
    for (int32_t x = 0; x < side; ++x)
        for (int32_t y = 0; y < side; ++y) {
            const int32_t layer = reach.safeLayer[x][y];
            if (layer < keepAwayNearest || layer > keepAwayFarthest || isWayOff(round, x, y) ||
                creatures.near[x][y])
                continue;
            // Apart, with room to turn, not much of a walk, and not always the same.
            const int32_t score =
                4 * std::min(keepApartCells, std::abs(ox - x) + std::abs(oy - y)) +
                2 * waysOn(round, x, y) - layer + random.nextInt(0, 8);
            if (score > far) {
                far = score;
                bestX = x;
                bestY = y;
            }
        }
    if (bestX < 0)
        return false;
    aimAt(Aim::roam, bestX, bestY, reach);
    return true;
}

bool Bot::bombForOtherPlayer(const RoundState& round, const Reach& reach, bool ownBombLying) {
    const Player& p = round.player(self);
    const Player& other = round.player(3 - self);
    const int32_t cx = static_cast<int32_t>(p.x), cy = static_cast<int32_t>(p.y);
    const int32_t ox = static_cast<int32_t>(other.x), oy = static_cast<int32_t>(other.y);
    Spot spots[mostSpots];
    int32_t count = nearestSpots(round, reach, spots);
    // Where the bomb would leave it no way out, if one of them does.
    int32_t pick = 0;
    bool shut = false;
    if (style.shutsInFromAfar)
        for (int32_t i = 0; i < count && !shut; ++i)
            if (shutsIn(round, spots[i].x, spots[i].y)) {
                pick = i;
                shut = true;
            }
    if (ownBombLying && !shut)
        count = 0;
    // Out of reach behind laid walls: a bomb that opens the way.
    if (count == 0 && !ownBombLying && !obstaclesLeft(round) &&
        openWall(round, reach, ox, oy, closeCells)) {
        about = "opening the way to the other player";
        return true;
    }
    if (count == 0)
        return false;
    if (spots[pick].x != cx || spots[pick].y != cy) {
        aimAt(Aim::hunt, spots[pick].x, spots[pick].y, reach);
        about = "going after the other player";
        return true;
    }
    if (bombLeavesWayOut(round, cx, cy) || (shut && tradesAHit(round))) {
        dropBomb = true;
        goal = {};
        about = "laying a bomb for the other player";
        return true;
    }
    noBombUntil[cx][cy] = tickTime(round.ticks) + bombSpotRestMs;
    return false;
}

int32_t Bot::nearestSpots(const RoundState& round, const Reach& reach,
                          Spot (&spots)[mostSpots]) const {
    const Player& p = round.player(self);
    const Player& other = round.player(3 - self);
    const int32_t ox = static_cast<int32_t>(other.x), oy = static_cast<int32_t>(other.y);
    const float t0 = tickTime(round.ticks);
    int32_t cells[mostBlastCells][2], opened = 0;
    const int32_t n = blastCellsOf(round, ox, oy, p.bombs[0].reach, cells, opened);
    const int32_t weighed = std::clamp(style.shutInSpots, fewestSpots, mostSpots);
    int32_t count = 0;
    for (int32_t i = 0; i < n; ++i) {
        const int32_t x = cells[i][0], y = cells[i][1];
        const int32_t layer = reach.safeLayer[x][y];
        if (layer < 0 || isWayOff(round, x, y) || bombLiesAt(round, x, y) ||
            noBombUntil[x][y] > t0 || (x == ox && y == oy))
            continue;
        const bool inHand = goal.aim == Aim::hunt && goal.x == x && goal.y == y;
        const int32_t cost = layer - (inHand ? spotInHandCells : 0);
        // Into the sorted list, the farthest falling off a full one.
        int32_t at = count < weighed ? count++ : weighed;
        while (at > 0 && spots[at - 1].cost > cost) {
            if (at < weighed)
                spots[at] = spots[at - 1];
            --at;
        }
        if (at < weighed)
            spots[at] = {x, y, cost};
    }
    return count;
}

bool Bot::closeIn(const RoundState& round, const Reach& reach) {
    const Player& p = round.player(self);
    const Player& other = round.player(3 - self);
    const int32_t cx = static_cast<int32_t>(p.x), cy = static_cast<int32_t>(p.y);
    const int32_t ox = static_cast<int32_t>(other.x), oy = static_cast<int32_t>(other.y);
    // No bomb ready yet: towards the other player, to be near when one is; to where it was
    // seen while it is still about there. Only by ways clear of the fire.
    const bool kept = goal.aim == Aim::hunt && !(goal.x == cx && goal.y == cy) &&
                      std::abs(ox - goal.x) + std::abs(oy - goal.y) <= closeInKeptCells &&
                      reach.safeLayer[goal.x][goal.y] > 0;
    if (!kept) {
        int32_t nearest = 1 << 20;
        goal = {};
        for (int32_t cell = 0; cell < side * side; ++cell) {
            const int32_t x = cell / side, y = cell % side;
            const int32_t layer = reach.safeLayer[x][y];
            const int32_t cost = 4 * (std::abs(ox - x) + std::abs(oy - y)) + layer;
            if (layer >= 0 && cost < nearest && !isWayOff(round, x, y) && !creatures.near[x][y]) {
                nearest = cost;
                goal = {Aim::hunt, x, y};
            }
        }
    }
    if (goal.aim != Aim::hunt)
        return false;
    move = goal.x == cx && goal.y == cy ? stay : reach.safeMove[goal.x][goal.y];
    about = "closing in on the other player";
    return true;
}

bool Bot::shutsIn(const RoundState& round, int32_t x, int32_t y) const {
    const Player& p = round.player(self);
    const Player& other = round.player(3 - self);
    if (round.world.freeRoam[2 - self] || !bombFits(round, x, y) || leftAlone(round))
        return false;
    const float t0 = tickTime(round.ticks);
    const PlannedBomb bomb{x, y, reachOfNextBomb(p), t0 + tuning::fuseMs};
    const BurnMap fire = burnMap(round, &bomb);
    const int32_t ox = static_cast<int32_t>(other.x), oy = static_cast<int32_t>(other.y);
    if (!onArena(ox, oy) || fire.clearFrom(ox, oy, t0))
        return false;
    // A door or a trap reached before the fire leads out of it too.
    auto wayOut = [&](const BurnMap& map, const PlannedBomb* laid) {
        Reach reach;
        search(round, map, reach, false, 3 - self, laid);
        for (int32_t cell = 0; cell < side * side; ++cell) {
            const int32_t cx = cell / side, cy = cell % side;
            if ((isWayOff(round, cx, cy) ? reach.layer[cx][cy] : reach.safeLayer[cx][cy]) >= 0)
                return true;
        }
        return false;
    };
    // Shut in already by the bombs lying, it needs no other.
    return !wayOut(fire, &bomb) && wayOut(burnMap(round), nullptr);
}

bool Bot::bombLeavesWayOut(const RoundState& round, int32_t x, int32_t y) const {
    const Player& p = round.player(self);
    const float t0 = tickTime(round.ticks);
    const PlannedBomb bomb{x, y, reachOfNextBomb(p), t0 + tuning::fuseMs};
    const BurnMap fire =
        burnMap(round, &bomb, 3 - self, t0 - static_cast<float>(style.reactionTicks * tickMs));
    Reach reach;
    search(round, fire, reach, true, 0);
    // A way out that a creature does not stand in, and not so long that a slip costs the round;
    // a door or a trap reached before the fire leads out of it.
    for (int32_t cx = 0; cx < side; ++cx)
        for (int32_t cy = 0; cy < side; ++cy) {
            const bool door = isWayOff(round, cx, cy);
            const int32_t layer = door ? reach.layer[cx][cy] : reach.safeLayer[cx][cy];
            if (layer > 0 && layer <= longestWayOut && !creatures.near[cx][cy])
                return true;
        }
    return false;
}

bool Bot::openWall(const RoundState& round, const Reach& reach, int32_t tx, int32_t ty,
                   int32_t near) {
    const Player& p = round.player(self);
    if (p.bombsReady == 0)
        return false;
    const int32_t cx = static_cast<int32_t>(p.x), cy = static_cast<int32_t>(p.y);
    const float t0 = tickTime(round.ticks);
    int32_t best = 1 << 20, bestX = -1, bestY = -1;
    int32_t cells[mostBlastCells][2], opened = 0;
    for (int32_t cell = 0; cell < side * side; ++cell) {
        const int32_t x = cell / side, y = cell % side;
        const int32_t layer = reach.safeLayer[x][y];
        if (layer < 0 || layer >= best || isWayOff(round, x, y) || !bombFits(round, x, y) ||
            noBombUntil[x][y] > t0 || creatures.near[x][y])
            continue;
        const int32_t n = blastCellsOf(round, x, y, reachOfNextBomb(p), cells, opened);
        for (int32_t i = 0; i < n; ++i) {
            const int32_t apart = std::abs(cells[i][0] - tx) + std::abs(cells[i][1] - ty);
            if (round.world.cell(cells[i][0], cells[i][1]).wall != Cell::none && apart <= near &&
                layer + apart < best) {
                best = layer + apart;
                bestX = x;
                bestY = y;
            }
        }
    }
    if (bestX < 0)
        return false;
    if (bestX != cx || bestY != cy) {
        aimAt(Aim::bomb, bestX, bestY, reach);
        return true;
    }
    if (!bombLeavesWayOut(round, cx, cy)) {
        noBombUntil[cx][cy] = t0 + bombSpotRestMs;
        return false;
    }
    dropBomb = true;
    goal = {};
    return true;
}

bool Bot::tradesAHit(const RoundState& round) const {
    const int32_t mine = round.player(self).points, theirs = round.player(3 - self).points;
    const bool late = tuning::roundMs - round.gameTime < chaseMs || !obstaclesLeft(round);
    return late && mine < theirs &&
           std::min(mine, tuning::hitPenalty) < std::min(theirs, tuning::hitPenalty);
}

bool Bot::leftAlone(const RoundState& round) const {
    const int32_t other = 3 - self;
    const Player& them = round.player(other);
    if (round.world.sheltered(other) || (them.points <= 0 && !them.carryingCheese))
        return true;
    return aboutHome(round, other) && round.gameTime - otherSentHomeAt < backHomeMs;
}
