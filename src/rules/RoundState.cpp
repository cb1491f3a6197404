#include "rules/RoundState.h"
#include "world/ArenaLayout.h"

RoundStateData::RoundStateData(uint32_t seed_)
    : seed(seed_), random(seed_), world(&random),
      player1(1, arena::homeX[0], arena::homeY, 0, 1.0f, 1.0f, 0, world),
      player2(2, arena::homeX[1], arena::homeY, 0, 1.0f, 1.0f, 0, world), creature1(1, world),
      creature2(2, world), creature3(3, world), creature4(4, world) {
    world.clock = &clock;
}

RoundState::RoundState(uint32_t seed) : RoundStateData(seed) {}

RoundState::RoundState(const RoundState& other) : RoundStateData(other) {
    relink(other);
}

RoundState& RoundState::operator=(const RoundState& other) {
    if (this != &other) {
        RoundStateData::operator=(other);
        relink(other);
    }
    return *this;
}

void RoundState::relink(const RoundState& from) {
    world.rebindShared(&random, &clock);
    world.relinkBombs(from.player1.bombs, player1.bombs, std::size(player1.bombs));
    world.relinkBombs(from.player2.bombs, player2.bombs, std::size(player2.bombs));
    player1.world = &world;
    player2.world = &world;
    for (int n = 1; n <= 4; ++n)
        creature(n).world = &world;
    particles.rebind(&random);
}

Creature& RoundState::creature(int n) {
    switch (n) {
    case 1:
        return creature1;
    case 2:
        return creature2;
    case 3:
        return creature3;
    default:
        return creature4;
    }
}

void setUpRound(RoundState& r) {
    r.overviewCamera.place(7.5f, -5.7625f, 8.541f, 7.5f, 6.6575f, -0.855f, 0, 0.937f, 0.342f);
    for (int n = 1; n <= 2; ++n) {
        const float x = arena::homeXOf(n);
        r.playerCamera(n).place(x, -1.5f, 0.9f, x, arena::homeY, 0.7f, 0, 0, 1);
    }
    r.world.createWallBlocks();
    r.world.generateLabyrinth();
    r.world.createBlastParticles();
    r.world.placeItems();
    for (int n = 1; n <= 4; ++n)
        r.creature(n).place();
    r.particles.prepare(&r.random);
}

void startRound(RoundState& r, uint32_t seed) {
    r = RoundState(seed);
    setUpRound(r);
}
