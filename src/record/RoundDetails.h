#pragma once
#include "record/Replay.h"
#include <cstdint>
#include <string>

// Who played one side of a kept round.
enum class SidePlayer : uint8_t { person, computer, online };

// What the list of kept rounds shows without running the round again.
struct RoundDetails {
    int64_t playedAt = 0; // UTC, seconds since 1970, when the round ended
    SidePlayer players[2] = {SidePlayer::person, SidePlayer::person};
    // For a computer player, its level in the computer players' own order (0 the easiest);
    // 0 for the other kinds.
    uint8_t computerLevel[2] = {0, 0};
    int32_t points[2] = {0, 0};
    bool leftEarly = false;
    // The clock when the round was left, in seconds; 0 for a round played to 0:00.
    uint16_t clockLeft = 0;

    bool operator==(const RoundDetails&) const = default;
};

// More levels than the computer players have mean a damaged file.
constexpr uint8_t computerLevelLimit = 8;
// The longest round's clock, in seconds.
constexpr uint16_t roundClockSeconds = 360;

// A kept round's file: the details in a small block of their own, then the recording's bytes
// exactly as a plain recording holds them. decodeKeptRound also reads a plain recording (its
// details then unknown: `hasDetails` false). It never trusts a size it has not checked; on failure
// `wrong` says what is wrong in a few words.
std::string encodeKeptRound(const RoundDetails& details, const Replay& replay);
bool decodeKeptRound(const std::string& bytes, RoundDetails& details, bool& hasDetails,
                     Replay& replay, std::string& wrong);

// "2026-12-09 09:31", in UTC.
std::string playedAtText(int64_t playedAt);
