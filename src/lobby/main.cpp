#include "lobby/Lobby.h"
#include "lobby/LobbyServer.h"
#include <atomic>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <random>
#include <string>
#include <sys/random.h>

// tuvo-lobby: hands out room codes and passes two games each other's ICE descriptions and
// short-lived relay credentials. It never carries game data.
namespace {
std::atomic<bool> stopping{false};

void usage(std::FILE* to) {
    std::fputs("usage: tuvo-lobby --listen ADDRESS[:PORT] --turn HOST[:PORT] --turn-secret FILE\n"
               "  --listen       where the games reach the lobby (TCP, port 7720)\n"
               "  --turn         the STUN and TURN server the games are to use (port 3478)\n"
               "  --turn-secret  a file whose first line is coturn's static-auth-secret\n",
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
    std::string listenText, turnText, secretPath;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            usage(stdout);
            return 0;
        }
        std::string* value = arg == "--listen"        ? &listenText
                             : arg == "--turn"        ? &turnText
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
    LobbyAddress listen, turnAddress;
    if (listenText.empty() || turnText.empty() || secretPath.empty()) {
        usage(stderr);
        return 2;
    }
    if (!readLobbyAddress(listenText, 7720, listen)) {
        std::fprintf(stderr, "tuvo-lobby: --listen %s: not ADDRESS[:PORT]\n", listenText.c_str());
        return 2;
    }
    if (!readLobbyAddress(turnText, 3478, turnAddress) || turnAddress.host.empty()) {
        std::fprintf(stderr, "tuvo-lobby: --turn %s: not HOST[:PORT]\n", turnText.c_str());
        return 2;
    }
    std::ifstream file(secretPath);
    std::string secret;
    if (!file || !std::getline(file, secret) || secret.empty()) {
        std::fprintf(stderr, "tuvo-lobby: %s: no secret on its first line\n", secretPath.c_str());
        return 2;
    }
    TurnServer turn{turnAddress.host, turnAddress.port, secret};
    Lobby lobby(turn, LobbyLimits{}, randomBits,
                [] { return static_cast<int64_t>(std::time(nullptr)); });
    struct sigaction stop {};
    stop.sa_handler = [](int) { stopping = true; };
    sigaction(SIGTERM, &stop, nullptr);
    sigaction(SIGINT, &stop, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    std::fprintf(stderr, "tuvo-lobby: listening on %s port %u, relay %s port %u\n",
                 listen.host.empty() ? "every address" : listen.host.c_str(), listen.port,
                 turn.host.c_str(), turn.port);
    return serveLobby(listen, lobby, stopping) ? 0 : 1;
}
