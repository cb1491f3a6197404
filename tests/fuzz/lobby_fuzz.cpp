#include "lobby/LobbyMessage.h"

#include <cstdlib>
#include <string>

// Whatever a connection sends the lobby (or the lobby a game), a line is either one message,
// which written again gives back exactly that line, or refused with a reason. The sanitizers
// watch every read.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    LobbyMessage m;
    std::string why;
    if (!readLobbyMessage(line, m, why)) {
        if (why.empty())
            std::abort();
        return 0;
    }
    if (writeLobbyMessage(m) != line)
        std::abort();
    if (m.description.size() > longestDescription || m.text.size() > longestErrorText ||
        line.size() > longestLobbyLine)
        std::abort();
    return 0;
}
