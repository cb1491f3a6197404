#include "scene/Camera.h"
#include <cmath>

void Camera::place(float ex, float ey, float ez, float vx, float vy, float vz, float ux, float uy,
                   float uz) {
    position = {ex, ey, ez};
    view = {vx, vy, vz};
    up = {ux, uy, uz};
    recomputeStrafe();
}

void Camera::orbit(float angle, float cx, float cy, float d) {
    view.x = cx;
    view.y = cy;
    float ox = position.x - cx;
    float oy = position.y - cy;
    float r = angle * 0.017453292519943295f;
    float c = std::cos(r), s = std::sin(r);
    Vector3 offset(ox * c - oy * s, ox * s + oy * c, 0);
    offset = offset.normalised() * d;
    position.x = cx + offset.x;
    position.y = cy + offset.y;
    recomputeStrafe();
}

void Camera::translate(float dx, float dy) {
    position.x += dx;
    view.x += dx;
    position.y += dy;
    view.y += dy;
}

void Camera::recomputeStrafe() {
    strafe = cross(view - position, up).normalised();
}
