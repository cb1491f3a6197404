#pragma once
#include "lobby/AddressMemory.h"
#include "lobby/LobbyMessage.h"
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The lobby's bounds. Everything it holds is in tables made once at these sizes, so that no way
// of talking to it, from one address or many, makes it grow: a connection's slot (with its room,
// when it hosts one, and its ICE description) and the remembered addresses.
struct LobbyLimits {
    size_t connections = 2048;
    // Live at once: connections and rooms of one address; an IPv6 /64 may have twice as many.
    size_t connectionsPerAddress = 8;
    size_t roomsPerAddress = 3;
    // Over time, per address (and twice as many per /64): connections opened, rooms made, wrong
    // codes sent, and joins that were given relay credentials.
    Rate opens{30, 60 * 1000};
    Rate roomsMade{10, 10 * 60 * 1000};
    Rate wrongCodes{10, 10 * 60 * 1000};
    Rate relayGrants{10, 10 * 60 * 1000};
    // A new connection says HOST or JOIN within this; a side given relay credentials sends its
    // ICE description within this.
    uint64_t helloMs = 10 * 1000;
    uint64_t gatheringMs = 20 * 1000;
    // A host waits this long for its guest, then is told and hung up.
    uint64_t hostWaitMs = 10 * 60 * 1000;
    size_t rememberedAddresses = 16384;
};

// The relays the lobby hands out (coturn servers sharing one static-auth-secret, so that one
// credential is good on each) and how many of them each room gets, taken in turn.
struct LobbyRelays {
    std::vector<LobbyRelay> servers;
    std::string secret;
    size_t perRoom = 2;
};

// The lobby's rooms, without sockets: connections come, say lines and go, and the lobby answers
// lines to send, closing a connection after its last one. A host asks for a room (HOST) and gets
// its code (ROOM) at once. A guest sends the code (JOIN); now that both sides are there, each is
// given the room's relay credentials (TURN) and sends its ICE description, and once both have,
// each gets the other's (PEER) and the room is forgotten. A guest that fails or falls silent
// before that leaves the room to the right guest at once; a host that goes takes its room along.
class Lobby {
  public:
    // A connection's slot and that slot's use, so that a late reply never reaches a newcomer.
    using Connection = uint64_t;
    struct Reply {
        Connection to;
        std::string line;   // without its line feed; empty: nothing to say
        bool close = false; // hang up once it is sent
    };

    Lobby(LobbyRelays relays, LobbyLimits limits, std::function<uint32_t()> random,
          std::function<int64_t()> unixSeconds);

    // A new connection from an address: its handle, or 0 with `refusal` (a line to send before
    // hanging up) when the lobby or that address has as many as it takes.
    Connection opened(const std::string& address, uint64_t nowMs, std::string& refusal);
    void received(Connection c, std::string_view line, uint64_t nowMs, std::vector<Reply>& replies);
    // The connection went away (or was sent off): whatever way a connection ends, it ends here.
    void closed(Connection c, uint64_t nowMs, std::vector<Reply>& replies);
    // Sends away what has waited too long: a silent newcomer, a host whose code ran out, a side
    // that never sent its description.
    void tick(uint64_t nowMs, std::vector<Reply>& replies);

    size_t roomCount() const;
    // The codes of rooms whose host waits for its guest, at most `most` of them.
    std::vector<std::string> waitingCodes(size_t most) const;
    size_t connectionCount() const { return limits.connections - freeSlots.size(); }
    size_t capacity() const { return limits.connections; }
    static size_t slotOf(Connection c) { return static_cast<size_t>(c & 0xffffffffu); }
    // The bytes the lobby holds at most, whatever comes: its tables, and a description and a
    // line in each slot.
    size_t mostBytes() const;

  private:
    enum class Stage {
        free,
        fresh,       // said nothing yet
        hostWaiting, // has a room, no guest
        hostPaired,  // a guest came with the code
        guestPaired,
        ending, // sent off or done: only its last line to send
    };
    struct Client {
        uint32_t use = 0; // how many connections this slot has had
        Stage stage = Stage::free;
        AddressKey address;
        uint64_t deadline = 0;
        Connection partner = 0;
        std::string code;        // the room's, for its host and its guest
        std::string description; // its ICE description, once sent
        // The host's room: when it was made; when its relay credentials run out (0: none yet).
        uint64_t roomMade = 0;
        int64_t relayExpiry = 0;
        size_t relayFirst = 0; // the first of the room's relays
        bool hostHasRelay = false;
    };

    Client* find(Connection c);
    void fail(Connection c, const std::string& text, std::vector<Reply>& replies);
    void end(Connection c, std::vector<Reply>& replies);
    void host(Connection c, uint64_t now, std::vector<Reply>& replies);
    void join(Connection c, const std::string& code, uint64_t now, std::vector<Reply>& replies);
    void describe(Connection c, const std::string& description, uint64_t now,
                  std::vector<Reply>& replies);
    Connection roomWithCode(const std::string& code, uint64_t now);
    // Counts of live connections or rooms (hosts) from an address or its network.
    size_t live(const AddressKey& key, bool rooms) const;
    bool overRate(const AddressKey& address, AddressMemory::Count what, const Rate& rate,
                  uint64_t now);
    void count(const AddressKey& address, AddressMemory::Count what, const Rate& rate,
               uint64_t now);
    std::string relayLine(const Client& host);
    std::string newCode(uint64_t now);

    LobbyRelays relays;
    LobbyLimits limits;
    std::function<uint32_t()> random;
    std::function<int64_t()> unixSeconds;
    std::vector<Client> slots;
    std::vector<uint32_t> freeSlots;
    AddressMemory remembered;
    size_t nextRelay = 0;
};
