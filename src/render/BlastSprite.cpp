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
// The burst is a soft blur; 16 texels a unit keep all of it (drawn so, it stays as close to the
// particles drawn one by one as with 32).
constexpr int side = 64;
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

// Covers a particle's square on one axis, in world units, a texel wider each way for the
// filter; held half a texel inside the picture's edge.
void widen(float& low, float& high, float texel) {
    const float edge = reach - texel / 2;
    low = std::max(low - texel, -edge);
    high = std::min(high + texel, edge);
}
} // namespace

BlastSprite::~BlastSprite() {
    // The GL may be gone by now (the program's end); its objects go with it.
}

bool BlastSprite::update(const Particle* particles, int count, float halfSize, unsigned int texture,
                         uint32_t frame) {
    if (texture == 0)
        return false;
    if (drawn && drawnFrame == frame)
        return true;
    if (picture == 0) {
        glGenTextures(1, &picture);
        shapePictureTexture(picture, side, side, GL_LINEAR, 0);
        glGenTextures(1, &slicePicture);
        shapePictureTexture(slicePicture, side * slices, side, GL_LINEAR, GL_RGBA16F);
    }
    // The texture unit and its picture as they were, to be left so. (Rows of four floats a
    // texel meet any row alignment.)
    GLint unit = 0, bound = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    glActiveTexture(GL_TEXTURE0);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    auto restore = [&] {
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
        glActiveTexture(static_cast<GLenum>(unit));
    };
    const int square = static_cast<int>(std::lround(2 * halfSize * side / (2 * reach)));
    if (texture != glowTexture || splat.size() != square) {
        glBindTexture(GL_TEXTURE_2D, texture);
        GLint w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        if (w <= 0 || h <= 0) {
            restore();
            return false;
        }
        std::vector<float> glow(static_cast<size_t>(w) * h * 4);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT, glow.data());
        splat.prepare(glow.data(), w, h, square);
        glowTexture = texture;
    }

    // The particles' sums, as additive blending of their squares would leave them: x to the
    // right, z up, as the burst is seen from -y; row 0 at the bottom.
    const int sliceWidth = side * slices;
    wholePixels.assign(static_cast<size_t>(side) * side * 4, 0.0f);
    slicePixels.assign(static_cast<size_t>(sliceWidth) * side * 4, 0.0f);
    const float h = halfSize;
    const float texel = 2 * reach / side;
    whole = Cover{reach, -reach, reach, -reach};
    for (Cover& c : cover)
        c = Cover{reach, -reach, reach, -reach};
    for (int k = 0; k < count; ++k) {
        const Particle& p = particles[k];
        if (!p.alive)
            continue;
        const int slice = sliceOf(p.py);
        for (Cover* c : {&whole, &cover[slice]}) {
            c->left = std::min(c->left, p.px - h);
            c->right = std::max(c->right, p.px + h);
            c->bottom = std::min(c->bottom, p.pz - h);
            c->top = std::max(c->top, p.pz + h);
        }
        const float x = (p.px - h + reach) / texel, z = (p.pz - h + reach) / texel;
        // Rounded as blending into its eight bits would round each particle's share: the
        // particles drawn one by one lose their faintest light so too.
        splat.add(wholePixels.data(), side, side, 0, side, x, z, 1.0f / wholeHeadroom, p.alpha,
                  255);
        // Each slice in its own part of the picture, which keeps a particle at the edge out of
        // the next slice's.
        splat.add(slicePixels.data(), sliceWidth, side, slice * side, (slice + 1) * side,
                  static_cast<float>(slice * side) + x, z, 1.0f, p.alpha);
    }
    auto finish = [texel](Cover& c) {
        widen(c.left, c.right, texel);
        widen(c.bottom, c.top, texel);
        if (c.left >= c.right || c.bottom >= c.top)
            c = Cover{};
    };
    finish(whole);
    for (Cover& c : cover)
        finish(c);

    glBindTexture(GL_TEXTURE_2D, picture);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, side, side, GL_RGBA, GL_FLOAT, wholePixels.data());
    glBindTexture(GL_TEXTURE_2D, slicePicture);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, sliceWidth, side, GL_RGBA, GL_FLOAT,
                    slicePixels.data());
    restore();
    drawn = true;
    drawnFrame = frame;
    return true;
}

void BlastSprite::draw(const Place* places, int count) const {
    if (count <= 0)
        return;
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    // The picture already holds each particle's alpha.
    glBlendFunc(GL_ONE, GL_ONE);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_MODULATE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB, GL_PRIMARY_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB, GL_SRC_COLOR);
    // The particles' orange, lit as each particle square would be (no normal of its own). The
    // light is directional, so the colour is the same at every point of the square and cutting
    // the square to the covered part changes no pixel.
    glColor4f(1.0f, 0.3f, 0.0f, 1.0f);
    // The places showing the whole picture, then those showing the slices.
    for (const bool sliced : {false, true}) {
        bool begun = false;
        const int tiles = sliced ? slices : 1;
        for (int k = 0; k < count; ++k) {
            const Place& at = places[k];
            if (at.sliced != sliced)
                continue;
            if (!begun) {
                glBindTexture(GL_TEXTURE_2D, sliced ? slicePicture : picture);
                glTexEnvf(GL_TEXTURE_ENV, GL_RGB_SCALE, sliced ? 1.0f : wholeHeadroom);
                glBegin(GL_QUADS);
                begun = true;
            }
            for (int tile = 0; tile < tiles; ++tile) {
                const Cover& c = sliced ? cover[tile] : whole;
                if (c.left >= c.right)
                    continue;
                const float across =
                    sliced ? -depthReach + (static_cast<float>(tile) + 0.5f) * sliceDepth : 0.0f;
                const float y = at.y + across;
                auto corner = [&](float x, float z) {
                    glTexCoord2f((static_cast<float>(tile) + (x + reach) / (2 * reach)) /
                                     static_cast<float>(tiles),
                                 (z + reach) / (2 * reach));
                    glVertex3f(at.x + x, y, at.z + z);
                };
                corner(c.left, c.bottom);
                corner(c.right, c.bottom);
                corner(c.right, c.top);
                corner(c.left, c.top);
            }
        }
        if (begun)
            glEnd();
    }
    glTexEnvf(GL_TEXTURE_ENV, GL_RGB_SCALE, 1);
    glPopAttrib();
}
