#pragma once
#include <cstdint>

// The slots of the game's pictures: what loads them and what draws with them agree on these.
enum TextureSlot : int32_t {
    groundSlots = 0,        // 0-14: the ground, five steps for each season and its blends
    wideBackdropSlots = 15, // 15-29: the overview's backdrop, likewise
    lowBackdropSlots = 30,  // 30-44: the eye-level backdrop of the player views, likewise
    roadSlot = 45,
    roadVerticalSlot = 46,
    fireGlowSlot = 47,
    snowFlakeSlot = 48,
    cheeseSlot = 49,
    itemCardSlots = 50, // 50-55: bomb, speed, fire, maximum fire, wall, trap
    wallTopSlot = 56,
    wallSideSlot = 57,
    labyrinthWallSlot = 58,
    labyrinthWallInsideSlot = 59,
    helpPictureSlot = 60,
    titlePictureSlot = 61,
    textureSlotCount = 62
};
