// The network round's pieces that need no network: the messages as bytes and back, and the
// lockstep's schedule of keys.
#include "net/Lockstep.h"
#include "net/NetPacket.h"
#include "record/Replay.h"
#include <gtest/gtest.h>

namespace {
bool decode(const std::string& bytes, Message& m) {
    return decodeMessage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), m);
}
} // namespace

TEST(NetMessages, EveryMessageReadsBackAndAnythingElseIsRefused) {
    Message hello;
    hello.type = MessageType::hello;
    hello.version = "TUVO!! 1.0.0";
    Message start;
    start.type = MessageType::start;
    start.seed = 4000000000u;
    start.inputDelay = 7;
    Message keys;
    keys.type = MessageType::keys;
    keys.tick = 21599;
    keys.keys = 0x7FFF;
    Message hash;
    hash.type = MessageType::worldHash;
    hash.tick = 60;
    hash.hash = 0xFEDCBA9876543210ull;
    Message pause;
    pause.type = MessageType::pause;
    pause.paused = true;
    for (const Message& sent : {hello, start, keys, hash, pause}) {
        Message got;
        const std::string bytes = encodeMessage(sent);
        ASSERT_TRUE(decode(bytes, got)) << int(sent.type);
        EXPECT_EQ(got.type, sent.type);
        EXPECT_EQ(got.version, sent.version);
        EXPECT_EQ(got.seed, sent.seed);
        EXPECT_EQ(got.inputDelay, sent.inputDelay);
        EXPECT_EQ(got.tick, sent.tick);
        EXPECT_EQ(got.keys, sent.keys);
        EXPECT_EQ(got.hash, sent.hash);
        EXPECT_EQ(got.paused, sent.paused);
        // Cut short or with a byte too many, no message is read.
        EXPECT_FALSE(decode(bytes.substr(0, bytes.size() - 1), got)) << int(sent.type);
        EXPECT_FALSE(decode(bytes + '\0', got)) << int(sent.type);
    }
    Message m;
    EXPECT_FALSE(decode("", m));
    EXPECT_FALSE(decode(std::string(1, '\x63'), m)) << "no such type";
    keys.keys = 0x8000;
    EXPECT_FALSE(decode(encodeMessage(keys), m)) << "a key the game does not have";
    start.inputDelay = 11;
    EXPECT_FALSE(decode(encodeMessage(start), m)) << "a delay out of its range";
    std::string badMagic = encodeMessage(hello);
    badMagic[1] = 'X';
    EXPECT_FALSE(decode(badMagic, m));
    std::string longVersion = encodeMessage(hello);
    longVersion[7] = 200; // says 200 bytes of version text follow
    EXPECT_FALSE(decode(longVersion, m));
    std::string control = encodeMessage(hello);
    control.back() = '\n';
    EXPECT_FALSE(decode(control, m)) << "version text is printable";
}

TEST(Lockstep, ATickRunsOnceBothPlayersKeysAreThereAndEitherKeySetPlaysOnesOwnPlayer) {
    Lockstep host(1, 3), guest(2, 3);
    // The first three ticks hold no keys on either side.
    for (uint32_t t = 0; t < 3; ++t) {
        EXPECT_TRUE(host.ready(t));
        EXPECT_TRUE(host.wantsLocalKeys(t));
    }
    KeyState arrows; // the guest plays with the other key set: it still moves player 2
    arrows.player[0][keyForward] = true;
    uint16_t packed = 0;
    EXPECT_EQ(guest.addLocal(arrows, packed), 3u);
    EXPECT_EQ(unpackKeys(packed).player[1][keyForward], true);
    EXPECT_EQ(unpackKeys(packed).player[0][keyForward], false);

    KeyState bomb;
    bomb.player[0][keyBomb] = true;
    uint16_t hostPacked = 0;
    EXPECT_EQ(host.addLocal(bomb, hostPacked), 3u);
    EXPECT_FALSE(host.wantsLocalKeys(0)) << "one tick ahead is enough for now";
    EXPECT_FALSE(host.ready(3)) << "the guest's keys for tick 3 are still out";
    for (uint32_t t = 0; t < 3; ++t)
        host.take(t);
    EXPECT_FALSE(host.addRemote(3, hostPacked)) << "player 1's keys do not come from the guest";
    EXPECT_TRUE(host.addRemote(3, packed));
    EXPECT_FALSE(host.addRemote(3, packed)) << "a tick's keys come once";
    ASSERT_TRUE(host.ready(3));
    const KeyState both = host.take(3);
    EXPECT_TRUE(both.player[0][keyBomb]);
    EXPECT_TRUE(both.player[1][keyForward]);
    EXPECT_FALSE(host.addRemote(3, packed)) << "a tick already run";
    EXPECT_FALSE(host.addRemote(4 + 3 + 64 + 1, packed)) << "further ahead than a side can be";

    EXPECT_EQ(inputDelayFor(0), 2u);
    EXPECT_EQ(inputDelayFor(100), 4u); // 50 ms one way: three ticks, and one more
    EXPECT_EQ(inputDelayFor(101), 5u);
    EXPECT_EQ(inputDelayFor(5000), 10u);
}
