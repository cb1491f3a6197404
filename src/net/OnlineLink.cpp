#include "net/OnlineLink.h"
#include "lobby/LobbyMessage.h"
#include <nice/agent.h>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <glib-unix.h>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <sstream>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {
// Once a working pair goes through the relay, a direct one may still be on its way (a check
// that crossed the other router before its hole was open is sent again): wait this long for it.
constexpr uint32_t directGraceMs = 1200;
constexpr size_t mostLobbyInput = 2 * (longestLobbyLine + 1);

// The first IPv4 address of a name, as text; empty when it has none.
std::string resolve(const std::string& name) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || !found)
        return {};
    char text[INET_ADDRSTRLEN] = "";
    inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr, text,
              sizeof text);
    freeaddrinfo(found);
    return text;
}

// A session description with only its relay candidates: what a side that always relays gives
// out, so that the other side never learns its own addresses.
std::string onlyRelayed(const std::string& sdp) {
    std::istringstream in(sdp);
    std::string line, out;
    while (std::getline(in, line)) {
        if (line.rfind("a=candidate", 0) == 0 && line.find(" typ relay") == std::string::npos)
            continue;
        out += line + "\n";
    }
    return out;
}
} // namespace

struct OnlineLink::Impl {
    OnlineOptions options;
    mutable std::mutex lock;
    Status state;

    GMainContext* context = nullptr;
    GMainLoop* loop = nullptr;
    std::thread thread;

    int shim = -1; // UDP on 127.0.0.1, ENet's side of the path
    uint16_t shimPortNumber = 0;
    sockaddr_in enet{}; // where ENet's socket is
    bool enetKnown = false;

    int lobby = -1;
    std::string lobbyIn, lobbyOut;
    bool heardLobby = false;
    GSource* lobbySource = nullptr;
    GSource* deadline = nullptr;

    NiceAgent* agent = nullptr;
    guint stream = 0;
    std::string turnIp;
    size_t relaysAsked = 0, relaysGathered = 0;
    bool gathered = false;
    bool pathChosen = false;
    gint64 peerKnownAt = 0;

    // --- status, read by the game's thread
    void set(Stage stage) {
        std::lock_guard<std::mutex> hold(lock);
        if (state.stage != Stage::failed)
            state.stage = stage;
    }
    void fail(const std::string& why) {
        {
            std::lock_guard<std::mutex> hold(lock);
            if (state.stage == Stage::failed || state.stage == Stage::connected)
                return;
            state.stage = Stage::failed;
            state.error = why;
        }
        closeLobby();
        clearDeadline();
    }
    Stage stage() const {
        std::lock_guard<std::mutex> hold(lock);
        return state.stage;
    }
    std::string lobbyName() const {
        return options.lobbyHost + ":" + std::to_string(options.lobbyPort);
    }

    // --- a step's time limit
    void clearDeadline() {
        if (deadline) {
            g_source_destroy(deadline);
            g_source_unref(deadline);
            deadline = nullptr;
        }
    }
    void within(uint32_t ms, gboolean (*expired)(gpointer)) {
        clearDeadline();
        deadline = g_timeout_source_new(ms);
        g_source_set_callback(deadline, expired, this, nullptr);
        g_source_attach(deadline, context);
    }

    // --- the lobby
    void closeLobby() {
        if (lobbySource) {
            g_source_destroy(lobbySource);
            g_source_unref(lobbySource);
            lobbySource = nullptr;
        }
        if (lobby >= 0) {
            close(lobby);
            lobby = -1;
        }
    }
    void watchLobby(GIOCondition condition) {
        if (lobbySource) {
            g_source_destroy(lobbySource);
            g_source_unref(lobbySource);
        }
        lobbySource = g_unix_fd_source_new(lobby, condition);
        g_source_set_callback(lobbySource, G_SOURCE_FUNC(+lobbyReady), this, nullptr);
        g_source_attach(lobbySource, context);
    }
    void say(const LobbyMessage& m) {
        lobbyOut += writeLobbyMessage(m) + "\n";
        watchLobby(static_cast<GIOCondition>(G_IO_IN | G_IO_OUT));
    }
    void startLobby() {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        const std::string port = std::to_string(options.lobbyPort);
        if (getaddrinfo(options.lobbyHost.c_str(), port.c_str(), &hints, &found) != 0 || !found) {
            fail("no lobby called " + options.lobbyHost);
            return;
        }
        lobby = socket(found->ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        const int result = lobby < 0 ? -1 : connect(lobby, found->ai_addr, found->ai_addrlen);
        freeaddrinfo(found);
        if (result != 0 && errno != EINPROGRESS) {
            fail("cannot reach the lobby at " + lobbyName());
            return;
        }
        LobbyMessage hello;
        hello.kind = options.host ? LobbyKind::host : LobbyKind::join;
        hello.code = options.code;
        say(hello);
        within(lobbyConnectMs + lobbyAnswerMs, [](gpointer self) {
            static_cast<Impl*>(self)->fail("the lobby at " + static_cast<Impl*>(self)->lobbyName() +
                                           " does not answer");
            return G_SOURCE_REMOVE;
        });
    }
    static gboolean lobbyReady(gint, GIOCondition condition, gpointer self) {
        Impl& l = *static_cast<Impl*>(self);
        if (condition & G_IO_OUT) {
            int error = 0;
            socklen_t length = sizeof error;
            getsockopt(l.lobby, SOL_SOCKET, SO_ERROR, &error, &length);
            if (error != 0) {
                l.fail("cannot reach the lobby at " + l.lobbyName());
                return G_SOURCE_REMOVE;
            }
            const ssize_t sent = send(l.lobby, l.lobbyOut.data(), l.lobbyOut.size(), MSG_NOSIGNAL);
            if (sent > 0)
                l.lobbyOut.erase(0, static_cast<size_t>(sent));
            if (l.lobbyOut.empty()) {
                l.watchLobby(G_IO_IN);
                return G_SOURCE_REMOVE;
            }
        }
        if (condition & (G_IO_IN | G_IO_HUP | G_IO_ERR)) {
            char buffer[2048];
            const ssize_t got = recv(l.lobby, buffer, sizeof buffer, 0);
            if (got <= 0 && !(got < 0 && (errno == EAGAIN || errno == EINTR))) {
                l.lobbyGone(got < 0 ? errno : 0);
                return G_SOURCE_REMOVE;
            }
            if (got > 0)
                l.lobbyIn.append(buffer, static_cast<size_t>(got));
            size_t end;
            while (l.lobby >= 0 && (end = l.lobbyIn.find('\n')) != std::string::npos) {
                const std::string line = l.lobbyIn.substr(0, end);
                l.lobbyIn.erase(0, end + 1);
                l.heard(line);
            }
            if (l.lobby >= 0 && l.lobbyIn.size() > mostLobbyInput)
                l.fail("the lobby sent what the game cannot read");
            if (l.lobby < 0)
                return G_SOURCE_REMOVE;
        }
        return G_SOURCE_CONTINUE;
    }
    // A socket error before the lobby said anything means it was never reached (refused, no
    // host at that address, no route): the kernel may report it on the read rather than on the
    // connect, depending on when the router's answer arrives.
    void lobbyGone(int error) {
        if (error != 0 && !heardLobby)
            fail("cannot reach the lobby at " + lobbyName());
        else if (stage() == Stage::lobby || stage() == Stage::waiting)
            fail("the lobby at " + lobbyName() + " hung up");
        closeLobby();
    }
    void heard(const std::string& line) {
        heardLobby = true;
        LobbyMessage m;
        std::string why;
        if (!readLobbyMessage(line, m, why)) {
            fail("the lobby sent what the game cannot read (" + why + ")");
            return;
        }
        switch (m.kind) {
        case LobbyKind::error:
            fail(m.text);
            return;
        case LobbyKind::turn:
            if (!agent) {
                startAgent(m);
                return;
            }
            break;
        case LobbyKind::room:
            if (options.host && !agent && stage() == Stage::lobby) {
                {
                    std::lock_guard<std::mutex> hold(lock);
                    state.code = m.code;
                }
                set(Stage::waiting);
                // The room lives on the lobby's clock: no time limit of ours while waiting.
                clearDeadline();
                return;
            }
            break;
        case LobbyKind::peer:
            if (gathered && (options.host ? stage() == Stage::waiting : stage() == Stage::lobby)) {
                closeLobby();
                startChecks(m.description);
                return;
            }
            break;
        default:
            break;
        }
        fail("the lobby sent what the game did not expect");
    }

    // --- ICE
    // The relays come once both sides are in the room: the host has shown its code long before.
    void startAgent(const LobbyMessage& turn) {
        std::vector<std::pair<std::string, uint16_t>> relays;
        for (const LobbyRelay& r : turn.relays)
            if (std::string ip = resolve(r.host); !ip.empty())
                relays.emplace_back(ip, r.port);
        turnIp = relays.empty() ? "" : relays[0].first;
        relaysAsked = relays.size();
        agent = nice_agent_new_full(context, NICE_COMPATIBILITY_RFC5245, NICE_AGENT_OPTION_NONE);
        g_object_set(agent, "controlling-mode", options.host ? TRUE : FALSE, "upnp", FALSE,
                     "ice-tcp", FALSE, "force-relay", options.alwaysRelay ? TRUE : FALSE, nullptr);
        if (!turnIp.empty())
            g_object_set(agent, "stun-server", turnIp.c_str(), "stun-server-port",
                         static_cast<guint>(relays[0].second), nullptr);
        g_signal_connect(agent, "candidate-gathering-done", G_CALLBACK(+gatheringDone), this);
        g_signal_connect(agent, "new-candidate-full", G_CALLBACK(+candidateFound), this);
        g_signal_connect(agent, "component-state-changed", G_CALLBACK(+stateChanged), this);
        g_signal_connect(agent, "new-selected-pair-full", G_CALLBACK(+pairSelected), this);
        stream = nice_agent_add_stream(agent, 1);
        nice_agent_set_stream_name(agent, stream, "application");
        for (const auto& [ip, port] : relays)
            nice_agent_set_relay_info(agent, stream, 1, ip.c_str(), port, turn.turnUser.c_str(),
                                      turn.turnPassword.c_str(), NICE_RELAY_TYPE_TURN_UDP);
        nice_agent_attach_recv(agent, stream, 1, context, +fromPeer, this);
        if (!nice_agent_gather_candidates(agent, stream)) {
            fail("this machine has no network to play over");
            return;
        }
        within(gatheringMs, [](gpointer self) {
            static_cast<Impl*>(self)->describe();
            return G_SOURCE_REMOVE;
        });
    }
    // The relays' answers carry this side's public address as well: with a candidate from each,
    // the description is complete enough to send (a STUN request the relay leaves unanswered on
    // the same port would hold gathering back until its time-out).
    static void candidateFound(NiceAgent*, NiceCandidate* candidate, gpointer self) {
        Impl& l = *static_cast<Impl*>(self);
        if (candidate->type != NICE_CANDIDATE_TYPE_RELAYED || ++l.relaysGathered < l.relaysAsked)
            return;
        GSource* soon = g_idle_source_new();
        g_source_set_callback(
            soon,
            [](gpointer me) {
                static_cast<Impl*>(me)->gatheringOver();
                return G_SOURCE_REMOVE;
            },
            self, nullptr);
        g_source_attach(soon, static_cast<Impl*>(self)->context);
        g_source_unref(soon);
    }
    static void gatheringDone(NiceAgent*, guint, gpointer self) {
        static_cast<Impl*>(self)->gatheringOver();
    }
    // Gathering is over (done, or a relayed candidate is in): the description goes out once.
    void gatheringOver() {
        if (gathered)
            return;
        clearDeadline();
        describe();
    }
    bool hasRelayCandidate() const {
        GSList* local = nice_agent_get_local_candidates(agent, stream, 1);
        bool relay = false;
        for (GSList* c = local; c; c = c->next)
            relay |= static_cast<NiceCandidate*>(c->data)->type == NICE_CANDIDATE_TYPE_RELAYED;
        g_slist_free_full(local, reinterpret_cast<GDestroyNotify>(&nice_candidate_free));
        return relay;
    }
    // This side's description to the lobby, once its candidates are known (or time is up).
    void describe() {
        if (gathered || stage() == Stage::failed)
            return;
        gathered = true;
        gchar* sdp = nice_agent_generate_local_sdp(agent);
        std::string text = sdp ? sdp : "";
        g_free(sdp);
        if (options.alwaysRelay)
            text = onlyRelayed(text);
        if (text.find("a=candidate") == std::string::npos) {
            fail(options.alwaysRelay ? "the relay refused this game, and ALWAYS RELAY is on"
                                     : "this machine has no network to play over");
            return;
        }
        gchar* encoded = g_base64_encode(reinterpret_cast<const guchar*>(text.data()), text.size());
        LobbyMessage m;
        m.kind = LobbyKind::ice;
        m.description = encoded;
        g_free(encoded);
        if (m.description.size() > longestDescription) {
            fail("this machine has too many network addresses to describe");
            return;
        }
        say(m);
        within(lobbyAnswerMs, [](gpointer self) {
            Impl& l = *static_cast<Impl*>(self);
            if (l.stage() == Stage::lobby)
                l.fail("the lobby at " + l.lobbyName() + " does not answer");
            return G_SOURCE_REMOVE;
        });
    }
    void startChecks(const std::string& description) {
        gsize length = 0;
        guchar* bytes = g_base64_decode(description.c_str(), &length);
        const std::string sdp(reinterpret_cast<const char*>(bytes), length);
        g_free(bytes);
        set(Stage::connecting);
        peerKnownAt = g_get_monotonic_time();
        if (nice_agent_parse_remote_sdp(agent, sdp.c_str()) <= 0) {
            fail("the other player's game sent an address the game cannot read");
            return;
        }
        within(pathSearchMs, [](gpointer self) {
            Impl& l = *static_cast<Impl*>(self);
            if (!l.settle(true))
                l.noPath();
            return G_SOURCE_REMOVE;
        });
    }
    void noPath() {
        fail(hasRelayCandidate() || options.alwaysRelay || relaysAsked == 0
                 ? "no way through to the other player"
                 : "no way through to the other player: the relay refused this game");
    }
    bool selectedPair(bool& relayed) const {
        NiceCandidate *local = nullptr, *remote = nullptr;
        if (!nice_agent_get_selected_pair(agent, stream, 1, &local, &remote))
            return false;
        relayed = local->type == NICE_CANDIDATE_TYPE_RELAYED ||
                  remote->type == NICE_CANDIDATE_TYPE_RELAYED;
        return true;
    }
    // Declares the path once a pair is chosen: at once when it is direct, after a short wait
    // for a direct one when it goes through the relay. Answers whether a path is declared.
    bool settle(bool finally) {
        if (pathChosen)
            return true;
        bool relayed = false;
        if (!selectedPair(relayed))
            return false;
        const gint64 waited = (g_get_monotonic_time() - peerKnownAt) / 1000;
        if (relayed && !finally && !options.alwaysRelay && waited < directGraceMs) {
            GSource* again = g_timeout_source_new(directGraceMs - static_cast<guint>(waited));
            g_source_set_callback(
                again,
                [](gpointer self) {
                    static_cast<Impl*>(self)->settle(true);
                    return G_SOURCE_REMOVE;
                },
                this, nullptr);
            g_source_attach(again, context);
            g_source_unref(again);
            return false;
        }
        pathChosen = true;
        clearDeadline();
        std::lock_guard<std::mutex> hold(lock);
        if (state.stage == Stage::connecting) {
            state.relayed = relayed;
            state.stage = Stage::connected;
        }
        return true;
    }
    static void stateChanged(NiceAgent*, guint, guint, guint componentState, gpointer self) {
        Impl& l = *static_cast<Impl*>(self);
        if (componentState == NICE_COMPONENT_STATE_CONNECTED ||
            componentState == NICE_COMPONENT_STATE_READY)
            l.settle(false);
        else if (componentState == NICE_COMPONENT_STATE_FAILED && !l.pathChosen)
            l.noPath();
    }
    static void pairSelected(NiceAgent*, guint, guint, NiceCandidate*, NiceCandidate*,
                             gpointer self) {
        static_cast<Impl*>(self)->settle(false);
    }

    // --- the shim between ENet and the path
    static void fromPeer(NiceAgent*, guint, guint, guint length, gchar* data, gpointer self) {
        Impl& l = *static_cast<Impl*>(self);
        if (l.enetKnown)
            sendto(l.shim, data, length, 0, reinterpret_cast<const sockaddr*>(&l.enet),
                   sizeof l.enet);
    }
    static gboolean fromEnet(gint, GIOCondition, gpointer self) {
        Impl& l = *static_cast<Impl*>(self);
        char buffer[2048];
        for (;;) {
            sockaddr_in from{};
            socklen_t length = sizeof from;
            const ssize_t got = recvfrom(l.shim, buffer, sizeof buffer, 0,
                                         reinterpret_cast<sockaddr*>(&from), &length);
            if (got < 0)
                break;
            // Only ENet on this machine talks to the shim.
            if (from.sin_addr.s_addr != htonl(INADDR_LOOPBACK))
                continue;
            if (!l.options.host) {
                l.enet = from;
                l.enetKnown = true;
            }
            if (l.agent && l.pathChosen)
                nice_agent_send(l.agent, l.stream, 1, static_cast<guint>(got), buffer);
        }
        return G_SOURCE_CONTINUE;
    }
    bool openShim() {
        shim = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        sockaddr_in here{};
        here.sin_family = AF_INET;
        here.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof here;
        if (shim < 0 || bind(shim, reinterpret_cast<sockaddr*>(&here), sizeof here) != 0 ||
            getsockname(shim, reinterpret_cast<sockaddr*>(&here), &length) != 0)
            return false;
        shimPortNumber = ntohs(here.sin_port);
        if (options.host) {
            enet.sin_family = AF_INET;
            enet.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            enet.sin_port = htons(options.enetPort);
            enetKnown = true;
        }
        return true;
    }

    void run() {
        g_main_context_push_thread_default(context);
        GSource* shimSource = g_unix_fd_source_new(shim, G_IO_IN);
        g_source_set_callback(shimSource, G_SOURCE_FUNC(+fromEnet), this, nullptr);
        g_source_attach(shimSource, context);
        startLobby();
        g_main_loop_run(loop);
        clearDeadline();
        closeLobby();
        g_source_destroy(shimSource);
        g_source_unref(shimSource);
        if (agent) {
            // The relay's allocation is given back before the agent goes (bounded: the relay
            // may be gone).
            bool closed = false;
            nice_agent_close_async(
                agent,
                [](GObject*, GAsyncResult*, gpointer done) { *static_cast<bool*>(done) = true; },
                &closed);
            const gint64 until = g_get_monotonic_time() + 500 * 1000;
            while (!closed && g_get_monotonic_time() < until)
                g_main_context_iteration(context, FALSE) || (g_usleep(2000), true);
            g_object_unref(agent);
        }
        agent = nullptr;
        // Let the agent's own sources go before the context does.
        while (g_main_context_iteration(context, FALSE)) {
        }
        g_main_context_pop_thread_default(context);
    }
};

OnlineLink::OnlineLink(const OnlineOptions& options) : impl(std::make_unique<Impl>()) {
    impl->options = options;
    impl->context = g_main_context_new();
    impl->loop = g_main_loop_new(impl->context, FALSE);
    if (!impl->openShim()) {
        impl->state.stage = Stage::failed;
        impl->state.error = "the game cannot open its side of the path on 127.0.0.1";
        return;
    }
    impl->thread = std::thread([this] { impl->run(); });
}

OnlineLink::~OnlineLink() {
    if (impl->thread.joinable()) {
        // Queued, never run here: the thread may not have started its loop yet.
        GSource* stop = g_idle_source_new();
        g_source_set_callback(
            stop,
            [](gpointer loop) {
                g_main_loop_quit(static_cast<GMainLoop*>(loop));
                return G_SOURCE_REMOVE;
            },
            impl->loop, nullptr);
        g_source_attach(stop, impl->context);
        g_source_unref(stop);
        impl->thread.join();
    }
    if (impl->shim >= 0)
        close(impl->shim);
    g_main_loop_unref(impl->loop);
    g_main_context_unref(impl->context);
}

OnlineLink::Status OnlineLink::status() const {
    std::lock_guard<std::mutex> hold(impl->lock);
    return impl->state;
}

uint16_t OnlineLink::shimPort() const {
    return impl->shimPortNumber;
}
