#include "bots/BotLevel.h"

bool readBotLevel(const std::string& text, BotLevel& level) {
    if (text == "easy")
        level = BotLevel::easy;
    else if (text == "normal")
        level = BotLevel::normal;
    else if (text == "hard")
        level = BotLevel::hard;
    else
        return false;
    return true;
}

const char* botLevelName(BotLevel level) {
    switch (level) {
    case BotLevel::easy:
        return "easy";
    case BotLevel::normal:
        return "normal";
    default:
        return "hard";
    }
}

BotStyle styleOf(BotLevel level) {
    BotStyle style;
    switch (level) {
    case BotLevel::easy:
        // A newcomer: half a second to take in a bomb, pauses, wrong turns, wide of creatures,
        // into the labyrinth only when the arena offers little.
        style = {36, 30, 350, 50, 60, 12, true, 60, 2, false, false};
        style.wrongTurnPerMille = 200;
        style.cheeseValue = 3;
        style.restEvery = 3;
        style.tripGapMs = 120000;
        return style;
    case BotLevel::normal:
        style = {20, 18, 120, 30, 90, 16, true, 150, 1, false, false};
        style.wrongTurnPerMille = 20;
        return style;
    default:
        // A quick person's reaction, about 150 ms, and no slips: it wins on judgement.
        style = {9, 6, 0, 0, 100, 24, true, 250, 1, false, true};
        return style;
    }
}

bool readRivalStyle(const std::string& name, BotStyle& style) {
    // A steady hand: reactions and foresight of a practised player, no hesitation.
    style = {10, 12, 0, 0, 100, 24, false, 0, 1, false, false};
    if (name == "coins") {
        style.onlyCoins = true;
    } else if (name == "picker") {
        style.opensObstacles = false;
    } else if (name == "shadow") {
        style.opensObstacles = false;
        style.shadows = true;
    } else {
        return false;
    }
    return true;
}
