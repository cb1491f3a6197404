#include "render/WorldModels.h"
#include "render/TextureTable.h"
#include "scene/TextureSlots.h"
#include "world/MazeWorld.h"
#include <GL/gl.h>

namespace {
unsigned int textureOf(const TextureTable* textures, int32_t slot) {
    return textures && slot >= 0 && slot < TextureTable::slotCount ? (*textures)[slot] : 0;
}

void drawWallSegment(const TextureTable* textures, float thickness, float height);

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
    labyrinthWall = glGenLists(1);
    glNewList(labyrinthWall, GL_COMPILE);
    drawWallSegment(textures, maze.wallThickness, maze.wallHeight);
    glEndList();
}

namespace {
// One labyrinth wall segment, a cell long, standing across the origin along y.
void drawWallSegment(const TextureTable* textures, float t, float h) {
    const float x = t / 2, y = (1 + t) / 2;
    // Ends, top and bottom show a thin strip of the wall picture, like its cut edge.
    const float edge = 0.0625f;
    glColor3f(1, 1, 1);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBindTexture(GL_TEXTURE_2D, textureOf(textures, labyrinthWallSlot));
    glBegin(GL_QUADS);
    glNormal3f(1, 0, 0);
    glTexCoord2f(0, 0);
    glVertex3f(x, -y, 0);
    glTexCoord2f(1, 0);
    glVertex3f(x, y, 0);
    glTexCoord2f(1, 1);
    glVertex3f(x, y, h);
    glTexCoord2f(0, 1);
    glVertex3f(x, -y, h);
    glNormal3f(-1, 0, 0);
    glTexCoord2f(0, 0);
    glVertex3f(-x, y, 0);
    glTexCoord2f(1, 0);
    glVertex3f(-x, -y, 0);
    glTexCoord2f(1, 1);
    glVertex3f(-x, -y, h);
    glTexCoord2f(0, 1);
    glVertex3f(-x, y, h);
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
