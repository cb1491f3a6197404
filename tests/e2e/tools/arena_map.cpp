// Tells the end-to-end scripts where things stand in a round of a given seed, and where a point of
// the arena appears on the screen in the overview.
//
//   arena_map obstacles SEED          one line per obstacle: cell x, cell y, colour r g b (0..255)
//   arena_map creatures SEED          one line per creature: number, x, y, size of its roaming area
//   arena_map pixel X Y Z             window pixel (column, row from the top) of a world point
//   arena_map route SEED              keys of player 1 that slide it from its start into a house
//                                     door, one "key cells" pair a line, or nothing
//   arena_map find-bomb FROM TO       first seed with an obstacle north of player 1's start
//                                     corner and no creature that can roam to that corner
//   arena_map find-route FROM TO      first seed whose route into the house is short and cut off
//                                     from every creature
//   arena_map find-catch FROM TO      first seed in which player 1, after one tap of forward (with
//                                     steering help: one cell, out of its home's shelter), is
//                                     caught by a creature between 5 and 10 seconds into the round
//   arena_map walk SEED KEY...        plays the route with the real controls, a key held for 400
//                                     frames each, and prints where player 1 ends
#include "rules/Controls.h"
#include "app/Game.h"
#include "rules/RoundTick.h"
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <queue>
#include <string>
#include <vector>

namespace {

constexpr int size = MazeWorld::arenaSize;

struct Setup {
    Game game;
    explicit Setup(uint32_t seed) : game(seed, false) { setUpWorld(game); }
};

struct Direction {
    int dx, dy;
    const char* key; // player 1's key for it, as xdotool names it
};
const Direction directions[4] = {{0, 1, "r"}, {0, -1, "f"}, {1, 0, "g"}, {-1, 0, "d"}};

bool inside(int x, int y) {
    return x >= 0 && y >= 0 && x < size && y < size;
}

// Open arena cells a creature or player can stand in (the house and its doors excluded).
bool walkable(const MazeWorld& world, int x, int y) {
    return inside(x, y) && world.cell(x, y).open();
}

// Number of walkable cells 4-connected to (x, y), and a mark on each.
int markArea(const MazeWorld& world, int x, int y, std::vector<int>& mark, int label,
             const std::vector<std::pair<int, int>>& alsoOpen = {}) {
    auto open = [&](int cx, int cy) {
        if (walkable(world, cx, cy))
            return true;
        for (auto [ox, oy] : alsoOpen)
            if (ox == cx && oy == cy)
                return true;
        return false;
    };
    if (!open(x, y))
        return 0;
    int count = 0;
    std::queue<std::pair<int, int>> todo;
    todo.push({x, y});
    mark[x * size + y] = label;
    while (!todo.empty()) {
        auto [cx, cy] = todo.front();
        todo.pop();
        ++count;
        for (const Direction& d : directions) {
            const int nx = cx + d.dx, ny = cy + d.dy;
            if (inside(nx, ny) && open(nx, ny) && mark[nx * size + ny] == 0) {
                mark[nx * size + ny] = label;
                todo.push({nx, ny});
            }
        }
    }
    return count;
}

// The door cell a slide enters when it leaves an approach cell toward the house, or none.
bool entersDoor(int x, int y, const Direction& d) {
    return (x == 5 && y == 9 && d.dx == 1) || (x == 9 && y == 9 && d.dx == -1) ||
           (x == 7 && y == 7 && d.dy == 1) || (x == 7 && y == 11 && d.dy == -1);
}

struct Slide {
    int x, y, cells;
    bool door;
};

// A held key moves the player cell by cell until the next cell is not walkable; it is then pushed
// flush and stays in its row or column.
Slide slide(const MazeWorld& world, int x, int y, const Direction& d) {
    Slide s{x, y, 0, false};
    for (;;) {
        if (entersDoor(s.x, s.y, d)) {
            s.door = true;
            ++s.cells;
            return s;
        }
        if (!walkable(world, s.x + d.dx, s.y + d.dy))
            return s;
        s.x += d.dx;
        s.y += d.dy;
        ++s.cells;
    }
}

struct Step {
    int direction, cells;
};

// Fewest slides from player 1's start cell into a door. The last slide must not be a step back
// (-y), since the back key walks backwards out of the labyrinth again.
std::vector<Step> findRoute(const MazeWorld& world, int& totalCells) {
    struct Node {
        int prev, direction, cells;
    };
    std::vector<Node> node(size * size, {-2, -1, 0});
    std::queue<int> todo;
    node[0] = {-1, -1, 0};
    todo.push(0);
    while (!todo.empty()) {
        const int at = todo.front();
        todo.pop();
        for (int k = 0; k < 4; ++k) {
            const Slide s = slide(world, at / size, at % size, directions[k]);
            if (s.door && k != 1) {
                std::vector<Step> route{{k, s.cells}};
                totalCells = s.cells;
                for (int n = at; node[n].prev != -1; n = node[n].prev) {
                    route.insert(route.begin(), {node[n].direction, node[n].cells});
                    totalCells += node[n].cells;
                }
                return route;
            }
            const int to = s.x * size + s.y;
            if (s.cells > 0 && !s.door && node[to].prev == -2) {
                node[to] = {at, k, s.cells};
                todo.push(to);
            }
        }
    }
    return {};
}

// Creatures stand on their start cells until the first frame is drawn.
bool creatureIn(const Game& game, const std::vector<int>& mark, int label) {
    for (int n = 0; n < 4; ++n) {
        const int cx = static_cast<int>(game.round.creatures[n].x);
        const int cy = static_cast<int>(game.round.creatures[n].y);
        if (inside(cx, cy) && mark[cx * size + cy] == label)
            return true;
    }
    return false;
}

int creatures(uint32_t seed) {
    Setup s(seed);
    Game& game = s.game;
    for (int n = 0; n < 4; ++n) {
        std::vector<int> mark(size * size, 0);
        const float x = game.round.creatures[n].x, y = game.round.creatures[n].y;
        const int area =
            markArea(game.round.world, static_cast<int>(x), static_cast<int>(y), mark, 1);
        std::printf("%d %.2f %.2f %d\n", n + 1, x, y, area);
    }
    return 0;
}

int obstacles(uint32_t seed) {
    Setup s(seed);
    for (const Obstacle& o : s.game.round.world.obstacles)
        if (!o.destroyed)
            std::printf("%d %d %d %d %d\n", static_cast<int>(o.x), static_cast<int>(o.y),
                        static_cast<int>(o.colourR), static_cast<int>(o.colourG),
                        static_cast<int>(o.colourB));
    return 0;
}

struct V {
    double x, y, z;
};
V sub(V a, V b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
double dot(V a, V b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
V cross(V a, V b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
V unit(V a) {
    const double l = std::sqrt(dot(a, a));
    return {a.x / l, a.y / l, a.z / l};
}

// The overview: viewport (0, 200, 1024, 535), 45 degrees, near 1, far 150, looking from above and
// behind player 1's end of the arena. The window sits at the screen's top-left corner.
int pixel(double px, double py, double pz) {
    const V eye{7.5, -5.7625, 8.541}, centre{7.5, 6.6575, -0.855}, up{0, 0.937, 0.342};
    const V f = unit(sub(centre, eye));
    const V s = unit(cross(f, up));
    const V u = cross(s, f);
    const V rel = sub({px, py, pz}, eye);
    const double xe = dot(s, rel), ye = dot(u, rel), depth = dot(f, rel);
    const double focal = 1.0 / std::tan(45.0 / 2 * M_PI / 180);
    const double aspect = 1024.0 / 535.0;
    const double ndcX = focal / aspect * xe / depth, ndcY = focal * ye / depth;
    const double column = (ndcX + 1) / 2 * 1024;
    const double glRow = 200 + (ndcY + 1) / 2 * 535;
    std::printf("%d %d\n", static_cast<int>(column), static_cast<int>(735 - glRow));
    return 0;
}

int route(uint32_t seed) {
    Setup s(seed);
    int total = 0;
    for (const Step& step : findRoute(s.game.round.world, total))
        std::printf("%s %d\n", directions[step.direction].key, step.cells);
    return 0;
}

// Player 1's corner: cell (0, 2) holds an obstacle, and no creature can reach row 0, (0, 1) or the
// cell the blast opens.
bool bombSeed(Game& game) {
    const Cell& north = game.round.world.cell(0, 2);
    if (!north.hasObstacle)
        return false;
    std::vector<int> mark(size * size, 0);
    markArea(game.round.world, 0, 0, mark, 1, {{0, 2}});
    return !creatureIn(game, mark, 1);
}

// Every creature roams an area of a few cells, and none can reach player 1's route.
bool routeSeed(Game& game, int maxCells) {
    int total = 0;
    const std::vector<Step> steps = findRoute(game.round.world, total);
    if (steps.empty() || total > maxCells)
        return false;
    std::vector<int> mark(size * size, 0);
    markArea(game.round.world, 0, 0, mark, 1);
    return !creatureIn(game, mark, 1);
}

// Player 1 taps forward once (a cell, with steering help, out of its home's shelter), then stands
// still, and is first caught between 5 and 10 seconds into the round: late enough that a tap
// some time after the round starts comes first.
bool catchSeed(Game& game) {
    game.round.steeringHelp = true;
    for (uint32_t tick = 0; tick < 10 * 60; ++tick) {
        KeyState keys;
        keys.player[0][keyForward] = tick == 0;
        tickRound(game.round, keys);
        if (game.round.player1.tally.caught > 0)
            return tick >= 5 * 60;
    }
    return false;
}

int find(const char* what, uint32_t from, uint32_t to) {
    for (uint32_t seed = from; seed <= to; ++seed) {
        Setup s(seed);
        const bool found = std::strcmp(what, "find-bomb") == 0    ? bombSeed(s.game)
                           : std::strcmp(what, "find-catch") == 0 ? catchSeed(s.game)
                                                                  : routeSeed(s.game, 24);
        if (found) {
            std::printf("%u\n", seed);
            return 0;
        }
    }
    return 1;
}

// Plays the keys with the real controls and reports whether player 1 reached the labyrinth.
int walk(uint32_t seed, int count, char** keys) {
    Setup s(seed);
    Game& game = s.game;
    game.gameRunning = true;
    float ms = 0;
    for (int k = 0; k < count; ++k) {
        KeyState held;
        const int index = keys[k][0] == 'r'   ? keyForward
                          : keys[k][0] == 'f' ? keyBack
                          : keys[k][0] == 'g' ? keyRight
                                              : keyLeft;
        held.player[0][index] = true;
        for (int frame = 0; frame < 400; ++frame) {
            game.round.clock.set(ms += 16);
            frameUpdate(game.round, held);
        }
        std::printf("after %s: %.2f %.2f\n", keys[k], game.round.player1.x, game.round.player1.y);
    }
    return game.round.world.freeRoam[0] ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: arena_map obstacles|creatures|route|walk SEED ..., "
                             "pixel X Y Z, find-bomb|find-route|find-catch FROM TO\n");
        return 2;
    }
    const std::string what = argv[1];
    const auto number = [&](int i) { return static_cast<uint32_t>(std::strtoul(argv[i], 0, 10)); };
    if (what == "pixel" && argc == 5)
        return pixel(std::atof(argv[2]), std::atof(argv[3]), std::atof(argv[4]));
    if (what == "obstacles")
        return obstacles(number(2));
    if (what == "creatures")
        return creatures(number(2));
    if (what == "route")
        return route(number(2));
    if (what == "walk")
        return walk(number(2), argc - 3, argv + 3);
    if ((what == "find-bomb" || what == "find-route" || what == "find-catch") && argc == 4)
        return find(argv[1], number(2), number(3));
    std::fprintf(stderr, "arena_map: unknown command %s\n", argv[1]);
    return 2;
}
