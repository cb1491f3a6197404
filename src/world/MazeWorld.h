#pragma once
#include "world/ArenaLayout.h"
#include "world/Bomb.h"
#include "world/MazeGenerator.h"
#include "world/TickEvents.h"
#include <cstdint>
#include <span>

class RandomGenerator;

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

// A particle of the fire or the snow. Velocities are whole thousandths of a cell per advance,
// held small so the round stays small to copy.
struct Particle {
    float alpha = 0;
    float fade = 0;
    float px = 0, py = 0, pz = 0;
    int8_t vx = 0, vy = 0, vz = 0;
    bool alive = false;
};

// The fire burst drawn at every burning cell: one shared table of 500 particles.
struct BlastParticles {
    static constexpr int count = tuning::fireParticles;
    bool stopped = false;
    float slowdown = 2.0f;
    Particle particles[count];

    void emit(Particle& p, RandomGenerator& random); // the draws of a fresh particle, in order
    void init(RandomGenerator& random);
    // Moves and fades every particle once, re-emitting faded ones.
    void advance(RandomGenerator& random);
};

// What a cell holds, each by its entry in the world's tables; `none` for nothing. A bomb is
// named by its entry in bombX and bombY: the slot plus 10 for player 2.
struct Cell {
    static constexpr int8_t none = -1;
    int8_t bomb = none;
    int8_t obstacle = none;
    int8_t item = none;
    int8_t wall = none;
    int8_t trap = none;
    bool pillar = false;
    bool hasObstacle = false;

    // Nothing standing in the cell: a figure may walk in, a bomb may lie there.
    bool open() const { return !pillar && !hasObstacle; }
};

struct BurningCell {
    int16_t x, y;
    float time;
};

// Where the players and creatures stand at the moment of a call: read off the figures
// themselves for that call and never kept, so there is no second place to keep in step.
// Creatures a blast has removed stand nowhere (creatureHit says which).
struct FigurePlaces {
    float playerX[2] = {-1, -1}, playerY[2] = {-1, -1};
    float playerRadius = 0;
    float creatureX[4] = {-1, -1, -1, -1}, creatureY[4] = {-1, -1, -1, -1};
};

// What a blast reaches beyond its cells: both players' bomb slots by their entry (the slot plus
// 10 for player 2), as cells name them, for a flame that sets off another bomb, and where the
// figures a flame can hit stand. A view, handed to the calls that need it and never kept.
struct BombRack {
    Bomb* slots[2];
    FigurePlaces figures;
    Bomb& at(int32_t entry) const { return slots[entry / 10][entry % 10]; }
};

// The playing field: arena cells, obstacles, the item table, the pools of laid walls and traps,
// the bookkeeping that bombs, blasts, players and creatures share, and the labyrinth. Plain data:
// everything is held by value and cells name what they hold by index, so a copy is a copy of
// its bytes. The round's generator and time are handed to the operations that draw or read them.
class MazeWorld {
  public:
    static constexpr int arenaSize = arena::size;
    static constexpr int obstacleTotal = tuning::obstacles;
    // Every obstacle's item, then the cheese.
    static constexpr int itemTotal = tuning::obstacles + tuning::cheesePieces;
    static constexpr int firstCheese = tuning::obstacles;
    static constexpr int poolSize = tuning::layingPool;
    static constexpr int bombEntries = 2 * tuning::bombSlots;
    // A blast burns its own cell and at most the rest of its row and its column, and no bomb
    // blasts twice within the time a cell burns: the most cells that can burn at once.
    static constexpr int maxBurningCells = bombEntries * (1 + 2 * (arenaSize - 1));

    MazeWorld();

    // Set-up, in this order.
    void createWallBlocks();
    void generateLabyrinth(RandomGenerator& random);
    void createBlastParticles(RandomGenerator& random);
    void placeItems(RandomGenerator& random);

    // Play operations.
    void clearRespawn(int32_t playerNumber);
    // Whether player `playerNumber` is sheltered at home: creatures and blasts leave it be.
    bool sheltered(int32_t playerNumber) const;
    bool canPlace(float x, float y) const;
    // Whether the trap or wall was laid: a free one in the pool and a cell to hold it.
    bool placeTrap(float x, float y);
    bool placeWall(float x, float y);
    void returnItem(int32_t kind, RandomGenerator& random);
    bool cheeseCellFree(int32_t entry, float x, float y) const;

    // Cell queries of the movement rules.
    static bool isHouseDoor(int32_t column, int32_t row);
    bool isPassable(float x, float y, float radius) const;
    bool bombAllows(float fromX, float fromY, float toX, float toY) const;
    bool wallAllows(float fromX, float fromY, float toX, float toY) const;
    bool hasTrap(float x, float y) const;
    int32_t itemTypeAt(float x, float y) const;
    void takeItem(float x, float y, int32_t playerNumber);
    // `by`: the player thrown by it, 0 for a creature.
    void springTrap(float x, float y, RandomGenerator& random, int32_t by = 0);
    bool takeCheese(float x, float y, int32_t playerNumber);
    void dropCheese(float x, float y, int32_t playerNumber, RandomGenerator& random);

    // Bombs and blasts. A cell names a bomb by its entry; `rack` holds the slots it names, and
    // `now` is the game time a flame sets a bomb off at.
    bool placeBomb(float x, float y, int32_t slot, int32_t playerNumber);
    void clearBomb(float x, float y, int32_t slot, int32_t playerNumber);
    // owner: the player whose bomb it is (0: none), for what a blast's hit is counted as.
    void blast(Bomb& bomb, int32_t owner, const BombRack& rack, float now, RandomGenerator& random);
    bool burnCell(int32_t cellX, int32_t cellY, float time, const BombRack& rack, float now,
                  RandomGenerator& random);
    // Sends home the players and removes the creatures a flame in the cell finds; answers
    // whether it found any.
    bool hitTest(int32_t cellX, int32_t cellY, const FigurePlaces& figures);
    // Drops burning cells older than 500 ms.
    void expireBlastCells(float now);
    // One view's step of the fire: expiry at the tick's time, then the shared burst advances
    // once for every cell still burning.
    void advanceBlastCells(float now, RandomGenerator& random);

    Cell& cell(int32_t x, int32_t y) { return cells[x][y]; }
    const Cell& cell(int32_t x, int32_t y) const { return cells[x][y]; }
    // What a cell holds, or null: pointers into this world, for the moment of a call only.
    Item* itemIn(const Cell& c) { return c.item == Cell::none ? nullptr : &items[c.item]; }
    const Item* itemIn(const Cell& c) const {
        return c.item == Cell::none ? nullptr : &items[c.item];
    }
    const Obstacle* obstacleIn(const Cell& c) const {
        return c.obstacle == Cell::none ? nullptr : &obstacles[c.obstacle];
    }
    const WallBlock* wallIn(const Cell& c) const {
        return c.wall == Cell::none ? nullptr : &walls[c.wall];
    }
    const Trap* trapIn(const Cell& c) const {
        return c.trap == Cell::none ? nullptr : &traps[c.trap];
    }
    // The cells burning now, oldest first.
    std::span<const BurningCell> burning() const {
        return {blastCells, static_cast<size_t>(blastCellCount)};
    }
    bool anyBurning() const { return blastCellCount > 0; }

    float bombX[bombEntries];
    float bombY[bombEntries];
    bool respawnRequest[2] = {false, false};
    // Why each pending request was made: the bomb of player 1 or 2, or a creature.
    int32_t respawnCause[2] = {0, 0};
    int32_t blastOwner = 0;
    // Per player: sheltered at home, from the round's start and from being sent home until its
    // first step.
    bool homeShelter[2] = {true, true};
    bool freeRoam[2] = {false, false};
    bool creatureHit[4] = {false, false, false, false};
    MazeGenerator maze;
    // Filled by placeItems; an entry of type 0 is not made yet.
    Item items[itemTotal] = {};
    Cell cells[arenaSize][arenaSize];
    Obstacle obstacles[obstacleTotal] = {};
    WallBlock walls[poolSize] = {};
    Trap traps[poolSize] = {};
    BlastParticles blastParticles;
    int32_t obstacleCount = obstacleTotal;
    int32_t itemCount = itemTotal;
    // The burning cells, oldest first.
    BurningCell blastCells[maxBurningCells] = {};
    int32_t blastCellCount = 0;
    // What the current tick has made happen so far; the tick clears it as it begins.
    TickEvents events;

  private:
    void putBackIntoArena(int32_t entry, RandomGenerator& random);
    // The arena cell of a position, or none for a position outside the arena.
    Cell* arenaCell(float x, float y);
    const Cell* arenaCell(float x, float y) const;
};
