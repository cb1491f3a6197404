#include "render/BurstSplat.h"
#include <algorithm>
#include <cmath>

namespace {
// The glow at (s, t) from 0 to 1 across it, filtered linearly between its texels and held at
// its edges.
void sample(const float* glow, int width, int height, float s, float t, float out[4]) {
    const float u = s * static_cast<float>(width) - 0.5f;
    const float v = t * static_cast<float>(height) - 0.5f;
    const int u0 = static_cast<int>(std::floor(u)), v0 = static_cast<int>(std::floor(v));
    const float fu = u - static_cast<float>(u0), fv = v - static_cast<float>(v0);
    for (int c = 0; c < 4; ++c)
        out[c] = 0;
    for (int dv = 0; dv < 2; ++dv)
        for (int du = 0; du < 2; ++du) {
            const int iu = std::clamp(u0 + du, 0, width - 1);
            const int iv = std::clamp(v0 + dv, 0, height - 1);
            const float w = (du ? fu : 1 - fu) * (dv ? fv : 1 - fv);
            const float* texel = glow + (static_cast<size_t>(iv) * width + iu) * 4;
            for (int c = 0; c < 4; ++c)
                out[c] += w * texel[c];
        }
}
} // namespace

void BurstSplat::prepare(const float* glow, int width, int height, int size) {
    squareSize = size;
    const int n = size + 1;
    kernels.assign(static_cast<size_t>(phases * phases) * n * n * 4, 0.0f);
    if (size <= 0 || width <= 0 || height <= 0)
        return;
    // Each texel takes the mean of the glow over the part of it the square covers, as a
    // filtered smaller copy of the glow gives it.
    constexpr int samples = 4;
    for (int py = 0; py < phases; ++py)
        for (int px = 0; px < phases; ++px) {
            float* k = kernels.data() + static_cast<size_t>(py * phases + px) * n * n * 4;
            const float ox = static_cast<float>(px) / phases, oy = static_cast<float>(py) / phases;
            for (int y = 0; y < n; ++y)
                for (int x = 0; x < n; ++x) {
                    float sum[4] = {0, 0, 0, 0};
                    for (int sy = 0; sy < samples; ++sy)
                        for (int sx = 0; sx < samples; ++sx) {
                            const float s = (static_cast<float>(x) + (sx + 0.5f) / samples - ox) /
                                            static_cast<float>(size);
                            const float t = (static_cast<float>(y) + (sy + 0.5f) / samples - oy) /
                                            static_cast<float>(size);
                            if (s < 0 || s >= 1 || t < 0 || t >= 1)
                                continue;
                            float g[4];
                            sample(glow, width, height, s, t, g);
                            // Added as the renderer blends: the colour times its alpha.
                            for (int c = 0; c < 3; ++c)
                                sum[c] += g[c] * g[3];
                            sum[3] += g[3];
                        }
                    for (int c = 0; c < 4; ++c)
                        k[(y * n + x) * 4 + c] = sum[c] / (samples * samples);
                }
        }
}

void BurstSplat::add(float* target, int width, int height, int left, int right, float x, float y,
                     float share, float alpha, int steps) const {
    if (squareSize <= 0)
        return;
    const int n = squareSize + 1;
    const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    int px = static_cast<int>(std::lround((x - static_cast<float>(ix)) * phases));
    int py = static_cast<int>(std::lround((y - static_cast<float>(iy)) * phases));
    const int startX = ix + px / phases, startY = iy + py / phases;
    px %= phases;
    py %= phases;
    const float* k = kernels.data() + static_cast<size_t>(py * phases + px) * n * n * 4;
    const int x0 = std::max(startX, left), x1 = std::min(startX + n, right);
    const int y0 = std::max(startY, 0), y1 = std::min(startY + n, height);
    const float colourScale = share * alpha;
    for (int row = y0; row < y1; ++row) {
        const float* kr = k + static_cast<size_t>(row - startY) * n * 4;
        float* out = target + (static_cast<size_t>(row) * width) * 4;
        for (int col = x0; col < x1; ++col) {
            const float* kt = kr + static_cast<size_t>(col - startX) * 4;
            float* texel = out + static_cast<size_t>(col) * 4;
            const float a = kt[3] * alpha;
            const float added[4] = {kt[0] * colourScale, kt[1] * colourScale, kt[2] * colourScale,
                                    a * a};
            if (steps > 0) {
                // Shares are never negative: adding a half and cutting off rounds them.
                const float scale = static_cast<float>(steps);
                for (int c = 0; c < 4; ++c)
                    texel[c] +=
                        static_cast<float>(static_cast<int>(added[c] * scale + 0.5f)) / scale;
            } else {
                for (int c = 0; c < 4; ++c)
                    texel[c] += added[c];
            }
        }
    }
}
