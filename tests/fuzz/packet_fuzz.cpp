#include "net/NetPacket.h"

#include <cstdlib>
#include <string>

// Whatever bytes arrive, a packet is either one message of the protocol, which written again
// gives back exactly those bytes, or refused. The sanitizers watch every read.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Message m;
    if (!decodeMessage(data, size, m))
        return 0;
    const std::string again = encodeMessage(m);
    if (again.size() != size || again.compare(0, size, reinterpret_cast<const char*>(data), size))
        std::abort();
    if (m.version.size() > longestVersionText || m.run.size() > longestKeyRun)
        std::abort();
    return 0;
}
