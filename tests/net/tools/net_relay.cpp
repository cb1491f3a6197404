// A poor path between two network sides, for tests and benchmarks: the guest sends to the
// relay's port on 127.0.0.1, the relay passes each datagram on to the host's port (and the
// host's answers back to the guest) after a delay with jitter, so that datagrams overtake one
// another, losing a share and sending a share twice. Every choice follows from a fixed seed.
// It sends only to 127.0.0.1 and stops by itself after the given time.
//
//   net_relay LISTEN_PORT HOST_PORT SECONDS [--delay MS] [--jitter MS] [--loss SHARE]
//             [--twice SHARE] [--seed N] [--cut-after SECONDS]
//
// --delay is one way (half the round trip); --cut-after drops everything from that moment on,
// as a pulled cable would. Prints what it passed, lost and doubled when it stops.
#include <arpa/inet.h>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <queue>
#include <random>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

struct Datagram {
    Clock::time_point due;
    uint64_t order; // equal times leave in the order they came
    bool toHost;
    std::string bytes;
    bool operator>(const Datagram& other) const {
        return due != other.due ? due > other.due : order > other.order;
    }
};

int loopbackSocket(uint16_t port) {
    const int s = socket(AF_INET, SOCK_DGRAM, 0);
    if (s < 0)
        return -1;
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_port = htons(port);
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(s, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0) {
        close(s);
        return -1;
    }
    return s;
}

bool number(const char* text, double low, double high, double& value) {
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == '\0' && value >= low && value <= high;
}
} // namespace

int main(int argc, char** argv) {
    double listenPort = 0, hostPort = 0, seconds = 0;
    if (argc < 4 || !number(argv[1], 1, 65535, listenPort) ||
        !number(argv[2], 1, 65535, hostPort) || !number(argv[3], 0.1, 3600, seconds)) {
        std::fprintf(stderr, "usage: net_relay LISTEN_PORT HOST_PORT SECONDS [--delay MS] "
                             "[--jitter MS] [--loss SHARE] [--twice SHARE] [--seed N] "
                             "[--cut-after SECONDS]\n");
        return 2;
    }
    double delay = 0, jitter = 0, loss = 0, twice = 0, seed = 1, cutAfter = 1e9;
    for (int i = 4; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const bool fine = name == "--delay"       ? number(argv[i + 1], 0, 5000, delay)
                          : name == "--jitter"    ? number(argv[i + 1], 0, 5000, jitter)
                          : name == "--loss"      ? number(argv[i + 1], 0, 1, loss)
                          : name == "--twice"     ? number(argv[i + 1], 0, 1, twice)
                          : name == "--seed"      ? number(argv[i + 1], 0, 4294967295.0, seed)
                          : name == "--cut-after" ? number(argv[i + 1], 0, 3600, cutAfter)
                                                  : false;
        if (!fine) {
            std::fprintf(stderr, "net_relay: %s %s: not understood\n", argv[i], argv[i + 1]);
            return 2;
        }
    }
    if (jitter > delay)
        jitter = delay;

    // The guest's side listens on the relay's port; the host's side is an ephemeral port.
    const int guestSide = loopbackSocket(static_cast<uint16_t>(listenPort));
    const int hostSide = loopbackSocket(0);
    if (guestSide < 0 || hostSide < 0) {
        std::fprintf(stderr, "net_relay: port %g cannot be opened\n", listenPort);
        return 2;
    }
    sockaddr_in host{};
    host.sin_family = AF_INET;
    host.sin_port = htons(static_cast<uint16_t>(hostPort));
    host.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sockaddr_in guest{};
    bool guestKnown = false;

    std::mt19937_64 random(static_cast<uint64_t>(seed));
    std::uniform_real_distribution<double> share(0, 1);
    std::priority_queue<Datagram, std::vector<Datagram>, std::greater<Datagram>> held;
    uint64_t order = 0, passed = 0, lost = 0, doubled = 0;
    const Clock::time_point start = Clock::now();
    const Clock::time_point stop =
        start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    const Clock::time_point cut = start + std::chrono::duration_cast<Clock::duration>(
                                              std::chrono::duration<double>(cutAfter));

    auto hold = [&](bool toHost, const char* data, size_t size) {
        const Clock::time_point now = Clock::now();
        if (now >= cut || share(random) < loss) {
            ++lost;
            return;
        }
        const int copies = share(random) < twice ? 2 : 1;
        doubled += copies - 1;
        for (int c = 0; c < copies; ++c) {
            const double ms = delay + (share(random) * 2 - 1) * jitter;
            held.push({now + std::chrono::duration_cast<Clock::duration>(
                                 std::chrono::duration<double, std::milli>(ms)),
                       order++, toHost, std::string(data, size)});
        }
    };

    char buffer[65536];
    while (Clock::now() < stop) {
        int waitMs = 5;
        if (!held.empty()) {
            const auto until =
                std::chrono::duration_cast<std::chrono::milliseconds>(held.top().due - Clock::now())
                    .count();
            waitMs = static_cast<int>(std::max<long long>(0, std::min<long long>(until, 5)));
        }
        pollfd ends[2] = {{guestSide, POLLIN, 0}, {hostSide, POLLIN, 0}};
        poll(ends, 2, waitMs);
        for (;;) {
            sockaddr_in from{};
            socklen_t length = sizeof from;
            const ssize_t n = recvfrom(guestSide, buffer, sizeof buffer, MSG_DONTWAIT,
                                       reinterpret_cast<sockaddr*>(&from), &length);
            if (n < 0)
                break;
            // Only a side on this machine is relayed.
            if (from.sin_addr.s_addr != htonl(INADDR_LOOPBACK))
                continue;
            guest = from;
            guestKnown = true;
            hold(true, buffer, static_cast<size_t>(n));
        }
        for (;;) {
            const ssize_t n = recv(hostSide, buffer, sizeof buffer, MSG_DONTWAIT);
            if (n < 0)
                break;
            hold(false, buffer, static_cast<size_t>(n));
        }
        const Clock::time_point now = Clock::now();
        while (!held.empty() && held.top().due <= now) {
            const Datagram& d = held.top();
            if (d.toHost)
                sendto(hostSide, d.bytes.data(), d.bytes.size(), 0,
                       reinterpret_cast<const sockaddr*>(&host), sizeof host);
            else if (guestKnown)
                sendto(guestSide, d.bytes.data(), d.bytes.size(), 0,
                       reinterpret_cast<const sockaddr*>(&guest), sizeof guest);
            ++passed;
            held.pop();
        }
    }
    std::fprintf(stderr, "net_relay: passed %llu, lost %llu, doubled %llu\n",
                 static_cast<unsigned long long>(passed), static_cast<unsigned long long>(lost),
                 static_cast<unsigned long long>(doubled));
    return 0;
}
