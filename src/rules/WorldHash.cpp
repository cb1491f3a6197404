#include "rules/WorldHash.h"
#include "rules/RoundState.h"
#include <cstring>
#include <type_traits>

namespace {
// FNV-1a over the bytes of plain values; floats by their bits, so -0 and 0 differ, as they may
// in play.
class Fingerprint {
  public:
    template <typename T> void add(const T& value) {
        static_assert(std::is_arithmetic_v<T> || std::is_enum_v<T>);
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        for (unsigned char b : bytes) {
            hash ^= b;
            hash *= 1099511628211ull;
        }
    }
    template <typename T, size_t N> void addAll(const T (&values)[N]) {
        for (const T& v : values)
            add(v);
    }
    uint64_t value() const { return hash; }

  private:
    uint64_t hash = 14695981039346656037ull;
};

// Each part of the round in the order of its fields. Beside each, its size: a size that changed
// means a field came or went, to be hashed here (or named in leftOut) before the size is set
// anew. The sizes are those of the 64-bit Linux build the game ships for.

static_assert(sizeof(Vector3) == 12 && sizeof(Camera) == 48);
void add(Fingerprint& f, const Vector3& v) {
    f.add(v.x);
    f.add(v.y);
    f.add(v.z);
}
void add(Fingerprint& f, const Camera& c) {
    add(f, c.position);
    add(f, c.view);
    add(f, c.up);
    add(f, c.strafe);
}

static_assert(sizeof(RandomGenerator) == 432);
void add(Fingerprint& f, const RandomGenerator& r) {
    f.add(r.indexA);
    f.add(r.indexB);
    f.addAll(r.lastBits.words);
    for (const auto& pair : r.ring)
        f.addAll(pair);
    for (const auto& pair : r.snapshot)
        f.addAll(pair);
    f.add(r.layoutMode);
}

static_assert(sizeof(FigureShape) == 156);
void add(Fingerprint& f, const FigureShape& s) {
    const float all[] = {
        s.headRadius,         s.footRadius,        s.footSwingMax,      s.footSwingMin,
        s.footSwingStep,      s.footSwing,         s.footSpread,        s.bodyLift,
        s.handRadius,         s.handSpread,        s.handForward,       s.handHeight,
        s.noseRadius,         s.noseLength,        s.noseHeight,        s.noseForward,
        s.earRadius,          s.earTipRadius,      s.earLength,         s.earHeight,
        s.earSpread,          s.earBack,           s.earTilt,           s.eyeRadius,
        s.eyeHeight,          s.eyeSpread,         s.eyeForward,        s.whiskerRadius,
        s.whiskerLength,      s.whiskerAngleUpper, s.whiskerAngleLower, s.whiskerHeightUpper,
        s.whiskerHeightLower, s.whiskerSpread,     s.whiskerForward,    s.tailRadius,
        s.tailLength,         s.tailBack,          s.tailHeight};
    static_assert(sizeof all == sizeof(FigureShape), "every dimension of the figure");
    f.addAll(all);
}

static_assert(sizeof(Bomb) == 36);
void add(Fingerprint& f, const Bomb& b) {
    f.add(b.x);
    f.add(b.y);
    f.add(b.dropTime);
    f.add(b.blastTime);
    f.add(b.ready);
    f.add(b.reach);
    f.add(b.exploding);
    f.add(b.blastApplied);
    f.add(b.pulseRadius);
    f.add(b.pulseStep);
}

static_assert(sizeof(RoundTally) == 24);
void add(Fingerprint& f, const RoundTally& t) {
    f.add(t.caught);
    f.add(t.hitByOwn);
    f.add(t.hitByOther);
    f.add(t.coins);
    f.add(t.cheeseLost);
    f.add(t.pointsLost);
}

static_assert(sizeof(Player) == 660);
void add(Fingerprint& f, const Player& p) {
    f.add(p.bodyRadius);
    f.add(p.x);
    f.add(p.y);
    f.add(p.dirX);
    f.add(p.dirY);
    f.add(p.stepX);
    f.add(p.stepY);
    f.add(p.bombItems);
    f.add(p.fireItems);
    f.add(p.maxFireItems);
    f.add(p.speedItems);
    f.add(p.trapItems);
    f.add(p.wallItems);
    f.add(p.cheese);
    f.add(p.points);
    f.add(p.stepLength);
    f.add(p.freeMoveTime);
    f.add(p.glideKey);
    f.add(p.carryingCheese);
    f.add(p.number);
    f.add(p.colourR);
    f.add(p.colourG);
    f.add(p.colourB);
    f.add(p.colourA);
    f.add(p.tessellation);
    f.add(p.sideX);
    f.add(p.sideY);
    for (const Bomb& b : p.bombs)
        add(f, b);
    f.add(p.bombsReady);
    f.add(p.bombCapacity);
    add(f, p.shape);
    f.add(p.heading);
    add(f, p.tally);
}

static_assert(sizeof(Creature) == 208);
void add(Fingerprint& f, const Creature& c) {
    f.add(c.bodyRadius);
    f.add(c.x);
    f.add(c.y);
    f.add(c.number);
    f.add(c.colourR);
    f.add(c.colourG);
    f.add(c.colourB);
    f.add(c.colourA);
    f.add(c.tessellation);
    f.add(c.dirX);
    f.add(c.dirY);
    add(f, c.shape);
    f.add(c.heading);
    f.add(c.runLeft);
}

static_assert(sizeof(Particle) == 24);
void add(Fingerprint& f, const Particle& p) {
    f.add(p.alpha);
    f.add(p.fade);
    f.add(p.px);
    f.add(p.py);
    f.add(p.pz);
    f.add(p.vx);
    f.add(p.vy);
    f.add(p.vz);
    f.add(p.alive);
}

static_assert(sizeof(DisjointSets) == 652 && sizeof(MazeGenerator) == 828);
void add(Fingerprint& f, const MazeGenerator& m) {
    f.add(m.size);
    f.addAll(m.wallPosY);
    f.addAll(m.wallPosX);
    f.add(m.wallHeight);
    f.add(m.wallThickness);
    f.add(m.sets.setCount);
    f.addAll(m.sets.parent);
    f.addAll(m.sets.rank);
}

static_assert(sizeof(Item) == 20 && sizeof(Obstacle) == 60 && sizeof(WallBlock) == 12 &&
              sizeof(Trap) == 12 && sizeof(Cell) == 7 && sizeof(BurningCell) == 8);
static_assert(sizeof(BlastParticles) == 12008);
static_assert(sizeof(MazeWorld) - sizeof(TickEvents) == 26716);
void add(Fingerprint& f, const MazeWorld& w) {
    f.addAll(w.bombX);
    f.addAll(w.bombY);
    f.addAll(w.respawnRequest);
    f.addAll(w.respawnCause);
    f.add(w.blastOwner);
    f.addAll(w.homeShelter);
    f.addAll(w.freeRoam);
    f.addAll(w.creatureHit);
    add(f, w.maze);
    for (const Item& item : w.items) {
        f.add(item.x);
        f.add(item.y);
        f.add(item.type);
        f.add(item.taken);
        f.add(item.spin);
    }
    for (int x = 0; x < MazeWorld::arenaSize; ++x)
        for (int y = 0; y < MazeWorld::arenaSize; ++y) {
            const Cell& c = w.cell(x, y);
            f.add(c.bomb);
            f.add(c.obstacle);
            f.add(c.item);
            f.add(c.wall);
            f.add(c.trap);
            f.add(c.pillar);
            f.add(c.hasObstacle);
        }
    for (const Obstacle& o : w.obstacles) {
        f.add(o.x);
        f.add(o.y);
        f.add(o.destroyed);
        f.addAll(o.shape);
        f.add(o.colourR);
        f.add(o.colourG);
        f.add(o.colourB);
    }
    for (const WallBlock& b : w.walls) {
        f.add(b.free);
        f.add(b.x);
        f.add(b.y);
    }
    for (const Trap& t : w.traps) {
        f.add(t.free);
        f.add(t.x);
        f.add(t.y);
    }
    f.add(w.blastParticles.stopped);
    f.add(w.blastParticles.slowdown);
    for (const Particle& p : w.blastParticles.particles)
        add(f, p);
    f.add(w.obstacleCount);
    f.add(w.itemCount);
    f.add(w.blastCellCount);
    for (const BurningCell& b : w.burning()) {
        f.add(b.x);
        f.add(b.y);
        f.add(b.time);
    }
}

static_assert(sizeof(FlakeEmitter) == 24008 && sizeof(ParticleSystem) == 24012);
void add(Fingerprint& f, const ParticleSystem& s) {
    f.add(s.emitter.slowdown);
    f.add(s.emitter.stopped);
    for (const Particle& p : s.emitter.flakes)
        add(f, p);
    f.add(s.stopped);
}

static_assert(sizeof(GameClock) == 4 && sizeof(Seasons) == 4 && sizeof(LabyrinthSight) == 81);
static_assert(sizeof(RoundState) - sizeof(TickEvents) == 53688);

constexpr LeftOutOfFingerprint leftOut[] = {
    {"paused", "the window's pause: no tick reads it, and a round put back by a correction keeps "
               "the pause of the round it replaces"},
    {"world.events", "what the last tick told: the next tick clears it before anything reads it"},
    {"world.blastCells past blastCellCount",
     "cells burnt out and dropped from the table: nothing reads them again"},
};
} // namespace

std::span<const LeftOutOfFingerprint> fingerprintLeavesOut() {
    return leftOut;
}

uint64_t hashWorld(const RoundState& g) {
    Fingerprint f;
    f.add(g.clock.now());
    f.add(g.seed);
    add(f, g.random);
    add(f, g.overviewCamera);
    add(f, g.player1Camera);
    add(f, g.player2Camera);
    f.add(g.seasons.step);
    add(f, g.world);
    add(f, g.player1);
    add(f, g.player2);
    for (const Creature& c : g.creatures)
        add(f, c);
    add(f, g.particles);
    f.add(g.roundOver);
    f.add(g.shadowsOn);
    f.add(g.steeringHelp);
    f.add(g.shadowKeyDown);
    f.add(g.ticks);
    f.add(g.gameTime);
    f.add(g.seasonPhase);
    for (const auto& table : g.keyAngle)
        f.addAll(table);
    for (const LabyrinthSight& s : g.sight)
        f.addAll(s.seen);
    return f.value();
}
