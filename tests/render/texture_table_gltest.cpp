#include "scene/BitmapFileBuilder.h"
#include "render/TextureTable.h"
#include "support/GlContext.h"
#include <GL/gl.h>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

GLint levelParameter(int level, GLenum name) {
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    return value;
}

// An 8 by 4 true-colour picture whose every pixel differs, stored blue-green-red.
BitmapFileBuilder eightByFour() {
    BitmapFileBuilder b;
    b.width = 8;
    b.height = 4;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) {
            b.pixels.push_back(static_cast<uint8_t>(200 - y * 8)); // blue
            b.pixels.push_back(static_cast<uint8_t>(x * 30));      // green
            b.pixels.push_back(static_cast<uint8_t>(y * 60 + 10)); // red
        }
    return b;
}

} // namespace

TEST(TextureTableGl, LoadedPictureHasItsSizeFiltersAndFullMipmapChain) {
    glContext();
    const std::filesystem::path dir =
        std::filesystem::path(::testing::TempDir()) / "texture_table_gltest";
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "eight_by_four.bmp").string();
    ASSERT_TRUE(writeBytes(file, eightByFour().bytes()));

    TextureTable table;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    loadTexture(table, file.c_str(), 49);
    ASSERT_NE(table[49], 0u);
    EXPECT_EQ(table[48], 0u) << "only the asked slot is filled";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    glBindTexture(GL_TEXTURE_2D, table[49]);
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), 8);
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_HEIGHT), 4);
    // log2(8) = 3: levels 8x4, 4x2, 2x1 and 1x1.
    EXPECT_EQ(levelParameter(1, GL_TEXTURE_WIDTH), 4);
    EXPECT_EQ(levelParameter(2, GL_TEXTURE_HEIGHT), 1);
    EXPECT_EQ(levelParameter(3, GL_TEXTURE_WIDTH), 1);
    EXPECT_EQ(levelParameter(3, GL_TEXTURE_HEIGHT), 1);

    GLint minFilter = 0, magFilter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_NEAREST);
    EXPECT_EQ(magFilter, GL_LINEAR);

    // Level 0 holds the picture red-green-blue with the file's bottom row at t = 0.
    std::vector<uint8_t> texels(8 * 4 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) {
            const uint8_t* t = &texels[(y * 8 + x) * 3];
            EXPECT_EQ(t[0], y * 60 + 10) << x << "," << y;
            EXPECT_EQ(t[1], x * 30) << x << "," << y;
            EXPECT_EQ(t[2], 200 - y * 8) << x << "," << y;
        }

    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 2) << "the upload leaves the unpack alignment as it found it";
    glDeleteTextures(1, &table.names[49]);
    EXPECT_EQ(table.narrowed[0][0], 0u) << "only the views' backdrop comes narrowed";

    // A player view's backdrop also comes narrowed 2, 4 and 8 times along its rows, each texel
    // the mean of the two it replaces (greens 0, 30, 60 ... become 15, 75, 135, 195, then 45 and
    // 165, then 105); the rows keep their colours.
    loadTexture(table, file.c_str(), 30);
    const int greens[3][4] = {{15, 75, 135, 195}, {45, 165}, {105}};
    for (int k = 0; k < 3; ++k) {
        ASSERT_NE(table.narrowed[0][k], 0u);
        glBindTexture(GL_TEXTURE_2D, table.narrowed[0][k]);
        const int narrowWidth = 4 >> k;
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), narrowWidth) << k;
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_HEIGHT), 4) << k;
        std::vector<uint8_t> narrow(static_cast<size_t>(narrowWidth) * 4 * 3);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, narrow.data());
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < narrowWidth; ++x) {
                const uint8_t* t = &narrow[(y * narrowWidth + x) * 3];
                EXPECT_EQ(t[0], y * 60 + 10) << k << ": " << x << "," << y;
                EXPECT_EQ(t[1], greens[k][x]) << k << ": " << x << "," << y;
                EXPECT_EQ(t[2], 200 - y * 8) << k << ": " << x << "," << y;
            }
    }
    glDeleteTextures(1, &table.names[30]);
    glDeleteTextures(3, table.narrowed[0]);
}

// Runs in the build folder, beside the generated textures/.
TEST(TextureTableGl, EverySlotHasItsNameAndOnlyPicturesAboutToShowAreHeld) {
    EXPECT_STREQ(textureFileName(61), "textures/menu.bmp");
    EXPECT_STREQ(textureFileName(60), "textures/help.bmp");
    // A missing file would end the test program with exit code 0, which reads as a pass.
    for (int slot = 0; slot < TextureTable::slotCount; ++slot)
        ASSERT_TRUE(std::filesystem::is_regular_file(textureFileName(slot)))
            << textureFileName(slot);

    glContext();
    TextureTable table;
    loadAllTextures(table);
    for (int slot = 0; slot < TextureTable::slotCount; ++slot) {
        EXPECT_NE(table[slot], 0u) << slot;
        EXPECT_TRUE(glIsTexture(table[slot])) << slot;
    }
    glBindTexture(GL_TEXTURE_2D, table[61]);
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), 1024);
    EXPECT_EQ(levelParameter(10, GL_TEXTURE_WIDTH), 1);
    auto width = [&](int slot) {
        glBindTexture(GL_TEXTURE_2D, table[slot]);
        return levelParameter(0, GL_TEXTURE_WIDTH);
    };
    // Held from the start: the first season step's ground and backdrops, not the next ones'.
    EXPECT_EQ(width(0), 256);
    EXPECT_EQ(width(15), 512);
    EXPECT_EQ(width(30), 512);
    EXPECT_EQ(width(1), 0);
    EXPECT_EQ(width(60), 0) << "the help picture waits until it is shown";

    // Late in autumn: step 9's three pictures at once, one of step 10's per call after them,
    // and the first step's let go. The names never change: display lists hold them.
    unsigned int names[TextureTable::slotCount];
    std::copy(std::begin(table.names), std::end(table.names), names);
    holdSeasonPictures(table, 9, true);
    EXPECT_EQ(width(9), 256);
    EXPECT_EQ(width(24), 512);
    EXPECT_EQ(width(39), 512);
    EXPECT_EQ(width(10), 256) << "the next step's ground comes ahead";
    EXPECT_EQ(width(25), 0) << "one picture a call";
    EXPECT_EQ(width(0), 0);
    EXPECT_EQ(width(30), 0);
    holdSeasonPictures(table, 9, true);
    holdSeasonPictures(table, 9, true);
    EXPECT_EQ(width(40), 512);
    // Winter comes: step 10 is ready; step 9 goes only when 11 would be its next.
    holdSeasonPictures(table, 10, false);
    EXPECT_EQ(width(9), 0);
    EXPECT_EQ(width(10), 256);
    // The views' backdrop's narrowed pictures come and go with it.
    auto narrowedWidth = [&](int step, int k) {
        glBindTexture(GL_TEXTURE_2D, table.narrowed[step][k]);
        return levelParameter(0, GL_TEXTURE_WIDTH);
    };
    EXPECT_EQ(narrowedWidth(10, 0), 256);
    EXPECT_EQ(narrowedWidth(10, 2), 64);
    EXPECT_EQ(narrowedWidth(9, 0), 0);
    EXPECT_EQ(narrowedWidth(0, 1), 0);
    // Out of the steps' range is the first step.
    holdSeasonPictures(table, 99, false);
    EXPECT_EQ(width(0), 256);

    holdMenuPictures(table, false, false);
    EXPECT_EQ(width(61), 0);
    holdMenuPictures(table, true, true);
    EXPECT_EQ(width(60), 1024);
    EXPECT_EQ(width(61), 1024);
    EXPECT_TRUE(std::equal(std::begin(names), std::end(names), std::begin(table.names)));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glDeleteTextures(TextureTable::slotCount, table.names);
}
