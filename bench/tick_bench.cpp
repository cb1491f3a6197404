// What the round costs without drawing: one tick (each of a whole six-minute round of random
// keys, mean, 99th percentile and maximum), a copy of the whole round, and its fingerprint. A
// computer player looks ahead and the network rolls back on copies, so these say how far each
// can go in a frame.
//   tick_bench [rounds, default 3]
#include "rules/WorldHash.h"
#include "rules/RoundState.h"
#include "rules/RoundTick.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

double microseconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::micro>(to - from).count();
}

struct Figures {
    double mean, p99, max;
};

Figures figures(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    double sum = 0;
    for (double x : v)
        sum += x;
    return {sum / static_cast<double>(v.size()), v[v.size() * 99 / 100], v.back()};
}

// Keys as a restless player presses them: each held for a random run of ticks.
KeyState nextKeys(RandomGenerator& random, KeyState& held, int& left) {
    if (--left <= 0) {
        held = KeyState{};
        for (int p = 0; p < 2; ++p) {
            held.player[p][random.nextInt(0, playerKeyCount - 1)] = true;
            held.player[p][keyForward] = random.nextInt(0, 2) != 0;
        }
        left = random.nextInt(1, 40);
    }
    return held;
}
} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    std::vector<double> ticks, copies, hashes;
    uint64_t checksum = 0;
    for (int r = 0; r < rounds; ++r) {
        RoundState round(900 + r);
        setUpRound(round);
        RandomGenerator random(31 + r);
        KeyState held;
        int left = 0;
        while (!round.roundOver) {
            const KeyState keys = nextKeys(random, held, left);
            const auto t0 = Clock::now();
            tickRound(round, keys);
            ticks.push_back(microseconds(t0, Clock::now()));
            if (round.ticks % 200 == 0) {
                const auto c0 = Clock::now();
                RoundState copy = round;
                const auto c1 = Clock::now();
                checksum ^= hashWorld(copy);
                const auto c2 = Clock::now();
                copies.push_back(microseconds(c0, c1));
                hashes.push_back(microseconds(c1, c2));
            }
        }
    }
    std::printf("%d rounds, %zu ticks (fingerprints xor %016llx)\n", rounds, ticks.size(),
                static_cast<unsigned long long>(checksum));
    std::printf("%-28s %10s %10s %10s\n", "", "mean us", "p99 us", "max us");
    const struct {
        const char* name;
        Figures f;
    } rows[] = {{"one tick", figures(ticks)},
                {"a copy of the round", figures(copies)},
                {"the round's fingerprint", figures(hashes)}};
    for (const auto& row : rows)
        std::printf("%-28s %10.2f %10.2f %10.2f\n", row.name, row.f.mean, row.f.p99, row.f.max);
    return 0;
}
