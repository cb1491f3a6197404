#pragma once
#include "net/NetPacket.h"
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct _ENetHost;
struct _ENetPeer;

// One connection between two machines over ENet: keys on an unreliable, unsequenced channel,
// every other message on a reliable, ordered one. The host waits for one guest and refuses any
// other; only the accepted peer's packets are read, and every packet goes through decodeMessage
// first. The other side is gone when nothing at all has come from it for 5 s (a lossy path is
// not a reason: ENet is never let give up on a peer first); a guest that finds no host keeps
// trying, a fresh attempt every 3 s, until it is let in; once a host answers, its welcome is
// waited for 20 s.
class NetSession {
  public:
    enum class Role { host, guest };
    struct Event {
        enum Kind { joined, arrived, refused, left } kind;
        Message message; // arrived: the message; refused: its reason
    };

    // Opens the host at a port (on all addresses, or on the one given; port 0: any free one, then
    // in `port`). Null, with a message, when the port cannot be had.
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
    // Ends the connection (or the waiting, or the looking) for good: nothing more is sent or read.
    void close();
    // Sends what is queued now rather than at the next poll.
    void flush();
    bool connected() const { return accepted; }
    // A guest that has not found its host in its first attempt, and is still trying.
    bool stillLooking() const { return role == Role::guest && !everIn && attempts > 0; }
    // The mean round trip to the other side in milliseconds (ENet's own estimate).
    uint32_t roundTrip() const;
    // How long nothing has come from the accepted other side, in milliseconds.
    uint64_t silentMs() const;

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
    uint64_t lastHeard = 0;
    uint64_t connectUntil = 0; // the end of the guest's present attempt to get in
    uint32_t hostIp = 0;       // the guest's host, in ENet's byte order
    uint32_t attempts = 0;     // the guest's attempts after the first
    bool everIn = false;
};

// The game's version text, as a guest introduces itself.
extern const char* const gameVersion;
