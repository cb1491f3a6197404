#include "rules/Movement.h"
#include "actors/Player.h"
#include "scene/RandomGenerator.h"
#include "world/ArenaLayout.h"
#include "world/MazeWorld.h"
#include <algorithm>
#include <cmath>

namespace {
constexpr float arenaEdge = arena::size;
constexpr float flushGap = 0.01f;

float truncated(float v) {
    return static_cast<float>(static_cast<int32_t>(v));
}

bool insideArena(float x, float y) {
    return x >= 0 && x < arenaEdge && y >= 0 && y < arenaEdge;
}

// The disc test of the step for a point that may lie beyond the +x or +y border: no cell there
// can be walked on, so such a point is refused without looking up a cell that does not exist.
bool passable(const MazeWorld& world, float x, float y, float radius) {
    if (x >= arenaEdge || y >= arenaEdge)
        return false;
    return world.isPassable(x, y, radius);
}

bool atHome(const Player& p) {
    const float r = p.bodyRadius;
    return p.number == 1 ? (p.x < 1 - r && p.y < 1 - r)
                         : (p.x > tuning::lastCell + r && p.y < 1 - r);
}

// Cheese carried home: ten points, and the piece counts as delivered.
void deliverCheese(Player& p, MazeWorld& world) {
    ++p.cheese;
    p.points += tuning::cheesePoints;
    p.carryingCheese = false;
    world.events.tell(RoundEvent::of(RoundEvent::cheeseHome, p.number, static_cast<int32_t>(p.x),
                                     static_cast<int32_t>(p.y), kindCheese, tuning::cheesePoints));
    for (int32_t i = MazeWorld::firstCheese; i < MazeWorld::itemTotal; ++i) {
        Item& piece = world.items[i];
        if (piece.type != 0 && piece.taken == p.number)
            piece.taken = 3;
    }
}

// The door whose cell's inner half (the half next to the house centre) the player stands in.
const arena::HouseDoor* doorEntered(const Player& p) {
    const int32_t column = static_cast<int32_t>(p.x);
    const int32_t row = static_cast<int32_t>(p.y);
    for (const arena::HouseDoor& d : arena::houseDoors) {
        const bool inLine = d.outX != 0 ? row == d.row : column == d.column;
        const float inward = d.outX != 0 ? (d.centreX() - p.x) * static_cast<float>(d.outX)
                                         : (d.centreY() - p.y) * static_cast<float>(d.outY);
        if (inLine && inward > 0 && inward < 0.5f)
            return &d;
    }
    return nullptr;
}

// Through a door into the labyrinth: the player arrives at the door's entry facing in, and the
// camera's eye is put r + 0.5 behind it, outside the labyrinth door.
void enterLabyrinth(Player& p, const arena::HouseDoor& door) {
    const float behind = p.bodyRadius + tuning::labyrinthCameraGap;
    p.x = door.labyrinthX;
    p.y = door.labyrinthY;
    p.dirX = static_cast<float>(-door.outX);
    p.dirY = static_cast<float>(-door.outY);
    p.stepX = static_cast<float>(door.outX) * behind;
    p.stepY = static_cast<float>(door.outY) * behind;
}

// What stands in the way of a whole step to (nx, ny).
struct StepCheck {
    bool inside, bombOk, wallOk, accepted;
};

StepCheck checkStep(const Player& p, const MazeWorld& world, float nx, float ny) {
    const float r = p.bodyRadius;
    StepCheck c{};
    c.inside = insideArena(nx, ny);
    c.bombOk = c.inside && world.bombAllows(p.x, p.y, nx, ny);
    c.wallOk = c.inside && world.wallAllows(p.x, p.y, nx, ny);
    const bool borderOk = (p.dirX <= 0 || nx + r <= arenaEdge) && (p.dirX >= 0 || nx - r >= 0) &&
                          (p.dirY <= 0 || ny + r <= arenaEdge) && (p.dirY >= 0 || ny - r >= 0);
    const bool moving = p.dirX != 0 || p.dirY != 0;
    c.accepted =
        c.inside && moving && world.isPassable(nx, ny, r) && c.bombOk && c.wallOk && borderOk;
    return c;
}

// The whole step: what lies in the new cell is picked up first, then a trap there springs and
// throws the player to a random cell. Answers false for the throw.
bool takeStep(Player& p, MazeWorld& world, RandomGenerator& random, float nx, float ny) {
    const int32_t type = world.itemTypeAt(nx, ny);
    const bool hadCheese = p.carryingCheese;
    p.applyPickUp(type);
    if (type != -1 && (type != kindCheese || !hadCheese))
        world.takeItem(nx, ny, p.number);
    if (world.hasTrap(nx, ny) && !world.hasTrap(p.x, p.y)) {
        world.springTrap(nx, ny, random, p.number);
        teleportToRandomCell(p, world, random);
        p.stepX = 0;
        p.stepY = -2;
        return false;
    }
    p.stepX = nx - p.x;
    p.stepY = ny - p.y;
    p.x = nx;
    p.y = ny;
    return true;
}

// A refused step pushes the player flush against its cell's boundary, y first; the x test sees
// the new y. The free axis of a diagonal heading keeps its value.
void pushFlush(Player& p, const MazeWorld& world, float nx, float ny) {
    const float r = p.bodyRadius;
    if (p.dirY > 0 && (p.dirX == 0 || !passable(world, p.x, ny, r))) {
        const float pushed = truncated(p.y) + 1 - r - flushGap;
        p.stepY = pushed - p.y;
        p.y = pushed;
    } else if (p.dirY < 0 && (p.dirX == 0 || !passable(world, p.x, ny, r))) {
        const float pushed = truncated(p.y) + r + flushGap;
        p.stepY = pushed - p.y;
        p.y = pushed;
    }
    if (p.dirX > 0 && (p.dirY == 0 || !passable(world, nx, p.y, r))) {
        const float pushed = truncated(p.x) + 1 - r - flushGap;
        p.stepX = pushed - p.x;
        p.x = pushed;
    } else if (p.dirX < 0 && (p.dirY == 0 || !passable(world, nx, p.y, r))) {
        const float pushed = truncated(p.x) + r + flushGap;
        p.stepX = pushed - p.x;
        p.x = pushed;
    }
}
} // namespace

bool arenaStep(Player& p, MazeWorld& world, RandomGenerator& random) {
    p.stepX = p.stepY = 0;
    const float nx = p.x + p.dirX * p.stepLength;
    const float ny = p.y + p.dirY * p.stepLength;
    if (p.carryingCheese && atHome(p))
        deliverCheese(p, world);
    if (const arena::HouseDoor* door = doorEntered(p)) {
        enterLabyrinth(p, *door);
        return false;
    }
    const StepCheck check = checkStep(p, world, nx, ny);
    if (check.accepted)
        return takeStep(p, world, random, nx, ny);
    // Refused by a bomb and by a laid wall at once, the player stays where it is.
    if (check.inside && !check.bombOk && !check.wallOk)
        return true;
    pushFlush(p, world, nx, ny);
    return true;
}

bool steerTowardGap(Player& p, MazeWorld& world, RandomGenerator& random, bool& stillInArena) {
    const bool alongY = std::fabs(p.dirY) > 0.9f, alongX = std::fabs(p.dirX) > 0.9f;
    if (alongX == alongY || doorEntered(p) || (p.carryingCheese && atHome(p)))
        return false;
    const float ahead = alongY ? (p.dirY > 0 ? 1.0f : -1.0f) : (p.dirX > 0 ? 1.0f : -1.0f);
    if (checkStep(p, world, p.x + p.dirX * p.stepLength, p.y + p.dirY * p.stepLength).accepted)
        return false;
    // u runs across the heading, v along it.
    const float u = alongY ? p.x : p.y, v = alongY ? p.y : p.x;
    const float nextV = truncated(v) + 0.5f + ahead;
    float best = -1, bestOff = tuning::steeringReach;
    for (int side = -1; side <= 1; ++side) {
        const float lane = truncated(u) + 0.5f + static_cast<float>(side);
        const float off = std::fabs(lane - u);
        if (off > bestOff || off < 1e-4f || lane < 0 || lane >= arenaEdge)
            continue;
        const float cx = alongY ? lane : nextV, cy = alongY ? nextV : lane;
        const float sx = alongY ? lane : v, sy = alongY ? v : lane;
        if (!insideArena(cx, cy) || !world.isPassable(cx, cy, 0) ||
            !world.isPassable(sx, sy, p.bodyRadius) || !world.bombAllows(sx, sy, cx, cy) ||
            !world.wallAllows(sx, sy, cx, cy))
            continue;
        best = lane;
        bestOff = off;
    }
    if (best < 0)
        return false;
    const float heading[2] = {p.dirX, p.dirY};
    const float length = p.stepLength;
    const float across = best > u ? 1.0f : -1.0f;
    p.dirX = alongY ? across : 0;
    p.dirY = alongY ? 0 : across;
    p.stepLength = std::min(length, bestOff);
    const bool slides =
        checkStep(p, world, p.x + p.dirX * p.stepLength, p.y + p.dirY * p.stepLength).accepted;
    if (slides)
        stillInArena =
            takeStep(p, world, random, p.x + p.dirX * p.stepLength, p.y + p.dirY * p.stepLength);
    p.dirX = heading[0];
    p.dirY = heading[1];
    p.stepLength = length;
    return slides;
}

void teleportToRandomCell(Player& p, const MazeWorld& world, RandomGenerator& random) {
    do {
        const int32_t column = random.nextInt(0, tuning::lastCell);
        const int32_t row = random.nextInt(0, tuning::lastCell);
        p.x = static_cast<float>(column) + 0.5f;
        p.y = static_cast<float>(row) + 0.5f;
    } while (!(world.isPassable(p.x, p.y, 0) && world.canPlace(p.x, p.y)));
}
