#include "scene/RandomGenerator.h"
#include "world/MazeWorld.h"

namespace {

int32_t truncate(float v) {
    return static_cast<int32_t>(v);
}

} // namespace

bool MazeWorld::takeCheese(float x, float y, int32_t playerNumber) {
    // Cheese always lies exactly on a cell centre, so the comparison is exact.
    const float centreX = static_cast<float>(truncate(x)) + 0.5f;
    const float centreY = static_cast<float>(truncate(y)) + 0.5f;
    for (int32_t i = firstCheese; i < itemTotal; ++i) {
        Item& cheese = items[i];
        if (cheese.type != 0 && cheese.taken == 0 && cheese.x == centreX && cheese.y == centreY) {
            cheese.taken = playerNumber;
            events.tell(RoundEvent::of(RoundEvent::itemTaken, playerNumber, truncate(x),
                                       truncate(y), kindCheese));
            return true;
        }
    }
    return false;
}

void MazeWorld::dropCheese(float x, float y, int32_t playerNumber, RandomGenerator& random) {
    // Only a piece carried by a player moves; delivered cheese (3) stays delivered.
    if (playerNumber != 1 && playerNumber != 2)
        return;
    int32_t entry = -1;
    for (int32_t i = firstCheese; i < itemTotal; ++i) {
        if (items[i].type != 0 && items[i].taken == playerNumber) {
            entry = i;
            break;
        }
    }
    if (entry < 0)
        return;
    Item& cheese = items[entry];

    // A door cell is part of the house and holds nothing: its piece goes to the approach cell
    // in front of it.
    int32_t cx = truncate(x);
    int32_t cy = truncate(y);
    if (const arena::HouseDoor* door = arena::doorAt(cx, cy)) {
        cx += door->outX;
        cy += door->outY;
    }

    // A piece put where no cell can hold it (outside the arena, or a pillar) could never be
    // picked up again, so it goes back into the labyrinth like one whose cell is occupied.
    Cell* target = arenaCell(static_cast<float>(cx), static_cast<float>(cy));
    if (target != nullptr && !target->pillar && target->item == Cell::none) {
        target->item = static_cast<int8_t>(entry);
        cheese.x = static_cast<float>(cx) + 0.5f;
        cheese.y = static_cast<float>(cy) + 0.5f;
        cheese.taken = 0;
        return;
    }

    int32_t lx, ly;
    do {
        lx = random.nextInt(arena::labyrinthFirst, arena::labyrinthLast);
        ly = random.nextInt(arena::labyrinthFirst, arena::labyrinthLast);
    } while (!cheeseCellFree(entry, static_cast<float>(lx), static_cast<float>(ly)));
    cheese.x = static_cast<float>(lx) + 0.5f;
    cheese.y = static_cast<float>(ly) + 0.5f;
    cheese.taken = 0;
}
