#include "lobby/Lobby.h"
#include "lobby/RoomCode.h"
#include "lobby/TurnCredentials.h"
#include <algorithm>

Lobby::Lobby(TurnServer t, LobbyLimits l, std::function<uint32_t()> r,
             std::function<int64_t()> clock)
    : turn(std::move(t)), limits(l), random(std::move(r)), unixSeconds(std::move(clock)) {}

bool Lobby::opened(Connection c, const std::string& address, uint64_t now,
                   std::vector<Reply>& replies) {
    const size_t fromThere = static_cast<size_t>(
        std::count_if(connections.begin(), connections.end(),
                      [&](const auto& e) { return e.second.address == address; }));
    if (connections.size() >= limits.connections || fromThere >= limits.connectionsPerAddress) {
        replies.push_back({c, "ERROR the lobby is full, try again in a minute", true});
        return false;
    }
    connections[c] = Client{address, Stage::fresh, now, {}};
    return true;
}

void Lobby::fail(Connection c, const std::string& text, std::vector<Reply>& replies) {
    auto it = connections.find(c);
    if (it == connections.end())
        return;
    it->second.stage = Stage::done;
    replies.push_back({c, "ERROR " + text, true});
}

LobbyMessage Lobby::turnFor() {
    const TurnCredentials credentials = turnCredentials(turn.secret, unixSeconds(), random());
    LobbyMessage m;
    m.kind = LobbyKind::turn;
    m.turnHost = turn.host;
    m.turnPort = turn.port;
    m.turnUser = credentials.user;
    m.turnPassword = credentials.password;
    return m;
}

std::string Lobby::newCode() {
    // A code in use is drawn again; with 2^30 codes and a bounded count of rooms that ends.
    for (;;) {
        std::string code = roomCodeFrom(random());
        if (!rooms.count(code))
            return code;
    }
}

bool Lobby::tooManyWrongCodes(const std::string& address, uint64_t now) {
    auto it = wrongCodes.find(address);
    if (it == wrongCodes.end())
        return false;
    while (!it->second.empty() && now - it->second.front() >= limits.wrongCodeWindowMs)
        it->second.pop_front();
    if (it->second.empty()) {
        wrongCodes.erase(it);
        return false;
    }
    return it->second.size() >= limits.wrongCodesPerAddress;
}

size_t Lobby::roomsOf(const std::string& address) const {
    return static_cast<size_t>(std::count_if(rooms.begin(), rooms.end(), [&](const auto& r) {
        return r.second.hostAddress == address;
    }));
}

void Lobby::forgetRoom(const std::string& code) {
    rooms.erase(code);
}

void Lobby::received(Connection c, std::string_view line, uint64_t now,
                     std::vector<Reply>& replies) {
    auto it = connections.find(c);
    if (it == connections.end() || it->second.stage == Stage::done)
        return;
    Client& client = it->second;
    LobbyMessage m;
    std::string why;
    if (!readLobbyMessage(line, m, why)) {
        fail(c, "the lobby cannot read that: " + why, replies);
        return;
    }
    client.since = now;
    switch (client.stage) {
    case Stage::fresh:
        if (m.kind == LobbyKind::host) {
            if (roomsOf(client.address) >= limits.roomsPerAddress) {
                fail(c, "too many rooms open from your address", replies);
                return;
            }
            client.stage = Stage::hostGathering;
            replies.push_back({c, writeLobbyMessage(turnFor())});
            return;
        }
        if (m.kind == LobbyKind::join) {
            if (tooManyWrongCodes(client.address, now)) {
                fail(c, "too many wrong codes, try again in a few minutes", replies);
                return;
            }
            auto room = rooms.find(m.code);
            if (room == rooms.end() || room->second.joined) {
                wrongCodes[client.address].push_back(now);
                fail(c, "no game has the code " + m.code, replies);
                return;
            }
            room->second.joined = true;
            room->second.guest = c;
            client.stage = Stage::guestGathering;
            client.code = m.code;
            replies.push_back({c, writeLobbyMessage(turnFor())});
            return;
        }
        break;
    case Stage::hostGathering:
        if (m.kind == LobbyKind::ice) {
            // Counted again: several connections of one address may have asked at once.
            if (roomsOf(client.address) >= limits.roomsPerAddress) {
                fail(c, "too many rooms open from your address", replies);
                return;
            }
            client.code = newCode();
            Room room;
            room.host = c;
            room.hostDescription = m.description;
            room.hostAddress = client.address;
            room.made = now;
            rooms[client.code] = room;
            client.stage = Stage::hostWaiting;
            LobbyMessage reply;
            reply.kind = LobbyKind::room;
            reply.code = client.code;
            replies.push_back({c, writeLobbyMessage(reply)});
            return;
        }
        break;
    case Stage::guestGathering:
        if (m.kind == LobbyKind::ice) {
            auto room = rooms.find(client.code);
            if (room == rooms.end()) {
                fail(c, "the host left", replies);
                return;
            }
            LobbyMessage toGuest, toHost;
            toGuest.kind = toHost.kind = LobbyKind::peer;
            toGuest.description = room->second.hostDescription;
            toHost.description = m.description;
            const Connection host = room->second.host;
            replies.push_back({c, writeLobbyMessage(toGuest), true});
            replies.push_back({host, writeLobbyMessage(toHost), true});
            client.stage = Stage::done;
            connections[host].stage = Stage::done;
            forgetRoom(client.code);
            return;
        }
        break;
    case Stage::hostWaiting:
    case Stage::done:
        break;
    }
    fail(c, "the lobby did not expect that now", replies);
}

void Lobby::closed(Connection c, uint64_t, std::vector<Reply>& replies) {
    auto it = connections.find(c);
    if (it == connections.end())
        return;
    const Client client = it->second;
    connections.erase(it);
    auto room = rooms.find(client.code);
    if (client.code.empty() || room == rooms.end())
        return;
    if (client.stage == Stage::hostWaiting) {
        // The host went: a guest in the middle of joining hears so.
        if (room->second.joined)
            fail(room->second.guest, "the host left", replies);
        forgetRoom(client.code);
    } else if (client.stage == Stage::guestGathering && room->second.guest == c) {
        // A guest gone before its description came: the code may still be used, once.
        room->second.joined = false;
        room->second.guest = 0;
    }
}

void Lobby::tick(uint64_t now, std::vector<Reply>& replies) {
    for (auto it = rooms.begin(); it != rooms.end();) {
        if (now - it->second.made >= limits.roomLifetimeMs) {
            fail(it->second.host, "the code ran out before player 2 came", replies);
            if (it->second.joined)
                fail(it->second.guest, "the code ran out", replies);
            it = rooms.erase(it);
        } else {
            ++it;
        }
    }
    for (auto& [c, client] : connections) {
        const bool waitsForNothing =
            client.stage == Stage::hostWaiting || client.stage == Stage::done;
        if (!waitsForNothing && now - client.since >= limits.idleMs)
            fail(c, "the lobby waited too long for your game", replies);
    }
    for (auto it = wrongCodes.begin(); it != wrongCodes.end();) {
        while (!it->second.empty() && now - it->second.front() >= limits.wrongCodeWindowMs)
            it->second.pop_front();
        it = it->second.empty() ? wrongCodes.erase(it) : std::next(it);
    }
}
