#include "net/NetSession.h"
#include "platform/SteadyClock.h"
#include <cstdlib>
#include <enet/enet.h>

const char* const gameVersion = "TUVO!! 1.0.0";

namespace {
// Within 5 s of the other side vanishing ENet gives it up: no acknowledgement for 4 s.
constexpr enet_uint32 timeoutMinimumMs = 2000, timeoutMaximumMs = 4000;

bool initialiseEnet() {
    static const bool ready = [] {
        if (enet_initialize() != 0)
            return false;
        std::atexit(enet_deinitialize);
        return true;
    }();
    return ready;
}

// The loss of the test stand-in: a share of the datagrams arriving, drawn from a fixed sequence
// so that a run can be repeated.
double lossShare = 0;
uint32_t lossState = 12345;
// A packet ENet could not take is still the sender's to free.
void sendBytes(ENetPeer* to, const std::string& bytes) {
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE);
    if (packet && enet_peer_send(to, 0, packet) != 0)
        enet_packet_destroy(packet);
}

int ENET_CALLBACK loseSome(ENetHost*, ENetEvent*) {
    lossState = lossState * 1103515245u + 12345u;
    return ((lossState >> 8) % 10000) < lossShare * 10000 ? 1 : 0;
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
    // Two peers: the one guest, and room to turn a second one away politely.
    s->enet = enet_host_create(&where, 2, 1, 0, 0);
    if (!s->enet) {
        error = "port " + std::to_string(port) + " cannot be opened (in use?)";
        return nullptr;
    }
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
    s->enet = enet_host_create(nullptr, 1, 1, 0, 0);
    if (!s->enet) {
        error = "the network cannot be used";
        return nullptr;
    }
    s->peer = enet_host_connect(s->enet, &where, 1, 0);
    if (!s->peer) {
        error = "cannot connect to " + address;
        return nullptr;
    }
    enet_peer_timeout(s->peer, 0, timeoutMinimumMs, timeoutMaximumMs);
    return s;
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

void NetSession::simulate(double loss, uint32_t delay) {
    lossShare = loss;
    delayMs = delay;
    if (enet)
        enet->intercept = loss > 0 ? loseSome : nullptr;
}

uint32_t NetSession::roundTrip() const {
    // The stand-in's delay happens after ENet has measured: it counts both ways.
    return (peer ? peer->roundTripTime : 0) + 2 * delayMs;
}

void NetSession::accept(ENetPeer* p) {
    peer = p;
    accepted = true;
    enet_peer_timeout(peer, 0, timeoutMinimumMs, timeoutMaximumMs);
}

void NetSession::send(const Message& m) {
    if (!peer || (!accepted && m.type != MessageType::hello))
        return;
    sendBytes(peer, encodeMessage(m));
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
        events.push_back({Event::joined, m});
        return;
    }
    if (!accepted || m.type == MessageType::welcome) {
        ++dropped;
        return;
    }
    if (delayMs > 0)
        held.push_back({steadyMs() + delayMs, {Event::arrived, m}});
    else
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
                enet_peer_timeout(e.peer, 0, timeoutMinimumMs, timeoutMaximumMs);
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
    const uint64_t now = steadyMs();
    size_t kept = 0;
    for (Held& h : held) {
        if (h.due <= now)
            events.push_back(h.event);
        else
            held[kept++] = h;
    }
    held.resize(kept);
}
