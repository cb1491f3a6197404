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
        static_assert(std::is_arithmetic_v<T>);
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
    void add(const Vector3& v) {
        add(v.x);
        add(v.y);
        add(v.z);
    }
    void add(const Camera& c) {
        add(c.position);
        add(c.view);
        add(c.up);
        add(c.strafe);
    }
    void add(const Particle& p) {
        add(p.alive);
        add(p.alpha);
        add(p.fade);
        add(p.px);
        add(p.py);
        add(p.pz);
        add(static_cast<float>(p.vx));
        add(static_cast<float>(p.vy));
        add(static_cast<float>(p.vz));
    }
    void add(const FigureShape& s) {
        add(s.footSwing);
        add(s.footSwingStep);
    }
    uint64_t value() const { return hash; }

  private:
    uint64_t hash = 14695981039346656037ull;
};

void addBomb(Fingerprint& f, const Bomb& b) {
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

void addPlayer(Fingerprint& f, const Player& p) {
    f.add(p.x);
    f.add(p.y);
    f.add(p.dirX);
    f.add(p.dirY);
    f.add(p.sideX);
    f.add(p.sideY);
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
    f.add(p.bombsReady);
    f.add(p.bombCapacity);
    f.add(p.heading);
    f.add(p.shape);
    f.add(p.blastSoundRequests);
    f.add(p.bounceSoundRequests);
    for (const Bomb& b : p.bombs)
        addBomb(f, b);
}

void addCreature(Fingerprint& f, const Creature& c) {
    f.add(c.x);
    f.add(c.y);
    f.add(c.dirX);
    f.add(c.dirY);
    f.add(c.runLeft);
    f.add(c.heading);
    f.add(c.shape);
}

void addWorld(Fingerprint& f, const MazeWorld& w) {
    f.addAll(w.bombX);
    f.addAll(w.bombY);
    f.addAll(w.respawnRequest);
    f.addAll(w.homeShelter);
    f.addAll(w.freeRoam);
    f.addAll(w.creatureHit);
    f.addAll(w.creatureX);
    f.addAll(w.creatureY);
    f.add(w.player1X);
    f.add(w.player1Y);
    f.add(w.player2X);
    f.add(w.player2Y);
    for (int x = 0; x < MazeWorld::arenaSize; ++x)
        for (int y = 0; y < MazeWorld::arenaSize; ++y) {
            const Cell& c = w.cell(x, y);
            f.add(c.open);
            f.add(c.pillar);
            f.add(c.hasObstacle);
            f.add(c.bomb != Cell::none);
            f.add(static_cast<int32_t>(c.obstacle));
            f.add(static_cast<int32_t>(c.item));
            f.add(static_cast<int32_t>(c.wall));
            f.add(static_cast<int32_t>(c.trap));
        }
    // Entries not made yet (a round before its set-up) are left out.
    for (const Item& item : w.items)
        if (item.type != 0) {
            f.add(item.x);
            f.add(item.y);
            f.add(item.type);
            f.add(item.taken);
            f.add(item.spin);
        }
    for (const Obstacle& o : w.obstacles)
        f.add(o.destroyed);
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
    f.add(static_cast<uint64_t>(w.blastCellCount));
    for (const BurningCell& b : w.burning()) {
        f.add(static_cast<int32_t>(b.x));
        f.add(static_cast<int32_t>(b.y));
        f.add(b.time);
    }
    f.add(w.blastParticles.stopped);
    for (const Particle& p : w.blastParticles.particles)
        f.add(p);
}
} // namespace

uint64_t hashWorld(const RoundState& g) {
    Fingerprint f;
    f.add(g.ticks);
    f.add(g.gameTime);
    f.add(g.seasonPhase);
    f.add(g.roundOver);
    f.add(g.shadowsOn);
    f.add(g.shadowKeyDown);
    for (const auto& table : g.keyAngle)
        f.addAll(table);
    f.add(g.random.indexA);
    f.add(g.random.indexB);
    for (const auto& pair : g.random.ring)
        f.addAll(pair);
    f.add(g.player1Camera);
    f.add(g.player2Camera);
    f.add(g.seasons.step);
    addPlayer(f, g.player1);
    addPlayer(f, g.player2);
    for (int n = 1; n <= 4; ++n)
        addCreature(f, g.creature(n));
    addWorld(f, g.world);
    f.add(g.particles.stopped);
    f.add(g.particles.emitter.stopped);
    for (const Particle& p : g.particles.emitter.flakes)
        f.add(p);
    return f.value();
}
