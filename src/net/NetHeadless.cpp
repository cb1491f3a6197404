#include "net/NetHeadless.h"
#include "rules/RoundState.h"
#include "net/NetPlay.h"
#include "record/Replay.h"
#include "record/WorldHash.h"
#include "platform/SteadyClock.h"
#include <cinttypes>

int playNetHeadless(const Replay& script, const NetHeadlessOptions& o, std::FILE* out) {
    std::string error;
    std::unique_ptr<NetSession> session = o.host ? NetSession::host(o.address, o.port, error)
                                                 : NetSession::join(o.address, o.port, error);
    if (!session) {
        std::fprintf(stderr, "tuvo: %s\n", error.c_str());
        return 2;
    }
    session->simulate(o.loss, o.delayMs);
    RoundState game(script.seed);
    setUpRound(game);
    NetPlay play(*session, game);
    Replay played;
    play.onRoundBegun = [&](uint32_t seed) {
        played = Replay{};
        played.seed = seed;
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
    auto localKeys = [&] {
        return unpackKeys(scriptTick < ticks ? script.keys[scriptTick++] : uint16_t{0});
    };
    auto ran = [&](const KeyState& keys) { played.keys.push_back(packKeys(keys)); };
    // The script's keys are this machine's from the first tick on, as a player's would be.
    scriptTick = 0;
    while (game.ticks < ticks && play.stage == NetPlay::Stage::playing) {
        play.runTicks(1, localKeys, ran);
        play.service(play.waiting ? 1 : 0);
    }
    // The other side may still need this side's last keys and fingerprints.
    for (const uint64_t linger = steadyMs() + 500; steadyMs() < linger;)
        play.service(5);
    played.finalHash = hashWorld(game);
    if (!o.recordPath.empty()) {
        std::string message;
        if (!writeReplayFile(o.recordPath, played, message))
            std::fprintf(stderr, "tuvo: %s\n", message.c_str());
    }
    std::fprintf(out, "ticks %u hash %016" PRIx64 " dropped %u\n", game.ticks, played.finalHash,
                 session->dropped);
    if (outOfStep || play.stage == NetPlay::Stage::outOfStep)
        return 5;
    if (game.ticks < ticks)
        return 4;
    return 0;
}
