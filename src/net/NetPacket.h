#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The messages two machines playing one round exchange. Only each tick's keys travel, with the
// few messages that start, pause and check the round. Every packet is read by decodeMessage,
// which takes nothing on trust: a packet of the wrong size, type or content is refused.
// Keys go unreliable and unsequenced, each datagram repeating every tick the other side has not
// yet acknowledged, so a lost one is covered by the next; the rest go reliable and in order.
enum class MessageType : uint8_t {
    hello = 1,    // guest to host: the game's version
    refuse = 2,   // host to guest: turned away (another version, or a round already has two)
    start = 3,    // host to guest: the round begins with this seed
    askStart = 4, // guest to host: START was clicked on the guest's side
    keys = 5, // the sender's keys for a run of ticks and its acknowledgement; also the heartbeat
    worldHash = 6, // the fingerprint of the sender's world after a tick
    pause = 7,     // the round waits, or goes on
    askAgain = 8,  // guest to host: Space after 0:00
    welcome = 9,   // host to guest: taken as player 2
    endRound = 10, // either way: END ROUND on the pause menu, both go back to the title
};

// The network protocol's version; a peer speaking another is refused.
// 3: the start carries the host's steering help.
constexpr uint16_t protocolVersion = 3;
constexpr size_t longestVersionText = 32;
// The most ticks one keys datagram carries: 128 bytes of keys, well inside one UDP datagram.
constexpr size_t longestKeyRun = 64;

enum class RefuseReason : uint8_t { otherVersion = 1, roundFull = 2 };

struct Message {
    MessageType type = MessageType::hello;
    uint16_t protocol = protocolVersion; // hello
    std::string version;                 // hello: the game's version text
    RefuseReason reason = RefuseReason::otherVersion;
    uint32_t seed = 0;         // start
    bool steeringHelp = false; // start: the host's setting, which both sides play by
    uint32_t tick = 0;         // keys: the first tick of `run`; worldHash: its tick
    std::vector<uint16_t> run; // keys: for tick, tick + 1, ...; packed as a recording packs them
    uint32_t ack = 0;          // keys: the receiver's ticks the sender holds, from 0 without a gap
    uint8_t round = 0;         // keys: the rounds begun in this session, counted on both sides
    uint64_t hash = 0;         // worldHash
    bool paused = false;       // pause
};

std::string encodeMessage(const Message& message);
// False for anything that is not exactly a message of this protocol.
bool decodeMessage(const uint8_t* data, size_t size, Message& message);
