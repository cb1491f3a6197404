#include "render/MenuDraw.h"
#include "render/Hud.h"
#include "render/OpponentLine.h"
#include "render/Presentation.h"
#include "scene/TextureSlots.h"
#include <GL/gl.h>

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
