#pragma once
#include <cstdint>

struct Particle;

// Every burning cell shows the same burst, so the burst is drawn once a frame into a small
// picture and each burning cell, in each view, shows that picture on one square instead of
// hundreds of overlapping particle squares. The particles all lie in planes across y; the picture
// flattens them into the cell's own plane, which moves each one only by its small drift in y.
class BlastSprite {
  public:
    BlastSprite() = default;
    ~BlastSprite();
    BlastSprite(const BlastSprite&) = delete;
    BlastSprite& operator=(const BlastSprite&) = delete;

    // Makes the picture show these particles unless it already does for this frame (needs GL;
    // leaves every GL state as it found it). Answers false when the GL has no framebuffer
    // objects: the caller then draws the particles one by one.
    bool update(const Particle* particles, int count, float halfSize, unsigned int texture,
                uint32_t frame);
    // The picture on one square centred at the current origin, in the x-z plane, added like the
    // particles and lit like them by the current light and normal.
    void draw() const;

  private:
    unsigned int framebuffer = 0;
    unsigned int picture = 0;
    bool failed = false;
    bool drawn = false;
    uint32_t drawnFrame = 0;
    // The part of the picture the live particles cover (x to the right, z up, world units from
    // the burst's centre), a texel wider each way for the filter; outside it the picture is
    // empty, adds nothing, and is not drawn.
    float left = 0, right = 0, bottom = 0, top = 0;
};
