#pragma once
#include <cstdint>
#include <string>

// The messages two machines playing one round exchange. Only each tick's keys travel, with the
// few messages that start, pause and check the round. Every packet is read by decodeMessage,
// which takes nothing on trust: a packet of the wrong size, type or content is refused.
enum class MessageType : uint8_t {
    hello = 1,     // guest to host: the game's version
    refuse = 2,    // host to guest: turned away (another version, or a round already has two)
    start = 3,     // host to guest: the round begins with this seed and input delay
    askStart = 4,  // guest to host: START was clicked on the guest's side
    keys = 5,      // one tick's keys of the sender's player
    worldHash = 6, // the fingerprint of the sender's world after a tick
    pause = 7,     // the round waits, or goes on
    askAgain = 8,  // guest to host: Space after 0:00
    welcome = 9,   // host to guest: taken as player 2
    endRound = 10, // either way: END ROUND on the pause menu, both go back to the title
};

// The network protocol's version; a peer speaking another is refused.
constexpr uint16_t protocolVersion = 1;
constexpr uint8_t smallestInputDelay = 2, largestInputDelay = 10;
constexpr size_t longestVersionText = 32;

enum class RefuseReason : uint8_t { otherVersion = 1, roundFull = 2 };

struct Message {
    MessageType type = MessageType::hello;
    uint16_t protocol = protocolVersion; // hello
    std::string version;                 // hello: the game's version text
    RefuseReason reason = RefuseReason::otherVersion;
    uint32_t seed = 0;      // start
    uint8_t inputDelay = 0; // start, in ticks
    uint32_t tick = 0;      // keys, worldHash
    uint16_t keys = 0;      // keys: packed as a recording packs them
    uint64_t hash = 0;      // worldHash
    bool paused = false;    // pause
};

std::string encodeMessage(const Message& message);
// False for anything that is not exactly a message of this protocol.
bool decodeMessage(const uint8_t* data, size_t size, Message& message);
