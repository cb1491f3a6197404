#include "net/NetHeadless.h"
#include "net/NetPlay.h"
#include "net/OnlineLink.h"
#include "platform/SteadyClock.h"
#include "record/Replay.h"
#include "rules/WorldHash.h"
#include "rules/RoundState.h"
#include "rules/RoundTick.h"
#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <thread>
#include <vector>

namespace {
uint32_t percentile99(std::vector<uint32_t> values) {
    if (values.empty())
        return 0;
    const size_t at = values.size() * 99 / 100;
    std::nth_element(values.begin(), values.begin() + static_cast<long>(at), values.end());
    return values[at];
}

// Finds the way to the other side through the lobby and opens ENet over it. False, having said
// why on standard error, when there is none.
bool connectOnline(const NetHeadlessOptions& o, std::unique_ptr<OnlineLink>& link,
                   std::unique_ptr<NetSession>& session, std::FILE* out) {
    std::string error;
    OnlineOptions online;
    online.host = o.host;
    online.code = o.code;
    online.lobbyHost = o.address;
    online.lobbyPort = o.port;
    online.alwaysRelay = o.alwaysRelay;
    if (o.host) {
        session = NetSession::host("127.0.0.1", 0, error);
        if (!session) {
            std::fprintf(stderr, "tuvo: %s\n", error.c_str());
            return false;
        }
        online.enetPort = session->port;
    }
    link = std::make_unique<OnlineLink>(online);
    bool codeShown = false;
    for (;;) {
        const OnlineLink::Status s = link->status();
        if (!s.code.empty() && !codeShown) {
            std::fprintf(out, "room code: %s\n", s.code.c_str());
            std::fflush(out);
            codeShown = true;
        }
        if (s.stage == OnlineLink::Stage::failed) {
            std::fprintf(stderr, "tuvo: %s\n", s.error.c_str());
            return false;
        }
        if (s.stage == OnlineLink::Stage::connected) {
            std::fprintf(out, "path: %s\n", s.relayed ? "relayed" : "direct");
            std::fflush(out);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (!o.host) {
        session = NetSession::join("127.0.0.1", link->shimPort(), error);
        if (!session) {
            std::fprintf(stderr, "tuvo: %s\n", error.c_str());
            return false;
        }
    }
    return true;
}
} // namespace

int playNetHeadless(const Replay& script, const NetHeadlessOptions& o, std::FILE* out) {
    std::string error;
    std::unique_ptr<OnlineLink> link;
    std::unique_ptr<NetSession> session;
    if (o.online) {
        if (!connectOnline(o, link, session, out))
            return 2;
    } else {
        session = o.host ? NetSession::host(o.address, o.port, error)
                         : NetSession::join(o.address, o.port, error);
    }
    if (!session) {
        std::fprintf(stderr, "tuvo: %s\n", error.c_str());
        return 2;
    }
    RoundState game(script.seed);
    setUpRound(game);
    NetPlay play(*session, game);
    // A host plays by its script's steering help; a guest by its host's.
    play.steeringHelp = script.steeringHelp;
    Replay played;
    play.onRoundBegun = [&](uint32_t seed) {
        played = Replay{};
        played.seed = seed;
        played.steeringHelp = game.steeringHelp;
    };
    bool outOfStep = false;
    play.onOutOfStep = [&] { outOfStep = true; };

    const uint64_t giveUp = steadyMs() + o.waitForPeerMs;
    while (play.stage == NetPlay::Stage::lobby) {
        if (!play.service(5) || steadyMs() > giveUp) {
            std::fprintf(stderr, "tuvo: no round: %s\n", play.lobbyText().c_str());
            return 2;
        }
        if (o.host && play.bothHere())
            play.startClicked();
    }
    const uint32_t ticks = static_cast<uint32_t>(script.keys.size());
    uint32_t scriptTick = 0;
    // The script's keys are this machine's from the first tick on, as a player's would be.
    auto localKeys = [&] {
        return unpackKeys(scriptTick < ticks ? script.keys[scriptTick++] : uint16_t{0});
    };
    auto confirmed = [&](const RoundState&, const KeyState& keys) {
        played.keys.push_back(packKeys(keys));
    };
    // Ticks fall due with real time, as in a window; the round ends once the other side's keys
    // have confirmed every tick of the script here.
    const uint64_t start = steadyMs();
    uint64_t used = 0;
    // Per call that ran or corrected ticks: ticks run again, and its time in microseconds.
    std::vector<uint32_t> runAgain, callMicros;
    while (play.confirmedRound().ticks < ticks && play.stage == NetPlay::Stage::playing) {
        const auto dueNow = static_cast<uint64_t>((steadyMs() - start) / tickMs) + 1;
        const int due = game.ticks >= ticks
                            ? 0
                            : static_cast<int>(std::min<uint64_t>(dueNow - std::min(dueNow, used),
                                                                  ticks - game.ticks));
        const uint32_t againBefore = play.corrections() ? play.corrections()->ticksRunAgain : 0;
        const uint32_t ticksBefore = game.ticks;
        const auto callStart = std::chrono::steady_clock::now();
        used += static_cast<uint64_t>(play.runTicks(due, localKeys, confirmed));
        // Nothing is shown or played here.
        play.takeEvents();
        const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(
            std::chrono::steady_clock::now() - callStart);
        const uint32_t again =
            play.corrections() ? play.corrections()->ticksRunAgain - againBefore : 0;
        if (again > 0 || game.ticks != ticksBefore) {
            runAgain.push_back(again);
            callMicros.push_back(static_cast<uint32_t>(micros.count()));
        }
        play.service(1);
    }
    // The other side may still need this side's last keys (sent until acknowledged) and
    // fingerprints.
    for (const uint64_t until = steadyMs() + 5000;
         play.stage == NetPlay::Stage::playing && play.corrections() &&
         play.corrections()->firstUnacknowledged() < game.ticks && steadyMs() < until;)
        play.service(5);
    for (const uint64_t linger = steadyMs() + 300;
         play.stage == NetPlay::Stage::playing && steadyMs() < linger;)
        play.service(5);
    const RoundState& agreed = play.confirmedRound();
    played.finalHash = hashWorld(agreed);
    if (!o.recordPath.empty()) {
        std::string message;
        if (!writeReplayFile(o.recordPath, played, message))
            std::fprintf(stderr, "tuvo: %s\n", message.c_str());
    }
    const Rollback* c = play.corrections();
    std::fprintf(out,
                 "ticks %u hash %016" PRIx64 " dropped %u seconds %.2f corrections %u "
                 "run again %u deepest %u again p99 %u frame p99 ms %.3f\n",
                 agreed.ticks, played.finalHash, session->dropped, (steadyMs() - start) / 1000.0,
                 c ? c->corrections : 0, c ? c->ticksRunAgain : 0, c ? c->deepestCorrection : 0,
                 percentile99(runAgain), percentile99(callMicros) / 1000.0);
    if (outOfStep || play.stage == NetPlay::Stage::outOfStep)
        return 5;
    if (agreed.ticks < ticks)
        return 4;
    return 0;
}
