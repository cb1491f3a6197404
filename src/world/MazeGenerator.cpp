#include "world/MazeGenerator.h"
#include "scene/RandomGenerator.h"
#include <cstring>

DisjointSets::DisjointSets() {
    for (int32_t i = 0; i < 81; ++i) {
        parent[i] = i;
        rank[i] = 0;
    }
}

int32_t DisjointSets::find(int32_t i) {
    if (parent[i] == i)
        return i;
    parent[i] = find(parent[i]);
    return parent[i];
}

void DisjointSets::unite(int32_t a, int32_t b) {
    int32_t ra = find(a);
    int32_t rb = find(b);
    if (ra == rb)
        return;
    if (rank[ra] < rank[rb]) {
        parent[ra] = rb;
    } else if (rank[rb] < rank[ra]) {
        parent[rb] = ra;
    } else {
        parent[ra] = rb;
        ++rank[rb];
    }
    --setCount;
}

MazeGenerator::MazeGenerator() {
    std::memset(wallPosY, 1, sizeof wallPosY);
    std::memset(wallPosX, 1, sizeof wallPosX);
}

void MazeGenerator::generate(RandomGenerator& random) {

    const int32_t n = size;
    const int32_t cellCount = n * n;
    // Wall w < cellCount is the +x wall of cell w, otherwise the +y wall of cell w - cellCount.
    // The outer +x and +y walls are never candidates, so only the inner walls fall and the
    // result is a spanning tree of the cells.
    while (sets.setCount > 1) {
        int32_t w = random.nextInt(0, 2 * cellCount - 1);
        if (w >= 2 * cellCount - n)
            continue;
        if (w < cellCount && (w + 1) % n == 0)
            continue;
        if (w < cellCount) {
            if (wallPosX[w] != 0 && sets.find(w) != sets.find(w + 1)) {
                wallPosX[w] = 0;
                sets.unite(w, w + 1);
            }
        } else {
            int32_t v = w - cellCount;
            if (wallPosY[v] != 0 && sets.find(v) != sets.find(v + n)) {
                wallPosY[v] = 0;
                sets.unite(v, v + n);
            }
        }
    }

    // The +x door in the middle of column 8 and the +y door in the middle of row 8; the -x and
    // -y doors are gaps in the unstored outer walls.
    wallPosX[(n + 1) * n / 2 - 1] = 0;
    wallPosY[cellCount - (n + 1) / 2] = 0;
}
