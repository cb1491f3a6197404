#include "rules/LabyrinthCamera.h"
#include "scene/Camera.h"
#include "world/ArenaLayout.h"
#include "world/MazeGenerator.h"
#include <cmath>

namespace {
constexpr int side = 9;
// The doors in the outer walls that are not stored: the -x wall of row 4, the -y wall of column 4.
constexpr int westDoorRow = side / 2, southDoorColumn = side / 2;
// Kept between the eye and a wall's face, so the view's near plane does not reach into it; and
// the steps along the line, short against a wall's thickness so that none steps over a corner.
constexpr float roomToWall = 0.03f;
constexpr float searchStep = 0.002f;

// A wall on the line x = i (0..9) along row r.
bool wallAcross(const MazeGenerator& maze, int i, int r) {
    if (r < 0 || r >= side || i < 0 || i > side)
        return false;
    if (i == 0)
        return r != westDoorRow;
    return maze.wallPosX[(i - 1) + side * r] != 0;
}

// A wall on the line y = j (0..9) along column c.
bool wallAlong(const MazeGenerator& maze, int j, int c) {
    if (c < 0 || c >= side || j < 0 || j > side)
        return false;
    if (j == 0)
        return c != southDoorColumn;
    return maze.wallPosY[c + side * (j - 1)] != 0;
}
} // namespace

float labyrinthCameraDistance(float bodyRadius) {
    return bodyRadius + tuning::labyrinthCameraGap;
}

bool nearLabyrinthWall(const MazeGenerator& maze, float x, float y, float reach) {
    const float u = x - arena::labyrinthOrigin, v = y - arena::labyrinthOrigin;
    // A wall is a slab of its thickness along a cell side, closing the corners at its ends.
    const float w = maze.wallThickness / 2 + reach;
    const int i = static_cast<int>(std::lround(u));
    if (std::fabs(u - static_cast<float>(i)) < w)
        for (int r = static_cast<int>(std::floor(v - w)); r <= static_cast<int>(std::floor(v + w));
             ++r)
            if (wallAcross(maze, i, r))
                return true;
    const int j = static_cast<int>(std::lround(v));
    if (std::fabs(v - static_cast<float>(j)) < w)
        for (int c = static_cast<int>(std::floor(u - w)); c <= static_cast<int>(std::floor(u + w));
             ++c)
            if (wallAlong(maze, j, c))
                return true;
    return false;
}

void keepCameraOffWalls(Camera& camera, const MazeGenerator& maze, float x, float y,
                        float bodyRadius) {
    float dx = camera.position.x - x, dy = camera.position.y - y;
    const float length = std::sqrt(dx * dx + dy * dy);
    if (length <= 0)
        return;
    dx /= length;
    dy /= length;
    const float full = labyrinthCameraDistance(bodyRadius);
    // Out along the line to the first wall, or all the way.
    float distance = 0;
    bool blocked = false;
    while (distance < full) {
        const float next = std::fmin(distance + searchStep, full);
        if (nearLabyrinthWall(maze, x + dx * next, y + dy * next, 0)) {
            blocked = true;
            break;
        }
        distance = next;
    }
    // Then back towards the figure until the eye has room before the wall.
    while (blocked && distance > searchStep &&
           nearLabyrinthWall(maze, x + dx * distance, y + dy * distance, roomToWall))
        distance -= searchStep;
    distance = std::fmax(distance, searchStep);
    camera.position.x = x + dx * distance;
    camera.position.y = y + dy * distance;
}
