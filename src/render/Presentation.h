#pragma once
#include "render/BlastSprite.h"
#include "render/FigureModels.h"
#include "render/HudPicture.h"
#include "render/Light.h"
#include "render/ObstacleLists.h"
#include "render/ObstaclePictures.h"
#include "render/OverviewStillLayer.h"
#include "render/PartHandOver.h"
#include "render/SceneBuffer.h"
#include "render/Scenery.h"
#include "render/TextureTable.h"
#include "render/ViewLayout.h"
#include "render/WorldModels.h"

// What the GL holds for the game: the pictures, the compiled scenery, the world's objects and
// the two figures, and the two lights. Built once at set-up; drawing only reads it.
struct Presentation {
    TextureTable textures;
    Light sceneLight;
    Light spotLight;
    Scenery scenery{6.0f, 15.0f, 1.0f};
    WorldModels models;
    FigureModel figures[2];
    // Where the frame lies in the window's drawable; the app keeps it up to date.
    FrameRect frame;
    // The share of the frame's width and height, in percent, the views of a round are drawn at
    // before they are stretched over it (one of renderScaleSteps); the app sets it each frame.
    int renderPercent = 100;
    // Draws every figure, bush and obstacle at its full count, each blast particle as its own
    // square, every scenery piece whether a view can see it or not, and the whole overview
    // every frame: the picture the quicker drawing is held against.
    bool fullDetail = false;
    // Drawing's own scratch: the frame being drawn, the blast picture made for it, the
    // obstacles' compiled shapes, the overview's unchanging picture and its letters' picture,
    // the frame's hand-over to the renderer and the views' scaled picture. None is part of the
    // round.
    mutable uint32_t frameNumber = 0;
    mutable BlastSprite blastSprite;
    mutable ObstacleLists obstacleLists;
    mutable ObstaclePictures obstaclePictures;
    mutable OverviewStillLayer overviewStill;
    mutable PartHandOver handOver;
    mutable HudPicture hudPicture;
    mutable SceneBuffer sceneBuffer;

    Presentation();
    // The two lights' colours and places, sent under the identity so that both stay fixed
    // relative to every camera (needs GL).
    void setLights();
};
