#pragma once
#include "rules/KeyState.h"
#include <cstdint>

// A stick must lean this far (of 32767) before it walks: a resting stick never quite centres.
constexpr int stickDeadZone = 8000;

// What one game pad holds, as the platform reads it. SDL's stick y grows downward.
struct PadState {
    int16_t stickX = 0, stickY = 0;
    bool dpadUp = false, dpadDown = false, dpadLeft = false, dpadRight = false;
    bool a = false, x = false, y = false;
};

// Adds the keys a pad holds to a player's keys: the d-pad and the left stick walk (the stick
// along its stronger axis, once out of the dead zone), A drops a bomb, X lays a wall, Y a trap.
void addPadKeys(const PadState& pad, bool keys[playerKeyCount]);
