#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// What the game and the lobby say to each other: one line of printable ASCII a message, words
// apart by single spaces, ended by a line feed (not part of the line read here). The lobby never
// sees game data, only what two sides need to find a way to each other.
//
//   game -> lobby   HOST 1                      a room, please (protocol 1)
//                   JOIN 1 CODE                 the room with this code
//                   ICE DESCRIPTION             this side's ICE credentials and candidates
//   lobby -> game   TURN HOST PORT USER PASS    the relay to use, and credentials for an hour
//                   ROOM CODE                   the host's room, to be read out to player 2
//                   PEER DESCRIPTION            the other side's ICE credentials and candidates
//                   ERROR TEXT...               what went wrong; the lobby then hangs up
//
// DESCRIPTION is the side's ICE session description in base64, so that it is one word.
enum class LobbyKind : uint8_t { host, join, ice, turn, room, peer, error };

struct LobbyMessage {
    LobbyKind kind = LobbyKind::error;
    std::string code;        // join, room
    std::string description; // ice, peer (base64)
    std::string turnHost, turnUser, turnPassword;
    uint16_t turnPort = 0;
    std::string text; // error
};

constexpr int lobbyProtocol = 1;
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
