#include "actors/Creature.h"
#include "actors/FigureDraw.h"
#include "scene/MeshBatch.h"
#include "world/MazeWorld.h"
#include <GL/gl.h>

void Creature::draw(bool shadowPass) const {
    if (number < 1 || number > 4 || world.creatureHit[number - 1])
        return;
    drawModel(shadowPass);
}

void Creature::drawModel(bool shadowPass) const {
    const int t = static_cast<int>(tessellation);
    glColor4f(0.3f, 0.3f, 0.3f, 1);
    glPushMatrix();
    glTranslatef(x, y, 0);
    glRotatef(heading, 0, 0, 1);
    if (!shadowPass)
        glColor4f(1, 1, 1, 1);
    // The feet swing, so the figure is gathered anew each frame: one draw per colour.
    static MeshBatch batch;
    batch.clear();
    addFigureBody(batch, shape, bodyRadius, t);
    addFigureFeet(batch, shape, t);
    addFigureHands(batch, shape, t);
    addFigureTail(batch, shape, t);
    drawMeshBatch(batch, false);
    if (!shadowPass)
        glColor4f(colourR, colourG, colourB, colourA);
    batch.clear();
    addFigureHead(batch, shape, bodyRadius, t);
    drawMeshBatch(batch, false);
    if (!shadowPass)
        glColor4f(0, 0, 0, 1);
    batch.clear();
    addFigureFace(batch, shape, t);
    drawMeshBatch(batch, false);
    glPopMatrix();
}
