#pragma once
#include <cstddef>
#include <vector>

struct Obstacle;

// An obstacle's shape and colour never change, yet building its arches and wheels takes a few
// thousand vertices: each shape is compiled into a display list the first time it is drawn and
// replayed after that, in every view of every frame.
class ObstacleLists {
  public:
    ObstacleLists() = default;
    ~ObstacleLists();
    ObstacleLists(const ObstacleLists&) = delete;
    ObstacleLists& operator=(const ObstacleLists&) = delete;

    // The list that draws `obstacle` at the origin, `coarse` or not, compiling it when no list
    // has its shape, colour and cut yet (needs GL).
    unsigned int listFor(const Obstacle& obstacle, bool coarse = false);
    int size() const { return static_cast<int>(lists.size()); }

  private:
    // Every shape number, the three colour components and the cut.
    static constexpr int keySize = 9 + 3 + 1;
    // More than one round's obstacles in both cuts, whose shapes are drawn from a few random
    // numbers each.
    static constexpr std::size_t maxShapes = 256;
    struct Compiled {
        float key[keySize];
        unsigned int list;
    };
    std::vector<Compiled> lists;
    void forgetAll();
};
