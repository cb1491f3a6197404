#include "bots/BurnMap.h"
#include "rules/RoundState.h"
#include "rules/RoundTick.h"
#include "world/ArenaLayout.h"
#include "world/Bomb.h"
#include <algorithm>

namespace {
constexpr int32_t side = BurnMap::side;
constexpr int32_t dirX[4] = {1, -1, 0, 0};
constexpr int32_t dirY[4] = {0, 0, 1, -1};

struct Fuse {
    int32_t x, y, reach;
    float time;
    bool done;
};

// Blasts come in the order they go off (the cells burning now first), so a blast either
// overlaps the last span of the cell or opens a new one after a gap; a third span is joined to
// the second, gap and all.
void burn(BurnMap& map, int32_t x, int32_t y, float time) {
    const float until = time + tuning::burnMs;
    float &start = map.start[x][y], &firstEnd = map.firstEnd[x][y];
    float &lastStart = map.lastStart[x][y], &end = map.end[x][y];
    map.any = true;
    if (start == BurnMap::never) {
        start = lastStart = time;
        firstEnd = end = until;
    } else if (time <= end) {
        const bool one = firstEnd == end;
        start = std::min(start, time);
        end = std::max(end, until);
        if (one)
            firstEnd = end;
    } else if (firstEnd == end) {
        lastStart = time;
        end = until;
    } else {
        end = until;
    }
}

// Sets off the bombs lying on cell (x, y) a tick after `time`; false when there are none.
bool setOff(Fuse* fuses, int32_t count, int32_t x, int32_t y, float time) {
    bool any = false;
    for (int32_t b = 0; b < count; ++b) {
        if (fuses[b].done || fuses[b].x != x || fuses[b].y != y)
            continue;
        fuses[b].time = std::min(fuses[b].time, time + static_cast<float>(tickMs));
        any = true;
    }
    return any;
}

// One blast in time order: flames stop at pillars, at standing obstacles and laid walls (which
// they take away for later blasts) and at bombs, which they set off a tick later.
void spread(const MazeWorld& world, BurnMap& map, Fuse& bomb, Fuse* fuses, int32_t count,
            bool (&gone)[side][side]) {
    bomb.done = true;
    burn(map, bomb.x, bomb.y, bomb.time);
    for (int32_t d = 0; d < 4; ++d) {
        for (int32_t i = 1; i <= bomb.reach; ++i) {
            const int32_t x = bomb.x + dirX[d] * i, y = bomb.y + dirY[d] * i;
            if (x < 0 || x >= side || y < 0 || y >= side)
                break;
            const Cell& c = world.cell(x, y);
            if (c.pillar)
                break;
            burn(map, x, y, bomb.time);
            if (!gone[x][y] && (c.hasObstacle || c.wall != Cell::none)) {
                gone[x][y] = true;
                break;
            }
            if (setOff(fuses, count, x, y, bomb.time))
                break;
        }
    }
}
} // namespace

BurnMap burnMap(const RoundState& round, const PlannedBomb* planned, int32_t other,
                float othersSeenUntil) {
    BurnMap map;
    for (auto* spans : {&map.start, &map.lastStart})
        for (auto& column : *spans)
            std::fill(std::begin(column), std::end(column), BurnMap::never);
    for (auto* spans : {&map.firstEnd, &map.end})
        for (auto& column : *spans)
            std::fill(std::begin(column), std::end(column), -BurnMap::never);
    for (const BurningCell& b : round.world.burning())
        if (b.x >= 0 && b.x < side && b.y >= 0 && b.y < side)
            burn(map, b.x, b.y, b.time);

    Fuse fuses[21];
    int32_t count = 0;
    for (int n = 1; n <= 2; ++n)
        for (const Bomb& b : round.player(n).bombs) {
            if (b.ready || b.blastApplied || b.x < 0 || b.y < 0)
                continue;
            if (n == other && !b.exploding && b.dropTime > othersSeenUntil)
                continue;
            const float time = b.exploding ? b.blastTime : b.dropTime + tuning::fuseMs;
            fuses[count++] = {static_cast<int32_t>(b.x), static_cast<int32_t>(b.y), b.reach, time,
                              false};
        }
    if (planned)
        fuses[count++] = {planned->x, planned->y, planned->reach, planned->blastTime, false};
    bool gone[side][side] = {};
    for (;;) {
        Fuse* next = nullptr;
        for (int32_t i = 0; i < count; ++i)
            if (!fuses[i].done && (!next || fuses[i].time < next->time))
                next = &fuses[i];
        if (!next)
            break;
        spread(round.world, map, *next, fuses, count, gone);
    }
    return map;
}

int32_t blastCellsOf(const RoundState& round, int32_t x, int32_t y, int32_t reach,
                     int32_t cells[][2], int32_t& opened) {
    int32_t count = 0;
    opened = 0;
    cells[count][0] = x;
    cells[count++][1] = y;
    for (int32_t d = 0; d < 4; ++d) {
        for (int32_t i = 1; i <= reach; ++i) {
            const int32_t cx = x + dirX[d] * i, cy = y + dirY[d] * i;
            if (cx < 0 || cx >= side || cy < 0 || cy >= side)
                break;
            const Cell& c = round.world.cell(cx, cy);
            if (c.pillar)
                break;
            cells[count][0] = cx;
            cells[count++][1] = cy;
            opened += c.hasObstacle ? 1 : 0;
            if (c.hasObstacle || c.wall != Cell::none || c.bomb != Cell::none)
                break;
        }
    }
    return count;
}
