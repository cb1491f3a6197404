#pragma once
#include <cstdint>
#include <vector>

// A hidden SDL window with a compatibility-profile GL context of the game's window size, made
// current for the whole test program. GL tests call glContext() first.
struct GlContext {
    int width = 1024;
    int height = 735;
    void* window = nullptr;
    void* context = nullptr;
    int stencilBits = 0;

    // Reads back one pixel of the back buffer as RGB bytes (origin bottom left).
    void readPixel(int x, int y, uint8_t rgb[3]) const;
    std::vector<uint8_t> readRgb(int x, int y, int w, int h) const;
};

GlContext& glContext();
