#include "FrameScenes.h"

#include "actors/Player.h"
#include "app/Game.h"
#include "rules/RoundTick.h"

namespace framescenes {
namespace {

constexpr float winterMs = 216000; // phase 0.6 of the six-minute round
constexpr float blastStartMs = 60000;
constexpr float fuseMs = 3500;
constexpr int blastColumn = 4;
constexpr int blastRow = 14;

// Runs the round with no keys held until game time ms; drawing then shows that state.
void tickUntil(Game& game, float ms) {
    game.gameRunning = true;
    while (tickTime(game.round.ticks) <= ms)
        tickRound(game.round, KeyState{});
}

void openCell(MazeWorld& world, int x, int y) {
    Cell& c = world.cell(x, y);
    if (c.obstacle != Cell::none)
        world.obstacles[c.obstacle].destroyed = true;
    c.obstacle = Cell::none;
    c.hasObstacle = false;
}

} // namespace

void roundStart(Game& game) {
    tickUntil(game, 0);
}

void midWinter(Game& game) {
    tickUntil(game, winterMs);
}

int crossingBlast(Game& game) {
    MazeWorld& world = game.round.world;
    game.gameRunning = true;
    game.round.shadowsOn = true;
    for (int i = 0; i < MazeWorld::arenaSize; ++i) {
        openCell(world, i, blastRow);
        openCell(world, blastColumn, i);
    }
    // The round is taken to its minute without playing it: only the clock moves there.
    game.round.ticks = static_cast<uint32_t>(blastStartMs * 60 / 1000);
    tickUntil(game, blastStartMs);
    Player& owner = game.round.player1;
    Bomb& bomb = owner.bombs[0];
    const float x = blastColumn + 0.5f, y = blastRow + 0.5f;
    if (!world.placeBomb(x, y, 0, owner.number))
        return 0;
    bomb.x = x;
    bomb.y = y;
    bomb.reach = 14;
    bomb.dropTime = blastStartMs;
    bomb.blastTime = blastStartMs + fuseMs;
    bomb.ready = false;
    bomb.blastApplied = false;
    // The fuse runs out; a tenth of a second into the burn, held there while frames are
    // measured.
    tickUntil(game, blastStartMs + fuseMs + 100);
    return static_cast<int>(world.blastCellCount);
}

void intoLabyrinth(Game& game) {
    Player& p = game.round.player1;
    p.x = 104.5f;
    p.y = 100.5f;
    p.dirX = 0;
    p.dirY = 1;
    game.round.world.freeRoam[0] = true;
    game.round.player1Camera.place(104.5f, 99.6f, 0.9f, 104.5f, 100.5f, 0.85f, 0, 0, 1);
}

} // namespace framescenes
