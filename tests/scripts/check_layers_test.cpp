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
        for (const char* layer : {"scene", "world", "actors", "rules", "render", "audio", "app"})
            fs::create_directories(root / layer);
        write("world/MazeWorld.h", "#pragma once\n#include \"scene/RandomGenerator.h\"\n");
        write("render/Views.cpp", "#include \"world/MazeWorld.h\"\n#include <GL/gl.h>\n");
        write("app/main.cpp", "#include \"render/Views.h\"\n#include <SDL.h>\n");
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

TEST(LayerCheck, TheGamesOwnSourcesKeepTheDirection) {
    const std::string command =
        std::string("sh ") + TUVO_SOURCE_DIR + "/scripts/check-layers.sh >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
}
