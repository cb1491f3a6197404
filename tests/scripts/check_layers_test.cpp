// The layer check: a tree that keeps the direction passes; an include against it, or a GL call
// where only state may live, fails and names the file and line.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

struct LayerTree {
    fs::path root = fs::temp_directory_path() / ("tuvo-layers-" + std::to_string(::getpid()));
    LayerTree() {
        for (const char* layer : {"scene", "world", "actors", "rules", "bots", "render", "audio",
                                  "record", "platform", "net", "screens", "app"})
            fs::create_directories(root / layer);
        write("world/MazeWorld.h", "#pragma once\n#include \"scene/RandomGenerator.h\"\n");
        write("render/Views.cpp", "#include \"world/MazeWorld.h\"\n#include <GL/gl.h>\n");
        write("bots/Bot.cpp", "#include \"rules/RoundState.h\"\n");
        write("platform/Platform.cpp", "#include <SDL.h>\n#include <X11/Xlib.h>\n");
        write("net/NetSession.cpp", "#include \"record/Replay.h\"\n#include <enet/enet.h>\n");
        write("screens/Menus.cpp", "#include \"net/NetPlay.h\"\n#include \"bots/Bot.h\"\n");
        write("app/main.cpp", "#include \"render/Views.h\"\n#include \"screens/Menus.h\"\n");
    }
    ~LayerTree() { fs::remove_all(root); }
    void write(const std::string& name, const std::string& text) {
        std::ofstream(root / name) << text;
    }
    // Exit code and what the script wrote.
    std::pair<int, std::string> check() const {
        const std::string command = std::string("sh ") + TUVO_SOURCE_DIR +
                                    "/scripts/check-layers.sh " + root.string() + " 2>&1";
        std::FILE* pipe = ::popen(command.c_str(), "r");
        std::string out;
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe))
            out += buffer;
        const int status = ::pclose(pipe);
        return {WEXITSTATUS(status), out};
    }
};
} // namespace

TEST(LayerCheck, PassesTheDirectionAndCatchesEveryIncludeAgainstIt) {
    LayerTree tree;
    EXPECT_EQ(tree.check().first, 0) << tree.check().second;
    // A game header in angle brackets where it may be seen, and a system header that shares a
    // folder's name, pass.
    fs::create_directories(tree.root / "lobby");
    tree.write("render/Views.h", "#pragma once\n");
    tree.write("app/Show.cpp", "#include <render/Views.h>\n");
    tree.write("lobby/Address.cpp", "#include <net/if.h>\n#include <sys/socket.h>\n");
    EXPECT_EQ(tree.check().first, 0) << tree.check().second;

    tree.write("world/Blasts.cpp",
               "#include \"world/MazeWorld.h\"\n  #include \"actors/Player.h\"\n");
    auto [code, out] = tree.check();
    EXPECT_EQ(code, 1);
    EXPECT_NE(out.find("world/Blasts.cpp:2: world may not include actors"), std::string::npos)
        << out;

    tree.write("world/Blasts.cpp", "#include \"world/MazeWorld.h\"\n");
    tree.write("actors/Player.cpp", "#include <GL/gl.h>\n");
    std::tie(code, out) = tree.check();
    EXPECT_EQ(code, 1);
    EXPECT_NE(out.find("actors/Player.cpp:1: actors may not include GL"), std::string::npos) << out;
}

// What the folder each library is given cannot stop: a climb out with "..", wherever it stands,
// or from "./", a header named by a macro or asked for with __has_include, a file in a
// subfolder or directly in src/, system headers written in their other forms, and a tuning value
// written out again. A game header named in angle brackets counts as the game's.
TEST(LayerCheck, CatchesIncludesAroundTheFoldersAndInSubfolders) {
    const std::pair<const char*, const char*> planted[] = {
        {"world/Blasts.cpp", "#include \"../rules/KeyState.h\"\n"},
        {"world/detail/Fire.cpp", "#include <GL/gl.h>\n"},
        {"rules/Tick.cpp", "#include \"SDL.h\"\n"},
        {"render/Window.cpp", "#include <X11/Xlib.h>\n"},
        {"record/Send.cpp", "#include <enet/enet.h>\n"},
        {"bots/Look.cpp", "#include \"render/Views.h\"\n"},
        {"rules/Drive.cpp", "#include \"bots/Bot.h\"\n"},
        {"platform/Window.cpp", "#include \"net/NetPlay.h\"\n"},
        {"screens/Title.cpp", "#include \"app/Game.h\"\n"},
        {"net/Ask.cpp", "#include \"screens/Menus.h\"\n"},
        {"screens/Draw.cpp", "#include <GL/gl.h>\n"},
        {"rules/Look.cpp", "#include \"rules/../render/ViewLayout.h\"\n"},
        {"rules/Look2.cpp", "#include \"./../render/ViewLayout.h\"\n"},
        {"rules/Look3.cpp", "#include \"./rules/KeyState.h\"\n"},
        {"world/Pick.cpp", "#define PICKED \"render/Views.h\"\n#include PICKED\n"},
        {"actors/Maybe.cpp", "#if __has_include(<GL/gl.h>)\n#endif\n"},
        {"bots/Maybe.cpp", "#if defined(X) && __has_include(\"net/NetPlay.h\")\n#endif\n"},
        {"rules/Egl.cpp", "#include <EGL/egl.h>\n"},
        {"record/Gles.cpp", "#include <GLES2/gl2.h>\n"},
        {"render/Xcb.cpp", "#include <xcb/xcb.h>\n"},
        {"Loose.cpp", "#include \"app/Game.h\"\n"},
        {"world/Odd.cpp", "#include \"helpers/Odd.h\"\n"},
        {"actors/Fast.cpp", "constexpr float fuseMs = 3000;\n"},
        {"rules/Show.cpp", "#include <render/Views.h>\n"},
        {"world/Ask.cpp", "#if __has_include(<bots/Bot.h>)\n#endif\n"},
        {"scene/Lobby.cpp", "#include <lobby/Lobby.h>\n"},
    };
    const char* expected[] = {
        "world/Blasts.cpp:1: an include may not climb out of its folder with ../",
        "world/detail/Fire.cpp:1: world may not include GL",
        "rules/Tick.cpp:1: rules may not include SDL",
        "render/Window.cpp:1: render may not include X11",
        "record/Send.cpp:1: record may not include enet",
        "bots/Look.cpp:1: bots may not include render",
        "rules/Drive.cpp:1: rules may not include bots",
        "platform/Window.cpp:1: platform may not include net",
        "screens/Title.cpp:1: screens may not include app",
        "net/Ask.cpp:1: net may not include screens",
        "screens/Draw.cpp:1: screens may not include GL",
        "rules/Look.cpp:1: an include may not climb out of its folder with ../",
        "rules/Look2.cpp:1: an include may not climb out of its folder with ../",
        "rules/Look3.cpp:1: an include names its folder from src/, not from ./ or /",
        "world/Pick.cpp:2: an include must name its header, not a macro",
        "actors/Maybe.cpp:1: actors may not include GL",
        "bots/Maybe.cpp:1: bots may not include net",
        "rules/Egl.cpp:1: rules may not include GL",
        "record/Gles.cpp:1: record may not include GL",
        "render/Xcb.cpp:1: render may not include X11",
        "Loose.cpp: a source file outside every folder of src/",
        "world/Odd.cpp:1: \"helpers/Odd.h\" names no folder of src/",
        "actors/Fast.cpp:1: a tuning value written out again",
        "rules/Show.cpp:1: rules may not include render",
        "world/Ask.cpp:1: world may not include bots",
        "scene/Lobby.cpp:1: scene may not include lobby",
    };
    for (size_t i = 0; i < std::size(planted); ++i) {
        LayerTree tree;
        fs::create_directories(tree.root / "world/detail");
        fs::create_directories(tree.root / "lobby");
        tree.write("render/Views.h", "#pragma once\n");
        tree.write("bots/Bot.h", "#pragma once\n");
        tree.write("lobby/Lobby.h", "#pragma once\n");
        tree.write(planted[i].first, planted[i].second);
        auto [code, out] = tree.check();
        EXPECT_EQ(code, 1) << planted[i].first;
        EXPECT_NE(out.find(expected[i]), std::string::npos) << out;
    }
}

TEST(LayerCheck, TheGamesOwnSourcesKeepTheDirection) {
    const std::string command =
        std::string("sh ") + TUVO_SOURCE_DIR + "/scripts/check-layers.sh >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
}
