#include "render/Views.h"
#include "render/DoorMarkers.h"
#include "actors/ArenaAnimation.h"
#include "actors/Creature.h"
#include "actors/Particles.h"
#include "actors/Player.h"
#include "render/CameraGl.h"
#include "render/FigureModels.h"
#include "render/Hud.h"
#include "render/MenuDraw.h"
#include "render/ObjectDrawing.h"
#include "render/Overlays.h"
#include "render/ParticlesDraw.h"
#include "render/Presentation.h"
#include "render/SceneBuffer.h"
#include "render/TextureTable.h"
#include "render/ViewFrustum.h"
#include "render/ViewLayout.h"
#include "scene/Camera.h"
#include "world/Bomb.h"
#include "world/MazeWorld.h"
#include "world/Seasons.h"
#include "world/Tuning.h"
#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {
const float shadowLight[4] = {7.5f, 7.5f, 10.0f, 1.0f};
const float groundPlane[4] = {0, 0, 1, 1};
// A figure's middle height and the reach of its pieces from there, in world units.
constexpr float figureMiddle = 0.35f;
constexpr float figureReach = 0.4f;
constexpr float nearestFigureDistance = 0.1f;

// A view's rectangle of the frame, in frame pixels, placed where the frame lies in the window.
void setView(const FrameRect& frame, int x, int y, int w, int h, double aspect, double nearPlane) {
    const FrameRect::Pixels p = frame.place(x, y, w, h);
    glViewport(p.x, p.y, p.width, p.height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, aspect, nearPlane, 150.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// How many pixels a world unit spans on screen one unit before the eye, under the current
// projection and viewport.
float pixelsPerUnitAtOne() {
    GLint viewport[4];
    float projection[16];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    return projection[5] * static_cast<float>(viewport[3]) / 2;
}

// How many pixels a world unit spans on screen at a figure standing at (x, y), seen by `camera`
// under the current projection and viewport; 0 (full detail) when the round asks for it.
float figurePixelsPerUnit(const RoundView& v, const Camera& camera, float x, float y) {
    if (v.look.fullDetail)
        return 0;
    const Vector3 centre{x, y, figureMiddle};
    const Vector3 gap = centre - camera.position;
    // Measured to the figure's nearest point, so no part of it is cut too coarsely.
    const float distance =
        std::max(std::sqrt(gap.x * gap.x + gap.y * gap.y + gap.z * gap.z) - figureReach,
                 nearestFigureDistance);
    return pixelsPerUnitAtOne() / distance;
}

// A shadow is one flat dark shape laid on the ground: its outline may stray a pixel where the
// figure's stays within half of one, so it is cut as a figure this much smaller.
constexpr float shadowSizeShare = 0.5f;

// `camera` is the view's; null draws the figure at the full count.
void drawPlayerFigure(const RoundView& v, int n, bool shadowPass, const Camera* camera) {
    const Player& p = v.player(n);
    if (figureBlinkedOut(v, n))
        return;
    const float size = camera ? figurePixelsPerUnit(v, *camera, p.x, p.y) : 0;
    drawPlayer(p, v.look.figures[n - 1], v.look.models, shadowPass,
               shadowPass ? size * shadowSizeShare : size);
}

void drawCreatureFigure(const RoundView& v, const Creature& c, bool shadowPass,
                        const Camera& camera) {
    const float size = figurePixelsPerUnit(v, camera, c.x, c.y);
    drawCreature(v.world, c, shadowPass, &v.look.figures[0],
                 shadowPass ? size * shadowSizeShare : size);
}

void drawCreatures(const RoundView& v, bool shadowPass, const Camera& camera) {
    for (const Creature* c : v.creatures)
        drawCreatureFigure(v, *c, shadowPass, camera);
}

// The ground's pixels get stencil 1 and are drawn again where they hold it: the figures'
// shadows then darken only the ground.
void markShadowGround(const RoundView& v) {
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
}

// Planar shadows of the figures on the pixels whose stencil is 1, each darkened once.
void castShadows(const RoundView& v) {
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_EQUAL, 1, 0xFFFFFFFFu);
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
        castShadow(v.player(n).x, v.player(n).y,
                   [&] { drawPlayerFigure(v, n, true, &v.overviewCamera); });
    for (const Creature* c : v.creatures)
        castShadow(c->x, c->y, [&] { drawCreatureFigure(v, *c, true, v.overviewCamera); });

    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glDisable(GL_STENCIL_TEST);
}

// Which obstacles stand, where, and in what shape and colour: a hash that changes when one goes.
uint64_t standingObstacles(const MazeWorld& world) {
    uint64_t hash = 14695981039346656037ull;
    auto mix = [&hash](const void* data, std::size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t k = 0; k < size; ++k)
            hash = (hash ^ bytes[k]) * 1099511628211ull;
    };
    for (int i = 0; i < world.obstacleCount && i < MazeWorld::obstacleTotal; ++i) {
        const Obstacle* o = &world.obstacles[i];
        if (o->destroyed)
            continue;
        mix(&i, sizeof i);
        mix(&o->x, sizeof o->x);
        mix(&o->y, sizeof o->y);
        mix(o->shape, sizeof o->shape);
        mix(&o->colourR, sizeof o->colourR);
        mix(&o->colourG, sizeof o->colourG);
        mix(&o->colourB, sizeof o->colourB);
    }
    return hash;
}

// Where what moves in the overview may draw with depth or stencil, as boxes of the view's pixels:
// round every figure (and the shadow it casts), bomb, uncovered item, cheese, laid wall and trap
// and burning cell, each taken as a box standing on the ground, projected under the current
// camera and cut into tiles; the tiles touched, joined into as few boxes as they allow. The
// snow, drawn without depth or stencil, needs none.
std::vector<OverviewStillLayer::Box> movingBoxes(const RoundView& v) {
    GLint vp[4];
    double modelview[16], projection[16];
    glGetIntegerv(GL_VIEWPORT, vp);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    constexpr int tile = 32;
    // A pixel or two of rounding and of lines drawn wider than their vertices.
    constexpr double margin = 3;
    const int columns = (vp[2] + tile - 1) / tile, rows = (vp[3] + tile - 1) / tile;
    std::vector<char> touched(static_cast<size_t>(columns) * rows, 0);
    auto mark = [&](float x, float y, float reach, float top) {
        double left = 1e30, bottom = 1e30, right = -1e30, up = -1e30;
        for (int k = 0; k < 8; ++k) {
            const double cx = x + ((k & 1) ? reach : -reach);
            const double cy = y + ((k & 2) ? reach : -reach);
            const double cz = (k & 4) ? top : -0.1;
            double sx = 0, sy = 0, sz = 0;
            if (gluProject(cx, cy, cz, modelview, projection, vp, &sx, &sy, &sz) == GL_FALSE ||
                sz < 0 || sz > 1) {
                // Behind the eye: the whole view, to be safe.
                std::fill(touched.begin(), touched.end(), 1);
                return;
            }
            left = std::min(left, sx - vp[0]);
            right = std::max(right, sx - vp[0]);
            bottom = std::min(bottom, sy - vp[1]);
            up = std::max(up, sy - vp[1]);
        }
        const int c0 = std::max(0, static_cast<int>(std::floor((left - margin) / tile)));
        const int c1 = std::min(columns - 1, static_cast<int>(std::floor((right + margin) / tile)));
        const int r0 = std::max(0, static_cast<int>(std::floor((bottom - margin) / tile)));
        const int r1 = std::min(rows - 1, static_cast<int>(std::floor((up + margin) / tile)));
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c)
                touched[static_cast<size_t>(r) * columns + c] = 1;
    };
    // A figure's pieces reach about 0.4 from its middle and 0.9 up; its shadow, projected from
    // the light and moved toward it, falls within about two cells.
    auto figure = [&](float x, float y) {
        mark(x, y, 1.0f, 1.4f);
        if (v.shadowsOn)
            mark(x, y, 3.0f, 1.4f);
    };
    for (int n = 1; n <= 2; ++n) {
        const Player& p = v.player(n);
        figure(p.x, p.y);
        for (const Bomb& bomb : p.bombs)
            if (bomb.lyingUnexploded())
                mark(bomb.x, bomb.y, 0.8f, 1.0f);
    }
    for (const Creature* c : v.creatures)
        if (c->inPlay(v.world))
            figure(c->x, c->y);
    const MazeWorld& world = v.world;
    for (int i = 0; i < world.itemCount && i < MazeWorld::itemTotal; ++i) {
        const Item* item = &world.items[i];
        if (item->type == 0)
            continue;
        if (i >= MazeWorld::firstCheese ? item->taken <= 0
                                        : item->taken == 0 && itemUncovered(world, *item))
            mark(item->x, item->y, 1.0f, 1.6f);
    }
    for (int i = 0; i < MazeWorld::poolSize; ++i) {
        if (!world.walls[i].free)
            mark(world.walls[i].x, world.walls[i].y, 0.8f, 0.8f);
        if (!world.traps[i].free)
            mark(world.traps[i].x, world.traps[i].y, 0.8f, 0.8f);
    }
    for (const BurningCell& b : world.burning())
        mark(static_cast<float>(b.x) + 0.5f, static_cast<float>(b.y) + 0.5f, 1.5f, 2.0f);

    // Runs of touched tiles along each row, a run joined to the box above it when both span the
    // same columns.
    std::vector<OverviewStillLayer::Box> boxes;
    std::vector<int> open;
    for (int r = 0; r < rows; ++r) {
        std::vector<int> next;
        for (int c = 0; c < columns;) {
            if (!touched[static_cast<size_t>(r) * columns + c]) {
                ++c;
                continue;
            }
            const int start = c;
            while (c < columns && touched[static_cast<size_t>(r) * columns + c])
                ++c;
            const int x0 = start * tile, x1 = std::min(c * tile, vp[2]);
            const int y0 = r * tile, y1 = std::min((r + 1) * tile, vp[3]);
            bool joined = false;
            for (int k : open) {
                OverviewStillLayer::Box& b = boxes[static_cast<size_t>(k)];
                if (b.x0 == x0 && b.x1 == x1 && b.y1 == y0) {
                    b.y1 = y1;
                    next.push_back(k);
                    joined = true;
                    break;
                }
            }
            if (!joined) {
                next.push_back(static_cast<int>(boxes.size()));
                boxes.push_back({x0, y0, x1, y1});
            }
        }
        open = next;
    }
    return boxes;
}

// The overview's unchanging picture copied into the view; false when it has to be drawn.
bool showStillLayer(const RoundView& v) {
    const Scenery& scenery = v.look.scenery;
    ObstacleLists& lists = v.look.obstacleLists;
    // The ground goes last, as in the drawn overview, so that what follows finds the current
    // normal and colour it leaves.
    // Each part is handed on by itself: the picture is made seldom, but all at once it is the
    // largest part of any frame.
    const OverviewStillLayer::Part parts[3] = {
        {[&] {
             scenery.drawDecoration(true);
             v.look.handOver.handOn();
         },
         0},
        {[&] {
             for (int i = 0; i < v.world.obstacleCount && i < MazeWorld::obstacleTotal; ++i)
                 drawObstacle(v.world.obstacles[i], &lists);
             v.look.handOver.handOn();
         },
         obstacleStencil},
        {[&] { scenery.drawOverviewGround(v.seasonStep); }, 1}};
    OverviewStillLayer::Key key;
    key.seasonStep = v.seasonStep;
    key.obstacles = standingObstacles(v.world);
    // The shadows keep to the ground and the fire off the obstacles by the picture's stencil.
    const std::vector<OverviewStillLayer::Box> boxes = movingBoxes(v);
    return v.look.overviewStill.show(key, parts, 3, &boxes);
}

// What drawing the world's objects in a view takes from the presentation.
WorldLook worldLook(const RoundView& v) {
    WorldLook look{v.look.models, &v.look.textures,
                   v.look.fullDetail ? nullptr : &v.look.blastSprite, v.look.frameNumber};
    if (!v.look.fullDetail)
        look.obstacleLists = &v.look.obstacleLists;
    return look;
}

// `stillShown`: the ground, hedges, buildings and obstacles are in the view already.
void overviewScene(const RoundView& v, bool stillShown) {
    WorldLook look = worldLook(v);
    if (stillShown) {
        look.obstaclesShown = true;
        if (v.shadowsOn)
            castShadows(v);
        v.look.overviewStill.leaveCurrentAsParts();
    } else {
        if (v.shadowsOn) {
            markShadowGround(v);
            castShadows(v);
        }
        v.look.scenery.drawDecoration(!v.look.fullDetail);
        v.look.scenery.drawOverviewGround(v.seasonStep);
    }
    drawArenaItems(v.world, look);
    drawSnow(v.particles, v.seasonPhase, &v.look.textures);
    drawPlayerFigure(v, 1, false, &v.overviewCamera);
    drawPlayerFigure(v, 2, false, &v.overviewCamera);
    drawCreatures(v, false, v.overviewCamera);
}
// In the labyrinth the camera may stand close behind the figure, with a wall just behind it.
void playerViewport(const RoundView& v, const FrameRect& frame, int n) {
    const int x = n == 1 ? 0 : windowWidth / 2;
    setView(frame, x, 0, windowWidth / 2, splitHeight, (windowWidth / 2.0) / splitHeight,
            v.world.freeRoam[n - 1] ? 0.05 : 0.5);
}

// Player n's scene in `frame`, without what lies over it.
void playerPicture(const RoundView& v, const FrameRect& frame, int n) {
    holdSeasonPictures(v.look.textures, v.seasonStep, false);
    playerViewport(v, frame, n);
    const Player& self = v.player(n);
    const bool inLabyrinth = v.world.freeRoam[n - 1];
    const bool otherInLabyrinth = v.world.freeRoam[2 - n];
    const Light& light = inLabyrinth ? v.look.spotLight : v.look.sceneLight;
    WorldLook look = worldLook(v);
    const Camera& camera = *v.playerCameras[n - 1];
    light.enable();
    applyCamera(camera);
    const ViewFrustum frustum = ViewFrustum::current();
    const float eye[2] = {camera.position.x, camera.position.y};
    const Vector3 looking = camera.viewDirection();
    const float aheadLength = std::sqrt(looking.x * looking.x + looking.y * looking.y);
    const float ahead[2] = {aheadLength > 0 ? looking.x / aheadLength : 0,
                            aheadLength > 0 ? looking.y / aheadLength : 1};
    if (!v.look.fullDetail) {
        look.frustum = &frustum;
        look.eye = eye;
        look.ahead = ahead;
        look.pixelsPerUnitAtOne = pixelsPerUnitAtOne();
        look.obstaclePictures = &v.look.obstaclePictures;
    }

    // The own figure too is cut to its size on screen, as every figure is.
    drawPlayerFigure(v, n, false, &camera);
    if (inLabyrinth) {
        drawLabyrinthView(v.world, look, v.look.fullDetail ? nullptr : eye);
        if (otherInLabyrinth)
            drawPlayerFigure(v, 3 - n, false, &camera);
    } else if (v.look.fullDetail || v.world.anyBurning()) {
        // The fire is laid over what is drawn before it, without depth, and under what follows:
        // with fire burning everything keeps its order, the backdrop first.
        const bool quick = !v.look.fullDetail;
        if (quick)
            v.look.scenery.drawViewBackdrop(v.seasonStep, look.eye);
        v.look.scenery.drawViewGround(self.x, self.y, self.dirX, self.dirY, v.seasonStep,
                                      look.frustum, quick, !quick, look.eye);
        v.look.handOver.handOn();
        drawItemsAround(v.world, look, self.x, self.y, self.dirX, self.dirY);
        drawDoorMarkers();
        drawSnow(v.particles, v.seasonPhase, &v.look.textures, look.frustum);
        drawCreatures(v, false, camera);
        if (!otherInLabyrinth)
            drawPlayerFigure(v, 3 - n, false, &camera);
    } else {
        // Near to far in kind: what stands on the ground first, then the ground and the backdrop
        // behind it all, whose covered pixels the depth test then rejects before they are
        // filled. The snow, laid over without depth, still goes after what it covers and
        // before the figures that cover it.
        v.look.scenery.drawViewGround(self.x, self.y, self.dirX, self.dirY, v.seasonStep,
                                      look.frustum, true, false, look.eye);
        v.look.handOver.handOn();
        drawItemsAround(v.world, look, self.x, self.y, self.dirX, self.dirY, ObjectPass::solid);
        v.look.scenery.drawViewBackdrop(v.seasonStep, look.eye);
        drawItemsAround(v.world, look, self.x, self.y, self.dirX, self.dirY, ObjectPass::overlaid);
        drawDoorMarkers();
        drawSnow(v.particles, v.seasonPhase, &v.look.textures, look.frustum);
        drawCreatures(v, false, camera);
        if (!otherInLabyrinth)
            drawPlayerFigure(v, 3 - n, false, &camera);
    }
    light.disable();
}

// The frame at `percent` of its width and height, from the lower left of an off-screen picture.
FrameRect scaledFrame(const FrameRect& frame, int percent) {
    FrameRect small;
    small.x = 0;
    small.y = 0;
    small.width = std::max(1, static_cast<int>(std::lround(frame.width * percent / 100.0)));
    small.height = std::max(1, static_cast<int>(std::lround(frame.height * percent / 100.0)));
    return small;
}

// The player views drawn into the scaled picture and stretched over their place in the frame,
// their flashes, words and labyrinth maps over them at the frame's own size. The overview is
// drawn at full size as ever: most of it is a copy of its kept picture, which costs next to
// nothing at any size, where stretching its pixels would cost more than drawing fewer saves.
// False, having drawn nothing, when the GL cannot draw off screen.
bool drawScaledViews(const RoundView& v) {
    const FrameRect& frame = v.look.frame;
    const FrameRect small = scaledFrame(frame, v.look.renderPercent);
    const FrameRect::Pixels strip = small.place(0, 0, windowWidth, splitHeight);
    SceneBuffer& buffer = v.look.sceneBuffer;
    if (!buffer.begin(strip.width, strip.height))
        return false;
    // The player views first: the renderer fills them while the overview is set up.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    playerPicture(v, small, 1);
    v.look.handOver.handOn();
    playerPicture(v, small, 2);
    buffer.end();

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawOverview(v);
    v.look.handOver.handOn();
    for (int n = 1; n <= 2; ++n) {
        const int x = n == 1 ? 0 : windowWidth / 2;
        buffer.stretch(small.place(x, 0, windowWidth / 2, splitHeight),
                       frame.place(x, 0, windowWidth / 2, splitHeight));
    }
    for (int n = 1; n <= 2; ++n) {
        playerViewport(v, frame, n);
        drawPlayerOverlay(v, n);
    }
    return true;
}
} // namespace

void drawOverview(const RoundView& v) {
    holdSeasonPictures(v.look.textures, v.seasonStep, false);
    setView(v.look.frame, 0, splitHeight, windowWidth, windowHeight - splitHeight,
            static_cast<double>(windowWidth) / (windowHeight - splitHeight), 1.0);
    v.look.sceneLight.enable();
    applyCamera(v.overviewCamera);
    // The still layer goes first: it covers the whole view, the display's letters included.
    const bool stillShown = !v.look.fullDetail && showStillLayer(v);
    drawHud(v);
    overviewScene(v, stillShown);
    v.look.sceneLight.disable();
    drawLabyrinthMarkers(v);
    drawColumnEvents(v);
    drawOverviewBand(v);
}

void drawPlayerView(const RoundView& v, int n) {
    playerPicture(v, v.look.frame, n);
    drawPlayerOverlay(v, n);
}

void drawGameFrame(const RoundView& v) {
    // Pictures made once a frame are made anew for this one.
    ++v.look.frameNumber;
    // The round shows no title, and the season's next pictures come one a frame in the last
    // seconds before their step shows (a step lasts at least 7 s, the first 79 s): held from the
    // start, they took their memory for nothing.
    holdMenuPictures(v.look.textures, false, false);
    constexpr float nextSeasonLeadMs = 3000;
    holdSeasonPictures(
        v.look.textures, v.seasonStep,
        seasonStepChangesBy(v.seasonPhase, nextSeasonLeadMs / tuning::roundMs, v.seasonStep));
    if (!v.look.fullDetail)
        prepareBlastPictures(v.world, &v.look.textures, v.look.blastSprite, v.look.frameNumber);
    if (v.look.renderPercent < 100 && drawScaledViews(v))
        return;
    // At full size the scaled picture's memory is given back.
    v.look.sceneBuffer.release();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawOverview(v);
    v.look.handOver.handOn();
    drawPlayerView(v, 1);
    v.look.handOver.handOn();
    drawPlayerView(v, 2);
}

void drawMenuFrame(const MenuView& m) {
    holdMenuPictures(m.look.textures, true, m.helpShown);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    setView(m.look.frame, 0, 0, windowWidth, windowHeight,
            static_cast<double>(windowWidth) / windowHeight, 1.0);
    m.look.sceneLight.enable();
    applyCamera(m.menuCamera);
    drawMenuScene(m);
    m.look.sceneLight.disable();
}

void preparePlayerViews(const Presentation& look, const Camera& playerCamera) {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    const bool lit = look.sceneLight.enable();
    applyCamera(playerCamera);
    look.scenery.farBushPictures.take(look.scenery.bushList);
    if (lit)
        look.sceneLight.disable();
    glPopMatrix();
}
