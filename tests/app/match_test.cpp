// `tuvo --match`: whole rounds between computer players without a window, and a command line
// it cannot follow refused with the usage.
#include <array>
#include <cstdio>
#include <gtest/gtest.h>
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

// The line of `out` that starts with `start`; empty when none does.
std::string lineStarting(const std::string& out, const std::string& start) {
    size_t from = 0;
    if (out.compare(0, start.size(), start) != 0) {
        const size_t at = out.find("\n" + start);
        if (at == std::string::npos)
            return "";
        from = at + 1;
    }
    return out.substr(from, out.find('\n', from) - from);
}
} // namespace

TEST(Match, PlaysWholeRoundsSwappingSidesAndEndsWithTheTally) {
    const Outcome run = tuvo("--match easy random --rounds 2 --seed 4242");
    ASSERT_EQ(run.code, 0) << run.out;
    int a = -1, b = -1, c = -1;
    EXPECT_EQ(std::sscanf(lineStarting(run.out, "round 1 ").c_str(),
                          "round 1 (seed 4242): easy as player 1 %d, random as player 2 %d", &a,
                          &b),
              2)
        << run.out;
    EXPECT_EQ(std::sscanf(lineStarting(run.out, "round 2 ").c_str(),
                          "round 2 (seed 4243): easy as player 2 %d, random as player 1 %d", &a,
                          &b),
              2)
        << run.out;
    ASSERT_EQ(run.out.back(), '\n');
    const std::string last = run.out.substr(run.out.rfind('\n', run.out.size() - 2) + 1);
    ASSERT_EQ(std::sscanf(last.c_str(), "easy %d wins, random %d wins, %d draws", &a, &b, &c), 3)
        << run.out;
    EXPECT_EQ(a + b + c, 2);
    EXPECT_NE(run.out.find("cheese delivered"), std::string::npos);
}

TEST(Match, MeasuresStandingStillAsAWatcherSeesIt) {
    // Nobody at either side's keys: each stands at home the whole round, a single stretch in
    // a 1.2-cell box as long as the round (six minutes, less the tick the round ends on), all of
    // it in stretches over 5 s, never a step back; and no score ever changes. The scripted
    // rivals are accepted as sides.
    const Outcome run = tuvo("--match idle idle --rounds 1 --seed 77");
    ASSERT_EQ(run.code, 0) << run.out;
    float longest = 0, share = 0, reversals = -1, last = -1;
    int over = 0;
    ASSERT_EQ(std::sscanf(lineStarting(run.out, "idle (side 2) standing still").c_str(),
                          "idle (side 2) standing still: longest inside a 1.2-cell box %f s "
                          "(round 1, from 0:00 at cell 14, 0, -), rounds with one over 15 s %d; "
                          "%f %% of a round in stretches over 5 s; %f reversals a minute",
                          &longest, &over, &share, &reversals),
              4)
        << run.out;
    EXPECT_NEAR(longest, 360, 1.1);
    EXPECT_EQ(over, 1);
    EXPECT_FLOAT_EQ(share, 100);
    EXPECT_FLOAT_EQ(reversals, 0);
    ASSERT_EQ(std::sscanf(lineStarting(run.out, "the last change").c_str(),
                          "the last change of score at %f s", &last),
              1)
        << run.out;
    EXPECT_EQ(last, 0);
    for (const char* rival : {"coins", "picker", "shadow"})
        EXPECT_EQ(tuvo(std::string("--match hard ") + rival + " --rounds 1 --seed 5").code, 0)
            << rival;
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
