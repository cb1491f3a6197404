#include "actors/Player.h"
#include "scene/RandomGenerator.h"
#include "world/MazeWorld.h"

namespace {
constexpr float arenaEdge = 15;
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

// One way from a house door cell into the labyrinth.
struct HouseDoor {
    float toX, toY;
    float dirX, dirY;
};
} // namespace

bool Player::arenaStep() {
    const float r = bodyRadius;
    const float s = stepLength;
    stepX = stepY = 0;
    const float nx = x + dirX * s;
    const float ny = y + dirY * s;

    const bool atHome = number == 1 ? (x < 1 - r && y < 1 - r) : (x > 14 + r && y < 1 - r);
    if (carryingCheese && atHome) {
        ++cheese;
        points += 10;
        carryingCheese = false;
        for (int32_t i = MazeWorld::firstCheese; i < MazeWorld::itemTotal; ++i) {
            Item* piece = world.items[i];
            if (piece && piece->taken == number)
                piece->taken = 3;
        }
    }

    // The trigger is the half of a door cell next to the house centre; the camera's eye is put
    // r + 0.5 behind the player, outside the labyrinth door.
    const int32_t column = static_cast<int32_t>(x);
    const int32_t row = static_cast<int32_t>(y);
    const float behind = r + 0.5f;
    const HouseDoor* door = nullptr;
    float eyeX = 0, eyeY = 0;
    static const HouseDoor south{104.5f, 100.5f, 0, 1}, north{104.5f, 108.5f, 0, -1},
        west{100.5f, 104.5f, 1, 0}, east{108.5f, 104.5f, -1, 0};
    if (column == 7 && y > 8.5f && y < 9) {
        door = &south;
        eyeY = -behind;
    } else if (column == 7 && y > 10 && y < 10.5f) {
        door = &north;
        eyeY = behind;
    } else if (row == 9 && x > 6.5f && x < 7) {
        door = &west;
        eyeX = -behind;
    } else if (row == 9 && x > 8 && x < 8.5f) {
        door = &east;
        eyeX = behind;
    }
    if (door) {
        x = door->toX;
        y = door->toY;
        dirX = door->dirX;
        dirY = door->dirY;
        stepX = eyeX;
        stepY = eyeY;
        return false;
    }

    const bool inside = insideArena(nx, ny);
    const bool bombOk = inside && world.bombAllows(x, y, nx, ny);
    const bool wallOk = inside && world.wallAllows(x, y, nx, ny);
    const bool borderOk = (dirX <= 0 || nx + r <= arenaEdge) && (dirX >= 0 || nx - r >= 0) &&
                          (dirY <= 0 || ny + r <= arenaEdge) && (dirY >= 0 || ny - r >= 0);
    const bool moving = dirX != 0 || dirY != 0;
    const bool accepted =
        inside && moving && world.isPassable(nx, ny, r) && bombOk && wallOk && borderOk;

    if (accepted) {
        const int32_t type = world.itemTypeAt(nx, ny);
        const bool hadCheese = carryingCheese;
        applyPickUp(type);
        if (type != -1 && (type != kindCheese || !hadCheese))
            world.takeItem(nx, ny, number);
        // The item comes first: one lying in a trap cell is collected before the trap springs.
        if (world.hasTrap(nx, ny) && !world.hasTrap(x, y)) {
            world.springTrap(nx, ny);
            teleportToRandomCell();
            stepX = 0;
            stepY = -2;
            return false;
        }
        stepX = nx - x;
        stepY = ny - y;
        x = nx;
        y = ny;
        return true;
    }

    if (inside && !bombOk && !wallOk)
        return true;

    // Pushed flush against the current cell's boundary, y first; the x test sees the new y. The
    // free axis of a diagonal heading keeps its value.
    if (dirY > 0 && (dirX == 0 || !passable(world, x, ny, r))) {
        const float pushed = truncated(y) + 1 - r - flushGap;
        stepY = pushed - y;
        y = pushed;
    } else if (dirY < 0 && (dirX == 0 || !passable(world, x, ny, r))) {
        const float pushed = truncated(y) + r + flushGap;
        stepY = pushed - y;
        y = pushed;
    }
    if (dirX > 0 && (dirY == 0 || !passable(world, nx, y, r))) {
        const float pushed = truncated(x) + 1 - r - flushGap;
        stepX = pushed - x;
        x = pushed;
    } else if (dirX < 0 && (dirY == 0 || !passable(world, nx, y, r))) {
        const float pushed = truncated(x) + r + flushGap;
        stepX = pushed - x;
        x = pushed;
    }
    return true;
}

void Player::teleportToRandomCell() {
    do {
        const int32_t column = world.random->nextInt(0, 14);
        const int32_t row = world.random->nextInt(0, 14);
        x = static_cast<float>(column) + 0.5f;
        y = static_cast<float>(row) + 0.5f;
    } while (!(world.isPassable(x, y, 0) && world.canPlace(x, y)));
}
