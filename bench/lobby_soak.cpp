// The real tuvo-lobby on the loopback address under load, measured: rooms made and joined a
// second, the join time of 200 pairs arriving at once, the join time of pairs while 512 silent
// connections are held, and the lobby's memory as 100,000 addresses pass. Every address is one
// of 127.0.0.0/8, so nothing leaves this machine. A benchmark: it measures and never fails on a
// time.
//   lobby_soak TUVO_LOBBY [ADDRESSES]
#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;
uint16_t port = 0;
pid_t lobby = -1;
uint32_t used = 0;

double msSince(Clock::time_point t) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

// 127.1.0.1 and on: a new address each call.
uint32_t fresh() {
    ++used;
    return (127u << 24) + (1u << 16) + used;
}

int connectFrom(uint32_t from) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in here{}, there{};
    here.sin_family = there.sin_family = AF_INET;
    here.sin_addr.s_addr = htonl(from);
    there.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    there.sin_port = htons(port);
    if (bind(fd, reinterpret_cast<sockaddr*>(&here), sizeof here) != 0 ||
        (connect(fd, reinterpret_cast<sockaddr*>(&there), sizeof there) != 0 &&
         errno != EINPROGRESS)) {
        close(fd);
        return -1;
    }
    return fd;
}

// The lobby's processor time so far, in milliseconds.
double lobbyCpuMs() {
    std::ifstream stat("/proc/" + std::to_string(lobby) + "/stat");
    std::string all((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const size_t after = all.rfind(')');
    if (after == std::string::npos)
        return -1;
    std::istringstream fields(all.substr(after + 2));
    std::string field;
    double ticks = 0;
    for (int n = 3; n <= 15 && fields >> field; ++n)
        if (n == 14 || n == 15)
            ticks += std::stod(field);
    return ticks * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

long residentKib() {
    std::ifstream status("/proc/" + std::to_string(lobby) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

// One side of a pair, driven by what it hears.
struct Side {
    int fd = -1;
    std::string in, out;
    int heard = 0; // lines
    bool done = false, failed = false;
};

// A host and a guest doing as the game does; `joinMs` is from the guest's connection to its
// PEER line.
struct Pair {
    Side host, guest;
    std::string code;
    bool guestAsked = false;
    Clock::time_point guestStart;
    double joinMs = -1;
};

void send(Side& s, const std::string& line) {
    s.out += line + "\n";
}

void flush(Side& s) {
    while (!s.out.empty()) {
        const ssize_t n = ::send(s.fd, s.out.data(), s.out.size(), MSG_NOSIGNAL);
        if (n <= 0)
            return;
        s.out.erase(0, static_cast<size_t>(n));
    }
}

// Lines heard by a side, in order; false when it was hung up on.
bool hear(Side& s, std::vector<std::string>& lines) {
    char buffer[8192];
    for (;;) {
        const ssize_t got = recv(s.fd, buffer, sizeof buffer, 0);
        if (got == 0)
            return false;
        if (got < 0)
            return errno == EAGAIN;
        s.in.append(buffer, static_cast<size_t>(got));
        size_t end;
        while ((end = s.in.find('\n')) != std::string::npos) {
            lines.push_back(s.in.substr(0, end));
            s.in.erase(0, end + 1);
        }
    }
}

// Runs pairs to their end: each host asks for a room as soon as it is connected, each guest
// joins once its host has a code (connecting then, unless `guestsAtOnce`).
void run(std::vector<Pair>& pairs, bool guestsAtOnce) {
    for (Pair& p : pairs) {
        p.host.fd = connectFrom(fresh());
        send(p.host, "HOST 2");
        if (guestsAtOnce) {
            p.guest.fd = connectFrom(fresh());
            p.guestStart = Clock::now();
        }
    }
    const auto until = Clock::now() + std::chrono::seconds(30);
    for (;;) {
        std::vector<pollfd> watched;
        std::vector<Side*> sides;
        for (Pair& p : pairs)
            for (Side* s : {&p.host, &p.guest})
                if (s->fd >= 0 && !s->done && !s->failed) {
                    watched.push_back(
                        {s->fd, static_cast<short>(POLLIN | (s->out.empty() ? 0 : POLLOUT)), 0});
                    sides.push_back(s);
                }
        if (watched.empty() || Clock::now() > until)
            break;
        poll(watched.data(), watched.size(), 100);
        for (size_t n = 0; n < watched.size(); ++n) {
            Side& s = *sides[n];
            if (watched[n].revents & POLLOUT)
                flush(s);
            if (!(watched[n].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            std::vector<std::string> lines;
            const bool open = hear(s, lines);
            Pair& p = pairs[static_cast<size_t>(
                std::find_if(pairs.begin(), pairs.end(),
                             [&](const Pair& q) { return &q.host == &s || &q.guest == &s; }) -
                pairs.begin())];
            for (const std::string& line : lines) {
                ++s.heard;
                if (line.rfind("ERROR", 0) == 0) {
                    s.failed = true;
                } else if (line.rfind("ROOM ", 0) == 0) {
                    p.code = line.substr(5);
                } else if (line.rfind("TURN ", 0) == 0) {
                    send(s, &s == &p.host ? "ICE aG9zdA==" : "ICE Z3Vlc3Q=");
                    flush(s);
                } else if (line.rfind("PEER ", 0) == 0) {
                    s.done = true;
                    if (&s == &p.guest)
                        p.joinMs = msSince(p.guestStart);
                }
            }
            if (!open && !s.done)
                s.failed = true;
        }
        for (Pair& p : pairs) {
            if (p.code.empty() || p.guestAsked)
                continue;
            if (p.guest.fd < 0) {
                p.guest.fd = connectFrom(fresh());
                p.guestStart = Clock::now();
            }
            send(p.guest, "JOIN 2 " + p.code);
            flush(p.guest);
            p.guestAsked = true;
        }
    }
    for (Pair& p : pairs)
        for (Side* s : {&p.host, &p.guest})
            if (s->fd >= 0)
                close(s->fd);
}

struct Spread {
    size_t joined = 0, all = 0;
    double p50 = 0, p99 = 0, most = 0;
};
Spread spread(const std::vector<Pair>& pairs) {
    std::vector<double> ms;
    for (const Pair& p : pairs)
        if (p.joinMs >= 0)
            ms.push_back(p.joinMs);
    std::sort(ms.begin(), ms.end());
    Spread s;
    s.all = pairs.size();
    s.joined = ms.size();
    if (!ms.empty()) {
        s.p50 = ms[ms.size() / 2];
        s.p99 = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
        s.most = ms.back();
    }
    return s;
}

void startLobby(const char* program) {
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof a;
    bind(probe, reinterpret_cast<sockaddr*>(&a), sizeof a);
    getsockname(probe, reinterpret_cast<sockaddr*>(&a), &length);
    port = ntohs(a.sin_port);
    close(probe);
    const std::string secret = "/tmp/tuvo-lobby-soak-" + std::to_string(getpid());
    std::ofstream(secret) << "s3cret\n";
    lobby = fork();
    if (lobby == 0) {
        const std::string listen = "127.0.0.1:" + std::to_string(port);
        execl(program, program, "--listen", listen.c_str(), "--turn", "203.0.113.1", "--turn",
              "203.0.113.2", "--turn-secret", secret.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    for (int n = 0; n < 500; ++n) {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        to.sin_port = htons(port);
        const bool up = connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
        close(fd);
        if (up)
            break;
        usleep(10000);
    }
    unlink(secret.c_str());
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: lobby_soak TUVO_LOBBY [ADDRESSES]\n");
        return 2;
    }
    const int addresses = argc > 2 ? std::atoi(argv[2]) : 100000;
    rlimit files{};
    getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = files.rlim_max;
    setrlimit(RLIMIT_NOFILE, &files);
    std::signal(SIGPIPE, SIG_IGN);
    startLobby(argv[1]);
    std::printf("| measure | value |\n| --- | ---: |\n");
    std::printf("| lobby's memory at start | %ld KiB |\n", residentKib());

    // Rooms a second: pairs fifty at a time, for five seconds.
    {
        const auto start = Clock::now();
        size_t joined = 0;
        while (msSince(start) < 5000) {
            std::vector<Pair> pairs(50);
            run(pairs, false);
            joined += spread(pairs).joined;
        }
        std::printf("| rooms made and joined a second (50 pairs at a time) | %.0f |\n",
                    joined / (msSince(start) / 1000));
    }
    // Two hundred pairs at once.
    {
        std::vector<Pair> pairs(200);
        const double cpu = lobbyCpuMs();
        const auto start = Clock::now();
        run(pairs, true);
        const double wall = msSince(start), used = lobbyCpuMs() - cpu;
        const Spread s = spread(pairs);
        std::printf("| 200 pairs at once: the lobby's processor time, all done after | %.0f ms, "
                    "%.0f ms |\n",
                    used, wall);
        std::printf("| 200 pairs at once: joined | %zu of %zu |\n", s.joined, s.all);
        std::printf("| 200 pairs at once: join p50, p99, slowest | %.1f, %.1f, %.1f ms |\n", s.p50,
                    s.p99, s.most);
    }
    // Pairs while 64 addresses hold eight silent connections each.
    {
        std::vector<int> held;
        for (int a = 0; a < 64; ++a) {
            const uint32_t from = fresh();
            for (int n = 0; n < 8; ++n)
                held.push_back(connectFrom(from));
        }
        std::vector<Pair> all;
        for (int round = 0; round < 10; ++round) {
            std::vector<Pair> pairs(10);
            run(pairs, false);
            all.insert(all.end(), pairs.begin(), pairs.end());
        }
        const Spread s = spread(all);
        std::printf("| 512 silent connections held: pairs joined | %zu of %zu |\n", s.joined,
                    s.all);
        std::printf("| 512 silent connections held: join p50, p99 | %.1f, %.1f ms |\n", s.p50,
                    s.p99);
        for (int fd : held)
            if (fd >= 0)
                close(fd);
    }
    // Addresses passing, each with one wrong code.
    {
        const auto start = Clock::now();
        long at10k = -1;
        std::vector<int> open;
        for (int n = 0; n < addresses; ++n) {
            const int fd = connectFrom(fresh());
            if (fd < 0)
                continue;
            Side s;
            s.fd = fd;
            send(s, "JOIN 2 222222");
            pollfd p{fd, POLLOUT, 0};
            poll(&p, 1, 2000);
            flush(s);
            p.events = POLLIN;
            poll(&p, 1, 2000);
            std::vector<std::string> lines;
            hear(s, lines);
            close(fd);
            if (n + 1 == 10000)
                at10k = residentKib();
        }
        std::printf("| %d addresses, one wrong code each: connections served a second | %.0f |\n",
                    addresses, addresses / (msSince(start) / 1000));
        std::printf("| lobby's memory after 10,000 addresses | %ld KiB |\n", at10k);
        std::printf("| lobby's memory after %d addresses | %ld KiB |\n", addresses, residentKib());
    }
    {
        std::vector<Pair> pairs(20);
        run(pairs, false);
        const Spread s = spread(pairs);
        std::printf("| pairs joined afterwards | %zu of %zu |\n", s.joined, s.all);
    }
    kill(lobby, SIGTERM);
    int status = 0;
    waitpid(lobby, &status, 0);
    return 0;
}
