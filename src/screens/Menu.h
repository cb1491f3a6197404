#pragma once

#include "platform/Pointer.h"

struct ScreenState;

// Menu units: the plane z = 0 seen by the menu camera, x to the right, y up.
struct MenuArea {
    float left, right, bottom, top; // exclusive bounds
    bool contains(float x, float y) const { return x > left && x < right && y > bottom && y < top; }
};
constexpr MenuArea startArea{-1.98f, 1.7f, -0.85f, -0.09f};
constexpr MenuArea helpArea{-0.99f, 0.71f, -2.2f, -1.5f};
constexpr MenuArea closeArea{3.96f, 5.41f, -3.74f, -3.2f};
constexpr MenuArea optionsArea{-1.49f, 1.21f, -3.3f, -2.6f};
// The opponent line under START: player 2 steps through HUMAN, COMPUTER EASY, NORMAL and HARD.
constexpr MenuArea opponentArea{-3.2f, 3.2f, -1.38f, -0.95f};
// PLAY ONLINE, a band beside HELP: host or join a game over the internet by its room code.
constexpr MenuArea onlineArea{0.95f, 3.45f, -2.15f, -1.55f};
constexpr MenuArea cursorHidingArea{-6.75f, 6.75f, -4.15f, 4.15f};

// What pressing one of the title's buttons does.
enum class TitleAction { start, opponent, help, online, options };
struct TitleEntry {
    MenuArea area; // the button painted in the title picture, and where it takes a click
    TitleAction action;
};
// The title's buttons in reading order, the order Tab and Shift+Tab go through them; the arrows
// go to the nearest button that way on the picture. The highlight starts on the first. Another
// entry is another line here (with its action handled in pressTitle).
// clang-format off
inline constexpr TitleEntry titleEntries[] = {
    {startArea, TitleAction::start},
    {opponentArea, TitleAction::opponent},
    {helpArea, TitleAction::help},
    {onlineArea, TitleAction::online},
    {optionsArea, TitleAction::options},
};
// clang-format on
inline constexpr int titleEntryCount = sizeof titleEntries / sizeof titleEntries[0];

// Carries out a title entry: START runs the round (the loop holds it back over the network
// until both are there), HELP and OPTIONS show their screens.
void pressTitle(ScreenState& game, TitleAction action);
// Whether title entry n shows: the opponent line only where a computer player may play, PLAY
// ONLINE only where no network round or replay was asked for on the command line.
bool titleEntryShown(const ScreenState& game, int n);

// One menu frame's mouse step: updates the pointer position, helpShown and gameRunning.
// Hovering a button moves the highlight to it. Answers whether the system cursor is to be
// hidden.
bool menuMouse(ScreenState& game, const MenuPointer& pointer);
