#pragma once
struct Game;

// The game states the frame benchmark draws. Each prepares the game, without GL calls of its
// own, so that the next drawGameFrame shows the scene.
namespace framescenes {

// The first frame of a round: the clock stopped at 0.
void roundStart(Game& game);
// Mid-winter, phase 0.6, with the flakes already spread through their fall.
void midWinter(Game& game);
// A bomb of reach 14 at the top row, fourth column: the flames run along the whole row and the
// whole column, opened for it, and the clock stays inside the 500 ms the cells burn. Shadows on.
// Answers the number of burning cells.
int crossingBlast(Game& game);
// Player 1 just inside the labyrinth's south door, looking in.
void intoLabyrinth(Game& game);

} // namespace framescenes
