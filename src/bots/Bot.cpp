#include "bots/Bot.h"
#include "bots/Labyrinth.h"
#include "rules/Controls.h"
#include "rules/RoundState.h"
#include "rules/RoundTick.h"
#include "world/ArenaLayout.h"
#include <algorithm>
#include <cmath>

namespace {
// Standing this long inside a box of this side (cells), not for a blast to burn out, is being
// stuck.
constexpr uint32_t stuckTicks = 4 * 60;
constexpr float stuckBox = 1.2f;
// A goal it got stuck on is left alone this long.
constexpr float stuckGoalRestMs = 10000;
// Trying another way lasts this long, and this much longer each time it is stuck in the same
// box again (at most three times): never as long as it takes to count as standing again.
constexpr uint32_t unstickTicks = 30;
constexpr uint32_t unstickMoreTicks = 60;
constexpr int32_t mostUnsticks = 3;
// A creature closer than this (cells, along the axes) is watched at every tick.
constexpr float creatureWatchCells = 3.5f;
// How far from a cell's centre across the way (cells) it stands when it stays: away from the
// corners, where a neighbour's fire reaches.
constexpr float standingOff = 0.25f;
// A quick person's reaction: 150 ms.
constexpr int32_t quickestReactionTicks = 9;
} // namespace

Bot::Bot(BotLevel level, uint32_t roundSeed, int32_t playerNumber)
    : skill(level), style(styleOf(level)), self(playerNumber),
      random(roundSeed ^ (0x9E3779B9u * static_cast<uint32_t>(playerNumber + 1))) {}

Bot::Bot(const BotStyle& style, uint32_t roundSeed, int32_t playerNumber)
    : Bot(BotLevel::normal, roundSeed, playerNumber) {
    this->style = style;
}

bool Bot::chance(int32_t perMille) {
    return perMille > 0 && random.nextInt(0, 999) < perMille;
}

void Bot::press(const RoundState& round, KeyState& keys) {
    bool* k = keys.player[self - 1];
    std::fill(k, k + playerKeyCount, false);
    if (round.roundOver || round.ticks < static_cast<uint32_t>(style.firstLookTicks))
        return;
    if (wasInLabyrinth && !round.world.freeRoam[self - 1]) {
        const Player& p = round.player(self);
        outOfLabyrinthAt = round.gameTime;
        cameOutBy = exitNear(static_cast<int32_t>(p.x), static_cast<int32_t>(p.y));
    }
    wasInLabyrinth = round.world.freeRoam[self - 1];
    if (round.world.freeRoam[self - 1]) {
        planned = false;
        fleeing = false;
        labyrinth(round, k);
    } else {
        arena(round, k);
    }
    if (style.restEvery > 0 && round.ticks % static_cast<uint32_t>(style.restEvery) == 0 &&
        !fleeing)
        k[keyForward] = k[keyBack] = k[keyLeft] = k[keyRight] = false;
}

void Bot::search(const RoundState& round, const BurnMap& fire, Reach& reach, bool heedCreatures,
                 int32_t who, const PlannedBomb* laid) const {
    const Player& p = round.player(who == 0 ? self : who);
    // The other player is given the benefit of every doubt: no time lost centring or turning,
    // nor any margin kept from the fire (a way through that a slip would spoil is still a way),
    // and its way is followed until the last fire is out: its foresight is not ours.
    const Pace pace = who == 0 ? Pace{msPerCell, guard, std::min(maxLayers, style.lookAheadCells)}
                               : Pace{static_cast<float>(tickMs) / p.stepLength, 0, 4 * maxLayers};
    searchReach(round, fire, heedCreatures ? &creatures : nullptr, static_cast<int32_t>(p.x),
                static_cast<int32_t>(p.y), pace, reach, laid);
}

void Bot::aimAt(Aim aim, int32_t x, int32_t y, const Reach& reach) {
    // A moment's hesitation comes with a new aim, not with every look at the old one.
    if ((goal.aim != aim || goal.x != x || goal.y != y) &&
        planTick >= hesitateUntil + hesitationGapTicks && chance(style.errPerMille))
        hesitateUntil = planTick + static_cast<uint32_t>(style.hesitateTicks);
    goal = {aim, x, y};
    move = reach.safeMove[x][y];
}

void Bot::passThroughDoor(const RoundState& round, int32_t x, int32_t y) {
    intoDoor = passage = true;
    doorIn = x * side + y;
    doorInUntil = round.gameTime + backOutMs;
}

void Bot::arena(const RoundState& round, bool* keys) {
    const Player& p = round.player(self);
    const int32_t cx = static_cast<int32_t>(p.x), cy = static_cast<int32_t>(p.y);
    if (!onArena(cx, cy))
        return;
    bool now = !planned || cx != planX || cy != planY || round.ticks >= replanAt;
    const uint64_t mine = bombSignature(p);
    if (mine != ownBombs) {
        ownBombs = mine;
        now = true;
    }
    watchOtherPlayer(round);
    if (watchStillness(round))
        now = true;
    // A creature close by is looked at twice as often as the arena, but never sooner than a
    // quick person could.
    const int32_t creatureLookTicks = std::max(style.reactionTicks / 2, quickestReactionTicks);
    if (!now && round.ticks > planTick + static_cast<uint32_t>(creatureLookTicks))
        now = creatureClose(round);
    if (now)
        plan(round);
    act(round, keys);
}

void Bot::watchOtherPlayer(const RoundState& round) {
    const Player& other = round.player(3 - self);
    const uint64_t theirs =
        bombSignature(other) ^ static_cast<uint64_t>(round.world.blastCellCount);
    // Seen to vanish and stand at home again: sent home.
    if (aboutHome(round, 3 - self) &&
        std::fabs(other.x - otherX) + std::fabs(other.y - otherY) > 1.5f)
        otherSentHomeAt = round.gameTime;
    otherX = other.x;
    otherY = other.y;
    const int32_t ready = other.bombsReady;
    if (ready < otherReady)
        otherBombedAt = tickTime(round.ticks);
    otherReady = ready;
    if (theirs != otherBombs) {
        otherBombs = theirs;
        replanAt = std::min(replanAt, round.ticks + static_cast<uint32_t>(style.reactionTicks));
    }
}

bool Bot::watchStillness(const RoundState& round) {
    const Player& p = round.player(self);
    // Its first look: standing still is counted from here, not from the start of the round.
    if (lowX > highX)
        stillSince = round.ticks;
    lowX = std::min(lowX, p.x);
    highX = std::max(highX, p.x);
    lowY = std::min(lowY, p.y);
    highY = std::max(highY, p.y);
    if (highX - lowX > stuckBox || highY - lowY > stuckBox) {
        lowX = highX = p.x;
        lowY = highY = p.y;
        stillSince = round.ticks;
        stuckCount = 0;
        return false;
    }
    if (round.ticks - stillSince <= stuckTicks)
        return false;
    if (goal.aim != Aim::none && goal.aim != Aim::escape)
        bannedUntil[goal.x][goal.y] = tickTime(round.ticks) + stuckGoalRestMs;
    goal = {};
    stuckCount = std::min(stuckCount + 1, mostUnsticks);
    unstickUntil =
        round.ticks + unstickTicks + unstickMoreTicks * static_cast<uint32_t>(stuckCount);
    stillSince = round.ticks;
    return true;
}

bool Bot::creatureClose(const RoundState& round) const {
    const Player& p = round.player(self);
    for (int32_t n = 1; n <= 4; ++n) {
        const Creature& c = round.creature(n);
        if (!round.world.creatureHit[n - 1] && c.x >= 0 &&
            std::fabs(c.x - p.x) + std::fabs(c.y - p.y) < creatureWatchCells)
            return true;
    }
    return false;
}

void Bot::act(const RoundState& round, bool* keys) {
    if (round.ticks < hesitateUntil && move != stay) {
        about = "hesitating";
        return;
    }
    if (dropBomb || layWall || layTrap) {
        keys[keyBomb] = dropBomb;
        keys[keyWall] = layWall;
        keys[keyTrap] = layTrap;
        dropBomb = layWall = layTrap = false;
        planned = false;
        return;
    }
    walk(round, keys);
}

void Bot::steer(const RoundState& round, bool* keys, int32_t dx, int32_t dy) const {
    constexpr PlayerKey walking[4] = {keyForward, keyBack, keyLeft, keyRight};
    PlayerKey best = keyForward;
    float bestDot = -2;
    for (PlayerKey k : walking) {
        const KeyHeading h = keyHeading(round, self, k);
        const float dot = h.x * static_cast<float>(dx) + h.y * static_cast<float>(dy);
        if (dot > bestDot) {
            bestDot = dot;
            best = k;
        }
    }
    keys[best] = true;
}

void Bot::walk(const RoundState& round, bool* keys) const {
    const Player& p = round.player(self);
    const int32_t cx = static_cast<int32_t>(p.x), cy = static_cast<int32_t>(p.y);
    const float offX = p.x - (static_cast<float>(cx) + 0.5f);
    const float offY = p.y - (static_cast<float>(cy) + 0.5f);
    // Centred across the way to within what the body's width allows, and no closer than a step
    // can come.
    const float across = std::max(0.2f, p.stepLength / 2 + 0.01f);
    auto along = [&](int32_t dx, int32_t dy) {
        if (dx != 0 && std::fabs(offY) > across)
            steer(round, keys, 0, offY > 0 ? -1 : 1);
        else if (dy != 0 && std::fabs(offX) > across)
            steer(round, keys, offX > 0 ? -1 : 1, 0);
        else
            steer(round, keys, dx, dy);
    };
    if (intoDoor) {
        if (const arena::HouseDoor* door = arena::doorAt(cx, cy))
            along(-door->outX, -door->outY);
        return;
    }
    if (deliver) {
        // Into the home corner: the delivery happens on the next step taken there.
        if (offY > -0.2f)
            steer(round, keys, 0, -1);
        else
            steer(round, keys, self == 1 ? -1 : 1, 0);
        return;
    }
    if (move == stay) {
        if (std::fabs(offX) > standingOff)
            steer(round, keys, offX > 0 ? -1 : 1, 0);
        else if (std::fabs(offY) > standingOff)
            steer(round, keys, 0, offY > 0 ? -1 : 1);
        return;
    }
    along(stepX[move], stepY[move]);
}
