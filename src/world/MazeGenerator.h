#pragma once
#include <cstdint>

class RandomGenerator;

// Union-find over the 81 labyrinth cells, with full path compression and union by rank.
struct DisjointSets {
    int32_t setCount = 81;
    int32_t parent[81];
    int32_t rank[81];

    DisjointSets();
    int32_t find(int32_t i);
    void unite(int32_t a, int32_t b);
};

// The 9 by 9 labyrinth at world coordinates 100..109, a perfect maze made by randomised Kruskal.
// Cell k has column k % 9 and row k / 9.
// A plain value; generate draws from the round's generator.
class MazeGenerator {
  public:
    MazeGenerator();

    // Runs the wall removal and opens the two stored doors.
    void generate(RandomGenerator& random);

    int32_t size = 9;
    uint8_t wallPosY[81]; // a wall on the +y side of cell k
    uint8_t wallPosX[81]; // a wall on the +x side of cell k
    float wallHeight = 0.8f;
    float wallThickness = 0.05f;
    DisjointSets sets;
};
