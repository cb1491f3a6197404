#include "net/NetPlay.h"
#include "platform/Seed.h"
#include "rules/RoundState.h"
#include "rules/RoundTick.h"
#include "platform/SteadyClock.h"
#include "rules/WorldHash.h"
#include <cstdio>

namespace {
constexpr uint32_t hashEvery = 60;
// Fingerprints older than this many ticks are let go: the other side's come within its window.
constexpr uint32_t hashesKept = 600;

// A hold shorter than this is a hiccup, not worth a line over the overview.
constexpr uint64_t bannerAfterMs = 250;
// Silence this long, and the line says so.
constexpr uint64_t poorAfterMs = 500;
// Keys go with every tick run; keys not yet acknowledged go again this often while no tick runs,
// and with nothing to send the datagram is a heartbeat.
constexpr uint64_t resendMs = 17, heartbeatMs = 100;
// A side ahead of the other by more than this many ticks lets one tick go in every few, until
// both run at the same tick at the same moment and each guesses as far as the other.
constexpr double aheadTicks = 2;
constexpr uint32_t letGoEvery = 6;
} // namespace

NetPlay::NetPlay(NetSession& s, RoundState& g) : session(s), game(g) {}

bool NetPlay::service(uint32_t waitMs) {
    std::vector<NetSession::Event> events;
    session.poll(events, waitMs);
    if (session.stillLooking() && !saidLooking) {
        saidLooking = true;
        std::fprintf(stderr, "tuvo: no game at %s:%u yet; still looking\n", session.address.c_str(),
                     static_cast<unsigned>(session.port));
    }
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
                    begin(m.seed, m.steeringHelp);
                break;
            case MessageType::askStart:
                if (session.role == NetSession::Role::host && stage == Stage::lobby)
                    hostStarts(game.seed);
                break;
            case MessageType::askAgain:
                if (session.role == NetSession::Role::host && stage == Stage::playing) {
                    againWanted = true;
                    playAgainWhenConfirmed();
                }
                break;
            case MessageType::keys:
                keysArrived(m);
                break;
            case MessageType::worldHash:
                if (stage == Stage::playing && m.tick + hashesKept > confirmedRound().ticks)
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
    playAgainWhenConfirmed();
    const bool unacknowledged =
        rollback && stage == Stage::playing && rollback->firstUnacknowledged() < game.ticks;
    if (session.connected() && steadyMs() - lastSent >= (unacknowledged ? resendMs : heartbeatMs)) {
        sendKeys();
        session.flush();
    }
    return stage == Stage::lobby || stage == Stage::playing;
}

void NetPlay::keysArrived(const Message& m) {
    // Another round's keys, late or early, are old news; between rounds keys are heartbeats.
    if (!rollback || stage != Stage::playing || m.round != roundsBegun)
        return;
    bool fine = rollback->acknowledged(m.ack);
    for (size_t i = 0; i < m.run.size(); ++i)
        fine = rollback->addRemote(m.tick + static_cast<uint32_t>(i), m.run[i]) && fine;
    if (!fine)
        ++session.dropped;
}

void NetPlay::sendKeys() {
    Message m;
    m.type = MessageType::keys;
    m.round = roundsBegun;
    if (rollback && stage == Stage::playing) {
        m.ack = rollback->heardTicks();
        m.tick = rollback->firstUnacknowledged();
        for (uint32_t t = m.tick; t < game.ticks && m.run.size() < longestKeyRun; ++t)
            m.run.push_back(rollback->ownKeys(t));
    }
    session.send(m);
    lastSent = steadyMs();
}

bool NetPlay::aheadOfOther() const {
    if (sinceLetGo < letGoEvery || rollback->latestRemoteTick() == 0)
        return false;
    // Where the other side is now: its latest tick heard, and the ticks run since it was sent.
    const double otherAt = rollback->latestRemoteTick() + 1 + session.roundTrip() / 2.0 / tickMs;
    return game.ticks > otherAt + aheadTicks;
}

void NetPlay::playAgainWhenConfirmed() {
    if (!againWanted || stage != Stage::playing || !rollback ||
        !rollback->confirmedRound().roundOver)
        return;
    againWanted = false;
    if (session.role == NetSession::Role::host) {
        hostStarts(nextRoundSeed(game.seed));
    } else {
        Message ask;
        ask.type = MessageType::askAgain;
        session.send(ask);
    }
}

const RoundState& NetPlay::confirmedRound() const {
    return rollback ? rollback->confirmedRound() : game;
}

void NetPlay::hostStarts(uint32_t seed) {
    if (!session.connected())
        return;
    Message start;
    start.type = MessageType::start;
    start.seed = seed;
    start.steeringHelp = steeringHelp;
    session.send(start);
    session.flush();
    begin(seed, steeringHelp);
}

void NetPlay::begin(uint32_t seed, bool steering) {
    ++roundsBegun;
    startRound(game, seed);
    game.steeringHelp = steering;
    steeringHelp = steering;
    // The caller may still read the last round's confirmed round as it is told of the new one.
    const std::unique_ptr<Rollback> previous = std::move(rollback);
    rollback = std::make_unique<Rollback>(session.role == NetSession::Role::host ? 1 : 2, game);
    ownHashes.clear();
    otherHashes.clear();
    waiting = false;
    waitingSince = 0;
    sinceLetGo = 0;
    againWanted = false;
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
    // The next round starts once both machines agree on how this one ended.
    againWanted = true;
    playAgainWhenConfirmed();
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
    // Keys of the left round still on their way find no round to go to and are dropped.
    rollback.reset();
    ownHashes.clear();
    otherHashes.clear();
    waiting = false;
    waitingSince = 0;
    sinceLetGo = 0;
    againWanted = false;
    game.paused = false;
    stage = Stage::lobby;
    // Told while the round is still the one left (its recording is written from it).
    if (onRoundEnded)
        onRoundEnded();
    // Both machines hold the same round, so both make the same next one for the title's START.
    startRound(game, nextRoundSeed(game.seed));
}

int NetPlay::runTicks(int due, const std::function<KeyState()>& localKeys,
                      const std::function<void(const RoundState&, const KeyState&)>& confirmed) {
    if (stage != Stage::playing || !rollback || game.paused)
        return 0;
    rollback->settle([&](const RoundState& round, const KeyState& keys) {
        if (confirmed)
            confirmed(round, keys);
        const uint32_t tick = round.ticks - 1;
        if (tick % hashEvery == 0 && stage == Stage::playing) {
            Message h;
            h.type = MessageType::worldHash;
            h.tick = tick;
            h.hash = hashWorld(round);
            ownHashes[tick] = h.hash;
            session.send(h);
            compareHashes();
        }
    });
    playAgainWhenConfirmed();
    if (stage != Stage::playing) {
        session.flush();
        return 0;
    }
    int used = 0;
    bool ran = false;
    waiting = false;
    for (; used < due; ++used) {
        if (aheadOfOther()) {
            sinceLetGo = 0;
            continue;
        }
        if (!rollback->canAdvance()) {
            waiting = true;
            break;
        }
        rollback->advance(localKeys());
        ++sinceLetGo;
        ran = true;
    }
    if (!waiting)
        waitingSince = 0;
    else if (waitingSince == 0)
        waitingSince = steadyMs();
    if (ran)
        sendKeys();
    session.flush();
    return used;
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
        } else if (own->first + hashesKept < confirmedRound().ticks) {
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
            return (session.stillLooking() ? "STILL LOOKING FOR " : "CONNECTING TO ") +
                   session.address + ":" + std::to_string(session.port);
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
    case Stage::playing:
        if (session.silentMs() >= poorAfterMs)
            return "CONNECTION POOR";
        return waiting && waitingSince != 0 && steadyMs() - waitingSince >= bannerAfterMs
                   ? "WAITING FOR THE OTHER PLAYER"
                   : nullptr;
    default:
        return nullptr;
    }
}
