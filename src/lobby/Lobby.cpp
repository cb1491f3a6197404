#include "lobby/Lobby.h"
#include "lobby/RoomCode.h"
#include "lobby/TurnCredentials.h"
#include <algorithm>

Lobby::Lobby(LobbyRelays r, LobbyLimits l, std::function<uint32_t()> draw,
             std::function<int64_t()> clock)
    : relays(std::move(r)), limits(l), random(std::move(draw)), unixSeconds(std::move(clock)),
      slots(l.connections),
      remembered(l.rememberedAddresses, (uint64_t{random()} << 32) | random()) {
    freeSlots.reserve(limits.connections);
    for (size_t n = limits.connections; n-- > 0;)
        freeSlots.push_back(static_cast<uint32_t>(n));
}

Lobby::Client* Lobby::find(Connection c) {
    const size_t slot = slotOf(c);
    if (slot >= slots.size())
        return nullptr;
    Client& k = slots[slot];
    return k.stage != Stage::free && k.use == static_cast<uint32_t>(c >> 32) ? &k : nullptr;
}

size_t Lobby::live(const AddressKey& key, bool rooms) const {
    size_t n = 0;
    for (const Client& k : slots) {
        const bool counts = rooms ? k.stage == Stage::hostWaiting || k.stage == Stage::hostPaired
                                  : k.stage != Stage::free;
        if (counts && (key.network ? networkOf(k.address) == key : k.address == key))
            ++n;
    }
    return n;
}

size_t Lobby::roomCount() const {
    return static_cast<size_t>(std::count_if(slots.begin(), slots.end(), [](const Client& k) {
        return k.stage == Stage::hostWaiting || k.stage == Stage::hostPaired;
    }));
}

std::vector<std::string> Lobby::waitingCodes(size_t most) const {
    std::vector<std::string> codes;
    for (const Client& k : slots)
        if (k.stage == Stage::hostWaiting && codes.size() < most)
            codes.push_back(k.code);
    return codes;
}

size_t Lobby::mostBytes() const {
    return slots.capacity() * (sizeof(Client) + longestDescription + roomCodeLength + 1) +
           freeSlots.capacity() * sizeof(uint32_t) + remembered.bytes();
}

bool Lobby::overRate(const AddressKey& address, AddressMemory::Count what, const Rate& rate,
                     uint64_t now) {
    if (remembered.at(address, now).counts[what].full(rate, now))
        return true;
    const Rate network{rate.most * 2, rate.windowMs};
    return address.v6 && remembered.at(networkOf(address), now).counts[what].full(network, now);
}

void Lobby::count(const AddressKey& address, AddressMemory::Count what, const Rate& rate,
                  uint64_t now) {
    remembered.at(address, now).counts[what].add(rate, now);
    if (address.v6)
        remembered.at(networkOf(address), now).counts[what].add(rate, now);
}

Lobby::Connection Lobby::opened(const std::string& address, uint64_t now, std::string& refusal) {
    AddressKey key;
    if (!readAddressKey(address, key)) {
        refusal = "ERROR the lobby cannot tell where you are";
        return 0;
    }
    if (freeSlots.empty()) {
        refusal = "ERROR the lobby is full, try again in a minute";
        return 0;
    }
    if (live(key, false) >= limits.connectionsPerAddress ||
        (key.v6 && live(networkOf(key), false) >= 2 * limits.connectionsPerAddress) ||
        overRate(key, AddressMemory::opens, limits.opens, now)) {
        refusal = "ERROR too many connections from your address, try again in a minute";
        return 0;
    }
    count(key, AddressMemory::opens, limits.opens, now);
    const uint32_t slot = freeSlots.back();
    freeSlots.pop_back();
    Client& k = slots[slot];
    const uint32_t use = k.use + 1;
    k = Client{};
    k.use = use;
    k.stage = Stage::fresh;
    k.address = key;
    k.deadline = now + limits.helloMs;
    return (uint64_t{use} << 32) | slot;
}

void Lobby::fail(Connection c, const std::string& text, std::vector<Reply>& replies) {
    Client* k = find(c);
    if (!k || k->stage == Stage::ending)
        return;
    replies.push_back({c, "ERROR " + text, true});
    end(c, replies);
}

void Lobby::end(Connection c, std::vector<Reply>& replies) {
    Client* k = find(c);
    if (!k || k->stage == Stage::ending)
        return;
    const Stage was = k->stage;
    const Connection partner = k->partner;
    k->stage = Stage::ending;
    k->partner = 0;
    k->deadline = 0;
    std::string().swap(k->description);
    Client* other = partner ? find(partner) : nullptr;
    if (!other || other->partner != c)
        return;
    if (was == Stage::hostPaired) {
        fail(partner, "the host left", replies);
    } else if (was == Stage::guestPaired) {
        // The room is the right guest's again at once; the host keeps its description and its
        // credentials and hears nothing.
        other->partner = 0;
        other->stage = Stage::hostWaiting;
        other->deadline = other->roomMade + limits.hostWaitMs;
    }
}

void Lobby::closed(Connection c, uint64_t, std::vector<Reply>& replies) {
    Client* k = find(c);
    if (!k)
        return;
    end(c, replies);
    k->stage = Stage::free;
    std::string().swap(k->code);
    freeSlots.push_back(static_cast<uint32_t>(slotOf(c)));
}

std::string Lobby::newCode(uint64_t now) {
    // A code in use is drawn again; with 2^30 codes and a bounded count of rooms that ends.
    for (;;) {
        std::string code = roomCodeFrom(random());
        if (!roomWithCode(code, now))
            return code;
    }
}

Lobby::Connection Lobby::roomWithCode(const std::string& code, uint64_t) {
    for (size_t n = 0; n < slots.size(); ++n) {
        const Client& k = slots[n];
        if ((k.stage == Stage::hostWaiting || k.stage == Stage::hostPaired) && k.code == code)
            return (uint64_t{k.use} << 32) | n;
    }
    return 0;
}

std::string Lobby::relayLine(const Client& host) {
    const TurnCredentials credentials =
        turnCredentials(relays.secret, host.relayExpiry, "tuvo-" + host.code);
    LobbyMessage m;
    m.kind = LobbyKind::turn;
    m.turnUser = credentials.user;
    m.turnPassword = credentials.password;
    const size_t count = std::min({relays.perRoom, relays.servers.size(), mostLobbyRelays});
    for (size_t n = 0; n < count; ++n)
        m.relays.push_back(relays.servers[(host.relayFirst + n) % relays.servers.size()]);
    return writeLobbyMessage(m);
}

void Lobby::host(Connection c, uint64_t now, std::vector<Reply>& replies) {
    Client& k = *find(c);
    if (live(k.address, true) >= limits.roomsPerAddress ||
        (k.address.v6 && live(networkOf(k.address), true) >= 2 * limits.roomsPerAddress) ||
        overRate(k.address, AddressMemory::roomsMade, limits.roomsMade, now)) {
        fail(c, "too many rooms open from your address", replies);
        return;
    }
    count(k.address, AddressMemory::roomsMade, limits.roomsMade, now);
    k.code = newCode(now);
    k.stage = Stage::hostWaiting;
    k.roomMade = now;
    k.deadline = now + limits.hostWaitMs;
    LobbyMessage room;
    room.kind = LobbyKind::room;
    room.code = k.code;
    replies.push_back({c, writeLobbyMessage(room)});
}

void Lobby::join(Connection c, const std::string& code, uint64_t now, std::vector<Reply>& replies) {
    Client& k = *find(c);
    if (overRate(k.address, AddressMemory::wrongCodes, limits.wrongCodes, now)) {
        fail(c, "too many wrong codes, try again in a few minutes", replies);
        return;
    }
    const Connection h = roomWithCode(code, now);
    if (!h || find(h)->stage != Stage::hostWaiting) {
        count(k.address, AddressMemory::wrongCodes, limits.wrongCodes, now);
        fail(c, "no game has the code " + code, replies);
        return;
    }
    if (overRate(k.address, AddressMemory::relayGrants, limits.relayGrants, now)) {
        fail(c, "too many games from your address, try again in a few minutes", replies);
        return;
    }
    count(k.address, AddressMemory::relayGrants, limits.relayGrants, now);
    Client& host = *find(h);
    if (host.relayExpiry == 0) {
        host.relayExpiry = unixSeconds() + turnCredentialSeconds;
        host.relayFirst = relays.servers.empty() ? 0 : nextRelay++ % relays.servers.size();
    }
    host.stage = Stage::hostPaired;
    host.partner = c;
    k.stage = Stage::guestPaired;
    k.partner = h;
    k.code = code;
    k.deadline = now + limits.gatheringMs;
    const std::string line = relayLine(host);
    if (host.description.empty()) {
        if (!host.hostHasRelay)
            replies.push_back({h, line});
        host.hostHasRelay = true;
        host.deadline = now + limits.gatheringMs;
    } else {
        host.deadline = 0; // the guest's time limit holds now
    }
    replies.push_back({c, line});
}

void Lobby::describe(Connection c, const std::string& description, uint64_t,
                     std::vector<Reply>& replies) {
    Client& k = *find(c);
    k.description = description;
    if (!k.partner) {
        k.deadline = k.roomMade + limits.hostWaitMs; // a host whose guest has gone
        return;
    }
    Client& other = *find(k.partner);
    if (other.description.empty()) {
        k.deadline = 0; // the other side's time limit holds now
        return;
    }
    LobbyMessage toHere, toThere;
    toHere.kind = toThere.kind = LobbyKind::peer;
    toHere.description = other.description;
    toThere.description = k.description;
    const Connection there = k.partner;
    replies.push_back({c, writeLobbyMessage(toHere), true});
    replies.push_back({there, writeLobbyMessage(toThere), true});
    // Both are done: neither ending is the other's loss.
    k.partner = other.partner = 0;
    end(c, replies);
    end(there, replies);
}

void Lobby::received(Connection c, std::string_view line, uint64_t now,
                     std::vector<Reply>& replies) {
    Client* k = find(c);
    if (!k || k->stage == Stage::ending)
        return;
    LobbyMessage m;
    std::string why;
    if (!readLobbyMessage(line, m, why)) {
        fail(c, "the lobby cannot read that: " + why, replies);
        return;
    }
    switch (k->stage) {
    case Stage::fresh:
        if (m.kind == LobbyKind::host)
            return host(c, now, replies);
        if (m.kind == LobbyKind::join)
            return join(c, m.code, now, replies);
        break;
    case Stage::hostWaiting:
    case Stage::hostPaired:
        if (m.kind == LobbyKind::ice && k->hostHasRelay && k->description.empty())
            return describe(c, m.description, now, replies);
        break;
    case Stage::guestPaired:
        if (m.kind == LobbyKind::ice && k->description.empty())
            return describe(c, m.description, now, replies);
        break;
    case Stage::free:
    case Stage::ending:
        break;
    }
    fail(c, "the lobby did not expect that now", replies);
}

void Lobby::tick(uint64_t now, std::vector<Reply>& replies) {
    for (size_t n = 0; n < slots.size(); ++n) {
        const Client& k = slots[n];
        if (k.stage == Stage::free || k.stage == Stage::ending || k.deadline == 0 ||
            now < k.deadline)
            continue;
        const Connection c = (uint64_t{k.use} << 32) | n;
        fail(c,
             k.stage == Stage::hostWaiting ? "the code ran out before player 2 came"
                                           : "the lobby waited too long for your game",
             replies);
    }
}
