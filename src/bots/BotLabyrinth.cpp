#include "bots/Bot.h"
#include "bots/Labyrinth.h"
#include "rules/Controls.h"
#include "rules/RoundState.h"
#include "world/ArenaLayout.h"
#include <algorithm>
#include <cmath>

namespace {
constexpr int32_t side = BurnMap::side;
constexpr int32_t n = LabyrinthWays::side;
// Out of the labyrinth with this long left in the round, whatever it holds.
constexpr float leaveLabyrinthMs = 25000;
// What a door costs beyond the steps to it: one whose way on is shut, the door it came in by
// while passing through, one that led nowhere. Any of them is taken only once there is nothing
// left to look at for another (lastResort steps or more).
constexpr int32_t shutDoorCost = 1000;
constexpr int32_t doorInCost = 500;
constexpr int32_t nowhereCost = 2000;
constexpr int32_t lastResort = 500;
// Centred across a way to within this much of a cell before walking along it.
constexpr float across = 0.06f;
// A heading lies along the way when their dot product is above this.
constexpr float alongDot = 0.9999f;

// Where it is walking in the labyrinth: a cell, what getting there costs, and the exit it
// leaves by there (none for a cell inside).
struct MazeGoal {
    int32_t column = -1, row = -1, cost = 1 << 20;
    const LabyrinthExit* exit = nullptr;
};

// The exit to leave by: the nearest, a door whose way on is shut or one it should not take
// kept for last; carrying cheese, the nearest to home.
MazeGoal exitGoal(const RoundState& round, const LabyrinthWays& ways, int32_t self, int32_t doorIn,
                  float doorInUntil, const float (&leadsNowhereUntil)[4]) {
    const Player& p = round.player(self);
    MazeGoal goal;
    for (int32_t i = 0; i < 4; ++i) {
        const LabyrinthExit& e = labyrinthExits[i];
        if (ways.dist[e.column][e.row] < 0)
            continue;
        const int32_t doorCell = (e.arenaX - e.outX) * side + (e.arenaY - e.outY);
        const bool shut = !walkable(round, e.arenaX, e.arenaY, false);
        const int32_t cost =
            ways.dist[e.column][e.row] +
            (p.carryingCheese ? std::abs(e.arenaX - homeColumn(self)) + e.arenaY : 0) +
            (shut ? shutDoorCost : 0) +
            (doorCell == doorIn && round.gameTime < doorInUntil ? doorInCost : 0) +
            (leadsNowhereUntil[i] > round.gameTime ? nowhereCost : 0);
        if (cost < goal.cost)
            goal = {e.column, e.row, cost, &e};
    }
    return goal;
}

// The nearest piece of cheese seen, by a known way.
MazeGoal cheeseGoal(const RoundState& round, const LabyrinthSight& sight,
                    const LabyrinthWays& ways) {
    MazeGoal goal;
    for (int32_t i = MazeWorld::firstCheese; i < MazeWorld::itemTotal; ++i) {
        const Item* piece = itemNumbered(round, i);
        if (!piece || piece->taken != 0 || piece->x < arena::labyrinthOrigin)
            continue;
        const int32_t c = static_cast<int32_t>(piece->x - arena::labyrinthOrigin);
        const int32_t r = static_cast<int32_t>(piece->y - arena::labyrinthOrigin);
        if (sight.hasSeen(c, r) && ways.dist[c][r] >= 0 && ways.dist[c][r] < goal.cost)
            goal = {c, r, ways.dist[c][r], nullptr};
    }
    return goal;
}

// The nearest cell not seen yet; none when every cell on a known way has been seen.
MazeGoal unseenGoal(const LabyrinthSight& sight, const LabyrinthWays& ways) {
    MazeGoal goal;
    for (int32_t c = 0; c < n; ++c)
        for (int32_t r = 0; r < n; ++r)
            if (!sight.hasSeen(c, r) && ways.dist[c][r] >= 0 && ways.dist[c][r] < goal.cost)
                goal = {c, r, ways.dist[c][r], nullptr};
    return goal;
}

// The key that walks along (wantX, wantY): walk when the heading (or its reverse) lies along
// the way, else turn toward it.
PlayerKey keyAlong(const RoundState& round, int32_t self, int32_t wantX, int32_t wantY) {
    auto dot = [&](PlayerKey k) {
        const KeyHeading h = keyHeading(round, self, k);
        return h.x * static_cast<float>(wantX) + h.y * static_cast<float>(wantY);
    };
    if (dot(keyForward) > alongDot)
        return keyForward;
    if (dot(keyBack) > alongDot)
        return keyBack;
    return dot(keyLeft) >= dot(keyRight) ? keyLeft : keyRight;
}
} // namespace

void Bot::labyrinth(const RoundState& round, bool* keys) {
    const Player& p = round.player(self);
    const LabyrinthSight& sight = round.sight[self - 1];
    const float fx = p.x - arena::labyrinthOrigin, fy = p.y - arena::labyrinthOrigin;
    const int32_t lc = static_cast<int32_t>(fx), lr = static_cast<int32_t>(fy);
    if (lc < 0 || lc >= n || lr < 0 || lr >= n)
        return;
    const bool leaving = p.carryingCheese || passage || cheeseInLabyrinth(round) == 0 ||
                         round.gameTime > tuning::roundMs - leaveLabyrinthMs;
    const LabyrinthWays ways = labyrinthWays(sight, round.world.maze, lc, lr);
    about = leaving ? "leaving the labyrinth" : "looking for cheese";
    MazeGoal goal = leaving ? exitGoal(round, ways, self, doorIn, doorInUntil, leadsNowhereUntil)
                            : cheeseGoal(round, sight, ways);
    if (!leaving && goal.column >= 0)
        about = "fetching cheese";
    // Nothing known to go to (no cheese seen, or no door yet on the way out): the nearest cell
    // not seen yet.
    if (goal.column < 0 || goal.cost >= lastResort) {
        if (leaving)
            about = "looking for a way out";
        if (const MazeGoal unseen = unseenGoal(sight, ways); unseen.column >= 0)
            goal = unseen;
    }
    if (goal.column < 0)
        return;
    const bool there = ways.dist[goal.column][goal.row] == 0;
    if (there && !goal.exit) {
        // Cheese is taken with a step in its cell: arriving through a door is no step.
        keys[keyForward] = true;
        return;
    }
    int32_t wantX = goal.exit ? goal.exit->outX : 0, wantY = goal.exit ? goal.exit->outY : 0;
    if (!there) {
        int32_t nc = 0, nr = 0;
        ways.firstStepTo(goal.column, goal.row, nc, nr);
        wantX = nc - lc;
        wantY = nr - lr;
    }
    slipInLabyrinth(round, lc, lr);
    if (mazeWrongWay >= 0 && !(there && goal.exit)) {
        wantX = stepX[mazeWrongWay];
        wantY = stepY[mazeWrongWay];
        about = "taking a wrong way";
    }
    if (round.ticks < hesitateUntil) {
        about = "hesitating";
        return;
    }
    const float offX = fx - (static_cast<float>(lc) + 0.5f);
    const float offY = fy - (static_cast<float>(lr) + 0.5f);
    if (wantX != 0 && std::fabs(offY) > across) {
        wantX = 0;
        wantY = offY > 0 ? -1 : 1;
    } else if (wantY != 0 && std::fabs(offX) > across) {
        wantY = 0;
        wantX = offX > 0 ? -1 : 1;
    }
    keys[keyAlong(round, self, wantX, wantY)] = true;
}

void Bot::slipInLabyrinth(const RoundState& round, int32_t column, int32_t row) {
    if (column * n + row == mazeCell)
        return;
    mazeCell = column * n + row;
    mazeWrongWay = -1;
    if (round.ticks >= hesitateUntil + hesitationGapTicks && chance(style.errPerMille))
        hesitateUntil = round.ticks + static_cast<uint32_t>(style.hesitateTicks);
    // Ways that look alike: twice as easy to take the wrong one as in the arena.
    if (chance(2 * style.wrongTurnPerMille)) {
        const int32_t m = random.nextInt(0, 3);
        if (labyrinthOpen(round.world.maze, column, row, stepX[m], stepY[m]))
            mazeWrongWay = m;
    }
}
