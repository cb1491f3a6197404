#pragma once
#include "scene/Vector3.h"

// A look-at camera: plain arithmetic, so the controls can be tested without a GL context.
class Camera {
  public:
    Vector3 position{0, 0, 0};
    Vector3 view{0, 1, 0};
    Vector3 up{0, 0, 1};
    Vector3 strafe{1, 0, 0};

    void place(float ex, float ey, float ez, float vx, float vy, float vz, float ux, float uy,
               float uz);
    // Swings the eye about a vertical axis through (cx, cy) by angle degrees counter-clockwise
    // and puts it at distance d from that axis, looking at the centre.
    void orbit(float angle, float cx, float cy, float d);
    void translate(float dx, float dy);
    Vector3 viewDirection() const { return view - position; }

  private:
    void recomputeStrafe();
};
