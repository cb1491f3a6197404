#include "app/Game.h"
#include "app/Headless.h"
#include "app/MainLoop.h"
#include "app/Platform.h"
#include "app/Replay.h"
#include "app/Seed.h"
#include <GL/freeglut.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

namespace {
// The calendar time in seconds. TUVO_SEED replays a round: the same seed gives the same arena,
// labyrinth and random events, which is how bugs get reproduced and how the end-to-end tests
// know where things stand.
uint32_t roundSeed() {
    return chooseRoundSeed(std::getenv("TUVO_SEED"), static_cast<uint32_t>(std::time(nullptr)),
                           stderr);
}

constexpr const char* usage =
    "usage: tuvo [--fullscreen] [--record FILE | --replay FILE [--headless]]\n";

struct CommandLine {
    std::string record, replay;
    bool headless = false;
    bool fullscreen = false;
};

// Answers false, having said why, for a command line the game cannot follow.
bool readCommandLine(int argc, char** argv, CommandLine& line) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--record" || arg == "--replay") && i + 1 < argc && argv[i + 1][0] != '\0') {
            (arg == "--record" ? line.record : line.replay) = argv[++i];
        } else if (arg == "--headless") {
            line.headless = true;
        } else if (arg == "--fullscreen") {
            line.fullscreen = true;
        } else {
            std::fprintf(stderr, "tuvo: %s %s\n%s", arg.c_str(),
                         arg == "--record" || arg == "--replay" ? "needs a file name"
                                                                : "is not an option of the game",
                         usage);
            return false;
        }
    }
    if (!line.record.empty() && !line.replay.empty()) {
        std::fprintf(stderr, "tuvo: a replay cannot be recorded again\n%s", usage);
        return false;
    }
    if (line.headless && line.replay.empty()) {
        std::fprintf(stderr, "tuvo: --headless plays a replay: give it --replay FILE\n%s", usage);
        return false;
    }
    return true;
}

// TUVO_START_AT=SECONDS starts the first round with that much of it played, to try the seasons
// or the end of a round without playing up to them: a whole number below 360. A recording
// always starts at the beginning.
uint32_t firstTick(bool recordingOrReplaying) {
    const char* text = std::getenv("TUVO_START_AT");
    if (!text || !*text)
        return 0;
    const std::string s = text;
    if (s.size() > 3 || s.find_first_not_of("0123456789") != std::string::npos ||
        std::stoi(s) >= 360) {
        std::fprintf(stderr,
                     "tuvo: TUVO_START_AT=%s is not a number of seconds below 360; "
                     "the round starts at its beginning\n",
                     text);
        return 0;
    }
    if (recordingOrReplaying) {
        std::fprintf(stderr, "tuvo: TUVO_START_AT is ignored while recording or replaying\n");
        return 0;
    }
    return static_cast<uint32_t>(std::stoi(s) * 60);
}

// A recording that could not be written at the end would lose the round: find out now.
bool canWrite(const std::string& path) {
    const std::string probe = path + ".part";
    std::FILE* f = std::fopen(probe.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "tuvo: recording '%s': cannot be written (%s)\n", path.c_str(),
                     std::strerror(errno));
        return false;
    }
    std::fclose(f);
    std::remove(probe.c_str());
    return true;
}
} // namespace

int main(int argc, char** argv) {
    CommandLine line;
    if (!readCommandLine(argc, argv, line))
        return 2;
    Replay replay;
    if (!line.replay.empty()) {
        std::string message;
        if (!readReplayFile(line.replay, replay, message)) {
            std::fprintf(stderr, "tuvo: %s\n", message.c_str());
            return 2;
        }
        if (line.headless)
            return replayHeadless(replay, line.replay, stdout);
    }
    if (!line.record.empty() && !canWrite(line.record))
        return 2;

    ProgramOptions options;
    options.fullscreen = line.fullscreen;
    options.settingsPath = settingsPath();
    options.settings = loadSettings(options.settingsPath, platform::isKeyName);
    options.recordPath = line.record;
    options.firstTick = firstTick(!line.record.empty() || !line.replay.empty());
    options.replay = line.replay.empty() ? nullptr : &replay;
    // The one game of this run.
    auto game = std::make_unique<Game>(options.replay ? replay.seed : roundSeed());
    glutInit(&argc, argv);
    return runProgram(*game, options);
}
