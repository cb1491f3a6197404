#pragma once
#include "world/ArenaLayout.h"
#include "world/MazeGenerator.h"
#include <cstdint>
#include <vector>

class RandomGenerator;
class GameClock;
struct Bomb;
struct Particle;

// What sent a player home.
enum RespawnCause : int32_t {
    causeNone = 0,
    causeBombOf1 = 1,
    causeBombOf2 = 2,
    causeCreature = 3
};

// Item kinds.
enum ItemKind : int32_t {
    kindBomb = 1,
    kindSpeed = 2,
    kindMaxFire = 3,
    kindFire = 4,
    kindTrap = 5,
    kindWall = 6,
    kindCoin = 7,
    kindCheese = 8
};

// The picture an item of a kind shows: its card, or the cheese; -1 for a coin, which is drawn
// without one.
int32_t itemPictureSlot(int32_t kind);

struct Item {
    float x = -1, y = -1;
    int32_t type = 0;
    int32_t taken = 0; // 0 in the world, 1 or 2 held by that player, 3 delivered cheese
    int32_t spin = 0;  // degrees
};

struct Obstacle {
    float x = 0, y = 0;
    bool destroyed = false;
    float shape[9] = {0.3f, 0.15f, 0.25f, 0.55f, 0.08f, 0.5f, 0.1f, 0.56f, 0.65f};
    float colourR = 0, colourG = 0, colourB = 0;
};

struct WallBlock {
    bool free = true;
    float x = -1, y = -1;
};

struct Trap {
    bool free = true;
    float x = -1, y = -1;
};

struct Particle {
    bool alive = false;
    float alpha = 0;
    float fade = 0;
    float px = 0, py = 0, pz = 0;
    float vx = 0, vy = 0, vz = 0;
};

// The fire burst drawn at every burning cell: one shared table of 500 particles.
struct BlastParticles {
    static constexpr int count = 500;
    bool stopped = false;
    RandomGenerator* random = nullptr;
    float slowdown = 2.0f;
    Particle particles[count];

    void emit(Particle& p); // the draws of a fresh particle, in their order
    void init();
    // Moves and fades every particle once, re-emitting faded ones.
    void advance();
};

struct Cell {
    Bomb* bomb = nullptr;
    Obstacle* obstacle = nullptr;
    Item* item = nullptr;
    WallBlock* wall = nullptr;
    Trap* trap = nullptr;
    bool open = true; // always == !pillar && !hasObstacle
    bool pillar = false;
    bool hasObstacle = false;

    void setPillar(bool v) {
        pillar = v;
        open = !pillar && !hasObstacle;
    }
    void setObstacle(bool v) {
        hasObstacle = v;
        open = !pillar && !hasObstacle;
    }
};

struct BurningCell {
    int32_t x, y;
    float time;
};

// The playing field: arena cells, obstacles, the item table, the pools of laid walls and traps,
// the bookkeeping that bombs, blasts, players and creatures share, and the labyrinth.
class MazeWorld {
  public:
    static constexpr int arenaSize = arena::size;
    static constexpr int obstacleTotal = 90;
    static constexpr int itemTotal = 95;
    static constexpr int firstCheese = 90;
    static constexpr int poolSize = 7;

    explicit MazeWorld(RandomGenerator* random);
    ~MazeWorld();
    // A copy owns copies of the obstacles, items, pools, fire and labyrinth, and its cells point
    // at those. It still shares the generator, the clock and the bombs (which the players own)
    // with the original until rebindShared and relinkBombs point it at its own.
    MazeWorld(const MazeWorld& other);
    MazeWorld& operator=(const MazeWorld& other);
    void rebindShared(RandomGenerator* random, GameClock* clock);
    // Cells holding a bomb of from[0..count) hold the bomb of the same slot in to[] instead.
    void relinkBombs(const Bomb* from, Bomb* to, int32_t count);

    // Set-up, in this order.
    void createWallBlocks();
    void generateLabyrinth();
    void createBlastParticles();
    void placeItems();

    // Play operations.
    void recordPlayerPosition(float x, float y, int32_t playerNumber);
    void recordCreaturePosition(int32_t number, float x, float y);
    void clearRespawn(int32_t playerNumber);
    // Whether a creature touching player `playerNumber` now leaves it be.
    bool creatureGrace(int32_t playerNumber) const;
    bool canPlace(float x, float y) const;
    void placeTrap(float x, float y);
    void placeWall(float x, float y);
    void returnItem(int32_t kind);
    bool cheeseCellFree(int32_t entry, float x, float y) const;

    // Cell queries of the movement rules.
    static bool isHouseDoor(int32_t column, int32_t row);
    bool isPassable(float x, float y, float radius) const;
    bool bombAllows(float fromX, float fromY, float toX, float toY) const;
    bool wallAllows(float fromX, float fromY, float toX, float toY) const;
    bool hasTrap(float x, float y) const;
    int32_t itemTypeAt(float x, float y) const;
    void takeItem(float x, float y, int32_t playerNumber);
    void springTrap(float x, float y);
    bool takeCheese(float x, float y, int32_t playerNumber);
    void dropCheese(float x, float y, int32_t playerNumber);

    // Bombs and blasts.
    bool placeBomb(float x, float y, int32_t slot, int32_t playerNumber, Bomb* bomb);
    void clearBomb(float x, float y, int32_t slot, int32_t playerNumber);
    // owner: the player whose bomb it is (0: none), for what a blast's hit is counted as.
    void blast(Bomb& bomb, int32_t owner = 0);
    bool burnCell(int32_t cellX, int32_t cellY, float time);
    bool hitTest(int32_t cellX, int32_t cellY);
    // Drops burning cells older than 500 ms.
    void expireBlastCells(float now);
    // One view's step of the fire: expiry at the tick's time, then the shared burst advances
    // once for every cell still burning.
    void advanceBlastCells();

    Cell& cell(int32_t x, int32_t y) { return cells[x][y]; }
    const Cell& cell(int32_t x, int32_t y) const { return cells[x][y]; }

    float bombX[20];
    float bombY[20];
    bool respawnRequest[2] = {false, false};
    // Why each pending request was made: the bomb of player 1 or 2, or a creature.
    int32_t respawnCause[2] = {0, 0};
    int32_t blastOwner = 0;
    // Per player: the game time until which no creature catches it, set at the round's start and
    // when it is sent home, and ended by its first step; -1: none.
    float creatureGraceUntil[2] = {arena::homeGraceMs, arena::homeGraceMs};
    bool freeRoam[2] = {false, false};
    bool creatureHit[4] = {false, false, false, false};
    RandomGenerator* random;
    MazeGenerator* maze;
    float creatureX[4] = {-1, -1, -1, -1};
    float creatureY[4] = {-1, -1, -1, -1};
    Item* items[itemTotal] = {};
    float player1X = arena::homeX[0], player1Y = arena::homeY;
    Cell cells[arenaSize][arenaSize];
    Obstacle* obstacles[obstacleTotal] = {};
    WallBlock* walls[poolSize] = {};
    Trap* traps[poolSize] = {};
    BlastParticles* blastParticles = nullptr;
    int32_t obstacleCount = 90;
    int32_t itemCount = 95;
    float player2X = arena::homeX[1], player2Y = arena::homeY;
    float playerRadius = 0;
    std::vector<BurningCell> blastCells;
    // The one clock: bombs take their drop and blast times from it.
    GameClock* clock = nullptr;

  private:
    void releaseOwned();
    void copyFrom(const MazeWorld& other);
    void putBackIntoArena(Item* item);
    // The arena cell of a position, or none for a position outside the arena.
    Cell* arenaCell(float x, float y);
    const Cell* arenaCell(float x, float y) const;
};
