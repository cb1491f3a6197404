#pragma once
#include <vector>

// A bush far from a player is a few dozen pixels in its view, yet costs hundreds of triangles.
// It is drawn instead as a picture of the full bush on one square facing the eye. The pictures
// are taken once, under the light as the views set it: the lights stay fixed relative to every
// camera, so how a bush looks depends only on the side it is seen from and on how far off the
// middle of the view it stands. Both are taken in steps: 16 sides, and 5 angles off the middle.
class BushPictures {
  public:
    static constexpr int sides = 16;
    static constexpr int offsets = 5;
    // Degrees between two sides and between two angles off the middle.
    static constexpr float sideStep = 360.0f / sides;
    static constexpr float offsetStep = 15.0f;

    BushPictures() = default;
    BushPictures(const BushPictures&) = delete;
    BushPictures& operator=(const BushPictures&) = delete;

    // The pictures of the bush compiled in `bushList` (standing at the origin), taken under the
    // current light and material unless they are already (needs GL; leaves every GL state as
    // it found it). False when the GL has no framebuffer objects: the caller draws the bushes.
    bool take(unsigned int bushList);
    // Queues a bush standing at (x, y) for `drawQueued`.
    void queue(float x, float y) { spots.push_back({x, y}); }
    // Draws the queued bushes, each as the picture nearest to how the current camera sees it,
    // and empties the queue.
    void drawQueued();

    // Which picture shows a bush whose middle the eye sees at `bearing` degrees (the direction
    // from the eye, counter-clockwise from +x) while the camera faces `facing` degrees.
    static int sideFor(float bearing);
    static int offsetFor(float bearing, float facing);

  private:
    struct Spot {
        float x, y;
    };
    std::vector<Spot> spots;
    unsigned int pictures[sides * offsets] = {};
    unsigned int framebuffer = 0;
    unsigned int depth = 0;
    bool taken = false;
    bool failed = false;
};
