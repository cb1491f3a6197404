#include "lobby/Lobby.h"
#include "lobby/LobbyMessage.h"
#include "lobby/LobbyServer.h"
#include "lobby/RoomCode.h"
#include "lobby/TurnCredentials.h"
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {
constexpr uint64_t minute = 60 * 1000;

// A lobby with a fixed clock and a generator that counts, so its codes are known.
struct LobbyAtHand {
    uint32_t draws = 0;
    Lobby lobby{TurnServer{"203.0.113.1", 3478, "s3cret"}, LobbyLimits{},
                [this] { return 12345u + 977u * draws++; }, [] { return int64_t{1000000000}; }};
    std::vector<Lobby::Reply> replies;
    uint64_t now = 0;

    // What connection c says; the replies to it, in order.
    std::vector<Lobby::Reply> say(Lobby::Connection c, const std::string& line) {
        replies.clear();
        lobby.received(c, line, now, replies);
        return replies;
    }
    LobbyMessage read(const Lobby::Reply& reply) {
        LobbyMessage m;
        std::string why;
        EXPECT_TRUE(readLobbyMessage(reply.line, m, why)) << reply.line << ": " << why;
        return m;
    }
    // A host with a room: its code.
    std::string hostRoom(Lobby::Connection c, const std::string& address) {
        lobby.opened(c, address, now, replies);
        say(c, "HOST 1");
        const auto r = say(c, "ICE aG9zdA==");
        return r.empty() ? "" : read(r[0]).code;
    }
};
} // namespace

TEST(Lobby, AHostGetsRelayCredentialsAndACodeAndTheGuestWithItBringsBothSidesTogether) {
    LobbyAtHand l;
    ASSERT_TRUE(l.lobby.opened(1, "198.51.100.7", 0, l.replies));
    auto r = l.say(1, "HOST 1");
    ASSERT_EQ(r.size(), 1u);
    const LobbyMessage turn = l.read(r[0]);
    EXPECT_EQ(turn.kind, LobbyKind::turn);
    EXPECT_EQ(turn.turnHost, "203.0.113.1");
    EXPECT_EQ(turn.turnPort, 3478);
    // coturn's scheme: an hour from now (tagged with the lobby's first random draw, 12345), and
    // the name's HMAC-SHA1 with the secret in base64.
    EXPECT_EQ(turn.turnUser, "1000003600:tuvo-00003039");
    EXPECT_EQ(turn.turnPassword, "Mw+xN+IkTMiSq0uT+5H2yLOWMxo=");
    EXPECT_FALSE(r[0].close);

    r = l.say(1, "ICE aG9zdA==");
    ASSERT_EQ(r.size(), 1u);
    const LobbyMessage room = l.read(r[0]);
    ASSERT_EQ(room.kind, LobbyKind::room);
    EXPECT_EQ(normalRoomCode(room.code), room.code);
    EXPECT_EQ(l.lobby.roomCount(), 1u);

    l.lobby.opened(2, "192.0.2.44", 0, l.replies);
    r = l.say(2, "JOIN 1 " + room.code);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(l.read(r[0]).kind, LobbyKind::turn);
    r = l.say(2, "ICE Z3Vlc3Q=");
    ASSERT_EQ(r.size(), 2u);
    // Each side gets the other's description, and both are let go; the room is forgotten.
    for (const Lobby::Reply& reply : r) {
        EXPECT_TRUE(reply.close);
        EXPECT_EQ(l.read(reply).kind, LobbyKind::peer);
        EXPECT_EQ(l.read(reply).description, reply.to == 1 ? "Z3Vlc3Q=" : "aG9zdA==");
    }
    EXPECT_EQ(l.lobby.roomCount(), 0u);

    // The code is no good a second time.
    l.lobby.opened(3, "192.0.2.45", 0, l.replies);
    r = l.say(3, "JOIN 1 " + room.code);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(l.read(r[0]).text, "no game has the code " + room.code);
    EXPECT_TRUE(r[0].close);
}

TEST(Lobby, RoomsRunOutAfterTenMinutesAndLeaveWithTheirHost) {
    LobbyAtHand l;
    const std::string code = l.hostRoom(1, "198.51.100.7");
    l.replies.clear();
    l.lobby.tick(10 * minute - 1, l.replies);
    EXPECT_TRUE(l.replies.empty());
    EXPECT_EQ(l.lobby.roomCount(), 1u);
    l.lobby.tick(10 * minute, l.replies);
    ASSERT_EQ(l.replies.size(), 1u);
    EXPECT_EQ(l.replies[0].to, 1u);
    EXPECT_EQ(l.read(l.replies[0]).kind, LobbyKind::error);
    EXPECT_TRUE(l.replies[0].close);
    l.now = 10 * minute;
    l.lobby.opened(2, "192.0.2.44", l.now, l.replies);
    EXPECT_EQ(l.read(l.say(2, "JOIN 1 " + code)[0]).kind, LobbyKind::error);

    // A host gone takes its room along; a guest halfway in hears so.
    const std::string other = l.hostRoom(3, "198.51.100.8");
    l.lobby.opened(4, "192.0.2.46", l.now, l.replies);
    l.say(4, "JOIN 1 " + other);
    l.replies.clear();
    l.lobby.closed(3, l.now, l.replies);
    ASSERT_EQ(l.replies.size(), 1u);
    EXPECT_EQ(l.replies[0].to, 4u);
    EXPECT_EQ(l.read(l.replies[0]).text, "the host left");
    EXPECT_EQ(l.lobby.roomCount(), 0u);

    // A guest gone before its description came leaves the code good for another.
    const std::string third = l.hostRoom(5, "198.51.100.9");
    l.lobby.opened(6, "192.0.2.47", l.now, l.replies);
    l.say(6, "JOIN 1 " + third);
    l.lobby.closed(6, l.now, l.replies);
    l.lobby.opened(7, "192.0.2.47", l.now, l.replies);
    EXPECT_EQ(l.read(l.say(7, "JOIN 1 " + third)[0]).kind, LobbyKind::turn);
}

TEST(Lobby, AnAddressIsBoundedInWrongCodesRoomsAndConnections) {
    LobbyAtHand l;
    const std::string code = l.hostRoom(1, "198.51.100.7");
    Lobby::Connection c = 100;
    // Ten wrong codes in ten minutes, then not even the right one is taken from that address.
    for (int n = 0; n < 10; ++n) {
        l.lobby.opened(++c, "192.0.2.66", l.now, l.replies);
        EXPECT_EQ(l.read(l.say(c, "JOIN 1 222222")[0]).text, "no game has the code 222222");
        l.lobby.closed(c, l.now, l.replies);
    }
    l.lobby.opened(++c, "192.0.2.66", l.now, l.replies);
    EXPECT_EQ(l.read(l.say(c, "JOIN 1 " + code)[0]).text,
              "too many wrong codes, try again in a few minutes");
    l.lobby.closed(c, l.now, l.replies);
    // Another address is not held to it; the same one is, once the window has passed, no more.
    l.lobby.opened(++c, "192.0.2.67", l.now, l.replies);
    EXPECT_EQ(l.read(l.say(c, "JOIN 1 222223")[0]).kind, LobbyKind::error);
    l.now = 10 * minute;
    l.replies.clear();
    l.lobby.tick(l.now - 1, l.replies); // the room is still there; only the window moved
    l.lobby.opened(++c, "192.0.2.66", l.now, l.replies);
    EXPECT_EQ(l.read(l.say(c, "JOIN 1 " + code)[0]).kind, LobbyKind::turn);

    // Three rooms an address; a fourth is refused, also when asked for at once.
    LobbyAtHand m;
    for (Lobby::Connection h = 1; h <= 3; ++h)
        EXPECT_FALSE(m.hostRoom(h, "198.51.100.7").empty());
    m.lobby.opened(4, "198.51.100.7", 0, m.replies);
    EXPECT_EQ(m.read(m.say(4, "HOST 1")[0]).text, "too many rooms open from your address");
    EXPECT_EQ(m.lobby.roomCount(), 3u);

    // Eight connections an address.
    LobbyAtHand n;
    for (Lobby::Connection h = 1; h <= 8; ++h)
        EXPECT_TRUE(n.lobby.opened(h, "198.51.100.7", 0, n.replies));
    n.replies.clear();
    EXPECT_FALSE(n.lobby.opened(9, "198.51.100.7", 0, n.replies));
    EXPECT_TRUE(n.replies.at(0).close);
    EXPECT_TRUE(n.lobby.opened(10, "198.51.100.8", 0, n.replies));

    // A connection that says nothing useful is sent away after 30 s; a host in its room is not.
    n.replies.clear();
    n.lobby.tick(30 * 1000, n.replies);
    EXPECT_EQ(n.replies.size(), 9u);
}

TEST(Lobby, WhatCannotBeReadIsRefusedWithAMessageNeverTakenForSomethingElse) {
    const std::pair<const char*, const char*> refused[] = {
        {"", "not a message"},
        {"HOST", "HOST needs a version"},
        {"HOST 2", "another version of the game"},
        {"HOST  1", "not a message"},
        {"JOIN 1 ABCDEO", "not a room code"}, // O is no symbol of a code
        {"JOIN 1 abcdef", "not a room code"},
        {"JOIN 1 ABCDEFG", "not a room code"},
        {"ICE not*base64", "not a session description"},
        {"ICE abc", "not a session description"},
        {"ICE a=bc", "not a session description"},
        {"TURN 203.0.113.1 0 user pass", "not a relay with credentials"},
        {"TURN 203.0.113.1 65536 user pass", "not a relay with credentials"},
        {"TURN 203.0.113.1 3478 user", "not a relay with credentials"},
        {"ROOM 1234", "not a room code"},
        {"PARTY 1", "not a message"},
        {"HOST 1\r", "not a line of text"},
        {"ICE \xc3\xa9t\xc3\xa9", "not a line of text"},
    };
    for (const auto& [line, reason] : refused) {
        LobbyMessage m;
        std::string why;
        EXPECT_FALSE(readLobbyMessage(line, m, why)) << line;
        EXPECT_EQ(why, reason) << line;
    }
    LobbyMessage m;
    std::string why;
    EXPECT_FALSE(readLobbyMessage("ICE " + std::string(longestDescription + 4, 'A'), m, why));
    EXPECT_FALSE(readLobbyMessage(std::string(longestLobbyLine + 1, 'A'), m, why));
    EXPECT_EQ(why, "message too long");

    // The lobby answers what it cannot read, or does not expect now, and hangs up.
    LobbyAtHand l;
    l.lobby.opened(1, "198.51.100.7", 0, l.replies);
    auto r = l.say(1, "HOST 2");
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(l.read(r[0]).text, "the lobby cannot read that: another version of the game");
    EXPECT_TRUE(r[0].close);
    EXPECT_TRUE(l.say(1, "HOST 1").empty()); // nothing more from a connection being let go
    l.lobby.opened(2, "198.51.100.7", 0, l.replies);
    r = l.say(2, "ICE aG9zdA==");
    EXPECT_EQ(l.read(r.at(0)).text, "the lobby did not expect that now");
    l.lobby.opened(3, "198.51.100.7", 0, l.replies);
    r = l.say(3, "PEER aG9zdA==");
    EXPECT_EQ(l.read(r.at(0)).text, "the lobby did not expect that now");
}

TEST(Lobby, OverTcpALineTooLongIsAnsweredAndTheConnectionEnded) {
    Lobby lobby(
        TurnServer{"203.0.113.1", 3478, "s3cret"}, LobbyLimits{}, [] { return 7u; },
        [] { return int64_t{1000000000}; });
    std::atomic<bool> stop{false};
    const uint16_t port = static_cast<uint16_t>(17700 + getpid() % 200);
    std::thread server([&] { serveLobby({"127.0.0.1", port}, lobby, stop); });
    auto talk = [&](const std::string& bytes) {
        std::string answer;
        for (int attempt = 0; attempt < 50 && answer.empty(); ++attempt) {
            const int fd = socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in to{};
            to.sin_family = AF_INET;
            to.sin_port = htons(port);
            to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            if (connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0) {
                send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
                char buffer[512];
                ssize_t got;
                while ((got = recv(fd, buffer, sizeof buffer, 0)) > 0)
                    answer.append(buffer, static_cast<size_t>(got));
                if (answer.empty())
                    answer = "(hung up)";
            } else {
                usleep(20000);
            }
            close(fd);
        }
        return answer;
    };
    EXPECT_EQ(talk(std::string(6000, 'A')), "ERROR the lobby cannot read that: message too long\n");
    EXPECT_EQ(talk("JOIN 1 222222\n"), "ERROR no game has the code 222222\n");
    stop = true;
    server.join();
}

TEST(RoomCode, CodesAreSixSymbolsThatCannotBeMistakenAndTypedAnyWay) {
    for (char c : std::string("0O1I"))
        EXPECT_FALSE(isRoomCodeSymbol(c)) << c;
    EXPECT_EQ(roomCodeSymbols, 32); // six of them: 30 bits
    EXPECT_EQ(roomCodeFrom(0), "222222");
    EXPECT_EQ(roomCodeFrom((1u << 30) - 1), "ZZZZZZ");
    EXPECT_NE(roomCodeFrom(1), roomCodeFrom(32));
    EXPECT_EQ(normalRoomCode("ab3-k9z"), "AB3K9Z");
    EXPECT_EQ(normalRoomCode(" AB3 K9Z "), "AB3K9Z");
    EXPECT_EQ(normalRoomCode("AB3K9"), "");
    EXPECT_EQ(normalRoomCode("AB3K9ZZ"), "");
    EXPECT_EQ(normalRoomCode("AB0K9Z"), "");
    EXPECT_EQ(nextRoomCodeSymbol('Z', 1), '2');
    EXPECT_EQ(nextRoomCodeSymbol('2', -1), 'Z');
    EXPECT_EQ(nextRoomCodeSymbol('H', 1), 'J');
}

TEST(LobbyAddress, ListenAndRelayAddressesAreReadWithTheirDefaultPorts) {
    LobbyAddress a;
    ASSERT_TRUE(readLobbyAddress("203.0.113.1", 7720, a));
    EXPECT_EQ(a.host, "203.0.113.1");
    EXPECT_EQ(a.port, 7720);
    ASSERT_TRUE(readLobbyAddress("lobby.example.org:9000", 7720, a));
    EXPECT_EQ(a.port, 9000);
    ASSERT_TRUE(readLobbyAddress("[2001:db8::1]:3479", 3478, a));
    EXPECT_EQ(a.host, "2001:db8::1");
    EXPECT_EQ(a.port, 3479);
    ASSERT_TRUE(readLobbyAddress(":7730", 7720, a));
    EXPECT_EQ(a.host, "");
    for (const char* bad : {"host:", "host:0", "host:65536", "host:12a", "2001:db8::1", "[::1"})
        EXPECT_FALSE(readLobbyAddress(bad, 7720, a)) << bad;
}
