#include "render/ObjectDrawing.h"
#include "actors/ArenaAnimation.h"
#include "render/Materials.h"
#include "render/MeshBatchGl.h"
#include "render/ObstacleLists.h"
#include "render/ObstaclePictures.h"
#include "render/TextureTable.h"
#include "render/ViewFrustum.h"
#include "render/WorldModels.h"
#include "scene/TextureSlots.h"
#include "world/MazeWorld.h"
#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>
#include <cmath>
#include <iterator>

namespace {
unsigned char toByte(float component) {
    return static_cast<unsigned char>(static_cast<int>(component));
}

// An obstacle's pieces reach this far from its cell's middle.
constexpr float obstacleReach = 0.6f;
// The cuts lists are made in: a few, so that the lists stay few.
constexpr int obstacleCuts[] = {6, 8, 12, 16, 24};
// An obstacle is shown by its picture only where the picture is drawn at most this much smaller
// than it was taken: where it would be drawn nearer its own size, its outline, a pixel off here
// and there, adds up where a row of obstacles crowds into a few pixels.
constexpr float pictureShrink = 2.0f;

// Whether an object standing at (x, y) may show in the view; every object of a cell fits in a
// ball of 0.8 around the cell's middle at half height.
bool mayShow(const WorldLook& look, float x, float y, float radius = 0.8f) {
    return look.frustum == nullptr || look.frustum->mayShow(x, y, 0.4f, radius);
}

// How deep ahead of the eye an obstacle's nearest point lies (nearer than any of it does).
float nearestDepth(const WorldLook& look, const Obstacle& obstacle) {
    return (obstacle.x - look.eye[0]) * look.ahead[0] + (obstacle.y - look.eye[1]) * look.ahead[1] -
           obstacleReach;
}

// The cut of an obstacle in a player's view, by its size on screen: the projection makes a
// thing as much smaller as it lies deeper ahead of the eye, and the depth is taken to the
// obstacle's nearest point (never cut too coarsely).
ObstacleCut viewCut(const WorldLook& look, const Obstacle& obstacle) {
    if (look.eye == nullptr || look.ahead == nullptr || look.pixelsPerUnitAtOne <= 0)
        return {};
    return obstacleCutFor(obstacle,
                          look.pixelsPerUnitAtOne / std::max(nearestDepth(look, obstacle), 0.1f));
}

// The shared body of both arena drawings; `wedge` culls obstacles and items to a player's view.
void drawArena(const MazeWorld& world, const WorldLook& look, bool wedge, int px, int py,
               float dirX, float dirY, ObjectPass pass = ObjectPass::all) {
    const bool solid = pass != ObjectPass::overlaid;
    const bool overlaid = pass != ObjectPass::solid;
    if (look.obstaclesShown && overlaid) {
        glPushAttrib(GL_STENCIL_BUFFER_BIT | GL_ENABLE_BIT);
        glEnable(GL_STENCIL_TEST);
        glStencilFunc(GL_NOTEQUAL, obstacleStencil, obstacleStencil);
        glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    }
    if (overlaid)
        drawBlastCells(world, look.textures, look.blastSprite, look.frame, look.eye,
                       look.pixelsPerUnitAtOne);
    if (look.obstaclesShown && overlaid)
        glPopAttrib();
    ObstaclePictures* pictures = nullptr;
    float pictureDepth = 0;
    if (solid && wedge && look.obstaclePictures && look.eye && look.ahead &&
        look.pixelsPerUnitAtOne > 0 && world.obstacleCount > 0 &&
        look.obstaclePictures->prepare(world.obstacles[0])) {
        pictures = look.obstaclePictures;
        // Where a unit spans `pictureShrink` times fewer pixels than the pictures have texels.
        pictureDepth = pictureShrink * look.pixelsPerUnitAtOne / pictures->texelsPerUnit();
    }
    for (int i = 0; i < world.obstacleCount && i < MazeWorld::obstacleTotal; ++i) {
        if (!solid) {
            if (i < MazeWorld::poolSize)
                drawTrap(world.traps[i]);
            continue;
        }
        const Obstacle* obstacle = &world.obstacles[i];
        if (!look.obstaclesShown &&
            (!wedge || objectInWedge(px, py, dirX, dirY, obstacle->x, obstacle->y)) &&
            mayShow(look, obstacle->x, obstacle->y))
            if (obstacle->destroyed || pictures == nullptr ||
                nearestDepth(look, *obstacle) < pictureDepth || !pictures->queue(*obstacle))
                drawObstacle(*obstacle, look.obstacleLists, viewCut(look, *obstacle));
        if (i < world.itemCount && world.items[i].type != 0) {
            const Item& item = world.items[i];
            if (itemUncovered(world, item) &&
                (!wedge || objectInWedge(px, py, dirX, dirY, item.x, item.y)) &&
                mayShow(look, item.x, item.y))
                drawItem(item, look.models);
        }
        if (i < MazeWorld::poolSize) {
            drawWallBlock(world.walls[i], look.textures);
            if (overlaid)
                drawTrap(world.traps[i]);
        }
    }
    if (pictures)
        pictures->drawQueued();
    if (!solid)
        return;
    for (int i = MazeWorld::firstCheese; i < world.itemCount && i < MazeWorld::itemTotal; ++i)
        if (world.items[i].type != 0)
            drawCheese(world.items[i], look.models);
}

void floorAt(unsigned int floorList, float x, float y) {
    glPushMatrix();
    glTranslatef(x, y, 0);
    glCallList(floorList);
    glPopMatrix();
}

// The grid level of a labyrinth cell seen from (eyeX, eyeY) when a world unit spans
// `pixelsPerUnitAtOne` pixels one unit before the eye: the lamp's pool is smallest nearby, so the
// grid is finest there. A coarser grid moves the edge of the lamp's pool by a share of a cell;
// in a view 200 pixels tall (241 pixels a unit one unit before the eye) that stays within the
// picture tolerance from 3.5 and 6 cells away, and a taller view keeps the finer grids as much
// further out as it shows a cell larger.
// Cells counted as the larger of the two distances.
int gridLevel(const float* eye, float pixelsPerUnitAtOne, float x, float y) {
    if (eye == nullptr)
        return 0;
    constexpr float referencePixels = 241.4f;
    const float scale = pixelsPerUnitAtOne > 0 ? pixelsPerUnitAtOne / referencePixels : 1.0f;
    const float away = std::max(std::abs(x + 0.5f - eye[0]), std::abs(y + 0.5f - eye[1])) / scale;
    return away < 3.5f ? 0 : away < 6.0f ? 1 : 2;
}

void wallAt(unsigned int wallList, float x, float y, bool turned) {
    glPushMatrix();
    glTranslatef(x, y, 0);
    if (turned)
        glRotatef(90, 0, 0, 1);
    glCallList(wallList);
    glPopMatrix();
}
void addArcPrism(MeshBatch& batch, float x, float y, float z, float radius, float length,
                 int firstSegment, const unsigned char colour[3], int segmentCount, float turn) {
    batch.colourBytes(colour[0], colour[1], colour[2]);
    batch.pushMatrix();
    batch.translate(x, y, z);
    batch.rotate(turn, 0, 0, 1);
    const float step = 6.28f / static_cast<float>(segmentCount);
    // Every face is wound counter-clockwise seen from outside: obstacles leave out their far
    // sides.
    for (int k = 1; k <= segmentCount - firstSegment; ++k) {
        const float a0 = static_cast<float>(k - 1) * step, a1 = static_cast<float>(k) * step;
        const float x0 = radius * std::cos(a0), y0 = radius * std::sin(a0);
        const float x1 = radius * std::cos(a1), y1 = radius * std::sin(a1);
        batch.begin(MeshMode::triangles);
        batch.normal(0, 0, 1);
        batch.vertex(0, 0, length);
        batch.vertex(x0, y0, length);
        batch.vertex(x1, y1, length);
        batch.normal(0, 0, -1);
        batch.vertex(0, 0, 0);
        batch.vertex(x1, y1, 0);
        batch.vertex(x0, y0, 0);
        batch.end();
        batch.begin(MeshMode::quadStrip);
        batch.normal(x0, y0, 0);
        batch.vertex(x0, y0, length);
        batch.vertex(x0, y0, 0);
        batch.normal(x1, y1, 0);
        batch.vertex(x1, y1, length);
        batch.vertex(x1, y1, 0);
        batch.end();
    }
    batch.popMatrix();
}

void addBox(MeshBatch& batch, float x, float y, float z, float width, float depth, float height,
            const unsigned char colour[3]) {
    batch.colourBytes(colour[0], colour[1], colour[2]);
    const float w = width / 2, d = depth / 2;
    // Each face: its normal, then its corners seen from outside.
    const float faces[6][3 + 12] = {
        {0, 0, 1, -w, -d, height, w, -d, height, w, d, height, -w, d, height},
        {0, 0, -1, -w, -d, 0, -w, d, 0, w, d, 0, w, -d, 0},
        {0, -1, 0, -w, -d, 0, w, -d, 0, w, -d, height, -w, -d, height},
        {0, 1, 0, w, d, 0, -w, d, 0, -w, d, height, w, d, height},
        {-1, 0, 0, -w, d, 0, -w, -d, 0, -w, -d, height, -w, d, height},
        {1, 0, 0, w, -d, 0, w, d, 0, w, d, height, w, -d, height}};
    batch.pushMatrix();
    batch.translate(x, y, z);
    batch.begin(MeshMode::quads);
    for (const auto& f : faces) {
        batch.normal(f[0], f[1], f[2]);
        for (int c = 0; c < 4; ++c)
            batch.vertex(f[3 + 3 * c], f[4 + 3 * c], f[5 + 3 * c]);
    }
    batch.end();
    batch.popMatrix();
}

} // namespace

void drawArenaItems(const MazeWorld& world, const WorldLook& look) {
    drawArena(world, look, false, 0, 0, 0, 0);
}

void drawItemsAround(const MazeWorld& world, const WorldLook& look, float px, float py, float dirX,
                     float dirY, ObjectPass pass) {
    drawArena(world, look, true, static_cast<int>(px), static_cast<int>(py), dirX, dirY, pass);
}

void drawLabyrinthView(const MazeWorld& world, const WorldLook& look, const float* eye) {
    {
        const MazeGenerator* maze = &world.maze;
        const int n = maze->size;
        // The -x wall of cell 36 and the -y wall of cell 4 are the two unstored doors.
        const int westDoor = (n / 2) * n, southDoor = n / 2;
        for (int k = 0; k < n * n; ++k) {
            const int col = k % n, row = k / n;
            const float x = arena::labyrinthOrigin + static_cast<float>(col);
            const float y = arena::labyrinthOrigin + static_cast<float>(row);
            // The cell, its walls and their height fit in a ball of 0.9 around its middle.
            if (!mayShow(look, x + 0.5f, y + 0.5f, 0.9f))
                continue;
            const int level = gridLevel(eye, look.pixelsPerUnitAtOne, x, y);
            const unsigned int wall = look.models.labyrinthWalls[level];
            if (col == 0 && k != westDoor)
                wallAt(wall, x, y + 0.5f, false);
            if (row == 0 && k != southDoor)
                wallAt(wall, x + 0.5f, y, true);
            if (maze->wallPosX[k])
                wallAt(wall, x + 1, y + 0.5f, false);
            if (maze->wallPosY[k])
                wallAt(wall, x + 0.5f, y + 1, true);
            floorAt(look.models.labyrinthFloors[level], x, y);
        }
    }
    for (int i = MazeWorld::firstCheese; i < world.itemCount && i < MazeWorld::itemTotal; ++i)
        if (world.items[i].type != 0)
            drawCheese(world.items[i], look.models);
}

ObstacleCut obstacleCutFor(const Obstacle& obstacle, float pixelsPerUnit) {
    if (pixelsPerUnit <= 0)
        return {};
    // A polygon of n corners on a circle of R pixels strays R (1 - cos(pi / n)) from it: the
    // fewest of the cuts that keep that within half a pixel.
    auto pieces = [pixelsPerUnit](float radius) {
        const float onScreen = radius * pixelsPerUnit;
        for (int n : obstacleCuts)
            if (onScreen * (1 - std::cos(static_cast<float>(M_PI) / static_cast<float>(n))) <= 0.5f)
                return n;
        return obstacleCuts[std::size(obstacleCuts) - 1];
    };
    const float* p = obstacle.shape;
    return {pieces(std::max(p[0], p[1])), pieces(p[6])};
}

namespace {
// The metal without its shine, and a material that shows nothing but black.
constexpr Material dullMetal{{0.19225f, 0.19225f, 0.19225f, 1},
                             {0.50754f, 0.50754f, 0.50754f, 1},
                             {0, 0, 0, 1},
                             {0, 0, 0, 0},
                             51.2f};
constexpr Material blackMaterial{{0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 0}, 0};

// An obstacle's body and wheels around the origin, its local +y up, its round pieces in `cut`.
void drawObstacleShape(const Obstacle& obstacle, ObstacleCut cut,
                       ObstacleLight light = ObstacleLight::whole) {
    const float* p = obstacle.shape;
    unsigned char colour[3] = {toByte(obstacle.colourR), toByte(obstacle.colourG),
                               toByte(obstacle.colourB)};
    if (light != ObstacleLight::whole)
        std::fill(std::begin(colour), std::end(colour),
                  light == ObstacleLight::colourScaled ? 255 : 0);
    const int round = cut.arch, half = round / 2;
    // The coloured body in one draw, the two grey wheels in another: the material differs.
    MeshBatch body, wheels;
    const float archHeight = p[6] + p[4];
    const float slabHeight = p[4] / 2 + p[6];
    addArcPrism(body, 0, archHeight, 0, p[0], p[5], half, colour, round, 0);
    addArcPrism(body, -p[2], archHeight, 0, p[1], p[3], half, colour, round, 0);
    addArcPrism(body, p[2], archHeight, 0, p[1], p[3], half, colour, round, 0);
    addBox(body, 0, slabHeight, 0, 2 * p[0], p[4], p[5], colour);
    addBox(body, -p[2], slabHeight, 0, 2 * p[1], p[4], p[3], colour);
    addBox(body, p[2], slabHeight, 0, 2 * p[1], p[4], p[3], colour);
    const unsigned char wheelGrey[3] = {127, 127, 127};
    const unsigned char black[3] = {0, 0, 0};
    const bool wheelsDark = light == ObstacleLight::colourScaled;
    addArcPrism(wheels, -p[2], p[6], 0, p[6], p[7], 0, wheelsDark ? black : wheelGrey, cut.wheel,
                0);
    addArcPrism(wheels, p[2], p[6], 0, p[6], p[7], 0, wheelsDark ? black : wheelGrey, cut.wheel, 0);
    applyMaterial(GL_FRONT_AND_BACK,
                  light == ObstacleLight::colourScaled ? dullMetal : metalMaterial);
    drawMeshBatch(body, true);
    applyMaterial(GL_FRONT_AND_BACK, wheelsDark ? blackMaterial : defaultMaterial);
    drawMeshBatch(wheels, true);
    if (wheelsDark)
        applyMaterial(GL_FRONT_AND_BACK, defaultMaterial);
}
} // namespace

void drawObstacle(const Obstacle& obstacle, ObstacleLists* lists, ObstacleCut cut,
                  ObstacleLight light) {
    if (obstacle.destroyed)
        return;
    const float* p = obstacle.shape;
    glPushMatrix();
    glTranslatef(obstacle.x, obstacle.y + (p[6] + p[4]) * 1.5f, 0);
    // Local +y points up, local +z toward world -y.
    glRotatef(90, 1, 0, 0);
    // Every piece is closed and wound counter-clockwise seen from outside: the far sides never
    // show, and leaving them out spares the renderer filling them.
    glEnable(GL_CULL_FACE);
    if (lists && light == ObstacleLight::whole)
        glCallList(lists->listFor(obstacle, cut));
    else
        drawObstacleShape(obstacle, cut, light);
    glDisable(GL_CULL_FACE);
    glPopMatrix();
}

ObstacleLists::~ObstacleLists() {
    // The GL may be gone by now (the program's end); its lists go with it.
}

void ObstacleLists::forgetAll() {
    for (const Compiled& c : lists)
        glDeleteLists(c.list, 1);
    lists.clear();
}

unsigned int ObstacleLists::listFor(const Obstacle& obstacle, ObstacleCut cut) {
    float key[keySize];
    std::copy(std::begin(obstacle.shape), std::end(obstacle.shape), key);
    key[9] = obstacle.colourR;
    key[10] = obstacle.colourG;
    key[11] = obstacle.colourB;
    key[12] = static_cast<float>(cut.arch);
    key[13] = static_cast<float>(cut.wheel);
    for (const Compiled& c : lists)
        if (std::equal(std::begin(key), std::end(key), std::begin(c.key)))
            return c.list;
    // Each round brings new shapes; the old rounds' lists go rather than pile up.
    if (lists.size() >= maxShapes)
        forgetAll();
    Compiled c{};
    std::copy(std::begin(key), std::end(key), c.key);
    c.list = glGenLists(1);
    glNewList(c.list, GL_COMPILE);
    drawObstacleShape(obstacle, cut);
    glEndList();
    lists.push_back(c);
    return c.list;
}

void drawItem(const Item& item, const WorldModels& models) {
    if (item.taken != 0)
        return;
    glPushMatrix();
    glTranslatef(item.x, item.y, 0.1f);
    glRotatef(-30, 1, 0, 0);
    glRotatef(static_cast<float>(item.spin), 0, 0, 1);
    glCallList(item.type == kindCoin ? models.coinList : models.itemList(item.type));
    glPopMatrix();
}

void drawCheese(const Item& cheese, const WorldModels& models) {
    if (cheese.taken > 0)
        return;
    glPushMatrix();
    glTranslatef(cheese.x, cheese.y, 0.7f);
    glCallList(models.itemList(kindCheese));
    glPopMatrix();
}

void drawWallBlock(const WallBlock& wall, const TextureTable* textures) {
    if (wall.free)
        return;
    const float a = 0.4f, h = 0.3f;
    auto bind = [textures](int32_t slot) {
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        glBindTexture(GL_TEXTURE_2D, textures ? (*textures)[slot] : 0);
    };
    glPushMatrix();
    glEnable(GL_TEXTURE_2D);
    bind(wallTopSlot);
    glTranslatef(wall.x, wall.y, 0);
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    glTexCoord2f(0, 0);
    glVertex3f(-a, -a, h);
    glTexCoord2f(1, 0);
    glVertex3f(a, -a, h);
    glTexCoord2f(1, 1);
    glVertex3f(a, a, h);
    glTexCoord2f(0, 1);
    glVertex3f(-a, a, h);
    glEnd();
    bind(wallSideSlot);
    glBegin(GL_QUADS);
    // Each side: its two bottom corners left to right seen from outside, then its top.
    const float sides[4][5] = {
        {0, -1, -a, -a, 1}, {0, 1, a, a, 1}, {-1, 0, -a, a, 0}, {1, 0, a, -a, 0}};
    for (const auto& s : sides) {
        const float nx = s[0], ny = s[1], x0 = s[2], y0 = s[3];
        // Along x for the y faces, along y for the x faces.
        const float x1 = s[4] != 0 ? -x0 : x0, y1 = s[4] != 0 ? y0 : -y0;
        glNormal3f(nx, ny, 0);
        glTexCoord2f(0, 0);
        glVertex3f(x0, y0, 0);
        glTexCoord2f(1, 0);
        glVertex3f(x1, y1, 0);
        glTexCoord2f(1, 1);
        glVertex3f(x1, y1, h);
        glTexCoord2f(0, 1);
        glVertex3f(x0, y0, h);
    }
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}

void drawTrap(const Trap& trap) {
    if (trap.free)
        return;
    glPushMatrix();
    glTranslatef(trap.x, trap.y, 0.1f);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_BLEND);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4ub(211, 97, 214, 60);
    // Flat and evenly coloured: one ring shows it as ten would.
    gluDisk(sharedQuadric(), 0, 0.3, 10, 1);
    glDisable(GL_BLEND);
    glPopMatrix();
}
