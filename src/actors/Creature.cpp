#include "actors/Creature.h"
#include "scene/RandomGenerator.h"
#include "world/MazeWorld.h"
#include <cmath>

namespace {
using tuning::creatureStep;
// The house's square, which creatures keep their whole body out of.
constexpr float houseLeft = 6, houseRight = 9, houseBottom = 8, houseTop = 11;
constexpr float arenaEdge = tuning::arenaSize;

// Whether a body of radius r at (x, y) reaches into the house or a home cell: creatures keep
// out of both, so none can wait where a player comes back.
bool keptOut(float x, float y, float r) {
    if (x + r >= houseLeft && x - r <= houseRight && y + r >= houseBottom && y - r <= houseTop)
        return true;
    if (y - r > 1)
        return false;
    return x - r < 1 || x + r > arenaEdge - 1;
}

float runLength(RandomGenerator& random) {
    return static_cast<float>(
        random.nextInt(tuning::creatureRunShortest, tuning::creatureRunLongest));
}
} // namespace

Creature::Creature(int32_t number_, RandomGenerator& random) : number(number_) {
    shape.derive(bodyRadius);
    runLeft = runLength(random);
}

void Creature::place(MazeWorld& world, RandomGenerator& random) {
    for (;;) {
        x = static_cast<float>(random.nextInt(0, tuning::lastCell)) + 0.5f;
        y = static_cast<float>(random.nextInt(0, tuning::lastCell)) + 0.5f;
        if (y > 2 && world.isPassable(x, y, 0) && world.canPlace(x, y))
            break;
    }
}

void Creature::roam(MazeWorld& world, RandomGenerator& random) {
    if (world.creatureHit[number - 1])
        return;
    runLeft -= creatureStep;
    bool newRun = runLeft <= 0;
    const float r = bodyRadius;
    const float nx = x + dirX * creatureStep;
    const float ny = y + dirY * creatureStep;
    if (!newRun) {
        const bool outside = nx < 0 || nx >= arenaEdge || ny < 0 || ny >= arenaEdge;
        // The arena test comes first: cells are looked up only for a target inside it.
        newRun = keptOut(nx, ny, r) || outside || !world.isPassable(nx, ny, r) ||
                 !world.bombAllows(x, y, nx, ny) || !world.wallAllows(x, y, nx, ny) ||
                 (dirX > 0 && nx + r > arenaEdge) || (dirX < 0 && nx - r < 0) ||
                 (dirY > 0 && ny + r > arenaEdge) || (dirY < 0 && ny - r < 0);
    }
    if (newRun) {
        runLeft = runLength(random);
        switch (random.nextInt(0, 3)) {
        case 0:
            dirX = 1, dirY = 0;
            break;
        case 1:
            dirX = -1, dirY = 0;
            break;
        case 2:
            dirX = 0, dirY = 1;
            break;
        default:
            dirX = 0, dirY = -1;
            break;
        }
        return;
    }
    if (world.hasTrap(nx, ny) && !world.hasTrap(x, y)) {
        world.springTrap(nx, ny, random);
        place(world, random);
        return;
    }
    x = nx;
    y = ny;
}

void Creature::advanceAnimation() {
    heading = headingFromDirection(dirX, dirY, heading);
    shape.swingFeet();
}

void Creature::touchTest(MazeWorld& world, const FigurePlaces& figures) {
    if (world.creatureHit[number - 1])
        return;
    const float reach = 2 * figures.playerRadius;
    for (int i = 0; i < 2; ++i) {
        const float dx = x - figures.playerX[i];
        const float dy = y - figures.playerY[i];
        if (std::sqrt(dx * dx + dy * dy) > reach || world.sheltered(i + 1))
            continue;
        if (!world.respawnRequest[i])
            world.respawnCause[i] = causeCreature;
        world.respawnRequest[i] = true;
    }
}

bool Creature::inPlay(const MazeWorld& world) const {
    return number >= 1 && number <= 4 && !world.creatureHit[number - 1];
}

void Creature::step(MazeWorld& world, const FigurePlaces& figures, RandomGenerator& random) {
    if (!inPlay(world))
        return;
    roam(world, random);
    advanceAnimation();
    touchTest(world, figures);
}
