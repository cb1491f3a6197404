#pragma once
#include "lobby/Lobby.h"
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

// The lobby on TCP: one thread, non-blocking sockets and epoll. Every connection waiting to be
// taken is taken on each pass (a burst of players at once waits in a backlog sized for it, not
// for a SYN sent again). Each connection's lines go to the Lobby; a line longer than the
// protocol allows ends the connection with an error, and a connection that does not read its
// replies is hung up: what it holds is bounded (a line coming in, its replies going out).
constexpr int lobbyBacklog = 4096;
constexpr size_t mostUnsentLobbyBytes = 8 * 1024;
// What the server holds for a connection at most beside the lobby: a line coming in, the
// replies going out.
constexpr size_t lobbyServerBytesPerConnection = 2 * longestLobbyLine + mostUnsentLobbyBytes + 64;

struct LobbyAddress {
    std::string host; // empty: every address
    uint16_t port = 7720;
};
// "ADDRESS[:PORT]", "[IPv6][:PORT]" or ":PORT"; false for anything else.
bool readLobbyAddress(const std::string& text, uint16_t defaultPort, LobbyAddress& address);

// Listens and serves until `stop` turns true (checked at least every 200 ms). Answers false,
// having said why on standard error, when it cannot listen.
bool serveLobby(const LobbyAddress& listen, Lobby& lobby, const std::atomic<bool>& stop);

// The same in two steps: a listening socket (and the port it took, port 0 asking for any), -1
// when there is none; then serving on it, which closes it at the end. `sideline`, when given, is
// a socket the server's thread also watches: `ready` runs there when it is readable, so that it
// may read the lobby.
struct LobbySideline {
    int fd = -1;
    std::function<void()> ready;
};
int openLobbyListener(const LobbyAddress& listen, uint16_t& port);
bool serveLobbyOn(int listener, Lobby& lobby, const std::atomic<bool>& stop,
                  const LobbySideline& sideline = {});
