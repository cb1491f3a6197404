// What the network round costs one machine a frame when the other is far away: two rollback
// sides in one process, keys held back 15 ticks each way (a 250 ms round trip), each side
// changing its keys every 9 or 11 frames, and the fingerprint taken every 60 confirmed ticks as
// the network round does. Prints the thread's processor time per frame of one side (settle and
// one tick ahead): what other programs on the machine do not change much.
//   rollback_bench [rounds, default 4]
#include "net/Rollback.h"
#include "rules/KeyState.h"
#include "rules/RoundTick.h"
#include "rules/WorldHash.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <vector>

namespace {
double threadMicroseconds() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

struct InFlight {
    int arrives;
    uint32_t tick;
    uint16_t keys;
};

// One machine's side: its round, its rollback and the keys on their way to it.
struct Side {
    explicit Side(int player, uint32_t seed) : round(seed), rollback(player, setUp(round)) {}
    static RoundState& setUp(RoundState& r) {
        setUpRound(r);
        return r;
    }
    RoundState round;
    Rollback rollback;
    std::deque<InFlight> incoming;
    uint64_t fingerprints = 0;

    // Settles with what has arrived by `frame`, then runs one tick ahead with `own`; answers the
    // keys sent, or nothing when it had to wait.
    bool frame(int frame, const KeyState& own, InFlight& sent) {
        while (!incoming.empty() && incoming.front().arrives <= frame) {
            rollback.addRemote(incoming.front().tick, incoming.front().keys);
            incoming.pop_front();
        }
        rollback.settle([&](const RoundState& r, const KeyState&) {
            if ((r.ticks - 1) % 60 == 0)
                fingerprints ^= hashWorld(r);
        });
        if (!rollback.canAdvance())
            return false;
        sent = {frame, round.ticks, packKeys(own)};
        rollback.advance(own);
        // As the game's frame does: what the ticks told is taken to be shown and played.
        rollback.takeEvents();
        return true;
    }
};
} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 4;
    constexpr int delayTicks = 15;
    std::vector<double> frames;
    bool agreed = true;
    for (int r = 1; r <= rounds; ++r) {
        Side host(1, static_cast<uint32_t>(r)), guest(2, static_cast<uint32_t>(r));
        RandomGenerator random(static_cast<uint32_t>(1000 + r));
        KeyState hostKeys, guestKeys;
        for (int f = 0; f < 3600; ++f) {
            if (f % 9 == 0) {
                hostKeys = KeyState{};
                hostKeys.player[0][random.nextInt(0, playerKeyCount - 1)] = true;
            }
            if (f % 11 == 0) {
                guestKeys = KeyState{};
                guestKeys.player[1][random.nextInt(0, playerKeyCount - 1)] = true;
            }
            InFlight sent{};
            const double start = threadMicroseconds();
            const bool hostRan = host.frame(f, hostKeys, sent);
            frames.push_back(threadMicroseconds() - start);
            if (hostRan)
                guest.incoming.push_back({f + delayTicks, sent.tick, sent.keys});
            if (guest.frame(f, guestKeys, sent))
                host.incoming.push_back({f + delayTicks, sent.tick, sent.keys});
        }
        agreed = agreed && host.fingerprints == guest.fingerprints;
    }
    std::sort(frames.begin(), frames.end());
    double sum = 0;
    for (double t : frames)
        sum += t;
    std::printf("%d rounds of 3600 frames at a 250 ms round trip, both sides' fingerprints %s\n",
                rounds, agreed ? "the same" : "DIFFERENT");
    std::printf("processor time a frame: mean %.1f us, 99th percentile %.1f us, maximum %.1f us\n",
                sum / static_cast<double>(frames.size()), frames[frames.size() * 99 / 100],
                frames.back());
}
