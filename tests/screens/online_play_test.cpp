// The PLAY ONLINE screens by keys, pad and pointer, without a lobby: choosing, typing and
// picking a code, and what is refused before anything is asked of the network.
#include "screens/OnlinePlay.h"
#include "rules/RoundState.h"
#include "lobby/RoomCode.h"
#include <arpa/inet.h>
#include <functional>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
using platform::MenuKey;
const MenuPointer still{1024, 735, -1, -1, false};

void keys(OnlinePlay& o, RoundState& round, std::vector<MenuKey> k,
          std::vector<platform::Typed> typed = {}) {
    o.frame(round, k, typed, still);
}
platform::Typed text(const std::string& t) {
    return {t, {}};
}
platform::Typed key(const std::string& name) {
    return {{}, name};
}
} // namespace

TEST(OnlinePlay, TheCodeIsTypedOrPickedSymbolBySymbolAndOnlyAWholeOneJoins) {
    RoundState round(7);
    OnlinePlay o;
    o.configure("no lobby here:x", false);
    o.askAt = {"127.0.0.1"}; // the join screen looks around this machine only
    o.open();
    keys(o, round, {MenuKey::down, MenuKey::press});
    ASSERT_EQ(o.screen, OnlinePlay::Screen::join) << "JOIN A GAME under HOST A GAME";
    EXPECT_TRUE(o.wantsTyping());

    // Typed faster than frames are drawn: every symbol of a frame is kept, as the keyboard's
    // layout gives it.
    keys(o, round, {}, {text("a"), text("b"), text("3")});
    EXPECT_EQ(o.code, "AB3   ");
    keys(o, round, {}, {text("o")});
    EXPECT_EQ(o.code, "AB3   ") << "O is no symbol of a code";
    EXPECT_EQ(o.notice, "A CODE HAS NO 0, O, 1 OR I");
    keys(o, round, {}, {text("\xc3\xa9")});
    EXPECT_EQ(o.notice, "A CODE HAS ONLY LETTERS AND DIGITS");
    keys(o, round, {}, {key("Backspace")});
    EXPECT_EQ(o.code, "AB    ");
    EXPECT_EQ(o.cursor, 2);

    // A pad: up and down step the symbol under the cursor (round at the ends), right moves on.
    keys(o, round, {MenuKey::up, MenuKey::up, MenuKey::right, MenuKey::down});
    EXPECT_EQ(o.code, "AB3Z  ");
    keys(o, round, {MenuKey::press});
    EXPECT_EQ(o.screen, OnlinePlay::Screen::join) << "A on a code not yet whole moves on";
    EXPECT_EQ(o.cursor, 4);
    keys(o, round, {}, {text("9"), text("k")});
    EXPECT_EQ(o.code, "AB3Z9K");

    // The pointer: a click on a symbol's upper half steps it on.
    const MenuPanel p = o.panel();
    const MenuPointer onFirst{1024, 735, (p.left + p.right) / 2 - 200, p.rowTop(0) + 20, true};
    o.frame(round, {}, {}, onFirst);
    EXPECT_EQ(o.code, "BB3Z9K");

    // Return joins: with a lobby that is no HOST:PORT it says so and stays, the code kept.
    keys(o, round, {}, {key("Return")});
    EXPECT_EQ(o.notice, "THE LOBBY NO LOBBY HERE:X IS NOT HOST:PORT");
    EXPECT_EQ(o.code, "BB3Z9K");
    EXPECT_EQ(o.play(), nullptr);
    // A code pasted whole, as the host may have sent it, takes the place of the one there;
    // the keys that edit act in the order typed, within one frame.
    keys(o, round, {}, {text(" zx7-k9m\n")});
    EXPECT_EQ(o.code, "ZX7K9M");
    keys(o, round, {}, {key("Home"), text("2"), key("End"), key("Backspace"), key("Left")});
    EXPECT_EQ(o.code, "2X7K9 ");
    EXPECT_EQ(o.cursor, 4);
    keys(o, round, {}, {key("Escape")});
    EXPECT_EQ(o.screen, OnlinePlay::Screen::choose);
    keys(o, round, {MenuKey::back});
    EXPECT_FALSE(o.shown());
}

TEST(OnlinePlay, WithNoLobbyToReachTheHostsCodeWorksOnThisNetworkAndTheJoinScreenFindsIt) {
    // Asks go to this machine only, on a port free a moment ago.
    const int probe = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof a;
    ASSERT_EQ(bind(probe, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    getsockname(probe, reinterpret_cast<sockaddr*>(&a), &length);
    close(probe);
    RoundState hostRound(7), guestRound(7);
    OnlinePlay host, guest;
    for (OnlinePlay* o : {&host, &guest}) {
        o->configure("127.0.0.1:1", false); // nobody listens on port 1
        o->askAt = {"127.0.0.1"};
        o->askPort = ntohs(a.sin_port);
    }
    // frames(CONDITION): frames of both screens until it holds, for ten seconds at most.
    auto frames = [&](const std::function<bool()>& done) {
        for (int n = 0; n < 500 && !done(); ++n) {
            keys(host, hostRound, {});
            keys(guest, guestRound, {});
            usleep(20000);
        }
        return done();
    };
    host.open();
    keys(host, hostRound, {MenuKey::press});
    ASSERT_TRUE(frames([&] { return !normalRoomCode(host.code).empty(); }))
        << "no code of its own: " << host.notice;
    EXPECT_EQ(host.panel().rows[4].label, "NO LOBBY: PLAYER 2 JOINS ON THIS NETWORK");

    guest.open();
    keys(guest, guestRound, {MenuKey::down, MenuKey::press});
    ASSERT_TRUE(frames([&] { return guest.code == host.code; })) << "the code was not filled in";
    EXPECT_EQ(guest.panel().rows[4].label, "ON THIS NETWORK: " + host.code);
    // Erased, it stays erased: filled in once.
    keys(guest, guestRound, {}, std::vector<platform::Typed>(6, key("Backspace")));
    EXPECT_TRUE(frames([&] { return guest.code == "      "; }));
    EXPECT_EQ(guest.panel().rows[4].label, "ON THIS NETWORK: " + host.code);
    keys(guest, guestRound, {MenuKey::back});

    // A code from the command line, with no lobby to ask: looked for on this network. A code
    // nobody there has is answered so after a while.
    guest.join(guestRound, "222222");
    EXPECT_TRUE(frames([&] { return guest.notice.rfind("NO GAME ON THIS NETWORK", 0) == 0; }));
    EXPECT_EQ(guest.notice, "NO GAME ON THIS NETWORK HAS THE CODE 222222, AND CANNOT REACH THE "
                            "LOBBY AT 127.0.0.1:1");
    guest.join(guestRound, host.code);
    // The guest reached the host's own lobby: the host hears its guest coming.
    EXPECT_TRUE(frames([&] {
        return host.panel().rows[4].label.rfind("PLAYER 2 IS COMING", 0) == 0 ||
               host.play() != nullptr;
    })) << host.panel().rows[4].label
        << " / " << guest.panel().rows[4].label << guest.notice;
    guest.close();
    host.close();
}
