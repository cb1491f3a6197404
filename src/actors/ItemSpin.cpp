#include "actors/ObjectDrawing.h"
#include "world/MazeWorld.h"

void advanceItemSpin(Item& item) {
    item.spin = (item.spin + 10) % 360;
}
