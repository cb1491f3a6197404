#include "render/ParticlesDraw.h"
#include "actors/Particles.h"
#include "render/BlastSprite.h"
#include "render/ObjectDrawing.h"
#include "render/TextureTable.h"
#include "render/ViewFrustum.h"
#include "scene/TextureSlots.h"
#include "world/MazeWorld.h"
#include <GL/gl.h>

namespace {
constexpr float blastHalfSize = 0.5f;

unsigned int textureOf(const TextureTable* textures, int32_t slot) {
    return textures && slot >= 0 && slot < TextureTable::slotCount ? (*textures)[slot] : 0;
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

void drawBlastCells(const MazeWorld& world, const TextureTable* textures, BlastSprite* sprite,
                    uint32_t frame) {
    if (!world.anyBurning())
        return;
    const Particle* particles = world.blastParticles.particles;
    const unsigned int glow = textureOf(textures, fireGlowSlot);
    const bool asSprite =
        sprite && sprite->update(particles, BlastParticles::count, blastHalfSize, glow, frame);
    for (const BurningCell& burning : world.burning()) {
        glPushMatrix();
        glTranslatef(static_cast<float>(burning.x) + 0.5f, static_cast<float>(burning.y) + 0.5f,
                     0.35f);
        if (asSprite)
            sprite->draw();
        else
            drawParticleSquares(particles, BlastParticles::count, blastHalfSize, glow);
        glPopMatrix();
    }
}
