#include "render/ViewEye.h"
#include <GL/gl.h>
#include <cmath>

ViewEye currentViewEye() {
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    const float tx = m[12], ty = m[13], tz = m[14];
    ViewEye e{};
    e.x = -(m[0] * tx + m[1] * ty + m[2] * tz);
    e.y = -(m[4] * tx + m[5] * ty + m[6] * tz);
    e.z = -(m[8] * tx + m[9] * ty + m[10] * tz);
    // The camera looks along minus its third row.
    const float fx = -m[2], fy = -m[6], fz = -m[10];
    const float degrees = 180.0f / static_cast<float>(M_PI);
    e.facing = std::atan2(fy, fx) * degrees;
    e.pitch = std::atan2(-fz, std::sqrt(fx * fx + fy * fy)) * degrees;
    return e;
}
