#pragma once

// The part of the world the current projection and camera can show, read from the GL's
// matrices: what lies wholly outside it need not be sent at all.
class ViewFrustum {
  public:
    // Needs a GL context; takes the current modelview and projection matrices.
    static ViewFrustum current();
    // Whether any of the ball of `radius` around (x, y, z) may show in the view.
    bool mayShow(float x, float y, float z, float radius) const;

  private:
    // Left, right, bottom, top, near: a x + b y + c z + d >= 0 inside, (a, b, c) of unit length.
    float planes[5][4] = {};
};
