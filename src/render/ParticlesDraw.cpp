#include "render/ParticlesDraw.h"
#include "actors/Particles.h"
#include "render/BlastSprite.h"
#include "render/ObjectDrawing.h"
#include "render/TextureTable.h"
#include "render/ViewFrustum.h"
#include "scene/TextureSlots.h"
#include "world/MazeWorld.h"
#include <GL/gl.h>
#include <vector>

namespace {
constexpr float blastHalfSize = 0.5f;

// Whether a burning cell is near enough to a view's eye at (x, y) to show the burst's slices: a
// particle drifted d across y from the cell's plane and r from its middle is shown shifted some
// r d p / D^2 pixels when flattened, for a cell D ahead and p pixels a unit one unit before the
// eye. For the bright ones (r and d about 0.5 and 0.3) that is below a pixel from
// sqrt(0.15 p): 6 cells in a view 200 pixels tall (p = 241), 7.3 in one 294 tall.
bool slicedNear(const BurningCell& cell, const float* eye, float pixelsPerUnitAtOne) {
    const float dx = static_cast<float>(cell.x) + 0.5f - eye[0];
    const float dy = static_cast<float>(cell.y) + 0.5f - eye[1];
    return dx * dx + dy * dy < 0.15f * pixelsPerUnitAtOne;
}

unsigned int textureOf(const TextureTable* textures, int32_t slot) {
    return textures && slot >= 0 && slot < TextureTable::slotCount ? (*textures)[slot] : 0;
}

bool updateBlastSprite(const MazeWorld& world, const TextureTable* textures, BlastSprite& sprite,
                       uint32_t frame) {
    return sprite.update(world.blastParticles.particles, BlastParticles::count, blastHalfSize,
                         textureOf(textures, fireGlowSlot), frame);
}
} // namespace

void drawParticleSquares(const Particle* particles, int count, float halfSize, unsigned int texture,
                         const ViewFrustum* frustum) {
    const float h = halfSize;
    // The square's corners lie this far from its middle.
    const float reach = h * 1.4143f;
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    // Modulating lets the particles take their orange colour and fade with their alpha.
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    // All squares in one run: each is flat and evenly coloured, so how it is cut into
    // triangles does not show.
    glBegin(GL_QUADS);
    for (int k = 0; k < count; ++k) {
        const Particle& p = particles[k];
        if (!p.alive || (frustum && !frustum->mayShow(p.px, p.py, p.pz, reach)))
            continue;
        glColor4f(1.0f, 0.3f, 0.0f, p.alpha);
        glTexCoord2f(1, 1);
        glVertex3f(p.px + h, p.py, p.pz + h);
        glTexCoord2f(0, 1);
        glVertex3f(p.px - h, p.py, p.pz + h);
        glTexCoord2f(0, 0);
        glVertex3f(p.px - h, p.py, p.pz - h);
        glTexCoord2f(1, 0);
        glVertex3f(p.px + h, p.py, p.pz - h);
    }
    glEnd();
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

void drawSnow(const ParticleSystem& snow, float phase, const TextureTable* textures,
              const ViewFrustum* frustum) {
    if (!snow.snowVisible(phase))
        return;
    drawParticleSquares(snow.emitter.flakes, FlakeEmitter::count, 0.06f,
                        textureOf(textures, snowFlakeSlot), frustum);
}

void prepareBlastPictures(const MazeWorld& world, const TextureTable* textures, BlastSprite& sprite,
                          uint32_t frame) {
    if (world.anyBurning())
        updateBlastSprite(world, textures, sprite, frame);
}

void drawBlastCells(const MazeWorld& world, const TextureTable* textures, BlastSprite* sprite,
                    uint32_t frame, const float* eye, float pixelsPerUnitAtOne) {
    if (!world.anyBurning())
        return;
    const Particle* particles = world.blastParticles.particles;
    const unsigned int glow = textureOf(textures, fireGlowSlot);
    constexpr float burstHeight = 0.35f;
    if (sprite && updateBlastSprite(world, textures, *sprite, frame)) {
        std::vector<BlastSprite::Place> places;
        places.reserve(world.burning().size());
        for (const BurningCell& burning : world.burning())
            places.push_back({static_cast<float>(burning.x) + 0.5f,
                              static_cast<float>(burning.y) + 0.5f, burstHeight,
                              eye && slicedNear(burning, eye, pixelsPerUnitAtOne)});
        sprite->draw(places.data(), static_cast<int>(places.size()));
        return;
    }
    for (const BurningCell& burning : world.burning()) {
        glPushMatrix();
        glTranslatef(static_cast<float>(burning.x) + 0.5f, static_cast<float>(burning.y) + 0.5f,
                     burstHeight);
        drawParticleSquares(particles, BlastParticles::count, blastHalfSize, glow);
        glPopMatrix();
    }
}
