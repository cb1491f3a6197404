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

    // The list that draws `obstacle` at the origin, compiling it when no list has its shape and
    // colour yet (needs GL).
    unsigned int listFor(const Obstacle& obstacle);
    int size() const { return static_cast<int>(lists.size()); }

  private:
    // Every shape number and the three colour components.
    static constexpr int keySize = 9 + 3;
    // More than one round's obstacles, whose shapes are drawn from a few random numbers each.
    static constexpr std::size_t maxShapes = 256;
    struct Compiled {
        float key[keySize];
        unsigned int list;
    };
    std::vector<Compiled> lists;
    void forgetAll();
};
