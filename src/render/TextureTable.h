#pragma once
#include "render/BackdropFilter.h"
#include "scene/TextureSlots.h"
#include <string>

// The season steps, each with a picture of the player views' backdrop.
constexpr int lowBackdropCount = 15;

// The 62 GL texture names of the game, by fixed slot. A name stays for the program's life
// (display lists bind it); its picture is in the GL only while it may be shown: a season step's
// pictures around their step, the title and help pictures on the title. The others give their
// memory back and are loaded again when they show.
struct TextureTable {
    static constexpr int slotCount = 62;
    unsigned int names[slotCount] = {};
    // The player views' backdrop picture of each season step narrowed along the wall 2, 4 and 8
    // times (see backdropWallRuns), in the GL while their picture is.
    unsigned int narrowed[lowBackdropCount][backdropNarrowings] = {};
    // Whether a slot's picture is in the GL now. Which ones are follows what is drawn.
    mutable bool held[slotCount] = {};

    unsigned int operator[](int slot) const { return names[slot]; }
};

// File name of each slot, relative to the working directory ("textures/...").
const char* textureFileName(int slot);

// Decodes one bitmap file and uploads it with its full mipmap chain into a slot, under the
// slot's name (a new one for an empty slot). A null file name does nothing. A file that cannot
// be decoded reports the error and ends the program with exit code 0.
void loadTexture(TextureTable& table, const char* fileName, int slot);

// Set-up step 1: a name for every slot, and every picture decoded in ascending order, so that a
// missing or damaged one stops the program before the first frame. In the GL are then those
// shown first: all but the help picture and the season pictures of the steps after the first.
void loadAllTextures(TextureTable& table);

// Makes the three pictures of season step `step` (ground and both backdrops) held, loading at
// once those that are not; with `prepareNext` also loads one picture of the step that follows,
// so a change of step finds its pictures ready. Every other step's pictures are let go.
void holdSeasonPictures(const TextureTable& table, int step, bool prepareNext);

// Holds the title and help pictures as asked and lets go of the others.
void holdMenuPictures(const TextureTable& table, bool title, bool help);
