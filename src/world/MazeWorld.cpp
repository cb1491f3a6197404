#include "world/MazeWorld.h"
#include "scene/TextureSlots.h"
#include "world/Bomb.h"
#include "scene/GameClock.h"
#include "scene/RandomGenerator.h"
#include <algorithm>
#include <functional>
#include <iterator>

namespace {

// The approach cells in front of the four house doors: never pillars, never obstacles.
bool isApproachCell(int32_t x, int32_t y) {
    for (const arena::HouseDoor& d : arena::houseDoors)
        if (x == d.column + d.outX && y == d.row + d.outY)
            return true;
    return false;
}

// The kind of each fixed entry of the item table.
int32_t kindOfEntry(int32_t entry) {
    if (entry < 20)
        return kindBomb;
    if (entry < 35)
        return kindSpeed;
    if (entry < 37)
        return kindMaxFire;
    if (entry < 45)
        return kindFire;
    if (entry < 52)
        return kindTrap;
    if (entry < 59)
        return kindWall;
    if (entry < 90)
        return kindCoin;
    return kindCheese;
}

// First and one-past-last entry of kinds 1..6 in the item table.
constexpr int32_t kindEntries[7][2] = {{0, 0},   {0, 20},  {20, 35}, {35, 37},
                                       {37, 45}, {45, 52}, {52, 59}};

// The item cards are stored bomb, speed, fire, maximum fire, wall, trap; kinds count bomb,
// speed, maximum fire, fire, trap, wall.
constexpr int32_t kindCardOffset[7] = {0, 0, 1, 3, 2, 5, 4};

constexpr float obstacleColours[7][3] = {{255, 127, 255}, {255, 255, 255}, {127, 127, 255},
                                         {255, 255, 127}, {127, 255, 255}, {255, 204, 127},
                                         {127, 255, 127}};

int32_t truncate(float v) {
    return static_cast<int32_t>(v);
}

} // namespace

int32_t itemPictureSlot(int32_t kind) {
    if (kind >= kindBomb && kind <= kindWall)
        return itemCardSlots + kindCardOffset[kind];
    return kind == kindCheese ? cheeseSlot : -1;
}

MazeWorld::MazeWorld(RandomGenerator* random) : random(random), maze(nullptr) {
    for (int32_t x = 0; x < arenaSize; ++x)
        for (int32_t y = 0; y < arenaSize; ++y)
            cells[x][y].setPillar(x % 2 == 1 && y % 2 == 1);
    cells[5][9].setPillar(false);
    cells[7][7].setPillar(false);
    cells[9][9].setPillar(false);
    cells[7][11].setPillar(false);
    for (int32_t x = 6; x <= 8; ++x)
        for (int32_t y = 8; y <= 10; ++y)
            cells[x][y].setPillar(true);

    for (int32_t i = 0; i < 20; ++i) {
        bombX[i] = -1;
        bombY[i] = -1;
    }
    for (int32_t i = 0; i < poolSize; ++i)
        traps[i] = new Trap;

    player1X = arena::homeX[0];
    player1Y = arena::homeY;
    player2X = arena::homeX[1];
    player2Y = arena::homeY;
    obstacleCount = obstacleTotal;
    itemCount = itemTotal;

    maze = new MazeGenerator(random);

    respawnRequest[0] = respawnRequest[1] = false;
    freeRoam[0] = freeRoam[1] = false;
    playerRadius = 0;
}

MazeWorld::~MazeWorld() {
    releaseOwned();
}

void MazeWorld::releaseOwned() {
    blastCells.clear();
    for (Item*& item : items) {
        delete item;
        item = nullptr;
    }
    for (Obstacle*& obstacle : obstacles) {
        delete obstacle;
        obstacle = nullptr;
    }
    for (WallBlock*& wall : walls) {
        delete wall;
        wall = nullptr;
    }
    for (Trap*& trap : traps) {
        delete trap;
        trap = nullptr;
    }
    delete blastParticles;
    blastParticles = nullptr;
    delete maze;
    maze = nullptr;
}

namespace {
template <typename T, size_t N> void copyOwned(T* (&to)[N], T* const (&from)[N]) {
    for (size_t i = 0; i < N; ++i)
        to[i] = from[i] ? new T(*from[i]) : nullptr;
}

// The entry of `to` at the index `p` has in `from`; null when p is not one of them.
template <typename T, size_t N> T* sameEntry(const T* p, T* const (&from)[N], T* const (&to)[N]) {
    if (p == nullptr)
        return nullptr;
    for (size_t i = 0; i < N; ++i)
        if (from[i] == p)
            return to[i];
    return nullptr;
}
} // namespace

MazeWorld::MazeWorld(const MazeWorld& other) {
    copyFrom(other);
}

MazeWorld& MazeWorld::operator=(const MazeWorld& other) {
    if (this != &other) {
        releaseOwned();
        copyFrom(other);
    }
    return *this;
}

void MazeWorld::copyFrom(const MazeWorld& o) {
    std::copy(std::begin(o.bombX), std::end(o.bombX), bombX);
    std::copy(std::begin(o.bombY), std::end(o.bombY), bombY);
    std::copy(std::begin(o.respawnRequest), std::end(o.respawnRequest), respawnRequest);
    std::copy(std::begin(o.respawnCause), std::end(o.respawnCause), respawnCause);
    blastOwner = o.blastOwner;
    std::copy(std::begin(o.creatureGraceUntil), std::end(o.creatureGraceUntil), creatureGraceUntil);
    std::copy(std::begin(o.freeRoam), std::end(o.freeRoam), freeRoam);
    std::copy(std::begin(o.creatureHit), std::end(o.creatureHit), creatureHit);
    std::copy(std::begin(o.creatureX), std::end(o.creatureX), creatureX);
    std::copy(std::begin(o.creatureY), std::end(o.creatureY), creatureY);
    random = o.random;
    clock = o.clock;
    player1X = o.player1X;
    player1Y = o.player1Y;
    player2X = o.player2X;
    player2Y = o.player2Y;
    playerRadius = o.playerRadius;
    obstacleCount = o.obstacleCount;
    itemCount = o.itemCount;
    blastCells = o.blastCells;
    maze = o.maze ? new MazeGenerator(*o.maze) : nullptr;
    blastParticles = o.blastParticles ? new BlastParticles(*o.blastParticles) : nullptr;
    copyOwned(items, o.items);
    copyOwned(obstacles, o.obstacles);
    copyOwned(walls, o.walls);
    copyOwned(traps, o.traps);
    for (int32_t x = 0; x < arenaSize; ++x)
        for (int32_t y = 0; y < arenaSize; ++y) {
            const Cell& from = o.cells[x][y];
            Cell& to = cells[x][y];
            to = from;
            to.obstacle = sameEntry(from.obstacle, o.obstacles, obstacles);
            to.item = sameEntry(from.item, o.items, items);
            to.wall = sameEntry(from.wall, o.walls, walls);
            to.trap = sameEntry(from.trap, o.traps, traps);
        }
}

void MazeWorld::rebindShared(RandomGenerator* random_, GameClock* clock_) {
    random = random_;
    clock = clock_;
    if (maze)
        maze->random = random_;
    if (blastParticles)
        blastParticles->random = random_;
}

void MazeWorld::relinkBombs(const Bomb* from, Bomb* to, int32_t count) {
    const std::less<const Bomb*> before;
    for (auto& column : cells)
        for (Cell& c : column)
            if (c.bomb && !before(c.bomb, from) && before(c.bomb, from + count))
                c.bomb = to + (c.bomb - from);
}

void MazeWorld::createWallBlocks() {
    for (int32_t i = 0; i < poolSize; ++i) {
        delete walls[i];
        walls[i] = new WallBlock;
    }
}

void MazeWorld::generateLabyrinth() {
    maze->generate();
}

void MazeWorld::createBlastParticles() {
    delete blastParticles;
    blastParticles = new BlastParticles;
    blastParticles->random = random;
    blastParticles->init();
}

void MazeWorld::placeItems() {
    for (int32_t i = 0; i < obstacleTotal; ++i) {
        // The colour draw comes first: it belongs to the obstacle's construction.
        Obstacle* obstacle = new Obstacle;
        const float* colour = obstacleColours[random->nextInt(0, 6)];
        obstacle->colourR = colour[0];
        obstacle->colourG = colour[1];
        obstacle->colourB = colour[2];
        obstacles[i] = obstacle;

        Item* item = new Item;
        item->type = kindOfEntry(i);
        items[i] = item;

        int32_t x, y;
        for (;;) {
            x = random->nextInt(0, 14);
            y = random->nextInt(0, 14);
            if (y == 0)
                continue;
            if (y == 1 && (x == 0 || x == 14))
                continue;
            if (isApproachCell(x, y))
                continue;
            if (!cells[x][y].open)
                continue;
            break;
        }
        Cell& c = cells[x][y];
        c.setObstacle(true);
        c.obstacle = obstacle;
        c.item = item;
        obstacle->x = item->x = static_cast<float>(x) + 0.5f;
        obstacle->y = item->y = static_cast<float>(y) + 0.5f;
    }

    for (int32_t j = firstCheese; j < itemTotal; ++j) {
        Item* cheese = new Item;
        cheese->type = kindCheese;
        items[j] = cheese;
        int32_t x, y;
        do {
            x = random->nextInt(arena::labyrinthFirst, arena::labyrinthLast);
            y = random->nextInt(arena::labyrinthFirst, arena::labyrinthLast);
        } while (!cheeseCellFree(j, static_cast<float>(x), static_cast<float>(y)));
        cheese->x = static_cast<float>(x) + 0.5f;
        cheese->y = static_cast<float>(y) + 0.5f;
        cheese->taken = 0;
    }
}

void MazeWorld::recordPlayerPosition(float x, float y, int32_t playerNumber) {
    if (playerNumber == 1) {
        player1X = x;
        player1Y = y;
    } else if (playerNumber == 2) {
        player2X = x;
        player2Y = y;
    }
}

void MazeWorld::recordCreaturePosition(int32_t number, float x, float y) {
    if (number < 1 || number > 4)
        return;
    creatureX[number - 1] = x;
    creatureY[number - 1] = y;
}

void MazeWorld::clearRespawn(int32_t playerNumber) {
    if (playerNumber == 1) {
        respawnRequest[0] = false;
        player1X = arena::homeX[0];
        player1Y = arena::homeY;
    } else if (playerNumber == 2) {
        respawnRequest[1] = false;
        player2X = arena::homeX[1];
        player2Y = arena::homeY;
    }
}

bool MazeWorld::creatureGrace(int32_t playerNumber) const {
    if ((playerNumber != 1 && playerNumber != 2) || clock == nullptr)
        return false;
    return clock->now() < creatureGraceUntil[playerNumber - 1];
}

bool MazeWorld::canPlace(float x, float y) const {
    const Cell* c = arenaCell(x, y);
    if (c == nullptr)
        return false;
    if (isHouseDoor(truncate(x), truncate(y)))
        return false;
    return c->wall == nullptr && c->trap == nullptr && c->bomb == nullptr;
}

void MazeWorld::placeTrap(float x, float y) {
    Cell* c = arenaCell(x, y);
    if (c == nullptr || c->trap != nullptr || c->bomb != nullptr)
        return;
    for (Trap* trap : traps) {
        if (!trap->free)
            continue;
        trap->free = false;
        trap->x = static_cast<float>(truncate(x)) + 0.5f;
        trap->y = static_cast<float>(truncate(y)) + 0.5f;
        c->trap = trap;
        return;
    }
}

void MazeWorld::placeWall(float x, float y) {
    Cell* c = arenaCell(x, y);
    // A cell that already holds a wall is refused too: a second block laid there would have no
    // cell link, so no blast could ever free it and it would be lost to the pool.
    if (c == nullptr || c->trap != nullptr || c->bomb != nullptr || c->wall != nullptr)
        return;
    for (WallBlock* wall : walls) {
        if (wall == nullptr || !wall->free)
            continue;
        wall->free = false;
        wall->x = static_cast<float>(truncate(x)) + 0.5f;
        wall->y = static_cast<float>(truncate(y)) + 0.5f;
        c->wall = wall;
        return;
    }
}

void MazeWorld::returnItem(int32_t kind) {
    if (kind < kindBomb || kind > kindWall)
        return;
    for (int32_t i = kindEntries[kind][0]; i < kindEntries[kind][1]; ++i) {
        Item* item = items[i];
        if (item != nullptr && item->taken > 0) {
            putBackIntoArena(item);
            return;
        }
    }
}

void MazeWorld::putBackIntoArena(Item* item) {
    for (;;) {
        int32_t x = random->nextInt(0, 14);
        int32_t y = random->nextInt(0, 14);
        if (y == 0 && (x < 3 || x > 11))
            continue;
        if (y == 1 && (x == 0 || x == 14))
            continue;
        Cell& c = cells[x][y];
        if (c.pillar || c.item != nullptr)
            continue;
        c.item = item;
        item->x = static_cast<float>(x) + 0.5f;
        item->y = static_cast<float>(y) + 0.5f;
        item->taken = 0;
        return;
    }
}

bool MazeWorld::cheeseCellFree(int32_t entry, float x, float y) const {
    const int32_t cx = truncate(x);
    const int32_t cy = truncate(y);
    for (int32_t i = firstCheese; i < entry && i < itemTotal; ++i) {
        const Item* cheese = items[i];
        if (cheese != nullptr && truncate(cheese->x) == cx && truncate(cheese->y) == cy)
            return false;
    }
    return true;
}

Cell* MazeWorld::arenaCell(float x, float y) {
    // Truncation toward zero puts (-1, 0) into column 0 as well; anything further out, and any
    // position in the labyrinth, has no arena cell.
    if (!(x > -1.0f && x < static_cast<float>(arenaSize) && y > -1.0f &&
          y < static_cast<float>(arenaSize)))
        return nullptr;
    return &cells[truncate(x)][truncate(y)];
}

const Cell* MazeWorld::arenaCell(float x, float y) const {
    return const_cast<MazeWorld*>(this)->arenaCell(x, y);
}
