#pragma once
#include "screens/Menu.h"
#include "bots/Bot.h"
#include "rules/KeyState.h"
#include <cstdint>
#include <memory>
#include <string>

struct RoundState;

// Who plays each side of this run (a person, or a computer player of a level), and the
// computer players of the running round, made afresh for each round's seed.
class OpponentChoice {
  public:
    // -1: a person; else a BotLevel.
    int32_t side[2] = {-1, -1};
    // Offered on the title: not over the network, where both players are people.
    bool offered = true;
    // Stepped on the title this run: the settings keep the choice.
    bool chosenOnTitle = false;

    // From the settings' "human", "easy", "normal" or "hard".
    void choose(const std::string& player2);
    // What the settings keep for player 2.
    std::string kept() const;
    // Player 2's next choice on the title.
    void step();
    // Each title frame: whether the button is down over the line. A press steps once, however
    // many frames it is seen held.
    void pointer(bool pressedOnLine);
    // "PLAYER 2: HUMAN", "PLAYER 2: COMPUTER NORMAL, STEADY", ...
    const std::string& titleLine() const { return line; }
    // What the HUD writes under player n's counts: "COMPUTER HARD", or null for a person.
    const char* hudLine(int n) const;
    bool anyComputer() const { return side[0] >= 0 || side[1] >= 0; }

    // The computer players' keys for the coming tick, in place of the keyboard's for their
    // players.
    void press(const RoundState& round, KeyState& keys);

  private:
    void describe();
    std::string line = "PLAYER 2: HUMAN";
    std::string hud[2];
    std::unique_ptr<Bot> bots[2];
    uint32_t seed = 0;
    uint32_t lastTick = 0;
    bool held = false;
};
