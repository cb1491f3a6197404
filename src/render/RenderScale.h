#pragma once
#include <vector>

// The player views and the overview may be drawn at a fraction of the frame's pixels and then
// stretched over it: the texts and menus stay at the frame's own size. The fractions offered, in
// percent of the frame's width and height, largest first.
constexpr int renderScaleSteps[] = {100, 85, 70, 50};
constexpr int renderScaleStepCount = 4;
// What the settings keep for AUTO: the scale follows the frame's cost.
constexpr int renderScaleAuto = 0;

// Whether a setting names a scale the game offers (AUTO or one of the steps).
bool isRenderScale(int percent);

// AUTO: the frames of the last second against the display's refresh. When they come late, one
// step smaller; when even the next larger step would come early with room to spare, one step
// larger; never more than one step a second, so the picture does not flicker between sizes. A
// step up that is taken back at once makes the next try wait longer. Plain arithmetic on the
// times it is given: no clock of its own and no GL.
class AutoRenderScale {
  public:
    // How long one judgement's frames are gathered, and the waits before a step up is tried
    // again after one failed, doubling from the shortest to the longest.
    static constexpr double judgedMs = 1000;
    static constexpr double shortestRetryMs = 4000;
    static constexpr double longestRetryMs = 64000;
    // A step up is taken when the frame's cost grown by the step's share of pixels stays under
    // this share of the refresh: a little room for the frames that vary.
    static constexpr double roomShare = 0.95;
    // Frames apart by more than this much, beyond what the later one cost, were not drawn one
    // after the other (a menu, a minimised window): the judgement starts afresh.
    static constexpr double gapMs = 250;

    // A frame drawn in `costMs` (its drawing and its showing, not the round's ticks or the wait
    // for the refresh), finished at `nowMs` on a steady clock, with the display refreshing every
    // `refreshMs`.
    void frameShown(double nowMs, double costMs, double refreshMs);
    // The scale to draw the next frame at, in percent.
    int percent() const { return renderScaleSteps[step]; }
    // Which of renderScaleSteps that is.
    int stepIndex() const { return step; }

  private:
    void judge(double nowMs, double refreshMs);

    int step = 0;
    std::vector<double> costs;
    double judgingSince = 0;
    double lastShown = 0;
    bool judging = false;
    // A step up not yet judged, and how long the next try waits when it fails.
    bool climbed = false;
    double retryMs = shortestRetryMs;
    double noClimbBefore = 0;
};
