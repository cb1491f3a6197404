#include "render/RoundFeedback.h"
#include "rules/RoundState.h"
#include "world/MazeWorld.h"
#include <algorithm>

float PlayerFeedback::age(float now) const {
    return std::max(0.0f, (now - since) / 1000.0f);
}

namespace {
// What the events did to one player.
struct Counts {
    int32_t caught = 0, hit = 0, coins = 0, cheesePoints = 0, cheeseLost = 0, pointsLost = 0;
};

Counts countFor(int player, std::span<const RoundEvent> events) {
    Counts c;
    for (const RoundEvent& e : events) {
        if (e.player != player)
            continue;
        switch (e.kind) {
        case RoundEvent::sentHome:
            c.caught += e.detail == causeCreature;
            c.hit += e.detail == causeBombOf1 || e.detail == causeBombOf2;
            c.pointsLost += e.points;
            break;
        case RoundEvent::itemTaken:
            c.coins += e.detail == kindCoin;
            break;
        case RoundEvent::cheeseHome:
            c.cheesePoints += e.points;
            break;
        case RoundEvent::cheeseLost:
            ++c.cheeseLost;
            break;
        default:
            break;
        }
    }
    return c;
}
} // namespace

void RoundFeedback::observe(const RoundState& round, std::span<const RoundEvent> events) {
    if (!started || seed != round.seed) {
        *this = RoundFeedback{};
        started = true;
        seed = round.seed;
    }
    for (int n = 1; n <= 2; ++n) {
        const auto [caught, hit, coins, cheesePoints, cheeseLost, pointsLost] = countFor(n, events);
        if (caught + hit + coins + cheesePoints + cheeseLost + pointsLost == 0)
            continue;

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
        } else if (cheesePoints > 0) {
            f.viewWord = std::string("+").append(std::to_string(cheesePoints));
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
