#include "render/RenderScale.h"
#include <gtest/gtest.h>
#include <functional>
#include <vector>

namespace {
constexpr double refresh = 1000.0 / 60;

// A frame's cost at a scale: the part that fills pixels grows with their number, the rest not.
std::function<double(int)> frameCost(double fillAtFull, double fixed = 0) {
    return [=](int percent) { return fixed + fillAtFull * percent * percent / 10000.0; };
}

struct Change {
    double at;
    int from, to;
};

// The game's loop for `seconds`: each frame costs what `cost` says at the scale AUTO chose for
// it and is shown at the next refresh, or at once when it came late.
struct Session {
    AutoRenderScale scale;
    double now = 0;
    std::vector<Change> changes;

    void run(double seconds, const std::function<double(int)>& cost) {
        const double until = now + seconds * 1000;
        while (now < until) {
            const int before = scale.percent();
            const double took = cost(before);
            now += std::max(took, refresh);
            scale.frameShown(now, took, refresh);
            if (scale.percent() != before)
                changes.push_back({now, before, scale.percent()});
        }
    }
    double shortestGapBetweenChanges() const {
        double shortest = 1e30;
        for (size_t k = 1; k < changes.size(); ++k)
            shortest = std::min(shortest, changes[k].at - changes[k - 1].at);
        return shortest;
    }
};
} // namespace

TEST(RenderScale, TheSettingsOfferAutoAndTheFourSteps) {
    for (int percent : {renderScaleAuto, 100, 85, 70, 50})
        EXPECT_TRUE(isRenderScale(percent)) << percent;
    for (int percent : {-1, 1, 49, 60, 75, 99, 101, 200})
        EXPECT_FALSE(isRenderScale(percent)) << percent;
}

TEST(RenderScale, LateFramesStepDownOneStepASecondUntilTheyComeInTime) {
    // 30 ms at full size, all of it filling pixels: 21.7 ms at 85 %, 14.7 ms at 70 %.
    Session s;
    EXPECT_EQ(s.scale.percent(), 100);
    s.run(0.9, frameCost(30));
    EXPECT_EQ(s.scale.percent(), 100) << "a step before a second of frames was seen";
    s.run(20, frameCost(30));
    EXPECT_EQ(s.scale.percent(), 70);
    ASSERT_EQ(s.changes.size(), 2u);
    EXPECT_EQ(s.changes[0].to, 85);
    EXPECT_EQ(s.changes[1].to, 70);
    EXPECT_GE(s.shortestGapBetweenChanges(), AutoRenderScale::judgedMs);

    // Modelled frames that cost more than the refresh at every scale: AUTO steps down to the
    // smallest scale, one step a second, and stays there.
    Session slow;
    slow.run(30, frameCost(0, 100));
    EXPECT_EQ(slow.scale.percent(), 50);
    EXPECT_EQ(slow.changes.size(), 3u);
    EXPECT_GE(slow.shortestGapBetweenChanges(), AutoRenderScale::judgedMs);
}

TEST(RenderScale, EarlyFramesClimbBackOneStepASecond) {
    Session s;
    s.run(10, frameCost(0, 100));
    ASSERT_EQ(s.scale.percent(), 50);
    s.changes.clear();
    // 8 ms at full size: room to spare at every step.
    s.run(10, frameCost(8));
    EXPECT_EQ(s.scale.percent(), 100);
    ASSERT_EQ(s.changes.size(), 3u);
    EXPECT_EQ(s.changes[0].to, 70);
    EXPECT_EQ(s.changes[2].to, 100);
    EXPECT_GE(s.shortestGapBetweenChanges(), AutoRenderScale::judgedMs);
}

TEST(RenderScale, AScaleJustInTimeIsKeptWithoutFlickering) {
    // 20 ms at full size is late; 14.5 ms at 85 % is in time, and the step up would be late
    // again: the scale settles at 85 % for good.
    Session s;
    s.run(60, frameCost(20));
    EXPECT_EQ(s.scale.percent(), 85);
    EXPECT_EQ(s.changes.size(), 1u);

    // The same between 70 % (15.8 ms) and 85 % (20.5 ms), where 6 ms of the cost are fixed.
    Session mixed;
    mixed.run(60, frameCost(20, 6));
    EXPECT_EQ(mixed.scale.percent(), 70);
    EXPECT_EQ(mixed.changes.size(), 2u);
}

TEST(RenderScale, AStepUpTakenBackMakesTheNextTryWaitLonger) {
    // Full size costs far more than its pixels say (10 ms at 85 % and below, 25 ms at 100 %):
    // each try at 100 % comes late and is taken back.
    auto cost = [](int percent) { return percent == 100 ? 25.0 : 10.0; };
    Session s;
    s.run(90, cost);
    std::vector<double> climbs;
    for (const Change& c : s.changes)
        if (c.to == 100)
            climbs.push_back(c.at);
    ASSERT_GE(climbs.size(), 3u);
    // Without the wait it would climb every other second: 45 times in the 90 s.
    EXPECT_LE(climbs.size(), 6u);
    EXPECT_GE(climbs[1] - climbs[0], AutoRenderScale::shortestRetryMs);
    for (size_t k = 2; k < climbs.size(); ++k)
        EXPECT_GT(climbs[k] - climbs[k - 1], climbs[k - 1] - climbs[k - 2]) << k;
    EXPECT_GE(s.shortestGapBetweenChanges(), AutoRenderScale::judgedMs);
}

TEST(RenderScale, OneSlowFrameMovesNothingAndAPauseStartsTheSecondAfresh) {
    // 8 ms frames with one of 300 ms (a picture made anew) each second, at full size.
    Session s;
    int frame = 0;
    s.run(10, [&](int) { return ++frame % 60 == 0 ? 300.0 : 8.0; });
    EXPECT_EQ(s.scale.percent(), 100);
    EXPECT_TRUE(s.changes.empty());

    // Late frames for 0.6 s, five seconds on the title (no round frames), late again for 0.6 s:
    // no second of frames was seen yet.
    Session t;
    t.run(0.6, frameCost(40));
    t.now += 5000;
    t.run(0.6, frameCost(40));
    EXPECT_EQ(t.scale.percent(), 100);
    t.run(0.5, frameCost(40));
    EXPECT_EQ(t.scale.percent(), 85);
}

TEST(RenderScale, TheFramesOwnCostDecidesNotTheirPace) {
    // Shown every 33 ms (a display refreshing 30 times a second), drawn in 20 ms: in time.
    AutoRenderScale scale;
    for (double now = 0; now < 10000; now += 1000.0 / 30)
        scale.frameShown(now, 20, 1000.0 / 30);
    EXPECT_EQ(scale.percent(), 100);
    // The same frames against a 60 Hz display are late.
    for (double now = 10000; now < 12500; now += 1000.0 / 30)
        scale.frameShown(now, 20, refresh);
    EXPECT_LT(scale.percent(), 100);
}
