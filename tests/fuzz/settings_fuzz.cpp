#include "FuzzFile.h"
#include "screens/Settings.h"

#include <SDL.h>
#include <cstdlib>

namespace {
// The game's own test of a key name: SDL's.
bool isKeyName(const std::string& name) {
    return SDL_GetScancodeFromName(name.c_str()) != SDL_SCANCODE_UNKNOWN;
}

bool same(const Settings& a, const Settings& b) {
    if (a.fullscreen != b.fullscreen || a.windowWidth != b.windowWidth ||
        a.windowHeight != b.windowHeight || a.shadows != b.shadows ||
        a.musicVolume != b.musicVolume || a.effectsVolume != b.effectsVolume)
        return false;
    for (int p = 0; p < 2; ++p)
        for (int k = 0; k < playerKeyCount; ++k)
            if (a.keys[p][k] != b.keys[p][k])
                return false;
    return true;
}
} // namespace

// Whatever the bytes, the settings read are within their bounds, every key is one SDL knows, and
// what the game would write of them reads back the same, with no line refused.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = fuzzFilePath("settings.ini");
    writeFuzzFile(path, data, size);
    const Settings s = loadSettings(path, isKeyName);
    if (s.windowWidth < 1 || s.windowWidth > 16384 || s.windowHeight < 1 ||
        s.windowHeight > 16384 || s.musicVolume < 0 || s.musicVolume > 10 || s.effectsVolume < 0 ||
        s.effectsVolume > 10)
        std::abort();
    for (int p = 0; p < 2; ++p)
        for (int k = 0; k < playerKeyCount; ++k)
            if (!isKeyName(s.keys[p][k]))
                std::abort();
    std::vector<std::string> problems;
    const Settings again = parseSettings(formatSettings(s), isKeyName, problems);
    if (!problems.empty() || !same(s, again))
        std::abort();
    return 0;
}
