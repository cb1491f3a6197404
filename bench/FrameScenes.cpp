#include "FrameScenes.h"

#include "actors/Player.h"
#include "app/Game.h"

namespace framescenes {
namespace {

constexpr float winterMs = 216000; // phase 0.6 of the six-minute round
constexpr float blastStartMs = 60000;
constexpr float fuseMs = 3500;
constexpr int blastColumn = 4;
constexpr int blastRow = 14;

void openCell(MazeWorld& world, int x, int y) {
    Cell& c = world.cell(x, y);
    if (c.obstacle != nullptr)
        c.obstacle->destroyed = true;
    c.obstacle = nullptr;
    c.setObstacle(false);
}

} // namespace

void roundStart(Game& game) {
    game.clock.setManual(0);
    game.gameRunning = true;
}

void midWinter(Game& game) {
    game.clock.setManual(winterMs);
    game.gameRunning = true;
    // Each advance is one frame of fall; after a few hundred the flakes fill every height.
    if (game.particles.emitter != nullptr)
        for (int frame = 0; frame < 400; ++frame)
            game.particles.emitter->advance();
}

int crossingBlast(Game& game) {
    MazeWorld& world = game.world;
    game.gameRunning = true;
    game.shadowsOn = true;
    for (int i = 0; i < MazeWorld::arenaSize; ++i) {
        openCell(world, i, blastRow);
        openCell(world, blastColumn, i);
    }
    game.clock.setManual(blastStartMs);
    Player& owner = game.player1;
    Bomb& bomb = *owner.bombs[0];
    const float x = blastColumn + 0.5f, y = blastRow + 0.5f;
    if (!world.placeBomb(x, y, 0, owner.number, &bomb))
        return 0;
    bomb.x = x;
    bomb.y = y;
    bomb.reach = 14;
    bomb.dropTime = blastStartMs;
    bomb.blastTime = blastStartMs + fuseMs;
    bomb.ready = false;
    bomb.blastApplied = false;
    // The fuse runs out; the owner's tick sets the blast off without drawing.
    game.clock.setManual(blastStartMs + fuseMs);
    owner.tickBombs(false);
    // A tenth of a second into the burn, and held there while frames are measured.
    game.clock.setManual(blastStartMs + fuseMs + 100);
    return static_cast<int>(world.blastCells.size());
}

} // namespace framescenes
