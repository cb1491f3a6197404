#include "support/Bookkeeping.h"
#include "rules/RoundState.h"
#include <cstdio>
#include <string>

namespace {
constexpr int arena = MazeWorld::arenaSize;

class FaultList {
  public:
    explicit FaultList(std::vector<std::string>& out) : out(out) {}
    template <typename... Args> void add(const char* format, Args... args) {
        // A broken frame tends to break many cells at once; the first faults tell the story.
        if (out.size() >= 20)
            return;
        char text[256];
        std::snprintf(text, sizeof text, format, args...);
        out.emplace_back(text);
    }

  private:
    std::vector<std::string>& out;
};

bool isCentre(float v) {
    return v == static_cast<float>(static_cast<int>(v)) + 0.5f;
}

bool inArena(float x, float y) {
    return x >= 0 && x < arena && y >= 0 && y < arena;
}

bool inLabyrinth(float x, float y) {
    return x >= 100 && x < 109 && y >= 100 && y < 109;
}

void checkCells(MazeWorld& w, FaultList& f) {
    for (int x = 0; x < arena; ++x)
        for (int y = 0; y < arena; ++y) {
            const Cell& c = w.cell(x, y);
            if (c.obstacle < Cell::none || c.obstacle >= MazeWorld::obstacleTotal)
                f.add("cell %d,%d: names obstacle %d, not in the table", x, y, c.obstacle);
            else if (c.hasObstacle && (c.obstacle == Cell::none || w.obstacleIn(c)->destroyed))
                f.add("cell %d,%d: an obstacle flag without a standing obstacle", x, y);
            if (!c.hasObstacle && c.obstacle != Cell::none)
                f.add("cell %d,%d: links an obstacle it does not have", x, y);
        }
}

// How many cells link an item, and whether the one at its own position does.
struct Links {
    int count = 0;
    bool atOwnCell = false;
};

void checkItems(RoundState& g, FaultList& f) {
    MazeWorld& w = g.world;
    Links links[MazeWorld::itemTotal];
    for (int x = 0; x < arena; ++x)
        for (int y = 0; y < arena; ++y) {
            const int entry = w.cell(x, y).item;
            if (entry == Cell::none)
                continue;
            if (entry < 0 || entry >= MazeWorld::itemTotal) {
                f.add("cell %d,%d links an item that is not in the table", x, y);
                continue;
            }
            ++links[entry].count;
            const Item& linked = w.items[entry];
            if (static_cast<int>(linked.x) == x && static_cast<int>(linked.y) == y)
                links[entry].atOwnCell = true;
        }

    int heldOfKind[9] = {};
    int cheeseHeld[3] = {};
    int delivered = 0;
    for (int i = 0; i < MazeWorld::itemTotal; ++i) {
        const Item* item = &w.items[i];
        if (item->type == 0) {
            f.add("item %d is missing", i);
            continue;
        }
        const bool cheese = item->type == kindCheese;
        if (links[i].count > 1)
            f.add("item %d is linked from %d cells", i, links[i].count);
        if (item->taken == 0) {
            if (cheese && inLabyrinth(item->x, item->y)) {
                if (links[i].count != 0)
                    f.add("cheese %d in the labyrinth is linked from an arena cell", i);
            } else if (!inArena(item->x, item->y) || !links[i].atOwnCell) {
                f.add("item %d (kind %d) lies at %.2f,%.2f without its cell linking it", i,
                      item->type, item->x, item->y);
            }
            if (!isCentre(item->x) || !isCentre(item->y))
                f.add("item %d lies off a cell centre at %.3f,%.3f", i, item->x, item->y);
        } else if (item->taken == 1 || item->taken == 2) {
            if (links[i].count != 0)
                f.add("item %d is held by player %d and still linked", i, item->taken);
            // Cheese taken in the labyrinth keeps its last place; everything else is at -1,-1.
            if (!cheese && (item->x != -1 || item->y != -1))
                f.add("held item %d keeps a position %.2f,%.2f", i, item->x, item->y);
            if (cheese)
                ++cheeseHeld[item->taken];
            else
                ++heldOfKind[item->type];
        } else if (item->taken == 3) {
            if (!cheese)
                f.add("item %d of kind %d counts as delivered", i, item->type);
            if (links[i].count != 0)
                f.add("delivered cheese %d is still linked", i);
            ++delivered;
        } else {
            f.add("item %d has taken %d", i, item->taken);
        }
    }

    // Picked-up items that give a lasting bonus come back to the arena when their holder is
    // sent home, so the taken ones of each kind are exactly what the players' counters hold.
    const Player& p1 = g.player1;
    const Player& p2 = g.player2;
    const struct {
        int kind;
        int counted;
        const char* name;
    } bonuses[] = {{kindBomb, p1.bombItems + p2.bombItems, "bomb"},
                   {kindSpeed, p1.speedItems + p2.speedItems, "speed"},
                   {kindMaxFire, p1.maxFireItems + p2.maxFireItems, "maximum fire"},
                   {kindFire, p1.fireItems + p2.fireItems, "fire"}};
    for (const auto& b : bonuses)
        if (heldOfKind[b.kind] != b.counted)
            f.add("%d %s items taken, the players count %d", heldOfKind[b.kind], b.name, b.counted);

    // A trap or wall item, once spent, stays taken while its block or trap stands in the arena;
    // springing or blasting it puts the item back.
    int laidWalls = 0, laidTraps = 0;
    for (const WallBlock& wall : w.walls)
        laidWalls += !wall.free;
    for (const Trap& trap : w.traps)
        laidTraps += !trap.free;
    if (heldOfKind[kindWall] != p1.wallItems + p2.wallItems + laidWalls)
        f.add("%d wall items taken, players hold %d and %d blocks stand", heldOfKind[kindWall],
              p1.wallItems + p2.wallItems, laidWalls);
    if (heldOfKind[kindTrap] != p1.trapItems + p2.trapItems + laidTraps)
        f.add("%d trap items taken, players hold %d and %d traps are laid", heldOfKind[kindTrap],
              p1.trapItems + p2.trapItems, laidTraps);

    if (delivered != p1.cheese + p2.cheese)
        f.add("%d cheese pieces delivered, the players count %d", delivered, p1.cheese + p2.cheese);
    for (int n = 1; n <= 2; ++n) {
        const Player& p = g.player(n);
        if (cheeseHeld[n] > 1)
            f.add("player %d holds %d cheese pieces", n, cheeseHeld[n]);
        if (p.carryingCheese != (cheeseHeld[n] == 1))
            f.add("player %d carries cheese %d but holds %d pieces", n, p.carryingCheese,
                  cheeseHeld[n]);
    }
}

// A laid block or trap stands on exactly the cell at its position; a free one is nowhere.
template <typename Block, typename Link>
void checkPool(MazeWorld& w, const Block* pool, Link link, const char* name, FaultList& f) {
    int standing = 0, free = 0;
    for (int x = 0; x < arena; ++x)
        for (int y = 0; y < arena; ++y)
            if (link(w.cell(x, y)) < Cell::none || link(w.cell(x, y)) >= MazeWorld::poolSize)
                f.add("cell %d,%d names %s %d, not in the pool", x, y, name, link(w.cell(x, y)));
    for (int i = 0; i < MazeWorld::poolSize; ++i) {
        const Block* b = &pool[i];
        int linkedFrom = 0;
        for (int x = 0; x < arena; ++x)
            for (int y = 0; y < arena; ++y)
                linkedFrom += link(w.cell(x, y)) == i;
        if (b->free) {
            ++free;
            if (linkedFrom != 0 || b->x != -1 || b->y != -1)
                f.add("free %s %d is linked from %d cells at %.2f,%.2f", name, i, linkedFrom, b->x,
                      b->y);
            continue;
        }
        if (linkedFrom == 1 && inArena(b->x, b->y) &&
            link(w.cell(static_cast<int>(b->x), static_cast<int>(b->y))) == i)
            ++standing;
        else
            f.add("%s %d at %.2f,%.2f is linked from %d cells", name, i, b->x, b->y, linkedFrom);
    }
    if (standing + free != MazeWorld::poolSize)
        f.add("%d %ss free and %d standing, not %d", free, name, standing, MazeWorld::poolSize);
}

void checkBombs(RoundState& g, FaultList& f) {
    MazeWorld& w = g.world;
    for (int entry = 0; entry < 20; ++entry) {
        Bomb* slot = &g.player(entry / 10 + 1).bombs[entry % 10];
        const float bx = w.bombX[entry], by = w.bombY[entry];
        if (bx == -1 && by == -1)
            continue;
        if (!inArena(bx, by) || !isCentre(bx) || !isCentre(by)) {
            f.add("bomb entry %d at %.2f,%.2f is not a cell centre", entry, bx, by);
            continue;
        }
        if (w.cell(static_cast<int>(bx), static_cast<int>(by)).bomb != entry)
            f.add("bomb entry %d: its cell does not link its slot", entry);
        if (slot->ready)
            f.add("bomb entry %d is recorded for a ready slot", entry);
    }
    for (int x = 0; x < arena; ++x)
        for (int y = 0; y < arena; ++y) {
            const int entry = w.cell(x, y).bomb;
            if (entry == Cell::none)
                continue;
            const bool found = entry >= 0 && entry < MazeWorld::bombEntries &&
                               w.bombX[entry] == x + 0.5f && w.bombY[entry] == y + 0.5f;
            if (!found)
                f.add("cell %d,%d holds a bomb without an entry", x, y);
        }
    for (int n = 1; n <= 2; ++n) {
        const Player& p = g.player(n);
        int ready = 0;
        for (int i = 0; i < p.bombCapacity; ++i)
            ready += p.bombs[i].ready;
        if (p.bombsReady > ready)
            f.add("player %d counts %d bombs ready of %d", n, p.bombsReady, ready);
    }
}
} // namespace

std::vector<std::string> bookkeepingFaults(RoundState& round) {
    std::vector<std::string> out;
    FaultList f(out);
    checkCells(round.world, f);
    checkItems(round, f);
    checkPool(
        round.world, round.world.walls, [](const Cell& c) { return int{c.wall}; }, "wall block", f);
    checkPool(
        round.world, round.world.traps, [](const Cell& c) { return int{c.trap}; }, "trap", f);
    checkBombs(round, f);
    return out;
}
