#include "render/Views.h"
#include "actors/Creature.h"
#include "actors/Particles.h"
#include "actors/Player.h"
#include "render/CameraGl.h"
#include "render/FigureModels.h"
#include "render/Hud.h"
#include "render/MenuDraw.h"
#include "render/ObjectDrawing.h"
#include "render/ParticlesDraw.h"
#include "render/Presentation.h"
#include "render/ViewLayout.h"
#include "scene/Camera.h"
#include "world/MazeWorld.h"
#include <GL/gl.h>
#include <GL/glu.h>

namespace {
const float shadowLight[4] = {7.5f, 7.5f, 10.0f, 1.0f};
const float groundPlane[4] = {0, 0, 1, 1};

// A view's rectangle of the frame, in design pixels, placed where the frame lies in the window.
void setView(const FrameRect& frame, int x, int y, int w, int h, double aspect, double nearPlane) {
    const FrameRect::Pixels p = frame.place(x, y, w, h);
    glViewport(p.x, p.y, p.width, p.height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, aspect, nearPlane, 150.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void drawPlayerFigure(const RoundView& v, int n, bool shadowPass) {
    drawPlayer(v.player(n), v.look.figures[n - 1], v.look.models, shadowPass);
}

void drawCreatures(const RoundView& v, bool shadowPass) {
    for (const Creature* c : v.creatures)
        drawCreature(*c, shadowPass);
}

// Planar shadows of the figures, masked by the stencil so each ground pixel darkens once.
void shadowPass(const RoundView& v) {
    const Scenery& scenery = v.look.scenery;
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDepthMask(GL_FALSE);
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_ALWAYS, 1, 0xFFFFFFFFu);
    glStencilOp(GL_REPLACE, GL_REPLACE, GL_REPLACE);
    scenery.drawOverviewGround(v.seasonStep);

    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glStencilFunc(GL_EQUAL, 1, 0xFFFFFFFFu);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    scenery.drawOverviewGround(v.seasonStep);

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
    for (int n = 1; n <= 2; ++n)
        castShadow(v.player(n).x, v.player(n).y, [&] { drawPlayerFigure(v, n, true); });
    for (const Creature* c : v.creatures)
        castShadow(c->x, c->y, [&] { drawCreature(*c, true); });

    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glDisable(GL_STENCIL_TEST);
}

void overviewScene(const RoundView& v) {
    const WorldLook look{v.look.models, &v.look.textures};
    if (v.shadowsOn)
        shadowPass(v);
    v.look.scenery.drawDecoration();
    v.look.scenery.drawOverviewGround(v.seasonStep);
    drawArenaItems(v.world, look);
    drawSnow(v.particles, v.seasonPhase, &v.look.textures);
    drawPlayerFigure(v, 1, false);
    drawPlayerFigure(v, 2, false);
    drawCreatures(v, false);
}
} // namespace

void drawOverview(const RoundView& v) {
    setView(v.look.frame, 0, splitHeight, windowWidth, windowHeight - splitHeight,
            static_cast<double>(windowWidth) / (windowHeight - splitHeight), 1.0);
    v.look.sceneLight.enable();
    applyCamera(v.overviewCamera);
    drawHud(v);
    overviewScene(v);
    v.look.sceneLight.disable();
}

void drawPlayerView(const RoundView& v, int n) {
    const int x = n == 1 ? 0 : windowWidth / 2;
    setView(v.look.frame, x, 0, windowWidth / 2, splitHeight, (windowWidth / 2.0) / splitHeight,
            0.5);
    const Player& self = v.player(n);
    const bool inLabyrinth = v.world.freeRoam[n - 1];
    const bool otherInLabyrinth = v.world.freeRoam[2 - n];
    const Light& light = inLabyrinth ? v.look.spotLight : v.look.sceneLight;
    const WorldLook look{v.look.models, &v.look.textures};
    light.enable();
    applyCamera(*v.playerCameras[n - 1]);

    drawPlayerFigure(v, n, false);
    if (inLabyrinth) {
        drawLabyrinthView(v.world, look);
        if (otherInLabyrinth)
            drawPlayerFigure(v, 3 - n, false);
    } else {
        v.look.scenery.drawViewGround(self.x, self.y, self.dirX, self.dirY, v.seasonStep);
        drawItemsAround(v.world, look, self.x, self.y, self.dirX, self.dirY);
        drawSnow(v.particles, v.seasonPhase, &v.look.textures);
        drawCreatures(v, false);
        if (!otherInLabyrinth)
            drawPlayerFigure(v, 3 - n, false);
    }
    light.disable();
}

void drawGameFrame(const RoundView& v) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawOverview(v);
    drawPlayerView(v, 1);
    drawPlayerView(v, 2);
}

void drawMenuFrame(const MenuView& m) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    setView(m.look.frame, 0, 0, windowWidth, windowHeight,
            static_cast<double>(windowWidth) / windowHeight, 1.0);
    m.look.sceneLight.enable();
    applyCamera(m.menuCamera);
    drawMenuScene(m);
    m.look.sceneLight.disable();
}
