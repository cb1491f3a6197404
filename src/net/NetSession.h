#pragma once
#include "net/NetPacket.h"
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct _ENetHost;
struct _ENetPeer;

// One connection between two machines over ENet, on one reliable, ordered channel. The host
// waits for one guest and refuses any other; only the accepted peer's packets are read, and
// every packet goes through decodeMessage first.
class NetSession {
  public:
    enum class Role { host, guest };
    struct Event {
        enum Kind { joined, arrived, refused, left } kind;
        Message message; // arrived: the message; refused: its reason
    };

    // Opens the host at a port (on all addresses, or on the one given). Null, with a message,
    // when the port cannot be had.
    static std::unique_ptr<NetSession> host(const std::string& address, uint16_t port,
                                            std::string& error);
    // Starts connecting to a host. Null, with a message, when the name cannot be resolved.
    static std::unique_ptr<NetSession> join(const std::string& address, uint16_t port,
                                            std::string& error);
    ~NetSession();
    NetSession(const NetSession&) = delete;
    NetSession& operator=(const NetSession&) = delete;

    // Services the connection, waiting at most waitMs, and adds what happened to `events`.
    void poll(std::vector<Event>& events, uint32_t waitMs = 0);
    void send(const Message& message);
    // Sends what is queued now rather than at the next poll.
    void flush();
    bool connected() const { return accepted; }
    // The mean round trip to the other side in milliseconds (ENet's own estimate).
    uint32_t roundTrip() const;

    // A test's stand-in for a poor connection: a share of the datagrams that arrive is lost
    // (ENet sends them again) and every message is held back for delayMs.
    void simulate(double lossShare, uint32_t delayMs);

    Role role;
    std::string address; // the host's name as the guest gave it; empty on the host
    uint16_t port = 0;
    // Packets refused for their size, type, version or content, or for coming from a stranger.
    uint32_t dropped = 0;

  private:
    NetSession() = default;
    void accept(_ENetPeer* peer);
    void received(_ENetPeer* from, const uint8_t* data, size_t size, std::vector<Event>& events);

    _ENetHost* enet = nullptr;
    _ENetPeer* peer = nullptr;
    bool accepted = false;
    uint32_t delayMs = 0;
    struct Held {
        uint64_t due;
        Event event;
    };
    std::vector<Held> held;
};

// The game's version text, as a guest introduces itself.
extern const char* const gameVersion;
