#include "screens/Settings.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {
// The names of the keys in the file, in the order of PlayerKey.
constexpr const char* keyNames[playerKeyCount] = {"forward", "back", "trap", "wall",
                                                  "right",   "left", "bomb"};

std::string trimmed(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// A whole number from 1 to the limit, and nothing else.
bool readSize(const std::string& value, int limit, int& out) {
    if (value.empty() || value.size() > 6 ||
        value.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const int n = std::atoi(value.c_str());
    if (n < 1 || n > limit)
        return false;
    out = n;
    return true;
}

// A volume: a whole number from 0 to 10, and nothing else.
bool readLevel(const std::string& value, int& out) {
    if (value.empty() || value.size() > 2 ||
        value.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const int n = std::atoi(value.c_str());
    if (n > loudest)
        return false;
    out = n;
    return true;
}

constexpr int largestSide = 16384;

// A render scale: "auto" or one of the steps in percent, and nothing else.
bool readRenderScale(const std::string& value, int& out) {
    if (value == "auto") {
        out = renderScaleAuto;
        return true;
    }
    for (int percent : renderScaleSteps)
        if (value == std::to_string(percent)) {
            out = percent;
            return true;
        }
    return false;
}

// A lobby's name and port: printable, without spaces, as a host name or address can be.
bool isLobbyName(const std::string& value) {
    if (value.empty() || value.size() > 255)
        return false;
    for (char c : value)
        if (c <= ' ' || c > '~')
            return false;
    return true;
}
} // namespace

Settings parseSettings(const std::string& text, bool (*isKeyName)(const std::string&),
                       std::vector<std::string>& problems) {
    Settings s;
    std::istringstream lines(text);
    std::string line, section;
    for (int number = 1; std::getline(lines, line); ++number) {
        const std::string where = "line " + std::to_string(number) + ": ";
        line = trimmed(line);
        if (line.empty() || line[0] == '#' || line[0] == ';')
            continue;
        if (line.front() == '[') {
            if (line.back() != ']') {
                problems.push_back(where + "a section name without its closing ']'");
                section.assign(1, '?');
                continue;
            }
            section = trimmed(line.substr(1, line.size() - 2));
            if (section != "window" && section != "sound" && section != "player1" &&
                section != "player2" && section != "opponent" && section != "play" &&
                section != "online") {
                problems.push_back(where + "no section [" + section + "] in the game's settings");
                section.assign(1, '?');
            }
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string::npos) {
            problems.push_back(where + "not a 'name = value' line");
            continue;
        }
        const std::string name = trimmed(line.substr(0, equals));
        const std::string value = trimmed(line.substr(equals + 1));
        if (section == "?")
            continue; // its section was already reported
        if (section == "window") {
            bool ok = true;
            if (name == "fullscreen" && (value == "yes" || value == "no"))
                s.fullscreen = value == "yes";
            else if (name == "shadows" && (value == "yes" || value == "no"))
                s.shadows = value == "yes";
            else if (name == "render_scale")
                ok = readRenderScale(value, s.renderScale);
            else if (name == "width")
                ok = readSize(value, largestSide, s.windowWidth);
            else if (name == "height")
                ok = readSize(value, largestSide, s.windowHeight);
            else
                ok = false;
            if (!ok)
                problems.push_back(where + "'" + line + "' is not a window setting (fullscreen = " +
                                   "yes or no, shadows = yes or no, render_scale = auto, " +
                                   "100, 85, 70 or 50, width and height from 1 to 16384)");
            continue;
        }
        if (section == "sound") {
            const bool ok = (name == "music" || name == "effects") &&
                            readLevel(value, name == "music" ? s.musicVolume : s.effectsVolume);
            if (!ok)
                problems.push_back(where + "'" + line +
                                   "' is not a sound setting (music or effects = 0 to 10)");
            continue;
        }
        if (section == "play") {
            if (name == "steering_help" && (value == "yes" || value == "no"))
                s.steeringHelp = value == "yes";
            else
                problems.push_back(where + "'" + line + "' is not steering_help = yes or no");
            continue;
        }
        if (section == "opponent") {
            if (name == "player2" &&
                (value == "human" || value == "easy" || value == "normal" || value == "hard"))
                s.opponent = value;
            else
                problems.push_back(where + "'" + line +
                                   "' is not player2 = human, easy, normal or hard");
            continue;
        }
        if (section == "online") {
            if (name == "lobby" && isLobbyName(value))
                s.lobby = value;
            else if (name == "always_relay" && (value == "yes" || value == "no"))
                s.alwaysRelay = value == "yes";
            else
                problems.push_back(where + "'" + line +
                                   "' is not an online setting (lobby = HOST:PORT, "
                                   "always_relay = yes or no)");
            continue;
        }
        if (section == "player1" || section == "player2") {
            const int player = section == "player1" ? 0 : 1;
            int key = -1;
            for (int k = 0; k < playerKeyCount; ++k)
                if (name == keyNames[k])
                    key = k;
            if (key < 0)
                problems.push_back(where + "a player has no key '" + name + "'");
            else if (!isKeyName(value))
                problems.push_back(where + "'" + value + "' is not the name of a key");
            else
                s.keys[player][key] = value;
            continue;
        }
        problems.push_back(
            where +
            "a setting outside [window], [sound], [player1], [player2], [opponent], [play] and "
            "[online]");
    }
    return s;
}

std::string formatSettings(const Settings& s) {
    std::string out = "# TUVO!! settings, written by the game.\n[window]\n";
    out += std::string("fullscreen = ") + (s.fullscreen ? "yes" : "no") + "\n";
    out += "width = " + std::to_string(s.windowWidth) + "\n";
    out += "height = " + std::to_string(s.windowHeight) + "\n";
    out += std::string("shadows = ") + (s.shadows ? "yes" : "no") + "\n";
    out +=
        "render_scale = " +
        (s.renderScale == renderScaleAuto ? std::string("auto") : std::to_string(s.renderScale)) +
        "\n";
    out += "\n[sound]\nmusic = " + std::to_string(s.musicVolume) + "\n";
    out += "effects = " + std::to_string(s.effectsVolume) + "\n";
    for (int p = 0; p < 2; ++p) {
        out += "\n[player" + std::to_string(p + 1) + "]\n";
        for (int k = 0; k < playerKeyCount; ++k)
            out += std::string(keyNames[k]) + " = " + s.keys[p][k] + "\n";
    }
    out += "\n[opponent]\nplayer2 = " + s.opponent + "\n";
    out += std::string("\n[play]\nsteering_help = ") + (s.steeringHelp ? "yes" : "no") + "\n";
    out += std::string("\n[online]\nalways_relay = ") + (s.alwaysRelay ? "yes" : "no") + "\n";
    // The build's lobby is not written down, so that a newer build's reaches this player too.
    if (s.lobby != defaultSettings().lobby)
        out += "lobby = " + s.lobby + "\n";
    return out;
}

const Settings& defaultSettings() {
    static const Settings defaults;
    return defaults;
}

std::string settingsPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config == '/')
        return std::string(config) + "/tuvo/settings.ini";
    const char* home = std::getenv("HOME");
    if (home && *home)
        return std::string(home) + "/.config/tuvo/settings.ini";
    return "";
}

Settings loadSettings(const std::string& path, bool (*isKeyName)(const std::string&)) {
    std::ifstream in(path, std::ios::binary);
    if (path.empty() || !in)
        return Settings{};
    std::ostringstream text;
    // A settings file is a few hundred bytes; a larger one is not ours to read whole.
    constexpr std::streamsize largest = 64 * 1024;
    std::string bytes(largest + 1, '\0');
    in.read(bytes.data(), largest + 1);
    bytes.resize(static_cast<size_t>(in.gcount()));
    if (bytes.size() > static_cast<size_t>(largest)) {
        std::fprintf(stderr, "tuvo: %s: larger than any settings file; the defaults are used\n",
                     path.c_str());
        return Settings{};
    }
    std::vector<std::string> problems;
    Settings s = parseSettings(bytes, isKeyName, problems);
    for (const std::string& p : problems)
        std::fprintf(stderr, "tuvo: %s: %s; the line is ignored\n", path.c_str(), p.c_str());
    return s;
}

bool saveSettings(const std::string& path, const Settings& settings) {
    if (path.empty())
        return false;
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    const std::string temporary = path + ".part";
    const std::string text = formatSettings(settings);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (out)
            out.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (!out || !out.flush()) {
            std::fprintf(stderr, "tuvo: %s: cannot be written (%s)\n", path.c_str(),
                         std::strerror(errno));
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::fprintf(stderr, "tuvo: %s: cannot be written (%s)\n", path.c_str(),
                     std::strerror(errno));
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
