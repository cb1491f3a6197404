#include "lobby/LobbyServer.h"
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

// Connections taken from the listener in one pass, so that a flood of them still leaves the
// connections already there their turn.
constexpr int acceptsPerPass = 1024;
// How long a connection sent off may take to read its last line.
constexpr uint64_t lingerMs = 5000;

uint64_t monotonicMs() {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

struct Peer {
    Lobby::Connection id = 0;
    int fd = -1;
    std::string in, out;
    bool closing = false; // hang up once `out` is sent
    uint64_t closingSince = 0;
    bool watchingOut = false;
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
        if (bind(fd, a->ai_addr, a->ai_addrlen) != 0 || listen(fd, lobbyBacklog) != 0) {
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

int openLobbyListener(const LobbyAddress& where, uint16_t& port) {
    const int listener = listenOn(where);
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    port = 0;
    if (listener >= 0 && getsockname(listener, reinterpret_cast<sockaddr*>(&bound), &length) == 0)
        port = ntohs(bound.ss_family == AF_INET6
                         ? reinterpret_cast<const sockaddr_in6&>(bound).sin6_port
                         : reinterpret_cast<const sockaddr_in&>(bound).sin_port);
    return listener;
}

bool serveLobby(const LobbyAddress& where, Lobby& lobby, const std::atomic<bool>& stop) {
    uint16_t port = 0;
    const int listener = openLobbyListener(where, port);
    return listener >= 0 && serveLobbyOn(listener, lobby, stop);
}

bool serveLobbyOn(int listener, Lobby& lobby, const std::atomic<bool>& stop,
                  const LobbySideline& sideline) {
    const int poller = epoll_create1(EPOLL_CLOEXEC);
    epoll_event listening{};
    listening.events = EPOLLIN;
    listening.data.u64 = 0;
    if (poller < 0 || epoll_ctl(poller, EPOLL_CTL_ADD, listener, &listening) != 0) {
        std::fprintf(stderr, "tuvo-lobby: epoll: %s\n", std::strerror(errno));
        if (poller >= 0)
            close(poller);
        close(listener);
        return false;
    }
    constexpr uint64_t sidelineMark = ~uint64_t{0};
    if (sideline.fd >= 0) {
        epoll_event e{};
        e.events = EPOLLIN;
        e.data.u64 = sidelineMark;
        epoll_ctl(poller, EPOLL_CTL_ADD, sideline.fd, &e);
    }
    // A descriptor kept in hand: when the process has none left, it is let go to take the waiting
    // connection and hang it up, rather than leave it knocking on every pass.
    int spare = open("/dev/null", O_RDONLY | O_CLOEXEC);
    // One peer a slot of the lobby: the lobby's bound is the server's.
    std::vector<Peer> peers(lobby.capacity());
    std::vector<Lobby::Reply> replies;
    std::vector<Lobby::Connection> closing;
    uint64_t lastTick = 0;

    auto peerOf = [&](Lobby::Connection c) -> Peer* {
        const size_t slot = Lobby::slotOf(c);
        return slot < peers.size() && peers[slot].id == c && peers[slot].fd >= 0 ? &peers[slot]
                                                                                 : nullptr;
    };
    auto watch = [&](Peer& p) {
        const bool out = !p.out.empty();
        if (out == p.watchingOut)
            return;
        epoll_event e{};
        e.events = EPOLLIN | (out ? uint32_t{EPOLLOUT} : 0u);
        e.data.u64 = p.id;
        epoll_ctl(poller, EPOLL_CTL_MOD, p.fd, &e);
        p.watchingOut = out;
    };
    auto hangUp = [&](Peer& p, uint64_t now) {
        if (!p.closing) {
            p.closing = true;
            p.closingSince = now;
            closing.push_back(p.id);
        }
    };
    auto flush = [&](Peer& p, uint64_t now) {
        while (!p.out.empty()) {
            const ssize_t sent = send(p.fd, p.out.data(), p.out.size(), MSG_NOSIGNAL);
            if (sent > 0) {
                p.out.erase(0, static_cast<size_t>(sent));
            } else {
                if (sent < 0 && errno != EAGAIN && errno != EINTR) {
                    p.out.clear();
                    hangUp(p, now);
                }
                break;
            }
        }
        watch(p);
    };
    auto deliver = [&](uint64_t now) {
        for (const Lobby::Reply& r : replies) {
            Peer* p = peerOf(r.to);
            if (!p)
                continue;
            if (!r.line.empty()) {
                // A peer that does not read its few replies is hung up, never served half.
                if (p->out.size() + r.line.size() + 1 > mostUnsentLobbyBytes) {
                    p->out.clear();
                    hangUp(*p, now);
                    continue;
                }
                p->out += r.line + "\n";
                if (!p->watchingOut)
                    flush(*p, now);
            }
            if (r.close)
                hangUp(*p, now);
        }
        replies.clear();
    };
    // The one way a connection's socket goes: the lobby hears of it at once.
    auto drop = [&](Peer& p, uint64_t now) {
        epoll_ctl(poller, EPOLL_CTL_DEL, p.fd, nullptr);
        close(p.fd);
        const Lobby::Connection c = p.id;
        p = Peer{};
        lobby.closed(c, now, replies);
    };
    auto accepting = [&](uint64_t now) {
        for (int n = 0; n < acceptsPerPass; ++n) {
            sockaddr_storage from{};
            socklen_t length = sizeof from;
            const int fd = accept4(listener, reinterpret_cast<sockaddr*>(&from), &length,
                                   SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (fd < 0) {
                if ((errno == EMFILE || errno == ENFILE) && spare >= 0) {
                    close(spare);
                    const int taken = accept(listener, nullptr, nullptr);
                    if (taken >= 0)
                        close(taken);
                    spare = open("/dev/null", O_RDONLY | O_CLOEXEC);
                    continue;
                }
                if (errno == EINTR || errno == ECONNABORTED)
                    continue;
                return; // EAGAIN: every waiting connection is taken
            }
            std::string refusal;
            const Lobby::Connection c = lobby.opened(addressText(from), now, refusal);
            if (!c) {
                refusal += "\n";
                send(fd, refusal.data(), refusal.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
                close(fd);
                continue;
            }
            // Each reply is a whole message: sent at once, not held back for the ACK of the
            // one before (a host's TURN comes long after its ROOM).
            const int yes = 1;
            setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
            Peer& p = peers[Lobby::slotOf(c)];
            p = Peer{};
            p.id = c;
            p.fd = fd;
            epoll_event e{};
            e.events = EPOLLIN;
            e.data.u64 = c;
            epoll_ctl(poller, EPOLL_CTL_ADD, fd, &e);
        }
    };
    auto reading = [&](Peer& p, uint64_t now) {
        char buffer[4096];
        const ssize_t got = recv(p.fd, buffer, sizeof buffer, 0);
        if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) {
            drop(p, now);
            return;
        }
        if (got < 0 || p.closing)
            return; // what comes after the last line is read and let go
        p.in.append(buffer, static_cast<size_t>(got));
        size_t end;
        while (!p.closing && (end = p.in.find('\n')) != std::string::npos) {
            std::string line = p.in.substr(0, end);
            p.in.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lobby.received(p.id, line, now, replies);
            deliver(now);
        }
        if (p.closing) {
            std::string().swap(p.in);
        } else if (p.in.size() > longestLobbyLine + 1) {
            std::string().swap(p.in);
            replies.push_back({p.id, "ERROR the lobby cannot read that: message too long", true});
            deliver(now);
        }
    };

    epoll_event events[256];
    while (!stop) {
        const int ready = epoll_wait(poller, events, 256, 100);
        if (ready < 0 && errno != EINTR) {
            std::fprintf(stderr, "tuvo-lobby: epoll: %s\n", std::strerror(errno));
            break;
        }
        const uint64_t now = monotonicMs();
        for (int n = 0; n < ready; ++n) {
            if (events[n].data.u64 == 0) {
                accepting(now);
                continue;
            }
            if (events[n].data.u64 == sidelineMark) {
                sideline.ready();
                continue;
            }
            Peer* p = peerOf(events[n].data.u64);
            if (!p)
                continue;
            if (events[n].events & (EPOLLIN | EPOLLHUP | EPOLLERR))
                reading(*p, now);
            p = peerOf(events[n].data.u64);
            if (p && (events[n].events & EPOLLOUT))
                flush(*p, now);
        }
        if (now - lastTick >= 100) {
            lastTick = now;
            lobby.tick(now, replies);
        }
        deliver(now);
        // Hung up once their last line is out, or after a while whatever is left.
        for (size_t n = 0; n < closing.size();) {
            Peer* p = peerOf(closing[n]);
            if (p && !p->out.empty() && now - p->closingSince < lingerMs) {
                ++n;
                continue;
            }
            closing[n] = closing.back();
            closing.pop_back();
            if (p) {
                drop(*p, now);
                deliver(now);
            }
        }
    }
    for (Peer& p : peers)
        if (p.fd >= 0)
            close(p.fd);
    if (spare >= 0)
        close(spare);
    close(poller);
    close(listener);
    return true;
}
