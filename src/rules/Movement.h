#pragma once

class MazeWorld;
class Player;
class RandomGenerator;

// A player's walking in the arena and the labyrinth, over the round's world; what a step draws
// (a trap's throw, items going back) comes from the round's generator.

// One step of stepLength along the heading. True: the player is still in the arena and
// (stepX, stepY) is what it moved. False: it was moved elsewhere (into the labyrinth, or thrown
// by a trap) and (stepX, stepY) is where its camera's eye goes, relative to it.
bool arenaStep(Player& player, MazeWorld& world, RandomGenerator& random);
// Steering help: when a step ahead would be refused but a lane or door ahead opens within
// steeringReach to the side, the player slides one step (at most stepLength) toward it instead.
// Answers whether it slid; then `stillInArena` is what arenaStep would answer for that slide.
bool steerTowardGap(Player& player, MazeWorld& world, RandomGenerator& random, bool& stillInArena);
// A trap's throw: to a random open arena cell where a wall or trap could be laid.
void teleportToRandomCell(Player& player, const MazeWorld& world, RandomGenerator& random);
// One labyrinth step of the player's reach forward (direction 1) or back (-1), stopped by the
// labyrinth's walls, at game time `now`. False: it left the labyrinth by a door.
bool freeRoamStep(Player& player, MazeWorld& world, float now, int direction);
