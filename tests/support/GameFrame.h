#pragma once
#include <string>

struct Game;

// Draws the frame as the running game does and plays the effects raised (needs GL).
void drawFrame(Game& game);

// Writes the back buffer as a PNG (through a PPM and ImageMagick); answers success.
bool saveScreenshot(const std::string& path, int width, int height);
