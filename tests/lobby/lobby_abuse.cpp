// The real tuvo-lobby on the loopback address, taking the attacks a lobby on the open internet
// meets, each from as many addresses as it needs (all of 127.0.0.0/8 is this machine's): after
// each, a well-behaved host and guest from addresses of their own still make and join a room
// straight away, and the lobby's memory stays within its bound.
#include "lobby/Lobby.h"
#include "lobby/LobbyMessage.h"
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;
// Generous: what takes longer than this is lost, not slow.
constexpr int answerMs = 10000;

void allFiles() {
    rlimit files{};
    getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = files.rlim_max;
    setrlimit(RLIMIT_NOFILE, &files);
}

// A connection to the lobby from an address of 127.0.0.0/8, talking in lines.
class Talker {
  public:
    Talker() = default;
    Talker(uint32_t from, uint16_t port, bool wait = true) { connectFrom(from, port, wait); }
    Talker(Talker&& o) noexcept : fd(o.fd), in(std::move(o.in)) { o.fd = -1; }
    Talker& operator=(Talker&& o) noexcept {
        std::swap(fd, o.fd);
        std::swap(in, o.in);
        return *this;
    }
    ~Talker() {
        if (fd >= 0)
            close(fd);
    }
    bool open() const { return fd >= 0; }

    void connectFrom(uint32_t from, uint16_t port, bool wait) {
        fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | (wait ? 0 : SOCK_NONBLOCK), 0);
        sockaddr_in here{}, there{};
        here.sin_family = there.sin_family = AF_INET;
        here.sin_addr.s_addr = htonl(from);
        there.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        there.sin_port = htons(port);
        if (bind(fd, reinterpret_cast<sockaddr*>(&here), sizeof here) != 0 ||
            (connect(fd, reinterpret_cast<sockaddr*>(&there), sizeof there) != 0 &&
             errno != EINPROGRESS)) {
            close(fd);
            fd = -1;
        }
    }
    void say(const std::string& line) {
        const std::string bytes = line + "\n";
        size_t sent = 0;
        while (fd >= 0 && sent < bytes.size()) {
            pollfd p{fd, POLLOUT, 0};
            if (poll(&p, 1, answerMs) <= 0)
                return;
            const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (n <= 0 && errno != EAGAIN)
                return;
            sent += n > 0 ? static_cast<size_t>(n) : 0;
        }
    }
    // The next line, or "" when the lobby hung up or said nothing in time.
    std::string hear() {
        const auto until = Clock::now() + std::chrono::milliseconds(answerMs);
        for (;;) {
            if (const size_t end = in.find('\n'); end != std::string::npos) {
                std::string line = in.substr(0, end);
                in.erase(0, end + 1);
                return line;
            }
            const int left = static_cast<int>(
                std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now())
                    .count());
            pollfd p{fd, POLLIN, 0};
            if (fd < 0 || left <= 0 || poll(&p, 1, left) <= 0)
                return {};
            char buffer[4096];
            const ssize_t got = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
            if (got == 0 || (got < 0 && errno != EAGAIN))
                return {};
            if (got > 0)
                in.append(buffer, static_cast<size_t>(got));
        }
    }
    LobbyMessage hearMessage() {
        LobbyMessage m;
        std::string why;
        if (!readLobbyMessage(hear(), m, why))
            m.kind = LobbyKind::error, m.text = "(nothing readable)";
        return m;
    }

  private:
    int fd = -1;
    std::string in;
};

// The lobby program, started for one test and stopped at its end.
class LobbyAbuse : public ::testing::Test {
  protected:
    void SetUp() override {
        allFiles();
        // A port free a moment ago.
        const int probe = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof a;
        ASSERT_EQ(bind(probe, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        getsockname(probe, reinterpret_cast<sockaddr*>(&a), &length);
        port = ntohs(a.sin_port);
        close(probe);
        secretPath = "/tmp/tuvo-lobby-abuse-" + std::to_string(getpid()) + ".secret";
        std::ofstream(secretPath) << "s3cret\n";
        lobby = fork();
        if (lobby == 0) {
            const int quiet = ::open("/dev/null", O_WRONLY);
            dup2(quiet, 2);
            const std::string listen = "127.0.0.1:" + std::to_string(port);
            execl(TUVO_LOBBY, TUVO_LOBBY, "--listen", listen.c_str(), "--turn", "203.0.113.1:3478",
                  "--turn", "203.0.113.2:3478", "--turn-secret", secretPath.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        // Ready once it answers.
        for (int n = 0; n < 500; ++n) {
            Talker t(INADDR_LOOPBACK, port);
            if (t.open())
                return;
            usleep(10000);
        }
        FAIL() << "the lobby did not start";
    }
    void TearDown() override {
        if (lobby > 0) {
            kill(lobby, SIGTERM);
            int status = 0;
            waitpid(lobby, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
                << "the lobby ended badly: " << status;
        }
        unlink(secretPath.c_str());
    }

    // A new address of 127.0.0.0/8 for each call: 127.1.0.1 and on.
    uint32_t fresh() {
        ++used;
        return (127u << 24) | (1u << 16) | used;
    }
    // The lobby's resident memory, in KiB.
    long residentKib() const {
        std::ifstream status("/proc/" + std::to_string(lobby) + "/status");
        std::string line;
        while (std::getline(status, line))
            if (line.rfind("VmRSS:", 0) == 0)
                return std::stol(line.substr(6));
        return -1;
    }

    // A host and a guest that do as the game does: the room made and joined, relays for both,
    // each side given the other's description. Empty when all went so, else what went wrong.
    std::string wellBehavedPair() {
        Talker host(fresh(), port), guest(fresh(), port);
        host.say("HOST 2");
        const LobbyMessage room = host.hearMessage();
        if (room.kind != LobbyKind::room)
            return "the host got no room: " + room.text;
        guest.say("JOIN 2 " + room.code);
        const LobbyMessage guestRelay = guest.hearMessage(), hostRelay = host.hearMessage();
        if (guestRelay.kind != LobbyKind::turn || hostRelay.kind != LobbyKind::turn)
            return "no relay for both: " + guestRelay.text + hostRelay.text;
        if (guestRelay.turnUser != hostRelay.turnUser || guestRelay.relays.size() != 2)
            return "not one credential and two relays for the room";
        host.say("ICE aG9zdA==");
        guest.say("ICE Z3Vlc3Q=");
        const LobbyMessage toHost = host.hearMessage(), toGuest = guest.hearMessage();
        if (toHost.description != "Z3Vlc3Q=" || toGuest.description != "aG9zdA==")
            return "the descriptions did not cross: " + toHost.text + toGuest.text;
        return {};
    }

    pid_t lobby = -1;
    uint16_t port = 0;
    std::string secretPath;
    uint32_t used = 0;
};
} // namespace

TEST_F(LobbyAbuse, HostsThatMisbehaveAndTheirGuestsLeaveNothingBehind) {
    // One address, 512 times: a host says one line too many after its room, a guest comes with
    // its code. Each gets a refusal and is hung up; nothing of them stays.
    const uint32_t one = fresh();
    int refused = 0;
    for (int n = 0; n < 512; ++n) {
        Talker host(one, port);
        host.say("HOST 2");
        const LobbyMessage room = host.hearMessage();
        host.say("HOST 2");
        host.hearMessage();
        Talker guest(one, port);
        guest.say("JOIN 2 " + room.code);
        refused += guest.hearMessage().kind == LobbyKind::error;
    }
    EXPECT_EQ(refused, 512);
    EXPECT_EQ(wellBehavedPair(), "");
    // A stranger with the code that fails after JOIN leaves the room to the right guest.
    Talker host(fresh(), port), stranger(fresh(), port), right(fresh(), port);
    host.say("HOST 2");
    const std::string code = host.hearMessage().code;
    stranger.say("JOIN 2 " + code);
    EXPECT_EQ(stranger.hearMessage().kind, LobbyKind::turn);
    stranger.say("PEER aG9zdA==");
    EXPECT_EQ(stranger.hearMessage().kind, LobbyKind::error);
    EXPECT_EQ(host.hearMessage().kind, LobbyKind::turn);
    right.say("JOIN 2 " + code);
    EXPECT_EQ(right.hearMessage().kind, LobbyKind::turn);
    host.say("ICE aG9zdA==");
    right.say("ICE Z3Vlc3Q=");
    EXPECT_EQ(right.hearMessage().description, "aG9zdA==");
    EXPECT_EQ(host.hearMessage().description, "Z3Vlc3Q=");
}

TEST_F(LobbyAbuse, ManyAddressesHoldingConnectionsAndRoomsLeaveRoomForPlayers) {
    // 64 addresses holding eight silent connections each.
    std::vector<Talker> held;
    for (int a = 0; a < 64; ++a) {
        const uint32_t from = fresh();
        for (int n = 0; n < 8; ++n)
            held.emplace_back(from, port);
    }
    EXPECT_EQ(wellBehavedPair(), "");
    held.clear();
    // 171 addresses holding three rooms each, and a fourth refused.
    std::vector<Talker> hosts;
    int refused = 0;
    for (int a = 0; a < 171; ++a) {
        const uint32_t from = fresh();
        for (int n = 0; n < 4; ++n) {
            hosts.emplace_back(from, port);
            hosts.back().say("HOST 2");
            refused += hosts.back().hearMessage().kind != LobbyKind::room;
        }
    }
    EXPECT_EQ(refused, 171);
    EXPECT_EQ(wellBehavedPair(), "");
}

TEST_F(LobbyAbuse, GuessesAndHostsWithoutAGuestGetNeitherRoomsNorRelays) {
    // 2000 guesses from one address: ten are answered, and not even the right code afterwards.
    Talker host(fresh(), port);
    host.say("HOST 2");
    const std::string code = host.hearMessage().code;
    const uint32_t guesser = fresh();
    int answered = 0;
    for (int n = 0; n < 2000; ++n) {
        Talker t(guesser, port);
        t.say("JOIN 2 " + std::string(1, "23456789"[n % 8]) + "22222");
        answered += t.hearMessage().text.rfind("no game has the code", 0) == 0;
    }
    EXPECT_EQ(answered, 10);
    Talker late(guesser, port);
    late.say("JOIN 2 " + code);
    EXPECT_EQ(late.hearMessage().kind, LobbyKind::error);

    // 105 hosts, each alone, asking for a relay every way they can: not one credential.
    int relays = 0;
    for (int n = 0; n < 105; ++n) {
        Talker t(fresh(), port);
        t.say("HOST 2");
        t.hearMessage();
        t.say("ICE aG9zdA==");
        relays += t.hearMessage().kind == LobbyKind::turn;
    }
    EXPECT_EQ(relays, 0);
    EXPECT_EQ(wellBehavedPair(), "");
}

TEST_F(LobbyAbuse, TwoHundredPairsAtOnceAllJoin) {
    // Four hundred connections opened in one go, before any is served.
    std::vector<Talker> hosts, guests;
    for (int n = 0; n < 200; ++n) {
        hosts.emplace_back(fresh(), port, false);
        guests.emplace_back(fresh(), port, false);
    }
    for (Talker& h : hosts)
        h.say("HOST 2");
    int joined = 0;
    std::vector<std::string> codes;
    for (Talker& h : hosts)
        codes.push_back(h.hearMessage().code);
    for (int n = 0; n < 200; ++n)
        guests[n].say("JOIN 2 " + codes[n]);
    for (int n = 0; n < 200; ++n) {
        guests[n].hearMessage();
        hosts[n].hearMessage();
        guests[n].say("ICE Z3Vlc3Q=");
        hosts[n].say("ICE aG9zdA==");
    }
    for (int n = 0; n < 200; ++n)
        joined += guests[n].hearMessage().description == "aG9zdA==" &&
                  hosts[n].hearMessage().description == "Z3Vlc3Q=";
    EXPECT_EQ(joined, 200);
}

TEST_F(LobbyAbuse, TwentyThousandAddressesLeaveTheLobbyNoBigger) {
    // Each address comes once with a wrong code: what the lobby remembers of them is a table
    // made at the start, so the memory after 20000 is what it was after 2000.
    auto guessFromNew = [&](int count) {
        for (int n = 0; n < count; ++n) {
            Talker t(fresh(), port);
            t.say("JOIN 2 222222");
            t.hear();
        }
    };
    guessFromNew(2000);
    const long before = residentKib();
    guessFromNew(18000);
    const long after = residentKib();
    ASSERT_GT(before, 0);
    // A map growing with the addresses held some 750 bytes each: 13 MiB more here.
    EXPECT_LT(after - before, 1024) << before << " KiB, then " << after << " KiB";
    EXPECT_LT(after * 1024, 64L * 1024 * 1024) << "within the service's MemoryMax";
    EXPECT_EQ(wellBehavedPair(), "");
}
