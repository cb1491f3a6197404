#pragma once

class MazeWorld;

// Drawing of what lies in the maze world. Only the items' spin changes here.
void drawArenaItems(MazeWorld& world);
void drawItemsAround(MazeWorld& world, float px, float py, float dirX, float dirY);
void drawLabyrinthView(MazeWorld& world);

// One draw's turn of a lying item: 10 degrees.
struct Item;
void advanceItemSpin(Item& item);
