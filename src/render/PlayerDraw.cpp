#include "actors/Player.h"
#include "render/FigureDraw.h"
#include "render/FigureModels.h"
#include "render/MeshBatchGl.h"
#include "render/WorldModels.h"
#include "world/MazeWorld.h"
#include <GL/gl.h>
#include <cstring>

namespace {
template <typename Add> unsigned int compile(Add&& add) {
    MeshBatch batch;
    add(batch);
    const unsigned int list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    drawMeshBatch(batch, false);
    glEndList();
    return list;
}

void placeFoot(unsigned int foot, float x, float y) {
    glPushMatrix();
    glTranslatef(x, y, 0);
    glCallList(foot);
    glPopMatrix();
}
} // namespace

void FigureModel::build(const Player& player) {
    build(player.shape, player.bodyRadius, static_cast<int>(player.tessellation));
}

void FigureModel::build(const FigureShape& s, float r, int t) {
    // The model is compiled once at set-up and never changes.
    if (levels[0].body != 0)
        return;
    shape = s;
    bodyRadius = r;
    tessellation = t;
    for (int k = 0; k < levelCount; ++k) {
        const PieceDetail d{t, levelPixelsPerUnit[k]};
        Level& level = levels[k];
        // Body, hands and tail share one colour, so they are one draw.
        level.body = compile([&](MeshBatch& b) {
            addFigureBody(b, s, r, d);
            addFigureHands(b, s, d);
            addFigureTail(b, s, d);
        });
        level.head = compile([&](MeshBatch& b) { addFigureHead(b, s, r, d); });
        level.face = compile([&](MeshBatch& b) { addFigureFace(b, s, d); });
        level.foot = compile([&](MeshBatch& b) { addFigureFoot(b, s, d); });
    }
}

bool FigureModel::fits(const FigureShape& other, float otherBodyRadius,
                       int otherTessellation) const {
    if (levels[0].body == 0 || otherBodyRadius != bodyRadius || otherTessellation != tessellation)
        return false;
    // Only the swing of the feet may differ: it is applied at each draw.
    FigureShape a = shape, b = other;
    a.footSwing = b.footSwing = 0;
    a.footSwingStep = b.footSwingStep = 0;
    return std::memcmp(&a, &b, sizeof a) == 0;
}

int FigureModel::levelFor(float pixelsPerUnit) {
    int level = 0;
    for (int k = 1; k < levelCount; ++k)
        if (pixelsPerUnit > 0 && pixelsPerUnit <= levelPixelsPerUnit[k])
            level = k;
    return level;
}

void drawFigureModel(const FigureModel::Level& level, const FigureShape& s, bool shadowPass,
                     const unsigned char head[4]) {
    if (!shadowPass)
        glColor4f(1, 1, 1, 1);
    // The figure's pieces are closed (the open ends of its cones lie inside the body and head),
    // so their far sides never show.
    glEnable(GL_CULL_FACE);
    glCallList(level.body);
    placeFoot(level.foot, -s.footSpread, s.footSwing);
    placeFoot(level.foot, s.footSpread, -0.12f - s.footSwing);
    if (!shadowPass)
        glColor4ub(head[0], head[1], head[2], head[3]);
    glCallList(level.head);
    if (!shadowPass)
        glColor4f(0, 0, 0, 1);
    glCallList(level.face);
    glDisable(GL_CULL_FACE);
}

void drawPlayer(const Player& p, const FigureModel& model, const WorldModels& models,
                bool shadowPass, float pixelsPerUnit) {
    glColor4f(0.3f, 0.3f, 0.3f, 1);
    glPushMatrix();
    glTranslatef(p.x, p.y, 0);
    glRotatef(p.heading, 0, 0, 1);
    const unsigned char head[4] = {static_cast<unsigned char>(static_cast<int>(p.colourR)),
                                   static_cast<unsigned char>(static_cast<int>(p.colourG)),
                                   static_cast<unsigned char>(static_cast<int>(p.colourB)),
                                   static_cast<unsigned char>(static_cast<int>(p.colourA))};
    drawFigureModel(model.levels[FigureModel::levelFor(pixelsPerUnit)], p.shape, shadowPass, head);
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
    for (const Bomb& bomb : p.bombs)
        if (bomb.lyingUnexploded())
            drawBomb(bomb);
}
