#pragma once

class MazeWorld;
struct Item;
struct Obstacle;
struct WallBlock;
struct Trap;

// Drawing of what lies in the maze world. Only the items' spin changes here.
void drawArenaItems(MazeWorld& world);
void drawItemsAround(MazeWorld& world, float px, float py, float dirX, float dirY);
void drawLabyrinthView(MazeWorld& world);

// One draw's turn of a lying item: 10 degrees.
void advanceItemSpin(Item& item);

// The single objects, each at its own position.
void drawObstacle(const Obstacle& obstacle);
void drawItem(Item& item);
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
