#pragma once
#include <string>

// The 62 GL texture names of the game, by fixed slot.
struct TextureTable {
    static constexpr int slotCount = 62;
    unsigned int names[slotCount] = {};

    unsigned int operator[](int slot) const { return names[slot]; }
};

// File name of each slot, relative to the working directory ("textures/...").
const char* textureFileName(int slot);

// Decodes one bitmap file and uploads it with its full mipmap chain into a slot. A null file
// name does nothing. A file that cannot be decoded reports the error and ends the program with
// exit code 0.
void loadTexture(TextureTable& table, const char* fileName, int slot);

// Set-up step 1: all slots in ascending order.
void loadAllTextures(TextureTable& table);
