#pragma once
#include "lobby/LobbyMessage.h"
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

// The lobby's bounds: how much one address may ask of it, and how long things last.
struct LobbyLimits {
    uint64_t roomLifetimeMs = 10 * 60 * 1000;
    // A connection that has said nothing useful for this long (no HOST or JOIN, or no ICE after
    // its relay credentials) is sent away; a host waiting in its room is not.
    uint64_t idleMs = 30 * 1000;
    size_t connections = 512;
    size_t connectionsPerAddress = 8;
    size_t roomsPerAddress = 3;
    // Wrong codes one address may send in wrongCodeWindowMs before every JOIN of it is refused
    // until the window has passed.
    size_t wrongCodesPerAddress = 10;
    uint64_t wrongCodeWindowMs = 10 * 60 * 1000;
};

// The relay the lobby hands out, and the secret its credentials are made with.
struct TurnServer {
    std::string host; // as the games are to reach it
    uint16_t port = 3478;
    std::string secret;
};

// The lobby's rooms, without sockets: connections come, say lines and go, and the lobby answers
// lines to send, closing a connection after its last one. A host asks for a room (HOST), gets
// relay credentials (TURN), sends its ICE description and gets a code (ROOM). A guest sends the
// code (JOIN), gets relay credentials, sends its description, and each side gets the other's
// (PEER); the room is then forgotten. A room unjoined for its lifetime is forgotten too.
class Lobby {
  public:
    using Connection = uint64_t;
    struct Reply {
        Connection to;
        std::string line;   // without its line feed; empty: nothing to say
        bool close = false; // hang up once it is sent
    };

    Lobby(TurnServer turn, LobbyLimits limits, std::function<uint32_t()> random,
          std::function<int64_t()> unixSeconds);

    // A new connection from an address. False (with a reply saying why) when the lobby or this
    // address already has as many as it takes.
    bool opened(Connection c, const std::string& address, uint64_t nowMs,
                std::vector<Reply>& replies);
    void received(Connection c, std::string_view line, uint64_t nowMs, std::vector<Reply>& replies);
    // The connection went away (or its line was too long and it was sent off).
    void closed(Connection c, uint64_t nowMs, std::vector<Reply>& replies);
    // Rooms expired, connections idle too long.
    void tick(uint64_t nowMs, std::vector<Reply>& replies);

    size_t roomCount() const { return rooms.size(); }
    size_t connectionCount() const { return connections.size(); }

  private:
    enum class Stage { fresh, hostGathering, hostWaiting, guestGathering, done };
    struct Client {
        std::string address;
        Stage stage = Stage::fresh;
        uint64_t since = 0; // the moment of its last step
        std::string code;   // its room, as host or guest
    };
    struct Room {
        Connection host = 0, guest = 0;
        bool joined = false;
        std::string hostDescription;
        std::string hostAddress;
        uint64_t made = 0;
    };

    void fail(Connection c, const std::string& text, std::vector<Reply>& replies);
    void forgetRoom(const std::string& code);
    size_t roomsOf(const std::string& address) const;
    LobbyMessage turnFor();
    std::string newCode();
    bool tooManyWrongCodes(const std::string& address, uint64_t nowMs);

    TurnServer turn;
    LobbyLimits limits;
    std::function<uint32_t()> random;
    std::function<int64_t()> unixSeconds;
    std::map<Connection, Client> connections;
    std::map<std::string, Room> rooms;
    std::map<std::string, std::deque<uint64_t>> wrongCodes; // per address: when each came
};
