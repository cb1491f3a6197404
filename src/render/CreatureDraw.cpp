#include "actors/Creature.h"
#include "render/FigureModels.h"
#include "render/FigureDraw.h"
#include "render/MeshBatchGl.h"
#include "world/MazeWorld.h"
#include <GL/gl.h>

void drawCreature(const Creature& c, bool shadowPass) {
    if (!c.inPlay())
        return;
    const FigureShape& shape = c.shape;
    const float bodyRadius = c.bodyRadius;
    const int t = static_cast<int>(c.tessellation);
    glColor4f(0.3f, 0.3f, 0.3f, 1);
    glPushMatrix();
    glTranslatef(c.x, c.y, 0);
    glRotatef(c.heading, 0, 0, 1);
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
        glColor4f(c.colourR, c.colourG, c.colourB, c.colourA);
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
