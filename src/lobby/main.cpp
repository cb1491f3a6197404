#include "lobby/Lobby.h"
#include "lobby/LobbyServer.h"
#include <atomic>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <random>
#include <string>
#include <vector>
#include <sys/random.h>

// tuvo-lobby: hands out room codes and passes two games each other's ICE descriptions and
// short-lived relay credentials. It never carries game data.
namespace {
std::atomic<bool> stopping{false};

void usage(std::FILE* to) {
    std::fputs(
        "usage: tuvo-lobby --listen ADDRESS[:PORT] --turn HOST[:PORT]... --turn-secret FILE\n"
        "  --listen       where the games reach the lobby (TCP, port 7720)\n"
        "  --turn         a STUN and TURN server the games are to use (port 3478); given\n"
        "                 more than once, each room is handed two of them in turn\n"
        "  --turn-secret  a file whose first line is the static-auth-secret the relays share\n",
        to);
}

uint32_t randomBits() {
    uint32_t bits = 0;
    if (getrandom(&bits, sizeof bits, 0) == sizeof bits)
        return bits;
    static std::random_device device;
    return device();
}
} // namespace

int main(int argc, char** argv) {
    std::string listenText, secretPath;
    std::vector<std::string> turnTexts;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            usage(stdout);
            return 0;
        }
        if (arg == "--turn" && i + 1 < argc) {
            turnTexts.push_back(argv[++i]);
            continue;
        }
        std::string* value = arg == "--listen"        ? &listenText
                             : arg == "--turn-secret" ? &secretPath
                                                      : nullptr;
        if (!value || i + 1 >= argc) {
            std::fprintf(stderr, "tuvo-lobby: %s %s\n", arg.c_str(),
                         value ? "needs a value" : "is not an option");
            usage(stderr);
            return 2;
        }
        *value = argv[++i];
    }
    LobbyAddress listen;
    if (listenText.empty() || turnTexts.empty() || secretPath.empty()) {
        usage(stderr);
        return 2;
    }
    if (!readLobbyAddress(listenText, 7720, listen)) {
        std::fprintf(stderr, "tuvo-lobby: --listen %s: not ADDRESS[:PORT]\n", listenText.c_str());
        return 2;
    }
    LobbyRelays relays;
    for (const std::string& text : turnTexts) {
        LobbyAddress turn;
        if (!readLobbyAddress(text, 3478, turn) || turn.host.empty() ||
            turn.host.size() > longestTurnWord) {
            std::fprintf(stderr, "tuvo-lobby: --turn %s: not HOST[:PORT]\n", text.c_str());
            return 2;
        }
        relays.servers.push_back({turn.host, turn.port});
    }
    std::ifstream file(secretPath);
    std::string secret;
    if (!file || !std::getline(file, secret) || secret.empty()) {
        std::fprintf(stderr, "tuvo-lobby: %s: no secret on its first line\n", secretPath.c_str());
        return 2;
    }
    relays.secret = secret;
    const LobbyLimits limits;
    Lobby lobby(relays, limits, randomBits,
                [] { return static_cast<int64_t>(std::time(nullptr)); });
    struct sigaction stop {};
    stop.sa_handler = [](int) { stopping = true; };
    sigaction(SIGTERM, &stop, nullptr);
    sigaction(SIGINT, &stop, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    std::string relayNames;
    for (const LobbyRelay& r : relays.servers)
        relayNames += " " + r.host + ":" + std::to_string(r.port);
    std::fprintf(stderr,
                 "tuvo-lobby: listening on %s port %u for %zu connections (at most %zu KiB "
                 "held), relays%s\n",
                 listen.host.empty() ? "every address" : listen.host.c_str(), listen.port,
                 limits.connections,
                 (lobby.mostBytes() + limits.connections * lobbyServerBytesPerConnection) / 1024,
                 relayNames.c_str());
    return serveLobby(listen, lobby, stopping) ? 0 : 1;
}
