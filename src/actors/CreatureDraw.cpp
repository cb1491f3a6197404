#include "actors/Creature.h"
#include "actors/FigureDraw.h"
#include "world/MazeWorld.h"
#include <GL/gl.h>

void Creature::draw(bool shadowPass) {
    if (number < 1 || number > 4 || world.creatureHit[number - 1])
        return;
    roam();
    advanceAnimation();
    drawModel(shadowPass);
    touchTest();
}

void Creature::drawModel(bool shadowPass) const {
    const int t = static_cast<int>(tessellation);
    glColor4f(0.3f, 0.3f, 0.3f, 1);
    glPushMatrix();
    glTranslatef(x, y, 0);
    glRotatef(heading, 0, 0, 1);
    if (!shadowPass)
        glColor4f(1, 1, 1, 1);
    drawFigureBody(shape, bodyRadius, t);
    drawFigureFeet(shape, t);
    drawFigureHands(shape, t);
    drawFigureTail(shape, t);
    if (!shadowPass)
        glColor4f(colourR, colourG, colourB, colourA);
    drawFigureHead(shape, bodyRadius, t);
    if (!shadowPass)
        glColor4f(0, 0, 0, 1);
    drawFigureFace(shape, t);
    glPopMatrix();
}
