#include "net/NetSession.h"
#include "platform/SteadyClock.h"
#include <cstdlib>
#include <enet/enet.h>

const char* const gameVersion = "TUVO!! 1.0.0";

namespace {
// Silence this long, and the other side is gone.
constexpr uint64_t goneAfterMs = 5000;
// A guest's attempt to get in lasts this long; one that finds no host starts again.
constexpr uint64_t connectForMs = 3000;
// Once a host has answered, its welcome is waited for this long: a host busy starting up may
// take seconds to read the guest's hello, and a fresh attempt would find it taken by the first.
constexpr uint64_t welcomeWaitMs = 20000;
// ENet's own give-up on a peer whose reliable messages go unacknowledged, set far beyond the
// silence that counts: on a lossy path resends pile up long before the peer is really gone.
constexpr enet_uint32 enetPatienceMs = 60000;
constexpr enet_uint8 reliableChannel = 0, keysChannel = 1, channelCount = 2;
// The host's peers: the one guest, an earlier attempt of its still timing out, and room to turn
// others away politely.
constexpr size_t hostPeers = 4;

bool initialiseEnet() {
    static const bool ready = [] {
        if (enet_initialize() != 0)
            return false;
        std::atexit(enet_deinitialize);
        return true;
    }();
    return ready;
}

void patient(ENetPeer* peer) {
    enet_peer_timeout(peer, 0, enetPatienceMs, enetPatienceMs);
}

// A packet ENet could not take is still the sender's to free.
void sendBytes(ENetPeer* to, const std::string& bytes, bool reliable = true) {
    ENetPacket* packet =
        enet_packet_create(bytes.data(), bytes.size(),
                           reliable ? ENET_PACKET_FLAG_RELIABLE : ENET_PACKET_FLAG_UNSEQUENCED);
    if (packet && enet_peer_send(to, reliable ? reliableChannel : keysChannel, packet) != 0)
        enet_packet_destroy(packet);
}
} // namespace

std::unique_ptr<NetSession> NetSession::host(const std::string& address, uint16_t port,
                                             std::string& error) {
    if (!initialiseEnet()) {
        error = "the network cannot be used";
        return nullptr;
    }
    ENetAddress where{};
    where.host = ENET_HOST_ANY;
    where.port = port;
    if (!address.empty() && enet_address_set_host(&where, address.c_str()) != 0) {
        error = "no address " + address;
        return nullptr;
    }
    std::unique_ptr<NetSession> s(new NetSession);
    s->role = Role::host;
    s->port = port;
    s->enet = enet_host_create(&where, hostPeers, channelCount, 0, 0);
    if (!s->enet) {
        error = "port " + std::to_string(port) + " cannot be opened (in use?)";
        return nullptr;
    }
    // Port 0: whichever the system gave.
    ENetAddress bound{};
    if (port == 0 && enet_socket_get_address(s->enet->socket, &bound) == 0)
        s->port = bound.port;
    return s;
}

std::unique_ptr<NetSession> NetSession::join(const std::string& address, uint16_t port,
                                             std::string& error) {
    if (!initialiseEnet()) {
        error = "the network cannot be used";
        return nullptr;
    }
    ENetAddress where{};
    if (enet_address_set_host(&where, address.c_str()) != 0) {
        error = "no host called " + address;
        return nullptr;
    }
    where.port = port;
    std::unique_ptr<NetSession> s(new NetSession);
    s->role = Role::guest;
    s->address = address;
    s->port = port;
    s->enet = enet_host_create(nullptr, 1, channelCount, 0, 0);
    if (!s->enet) {
        error = "the network cannot be used";
        return nullptr;
    }
    s->peer = enet_host_connect(s->enet, &where, channelCount, 0);
    if (!s->peer) {
        error = "cannot connect to " + address;
        return nullptr;
    }
    patient(s->peer);
    s->hostIp = where.host;
    s->connectUntil = steadyMs() + connectForMs;
    return s;
}

void NetSession::close() {
    if (!enet)
        return;
    if (peer && accepted)
        enet_peer_disconnect_now(peer, 0);
    enet_host_flush(enet);
    enet_host_destroy(enet);
    enet = nullptr;
    peer = nullptr;
    accepted = false;
}

NetSession::~NetSession() {
    if (enet) {
        if (peer && accepted) {
            enet_peer_disconnect_now(peer, 0);
        }
        enet_host_flush(enet);
        enet_host_destroy(enet);
    }
}

uint32_t NetSession::roundTrip() const {
    return peer ? peer->roundTripTime : 0;
}

uint64_t NetSession::silentMs() const {
    return accepted ? steadyMs() - lastHeard : 0;
}

void NetSession::accept(ENetPeer* p) {
    peer = p;
    accepted = true;
    lastHeard = steadyMs();
    patient(peer);
}

void NetSession::send(const Message& m) {
    if (!peer || (!accepted && m.type != MessageType::hello))
        return;
    sendBytes(peer, encodeMessage(m), m.type != MessageType::keys);
}

void NetSession::flush() {
    if (enet)
        enet_host_flush(enet);
}

void NetSession::received(ENetPeer* from, const uint8_t* data, size_t size,
                          std::vector<Event>& events) {
    Message m;
    if (!decodeMessage(data, size, m)) {
        ++dropped;
        return;
    }
    if (role == Role::host && !accepted && m.type == MessageType::hello) {
        if (m.protocol != protocolVersion || m.version != gameVersion) {
            Message no;
            no.type = MessageType::refuse;
            no.reason = RefuseReason::otherVersion;
            sendBytes(from, encodeMessage(no));
            enet_peer_disconnect_later(from, 0);
            events.push_back({Event::refused, no});
            return;
        }
        accept(from);
        Message welcome;
        welcome.type = MessageType::welcome;
        send(welcome);
        events.push_back({Event::joined, m});
        return;
    }
    if (from != peer || (role == Role::host && !accepted)) {
        ++dropped;
        return;
    }
    lastHeard = steadyMs();
    if (role == Role::guest && m.type == MessageType::refuse) {
        events.push_back({Event::refused, m});
        return;
    }
    if (m.type == MessageType::hello || m.type == MessageType::refuse) {
        ++dropped;
        return;
    }
    if (role == Role::guest && m.type == MessageType::welcome) {
        accepted = true;
        everIn = true;
        connectUntil = 0;
        events.push_back({Event::joined, m});
        return;
    }
    // The host's first keys (heartbeats) may overtake its welcome: they are no fault.
    if (!accepted && m.type == MessageType::keys)
        return;
    if (!accepted || m.type == MessageType::welcome) {
        ++dropped;
        return;
    }
    events.push_back({Event::arrived, m});
}

void NetSession::poll(std::vector<Event>& events, uint32_t waitMs) {
    if (!enet)
        return;
    ENetEvent e;
    int got = enet_host_service(enet, &e, waitMs);
    while (got > 0) {
        switch (e.type) {
        case ENET_EVENT_TYPE_CONNECT:
            if (role == Role::guest && e.peer == peer) {
                connectUntil = steadyMs() + welcomeWaitMs;
                Message hello;
                hello.type = MessageType::hello;
                hello.version = gameVersion;
                sendBytes(peer, encodeMessage(hello));
            } else if (role == Role::host && accepted) {
                // A second guest while a round has two players.
                Message no;
                no.type = MessageType::refuse;
                no.reason = RefuseReason::roundFull;
                sendBytes(e.peer, encodeMessage(no));
                enet_peer_disconnect_later(e.peer, 0);
            } else {
                patient(e.peer);
            }
            break;
        case ENET_EVENT_TYPE_RECEIVE:
            received(e.peer, e.packet->data, e.packet->dataLength, events);
            enet_packet_destroy(e.packet);
            break;
        case ENET_EVENT_TYPE_DISCONNECT:
            if (e.peer == peer && (accepted || role == Role::guest)) {
                events.push_back({Event::left, Message{}});
                peer = nullptr;
                accepted = false;
            }
            break;
        default:
            break;
        }
        got = enet_host_check_events(enet, &e);
    }
    // Gone: silent too long once here, or never in within the time to connect.
    const uint64_t now = steadyMs();
    const bool silent = accepted && now - lastHeard > goneAfterMs;
    const bool neverIn =
        role == Role::guest && !accepted && connectUntil != 0 && now > connectUntil;
    // No host there yet: a guest that never got in tries again, until it is let in or given up.
    if (peer && neverIn && !everIn) {
        enet_peer_reset(peer);
        ENetAddress where{};
        where.host = hostIp;
        where.port = port;
        peer = enet_host_connect(enet, &where, channelCount, 0);
        if (peer)
            patient(peer);
        connectUntil = now + connectForMs;
        ++attempts;
        return;
    }
    if (peer && (silent || neverIn)) {
        enet_peer_reset(peer);
        peer = nullptr;
        accepted = false;
        connectUntil = 0;
        events.push_back({Event::left, Message{}});
    }
}
