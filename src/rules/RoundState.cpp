#include "rules/RoundState.h"
#include "world/ArenaLayout.h"

RoundState::RoundState(uint32_t seed_)
    : seed(seed_), random(seed_), player1(1, arena::homeX[0], arena::homeY, 0, 1.0f, 1.0f, 0),
      player2(2, arena::homeX[1], arena::homeY, 0, 1.0f, 1.0f, 0), creatures{Creature(1, random),
                                                                             Creature(2, random),
                                                                             Creature(3, random),
                                                                             Creature(4, random)} {
    world.playerRadius = player1.bodyRadius;
}

void setUpRound(RoundState& r) {
    r.overviewCamera.place(7.5f, -5.7625f, 8.541f, 7.5f, 6.6575f, -0.855f, 0, 0.937f, 0.342f);
    for (int n = 1; n <= 2; ++n) {
        const float x = arena::homeXOf(n);
        r.playerCamera(n).place(x, -1.5f, 0.9f, x, arena::homeY, 0.7f, 0, 0, 1);
    }
    r.world.createWallBlocks();
    r.world.generateLabyrinth(r.random);
    r.world.createBlastParticles(r.random);
    r.world.placeItems(r.random);
    for (int n = 1; n <= 4; ++n)
        r.creature(n).place(r.world, r.random);
    r.particles.prepare(r.random);
}

void startRound(RoundState& r, uint32_t seed) {
    r = RoundState(seed);
    setUpRound(r);
}
