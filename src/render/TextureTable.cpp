#include "render/TextureTable.h"
#include "scene/Bitmap.h"
#include "scene/ErrorReport.h"
#include <GL/gl.h>
#include <GL/glu.h>
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

void loadTexture(TextureTable& table, const char* fileName, int slot) {
    if (!fileName || slot < 0 || slot >= TextureTable::slotCount)
        return;
    Bitmap image;
    std::string error;
    if (!loadBitmap(fileName, image, error)) {
        reportError(error.c_str());
        std::exit(0);
    }

    glGenTextures(1, &table.names[slot]);
    glBindTexture(GL_TEXTURE_2D, table.names[slot]);
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

void loadAllTextures(TextureTable& table) {
    for (int slot = 0; slot < TextureTable::slotCount; ++slot)
        loadTexture(table, textureFileName(slot), slot);
}
