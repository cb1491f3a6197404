#pragma once
#include "Picture.h"

#include <cairo.h>

namespace assetgen {

enum class Season { SpringSummer, Autumn, Winter };

// Ground tiles (256 x 256) repeat seamlessly across the cells of the arena.
Picture paintGround(Season season);

// Backdrops (512 x 256) wrap around the arena. The overview series is seen from high above
// and behind; the eye-level series from a figure standing in the arena.
Picture paintOverviewBackdrop(Season season);
Picture paintEyeLevelBackdrop(Season season);

// Surfaces (256 x 256).
Picture paintRoad();
Picture paintWallTop();
Picture paintWallSide();
Picture paintHedge();
Picture paintStoneWall();
Picture paintCheese();

// Particles are added onto the scene, so black is "nothing" and the border must be black.
Picture paintFireGlow();
Picture paintFlake();

enum class ItemCard { Bomb, Speed, Fire, MaxFire, Wall, Trap };

// Draws the whole card into the unit square (0, 0)-(1, 1), y down.
void drawItemCard(cairo_t* cr, ItemCard card);
Picture paintItemCard(ItemCard card);

// Cartoon pieces shared by the title and help pictures, drawn in the current user space.
// `size` is the figure's height; (x, y) the point between its feet.
void drawFigure(cairo_t* cr, double x, double y, double size, double headR, double headG,
                double headB);
void drawCheeseWedge(cairo_t* cr, double x, double y, double size);
void drawCoin(cairo_t* cr, double x, double y, double radius);
void drawBomb(cairo_t* cr, double x, double y, double radius);

// 1024 x 1024 menu pictures.
Picture paintTitle();
Picture paintHelp();
// The letters of the game's own texts, for drawing at any size (see FontArt.cpp).
Picture paintFontAtlas();

} // namespace assetgen
