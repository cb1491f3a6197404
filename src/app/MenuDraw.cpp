#include "app/Game.h"
#include "app/Menu.h"
#include <GL/gl.h>

void drawMenuScene(Game& g) {
    const bool help = g.helpShown == 1;
    const float w = help ? 5.8f : 5.9f;
    const float h = help ? 4.2f : 4.3f;
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBindTexture(GL_TEXTURE_2D, g.textures[help ? 60 : 61]);
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

    const float mx = g.mouseX, my = g.mouseY;
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
