#pragma once

class MazeWorld;
class RandomGenerator;
struct Item;

// One view's turn of a lying item: 10 degrees.
void advanceItemSpin(Item& item);
// An item lies visibly when it is in the arena and nothing covers its cell.
bool itemUncovered(const MazeWorld& world, const Item& item);
bool objectInWedge(int px, int py, float dirX, float dirY, float x, float y);
// One view's step of the arena: the fire burns on and every item the view shows turns once; with
// `wedge`, only what lies in the wedge of a player in cell (px, py) heading (dirX, dirY). `now`:
// the tick's game time, which the fire burns out by.
void advanceArenaView(MazeWorld& world, RandomGenerator& random, float now, bool wedge, int px,
                      int py, float dirX, float dirY);
