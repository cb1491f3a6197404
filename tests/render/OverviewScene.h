#pragma once
#include "support/GlContext.h"
#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

// The overview view of a game frame, set up by hand: its viewport, perspective, camera and
// scene light, cleared to the given colour.
inline void beginOverviewFrame(float clearR = 0, float clearG = 0, float clearB = 0) {
    glContext();
    glViewport(0, 200, 1024, 535);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45, 1024.0 / 535.0, 1, 150);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const float ambient[4] = {0.3f, 0.3f, 0.3f, 0.5f};
    const float diffuse[4] = {0.5f, 0.5f, 0.5f, 1};
    const float specular[4] = {1, 1, 1, 1};
    const float position[4] = {7.5f, 7.5f, 1, 0};
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    const float modelAmbient[4] = {0.2f, 0.2f, 0.2f, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, modelAmbient);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glDisable(GL_LIGHT1);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_NORMALIZE);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_CULL_FACE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glClearColor(clearR, clearG, clearB, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gluLookAt(7.5, -5.7625, 8.541, 7.5, 6.6575, -0.855, 0, 0.937, 0.342);
}

struct ScreenPoint {
    int x = -1, y = -1;
    bool onScreen = false;
};

// Where a world point lands in the window under the current matrices and viewport.
inline ScreenPoint projectPoint(double x, double y, double z) {
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLdouble wx, wy, wz;
    ScreenPoint p;
    if (gluProject(x, y, z, model, projection, viewport, &wx, &wy, &wz) != GL_TRUE)
        return p;
    p.x = static_cast<int>(wx);
    p.y = static_cast<int>(wy);
    p.onScreen = p.x >= viewport[0] && p.y >= viewport[1] && p.x < viewport[0] + viewport[2] &&
                 p.y < viewport[1] + viewport[3] && wz > 0 && wz < 1;
    return p;
}

using Rgb = std::array<int, 3>;

inline Rgb pixelAt(const ScreenPoint& p) {
    uint8_t rgb[3];
    glContext().readPixel(p.x, p.y, rgb);
    return {rgb[0], rgb[1], rgb[2]};
}

inline bool near(const Rgb& a, const Rgb& b, int tolerance) {
    for (int c = 0; c < 3; ++c)
        if (std::abs(a[c] - b[c]) > tolerance)
            return false;
    return true;
}

// Whether a lit pixel shows the given colour: a shade k x colour of it, each channel within
// `tolerance`, and bright enough to tell from the background.
inline bool shadeOf(const Rgb& pixel, const Rgb& colour, int tolerance) {
    const int pixelMax = std::max({pixel[0], pixel[1], pixel[2]});
    const int colourMax = std::max({colour[0], colour[1], colour[2]});
    if (pixelMax < 40)
        return false;
    const double k = static_cast<double>(pixelMax) / colourMax;
    for (int c = 0; c < 3; ++c)
        if (std::abs(pixel[c] - k * colour[c]) > tolerance)
            return false;
    return true;
}

inline int brightness(const Rgb& p) {
    return p[0] + p[1] + p[2];
}

// A 1 by 1 texture of one colour, without mipmaps.
inline unsigned int solidTexture(uint8_t r, uint8_t g, uint8_t b) {
    unsigned int name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    const uint8_t texel[3] = {r, g, b};
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, texel);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    return name;
}
