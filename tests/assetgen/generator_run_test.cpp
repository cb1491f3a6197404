#include "GeneratedFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string generator() {
    return generated::buildDir() + "/tools/assetgen/assetgen";
}

int run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str());
}

class GeneratorRun : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("tuvo-assets-" + std::to_string(getpid()));
        fs::remove_all(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

// Two runs, and the files the build made, are byte for byte the same.
TEST_F(GeneratorRun, WritesTheSameBytesEveryRun) {
    ASSERT_EQ(run(generator() + " " + (dir_ / "a").string()), 0);
    ASSERT_EQ(run(generator() + " " + (dir_ / "b").string()), 0);
    int files = 0;
    for (const char* folder : {"textures", "sounds"}) {
        for (const auto& entry : fs::directory_iterator(dir_ / "a" / folder)) {
            const std::string name = entry.path().filename().string();
            SCOPED_TRACE(name);
            const auto first = generated::readBytes(entry.path().string());
            EXPECT_FALSE(first.empty());
            EXPECT_EQ(first, generated::readBytes((dir_ / "b" / folder / name).string()));
            EXPECT_EQ(first,
                      generated::readBytes(generated::buildDir() + "/" + folder + "/" + name));
            ++files;
        }
    }
    EXPECT_EQ(files, 63 + 4); // the pictures with the letters, and the sounds
}

TEST_F(GeneratorRun, FailsWithoutAnOutputFolderOrWhenItCannotWrite) {
    EXPECT_NE(run(generator()), 0);
    // A plain file where the output folder should be.
    fs::create_directories(dir_);
    const fs::path blocker = dir_ / "file";
    { std::ofstream(blocker.string()) << "x"; }
    EXPECT_NE(run(generator() + " " + blocker.string()), 0);
}

} // namespace
