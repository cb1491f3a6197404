#define GL_GLEXT_PROTOTYPES
#include "render/BushPictures.h"
#include "render/PictureTexture.h"
#include "render/ViewEye.h"
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
#include <algorithm>
#include <cmath>

namespace {
// Texels a side of a picture. A far bush is at most some sixty pixels tall in a view.
constexpr int side = 64;
// The square a picture shows, around the bush's middle: the crown reaches 0.35 from the trunk
// and 0.8 up.
constexpr float halfSize = 0.45f;
constexpr float middleHeight = 0.4f;
// The pictures' empty texels: a leaf green, so that filtering at a crown's edge does not darken
// it, and no cover.
constexpr float clearGreen[4] = {0.15f, 0.45f, 0.2f, 0.0f};

constexpr float degrees = 180.0f / static_cast<float>(M_PI);

float wrapDegrees(float angle) {
    angle = std::fmod(angle, 360.0f);
    if (angle > 180.0f)
        angle -= 360.0f;
    if (angle < -180.0f)
        angle += 360.0f;
    return angle;
}

} // namespace

int BushPictures::sideFor(float bearing) {
    float turned = std::fmod(bearing, 360.0f);
    if (turned < 0)
        turned += 360.0f;
    return static_cast<int>(std::lround(turned / sideStep)) % sides;
}

int BushPictures::offsetFor(float bearing, float facing) {
    const float off = wrapDegrees(bearing - facing);
    const int k = static_cast<int>(std::lround(off / offsetStep)) + offsets / 2;
    return std::clamp(k, 0, offsets - 1);
}

bool BushPictures::take(unsigned int bushList) {
    if (taken || failed)
        return taken;
    GLint previous = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previous);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    // The views' cameras all look down alike; the pictures are taken at their slant.
    const float pitch = currentViewEye().pitch;

    glGenTextures(sides * offsets, pictures);
    glGenFramebuffers(1, &framebuffer);
    glGenRenderbuffers(1, &depth);
    glBindRenderbuffer(GL_RENDERBUFFER, depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, side, side);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);

    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
    glViewport(0, 0, side, side);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glClearColor(clearGreen[0], clearGreen[1], clearGreen[2], clearGreen[3]);
    glClearDepth(1.0);

    for (int a = 0; a < sides && !failed; ++a) {
        for (int k = 0; k < offsets; ++k) {
            const unsigned int picture = pictures[a * offsets + k];
            shapePictureTexture(picture, side, side, GL_LINEAR);
            // Bound for its mipmaps once drawn.
            glBindTexture(GL_TEXTURE_2D, picture);
            glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, picture, 0);
            if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
                failed = true;
                break;
            }
            glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
            glDepthMask(GL_TRUE);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

            // The bush seen along a ray `off` degrees to the left of where the camera faces:
            // the camera turned as a view's would be (the light goes with it), the projection
            // turned onto the ray.
            const float bearing = static_cast<float>(a) * sideStep;
            const float off = static_cast<float>(k - offsets / 2) * offsetStep;
            const float facing = (bearing - off) / degrees, down = pitch / degrees;
            glMatrixMode(GL_PROJECTION);
            glLoadIdentity();
            glOrtho(-halfSize, halfSize, -halfSize, halfSize, -2, 2);
            glRotatef(-off, 0, 1, 0);
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            gluLookAt(0, 0, middleHeight, std::cos(facing) * std::cos(down),
                      std::sin(facing) * std::cos(down), middleHeight - std::sin(down), 0, 0, 1);
            glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
            glCallList(bushList);

            markDrawnInAlpha();

            glGenerateMipmap(GL_TEXTURE_2D);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        }
    }

    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previous));
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    // The pictures are all that is kept.
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteRenderbuffers(1, &depth);
    framebuffer = depth = 0;
    if (failed) {
        glDeleteTextures(sides * offsets, pictures);
        std::fill(std::begin(pictures), std::end(pictures), 0u);
        return false;
    }
    taken = true;
    return true;
}

void BushPictures::drawQueued() {
    if (spots.empty())
        return;
    const ViewEye eye = currentViewEye();
    struct Shown {
        int picture;
        float corners[4][3];
    };
    std::vector<Shown> shown;
    shown.reserve(spots.size());
    for (const Spot& s : spots) {
        float dx = s.x - eye.x, dy = s.y - eye.y, dz = middleHeight - eye.z;
        const float length = std::sqrt(dx * dx + dy * dy + dz * dz);
        const float flat = std::sqrt(dx * dx + dy * dy);
        if (length <= 0 || flat <= 0)
            continue;
        dx /= length;
        dy /= length;
        dz /= length;
        const float bearing = std::atan2(dy, dx) * degrees;
        // Across the ray, level; and up, square to both.
        const float rx = dy / std::sqrt(dx * dx + dy * dy), ry = -dx / std::sqrt(dx * dx + dy * dy);
        const float ux = ry * dz, uy = -rx * dz, uz = rx * dy - ry * dx;
        Shown w{sideFor(bearing) * offsets + offsetFor(bearing, eye.facing), {}};
        const float signs[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (int c = 0; c < 4; ++c) {
            const float across = signs[c][0] * halfSize, up = signs[c][1] * halfSize;
            w.corners[c][0] = s.x + across * rx + up * ux;
            w.corners[c][1] = s.y + across * ry + up * uy;
            w.corners[c][2] = middleHeight + up * uz;
        }
        shown.push_back(w);
    }
    spots.clear();
    std::sort(shown.begin(), shown.end(),
              [](const Shown& a, const Shown& b) { return a.picture < b.picture; });

    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    const float texel[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (std::size_t i = 0; i < shown.size();) {
        const int picture = shown[i].picture;
        glBindTexture(GL_TEXTURE_2D, pictures[picture]);
        glBegin(GL_QUADS);
        for (; i < shown.size() && shown[i].picture == picture; ++i)
            for (int c = 0; c < 4; ++c) {
                glTexCoord2f(texel[c][0], texel[c][1]);
                glVertex3fv(shown[i].corners[c]);
            }
        glEnd();
    }
    glPopAttrib();
}
