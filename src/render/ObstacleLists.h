#pragma once
#include "render/ObjectDrawing.h"
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

    // The list that draws `obstacle` at the origin in `cut`, compiling it when no list has its
    // shape, colour and cut yet (needs GL).
    unsigned int listFor(const Obstacle& obstacle, ObstacleCut cut = {});
    int size() const { return static_cast<int>(lists.size()); }

  private:
    // Every shape number, the three colour components and the cut's two counts.
    static constexpr int keySize = 9 + 3 + 2;
    // More than one round's obstacles (seven colours) in all the cuts a view asks for.
    static constexpr std::size_t maxShapes = 256;
    struct Compiled {
        float key[keySize];
        unsigned int list;
    };
    std::vector<Compiled> lists;
    void forgetAll();
};
