#pragma once

class ParticleSystem;
struct Particle;
struct TextureTable;

// Draws the live particles of a table as additive, depth-ignoring textured squares in the x-z
// plane, orange faded by each one's alpha (shared by snow and blast fire).
void drawParticleSquares(const Particle* particles, int count, float halfSize,
                         unsigned int texture);
// The flakes, while the round's phase is inside the snowfall's window.
void drawSnow(const ParticleSystem& snow, float phase, const TextureTable* textures);
