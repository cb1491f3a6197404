#include "render/GlState.h"
#include <GL/gl.h>
#include <GL/glu.h>

void setInitialGlState(int width, int height) {
    glClearColor(0, 0, 0, 1);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_NORMALIZE);
    glEnable(GL_LIGHTING);
    glShadeModel(GL_SMOOTH);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    setProjection(width, height);
}

void setProjection(int width, int height) {
    if (height == 0)
        height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(width) / height, 0.5, 150.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void waitForDrawing() {
    glFinish();
}
