#include "app/Game.h"
#include "app/MainLoop.h"
#include "app/Seed.h"
#include <GL/freeglut.h>
#include <cstdlib>
#include <ctime>

namespace {
// The calendar time in seconds. TUVO_SEED replays a round: the same seed gives the same arena,
// labyrinth and random events, which is how bugs get reproduced and how the end-to-end tests
// know where things stand.
uint32_t roundSeed() {
    return chooseRoundSeed(std::getenv("TUVO_SEED"), static_cast<uint32_t>(std::time(nullptr)),
                           stderr);
}
} // namespace

// The one game, built before the entry function runs.
static Game game(roundSeed());

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    return runProgram(game);
}
