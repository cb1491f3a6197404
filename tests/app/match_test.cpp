// `tuvo --match`: whole rounds between computer players without a window, and a command line
// it cannot follow refused with the usage.
#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <sys/wait.h>

namespace {
struct Outcome {
    int code;
    std::string out;
};

Outcome tuvo(const std::string& args) {
    const std::string command = std::string(TUVO_BUILD_DIR) + "/tuvo " + args + " 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    Outcome run{-1, ""};
    std::array<char, 512> buffer;
    while (pipe && std::fgets(buffer.data(), buffer.size(), pipe))
        run.out += buffer.data();
    const int status = pipe ? pclose(pipe) : -1;
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}
} // namespace

TEST(Match, PlaysWholeRoundsSwappingSidesAndEndsWithTheTally) {
    const Outcome run = tuvo("--match easy random --rounds 2 --seed 4242");
    ASSERT_EQ(run.code, 0) << run.out;
    EXPECT_TRUE(std::regex_search(run.out, std::regex("round 1 \\(seed 4242\\): easy as player 1 "
                                                      "\\d+, random as player 2 \\d+")))
        << run.out;
    EXPECT_TRUE(std::regex_search(run.out, std::regex("round 2 \\(seed 4243\\): easy as player 2 "
                                                      "\\d+, random as player 1 \\d+")))
        << run.out;
    std::smatch last;
    ASSERT_TRUE(std::regex_search(
        run.out, last, std::regex("easy (\\d+) wins, random (\\d+) wins, (\\d+) draws\n$")))
        << run.out;
    EXPECT_EQ(std::stoi(last[1]) + std::stoi(last[2]) + std::stoi(last[3]), 2);
    EXPECT_NE(run.out.find("cheese delivered"), std::string::npos);
}

TEST(Match, ABadLevelOrCountIsRefusedWithTheUsage) {
    for (const char* args :
         {"--match hard expert --rounds 2", "--match hard normal --rounds 0",
          "--match hard normal --rounds many", "--match hard normal", "--match hard",
          "--computer 3:hard", "--computer genius", "--computer hard --host"}) {
        const Outcome run = tuvo(args);
        EXPECT_EQ(run.code, 2) << args;
        EXPECT_NE(run.out.find("usage: tuvo"), std::string::npos) << args << ": " << run.out;
    }
}
