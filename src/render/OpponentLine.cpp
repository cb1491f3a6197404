#include "render/OpponentLine.h"
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <cstring>

namespace {
// The band's extent in menu units, as the click area has it (app/OpponentChoice.h).
constexpr float left = -1.9f, right = 1.9f, bottom = -1.38f, top = -0.95f;
} // namespace

void drawOpponentLine(const char* text) {
    const GLboolean lit = glIsEnabled(GL_LIGHTING);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.12f, 0.2f, 0.45f, 0.85f);
    glBegin(GL_QUADS);
    glVertex3f(left, bottom, 0.05f);
    glVertex3f(right, bottom, 0.05f);
    glVertex3f(right, top, 0.05f);
    glVertex3f(left, top, 0.05f);
    glEnd();
    glDisable(GL_BLEND);
    // White letters centred on the band: the raster position is set in menu units, then moved
    // back by half the line's width in pixels.
    glColor3f(1, 1, 1);
    glRasterPos3f(0, (bottom + top) / 2, 0.06f);
    const float width = 9.0f * static_cast<float>(std::strlen(text));
    glBitmap(0, 0, 0, 0, -width / 2, -5, nullptr);
    for (const char* c = text; *c; ++c)
        glutBitmapCharacter(GLUT_BITMAP_9_BY_15, *c);
    glEnable(GL_DEPTH_TEST);
    if (lit)
        glEnable(GL_LIGHTING);
}
