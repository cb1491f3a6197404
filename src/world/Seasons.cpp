#include "world/Seasons.h"

namespace {
// Blend step inside a window that ends at `end`: four steps at fractions 0.2, 0.4, 0.6 and 0.8
// of the window's 0.1 phase width, the first of them numbered `first`.
int32_t blendStep(float phase, float end, int32_t first, int32_t current) {
    const float fraction = 1.0f - (end - phase) / 0.1f;
    if (fraction >= 0.8f)
        return first + 3;
    if (fraction >= 0.6f)
        return first + 2;
    if (fraction >= 0.4f)
        return first + 1;
    if (fraction >= 0.2f)
        return first;
    return current;
}
} // namespace

int32_t selectSeasonStep(float phase, int32_t current) {
    if (phase >= 0.2f && phase <= 0.3f)
        return blendStep(phase, 0.3f, 1, current);
    if (phase >= 0.45f && phase <= 0.55f)
        return blendStep(phase, 0.55f, 6, current);
    if (phase >= 0.7f && phase <= 0.8f)
        return blendStep(phase, 0.8f, 11, current);
    if (phase > 0.78f)
        return 0;
    if (phase > 0.53f)
        return 10;
    if (phase > 0.28f)
        return 5;
    // Early phases (and the shadow pass's 0.01) keep whatever step is showing.
    return current;
}

bool seasonStepChangesBy(float phase, float ahead, int32_t current) {
    // The steps only ever move on through the round, so the step at the far end tells.
    return selectSeasonStep(phase + ahead, current) != current;
}

bool inViewWedge(int32_t px, int32_t py, float dirX, float dirY, int32_t i, int32_t j) {
    if (dirY > 0 && !(j > py - 2 && px - i < j - py + 4 && i - px < j - py + 4))
        return false;
    if (dirY < 0 && !(j < py + 2 && px - i < py - j + 4 && i - px < py - j + 4))
        return false;
    if (dirX > 0 && !(i > px - 2 && py - j < i - px + 4 && j - py < i - px + 4))
        return false;
    if (dirX < 0 && !(i < px + 2 && py - j < px - i + 4 && j - py < px - i + 4))
        return false;
    return true;
}
