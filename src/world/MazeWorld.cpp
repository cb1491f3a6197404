#include "world/MazeWorld.h"
#include "scene/TextureSlots.h"
#include "scene/RandomGenerator.h"
#include <array>

namespace {

// The approach cells in front of the four house doors: never pillars, never obstacles.
bool isApproachCell(int32_t x, int32_t y) {
    for (const arena::HouseDoor& d : arena::houseDoors)
        if (x == d.column + d.outX && y == d.row + d.outY)
            return true;
    return false;
}

// The item table holds the obstacles' items by kind, in the order of the kinds (bomb, speed,
// maximum fire, fire, trap and wall cards, then coins), and the cheese after them.
constexpr int32_t itemsOfKind[kindCoin + 1] = {0,
                                               tuning::bombCards,
                                               tuning::speedCards,
                                               tuning::maxFireCards,
                                               tuning::fireCards,
                                               tuning::trapCards,
                                               tuning::wallCards,
                                               tuning::coins};

// First and one-past-last entry of each kind up to the coins in the item table.
struct EntrySpan {
    int32_t first, end;
};
constexpr std::array<EntrySpan, kindCoin + 1> kindEntries = [] {
    std::array<EntrySpan, kindCoin + 1> spans{};
    int32_t at = 0;
    for (int32_t kind = kindBomb; kind <= kindCoin; ++kind) {
        spans[kind] = {at, at + itemsOfKind[kind]};
        at += itemsOfKind[kind];
    }
    return spans;
}();
static_assert(kindEntries[kindCoin].end == MazeWorld::firstCheese);

// The kind of each fixed entry of the item table.
int32_t kindOfEntry(int32_t entry) {
    for (int32_t kind = kindBomb; kind <= kindCoin; ++kind)
        if (entry < kindEntries[kind].end)
            return kind;
    return kindCheese;
}

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

MazeWorld::MazeWorld() {
    for (int32_t x = 0; x < arenaSize; ++x)
        for (int32_t y = 0; y < arenaSize; ++y)
            cells[x][y].pillar = x % 2 == 1 && y % 2 == 1;
    cells[5][9].pillar = false;
    cells[7][7].pillar = false;
    cells[9][9].pillar = false;
    cells[7][11].pillar = false;
    for (int32_t x = 6; x <= 8; ++x)
        for (int32_t y = 8; y <= 10; ++y)
            cells[x][y].pillar = true;

    for (int32_t i = 0; i < bombEntries; ++i) {
        bombX[i] = -1;
        bombY[i] = -1;
    }
}

void MazeWorld::createWallBlocks() {
    for (WallBlock& wall : walls)
        wall = WallBlock{};
}

void MazeWorld::generateLabyrinth(RandomGenerator& random) {
    maze.generate(random);
}

void MazeWorld::createBlastParticles(RandomGenerator& random) {
    blastParticles = BlastParticles{};
    blastParticles.init(random);
}

void MazeWorld::placeItems(RandomGenerator& random) {
    for (int32_t i = 0; i < obstacleTotal; ++i) {
        // The colour draw comes first: it belongs to the obstacle's construction.
        Obstacle& obstacle = obstacles[i];
        obstacle = Obstacle{};
        const float* colour = obstacleColours[random.nextInt(0, 6)];
        obstacle.colourR = colour[0];
        obstacle.colourG = colour[1];
        obstacle.colourB = colour[2];

        Item& item = items[i];
        item = Item{};
        item.type = kindOfEntry(i);

        int32_t x, y;
        for (;;) {
            x = random.nextInt(0, tuning::lastCell);
            y = random.nextInt(0, tuning::lastCell);
            if (y == 0)
                continue;
            if (y == 1 && (x == 0 || x == tuning::lastCell))
                continue;
            if (isApproachCell(x, y))
                continue;
            if (!cells[x][y].open())
                continue;
            break;
        }
        Cell& c = cells[x][y];
        c.hasObstacle = true;
        c.obstacle = static_cast<int8_t>(i);
        c.item = static_cast<int8_t>(i);
        obstacle.x = item.x = static_cast<float>(x) + 0.5f;
        obstacle.y = item.y = static_cast<float>(y) + 0.5f;
    }

    for (int32_t j = firstCheese; j < itemTotal; ++j) {
        Item& cheese = items[j];
        cheese = Item{};
        cheese.type = kindCheese;
        int32_t x, y;
        do {
            x = random.nextInt(arena::labyrinthFirst, arena::labyrinthLast);
            y = random.nextInt(arena::labyrinthFirst, arena::labyrinthLast);
        } while (!cheeseCellFree(j, static_cast<float>(x), static_cast<float>(y)));
        cheese.x = static_cast<float>(x) + 0.5f;
        cheese.y = static_cast<float>(y) + 0.5f;
        cheese.taken = 0;
    }
}

void MazeWorld::clearRespawn(int32_t playerNumber) {
    if (playerNumber == 1 || playerNumber == 2)
        respawnRequest[playerNumber - 1] = false;
}

bool MazeWorld::sheltered(int32_t playerNumber) const {
    if (playerNumber != 1 && playerNumber != 2)
        return false;
    return homeShelter[playerNumber - 1];
}

bool MazeWorld::canPlace(float x, float y) const {
    const Cell* c = arenaCell(x, y);
    if (c == nullptr)
        return false;
    if (isHouseDoor(truncate(x), truncate(y)))
        return false;
    return c->wall == Cell::none && c->trap == Cell::none && c->bomb == Cell::none;
}

bool MazeWorld::placeTrap(float x, float y) {
    Cell* c = arenaCell(x, y);
    if (c == nullptr || c->trap != Cell::none || c->bomb != Cell::none)
        return false;
    for (int32_t i = 0; i < poolSize; ++i) {
        Trap& trap = traps[i];
        if (!trap.free)
            continue;
        trap.free = false;
        trap.x = static_cast<float>(truncate(x)) + 0.5f;
        trap.y = static_cast<float>(truncate(y)) + 0.5f;
        c->trap = static_cast<int8_t>(i);
        return true;
    }
    return false;
}

bool MazeWorld::placeWall(float x, float y) {
    Cell* c = arenaCell(x, y);
    // A cell that already holds a wall is refused too: a second block laid there would have no
    // cell link, so no blast could ever free it and it would be lost to the pool.
    if (c == nullptr || c->trap != Cell::none || c->bomb != Cell::none || c->wall != Cell::none)
        return false;
    for (int32_t i = 0; i < poolSize; ++i) {
        WallBlock& wall = walls[i];
        if (!wall.free)
            continue;
        wall.free = false;
        wall.x = static_cast<float>(truncate(x)) + 0.5f;
        wall.y = static_cast<float>(truncate(y)) + 0.5f;
        c->wall = static_cast<int8_t>(i);
        return true;
    }
    return false;
}

void MazeWorld::returnItem(int32_t kind, RandomGenerator& random) {
    if (kind < kindBomb || kind > kindWall)
        return;
    for (int32_t i = kindEntries[kind].first; i < kindEntries[kind].end; ++i) {
        if (items[i].type != 0 && items[i].taken > 0) {
            putBackIntoArena(i, random);
            return;
        }
    }
}

void MazeWorld::putBackIntoArena(int32_t entry, RandomGenerator& random) {
    Item& item = items[entry];
    for (;;) {
        int32_t x = random.nextInt(0, tuning::lastCell);
        int32_t y = random.nextInt(0, tuning::lastCell);
        if (y == 0 && (x < 3 || x > 11))
            continue;
        if (y == 1 && (x == 0 || x == tuning::lastCell))
            continue;
        Cell& c = cells[x][y];
        if (c.pillar || c.item != Cell::none)
            continue;
        c.item = static_cast<int8_t>(entry);
        item.x = static_cast<float>(x) + 0.5f;
        item.y = static_cast<float>(y) + 0.5f;
        item.taken = 0;
        return;
    }
}

bool MazeWorld::cheeseCellFree(int32_t entry, float x, float y) const {
    const int32_t cx = truncate(x);
    const int32_t cy = truncate(y);
    for (int32_t i = firstCheese; i < entry && i < itemTotal; ++i) {
        const Item& cheese = items[i];
        if (cheese.type != 0 && truncate(cheese.x) == cx && truncate(cheese.y) == cy)
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
