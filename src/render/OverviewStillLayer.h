#pragma once
#include <cstdint>
#include <functional>
#include <vector>

// The overview's camera never moves, and most of what it sees never changes: the ground and
// roads, the hedges and buildings, the obstacles until one is destroyed. That picture, with its
// depth, is drawn once into an off-screen buffer and copied into each frame, and only what moves
// is drawn on top. Its stencil marks the pixels where the ground shows (1) against the rest (0),
// which is what the figures' shadows need.
class OverviewStillLayer {
  public:
    // What the picture depends on besides the fixed scenery: a different key draws it anew.
    struct Key {
        int width = 0, height = 0;
        int32_t seasonStep = 0;
        // Which obstacles stand, and where (see `standingObstacles`).
        uint64_t obstacles = 0;
        bool operator==(const Key&) const = default;
    };
    // One part of the picture and the stencil value its visible pixels get.
    struct Part {
        std::function<void()> draw;
        int stencil;
    };
    // A rectangle of the view, in its pixels from the lower left, x1 and y1 past its end.
    struct Box {
        int x0, y0, x1, y1;
    };

    OverviewStillLayer() = default;
    ~OverviewStillLayer();
    OverviewStillLayer(const OverviewStillLayer&) = delete;
    OverviewStillLayer& operator=(const OverviewStillLayer&) = delete;

    // Copies the picture into the current viewport, colour, depth and stencil; first draws it anew
    // from `parts`, in order, under the current projection, modelview and lights, when it was drawn
    // for another key. Answers false, having drawn nothing, when the GL cannot keep such a picture
    // (no framebuffer objects, or a depth buffer it cannot copy): the caller then draws the parts
    // itself. Leaves the GL state as it was. With `depthBoxes` the depth and stencil are copied
    // only inside those boxes (the colour still everywhere): what is drawn on top needs them only
    // where it may show, and outside them the view keeps the depth it was cleared to.
    bool show(Key key, const Part* parts, int partCount,
              const std::vector<Box>* depthBoxes = nullptr);

    // Sets the current colour, normal and texture coordinates as drawing the parts left them:
    // what is drawn next may take them over, as the blast fire takes the ground's normal.
    void leaveCurrentAsParts() const;

  private:
    bool prepare(int width, int height);
    void redraw(const Key& key, const Part* parts, int partCount);

    unsigned int framebuffer = 0;
    // A texture: its layout can follow the window's, a renderbuffer's not.
    unsigned int colour = 0;
    unsigned int depthStencil = 0;
    int width = 0, height = 0;
    bool drawn = false;
    bool failed = false;
    bool copyChecked = false;
    Key drawnKey;
    float partsColour[4] = {1, 1, 1, 1};
    float partsNormal[3] = {0, 0, 1};
    float partsTexCoord[4] = {0, 0, 0, 1};
};
