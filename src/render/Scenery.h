#pragma once
#include "render/BackdropFilter.h"
#include "render/BushPictures.h"
#include "scene/TextureSlots.h"
#include "world/Seasons.h"
#include <cstdint>

struct TextureTable;
class ViewFrustum;

// The arena's unmoving surroundings: ground and roads, buildings, hedges and the backdrop, all
// compiled into display lists once.
class Scenery {
  public:
    Scenery(float tessellation, float arenaSize, float unused);

    void build(const TextureTable* textures, int32_t roadSlot, int32_t roadVSlot,
               const int32_t groundBase[3], const int32_t backgroundBase[3],
               const int32_t orthogonalBase[3]);
    // The backdrop, ground and roads of a season step (see Seasons).
    void drawOverviewGround(int32_t seasonStep) const;
    // A player's view: the cells of the view wedge, and of those only the ones inside `frustum`
    // when it is given; with `coarseFar` the bushes a few cells from the player are pictures. With
    // the (x, y) of the view's `eye` the bushes it cannot come near leave out what their crowns
    // hide. Without `withBackdrop` only what stands on the ground is drawn: the ground and the
    // backdrop are then left for `drawViewBackdrop`, drawn after what covers them so that the
    // depth test spares filling their hidden pixels.
    void drawViewGround(float x, float y, float dirX, float dirY, int32_t seasonStep,
                        const ViewFrustum* frustum = nullptr, bool coarseFar = false,
                        bool withBackdrop = true, const float* eye = nullptr) const;
    // A player view's ground and roads, then its backdrop box; with the view's `eye` each stretch
    // of wall shows the picture narrowed as the eye sees it squeezed (see backdropWallRuns).
    void drawViewBackdrop(int32_t seasonStep, const float* eye = nullptr) const;
    // Hedges, buildings and the house's bushes; `coarse` for bushes seen small (the overview),
    // from `decorationList`; else bush by bush at the full cut.
    void drawDecoration(bool coarse = false) const;

    float tessellation;
    float arenaSize;
    const TextureTable* textures = nullptr;
    int32_t backgroundBase[3] = {wideBackdropSlots, wideBackdropSlots + 5, wideBackdropSlots + 10};
    int32_t groundBase[3] = {groundSlots, groundSlots + 5, groundSlots + 10};
    int32_t orthogonalBase[3] = {lowBackdropSlots, lowBackdropSlots + 5, lowBackdropSlots + 10};
    // With the coarser crowns: the overview sees every bush small. The list calls the bush and
    // building lists at their places, as the full cut does.
    unsigned int decorationList = 0;
    unsigned int coarseBushList = 0;
    unsigned int roadVList = 0;
    unsigned int roadVTurnedList = 0;
    unsigned int roadList = 0;
    unsigned int backdrop3List = 0;
    unsigned int tileList = 0;
    unsigned int backdrop4List = 0;
    unsigned int backgroundLists[15] = {};
    unsigned int orthogonalLists[15] = {};
    unsigned int groundLists[15] = {};
    // Every cell's ground and roads at a season step, in one list each, calling the shapes of
    // the cells of each kind of ground (the same at every step) with the step's pictures.
    unsigned int fieldLists[15] = {};
    unsigned int fieldShapeLists[4] = {};
    unsigned int cottageList = 0;
    unsigned int hutList = 0;
    unsigned int houseCornerList = 0;
    unsigned int bushList = 0;
    // The same without what the crowns hide inside them (see SceneryModels), for bushes the
    // near plane cannot cut.
    unsigned int fineHouseCornerList = 0;
    unsigned int fineBushList = 0;
    // With the coarsest crowns, for bushes far from a player where no pictures can be taken.
    unsigned int farHouseCornerList = 0;
    unsigned int farBushList = 0;
    // The far bushes in a player's view (hedges and the house's corners), as pictures; taken at
    // the first such view.
    mutable BushPictures farBushPictures;
};
