#include "render/ViewFrustum.h"
#include <GL/gl.h>
#include <cmath>

ViewFrustum ViewFrustum::current() {
    float model[16], projection[16], m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, model);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    // m = projection x model, column-major: element (row r, column c) at c * 4 + r.
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            float sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += projection[k * 4 + r] * model[c * 4 + k];
            m[c * 4 + r] = sum;
        }
    // Each side of the clip volume is the fourth row plus or minus one of the others.
    const int rows[5] = {0, 0, 1, 1, 2};
    const float signs[5] = {1, -1, 1, -1, 1};
    ViewFrustum f;
    for (int p = 0; p < 5; ++p) {
        float* plane = f.planes[p];
        for (int c = 0; c < 4; ++c)
            plane[c] = m[c * 4 + 3] + signs[p] * m[c * 4 + rows[p]];
        const float length =
            std::sqrt(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2]);
        if (length > 0)
            for (int c = 0; c < 4; ++c)
                plane[c] /= length;
    }
    return f;
}

bool ViewFrustum::mayShow(float x, float y, float z, float radius) const {
    for (const auto& p : planes)
        if (p[0] * x + p[1] * y + p[2] * z + p[3] < -radius)
            return false;
    return true;
}
