#include "app/Game.h"
#include "record/Headless.h"
#include "app/MainLoop.h"
#include "app/Match.h"
#include "bots/BotLevel.h"
#include "net/NetHeadless.h"
#include "net/NetSession.h"
#include "platform/Platform.h"
#include "record/Replay.h"
#include "platform/Seed.h"
#include <GL/freeglut.h>
#include <algorithm>
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
    "usage: tuvo [--fullscreen] [--record FILE | --replay FILE [--headless]]\n"
    "            [--host [ADDRESS:][PORT] | --join HOST[:PORT]] [--headless --keys FILE]\n";

constexpr uint16_t defaultPort = 7710;

struct CommandLine {
    std::string record, replay;
    bool headless = false;
    bool fullscreen = false;
    bool host = false, join = false;
    std::string address; // to join, or to open on the host (empty: all)
    uint16_t port = defaultPort;
    std::string keys; // a headless network side's key script
    // --computer: per player, -1 a person, else the computer player's BotLevel; -2 as the
    // title's opponent line was left.
    int32_t computer[2] = {-2, -2};
};

// "LEVEL" (player 2) or "1:LEVEL", "2:LEVEL", "1:LEVEL,2:LEVEL".
bool readComputer(const std::string& text, int32_t (&computer)[2]) {
    BotLevel level;
    if (readBotLevel(text, level)) {
        computer[1] = static_cast<int32_t>(level);
        return true;
    }
    size_t at = 0;
    bool any = false;
    while (at <= text.size()) {
        const size_t comma = std::min(text.find(',', at), text.size());
        const std::string part = text.substr(at, comma - at);
        if (part.size() < 3 || (part[0] != '1' && part[0] != '2') || part[1] != ':' ||
            !readBotLevel(part.substr(2), level))
            return false;
        computer[part[0] - '1'] = static_cast<int32_t>(level);
        any = true;
        at = comma + 1;
    }
    return any;
}

// `--match LEVEL1 LEVEL2 --rounds N [--seed S]`, the whole command line; false, having said why,
// for anything else.
bool readMatch(int argc, char** argv, MatchOptions& o) {
    auto number = [](const char* text, uint32_t low, uint32_t& value) {
        const std::string s = text;
        if (s.empty() || s.size() > 10 || s.find_first_not_of("0123456789") != std::string::npos)
            return false;
        const unsigned long long v = std::stoull(s);
        if (v < low || v > 0xffffffffull)
            return false;
        value = static_cast<uint32_t>(v);
        return true;
    };
    if (argc < 4 || !isMatchSide(argv[2]) || !isMatchSide(argv[3])) {
        std::fprintf(stderr, "tuvo: --match needs two levels of easy, normal, hard or random\n%s",
                     usage);
        return false;
    }
    o.sides[0] = argv[2];
    o.sides[1] = argv[3];
    bool counted = false;
    for (int i = 4; i < argc; i += 2) {
        const std::string arg = argv[i];
        uint32_t value = 0;
        if (arg == "--rounds" && i + 1 < argc && number(argv[i + 1], 1, value) && value <= 100000) {
            o.rounds = static_cast<int32_t>(value);
            counted = true;
        } else if (arg == "--seed" && i + 1 < argc && number(argv[i + 1], 0, value)) {
            o.seed = value;
        } else {
            std::fprintf(stderr,
                         "tuvo: --match: %s%s%s is not a count of rounds from 1 to "
                         "100000 or a seed\n%s",
                         arg.c_str(), i + 1 < argc ? " " : "", i + 1 < argc ? argv[i + 1] : "",
                         usage);
            return false;
        }
    }
    if (!counted) {
        std::fprintf(stderr, "tuvo: --match needs --rounds N\n%s", usage);
        return false;
    }
    return true;
}

// "[ADDRESS:]PORT" or "HOST[:PORT]": false for a port that is not a number from 1 to 65535.
bool readAddress(const std::string& text, bool portAlone, std::string& address, uint16_t& port) {
    std::string portText;
    const size_t colon = text.rfind(':');
    if (colon != std::string::npos) {
        address = text.substr(0, colon);
        portText = text.substr(colon + 1);
    } else if (portAlone && !text.empty() &&
               text.find_first_not_of("0123456789") == std::string::npos) {
        portText = text;
    } else {
        address = text;
    }
    if (portText.empty())
        return colon == std::string::npos;
    if (portText.size() > 5 || portText.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const int n = std::stoi(portText);
    if (n < 1 || n > 65535)
        return false;
    port = static_cast<uint16_t>(n);
    return true;
}

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
        } else if (arg == "--host") {
            line.host = true;
            if (i + 1 < argc && std::string(argv[i + 1]).rfind("--", 0) != 0 &&
                !readAddress(argv[++i], true, line.address, line.port)) {
                std::fprintf(stderr, "tuvo: --host %s: not a port from 1 to 65535\n%s", argv[i],
                             usage);
                return false;
            }
        } else if (arg == "--join" && i + 1 < argc && argv[i + 1][0] != '\0') {
            line.join = true;
            if (!readAddress(argv[++i], false, line.address, line.port) || line.address.empty()) {
                std::fprintf(stderr, "tuvo: --join %s: not HOST or HOST:PORT\n%s", argv[i], usage);
                return false;
            }
        } else if (arg == "--keys" && i + 1 < argc && argv[i + 1][0] != '\0') {
            line.keys = argv[++i];
        } else if (arg == "--computer" && i + 1 < argc) {
            if (!readComputer(argv[++i], line.computer)) {
                std::fprintf(stderr, "tuvo: --computer %s: not LEVEL or 1:LEVEL,2:LEVEL\n%s",
                             argv[i], usage);
                return false;
            }
        } else {
            std::fprintf(stderr, "tuvo: %s %s\n%s", arg.c_str(),
                         arg == "--record" || arg == "--replay" || arg == "--keys"
                             ? "needs a file name"
                         : arg == "--computer" ? "needs a level"
                         : arg == "--join"     ? "needs the host's name"
                                               : "is not an option of the game",
                         usage);
            return false;
        }
    }
    if (!line.record.empty() && !line.replay.empty()) {
        std::fprintf(stderr, "tuvo: a replay cannot be recorded again\n%s", usage);
        return false;
    }
    const bool computer = line.computer[0] >= 0 || line.computer[1] >= 0;
    if (computer && (line.host || line.join || !line.replay.empty())) {
        std::fprintf(stderr,
                     "tuvo: --computer plays alone: not over the network, not in a "
                     "replay\n%s",
                     usage);
        return false;
    }
    if (line.host && line.join) {
        std::fprintf(stderr, "tuvo: a machine either hosts or joins\n%s", usage);
        return false;
    }
    const bool network = line.host || line.join;
    if (network && !line.replay.empty()) {
        std::fprintf(stderr, "tuvo: a replay plays alone, not over the network\n%s", usage);
        return false;
    }
    if (line.headless && line.replay.empty() && !(network && !line.keys.empty())) {
        std::fprintf(stderr,
                     "tuvo: --headless plays a replay (--replay FILE) or a network side's key "
                     "script (--host or --join with --keys FILE)\n%s",
                     usage);
        return false;
    }
    if (!line.keys.empty() && !(network && line.headless)) {
        std::fprintf(stderr, "tuvo: --keys drives a headless network side\n%s", usage);
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

// TUVO_NET_STAND_IN="LOSS DELAY" (a share of datagrams lost, and milliseconds of delay) makes a
// headless network side play over a poorer connection than the loopback: for tests.
void readNetworkStandIn(NetHeadlessOptions& o) {
    const char* text = std::getenv("TUVO_NET_STAND_IN");
    if (!text || !*text)
        return;
    double loss = 0;
    unsigned delay = 0;
    if (std::sscanf(text, "%lf %u", &loss, &delay) != 2 || loss < 0 || loss > 0.5 || delay > 1000) {
        std::fprintf(stderr, "tuvo: TUVO_NET_STAND_IN=%s is not 'LOSS DELAY'; ignored\n", text);
        return;
    }
    o.loss = loss;
    o.delayMs = delay;
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
    if (argc > 1 && std::string(argv[1]) == "--match") {
        MatchOptions match;
        if (!readMatch(argc, argv, match))
            return 2;
        return playMatch(match, stdout);
    }
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
    if (!line.keys.empty()) {
        Replay script;
        std::string message;
        if (!readReplayFile(line.keys, script, message)) {
            std::fprintf(stderr, "tuvo: %s\n", message.c_str());
            return 2;
        }
        NetHeadlessOptions o;
        o.host = line.host;
        o.address = line.address;
        o.port = line.port;
        o.recordPath = line.record;
        readNetworkStandIn(o);
        return playNetHeadless(script, o, stdout);
    }
    std::unique_ptr<NetSession> session;
    if (line.host || line.join) {
        std::string error;
        session = line.host ? NetSession::host(line.address, line.port, error)
                            : NetSession::join(line.address, line.port, error);
        if (!session) {
            std::fprintf(stderr, "tuvo: %s\n", error.c_str());
            return 2;
        }
    }

    ProgramOptions options;
    options.fullscreen = line.fullscreen;
    options.settingsPath = settingsPath();
    options.settings = loadSettings(options.settingsPath, platform::isKeyName);
    options.recordPath = line.record;
    options.firstTick = firstTick(!line.record.empty() || !line.replay.empty());
    options.replay = line.replay.empty() ? nullptr : &replay;
    options.session = session.get();
    options.computer[0] = line.computer[0];
    options.computer[1] = line.computer[1];
    // The one game of this run.
    auto game = std::make_unique<Game>(options.replay ? replay.seed : roundSeed());
    glutInit(&argc, argv);
    return runProgram(*game, options);
}
