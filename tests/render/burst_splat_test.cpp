#include "render/BurstSplat.h"
#include <gtest/gtest.h>
#include <vector>

// The fire's particles added up on the processor as additive blending adds their squares, each
// texel in proportion to the part of it a square covers.
namespace {
constexpr int width = 12, height = 8;

struct Picture {
    std::vector<float> rgba = std::vector<float>(width * height * 4, 0.0f);
    float at(int x, int y, int channel = 0) const {
        return rgba[(static_cast<size_t>(y) * width + x) * 4 + channel];
    }
};

// An even white glow: every texel a square covers whole takes the same share.
BurstSplat evenSplat(int size) {
    const std::vector<float> glow(16 * 16 * 4, 1.0f);
    BurstSplat splat;
    splat.prepare(glow.data(), 16, 16, size);
    return splat;
}
} // namespace

TEST(BurstSplat, ASquareAddsItsColourTimesItsAlphaToTheTexelsItCovers) {
    const BurstSplat splat = evenSplat(4);
    Picture p;
    splat.add(p.rgba.data(), width, height, 0, width, 2, 3, 0.25f, 0.5f);
    EXPECT_FLOAT_EQ(p.at(1, 4), 0);
    EXPECT_FLOAT_EQ(p.at(2, 3, 2), 0.25f * 0.5f);
    EXPECT_FLOAT_EQ(p.at(5, 6, 1), 0.25f * 0.5f);
    EXPECT_FLOAT_EQ(p.at(6, 4), 0);
    EXPECT_FLOAT_EQ(p.at(3, 7), 0);
    // The alpha is blended by itself; a second square adds to the first.
    EXPECT_FLOAT_EQ(p.at(3, 4, 3), 0.25f);
    splat.add(p.rgba.data(), width, height, 0, width, 2, 3, 0.25f, 0.5f);
    EXPECT_FLOAT_EQ(p.at(3, 4), 0.25f);

    // Three quarters of a texel further right: a quarter of column 2, columns 3 to 5 and three
    // quarters of column 6.
    Picture shifted;
    splat.add(shifted.rgba.data(), width, height, 0, width, 2.75f, 3, 1, 1);
    EXPECT_FLOAT_EQ(shifted.at(2, 4), 0.25f);
    EXPECT_FLOAT_EQ(shifted.at(4, 4), 1);
    EXPECT_FLOAT_EQ(shifted.at(6, 4), 0.75f);
    EXPECT_FLOAT_EQ(shifted.at(7, 4), 0);

    // Into the columns 4 to 7 only (a slice's part of the picture), and not past the top.
    Picture slice;
    splat.add(slice.rgba.data(), width, height, 4, 8, 6, 6, 1, 1);
    EXPECT_FLOAT_EQ(slice.at(7, 7), 1);
    EXPECT_FLOAT_EQ(slice.at(8, 7), 0);
    splat.add(slice.rgba.data(), width, height, 4, 8, -2, 0, 1, 1);
    EXPECT_FLOAT_EQ(slice.at(0, 0), 0);
    EXPECT_FLOAT_EQ(slice.at(4, 0), 0);
}

TEST(BurstSplat, RoundedToAPicturesStepsAFaintSquareAddsNothing) {
    const BurstSplat splat = evenSplat(4);
    Picture exact, stepped;
    // 0.4 of a step of an eight-bit picture, twice: blended one by one, both round away.
    for (int k = 0; k < 2; ++k) {
        splat.add(exact.rgba.data(), width, height, 0, width, 2, 2, 0.4f / 255, 1);
        splat.add(stepped.rgba.data(), width, height, 0, width, 2, 2, 0.4f / 255, 1, 255);
    }
    EXPECT_FLOAT_EQ(exact.at(3, 3), 0.8f / 255);
    EXPECT_FLOAT_EQ(stepped.at(3, 3), 0);
    // 0.6 of a step rounds up to a whole one.
    splat.add(stepped.rgba.data(), width, height, 0, width, 2, 2, 0.6f / 255, 1, 255);
    EXPECT_FLOAT_EQ(stepped.at(3, 3), 1.0f / 255);
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
    Picture p;
    splat.add(p.rgba.data(), width, height, 0, width, 0, 0, 1, 1);
    EXPECT_GT(p.at(1, 4), 0.9f);
    EXPECT_LT(p.at(6, 4), 0.1f);
}
