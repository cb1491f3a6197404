#pragma once
#include "scene/Vector3.h"

// One fixed-function light. Position and spot direction are sent while the modelview matrix is
// the identity, so the light stays fixed relative to whichever camera is applied.
class Light {
  public:
    explicit Light(unsigned int lightId) : id(lightId) {}

    void setPosition(float x, float y, float z, bool isPositional);
    void setColours(const float ambientRgba[4], const float diffuseRgba[4],
                    const float specularRgba[4]);
    void setSpot(float dx, float dy, float dz, float cutoffDegrees, float exponentValue);
    // Answers false, changing nothing, when the light is already on.
    bool enable() const;
    void disable() const;

    float position[4] = {0, 0, 0, 0};
    unsigned int id;
    bool positional = false;
    float ambient[4] = {0, 0, 0, 1};
    float diffuse[4] = {0, 0, 0, 1};
    float specular[4] = {0, 0, 0, 1};
    float spotCutoff = 180;
    float spotExponent = 0;
    Vector3 spotDirection{0, 0, -1};
};
