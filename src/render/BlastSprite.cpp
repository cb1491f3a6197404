#define GL_GLEXT_PROTOTYPES
#include "render/BlastSprite.h"
#include "render/PictureTexture.h"
#include "world/MazeWorld.h"
#include <GL/gl.h>
#include <GL/glext.h>
#include <algorithm>
#include <cmath>

namespace {
// The pictures cover this far from the burst's centre each way, in world units: a particle
// drifts at most about 1.3 before it fades, and is half a unit across.
constexpr float reach = 2.0f;
// The burst is a soft blur; 16 texels a unit keep all of it near the eye (drawn so, it stays as
// close to the particles drawn one by one as with 32), and its cost is filling them. The whole
// burst's picture, shown only where a cell is further off, keeps it with 12 (with 8 the
// nearest of those cells, at 1504 x 1080, come a little off the particles).
constexpr int sliceSide = 64;
constexpr int wholeSide = 48;
// The whole burst's sums are held at a quarter and multiplied back when shown, so that eight
// bits of the picture do not clip before the screen would, mostly. The slices, shown large near
// the eye, are held in half floats: where many particles overlap, their sum runs far past four
// (the faint blue of their shine adds up to a white core), and the screen clips it as it would
// clip the particles one by one. Half floats cost the renderer more to read, so only the few
// cells near the eye take them.
constexpr float wholeHeadroom = 4.0f;
// The slices cut the burst across y from -depthReach to depthReach, the middle one around the
// burst's centre, where the particles are new and densest (one drifting further is shown in the
// outermost slice). Most particles fade before drifting half a unit.
constexpr float depthReach = 0.7f;
constexpr float sliceDepth = 2 * depthReach / BlastSprite::slices;

int sliceOf(float y) {
    const int k = static_cast<int>(std::floor((y + depthReach) / sliceDepth));
    return std::clamp(k, 0, BlastSprite::slices - 1);
}

bool makeTarget(unsigned int& framebuffer, unsigned int& picture, int width, int height,
                int format) {
    glGenTextures(1, &picture);
    shapePictureTexture(picture, width, height, GL_LINEAR, format);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, picture, 0);
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return complete;
}
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
    if (framebuffer == 0 &&
        (!makeTarget(framebuffer, picture, wholeSide, wholeSide, 0) ||
         !makeTarget(sliceFramebuffer, slicePicture, sliceSide * slices, sliceSide,
                     GL_RGBA16F))) {
        failed = true;
        return false;
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
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0, 0, 0, 0);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    const float h = halfSize;
    // Tile `tile` (`side` texels square) of the bound picture: the particles of one slice, or
    // all with -1.
    auto drawTile = [&](int tile, int side, int slice, float share, Cover& c) {
        // A texel more each way: the linear filter reaches that far from the last one written;
        // but half a texel short of a slice's edge, where it would reach into the next slice.
        const float texel = 2 * reach / static_cast<float>(side), edge = reach - texel / 2;
        glViewport(tile * side, 0, side, side);
        glScissor(tile * side, 0, side, side);
        c.left = c.bottom = reach;
        c.right = c.top = -reach;
        glBegin(GL_QUADS);
        for (int k = 0; k < count; ++k) {
            const Particle& p = particles[k];
            if (!p.alive || (slice >= 0 && sliceOf(p.py) != slice))
                continue;
            c.left = std::min(c.left, p.px - h);
            c.right = std::max(c.right, p.px + h);
            c.bottom = std::min(c.bottom, p.pz - h);
            c.top = std::max(c.top, p.pz + h);
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
        c.left = std::max(c.left - texel, -edge);
        c.bottom = std::max(c.bottom - texel, -edge);
        c.right = std::min(c.right + texel, edge);
        c.top = std::min(c.top + texel, edge);
        if (c.left >= c.right || c.bottom >= c.top)
            c = Cover{};
    };
    glDisable(GL_SCISSOR_TEST);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    drawTile(0, wholeSide, -1, 1.0f / wholeHeadroom, whole);
    glDisable(GL_SCISSOR_TEST);
    glBindFramebuffer(GL_FRAMEBUFFER, sliceFramebuffer);
    glViewport(0, 0, sliceSide * slices, sliceSide);
    glClear(GL_COLOR_BUFFER_BIT);
    // Each slice in its own part of the picture, which keeps a particle at the edge out of the
    // next slice's.
    glEnable(GL_SCISSOR_TEST);
    for (int slice = 0; slice < slices; ++slice)
        drawTile(slice, sliceSide, slice, 1.0f, cover[slice]);
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

void BlastSprite::draw(bool sliced) const {
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    // The picture already holds each particle's alpha.
    glBlendFunc(GL_ONE, GL_ONE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, sliced ? slicePicture : picture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_MODULATE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB, GL_PRIMARY_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB, GL_SRC_COLOR);
    glTexEnvf(GL_TEXTURE_ENV, GL_RGB_SCALE, sliced ? 1.0f : wholeHeadroom);
    // The particles' orange, lit as each particle square would be (no normal of its own). The
    // light is directional, so the colour is the same at every point of the square and cutting
    // the square to the covered part changes no pixel.
    glColor4f(1.0f, 0.3f, 0.0f, 1.0f);
    const int tiles = sliced ? slices : 1;
    glBegin(GL_QUADS);
    for (int tile = 0; tile < tiles; ++tile) {
        const Cover& c = sliced ? cover[tile] : whole;
        if (c.left >= c.right)
            continue;
        const float y =
            sliced ? -depthReach + (static_cast<float>(tile) + 0.5f) * sliceDepth : 0.0f;
        auto corner = [tile, tiles, y](float x, float z) {
            glTexCoord2f((static_cast<float>(tile) + (x + reach) / (2 * reach)) /
                             static_cast<float>(tiles),
                         (z + reach) / (2 * reach));
            glVertex3f(x, y, z);
        };
        corner(c.left, c.bottom);
        corner(c.right, c.bottom);
        corner(c.right, c.top);
        corner(c.left, c.top);
    }
    glEnd();
    glTexEnvf(GL_TEXTURE_ENV, GL_RGB_SCALE, 1);
    glPopAttrib();
}
