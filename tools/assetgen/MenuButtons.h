#pragma once

// Where the title and help pictures lie on the menu plane and where their buttons are painted.
// The menu plane has x to the right and y upwards; a picture spans [-halfWidth, halfWidth] by
// [-halfHeight, halfHeight] with its texture stretched over it, top row at y = halfHeight.
namespace menuart {

struct MenuRect {
    double left, right, bottom, top;
};

struct PictureExtent {
    double halfWidth, halfHeight;
    int pixels; // the picture is square: this many pixels across and down
};

struct ButtonColour {
    int r, g, b;
};

inline constexpr PictureExtent titleExtent{5.9, 4.3, 1024};
inline constexpr PictureExtent helpExtent{5.8, 4.2, 1024};

// The click areas the menu reacts to; a click on a border does nothing.
inline constexpr MenuRect startArea{-1.98, 1.7, -0.85, -0.09};
inline constexpr MenuRect helpArea{-0.99, 0.71, -2.2, -1.5};
inline constexpr MenuRect closeArea{3.96, 5.41, -3.74, -3.2};
inline constexpr MenuRect optionsArea{-1.49, 1.21, -3.3, -2.6};

// Everything painted for a button, its shadow and outline included, stays inside its area.
inline constexpr double buttonInset = 0.035;

constexpr MenuRect insetBy(MenuRect r, double d) {
    return {r.left + d, r.right - d, r.bottom + d, r.top - d};
}

inline constexpr MenuRect startButton = insetBy(startArea, buttonInset);
inline constexpr MenuRect helpButton = insetBy(helpArea, buttonInset);
inline constexpr MenuRect backButton = insetBy(closeArea, buttonInset);
inline constexpr MenuRect optionsButton = insetBy(optionsArea, buttonInset);

// Flat face colours, so a button can be found in its picture by colour.
inline constexpr ButtonColour startFace{238, 92, 44};
inline constexpr ButtonColour helpFace{48, 136, 226};
inline constexpr ButtonColour backFace{48, 136, 226};
inline constexpr ButtonColour optionsFace{30, 158, 150};

// Pixel column and row (row 0 at the top of the picture) of a menu-plane point.
constexpr double pixelColumn(const PictureExtent& e, double x) {
    return (x + e.halfWidth) / (2 * e.halfWidth) * e.pixels;
}
constexpr double pixelRowFromTop(const PictureExtent& e, double y) {
    return (e.halfHeight - y) / (2 * e.halfHeight) * e.pixels;
}
// Menu-plane point at the centre of a pixel.
constexpr double menuX(const PictureExtent& e, int column) {
    return (column + 0.5) / e.pixels * 2 * e.halfWidth - e.halfWidth;
}
constexpr double menuY(const PictureExtent& e, int rowFromTop) {
    return e.halfHeight - (rowFromTop + 0.5) / e.pixels * 2 * e.halfHeight;
}

} // namespace menuart
