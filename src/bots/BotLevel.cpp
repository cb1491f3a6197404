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

namespace {
// easy: a newcomer: three quarters of a second to take in a bomb, pauses, wrong turns, now and
// then a bomb that opens nothing, one bomb at a time, wide of creatures, into the labyrinth only when the arena
// offers little, walking one tick of two, and no eye for bombing the other player.
constexpr BotStyle easyLevel = {.reactionTicks = 45,
                                .replanTicks = 30,
                                .errPerMille = 350,
                                .hesitateTicks = 50,
                                .blastGuardMs = 60,
                                .lookAheadCells = 12,
                                .fetchesCheese = true,
                                .attackPerMille = 0,
                                .creatureBerth = 2,
                                .huntsCreatures = false,
                                .wary = false,
                                .wrongTurnPerMille = 200,
                                .restEvery = 2,
                                .cheeseValue = 3,
                                .tripGapMs = 120000,
                                .firstLookTicks = 60,
                                .poorBombPerMille = 25,
                                .mostBombsLying = 1};

constexpr BotStyle normalLevel = {.reactionTicks = 20,
                                  .replanTicks = 18,
                                  .errPerMille = 120,
                                  .hesitateTicks = 30,
                                  .blastGuardMs = 90,
                                  .lookAheadCells = 16,
                                  .fetchesCheese = true,
                                  .attackPerMille = 150,
                                  .creatureBerth = 1,
                                  .huntsCreatures = false,
                                  .wary = false,
                                  .shutInSpots = 3,
                                  .wrongTurnPerMille = 20,
                                  .huntsOtherPlayer = true,
                                  .watchesOtherPlayer = true,
                                  .shutsInFromAfar = true,
                                  .trapPerMille = 37,
                                  .firstLookTicks = 30};

// hard: a quick person's reaction, about 150 ms, and no slips: it wins on judgement.
constexpr BotStyle hardLevel = {.reactionTicks = 9,
                                .replanTicks = 6,
                                .errPerMille = 0,
                                .hesitateTicks = 0,
                                .blastGuardMs = 100,
                                .lookAheadCells = 24,
                                .fetchesCheese = true,
                                .attackPerMille = 250,
                                .creatureBerth = 1,
                                .huntsCreatures = false,
                                .wary = true,
                                .shutInSpots = 6,
                                .huntsOtherPlayer = true,
                                .watchesOtherPlayer = true,
                                .shutsInFromAfar = true,
                                .trapPerMille = 62,
                                .firstLookTicks = 20};

// The benchmark's rivals start from a steady hand: reactions and foresight of a practised
// player, no hesitation, no cheese, and no eye for the other player.
constexpr BotStyle steadyHand = {.reactionTicks = 10,
                                 .replanTicks = 12,
                                 .errPerMille = 0,
                                 .hesitateTicks = 0,
                                 .blastGuardMs = 100,
                                 .lookAheadCells = 24,
                                 .fetchesCheese = false,
                                 .attackPerMille = 0,
                                 .creatureBerth = 1,
                                 .huntsCreatures = false,
                                 .wary = false};
} // namespace

BotStyle styleOf(BotLevel level) {
    switch (level) {
    case BotLevel::easy:
        return easyLevel;
    case BotLevel::normal:
        return normalLevel;
    default:
        return hardLevel;
    }
}

bool readRivalStyle(const std::string& name, BotStyle& style) {
    style = steadyHand;
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
