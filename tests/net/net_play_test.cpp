// Two machines on the loopback address, each a headless side of the real program driven by a key
// script, most through a relay that delays, reorders, loses and doubles datagrams: they end in
// the same round as one machine replaying their keys, also when a tenth of the datagrams is lost;
// a side that vanishes or a path that goes dead ends the other's round; and a hostile packet
// stream changes nothing. Nothing here sends to any address but 127.0.0.1, and every run (the
// relay's too) is bounded in time.
#include "rules/RoundState.h"
#include "record/Headless.h"
#include "net/NetPacket.h"
#include "net/NetPlay.h"
#include "net/NetSession.h"
#include "record/Replay.h"
#include "rules/RoundTick.h"
#include "rules/WorldHash.h"
#include "support/RoundDriver.h"
#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <enet/enet.h>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Side {
    pid_t pid = -1;
    int output = -1;
};

Side launch(const std::vector<std::string>& args, const std::string& program = "") {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return {};
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        std::vector<char*> argv;
        const std::string path = program.empty() ? std::string(TUVO_BUILD_DIR) + "/tuvo" : program;
        argv.push_back(const_cast<char*>(path.c_str()));
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(path.c_str(), argv.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    fcntl(pipeEnds[0], F_SETFL, O_NONBLOCK);
    return {pid, pipeEnds[0]};
}

struct Ended {
    int code = -1; // -1: still running when given up on (then killed)
    std::string output;
    double seconds = 0;
};

Ended finish(Side& side, double limitSeconds) {
    Ended e;
    const auto start = Clock::now();
    char buffer[256];
    for (;;) {
        ssize_t n;
        while ((n = read(side.output, buffer, sizeof buffer)) > 0)
            e.output.append(buffer, static_cast<size_t>(n));
        int status = 0;
        if (waitpid(side.pid, &status, WNOHANG) == side.pid) {
            while ((n = read(side.output, buffer, sizeof buffer)) > 0)
                e.output.append(buffer, static_cast<size_t>(n));
            e.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            break;
        }
        e.seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (e.seconds > limitSeconds) {
            kill(side.pid, SIGKILL);
            waitpid(side.pid, nullptr, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    e.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    close(side.output);
    return e;
}

struct Scripts {
    fs::path folder = fs::temp_directory_path() / ("tuvo-net-" + std::to_string(getpid()));
    std::string host, guest;
    Scripts(int ticks, uint32_t seed) {
        fs::create_directories(folder);
        host = write("host.keys", ticks, seed, 11);
        guest = write("guest.keys", ticks, seed + 1, 22);
    }
    ~Scripts() { fs::remove_all(folder); }
    std::string write(const char* name, int ticks, uint32_t seed, unsigned keySeed) {
        Replay r;
        r.seed = seed;
        RandomKeys random(keySeed);
        KeyState keys;
        for (int t = 0; t < ticks; ++t) {
            if (t % 6 == 0)
                keys = random.next();
            r.keys.push_back(packKeys(keys));
        }
        std::string message;
        const std::string path = (folder / name).string();
        EXPECT_TRUE(writeReplayFile(path, r, message)) << message;
        return path;
    }
    std::string path(const char* name) const { return (folder / name).string(); }
};

// "ticks N hash H dropped D" of a side's output.
std::string hashOf(const std::string& output) {
    const size_t at = output.find(" hash ");
    return at == std::string::npos ? "" : output.substr(at + 6, 16);
}

// The round as the host recorded it, played back alone: its world's fingerprint.
std::string replayedHash(const std::string& recording) {
    Replay r;
    std::string message;
    EXPECT_TRUE(readReplayFile(recording, r, message)) << message;
    RoundState game(r.seed);
    setUpRound(game);
    for (uint16_t k : r.keys)
        tickRound(game, unpackKeys(k));
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hashWorld(game)));
    return text;
}

// The relay between the guest (at relayPort) and the host (at hostPort): a round trip of 120 ms
// with +-25 ms of jitter each way, a share lost each way and a share doubled, from a fixed seed.
Side startRelay(int relayPort, int hostPort, const std::string& loss, const std::string& twice,
                const std::vector<std::string>& more = {}) {
    std::vector<std::string> args = {std::to_string(relayPort),
                                     std::to_string(hostPort),
                                     "60",
                                     "--delay",
                                     "60",
                                     "--jitter",
                                     "25",
                                     "--loss",
                                     loss,
                                     "--twice",
                                     twice,
                                     "--seed",
                                     "17"};
    args.insert(args.end(), more.begin(), more.end());
    return launch(args, NET_RELAY);
}

void playBoth(const Scripts& s, int port, const std::string& loss, const std::string& twice,
              Ended& host, Ended& guest) {
    Side relay = startRelay(port + 1, port, loss, twice);
    Side h = launch({"--host", "127.0.0.1:" + std::to_string(port), "--headless", "--keys", s.host,
                     "--record", s.path("host.rec")});
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    Side g = launch(
        {"--join", "127.0.0.1:" + std::to_string(port + 1), "--headless", "--keys", s.guest});
    guest = finish(g, 45);
    host = finish(h, 10);
    kill(relay.pid, SIGTERM);
    finish(relay, 5);
}

void expectOneRound(const Scripts& s, const Ended& host, const Ended& guest, int ticks) {
    ASSERT_EQ(host.code, 0) << host.output;
    ASSERT_EQ(guest.code, 0) << guest.output;
    EXPECT_NE(host.output.find("ticks " + std::to_string(ticks) + " "), std::string::npos)
        << host.output;
    EXPECT_EQ(hashOf(host.output), hashOf(guest.output));
    EXPECT_EQ(replayedHash(s.path("host.rec")), hashOf(host.output));
}
} // namespace

TEST(NetPlay, OverAJitteryPathWithLossBothMachinesPlayTheRoundOfTheirMergedKeys) {
    Scripts s(600, 424242);
    Ended host, guest;
    playBoth(s, 17731, "0.03", "0.01", host, guest);
    expectOneRound(s, host, guest, 600);
}

TEST(NetPlay, ATenthOfTheDatagramsLostEachWayNeitherPartsTheWorldsNorEndsTheRound) {
    Scripts s(600, 777);
    Ended host, guest;
    playBoth(s, 17721, "0.10", "0", host, guest);
    expectOneRound(s, host, guest, 600);
}

TEST(NetPlay, ASideKilledOrAPathGoneDeadEndsTheOtherSidesRound) {
    Scripts s(3600, 99);
    {
        Side relay = startRelay(17724, 17723, "0.03", "0.01");
        Side h = launch({"--host", "127.0.0.1:17723", "--headless", "--keys", s.host});
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        Side g = launch({"--join", "127.0.0.1:17724", "--headless", "--keys", s.guest});
        std::this_thread::sleep_for(std::chrono::milliseconds(2500));
        kill(g.pid, SIGKILL);
        finish(g, 5);
        // Gone after 5 s of silence; the bound here only keeps a fault from hanging the test.
        const Ended host = finish(h, 15);
        EXPECT_EQ(host.code, 4) << "the host ended its round for the guest leaving: "
                                << host.output;
        kill(relay.pid, SIGTERM);
        finish(relay, 5);
    }
    // Every datagram dropped from the third second on, both ways: both sides end their rounds.
    Side relay = startRelay(17726, 17725, "0", "0", {"--cut-after", "3"});
    Side h = launch({"--host", "127.0.0.1:17725", "--headless", "--keys", s.host});
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    Side g = launch({"--join", "127.0.0.1:17726", "--headless", "--keys", s.guest});
    const Ended guest = finish(g, 20);
    const Ended host = finish(h, 5);
    EXPECT_EQ(host.code, 4) << host.output;
    EXPECT_EQ(guest.code, 4) << guest.output;
    kill(relay.pid, SIGTERM);
    finish(relay, 5);
}

TEST(NetPlay, AHostilePacketStreamChangesNothing) {
    Scripts s(600, 31337);
    const int port = 17734;
    const std::string address = "127.0.0.1:" + std::to_string(port);
    Side h = launch({"--host", address, "--headless", "--keys", s.host});
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    Side g = launch({"--join", address, "--headless", "--keys", s.guest});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    // Raw datagrams of random bytes at the host's port.
    const int raw = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    RandomKeys noise(5);
    for (int i = 0; i < 200; ++i) {
        uint8_t bytes[64];
        for (uint8_t& b : bytes)
            b = static_cast<uint8_t>(packKeys(noise.next()) * 31 + i);
        sendto(raw, bytes, 1 + i % 64, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    }
    close(raw);

    // A stranger that speaks ENet: a greeting of another version, a cut one, keys and noise.
    ASSERT_EQ(enet_initialize(), 0);
    ENetHost* stranger = enet_host_create(nullptr, 1, 1, 0, 0);
    ENetAddress hostAddress{};
    enet_address_set_host(&hostAddress, "127.0.0.1");
    hostAddress.port = port;
    ENetPeer* peer = enet_host_connect(stranger, &hostAddress, 1, 0);
    Message hello;
    hello.type = MessageType::hello;
    hello.version = "TUVO!! 0.9";
    // Keys of the running round for player 1 and 2 alike, acknowledging ticks never sent.
    Message keys;
    keys.type = MessageType::keys;
    keys.round = 1;
    keys.ack = 4000;
    keys.tick = 50;
    keys.run.assign(40, 0x3FFF);
    const std::string packets[] = {encodeMessage(hello), encodeMessage(hello).substr(0, 5),
                                   encodeMessage(keys), std::string("\x05\xff\xff", 3),
                                   std::string(300, '\x06')};
    const auto until = Clock::now() + std::chrono::milliseconds(1500);
    ENetEvent e;
    while (Clock::now() < until) {
        while (enet_host_service(stranger, &e, 10) > 0)
            if (e.type == ENET_EVENT_TYPE_RECEIVE)
                enet_packet_destroy(e.packet);
        for (const std::string& p : packets) {
            ENetPacket* packet = enet_packet_create(p.data(), p.size(), ENET_PACKET_FLAG_RELIABLE);
            if (enet_peer_send(peer, 0, packet) != 0)
                enet_packet_destroy(packet); // not connected (yet, or any more)
        }
    }
    enet_host_destroy(stranger);
    enet_deinitialize();

    const Ended guest = finish(g, 60);
    const Ended host = finish(h, 60);
    ASSERT_EQ(host.code, 0) << host.output;
    ASSERT_EQ(guest.code, 0) << guest.output;
    EXPECT_EQ(hashOf(host.output), hashOf(guest.output));
}

TEST(NetPlay, AGuestOfAnotherVersionIsTurnedAwayWithALineOnBothSides) {
    std::string error;
    std::unique_ptr<NetSession> hostSession = NetSession::host("127.0.0.1", 17735, error);
    ASSERT_TRUE(hostSession) << error;
    RoundState game(5);
    setUpRound(game);
    NetPlay host(*hostSession, game);

    ENetHost* other = enet_host_create(nullptr, 1, 1, 0, 0);
    ENetAddress to{};
    enet_address_set_host(&to, "127.0.0.1");
    to.port = 17735;
    ENetPeer* peer = enet_host_connect(other, &to, 1, 0);
    bool refused = false;
    const auto until = Clock::now() + std::chrono::seconds(5);
    testing::internal::CaptureStderr();
    while (!refused && Clock::now() < until) {
        host.service(5);
        ENetEvent e;
        while (enet_host_service(other, &e, 5) > 0) {
            if (e.type == ENET_EVENT_TYPE_CONNECT) {
                Message hello;
                hello.type = MessageType::hello;
                hello.version = "TUVO!! 2.0.0";
                const std::string bytes = encodeMessage(hello);
                ENetPacket* packet =
                    enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE);
                if (enet_peer_send(peer, 0, packet) != 0)
                    enet_packet_destroy(packet);
            } else if (e.type == ENET_EVENT_TYPE_RECEIVE) {
                Message m;
                refused = decodeMessage(e.packet->data, e.packet->dataLength, m) &&
                          m.type == MessageType::refuse && m.reason == RefuseReason::otherVersion;
                enet_packet_destroy(e.packet);
            }
        }
    }
    host.service(20);
    const std::string said = testing::internal::GetCapturedStderr();
    enet_host_destroy(other);
    EXPECT_TRUE(refused) << "the guest was told why";
    EXPECT_FALSE(host.bothHere());
    EXPECT_NE(host.lobbyText().find("ANOTHER VERSION WAS TURNED AWAY"), std::string::npos);
    EXPECT_NE(said.find("another version"), std::string::npos) << said;
}

// A host that answers the guest's connection but is busy for four seconds (starting up on a
// loaded machine) before it reads the hello: the guest waits for its welcome instead of trying
// afresh, which the host would turn away as a second guest.
TEST(NetPlay, AGuestWaitsForTheWelcomeOfAHostSlowToAnswer) {
    std::string error;
    std::unique_ptr<NetSession> host = NetSession::host("127.0.0.1", 17741, error);
    ASSERT_TRUE(host) << error;
    std::unique_ptr<NetSession> guest = NetSession::join("127.0.0.1", 17741, error);
    ASSERT_TRUE(guest) << error;
    using Kind = NetSession::Event::Kind;
    auto saw = [](const std::vector<NetSession::Event>& events, Kind kind) {
        for (const NetSession::Event& e : events)
            if (e.kind == kind)
                return true;
        return false;
    };
    // The connection made (the guest's request, the host's answer, the guest's hello queued),
    // and then the host busy before it reads the hello.
    std::vector<NetSession::Event> guestEvents, hostEvents;
    guest->poll(guestEvents, 0);
    host->poll(hostEvents, 50);
    guest->poll(guestEvents, 50);
    ASSERT_FALSE(saw(guestEvents, Kind::joined)) << "the host answered at once";
    const auto busyUntil = Clock::now() + std::chrono::seconds(4);
    while (Clock::now() < busyUntil)
        guest->poll(guestEvents, 20);
    const auto until = Clock::now() + std::chrono::seconds(5);
    while (!saw(guestEvents, Kind::joined) && Clock::now() < until) {
        host->poll(hostEvents, 5);
        guest->poll(guestEvents, 5);
    }
    EXPECT_TRUE(saw(guestEvents, Kind::joined));
    EXPECT_FALSE(saw(guestEvents, Kind::refused)) << "the guest was turned away";
    EXPECT_FALSE(saw(guestEvents, Kind::left));
    EXPECT_TRUE(saw(hostEvents, Kind::joined));
}

// END ROUND on the guest's pause menu: both machines leave the round for the title with the same
// next round ready, and START begins it on both.
TEST(NetPlay, EndRoundOnEitherMachineEndsItOnBoth) {
    std::string error;
    std::unique_ptr<NetSession> hostSession = NetSession::host("127.0.0.1", 17716, error);
    ASSERT_TRUE(hostSession) << error;
    std::unique_ptr<NetSession> guestSession = NetSession::join("127.0.0.1", 17716, error);
    ASSERT_TRUE(guestSession) << error;
    RoundState hostGame(5), guestGame(6);
    setUpRound(hostGame);
    setUpRound(guestGame);
    NetPlay host(*hostSession, hostGame), guest(*guestSession, guestGame);
    int hostEnded = 0, guestEnded = 0;
    host.onRoundEnded = [&] { ++hostEnded; };
    guest.onRoundEnded = [&] { ++guestEnded; };
    auto serviceUntil = [&](const std::function<bool()>& done) {
        const auto until = Clock::now() + std::chrono::seconds(5);
        while (!done() && Clock::now() < until) {
            host.service(2);
            guest.service(2);
        }
        return done();
    };
    ASSERT_TRUE(serviceUntil([&] { return host.bothHere() && guest.bothHere(); }));
    host.startClicked();
    ASSERT_TRUE(serviceUntil([&] { return guest.stage == NetPlay::Stage::playing; }));
    auto none = [] { return KeyState{}; };
    ASSERT_TRUE(serviceUntil([&] {
        host.runTicks(1, none, nullptr);
        guest.runTicks(1, none, nullptr);
        return hostGame.ticks >= 30 && guestGame.ticks >= 30;
    }));
    guest.pauseClicked();
    ASSERT_TRUE(serviceUntil([&] { return hostGame.paused; }));

    guest.endRoundClicked();
    ASSERT_TRUE(serviceUntil([&] { return host.stage == NetPlay::Stage::lobby; }));
    EXPECT_EQ(guest.stage, NetPlay::Stage::lobby);
    EXPECT_EQ(hostEnded, 1);
    EXPECT_EQ(guestEnded, 1);
    EXPECT_EQ(hostGame.seed, guestGame.seed) << "the same next round on both";
    EXPECT_NE(hostGame.seed, 5u) << "not the round just left";
    EXPECT_EQ(hostGame.ticks, 0u);
    EXPECT_FALSE(guestGame.paused);
    EXPECT_TRUE(host.bothHere()) << "still connected, on the title";

    // A message of the kind, with anything after it, is not one.
    Message end;
    end.type = MessageType::endRound;
    const std::string bytes = encodeMessage(end);
    Message read;
    ASSERT_TRUE(decodeMessage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), read));
    EXPECT_EQ(read.type, MessageType::endRound);
    const std::string longer = bytes + "x";
    EXPECT_FALSE(
        decodeMessage(reinterpret_cast<const uint8_t*>(longer.data()), longer.size(), read));

    guest.startClicked();
    ASSERT_TRUE(serviceUntil([&] {
        return host.stage == NetPlay::Stage::playing && guest.stage == NetPlay::Stage::playing;
    }));
    EXPECT_EQ(hostGame.seed, guestGame.seed);
}

TEST(NetPlay, SilenceShowsAPoorConnectionAndFiveSecondsOfItEndTheRound) {
    std::string error;
    std::unique_ptr<NetSession> hostSession = NetSession::host("127.0.0.1", 17719, error);
    ASSERT_TRUE(hostSession) << error;
    std::unique_ptr<NetSession> guestSession = NetSession::join("127.0.0.1", 17719, error);
    ASSERT_TRUE(guestSession) << error;
    RoundState hostRound(5), guestRound(5);
    setUpRound(hostRound);
    setUpRound(guestRound);
    NetPlay host(*hostSession, hostRound), guest(*guestSession, guestRound);
    auto both = [&](double seconds) {
        for (const auto until = Clock::now() + std::chrono::duration<double>(seconds);
             Clock::now() < until;) {
            host.runTicks(
                1, [] { return KeyState{}; }, nullptr);
            guest.runTicks(
                1, [] { return KeyState{}; }, nullptr);
            host.service(2);
            guest.service(2);
            if (host.stage == NetPlay::Stage::lobby && host.bothHere())
                host.startClicked();
        }
    };
    both(1.5);
    ASSERT_EQ(guest.stage, NetPlay::Stage::playing) << guest.lobbyText();
    EXPECT_EQ(host.banner(), nullptr) << host.banner();
    // The guest goes quiet (its machine stalls, its path goes dead): the host keeps going.
    auto hostAlone = [&](double seconds) {
        for (const auto until = Clock::now() + std::chrono::duration<double>(seconds);
             Clock::now() < until && host.stage == NetPlay::Stage::playing;) {
            host.runTicks(
                1, [] { return KeyState{}; }, nullptr);
            host.service(5);
        }
    };
    hostAlone(0.7);
    ASSERT_EQ(host.stage, NetPlay::Stage::playing);
    ASSERT_NE(host.banner(), nullptr);
    EXPECT_STREQ(host.banner(), "CONNECTION POOR");
    // The bound only keeps a fault from hanging the test.
    hostAlone(10);
    EXPECT_EQ(host.stage, NetPlay::Stage::left);
    EXPECT_STREQ(host.banner(), "THE OTHER PLAYER LEFT");
}
