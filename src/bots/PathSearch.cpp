#include "bots/PathSearch.h"
#include "bots/CellSet.h"
#include "rules/RoundState.h"
#include "rules/RoundTick.h"
#include "world/ArenaLayout.h"
#include <algorithm>

namespace {
constexpr int32_t side = BurnMap::side;
constexpr int8_t stay = Reach::stay;
// A cell is taken to be passed from 0.6 of a cell's walk before the layer's time to 0.6 after.
constexpr float passingCells = 0.6f;
// A creature runs faster than a player walks: its cells stay shut for this many cells of the
// way.
constexpr int32_t creatureShutCells = 3;

// A cell fire will reach, with when.
struct Fire {
    int32_t x, y;
    float start, firstEnd, lastStart, end;
};

// The arena as the search sees it, read once.
struct Ground {
    CellSet open, doors, creatures;
    Fire fires[side * side];
    int32_t fireCount = 0;
    float lastFire = 0;
};

void readGround(const RoundState& round, const BurnMap& fire, const CreatureMap* creatures,
                int32_t sx, int32_t sy, float since, Ground& g) {
    for (int32_t x = 0; x < side; ++x)
        for (int32_t y = 0; y < side; ++y) {
            // A door leads into the labyrinth and a trap throws the player elsewhere: either can
            // be walked into, and neither walked through.
            const bool trap = trapLiesAt(round, x, y);
            if (walkable(round, x, y, false) || trap)
                g.open.add(x, y);
            if ((MazeWorld::isHouseDoor(x, y) || trap) && !(x == sx && y == sy))
                g.doors.add(x, y);
            if (creatures && creatures->near[x][y])
                g.creatures.add(x, y);
            if (fire.end[x][y] > since) {
                g.fires[g.fireCount++] = {x,
                                          y,
                                          fire.start[x][y],
                                          fire.firstEnd[x][y],
                                          fire.lastStart[x][y],
                                          fire.end[x][y]};
                g.lastFire = std::max(g.lastFire, fire.end[x][y]);
            }
        }
}

// The cells open to be passed during [from, to], and those no fire reaches from `from` on.
void openDuring(const Ground& g, float from, float to, CellSet& allowed, CellSet& clear) {
    allowed = g.open;
    clear = CellSet::all();
    for (int32_t i = 0; i < g.fireCount; ++i) {
        const Fire& f = g.fires[i];
        if ((f.start <= to && f.firstEnd >= from) || (f.lastStart <= to && f.end >= from))
            allowed.drop(f.x, f.y);
        if (f.end >= from)
            clear.drop(f.x, f.y);
    }
}

// The first layer: one step each way, or standing while no fire comes.
CellSet firstStep(const Ground& g, const BurnMap& fire, const CellSet& start, int32_t sx,
                  int32_t sy, int8_t m, const CellSet& allowed, float from, float to) {
    CellSet next;
    if (m < stay) {
        next = shifted(start, stepX[m], stepY[m]);
        for (int32_t y = 0; y < side; ++y)
            next.row[y] = static_cast<uint16_t>(next.row[y] & allowed.row[y] & ~g.creatures.row[y]);
    } else if (!fire.burnsDuring(sx, sy, from, to)) {
        next = start;
    }
    return next;
}

// A later layer: a step on from every cell of the way but doors and traps, which are ends.
CellSet nextStep(const Ground& g, const CellSet& was, int32_t k, const CellSet& allowed) {
    CellSet moving = was;
    for (int32_t y = 0; y < side; ++y)
        moving.row[y] = static_cast<uint16_t>(moving.row[y] & ~g.doors.row[y]);
    CellSet next = spread(moving);
    const bool nearTime = k <= creatureShutCells;
    for (int32_t y = 0; y < side; ++y)
        next.row[y] =
            static_cast<uint16_t>((next.row[y] | (was.row[y] & g.doors.row[y])) & allowed.row[y] &
                                  ~(nearTime ? g.creatures.row[y] & ~was.row[y] : 0));
    return next;
}

// The first move of a way to (x, y) at this layer: waiting first where it gets there as soon,
// or a detour and back, made again at every plan, would be a walk to and fro.
int8_t firstMoveTo(const CellSet (&by)[stay + 1], int32_t x, int32_t y) {
    if (by[stay].has(x, y))
        return stay;
    int8_t m = 0;
    while (m < stay && !by[m].has(x, y))
        ++m;
    return m;
}

// Notes the cells first reached, and first reached safe, at layer k; false when there are none.
bool note(Reach& reach, const CellSet (&by)[stay + 1], const CellSet& any, const CellSet& clear,
          int32_t k, CellSet& reached, CellSet& safe) {
    bool grew = false;
    for (int32_t y = 0; y < side; ++y) {
        const uint16_t fresh = static_cast<uint16_t>(any.row[y] & ~reached.row[y]);
        const uint16_t freshSafe = static_cast<uint16_t>(any.row[y] & clear.row[y] & ~safe.row[y]);
        if (!fresh && !freshSafe)
            continue;
        grew = true;
        reached.row[y] = static_cast<uint16_t>(reached.row[y] | fresh);
        safe.row[y] = static_cast<uint16_t>(safe.row[y] | freshSafe);
        for (int32_t x = 0; x < side; ++x) {
            const bool isFresh = (fresh >> x & 1) != 0, isSafe = (freshSafe >> x & 1) != 0;
            if (!isFresh && !isSafe)
                continue;
            const int8_t m = firstMoveTo(by, x, y);
            if (isFresh) {
                reach.layer[x][y] = static_cast<int16_t>(k);
                reach.move[x][y] = m;
            }
            if (isSafe) {
                reach.safeLayer[x][y] = static_cast<int16_t>(k);
                reach.safeMove[x][y] = m;
            }
        }
    }
    return grew;
}

void clearReach(Reach& reach) {
    for (int32_t x = 0; x < side; ++x)
        for (int32_t y = 0; y < side; ++y) {
            reach.layer[x][y] = reach.safeLayer[x][y] = -1;
            reach.move[x][y] = reach.safeMove[x][y] = stay;
        }
}
} // namespace

void searchReach(const RoundState& round, const BurnMap& fire, const CreatureMap* creatures,
                 int32_t sx, int32_t sy, const Pace& pace, Reach& reach, const PlannedBomb* laid) {
    const float t0 = tickTime(round.ticks);
    clearReach(reach);
    Ground g;
    g.lastFire = t0;
    readGround(round, fire, creatures, sx, sy, t0 - pace.guardMs, g);
    if (laid && !(laid->x == sx && laid->y == sy))
        g.open.drop(laid->x, laid->y);
    reach.layer[sx][sy] = 0;
    if (fire.clearFrom(sx, sy, t0 - pace.guardMs))
        reach.safeLayer[sx][sy] = 0;
    CellSet start;
    start.add(sx, sy);
    // by[m]: where the player can be at this layer, having first moved m.
    CellSet by[stay + 1];
    CellSet reached = start, safe;
    if (reach.safeLayer[sx][sy] == 0)
        safe = start;
    for (int32_t k = 1; k <= pace.layers; ++k) {
        const float from =
            t0 + (static_cast<float>(k) - passingCells) * pace.msPerCell - pace.guardMs;
        const float to =
            t0 + (static_cast<float>(k) + passingCells) * pace.msPerCell + pace.guardMs;
        CellSet allowed, clear, any;
        openDuring(g, from, to, allowed, clear);
        for (int8_t m = 0; m <= stay; ++m) {
            by[m] = k == 1 ? firstStep(g, fire, start, sx, sy, m, allowed, from, to)
                           : nextStep(g, by[m], k, allowed);
            for (int32_t y = 0; y < side; ++y)
                any.row[y] = static_cast<uint16_t>(any.row[y] | by[m].row[y]);
        }
        if (!note(reach, by, any, clear, k, reached, safe) && from > g.lastFire)
            break;
    }
}
