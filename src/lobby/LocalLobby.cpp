#include "lobby/LocalLobby.h"
#include "lobby/LobbyServer.h"
#include "lobby/RoomCode.h"
#include <algorithm>
#include <arpa/inet.h>
#include <ctime>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <random>
#include <sys/random.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
const std::string ask = "TUVO LOOK 2";
const std::string answerWord = "TUVO GAMES 2 ";
constexpr size_t mostCodesAnswered = 8;
constexpr size_t mostGamesKept = 16;
constexpr uint64_t askEveryMs = 1000, keptMs = 3000;

uint32_t randomBits() {
    uint32_t bits = 0;
    if (getrandom(&bits, sizeof bits, 0) == sizeof bits)
        return bits;
    static std::random_device device;
    return device();
}

// Private, link-local and loopback addresses: the ones a local network's games have.
bool nearby(const sockaddr_in& a) {
    const uint32_t ip = ntohl(a.sin_addr.s_addr);
    return (ip >> 24) == 10 || (ip >> 24) == 127 || (ip >> 20) == 0xac1 || (ip >> 16) == 0xc0a8 ||
           (ip >> 16) == 0xa9fe;
}

int udpSocket() {
    return socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
}
} // namespace

LocalLobby::LocalLobby(uint16_t askPort) {
    // A home's worth: a few games at a time.
    LobbyLimits limits;
    limits.connections = 64;
    limits.rememberedAddresses = 256;
    LobbyRelays relays;
    relays.secret = std::to_string(randomBits()); // no relay takes it: there is none
    lobby = std::make_unique<Lobby>(relays, limits, randomBits,
                                    [] { return static_cast<int64_t>(std::time(nullptr)); });
    const int listener = openLobbyListener({"", 0}, tcpPort);
    if (listener < 0) {
        error = "the game cannot serve a lobby of its own";
        return;
    }
    asks = udpSocket();
    sockaddr_in here{};
    here.sin_family = AF_INET;
    here.sin_addr.s_addr = htonl(INADDR_ANY);
    here.sin_port = htons(askPort);
    const int yes = 1;
    // Several games hosting on one machine each hear a broadcast.
    if (asks >= 0)
        setsockopt(asks, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (asks < 0 || bind(asks, reinterpret_cast<sockaddr*>(&here), sizeof here) != 0) {
        error = "the game cannot answer on the local network (UDP port " + std::to_string(askPort) +
                ")";
        close(listener);
        if (asks >= 0)
            close(asks);
        asks = -1;
        return;
    }
    thread = std::thread([this, listener] {
        serveLobbyOn(listener, *lobby, stop, LobbySideline{asks, [this] { answer(); }});
    });
}

LocalLobby::~LocalLobby() {
    stop = true;
    if (thread.joinable())
        thread.join();
    if (asks >= 0)
        close(asks);
}

// On the server's thread: the lobby may be read here.
void LocalLobby::answer() {
    char buffer[64];
    for (;;) {
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t got =
            recvfrom(asks, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &length);
        if (got < 0)
            return;
        if (std::string(buffer, static_cast<size_t>(got)) != ask || from.sin_family != AF_INET ||
            !nearby(from))
            continue;
        const std::vector<std::string> codes = lobby->waitingCodes(mostCodesAnswered);
        if (codes.empty())
            continue;
        std::string line = answerWord + std::to_string(tcpPort);
        for (const std::string& code : codes)
            line += " " + code;
        sendto(asks, line.data(), line.size(), 0, reinterpret_cast<sockaddr*>(&from), length);
    }
}

LocalGameSearch::LocalGameSearch(uint16_t port, std::vector<std::string> at)
    : askPort(port), askAt(std::move(at)) {
    fd = udpSocket();
    const int yes = 1;
    if (fd >= 0)
        setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &yes, sizeof yes);
    if (!askAt.empty())
        return;
    // Every network this machine is on, by its broadcast address, and this machine itself.
    askAt.push_back("127.0.0.1");
    ifaddrs* all = nullptr;
    if (getifaddrs(&all) != 0)
        return;
    for (ifaddrs* i = all; i; i = i->ifa_next) {
        if (!i->ifa_broadaddr || !(i->ifa_flags & IFF_BROADCAST) || !(i->ifa_flags & IFF_UP) ||
            i->ifa_broadaddr->sa_family != AF_INET)
            continue;
        char text[INET_ADDRSTRLEN] = "";
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(i->ifa_broadaddr)->sin_addr, text,
                  sizeof text);
        askAt.push_back(text);
    }
    freeifaddrs(all);
}

LocalGameSearch::~LocalGameSearch() {
    if (fd >= 0)
        close(fd);
}

const std::vector<LocalGame>& LocalGameSearch::look(uint64_t now) {
    char buffer[256];
    for (;;) {
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t got = fd < 0 ? -1
                                   : recvfrom(fd, buffer, sizeof buffer, 0,
                                              reinterpret_cast<sockaddr*>(&from), &length);
        if (got < 0)
            break;
        const std::string line(buffer, static_cast<size_t>(got));
        if (line.rfind(answerWord, 0) != 0 || from.sin_family != AF_INET)
            continue;
        char address[INET_ADDRSTRLEN] = "";
        inet_ntop(AF_INET, &from.sin_addr, address, sizeof address);
        size_t at = answerWord.size();
        const size_t space = line.find(' ', at);
        const std::string portText =
            line.substr(at, space == std::string::npos ? space : space - at);
        if (portText.empty() || portText.size() > 5 ||
            portText.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const int port = std::stoi(portText);
        if (port < 1 || port > 65535)
            continue;
        for (at = space; at != std::string::npos && at < line.size();) {
            const size_t end = line.find(' ', at + 1);
            const std::string code =
                line.substr(at + 1, end == std::string::npos ? end : end - at - 1);
            at = end;
            if (code.size() != roomCodeLength || normalRoomCode(code) != code)
                continue;
            auto same = std::find_if(heard.begin(), heard.end(),
                                     [&](const Heard& h) { return h.game.code == code; });
            if (same == heard.end()) {
                if (heard.size() >= mostGamesKept)
                    continue;
                same = heard.insert(heard.end(), Heard{});
            }
            same->game = LocalGame{address, static_cast<uint16_t>(port), code};
            same->at = now;
        }
    }
    heard.erase(std::remove_if(heard.begin(), heard.end(),
                               [&](const Heard& h) { return now - h.at >= keptMs; }),
                heard.end());
    if (fd >= 0 && (!asked || now - lastAsked >= askEveryMs)) {
        asked = true;
        lastAsked = now;
        for (const std::string& where : askAt) {
            sockaddr_in to{};
            to.sin_family = AF_INET;
            to.sin_port = htons(askPort);
            if (inet_pton(AF_INET, where.c_str(), &to.sin_addr) == 1)
                sendto(fd, ask.data(), ask.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
        }
    }
    games.clear();
    for (const Heard& h : heard)
        games.push_back(h.game);
    return games;
}
