// Two machines on the loopback address, each a headless side of the real program driven by a key
// script: they play the same round tick for tick, also over a poor connection; the host outlives
// a guest that vanishes; and a hostile packet stream changes nothing. Nothing here sends to any
// address but 127.0.0.1, and every run is bounded in time.
#include "app/Game.h"
#include "record/Headless.h"
#include "net/NetPacket.h"
#include "net/NetPlay.h"
#include "net/NetSession.h"
#include "record/Replay.h"
#include "rules/RoundTick.h"
#include "record/WorldHash.h"
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

Side launch(const std::vector<std::string>& args, const char* standIn = nullptr) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return {};
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        if (standIn)
            setenv("TUVO_NET_STAND_IN", standIn, 1);
        std::vector<char*> argv;
        const std::string program = std::string(TUVO_BUILD_DIR) + "/tuvo";
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
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
    Game game(r.seed, false);
    setUpWorld(game);
    for (uint16_t k : r.keys)
        tickRound(game, unpackKeys(k));
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hashWorld(game)));
    return text;
}

void playBoth(const Scripts& s, int port, const char* standIn, double limit, Ended& host,
              Ended& guest) {
    const std::string address = "127.0.0.1:" + std::to_string(port);
    Side h =
        launch({"--host", address, "--headless", "--keys", s.host, "--record", s.path("host.rec")},
               standIn);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    Side g = launch({"--join", address, "--headless", "--keys", s.guest}, standIn);
    guest = finish(g, limit);
    host = finish(h, limit);
}
} // namespace

TEST(NetPlay, BothMachinesPlayTheSameRoundAsOneMachineReplayingTheirKeys) {
    Scripts s(3600, 424242); // a minute of game time
    Ended host, guest;
    playBoth(s, 17711, nullptr, 60, host, guest);
    ASSERT_EQ(host.code, 0) << host.output;
    ASSERT_EQ(guest.code, 0) << guest.output;
    EXPECT_NE(host.output.find("ticks 3600 "), std::string::npos) << host.output;
    EXPECT_EQ(hashOf(host.output), hashOf(guest.output));
    EXPECT_EQ(replayedHash(s.path("host.rec")), hashOf(host.output));
}

TEST(NetPlay, APoorConnectionSlowsTheRoundButCannotPartTheWorlds) {
    Scripts s(1200, 777);
    Ended host, guest;
    // 5% of the datagrams lost and 100 ms added to every message, on both sides.
    playBoth(s, 17712, "0.05 100", 90, host, guest);
    ASSERT_EQ(host.code, 0) << host.output;
    ASSERT_EQ(guest.code, 0) << guest.output;
    EXPECT_EQ(hashOf(host.output), hashOf(guest.output));
    EXPECT_EQ(replayedHash(s.path("host.rec")), hashOf(host.output));
}

TEST(NetPlay, TheHostEndsTheRoundWhenTheGuestVanishes) {
    Scripts s(3600, 99);
    const std::string address = "127.0.0.1:17713";
    // Slowed by the stand-in, the round is still going when the guest is killed.
    Side h = launch({"--host", address, "--headless", "--keys", s.host}, "0 100");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    Side g = launch({"--join", address, "--headless", "--keys", s.guest}, "0 100");
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    kill(g.pid, SIGKILL);
    finish(g, 5);
    const Ended host = finish(h, 10);
    EXPECT_EQ(host.code, 4) << host.output;
    EXPECT_LT(host.seconds, 5.0) << "the host waited on a guest that was gone";
    EXPECT_EQ(host.output.find("ticks 3600 "), std::string::npos) << "the round was not cut short";
}

TEST(NetPlay, AHostilePacketStreamChangesNothing) {
    Scripts s(900, 31337);
    const int port = 17714;
    const std::string address = "127.0.0.1:" + std::to_string(port);
    Side h = launch({"--host", address, "--headless", "--keys", s.host}, "0 30");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    Side g = launch({"--join", address, "--headless", "--keys", s.guest}, "0 30");
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
    Message keys;
    keys.type = MessageType::keys;
    keys.tick = 50;
    keys.keys = 0x3FFF;
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
    std::unique_ptr<NetSession> hostSession = NetSession::host("127.0.0.1", 17715, error);
    ASSERT_TRUE(hostSession) << error;
    Game game(5, false);
    setUpWorld(game);
    NetPlay host(*hostSession, game);

    ENetHost* other = enet_host_create(nullptr, 1, 1, 0, 0);
    ENetAddress to{};
    enet_address_set_host(&to, "127.0.0.1");
    to.port = 17715;
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

// END ROUND on the guest's pause menu: both machines leave the round for the title with the same
// next round ready, and START begins it on both.
TEST(NetPlay, EndRoundOnEitherMachineEndsItOnBoth) {
    std::string error;
    std::unique_ptr<NetSession> hostSession = NetSession::host("127.0.0.1", 17716, error);
    ASSERT_TRUE(hostSession) << error;
    std::unique_ptr<NetSession> guestSession = NetSession::join("127.0.0.1", 17716, error);
    ASSERT_TRUE(guestSession) << error;
    Game hostGame(5, false), guestGame(6, false);
    setUpWorld(hostGame);
    setUpWorld(guestGame);
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
