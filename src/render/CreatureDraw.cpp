#include "actors/Creature.h"
#include "render/FigureDraw.h"
#include "render/FigureModels.h"
#include "render/MeshBatchGl.h"
#include <GL/gl.h>
#include <cmath>

namespace {
unsigned char toByte(float component) {
    return static_cast<unsigned char>(std::lround(component * 255.0f));
}

// The figure gathered piece by piece, for a shape no compiled model fits.
void drawGathered(const Creature& c, bool shadowPass) {
    const FigureShape& shape = c.shape;
    const float bodyRadius = c.bodyRadius;
    const PieceDetail d{static_cast<int>(c.tessellation), 0};
    if (!shadowPass)
        glColor4f(1, 1, 1, 1);
    MeshBatch batch;
    addFigureBody(batch, shape, bodyRadius, d);
    addFigureFeet(batch, shape, d);
    addFigureHands(batch, shape, d);
    addFigureTail(batch, shape, d);
    drawMeshBatch(batch, false);
    if (!shadowPass)
        glColor4f(c.colourR, c.colourG, c.colourB, c.colourA);
    batch.clear();
    addFigureHead(batch, shape, bodyRadius, d);
    drawMeshBatch(batch, false);
    if (!shadowPass)
        glColor4f(0, 0, 0, 1);
    batch.clear();
    addFigureFace(batch, shape, d);
    drawMeshBatch(batch, false);
}
} // namespace

void drawCreature(const MazeWorld& world, const Creature& c, bool shadowPass,
                  const FigureModel* model, float pixelsPerUnit) {
    if (!c.inPlay(world))
        return;
    glColor4f(0.3f, 0.3f, 0.3f, 1);
    glPushMatrix();
    glTranslatef(c.x, c.y, 0);
    glRotatef(c.heading, 0, 0, 1);
    if (model && model->fits(c.shape, c.bodyRadius, static_cast<int>(c.tessellation))) {
        const unsigned char head[4] = {toByte(c.colourR), toByte(c.colourG), toByte(c.colourB),
                                       toByte(c.colourA)};
        drawFigureModel(model->levels[FigureModel::levelFor(pixelsPerUnit)], c.shape, shadowPass,
                        head);
    } else {
        drawGathered(c, shadowPass);
    }
    glPopMatrix();
}
