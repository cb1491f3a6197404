#pragma once
#include "render/RenderScale.h"
#include "rules/KeyState.h"
#include <string>
#include <vector>

// The lobby a build uses when settings.ini names none (a build option).
#ifndef TUVO_DEFAULT_LOBBY
#define TUVO_DEFAULT_LOBBY "localhost:7720"
#endif

// What the game keeps between runs: full screen or the window's size, shadows, the render scale,
// the music's and
// the effects' volumes (0 silent to 10 as loud as made), and each player's keys by their SDL
// scancode names ("R", "Up", "Left Shift", ...).
struct Settings {
    bool fullscreen = false;
    int windowWidth = 1024, windowHeight = 735;
    bool shadows = false;
    // The share of the frame's width and height the round's views are drawn at, in percent (one
    // of renderScaleSteps), or renderScaleAuto: smaller while the frames come late.
    int renderScale = renderScaleAuto;
    int musicVolume = 10, effectsVolume = 10;
    std::string keys[2][playerKeyCount] = {
        {"R", "F", "Z", "X", "G", "D", "Left Shift"},
        {"Up", "Down", "/", ".", "Right", "Left", "Right Shift"}};
    // Who plays player 2, as chosen on the title: "human", or a computer player's level.
    std::string opponent = "human";
    // A press toward a lane or door just beside a player slides it into line (each new round).
    bool steeringHelp = true;
    // Online: the lobby that hands out room codes (HOST[:PORT]), and whether to play only
    // through the relay, so that the other player never learns this machine's address.
    std::string lobby = TUVO_DEFAULT_LOBBY;
    bool alwaysRelay = false;
};

// The settings file's lines, and back. A line that cannot be read is left out and described in
// `problems` ("line N: ..."); the rest still counts. `isKeyName` says which key names exist.
Settings parseSettings(const std::string& text, bool (*isKeyName)(const std::string&),
                       std::vector<std::string>& problems);
std::string formatSettings(const Settings& settings);
// The keys as first given, for RESET KEYS.
const Settings& defaultSettings();
constexpr int loudest = 10;

// $XDG_CONFIG_HOME/tuvo/settings.ini, else ~/.config/tuvo/settings.ini; empty when neither
// folder is known.
std::string settingsPath();
// A missing file gives the defaults; every damaged line is reported once on standard error with
// the file's name and the line, never fatal.
Settings loadSettings(const std::string& path, bool (*isKeyName)(const std::string&));
// Written whole through a temporary file beside it, then renamed, so that a crash never leaves
// half a file. Answers false, having said why on standard error, when it cannot be written.
bool saveSettings(const std::string& path, const Settings& settings);
