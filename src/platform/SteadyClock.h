#pragma once
#include <chrono>
#include <cstdint>

// Real time in milliseconds on a clock that never goes back: for waiting on the network, never
// for the round, which counts ticks.
inline uint64_t steadyMs() {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}
