#pragma once

#include "platform/Pointer.h"

struct Game;

// Menu units: the plane z = 0 seen by the menu camera, x to the right, y up.
struct MenuArea {
    float left, right, bottom, top; // exclusive bounds
    bool contains(float x, float y) const { return x > left && x < right && y > bottom && y < top; }
};
constexpr MenuArea startArea{-1.98f, 1.7f, -0.85f, -0.09f};
constexpr MenuArea helpArea{-0.99f, 0.71f, -2.2f, -1.5f};
constexpr MenuArea closeArea{3.96f, 5.41f, -3.74f, -3.2f};
constexpr MenuArea cursorHidingArea{-6.75f, 6.75f, -4.15f, 4.15f};

// One menu frame's mouse step: updates the pointer position, helpShown and gameRunning.
// Answers whether the system cursor is to be hidden.
bool menuMouse(Game& game, const MenuPointer& pointer);
