#include "world/Bomb.h"
#include "world/MazeWorld.h"
#include <algorithm>
#include <cmath>

namespace {

int32_t truncate(float v) {
    return static_cast<int32_t>(v);
}

// Entry of a player's bomb slot in bombX and bombY, or -1 for a slot or player that has none.
int32_t bombEntry(int32_t slot, int32_t playerNumber) {
    if (slot < 0 || slot > 9 || playerNumber < 1 || playerNumber > 2)
        return -1;
    return slot + 10 * (playerNumber - 1);
}

} // namespace

bool MazeWorld::placeBomb(float x, float y, int32_t slot, int32_t playerNumber) {
    Cell* c = arenaCell(x, y);
    const int32_t entry = bombEntry(slot, playerNumber);
    if (c == nullptr || entry < 0 || !c->open() || c->bomb != Cell::none)
        return false;
    c->bomb = static_cast<int8_t>(entry);
    events.tell(RoundEvent::of(RoundEvent::bombLaid, playerNumber, truncate(x), truncate(y)));
    bombX[entry] = static_cast<float>(truncate(x)) + 0.5f;
    bombY[entry] = static_cast<float>(truncate(y)) + 0.5f;
    return true;
}

void MazeWorld::clearBomb(float x, float y, int32_t slot, int32_t playerNumber) {
    if (x == -1.0f || y == -1.0f)
        return;
    if (Cell* c = arenaCell(x, y))
        c->bomb = Cell::none;
    const int32_t entry = bombEntry(slot, playerNumber);
    if (entry >= 0) {
        bombX[entry] = -1;
        bombY[entry] = -1;
    }
}

void MazeWorld::blast(Bomb& bomb, int32_t owner, const BombRack& rack, float now,
                      RandomGenerator& random) {
    blastOwner = owner;
    bomb.blastApplied = true;
    const int32_t cx = truncate(bomb.x);
    const int32_t cy = truncate(bomb.y);
    events.tell(RoundEvent::of(RoundEvent::blast, owner, cx, cy));
    burnCell(cx, cy, bomb.blastTime, rack, now, random);

    // Directions in the order +x, -x, +y, -y; each flame runs until something stops it.
    constexpr int32_t dx[4] = {1, -1, 0, 0};
    constexpr int32_t dy[4] = {0, 0, 1, -1};
    bool burning[4] = {true, true, true, true};
    for (int32_t i = 1; i <= bomb.reach; ++i) {
        for (int32_t d = 0; d < 4; ++d) {
            if (!burning[d])
                continue;
            const int32_t x = cx + dx[d] * i;
            const int32_t y = cy + dy[d] * i;
            if (x < 0 || x >= arenaSize || y < 0 || y >= arenaSize)
                continue;
            if (cells[x][y].pillar)
                burning[d] = false;
            else
                burning[d] = burnCell(x, y, bomb.blastTime, rack, now, random);
        }
    }
}

bool MazeWorld::burnCell(int32_t cellX, int32_t cellY, float time, const BombRack& rack, float now,
                         RandomGenerator& random) {
    if (cellX < 0 || cellX >= arenaSize || cellY < 0 || cellY >= arenaSize)
        return false;
    // The table holds every cell that can burn at once; a full one drops its oldest entry,
    // which has burnt out soonest.
    if (blastCellCount == maxBurningCells) {
        std::copy(blastCells + 1, blastCells + blastCellCount, blastCells);
        --blastCellCount;
    }
    blastCells[blastCellCount++] = {static_cast<int16_t>(cellX), static_cast<int16_t>(cellY), time};
    const bool hit = hitTest(cellX, cellY, rack.figures);
    Cell& c = cells[cellX][cellY];

    if (c.wall != Cell::none) {
        WallBlock& wall = walls[c.wall];
        wall.free = true;
        wall.x = -1;
        wall.y = -1;
        c.wall = Cell::none;
        events.tell(RoundEvent::of(RoundEvent::wallBurnt, 0, cellX, cellY));
        returnItem(kindWall, random);
        return false;
    }
    if (c.hasObstacle) {
        if (c.obstacle != Cell::none)
            obstacles[c.obstacle].destroyed = true;
        c.obstacle = Cell::none;
        c.hasObstacle = false;
        events.tell(RoundEvent::of(RoundEvent::obstacleOpened, 0, cellX, cellY));
        return false;
    }
    if (c.bomb == Cell::none)
        return !hit;
    Bomb& bomb = rack.at(c.bomb);
    if (bomb.exploding)
        return false;
    // A flame sets the bomb off now, whatever is left of its fuse; its own blast follows on
    // its owner's next tick.
    bomb.exploding = true;
    bomb.blastTime = now;
    return false;
}

bool MazeWorld::hitTest(int32_t cellX, int32_t cellY, const FigurePlaces& figures) {
    const float d = figures.playerRadius - 0.1f;
    const float left = static_cast<float>(cellX);
    const float right = static_cast<float>(cellX + 1);
    const float bottom = static_cast<float>(cellY);
    const float top = static_cast<float>(cellY + 1);
    // In the cell, or close to one of its four corners.
    auto isHit = [&](float px, float py) {
        if (truncate(px) == cellX && truncate(py) == cellY)
            return true;
        const bool nearX = std::fabs(px - left) < d || std::fabs(px - right) < d;
        const bool nearY = std::fabs(py - bottom) < d || std::fabs(py - top) < d;
        return nearX && nearY;
    };

    bool anything = false;
    for (int32_t i = 0; i < 2; ++i) {
        if (!isHit(figures.playerX[i], figures.playerY[i]) || homeShelter[i])
            continue;
        if (!respawnRequest[i])
            respawnCause[i] = blastOwner;
        respawnRequest[i] = true;
        anything = true;
    }
    for (int32_t i = 0; i < 4; ++i) {
        if (!creatureHit[i] && isHit(figures.creatureX[i], figures.creatureY[i])) {
            creatureHit[i] = true;
            events.tell(RoundEvent::of(RoundEvent::creatureBlasted, 0, cellX, cellY, i + 1));
            anything = true;
        }
    }
    return anything;
}

void MazeWorld::expireBlastCells(float now) {
    // A cell burns through its last millisecond; its bomb's slot is free again from that
    // millisecond on.
    const BurningCell* end =
        std::remove_if(blastCells, blastCells + blastCellCount,
                       [now](const BurningCell& b) { return now - b.time > tuning::burnMs; });
    blastCellCount = static_cast<int32_t>(end - blastCells);
}

void MazeWorld::advanceBlastCells(float now, RandomGenerator& random) {
    expireBlastCells(now);
    for (int32_t i = 0; i < blastCellCount; ++i)
        blastParticles.advance(random);
}
