#include "bots/Labyrinth.h"
#include "bots/Sight.h"
#include <algorithm>
#include <iterator>

int32_t exitNear(int32_t x, int32_t y) {
    for (int32_t i = 0; i < 4; ++i) {
        const LabyrinthExit& e = labyrinthExits[i];
        if ((x == e.arenaX && y == e.arenaY) || (x == e.arenaX - e.outX && y == e.arenaY - e.outY))
            return i;
    }
    return -1;
}

void LabyrinthWays::firstStepTo(int32_t column, int32_t row, int32_t& nextColumn,
                                int32_t& nextRow) const {
    nextColumn = column;
    nextRow = row;
    while (dist[nextColumn][nextRow] > 1) {
        const int32_t f = from[nextColumn][nextRow];
        nextColumn = f / side;
        nextRow = f % side;
    }
}

LabyrinthWays labyrinthWays(const LabyrinthSight& sight, const MazeGenerator& maze, int32_t column,
                            int32_t row) {
    constexpr int32_t n = LabyrinthWays::side;
    LabyrinthWays ways;
    for (auto& c : ways.dist)
        std::fill(std::begin(c), std::end(c), -1);
    for (auto& c : ways.from)
        std::fill(std::begin(c), std::end(c), -1);
    int32_t queue[n * n][2];
    int32_t head = 0, tail = 0;
    queue[tail][0] = column;
    queue[tail++][1] = row;
    ways.dist[column][row] = 0;
    while (head < tail) {
        const int32_t c = queue[head][0], r = queue[head++][1];
        if (!sight.hasSeen(c, r))
            continue;
        for (int32_t m = 0; m < 4; ++m) {
            const int32_t nc = c + stepX[m], nr = r + stepY[m];
            if (!labyrinthOpen(maze, c, r, stepX[m], stepY[m]) || ways.dist[nc][nr] >= 0)
                continue;
            ways.dist[nc][nr] = ways.dist[c][r] + 1;
            ways.from[nc][nr] = c * n + r;
            queue[tail][0] = nc;
            queue[tail++][1] = nr;
        }
    }
    return ways;
}
