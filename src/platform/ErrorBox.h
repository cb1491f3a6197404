#pragma once

struct SDL_Window;

// Shows SDL's message box and waits until it is closed. The box runs in a child process of its
// own process group, so a signal to the game closes it at once (the program is not stuck in
// SDL's wait for its box), and a game killed outright takes the box with it: nothing is left on
// screen or in the process list.
void showErrorBoxAndWait(const char* caption, const char* text, SDL_Window* parent);
