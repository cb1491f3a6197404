#pragma once
#include "lobby/Lobby.h"
#include <atomic>
#include <cstdint>
#include <string>

// The lobby on TCP: one thread, non-blocking sockets and poll. Each connection's lines go to the
// Lobby; a line longer than the protocol allows ends the connection with an error, and a
// connection's unsent replies are bounded too.
struct LobbyAddress {
    std::string host; // empty: every address
    uint16_t port = 7720;
};
// "ADDRESS[:PORT]", "[IPv6][:PORT]" or ":PORT"; false for anything else.
bool readLobbyAddress(const std::string& text, uint16_t defaultPort, LobbyAddress& address);

// Listens and serves until `stop` turns true (checked at least every 200 ms). Answers false,
// having said why on standard error, when it cannot listen.
bool serveLobby(const LobbyAddress& listen, Lobby& lobby, const std::atomic<bool>& stop);
