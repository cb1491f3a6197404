#include "world/MazeWorld.h"

namespace {

int32_t truncate(float v) {
    return static_cast<int32_t>(v);
}

} // namespace

bool MazeWorld::isHouseDoor(int32_t column, int32_t row) {
    return arena::doorAt(column, row) != nullptr;
}

bool MazeWorld::isPassable(float x, float y, float radius) const {
    const float probes[4][2] = {{x + radius, y}, {x - radius, y}, {x, y + radius}, {x, y - radius}};
    for (int32_t i = 0; i < 4; ++i) {
        float px = probes[i][0];
        float py = probes[i][1];
        // The right and top probes of a body flush against the far border fall into column or
        // row 15, which counts as the last cell.
        if (i == 0 && px >= static_cast<float>(arenaSize))
            px = static_cast<float>(arenaSize - 1);
        if (i == 2 && py >= static_cast<float>(arenaSize))
            py = static_cast<float>(arenaSize - 1);
        const Cell* c = arenaCell(px, py);
        if (c == nullptr)
            return false;
        if (!c->open() && !isHouseDoor(truncate(px), truncate(py)))
            return false;
    }
    return true;
}

bool MazeWorld::bombAllows(float fromX, float fromY, float toX, float toY) const {
    const Cell* from = arenaCell(fromX, fromY);
    const Cell* to = arenaCell(toX, toY);
    const int8_t a = from ? from->bomb : Cell::none;
    const int8_t b = to ? to->bomb : Cell::none;
    return b == Cell::none || a == b;
}

bool MazeWorld::wallAllows(float fromX, float fromY, float toX, float toY) const {
    const Cell* from = arenaCell(fromX, fromY);
    const Cell* to = arenaCell(toX, toY);
    const int8_t a = from ? from->wall : Cell::none;
    const int8_t b = to ? to->wall : Cell::none;
    return b == Cell::none || a == b;
}

bool MazeWorld::hasTrap(float x, float y) const {
    const Cell* c = arenaCell(x, y);
    return c != nullptr && c->trap != Cell::none;
}

int32_t MazeWorld::itemTypeAt(float x, float y) const {
    const Cell* c = arenaCell(x, y);
    if (c == nullptr || c->item == Cell::none || items[c->item].taken != 0)
        return -1;
    return items[c->item].type;
}

void MazeWorld::takeItem(float x, float y, int32_t playerNumber) {
    Cell* c = arenaCell(x, y);
    if (c == nullptr || c->item == Cell::none)
        return;
    Item& item = items[c->item];
    events.tell(
        RoundEvent::of(RoundEvent::itemTaken, playerNumber, truncate(x), truncate(y), item.type));
    item.x = -1;
    item.y = -1;
    item.taken = playerNumber;
    c->item = Cell::none;
}

void MazeWorld::springTrap(float x, float y, RandomGenerator& random, int32_t by) {
    Cell* c = arenaCell(x, y);
    if (c == nullptr || c->trap == Cell::none)
        return;
    events.tell(RoundEvent::of(RoundEvent::trapSprung, by, truncate(x), truncate(y)));
    Trap& trap = traps[c->trap];
    trap.x = -1;
    trap.y = -1;
    trap.free = true;
    c->trap = Cell::none;
    returnItem(kindTrap, random);
}
