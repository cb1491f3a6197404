#pragma once
#include <vector>

struct Obstacle;

// An obstacle some cells from a player's eye is a few dozen pixels in its view, yet costs a
// hundred triangles and more. It is drawn instead as a picture of the obstacle on one square
// facing the eye. Every obstacle has the same shape and turns the same way in the arena, and a
// player's camera looks along one of the arena's axes at a fixed slant, with the lights fixed
// relative to it: how an obstacle looks then depends only on which of the four ways the camera
// faces, how far off the middle of the view the obstacle stands and how steeply the eye looks
// down on it. Each is taken in steps, the pictures of one way the first time a view faces it.
// Colours differ: each picture is a pair, the light the colour scales and the light it does not
// (the shine, the grey wheels), added up at drawing as the light itself adds them.
class ObstaclePictures {
  public:
    static constexpr int facings = 4;
    static constexpr int offsets = 19;
    // Degrees between two angles off the middle, from -45 to 45.
    static constexpr float offsetStep = 5.0f;
    static constexpr int slants = 3;
    // Degrees the eye looks down on an obstacle's middle at each step.
    static constexpr float slantDegrees[slants] = {2.5f, 4.5f, 7.0f};

    ObstaclePictures() = default;
    ObstaclePictures(const ObstaclePictures&) = delete;
    ObstaclePictures& operator=(const ObstaclePictures&) = delete;

    // Ready to draw obstacles shaped like `model` as the current camera sees them, taking the
    // pictures of the way it faces under the current light unless they are taken already (needs
    // GL; leaves every GL state as it found it). False when the camera does not look along an
    // axis of the arena or the GL has no framebuffer objects: the caller draws the obstacles.
    bool prepare(const Obstacle& model);
    // Queues an obstacle shaped like the model given to `prepare`; false (nothing queued) when
    // its shape differs.
    bool queue(const Obstacle& obstacle);
    // Texels a world unit spans in the pictures (0 before `prepare`): an obstacle seen with no
    // more pixels a unit than this is shown by a picture without enlarging it.
    float texelsPerUnit() const;
    // Draws the queued obstacles as the current camera sees them and empties the queue.
    void drawQueued();

    // Which pictures show an obstacle the eye sees `off` degrees left of the middle of the view
    // and `down` degrees below level.
    static int offsetFor(float off);
    static int slantFor(float down);
    // Which way of the four a camera facing `facing` degrees looks, or -1 when it looks along
    // none of the arena's axes.
    static int facingFor(float facing);

  private:
    struct Spot {
        float x, y;
        unsigned char colour[3];
    };
    std::vector<Spot> spots;
    // Per facing, the light the colour scales and the rest, each one texture holding every
    // offset's and slant's picture side by side (offsets along, slants up), drawn at one go.
    unsigned int scaled[facings] = {};
    unsigned int unscaled[facings] = {};
    bool taken[facings] = {};
    float shape[9] = {};
    // The camera's slant the pictures were taken at, in degrees down.
    float pitch = 0;
    bool shaped = false;
    bool failed = false;
    int facing = -1;
    void take(int way, const Obstacle& model);
    void forget();
};
