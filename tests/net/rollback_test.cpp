// The network round's pieces that need no network: the messages as bytes and back, and two
// sides running ahead of each other's keys over a make-believe path that holds keys back and
// loses some, joined in one process.
#include "net/NetPacket.h"
#include "net/Rollback.h"
#include "record/Replay.h"
#include "rules/WorldHash.h"
#include "rules/RoundTick.h"
#include "support/RoundDriver.h"
#include <gtest/gtest.h>
#include <random>

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
    Message keys; // a full run, as sent after a long silence
    keys.type = MessageType::keys;
    keys.round = 3;
    keys.ack = 21590;
    keys.tick = 21599;
    for (size_t i = 0; i < longestKeyRun; ++i)
        keys.run.push_back(static_cast<uint16_t>(0x7FFF - i));
    Message heartbeat; // keys with no tick: only the acknowledgement
    heartbeat.type = MessageType::keys;
    heartbeat.ack = 7;
    Message hash;
    hash.type = MessageType::worldHash;
    hash.tick = 60;
    hash.hash = 0xFEDCBA9876543210ull;
    Message pause;
    pause.type = MessageType::pause;
    pause.paused = true;
    for (const Message& sent : {hello, start, keys, heartbeat, hash, pause}) {
        Message got;
        const std::string bytes = encodeMessage(sent);
        ASSERT_TRUE(decode(bytes, got)) << int(sent.type);
        EXPECT_EQ(got.type, sent.type);
        EXPECT_EQ(got.version, sent.version);
        EXPECT_EQ(got.seed, sent.seed);
        EXPECT_EQ(got.tick, sent.tick);
        EXPECT_EQ(got.run, sent.run);
        EXPECT_EQ(got.ack, sent.ack);
        EXPECT_EQ(got.round, sent.round);
        EXPECT_EQ(got.hash, sent.hash);
        EXPECT_EQ(got.paused, sent.paused);
        // Cut short or with a byte too many, no message is read.
        EXPECT_FALSE(decode(bytes.substr(0, bytes.size() - 1), got)) << int(sent.type);
        EXPECT_FALSE(decode(bytes + '\0', got)) << int(sent.type);
    }
    Message m;
    EXPECT_FALSE(decode("", m));
    EXPECT_FALSE(decode(std::string(1, '\x63'), m)) << "no such type";
    keys.run.push_back(1);
    EXPECT_EQ(encodeMessage(keys).size(), 1 + 10 + 2 * longestKeyRun) << "a run is cut to fit";
    std::string tooLong = encodeMessage(keys) + std::string(2, '\0');
    tooLong[10] = static_cast<char>(longestKeyRun + 1);
    EXPECT_FALSE(decode(tooLong, m)) << "a run longer than any side sends";
    keys.run.assign(3, 0);
    keys.run[1] = 0x8000;
    EXPECT_FALSE(decode(encodeMessage(keys), m)) << "a key the game does not have";
    keys.run[1] = 0;
    keys.tick = UINT32_MAX - 1;
    EXPECT_FALSE(decode(encodeMessage(keys), m)) << "a run past the last tick there can be";
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

namespace {
// One side of the pair: its round, its rollback, its key script and what it heard and recorded.
struct PairSide {
    PairSide(int player, uint32_t seed, unsigned keySeed, uint32_t ticks) : round(seed) {
        setUpRound(round);
        rollback = std::make_unique<Rollback>(player, round);
        RandomKeys random(keySeed);
        KeyState keys;
        for (uint32_t t = 0; t < ticks; ++t) {
            if (t % 6 == 0)
                keys = random.next();
            script.push_back(keys);
        }
    }
    RoundState round;
    std::unique_ptr<Rollback> rollback;
    std::vector<KeyState> script;
    std::vector<uint16_t> recorded; // both players' keys of each confirmed tick
    int blastsHeard = 0;
};

struct InFlight {
    uint32_t arrives; // at this frame
    int to;
    uint32_t ack, tick;
    std::vector<uint16_t> run;
};

// Plays both sides frame by frame, one tick a frame each as long as the window lets it, with
// every frame's keys and acknowledgement held `delay` frames (up to `jitter` more, so they
// overtake one another) and a share lost. Answers the frames it took.
uint32_t playPair(PairSide (&sides)[2], uint32_t ticks, uint32_t delay, uint32_t jitter,
                  double loss) {
    std::mt19937 random(2024);
    std::uniform_real_distribution<double> share(0, 1);
    std::vector<InFlight> path;
    uint32_t frame = 0;
    for (; frame < 20 * ticks; ++frame) {
        if (sides[0].round.ticks == ticks && sides[1].round.ticks == ticks &&
            sides[0].rollback->confirmedRound().ticks == ticks &&
            sides[1].rollback->confirmedRound().ticks == ticks)
            break;
        for (int n = 0; n < 2; ++n) {
            PairSide& side = sides[n];
            for (auto f = path.begin(); f != path.end();) {
                if (f->to == n && f->arrives <= frame) {
                    EXPECT_TRUE(side.rollback->acknowledged(f->ack));
                    for (size_t i = 0; i < f->run.size(); ++i)
                        EXPECT_TRUE(side.rollback->addRemote(f->tick + i, f->run[i]));
                    f = path.erase(f);
                } else {
                    ++f;
                }
            }
            side.rollback->settle([&](const RoundState&, const KeyState& keys) {
                side.recorded.push_back(packKeys(keys));
            });
            if (side.round.ticks < ticks && side.rollback->canAdvance())
                side.rollback->advance(side.script[side.round.ticks]);
            // What the frame plays, as the game's sound does.
            for (const RoundEvent& e : side.rollback->takeEvents())
                side.blastsHeard += e.kind == RoundEvent::blast;
            InFlight sent{frame + delay + static_cast<uint32_t>(share(random) * (jitter + 1)),
                          1 - n,
                          side.rollback->heardTicks(),
                          side.rollback->firstUnacknowledged(),
                          {}};
            for (uint32_t t = sent.tick; t < side.round.ticks; ++t)
                sent.run.push_back(side.rollback->ownKeys(t));
            if (share(random) >= loss)
                path.push_back(sent);
        }
    }
    return frame;
}

// The round of the merged keys on one machine: its fingerprint and the blasts it raised.
void replayAlone(uint32_t seed, const std::vector<uint16_t>& keys, uint64_t& hash, int& blasts) {
    RoundState alone(seed);
    setUpRound(alone);
    blasts = 0;
    for (uint16_t k : keys) {
        tickRound(alone, unpackKeys(k));
        for (const RoundEvent& e : alone.events())
            blasts += e.kind == RoundEvent::blast;
    }
    hash = hashWorld(alone);
}
} // namespace

TEST(Rollback, BothSidesEndInTheRoundOfTheMergedKeysAndHearEachBlastOnce) {
    constexpr uint32_t ticks = 900, seed = 8080;
    PairSide sides[2] = {{1, seed, 11, ticks}, {2, seed, 22, ticks}};
    // 8 to 12 ticks each way (a round trip of 270 to 400 ms), a tenth lost.
    playPair(sides, ticks, 8, 4, 0.1);
    ASSERT_EQ(sides[0].recorded.size(), ticks);
    ASSERT_EQ(sides[0].recorded, sides[1].recorded);
    uint64_t hash = 0;
    int blasts = 0;
    replayAlone(seed, sides[0].recorded, hash, blasts);
    EXPECT_EQ(hashWorld(sides[0].rollback->confirmedRound()), hash);
    EXPECT_EQ(hashWorld(sides[1].rollback->confirmedRound()), hash);
    EXPECT_EQ(hashWorld(sides[0].round), hash) << "the present, corrected to the end";
    EXPECT_EQ(hashWorld(sides[1].round), hash);
    // Ticks that raised a blast were run again, and the blast was not played again.
    ASSERT_GT(blasts, 0);
    for (const PairSide& side : sides) {
        EXPECT_EQ(side.blastsHeard, blasts);
        EXPECT_GT(side.rollback->corrections, 0u);
        EXPECT_GT(side.rollback->eventsKept, 0u);
        EXPECT_LE(side.rollback->deepestCorrection, Rollback::window);
    }
}

TEST(Rollback, OwnKeysActOnTheNextTickAndTheOtherSidesAreGuessedWithinTheWindow) {
    RoundState round(99);
    setUpRound(round);
    RoundState still = round;
    Rollback host(1, round);
    // Either key set plays this machine's player; the other side has not been heard at all.
    KeyState right;
    right.player[1][keyRight] = true;
    host.advance(right);
    tickRound(still, KeyState{});
    EXPECT_NE(round.player1.x, still.player1.x) << "player 1 stepped on the very next tick";
    EXPECT_EQ(round.player2.x, still.player2.x);
    EXPECT_EQ(unpackKeys(host.ownKeys(0)).player[0][keyRight], true);

    for (uint32_t t = 1; t < Rollback::window; ++t)
        host.advance(right);
    EXPECT_FALSE(host.canAdvance()) << "a window ahead of the other side's keys, it waits";
    KeyState guest;
    guest.player[1][keyForward] = true;
    const uint16_t forward = packKeys(guest);
    KeyState hostsOwn;
    hostsOwn.player[0][keyBomb] = true;
    EXPECT_FALSE(host.addRemote(0, packKeys(hostsOwn))) << "player 1's keys come from here";
    EXPECT_FALSE(host.addRemote(3 * Rollback::window, forward)) << "further ahead than it can be";
    EXPECT_FALSE(host.acknowledged(Rollback::window + 1)) << "a tick not yet run here";
    ASSERT_TRUE(host.addRemote(0, forward));
    EXPECT_FALSE(host.addRemote(0, 0)) << "other keys for a tick already heard";
    EXPECT_EQ(host.heardTicks(), 1u);
    // Tick 0 known: the rest is guessed as the keys player 2 last held, and run again.
    std::vector<uint16_t> confirmed;
    host.settle([&](const RoundState&, const KeyState& k) { confirmed.push_back(packKeys(k)); });
    ASSERT_EQ(confirmed.size(), 1u);
    KeyState both;
    both.player[0][keyRight] = true;
    both.player[1][keyForward] = true;
    EXPECT_EQ(confirmed[0], packKeys(both));
    EXPECT_TRUE(host.canAdvance());
    EXPECT_EQ(host.corrections, 1u);
    EXPECT_EQ(host.ticksRunAgain, Rollback::window - 1);
    EXPECT_TRUE(host.addRemote(0, forward)) << "sent again until acknowledged: old news";

    RoundState alone(99);
    setUpRound(alone);
    for (uint32_t t = 0; t < Rollback::window; ++t)
        tickRound(alone, both);
    EXPECT_EQ(hashWorld(round), hashWorld(alone)) << "the guess held";
}
