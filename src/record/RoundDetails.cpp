#include "record/RoundDetails.h"
#include <cstring>
#include <ctime>

namespace {
constexpr char signature[8] = {'T', 'U', 'V', 'O', 'K', 'E', 'P', 'T'};
constexpr uint32_t detailsVersion = 1;
// When played (8), each side's player, level and points (6 each), left early (1), clock (2).
constexpr uint32_t detailsBytes = 8 + 2 * 6 + 1 + 2;
// Signature, version, the details' length.
constexpr size_t headBytes = 8 + 4 + 4;
constexpr size_t checksumBytes = 4;

uint32_t checksumOf(const std::string& bytes, size_t length) {
    uint32_t h = 2166136261u;
    for (size_t i = 0; i < length; ++i) {
        h ^= static_cast<unsigned char>(bytes[i]);
        h *= 16777619u;
    }
    return h;
}

void putLittle(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

uint64_t getLittle(const std::string& in, size_t at, int bytes) {
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<uint64_t>(static_cast<unsigned char>(in[at + i])) << (8 * i);
    return value;
}

// Reads the details block that starts at `at`, already known to be detailsBytes long.
bool readDetails(const std::string& bytes, size_t at, RoundDetails& details, std::string& wrong) {
    RoundDetails read;
    read.playedAt = static_cast<int64_t>(getLittle(bytes, at, 8));
    at += 8;
    for (int side = 0; side < 2; ++side) {
        const unsigned kind = static_cast<unsigned char>(bytes[at]);
        const unsigned level = static_cast<unsigned char>(bytes[at + 1]);
        if (kind > static_cast<unsigned>(SidePlayer::online))
            return wrong = "damaged: it names a kind of player the game does not have", false;
        if (level >= computerLevelLimit ||
            (level != 0 && kind != static_cast<unsigned>(SidePlayer::computer)))
            return wrong = "damaged: it names a computer player's level the game does not have",
                   false;
        read.players[side] = static_cast<SidePlayer>(kind);
        read.computerLevel[side] = static_cast<uint8_t>(level);
        read.points[side] =
            static_cast<int32_t>(static_cast<uint32_t>(getLittle(bytes, at + 2, 4)));
        at += 6;
    }
    const unsigned left = static_cast<unsigned char>(bytes[at]);
    read.clockLeft = static_cast<uint16_t>(getLittle(bytes, at + 1, 2));
    if (left > 1 || read.clockLeft > roundClockSeconds || (!left && read.clockLeft != 0))
        return wrong = "damaged: it tells of an end no round can have", false;
    read.leftEarly = left;
    details = read;
    return true;
}
} // namespace

std::string encodeKeptRound(const RoundDetails& details, const Replay& replay) {
    std::string out(signature, sizeof signature);
    putLittle(out, detailsVersion, 4);
    putLittle(out, detailsBytes, 4);
    putLittle(out, static_cast<uint64_t>(details.playedAt), 8);
    for (int side = 0; side < 2; ++side) {
        out.push_back(static_cast<char>(details.players[side]));
        out.push_back(static_cast<char>(details.computerLevel[side]));
        putLittle(out, static_cast<uint32_t>(details.points[side]), 4);
    }
    out.push_back(details.leftEarly ? 1 : 0);
    putLittle(out, details.leftEarly ? details.clockLeft : 0, 2);
    putLittle(out, checksumOf(out, out.size()), 4);
    return out + encodeReplay(replay);
}

bool decodeKeptRound(const std::string& bytes, RoundDetails& details, bool& hasDetails,
                     Replay& replay, std::string& wrong) {
    hasDetails = false;
    if (bytes.size() < sizeof signature || std::memcmp(bytes.data(), signature, sizeof signature))
        return decodeReplay(bytes, replay, wrong);
    if (bytes.size() < headBytes)
        return wrong = "truncated: " + std::to_string(bytes.size()) +
                       " bytes, too short for a kept round",
               false;
    const uint32_t version = static_cast<uint32_t>(getLittle(bytes, 8, 4));
    if (version != detailsVersion)
        return wrong = "made by another version of TUVO!! (round details format " +
                       std::to_string(version) + ", this game reads " +
                       std::to_string(detailsVersion) + ")",
               false;
    const uint32_t length = static_cast<uint32_t>(getLittle(bytes, 12, 4));
    if (length != detailsBytes)
        return wrong = "damaged: its details claim " + std::to_string(length) + " bytes, not " +
                       std::to_string(detailsBytes),
               false;
    const size_t recordingAt = headBytes + length + checksumBytes;
    if (bytes.size() < recordingAt)
        return wrong = "truncated: " + std::to_string(bytes.size()) +
                       " bytes, its details alone need " + std::to_string(recordingAt),
               false;
    if (getLittle(bytes, headBytes + length, 4) != checksumOf(bytes, headBytes + length))
        return wrong = "damaged: the checksum of its details does not match them", false;
    RoundDetails read;
    if (!readDetails(bytes, headBytes, read, wrong))
        return false;
    // The details are worth showing even when the recording after them cannot be played.
    details = read;
    hasDetails = true;
    return decodeReplay(bytes.substr(recordingAt), replay, wrong);
}

std::string playedAtText(int64_t playedAt) {
    const std::time_t when = static_cast<std::time_t>(playedAt);
    std::tm utc{};
    char text[32];
    if (!gmtime_r(&when, &utc) || !std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &utc))
        return "?";
    return text;
}
