#include "render/TextureTable.h"
#include "scene/Bitmap.h"
#include "scene/ErrorReport.h"
#include "scene/TextureSlots.h"
#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>
#include <cstdlib>

namespace {

// By slot. The numbers 20 to 80 are the blend steps from one season to the next.
constexpr const char* fileNames[TextureTable::slotCount] = {
    "textures/spring_summer_ground.bmp",
    "textures/sprSum_aut_ground20.bmp",
    "textures/sprSum_aut_ground40.bmp",
    "textures/sprSum_aut_ground60.bmp",
    "textures/sprSum_aut_ground80.bmp",
    "textures/autumn_ground.bmp",
    "textures/aut_wint_ground20.bmp",
    "textures/aut_wint_ground40.bmp",
    "textures/aut_wint_ground60.bmp",
    "textures/aut_wint_ground80.bmp",
    "textures/winter_ground.bmp",
    "textures/wint_sprSum_ground20.bmp",
    "textures/wint_sprSum_ground40.bmp",
    "textures/wint_sprSum_ground60.bmp",
    "textures/wint_sprSum_ground80.bmp",
    "textures/spring_summer_background.bmp",
    "textures/sprSum_aut_back20.bmp",
    "textures/sprSum_aut_back40.bmp",
    "textures/sprSum_aut_back60.bmp",
    "textures/sprSum_aut_back80.bmp",
    "textures/autumn_background.bmp",
    "textures/aut_wint_back20.bmp",
    "textures/aut_wint_back40.bmp",
    "textures/aut_wint_back60.bmp",
    "textures/aut_wint_back80.bmp",
    "textures/winter_background.bmp",
    "textures/wint_sprSum_back20.bmp",
    "textures/wint_sprSum_back40.bmp",
    "textures/wint_sprSum_back60.bmp",
    "textures/wint_sprSum_back80.bmp",
    "textures/spring_summer_orthogonal.bmp",
    "textures/sprSum_aut_orth20.bmp",
    "textures/sprSum_aut_orth40.bmp",
    "textures/sprSum_aut_orth60.bmp",
    "textures/sprSum_aut_orth80.bmp",
    "textures/autumn_orthogonal.bmp",
    "textures/aut_wint_orth20.bmp",
    "textures/aut_wint_orth40.bmp",
    "textures/aut_wint_orth60.bmp",
    "textures/aut_wint_orth80.bmp",
    "textures/winter_orthogonal.bmp",
    "textures/wint_sprSum_orth20.bmp",
    "textures/wint_sprSum_orth40.bmp",
    "textures/wint_sprSum_orth60.bmp",
    "textures/wint_sprSum_orth80.bmp",
    "textures/tile_road.bmp",
    "textures/tile_road_v.bmp",
    "textures/particle.bmp",
    "textures/particle_cloud.bmp",
    "textures/cheese.bmp",
    "textures/item_bomb.bmp",
    "textures/item_speed.bmp",
    "textures/item_fire.bmp",
    "textures/item_maxfire.bmp",
    "textures/item_wall.bmp",
    "textures/item_trap.bmp",
    "textures/wall_top.bmp",
    "textures/wall_side.bmp",
    "textures/maze_wall.bmp",
    "textures/maze_wall_inside.bmp",
    "textures/help.bmp",
    "textures/menu.bmp",
};

} // namespace

const char* textureFileName(int slot) {
    if (slot < 0 || slot >= TextureTable::slotCount)
        return nullptr;
    return fileNames[slot];
}

namespace {

// Decodes a slot's file; a failure reports the error and ends the program.
Bitmap decodeOrStop(const char* fileName) {
    Bitmap image;
    std::string error;
    if (!loadBitmap(fileName, image, error)) {
        reportError(error.c_str());
        std::exit(0);
    }
    return image;
}

// The picture half as wide, each texel the mean of two neighbours along its row.
Bitmap halfAsWide(const Bitmap& image) {
    Bitmap out;
    out.width = std::max(1, image.width / 2);
    out.height = image.height;
    out.pixels.resize(static_cast<size_t>(out.width) * static_cast<size_t>(out.height) * 3);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
            for (int c = 0; c < 3; ++c) {
                const auto at = [&](int column) {
                    const int kept = std::min(column, image.width - 1);
                    return image.pixels[(static_cast<size_t>(y) * image.width + kept) * 3 + c];
                };
                out.pixels[(static_cast<size_t>(y) * out.width + x) * 3 + c] =
                    static_cast<uint8_t>((at(2 * x) + at(2 * x + 1) + 1) / 2);
            }
    return out;
}

bool isLowBackdropSlot(int slot) {
    return slot >= lowBackdropSlots && slot < lowBackdropSlots + lowBackdropCount;
}

void uploadRgb(const Bitmap& image) {
    // Decoded rows are packed, with no padding to four bytes.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, image.width, image.height, GL_RGB, GL_UNSIGNED_BYTE,
                      image.pixels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

// Frees a texture's picture; the name stays, bound to an empty texture.
void emptyName(GLuint name) {
    glDeleteTextures(1, &name);
    // Binding the freed name makes an empty texture of it at once, before any other texture
    // could be given that name.
    glBindTexture(GL_TEXTURE_2D, name);
}

void upload(const TextureTable& table, const Bitmap& image, int slot) {
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glBindTexture(GL_TEXTURE_2D, table.names[slot]);
    uploadRgb(image);
    if (isLowBackdropSlot(slot) && table.narrowed[slot - lowBackdropSlots][0] != 0) {
        const unsigned int* narrowed = table.narrowed[slot - lowBackdropSlots];
        Bitmap narrower = halfAsWide(image);
        for (int k = 0; k < backdropNarrowings; ++k) {
            glBindTexture(GL_TEXTURE_2D, narrowed[k]);
            uploadRgb(narrower);
            // Only ever sampled plainly, each where it shows about as squeezed along as up.
            backdropTextureFilter(false);
            if (k + 1 < backdropNarrowings)
                narrower = halfAsWide(narrower);
        }
    }
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    table.held[slot] = true;
}

void hold(const TextureTable& table, int slot) {
    if (!table.held[slot])
        upload(table, decodeOrStop(textureFileName(slot)), slot);
}

// Gives the picture's memory back; the name stays, bound to an empty texture.
void letGo(const TextureTable& table, int slot) {
    if (!table.held[slot])
        return;
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    emptyName(table.names[slot]);
    if (isLowBackdropSlot(slot))
        for (unsigned int name : table.narrowed[slot - lowBackdropSlots])
            if (name != 0)
                emptyName(name);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    table.held[slot] = false;
}

constexpr int seasonSteps = 15;
static_assert(lowBackdropCount == seasonSteps);
static_assert(wideBackdropSlots == groundSlots + seasonSteps &&
              lowBackdropSlots == groundSlots + 2 * seasonSteps);

// The three pictures of a season step: ground, the overview's backdrop, the views' backdrop.
int seasonSlot(int step, int kind) {
    return groundSlots + kind * seasonSteps + step;
}

bool isSeasonSlot(int slot) {
    return slot >= groundSlots && slot < lowBackdropSlots + seasonSteps;
}

bool shownFromTheStart(int slot) {
    return slot != helpPictureSlot && (!isSeasonSlot(slot) || slot % seasonSteps == 0);
}

} // namespace

void loadTexture(TextureTable& table, const char* fileName, int slot) {
    if (!fileName || slot < 0 || slot >= TextureTable::slotCount)
        return;
    const Bitmap image = decodeOrStop(fileName);
    if (table.names[slot] == 0)
        glGenTextures(1, &table.names[slot]);
    if (isLowBackdropSlot(slot) && table.narrowed[slot - lowBackdropSlots][0] == 0)
        glGenTextures(backdropNarrowings, table.narrowed[slot - lowBackdropSlots]);
    upload(table, image, slot);
}

void loadAllTextures(TextureTable& table) {
    glGenTextures(TextureTable::slotCount, table.names);
    for (unsigned int* narrowed : table.narrowed)
        glGenTextures(backdropNarrowings, narrowed);
    for (int slot = 0; slot < TextureTable::slotCount; ++slot) {
        const Bitmap image = decodeOrStop(textureFileName(slot));
        if (shownFromTheStart(slot)) {
            upload(table, image, slot);
        } else {
            // An empty texture under the name until the picture is shown.
            glBindTexture(GL_TEXTURE_2D, table.names[slot]);
            glBindTexture(GL_TEXTURE_2D, 0);
        }
    }
}

void holdSeasonPictures(const TextureTable& table, int step, bool prepareNext) {
    if (step < 0 || step >= seasonSteps)
        step = 0;
    const int next = (step + 1) % seasonSteps;
    for (int kind = 0; kind < 3; ++kind)
        hold(table, seasonSlot(step, kind));
    for (int other = 0; other < seasonSteps; ++other)
        if (other != step && other != next)
            for (int kind = 0; kind < 3; ++kind)
                letGo(table, seasonSlot(other, kind));
    if (!prepareNext)
        return;
    for (int kind = 0; kind < 3; ++kind) {
        if (!table.held[seasonSlot(next, kind)]) {
            hold(table, seasonSlot(next, kind));
            return;
        }
    }
}

void holdMenuPictures(const TextureTable& table, bool title, bool help) {
    if (title)
        hold(table, titlePictureSlot);
    else
        letGo(table, titlePictureSlot);
    if (help)
        hold(table, helpPictureSlot);
    else
        letGo(table, helpPictureSlot);
}
