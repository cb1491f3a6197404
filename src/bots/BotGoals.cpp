#include "bots/Bot.h"
#include "rules/RoundState.h"
#include "rules/RoundTick.h"
#include "world/ArenaLayout.h"
#include <algorithm>
#include <cmath>

namespace {
constexpr int32_t side = BurnMap::side;
constexpr int32_t cheesePieces = MazeWorld::itemTotal - MazeWorld::firstCheese;
// A goal in hand counts for this much more than a new one, so a plan is not dropped for a
// target a hair better.
constexpr float keepFactor = 1.6f;
// Leaving the labyrinth this long before the end, and no trips into it later; chasing a
// deficit, a last trip is made until this long before the end.
constexpr float lastLabyrinthMs = tuning::roundMs - 45000;
constexpr float lastChasingTripMs = tuning::roundMs - 30000;
// Level in the last minute, a draw is chased too.
constexpr float chaseDrawMs = 60000;
// The other player's bombs are a threat this long after it was last seen laying one.
constexpr float otherBombingMs = 30000;
// With a lead in the last minutes, what the other player could still turn: two hits on this one
// and every piece of cheese not yet home. A lead beyond that is safe, and play goes on.
constexpr float leadKeptMs = 40000;
constexpr int32_t twoHits = 2 * tuning::hitPenalty;
// A score is a goal's value over the cells of the way, its extra cells and this many more.
constexpr float goalOverheadCells = 1.5f;
// A trip into the labyrinth for cheese: cells of walk in it, beyond the way to the door.
constexpr float labyrinthTripCells = 14;
// Cheese carried home, in coins' points: worth any detour.
constexpr float cheeseHomeValue = 40;
// A goal worth this many coins' points or more is worth a dead end near the other player.
constexpr float deadEndValue = 10;
// A bomb's worth, in coins' points: for each obstacle it opens, each creature in its flames,
// and a hit on the other player (times the level's keenness).
constexpr float openedObstacleValue = 1.5f;
constexpr float creatureValue = 1.5f;
constexpr float hitValue = 3.0f;
// An item the other player reaches more than a cell sooner is worth this share to this one.
constexpr float takenFirstShare = 0.3f;
// Chasing, a hit counts three times; keeping a lead, not at all.
constexpr float chasingAttack = 3.0f;
// A bomb spot found to leave no way out is left alone this long.
constexpr float goalBombSpotRestMs = 4000;
// Walls and traps are laid where they leave this many ways on.
constexpr int32_t roomyWays = 3;
// A shadow keeps this many cells from the other player, at most.
constexpr int32_t shadowCells = 2;

// Below these the player's bombs, fire and step still grow worth having.
constexpr int32_t wantedBombs = 5;
constexpr int32_t wantedReach = 5;
constexpr float wantedStepLength = 0.25f;

// What an item lying open is worth to this player now, in the points of a coin.
float itemValue(const Player& p, int32_t kind) {
    switch (kind) {
    case kindBomb:
        return p.bombCapacity < wantedBombs ? 3.0f : 1.0f;
    case kindFire:
        return p.bombs[0].reach < wantedReach ? 3.0f : 1.0f;
    case kindMaxFire:
        return p.bombs[0].reach < tuning::fullReach ? 3.0f : 0.5f;
    case kindSpeed:
        return p.stepLength < wantedStepLength ? 3.0f : 0.5f;
    case kindWall:
    case kindTrap:
        return 1.0f;
    case kindCoin:
        return 2.5f;
    case kindCheese:
        return p.carryingCheese ? 0.0f : 14.0f;
    default:
        return 0.0f;
    }
}
} // namespace

bool Bot::keepsLead(const RoundState& round) const {
    const Player& p = round.player(self);
    const Player& other = round.player(3 - self);
    const int32_t lead = p.points - other.points;
    const int32_t open = cheesePieces - round.player1.cheese - round.player2.cheese;
    return tuning::roundMs - round.gameTime < leadKeptMs && lead > 0 &&
           lead <= twoHits + tuning::cheesePoints * open;
}

void Bot::plan(const RoundState& round) {
    startPlan(round);
    const float t0 = tickTime(round.ticks);
    const BurnMap fire =
        burnMap(round, nullptr, 3 - self, t0 - static_cast<float>(style.reactionTicks * tickMs));
    creatures = creaturesAbout(round, style.creatureBerth);
    Reach reach;
    search(round, fire, reach, true, 0);
    if (keepSafe(round, fire, reach))
        return;
    if (goal.aim == Aim::escape)
        goal = {};
    if (round.ticks < unstickUntil) {
        unstick(round, fire, reach);
        return;
    }
    const Outlook look = outlook(round);
    if (style.shadows) {
        shadow(round, reach, look);
        return;
    }
    const Choice best = chooseGoal(round, fire, reach, look);
    layWallOrTrap(round, look);
    if (shutInHere(round, look) || poorBomb(round, look))
        return;
    const Player& p = round.player(self);
    if (best.x < 0)
        seekSomething(round, reach);
    else if (best.x == static_cast<int32_t>(p.x) && best.y == static_cast<int32_t>(p.y))
        actHere(round, best.aim);
    else
        headFor(round, reach, best);
}

void Bot::startPlan(const RoundState& round) {
    const Player& p = round.player(self);
    planned = true;
    planX = static_cast<int32_t>(p.x);
    planY = static_cast<int32_t>(p.y);
    planTick = round.ticks;
    replanAt = round.ticks + static_cast<uint32_t>(style.replanTicks);
    // A cell's walk, and the turns and centring on the way.
    msPerCell = static_cast<float>(tickMs) / p.stepLength * 1.15f + 2 * static_cast<float>(tickMs);
    guard = style.blastGuardMs;
    move = stay;
    dropBomb = layWall = layTrap = intoDoor = deliver = passage = false;
}

bool Bot::keepSafe(const RoundState& round, const BurnMap& fire, Reach& reach) {
    const Player& p = round.player(self);
    const int32_t cx = static_cast<int32_t>(p.x), cy = static_cast<int32_t>(p.y);
    const bool inFire = reach.safeLayer[cx][cy] != 0;
    // A way out already taken is followed to its end while it stays clear.
    const bool escaping = goal.aim == Aim::escape && !(goal.x == cx && goal.y == cy) &&
                          reach.safeLayer[goal.x][goal.y] > 0 && !creatures.near[goal.x][goal.y];
    fleeing = escaping || inFire || creatures.near[cx][cy];
    if (!fleeing)
        return false;
    // On the way to a goal it reaches before the fire and clear of it after: keep going. Not by
    // waiting where fire is coming: for a creature that keeps to its few cells the wait would
    // be made again at every plan until the fire came.
    const bool keep = goal.aim != Aim::none && goal.aim != Aim::escape && !creatures.near[cx][cy] &&
                      !(goal.x == cx && goal.y == cy) && reach.safeLayer[goal.x][goal.y] > 0 &&
                      !(reach.safeMove[goal.x][goal.y] == stay && inFire);
    if (keep) {
        move = reach.safeMove[goal.x][goal.y];
        if (inFire)
            about = "getting out of the fire";
    } else if (round.ticks < unstickUntil && !inFire) {
        unstick(round, fire, reach);
    } else {
        escape(round, fire, reach);
    }
    return true;
}

Bot::Outlook Bot::outlook(const RoundState& round) const {
    const Player& p = round.player(self);
    const Player& other = round.player(3 - self);
    Outlook o;
    o.otherInArena = !round.world.freeRoam[2 - self];
    o.ox = static_cast<int32_t>(other.x);
    o.oy = static_cast<int32_t>(other.y);
    // Late in the round a lead is kept and a deficit chased.
    const float timeLeft = tuning::roundMs - round.gameTime;
    const int32_t lead = p.points - other.points;
    o.keepLead = keepsLead(round);
    o.chase = timeLeft < chaseMs && (lead < 0 || (lead == 0 && timeLeft < chaseDrawMs));
    const float lastTrip = o.chase ? lastChasingTripMs : lastLabyrinthMs;
    o.wantCheese = style.fetchesCheese && !p.carryingCheese && round.gameTime < lastTrip &&
                   round.gameTime >= outOfLabyrinthAt + style.tripGapMs &&
                   cheeseInLabyrinth(round) > 0;
    // A beginner lays its bombs one at a time, whatever bomb items it holds.
    const int32_t lying = p.bombCapacity - p.bombsReady;
    o.canBomb = p.bombsReady > 0 && (style.mostBombsLying == 0 || lying < style.mostBombsLying);
    o.reachOfBomb = p.bombs[0].reach;
    // Only a player that lays bombs is a threat: armed, and seen bombing lately. Chasing a
    // deficit, the risk is taken.
    o.otherArmed = style.wary && o.otherInArena && other.bombsReady > 0 &&
                   tickTime(round.ticks) - otherBombedAt < otherBombingMs && !o.chase;
    o.attack = static_cast<float>(style.attackPerMille) / 1000 *
               (o.chase      ? chasingAttack
                : o.keepLead ? 0.0f
                             : 1.0f);
    return o;
}

void Bot::shadow(const RoundState& round, const Reach& reach, const Outlook& look) {
    about = "shadowing the other player";
    int32_t nearest = 1 << 20;
    for (int32_t x = 0; x < side; ++x)
        for (int32_t y = 0; y < side; ++y) {
            const int32_t apart = std::abs(look.ox - x) + std::abs(look.oy - y);
            if (reach.safeLayer[x][y] >= 0 && reach.safeLayer[x][y] < nearest && apart >= 1 &&
                apart <= shadowCells && !isWayOff(round, x, y)) {
                nearest = reach.safeLayer[x][y];
                move = reach.safeMove[x][y];
            }
        }
}

Bot::Choice Bot::chooseGoal(const RoundState& round, const BurnMap& fire, const Reach& reach,
                            const Outlook& look) const {
    const float t0 = tickTime(round.ticks);
    // Where the other player would be first: an item it will take is worth less.
    Reach theirs;
    const bool contest = look.otherInArena && style.watchesOtherPlayer;
    if (contest)
        search(round, fire, theirs, false, 3 - self);
    Choice best;
    for (int32_t x = 0; x < side; ++x)
        for (int32_t y = 0; y < side; ++y) {
            const int32_t layer = reach.safeLayer[x][y];
            if (layer < 0 || bannedUntil[x][y] > t0 || trapLiesAt(round, x, y))
                continue;
            const Worth w = worthOf(round, x, y, layer, contest ? &theirs : nullptr, look);
            if (w.value <= 0)
                continue;
            // A dead end is where the other player's bomb shuts one in.
            if (look.threatAt(x, y) && w.value < deadEndValue && waysOn(round, x, y) <= 1)
                continue;
            float score = w.value / (static_cast<float>(layer) + w.extra + goalOverheadCells);
            if (goal.x == x && goal.y == y && goal.aim == w.aim)
                score *= keepFactor;
            if (score > best.score)
                best = {score, x, y, w.aim};
        }
    return best;
}

Bot::Worth Bot::worthOf(const RoundState& round, int32_t x, int32_t y, int32_t layer,
                        const Reach* theirs, const Outlook& look) const {
    const Player& p = round.player(self);
    Worth w;
    if (MazeWorld::isHouseDoor(x, y)) {
        if (look.wantCheese)
            w = {style.cheeseValue, labyrinthTripCells, Aim::labyrinth};
        return w;
    }
    if (const Item* item = openItemAt(round, x, y);
        item && (!style.onlyCoins || item->type == kindCoin)) {
        float worth = itemValue(p, item->type);
        if (theirs && theirs->layer[x][y] >= 0 && theirs->layer[x][y] + 1 < layer)
            worth *= takenFirstShare;
        w.value += worth;
        w.aim = Aim::item;
    }
    if (p.carryingCheese && x == homeColumn(self) && y == 0) {
        w.value += cheeseHomeValue;
        w.aim = Aim::home;
    }
    const float bomb = bombWorth(round, x, y, look);
    if (bomb > 0) {
        w.value += bomb;
        w.extra += 1;
        if (w.aim == Aim::none)
            w.aim = Aim::bomb;
    }
    return w;
}

float Bot::bombWorth(const RoundState& round, int32_t x, int32_t y, const Outlook& look) const {
    if (!look.canBomb || bombLiesAt(round, x, y) || noBombUntil[x][y] > tickTime(round.ticks) ||
        look.threatAt(x, y))
        return 0;
    int32_t blast[mostBlastCells][2];
    int32_t opened = 0;
    const int32_t n = blastCellsOf(round, x, y, look.reachOfBomb, blast, opened);
    float value = style.opensObstacles ? openedObstacleValue * static_cast<float>(opened) : 0;
    // A creature in the flames' way is gone for good, if it stays there.
    if (style.huntsCreatures)
        for (int32_t i = 0; i < n; ++i)
            if (creatures.cell[blast[i][0]][blast[i][1]])
                value += creatureValue;
    if (look.otherInArena && look.attack > 0 && !leftAlone(round))
        for (int32_t i = 0; i < n; ++i)
            if (blast[i][0] == look.ox && blast[i][1] == look.oy &&
                std::abs(look.ox - x) + std::abs(look.oy - y) <= closeCells)
                value += hitValue * look.attack;
    return value;
}

void Bot::layWallOrTrap(const RoundState& round, const Outlook& look) {
    const Player& p = round.player(self);
    const int32_t cx = static_cast<int32_t>(p.x), cy = static_cast<int32_t>(p.y);
    const int32_t apart = std::abs(look.ox - cx) + std::abs(look.oy - cy);
    const bool atHomeCell = cy == 0 && (cx == 0 || cx == side - 1);
    if (!look.otherInArena || apart > closeCells || atHomeCell || !round.world.canPlace(p.x, p.y))
        return;
    // Not where it would shut its own way on.
    const bool roomy = waysOn(round, cx, cy) >= roomyWays;
    if (p.trapItems > 0 && roomy && chance(style.trapPerMille))
        layTrap = true;
    else if (p.wallItems > 0 && p.carryingCheese && roomy)
        layWall = true;
}

bool Bot::shutInHere(const RoundState& round, const Outlook& look) {
    const Player& p = round.player(self);
    const int32_t cx = static_cast<int32_t>(p.x), cy = static_cast<int32_t>(p.y);
    // A bomb here that leaves the other player no way out of its fire, and this one a way.
    if (style.shutInSpots > 0 && look.canBomb && look.otherInArena && !look.keepLead &&
        !leftAlone(round) && bombFits(round, cx, cy) &&
        std::abs(look.ox - cx) + std::abs(look.oy - cy) <= look.reachOfBomb &&
        shutsIn(round, cx, cy) && (bombLeavesWayOut(round, cx, cy) || tradesAHit(round))) {
        dropBomb = true;
        goal = {};
        about = "shutting the other player in";
        return true;
    }
    return false;
}

bool Bot::poorBomb(const RoundState& round, const Outlook& look) {
    const Player& p = round.player(self);
    const int32_t cx = static_cast<int32_t>(p.x), cy = static_cast<int32_t>(p.y);
    const bool otherClose = look.otherInArena && std::abs(look.ox - cx) + std::abs(look.oy - cy) <=
                                                     closeCells + look.reachOfBomb;
    if (!look.canBomb || otherClose || !chance(style.poorBombPerMille) ||
        !bombFits(round, cx, cy) || !bombLeavesWayOut(round, cx, cy))
        return false;
    dropBomb = true;
    goal = {};
    about = "laying a bomb in a poor place";
    return true;
}

void Bot::actHere(const RoundState& round, Aim aim) {
    const Player& p = round.player(self);
    const int32_t cx = static_cast<int32_t>(p.x), cy = static_cast<int32_t>(p.y);
    goal = {};
    if (MazeWorld::isHouseDoor(cx, cy)) {
        intoDoor = true;
        doorIn = cx * side + cy;
        doorInUntil = 0;
        about = "going into the labyrinth";
    } else if (p.carryingCheese && cx == homeColumn(self) && cy == 0) {
        deliver = true;
        about = "bringing the cheese home";
    } else if (aim == Aim::bomb || !openItemAt(round, cx, cy)) {
        if (bombLeavesWayOut(round, cx, cy)) {
            dropBomb = true;
            about = "laying a bomb";
        } else {
            noBombUntil[cx][cy] = tickTime(round.ticks) + goalBombSpotRestMs;
            planned = false;
        }
    }
}

void Bot::headFor(const RoundState& round, const Reach& reach, const Choice& choice) {
    const Player& p = round.player(self);
    const int32_t cx = static_cast<int32_t>(p.x), cy = static_cast<int32_t>(p.y);
    aimAt(choice.aim, choice.x, choice.y, reach);
    about = choice.aim == Aim::labyrinth ? "going to the labyrinth"
            : choice.aim == Aim::bomb    ? "going to lay a bomb"
            : choice.aim == Aim::home    ? "carrying the cheese home"
                                         : "fetching an item";
    // A newcomer's wrong turn: a step to a neighbouring cell off the way.
    if (chance(style.wrongTurnPerMille)) {
        const int32_t m = random.nextInt(0, 3);
        const int32_t x = cx + stepX[m], y = cy + stepY[m];
        if (onArena(x, y) && reach.safeLayer[x][y] == 1 && !isWayOff(round, x, y)) {
            move = static_cast<int8_t>(m);
            about = "taking a wrong turn";
        }
    }
}
