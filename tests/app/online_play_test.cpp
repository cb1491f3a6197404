// The PLAY ONLINE screens by keys, pad and pointer, without a lobby: choosing, typing and
// picking a code, and what is refused before anything is asked of the network.
#include "app/OnlinePlay.h"
#include "rules/RoundState.h"
#include <gtest/gtest.h>

namespace {
using platform::MenuKey;
const MenuPointer still{1024, 735, -1, -1, false};

void keys(OnlinePlay& o, RoundState& round, std::vector<MenuKey> k, const std::string& typed = "") {
    o.frame(round, k, typed, still);
}
} // namespace

TEST(OnlinePlay, TheCodeIsTypedOrPickedSymbolBySymbolAndOnlyAWholeOneJoins) {
    RoundState round(7);
    OnlinePlay o;
    o.configure("no lobby here:x", false);
    o.open();
    keys(o, round, {MenuKey::down, MenuKey::press});
    ASSERT_EQ(o.screen, OnlinePlay::Screen::join) << "JOIN A GAME under HOST A GAME";
    EXPECT_TRUE(o.wantsTyping());

    for (const char* k : {"a", "b", "3"})
        keys(o, round, {}, k);
    EXPECT_EQ(o.code, "AB3   ");
    keys(o, round, {}, "o");
    EXPECT_EQ(o.code, "AB3   ") << "O is no symbol of a code";
    EXPECT_EQ(o.notice, "A CODE HAS NO 0, O, 1 OR I");
    keys(o, round, {}, "Backspace");
    EXPECT_EQ(o.code, "AB    ");
    EXPECT_EQ(o.cursor, 2);

    // A pad: up and down step the symbol under the cursor (round at the ends), right moves on.
    keys(o, round, {MenuKey::up, MenuKey::up, MenuKey::right, MenuKey::down});
    EXPECT_EQ(o.code, "AB3Z  ");
    keys(o, round, {MenuKey::press});
    EXPECT_EQ(o.screen, OnlinePlay::Screen::join) << "A on a code not yet whole moves on";
    EXPECT_EQ(o.cursor, 4);
    for (const char* k : {"Keypad 9", "k"})
        keys(o, round, {}, k);
    EXPECT_EQ(o.code, "AB3Z9K");

    // The pointer: a click on a symbol's upper half steps it on.
    const MenuPanel p = o.panel();
    const MenuPointer onFirst{1024, 735, (p.left + p.right) / 2 - 200, p.rowTop(0) + 20, true};
    o.frame(round, {}, "", onFirst);
    EXPECT_EQ(o.code, "BB3Z9K");

    // Return joins: with a lobby that is no HOST:PORT it says so and stays, the code kept.
    keys(o, round, {}, "Return");
    EXPECT_EQ(o.notice, "THE LOBBY NO LOBBY HERE:X IS NOT HOST:PORT");
    EXPECT_EQ(o.code, "BB3Z9K");
    EXPECT_EQ(o.play(), nullptr);
    keys(o, round, {}, "Escape");
    EXPECT_EQ(o.screen, OnlinePlay::Screen::choose);
    keys(o, round, {MenuKey::back});
    EXPECT_FALSE(o.shown());
}
