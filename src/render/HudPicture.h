#pragma once
#include <functional>
#include <string>
#include <vector>

// The overview's letters are small bitmaps, each written nine times for its rim: thousands of
// draws a frame for the renderer. They are written instead into a picture of the part of the view
// they take whenever what they say changes, and the picture's lettered boxes are put back every
// frame: the same pixels at the same depth, so the scene drawn after the letters is hidden by them
// as before.
class HudPicture {
  public:
    // A box of the view, in its pixels from the lower left, that holds letters.
    struct Box {
        int x0, y0, x1, y1;
    };

    HudPicture() = default;
    HudPicture(const HudPicture&) = delete;
    HudPicture& operator=(const HudPicture&) = delete;

    // Shows the letters `write` puts into the current viewport, inside `boxes`, writing them into
    // the picture first when `texts` (everything that decides them), the viewport's size or the
    // rectangle round the boxes changed; the picture has no depth, so `write` must leave the right
    // pixels without it (needs GL; leaves the GL state as it found it). False without framebuffer
    // objects: the caller then writes the letters itself.
    bool show(const std::string& texts, const std::vector<Box>& boxes,
              const std::function<void()>& write);
    // How many times the letters were written into the picture.
    int writes() const { return writeCount; }

  private:
    unsigned int framebuffer = 0;
    unsigned int picture = 0;
    // The view's size, and the rectangle of it round the boxes, which the picture holds.
    int viewWidth = 0, viewHeight = 0;
    Box area{0, 0, 0, 0};
    std::string shownTexts;
    bool written = false;
    bool failed = false;
    int writeCount = 0;
};
