#include "render/RoundFeedback.h"
#include "rules/RoundState.h"
#include <algorithm>

float PlayerFeedback::age(float now) const {
    return std::max(0.0f, (now - since) / 1000.0f);
}

void RoundFeedback::observe(const RoundState& round) {
    if (!started || seed != round.seed) {
        *this = RoundFeedback{};
        started = true;
        seed = round.seed;
    }
    for (int n = 1; n <= 2; ++n) {
        const Player& p = round.player(n);
        const RoundTally& t = p.tally;
        Counts& h = highest[n - 1];
        // How far each count went beyond what was shown; the highest is then what was shown.
        auto grown = [](int32_t now, int32_t& shownSoFar) {
            const int32_t more = std::max(0, now - shownSoFar);
            shownSoFar = std::max(shownSoFar, now);
            return more;
        };
        const int32_t caught = grown(t.caught, h.caught);
        const int32_t hit = grown(t.hitByOwn + t.hitByOther, h.hit);
        const int32_t coins = grown(t.coins, h.coins);
        const int32_t cheese = grown(p.cheese, h.cheese);
        const int32_t cheeseLost = grown(t.cheeseLost, h.cheeseLost);
        const int32_t pointsLost = grown(t.pointsLost, h.pointsLost);
        if (caught + hit + coins + cheese + cheeseLost + pointsLost == 0)
            continue;
        caughtSounds += caught;

        PlayerFeedback f;
        f.since = round.gameTime;
        // Appended, not "literal" + string: GCC 12 warns falsely of an overlap on that at -O3.
        std::string lost;
        if (pointsLost > 0)
            lost.append(" -").append(std::to_string(pointsLost));
        if (caught > 0 || hit > 0) {
            f.viewWord = caught > 0 ? "CAUGHT!" : "HIT!";
            f.columnLine = f.viewWord + lost;
            if (cheeseLost > 0)
                f.viewWordBelow = "CHEESE LOST";
            f.flash = PlayerFeedback::Flash::harm;
        } else if (cheese > 0) {
            f.viewWord = std::string("+").append(std::to_string(10 * cheese));
            f.columnLine = f.viewWord;
            f.flash = PlayerFeedback::Flash::gain;
        } else if (coins > 0) {
            f.columnLine = std::string("+").append(std::to_string(coins));
            f.flash = PlayerFeedback::Flash::gain;
        } else if (cheeseLost > 0) {
            f.viewWord = "CHEESE LOST";
            f.columnLine = "CHEESE LOST";
            f.flash = PlayerFeedback::Flash::harm;
        } else {
            f.columnLine = "-" + std::to_string(pointsLost);
            f.flash = PlayerFeedback::Flash::harm;
        }
        feedback[n - 1] = f;
    }
}

int RoundFeedback::takeCaughtSounds() {
    const int count = caughtSounds;
    caughtSounds = 0;
    return count;
}
