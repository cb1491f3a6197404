#pragma once
#include <cstdint>

struct Particle;

// Every burning cell shows the same burst, so the burst is drawn once a frame into small
// pictures and each burning cell, in each view, shows them on a few squares instead of hundreds
// of overlapping particle squares. The particles all lie in planes across y. The burst is cut
// across y into slices, each slice flattened into one picture shown in the slice's middle plane:
// a particle moves only by its distance from that plane, which is what the eye of a view, in
// perspective, would otherwise see shifted on screen, most of all at a cell near the eye.
class BlastSprite {
  public:
    // Odd, so that one slice lies in the burst's own plane.
    static constexpr int slices = 7;

    BlastSprite() = default;
    ~BlastSprite();
    BlastSprite(const BlastSprite&) = delete;
    BlastSprite& operator=(const BlastSprite&) = delete;

    // Makes the picture show these particles unless it already does for this frame (needs GL;
    // leaves every GL state as it found it). Answers false when the GL has no framebuffer
    // objects: the caller then draws the particles one by one.
    bool update(const Particle* particles, int count, float halfSize, unsigned int texture,
                uint32_t frame);
    // The pictures on their squares around the current origin, each in its slice's plane across
    // y, added like the particles and lit like them by the current light and normal.
    void draw() const;

  private:
    unsigned int framebuffer = 0;
    unsigned int picture = 0;
    bool failed = false;
    bool drawn = false;
    uint32_t drawnFrame = 0;
    // The part of each slice's picture its live particles cover (x to the right, z up, world
    // units from the burst's centre), a texel wider each way for the filter; outside it the
    // picture is empty, adds nothing, and is not drawn.
    struct Cover {
        float left = 0, right = 0, bottom = 0, top = 0;
    };
    Cover cover[slices];
};
