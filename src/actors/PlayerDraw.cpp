#include "actors/FigureDraw.h"
#include "actors/Player.h"
#include "scene/MeshBatch.h"
#include "world/MazeWorld.h"
#include <GL/gl.h>

void Player::buildModel() {
    // The model is compiled once at set-up and never changes.
    if (bodyList != 0)
        return;
    const int t = static_cast<int>(tessellation);
    bodyList = glGenLists(1);
    // Body, hands and tail share one colour, so they are one draw.
    MeshBatch body;
    addFigureBody(body, shape, bodyRadius, t);
    addFigureHands(body, shape, t);
    addFigureTail(body, shape, t);
    glNewList(bodyList, GL_COMPILE);
    drawMeshBatch(body, false);
    glEndList();
    headList = glGenLists(1);
    glNewList(headList, GL_COMPILE);
    drawFigureHead(shape, bodyRadius, t);
    glEndList();
    faceList = glGenLists(1);
    glNewList(faceList, GL_COMPILE);
    drawFigureFace(shape, t);
    glEndList();
}

void Player::draw(bool shadowPass) const {
    glColor4f(0.3f, 0.3f, 0.3f, 1);
    glPushMatrix();
    glTranslatef(x, y, 0);
    glRotatef(heading, 0, 0, 1);
    if (!shadowPass)
        glColor4f(1, 1, 1, 1);
    glCallList(bodyList);
    drawFigureFeet(shape, static_cast<int>(tessellation));
    if (!shadowPass)
        glColor4ub(static_cast<GLubyte>(static_cast<int>(colourR)),
                   static_cast<GLubyte>(static_cast<int>(colourG)),
                   static_cast<GLubyte>(static_cast<int>(colourB)),
                   static_cast<GLubyte>(static_cast<int>(colourA)));
    glCallList(headList);
    if (!shadowPass)
        glColor4f(0, 0, 0, 1);
    glCallList(faceList);
    const Item* cheeseWedge = world.items[MazeWorld::firstCheese];
    if (carryingCheese && cheeseWedge) {
        // In front of the body, at hand height.
        glPushMatrix();
        glTranslatef(0, 0.05f - bodyRadius, bodyRadius - 0.07f);
        glCallList(cheeseWedge->list);
        glPopMatrix();
    }
    glPopMatrix();
    if (shadowPass)
        return;
    for (const Bomb* bomb : bombs)
        if (bomb->lyingUnexploded())
            bomb->drawModel();
}
