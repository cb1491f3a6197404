#include "rules/LabyrinthSight.h"
#include "world/ArenaLayout.h"
#include "world/MazeGenerator.h"
#include <algorithm>
#include <cmath>

bool labyrinthOpen(const MazeGenerator& maze, int32_t column, int32_t row, int32_t dx, int32_t dy) {
    constexpr int32_t side = LabyrinthSight::side;
    const int32_t toColumn = column + dx, toRow = row + dy;
    if (column < 0 || column >= side || row < 0 || row >= side || toColumn < 0 ||
        toColumn >= side || toRow < 0 || toRow >= side)
        return false;
    // The wall between two cells is stored on the +x or +y side of the lower one.
    if (dx != 0)
        return maze.wallPosX[std::min(column, toColumn) + side * row] == 0;
    return maze.wallPosY[column + side * std::min(row, toRow)] == 0;
}

void lookAround(LabyrinthSight& sight, const MazeGenerator& maze, float x, float y, float dirX,
                float dirY) {
    constexpr int32_t side = LabyrinthSight::side;
    const float fx = x - arena::labyrinthOrigin, fy = y - arena::labyrinthOrigin;
    if (fx < 0 || fy < 0 || fx >= side || fy >= side)
        return;
    const int32_t column = static_cast<int32_t>(fx), row = static_cast<int32_t>(fy);
    sight.seen[column + side * row] = true;
    constexpr int32_t steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const auto& s : steps)
        if (labyrinthOpen(maze, column, row, s[0], s[1]))
            sight.seen[column + s[0] + side * (row + s[1])] = true;
    // Down the corridor ahead, along the heading's stronger axis, to the first wall.
    int32_t dx = 0, dy = 0;
    if (std::fabs(dirX) >= std::fabs(dirY))
        dx = dirX > 0 ? 1 : -1;
    else
        dy = dirY > 0 ? 1 : -1;
    int32_t c = column, r = row;
    while (labyrinthOpen(maze, c, r, dx, dy)) {
        c += dx;
        r += dy;
        sight.seen[c + side * r] = true;
    }
}
