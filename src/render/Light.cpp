#include "render/Light.h"
#include <GL/gl.h>
#include <cstring>

void Light::setPosition(float x, float y, float z, bool isPositional) {
    positional = isPositional;
    position[0] = x;
    position[1] = y;
    position[2] = z;
    position[3] = isPositional ? 1.0f : 0.0f;
    glLightfv(id, GL_POSITION, position);
}

void Light::setColours(const float ambientRgba[4], const float diffuseRgba[4],
                       const float specularRgba[4]) {
    std::memcpy(ambient, ambientRgba, sizeof ambient);
    std::memcpy(diffuse, diffuseRgba, sizeof diffuse);
    std::memcpy(specular, specularRgba, sizeof specular);
    glLightfv(id, GL_AMBIENT, ambient);
    glLightfv(id, GL_DIFFUSE, diffuse);
    glLightfv(id, GL_SPECULAR, specular);
}

void Light::setSpot(float dx, float dy, float dz, float cutoffDegrees, float exponentValue) {
    spotDirection = {dx, dy, dz};
    spotCutoff = cutoffDegrees;
    spotExponent = exponentValue;
    if (!positional)
        return;
    float dir[3] = {dx, dy, dz};
    glLightfv(id, GL_SPOT_DIRECTION, dir);
    glLightf(id, GL_SPOT_CUTOFF, spotCutoff);
    glLightf(id, GL_SPOT_EXPONENT, spotExponent);
}

bool Light::enable() const {
    if (glIsEnabled(id))
        return false;
    glEnable(id);
    return true;
}

void Light::disable() const {
    glDisable(id);
}
