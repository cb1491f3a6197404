#include "render/MenuPanel.h"
#include "render/TextFont.h"
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

// The letters' size, a little under a row's height.
float letterSize(const MenuPanel& p) {
    return static_cast<float>(p.rowHeight) * 0.68f;
}

int widthOf(const MenuPanel& p, const std::string& text) {
    return static_cast<int>(textWidth(text, letterSize(p)) + 0.5f);
}
} // namespace

void drawMenuPanel(const FrameRect& frame, const MenuPanel& p) {
    beginFramePixels(frame);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    const int bottom = p.bottom() + (p.notice.empty() ? 0 : p.rowHeight);
    // A dark rim and a pale face, like the panels of the help picture; the face is solid, so
    // that no text of the picture or panel underneath shows through between the entries.
    glColor4f(0.1f, 0.12f, 0.25f, 0.85f);
    box(p.left - 4, p.top - 4, p.right + 4, bottom + 4);
    glColor4f(1.0f, 0.97f, 0.86f, 1.0f);
    box(p.left, p.top, p.right, bottom);
    glDisable(GL_BLEND);

    const float ink[3] = {0.1f, 0.12f, 0.25f}, white[3] = {1, 1, 1};
    const float grey[3] = {0.55f, 0.55f, 0.55f}, red[3] = {0.75f, 0.1f, 0.05f};
    const float size = letterSize(p);
    auto write = [&](int x, int y, const std::string& text, const float* colour) {
        drawText(static_cast<float>(x), static_cast<float>(y), size, text, colour);
    };
    // The title as the title picture writes its words: yellow on a dark rim, a little larger.
    const float yellow[3] = {1.0f, 0.84f, 0.24f};
    const float titleSize = size * 1.25f;
    drawText((static_cast<float>(p.left + p.right) - textWidth(p.title, titleSize)) / 2,
             static_cast<float>(p.top + p.rowHeight - 4), titleSize, p.title, yellow, ink);
    const int middle = p.valueMiddle();
    for (int n = 0; n < static_cast<int>(p.rows.size()); ++n) {
        const MenuPanel::Row& row = p.rows[n];
        const int top = p.rowTop(n);
        const bool focused = n == p.focus;
        if (focused) {
            glColor3fv(highlight);
            box(p.left + 8, top + 2, p.right - 8, top + p.rowHeight - 2);
        }
        const float* colour = focused ? white : row.dimmed ? grey : ink;
        const int baseline = top + p.rowHeight * 3 / 4;
        if (!p.withValues) {
            write((p.left + p.right - widthOf(p, row.label)) / 2, baseline, row.label, colour);
            continue;
        }
        write(p.left + 24, baseline, row.label, colour);
        if (!row.value.empty()) {
            write(middle - widthOf(p, row.value) / 2, baseline, row.value, colour);
            if (focused && row.adjustable) {
                write(middle - 90, baseline, "<", colour);
                write(middle + 82, baseline, ">", colour);
            }
        }
    }
    if (!p.notice.empty())
        write((p.left + p.right - widthOf(p, p.notice)) / 2,
              p.rowTop(static_cast<int>(p.rows.size())) + p.rowHeight * 7 / 4, p.notice, red);
    endFramePixels();
}

void beginFramePixels(const FrameRect& frame) {
    glPushAttrib(GL_ENABLE_BIT | GL_VIEWPORT_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_FOG);
    glDisable(GL_BLEND);
    glViewport(frame.x, frame.y, frame.width, frame.height);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0, windowWidth, windowHeight, 0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void endFramePixels() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}
