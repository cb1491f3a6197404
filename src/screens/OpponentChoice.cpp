#include "screens/OpponentChoice.h"
#include "rules/RoundState.h"
#include <cctype>

namespace {
std::string upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}
} // namespace

void OpponentChoice::choose(const std::string& player2) {
    BotLevel level;
    side[1] = readBotLevel(player2, level) ? static_cast<int32_t>(level) : -1;
    describe();
}

std::string OpponentChoice::kept() const {
    return side[1] < 0 ? "human" : botLevelName(static_cast<BotLevel>(side[1]));
}

void OpponentChoice::step() {
    side[1] = side[1] >= static_cast<int32_t>(BotLevel::hard) ? -1 : side[1] + 1;
    chosenOnTitle = true;
    describe();
}

void OpponentChoice::pointer(bool pressedOnLine) {
    if (pressedOnLine && !held)
        step();
    held = pressedOnLine;
}

void OpponentChoice::describe() {
    for (int n = 0; n < 2; ++n)
        hud[n] =
            side[n] < 0 ? "" : "COMPUTER " + upper(botLevelName(static_cast<BotLevel>(side[n])));
    // What the level is like, in a word or two.
    static const char* const manner[] = {", BEGINNER", ", STEADY", ", SHREWD"};
    const std::string second = side[1] < 0 ? std::string("HUMAN") : hud[1];
    // Player 1 is a computer only when the command line says so: then both are named.
    line = side[0] >= 0 ? "PLAYER 1: " + hud[0] + ", PLAYER 2: " + second
                        : "PLAYER 2: " + (side[1] < 0 ? second : hud[1] + manner[side[1]]);
}

const char* OpponentChoice::hudLine(int n) const {
    return side[n - 1] < 0 ? nullptr : hud[n - 1].c_str();
}

void OpponentChoice::press(const RoundState& round, KeyState& keys) {
    // A new round (or a round started again) gets computer players of its own.
    if (round.seed != seed || round.ticks < lastTick)
        for (auto& bot : bots)
            bot.reset();
    seed = round.seed;
    lastTick = round.ticks;
    for (int n = 1; n <= 2; ++n) {
        const int32_t level = side[n - 1];
        if (level < 0) {
            bots[n - 1].reset();
            continue;
        }
        if (!bots[n - 1] || bots[n - 1]->level() != static_cast<BotLevel>(level))
            bots[n - 1] = std::make_unique<Bot>(static_cast<BotLevel>(level), round.seed, n);
        bots[n - 1]->press(round, keys);
    }
}
