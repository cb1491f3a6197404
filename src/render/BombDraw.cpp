#include "render/FigureModels.h"
#include "world/Bomb.h"
#include "render/Materials.h"
#include <GL/gl.h>
#include <GL/glu.h>

void drawBomb(const Bomb& bomb) {
    GLUquadric* q = sharedQuadric();
    glPushMatrix();
    applyMaterial(GL_FRONT_AND_BACK, bombMaterial);
    // The pulsing ball rests on the ground.
    glTranslatef(bomb.x, bomb.y, bomb.pulseRadius);
    glColor3f(0.2f, 0.2f, 0.2f);
    gluSphere(q, bomb.pulseRadius, 10, 10);
    glPushMatrix();
    glTranslatef(0, 0, bomb.pulseRadius - 0.03f);
    glColor3f(0.5f, 0.5f, 0.5f);
    // The sides are straight and lit alike all the way up (the arena's light is directional):
    // one stack shows them as ten would.
    gluCylinder(q, 0.1, 0.1, 0.1, 10, 1);
    glRotatef(-45, 0, 0, 1);
    glRotatef(20, 0, 1, 0);
    glColor3f(1, 1, 1);
    gluCylinder(q, 0.03, 0.03, 0.23, 10, 1);
    glPushMatrix();
    glTranslatef(0, 0, 0.23f);
    glColor3ub(255, 102, 0);
    gluSphere(q, 0.038, 4, 4);
    glPopMatrix();
    glPopMatrix();
    applyMaterial(GL_FRONT_AND_BACK, defaultMaterial);
    glPopMatrix();
}
