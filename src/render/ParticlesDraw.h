#pragma once

class ParticleSystem;
class ViewFrustum;
struct Particle;
struct TextureTable;

// Draws the live particles of a table as additive, depth-ignoring textured squares in the x-z
// plane, orange faded by each one's alpha (shared by snow and blast fire). With `frustum`, a
// particle wholly outside the view is not sent.
void drawParticleSquares(const Particle* particles, int count, float halfSize, unsigned int texture,
                         const ViewFrustum* frustum = nullptr);
// The flakes, while the round's phase is inside the snowfall's window; with `frustum`, only
// those the view may show.
void drawSnow(const ParticleSystem& snow, float phase, const TextureTable* textures,
              const ViewFrustum* frustum = nullptr);
