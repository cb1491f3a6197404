#pragma once
#include <cstdint>
#include <memory>
#include <string>

// The way to the other player of an online round, found through the lobby: the lobby gives a
// room code (or takes one), passes the two sides each other's ICE descriptions and gives both
// relay credentials; libnice's ICE agent then tries the pairs of candidates (the home's own
// address, the router's public one learned from the STUN server, the TURN relay's) and keeps the
// best that works. ENet runs over the chosen path unchanged: a small shim on 127.0.0.1 passes
// its datagrams to and from the ICE agent. All of it runs on a thread of its own, so that the
// path's datagrams never wait for the game's frames.
struct OnlineOptions {
    bool host = true;
    std::string code; // the room to join (guest)
    std::string lobbyHost;
    uint16_t lobbyPort = 7720;
    bool alwaysRelay = false; // only the relay's address is given out and used
    uint16_t enetPort = 0;    // the host's ENet port on 127.0.0.1, where the guest's datagrams go
};

class OnlineLink {
  public:
    enum class Stage {
        lobby,      // talking to the lobby
        waiting,    // the host has its code and waits for player 2
        connecting, // both sides know each other; ICE tries the pairs
        connected,  // a path is chosen: ENet may use it
        failed,     // `error` says why
    };
    struct Status {
        Stage stage = Stage::lobby;
        std::string code;
        std::string error;
        bool relayed = false; // connected through the TURN relay (else directly)
    };

    explicit OnlineLink(const OnlineOptions& options);
    ~OnlineLink();
    OnlineLink(const OnlineLink&) = delete;
    OnlineLink& operator=(const OnlineLink&) = delete;

    Status status() const;
    // The shim's port on 127.0.0.1: the guest's ENet connects to it as to the host.
    uint16_t shimPort() const;

    struct Impl;

  private:
    std::unique_ptr<Impl> impl;
};

// How long each step may take before the link gives up with a message: together well within
// the 10 s a player waits at most to hear what went wrong.
constexpr uint32_t lobbyConnectMs = 4000;
constexpr uint32_t lobbyAnswerMs = 4000;
constexpr uint32_t gatheringMs = 1500;
constexpr uint32_t pathSearchMs = 5000;
