#include "scene/GameClock.h"
#include <GL/freeglut.h>

float GameClock::now() {
    if (manual)
        return manualTime;
    int t = glutGet(GLUT_ELAPSED_TIME);
    if (!started) {
        started = true;
        origin = t;
    }
    return static_cast<float>(t - origin);
}
