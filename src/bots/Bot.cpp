#include "bots/Bot.h"
#include "rules/Controls.h"
#include "rules/LabyrinthSight.h"
#include "rules/RoundState.h"
#include "rules/RoundTick.h"
#include "world/ArenaLayout.h"
#include <algorithm>
#include <cmath>

namespace {
constexpr int32_t side = BurnMap::side;
constexpr int32_t moveX[4] = {1, -1, 0, 0};
constexpr int32_t moveY[4] = {0, 0, 1, -1};
constexpr int32_t cheesePieces = MazeWorld::itemTotal - MazeWorld::firstCheese;
// Leaving the labyrinth this long before the end, and no trips into it later.
constexpr float lastLabyrinthMs = tuning::roundMs - 45000;

bool onArena(int32_t x, int32_t y) {
    return x >= 0 && x < side && y >= 0 && y < side;
}

int32_t homeColumn(int32_t number) {
    return number == 1 ? 0 : side - 1;
}

// Player n stands at its home corner or a step from it.
bool aboutHome(const RoundState& round, int32_t n) {
    const Player& p = round.player(n);
    return std::abs(static_cast<int32_t>(p.x) - homeColumn(n)) + static_cast<int32_t>(p.y) <= 1;
}
// A player sent home is left alone there this long, or it would be bombed again as soon as it
// is back.
constexpr float backHomeMs = 6000;

// What an item lying open is worth to this player now, in the points of a coin.
float itemValue(const Player& p, int32_t kind) {
    switch (kind) {
    case kindBomb:
        return p.bombCapacity < 5 ? 3.0f : 1.0f;
    case kindFire:
        return p.bombs[0].reach < 5 ? 3.0f : 1.0f;
    case kindMaxFire:
        return p.bombs[0].reach < 14 ? 3.0f : 0.5f;
    case kindSpeed:
        return p.stepLength < 0.25f ? 3.0f : 0.5f;
    case kindWall:
    case kindTrap:
        return 1.0f;
    case kindCoin:
        return 2.5f;
    case kindCheese:
        return p.carryingCheese ? 0.0f : 14.0f;
    default:
        return 0.0f;
    }
}

// What the computer player reads of a cell beyond its ground: kept in these few lines.
const Item* openItemAt(const RoundState& round, int32_t x, int32_t y) {
    const Cell& c = round.world.cell(x, y);
    const Item* item = round.world.itemIn(c);
    return item && !c.hasObstacle && item->taken == 0 ? item : nullptr;
}

bool bombLiesAt(const RoundState& round, int32_t x, int32_t y) {
    return round.world.cell(x, y).bomb != Cell::none;
}

// The reach of the bomb the player would lay next.
int32_t reachOfNextBomb(const Player& p) {
    for (int32_t i = 0; i < p.bombCapacity && i < 10; ++i)
        if (p.bombs[i].ready)
            return p.bombs[i].reach;
    return p.bombs[0].reach;
}

// A bomb can be laid here: open ground (not a door of the house) with no bomb on it.
bool bombFits(const RoundState& round, int32_t x, int32_t y) {
    const Cell& c = round.world.cell(x, y);
    return c.open() && c.bomb == Cell::none;
}

bool trapLiesAt(const RoundState& round, int32_t x, int32_t y) {
    return round.world.cell(x, y).trap != Cell::none;
}

// A cell that takes a player off the arena's ways: a door of the house, or a trap.
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

// The item of the round's number i, or none.
const Item* itemNumbered(const RoundState& round, int32_t i) {
    return round.world.items[i].type != 0 ? &round.world.items[i] : nullptr;
}

// A goal in hand counts for this much more than a new one, so a plan is not dropped for a
// target a hair better.
constexpr float keepFactor = 1.6f;
// Standing this long inside a box of this side, not for a blast to burn out, is being stuck.
constexpr uint32_t stuckTicks = 4 * 60;
constexpr float stuckBox = 1.2f;

// Pieces of cheese still in the labyrinth, as anyone can count them: all of them, less those
// delivered, carried or lying in the arena.
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

// Behind in the last minutes of the round, risks are taken.
constexpr float chaseMs = 120000;

// In the last minute and a half every hit on a player with points left is a sure 5 points off
// its total: the other player is kept under pressure.
constexpr float pressMs = 90000;

// With a lead in the last minutes, what the other player could still turn: two hits on this one
// and every piece of cheese not yet home. A lead beyond that is safe, and play goes on.
constexpr float leadKeptMs = 40000;
bool keepsLead(const RoundState& round, int32_t self) {
    const Player& p = round.player(self);
    const Player& other = round.player(3 - self);
    const int32_t lead = p.points - other.points;
    const int32_t open = cheesePieces - round.player1.cheese - round.player2.cheese;
    return tuning::roundMs - round.gameTime < leadKeptMs && lead > 0 && lead <= 10 + 10 * open;
}

// Changes whenever a bomb of player n is laid, goes off or is spent.
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

// The labyrinth's cells that lead out, the way out, and the arena cell in front of that door.
struct LabyrinthExit {
    int32_t column, row, outX, outY, arenaX, arenaY;
};
constexpr LabyrinthExit exits[4] = {
    {4, 0, 0, -1, 7, 7}, {4, 8, 0, 1, 7, 11}, {0, 4, -1, 0, 5, 9}, {8, 4, 1, 0, 9, 9}};

// The exit of the door at arena cell (x, y) or just in front of it, or -1.
int32_t exitNear(int32_t x, int32_t y) {
    for (int32_t i = 0; i < 4; ++i) {
        const LabyrinthExit& e = exits[i];
        if ((x == e.arenaX && y == e.arenaY) || (x == e.arenaX - e.outX && y == e.arenaY - e.outY))
            return i;
    }
    return -1;
}
// A door that led into a few walled-in cells is remembered as leading nowhere this long.
constexpr float nowhereMs = 45000;
// Into the labyrinth out of fire or a pocket, back out by the same door no sooner than this:
// a blast's fuse and burning, and a moment more. A pocket it leads back into is remembered then.
constexpr float backOutMs = tuning::fuseMs + 1500;
} // namespace

Bot::Bot(BotLevel level, uint32_t roundSeed, int32_t playerNumber)
    : skill(level), style(styleOf(level)), self(playerNumber),
      random(roundSeed ^ (0x9E3779B9u * static_cast<uint32_t>(playerNumber + 1))) {}

Bot::Bot(const BotStyle& style, uint32_t roundSeed, int32_t playerNumber)
    : Bot(BotLevel::normal, roundSeed, playerNumber) {
    this->style = style;
}

bool Bot::chance(int32_t perMille) {
    return perMille > 0 && random.nextInt(0, 999) < perMille;
}

void Bot::press(const RoundState& round, KeyState& keys) {
    bool* k = keys.player[self - 1];
    std::fill(k, k + playerKeyCount, false);
    if (round.roundOver)
        return;
    if (wasInLabyrinth && !round.world.freeRoam[self - 1]) {
        const Player& p = round.player(self);
        outOfLabyrinthAt = round.gameTime;
        cameOutBy = exitNear(static_cast<int32_t>(p.x), static_cast<int32_t>(p.y));
    }
    wasInLabyrinth = round.world.freeRoam[self - 1];
    if (round.world.freeRoam[self - 1]) {
        planned = false;
        fleeing = false;
        labyrinth(round, k);
    } else {
        arena(round, k);
    }
    if (style.restEvery > 0 && round.ticks % static_cast<uint32_t>(style.restEvery) == 0 &&
        !fleeing)
        k[keyForward] = k[keyBack] = k[keyLeft] = k[keyRight] = false;
}

bool Bot::walkable(const RoundState& round, int32_t x, int32_t y, bool start) const {
    if (!onArena(x, y))
        return false;
    if (MazeWorld::isHouseDoor(x, y))
        return true;
    const Cell& c = round.world.cell(x, y);
    if (c.pillar || c.hasObstacle)
        return false;
    return start || (c.wall == Cell::none && c.bomb == Cell::none && c.trap == Cell::none);
}

void Bot::markCreatures(const RoundState& round, int32_t berth) {
    if (berth < 0)
        berth = style.creatureBerth;
    for (auto& column : creatureNear)
        std::fill(std::begin(column), std::end(column), false);
    for (auto& column : creatureCell)
        std::fill(std::begin(column), std::end(column), false);
    for (int32_t n = 1; n <= 4; ++n) {
        const Creature& c = round.creature(n);
        if (round.world.creatureHit[n - 1] || c.x < 0 || c.y < 0)
            continue;
        const int32_t cx = static_cast<int32_t>(c.x), cy = static_cast<int32_t>(c.y);
        if (onArena(cx, cy))
            creatureCell[cx][cy] = true;
        for (int32_t dx = -berth; dx <= berth; ++dx)
            for (int32_t dy = -berth; dy <= berth; ++dy)
                if (onArena(cx + dx, cy + dy) && std::abs(dx) + std::abs(dy) <= berth)
                    creatureNear[cx + dx][cy + dy] = true;
        // A creature runs straight on: the cells ahead of it, as far as it can run.
        const int32_t ax = c.dirX > 0.5f ? 1 : c.dirX < -0.5f ? -1 : 0;
        const int32_t ay = c.dirY > 0.5f ? 1 : c.dirY < -0.5f ? -1 : 0;
        for (int32_t i = 1; i <= 3; ++i) {
            const int32_t x = cx + ax * i, y = cy + ay * i;
            if (!walkable(round, x, y, false) || MazeWorld::isHouseDoor(x, y))
                break;
            creatureNear[x][y] = true;
        }
    }
}

namespace {
// A set of arena cells: bit x of row y.
struct CellSet {
    uint16_t row[side] = {};

    bool has(int32_t x, int32_t y) const { return (row[y] >> x & 1) != 0; }
    void add(int32_t x, int32_t y) { row[y] = static_cast<uint16_t>(row[y] | 1u << x); }
    void drop(int32_t x, int32_t y) { row[y] = static_cast<uint16_t>(row[y] & ~(1u << x)); }
    bool empty() const {
        for (uint16_t r : row)
            if (r)
                return false;
        return true;
    }
};

constexpr uint16_t fullRow = (1u << side) - 1;

// The cells one step from the set along the axes, and the set itself.
CellSet spread(const CellSet& s) {
    CellSet out;
    for (int32_t y = 0; y < side; ++y) {
        uint32_t r = s.row[y] | (s.row[y] << 1) | (s.row[y] >> 1);
        if (y > 0)
            r |= s.row[y - 1];
        if (y + 1 < side)
            r |= s.row[y + 1];
        out.row[y] = static_cast<uint16_t>(r & fullRow);
    }
    return out;
}

CellSet shifted(const CellSet& s, int32_t dx, int32_t dy) {
    CellSet out;
    for (int32_t y = 0; y < side; ++y) {
        const int32_t from = y - dy;
        if (from < 0 || from >= side)
            continue;
        const uint32_t r = s.row[from];
        out.row[y] = static_cast<uint16_t>((dx > 0 ? r << 1 : dx < 0 ? r >> 1 : r) & fullRow);
    }
    return out;
}
} // namespace

void Bot::search(const RoundState& round, const BurnMap& fire, Reach& reach, bool heedCreatures,
                 int32_t who, const PlannedBomb* laid) const {
    const Player& p = round.player(who == 0 ? self : who);
    // The other player is given the benefit of every doubt: no time lost centring or turning.
    const float msPerCell = who == 0 ? this->msPerCell : static_cast<float>(tickMs) / p.stepLength;
    // Nor any margin kept from the fire: a way through that a slip would spoil is still a way.
    const float guard = who == 0 ? this->guard : 0;
    const int32_t sx = static_cast<int32_t>(p.x), sy = static_cast<int32_t>(p.y);
    const float t0 = tickTime(round.ticks);
    for (int32_t x = 0; x < side; ++x)
        for (int32_t y = 0; y < side; ++y) {
            reach.layer[x][y] = reach.safeLayer[x][y] = -1;
            reach.move[x][y] = reach.safeMove[x][y] = stay;
        }
    CellSet open, doors, creatures;
    // The cells fire will reach, with when.
    struct Fire {
        int32_t x, y;
        float start, firstEnd, lastStart, end;
    };
    Fire fires[side * side];
    int32_t fireCount = 0;
    float lastFire = t0;
    for (int32_t x = 0; x < side; ++x)
        for (int32_t y = 0; y < side; ++y) {
            // A door leads into the labyrinth and a trap throws the player elsewhere: either can
            // be walked into, and neither walked through.
            const bool trap = trapLiesAt(round, x, y);
            if (walkable(round, x, y, false) || trap)
                open.add(x, y);
            if ((MazeWorld::isHouseDoor(x, y) || trap) && !(x == sx && y == sy))
                doors.add(x, y);
            if (heedCreatures && creatureNear[x][y])
                creatures.add(x, y);
            if (fire.end[x][y] > t0 - guard) {
                fires[fireCount++] = {x,
                                      y,
                                      fire.start[x][y],
                                      fire.firstEnd[x][y],
                                      fire.lastStart[x][y],
                                      fire.end[x][y]};
                lastFire = std::max(lastFire, fire.end[x][y]);
            }
        }
    if (laid && !(laid->x == sx && laid->y == sy))
        open.drop(laid->x, laid->y);
    reach.layer[sx][sy] = 0;
    if (fire.clearFrom(sx, sy, t0 - guard))
        reach.safeLayer[sx][sy] = 0;
    CellSet start;
    start.add(sx, sy);
    // by[m]: where the player can be at this layer, having first moved m.
    CellSet by[stay + 1];
    CellSet reached = start, safe;
    if (reach.safeLayer[sx][sy] == 0)
        safe = start;
    // The other player's way is followed until the last fire is out: its foresight is not ours.
    const int32_t layers =
        who == 0 ? std::min<int32_t>(maxLayers, style.lookAheadCells) : 4 * maxLayers;
    for (int32_t k = 1; k <= layers; ++k) {
        const float from = t0 + (static_cast<float>(k) - 0.6f) * msPerCell - guard;
        const float to = t0 + (static_cast<float>(k) + 0.6f) * msPerCell + guard;
        CellSet allowed = open, clear;
        for (uint16_t& r : clear.row)
            r = fullRow;
        for (int32_t i = 0; i < fireCount; ++i) {
            const Fire& f = fires[i];
            if ((f.start <= to && f.firstEnd >= from) || (f.lastStart <= to && f.end >= from))
                allowed.drop(f.x, f.y);
            if (f.end >= from)
                clear.drop(f.x, f.y);
        }
        CellSet any;
        for (int8_t m = 0; m <= stay; ++m) {
            CellSet next;
            if (k == 1) {
                if (m < stay) {
                    next = shifted(start, moveX[m], moveY[m]);
                    for (int32_t y = 0; y < side; ++y)
                        next.row[y] =
                            static_cast<uint16_t>(next.row[y] & allowed.row[y] & ~creatures.row[y]);
                } else if (!fire.burnsDuring(sx, sy, from, to)) {
                    next = start;
                }
                by[m] = next;
                for (int32_t y = 0; y < side; ++y)
                    any.row[y] = static_cast<uint16_t>(any.row[y] | next.row[y]);
                continue;
            } else {
                CellSet moving = by[m];
                for (int32_t y = 0; y < side; ++y)
                    moving.row[y] = static_cast<uint16_t>(moving.row[y] & ~doors.row[y]);
                next = spread(moving);
                // A creature runs faster than a player walks: its cells stay shut for the first
                // few cells of the way.
                const bool nearTime = k <= 3;
                for (int32_t y = 0; y < side; ++y)
                    next.row[y] = static_cast<uint16_t>(
                        (next.row[y] | (by[m].row[y] & doors.row[y])) & allowed.row[y] &
                        ~(nearTime ? creatures.row[y] & ~by[m].row[y] : 0));
            }
            by[m] = next;
            for (int32_t y = 0; y < side; ++y)
                any.row[y] = static_cast<uint16_t>(any.row[y] | next.row[y]);
        }
        bool grew = false;
        for (int32_t y = 0; y < side; ++y) {
            const uint16_t fresh = static_cast<uint16_t>(any.row[y] & ~reached.row[y]);
            const uint16_t freshSafe =
                static_cast<uint16_t>(any.row[y] & clear.row[y] & ~safe.row[y]);
            if (!fresh && !freshSafe)
                continue;
            grew = true;
            reached.row[y] = static_cast<uint16_t>(reached.row[y] | fresh);
            safe.row[y] = static_cast<uint16_t>(safe.row[y] | freshSafe);
            for (int32_t x = 0; x < side; ++x) {
                const bool isFresh = (fresh >> x & 1) != 0, isSafe = (freshSafe >> x & 1) != 0;
                if (!isFresh && !isSafe)
                    continue;
                // Waiting first where it gets there as soon: a detour and back, made again at
                // every plan, would be a walk to and fro.
                int8_t m = stay;
                if (!by[stay].has(x, y)) {
                    m = 0;
                    while (m < stay && !by[m].has(x, y))
                        ++m;
                }
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
        if (!grew && from > lastFire)
            break;
    }
}

bool Bot::shutsIn(const RoundState& round, int32_t x, int32_t y) const {
    const Player& p = round.player(self);
    const Player& other = round.player(3 - self);
    if (round.world.freeRoam[2 - self] || !bombFits(round, x, y) || justSentHome(round))
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
        for (int32_t cx = 0; cx < side; ++cx)
            for (int32_t cy = 0; cy < side; ++cy)
                if ((isWayOff(round, cx, cy) ? reach.layer[cx][cy] : reach.safeLayer[cx][cy]) >= 0)
                    return true;
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
            if (layer > 0 && layer <= 10 && !creatureNear[cx][cy])
                return true;
        }
    return false;
}

void Bot::aimAt(Aim aim, int32_t x, int32_t y, const Reach& reach) {
    // A moment's hesitation comes with a new aim, not with every look at the old one, and not
    // again within three seconds.
    if ((goal.aim != aim || goal.x != x || goal.y != y) && planTick >= hesitateUntil + 180 &&
        chance(style.errPerMille))
        hesitateUntil = planTick + static_cast<uint32_t>(style.hesitateTicks);
    goal = {aim, x, y};
    move = reach.safeMove[x][y];
}

void Bot::escape(const RoundState& round, const BurnMap& fire, Reach& reach) {
    const Player& p = round.player(self);
    const int32_t cx = static_cast<int32_t>(p.x), cy = static_cast<int32_t>(p.y);
    if (reach.safeLayer[cx][cy] != 0) {
        // Running from fire: the bare pace of a step, and a thin margin.
        const float pace = msPerCell, margin = guard;
        msPerCell = static_cast<float>(tickMs) / p.stepLength + static_cast<float>(tickMs);
        guard = 2 * static_cast<float>(tickMs);
        search(round, fire, reach, true, 0);
        msPerCell = pace;
        guard = margin;
    }
    // Fire is certain, a creature only likely: with no way out around the creatures, the way
    // out past them.
    bool wayOut = false;
    for (int32_t x = 0; x < side && !wayOut; ++x)
        for (int32_t y = 0; y < side && !wayOut; ++y)
            wayOut = reach.safeLayer[x][y] > 0;
    if (!wayOut && reach.safeLayer[cx][cy] != 0)
        search(round, fire, reach, false, 0);
    about = creatureNear[cx][cy] && reach.safeLayer[cx][cy] == 0 ? "keeping from a creature"
                                                                 : "getting out of the fire";
    // A door leads out of every arena blast and away from every creature.
    if (MazeWorld::isHouseDoor(cx, cy)) {
        intoDoor = passage = true;
        doorIn = cx * side + cy;
        doorInUntil = round.gameTime + backOutMs;
        about = "escaping into the labyrinth";
        return;
    }
    // The cell it was already making for, while still clear: two ways out of equal length
    // never take turns.
    if (goal.aim == Aim::escape && !(goal.x == cx && goal.y == cy) &&
        reach.safeLayer[goal.x][goal.y] > 0 && !creatureNear[goal.x][goal.y]) {
        move = reach.safeMove[goal.x][goal.y];
        return;
    }
    int32_t best = 1 << 20, bestX = -1, bestY = -1;
    for (int32_t x = 0; x < side; ++x)
        for (int32_t y = 0; y < side; ++y) {
            const bool door = isWayOff(round, x, y);
            // A door or a trap only has to be reached before the fire: beyond it lies the
            // labyrinth, or another cell.
            const int32_t layer = door ? reach.layer[x][y] : reach.safeLayer[x][y];
            if (layer < 0 || (x == cx && y == cy))
                continue;
            // Away from creatures counts for two cells of walking; a door for one and a half.
            const int32_t cost = layer * 4 + (creatureNear[x][y] ? 8 : 0) + (door ? 6 : 0);
            if (cost < best) {
                best = cost;
                bestX = x;
                bestY = y;
            }
        }
    if (bestX < 0 && reach.safeLayer[cx][cy] == 0) {
        // Only a creature to keep from, and no way round it: past it, to where it is not.
        search(round, fire, reach, false, 0);
        for (int32_t x = 0; x < side; ++x)
            for (int32_t y = 0; y < side; ++y) {
                const int32_t layer = reach.safeLayer[x][y];
                if (layer > 0 && !creatureNear[x][y] && !isWayOff(round, x, y) && layer < best) {
                    best = layer;
                    bestX = x;
                    bestY = y;
                }
            }
    }
    if (bestX >= 0) {
        goal = {Aim::escape, bestX, bestY};
        move =
            isWayOff(round, bestX, bestY) ? reach.move[bestX][bestY] : reach.safeMove[bestX][bestY];
        return;
    }
    if (reach.safeLayer[cx][cy] != 0) {
        // No cell clear of the fire in reach: the farthest reachable, where the fire comes last.
        float latest = -1;
        for (int32_t x = 0; x < side; ++x)
            for (int32_t y = 0; y < side; ++y) {
                const float when = fire.start[x][y] + 10 * static_cast<float>(reach.layer[x][y]);
                if (reach.layer[x][y] >= 0 && when > latest) {
                    latest = when;
                    move = reach.move[x][y];
                }
            }
    }
}

void Bot::seekSomething(const RoundState& round, const Reach& reach) {
    const Player& p = round.player(self);
    const Player& other = round.player(3 - self);
    const int32_t cx = static_cast<int32_t>(p.x), cy = static_cast<int32_t>(p.y);
    const int32_t ox = static_cast<int32_t>(other.x), oy = static_cast<int32_t>(other.y);
    const float t0 = tickTime(round.ticks);
    const bool otherInArena = !round.world.freeRoam[2 - self] && onArena(ox, oy);
    if (otherInArena && style.attackPerMille > 0 && keepsLead(round, self)) {
        // A lead late in the round is kept: away from the other player's bombs.
        if (goal.aim == Aim::roam && !(goal.x == cx && goal.y == cy) &&
            reach.safeLayer[goal.x][goal.y] > 0 &&
            std::abs(ox - goal.x) + std::abs(oy - goal.y) >= 2) {
            move = reach.safeMove[goal.x][goal.y];
            about = "keeping the lead";
            return;
        }
        int32_t far = -1, bestX = -1, bestY = -1;
        for (int32_t x = 0; x < side; ++x)
            for (int32_t y = 0; y < side; ++y) {
                const int32_t layer = reach.safeLayer[x][y];
                if (layer < 4 || layer > 10 || isWayOff(round, x, y) || creatureNear[x][y])
                    continue;
                // Apart, with room to turn, not much of a walk, and not always the same.
                const int32_t score = 4 * std::min(8, std::abs(ox - x) + std::abs(oy - y)) +
                                      2 * waysOn(round, x, y) - layer + random.nextInt(0, 8);
                if (score > far) {
                    far = score;
                    bestX = x;
                    bestY = y;
                }
            }
        about = "keeping the lead";
        if (bestX >= 0) {
            aimAt(Aim::roam, bestX, bestY, reach);
            return;
        }
    }
    // After the other player: a cell from where a bomb's flames reach it, one bomb at a time
    // (chains of its own bombs are where a hunter gets caught) unless the next one shuts it in
    // with the first; with none ready, close by.
    bool ownBombLying = false;
    for (const Bomb& b : p.bombs)
        ownBombLying = ownBombLying || b.lyingUnexploded() || b.exploding;
    const bool hunts = otherInArena && style.attackPerMille > 0 && !justSentHome(round);
    // A walk on somewhere, once begun, is ended before closing in again: at the edge of closing
    // in it would otherwise turn at every step.
    const bool roaming = goal.aim == Aim::roam && !(goal.x == cx && goal.y == cy) &&
                         reach.safeLayer[goal.x][goal.y] > 0;
    const bool armed = hunts && p.bombsReady > 0;
    if (armed && (!ownBombLying || style.shutInSpots > 1)) {
        int32_t cells[4 * 14 + 1][2], opened = 0;
        const int32_t n = blastCellsOf(round, ox, oy, p.bombs[0].reach, cells, opened);
        // The nearest few spots, nearest first.
        constexpr int32_t most = 8;
        const int32_t weighed = std::clamp(style.shutInSpots, 3, most);
        int32_t spot[most + 1][3], count = 0;
        for (int32_t i = 0; i < n; ++i) {
            const int32_t x = cells[i][0], y = cells[i][1];
            const int32_t layer = reach.safeLayer[x][y];
            if (layer < 0 || isWayOff(round, x, y) || bombLiesAt(round, x, y) ||
                noBombUntil[x][y] > t0 || (x == ox && y == oy))
                continue;
            // The spot it was making for counts as a few cells nearer.
            const int32_t cost =
                layer - (goal.aim == Aim::hunt && goal.x == x && goal.y == y ? 3 : 0);
            int32_t at = count < weighed ? count++ : weighed;
            while (at > 0 && spot[at - 1][2] > cost) {
                if (at < weighed)
                    std::copy(spot[at - 1], spot[at - 1] + 3, spot[at]);
                --at;
            }
            if (at < weighed) {
                spot[at][0] = x;
                spot[at][1] = y;
                spot[at][2] = cost;
            }
        }
        // Where the bomb would leave it no way out, if one of them does.
        int32_t pick = 0;
        bool shut = false;
        if (style.shutInSpots > 1)
            for (int32_t i = 0; i < count && !shut; ++i)
                if (shutsIn(round, spot[i][0], spot[i][1])) {
                    pick = i;
                    shut = true;
                }
        if (ownBombLying && !shut)
            count = 0;
        // Out of reach behind laid walls: a bomb that opens the way.
        if (count == 0 && !ownBombLying && !obstaclesLeft(round) &&
            openWall(round, reach, ox, oy, 3)) {
            about = "opening the way to the other player";
            return;
        }
        if (count > 0 && spot[pick][0] == cx && spot[pick][1] == cy) {
            if (bombLeavesWayOut(round, cx, cy) || (shut && tradesAHit(round))) {
                dropBomb = true;
                goal = {};
                about = "laying a bomb for the other player";
                return;
            }
            noBombUntil[cx][cy] = t0 + 3000;
        } else if (count > 0) {
            aimAt(Aim::hunt, spot[pick][0], spot[pick][1], reach);
            about = "going after the other player";
            return;
        }
    }
    if (!(armed && !ownBombLying) && hunts && !obstaclesLeft(round) && !roaming &&
        std::abs(ox - cx) + std::abs(oy - cy) > 3) {
        // No bomb ready yet: towards the other player, to be near when one is; to where it
        // was seen while it is still about there. Only by ways clear of the fire.
        const bool kept = goal.aim == Aim::hunt && !(goal.x == cx && goal.y == cy) &&
                          std::abs(ox - goal.x) + std::abs(oy - goal.y) <= 4 &&
                          reach.safeLayer[goal.x][goal.y] > 0;
        if (!kept) {
            int32_t nearest = 1 << 20;
            goal = {};
            for (int32_t x = 0; x < side; ++x)
                for (int32_t y = 0; y < side; ++y) {
                    const int32_t layer = reach.safeLayer[x][y];
                    const int32_t cost = 4 * (std::abs(ox - x) + std::abs(oy - y)) + layer;
                    if (layer >= 0 && cost < nearest && !isWayOff(round, x, y) &&
                        !creatureNear[x][y]) {
                        nearest = cost;
                        goal = {Aim::hunt, x, y};
                    }
                }
        }
        if (goal.aim == Aim::hunt) {
            move = goal.x == cx && goal.y == cy ? stay : reach.safeMove[goal.x][goal.y];
            about = "closing in on the other player";
            return;
        }
    }
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
    // Or shut in by traps: one of them throws it somewhere else.
    for (int32_t m = 0; m < stay && room <= 6; ++m) {
        const int32_t x = cx + moveX[m], y = cy + moveY[m];
        if (onArena(x, y) && trapLiesAt(round, x, y) && reach.layer[x][y] == 1 &&
            !creatureNear[x][y]) {
            goal = {};
            move = m;
            about = "stepping into a trap to get out";
            return;
        }
    }
    // Just out of a door into this pocket: that door leads nowhere for a while, and through the
    // labyrinth is a way on only while another door's way on is open.
    if (doorX >= 0 && room <= 6 && cameOutBy >= 0 && round.gameTime - outOfLabyrinthAt < 15000)
        leadsNowhereUntil[cameOutBy] = round.gameTime + nowhereMs;
    // A door cell takes no bomb: from a pocket of door cells alone, through the labyrinth anyway.
    if (doorX >= 0 && room <= 6 && (labyrinthLeadsOn(round, reach) || room == 0)) {
        about = "going through the labyrinth";
        if (doorX == cx && doorY == cy) {
            intoDoor = passage = true;
            doorIn = cx * side + cy;
            doorInUntil = round.gameTime + backOutMs;
        } else {
            goal = {Aim::labyrinth, doorX, doorY};
            move = reach.move[doorX][doorY];
        }
        return;
    }
    // Walled into a few cells for good: a bomb that opens a wall.
    if (room <= 6 && openWall(round, reach, cx, cy, side)) {
        about = "bombing a way free";
        return;
    }
    // On somewhere else, kept until reached: a cell picked at random a few cells away.
    about = "walking on";
    if (goal.aim == Aim::roam && !(goal.x == cx && goal.y == cy) &&
        reach.safeLayer[goal.x][goal.y] > 0) {
        move = reach.safeMove[goal.x][goal.y];
        return;
    }
    // Hunting, between bombs, when behind or late with the other player's points still to
    // take: somewhere about the other player, to keep it under pressure (a newcomer does not).
    const bool presses = hunts && style.attackPerMille >= 150 &&
                         (p.points < other.points ||
                          (tuning::roundMs - round.gameTime < pressMs && other.points > 0));
    int32_t candidates[side * side][2], count = 0;
    for (int32_t pass = presses ? 0 : 1; pass < 3 && count == 0; ++pass)
        for (int32_t x = 0; x < side; ++x)
            for (int32_t y = 0; y < side; ++y) {
                const int32_t layer = reach.safeLayer[x][y];
                const int32_t apart = std::abs(ox - x) + std::abs(oy - y);
                if (layer >= (pass < 2 ? 3 : 1) && layer <= 14 && !isWayOff(round, x, y) &&
                    !creatureNear[x][y] && (pass > 0 || (apart >= 2 && apart <= 5))) {
                    candidates[count][0] = x;
                    candidates[count++][1] = y;
                }
            }
    if (count == 0) {
        goal = {};
        about = "waiting for a way to open";
        // Shut in by traps: one of them throws it somewhere else.
        for (int8_t m = 0; m < stay; ++m) {
            const int32_t x = cx + moveX[m], y = cy + moveY[m];
            if (onArena(x, y) && trapLiesAt(round, x, y) && !creatureNear[x][y]) {
                move = m;
                about = "stepping into a trap to get out";
                return;
            }
        }
        return;
    }
    const int32_t pick = random.nextInt(0, count - 1);
    aimAt(Aim::roam, candidates[pick][0], candidates[pick][1], reach);
}

bool Bot::openWall(const RoundState& round, const Reach& reach, int32_t tx, int32_t ty,
                   int32_t near) {
    const Player& p = round.player(self);
    if (p.bombsReady == 0)
        return false;
    const int32_t cx = static_cast<int32_t>(p.x), cy = static_cast<int32_t>(p.y);
    const float t0 = tickTime(round.ticks);
    int32_t best = 1 << 20, bestX = -1, bestY = -1;
    int32_t cells[4 * 14 + 1][2], opened = 0;
    for (int32_t x = 0; x < side; ++x)
        for (int32_t y = 0; y < side; ++y) {
            const int32_t layer = reach.safeLayer[x][y];
            if (layer < 0 || layer >= best || isWayOff(round, x, y) || !bombFits(round, x, y) ||
                noBombUntil[x][y] > t0 || creatureNear[x][y])
                continue;
            const int32_t n = blastCellsOf(round, x, y, reachOfNextBomb(p), cells, opened);
            for (int32_t i = 0; i < n; ++i) {
                const int32_t wx = cells[i][0], wy = cells[i][1];
                const int32_t apart = std::abs(wx - tx) + std::abs(wy - ty);
                if (round.world.cell(wx, wy).wall != Cell::none && apart <= near &&
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
        noBombUntil[cx][cy] = t0 + 3000;
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

bool Bot::justSentHome(const RoundState& round) const {
    return aboutHome(round, 3 - self) && round.gameTime - otherSentHomeAt < backHomeMs;
}

bool Bot::labyrinthLeadsOn(const RoundState& round, const Reach& reach) const {
    for (int32_t i = 0; i < 4; ++i) {
        const LabyrinthExit& e = exits[i];
        if (leadsNowhereUntil[i] <= round.gameTime && reach.layer[e.arenaX][e.arenaY] < 0 &&
            walkable(round, e.arenaX, e.arenaY, false))
            return true;
    }
    return false;
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
    if (canBomb && !wayOff && room <= 6) {
        dropBomb = true;
        about = "bombing a way free";
        return;
    }
    // Kept from its ways by a creature that does not move on (one shut into a few cells, say):
    // past it, as close as a person would dare, or past it whatever it does.
    markCreatures(round, 0);
    Reach close, past;
    search(round, fire, close, true, 0);
    const Reach* ways = &close;
    bool anyWay = false;
    for (int32_t x = 0; x < side && !anyWay; ++x)
        for (int32_t y = 0; y < side && !anyWay; ++y)
            anyWay = close.safeLayer[x][y] >= 2 && close.safeMove[x][y] != stay;
    if (!anyWay) {
        search(round, fire, past, false, 0);
        ways = &past;
    }
    if (goal.aim == Aim::roam && !(goal.x == cx && goal.y == cy) &&
        ways->safeLayer[goal.x][goal.y] > 0 && ways->safeMove[goal.x][goal.y] != stay) {
        move = ways->safeMove[goal.x][goal.y];
        return;
    }
    int32_t candidates[side * side][2], count = 0;
    for (int32_t x = 0; x < side; ++x)
        for (int32_t y = 0; y < side; ++y) {
            const int32_t layer = ways->safeLayer[x][y];
            if (layer >= 2 && layer <= 10 && ways->safeMove[x][y] != stay &&
                !isWayOff(round, x, y) && !creatureNear[x][y]) {
                candidates[count][0] = x;
                candidates[count++][1] = y;
            }
        }
    if (count > 0) {
        const int32_t pick = random.nextInt(0, count - 1);
        aimAt(Aim::roam, candidates[pick][0], candidates[pick][1], *ways);
    } else if (canBomb && bombLeavesWayOut(round, cx, cy)) {
        dropBomb = true;
        about = "bombing a way free";
    } else if (MazeWorld::isHouseDoor(cx, cy)) {
        // On a door with no way on in the arena: the labyrinth is the only way left.
        intoDoor = passage = true;
        doorIn = cx * side + cy;
        doorInUntil = round.gameTime + backOutMs;
        about = "going through the labyrinth";
    }
}

void Bot::plan(const RoundState& round) {
    const Player& p = round.player(self);
    const Player& other = round.player(3 - self);
    const int32_t cx = static_cast<int32_t>(p.x), cy = static_cast<int32_t>(p.y);
    const float t0 = tickTime(round.ticks);
    planned = true;
    planX = cx;
    planY = cy;
    planTick = round.ticks;
    replanAt = round.ticks + static_cast<uint32_t>(style.replanTicks);
    // A cell's walk, and the turns and centring on the way.
    msPerCell = static_cast<float>(tickMs) / p.stepLength * 1.15f + 2 * static_cast<float>(tickMs);
    guard = style.blastGuardMs;
    move = stay;
    dropBomb = layWall = layTrap = intoDoor = deliver = passage = false;

    const BurnMap fire =
        burnMap(round, nullptr, 3 - self, t0 - static_cast<float>(style.reactionTicks * tickMs));
    markCreatures(round);
    Reach reach;
    search(round, fire, reach, true, 0);

    // A way out already taken is followed to its end while it stays clear.
    const bool escaping = goal.aim == Aim::escape && !(goal.x == cx && goal.y == cy) &&
                          reach.safeLayer[goal.x][goal.y] > 0 && !creatureNear[goal.x][goal.y];
    fleeing = escaping || reach.safeLayer[cx][cy] != 0 || creatureNear[cx][cy];
    if (fleeing) {
        // On the way to a goal it reaches before the fire and clear of it after: keep going.
        // Not by waiting where fire is coming: for a creature that keeps to its few cells the
        // wait would be made again at every plan until the fire came.
        const bool keep = goal.aim != Aim::none && goal.aim != Aim::escape &&
                          !creatureNear[cx][cy] && !(goal.x == cx && goal.y == cy) &&
                          reach.safeLayer[goal.x][goal.y] > 0 &&
                          !(reach.safeMove[goal.x][goal.y] == stay && reach.safeLayer[cx][cy] != 0);
        if (keep) {
            move = reach.safeMove[goal.x][goal.y];
            if (reach.safeLayer[cx][cy] != 0)
                about = "getting out of the fire";
        } else if (round.ticks < unstickUntil && reach.safeLayer[cx][cy] == 0)
            unstick(round, fire, reach);
        else
            escape(round, fire, reach);
        return;
    }
    if (goal.aim == Aim::escape)
        goal = {};
    if (round.ticks < unstickUntil) {
        unstick(round, fire, reach);
        return;
    }
    const bool otherInArena = !round.world.freeRoam[2 - self];
    const int32_t ox = static_cast<int32_t>(other.x), oy = static_cast<int32_t>(other.y);
    // The score and the clock, as the HUD shows them: late in the round a lead is kept and a
    // deficit chased.
    const float timeLeft = tuning::roundMs - round.gameTime;
    const int32_t lead = p.points - other.points;
    const bool keepLead = keepsLead(round, self);
    const bool chase = timeLeft < chaseMs && (lead < 0 || (lead == 0 && timeLeft < 60000));
    const float lastTrip = chase ? tuning::roundMs - 30000 : lastLabyrinthMs;
    const bool wantCheese = style.fetchesCheese && !p.carryingCheese && round.gameTime < lastTrip &&
                            round.gameTime >= outOfLabyrinthAt + style.tripGapMs &&
                            cheeseInLabyrinth(round) > 0;
    const bool canBomb = p.bombsReady > 0;
    const int32_t reachOfBomb = p.bombs[0].reach;
    // A bomb of the other player's can shut a way out only if it lays bombs: armed, close to
    // the spot and seen bombing lately. Chasing a deficit, the risk is taken.
    const bool otherArmed =
        style.wary && otherInArena && other.bombsReady > 0 && t0 - otherBombedAt < 30000 && !chase;
    auto threatAt = [&](int32_t x, int32_t y) {
        return otherArmed && std::abs(ox - x) + std::abs(oy - y) <= 3;
    };
    const float attack = static_cast<float>(style.attackPerMille) / 1000 *
                         (chase      ? 3.0f
                          : keepLead ? 0.0f
                                     : 1.0f);

    if (style.shadows) {
        about = "shadowing the other player";
        int32_t nearest = 1 << 20;
        for (int32_t x = 0; x < side; ++x)
            for (int32_t y = 0; y < side; ++y) {
                const int32_t apart = std::abs(ox - x) + std::abs(oy - y);
                if (reach.safeLayer[x][y] >= 0 && reach.safeLayer[x][y] < nearest && apart >= 1 &&
                    apart <= 2 && !isWayOff(round, x, y)) {
                    nearest = reach.safeLayer[x][y];
                    move = reach.safeMove[x][y];
                }
            }
        return;
    }

    // Where the other player would be first: an item it will take is worth less.
    Reach theirs;
    const bool contest = otherInArena && style.attackPerMille >= 150;
    if (contest)
        search(round, fire, theirs, false, 3 - self);

    float bestScore = 0;
    int32_t bestX = -1, bestY = -1;
    Aim bestAim = Aim::none;
    int32_t blast[4 * 14 + 1][2];
    for (int32_t x = 0; x < side; ++x)
        for (int32_t y = 0; y < side; ++y) {
            const int32_t layer = reach.safeLayer[x][y];
            if (layer < 0 || bannedUntil[x][y] > t0)
                continue;
            float value = 0, extra = 0;
            Aim aim = Aim::none;
            if (trapLiesAt(round, x, y))
                continue;
            if (MazeWorld::isHouseDoor(x, y)) {
                if (wantCheese) {
                    value = style.cheeseValue;
                    extra = 14;
                    aim = Aim::labyrinth;
                }
            } else {
                if (const Item* item = openItemAt(round, x, y);
                    item && (!style.onlyCoins || item->type == kindCoin)) {
                    float worth = itemValue(p, item->type);
                    if (contest && theirs.layer[x][y] >= 0 && theirs.layer[x][y] + 1 < layer)
                        worth *= 0.3f;
                    value += worth;
                    aim = Aim::item;
                }
                if (p.carryingCheese && x == homeColumn(self) && y == 0) {
                    value += 40;
                    aim = Aim::home;
                }
                if (canBomb && !bombLiesAt(round, x, y) && noBombUntil[x][y] <= t0 &&
                    !threatAt(x, y)) {
                    int32_t opened = 0;
                    const int32_t n = blastCellsOf(round, x, y, reachOfBomb, blast, opened);
                    float bombValue = style.opensObstacles ? 1.5f * static_cast<float>(opened) : 0;
                    // A creature in the flames' way is gone for good, if it stays there.
                    if (style.huntsCreatures)
                        for (int32_t i = 0; i < n; ++i)
                            if (creatureCell[blast[i][0]][blast[i][1]])
                                bombValue += 1.5f;
                    if (otherInArena && attack > 0 && !justSentHome(round))
                        for (int32_t i = 0; i < n; ++i)
                            if (blast[i][0] == ox && blast[i][1] == oy &&
                                std::abs(ox - x) + std::abs(oy - y) <= 3)
                                bombValue += 3.0f * attack;
                    if (bombValue > 0) {
                        value += bombValue;
                        extra += 1;
                        if (aim == Aim::none)
                            aim = Aim::bomb;
                    }
                }
            }
            if (value <= 0)
                continue;
            // A dead end is where the other player's bomb shuts one in.
            if (threatAt(x, y) && value < 10 && waysOn(round, x, y) <= 1)
                continue;
            float score = value / (static_cast<float>(layer) + extra + 1.5f);
            if (goal.x == x && goal.y == y && goal.aim == aim)
                score *= keepFactor;
            if (score > bestScore) {
                bestScore = score;
                bestX = x;
                bestY = y;
                bestAim = aim;
            }
        }

    // Walls and traps against the other player close by.
    const int32_t apart = std::abs(ox - cx) + std::abs(oy - cy);
    const bool atHomeCell = cy == 0 && (cx == 0 || cx == side - 1);
    if (otherInArena && apart <= 3 && !atHomeCell && round.world.canPlace(p.x, p.y)) {
        // Not where it would shut its own way on.
        const bool roomy = waysOn(round, cx, cy) >= 3;
        if (p.trapItems > 0 && roomy && chance(style.attackPerMille / 4))
            layTrap = true;
        else if (p.wallItems > 0 && p.carryingCheese && roomy)
            layWall = true;
    }

    // A bomb here that leaves the other player no way out of its fire, and this one a way.
    if (style.shutInSpots > 0 && canBomb && otherInArena && !keepLead && bombFits(round, cx, cy) &&
        std::abs(ox - cx) + std::abs(oy - cy) <= reachOfBomb && shutsIn(round, cx, cy) &&
        (bombLeavesWayOut(round, cx, cy) || tradesAHit(round))) {
        dropBomb = true;
        goal = {};
        about = "shutting the other player in";
        return;
    }
    if (bestX < 0) {
        seekSomething(round, reach);
        return;
    }
    if (bestX == cx && bestY == cy) {
        goal = {};
        if (MazeWorld::isHouseDoor(cx, cy)) {
            intoDoor = true;
            doorIn = cx * side + cy;
            doorInUntil = 0;
            about = "going into the labyrinth";
        } else if (p.carryingCheese && cx == homeColumn(self) && cy == 0) {
            deliver = true;
            about = "bringing the cheese home";
        } else if (bestAim == Aim::bomb || !openItemAt(round, cx, cy)) {
            if (bombLeavesWayOut(round, cx, cy)) {
                dropBomb = true;
                about = "laying a bomb";
            } else {
                noBombUntil[cx][cy] = t0 + 4000;
                planned = false;
            }
        }
        return;
    }
    aimAt(bestAim, bestX, bestY, reach);
    about = bestAim == Aim::labyrinth ? "going to the labyrinth"
            : bestAim == Aim::bomb    ? "going to lay a bomb"
            : bestAim == Aim::home    ? "carrying the cheese home"
                                      : "fetching an item";
    // A newcomer's wrong turn: a step to a neighbouring cell off the way.
    if (chance(style.wrongTurnPerMille)) {
        const int32_t m = random.nextInt(0, 3);
        const int32_t x = cx + moveX[m], y = cy + moveY[m];
        if (onArena(x, y) && reach.safeLayer[x][y] == 1 && !isWayOff(round, x, y)) {
            move = static_cast<int8_t>(m);
            about = "taking a wrong turn";
        }
    }
}

int32_t Bot::waysOn(const RoundState& round, int32_t x, int32_t y) const {
    int32_t ways = 0;
    for (int32_t m = 0; m < 4; ++m)
        ways += walkable(round, x + moveX[m], y + moveY[m], false) ? 1 : 0;
    return ways;
}

void Bot::steer(const RoundState& round, bool* keys, int32_t dx, int32_t dy) const {
    constexpr PlayerKey walking[4] = {keyForward, keyBack, keyLeft, keyRight};
    PlayerKey best = keyForward;
    float bestDot = -2;
    for (PlayerKey k : walking) {
        const KeyHeading h = keyHeading(round, self, k);
        const float dot = h.x * static_cast<float>(dx) + h.y * static_cast<float>(dy);
        if (dot > bestDot) {
            bestDot = dot;
            best = k;
        }
    }
    keys[best] = true;
}

void Bot::walk(const RoundState& round, bool* keys) const {
    const Player& p = round.player(self);
    const int32_t cx = static_cast<int32_t>(p.x), cy = static_cast<int32_t>(p.y);
    const float offX = p.x - (static_cast<float>(cx) + 0.5f);
    const float offY = p.y - (static_cast<float>(cy) + 0.5f);
    // Centred across the way to within what the body's width allows, and no closer than a step
    // can come.
    const float across = std::max(0.2f, p.stepLength / 2 + 0.01f);
    auto along = [&](int32_t dx, int32_t dy) {
        if (dx != 0 && std::fabs(offY) > across)
            steer(round, keys, 0, offY > 0 ? -1 : 1);
        else if (dy != 0 && std::fabs(offX) > across)
            steer(round, keys, offX > 0 ? -1 : 1, 0);
        else
            steer(round, keys, dx, dy);
    };
    if (intoDoor) {
        if (const arena::HouseDoor* door = arena::doorAt(cx, cy))
            along(-door->outX, -door->outY);
        return;
    }
    if (deliver) {
        // Into the home corner: the delivery happens on the next step taken there.
        if (offY > -0.2f)
            steer(round, keys, 0, -1);
        else
            steer(round, keys, self == 1 ? -1 : 1, 0);
        return;
    }
    if (move == stay) {
        // Away from the cell's corners, where a neighbour's fire reaches.
        if (std::fabs(offX) > 0.25f)
            steer(round, keys, offX > 0 ? -1 : 1, 0);
        else if (std::fabs(offY) > 0.25f)
            steer(round, keys, 0, offY > 0 ? -1 : 1);
        return;
    }
    along(moveX[move], moveY[move]);
}

void Bot::arena(const RoundState& round, bool* keys) {
    const Player& p = round.player(self);
    const int32_t cx = static_cast<int32_t>(p.x), cy = static_cast<int32_t>(p.y);
    if (!onArena(cx, cy))
        return;
    const uint64_t mine = bombSignature(p);
    const uint64_t theirs =
        bombSignature(round.player(3 - self)) ^ static_cast<uint64_t>(round.world.blastCellCount);
    bool now = !planned || cx != planX || cy != planY || round.ticks >= replanAt;
    if (mine != ownBombs) {
        ownBombs = mine;
        now = true;
    }
    const Player& other = round.player(3 - self);
    // Seen to vanish and stand at home again: sent home.
    if (aboutHome(round, 3 - self) &&
        std::fabs(other.x - otherX) + std::fabs(other.y - otherY) > 1.5f)
        otherSentHomeAt = round.gameTime;
    otherX = other.x;
    otherY = other.y;
    const int32_t ready = other.bombsReady;
    if (ready < otherReady)
        otherBombedAt = tickTime(round.ticks);
    otherReady = ready;
    if (theirs != otherBombs) {
        otherBombs = theirs;
        replanAt = std::min(replanAt, round.ticks + static_cast<uint32_t>(style.reactionTicks));
    }
    // Its first look: standing still is counted from here, not from the start of the round.
    if (lowX > highX)
        stillSince = round.ticks;
    lowX = std::min(lowX, p.x);
    highX = std::max(highX, p.x);
    lowY = std::min(lowY, p.y);
    highY = std::max(highY, p.y);
    if (highX - lowX > stuckBox || highY - lowY > stuckBox) {
        lowX = highX = p.x;
        lowY = highY = p.y;
        stillSince = round.ticks;
        stuckCount = 0;
    } else if (round.ticks - stillSince > stuckTicks) {
        if (goal.aim != Aim::none && goal.aim != Aim::escape)
            bannedUntil[goal.x][goal.y] = tickTime(round.ticks) + 10000;
        goal = {};
        // Longer each time it finds itself in the same box again, and never as long as it
        // takes to count as standing again.
        stuckCount = std::min(stuckCount + 1, 3);
        unstickUntil = round.ticks + 30 + 60 * static_cast<uint32_t>(stuckCount);
        stillSince = round.ticks;
        now = true;
    }
    // A creature close by is watched closely.
    if (!now && round.ticks > planTick + static_cast<uint32_t>(style.reactionTicks / 2))
        for (int32_t n = 1; n <= 4 && !now; ++n) {
            const Creature& c = round.creature(n);
            if (!round.world.creatureHit[n - 1] && c.x >= 0 &&
                std::fabs(c.x - p.x) + std::fabs(c.y - p.y) < 3.5f)
                now = true;
        }
    if (now)
        plan(round);

    if (round.ticks < hesitateUntil && move != stay) {
        about = "hesitating";
        return;
    }
    if (dropBomb || layWall || layTrap) {
        keys[keyBomb] = dropBomb;
        keys[keyWall] = layWall;
        keys[keyTrap] = layTrap;
        dropBomb = layWall = layTrap = false;
        planned = false;
        return;
    }
    walk(round, keys);
}

void Bot::labyrinth(const RoundState& round, bool* keys) {
    constexpr int32_t n = LabyrinthSight::side;
    const Player& p = round.player(self);
    const LabyrinthSight& sight = round.sight[self - 1];
    const MazeGenerator& maze = round.world.maze;
    const float fx = p.x - arena::labyrinthOrigin, fy = p.y - arena::labyrinthOrigin;
    const int32_t lc = static_cast<int32_t>(fx), lr = static_cast<int32_t>(fy);
    if (lc < 0 || lc >= n || lr < 0 || lr >= n)
        return;
    const bool leaving = p.carryingCheese || passage || cheeseInLabyrinth(round) == 0 ||
                         round.gameTime > tuning::roundMs - 25000;

    // Over what has been seen: a seen cell's walls are known, so a way leads on from it.
    int32_t dist[n][n], from[n][n];
    for (auto& column : dist)
        std::fill(std::begin(column), std::end(column), -1);
    int32_t queue[n * n][2];
    int32_t head = 0, tail = 0;
    queue[tail][0] = lc;
    queue[tail++][1] = lr;
    dist[lc][lr] = 0;
    from[lc][lr] = -1;
    while (head < tail) {
        const int32_t c = queue[head][0], r = queue[head++][1];
        if (!sight.hasSeen(c, r))
            continue;
        for (int32_t m = 0; m < 4; ++m) {
            const int32_t nc = c + moveX[m], nr = r + moveY[m];
            if (!labyrinthOpen(maze, c, r, moveX[m], moveY[m]) || dist[nc][nr] >= 0)
                continue;
            dist[nc][nr] = dist[c][r] + 1;
            from[nc][nr] = c * n + r;
            queue[tail][0] = nc;
            queue[tail++][1] = nr;
        }
    }
    int32_t goalC = -1, goalR = -1, best = 1 << 20;
    const LabyrinthExit* out = nullptr;
    // A door passed through, one whose way on is shut or one that led nowhere is taken only
    // once there is nothing left to look at for another.
    constexpr int32_t lastResort = 500;
    if (leaving) {
        about = "leaving the labyrinth";
        for (const LabyrinthExit& e : exits) {
            if (dist[e.column][e.row] < 0)
                continue;
            // The overview shows the arena: a door whose way on is shut is kept for last, and
            // passing through, the door it came in by is not the way out.
            const int32_t doorCell = (e.arenaX - e.outX) * side + (e.arenaY - e.outY);
            const bool shut = !walkable(round, e.arenaX, e.arenaY, false);
            const int32_t cost =
                dist[e.column][e.row] +
                (p.carryingCheese ? std::abs(e.arenaX - homeColumn(self)) + e.arenaY : 0) +
                (shut ? 1000 : 0) + (doorCell == doorIn && round.gameTime < doorInUntil ? 500 : 0) +
                (leadsNowhereUntil[&e - exits] > round.gameTime ? 2000 : 0);
            if (cost < best) {
                best = cost;
                goalC = e.column;
                goalR = e.row;
                out = &e;
            }
        }
    }
    if (!leaving) {
        about = "looking for cheese";
        for (int32_t i = MazeWorld::firstCheese; i < MazeWorld::itemTotal; ++i) {
            const Item* piece = itemNumbered(round, i);
            if (!piece || piece->taken != 0 || piece->x < arena::labyrinthOrigin)
                continue;
            const int32_t c = static_cast<int32_t>(piece->x - arena::labyrinthOrigin);
            const int32_t r = static_cast<int32_t>(piece->y - arena::labyrinthOrigin);
            if (sight.hasSeen(c, r) && dist[c][r] >= 0 && dist[c][r] < best) {
                best = dist[c][r];
                goalC = c;
                goalR = r;
                about = "fetching cheese";
            }
        }
    }
    // Nothing known to go to (no cheese seen, or no door yet on the way out): the nearest cell
    // not seen yet.
    if (goalC < 0 || best >= lastResort) {
        const int32_t resortC = goalC, resortR = goalR;
        goalC = goalR = -1;
        best = 1 << 20;
        if (leaving)
            about = "looking for a way out";
        for (int32_t c = 0; c < n; ++c)
            for (int32_t r = 0; r < n; ++r)
                if (!sight.hasSeen(c, r) && dist[c][r] >= 0 && dist[c][r] < best) {
                    best = dist[c][r];
                    goalC = c;
                    goalR = r;
                }
        if (goalC >= 0) {
            out = nullptr;
        } else {
            goalC = resortC;
            goalR = resortR;
        }
    }
    if (goalC < 0)
        return;
    int32_t nc = goalC, nr = goalR;
    while (dist[nc][nr] > 1) {
        const int32_t f = from[nc][nr];
        nc = f / n;
        nr = f % n;
    }
    const float offX = fx - (static_cast<float>(lc) + 0.5f);
    const float offY = fy - (static_cast<float>(lr) + 0.5f);
    constexpr float across = 0.06f;
    int32_t wantX = 0, wantY = 0;
    if (dist[goalC][goalR] == 0 && out) {
        wantX = out->outX;
        wantY = out->outY;
    } else if (dist[goalC][goalR] == 0) {
        // Cheese is taken with a step in its cell: arriving through a door is no step.
        keys[keyForward] = true;
        return;
    } else {
        wantX = nc - lc;
        wantY = nr - lr;
    }
    // A newcomer's wrong way, now and then, from a cell just come to.
    if (lc * n + lr != mazeCell) {
        mazeCell = lc * n + lr;
        mazeWrongWay = -1;
        if (round.ticks >= hesitateUntil + 180 && chance(style.errPerMille))
            hesitateUntil = round.ticks + static_cast<uint32_t>(style.hesitateTicks);
        // Ways that look alike: twice as easy to take the wrong one as in the arena.
        if (chance(2 * style.wrongTurnPerMille)) {
            const int32_t m = random.nextInt(0, 3);
            if (labyrinthOpen(maze, lc, lr, moveX[m], moveY[m]))
                mazeWrongWay = m;
        }
    }
    if (mazeWrongWay >= 0 && !(dist[goalC][goalR] == 0 && out)) {
        wantX = moveX[mazeWrongWay];
        wantY = moveY[mazeWrongWay];
        about = "taking a wrong way";
    }
    if (round.ticks < hesitateUntil) {
        about = "hesitating";
        return;
    }
    if (wantX != 0 && std::fabs(offY) > across) {
        wantX = 0;
        wantY = offY > 0 ? -1 : 1;
    } else if (wantY != 0 && std::fabs(offX) > across) {
        wantY = 0;
        wantX = offX > 0 ? -1 : 1;
    }
    // Walk when the heading (or its reverse) lies along the way, else turn toward it.
    auto dot = [&](PlayerKey k) {
        const KeyHeading h = keyHeading(round, self, k);
        return h.x * static_cast<float>(wantX) + h.y * static_cast<float>(wantY);
    };
    if (dot(keyForward) > 0.9999f)
        keys[keyForward] = true;
    else if (dot(keyBack) > 0.9999f)
        keys[keyBack] = true;
    else
        keys[dot(keyLeft) >= dot(keyRight) ? keyLeft : keyRight] = true;
}
