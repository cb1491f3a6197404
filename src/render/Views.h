#pragma once
#include "render/RoundView.h"

struct Presentation;
class Camera;

// The three views of a game frame: the overview across the top, player 1 bottom left, player 2
// bottom right. Each sets its viewport, projection, light and camera, then draws its content.
// Drawing reads the round and never changes it.
void drawOverview(const RoundView& view);
void drawPlayerView(const RoundView& view, int playerNumber);
// Clears colour and depth and draws the three views; the caller swaps the buffers.
void drawGameFrame(const RoundView& view);
// The title menu's frame without the swap.
void drawMenuFrame(const MenuView& view);

// What the player views need made once before the first round (the far bushes' pictures), made
// under `playerCamera`'s slant and the views' light. What making it takes for a moment is given
// back before a round needs its own.
void preparePlayerViews(const Presentation& look, const Camera& playerCamera);
