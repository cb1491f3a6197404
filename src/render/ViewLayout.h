#pragma once

// The game frame's layout in its own pixels (1024 by 735). The frame keeps these proportions at
// every window size: it is drawn as large as the window allows, centred, with black bars where the
// window's shape differs.
constexpr int windowWidth = 1024;
constexpr int windowHeight = 735;
constexpr int splitHeight = 200; // the strip of player views at the bottom

// Where the frame lies in a drawable, in its pixels (x, y from the bottom left).
struct FrameRect {
    int x = 0, y = 0;
    int width = windowWidth, height = windowHeight;

    // Drawable pixels per frame pixel.
    double scale() const { return static_cast<double>(width) / windowWidth; }
    // A rectangle of the frame in frame pixels (from its bottom left) in drawable pixels;
    // neighbouring rectangles keep sharing their edges.
    struct Pixels {
        int x, y, width, height;
    };
    Pixels place(int designX, int designY, int designWidth, int designHeight) const;
    // Too small to show anything (a window shrunk to a row, or minimised).
    bool empty() const { return width < 4 || height < 4; }
};

// The largest frame of 1024:735 proportions that fits a drawable, centred.
FrameRect frameRect(int drawableWidth, int drawableHeight);

// Planar shadow projection onto plane p along rays from the point light l, column-major.
void shadowMatrix(const float plane[4], const float light[4], float out[16]);
