#pragma once
#include "rules/KeyState.h"
#include "net/Lockstep.h"
#include "net/NetSession.h"
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

struct RoundState;

// A round played by two machines in lockstep: the title's waiting and starting, the ticks that
// run once both players' keys are known, pause and play again for both, the world's fingerprint
// compared every 60 ticks, and the other side leaving.
class NetPlay {
  public:
    enum class Stage { lobby, playing, left, outOfStep, refused };

    NetPlay(NetSession& session, RoundState& round);

    // Takes what the other side sent. Answers false once nothing more can be played.
    bool service(uint32_t waitMs = 0);
    bool bothHere() const { return session.connected(); }
    bool hosting() const { return session.role == NetSession::Role::host; }
    // START clicked on this machine: the host starts the round for both, the guest asks it to.
    void startClicked();
    // P on this machine: pauses both machines, or lets both go on.
    void pauseClicked();
    // Space after 0:00 on this machine: another round for both.
    void againClicked();
    // END ROUND on this machine's pause menu: both machines leave the round for the title,
    // where START begins another.
    void endRoundClicked();
    // Runs up to `due` ticks, each once both players' keys are known. This machine's keys come
    // from `localKeys` when it is their turn to be taken; `ran` sees each tick's keys. Answers
    // how many ran; `waiting` says whether the other side's keys were late.
    int runTicks(int due, const std::function<KeyState()>& localKeys,
                 const std::function<void(const KeyState&)>& ran);

    // The title's line while the round has not begun.
    std::string lobbyText() const;
    // The line over the overview: the other side late, gone, or out of step; null otherwise.
    const char* banner() const;

    Stage stage = Stage::lobby;
    bool waiting = false;
    // Set when a round begins (with its seed): the game's caller shows the round and starts its
    // recording anew.
    std::function<void(uint32_t seed)> onRoundBegun;
    // Set when the round is left for the title (END ROUND on either machine), before the next
    // round is made ready.
    std::function<void()> onRoundEnded;
    // Set when the worlds part: the game's caller saves its recording.
    std::function<void()> onOutOfStep;

  private:
    void begin(uint32_t seed, uint32_t delay);
    void hostStarts(uint32_t seed);
    void compareHashes();
    void endRound();

    NetSession& session;
    RoundState& game;
    std::unique_ptr<Lockstep> lockstep;
    std::map<uint32_t, uint64_t> ownHashes, otherHashes;
    RefuseReason refusal = RefuseReason::otherVersion;
    uint64_t waitingSince = 0;
    bool joined = false;     // the other side was here once
    bool turnedAway = false; // the host refused a guest of another version
};
