#include "lobby/RoomCode.h"
#include <cctype>
#include <cstring>

std::string roomCodeFrom(uint32_t bits) {
    std::string code;
    for (int n = 0; n < roomCodeLength; ++n) {
        code += roomCodeAlphabet[bits % roomCodeSymbols];
        bits /= roomCodeSymbols;
    }
    return code;
}

bool isRoomCodeSymbol(char c) {
    return c != '\0' && std::strchr(roomCodeAlphabet, c) != nullptr;
}

std::string normalRoomCode(const std::string& typed) {
    std::string code;
    for (char c : typed) {
        if (c == ' ' || c == '-')
            continue;
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (!isRoomCodeSymbol(c) || code.size() == roomCodeLength)
            return {};
        code += c;
    }
    return code.size() == roomCodeLength ? code : std::string{};
}

char nextRoomCodeSymbol(char c, int by) {
    const char* at = isRoomCodeSymbol(c) ? std::strchr(roomCodeAlphabet, c) : nullptr;
    const int index = at ? static_cast<int>(at - roomCodeAlphabet) : (by > 0 ? -1 : 0);
    return roomCodeAlphabet[((index + by) % roomCodeSymbols + roomCodeSymbols) % roomCodeSymbols];
}
