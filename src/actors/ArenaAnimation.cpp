#include "actors/ArenaAnimation.h"
#include "world/MazeWorld.h"
#include "world/Seasons.h"

void advanceItemSpin(Item& item) {
    item.spin = (item.spin + 10) % 360;
}

bool itemUncovered(const MazeWorld& world, const Item& item) {
    const int cx = static_cast<int>(item.x), cy = static_cast<int>(item.y);
    if (cx < 0 || cy < 0 || cx >= MazeWorld::arenaSize || cy >= MazeWorld::arenaSize ||
        item.x < 0 || item.y < 0)
        return false;
    const Cell& c = world.cell(cx, cy);
    return !c.hasObstacle && c.bomb == Cell::none && c.wall == Cell::none;
}

bool objectInWedge(int px, int py, float dirX, float dirY, float x, float y) {
    return inViewWedge(px, py, dirX, dirY, static_cast<int>(x), static_cast<int>(y));
}

void advanceArenaView(MazeWorld& world, RandomGenerator& random, float now, bool wedge, int px,
                      int py, float dirX, float dirY) {
    world.advanceBlastCells(now, random);
    // The items an arena view shows: those of the obstacle cells, not the cheese.
    for (int i = 0; i < world.obstacleCount && i < MazeWorld::obstacleTotal; ++i) {
        if (i >= world.itemCount || world.items[i].type == 0)
            continue;
        Item& item = world.items[i];
        if (item.taken == 0 && itemUncovered(world, item) &&
            (!wedge || objectInWedge(px, py, dirX, dirY, item.x, item.y)))
            advanceItemSpin(item);
    }
}
