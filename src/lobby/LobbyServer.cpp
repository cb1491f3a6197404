#include "lobby/LobbyServer.h"
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {
// What one connection may have waiting to be sent: a few replies, never an endless pile for a
// peer that does not read.
constexpr size_t mostUnsent = 16 * 1024;

uint64_t monotonicMs() {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

struct Peer {
    int fd = -1;
    std::string in, out;
    bool closing = false; // hang up once `out` is sent
};

std::string addressText(const sockaddr_storage& a) {
    char text[INET6_ADDRSTRLEN] = "?";
    if (a.ss_family == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in&>(a).sin_addr, text, sizeof text);
    else if (a.ss_family == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6&>(a).sin6_addr, text, sizeof text);
    return text;
}

int listenOn(const LobbyAddress& where) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* found = nullptr;
    const std::string port = std::to_string(where.port);
    const int error = getaddrinfo(where.host.empty() ? nullptr : where.host.c_str(), port.c_str(),
                                  &hints, &found);
    if (error != 0) {
        std::fprintf(stderr, "tuvo-lobby: %s: %s\n", where.host.c_str(), gai_strerror(error));
        return -1;
    }
    int fd = -1;
    for (addrinfo* a = found; a && fd < 0; a = a->ai_next) {
        fd = socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0)
            continue;
        const int yes = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        if (bind(fd, a->ai_addr, a->ai_addrlen) != 0 || listen(fd, 64) != 0) {
            close(fd);
            fd = -1;
        }
    }
    freeaddrinfo(found);
    if (fd < 0)
        std::fprintf(stderr, "tuvo-lobby: cannot listen on %s port %u: %s\n",
                     where.host.empty() ? "every address" : where.host.c_str(), where.port,
                     std::strerror(errno));
    return fd;
}
} // namespace

bool readLobbyAddress(const std::string& text, uint16_t defaultPort, LobbyAddress& a) {
    a = LobbyAddress{};
    a.port = defaultPort;
    std::string host = text, port;
    if (!text.empty() && text[0] == '[') {
        const size_t close = text.find(']');
        if (close == std::string::npos)
            return false;
        host = text.substr(1, close - 1);
        const std::string rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (rest[0] != ':')
                return false;
            port = rest.substr(1);
            if (port.empty())
                return false;
        }
    } else if (const size_t colon = text.find(':'); colon != std::string::npos) {
        if (text.find(':', colon + 1) != std::string::npos)
            return false; // an IPv6 address is written in brackets
        host = text.substr(0, colon);
        port = text.substr(colon + 1);
        if (port.empty())
            return false;
    }
    if (!port.empty()) {
        if (port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos)
            return false;
        const int n = std::stoi(port);
        if (n < 1 || n > 65535)
            return false;
        a.port = static_cast<uint16_t>(n);
    }
    for (char c : host)
        if (c <= ' ' || c > '~')
            return false;
    a.host = host;
    return true;
}

bool serveLobby(const LobbyAddress& where, Lobby& lobby, const std::atomic<bool>& stop) {
    const int listener = listenOn(where);
    if (listener < 0)
        return false;
    std::map<Lobby::Connection, Peer> peers;
    Lobby::Connection next = 1;
    std::vector<Lobby::Reply> replies;
    std::vector<Lobby::Connection> gone;

    auto deliver = [&] {
        for (const Lobby::Reply& r : replies) {
            auto it = peers.find(r.to);
            if (it == peers.end())
                continue;
            if (!r.line.empty() && it->second.out.size() + r.line.size() < mostUnsent)
                it->second.out += r.line + "\n";
            it->second.closing |= r.close;
        }
        replies.clear();
    };

    while (!stop) {
        std::vector<pollfd> watched{{listener, POLLIN, 0}};
        std::vector<Lobby::Connection> order;
        for (auto& [c, p] : peers) {
            watched.push_back(
                {p.fd, static_cast<short>(POLLIN | (p.out.empty() ? 0 : POLLOUT)), 0});
            order.push_back(c);
        }
        if (poll(watched.data(), watched.size(), 200) < 0 && errno != EINTR) {
            std::fprintf(stderr, "tuvo-lobby: poll: %s\n", std::strerror(errno));
            break;
        }
        const uint64_t now = monotonicMs();
        if (watched[0].revents & POLLIN) {
            sockaddr_storage from{};
            socklen_t length = sizeof from;
            const int fd = accept4(listener, reinterpret_cast<sockaddr*>(&from), &length,
                                   SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (fd >= 0) {
                const Lobby::Connection c = next++;
                peers[c] = Peer{fd, {}, {}, false};
                lobby.opened(c, addressText(from), now, replies);
            }
        }
        for (size_t n = 1; n < watched.size(); ++n) {
            const Lobby::Connection c = order[n - 1];
            Peer& p = peers[c];
            if (watched[n].revents & (POLLIN | POLLHUP | POLLERR)) {
                char buffer[4096];
                const ssize_t got = recv(p.fd, buffer, sizeof buffer, 0);
                if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) {
                    gone.push_back(c);
                    continue;
                }
                if (got > 0 && !p.closing) {
                    p.in.append(buffer, static_cast<size_t>(got));
                    size_t end;
                    while (!p.closing && (end = p.in.find('\n')) != std::string::npos) {
                        std::string line = p.in.substr(0, end);
                        p.in.erase(0, end + 1);
                        if (!line.empty() && line.back() == '\r')
                            line.pop_back();
                        lobby.received(c, line, now, replies);
                        deliver();
                    }
                    if (p.in.size() > longestLobbyLine + 1) {
                        replies.push_back(
                            {c, "ERROR the lobby cannot read that: message too long", true});
                        p.in.clear();
                    }
                }
            }
            if ((watched[n].revents & POLLOUT) && !p.out.empty()) {
                const ssize_t sent = send(p.fd, p.out.data(), p.out.size(), MSG_NOSIGNAL);
                if (sent > 0)
                    p.out.erase(0, static_cast<size_t>(sent));
                else if (sent < 0 && errno != EAGAIN && errno != EINTR)
                    gone.push_back(c);
            }
        }
        lobby.tick(now, replies);
        deliver();
        for (auto& [c, p] : peers)
            if (p.closing && p.out.empty())
                gone.push_back(c);
        for (Lobby::Connection c : gone) {
            auto it = peers.find(c);
            if (it == peers.end())
                continue;
            close(it->second.fd);
            peers.erase(it);
            lobby.closed(c, now, replies);
        }
        gone.clear();
        deliver();
    }
    for (auto& [c, p] : peers)
        close(p.fd);
    close(listener);
    return true;
}
