#pragma once
#include "rules/KeyState.h"
#include "net/NetSession.h"
#include "net/Rollback.h"
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct RoundState;

// A round played by two machines: the title's waiting and starting, the ticks run ahead of the
// other side's keys and corrected when they come (Rollback), each side's keys sent over and over
// until acknowledged, pause and play again for both, the world's fingerprint compared every 60
// confirmed ticks, and the other side leaving (silent for 5 s).
class NetPlay {
  public:
    enum class Stage { lobby, playing, left, outOfStep, refused };

    NetPlay(NetSession& session, RoundState& round);

    // Whether a round together can still begin or go on (the other side has not left, and the
    // worlds have not parted).
    bool goneForGood() const {
        return stage == Stage::left || stage == Stage::outOfStep || stage == Stage::refused;
    }
    // The player went back to play alone: the connection ends.
    void close() { session.close(); }
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
    // Runs up to `due` ticks, each with this machine's keys from `localKeys` and the other
    // player's known or guessed ones, after correcting what the other side's keys showed wrong.
    // `confirmed` sees each tick whose keys are all known, with both players' keys and the round
    // after it. Answers how many of `due` were used: run, or let go while this side is ahead of
    // the other; `waiting` says whether the rest waits for the other side's keys.
    int runTicks(int due, const std::function<KeyState()>& localKeys,
                 const std::function<void(const RoundState&, const KeyState&)>& confirmed);
    // The round both machines agree on so far (the one to record), or the present before a
    // round began.
    const RoundState& confirmedRound() const;
    // What the ticks run since the last call made happen, each event once: the frame's to show.
    std::vector<RoundEvent> takeEvents() {
        return rollback ? rollback->takeEvents() : std::vector<RoundEvent>{};
    }
    // Corrections so far in this round; null before a round.
    const Rollback* corrections() const { return rollback.get(); }

    // The title's line while the round has not begun.
    std::string lobbyText() const;
    // The line over the overview: the other side silent, late, gone, or out of step; null
    // otherwise.
    const char* banner() const;

    Stage stage = Stage::lobby;
    // The host's steering help, which every round of the two plays by (the guest's own setting
    // counts for nothing here).
    bool steeringHelp = false;
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
    void begin(uint32_t seed, bool steering);
    void hostStarts(uint32_t seed);
    void compareHashes();
    void endRound();
    void keysArrived(const Message& m);
    void sendKeys();
    bool aheadOfOther() const;
    void playAgainWhenConfirmed();

    NetSession& session;
    RoundState& game;
    std::unique_ptr<Rollback> rollback;
    uint8_t roundsBegun = 0;
    uint64_t lastSent = 0;
    uint32_t sinceLetGo = 0;
    bool againWanted = false; // Space after 0:00, acted on once the confirmed round is over too
    std::map<uint32_t, uint64_t> ownHashes, otherHashes;
    RefuseReason refusal = RefuseReason::otherVersion;
    uint64_t waitingSince = 0;
    bool joined = false;     // the other side was here once
    bool turnedAway = false; // the host refused a guest of another version
    bool saidLooking = false;
};
