#pragma once
#include <vector>

// The fire's particles added into a picture on the processor: each is a square of the glow
// picture, `size` texels across, added (its colour times its own alpha, as additive blending
// adds it) wherever it lies, to each texel in proportion to the part of it the square covers. The
// glow is resampled once for each of `phases` x `phases` offsets within a texel, the nearest of
// which stands for a particle's exact place: a square is off by at most an eighth of a texel.
class BurstSplat {
  public:
    static constexpr int phases = 4;

    // `glow`: `width` x `height` RGBA values from 0 to 1, row 0 at the bottom.
    void prepare(const float* glow, int width, int height, int size);
    int size() const { return squareSize; }
    // Adds a square whose lower left corner lies at texel (x, y) of `target` (`width` x
    // `height` RGBA values, row 0 at the bottom), its colour times `share` and its alpha times
    // `alpha`, into the columns from `left` up to `right` only.
    // With `steps`, each square's share of a texel is rounded to a whole number of 1 / `steps`,
    // as a renderer blending into a picture of that many steps does.
    void add(float* target, int width, int height, int left, int right, float x, float y,
             float share, float alpha, int steps = 0) const;

  private:
    int squareSize = 0;
    // For each offset, (size + 1)^2 texels of the colour times alpha and the alpha.
    std::vector<float> kernels;
};
