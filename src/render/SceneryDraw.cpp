#include "render/Materials.h"
#include "render/MeshBatchGl.h"
#include "render/TextureTable.h"
#include "render/Scenery.h"
#include "render/BackdropFilter.h"
#include "render/ViewFrustum.h"
#include <GL/gl.h>
#include <array>
#include <cmath>

namespace {

// One crown sphere of a bush: angle in degrees about z, lift above the group's height.
struct CrownSphere {
    float angle, lift;
    int colour;
};
struct CrownGroup {
    float height, distance;
    CrownSphere spheres[3];
};
const CrownGroup crownGroups[5] = {
    {0.3f, 0.09f, {{31.6f, 0.01f, 0}, {172.4f, 0.025f, 1}, {260.8f, 0.01f, 2}}},
    {0.6f, 0.09f, {{94.8f, 0.035f, 1}, {182.4f, 0.02f, 3}, {273.2f, 0.01f, 0}}},
    {0.5f, 0.18f, {{10.8f, 0.015f, 3}, {86.4f, 0.035f, 2}, {174.0f, 0.045f, 0}}},
    {0.5f, 0.198f, {{106.4f, 0.01f, 1}, {243.2f, 0.015f, 0}, {351.6f, 0.025f, 2}}},
    {0.4f, 0.18f, {{27.4f, 0.035f, 3}, {157.2f, 0.045f, 2}, {301.6f, 0.025f, 0}}},
};
const float leafGreens[4][3] = {
    {0.14f, 0.39f, 0.18f}, {0.23f, 0.68f, 0.28f}, {0.17f, 0.45f, 0.2f}, {0.21f, 0.58f, 0.26f}};

// Cottage cells among the pillars; every other pillar outside the house carries a hut.
bool isCottageCell(int i, int j) {
    const bool rowA = (i == 1 || i == 5 || i == 9 || i == 13) && (j == 1 || j == 5 || j == 13);
    const bool rowB = (i == 1 || i == 11) && j == 9;
    const bool rowC = (i == 3 || i == 7 || i == 11) && (j == 3 || j == 7 || j == 11);
    return rowA || rowB || rowC;
}

bool isOutsideArena(int i, int j, int size) {
    return i < 0 || j < 0 || i >= size || j >= size;
}

// The house and its ring of cells, drawn as plain ground plus corner planting.
bool isMiddleBlock(int i, int j) {
    return i >= 5 && i <= 9 && j >= 7 && j <= 11;
}

bool isOdd(int v) {
    return v % 2 != 0;
}

void quadBox(float x0, float x1, float y0, float y1, float z0, float z1) {
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    glVertex3f(x0, y0, z1);
    glVertex3f(x1, y0, z1);
    glVertex3f(x1, y1, z1);
    glVertex3f(x0, y1, z1);
    glNormal3f(0, 0, -1);
    glVertex3f(x0, y0, z0);
    glVertex3f(x0, y1, z0);
    glVertex3f(x1, y1, z0);
    glVertex3f(x1, y0, z0);
    glNormal3f(0, -1, 0);
    glVertex3f(x0, y0, z0);
    glVertex3f(x1, y0, z0);
    glVertex3f(x1, y0, z1);
    glVertex3f(x0, y0, z1);
    glNormal3f(0, 1, 0);
    glVertex3f(x1, y1, z0);
    glVertex3f(x0, y1, z0);
    glVertex3f(x0, y1, z1);
    glVertex3f(x1, y1, z1);
    glNormal3f(-1, 0, 0);
    glVertex3f(x0, y1, z0);
    glVertex3f(x0, y0, z0);
    glVertex3f(x0, y0, z1);
    glVertex3f(x0, y1, z1);
    glNormal3f(1, 0, 0);
    glVertex3f(x1, y0, z0);
    glVertex3f(x1, y1, z0);
    glVertex3f(x1, y1, z1);
    glVertex3f(x1, y0, z1);
    glEnd();
}

// A prism of radius r from z0 to z1 made of `segments` equal pieces of a full circle starting at
// `startDegrees`; only the first `drawn` pieces are built (the rest is left open), and their
// bottom and top only when asked for.
void segmentedDisc(MeshBatch& batch, float r, float z0, float z1, int segments, int drawn,
                   float startDegrees, bool bottom = true, bool top = true) {
    const float step = 2.0f * static_cast<float>(M_PI) / static_cast<float>(segments);
    const float start = startDegrees * static_cast<float>(M_PI) / 180.0f;
    for (int k = 0; k < drawn; ++k) {
        const float a0 = start + step * static_cast<float>(k);
        const float a1 = a0 + step;
        const float c0 = std::cos(a0), s0 = std::sin(a0), c1 = std::cos(a1), s1 = std::sin(a1);
        batch.begin(MeshMode::triangles);
        if (top) {
            batch.normal(0, 0, 1);
            batch.vertex(0, 0, z1);
            batch.vertex(r * c0, r * s0, z1);
            batch.vertex(r * c1, r * s1, z1);
        }
        if (bottom) {
            batch.normal(0, 0, -1);
            batch.vertex(0, 0, z0);
            batch.vertex(r * c1, r * s1, z0);
            batch.vertex(r * c0, r * s0, z0);
        }
        batch.end();
        batch.begin(MeshMode::quads);
        batch.normal(c0, s0, 0);
        batch.vertex(r * c0, r * s0, z0);
        batch.normal(c1, s1, 0);
        batch.vertex(r * c1, r * s1, z0);
        batch.vertex(r * c1, r * s1, z1);
        batch.normal(c0, s0, 0);
        batch.vertex(r * c0, r * s0, z1);
        batch.end();
    }
}

// Where the three bushes of a house corner stand around the corner's middle.
const float houseCornerBushes[3][2] = {{-0.15f, -0.15f}, {-0.15f, 0.35f}, {0.35f, -0.15f}};

// Bushes, huts and cones are gathered into one batch each, so a hedge of a hundred bushes is a
// single draw.
class SceneryModels {
  public:
    // `withoutHidden`: a bush leaves out the triangles its crown's spheres hide inside them,
    // which no eye outside the crown ever sees.
    explicit SceneryModels(float tessellation, bool withoutHidden = false)
        : slices(static_cast<int>(tessellation)), crownSlices(slices), crownStacks(slices),
          dropHidden(withoutHidden) {}
    SceneryModels(float tessellation, int leafSlices, int leafStacks, bool withoutHidden)
        : slices(static_cast<int>(tessellation)), crownSlices(leafSlices), crownStacks(leafStacks),
          dropHidden(withoutHidden) {}

    // A bush standing at the origin: a trunk and a crown of fifteen spheres.
    void addBush(MeshBatch& batch) const {
        batch.colourBytes(180, 120, 25);
        // One stack: the sides are straight and the arena's light is directional, so every
        // point of a slice is lit alike and more stacks would add triangles, not picture.
        batch.cylinder(0.1, 0.1, 0.3, slices, 1);
        for (const CrownGroup& group : crownGroups) {
            for (const CrownSphere& sphere : group.spheres) {
                const float* g = leafGreens[sphere.colour];
                batch.colour(g[0], g[1], g[2], 0);
                batch.pushMatrix();
                batch.translate(0, 0, group.height);
                batch.rotate(sphere.angle, 0, 0, 1);
                batch.translate(group.distance, 0, sphere.lift);
                batch.beginSolid();
                batch.sphere(0.15, crownSlices, crownStacks);
                batch.endSolid();
                batch.popMatrix();
            }
        }
    }

    void addBushAt(MeshBatch& batch, float x, float y) const {
        const std::size_t first = batch.indices().size();
        batch.pushMatrix();
        batch.translate(x, y, 0);
        addBush(batch);
        batch.popMatrix();
        if (dropHidden)
            batch.dropHidden(first);
    }

    void bush() const {
        MeshBatch batch;
        addBushAt(batch, 0, 0);
        glEnable(GL_CULL_FACE);
        drawMeshBatch(batch, true);
        glDisable(GL_CULL_FACE);
    }

    // A cottage centred at the origin: two crossed white boxes under a hipped red roof.
    void cottage() const {
        glColor3ub(255, 255, 255);
        quadBox(-0.25f, 0.25f, -0.35f, 0.35f, 0, 0.3f);
        quadBox(-0.35f, 0.35f, -0.25f, 0.25f, 0, 0.3f);

        // The gable triangles lean 30 degrees inward from the vertical; the two sloping quads
        // run from the eaves to the ridge between the triangles' tips, closing the roof.
        const float eave = 0.3f, half = 0.37f, slant = 0.4f;
        const float lean = 30.0f * static_cast<float>(M_PI) / 180.0f;
        const float rise = slant * std::cos(lean);
        const float tipY = half - slant * std::sin(lean);
        const float top = eave + rise;
        applyMaterial(GL_FRONT, metalMaterial);
        glColor3ub(255, 75, 75);
        glBegin(GL_TRIANGLES);
        glNormal3f(0, -std::cos(lean), std::sin(lean));
        glVertex3f(-half, -half, eave);
        glVertex3f(half, -half, eave);
        glVertex3f(0, -tipY, top);
        glNormal3f(0, std::cos(lean), std::sin(lean));
        glVertex3f(half, half, eave);
        glVertex3f(-half, half, eave);
        glVertex3f(0, tipY, top);
        glEnd();
        glBegin(GL_QUADS);
        glNormal3f(rise, 0, half);
        glVertex3f(half, -half, eave);
        glVertex3f(half, half, eave);
        glVertex3f(0, tipY, top);
        glVertex3f(0, -tipY, top);
        glNormal3f(-rise, 0, half);
        glVertex3f(-half, half, eave);
        glVertex3f(-half, -half, eave);
        glVertex3f(0, -tipY, top);
        glVertex3f(0, tipY, top);
        glEnd();
        applyMaterial(GL_FRONT, defaultMaterial);
    }

    // A round hut centred at the origin: three stacked white discs, the middle one open toward
    // -y behind a translucent window, under a red cone.
    void hut() const {
        const int segments = 2 * slices;
        const float start = 360.0f / static_cast<float>(segments) - 90.0f;
        applyMaterial(GL_FRONT, metalMaterial);
        MeshBatch discs;
        discs.colourBytes(255, 255, 255);
        // Only the floor and ceiling of the room behind the window can be seen of the discs'
        // ends: the lowest one's bottom stands on the ground, the middle one's ends lie inside
        // the discs above and below it, and the roof covers the top one's top.
        segmentedDisc(discs, 0.4f, 0, 0.1f, segments, segments, start, false, true);
        // Pieces run counter-clockwise from just right of -y, so the last two face -y.
        segmentedDisc(discs, 0.4f, 0.09f, 0.2f, segments, segments - 2, start, false, false);
        segmentedDisc(discs, 0.4f, 0.19f, 0.3f, segments, segments, start, true, false);
        drawMeshBatch(discs, true);
        applyMaterial(GL_FRONT, defaultMaterial);

        const float windowY = -0.38f * std::sqrt(3.0f) / 2.0f;
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glColor4ub(127, 127, 255, 85);
        glBegin(GL_QUADS);
        glNormal3f(0, -1, 0);
        glVertex3f(-0.19f, windowY, 0.1f);
        glVertex3f(0.19f, windowY, 0.1f);
        glVertex3f(0.19f, windowY, 0.2f);
        glVertex3f(-0.19f, windowY, 0.2f);
        glEnd();
        glDisable(GL_BLEND);

        applyMaterial(GL_FRONT, metalMaterial);
        MeshBatch roof;
        roof.colourBytes(255, 75, 75);
        roof.translate(0, 0, 0.3f);
        // One stack, as for the bush's trunk.
        roof.cylinder(0.45, 0, 0.4, segments, 1);
        drawMeshBatch(roof, true);
        applyMaterial(GL_FRONT, defaultMaterial);
    }

    // The three bushes of one house corner, around the origin.
    void houseCorner() const {
        MeshBatch batch;
        // The three crowns touch: each may hide some of the others.
        for (const auto& b : houseCornerBushes) {
            batch.pushMatrix();
            batch.translate(b[0], b[1], 0);
            addBush(batch);
            batch.popMatrix();
        }
        if (dropHidden)
            batch.dropHidden(0);
        glEnable(GL_CULL_FACE);
        drawMeshBatch(batch, true);
        glDisable(GL_CULL_FACE);
    }

  private:
    int slices;
    // The crown's spheres: a far bush keeps its outline with fewer of them.
    int crownSlices, crownStacks;
    bool dropHidden;
};

void tileShape() {
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    glTexCoord2f(0, 0);
    glVertex3f(0, 0, 0);
    glTexCoord2f(1, 0);
    glVertex3f(1, 0, 0);
    glTexCoord2f(1, 1);
    glVertex3f(1, 1, 0);
    glTexCoord2f(0, 1);
    glVertex3f(0, 1, 0);
    glEnd();
}

// One standing wall of the backdrop box from (x0, y0) to (x1, y1), s running along it, or the
// stretch of it from `from` to `to` of its length; the normals point diagonally into the box at
// each end of the wall.
void backdropWall(float x0, float y0, float x1, float y1, float from = 0, float to = 1) {
    const float low = -0.05f, high = 6.5f, centre = 7.5f;
    auto inward = [centre](float x, float y) {
        return std::array<float, 2>{x < centre ? 0.5f : -0.5f, y < centre ? 0.5f : -0.5f};
    };
    const std::array<float, 2> start = inward(x0, y0), end = inward(x1, y1);
    auto corner = [&](float s, float z) {
        glNormal3f(start[0] + (end[0] - start[0]) * s, start[1] + (end[1] - start[1]) * s, 0);
        glTexCoord2f(s, z < 0 ? 0.0f : 1.0f);
        glVertex3f(x0 + (x1 - x0) * s, y0 + (y1 - y0) * s, z);
    };
    glBegin(GL_QUADS);
    corner(from, low);
    corner(to, low);
    corner(to, high);
    corner(from, high);
    glEnd();
}

// The four walls of a player view's backdrop box, laid out so that the texture reads left to
// right from inside the box; the overview's shows the first three.
const float backdropWalls[4][4] = {
    {-2, 17, 17, 17}, {-2, -2, -2, 17}, {17, 17, 17, -2}, {17, -2, -2, -2}};

void backdropThreeSides() {
    for (int w = 0; w < 3; ++w)
        backdropWall(backdropWalls[w][0], backdropWalls[w][1], backdropWalls[w][2],
                     backdropWalls[w][3]);
}

void compileTextured(unsigned int list, unsigned int texture, unsigned int shape,
                     bool backdrop = false) {
    glNewList(list, GL_COMPILE);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBindTexture(GL_TEXTURE_2D, texture);
    if (backdrop)
        backdropTextureFilter();
    glCallList(shape);
    glDisable(GL_TEXTURE_2D);
    glEndList();
}

// Which picture a cell's ground shows.
enum class CellGround { season, road, roadAlong, roadAcross };

CellGround cellGround(int i, int j, int size) {
    if (isOutsideArena(i, j, size) || isMiddleBlock(i, j) || (isOdd(i) && isOdd(j)))
        return CellGround::season;
    if (!isOdd(i) && !isOdd(j))
        return CellGround::road;
    // The roads running along y are the vertical tile turned a quarter about the cell.
    return isOdd(i) ? CellGround::roadAcross : CellGround::roadAlong;
}

// The ground of every cell that shows `kind`, each a tile as `tileShape` draws it placed on its
// cell (turned a quarter for `roadAcross`), in one run of quads.
void fieldTiles(CellGround kind, int size) {
    const float corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    for (int i = -2; i <= size + 1; ++i) {
        for (int j = -2; j <= size + 1; ++j) {
            if (cellGround(i, j, size) != kind)
                continue;
            for (const auto& c : corners) {
                glTexCoord2f(c[0], c[1]);
                const float x = kind == CellGround::roadAcross ? 1 - c[1] : c[0];
                const float y = kind == CellGround::roadAcross ? c[0] : c[1];
                glVertex3f(static_cast<float>(i) + x, static_cast<float>(j) + y, 0);
            }
        }
    }
    glEnd();
}

const CellGround fieldKinds[4] = {CellGround::season, CellGround::road, CellGround::roadAlong,
                                  CellGround::roadAcross};

// The whole ground of one season step, roads included, with its pictures: one list, so a view
// draws it at once instead of cell by cell. Leaves the texture state as the tile lists do.
void compileField(unsigned int list, const unsigned int pictures[4], const unsigned int shapes[4]) {
    glNewList(list, GL_COMPILE);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    for (int k = 0; k < 4; ++k) {
        glBindTexture(GL_TEXTURE_2D, pictures[k]);
        glCallList(shapes[k]);
    }
    glDisable(GL_TEXTURE_2D);
    glEndList();
}

void callAt(unsigned int list, float x, float y) {
    glPushMatrix();
    glTranslatef(x, y, 0);
    glCallList(list);
    glPopMatrix();
}
const float cornerBushes[12][2] = {{6.35f, 10.65f}, {6.85f, 10.65f}, {6.35f, 10.15f},
                                   {6.35f, 8.35f},  {6.35f, 8.85f},  {6.85f, 8.35f},
                                   {8.15f, 8.35f},  {8.65f, 8.35f},  {8.65f, 8.85f},
                                   {8.15f, 10.65f}, {8.65f, 10.65f}, {8.65f, 10.15f}};

// The hedges' bushes at their points, in planting order.
template <typename Plant> void forEachHedgeBush(int size, Plant&& plant) {
    const float hedgeColumns[4] = {-1.5f, 16.5f, -0.5f, 15.5f};
    for (float x : hedgeColumns)
        for (int y = 0; y < size + 2; ++y)
            plant(x, static_cast<float>(y) - 0.5f);
    const float hedgeRows[3] = {-0.5f, 15.5f, 16.5f};
    for (float y : hedgeRows)
        for (int x = 0; x < size; ++x)
            plant(static_cast<float>(x) + 0.5f, y);
}

// The pillar cells that carry a building: all but the house and the cells before its doors.
template <typename Build> void forEachBuildingCell(int size, Build&& build) {
    for (int i = 1; i < size; i += 2) {
        for (int j = 1; j < size; j += 2) {
            const bool house = i >= 6 && i <= 8 && j >= 8 && j <= 10;
            const bool approach = (i == 5 && j == 9) || (i == 7 && j == 7) || (i == 9 && j == 9) ||
                                  (i == 7 && j == 11);
            if (!house && !approach)
                build(i, j);
        }
    }
}

// Hedges, buildings and the house's bushes, each called at its place, `bush` for every bush.
void plantDecoration(unsigned int bush, unsigned int cottage, unsigned int hut, int size) {
    forEachHedgeBush(size, [&](float x, float y) { callAt(bush, x, y); });
    forEachBuildingCell(size, [&](int i, int j) {
        callAt(isCottageCell(i, j) ? cottage : hut, static_cast<float>(i), static_cast<float>(j));
    });
    for (const auto& b : cornerBushes)
        callAt(bush, b[0], b[1]);
}

// Beyond this many cells from a player a bush ahead of it is at most about as many pixels tall in
// its view as its picture has texels at a 1504 by 1080 frame (one at the view's side up to 1.7
// times that), and the picture shows it (the coarsest crowns where the GL cannot take pictures);
// nearer, the bush is drawn in full.
constexpr float fineBushReach = 3.0f;
// A cell's bushes reach this far from its middle (a house corner's three the farthest), and the
// near plane stands 0.5 before the eye: a cell farther from the eye than the two together is
// never cut by it.
constexpr float wholeCrownReach = 1.0f + 0.5f;
// The crown spheres of a bush seen small: in the overview.
constexpr int coarseCrownSlices = 5;
constexpr int coarseCrownStacks = 4;
// And of a bush far from a player, where its picture cannot be taken.
constexpr int farCrownSlices = 4;
constexpr int farCrownStacks = 3;

// Whether a cell at `distanceSquared` from the player shows its bushes far: as pictures or in
// the coarsest cut.
bool farBush(bool byDistance, float distanceSquared) {
    return byDistance && distanceSquared > fineBushReach * fineBushReach;
}

// A hedge bush between the player and its camera, which follows two cells behind: at home the
// hedge along the arena's edge would hide the player's own figure.
constexpr float eyeBehindCells = 2.0f;
constexpr float clearOfLineCells = 1.2f;
bool hidesThePlayer(float awayX, float awayY, float dirX, float dirY) {
    const float along = awayX * dirX + awayY * dirY;
    const float across = std::fabs(awayX * dirY - awayY * dirX);
    return along < 0 && along > -eyeBehindCells - 0.5f && across < clearOfLineCells;
}

int32_t validStep(int32_t step) {
    return step >= 0 && step < 15 ? step : 0;
}
} // namespace

Scenery::Scenery(float tessellationValue, float arenaSizeValue, float /*unused*/)
    : tessellation(tessellationValue), arenaSize(arenaSizeValue) {}

void Scenery::build(const TextureTable* textureTable, int32_t roadSlot, int32_t roadVSlot,
                    const int32_t groundBaseSlots[3], const int32_t backgroundBaseSlots[3],
                    const int32_t orthogonalBaseSlots[3]) {
    // Building twice would only leak lists: the scenery never changes after set-up.
    if (decorationList != 0)
        return;
    textures = textureTable;
    for (int s = 0; s < 3; ++s) {
        groundBase[s] = groundBaseSlots[s];
        backgroundBase[s] = backgroundBaseSlots[s];
        orthogonalBase[s] = orthogonalBaseSlots[s];
    }
    auto texture = [this](int slot) -> unsigned int { return textures ? (*textures)[slot] : 0; };
    const SceneryModels models(tessellation);
    const SceneryModels fineModels(tessellation, true);
    const SceneryModels coarseModels(tessellation, coarseCrownSlices, coarseCrownStacks, true);
    const SceneryModels farModels(tessellation, farCrownSlices, farCrownStacks, true);
    const int size = static_cast<int>(arenaSize);

    decorationList = glGenLists(1);
    fineHouseCornerList = glGenLists(1);
    fineBushList = glGenLists(1);
    farHouseCornerList = glGenLists(1);
    farBushList = glGenLists(1);
    roadVList = glGenLists(1);
    roadVTurnedList = glGenLists(1);
    roadList = glGenLists(1);
    backdrop3List = glGenLists(1);
    tileList = glGenLists(1);
    backdrop4List = glGenLists(1);
    for (unsigned int& list : backgroundLists)
        list = glGenLists(1);
    for (unsigned int& list : orthogonalLists)
        list = glGenLists(1);
    for (unsigned int& list : groundLists)
        list = glGenLists(1);
    cottageList = glGenLists(1);
    hutList = glGenLists(1);
    houseCornerList = glGenLists(1);
    bushList = glGenLists(1);

    glNewList(tileList, GL_COMPILE);
    tileShape();
    glEndList();

    glNewList(backdrop3List, GL_COMPILE);
    backdropThreeSides();
    glEndList();

    glNewList(backdrop4List, GL_COMPILE);
    backdropThreeSides();
    backdropWall(backdropWalls[3][0], backdropWalls[3][1], backdropWalls[3][2],
                 backdropWalls[3][3]);
    glEndList();

    compileTextured(roadVList, texture(roadVSlot), tileList);
    compileTextured(roadList, texture(roadSlot), tileList);
    // Turned about the tile's corner, then shifted back so the tile still covers its cell.
    glNewList(roadVTurnedList, GL_COMPILE);
    glPushMatrix();
    glTranslatef(1, 0, 0);
    glRotatef(90, 0, 0, 1);
    glCallList(roadVList);
    glPopMatrix();
    glEndList();

    for (int k = 0; k < 4; ++k) {
        fieldShapeLists[k] = glGenLists(1);
        glNewList(fieldShapeLists[k], GL_COMPILE);
        fieldTiles(fieldKinds[k], size);
        glEndList();
    }
    for (int k = 0; k < 15; ++k) {
        const int season = k / 5, blend = k % 5;
        compileTextured(backgroundLists[k], texture(backgroundBase[season] + blend), backdrop3List,
                        true);
        compileTextured(orthogonalLists[k], texture(orthogonalBase[season] + blend), backdrop4List,
                        true);
        compileTextured(groundLists[k], texture(groundBase[season] + blend), tileList);
        const unsigned int pictures[4] = {texture(groundBase[season] + blend), texture(roadSlot),
                                          texture(roadVSlot), texture(roadVSlot)};
        fieldLists[k] = glGenLists(1);
        compileField(fieldLists[k], pictures, fieldShapeLists);
    }

    glNewList(cottageList, GL_COMPILE);
    glPushMatrix();
    glTranslatef(0.5f, 0.5f, 0);
    models.cottage();
    glPopMatrix();
    glEndList();

    glNewList(hutList, GL_COMPILE);
    glPushMatrix();
    glTranslatef(0.5f, 0.5f, 0);
    models.hut();
    glPopMatrix();
    glEndList();

    glNewList(houseCornerList, GL_COMPILE);
    models.houseCorner();
    glEndList();

    glNewList(bushList, GL_COMPILE);
    models.bush();
    glEndList();

    coarseBushList = glGenLists(1);
    glNewList(coarseBushList, GL_COMPILE);
    coarseModels.bush();
    glEndList();

    // The overview's decoration holds no geometry of its own: a bush compiled once for each of
    // the 125 places would hold 125 copies of it.
    glNewList(decorationList, GL_COMPILE);
    plantDecoration(coarseBushList, cottageList, hutList, size);
    glEndList();

    glNewList(fineHouseCornerList, GL_COMPILE);
    fineModels.houseCorner();
    glEndList();

    glNewList(fineBushList, GL_COMPILE);
    fineModels.bush();
    glEndList();

    glNewList(farHouseCornerList, GL_COMPILE);
    farModels.houseCorner();
    glEndList();

    glNewList(farBushList, GL_COMPILE);
    farModels.bush();
    glEndList();
}

void Scenery::drawOverviewGround(int32_t seasonStep) const {
    const int32_t step = validStep(seasonStep);
    glCallList(backgroundLists[step]);
    glCallList(fieldLists[step]);
}

void Scenery::drawViewBackdrop(int32_t seasonStep, const float* eye) const {
    const int32_t step = validStep(seasonStep);
    glCallList(fieldLists[step]);
    if (eye == nullptr || textures == nullptr) {
        glCallList(orthogonalLists[step]);
        return;
    }
    // Stretch by stretch, each with the picture narrowed as much as the eye sees it squeezed
    // there, filtered plainly: the filtering along the squeeze costs the renderer more.
    const int slot = orthogonalBase[step / 5] + step % 5;
    const unsigned int picture = (*textures)[slot];
    const unsigned int* narrowed = textures->narrowed[slot - lowBackdropSlots];
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBindTexture(GL_TEXTURE_2D, picture);
    backdropTextureFilter(false);
    for (const auto& wall : backdropWalls) {
        BackdropRun runs[backdropWallPieces];
        const int count =
            backdropWallRuns(eye[0], eye[1], wall[0], wall[1], wall[2], wall[3], runs);
        for (int r = 0; r < count; ++r) {
            const int k = runs[r].narrowing;
            glBindTexture(GL_TEXTURE_2D, k == 0 || narrowed[0] == 0 ? picture : narrowed[k - 1]);
            backdropWall(wall[0], wall[1], wall[2], wall[3], runs[r].from, runs[r].to);
        }
    }
    // As the whole box's list leaves it.
    glBindTexture(GL_TEXTURE_2D, picture);
    backdropTextureFilter(true);
    glDisable(GL_TEXTURE_2D);
}

void Scenery::drawViewGround(float x, float y, float dirX, float dirY, int32_t seasonStep,
                             const ViewFrustum* frustum, bool coarseFar, bool withBackdrop,
                             const float* eye) const {
    const int32_t step = validStep(seasonStep);
    if (withBackdrop) {
        glCallList(orthogonalLists[step]);
        // The ground goes whole: a cell's quad costs less than a call of its own.
        glCallList(fieldLists[step]);
    }
    const int px = static_cast<int>(x), py = static_cast<int>(y);
    const int size = static_cast<int>(arenaSize);
    const bool pictured = coarseFar && farBushPictures.take(bushList);
    for (int i = -2; i <= size + 1; ++i) {
        for (int j = -2; j <= size + 1; ++j) {
            const bool standing =
                isOutsideArena(i, j, size) || isMiddleBlock(i, j) || (isOdd(i) && isOdd(j));
            if (!standing || !inViewWedge(px, py, dirX, dirY, i, j))
                continue;
            // A cell's ground, bush or building fits in this ball around its middle.
            if (frustum && !frustum->mayShow(static_cast<float>(i) + 0.5f,
                                             static_cast<float>(j) + 0.5f, 0.4f, 0.9f))
                continue;
            const float awayX = static_cast<float>(i) + 0.5f - x;
            const float awayY = static_cast<float>(j) + 0.5f - y;
            const bool far = farBush(coarseFar, awayX * awayX + awayY * awayY);
            // A crown the near plane may cut shows its inside: those keep it.
            const float eyeX = eye ? static_cast<float>(i) + 0.5f - eye[0] : 0;
            const float eyeY = eye ? static_cast<float>(j) + 0.5f - eye[1] : 0;
            const bool whole =
                eye == nullptr || eyeX * eyeX + eyeY * eyeY <= wholeCrownReach * wholeCrownReach;
            const unsigned int bush = far ? farBushList : whole ? bushList : fineBushList;
            const unsigned int corner = far     ? farHouseCornerList
                                        : whole ? houseCornerList
                                                : fineHouseCornerList;
            if (isOutsideArena(i, j, size) && hidesThePlayer(awayX, awayY, dirX, dirY))
                continue;
            if (pictured && far && isOutsideArena(i, j, size)) {
                farBushPictures.queue(static_cast<float>(i) + 0.5f, static_cast<float>(j) + 0.5f);
                continue;
            }
            glPushMatrix();
            glTranslatef(static_cast<float>(i), static_cast<float>(j), 0);
            if (isOutsideArena(i, j, size)) {
                callAt(bush, 0.5f, 0.5f);
            } else if (!isMiddleBlock(i, j)) {
                glCallList(isCottageCell(i, j) ? cottageList : hutList);
            } else {
                float turn = -1;
                if (i == 6 && j == 8)
                    turn = 0;
                else if (i == 6 && j == 10)
                    turn = -90;
                else if (i == 8 && j == 8)
                    turn = 90;
                else if (i == 8 && j == 10)
                    turn = 180;
                if (turn != -1 && pictured && far) {
                    // The corner's three bushes where its list would put them.
                    const float c = std::cos(turn * static_cast<float>(M_PI) / 180.0f);
                    const float s = std::sin(turn * static_cast<float>(M_PI) / 180.0f);
                    for (const auto& b : houseCornerBushes)
                        farBushPictures.queue(static_cast<float>(i) + 0.5f + c * b[0] - s * b[1],
                                              static_cast<float>(j) + 0.5f + s * b[0] + c * b[1]);
                } else if (turn != -1) {
                    glPushMatrix();
                    glTranslatef(0.5f, 0.5f, 0);
                    glRotatef(turn, 0, 0, 1);
                    glCallList(corner);
                    glPopMatrix();
                }
                if ((i == 5 || i == 9) && (j == 7 || j == 11))
                    glCallList(hutList);
            }
            glPopMatrix();
        }
    }
    farBushPictures.drawQueued();
}

void Scenery::drawDecoration(bool coarse) const {
    if (coarse) {
        glCallList(decorationList);
        return;
    }
    plantDecoration(bushList, cottageList, hutList, static_cast<int>(arenaSize));
}
