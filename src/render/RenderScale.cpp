#include "render/RenderScale.h"
#include <algorithm>

bool isRenderScale(int percent) {
    return percent == renderScaleAuto ||
           std::find(std::begin(renderScaleSteps), std::end(renderScaleSteps), percent) !=
               std::end(renderScaleSteps);
}

void AutoRenderScale::frameShown(double nowMs, double costMs, double refreshMs) {
    costMs = std::max(costMs, 0.0);
    if (judging && nowMs - costMs - lastShown > gapMs)
        judging = false;
    lastShown = nowMs;
    if (!judging) {
        judging = true;
        judgingSince = nowMs - costMs;
        costs.clear();
    }
    costs.push_back(costMs);
    if (nowMs - judgingSince >= judgedMs)
        judge(nowMs, refreshMs > 0 ? refreshMs : 1000.0 / 60);
}

void AutoRenderScale::judge(double nowMs, double refreshMs) {
    // The middle frame: a single slow one (a picture made anew, a season's pictures loaded)
    // moves nothing, half the frames coming late does.
    const auto middle = costs.begin() + static_cast<std::ptrdiff_t>(costs.size() / 2);
    std::nth_element(costs.begin(), middle, costs.end());
    const double typical = *middle;
    judging = false;
    const bool climbFailed = climbed && typical > refreshMs;
    if (climbed) {
        climbed = false;
        if (climbFailed) {
            noClimbBefore = nowMs + retryMs;
            retryMs = std::min(retryMs * 2, longestRetryMs);
        } else {
            retryMs = shortestRetryMs;
        }
    }
    if (typical > refreshMs) {
        step = std::min(step + 1, renderScaleStepCount - 1);
        return;
    }
    if (step == 0 || nowMs < noClimbBefore)
        return;
    // Filling pixels is what grows with the scale; the rest of a frame's cost does not, so
    // growing the whole cost by the pixels' share errs on the side of staying.
    const double grow = static_cast<double>(renderScaleSteps[step - 1]) / renderScaleSteps[step];
    if (typical * grow * grow < refreshMs * roomShare) {
        --step;
        climbed = true;
    }
}
