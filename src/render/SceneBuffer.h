#pragma once
#include "render/ViewLayout.h"

// The player views drawn at a fraction of the frame's pixels: one off-screen picture with its own
// depth and stencil, as large as the largest scaled views drawn into it and no larger, made again
// only when they grow, then stretched over the frame with filtering. What is drawn over the
// views afterwards (their flashes and words, the labyrinth's map) keeps the frame's full size.
class SceneBuffer {
  public:
    SceneBuffer() = default;
    ~SceneBuffer();
    SceneBuffer(const SceneBuffer&) = delete;
    SceneBuffer& operator=(const SceneBuffer&) = delete;

    // Draws into the picture from here on, its lower left width by height pixels (it is made
    // anew only when smaller than that). False when the GL cannot draw off screen: then nothing
    // changed, and the caller draws at full size.
    bool begin(int width, int height);
    // Draws, and reads, where it did before `begin` again.
    void end();
    // Stretches the rectangle `from` of the picture (its pixels, from the lower left) over `to`
    // (the pixels drawn into now), filtered; no texel outside `from` shows, so views drawn side
    // by side keep their edges. Leaves the GL state as it found it.
    void stretch(const FrameRect::Pixels& from, const FrameRect::Pixels& to) const;
    // Gives the picture's memory back (the frame is drawn at its full size again).
    void release();

    // The picture's size; 0 by 0 while it holds no memory.
    int width() const { return pictureWidth; }
    int height() const { return pictureHeight; }

  private:
    unsigned int framebuffer = 0;
    unsigned int colour = 0;
    unsigned int depthStencil = 0;
    int pictureWidth = 0, pictureHeight = 0;
    int previous = 0, previousRead = 0;
    bool failed = false;
};
