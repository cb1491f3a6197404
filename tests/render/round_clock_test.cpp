#include "render/Hud.h"
#include "world/RoundClock.h"
#include <gtest/gtest.h>

TEST(RoundClock, CountsDownSixMinutes) {
    auto text = [](float e) {
        RoundClock c = roundClock(e);
        return clockText(c.minutes, c.seconds);
    };
    EXPECT_EQ(text(0), "TIME: 6:00");
    EXPECT_EQ(text(1), "TIME: 5:59");
    EXPECT_EQ(text(59999), "TIME: 5:00");
    EXPECT_EQ(text(60000), "TIME: 5:00");
    EXPECT_EQ(text(60001), "TIME: 4:59");
    EXPECT_EQ(text(173000), "TIME: 3:07");
    EXPECT_EQ(text(170000), "TIME: 3:10");
    EXPECT_EQ(text(358500), "TIME: 0:01");
    RoundClock end = roundClock(359500);
    EXPECT_EQ(end.minutes, 0);
    EXPECT_EQ(end.seconds, 0);
    RoundClock before = roundClock(359000);
    EXPECT_EQ(before.seconds, 1) << "0:00 shows only once e is above 359000";
    // The round ends when the clock reads 0:00, and also when a time past six minutes would
    // make it read 0:59 again.
    EXPECT_FALSE(roundEnded(359000));
    EXPECT_TRUE(roundEnded(359000.5f));
    EXPECT_EQ(roundClock(361500).seconds, 58);
    EXPECT_TRUE(roundEnded(361500));
}
