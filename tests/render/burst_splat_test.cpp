#include "render/BurstSplat.h"
#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

// The fire's particles added up on the processor as additive blending adds their squares, each
// texel in proportion to the part of it a square covers.
namespace {
constexpr int width = 12, height = 8;

float at(const std::vector<float>& pixels, int x, int y, int channel = 0) {
    return pixels[(static_cast<size_t>(y) * width + x) * 4 + channel];
}

// Columns and rows of the texels the square touched.
void touched(const std::vector<float>& pixels, int& x0, int& x1, int& y0, int& y1) {
    x0 = y0 = 1000;
    x1 = y1 = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (at(pixels, x, y, 3) > 0) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
}
} // namespace

TEST(BurstSplat, ASquareFillsTheTexelsItCoversWithItsColourTimesItsAlpha) {
    // An even white glow: every texel of a square takes the same share.
    const std::vector<float> glow(16 * 16 * 4, 1.0f);
    BurstSplat splat;
    splat.prepare(glow.data(), 16, 16, 4);
    std::vector<float> pixels(width * height * 4, 0.0f);
    splat.add(pixels.data(), width, height, 0, width, 2, 3, 0.25f, 0.5f);
    int x0, x1, y0, y1;
    touched(pixels, x0, x1, y0, y1);
    EXPECT_EQ(x0, 2);
    EXPECT_EQ(x1, 5);
    EXPECT_EQ(y0, 3);
    EXPECT_EQ(y1, 6);
    EXPECT_FLOAT_EQ(at(pixels, 3, 4, 0), 0.25f * 0.5f);
    EXPECT_FLOAT_EQ(at(pixels, 3, 4, 2), 0.25f * 0.5f);
    // The alpha is blended by itself.
    EXPECT_FLOAT_EQ(at(pixels, 3, 4, 3), 0.25f);
    // A second square on the same texels adds to the first.
    splat.add(pixels.data(), width, height, 0, width, 2, 3, 0.25f, 0.5f);
    EXPECT_FLOAT_EQ(at(pixels, 5, 6, 1), 0.25f);

    // Three quarters of a texel further right, it covers a quarter of column 2, columns 3 to
    // 5 and three quarters of column 6.
    std::vector<float> shifted(width * height * 4, 0.0f);
    splat.add(shifted.data(), width, height, 0, width, 2.75f, 3, 1, 1);
    EXPECT_FLOAT_EQ(at(shifted, 1, 4), 0);
    EXPECT_FLOAT_EQ(at(shifted, 2, 4), 0.25f);
    EXPECT_FLOAT_EQ(at(shifted, 4, 4), 1);
    EXPECT_FLOAT_EQ(at(shifted, 6, 4), 0.75f);
    EXPECT_FLOAT_EQ(at(shifted, 7, 4), 0);
}

TEST(BurstSplat, RoundedToAPicturesStepsAFaintSquareAddsNothing) {
    const std::vector<float> glow(8 * 8 * 4, 1.0f);
    BurstSplat splat;
    splat.prepare(glow.data(), 8, 8, 4);
    std::vector<float> exact(width * height * 4, 0.0f), stepped(width * height * 4, 0.0f);
    // 0.4 of a step of an eight-bit picture, twice: blended one by one, both round away.
    for (int k = 0; k < 2; ++k) {
        splat.add(exact.data(), width, height, 0, width, 2, 2, 0.4f / 255, 1);
        splat.add(stepped.data(), width, height, 0, width, 2, 2, 0.4f / 255, 1, 255);
    }
    EXPECT_FLOAT_EQ(at(exact, 3, 3), 0.8f / 255);
    EXPECT_FLOAT_EQ(at(stepped, 3, 3), 0);
    // 0.6 of a step rounds up to a whole one each time.
    splat.add(stepped.data(), width, height, 0, width, 2, 2, 0.6f / 255, 1, 255);
    EXPECT_FLOAT_EQ(at(stepped, 3, 3), 1.0f / 255);
}

TEST(BurstSplat, ASquareStaysInsideItsColumnsAndThePicture) {
    const std::vector<float> glow(8 * 8 * 4, 1.0f);
    BurstSplat splat;
    splat.prepare(glow.data(), 8, 8, 4);
    std::vector<float> pixels(width * height * 4, 0.0f);
    // Across the edge of the columns 4 to 7 (a slice's part of the picture) and over the top.
    splat.add(pixels.data(), width, height, 4, 8, 6, 6, 1, 1);
    int x0, x1, y0, y1;
    touched(pixels, x0, x1, y0, y1);
    EXPECT_EQ(x0, 6);
    EXPECT_EQ(x1, 7);
    EXPECT_EQ(y0, 6);
    EXPECT_EQ(y1, height - 1);
    // Wholly left of its columns: nothing.
    std::vector<float> outside(width * height * 4, 0.0f);
    splat.add(outside.data(), width, height, 4, 8, -2, 0, 1, 1);
    touched(outside, x0, x1, y0, y1);
    EXPECT_EQ(x1, -1);
}

TEST(BurstSplat, TheGlowKeepsItsShapeAtTheSquaresSize) {
    // Bright on its left half, dark on its right: so is the square.
    std::vector<float> glow(32 * 32 * 4, 0.0f);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 16; ++x)
            for (int c = 0; c < 4; ++c)
                glow[(static_cast<size_t>(y) * 32 + x) * 4 + c] = 1.0f;
    BurstSplat splat;
    splat.prepare(glow.data(), 32, 32, 8);
    std::vector<float> pixels(width * height * 4, 0.0f);
    splat.add(pixels.data(), width, height, 0, width, 0, 0, 1, 1);
    EXPECT_GT(at(pixels, 1, 4), 0.9f);
    EXPECT_LT(at(pixels, 6, 4), 0.1f);
}
