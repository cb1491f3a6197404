#include "app/Game.h"
#include "app/MainLoop.h"
#include <GL/freeglut.h>
#include <ctime>

// The one game, built before the entry function runs; the seed is the calendar time in seconds.
static Game game(static_cast<uint32_t>(std::time(nullptr)));

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    return runProgram(game);
}
