#pragma once
#include "screens/Menus.h"
#include "screens/OnlinePlay.h"
#include "screens/OpponentChoice.h"
#include <cstdint>

// What the screens around the round keep: which one shows, where each highlight stands, who
// plays each side and the online screens. The running game is one of these with its round, its
// pictures and its sound; a test of the screens builds this alone.
struct ScreenState {
    // The round shows (else the title menu).
    bool gameRunning = false;
    int32_t helpShown = 0;
    float mouseX = 0, mouseY = 0;
    MenuState menus;
    // Who plays each side: a person or a computer player.
    OpponentChoice opponents;
    // The title's PLAY ONLINE screens and the online game they set up.
    OnlinePlay online;
    bool onlineOffered = false;
};
