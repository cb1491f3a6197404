#pragma once
#include "bots/BurnMap.h"
#include <cstdint>

// A set of arena cells: bit x of row y. A path search grows whole rows at once.
struct CellSet {
    static constexpr int32_t side = BurnMap::side;
    static constexpr uint16_t fullRow = (1u << side) - 1;
    uint16_t row[side] = {};

    bool has(int32_t x, int32_t y) const { return (row[y] >> x & 1) != 0; }
    void add(int32_t x, int32_t y) { row[y] = static_cast<uint16_t>(row[y] | 1u << x); }
    void drop(int32_t x, int32_t y) { row[y] = static_cast<uint16_t>(row[y] & ~(1u << x)); }
    bool empty() const {
        for (uint16_t r : row)
            if (r)
                return false;
        return true;
    }
    static CellSet all() {
        CellSet s;
        for (uint16_t& r : s.row)
            r = fullRow;
        return s;
    }
};

// The cells one step from the set along the axes, and the set itself.
inline CellSet spread(const CellSet& s) {
    constexpr int32_t side = CellSet::side;
    CellSet out;
    for (int32_t y = 0; y < side; ++y) {
        uint32_t r = s.row[y] | (s.row[y] << 1) | (s.row[y] >> 1);
        if (y > 0)
            r |= s.row[y - 1];
        if (y + 1 < side)
            r |= s.row[y + 1];
        out.row[y] = static_cast<uint16_t>(r & CellSet::fullRow);
    }
    return out;
}

// The set moved by one step (dx, dy), cells falling off the arena dropped.
inline CellSet shifted(const CellSet& s, int32_t dx, int32_t dy) {
    constexpr int32_t side = CellSet::side;
    CellSet out;
    for (int32_t y = 0; y < side; ++y) {
        const int32_t from = y - dy;
        if (from < 0 || from >= side)
            continue;
        const uint32_t r = s.row[from];
        out.row[y] = static_cast<uint16_t>((dx > 0   ? r << 1
                                            : dx < 0 ? r >> 1
                                                     : r) &
                                           CellSet::fullRow);
    }
    return out;
}
