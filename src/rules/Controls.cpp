#include "rules/Controls.h"
#include "rules/LabyrinthCamera.h"
#include "rules/Movement.h"
#include "rules/RoundState.h"
#include "world/ArenaLayout.h"
#include <algorithm>
#include <cmath>

namespace {
void countRespawn(Player& p, int32_t cause) {
    RoundTally& t = p.tally;
    if (cause == causeCreature)
        ++t.caught;
    else if (cause == p.number)
        ++t.hitByOwn;
    else if (cause == causeBombOf1 || cause == causeBombOf2)
        ++t.hitByOther;
}

// keyAngle entries, in table order.
enum { angleForward, angleBack, angleLeft, angleRight };

void setAngles(float* a, float forward, float back, float left, float right) {
    a[angleForward] = forward;
    a[angleBack] = back;
    a[angleLeft] = left;
    a[angleRight] = right;
}

void resetAngles(float* a) {
    setAngles(a, 0, 180, 90, -90);
}

int angleIndex(PlayerKey k) {
    switch (k) {
    case keyForward:
        return angleForward;
    case keyBack:
        return angleBack;
    case keyLeft:
        return angleLeft;
    default:
        return angleRight;
    }
}

// After a step the camera faces the key's direction; the table gives every other key's turn.
void anglesAfterStep(float* a, PlayerKey k) {
    switch (k) {
    case keyForward:
        setAngles(a, 0, 180, 90, -90);
        break;
    case keyBack:
        setAngles(a, 180, 0, -90, 90);
        break;
    case keyRight:
        setAngles(a, 90, -90, 180, 0);
        break;
    default:
        setAngles(a, -90, 90, 0, 180);
        break;
    }
}

void turnDirections(Player& p, const Camera& cam) {
    p.setDirections(cam.viewDirection(), cam.strafe);
}

// How far the middle of a cell lies ahead of the player along its heading, 0 when the player
// stands on one or does not face along an axis.
float toMiddleAhead(const Player& p) {
    const bool alongX = std::fabs(p.dirX) > 0.9f, alongY = std::fabs(p.dirY) > 0.9f;
    if (alongX == alongY)
        return 0;
    const float at = alongX ? p.x : p.y;
    const float ahead = (alongX ? p.dirX : p.dirY) > 0 ? 1.0f : -1.0f;
    const float middle = std::floor(at) + 0.5f;
    float gap = (middle - at) * ahead;
    if (gap < -1e-4f)
        gap += 1;
    return gap > 1e-4f ? gap : 0;
}

// A step of key k; a glide is the walk on to the middle ahead after the key was let go, cut
// short at that middle.
void arenaCase(RoundState& g, int n, PlayerKey k, bool glide = false) {
    Player& p = g.player(n);
    Camera& cam = g.playerCamera(n);
    float* angles = g.keyAngle[n - 1];
    cam.orbit(angles[angleIndex(k)], p.x, p.y, tuning::cameraBack);
    turnDirections(p, cam);
    const float fromX = p.x, fromY = p.y;
    bool stillInArena = true;
    // A glide finishes a slide into a lane too, so a tap let go halfway still lines up.
    if (!g.steeringHelp || !steerTowardGap(p, g.world, g.random, stillInArena)) {
        const float stepLength = p.stepLength;
        if (glide)
            p.stepLength = std::min(stepLength, toMiddleAhead(p));
        stillInArena = arenaStep(p, g.world, g.random);
        p.stepLength = stepLength;
    }
    const bool moved = p.x != fromX || p.y != fromY;
    p.glideKey = moved && stillInArena ? k : -1;
    // A step, a throw or a door ends the shelter at home; a turn on the spot does not.
    if (moved)
        g.world.homeShelter[n - 1] = false;
    if (stillInArena) {
        cam.translate(p.stepX, p.stepY);
        anglesAfterStep(angles, k);
        return;
    }
    resetAngles(angles);
    if (p.x > arena::labyrinthOrigin) {
        cam.place(p.x + p.stepX, p.y + p.stepY, tuning::cameraHeight, p.x, p.y,
                  tuning::labyrinthLookHeight, 0, 0, 1);
        g.world.freeRoam[n - 1] = true;
    } else {
        // Thrown by a trap.
        cam.place(p.x + p.stepX, p.y + p.stepY, tuning::cameraHeight, p.x, p.y, tuning::lookHeight,
                  0, 0, 1);
    }
}

void labyrinthCase(RoundState& g, int n, PlayerKey k) {
    Player& p = g.player(n);
    Camera& cam = g.playerCamera(n);
    float* angles = g.keyAngle[n - 1];
    if (k == keyRight || k == keyLeft) {
        cam.orbit(k == keyRight ? -tuning::labyrinthTurnDegrees : tuning::labyrinthTurnDegrees, p.x,
                  p.y, labyrinthCameraDistance(p.bodyRadius));
        turnDirections(p, cam);
        keepCameraOffWalls(cam, g.world.maze, p.x, p.y, p.bodyRadius);
        return;
    }
    if (freeRoamStep(p, g.world, g.clock.now(), k == keyForward ? 1 : -1)) {
        cam.translate(p.stepX, p.stepY);
        keepCameraOffWalls(cam, g.world.maze, p.x, p.y, p.bodyRadius);
    } else {
        // Out through a door: the table matches a camera facing away from the house, as after
        // a step out of it.
        for (const arena::HouseDoor& d : arena::houseDoors)
            if (p.x == d.centreX() && p.y == d.centreY())
                anglesAfterStep(angles, d.outY < 0   ? keyBack
                                        : d.outY > 0 ? keyForward
                                        : d.outX < 0 ? keyLeft
                                                     : keyRight);
        cam.place(p.x + p.stepX, p.y + p.stepY, tuning::cameraHeight, p.x, p.y, tuning::lookHeight,
                  0, 0, 1);
        g.world.freeRoam[n - 1] = false;
    }
}

void directionKey(RoundState& g, int n, PlayerKey k) {
    Player& p = g.player(n);
    if (g.world.freeRoam[n - 1]) {
        labyrinthCase(g, n, k);
        return;
    }
    // For two seconds after its last labyrinth step a player that came out cannot walk.
    if (p.freeMoveTime >= 0 && g.gameTime - p.freeMoveTime <= tuning::labyrinthLockMs)
        return;
    arenaCase(g, n, k);
}

// Walks a player let go between two cell middles on toward the next one.
void glide(RoundState& g, int n) {
    Player& p = g.player(n);
    const bool locked =
        p.freeMoveTime >= 0 && g.gameTime - p.freeMoveTime <= tuning::labyrinthLockMs;
    if (!g.steeringHelp || g.world.freeRoam[n - 1] || locked || toMiddleAhead(p) == 0) {
        p.glideKey = -1;
        return;
    }
    arenaCase(g, n, static_cast<PlayerKey>(p.glideKey), true);
}

void playerKeys(RoundState& g, int n, const bool* held) {
    Player& p = g.player(n);
    MazeWorld& w = g.world;
    const bool walking = held[keyForward] || held[keyBack] || held[keyRight] || held[keyLeft];
    if (!walking && p.glideKey >= 0)
        glide(g, n);
    for (int k = 0; k < playerKeyCount; ++k) {
        if (!held[k])
            continue;
        switch (static_cast<PlayerKey>(k)) {
        case keyForward:
        case keyBack:
        case keyRight:
        case keyLeft:
            directionKey(g, n, static_cast<PlayerKey>(k));
            break;
        case keyTrap:
            // The item is spent before the world lays it, even when the pool is empty.
            if (!w.freeRoam[n - 1] && w.canPlace(p.x, p.y) && p.spendTrap() &&
                w.placeTrap(p.x, p.y))
                w.events.tell(RoundEvent::of(RoundEvent::trapLaid, n, static_cast<int32_t>(p.x),
                                             static_cast<int32_t>(p.y)));
            break;
        case keyWall:
            if (!w.freeRoam[n - 1] && w.canPlace(p.x, p.y) && p.spendWall() &&
                w.placeWall(p.x, p.y))
                w.events.tell(RoundEvent::of(RoundEvent::wallLaid, n, static_cast<int32_t>(p.x),
                                             static_cast<int32_t>(p.y)));
            break;
        case keyBomb:
            if (!w.freeRoam[n - 1])
                p.dropBomb(w, g.clock.now());
            break;
        default:
            break;
        }
    }
}
} // namespace

KeyHeading keyHeading(const RoundState& round, int n, PlayerKey key) {
    const Player& p = round.player(n);
    Camera cam = round.playerCamera(n);
    Player probe = p;
    if (round.world.freeRoam[n - 1]) {
        if (key == keyForward || key == keyBack) {
            const float sign = key == keyForward ? 1.0f : -1.0f;
            return {sign * p.dirX, sign * p.dirY};
        }
        cam.orbit(key == keyRight ? -tuning::labyrinthTurnDegrees : tuning::labyrinthTurnDegrees,
                  p.x, p.y, labyrinthCameraDistance(p.bodyRadius));
    } else {
        cam.orbit(round.keyAngle[n - 1][angleIndex(key)], p.x, p.y, tuning::cameraBack);
    }
    turnDirections(probe, cam);
    return {probe.dirX, probe.dirY};
}

void frameUpdate(RoundState& round, const KeyState& keys) {
    round.gameTime = round.clock.now();
    if (round.roundOver)
        return;
    playerKeys(round, 1, keys.player[0]);
    playerKeys(round, 2, keys.player[1]);
    // Once per press, however long the key is held.
    if (keys.shadowToggle && !round.shadowKeyDown)
        round.shadowsOn = !round.shadowsOn;
    round.shadowKeyDown = keys.shadowToggle;
}

void handleRespawns(RoundState& round) {
    for (int n = 1; n <= 2; ++n) {
        if (!round.world.respawnRequest[n - 1])
            continue;
        Player& p = round.player(n);
        const int32_t cause = round.world.respawnCause[n - 1];
        countRespawn(p, cause);
        const RoundTally before = p.tally;
        const int32_t x = static_cast<int32_t>(p.x), y = static_cast<int32_t>(p.y);
        p.returnToStart(round.world, round.random);
        round.world.events.tell(RoundEvent::of(RoundEvent::sentHome, n, x, y, cause,
                                               p.tally.pointsLost - before.pointsLost));
        if (p.tally.cheeseLost > before.cheeseLost)
            round.world.events.tell(RoundEvent::of(RoundEvent::cheeseLost, n, x, y, kindCheese));
        const float startX = arena::homeXOf(n);
        placeStartCamera(round.playerCamera(n), startX);
        round.world.clearRespawn(n);
        round.world.homeShelter[n - 1] = true;
        p.glideKey = -1;
        resetAngles(round.keyAngle[n - 1]);
        return;
    }
}
