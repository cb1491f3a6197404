#include "support/RoundDriver.h"
#include "rules/Controls.h"
#include "rules/RoundTick.h"
#include "rules/RoundState.h"
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <deque>

// ---------------------------------------------------------------------------------------------
// Frames

RoundDriver::RoundDriver(RoundState& r) : round(r) {}

RoundDriver::Snapshot RoundDriver::snapshot() const {
    Snapshot s{};
    const MazeWorld& w = round.world;
    for (int x = 0; x < MazeWorld::arenaSize; ++x)
        for (int y = 0; y < MazeWorld::arenaSize; ++y) {
            s.obstacles += w.cell(x, y).hasObstacle;
            s.bombsLying += w.cell(x, y).bomb != Cell::none;
        }
    for (const WallBlock& b : w.walls)
        s.wallsLaid += !b.free;
    for (const Trap& t : w.traps)
        s.trapsLaid += !t.free;
    for (const Item& entry : w.items) {
        const Item* item = &entry;
        if (item->taken == 3)
            ++s.delivered;
        else if (item->taken != 0 && item->type == kindCheese)
            ++s.cheeseHeld;
        if (item->taken != 0 && item->type != kindCheese)
            ++s.taken[item->type];
    }
    s.freeRoam[0] = w.freeRoam[0];
    s.freeRoam[1] = w.freeRoam[1];
    return s;
}

// A hit is served at the start of the next frame; a creature within touching distance tells
// the two causes apart.
void RoundDriver::noteHits() {
    for (int n = 1; n <= 2; ++n) {
        if (!round.world.respawnRequest[n - 1])
            continue;
        const Player& p = round.player(n);
        bool touched = false;
        for (int c = 1; c <= 4; ++c) {
            const Creature& cr = round.creature(c);
            if (!round.world.creatureHit[c - 1] &&
                std::hypot(cr.x - p.x, cr.y - p.y) <= 2 * p.bodyRadius + 1e-4f)
                touched = true;
        }
        ++(touched ? counted.sentHomeByCreature : counted.sentHomeByBlast);
    }
}

void RoundDriver::count(const Snapshot& before) {
    const Snapshot after = snapshot();
    counted.obstaclesDestroyed += before.obstacles - after.obstacles;
    counted.bombsDropped += std::max(0, after.bombsLying - before.bombsLying);
    counted.wallsLaid += std::max(0, after.wallsLaid - before.wallsLaid);
    counted.trapsLaid += std::max(0, after.trapsLaid - before.trapsLaid);
    counted.trapsSprung += std::max(0, before.trapsLaid - after.trapsLaid);
    for (int k = kindBomb; k <= kindCoin; ++k)
        counted.pickups[k] += std::max(0, after.taken[k] - before.taken[k]);
    counted.cheeseDelivered += after.delivered - before.delivered;
    counted.cheeseTaken +=
        std::max(0, after.cheeseHeld + after.delivered - before.cheeseHeld - before.delivered);
    for (int n = 0; n < 2; ++n)
        counted.labyrinthEntries += after.freeRoam[n] && !before.freeRoam[n];
    if (round.particles.snowVisible(round.seasonPhase))
        ++counted.ticksWithSnow;
    if (round.world.anyBurning())
        ++counted.ticksWithBlast;
}

void RoundDriver::tick(const KeyState& keys) {
    const Snapshot before = snapshot();
    tickRound(round, keys);
    noteHits();
    count(before);
}

float RoundDriver::now() const {
    return round.gameTime;
}

// ---------------------------------------------------------------------------------------------
// Planning over the arena

namespace {
constexpr int arena = MazeWorld::arenaSize;
using Grid = std::array<std::array<bool, arena>, arena>;

bool onGrid(int x, int y) {
    return x >= 0 && x < arena && y >= 0 && y < arena;
}

// Cells a lying bomb's flames will reach, and cells burning now.
Grid dangerCells(RoundState& g, int extraX = -1, int extraY = -1, int extraReach = 0) {
    Grid danger{};
    MazeWorld& w = g.world;
    auto cross = [&](int bx, int by, int reach) {
        danger[bx][by] = true;
        const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
        for (int d = 0; d < 4; ++d)
            for (int i = 1; i <= reach; ++i) {
                const int x = bx + dx[d] * i, y = by + dy[d] * i;
                if (!onGrid(x, y) || w.cell(x, y).pillar)
                    break;
                danger[x][y] = true;
                const Cell& c = w.cell(x, y);
                if (c.hasObstacle || c.wall != Cell::none || c.bomb != Cell::none)
                    break;
            }
    };
    for (int x = 0; x < arena; ++x)
        for (int y = 0; y < arena; ++y)
            if (const int8_t b = w.cell(x, y).bomb; b != Cell::none)
                cross(x, y, g.player(b / 10 + 1).bombs[b % 10].reach);
    if (extraX >= 0)
        cross(extraX, extraY, extraReach);
    for (const BurningCell& b : w.burning())
        if (onGrid(b.x, b.y))
            danger[b.x][b.y] = true;
    return danger;
}

// A laid trap is walked into only when there is no other way: it throws the player onto a
// random cell, from where the planning starts afresh. The outer half of a labyrinth door cell
// can be stood on, and flames stop short of it: a refuge from a bomb laid in front of the door.
bool walkable(MazeWorld& w, int x, int y, bool throughTraps) {
    if (MazeWorld::isHouseDoor(x, y))
        return true;
    const Cell& c = w.cell(x, y);
    return c.open() && c.wall == Cell::none && (throughTraps || c.trap == Cell::none) &&
           c.bomb == Cell::none;
}

struct Path {
    bool found = false;
    int length = 0;
    int firstX = -1, firstY = -1; // the next cell; the start itself for a path of length 0
    int endX = -1, endY = -1;
};

// Breadth-first from (sx, sy) to the nearest cell that satisfies goal; avoid marks cells not to
// pass through (the start is always left).
template <typename Goal>
Path searchOnce(MazeWorld& w, int sx, int sy, const Grid* avoid, bool throughTraps, Goal goal) {
    int from[arena][arena];
    int dist[arena][arena];
    for (auto& row : dist)
        for (int& d : row)
            d = -1;
    std::deque<std::pair<int, int>> queue;
    queue.push_back({sx, sy});
    dist[sx][sy] = 0;
    from[sx][sy] = -1;
    while (!queue.empty()) {
        auto [x, y] = queue.front();
        queue.pop_front();
        if (goal(x, y)) {
            Path p;
            p.found = true;
            p.length = dist[x][y];
            p.endX = x;
            p.endY = y;
            int cx = x, cy = y;
            while (from[cx][cy] >= 0 &&
                   !(from[cx][cy] / arena == sx && from[cx][cy] % arena == sy)) {
                const int f = from[cx][cy];
                cx = f / arena;
                cy = f % arena;
            }
            p.firstX = cx;
            p.firstY = cy;
            return p;
        }
        const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
        for (int d = 0; d < 4; ++d) {
            const int nx = x + dx[d], ny = y + dy[d];
            if (!onGrid(nx, ny) || dist[nx][ny] >= 0 || !walkable(w, nx, ny, throughTraps))
                continue;
            if (avoid && (*avoid)[nx][ny] && !goal(nx, ny))
                continue;
            dist[nx][ny] = dist[x][y] + 1;
            from[nx][ny] = x * arena + y;
            queue.push_back({nx, ny});
        }
    }
    return {};
}

template <typename Goal> Path search(MazeWorld& w, int sx, int sy, const Grid* avoid, Goal goal) {
    const Path around = searchOnce(w, sx, sy, avoid, false, goal);
    return around.found ? around : searchOnce(w, sx, sy, avoid, true, goal);
}

// Next to an obstacle, or, with walls counted, next to a laid wall block (a blast clears both).
bool nextToObstacle(MazeWorld& w, int x, int y, bool walls = false) {
    const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
    for (int d = 0; d < 4; ++d) {
        if (!onGrid(x + dx[d], y + dy[d]))
            continue;
        const Cell& c = w.cell(x + dx[d], y + dy[d]);
        if (c.hasObstacle || (walls && c.wall != Cell::none))
            return true;
    }
    return false;
}

// Whether a wall on (bx, by) would part cells that are joined now: the two homes and the cell
// in front of the labyrinth door.
bool wallWouldPart(MazeWorld& w, int bx, int by) {
    auto reached = [&](bool blocked) {
        Grid seen{};
        std::deque<std::pair<int, int>> queue{{0, 0}};
        seen[0][0] = true;
        while (!queue.empty()) {
            auto [x, y] = queue.front();
            queue.pop_front();
            const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
            for (int d = 0; d < 4; ++d) {
                const int nx = x + dx[d], ny = y + dy[d];
                if (!onGrid(nx, ny) || seen[nx][ny] || !walkable(w, nx, ny, true) ||
                    (blocked && nx == bx && ny == by))
                    continue;
                seen[nx][ny] = true;
                queue.push_back({nx, ny});
            }
        }
        return seen[14][0] * 2 + seen[7][7];
    };
    return reached(true) != reached(false);
}

bool cheeseInLabyrinth(const MazeWorld& w) {
    for (int i = MazeWorld::firstCheese; i < MazeWorld::itemTotal; ++i)
        if (w.items[i].taken == 0 && w.items[i].x >= 100)
            return true;
    return false;
}

bool isStart(int x, int y) {
    return y <= 1 && (x <= 1 || x >= 13);
}

// Which key turns the camera's facing by an angle, read from the controls' own table.
PlayerKey keyForAngle(const float* angles, float angle) {
    const PlayerKey keys[4] = {keyForward, keyBack, keyLeft, keyRight};
    for (int i = 0; i < 4; ++i)
        if (std::fabs(angles[i] - angle) < 1e-3f)
            return keys[i];
    return keyForward;
}
} // namespace

PlayerBot::PlayerBot(RoundState& r, int n) : round(r), number(n) {}

void PlayerBot::decide(KeyState& keys) {
    bool* k = keys.player[number - 1];
    for (int i = 0; i < playerKeyCount; ++i)
        k[i] = false;
    if (round.world.freeRoam[number - 1])
        labyrinth(k);
    else
        arena(k);
}

void PlayerBot::steerArena(bool* keys, int dx, int dy) {
    const Vector3 v = round.playerCamera(number).viewDirection();
    // The camera faces along an axis; its larger ground component tells which.
    int fx = 0, fy = 0;
    if (std::fabs(v.x) > std::fabs(v.y))
        fx = v.x > 0 ? 1 : -1;
    else
        fy = v.y > 0 ? 1 : -1;
    float angle = -90;
    if (dx == fx && dy == fy)
        angle = 0;
    else if (dx == -fx && dy == -fy)
        angle = 180;
    else if (dx == -fy && dy == fx)
        angle = 90; // counter-clockwise of the facing
    keys[keyForAngle(round.keyAngle[number - 1], angle)] = true;
}

void PlayerBot::walkTowards(bool* keys, int cx, int cy, int nx, int ny) {
    const Player& p = round.player(number);
    const float tol = std::max(0.06f, p.stepLength / 2 + 0.01f);
    const float offX = p.x - (cx + 0.5f), offY = p.y - (cy + 0.5f);
    if (nx == cx && ny == cy) {
        if (std::fabs(offX) > tol)
            steerArena(keys, offX > 0 ? -1 : 1, 0);
        else if (std::fabs(offY) > tol)
            steerArena(keys, 0, offY > 0 ? -1 : 1);
        return;
    }
    // Centred across the way first, so the body fits between the pillars.
    if (nx != cx) {
        if (std::fabs(offY) > tol)
            steerArena(keys, 0, offY > 0 ? -1 : 1);
        else
            steerArena(keys, nx > cx ? 1 : -1, 0);
    } else {
        if (std::fabs(offX) > tol)
            steerArena(keys, offX > 0 ? -1 : 1, 0);
        else
            steerArena(keys, 0, ny > cy ? 1 : -1);
    }
}

void PlayerBot::arena(bool* keys) {
    Player& p = round.player(number);
    MazeWorld& w = round.world;
    if (p.freeMoveTime >= 0 && round.gameTime - p.freeMoveTime <= 2000) {
        doing = "waiting after the labyrinth";
        return;
    }
    const int cx = static_cast<int>(p.x), cy = static_cast<int>(p.y);
    if (!onGrid(cx, cy))
        return;
    const Grid danger = dangerCells(round);
    const int homeX = number == 1 ? 0 : 14;

    if (danger[cx][cy]) {
        doing = "fleeing a bomb";
        const Path out = search(w, cx, cy, nullptr, [&](int x, int y) { return !danger[x][y]; });
        if (out.found)
            walkTowards(keys, cx, cy, out.firstX, out.firstY);
        return;
    }
    // Where the player wants to be: home with cheese, the labyrinth door when it is due. When
    // obstacles shut the way, the obstacles nearest that place are bombed first.
    int targetX = -1, targetY = -1;
    if (p.carryingCheese) {
        doing = "carrying cheese home";
        if (cx == homeX && cy == 0) {
            // The delivery happens on the next step taken at home; a step toward the corner.
            walkTowards(keys, cx, cy, cx, cy);
            if (!keys[keyForward] && !keys[keyBack] && !keys[keyLeft] && !keys[keyRight])
                steerArena(keys, 0, -1);
            return;
        }
        const Path home =
            search(w, cx, cy, &danger, [&](int x, int y) { return x == homeX && y == 0; });
        if (home.found) {
            walkTowards(keys, cx, cy, home.firstX, home.firstY);
            return;
        }
        doing = "carrying cheese, clearing the way home";
        targetX = homeX;
        targetY = 0;
    }
    if (layTraps && p.trapItems > 0 && !isStart(cx, cy) && w.canPlace(p.x, p.y)) {
        keys[keyTrap] = true;
        doing = "laying a trap";
        return;
    }
    if (layWalls && p.wallItems > 0 && !isStart(cx, cy) && w.canPlace(p.x, p.y) && cy % 2 == 0 &&
        cx % 2 == 1 && !wallWouldPart(w, cx, cy)) {
        keys[keyWall] = true;
        doing = "laying a wall";
        return;
    }
    if (!p.carryingCheese && round.gameTime >= labyrinthFrom && cheeseInLabyrinth(w)) {
        doing = "going to the labyrinth";
        // Into the door cell and on to its inner half, where the way into the labyrinth opens.
        if (cx == 7 && (cy == 7 || cy == 8)) {
            walkTowards(keys, cx, 7, 7, 8);
            if (!keys[keyForward] && !keys[keyBack] && !keys[keyLeft] && !keys[keyRight])
                steerArena(keys, 0, 1);
            return;
        }
        const Path door = search(w, cx, cy, &danger, [](int x, int y) { return x == 7 && y == 7; });
        if (door.found) {
            walkTowards(keys, cx, cy, door.firstX, door.firstY);
            return;
        }
        if (round.gameTime >= labyrinthFrom + 15000) {
            ++putAtDoor;
            p.x = p.y = 7.5f;
            p.dirX = 0;
            p.dirY = 1;
            round.playerCamera(number).place(7.5f, 5.5f, 0.9f, 7.5f, 7.5f, 0.7f, 0, 0, 1);
            const float facingForward[4] = {0, 180, 90, -90};
            std::copy(facingForward, facingForward + 4, round.keyAngle[number - 1]);
            return;
        }
        targetX = targetY = 7;
    }
    const Path item = search(w, cx, cy, &danger, [&](int x, int y) {
        const Item* it = w.itemIn(w.cell(x, y));
        return it != nullptr && it->taken == 0 && !w.cell(x, y).hasObstacle &&
               (it->type != kindCheese || !p.carryingCheese);
    });
    if (item.found && item.length > 0) {
        doing = "fetching an item";
        walkTowards(keys, cx, cy, item.firstX, item.firstY);
        return;
    }
    // Bomb an obstacle next to this cell when a safe cell can be reached before the blast. A
    // player shut out of where it wants to go bombs wall blocks too.
    const bool walls = targetX >= 0;
    if (nextToObstacle(w, cx, cy, walls) && p.bombsReady > 0 && w.cell(cx, cy).bomb == Cell::none &&
        !isStart(cx, cy) && !MazeWorld::isHouseDoor(cx, cy)) {
        const Grid after = dangerCells(round, cx, cy, p.bombs[0].reach);
        const Path out = search(w, cx, cy, nullptr, [&](int x, int y) { return !after[x][y]; });
        if (out.found && out.length <= 3) {
            keys[keyBomb] = true;
            doing = "bombing an obstacle";
            return;
        }
        noBombUntil[cx][cy] = round.gameTime + 10000;
    }
    auto bombSpot = [&](int x, int y) {
        return nextToObstacle(w, x, y, walls) && !isStart(x, y) && !(x == cx && y == cy) &&
               !MazeWorld::isHouseDoor(x, y) && noBombUntil[x][y] <= round.gameTime;
    };
    auto toTarget = [&](int x, int y) { return std::abs(x - targetX) + std::abs(y - targetY); };
    int best = 1 << 20;
    if (targetX >= 0)
        search(w, cx, cy, &danger, [&](int x, int y) {
            if (bombSpot(x, y))
                best = std::min(best, toTarget(x, y));
            return false;
        });
    const Path spot = search(w, cx, cy, &danger, [&](int x, int y) {
        return bombSpot(x, y) && (best == (1 << 20) || toTarget(x, y) == best);
    });
    if (spot.found && p.bombsReady > 0) {
        doing = "going to an obstacle";
        walkTowards(keys, cx, cy, spot.firstX, spot.firstY);
        return;
    }
    doing = "waiting";
}

// ---------------------------------------------------------------------------------------------
// The labyrinth

namespace {
constexpr int side = 9;

bool mazeOpen(const MazeGenerator& m, int x, int y, int dx, int dy) {
    const int nx = x + dx, ny = y + dy;
    if (nx < 0 || nx >= side || ny < 0 || ny >= side)
        return false;
    if (dx == 1)
        return !m.wallPosX[x + side * y];
    if (dx == -1)
        return !m.wallPosX[nx + side * ny];
    if (dy == 1)
        return !m.wallPosY[x + side * y];
    return !m.wallPosY[nx + side * ny];
}
} // namespace

void PlayerBot::labyrinth(bool* keys) {
    Player& p = round.player(number);
    MazeWorld& w = round.world;
    const int cx = static_cast<int>(p.x - 100), cy = static_cast<int>(p.y - 100);
    if (cx < 0 || cx >= side || cy < 0 || cy >= side)
        return;

    // The way out is the door below cell (4, 0): the player came in there. With nothing left to
    // fetch the player goes out too.
    const bool leaving = p.carryingCheese || !cheeseInLabyrinth(w);
    auto wanted = [&](int x, int y) {
        if (leaving)
            return x == 4 && y == 0;
        for (int i = MazeWorld::firstCheese; i < MazeWorld::itemTotal; ++i) {
            const Item* c = &w.items[i];
            if (c->taken == 0 && static_cast<int>(c->x) == x + 100 &&
                static_cast<int>(c->y) == y + 100)
                return true;
        }
        return false;
    };
    int dist[side][side], from[side][side];
    for (auto& row : dist)
        for (int& d : row)
            d = -1;
    std::deque<std::pair<int, int>> queue{{cx, cy}};
    dist[cx][cy] = 0;
    int goalX = -1, goalY = -1;
    while (!queue.empty()) {
        auto [x, y] = queue.front();
        queue.pop_front();
        if (wanted(x, y)) {
            goalX = x;
            goalY = y;
            break;
        }
        const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
        for (int d = 0; d < 4; ++d) {
            const int nx = x + dx[d], ny = y + dy[d];
            if (!mazeOpen(w.maze, x, y, dx[d], dy[d]) || dist[nx][ny] >= 0)
                continue;
            dist[nx][ny] = dist[x][y] + 1;
            from[nx][ny] = x * side + y;
            queue.push_back({nx, ny});
        }
    }
    if (goalX < 0) {
        doing = "lost in the labyrinth";
        return;
    }
    int nx = goalX, ny = goalY;
    while (dist[nx][ny] > 1) {
        const int f = from[nx][ny];
        nx = f / side;
        ny = f % side;
    }
    float wantX = 0, wantY = 0;
    const float offX = p.x - (100 + cx + 0.5f), offY = p.y - (100 + cy + 0.5f);
    const float tol = 0.06f;
    if (dist[goalX][goalY] == 0) {
        // At the door cell: out through the bottom.
        wantY = -1;
        doing = "leaving the labyrinth";
    } else if (nx != cx) {
        if (std::fabs(offY) > tol)
            wantY = offY > 0 ? -1.0f : 1.0f;
        else
            wantX = nx > cx ? 1.0f : -1.0f;
        doing = "walking the labyrinth";
    } else {
        if (std::fabs(offX) > tol)
            wantX = offX > 0 ? -1.0f : 1.0f;
        else
            wantY = ny > cy ? 1.0f : -1.0f;
        doing = "walking the labyrinth";
    }
    const float dot = p.dirX * wantX + p.dirY * wantY;
    if (dot > 0.9999f)
        keys[keyForward] = true;
    else if (dot < -0.9999f)
        keys[keyBack] = true;
    else if (p.dirX * wantY - p.dirY * wantX > 0)
        keys[keyLeft] = true;
    else
        keys[keyRight] = true;
}

// ---------------------------------------------------------------------------------------------
// Random keys and screenshots

unsigned RandomKeys::nextBits() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

KeyState RandomKeys::next() {
    KeyState k;
    for (int p = 0; p < 2; ++p) {
        if (hold[p] <= 0) {
            key[p] = static_cast<int>(nextBits() % playerKeyCount);
            hold[p] = 1 + static_cast<int>(nextBits() % 12);
        }
        --hold[p];
        k.player[p][key[p]] = true;
        // Now and then a second key in the same frame, as a player mashing the keyboard would.
        if (nextBits() % 8 == 0)
            k.player[p][nextBits() % playerKeyCount] = true;
    }
    k.shadowToggle = nextBits() % 50 == 0;
    return k;
}
