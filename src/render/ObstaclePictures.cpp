#define GL_GLEXT_PROTOTYPES
#include "render/ObstaclePictures.h"
#include "render/ObjectDrawing.h"
#include "render/PictureTexture.h"
#include "render/ViewEye.h"
#include "world/MazeWorld.h"
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
#include <algorithm>
#include <cmath>
#include <iterator>

namespace {
// Texels a side of a picture: an obstacle drawn as one is at most some seventy pixels across.
constexpr int side = 64;
constexpr float degrees = 180.0f / static_cast<float>(M_PI);
// The pictures' empty texels, near what filtering at an edge should blend with: the body's light
// about half way, and little shine.
constexpr float scaledClear = 0.5f;
constexpr float unscaledClear = 0.05f;
// A camera this many degrees off an axis is taken as looking along it; the pitch may change by
// this much before the pictures are taken anew.
constexpr float squareTolerance = 1.0f;

float wrapDegrees(float angle) {
    angle = std::fmod(angle, 360.0f);
    if (angle > 180.0f)
        angle -= 360.0f;
    if (angle < -180.0f)
        angle += 360.0f;
    return angle;
}

// Where an obstacle's middle lies from its (x, y), and the half side of a square around the
// middle that holds all of it, from its shape numbers (see drawObstacle).
struct Bounds {
    float alongY, height, half;
};
Bounds boundsOf(const float* p) {
    const float length = std::max({p[3], p[5], p[7]});
    const float top = p[6] + p[4] + p[0];
    const float reach = p[2] + p[1];
    // A texel's width more, for the filter.
    const float half = std::sqrt(reach * reach + length * length / 4 + top * top / 4) *
                       (1.0f + 2.0f / static_cast<float>(side));
    return {(p[6] + p[4]) * 1.5f - length / 2, top / 2, half};
}

// Across the ray `d` (unit length) level with the ground, and up, square to both.
void acrossAndUp(const float d[3], float r[3], float u[3]) {
    const float flat = std::sqrt(d[0] * d[0] + d[1] * d[1]);
    r[0] = d[1] / flat;
    r[1] = -d[0] / flat;
    r[2] = 0;
    u[0] = r[1] * d[2];
    u[1] = -r[0] * d[2];
    u[2] = r[0] * d[1] - r[1] * d[0];
}

bool sameShape(const float* a, const float* b) {
    return std::equal(a, a + 9, b);
}
} // namespace

int ObstaclePictures::offsetFor(float off) {
    const int k = static_cast<int>(std::lround(wrapDegrees(off) / offsetStep)) + offsets / 2;
    return std::clamp(k, 0, offsets - 1);
}

int ObstaclePictures::slantFor(float down) {
    int best = 0;
    for (int e = 1; e < slants; ++e)
        if (std::abs(down - slantDegrees[e]) < std::abs(down - slantDegrees[best]))
            best = e;
    return best;
}

int ObstaclePictures::facingFor(float facingDegrees) {
    float turned = std::fmod(facingDegrees, 360.0f);
    if (turned < 0)
        turned += 360.0f;
    const int way = static_cast<int>(std::lround(turned / 90.0f));
    if (std::abs(turned - static_cast<float>(way) * 90.0f) > squareTolerance)
        return -1;
    return way % facings;
}

void ObstaclePictures::forget() {
    for (int way = 0; way < facings; ++way) {
        if (taken[way]) {
            glDeleteTextures(1, &scaled[way]);
            glDeleteTextures(1, &unscaled[way]);
        }
        scaled[way] = unscaled[way] = 0;
        taken[way] = false;
    }
}

bool ObstaclePictures::prepare(const Obstacle& model) {
    facing = -1;
    if (failed)
        return false;
    const ViewEye eye = currentViewEye();
    const int way = facingFor(eye.facing);
    if (way < 0)
        return false;
    if (!shaped || !sameShape(shape, model.shape) ||
        std::abs(eye.pitch - pitch) > squareTolerance) {
        forget();
        std::copy(std::begin(model.shape), std::end(model.shape), shape);
        pitch = eye.pitch;
        shaped = true;
    }
    if (!taken[way])
        take(way, model);
    if (failed)
        return false;
    facing = way;
    return true;
}

bool ObstaclePictures::queue(const Obstacle& obstacle) {
    if (facing < 0 || !sameShape(shape, obstacle.shape))
        return false;
    Spot s{obstacle.x,
           obstacle.y,
           {static_cast<unsigned char>(static_cast<int>(obstacle.colourR)),
            static_cast<unsigned char>(static_cast<int>(obstacle.colourG)),
            static_cast<unsigned char>(static_cast<int>(obstacle.colourB))}};
    spots.push_back(s);
    return true;
}

float ObstaclePictures::texelsPerUnit() const {
    return shaped ? static_cast<float>(side) / (2 * boundsOf(shape).half) : 0;
}

void ObstaclePictures::take(int way, const Obstacle& model) {
    GLint previous = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previous);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    const Bounds b = boundsOf(model.shape);
    Obstacle atOrigin = model;
    atOrigin.x = 0;
    atOrigin.y = 0;
    atOrigin.destroyed = false;

    glGenTextures(1, &scaled[way]);
    glGenTextures(1, &unscaled[way]);
    // Drawn into eight bits a channel, then kept as grey: the lights are grey and the pictures
    // drawn white, so every texel's red, green and blue are one value, and a grey picture holds
    // it in a quarter (the light the colour scales, with the alpha that marks the obstacle: a
    // half) of the memory. The pictures of all four ways stay for the round.
    GLuint drawn = 0;
    glGenTextures(1, &drawn);
    shapePictureTexture(drawn, side * offsets, side * slants, GL_LINEAR);
    GLuint framebuffer = 0, depth = 0;
    glGenFramebuffers(1, &framebuffer);
    glGenRenderbuffers(1, &depth);
    glBindRenderbuffer(GL_RENDERBUFFER, depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, side * offsets, side * slants);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);

    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
    glEnable(GL_SCISSOR_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glClearDepth(1.0);

    const float cameraFacing = static_cast<float>(way) * 90.0f / degrees;
    const float cameraDown = pitch / degrees;
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, drawn, 0);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        failed = true;
    for (int part = 0; part < 2 && !failed; ++part) {
        for (int k = 0; k < offsets; ++k) {
            for (int e = 0; e < slants; ++e) {
                const float bearing =
                    cameraFacing + static_cast<float>(k - offsets / 2) * offsetStep / degrees;
                const float down = slantDegrees[e] / degrees;
                glViewport(k * side, e * side, side, side);
                glScissor(k * side, e * side, side, side);
                const float clear = part == 0 ? scaledClear : unscaledClear;
                glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
                glDepthMask(GL_TRUE);
                glClearColor(clear, clear, clear, 0);
                glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

                // The camera as a view's faces (the lights go with it), looking from the
                // obstacle's middle; the projection turned onto the ray to the middle.
                glMatrixMode(GL_MODELVIEW);
                glLoadIdentity();
                gluLookAt(0, b.alongY, b.height, std::cos(cameraFacing) * std::cos(cameraDown),
                          b.alongY + std::sin(cameraFacing) * std::cos(cameraDown),
                          b.height - std::sin(cameraDown), 0, 0, 1);
                float m[16];
                glGetFloatv(GL_MODELVIEW_MATRIX, m);
                const float ray[3] = {std::cos(bearing) * std::cos(down),
                                      std::sin(bearing) * std::cos(down), -std::sin(down)};
                float across[3], up[3];
                acrossAndUp(ray, across, up);
                // The three directions in the camera's own axes.
                auto toEye = [&m](const float v[3], float out[3]) {
                    for (int i = 0; i < 3; ++i)
                        out[i] = m[i] * v[0] + m[4 + i] * v[1] + m[8 + i] * v[2];
                };
                float r[3], u[3], f[3];
                toEye(across, r);
                toEye(up, u);
                toEye(ray, f);
                const float turn[16] = {r[0], u[0], -f[0], 0, r[1], u[1], -f[1], 0,
                                        r[2], u[2], -f[2], 0, 0,    0,    0,     1};
                glMatrixMode(GL_PROJECTION);
                glLoadIdentity();
                glOrtho(-b.half, b.half, -b.half, b.half, -2, 2);
                glMultMatrixf(turn);
                glMatrixMode(GL_MODELVIEW);
                glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
                drawObstacle(atOrigin, nullptr, {},
                             part == 0 ? ObstacleLight::colourScaled : ObstacleLight::unscaled);

                markDrawnInAlpha();
                // Drawn by the renderer picture by picture: it holds every piece sent until it
                // has drawn them, and the 114 drawings held at once cost some 14 MiB at their
                // peak, the largest part of the round's (a flush alone still left some 6 MiB).
                glFinish();
            }
        }
        // No smaller levels: the plain filter keeps a far obstacle's outline nearer the shape's
        // (measured against mipmaps, in the picture tests' worst squares).
        glBindTexture(GL_TEXTURE_2D, part == 0 ? scaled[way] : unscaled[way]);
        // A copy into a grey format takes the red channel as the grey.
        glCopyTexImage2D(GL_TEXTURE_2D, 0, part == 0 ? GL_LUMINANCE8_ALPHA8 : GL_LUMINANCE8, 0, 0,
                         side * offsets, side * slants, 0);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }

    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previous));
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteRenderbuffers(1, &depth);
    glDeleteTextures(1, &drawn);
    taken[way] = true;
    if (failed)
        forget();
}

void ObstaclePictures::drawQueued() {
    if (spots.empty() || facing < 0) {
        spots.clear();
        return;
    }
    const ViewEye eye = currentViewEye();
    const Bounds b = boundsOf(shape);
    const float cameraFacing = static_cast<float>(facing) * 90.0f;
    struct Shown {
        int picture;
        unsigned char colour[3];
        float corners[4][3];
    };
    std::vector<Shown> shown;
    shown.reserve(spots.size());
    for (const Spot& s : spots) {
        const float middle[3] = {s.x, s.y + b.alongY, b.height};
        float d[3] = {middle[0] - eye.x, middle[1] - eye.y, middle[2] - eye.z};
        const float length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        const float flat = std::sqrt(d[0] * d[0] + d[1] * d[1]);
        if (length <= 0 || flat <= 0)
            continue;
        for (float& c : d)
            c /= length;
        const float off = std::atan2(d[1], d[0]) * degrees - cameraFacing;
        const float down = std::atan2(-d[2], flat / length) * degrees;
        Shown w{
            offsetFor(off) * slants + slantFor(down), {s.colour[0], s.colour[1], s.colour[2]}, {}};
        float across[3], up[3];
        acrossAndUp(d, across, up);
        const float signs[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (int c = 0; c < 4; ++c)
            for (int i = 0; i < 3; ++i)
                w.corners[c][i] =
                    middle[i] + signs[c][0] * b.half * across[i] + signs[c][1] * b.half * up[i];
        shown.push_back(w);
    }
    spots.clear();

    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
    // The colour times the light it scales, then the rest of the light added.
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glActiveTexture(GL_TEXTURE1);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_ADD);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB, GL_PREVIOUS);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA, GL_REPLACE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_ALPHA, GL_PREVIOUS);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA, GL_SRC_ALPHA);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, scaled[facing]);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, unscaled[facing]);
    // Each picture's square in the two. Its edge texels are all empty, as are its neighbours':
    // the filter reaching across the edge finds the same there.
    const float corner[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    glBegin(GL_QUADS);
    for (const Shown& w : shown) {
        const int k = w.picture / slants, e = w.picture % slants;
        glColor4ub(w.colour[0], w.colour[1], w.colour[2], 255);
        for (int c = 0; c < 4; ++c) {
            const float s = (static_cast<float>(k) + corner[c][0]) / offsets;
            const float t = (static_cast<float>(e) + corner[c][1]) / slants;
            glMultiTexCoord2f(GL_TEXTURE0, s, t);
            glMultiTexCoord2f(GL_TEXTURE1, s, t);
            glVertex3fv(w.corners[c]);
        }
    }
    glEnd();
    glActiveTexture(GL_TEXTURE1);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glDisable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
    glPopAttrib();
}
