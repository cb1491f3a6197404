#include "scene/RandomGenerator.h"
#include "world/MazeGenerator.h"
#include "world/TestWorld.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

// Cells reachable from cell 0 through cleared walls.
int reachableCells(const MazeGenerator& maze) {
    std::vector<bool> seen(81, false);
    std::vector<int> stack{0};
    seen[0] = true;
    int count = 0;
    while (!stack.empty()) {
        int k = stack.back();
        stack.pop_back();
        ++count;
        int col = k % 9, row = k / 9;
        std::vector<int> next;
        if (col < 8 && maze.wallPosX[k] == 0)
            next.push_back(k + 1);
        if (col > 0 && maze.wallPosX[k - 1] == 0)
            next.push_back(k - 1);
        if (row < 8 && maze.wallPosY[k] == 0)
            next.push_back(k + 9);
        if (row > 0 && maze.wallPosY[k - 9] == 0)
            next.push_back(k - 9);
        for (int n : next)
            if (!seen[n]) {
                seen[n] = true;
                stack.push_back(n);
            }
    }
    return count;
}

int clearedInnerWalls(const MazeGenerator& maze) {
    int cleared = 0;
    for (int k = 0; k < 81; ++k) {
        if (k % 9 < 8 && maze.wallPosX[k] == 0)
            ++cleared;
        if (k / 9 < 8 && maze.wallPosY[k] == 0)
            ++cleared;
    }
    return cleared;
}

bool isInnerWall(int w) {
    return w < 153 && !(w < 81 && (w + 1) % 9 == 0);
}

// A seed whose first wall draw is the given wall number and whose second is an inner wall.
uint32_t seedWithFirstDraw(int wall) {
    for (uint32_t seed = 1;; ++seed) {
        RandomGenerator probe(seed);
        if (probe.nextInt(0, 161) == wall && isInnerWall(probe.nextInt(0, 161)))
            return seed;
    }
}

} // namespace

TEST(DisjointSets, UnionByRankAndCompression) {
    DisjointSets sets;
    EXPECT_EQ(sets.setCount, 81);
    for (int i = 0; i < 81; ++i)
        EXPECT_EQ(sets.find(i), i);

    // Equal ranks: the first root goes under the second, which grows.
    sets.unite(3, 4);
    EXPECT_EQ(sets.find(3), 4);
    EXPECT_EQ(sets.rank[4], 1);
    EXPECT_EQ(sets.setCount, 80);

    // The lower-ranked root goes under the higher one whichever side it is on.
    sets.unite(4, 7);
    EXPECT_EQ(sets.find(7), 4);
    sets.unite(9, 3);
    EXPECT_EQ(sets.find(9), 4);
    EXPECT_EQ(sets.setCount, 78);

    sets.unite(7, 9);
    EXPECT_EQ(sets.setCount, 78);

    // A chain built by hand is flattened by one find.
    sets.parent[20] = 21;
    sets.parent[21] = 22;
    EXPECT_EQ(sets.find(20), 22);
    EXPECT_EQ(sets.parent[20], 22);
}

TEST(MazeGenerator, StartsWithEveryWallStanding) {
    RandomGenerator random(5);
    MazeGenerator maze;
    EXPECT_EQ(maze.size, 9);
    EXPECT_FLOAT_EQ(maze.wallHeight, 0.8f);
    EXPECT_FLOAT_EQ(maze.wallThickness, 0.05f);
    for (int k = 0; k < 81; ++k) {
        EXPECT_EQ(maze.wallPosX[k], 1);
        EXPECT_EQ(maze.wallPosY[k], 1);
    }
}

TEST(MazeGenerator, LabyrinthIsASpanningTreeWithFourDoors) {
    for (uint32_t seed : {1u, 42u, 1234567u, 0xdeadbeefu}) {
        RandomGenerator random(seed);
        MazeGenerator maze;
        maze.generate(random);
        EXPECT_EQ(maze.sets.setCount, 1);
        EXPECT_EQ(reachableCells(maze), 81) << "seed " << seed;
        EXPECT_EQ(clearedInnerWalls(maze), 80) << "seed " << seed;

        // Outer +x and +y walls stand, but for the doors of row 4 and column 4.
        for (int row = 0; row < 9; ++row)
            EXPECT_EQ(maze.wallPosX[row * 9 + 8], row == 4 ? 0 : 1) << "row " << row;
        for (int col = 0; col < 9; ++col)
            EXPECT_EQ(maze.wallPosY[72 + col], col == 4 ? 0 : 1) << "column " << col;
    }
}

TEST(MazeGenerator, SameSeedSameLabyrinthOtherSeedAnother) {
    RandomGenerator a(777), b(777), c(778);
    MazeGenerator ma, mb, mc;
    ma.generate(a);
    mb.generate(b);
    mc.generate(c);
    EXPECT_EQ(std::vector<uint8_t>(ma.wallPosX, ma.wallPosX + 81),
              std::vector<uint8_t>(mb.wallPosX, mb.wallPosX + 81));
    EXPECT_EQ(std::vector<uint8_t>(ma.wallPosY, ma.wallPosY + 81),
              std::vector<uint8_t>(mb.wallPosY, mb.wallPosY + 81));
    bool differs = false;
    for (int k = 0; k < 81; ++k)
        differs = differs || ma.wallPosX[k] != mc.wallPosX[k] || ma.wallPosY[k] != mc.wallPosY[k];
    EXPECT_TRUE(differs);
}

TEST(MazeGenerator, OuterWallDrawsAreRejectedWithoutChange) {
    // Wall 161 is the +y wall of cell 80, wall 8 the +x wall of cell 8: both outer walls. With
    // only two sets left, a rejected first draw must leave everything as it was, and the second
    // (inner) draw is the one that joins the sets and ends the generation.
    for (int outer : {161, 8}) {
        RandomGenerator random(seedWithFirstDraw(outer));
        RandomGenerator replay = random;
        replay.nextInt(0, 161);
        int second = replay.nextInt(0, 161);

        MazeGenerator maze;
        maze.sets.setCount = 2;
        maze.generate(random);
        EXPECT_EQ(maze.wallPosY[80], 1);
        EXPECT_EQ(maze.wallPosX[8], 1);
        EXPECT_EQ(clearedInnerWalls(maze), 1);
        if (second < 81)
            EXPECT_EQ(maze.wallPosX[second], 0);
        else
            EXPECT_EQ(maze.wallPosY[second - 81], 0);
        EXPECT_EQ(maze.sets.setCount, 1);
        EXPECT_TRUE(sameGeneratorState(random, replay));
    }
}
