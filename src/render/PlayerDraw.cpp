#include "render/FigureDraw.h"
#include "actors/Player.h"
#include "render/FigureModels.h"
#include "render/WorldModels.h"
#include "render/MeshBatchGl.h"
#include "world/MazeWorld.h"
#include <GL/gl.h>

void FigureModel::build(const Player& player) {
    // The model is compiled once at set-up and never changes.
    if (body != 0)
        return;
    const FigureShape& shape = player.shape;
    const float bodyRadius = player.bodyRadius;
    const int t = static_cast<int>(player.tessellation);
    body = glGenLists(1);
    // Body, hands and tail share one colour, so they are one draw.
    MeshBatch pieces;
    addFigureBody(pieces, shape, bodyRadius, t);
    addFigureHands(pieces, shape, t);
    addFigureTail(pieces, shape, t);
    glNewList(body, GL_COMPILE);
    drawMeshBatch(pieces, false);
    glEndList();
    head = glGenLists(1);
    glNewList(head, GL_COMPILE);
    drawFigureHead(shape, bodyRadius, t);
    glEndList();
    face = glGenLists(1);
    glNewList(face, GL_COMPILE);
    drawFigureFace(shape, t);
    glEndList();
}

void drawPlayer(const Player& p, const FigureModel& model, const WorldModels& models,
                bool shadowPass) {
    glColor4f(0.3f, 0.3f, 0.3f, 1);
    glPushMatrix();
    glTranslatef(p.x, p.y, 0);
    glRotatef(p.heading, 0, 0, 1);
    if (!shadowPass)
        glColor4f(1, 1, 1, 1);
    glCallList(model.body);
    drawFigureFeet(p.shape, static_cast<int>(p.tessellation));
    if (!shadowPass)
        glColor4ub(static_cast<GLubyte>(static_cast<int>(p.colourR)),
                   static_cast<GLubyte>(static_cast<int>(p.colourG)),
                   static_cast<GLubyte>(static_cast<int>(p.colourB)),
                   static_cast<GLubyte>(static_cast<int>(p.colourA)));
    glCallList(model.head);
    if (!shadowPass)
        glColor4f(0, 0, 0, 1);
    glCallList(model.face);
    if (p.carryingCheese) {
        // In front of the body, at hand height.
        glPushMatrix();
        glTranslatef(0, 0.05f - p.bodyRadius, p.bodyRadius - 0.07f);
        glCallList(models.itemList(kindCheese));
        glPopMatrix();
    }
    glPopMatrix();
    if (shadowPass)
        return;
    for (const Bomb* bomb : p.bombs)
        if (bomb->lyingUnexploded())
            drawBomb(*bomb);
}
