#include "platform/Seed.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

constexpr uint32_t kClock = 1700000000;

struct Choice {
    uint32_t seed;
    std::string warning;
};

Choice choose(const char* text) {
    std::FILE* sink = std::tmpfile();
    Choice c{chooseRoundSeed(text, kClock, sink), {}};
    std::rewind(sink);
    char line[512];
    while (std::fgets(line, sizeof line, sink))
        c.warning += line;
    std::fclose(sink);
    return c;
}

TEST(RoundSeed, WholeNumbersFromZeroToTheLargestWordAreTakenSilently) {
    for (const auto& [text, value] : {std::pair<const char*, uint32_t>{"0", 0u},
                                      {"12345", 12345u},
                                      {"007", 7u},
                                      {"4294967295", 4294967295u}}) {
        const Choice c = choose(text);
        EXPECT_EQ(c.seed, value) << text;
        EXPECT_EQ(c.warning, "") << text;
    }
}

TEST(RoundSeed, UnsetOrEmptyMeansTheClockWithoutAWord) {
    for (const char* text : {static_cast<const char*>(nullptr), ""}) {
        const Choice c = choose(text);
        EXPECT_EQ(c.seed, kClock);
        EXPECT_EQ(c.warning, "");
    }
}

TEST(RoundSeed, AnythingElseIsReportedAndTheClockIsUsed) {
    for (const char* text : {"abc", "12abc", "99999999999999999999", "4294967296", "-1", "+5",
                             " 42", "42 ", "0x10", "1e3", "3.0"}) {
        const Choice c = choose(text);
        EXPECT_EQ(c.seed, kClock) << text;
        EXPECT_NE(c.warning.find(std::string("TUVO_SEED=\"") + text + "\""), std::string::npos)
            << c.warning;
        EXPECT_NE(c.warning.find("1700000000"), std::string::npos) << c.warning;
    }
}

} // namespace
