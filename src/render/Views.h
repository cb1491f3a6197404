#pragma once

struct Game;

// The three views of a game frame: the overview across the top, player 1 bottom left, player 2
// bottom right. Each sets its viewport, projection, light and camera, then draws its content.
// Drawing reads the round and never changes it.
void drawOverview(const Game& game);
void drawPlayerView(const Game& game, int playerNumber);
// Clears colour and depth and draws the three views; the caller swaps the buffers.
void drawGameFrame(const Game& game);
// The title menu's frame without the swap.
void drawMenuFrame(Game& game);
