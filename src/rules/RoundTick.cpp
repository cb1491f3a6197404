#include "rules/RoundTick.h"
#include "actors/ArenaAnimation.h"
#include "rules/Controls.h"
#include "rules/RoundState.h"
#include "world/RoundClock.h"
#include "rules/LabyrinthSight.h"

namespace {
// Feet, heading and bombs of a player drawn in a view; the shadow pass draws the figure only.
void playerShown(RoundState& g, Player& p) {
    p.advanceAnimation();
    p.tickBombs(g.world, BombRack{{g.player1.bombs, g.player2.bombs}, figurePlaces(g)},
                g.clock.now(), g.random);
}

void creaturesShown(RoundState& g) {
    const FigurePlaces places = figurePlaces(g);
    for (int n = 1; n <= 4; ++n)
        g.creature(n).step(g.world, places, g.random);
}

void overviewSteps(RoundState& g, const TickViews& views) {
    if (views.shadowPass) {
        g.player1.advanceAnimation();
        g.player2.advanceAnimation();
        creaturesShown(g);
    }
    g.seasons.select(g.seasonPhase);
    advanceArenaView(g.world, g.random, g.clock.now(), false, 0, 0, 0, 0);
    g.particles.advanceSnow(g.seasonPhase, g.random);
    playerShown(g, g.player1);
    playerShown(g, g.player2);
    creaturesShown(g);
}

void playerViewSteps(RoundState& g, const TickViews& views, int n) {
    Player& self = g.player(n);
    Player& other = g.player(3 - n);
    playerShown(g, self);
    if (views.inLabyrinth[n - 1]) {
        if (views.inLabyrinth[2 - n])
            playerShown(g, other);
        return;
    }
    advanceArenaView(g.world, g.random, g.clock.now(), true, static_cast<int>(self.x),
                     static_cast<int>(self.y), self.dirX, self.dirY);
    g.particles.advanceSnow(g.seasonPhase, g.random);
    creaturesShown(g);
    if (!views.inLabyrinth[2 - n])
        playerShown(g, other);
}
} // namespace

TickViews tickViews(const RoundState& round) {
    return {round.shadowsOn, {round.world.freeRoam[0], round.world.freeRoam[1]}};
}

void tickRound(RoundState& g, const KeyState& keys) {
    g.world.events.clear();
    g.clock.set(tickTime(g.ticks));
    ++g.ticks;
    frameUpdate(g, keys);
    // A tick late past the end (the clock would read 0:59 again) ends the round too.
    if (roundEnded(g.gameTime))
        g.roundOver = true;
    g.seasonPhase = g.gameTime / tuning::roundMs;
    if (!g.roundOver)
        handleRespawns(g);
    // Nothing below moves a player into or out of the labyrinth or turns the shadows.
    const TickViews views = tickViews(g);
    overviewSteps(g, views);
    playerViewSteps(g, views, 1);
    playerViewSteps(g, views, 2);
    for (int n = 1; n <= 2; ++n) {
        const Player& p = g.player(n);
        if (g.world.freeRoam[n - 1])
            lookAround(g.sight[n - 1], g.world.maze, p.x, p.y, p.dirX, p.dirY);
    }
}
