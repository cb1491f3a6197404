#include "net/NetPacket.h"
#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {
constexpr char magic[4] = {'T', 'U', 'V', 'O'};
constexpr uint16_t keyBits = 0x7FFF; // 14 player keys and key 0

void put(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

uint64_t get(const uint8_t* in, int bytes) {
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<uint64_t>(in[i]) << (8 * i);
    return value;
}

bool printable(const uint8_t* text, size_t length) {
    for (size_t i = 0; i < length; ++i)
        if (text[i] < 0x20 || text[i] > 0x7E)
            return false;
    return true;
}
} // namespace

std::string encodeMessage(const Message& m) {
    std::string out(1, static_cast<char>(m.type));
    switch (m.type) {
    case MessageType::hello: {
        out.append(magic, sizeof magic);
        put(out, m.protocol, 2);
        const std::string v = m.version.substr(0, longestVersionText);
        put(out, v.size(), 1);
        out += v;
        break;
    }
    case MessageType::refuse:
        put(out, static_cast<uint8_t>(m.reason), 1);
        break;
    case MessageType::start:
        put(out, m.seed, 4);
        put(out, m.steeringHelp ? 1 : 0, 1);
        break;
    case MessageType::keys: {
        const size_t count = std::min(m.run.size(), longestKeyRun);
        put(out, m.round, 1);
        put(out, m.ack, 4);
        put(out, m.tick, 4);
        put(out, count, 1);
        for (size_t i = 0; i < count; ++i)
            put(out, m.run[i], 2);
        break;
    }
    case MessageType::worldHash:
        put(out, m.tick, 4);
        put(out, m.hash, 8);
        break;
    case MessageType::pause:
        put(out, m.paused ? 1 : 0, 1);
        break;
    case MessageType::askStart:
    case MessageType::askAgain:
    case MessageType::welcome:
    case MessageType::endRound:
        break;
    }
    return out;
}

bool decodeMessage(const uint8_t* data, size_t size, Message& m) {
    if (data == nullptr || size < 1)
        return false;
    Message read;
    read.type = static_cast<MessageType>(data[0]);
    const uint8_t* p = data + 1;
    const size_t rest = size - 1;
    switch (read.type) {
    case MessageType::hello: {
        if (rest < 7 || std::memcmp(p, magic, sizeof magic) != 0)
            return false;
        read.protocol = static_cast<uint16_t>(get(p + 4, 2));
        const size_t length = p[6];
        if (length > longestVersionText || rest != 7 + length || !printable(p + 7, length))
            return false;
        read.version.assign(reinterpret_cast<const char*>(p + 7), length);
        break;
    }
    case MessageType::refuse:
        if (rest != 1 || (p[0] != static_cast<uint8_t>(RefuseReason::otherVersion) &&
                          p[0] != static_cast<uint8_t>(RefuseReason::roundFull)))
            return false;
        read.reason = static_cast<RefuseReason>(p[0]);
        break;
    case MessageType::start:
        if (rest != 5 || p[4] > 1)
            return false;
        read.seed = static_cast<uint32_t>(get(p, 4));
        read.steeringHelp = p[4] == 1;
        break;
    case MessageType::keys: {
        if (rest < 10)
            return false;
        read.round = p[0];
        read.ack = static_cast<uint32_t>(get(p + 1, 4));
        read.tick = static_cast<uint32_t>(get(p + 5, 4));
        const size_t count = p[9];
        // A run past the largest tick a recording can hold would wrap around to tick 0.
        if (count > longestKeyRun || rest != 10 + 2 * count || read.tick > UINT32_MAX - count)
            return false;
        read.run.resize(count);
        for (size_t i = 0; i < count; ++i) {
            read.run[i] = static_cast<uint16_t>(get(p + 10 + 2 * i, 2));
            if (read.run[i] & ~keyBits)
                return false;
        }
        break;
    }
    case MessageType::worldHash:
        if (rest != 12)
            return false;
        read.tick = static_cast<uint32_t>(get(p, 4));
        read.hash = get(p + 4, 8);
        break;
    case MessageType::pause:
        if (rest != 1 || p[0] > 1)
            return false;
        read.paused = p[0] == 1;
        break;
    case MessageType::askStart:
    case MessageType::askAgain:
    case MessageType::welcome:
    case MessageType::endRound:
        if (rest != 0)
            return false;
        break;
    default:
        return false;
    }
    m = std::move(read);
    return true;
}
