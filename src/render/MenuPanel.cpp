#include "render/MenuPanel.h"
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>

namespace {
// The face colour of the title's START button: the highlight is the game's own orange.
constexpr float highlight[3] = {238 / 255.0f, 92 / 255.0f, 44 / 255.0f};

void box(int left, int top, int right, int bottom) {
    glBegin(GL_QUADS);
    glVertex2i(left, top);
    glVertex2i(right, top);
    glVertex2i(right, bottom);
    glVertex2i(left, bottom);
    glEnd();
}

void write(int x, int y, const std::string& text) {
    glRasterPos2i(x, y);
    for (char c : text)
        glutBitmapCharacter(GLUT_BITMAP_9_BY_15, c);
}

int textWidth(const std::string& text) {
    return 9 * static_cast<int>(text.size());
}
} // namespace

void drawMenuPanel(const FrameRect& frame, const MenuPanel& p) {
    glPushAttrib(GL_ENABLE_BIT | GL_VIEWPORT_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_FOG);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glViewport(frame.x, frame.y, frame.width, frame.height);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0, windowWidth, windowHeight, 0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    const int bottom = p.bottom() + (p.notice.empty() ? 0 : p.rowHeight);
    // A dark rim and a pale face, like the panels of the help picture.
    glColor4f(0.1f, 0.12f, 0.25f, 0.85f);
    box(p.left - 4, p.top - 4, p.right + 4, bottom + 4);
    glColor4f(1.0f, 0.97f, 0.86f, 0.93f);
    box(p.left, p.top, p.right, bottom);
    glDisable(GL_BLEND);

    glColor3f(0.1f, 0.12f, 0.25f);
    write((p.left + p.right - textWidth(p.title)) / 2, p.top + p.rowHeight - 6, p.title);
    const int middle = p.valueMiddle();
    for (int n = 0; n < static_cast<int>(p.rows.size()); ++n) {
        const MenuPanel::Row& row = p.rows[n];
        const int top = p.rowTop(n);
        const bool focused = n == p.focus;
        if (focused) {
            glColor3fv(highlight);
            box(p.left + 8, top + 2, p.right - 8, top + p.rowHeight - 2);
        }
        if (focused)
            glColor3f(1, 1, 1);
        else if (row.dimmed)
            glColor3f(0.55f, 0.55f, 0.55f);
        else
            glColor3f(0.1f, 0.12f, 0.25f);
        const int baseline = top + p.rowHeight - 7;
        if (!p.withValues) {
            write((p.left + p.right - textWidth(row.label)) / 2, baseline, row.label);
            continue;
        }
        write(p.left + 24, baseline, row.label);
        if (!row.value.empty()) {
            write(middle - textWidth(row.value) / 2, baseline, row.value);
            if (focused && row.adjustable) {
                write(middle - 90, baseline, "<");
                write(middle + 82, baseline, ">");
            }
        }
    }
    if (!p.notice.empty()) {
        glColor3f(0.75f, 0.1f, 0.05f);
        write((p.left + p.right - textWidth(p.notice)) / 2,
              p.rowTop(static_cast<int>(p.rows.size())) + p.rowHeight + 17, p.notice);
    }

    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}
