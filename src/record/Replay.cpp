#include "record/Replay.h"
#include "record/RoundDetails.h"
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {
constexpr char signature[8] = {'T', 'U', 'V', 'O', 'R', 'E', 'P', 'L'};
// 2: a player thrown by a trap is where it landed for blasts and creatures from that tick on.
// 3: a player sent home is safe from the creatures until its first move or for 2 s.
// 4: no creature catches a player before its first move or 2 s into the round; the round's
//    options (bit 0: steering help) follow the final hash.
// 5: a player sent home, or at the round's start, is sheltered from creatures and blasts until
//    its first step; creatures keep out of the home cells; with steering help a player let go
//    between two cell middles walks on to the next; and the final hash is the fingerprint of
//    the whole round (the tallies, the labyrinth, what the players have seen of it, the clock
//    and the rest).
constexpr uint32_t formatVersion = 5;
// Signature, version, seed, tick count, final hash, options.
constexpr size_t headerBytes = 8 + 4 + 4 + 4 + 8 + 4;
constexpr uint32_t optionSteering = 1;
constexpr size_t checksumBytes = 4;
constexpr uint16_t keyBits = (1u << (2 * playerKeyCount + 1)) - 1;

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
} // namespace

std::string encodeReplay(const Replay& replay) {
    std::string out(signature, sizeof signature);
    putLittle(out, formatVersion, 4);
    putLittle(out, replay.seed, 4);
    putLittle(out, replay.keys.size(), 4);
    putLittle(out, replay.finalHash, 8);
    putLittle(out, replay.steeringHelp ? optionSteering : 0, 4);
    for (uint16_t k : replay.keys)
        putLittle(out, k, 2);
    putLittle(out, checksumOf(out, out.size()), 4);
    return out;
}

bool decodeReplay(const std::string& bytes, Replay& replay, std::string& wrong) {
    if (bytes.size() < sizeof signature || std::memcmp(bytes.data(), signature, sizeof signature))
        return wrong = "not a TUVO!! replay (its first bytes are not a replay's)", false;
    if (bytes.size() < headerBytes + checksumBytes)
        return wrong =
                   "truncated: " + std::to_string(bytes.size()) + " bytes, too short for a replay",
               false;
    const uint32_t version = static_cast<uint32_t>(getLittle(bytes, 8, 4));
    if (version != formatVersion)
        return wrong = "made by another version of TUVO!! (replay format " +
                       std::to_string(version) + ", this game reads " +
                       std::to_string(formatVersion) + ")",
               false;
    const uint32_t count = static_cast<uint32_t>(getLittle(bytes, 16, 4));
    if (count > replayTickLimit)
        return wrong = "damaged: it claims " + std::to_string(count) +
                       " ticks, more than a round can run",
               false;
    const size_t expected = headerBytes + 2 * static_cast<size_t>(count) + checksumBytes;
    if (bytes.size() < expected)
        return wrong = "truncated: " + std::to_string(bytes.size()) + " bytes of the " +
                       std::to_string(expected) + " its " + std::to_string(count) + " ticks need",
               false;
    if (bytes.size() > expected)
        return wrong = "damaged: " + std::to_string(bytes.size() - expected) +
                       " bytes follow the end of the replay",
               false;
    if (getLittle(bytes, expected - checksumBytes, 4) !=
        checksumOf(bytes, expected - checksumBytes))
        return wrong = "damaged: its checksum does not match its contents", false;
    const uint32_t options = static_cast<uint32_t>(getLittle(bytes, 28, 4));
    if (options & ~optionSteering)
        return wrong = "damaged: it asks for a round option the game does not have", false;
    Replay read;
    read.steeringHelp = options & optionSteering;
    read.seed = static_cast<uint32_t>(getLittle(bytes, 12, 4));
    read.finalHash = getLittle(bytes, 20, 8);
    read.keys.resize(count);
    for (uint32_t i = 0; i < count; ++i) {
        read.keys[i] = static_cast<uint16_t>(getLittle(bytes, headerBytes + 2 * size_t{i}, 2));
        if (read.keys[i] & ~keyBits)
            return wrong =
                       "damaged: tick " + std::to_string(i) + " holds a key the game does not have",
                   false;
    }
    replay = std::move(read);
    return true;
}

bool readReplayFile(const std::string& path, Replay& replay, std::string& message) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        message = "replay file '" + path + "': cannot be read (" + std::strerror(errno) + ")";
        return false;
    }
    // Checked before reading: a replay is never larger than its tick limit allows.
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    // A kept round carries its details before the recording: a few dozen bytes more.
    constexpr std::streamoff keptDetailsRoom = 256;
    constexpr std::streamoff largest =
        headerBytes + 2 * std::streamoff{replayTickLimit} + checksumBytes + keptDetailsRoom;
    if (size < 0) {
        message = "replay file '" + path + "': cannot be read (not a regular file)";
        return false;
    }
    if (size > largest) {
        message = "replay file '" + path + "': damaged: " + std::to_string(size) +
                  " bytes, larger than any replay";
        return false;
    }
    std::string bytes(static_cast<size_t>(size), '\0');
    if (!in.read(bytes.data(), size)) {
        message = "replay file '" + path + "': cannot be read";
        return false;
    }
    // A round kept in the player's data folder plays as a recording does.
    std::string wrong;
    RoundDetails details;
    bool hasDetails = false;
    if (!decodeKeptRound(bytes, details, hasDetails, replay, wrong)) {
        message = "replay file '" + path + "': " + wrong;
        return false;
    }
    return true;
}

bool writeReplayFile(const std::string& path, const Replay& replay, std::string& message) {
    const std::string temporary = path + ".part";
    const std::string bytes = encodeReplay(replay);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (out)
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out || !out.flush()) {
            message = "recording '" + path + "': cannot be written (" + std::strerror(errno) + ")";
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        message = "recording '" + path + "': cannot be written (" + std::strerror(errno) + ")";
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
