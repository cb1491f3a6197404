#pragma once
#include "lobby/Lobby.h"
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

// Online play on one network without a lobby on the internet: the host's game serves a lobby of
// its own, and guests on the same network find its waiting rooms by a broadcast.
//
// On UDP port localGamesPort, a game looking asks      TUVO LOOK 2
// and each local lobby with rooms waiting answers      TUVO GAMES 2 PORT CODE [CODE...]
// (PORT its lobby's TCP port at the answer's address). Only asks from a private, link-local or
// loopback address are answered: a game on a public address tells the internet nothing.
constexpr uint16_t localGamesPort = 7721;

// A lobby of the game's own, on a thread: on a free TCP port of every address, with no relays
// (two games on one network need none), answering the local network's asks with its codes.
class LocalLobby {
  public:
    explicit LocalLobby(uint16_t askPort = localGamesPort);
    ~LocalLobby();
    LocalLobby(const LocalLobby&) = delete;
    LocalLobby& operator=(const LocalLobby&) = delete;

    // False, with `error` saying why, when it could not start.
    bool running() const { return thread.joinable(); }
    uint16_t port() const { return tcpPort; }
    std::string error;

  private:
    void answer();
    std::unique_ptr<Lobby> lobby;
    std::atomic<bool> stop{false};
    std::thread thread;
    int asks = -1;
    uint16_t tcpPort = 0;
};

struct LocalGame {
    std::string address; // the host's, as the answer came from it
    uint16_t port = 0;   // its lobby's
    std::string code;
};

// Looks for games on the local network: asks every second by broadcast (on every network this
// machine is on, or at the addresses given), and keeps what was answered in the last three
// seconds. Never blocks.
class LocalGameSearch {
  public:
    explicit LocalGameSearch(uint16_t askPort = localGamesPort,
                             std::vector<std::string> askAt = {});
    ~LocalGameSearch();
    LocalGameSearch(const LocalGameSearch&) = delete;
    LocalGameSearch& operator=(const LocalGameSearch&) = delete;

    // Reads what came, asks again when it is time; the games heard of lately, at most 16.
    const std::vector<LocalGame>& look(uint64_t nowMs);

  private:
    struct Heard {
        LocalGame game;
        uint64_t at = 0;
    };
    int fd = -1;
    uint16_t askPort;
    std::vector<std::string> askAt;
    uint64_t lastAsked = 0;
    bool asked = false;
    std::vector<Heard> heard;
    std::vector<LocalGame> games;
};
