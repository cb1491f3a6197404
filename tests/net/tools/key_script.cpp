// Writes a key script for a headless network side: a recording of random keys for both players,
// each held for a run of ticks, changed every 6 ticks.
//   key_script FILE TICKS SEED KEY_SEED
#include "record/Replay.h"
#include "support/RoundDriver.h"
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: key_script FILE TICKS SEED KEY_SEED\n");
        return 2;
    }
    Replay script;
    script.seed = static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 10));
    RandomKeys random(static_cast<unsigned>(std::strtoul(argv[4], nullptr, 10)));
    const long ticks = std::strtol(argv[2], nullptr, 10);
    KeyState keys;
    for (long t = 0; t < ticks; ++t) {
        if (t % 6 == 0)
            keys = random.next();
        script.keys.push_back(packKeys(keys));
    }
    std::string message;
    if (!writeReplayFile(argv[1], script, message)) {
        std::fprintf(stderr, "key_script: %s\n", message.c_str());
        return 1;
    }
    return 0;
}
