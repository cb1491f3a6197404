// The settings file: what it keeps, damaged lines reported by number and ignored, and a write
// that leaves either the old file or the whole new one.
#include "platform/Pads.h"
#include "screens/Settings.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <unistd.h>

namespace {
bool knownKey(const std::string& name) {
    static const std::set<std::string> names = {
        "R", "F", "Z",     "X",    "G",           "D", "Left Shift", "Up", "Down",
        "/", ".", "Right", "Left", "Right Shift", "W", "S",          "A",  "Space"};
    return names.count(name) > 0;
}
} // namespace

TEST(Settings, AWrittenFileReadsBackAndDamagedLinesAreLeftOut) {
    Settings s;
    s.fullscreen = true;
    s.windowWidth = 1600;
    s.windowHeight = 900;
    s.keys[0][keyForward] = "W";
    s.keys[1][keyBomb] = "Space";
    s.shadows = true;
    s.musicVolume = 0;
    s.effectsVolume = 7;
    s.opponent = "hard";
    EXPECT_TRUE(s.steeringHelp) << "steering help is on until turned off";
    s.steeringHelp = false;
    s.lobby = "lobby.example.org:7730";
    s.alwaysRelay = true;
    EXPECT_EQ(s.renderScale, renderScaleAuto) << "the render scale follows the frames until set";
    s.renderScale = 70;
    std::vector<std::string> problems;
    const Settings back = parseSettings(formatSettings(s), knownKey, problems);
    EXPECT_TRUE(problems.empty()) << problems.front();
    EXPECT_TRUE(back.fullscreen);
    EXPECT_EQ(back.windowWidth, 1600);
    EXPECT_EQ(back.windowHeight, 900);
    EXPECT_EQ(back.keys[0][keyForward], "W");
    EXPECT_EQ(back.keys[1][keyBomb], "Space");
    EXPECT_EQ(back.keys[0][keyBack], "F") << "keys not named keep their defaults";
    EXPECT_TRUE(back.shadows);
    EXPECT_EQ(back.musicVolume, 0) << "silence is a volume, not a missing one";
    EXPECT_EQ(back.effectsVolume, 7);
    EXPECT_EQ(back.opponent, "hard");
    EXPECT_FALSE(back.steeringHelp);
    EXPECT_EQ(back.lobby, "lobby.example.org:7730");
    EXPECT_TRUE(back.alwaysRelay);
    EXPECT_EQ(back.renderScale, 70);
    for (int percent : {renderScaleAuto, 100, 85, 50}) {
        s.renderScale = percent;
        EXPECT_EQ(parseSettings(formatSettings(s), knownKey, problems).renderScale, percent);
    }
    EXPECT_TRUE(problems.empty());
    // The build's own lobby is not written down: a later build's reaches the player.
    EXPECT_EQ(formatSettings(Settings{}).find("lobby ="), std::string::npos);

    const std::string damaged = "[window]\n"
                                "width = 1280\n"
                                "height = -3\n"        // 3: not a size
                                "fullscreen = maybe\n" // 4
                                "colour = blue\n"      // 5
                                "[player1]\n"
                                "forward = W\n"
                                "jump = Space\n"                 // 8: no such key of a player
                                "back = Hyperdrive\n"            // 9: no such key
                                "this line has no equals sign\n" // 10
                                "[sound]\n"
                                "music = 11\n" // 12: louder than 10
                                "effects = 3\n"
                                "music = -1\n" // 14
                                "volume = 5\n" // 15
                                "[player2\n"   // 16
                                "bomb = Space\n"
                                "[keys]\n" // 18
                                "bomb = B\n"
                                "[opponent]\n"
                                "player2 = genius\n" // 21
                                "[play]\n"
                                "steering_help = sometimes\n" // 23
                                "[online]\n"
                                "always_relay = sometimes\n" // 25
                                "lobby = two words\n"        // 26
                                "[window]\n"
                                "render_scale = 75\n" // 28: not a step offered
                                "render_scale = 0\n"; // 29: AUTO is written out
    problems.clear();
    const Settings read = parseSettings(damaged, knownKey, problems);
    ASSERT_EQ(problems.size(), 17u);
    const int lines[] = {3, 4, 5, 8, 9, 10, 12, 14, 15, 16, 18, 21, 23, 25, 26, 28, 29};
    for (size_t i = 0; i < problems.size(); ++i)
        EXPECT_EQ(problems[i].rfind("line " + std::to_string(lines[i]) + ":", 0), 0u)
            << problems[i];
    EXPECT_EQ(read.windowWidth, 1280);
    EXPECT_EQ(read.windowHeight, 735);
    EXPECT_FALSE(read.fullscreen);
    EXPECT_EQ(read.musicVolume, 10);
    EXPECT_EQ(read.effectsVolume, 3);
    EXPECT_EQ(read.keys[0][keyForward], "W");
    EXPECT_EQ(read.keys[0][keyBack], "F");
    EXPECT_EQ(read.keys[1][keyBomb], "Right Shift") << "a line of a broken section is not taken";
    EXPECT_EQ(read.opponent, "human");
    EXPECT_TRUE(read.steeringHelp);
    EXPECT_FALSE(read.alwaysRelay);
    EXPECT_EQ(read.lobby, Settings{}.lobby);
    EXPECT_EQ(read.renderScale, renderScaleAuto);
}

TEST(Settings, MissingFilesGiveTheDefaultsAndWritesAreWhole) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tuvo-settings-" + std::to_string(::getpid()));
    const std::string path = (folder / "tuvo" / "settings.ini").string();
    const Settings none = loadSettings(path, knownKey);
    EXPECT_FALSE(none.fullscreen);
    EXPECT_EQ(none.windowWidth, 1024);

    Settings s;
    s.windowWidth = 800;
    ASSERT_TRUE(saveSettings(path, s)) << "the folder is made";
    EXPECT_FALSE(std::filesystem::exists(path + ".part"));
    EXPECT_EQ(loadSettings(path, knownKey).windowWidth, 800);

    // Where it cannot be written, the old file stays as it was.
    std::filesystem::create_directories(path + ".part");
    s.windowWidth = 640;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(saveSettings(path, s));
    EXPECT_NE(testing::internal::GetCapturedStderr().find(path), std::string::npos);
    EXPECT_EQ(loadSettings(path, knownKey).windowWidth, 800);
    std::filesystem::remove_all(folder);

    const char* home = std::getenv("HOME");
    const std::string homeWas = home ? home : "";
    setenv("XDG_CONFIG_HOME", "/somewhere", 1);
    EXPECT_EQ(settingsPath(), "/somewhere/tuvo/settings.ini");
    setenv("XDG_CONFIG_HOME", "", 1);
    setenv("HOME", "/home/player", 1);
    EXPECT_EQ(settingsPath(), "/home/player/.config/tuvo/settings.ini");
    setenv("HOME", homeWas.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
}

TEST(Pads, TheStickWalksOnceOutOfItsDeadZoneAlongItsStrongerAxis) {
    auto held = [](int16_t x, int16_t y) {
        PadState pad;
        pad.stickX = x;
        pad.stickY = y;
        bool keys[playerKeyCount] = {};
        addPadKeys(pad, keys);
        return std::vector<bool>(keys, keys + playerKeyCount);
    };
    const std::vector<bool> none(playerKeyCount, false);
    EXPECT_EQ(held(0, 0), none);
    EXPECT_EQ(held(stickDeadZone, -stickDeadZone), none) << "a lean inside the dead zone";
    EXPECT_TRUE(held(0, -20000)[keyForward]) << "the stick's y grows downward";
    EXPECT_TRUE(held(0, 20000)[keyBack]);
    EXPECT_TRUE(held(-32768, 0)[keyLeft]);
    std::vector<bool> diagonal = held(20000, -12000);
    EXPECT_TRUE(diagonal[keyRight]);
    EXPECT_FALSE(diagonal[keyForward]) << "one direction at a time";

    PadState buttons;
    buttons.dpadUp = buttons.a = buttons.x = buttons.y = true;
    bool keys[playerKeyCount] = {};
    keys[keyLeft] = true; // held on the keyboard at the same time
    addPadKeys(buttons, keys);
    EXPECT_TRUE(keys[keyForward] && keys[keyBomb] && keys[keyWall] && keys[keyTrap]);
    EXPECT_TRUE(keys[keyLeft]) << "the keyboard's keys stay";
}
