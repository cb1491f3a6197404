#define GL_GLEXT_PROTOTYPES
#include "render/BlastSprite.h"
#include "render/PictureTexture.h"
#include "world/MazeWorld.h"
#include <GL/gl.h>
#include <GL/glext.h>
#include <algorithm>

namespace {
// The picture covers this far from the burst's centre each way, in world units: a particle
// drifts at most about 1.3 before it fades, and is half a unit across.
constexpr float reach = 2.0f;
// The burst is a soft blur; 16 texels a unit keep all of it (drawn so, it stays as close to the
// particles drawn one by one as with 32), and its cost is filling them.
constexpr int side = 64;
// The sums of many particles are held at a quarter and multiplied back when shown, so that
// eight bits of the picture do not clip before the screen would.
constexpr float headroom = 4.0f;
} // namespace

BlastSprite::~BlastSprite() {
    // The GL may be gone by now (the program's end); its objects go with it.
}

bool BlastSprite::update(const Particle* particles, int count, float halfSize, unsigned int texture,
                         uint32_t frame) {
    if (failed)
        return false;
    if (drawn && drawnFrame == frame)
        return true;
    if (framebuffer == 0) {
        glGenTextures(1, &picture);
        shapePictureTexture(picture, side, side, GL_LINEAR);
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, picture, 0);
        const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        if (!complete) {
            failed = true;
            return false;
        }
    }
    GLint previous = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previous);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    // Looking along +y at the x-z plane: x to the right, z up.
    glOrtho(-reach, reach, -reach, reach, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, side, side);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    const float h = halfSize, share = 1.0f / headroom;
    left = bottom = reach;
    right = top = -reach;
    glBegin(GL_QUADS);
    for (int k = 0; k < count; ++k) {
        const Particle& p = particles[k];
        if (!p.alive)
            continue;
        left = std::min(left, p.px - h);
        right = std::max(right, p.px + h);
        bottom = std::min(bottom, p.pz - h);
        top = std::max(top, p.pz + h);
        // The particle's own colour and light come in when the picture is shown.
        glColor4f(share, share, share, p.alpha);
        // x to the right, z up, as the square is seen from -y.
        glTexCoord2f(0, 0);
        glVertex2f(p.px - h, p.pz - h);
        glTexCoord2f(1, 0);
        glVertex2f(p.px + h, p.pz - h);
        glTexCoord2f(1, 1);
        glVertex2f(p.px + h, p.pz + h);
        glTexCoord2f(0, 1);
        glVertex2f(p.px - h, p.pz + h);
    }
    glEnd();
    // A texel more each way: the linear filter reaches that far from the last one written.
    const float texel = 2 * reach / side;
    left = std::max(left - texel, -reach);
    bottom = std::max(bottom - texel, -reach);
    right = std::min(right + texel, reach);
    top = std::min(top + texel, reach);
    if (left >= right || bottom >= top)
        left = right = bottom = top = 0;
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previous));
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
    drawn = true;
    drawnFrame = frame;
    return true;
}

void BlastSprite::draw() const {
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    // The picture already holds each particle's alpha.
    glBlendFunc(GL_ONE, GL_ONE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, picture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_MODULATE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB, GL_PRIMARY_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB, GL_SRC_COLOR);
    glTexEnvf(GL_TEXTURE_ENV, GL_RGB_SCALE, headroom);
    // The particles' orange, lit as each particle square would be (no normal of its own). The
    // light is directional, so the colour is the same at every point of the square and cutting
    // the square to the covered part changes no pixel.
    glColor4f(1.0f, 0.3f, 0.0f, 1.0f);
    auto corner = [](float x, float z) {
        glTexCoord2f((x + reach) / (2 * reach), (z + reach) / (2 * reach));
        glVertex3f(x, 0, z);
    };
    glBegin(GL_TRIANGLE_STRIP);
    corner(right, top);
    corner(left, top);
    corner(right, bottom);
    corner(left, bottom);
    glEnd();
    glTexEnvf(GL_TEXTURE_ENV, GL_RGB_SCALE, 1);
    glPopAttrib();
}
