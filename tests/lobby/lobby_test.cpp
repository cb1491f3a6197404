#include "lobby/Lobby.h"
#include "lobby/LobbyMessage.h"
#include "lobby/LobbyServer.h"
#include "lobby/LocalLobby.h"
#include "lobby/RoomCode.h"
#include "lobby/TurnCredentials.h"
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {
constexpr uint64_t second = 1000, minute = 60 * second;

LobbyRelays twoRelays() {
    return LobbyRelays{{{"203.0.113.1", 3478}, {"turn2.example.org", 3479}}, "s3cret", 2};
}

// A lobby with a fixed clock and a generator that counts, so its codes are known.
struct LobbyAtHand {
    explicit LobbyAtHand(LobbyLimits limits = {}, LobbyRelays relays = twoRelays())
        : lobby(
              relays, limits, [this] { return 12345u + 977u * draws++; },
              [] { return int64_t{1000000000}; }) {}
    uint32_t draws = 0;
    Lobby lobby;
    std::vector<Lobby::Reply> replies;
    uint64_t now = 0;

    Lobby::Connection open(const std::string& address) {
        std::string refusal;
        const Lobby::Connection c = lobby.opened(address, now, refusal);
        EXPECT_NE(c, 0u) << address << ": " << refusal;
        return c;
    }
    std::string refusalFor(const std::string& address) {
        std::string refusal;
        const Lobby::Connection c = lobby.opened(address, now, refusal);
        if (c)
            lobby.closed(c, now, replies);
        return c ? "" : refusal;
    }
    // What connection c says; the replies, in order.
    std::vector<Lobby::Reply> say(Lobby::Connection c, const std::string& line) {
        replies.clear();
        lobby.received(c, line, now, replies);
        return replies;
    }
    std::vector<Lobby::Reply> tick(uint64_t at) {
        now = at;
        replies.clear();
        lobby.tick(now, replies);
        return replies;
    }
    void close(Lobby::Connection c) {
        replies.clear();
        lobby.closed(c, now, replies);
    }
    static LobbyMessage read(const Lobby::Reply& reply) {
        LobbyMessage m;
        std::string why;
        EXPECT_TRUE(readLobbyMessage(reply.line, m, why)) << reply.line << ": " << why;
        return m;
    }
    // The error a line gets, once the connection sent off is gone.
    std::string errorTo(Lobby::Connection c, const std::string& line) {
        const auto r = say(c, line);
        if (r.size() != 1 || r[0].to != c || !r[0].close)
            return "(no error)";
        const std::string text = read(r[0]).text;
        close(c);
        return text;
    }
    // A host with a room: its connection and code.
    std::pair<Lobby::Connection, std::string> hostRoom(const std::string& address) {
        const Lobby::Connection c = open(address);
        const auto r = say(c, "HOST 2");
        return {c, r.size() == 1 ? read(r[0]).code : ""};
    }
};
} // namespace

TEST(Lobby, TheHostGetsItsCodeAtOnceAndRelayCredentialsOnlyOnceItsGuestHasCome) {
    LobbyAtHand l;
    const Lobby::Connection host = l.open("198.51.100.7");
    auto r = l.say(host, "HOST 2");
    ASSERT_EQ(r.size(), 1u);
    const LobbyMessage room = l.read(r[0]);
    ASSERT_EQ(room.kind, LobbyKind::room);
    EXPECT_EQ(normalRoomCode(room.code), room.code);
    EXPECT_FALSE(r[0].close);
    EXPECT_EQ(l.lobby.roomCount(), 1u);
    // Nothing for a host alone, not even when it asks.
    EXPECT_EQ(l.errorTo(host, "ICE aG9zdA=="), "the lobby did not expect that now");
    EXPECT_EQ(l.lobby.roomCount(), 0u) << "a host that says what it should not loses its room";

    const auto [h, code] = l.hostRoom("198.51.100.7");
    const Lobby::Connection guest = l.open("192.0.2.44");
    r = l.say(guest, "JOIN 2 " + code);
    // Both sides now: the same credential for both, named after the room (so the relay's quota
    // per user is one per room), good for an hour, and the room's two relays.
    ASSERT_EQ(r.size(), 2u);
    for (const Lobby::Reply& reply : r) {
        const LobbyMessage turn = l.read(reply);
        EXPECT_EQ(turn.kind, LobbyKind::turn);
        EXPECT_EQ(turn.turnUser, "1000003600:tuvo-" + code);
        EXPECT_EQ(turn.turnPassword,
                  turnCredentials("s3cret", 1000003600, "tuvo-" + code).password);
        EXPECT_EQ(turn.relays, twoRelays().servers);
        EXPECT_FALSE(reply.close);
    }
    EXPECT_TRUE((r[0].to == h && r[1].to == guest) || (r[0].to == guest && r[1].to == h));

    // The guest's description first, then the host's: each gets the other's, both are let go.
    EXPECT_TRUE(l.say(guest, "ICE Z3Vlc3Q=").empty());
    r = l.say(h, "ICE aG9zdA==");
    ASSERT_EQ(r.size(), 2u);
    for (const Lobby::Reply& reply : r) {
        EXPECT_TRUE(reply.close);
        EXPECT_EQ(l.read(reply).kind, LobbyKind::peer);
        EXPECT_EQ(l.read(reply).description, reply.to == h ? "Z3Vlc3Q=" : "aG9zdA==");
    }
    EXPECT_EQ(l.lobby.roomCount(), 0u);
    l.close(h);
    l.close(guest);
    EXPECT_TRUE(l.replies.empty());
    l.close(host);
    EXPECT_EQ(l.lobby.connectionCount(), 0u);

    // The code is no good a second time.
    const Lobby::Connection late = l.open("192.0.2.45");
    EXPECT_EQ(l.errorTo(late, "JOIN 2 " + code), "no game has the code " + code);
}

TEST(Lobby, ManyRelaysAreHandedOutTwoARoomInTurn) {
    LobbyRelays three{
        {{"a.example.org", 3478}, {"b.example.org", 3478}, {"c.example.org", 3478}}, "s3cret", 2};
    LobbyAtHand l({}, three);
    std::vector<std::vector<LobbyRelay>> handed;
    for (int n = 0; n < 3; ++n) {
        const auto [h, code] = l.hostRoom("198.51.100." + std::to_string(n + 1));
        const auto r = l.say(l.open("192.0.2." + std::to_string(n + 1)), "JOIN 2 " + code);
        ASSERT_EQ(r.size(), 2u);
        handed.push_back(l.read(r[0]).relays);
    }
    using R = std::vector<LobbyRelay>;
    EXPECT_EQ(handed[0], (R{three.servers[0], three.servers[1]}));
    EXPECT_EQ(handed[1], (R{three.servers[1], three.servers[2]}));
    EXPECT_EQ(handed[2], (R{three.servers[2], three.servers[0]}));
}

TEST(Lobby, AGuestThatFailsOrFallsSilentLeavesTheRoomToTheRightGuestAtOnce) {
    LobbyAtHand l;
    const auto [h, code] = l.hostRoom("198.51.100.7");
    // A stranger with the code says something wrong after JOIN: sent off, and the room is free
    // for the right guest at once; the host has heard nothing but the relays, once.
    const Lobby::Connection stranger = l.open("192.0.2.66");
    EXPECT_EQ(l.say(stranger, "JOIN 2 " + code).size(), 2u);
    EXPECT_EQ(l.errorTo(stranger, "HOST 2"), "the lobby did not expect that now");
    EXPECT_TRUE(l.say(h, "ICE aG9zdA==").empty()) << "the host's description is kept for later";
    const Lobby::Connection right = l.open("192.0.2.44");
    auto r = l.say(right, "JOIN 2 " + code);
    ASSERT_EQ(r.size(), 1u) << "the host has its credentials already";
    EXPECT_EQ(r[0].to, right);
    EXPECT_EQ(l.read(r[0]).kind, LobbyKind::turn);
    r = l.say(right, "ICE Z3Vlc3Q=");
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(l.read(r[r[0].to == right ? 0 : 1]).description, "aG9zdA==");
    l.close(stranger);
    EXPECT_TRUE(l.replies.empty()) << "the stranger's going is no news to anyone";

    // A silent one: 20 s after its credentials it is sent off, and the right guest gets in.
    const auto [h2, code2] = l.hostRoom("198.51.100.8");
    const Lobby::Connection mute = l.open("192.0.2.67");
    l.say(mute, "JOIN 2 " + code2);
    r = l.tick(l.now + 20 * second - 1);
    EXPECT_TRUE(r.empty());
    r = l.tick(l.now + 1);
    ASSERT_EQ(r.size(), 2u) << "the mute guest, and the host that never described itself";
    EXPECT_EQ(l.lobby.roomCount(), 0u);

    const auto [h3, code3] = l.hostRoom("198.51.100.9");
    const Lobby::Connection mute3 = l.open("192.0.2.68");
    l.say(mute3, "JOIN 2 " + code3);
    l.say(h3, "ICE aG9zdA==");
    r = l.tick(l.now + 20 * second);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].to, mute3);
    EXPECT_EQ(l.read(r[0]).text, "the lobby waited too long for your game");
    // A guest that simply goes frees the room as well.
    const Lobby::Connection gone = l.open("192.0.2.69");
    l.say(gone, "JOIN 2 " + code3);
    l.close(gone);
    EXPECT_EQ(l.say(l.open("192.0.2.44"), "JOIN 2 " + code3).size(), 1u);
}

TEST(Lobby, AHostWaitsTenMinutesAtMostAndTakesItsRoomAlongWhenItGoes) {
    LobbyAtHand l;
    const auto [h, code] = l.hostRoom("198.51.100.7");
    EXPECT_TRUE(l.tick(10 * minute - 1).empty());
    auto r = l.tick(10 * minute);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].to, h);
    EXPECT_EQ(l.read(r[0]).text, "the code ran out before player 2 came");
    EXPECT_TRUE(r[0].close);
    EXPECT_EQ(l.errorTo(l.open("192.0.2.44"), "JOIN 2 " + code), "no game has the code " + code);

    // A host gone takes its room along; a guest halfway in hears so.
    const auto [h2, code2] = l.hostRoom("198.51.100.8");
    const Lobby::Connection guest = l.open("192.0.2.46");
    l.say(guest, "JOIN 2 " + code2);
    l.close(h2);
    ASSERT_EQ(l.replies.size(), 1u);
    EXPECT_EQ(l.replies[0].to, guest);
    EXPECT_EQ(l.read(l.replies[0]).text, "the host left");
    EXPECT_EQ(l.lobby.roomCount(), 0u);

    // A newcomer says HOST or JOIN within 10 s.
    const Lobby::Connection slow = l.open("192.0.2.47");
    r = l.tick(l.now + 10 * second);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].to, slow);
}

TEST(Lobby, HostsThatMisbehaveAgainAndAgainFromOneAddressNeverFillTheLobby) {
    // A host that says one line too many after ROOM, then a guest with its code, 512 times
    // over from one address: each time the right answer, and nothing left behind.
    LobbyAtHand l;
    for (int n = 0; n < 512; ++n) {
        l.now += 3 * second; // within the address's rate of connections
        const auto [h, code] = l.hostRoom("198.51.100.7");
        ASSERT_FALSE(code.empty()) << n;
        EXPECT_EQ(l.errorTo(h, "HOST 2"), "the lobby did not expect that now");
        const Lobby::Connection guest = l.open("198.51.100.7");
        ASSERT_EQ(l.errorTo(guest, "JOIN 2 " + code), "no game has the code " + code) << n;
        l.close(h);
        l.close(guest);
        if (n % 8 == 7)
            l.now += 10 * minute; // past the window of wrong codes
    }
    EXPECT_EQ(l.lobby.connectionCount(), 0u);
    EXPECT_EQ(l.lobby.roomCount(), 0u);
    const auto [h, code] = l.hostRoom("198.51.100.9");
    EXPECT_EQ(l.say(l.open("192.0.2.44"), "JOIN 2 " + code).size(), 2u);
}

TEST(Lobby, AnAddressAndAnIpv6SlashSixtyFourAreBoundedInWhatTheyMayTake) {
    const std::string full = "too many connections from your address, try again in a minute";
    {
        // Eight connections an address, sixteen a /64, each address of it counted in it.
        LobbyAtHand l;
        for (int n = 0; n < 8; ++n)
            l.open("198.51.100.7");
        EXPECT_EQ(l.refusalFor("198.51.100.7"), "ERROR " + full);
        EXPECT_EQ(l.refusalFor("198.51.100.8"), "");
        for (int n = 0; n < 16; ++n)
            l.open("2001:db8:1:2::" + std::to_string(n + 1));
        EXPECT_EQ(l.refusalFor("2001:db8:1:2:ffff::1"), "ERROR " + full);
        EXPECT_EQ(l.refusalFor("2001:db8:1:3::1"), "");
        // IPv4 seen through an IPv6 socket is the same address.
        EXPECT_EQ(l.refusalFor("::ffff:198.51.100.7"), "ERROR " + full);
    }
    {
        // Thirty connections a minute from one address, whatever becomes of them.
        LobbyAtHand l;
        for (int n = 0; n < 30; ++n)
            l.close(l.open("198.51.100.7"));
        EXPECT_EQ(l.refusalFor("198.51.100.7"), "ERROR " + full);
        l.now = minute;
        EXPECT_EQ(l.refusalFor("198.51.100.7"), "");
    }
    {
        // Three rooms an address, six a /64; ten rooms made in ten minutes.
        LobbyAtHand l;
        for (int n = 0; n < 3; ++n)
            EXPECT_FALSE(l.hostRoom("198.51.100.7").second.empty());
        EXPECT_EQ(l.errorTo(l.open("198.51.100.7"), "HOST 2"),
                  "too many rooms open from your address");
        for (int n = 0; n < 6; ++n)
            EXPECT_FALSE(l.hostRoom("2001:db8::" + std::to_string(n + 1)).second.empty());
        EXPECT_EQ(l.errorTo(l.open("2001:db8::99"), "HOST 2"),
                  "too many rooms open from your address");
        EXPECT_EQ(l.lobby.roomCount(), 9u);
        LobbyAtHand m;
        for (int n = 0; n < 10; ++n)
            m.close(m.hostRoom("198.51.100.8").first);
        EXPECT_EQ(m.errorTo(m.open("198.51.100.8"), "HOST 2"),
                  "too many rooms open from your address");
    }
    {
        // Ten wrong codes in ten minutes, then not even the right one is taken from that
        // address; a /64 gets twenty however many addresses it uses.
        LobbyAtHand l;
        const auto [h, code] = l.hostRoom("198.51.100.7");
        for (int n = 0; n < 10; ++n)
            EXPECT_EQ(l.errorTo(l.open("192.0.2.66"), "JOIN 2 222222"),
                      "no game has the code 222222");
        const std::string tooMany = "too many wrong codes, try again in a few minutes";
        EXPECT_EQ(l.errorTo(l.open("192.0.2.66"), "JOIN 2 " + code), tooMany);
        // (One a second: a /64 opens sixty connections a minute at most.)
        int answered = 0;
        for (int n = 0; n < 500; ++n, l.now += second) {
            const Lobby::Connection c =
                l.open("2001:db8:5:5:" + std::to_string(n / 8) + "::" + std::to_string(n % 8 + 1));
            answered += l.errorTo(c, "JOIN 2 222222") == "no game has the code 222222";
        }
        EXPECT_EQ(answered, 20);
        // Another address is not held to it; the same one is, once the window has passed, no
        // more.
        EXPECT_EQ(l.say(l.open("192.0.2.67"), "JOIN 2 " + code).size(), 2u);
        l.close(h);
        const auto [h2, code2] = l.hostRoom("198.51.100.7");
        l.now += 10 * minute;
        EXPECT_EQ(l.say(l.open("192.0.2.66"), "JOIN 2 " + code2).size(), 2u);
    }
    {
        // Relay credentials: ten joins an address in ten minutes.
        LobbyAtHand l;
        for (int n = 0; n < 10; ++n) {
            const auto [h, code] = l.hostRoom("198.51.100." + std::to_string(n + 1));
            const Lobby::Connection g = l.open("192.0.2.66");
            EXPECT_EQ(l.say(g, "JOIN 2 " + code).size(), 2u);
            l.close(g);
            l.close(h);
        }
        const auto [h, code] = l.hostRoom("198.51.100.77");
        EXPECT_EQ(l.errorTo(l.open("192.0.2.66"), "JOIN 2 " + code),
                  "too many games from your address, try again in a few minutes");
        EXPECT_EQ(l.say(l.open("192.0.2.67"), "JOIN 2 " + code).size(), 2u)
            << "the room is still there for its player";
    }
    {
        // And the lobby as a whole: a connection more than it has room for is turned away.
        LobbyLimits small;
        small.connections = 4;
        LobbyAtHand l(small);
        for (int n = 0; n < 4; ++n)
            l.open("192.0.2." + std::to_string(n + 1));
        EXPECT_EQ(l.refusalFor("192.0.2.9"), "ERROR the lobby is full, try again in a minute");
    }
}

TEST(AddressMemory, AHundredThousandAddressesFitTheTableMadeAtTheStartAndTheBusyAreKept) {
    AddressMemory memory(LobbyLimits{}.rememberedAddresses, 99);
    const size_t bytes = memory.bytes();
    AddressKey busy;
    ASSERT_TRUE(readAddressKey("2001:db8:7::1", busy));
    const AddressKey network = networkOf(busy);
    const Rate rate{5, 60 * 1000};
    for (uint64_t n = 0; n < 100000; ++n) {
        AddressKey passing;
        ASSERT_TRUE(readAddressKey("10." + std::to_string(n >> 16) + "." +
                                       std::to_string((n >> 8) & 255) + "." +
                                       std::to_string(n & 255),
                                   passing));
        memory.at(passing, n).counts[AddressMemory::opens].add(rate, n);
        // A network heard from all along stays remembered among them.
        if (n % 100 == 0)
            memory.at(network, n).counts[AddressMemory::wrongCodes].add(Rate{1000, 1000000}, n);
    }
    EXPECT_EQ(memory.bytes(), bytes);
    EXPECT_EQ(memory.capacity(), LobbyLimits{}.rememberedAddresses);
    EXPECT_EQ(memory.at(network, 100000).counts[AddressMemory::wrongCodes].count, 1000u);

    AddressKey a, b;
    ASSERT_TRUE(readAddressKey("2001:db8:7::2", a));
    ASSERT_TRUE(readAddressKey("2001:db8:7:0:ffff::9", b));
    EXPECT_EQ(networkOf(a), networkOf(b));
    ASSERT_TRUE(readAddressKey("2001:db8:8::2", b));
    EXPECT_NE(networkOf(a), networkOf(b));
    EXPECT_FALSE(readAddressKey("not an address", a));
}

TEST(TurnCredentials, ThePasswordIsTheNamesHmacWithTheSharedSecret) {
    // coturn's scheme, worked out with openssl dgst -sha1 -hmac s3cret | base64.
    const TurnCredentials c = turnCredentials("s3cret", 1000003600, "tuvo-ABCDEF");
    EXPECT_EQ(c.user, "1000003600:tuvo-ABCDEF");
    EXPECT_EQ(c.password, "4+6KaSi9NpRPzlbdbF8rId2bziM=");
}

TEST(Lobby, WhatCannotBeReadIsRefusedWithAMessageNeverTakenForSomethingElse) {
    const std::pair<const char*, const char*> refused[] = {
        {"", "not a message"},
        {"HOST", "HOST needs a version"},
        {"HOST 3", "another version of the game"},
        {"HOST  1", "not a message"},
        {"JOIN 2 ABCDEO", "not a room code"}, // O is no symbol of a code
        {"JOIN 2 abcdef", "not a room code"},
        {"JOIN 2 ABCDEFG", "not a room code"},
        {"ICE not*base64", "not a session description"},
        {"ICE abc", "not a session description"},
        {"ICE a=bc", "not a session description"},
        {"TURN user pass 203.0.113.1 0", "not a relay with credentials"},
        {"TURN user pass 203.0.113.1 65536", "not a relay with credentials"},
        {"TURN user pass 203.0.113.1", "not a relay with credentials"},
        {"TURN user", "not a relay with credentials"},
        {"TURN u p a 1 b 2 c 3 d 4 e 5", "not a relay with credentials"},
        {"HOST 1", "another version of the game"},
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

    // Four relays with their credentials read back as written.
    const std::string four = "TURN 1000003600:tuvo-ABCDEF 4+6KaSi9NpRPzlbdbF8rId2bziM= a 1 b.c "
                             "3478 2001:db8::1 3479 d 65535";
    ASSERT_TRUE(readLobbyMessage(four, m, why)) << why;
    EXPECT_EQ(m.relays.size(), 4u);
    EXPECT_EQ(m.relays[2], (LobbyRelay{"2001:db8::1", 3479}));
    EXPECT_EQ(writeLobbyMessage(m), four);

    // The lobby answers what it cannot read, or does not expect now, and hangs up.
    LobbyAtHand l;
    const Lobby::Connection c = l.open("198.51.100.7");
    EXPECT_EQ(l.errorTo(c, "HOST 1"), "the lobby cannot read that: another version of the game");
    EXPECT_TRUE(l.say(c, "HOST 2").empty()); // nothing more from a connection being let go
    EXPECT_EQ(l.errorTo(l.open("198.51.100.7"), "ICE aG9zdA=="),
              "the lobby did not expect that now");
    EXPECT_EQ(l.errorTo(l.open("198.51.100.7"), "PEER aG9zdA=="),
              "the lobby did not expect that now");
}

TEST(Lobby, OverTcpALineTooLongIsAnsweredAndTheConnectionEnded) {
    Lobby lobby(
        twoRelays(), LobbyLimits{}, [] { return 7u; }, [] { return int64_t{1000000000}; });
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
    EXPECT_EQ(talk("JOIN 2 222222\n"), "ERROR no game has the code 222222\n");
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

TEST(LocalLobby, AGameOnTheLocalNetworkIsFoundByItsCodeUntilItsGuestHasCome) {
    // A port for the asks free a moment ago, so that a game running here is not disturbed.
    const int probe = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof a;
    ASSERT_EQ(bind(probe, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    getsockname(probe, reinterpret_cast<sockaddr*>(&a), &length);
    const uint16_t askPort = ntohs(a.sin_port);
    close(probe);

    LocalLobby local(askPort);
    ASSERT_TRUE(local.running()) << local.error;
    LocalGameSearch search(askPort, {"127.0.0.1"});
    auto connectTo = [&](uint16_t port) {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to), 0);
        return fd;
    };
    auto say = [](int fd, const std::string& line) {
        const std::string bytes = line + "\n";
        send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    };
    auto hear = [](int fd) {
        std::string line;
        char c;
        while (recv(fd, &c, 1, 0) == 1 && c != '\n')
            line += c;
        return line;
    };
    // Asked every second: found within a few asks, with where its lobby is.
    auto lookFor = [&](uint64_t& now, const std::string& code) {
        for (int n = 0; n < 50; ++n, now += 200) {
            for (const LocalGame& g : search.look(now))
                if (g.code == code)
                    return g;
            usleep(20000);
        }
        return LocalGame{};
    };
    uint64_t now = 0;
    EXPECT_TRUE(search.look(now).empty()) << "no room waits yet";
    const int host = connectTo(local.port());
    say(host, "HOST 2");
    const std::string room = hear(host);
    ASSERT_EQ(room.rfind("ROOM ", 0), 0u) << room;
    const std::string code = room.substr(5);
    const LocalGame found = lookFor(now, code);
    EXPECT_EQ(found.code, code);
    EXPECT_EQ(found.address, "127.0.0.1");
    EXPECT_EQ(found.port, local.port());

    // Joined by its code through the local lobby: no relays, none needed on one network.
    const int guest = connectTo(found.port);
    say(guest, "JOIN 2 " + code);
    LobbyMessage turn;
    std::string why;
    ASSERT_TRUE(readLobbyMessage(hear(guest), turn, why)) << why;
    EXPECT_EQ(turn.kind, LobbyKind::turn);
    EXPECT_TRUE(turn.relays.empty());
    EXPECT_EQ(hear(host).rfind("TURN ", 0), 0u);
    // No longer waiting: no longer answered, and forgotten once the last answer is old.
    now += 5000;
    for (int n = 0; n < 10 && !search.look(now).empty(); ++n, now += 1000)
        usleep(20000);
    EXPECT_TRUE(search.look(now).empty());
    close(host);
    close(guest);
}
