#include "app/Game.h"
#include "record/Headless.h"
#include "app/MainLoop.h"
#include "app/Match.h"
#include "bots/BotLevel.h"
#include "net/NetHeadless.h"
#include "net/NetSession.h"
#include "lobby/RoomCode.h"
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

constexpr uint16_t defaultPort = 7710;
constexpr uint16_t defaultLobbyPort = 7720;

struct CommandLine {
    std::string record, replay;
    bool headless = false;
    bool fullscreen = false;
    bool host = false, join = false;
    std::string address; // to join, or to open on the host (empty: all)
    uint16_t port = defaultPort;
    std::string keys; // a headless network side's key script
    // Online through the lobby: host a room, or join one by its code.
    bool hostOnline = false;
    std::string joinCode;
    std::string lobby; // --lobby HOST[:PORT]; empty: the settings' lobby
    bool help = false, version = false;
    // --computer: per player, -1 a person, else the computer player's BotLevel; -2 as the
    // title's opponent line was left.
    int32_t computer[2] = {-2, -2};
};

void printUsage(std::FILE* to, bool withExplanations);

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
        std::fprintf(stderr, "tuvo: --match needs two of easy, normal, hard, random, idle, coins, "
                             "picker or shadow\n");
        printUsage(stderr, false);
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
                         "100000 or a seed\n",
                         arg.c_str(), i + 1 < argc ? " " : "", i + 1 < argc ? argv[i + 1] : "");
            printUsage(stderr, false);
            return false;
        }
    }
    if (!counted) {
        std::fprintf(stderr, "tuvo: --match needs --rounds N\n");
        printUsage(stderr, false);
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

// Every option of the game, with its argument and its line in `tuvo --help`: another option
// is another line here. `read` takes the argument (null for an option without one) and answers
// false, having said why, when it cannot be followed.
struct Option {
    const char* name;
    const char* argument;  // null: the option takes none
    bool argumentOptional; // (then written in brackets)
    const char* explanation;
    bool (*read)(CommandLine& line, const char* argument);
};

const Option options[] = {
    {"--fullscreen", nullptr, false, "play on the whole screen (this run only)",
     [](CommandLine& l, const char*) { return l.fullscreen = true; }},
    {"--record", "FILE", false, "write the round's seed and keys to FILE",
     [](CommandLine& l, const char* a) { return !(l.record = a).empty(); }},
    {"--replay", "FILE", false, "play the round recorded in FILE again",
     [](CommandLine& l, const char* a) { return !(l.replay = a).empty(); }},
    {"--headless", nullptr, false, "no window: a replay's result, or a network side's key script",
     [](CommandLine& l, const char*) { return l.headless = true; }},
    {"--host", "[ADDRESS:][PORT]", true, "wait for player 2 over the network (port 7710)",
     [](CommandLine& l, const char* a) {
         l.host = true;
         if (a && !readAddress(a, true, l.address, l.port)) {
             std::fprintf(stderr, "tuvo: --host %s: not a port from 1 to 65535\n", a);
             return false;
         }
         return true;
     }},
    {"--join", "HOST[:PORT]", false, "play as player 2 with the game hosted on HOST",
     [](CommandLine& l, const char* a) {
         l.join = true;
         if (!readAddress(a, false, l.address, l.port) || l.address.empty()) {
             std::fprintf(stderr, "tuvo: --join %s: not HOST or HOST:PORT\n", a);
             return false;
         }
         return true;
     }},
    {"--host-online", nullptr, false, "host over the internet: the lobby gives a code for player 2",
     [](CommandLine& l, const char*) { return l.hostOnline = true; }},
    {"--join-code", "CODE", false, "play as player 2 in the game whose code player 1 was given",
     [](CommandLine& l, const char* a) {
         l.joinCode = normalRoomCode(a);
         if (l.joinCode.empty()) {
             std::fprintf(stderr, "tuvo: --join-code %s: not a code of %d letters and digits\n", a,
                          roomCodeLength);
             return false;
         }
         return true;
     }},
    {"--lobby", "HOST[:PORT]", false, "the lobby for playing online, this run (port 7720)",
     [](CommandLine& l, const char* a) {
         std::string host;
         uint16_t port = 0;
         if (!readAddress(a, false, host, port) || host.empty()) {
             std::fprintf(stderr, "tuvo: --lobby %s: not HOST or HOST:PORT\n", a);
             return false;
         }
         l.lobby = a;
         return true;
     }},
    {"--keys", "FILE", false, "the keys of a headless network side, from a recording",
     [](CommandLine& l, const char* a) { return !(l.keys = a).empty(); }},
    {"--computer", "LEVEL", false,
     "player 2 is a computer (easy, normal, hard); 1:LEVEL,2:LEVEL for either or both",
     [](CommandLine& l, const char* a) {
         if (readComputer(a, l.computer))
             return true;
         std::fprintf(stderr, "tuvo: --computer %s: not LEVEL or 1:LEVEL,2:LEVEL\n", a);
         return false;
     }},
    {"--help", nullptr, false, "show this help and end",
     [](CommandLine& l, const char*) { return l.help = true; }},
    {"--version", nullptr, false, "show the game's version and end",
     [](CommandLine& l, const char*) { return l.version = true; }},
};

void printUsage(std::FILE* to, bool withExplanations) {
    std::string line = "usage: tuvo";
    std::string all;
    for (const Option& o : options) {
        std::string item = std::string(" [") + o.name;
        if (o.argument)
            item += std::string(" ") + o.argument;
        item += "]";
        if (line.size() + item.size() > 78) {
            all += line + "\n";
            line = "           ";
        }
        line += item;
    }
    all += line + "\n";
    std::fputs(all.c_str(), to);
    if (!withExplanations)
        return;
    std::fputs("\noptions:\n", to);
    for (const Option& o : options) {
        std::string head = std::string("  ") + o.name;
        if (o.argument)
            head += std::string(" ") + o.argument;
        std::fprintf(to, "%-28s %s\n", head.c_str(), o.explanation);
    }
    std::fputs("\n  tuvo --match LEVEL1 LEVEL2 --rounds N [--seed S]\n"
               "                               play N rounds of two computer players without a "
               "window\n",
               to);
    std::fputs("\nenvironment: TUVO_SEED=N fixes the round's seed; TUVO_START_AT=SECONDS starts "
               "the\nfirst round that far in. Settings are kept in "
               "$XDG_CONFIG_HOME/tuvo/settings.ini.\n",
               to);
}

// Answers false, having said why, for a command line the game cannot follow.
bool readCommandLine(int argc, char** argv, CommandLine& line) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const Option* option = nullptr;
        for (const Option& o : options)
            if (arg == o.name)
                option = &o;
        if (!option) {
            std::fprintf(stderr, "tuvo: %s is not an option of the game\n", arg.c_str());
            printUsage(stderr, false);
            return false;
        }
        const char* argument = nullptr;
        if (option->argument) {
            const bool given = i + 1 < argc && argv[i + 1][0] != '\0' &&
                               std::string(argv[i + 1]).rfind("--", 0) != 0;
            if (given)
                argument = argv[++i];
            else if (!option->argumentOptional) {
                std::fprintf(stderr, "tuvo: %s needs %s\n", option->name, option->argument);
                printUsage(stderr, false);
                return false;
            }
        }
        if (!option->read(line, argument)) {
            printUsage(stderr, false);
            return false;
        }
    }
    if (line.help || line.version)
        return true;
    if (!line.record.empty() && !line.replay.empty()) {
        std::fprintf(stderr, "tuvo: a replay cannot be recorded again\n");
        printUsage(stderr, false);
        return false;
    }
    const bool computer = line.computer[0] >= 0 || line.computer[1] >= 0;
    const bool online = line.hostOnline || !line.joinCode.empty();
    if (computer && (line.host || line.join || online || !line.replay.empty())) {
        std::fprintf(stderr,
                     "tuvo: --computer plays alone: not over the network, not in a replay\n");
        printUsage(stderr, false);
        return false;
    }
    if (line.host + line.join + line.hostOnline + !line.joinCode.empty() > 1) {
        std::fprintf(stderr, "tuvo: a machine either hosts or joins, once\n");
        printUsage(stderr, false);
        return false;
    }
    if (!line.lobby.empty() && (line.host || line.join || !line.replay.empty())) {
        std::fprintf(stderr,
                     "tuvo: --lobby is for playing online, not --host, --join or a replay\n");
        printUsage(stderr, false);
        return false;
    }
    const bool network = line.host || line.join || online;
    if (network && !line.replay.empty()) {
        std::fprintf(stderr, "tuvo: a replay plays alone, not over the network\n");
        printUsage(stderr, false);
        return false;
    }
    if (line.headless && line.replay.empty() && !(network && !line.keys.empty())) {
        std::fprintf(stderr,
                     "tuvo: --headless plays a replay (--replay FILE) or a network side's key "
                     "script (--host, --join, --host-online or --join-code with --keys FILE)\n");
        printUsage(stderr, false);
        return false;
    }
    if (!line.keys.empty() && !(network && line.headless)) {
        std::fprintf(stderr, "tuvo: --keys drives a headless network side\n");
        printUsage(stderr, false);
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
    if (argc > 1 && std::string(argv[1]) == "--match") {
        MatchOptions match;
        if (!readMatch(argc, argv, match))
            return 2;
        return playMatch(match, stdout);
    }
    CommandLine line;
    if (!readCommandLine(argc, argv, line))
        return 2;
    if (line.help) {
        printUsage(stdout, true);
        return 0;
    }
    if (line.version) {
        std::printf("%s\n", gameVersion);
        return 0;
    }
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
    const bool online = line.hostOnline || !line.joinCode.empty();
    if (!line.keys.empty()) {
        Replay script;
        std::string message;
        if (!readReplayFile(line.keys, script, message)) {
            std::fprintf(stderr, "tuvo: %s\n", message.c_str());
            return 2;
        }
        NetHeadlessOptions o;
        o.host = line.host || line.hostOnline;
        o.address = line.address;
        o.port = line.port;
        o.recordPath = line.record;
        if (online) {
            const Settings settings = loadSettings(settingsPath(), platform::isKeyName);
            o.online = true;
            o.code = line.joinCode;
            o.alwaysRelay = settings.alwaysRelay;
            o.port = defaultLobbyPort;
            if (!readAddress(line.lobby.empty() ? settings.lobby : line.lobby, false, o.address,
                             o.port)) {
                std::fprintf(stderr, "tuvo: the lobby %s is not HOST or HOST:PORT\n",
                             settings.lobby.c_str());
                return 2;
            }
        }
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
    options.hostOnline = line.hostOnline;
    options.joinCode = line.joinCode;
    options.lobby = line.lobby;
    // The one game of this run.
    auto game = std::make_unique<Game>(options.replay ? replay.seed : roundSeed());
    glutInit(&argc, argv);
    return runProgram(*game, options);
}
