#include "render/ViewLayout.h"

void shadowMatrix(const float plane[4], const float light[4], float out[16]) {
    float d = plane[0] * light[0] + plane[1] * light[1] + plane[2] * light[2] + plane[3] * light[3];
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row)
            out[col * 4 + row] = (row == col ? d : 0.0f) - light[row] * plane[col];
}
