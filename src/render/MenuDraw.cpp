#include "render/MenuDraw.h"
#include "render/Hud.h"
#include "render/OpponentLine.h"
#include "render/Presentation.h"
#include "render/TextFont.h"
#include "scene/TextureSlots.h"
#include <GL/gl.h>

namespace {
// Each player's keys as set, in the help picture's two key panels (their places in menu units,
// as the picture draws them): four rows, then three, each the key in bold and its action.
void drawHelpKeys(const MenuView& m) {
    const float ink[3] = {0.17f, 0.14f, 0.22f}, keyInk[3] = {0.05f, 0.05f, 0.3f};
    const float panelLeft[2] = {-5.5f, 0.15f}, panelTop = -0.78f;
    for (int p = 0; p < 2; ++p) {
        const std::vector<MenuView::HelpKey>& keys = m.helpKeys[p];
        for (size_t k = 0; k < keys.size() && k < 7; ++k) {
            const int column = k < 4 ? 0 : 1,
                      row = k < 4 ? static_cast<int>(k) : static_cast<int>(k) - 4;
            const float x = panelLeft[p] + 0.22f + static_cast<float>(column) * 2.1f;
            // The baseline, within the row the picture draws from 0.62 to 0.98 under the top.
            const float y = panelTop - 0.88f - static_cast<float>(row) * 0.46f;
            // Both words within the column's 2 units: long key names are drawn smaller.
            float size = 0.22f;
            const std::string key = keys[k].key + " ", action = keys[k].action;
            const float wide = textWidth(key, size) + textWidth(action, size * 0.8f);
            if (wide > 2.0f)
                size *= 2.0f / wide;
            glPushMatrix();
            glTranslatef(x, y, 0.06f);
            glScalef(1, -1, 1);
            drawText(0, 0, size, key, keyInk);
            drawText(textWidth(key, size), 0, size * 0.8f, action, ink);
            glPopMatrix();
        }
    }
}
} // namespace

void drawMenuScene(const MenuView& m) {
    const bool help = m.helpShown;
    const float w = help ? 5.8f : 5.9f;
    const float h = help ? 4.2f : 4.3f;
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBindTexture(GL_TEXTURE_2D, m.look.textures[help ? helpPictureSlot : titlePictureSlot]);
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    glTexCoord2f(0, 1);
    glVertex3f(-w, h, 0);
    glTexCoord2f(1, 1);
    glVertex3f(w, h, 0);
    glTexCoord2f(1, 0);
    glVertex3f(w, -h, 0);
    glTexCoord2f(0, 0);
    glVertex3f(-w, -h, 0);
    glEnd();
    glDisable(GL_TEXTURE_2D);

    if (m.status && !help)
        drawMenuLine(m.status);
    if (help) {
        const GLboolean litHere = glIsEnabled(GL_LIGHTING);
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
        drawHelpKeys(m);
        glEnable(GL_DEPTH_TEST);
        if (litHere)
            glEnable(GL_LIGHTING);
    }
    const GLboolean lit = glIsEnabled(GL_LIGHTING);
    glDisable(GL_LIGHTING);
    if (m.dimmed.left < m.dimmed.right) {
        // Greyed over, as a button that is not yet to be pressed.
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glColor4f(0.55f, 0.55f, 0.55f, 0.7f);
        glBegin(GL_QUADS);
        glVertex3f(m.dimmed.left, m.dimmed.bottom, 0.05f);
        glVertex3f(m.dimmed.right, m.dimmed.bottom, 0.05f);
        glVertex3f(m.dimmed.right, m.dimmed.top, 0.05f);
        glVertex3f(m.dimmed.left, m.dimmed.top, 0.05f);
        glEnd();
        glDisable(GL_BLEND);
    }
    if (m.highlight.left < m.highlight.right) {
        // A bright yellow ring just outside the button's edge, dark-rimmed so that it reads on
        // the sky and the meadow alike.
        const MenuView::Box& b = m.highlight;
        auto ring = [&](float out, float width, float z) {
            const float l = b.left - out, r = b.right + out, d = b.bottom - out, t = b.top + out;
            const float il = l + width, ir = r - width, id = d + width, it = t - width;
            glBegin(GL_QUAD_STRIP);
            glVertex3f(l, d, z);
            glVertex3f(il, id, z);
            glVertex3f(r, d, z);
            glVertex3f(ir, id, z);
            glVertex3f(r, t, z);
            glVertex3f(ir, it, z);
            glVertex3f(l, t, z);
            glVertex3f(il, it, z);
            glVertex3f(l, d, z);
            glVertex3f(il, id, z);
            glEnd();
        };
        glColor3f(0.1f, 0.12f, 0.25f);
        ring(0.16f, 0.16f, 0.06f);
        glColor3f(1.0f, 0.86f, 0.1f);
        ring(0.12f, 0.08f, 0.07f);
    }
    if (lit)
        glEnable(GL_LIGHTING);
    if (m.opponent && !help)
        drawOpponentLine(m.opponent);
    const float mx = m.mouseX, my = m.mouseY;
    glColor3f(0.5f, 0.5f, 0.5f);
    glBegin(GL_TRIANGLES);
    glVertex3f(mx, my, 0.1f);
    glVertex3f(mx - 0.1f, my - 0.2f, 0.1f);
    glVertex3f(mx, my - 0.17f, 0.1f);
    glVertex3f(mx, my, 0.1f);
    glVertex3f(mx + 0.1f, my - 0.2f, 0.1f);
    glVertex3f(mx, my - 0.17f, 0.1f);
    glEnd();
}
