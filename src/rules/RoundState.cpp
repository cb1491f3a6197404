#include "rules/RoundState.h"
#include "world/ArenaLayout.h"

RoundState::RoundState(uint32_t seed_)
    : seed(seed_), random(seed_), player1(1, arena::homeX[0], arena::homeY, 0, 1.0f, 1.0f, 0),
      player2(2, arena::homeX[1], arena::homeY, 0, 1.0f, 1.0f, 0), creatures{Creature(1, random),
                                                                             Creature(2, random),
                                                                             Creature(3, random),
                                                                             Creature(4, random)} {}

void placeStartCamera(Camera& camera, float homeX) {
    camera.place(homeX, arena::homeY - tuning::cameraBack, tuning::cameraHeight, homeX,
                 arena::homeY, tuning::lookHeight, 0, 0, 1);
}

FigurePlaces figurePlaces(const RoundState& r) {
    FigurePlaces f;
    for (int n = 1; n <= 2; ++n) {
        f.playerX[n - 1] = r.player(n).x;
        f.playerY[n - 1] = r.player(n).y;
    }
    f.playerRadius = r.player1.bodyRadius;
    for (int n = 1; n <= 4; ++n) {
        f.creatureX[n - 1] = r.creature(n).x;
        f.creatureY[n - 1] = r.creature(n).y;
    }
    return f;
}

void setUpRound(RoundState& r) {
    using namespace tuning;
    r.overviewCamera.place(overviewEye[0], overviewEye[1], overviewEye[2], overviewTarget[0],
                           overviewTarget[1], overviewTarget[2], overviewUp[0], overviewUp[1],
                           overviewUp[2]);
    for (int n = 1; n <= 2; ++n)
        placeStartCamera(r.playerCamera(n), arena::homeXOf(n));
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
