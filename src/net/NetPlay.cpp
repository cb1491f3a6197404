#include "net/NetPlay.h"
#include "platform/Seed.h"
#include "rules/RoundState.h"
#include "rules/RoundTick.h"
#include "platform/SteadyClock.h"
#include "record/WorldHash.h"
#include <cstdio>

namespace {
constexpr uint32_t hashEvery = 60;
// Fingerprints older than this many ticks are let go: the other side's come within its delay.
constexpr uint32_t hashesKept = 600;

// A hold shorter than this is a hiccup, not worth a line over the overview.
constexpr uint64_t bannerAfterMs = 250;

} // namespace

NetPlay::NetPlay(NetSession& s, RoundState& g) : session(s), game(g) {}

bool NetPlay::service(uint32_t waitMs) {
    std::vector<NetSession::Event> events;
    session.poll(events, waitMs);
    for (const NetSession::Event& e : events) {
        switch (e.kind) {
        case NetSession::Event::joined:
            joined = true;
            break;
        case NetSession::Event::refused:
            // On the host a refused stranger changes nothing but a line; the guest was turned
            // away.
            if (session.role == NetSession::Role::guest) {
                stage = Stage::refused;
                refusal = e.message.reason;
                std::fprintf(stderr, "tuvo: %s\n", lobbyText().c_str());
            } else {
                turnedAway = true;
                std::fprintf(stderr, "tuvo: a player of another version was turned away\n");
            }
            break;
        case NetSession::Event::left:
            if (stage == Stage::lobby || stage == Stage::playing)
                stage = Stage::left;
            break;
        case NetSession::Event::arrived: {
            const Message& m = e.message;
            switch (m.type) {
            case MessageType::start:
                if (session.role == NetSession::Role::guest)
                    begin(m.seed, m.inputDelay);
                break;
            case MessageType::askStart:
                if (session.role == NetSession::Role::host && stage == Stage::lobby)
                    hostStarts(game.seed);
                break;
            case MessageType::askAgain:
                if (session.role == NetSession::Role::host && stage == Stage::playing &&
                    game.roundOver)
                    hostStarts(nextRoundSeed(game.seed));
                break;
            case MessageType::keys:
                if (!lockstep || !lockstep->addRemote(m.tick, m.keys))
                    ++session.dropped;
                break;
            case MessageType::worldHash:
                if (stage == Stage::playing && m.tick + hashesKept > game.ticks)
                    otherHashes[m.tick] = m.hash;
                compareHashes();
                break;
            case MessageType::pause:
                if (stage == Stage::playing && !game.roundOver)
                    game.paused = m.paused;
                break;
            case MessageType::endRound:
                if (stage == Stage::playing)
                    endRound();
                break;
            default:
                break;
            }
            break;
        }
        }
    }
    return stage == Stage::lobby || stage == Stage::playing;
}

void NetPlay::hostStarts(uint32_t seed) {
    if (!session.connected())
        return;
    Message start;
    start.type = MessageType::start;
    start.seed = seed;
    start.inputDelay = static_cast<uint8_t>(inputDelayFor(session.roundTrip()));
    session.send(start);
    session.flush();
    begin(seed, start.inputDelay);
}

void NetPlay::begin(uint32_t seed, uint32_t delay) {
    startRound(game, seed);
    lockstep = std::make_unique<Lockstep>(session.role == NetSession::Role::host ? 1 : 2, delay);
    ownHashes.clear();
    otherHashes.clear();
    waiting = false;
    stage = Stage::playing;
    if (onRoundBegun)
        onRoundBegun(seed);
}

void NetPlay::startClicked() {
    if (stage != Stage::lobby || !session.connected())
        return;
    if (session.role == NetSession::Role::host) {
        hostStarts(game.seed);
    } else {
        Message ask;
        ask.type = MessageType::askStart;
        session.send(ask);
    }
}

void NetPlay::pauseClicked() {
    if (stage != Stage::playing || game.roundOver)
        return;
    game.paused = !game.paused;
    Message m;
    m.type = MessageType::pause;
    m.paused = game.paused;
    session.send(m);
}

void NetPlay::againClicked() {
    if (stage != Stage::playing || !game.roundOver)
        return;
    if (session.role == NetSession::Role::host) {
        hostStarts(nextRoundSeed(game.seed));
    } else {
        Message ask;
        ask.type = MessageType::askAgain;
        session.send(ask);
    }
}

void NetPlay::endRoundClicked() {
    if (stage != Stage::playing)
        return;
    Message m;
    m.type = MessageType::endRound;
    session.send(m);
    session.flush();
    endRound();
}

void NetPlay::endRound() {
    // Keys of the left round still on their way find no lockstep and are dropped.
    lockstep.reset();
    ownHashes.clear();
    otherHashes.clear();
    waiting = false;
    waitingSince = 0;
    game.paused = false;
    stage = Stage::lobby;
    // Told while the round is still the one left (its recording is written from it).
    if (onRoundEnded)
        onRoundEnded();
    // Both machines hold the same round, so both make the same next one for the title's START.
    startRound(game, nextRoundSeed(game.seed));
}

int NetPlay::runTicks(int due, const std::function<KeyState()>& localKeys,
                      const std::function<void(const KeyState&)>& ran) {
    if (stage != Stage::playing || !lockstep || game.paused)
        return 0;
    int count = 0;
    waiting = false;
    for (; count < due; ++count) {
        const uint32_t tick = game.ticks;
        while (lockstep->wantsLocalKeys(tick)) {
            Message m;
            m.type = MessageType::keys;
            m.tick = lockstep->addLocal(localKeys(), m.keys);
            session.send(m);
        }
        if (!lockstep->ready(tick)) {
            waiting = true;
            if (waitingSince == 0)
                waitingSince = steadyMs();
            break;
        }
        waitingSince = 0;
        const KeyState keys = lockstep->take(tick);
        tickRound(game, keys);
        if (ran)
            ran(keys);
        if (tick % hashEvery == 0) {
            Message h;
            h.type = MessageType::worldHash;
            h.tick = tick;
            h.hash = hashWorld(game);
            ownHashes[tick] = h.hash;
            session.send(h);
            compareHashes();
            if (stage != Stage::playing)
                break;
        }
    }
    session.flush();
    return count;
}

void NetPlay::compareHashes() {
    for (auto own = ownHashes.begin(); own != ownHashes.end();) {
        auto other = otherHashes.find(own->first);
        if (other != otherHashes.end()) {
            if (other->second != own->second && stage == Stage::playing) {
                stage = Stage::outOfStep;
                if (onOutOfStep)
                    onOutOfStep();
            }
            otherHashes.erase(other);
            own = ownHashes.erase(own);
        } else if (own->first + hashesKept < game.ticks) {
            own = ownHashes.erase(own);
        } else {
            ++own;
        }
    }
}

std::string NetPlay::lobbyText() const {
    const bool host = session.role == NetSession::Role::host;
    switch (stage) {
    case Stage::refused:
        return refusal == RefuseReason::otherVersion ? "THE HOST PLAYS ANOTHER VERSION"
                                                     : "THE HOST HAS TWO PLAYERS ALREADY";
    case Stage::left:
        return joined ? "THE OTHER PLAYER LEFT"
                      : "NO GAME AT " + session.address + ":" + std::to_string(session.port);
    default:
        break;
    }
    if (!session.connected()) {
        if (!host)
            return "CONNECTING TO " + session.address + ":" + std::to_string(session.port);
        return "WAITING FOR PLAYER 2 ON PORT " + std::to_string(session.port) +
               (turnedAway ? " (ANOTHER VERSION WAS TURNED AWAY)" : "");
    }
    return host ? "PLAYER 2 IS HERE: CLICK START" : "PLAYER 1 IS HERE: CLICK START";
}

const char* NetPlay::banner() const {
    switch (stage) {
    case Stage::left:
        return "THE OTHER PLAYER LEFT";
    case Stage::outOfStep:
        return "OUT OF STEP";
    default:
        return waiting && waitingSince != 0 && steadyMs() - waitingSince >= bannerAfterMs
                   ? "WAITING FOR THE OTHER PLAYER"
                   : nullptr;
    }
}
