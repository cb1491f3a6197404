#include "render/LabyrinthMap.h"
#include "actors/Player.h"
#include "rules/LabyrinthSight.h"
#include "world/ArenaLayout.h"
#include "world/MazeWorld.h"

namespace {
constexpr int side = LabyrinthMap::side;

// The four doors are gaps in the outer walls, in the middle of each side.
bool doorSide(int column, int row, int dx, int dy) {
    const int middle = side / 2;
    return (dx < 0 && column == 0 && row == middle) ||
           (dx > 0 && column == side - 1 && row == middle) ||
           (dy < 0 && row == 0 && column == middle) ||
           (dy > 0 && row == side - 1 && column == middle);
}
} // namespace

LabyrinthMap labyrinthMapOf(const MazeWorld& world, const LabyrinthSight& sight,
                            const Player& player) {
    LabyrinthMap map;
    map.column = player.x - arena::labyrinthOrigin;
    map.row = player.y - arena::labyrinthOrigin;
    map.dirX = player.dirX;
    map.dirY = player.dirY;
    const struct {
        int dx, dy;
        LabyrinthMap::Side bit;
    } sides[4] = {{1, 0, LabyrinthMap::east},
                  {0, 1, LabyrinthMap::north},
                  {-1, 0, LabyrinthMap::west},
                  {0, -1, LabyrinthMap::south}};
    for (int row = 0; row < side; ++row)
        for (int column = 0; column < side; ++column) {
            if (!sight.hasSeen(column, row))
                continue;
            const int k = column + side * row;
            map.seen[k] = true;
            for (const auto& s : sides)
                if (!labyrinthOpen(world.maze, column, row, s.dx, s.dy) &&
                    !doorSide(column, row, s.dx, s.dy))
                    map.walls[k] |= s.bit;
        }
    for (int i = MazeWorld::firstCheese; i < MazeWorld::itemTotal; ++i) {
        const Item* piece = &world.items[i];
        if (piece->type == 0 || piece->taken != 0)
            continue;
        const float u = piece->x - arena::labyrinthOrigin, v = piece->y - arena::labyrinthOrigin;
        if (u < 0 || v < 0 || u >= side || v >= side)
            continue;
        const int column = static_cast<int>(u), row = static_cast<int>(v);
        if (sight.hasSeen(column, row))
            map.cheese.push_back({column, row});
    }
    return map;
}
