#include "platform/Pads.h"
#include <cstdlib>

void addPadKeys(const PadState& pad, bool keys[playerKeyCount]) {
    const int x = pad.stickX, y = pad.stickY;
    const bool leans = std::abs(x) > stickDeadZone || std::abs(y) > stickDeadZone;
    // One direction at a time from the stick: a diagonal lean would otherwise turn the player
    // back and forth between two headings on every tick.
    const bool sideways = std::abs(x) > std::abs(y);
    keys[keyForward] |= pad.dpadUp || (leans && !sideways && y < 0);
    keys[keyBack] |= pad.dpadDown || (leans && !sideways && y > 0);
    keys[keyLeft] |= pad.dpadLeft || (leans && sideways && x < 0);
    keys[keyRight] |= pad.dpadRight || (leans && sideways && x > 0);
    keys[keyBomb] |= pad.a;
    keys[keyWall] |= pad.x;
    keys[keyTrap] |= pad.y;
}
