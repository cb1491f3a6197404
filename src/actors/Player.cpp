#include "actors/Player.h"
#include "world/MazeWorld.h"
#include "world/ArenaLayout.h"
#include <cmath>

namespace {
using tuning::fastestStepLength;
using tuning::freshReach;
using tuning::freshStepLength;
using tuning::fullReach;
using tuning::hitPenalty;
using tuning::speedBonus;
constexpr int32_t slotCount = tuning::bombSlots;

// Below this a heading component is rounding noise of the camera's turns: no heading the controls
// produce has a component between 0 and sin 5 degrees.
constexpr float axisNoise = 1e-4f;

// The ground-plane part of v as a unit vector; false when it has no ground-plane length. A
// heading along an axis comes out exactly along it, since the movement rules tell an axis
// heading from a diagonal one by a component being exactly 0.
bool flatUnit(const Vector3& v, float& outX, float& outY) {
    Vector3 flat(v.x, v.y, 0);
    if (flat.length() == 0)
        return false;
    flat = flat.normalised();
    if (std::fabs(flat.x) < axisNoise) {
        flat.x = 0;
        flat.y = flat.y < 0 ? -1.0f : 1.0f;
    } else if (std::fabs(flat.y) < axisNoise) {
        flat.y = 0;
        flat.x = flat.x < 0 ? -1.0f : 1.0f;
    }
    outX = flat.x;
    outY = flat.y;
    return true;
}

float cellCentre(float coordinate) {
    return static_cast<float>(static_cast<int32_t>(coordinate)) + 0.5f;
}
} // namespace

Player::Player(int32_t number_, float x_, float y_, float dirX_, float dirY_, float sideX_,
               float sideY_)
    : x(x_), y(y_), dirX(dirX_), dirY(dirY_), number(number_), sideX(sideX_), sideY(sideY_) {
    if (number == 1) {
        colourR = 237;
        colourG = 74;
        colourB = 89;
    } else {
        colourR = 74;
        colourG = 151;
        colourB = 237;
    }
    colourA = 255;
    shape.derive(bodyRadius);
}

void Player::setDirections(const Vector3& forward, const Vector3& side) {
    // A direction without ground-plane length (a camera looking straight down) keeps the old one.
    flatUnit(forward, dirX, dirY);
    flatUnit(side, sideX, sideY);
}

bool Player::spendTrap() {
    if (trapItems < 1)
        return false;
    --trapItems;
    return true;
}

bool Player::spendWall() {
    if (wallItems < 1)
        return false;
    --wallItems;
    return true;
}

void Player::dropBomb(MazeWorld& world, float now) {
    if (bombsReady <= 0)
        return;
    int32_t slot = -1;
    for (int32_t i = 0; i < bombCapacity && i < slotCount; ++i) {
        if (bombs[i].ready) {
            slot = i;
            break;
        }
    }
    if (slot < 0)
        return;
    Bomb& bomb = bombs[slot];
    if (!world.placeBomb(x, y, slot, number))
        return;
    bomb.x = cellCentre(x);
    bomb.y = cellCentre(y);
    bomb.dropTime = now;
    bomb.blastTime = bomb.dropTime + tuning::fuseMs;
    bomb.ready = false;
    bomb.blastApplied = false;
    --bombsReady;
}

void Player::returnToStart(MazeWorld& world, RandomGenerator& random) {
    if (carryingCheese) {
        world.dropCheese(x, y, number, random);
        ++tally.cheeseLost;
    }
    const int32_t before = points;
    points -= hitPenalty;
    if (points < 0)
        points = 0;
    tally.pointsLost += before - points;
    x = arena::homeXOf(number);
    y = arena::homeY;
    dirX = 0;
    dirY = 1;
    // The start cell lies in the arena, so a player caught while steering through the labyrinth
    // must not go on steering there.
    if (number == 1 || number == 2)
        world.freeRoam[number - 1] = false;

    const struct {
        int32_t count;
        int32_t kind;
    } returned[] = {{bombItems, kindBomb}, {wallItems, kindWall},       {trapItems, kindTrap},
                    {fireItems, kindFire}, {maxFireItems, kindMaxFire}, {speedItems, kindSpeed}};
    for (const auto& r : returned)
        for (int32_t i = 0; i < r.count; ++i)
            world.returnItem(r.kind, random);

    bombItems = wallItems = trapItems = fireItems = maxFireItems = speedItems = 0;
    bombCapacity = 1;
    bombsReady = 1;
    carryingCheese = false;
    for (Bomb& bomb : bombs)
        bomb.reach = freshReach;
    stepLength = freshStepLength;
}

void Player::applyPickUp(int32_t type) {
    switch (type) {
    case kindBomb:
        ++bombItems;
        if (bombCapacity < slotCount) {
            ++bombCapacity;
            ++bombsReady;
        }
        break;
    case kindSpeed:
        ++speedItems;
        if (stepLength < fastestStepLength)
            stepLength += speedBonus;
        break;
    case kindMaxFire:
        ++maxFireItems;
        for (Bomb& bomb : bombs)
            bomb.reach = fullReach;
        break;
    case kindFire:
        ++fireItems;
        for (Bomb& bomb : bombs)
            if (bomb.reach < fullReach)
                ++bomb.reach;
        break;
    case kindTrap:
        ++trapItems;
        break;
    case kindWall:
        ++wallItems;
        break;
    case kindCoin:
        ++tally.coins;
        points += tuning::coinPoints;
        break;
    case kindCheese:
        if (!carryingCheese)
            carryingCheese = true;
        break;
    default:
        break;
    }
}

void Player::advanceAnimation() {
    heading = headingFromDirection(dirX, dirY, heading);
    shape.swingFeet();
}

void Player::tickBombs(MazeWorld& world, const BombRack& rack, float now, RandomGenerator& random) {
    int32_t ready = 0;
    for (int32_t i = 0; i < slotCount; ++i) {
        Bomb& bomb = bombs[i];
        if (bomb.ready) {
            if (i < bombCapacity)
                ++ready;
            continue;
        }
        if (bomb.update(now) && !bomb.blastApplied)
            world.blast(bomb, number, rack, now, random);
        if (bomb.ready)
            world.clearBomb(bomb.x, bomb.y, i, number);
    }
    bombsReady = ready;
}
