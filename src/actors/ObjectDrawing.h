#pragma once

class MazeWorld;
struct Item;
struct Obstacle;
struct WallBlock;
struct Trap;

// Drawing of what lies in the maze world; nothing changes here.
void drawArenaItems(const MazeWorld& world);
void drawItemsAround(const MazeWorld& world, float px, float py, float dirX, float dirY);
void drawLabyrinthView(const MazeWorld& world);

// One view's turn of a lying item: 10 degrees.
void advanceItemSpin(Item& item);
// An item lies visibly when it is in the arena and nothing covers its cell.
bool itemUncovered(const MazeWorld& world, const Item& item);
bool objectInWedge(int px, int py, float dirX, float dirY, float x, float y);
// One view's step of the arena: the fire burns on and every item the view shows turns once; with
// `wedge`, only what lies in the wedge of a player in cell (px, py) heading (dirX, dirY).
void advanceArenaView(MazeWorld& world, bool wedge, int px, int py, float dirX, float dirY);

// The single objects, each at its own position.
void drawObstacle(const Obstacle& obstacle);
void drawItem(const Item& item);
void drawCheese(const Item& cheese);
void drawWallBlock(const WallBlock& wall);
void drawTrap(const Trap& trap);
// A prism of g - f pie segments of angle 6.28 / g (from local +x toward +y) between z = 0 and
// z = length, at (x, y, z) turned `turn` degrees about z.
void drawArcPrism(float x, float y, float z, float radius, float length, int firstSegment,
                  const unsigned char colour[3], int segmentCount, float turn);
// A box from -width/2..width/2, -depth/2..depth/2, 0..height at (x, y, z).
void drawBox(float x, float y, float z, float width, float depth, float height,
             const unsigned char colour[3]);
