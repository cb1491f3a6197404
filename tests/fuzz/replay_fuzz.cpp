#include "FuzzFile.h"
#include "record/Replay.h"

#include <cstdlib>

// Whatever the bytes, a recording is either read whole, and written again gives back exactly the
// same bytes, or refused with a message naming the file. The sanitizers watch every read; the
// malloc limit catches a tick count taken on trust.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = fuzzFilePath("round.rec");
    writeFuzzFile(path, data, size);
    Replay replay;
    std::string message;
    if (readReplayFile(path, replay, message)) {
        if (replay.keys.size() > replayTickLimit || !message.empty())
            std::abort();
        const std::string again = encodeReplay(replay);
        if (again.size() != size ||
            again.compare(0, size, reinterpret_cast<const char*>(data), size))
            std::abort();
    } else if (message.find(path) == std::string::npos || !replay.keys.empty()) {
        std::abort();
    }
    return 0;
}
