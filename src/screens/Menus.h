#pragma once
#include "screens/Settings.h"
#include "platform/Platform.h"
#include "render/MenuPanel.h"
#include "render/RoundView.h"
#include <string>
#include <vector>

struct ScreenState;

// Where each menu's highlight stands, and what the options are doing. One highlighted entry at
// a time, moved alike by the keys, the pads and the pointer.
struct MenuState {
    int titleFocus = 0;
    int pauseFocus = 0;
    int resultFocus = 0; // after 0:00: PLAY AGAIN or TITLE
    bool optionsShown = false;
    int optionsFocus = 0;
    int rebinding = -1;               // the options row waiting for its new key; -1: none
    std::string notice;               // a line under the options (a key refused, what to press)
    int pointerX = -1, pointerY = -1; // the pointer as last seen, in frame pixels
    // The left button as last seen: a press is seen on every frame until the next event, so the
    // options and the pause menu act only when it goes down.
    bool pointerDown = false;

    void openOptions() {
        optionsShown = true;
        optionsFocus = 0;
        rebinding = -1;
        notice.clear();
    }
};

// What a menu step asks of the loop beyond the menu itself.
struct MenuOutcome {
    bool continueRound = false;   // CONTINUE on the pause menu
    bool endRound = false;        // END ROUND on the pause menu, TITLE after 0:00
    bool playAgain = false;       // PLAY AGAIN after 0:00
    bool fullscreen = false;      // full screen to be turned on or off
    bool shadows = false;         // the round's shadows to be turned on or off
    bool settingsChanged = false; // to be saved now, and the volumes and keys applied
};

// The options' rows: the volumes, full screen, shadows, render scale, steering help, ALWAYS
// RELAY, each player's keys, RESET KEYS, BACK.
enum OptionsRow {
    rowMusic,
    rowEffects,
    rowFullscreen,
    rowShadows,
    rowRenderScale, // AUTO or a share of the frame's pixels the round's views are drawn at
    rowSteering,
    rowAlwaysRelay, // online: only through the relay, so the other player never learns our address
    rowFirstKey,    // player 1's keys in the order of keysListed, then player 2's
    rowResetKeys = rowFirstKey + 2 * playerKeyCount,
    rowBack,
    optionsRowCount
};

// The order the options and HELP list a player's keys in.
constexpr PlayerKey keysListed[playerKeyCount] = {keyForward, keyBack, keyLeft, keyRight,
                                                  keyBomb,    keyWall, keyTrap};
// The options' row of a player's key (player 1 or 2).
int optionsKeyRow(int player, PlayerKey key);

// What the options show now: the settings, and full screen and shadows as they are.
MenuPanel optionsPanel(const MenuState& menus, const Settings& settings, bool fullscreen,
                       bool shadows);
MenuPanel pausePanel(const MenuState& menus);

// The name of a player's action as the menus write it ("BOMB").
const char* actionName(int key);

// One key on the options. While a key is being chosen, `captured` is the key pressed (its SDL
// name; "Escape" cancels), else empty.
MenuOutcome optionsKey(MenuState& menus, Settings& settings, platform::MenuKey key, bool fullscreen,
                       bool shadows);
MenuOutcome optionsCaptured(MenuState& menus, Settings& settings, const std::string& key);
// The pointer over the options: hovering highlights a row, a click presses it (on a value, left
// of its middle lowers it, right of it raises it).
MenuOutcome optionsPointer(MenuState& menus, Settings& settings, int x, int y, bool press,
                           bool fullscreen, bool shadows);

// The title's and help's keys: move the highlight, press it, go back from HELP.
void titleKey(ScreenState& game, platform::MenuKey key);

// The pause menu: CONTINUE, OPTIONS, END ROUND.
enum PauseRow { pauseContinue, pauseOptions, pauseEndRound, pauseRowCount };
MenuOutcome pauseKey(MenuState& menus, platform::MenuKey key);
MenuOutcome pausePointer(MenuState& menus, int x, int y, bool press);

// After 0:00: PLAY AGAIN or back to the TITLE (Space plays again whatever is highlighted).
enum ResultRow { resultPlayAgain, resultTitle, resultRowCount };
MenuPanel resultPanel(const MenuState& menus);
MenuOutcome resultKey(MenuState& menus, platform::MenuKey key);
MenuOutcome resultPointer(MenuState& menus, int x, int y, bool press);

// HELP's lines for player 1 or 2: each action as HELP names it and the key set for it, in the
// order of keysListed.
std::vector<MenuView::HelpKey> helpKeys(const Settings& settings, int player);
