#pragma once
#include "render/BurstSplat.h"
#include <cstdint>
#include <vector>

struct Particle;

// Every burning cell shows the same burst, so the burst is added up once a frame into small
// pictures (on the processor: hundreds of tiny squares cost a software renderer more than the
// sums do) and each burning cell, in each view, shows them on one square or a few instead of
// hundreds of overlapping particle squares. The particles all lie in planes across y. One
// picture flattens the whole burst into the cell's own plane, which moves each particle by its
// drift in y: an eye sees that shift in perspective, the more the nearer the cell. For a cell
// near the eye the burst is cut across y into slices, each flattened into a picture shown in the
// slice's middle plane, which moves a particle only by its distance from that plane.
class BlastSprite {
  public:
    // Odd, so that one slice lies in the burst's own plane.
    static constexpr int slices = 7;

    BlastSprite() = default;
    ~BlastSprite();
    BlastSprite(const BlastSprite&) = delete;
    BlastSprite& operator=(const BlastSprite&) = delete;

    // Makes the picture show these particles unless it already does for this frame (needs GL;
    // leaves every GL state as it found it). Answers false without a glow picture to add up:
    // the caller then draws the particles one by one.
    bool update(const Particle* particles, int count, float halfSize, unsigned int texture,
                uint32_t frame);
    // Where a burning cell shows the burst: its centre, and whether it shows the slices.
    struct Place {
        float x, y, z;
        bool sliced;
    };
    // The burst at each place: the whole burst's picture on one square, or the slices'
    // pictures, each in its slice's plane across y; added like the particles and lit like them
    // by the current light and normal. All in one go: the pictures only add, in any order, and
    // a change of state between two squares costs a software renderer more than the squares.
    void draw(const Place* places, int count) const;

  private:
    // The whole burst's picture, and the slices' side by side.
    unsigned int picture = 0;
    unsigned int slicePicture = 0;
    bool drawn = false;
    uint32_t drawnFrame = 0;
    // The glow picture the particles' squares were made from, and the squares.
    unsigned int glowTexture = 0;
    BurstSplat splat;
    // The pictures' values, added up on the processor before they are handed to the GL.
    std::vector<float> wholePixels;
    std::vector<float> slicePixels;
    // The part of each slice's picture its live particles cover (x to the right, z up, world
    // units from the burst's centre), a texel wider each way for the filter; outside it the
    // picture is empty, adds nothing, and is not drawn.
    struct Cover {
        float left = 0, right = 0, bottom = 0, top = 0;
    };
    Cover cover[slices];
    Cover whole;
};
