#pragma once
#include <string>

// The letters of the game's own texts (menus, waiting lines, the result, the event words), drawn
// from the generated picture textures/font.bmp at any size, so that they keep their place and
// weight in any window. Until it is loaded, or where it is missing, the texts use the bitmap
// letters instead (their width then does not scale).

// Loads the letters (a GL context current). False, leaving the bitmap letters, when the file
// cannot be read.
bool loadTextFont(const char* path = "textures/font.bmp");
bool textFontLoaded();

// The width of `text` at letter size `size` (the font's em, in the units of the current 2D
// projection).
float textWidth(const std::string& text, float size);
// `text` with its baseline starting at (x, y) in a 2D projection whose y runs down, in `fill`,
// on a dark rim of `rim` when given.
void drawText(float x, float y, float size, const std::string& text, const float* fill,
              const float* rim = nullptr);
