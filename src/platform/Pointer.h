#pragma once

// Where the pointer is, as the platform reports it, and whether the last event taken was a
// left-button press.
struct MenuPointer {
    int clientWidth;
    int clientHeight;
    int x, y; // relative to the client area's top left corner, in pixels; may lie outside it
    bool leftPress;
};

// The pointer as the frame sees it: a position in a window of any size, mapped through the
// frame's place in it (as large as fits, centred) to the frame's own 1024 by 735 client area.
MenuPointer framePointer(int windowWidth, int windowHeight, int x, int y, bool leftPress);
