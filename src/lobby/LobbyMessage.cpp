#include "lobby/LobbyMessage.h"
#include "lobby/RoomCode.h"
#include <vector>

namespace {
std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    size_t at = 0;
    while (at <= line.size() && out.size() < 64) {
        const size_t space = std::min(line.find(' ', at), line.size());
        out.push_back(line.substr(at, space - at));
        at = space + 1;
    }
    return out;
}

bool isBase64(std::string_view s) {
    if (s.empty() || s.size() % 4 != 0)
        return false;
    size_t padding = 0;
    for (size_t n = 0; n < s.size(); ++n) {
        const char c = s[n];
        if (c == '=') {
            ++padding;
            continue;
        }
        const bool symbol = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                            (c >= '0' && c <= '9') || c == '+' || c == '/';
        if (!symbol || padding > 0)
            return false;
    }
    return padding <= 2;
}

// A host name or address, a user name or a password: printable, no spaces, bounded.
bool isTurnWord(std::string_view s) {
    if (s.empty() || s.size() > longestTurnWord)
        return false;
    for (char c : s)
        if (c <= ' ' || c > '~')
            return false;
    return true;
}

bool isCode(std::string_view s) {
    if (s.size() != roomCodeLength)
        return false;
    for (char c : s)
        if (!isRoomCodeSymbol(c))
            return false;
    return true;
}

bool readPort(std::string_view s, uint16_t& port) {
    if (s.empty() || s.size() > 5 || s[0] == '0')
        return false;
    uint32_t n = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
        n = n * 10 + static_cast<uint32_t>(c - '0');
    }
    if (n > 65535)
        return false;
    port = static_cast<uint16_t>(n);
    return true;
}

bool refuse(std::string& why, const char* what) {
    why = what;
    return false;
}
} // namespace

bool readLobbyMessage(std::string_view line, LobbyMessage& m, std::string& why) {
    if (line.size() > longestLobbyLine)
        return refuse(why, "message too long");
    for (char c : line)
        if (c < ' ' || c > '~')
            return refuse(why, "not a line of text");
    const std::vector<std::string_view> w = words(line);
    for (std::string_view word : w)
        if (word.empty())
            return refuse(why, "not a message");
    m = LobbyMessage{};
    const std::string_view name = w[0];
    const std::string version = std::to_string(lobbyProtocol);
    if (name == "HOST" || name == "JOIN") {
        const bool join = name == "JOIN";
        if (w.size() != (join ? 3u : 2u))
            return refuse(why, join ? "JOIN needs a version and a code" : "HOST needs a version");
        if (w[1] != version)
            return refuse(why, "another version of the game");
        if (join && !isCode(w[2]))
            return refuse(why, "not a room code");
        m.kind = join ? LobbyKind::join : LobbyKind::host;
        if (join)
            m.code = w[2];
        return true;
    }
    if (name == "ICE" || name == "PEER") {
        if (w.size() != 2 || w[1].size() > longestDescription || !isBase64(w[1]))
            return refuse(why, "not a session description");
        m.kind = name == "ICE" ? LobbyKind::ice : LobbyKind::peer;
        m.description = w[1];
        return true;
    }
    if (name == "ROOM") {
        if (w.size() != 2 || !isCode(w[1]))
            return refuse(why, "not a room code");
        m.kind = LobbyKind::room;
        m.code = w[1];
        return true;
    }
    if (name == "TURN") {
        const size_t relays = (w.size() - 3) / 2;
        if (w.size() < 3 || w.size() % 2 == 0 || relays > mostLobbyRelays || !isTurnWord(w[1]) ||
            !isTurnWord(w[2]))
            return refuse(why, "not a relay with credentials");
        for (size_t n = 0; n < relays; ++n) {
            LobbyRelay relay;
            if (!isTurnWord(w[3 + 2 * n]) || !readPort(w[4 + 2 * n], relay.port))
                return refuse(why, "not a relay with credentials");
            relay.host = w[3 + 2 * n];
            m.relays.push_back(relay);
        }
        m.kind = LobbyKind::turn;
        m.turnUser = w[1];
        m.turnPassword = w[2];
        return true;
    }
    if (name == "ERROR") {
        if (w.size() < 2)
            return refuse(why, "an error without words");
        const std::string_view text = line.substr(6);
        if (text.size() > longestErrorText)
            return refuse(why, "an error too long");
        m.kind = LobbyKind::error;
        m.text = text;
        return true;
    }
    return refuse(why, "not a message");
}

std::string writeLobbyMessage(const LobbyMessage& m) {
    switch (m.kind) {
    case LobbyKind::host:
        return "HOST " + std::to_string(lobbyProtocol);
    case LobbyKind::join:
        return "JOIN " + std::to_string(lobbyProtocol) + " " + m.code;
    case LobbyKind::ice:
        return "ICE " + m.description;
    case LobbyKind::peer:
        return "PEER " + m.description;
    case LobbyKind::room:
        return "ROOM " + m.code;
    case LobbyKind::turn: {
        std::string line = "TURN " + m.turnUser + " " + m.turnPassword;
        for (const LobbyRelay& relay : m.relays)
            line += " " + relay.host + " " + std::to_string(relay.port);
        return line;
    }
    case LobbyKind::error:
        return "ERROR " + m.text;
    }
    return {};
}
