// A computer player's knowledge of the labyrinth: its exits agree with the house's doors, and
// its ways lead only through cells its player has seen.
#include "bots/Labyrinth.h"
#include "rules/RoundState.h"
#include "world/ArenaLayout.h"
#include <gtest/gtest.h>

TEST(Labyrinth, EveryExitLeadsThroughAHouseDoorToTheCellInFrontOfIt) {
    for (const arena::HouseDoor& door : arena::houseDoors) {
        const int32_t column = static_cast<int32_t>(door.labyrinthX - arena::labyrinthOrigin);
        const int32_t row = static_cast<int32_t>(door.labyrinthY - arena::labyrinthOrigin);
        const LabyrinthExit* exit = nullptr;
        for (const LabyrinthExit& e : labyrinthExits)
            if (e.column == column && e.row == row)
                exit = &e;
        ASSERT_NE(exit, nullptr) << "door at " << door.column << ", " << door.row;
        EXPECT_EQ(exit->outX, door.outX);
        EXPECT_EQ(exit->outY, door.outY);
        EXPECT_EQ(exit->arenaX, door.column + door.outX);
        EXPECT_EQ(exit->arenaY, door.row + door.outY);
        const int32_t index = static_cast<int32_t>(exit - labyrinthExits);
        EXPECT_EQ(exitNear(door.column, door.row), index) << "on the door";
        EXPECT_EQ(exitNear(exit->arenaX, exit->arenaY), index) << "in front of it";
    }
    EXPECT_EQ(exitNear(0, 0), -1);
    EXPECT_EQ(exitNear(7, 6), -1) << "two cells in front of a door";
}

TEST(Labyrinth, WaysLeadOnOnlyFromCellsSeen) {
    RoundState round(2024);
    setUpRound(round);
    constexpr int32_t n = LabyrinthWays::side;
    const MazeGenerator& maze = round.world.maze;
    LabyrinthSight sight;
    sight.seen[4 + n * 4] = true;
    // Only the middle cell seen: its open sides lead a step on, no farther.
    LabyrinthWays ways = labyrinthWays(sight, maze, 4, 4);
    int32_t steps = 0;
    for (int32_t c = 0; c < n; ++c)
        for (int32_t r = 0; r < n; ++r) {
            const bool next =
                std::abs(c - 4) + std::abs(r - 4) == 1 && labyrinthOpen(maze, 4, 4, c - 4, r - 4);
            EXPECT_EQ(ways.dist[c][r], c == 4 && r == 4 ? 0 : next ? 1 : -1) << c << ", " << r;
            steps += next;
        }
    EXPECT_GT(steps, 0) << "a labyrinth cell has a way on";

    // All of it seen: every cell is reached, each a step farther than a neighbour it opens to,
    // and the way to it starts with a step to a neighbour of the start.
    std::fill(std::begin(sight.seen), std::end(sight.seen), true);
    ways = labyrinthWays(sight, maze, 4, 4);
    for (int32_t c = 0; c < n; ++c)
        for (int32_t r = 0; r < n; ++r) {
            ASSERT_GE(ways.dist[c][r], 0) << c << ", " << r;
            if (ways.dist[c][r] == 0)
                continue;
            int32_t nearer = 0;
            for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
                nearer += labyrinthOpen(maze, c, r, dx, dy) &&
                          ways.dist[c + dx][r + dy] == ways.dist[c][r] - 1;
            EXPECT_GT(nearer, 0) << c << ", " << r;
            int32_t sc = -1, sr = -1;
            ways.firstStepTo(c, r, sc, sr);
            EXPECT_EQ(ways.dist[sc][sr], 1) << c << ", " << r;
            EXPECT_TRUE(labyrinthOpen(maze, 4, 4, sc - 4, sr - 4));
        }
}
