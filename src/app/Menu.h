#pragma once

struct Game;

// Where the pointer is, as the platform reports it, and whether the last event taken was a
// left-button press.
struct MenuPointer {
    int clientWidth;
    int clientHeight;
    int x, y; // relative to the client area's top left corner, in pixels; may lie outside it
    bool leftPress;
};

// Menu units: the plane z = 0 seen by the menu camera, x to the right, y up.
struct MenuArea {
    float left, right, bottom, top; // exclusive bounds
    bool contains(float x, float y) const { return x > left && x < right && y > bottom && y < top; }
};
constexpr MenuArea startArea{-1.98f, 1.7f, -0.85f, -0.09f};
constexpr MenuArea helpArea{-0.99f, 0.71f, -2.2f, -1.5f};
constexpr MenuArea closeArea{3.96f, 5.41f, -3.74f, -3.2f};
constexpr MenuArea cursorHidingArea{-6.75f, 6.75f, -4.15f, 4.15f};

// The pointer as the frame sees it: a position in a window of any size, mapped through the
// frame's place in it (as large as fits, centred) to the frame's own 1024 by 735 client area.
MenuPointer framePointer(int windowWidth, int windowHeight, int x, int y, bool leftPress);

// One menu frame's mouse step: updates the pointer position, helpShown and gameRunning.
// Answers whether the system cursor is to be hidden.
bool menuMouse(Game& game, const MenuPointer& pointer);
