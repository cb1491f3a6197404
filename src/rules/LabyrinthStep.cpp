#include "rules/Movement.h"
#include "actors/Player.h"
#include "scene/GameClock.h"
#include "world/ArenaLayout.h"
#include "world/MazeWorld.h"
#include <cmath>

namespace {
constexpr int32_t side = 9;
constexpr float reachAhead = tuning::labyrinthStepLength;
constexpr float subStep = 0.01f;
// Half the wall thickness: a wall stops the body at the wall's face.
constexpr float margin = 0.025f;
constexpr int perimeterPoints = 72;
constexpr float perimeterAngle = 0.0872664626f; // 5 degrees in radians

// A wall flag of labyrinth cell (col, row); a cell outside the labyrinth counts as a standing
// wall, so the step never reads beyond the flag arrays.
int32_t flag(const uint8_t* walls, int32_t col, int32_t row) {
    if (col < 0 || col >= side || row < 0 || row >= side)
        return 1;
    return walls[col + side * row] != 0 ? 1 : 0;
}

// The walls of the start cell and the pieces that meet its corners from outside.
struct CellWalls {
    int32_t n, s, e, w;
    int32_t nwWest, nwNorth, neEast, neNorth, swWest, swSouth, seEast, seSouth;
};

CellWalls wallsAround(const MazeGenerator& maze, int32_t col, int32_t row) {
    const uint8_t* px = maze.wallPosX;
    const uint8_t* py = maze.wallPosY;
    return {flag(py, col, row),         flag(py, col, row - 1),     flag(px, col, row),
            flag(px, col - 1, row),     flag(py, col - 1, row),     flag(px, col - 1, row + 1),
            flag(py, col + 1, row),     flag(px, col, row + 1),     flag(py, col - 1, row - 1),
            flag(px, col - 1, row - 1), flag(py, col + 1, row - 1), flag(px, col, row - 1)};
}

// One of the collision cases: which walls it watches and how a moved point meets them.
struct Collision {
    int id = 0; // 0: no travel, nothing can block
    int32_t h1 = 0, v1 = 0, h2 = 0, v2 = 0;
    float x0 = 0, x1 = 0, y0 = 0, y1 = 0;

    bool blocks(float px, float py) const {
        const bool T = py + margin > y1;
        const bool B = py - margin < y0;
        const bool R = px + margin > x1;
        const bool L = px - margin < x0;
        switch (id) {
        case 1:
            return (h1 && T) || (h2 && T) || (v2 && T && L);
        case 2:
            return (h1 && T) || (h2 && T) || (v2 && T && R);
        case 3:
            return h1 && T;
        case 4:
            return (h1 && B) || (h2 && B) || (v2 && B && L);
        case 5:
            return (h1 && B) || (h2 && B) || (v2 && B && R);
        case 6:
            return h1 && B;
        case 7:
            return (v1 && R) || (h2 && R && B) || (v2 && R);
        case 8:
            return (v1 && R) || (h2 && R && T) || (v2 && R);
        case 9:
            return v1 && R;
        case 10:
            return (v1 && L) || (h2 && L && B) || (v2 && L);
        case 11:
            return (v1 && L) || (h2 && L && T) || (v2 && L);
        case 12:
            return v1 && L;
        case 13:
            return (h1 && T && px > x0) || (h2 && T && px < x0) || (v2 && T && px < x0);
        case 14:
            return (h1 && T && px < x1) || (v1 && R && py < y1) || (h2 && T && px > x1) ||
                   (v2 && T && px > x1);
        case 15:
            return (v1 && R && py > y0) || (h2 && B && R) || (v2 && B && R);
        case 16:
            return (h1 && B && px > x0) || (h2 && B && px < x0) || (v2 && B && px < x0);
        case 17:
            return (h1 && B && px < x1) || (v1 && R && py > y0) || (h2 && B && px > x1) ||
                   (v2 && B && px > x1);
        case 18:
            return (v1 && R && py < y1) || (h2 && py > y1 && px > x1) || (v2 && py > y1 && px > x1);
        case 19:
            return (h1 && T && px < x1) || (h2 && T && R) || (v2 && T && R);
        case 20:
            return (h1 && T && px < x1) || (v1 && L && py < y1) || (h2 && T && px < x0) ||
                   (v2 && T && L);
        case 21:
            return (v1 && L && py > y0) || (h2 && B && L) || (v2 && B && L);
        case 22:
            return (h1 && B && px > x0) || (v1 && L && py > y0) || (h2 && B && L) || (v2 && B && L);
        case 23:
            return (v1 && L && py < y1) || (h2 && T && L) || (v2 && T && L);
        case 24:
            return (h1 && B && px + margin < x1) || (h2 && B && R) || (v2 && B && R);
        default:
            return false;
        }
    }
};

// Chooses the case from the travel vector and where the body stands in its start cell.
Collision chooseCollision(const CellWalls& w, float x, float y, float r, float mx, float my) {
    Collision c;
    c.x0 = static_cast<float>(static_cast<int32_t>(x));
    c.x1 = c.x0 + 1;
    c.y0 = static_cast<float>(static_cast<int32_t>(y));
    c.y1 = c.y0 + 1;
    const float near = r + margin;
    const bool nearW = near > x - c.x0, nearE = near > c.x1 - x;
    const bool nearS = near > y - c.y0, nearN = near > c.y1 - y;
    const bool lowerX = x < c.x0 + 0.5f, lowerY = y < c.y0 + 0.5f;
    auto set = [&c](int id, int32_t h1, int32_t v1, int32_t h2, int32_t v2) {
        c.id = id;
        c.h1 = h1;
        c.v1 = v1;
        c.h2 = h2;
        c.v2 = v2;
    };
    if (mx == 0 && my > 0) {
        if (nearW)
            set(1, w.n, 0, w.nwWest, w.nwNorth);
        else if (nearE)
            set(2, w.n, 0, w.neEast, w.neNorth);
        else
            set(3, w.n, 0, 0, 0);
    } else if (mx == 0 && my < 0) {
        if (nearW)
            set(4, w.s, 0, w.swWest, w.swSouth);
        else if (nearE)
            set(5, w.s, 0, w.seEast, w.seSouth);
        else
            set(6, w.s, 0, 0, 0);
    } else if (my == 0 && mx > 0) {
        if (nearS)
            set(7, 0, w.e, w.seEast, w.seSouth);
        else if (nearN)
            set(8, 0, w.e, w.neEast, w.neNorth);
        else
            set(9, 0, w.e, 0, 0);
    } else if (my == 0 && mx < 0) {
        if (nearS)
            set(10, 0, w.w, w.swWest, w.swSouth);
        else if (nearN)
            set(11, 0, w.w, w.nwWest, w.nwNorth);
        else
            set(12, 0, w.w, 0, 0);
    } else if (mx > 0 && my > 0) {
        if (lowerX)
            set(13, w.n, 0, w.nwWest, w.nwNorth);
        else if (!lowerY)
            set(14, w.n, w.e, w.neEast, w.neNorth);
        else
            set(15, 0, w.e, w.seEast, w.seSouth);
    } else if (mx > 0 && my < 0) {
        if (lowerX)
            set(16, w.s, 0, w.swWest, w.swSouth);
        else if (lowerY)
            set(17, w.s, w.e, w.seEast, w.seSouth);
        else
            set(18, 0, w.e, w.neEast, w.neNorth);
    } else if (mx < 0 && my > 0) {
        if (!lowerX)
            set(19, w.n, 0, w.neEast, w.neNorth);
        else if (!lowerY)
            set(20, w.n, w.w, w.nwWest, w.nwNorth);
        else
            set(21, 0, w.w, w.swWest, w.swSouth);
    } else if (mx < 0 && my < 0) {
        if (lowerX && lowerY)
            set(22, w.s, w.w, w.swWest, w.swSouth);
        else if (lowerX)
            set(23, 0, w.w, w.nwWest, w.nwNorth);
        else
            set(24, w.s, 0, w.seEast, w.seSouth);
    }
    return c;
}

// The door a player leaves the labyrinth by, from where it stands: past the outer 0.2 of a
// door's entry cell, or none.
const arena::HouseDoor* exitDoor(float x, float y) {
    const int32_t column = static_cast<int32_t>(x);
    const int32_t row = static_cast<int32_t>(y);
    const arena::HouseDoor* doors = arena::houseDoors;
    if (column == 104 && y < 100.3f)
        return &doors[0];
    if (column == 104 && y > 108.7f)
        return &doors[1];
    if (row == 104 && x < 100.3f)
        return &doors[2];
    if (row == 104 && x > 108.7f)
        return &doors[3];
    return nullptr;
}
} // namespace

bool freeRoamStep(Player& p, MazeWorld& world, float now, int direction) {
    p.stepX = p.stepY = 0;
    const float mx = static_cast<float>(direction) * p.dirX;
    const float my = static_cast<float>(direction) * p.dirY;
    const float nx = p.x + mx * reachAhead;
    const float ny = p.y + my * reachAhead;
    p.freeMoveTime = now;

    // Out into the door cell, facing out, with the camera's eye 2 cells behind, in the house.
    if (const arena::HouseDoor* door = exitDoor(p.x, p.y)) {
        p.x = door->centreX();
        p.y = door->centreY();
        p.dirX = static_cast<float>(door->outX);
        p.dirY = static_cast<float>(door->outY);
        p.stepX = static_cast<float>(-2 * door->outX);
        p.stepY = static_cast<float>(-2 * door->outY);
        return false;
    }

    const float r = p.bodyRadius;
    const int32_t col = static_cast<int32_t>(p.x - arena::labyrinthOrigin);
    const int32_t labyrinthRow = static_cast<int32_t>(p.y - arena::labyrinthOrigin);
    const Collision collision =
        chooseCollision(wallsAround(world.maze, col, labyrinthRow), p.x, p.y, r, mx, my);

    float px[perimeterPoints], py[perimeterPoints];
    float angle = 0;
    for (int i = 0; i < perimeterPoints; ++i) {
        px[i] = p.x + r * std::cos(angle);
        py[i] = p.y + r * std::sin(angle);
        angle += perimeterAngle;
    }

    const float sx = mx * subStep;
    const float sy = my * subStep;
    float ox = p.x, oy = p.y;
    bool blocked = false;
    while (!blocked && (std::fabs(ox - nx) >= subStep || std::fabs(oy - ny) >= subStep)) {
        for (int i = 0; i < perimeterPoints; ++i) {
            const float qx = px[i] + sx;
            const float qy = py[i] + sy;
            if (collision.blocks(qx, qy)) {
                blocked = true;
                break;
            }
            px[i] = qx;
            py[i] = qy;
        }
        if (!blocked) {
            ox += sx;
            oy += sy;
        }
    }
    if (blocked)
        world.events.tell(RoundEvent::of(RoundEvent::bump, p.number, static_cast<int32_t>(p.x),
                                         static_cast<int32_t>(p.y)));

    p.stepX = ox - p.x;
    p.stepY = oy - p.y;
    p.x = ox;
    p.y = oy;
    if (!p.carryingCheese && world.takeCheese(p.x, p.y, p.number))
        p.carryingCheese = true;
    return true;
}
