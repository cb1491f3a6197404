#include "render/DoorMarkers.h"
#include "world/ArenaLayout.h"
#include <GL/gl.h>

namespace {
// An arrow flat on the ground at the door cell's centre, pointing into the house, `grow` wider
// all round (for its dark rim). Lengths in cells.
void arrow(const arena::HouseDoor& d, float grow, float z) {
    const float cx = d.centreX(), cy = d.centreY();
    // Into the house, and across.
    const float ax = static_cast<float>(-d.outX), ay = static_cast<float>(-d.outY);
    const float bx = -ay, by = ax;
    auto at = [&](float a, float b) { glVertex3f(cx + ax * a + bx * b, cy + ay * a + by * b, z); };
    const float tip = 0.42f + grow, neck = 0.02f - grow, head = 0.36f + grow;
    const float back = 0.4f + grow, shaft = 0.13f + grow;
    glBegin(GL_TRIANGLES);
    at(tip, 0);
    at(neck, head);
    at(neck, -head);
    at(neck + 0.01f, shaft);
    at(-back, shaft);
    at(-back, -shaft);
    at(neck + 0.01f, shaft);
    at(-back, -shaft);
    at(neck + 0.01f, -shaft);
    glEnd();
}
} // namespace

void drawDoorMarkers() {
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_POLYGON_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glDisable(GL_FOG);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    // Laid on the ground without fighting it for depth.
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(-2, -8);
    for (const arena::HouseDoor& d : arena::houseDoors) {
        glColor3f(0.15f, 0.08f, 0.02f);
        arrow(d, 0.06f, 0.015f);
        glColor3f(1.0f, 0.78f, 0.1f);
        arrow(d, 0, 0.02f);
    }
    glPopAttrib();
}
