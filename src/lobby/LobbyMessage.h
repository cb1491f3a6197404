#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What the game and the lobby say to each other: one line of printable ASCII a message, words
// apart by single spaces, ended by a line feed (not part of the line read here). The lobby never
// sees game data, only what two sides need to find a way to each other.
//
//   game -> lobby   HOST 2                      a room, please (protocol 2)
//                   JOIN 2 CODE                 the room with this code
//                   ICE DESCRIPTION             this side's ICE credentials and candidates
//   lobby -> game   ROOM CODE                   the host's room, to be read out to player 2
//                   TURN USER PASS HOST PORT... once both sides are there: the relays to use
//                                               (up to four; none from a lobby for one local
//                                               network), one credential good for each
//                   PEER DESCRIPTION            the other side's ICE credentials and candidates
//                   ERROR TEXT...               what went wrong; the lobby then hangs up
//
// DESCRIPTION is the side's ICE session description in base64, so that it is one word. The
// host hears ROOM at once and TURN only when a guest has come with the code: a relay
// credential is only ever given to the two sides of a room in play.
enum class LobbyKind : uint8_t { host, join, ice, turn, room, peer, error };

struct LobbyRelay {
    std::string host;
    uint16_t port = 3478;
    bool operator==(const LobbyRelay&) const = default;
};
constexpr size_t mostLobbyRelays = 4;

struct LobbyMessage {
    LobbyKind kind = LobbyKind::error;
    std::string code;        // join, room
    std::string description; // ice, peer (base64)
    std::string turnUser, turnPassword;
    std::vector<LobbyRelay> relays; // turn: up to mostLobbyRelays
    std::string text;               // error
};

constexpr int lobbyProtocol = 2;
// The longest line either side accepts, without its line feed; a longer one is refused unread.
constexpr size_t longestLobbyLine = 4096;
constexpr size_t longestDescription = 3600;
constexpr size_t longestErrorText = 200;
constexpr size_t longestTurnWord = 255;

// Reads one line. False, with `why` saying what is wrong, for anything that is not one message
// of the protocol exactly as writeLobbyMessage writes it.
bool readLobbyMessage(std::string_view line, LobbyMessage& message, std::string& why);
// The line of a message, without its line feed. Fields are written as given: a caller puts in
// only what readLobbyMessage would take back.
std::string writeLobbyMessage(const LobbyMessage& message);
