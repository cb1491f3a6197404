#include "render/OpponentLine.h"
#include "render/TextFont.h"
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <cstring>

namespace {
// The band's extent in menu units, as the click area has it (screens/OpponentChoice.h).
constexpr float left = -3.2f, right = 3.2f, bottom = -1.38f, top = -0.95f;
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
    // White letters on a dark rim centred on the band, in menu units (drawn with y down).
    const float white[3] = {1, 1, 1}, rim[3] = {0.05f, 0.08f, 0.2f};
    // A line too long for the band (two computer players named) is written smaller.
    float size = (top - bottom) * 0.6f;
    const float room = (right - left) * 0.94f;
    if (textWidth(text, size) > room)
        size *= room / textWidth(text, size);
    glPushMatrix();
    glTranslatef(0, (bottom + top) / 2 - size * 0.36f, 0.06f);
    glScalef(1, -1, 1);
    drawText(-textWidth(text, size) / 2, 0, size, text, white, rim);
    glPopMatrix();
    glEnable(GL_DEPTH_TEST);
    if (lit)
        glEnable(GL_LIGHTING);
}
