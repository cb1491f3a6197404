#include "render/Views.h"
#include "actors/ObjectDrawing.h"
#include "app/Game.h"
#include "app/Menu.h"
#include "render/Hud.h"
#include "render/ViewLayout.h"
#include <GL/gl.h>
#include <GL/glu.h>

namespace {
const float shadowLight[4] = {7.5f, 7.5f, 10.0f, 1.0f};
const float groundPlane[4] = {0, 0, 1, 1};

void setView(int x, int y, int w, int h, double aspect, double nearPlane) {
    glViewport(x, y, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, aspect, nearPlane, 150.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void drawCreatures(const Game& g, bool shadowPass) {
    for (int n = 1; n <= 4; ++n)
        g.creature(n).draw(shadowPass);
}

// Planar shadows of the figures, masked by the stencil so each ground pixel darkens once.
void shadowPass(const Game& g) {
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDepthMask(GL_FALSE);
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_ALWAYS, 1, 0xFFFFFFFFu);
    glStencilOp(GL_REPLACE, GL_REPLACE, GL_REPLACE);
    g.scenery.drawOverviewGround();

    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glStencilFunc(GL_EQUAL, 1, 0xFFFFFFFFu);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    g.scenery.drawOverviewGround();

    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    float m[16];
    shadowMatrix(groundPlane, shadowLight, m);

    auto castShadow = [&](float x, float y, auto&& drawActor) {
        glPushMatrix();
        glTranslatef((shadowLight[0] - x) * 0.1f, (shadowLight[1] - y) * 0.1f,
                     shadowLight[2] * 0.1f);
        glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);
        glMultMatrixf(m);
        drawActor();
        glPopMatrix();
    };
    castShadow(g.player1.x, g.player1.y, [&] { g.player1.draw(true); });
    castShadow(g.player2.x, g.player2.y, [&] { g.player2.draw(true); });
    for (int n = 1; n <= 4; ++n) {
        const Creature& c = g.creature(n);
        castShadow(c.x, c.y, [&] { c.draw(true); });
    }

    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glDisable(GL_STENCIL_TEST);
}

void overviewScene(const Game& g) {
    if (g.shadowsOn)
        shadowPass(g);
    g.scenery.drawDecoration();
    g.scenery.drawOverviewGround();
    drawArenaItems(g.world);
    g.particles.drawSnow(g.seasonPhase);
    g.player1.draw(false);
    g.player2.draw(false);
    drawCreatures(g, false);
}
} // namespace

void drawOverview(const Game& g) {
    setView(0, splitHeight, windowWidth, windowHeight - splitHeight,
            static_cast<double>(windowWidth) / (windowHeight - splitHeight), 1.0);
    g.sceneLight.enable();
    g.overviewCamera.apply();
    drawHud(g);
    overviewScene(g);
    g.sceneLight.disable();
}

void drawPlayerView(const Game& g, int n) {
    const int x = n == 1 ? 0 : windowWidth / 2;
    setView(x, 0, windowWidth / 2, splitHeight, (windowWidth / 2.0) / splitHeight, 0.5);
    const Player& self = g.player(n);
    const Player& other = g.player(3 - n);
    const bool inLabyrinth = g.world.freeRoam[n - 1];
    const bool otherInLabyrinth = g.world.freeRoam[2 - n];
    const Light& light = inLabyrinth ? g.spotLight : g.sceneLight;
    light.enable();
    g.playerCamera(n).apply();

    self.draw(false);
    if (inLabyrinth) {
        drawLabyrinthView(g.world);
        if (otherInLabyrinth)
            other.draw(false);
    } else {
        g.scenery.drawViewGround(self.x, self.y, self.dirX, self.dirY);
        drawItemsAround(g.world, self.x, self.y, self.dirX, self.dirY);
        g.particles.drawSnow(g.seasonPhase);
        drawCreatures(g, false);
        if (!otherInLabyrinth)
            other.draw(false);
    }
    light.disable();
}

void drawGameFrame(const Game& g) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawOverview(g);
    drawPlayerView(g, 1);
    drawPlayerView(g, 2);
}

void drawMenuFrame(Game& g) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, windowWidth, windowHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(windowWidth) / windowHeight, 1.0, 150.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    g.sceneLight.enable();
    g.menuCamera.apply();
    drawMenuScene(g);
    g.sceneLight.disable();
}
