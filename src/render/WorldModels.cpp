#include "render/WorldModels.h"
#include "render/MeshBatchGl.h"
#include "render/TextureTable.h"
#include "scene/TextureSlots.h"
#include "world/MazeWorld.h"
#include <GL/gl.h>
#include <algorithm>
#include <cmath>

namespace {
unsigned int textureOf(const TextureTable* textures, int32_t slot) {
    return textures && slot >= 0 && slot < TextureTable::slotCount ? (*textures)[slot] : 0;
}

void drawWallSegment(const TextureTable* textures, float thickness, float height, int cuts);

// One labyrinth floor cell from (0, 0) to (1, 1), white, cut into cuts x cuts squares.
void drawFloorCell(int cuts) {
    const float step = 1.0f / static_cast<float>(cuts);
    glColor3f(1, 1, 1);
    glNormal3f(0, 0, 1);
    for (int row = 0; row < cuts; ++row) {
        const float y0 = step * static_cast<float>(row), y1 = y0 + step;
        glBegin(GL_QUAD_STRIP);
        for (int col = 0; col <= cuts; ++col) {
            const float x = step * static_cast<float>(col);
            // Counter-clockwise from above, like every floor.
            glVertex3f(x, y1, 0);
            glVertex3f(x, y0, 0);
        }
        glEnd();
    }
}

// A power-up card standing upright: its two large faces carry the item picture.
void compileItemCard(unsigned int list, unsigned int texture) {
    const float w = 0.3f, d = 0.05f, h = 0.6f;
    glNewList(list, GL_COMPILE);
    glColor3f(1, 1, 1);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    // Each picture face reads left to right from its own side.
    glNormal3f(0, -1, 0);
    glTexCoord2f(0, 0);
    glVertex3f(-w, -d, 0);
    glTexCoord2f(1, 0);
    glVertex3f(w, -d, 0);
    glTexCoord2f(1, 1);
    glVertex3f(w, -d, h);
    glTexCoord2f(0, 1);
    glVertex3f(-w, -d, h);
    glNormal3f(0, 1, 0);
    glTexCoord2f(0, 0);
    glVertex3f(w, d, 0);
    glTexCoord2f(1, 0);
    glVertex3f(-w, d, 0);
    glTexCoord2f(1, 1);
    glVertex3f(-w, d, h);
    glTexCoord2f(0, 1);
    glVertex3f(w, d, h);
    // The rims take the texel left by the last face.
    glNormal3f(0, 0, 1);
    glVertex3f(-w, -d, h);
    glVertex3f(w, -d, h);
    glVertex3f(w, d, h);
    glVertex3f(-w, d, h);
    glNormal3f(0, 0, -1);
    glVertex3f(-w, -d, 0);
    glVertex3f(-w, d, 0);
    glVertex3f(w, d, 0);
    glVertex3f(w, -d, 0);
    glNormal3f(1, 0, 0);
    glVertex3f(w, -d, 0);
    glVertex3f(w, d, 0);
    glVertex3f(w, d, h);
    glVertex3f(w, -d, h);
    glNormal3f(-1, 0, 0);
    glVertex3f(-w, d, 0);
    glVertex3f(-w, -d, 0);
    glVertex3f(-w, -d, h);
    glVertex3f(-w, d, h);
    glEnd();
    // Texturing ends with the card, so untextured objects drawn next keep their own colours.
    glDisable(GL_TEXTURE_2D);
    glEndList();
}

// A wedge of cheese: a triangle prism 0.2 high, tipped a little and turned.
void compileCheese(unsigned int list, unsigned int texture) {
    const float a = 0.15f, h = 0.2f;
    glNewList(list, GL_COMPILE);
    glPushMatrix();
    glRotatef(15, 0, 1, 0);
    glRotatef(-90, 0, 0, 1);
    glColor3f(1, 1, 1);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    // Top and bottom are quads whose last two corners meet at the apex.
    glNormal3f(0, 0, 1);
    glTexCoord2f(0, 0);
    glVertex3f(-a, -a, h);
    glTexCoord2f(1, 0);
    glVertex3f(a, -a, h);
    glTexCoord2f(1, 1);
    glVertex3f(0, a, h);
    glTexCoord2f(0, 1);
    glVertex3f(0, a, h);
    glNormal3f(0, 0, -1);
    glTexCoord2f(0, 0);
    glVertex3f(a, -a, 0);
    glTexCoord2f(1, 0);
    glVertex3f(-a, -a, 0);
    glTexCoord2f(1, 1);
    glVertex3f(0, a, 0);
    glTexCoord2f(0, 1);
    glVertex3f(0, a, 0);
    glNormal3f(0, -1, 0);
    glTexCoord2f(0, 0);
    glVertex3f(-a, -a, 0);
    glTexCoord2f(1, 0);
    glVertex3f(a, -a, 0);
    glTexCoord2f(1, 1);
    glVertex3f(a, -a, h);
    glTexCoord2f(0, 1);
    glVertex3f(-a, -a, h);
    // The slanted sides: from a base corner (±a, -a) to the apex (0, a).
    glNormal3f(2 * a, a, 0);
    glTexCoord2f(0, 0);
    glVertex3f(a, -a, 0);
    glTexCoord2f(1, 0);
    glVertex3f(0, a, 0);
    glTexCoord2f(1, 1);
    glVertex3f(0, a, h);
    glTexCoord2f(0, 1);
    glVertex3f(a, -a, h);
    glNormal3f(-2 * a, a, 0);
    glTexCoord2f(0, 0);
    glVertex3f(0, a, 0);
    glTexCoord2f(1, 0);
    glVertex3f(-a, -a, 0);
    glTexCoord2f(1, 1);
    glVertex3f(-a, -a, h);
    glTexCoord2f(0, 1);
    glVertex3f(0, a, h);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
    glEndList();
}

// A short cylinder closed by a disk at each end, the lower one facing down, standing in the
// item's place. Its sides are straight and its ends flat, each lit alike all over under the
// arena's directional light: one stack and one ring show them as more would.
void compileCoin() {
    MeshBatch coin;
    coin.colourBytes(204, 204, 51);
    coin.translate(0, 0, 0.35f);
    coin.rotate(-90, 1, 0, 0);
    coin.cylinder(0.22, 0.22, 0.1, 10, 1);
    coin.disk(0, 0.22, 10, 1, true);
    coin.translate(0, 0, 0.1f);
    coin.disk(0, 0.22, 10, 1);
    drawMeshBatch(coin, true);
}
} // namespace

void WorldModels::build(const TextureTable* textures, const MazeGenerator& maze) {
    // Built once: the pictures of a round never change.
    if (labyrinthWall != 0)
        return;
    for (int32_t kind = kindBomb; kind <= kindCheese; ++kind) {
        const int32_t slot = itemPictureSlot(kind);
        if (slot < 0)
            continue;
        itemLists[kind] = glGenLists(1);
        if (kind == kindCheese)
            compileCheese(itemLists[kind], textureOf(textures, slot));
        else
            compileItemCard(itemLists[kind], textureOf(textures, slot));
    }
    coinList = glGenLists(1);
    glNewList(coinList, GL_COMPILE);
    compileCoin();
    glEndList();
    for (int level = 0; level < gridLevels; ++level) {
        labyrinthWalls[level] = glGenLists(1);
        glNewList(labyrinthWalls[level], GL_COMPILE);
        drawWallSegment(textures, maze.wallThickness, maze.wallHeight, gridCuts[level]);
        glEndList();
        labyrinthFloors[level] = glGenLists(1);
        glNewList(labyrinthFloors[level], GL_COMPILE);
        drawFloorCell(gridCuts[level]);
        glEndList();
    }
    labyrinthWall = labyrinthWalls[0];
}

namespace {
// One face of a wall at `x`, facing `side` along x, cut into a grid; the picture reads left to
// right from its own side.
void wallFace(float x, float side, float halfLength, float h, int cuts) {
    const int across = cuts, up = std::max(1, static_cast<int>(std::lround(cuts * h)));
    glNormal3f(side, 0, 0);
    for (int row = 0; row < up; ++row) {
        const float t0 = static_cast<float>(row) / static_cast<float>(up);
        const float t1 = static_cast<float>(row + 1) / static_cast<float>(up);
        glBegin(GL_QUAD_STRIP);
        for (int col = 0; col <= across; ++col) {
            const float s = static_cast<float>(col) / static_cast<float>(across);
            const float y = side * (2 * s - 1) * halfLength;
            // Top first: counter-clockwise seen from the face's own side.
            glTexCoord2f(s, t1);
            glVertex3f(x, y, t1 * h);
            glTexCoord2f(s, t0);
            glVertex3f(x, y, t0 * h);
        }
        glEnd();
    }
}

// One labyrinth wall segment, a cell long, standing across the origin along y, its two faces
// cut `cuts` times along the cell.
void drawWallSegment(const TextureTable* textures, float t, float h, int cuts) {
    const float x = t / 2, y = (1 + t) / 2;
    // Ends, top and bottom show a thin strip of the wall picture, like its cut edge.
    const float edge = 0.0625f;
    glColor3f(1, 1, 1);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBindTexture(GL_TEXTURE_2D, textureOf(textures, labyrinthWallSlot));
    wallFace(x, 1, y, h, cuts);
    wallFace(-x, -1, y, h, cuts);
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    glTexCoord2f(0, 0);
    glVertex3f(-x, -y, h);
    glTexCoord2f(edge, 0);
    glVertex3f(x, -y, h);
    glTexCoord2f(edge, 1);
    glVertex3f(x, y, h);
    glTexCoord2f(0, 1);
    glVertex3f(-x, y, h);
    glNormal3f(0, 0, -1);
    glTexCoord2f(0, 0);
    glVertex3f(-x, -y, 0);
    glTexCoord2f(0, 1);
    glVertex3f(-x, y, 0);
    glTexCoord2f(edge, 1);
    glVertex3f(x, y, 0);
    glTexCoord2f(edge, 0);
    glVertex3f(x, -y, 0);
    glNormal3f(0, 1, 0);
    glTexCoord2f(0, 0);
    glVertex3f(x, y, 0);
    glTexCoord2f(edge, 0);
    glVertex3f(-x, y, 0);
    glTexCoord2f(edge, 1);
    glVertex3f(-x, y, h);
    glTexCoord2f(0, 1);
    glVertex3f(x, y, h);
    glNormal3f(0, -1, 0);
    glTexCoord2f(0, 0);
    glVertex3f(-x, -y, 0);
    glTexCoord2f(edge, 0);
    glVertex3f(x, -y, 0);
    glTexCoord2f(edge, 1);
    glVertex3f(x, -y, h);
    glTexCoord2f(0, 1);
    glVertex3f(-x, -y, h);
    glEnd();
    glDisable(GL_TEXTURE_2D);

    const float inner = x - 0.01f;
    glColor3f(0.3f, 0.3f, 0.3f);
    glBegin(GL_QUADS);
    glNormal3f(1, 0, 0);
    glVertex3f(inner, -y, 0);
    glVertex3f(inner, y, 0);
    glVertex3f(inner, y, h);
    glVertex3f(inner, -y, h);
    glNormal3f(-1, 0, 0);
    glVertex3f(-inner, y, 0);
    glVertex3f(-inner, -y, 0);
    glVertex3f(-inner, -y, h);
    glVertex3f(-inner, y, h);
    glEnd();
}
} // namespace
