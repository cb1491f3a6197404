#include "FuzzFile.h"
#include "record/KeptRounds.h"
#include "record/Replay.h"
#include "record/RoundDetails.h"

#include <cstdlib>

// Whatever the bytes, a recording or a kept round is either read whole, and written again gives
// back exactly the same bytes, or refused with a message naming the file. The same bytes in the
// rounds' folder are listed, never stopping the list: a round that can be watched loads and is
// written again to the same bytes, any other file carries its reason. The sanitizers watch every
// read; the malloc limit catches a tick count or a details' length taken on trust.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = fuzzFilePath("2026-12-09_09-31-57.round");
    writeFuzzFile(path, data, size);
    const std::string given(reinterpret_cast<const char*>(data), size);
    Replay replay;
    std::string message;
    if (readReplayFile(path, replay, message)) {
        if (replay.keys.size() > replayTickLimit || !message.empty())
            std::abort();
        // A kept round reads as its recording: written again with its details, the same bytes.
        RoundDetails details;
        bool hasDetails = false;
        Replay same;
        std::string wrong;
        if (!decodeKeptRound(given, details, hasDetails, same, wrong))
            std::abort();
        const std::string back =
            hasDetails ? encodeKeptRound(details, replay) : encodeReplay(replay);
        if (back != given)
            std::abort();
    } else if (message.find(path) == std::string::npos || !replay.keys.empty()) {
        std::abort();
    }

    KeptRounds rounds(path.substr(0, path.rfind('/')));
    const std::vector<KeptRound> listed = rounds.list();
    if (listed.size() != 1 || listed[0].path != path ||
        listed[0].readable != listed[0].wrong.empty())
        std::abort();
    Replay kept;
    const bool loaded = rounds.load(listed[0], kept, message);
    if (loaded != listed[0].readable)
        std::abort();
    if (loaded) {
        const std::string again =
            listed[0].hasDetails ? encodeKeptRound(listed[0].details, kept) : encodeReplay(kept);
        if (again != given)
            std::abort();
    }
    return 0;
}
