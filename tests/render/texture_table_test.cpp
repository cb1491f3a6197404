#include "scene/BitmapFileBuilder.h"
#include "render/TextureTable.h"
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>

TEST(TextureTable, EverySlotNamesItsOwnBitmapUnderTextures) {
    std::set<std::string> names;
    for (int slot = 0; slot < TextureTable::slotCount; ++slot) {
        ASSERT_NE(textureFileName(slot), nullptr) << slot;
        const std::string name = textureFileName(slot);
        EXPECT_EQ(name.rfind("textures/", 0), 0u) << name;
        EXPECT_EQ(name.substr(name.size() - 4), ".bmp") << name;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 62u);
    EXPECT_STREQ(textureFileName(0), "textures/spring_summer_ground.bmp");
    EXPECT_STREQ(textureFileName(10), "textures/winter_ground.bmp");
    EXPECT_STREQ(textureFileName(22), "textures/aut_wint_back40.bmp");
    EXPECT_STREQ(textureFileName(44), "textures/wint_sprSum_orth80.bmp");
    EXPECT_STREQ(textureFileName(53), "textures/item_maxfire.bmp");
    EXPECT_EQ(textureFileName(-1), nullptr);
    EXPECT_EQ(textureFileName(62), nullptr);
}

TEST(TextureTable, NullFileNameLeavesTheSlotEmpty) {
    TextureTable table;
    loadTexture(table, nullptr, 3);
    EXPECT_EQ(table[3], 0u);
}

// Start-up cannot go on without a picture: the message names the file and the game ends with
// exit code 0 before touching the graphics library.
TEST(TextureTableDeathTest, AFileThatCannotBeLoadedEndsTheProgram) {
    const std::filesystem::path dir =
        std::filesystem::path(::testing::TempDir()) / "texture_table_test";
    std::filesystem::create_directories(dir);
    TextureTable table;

    const std::string missing = (dir / "sprSum_aut_ground60.bmp").string();
    std::filesystem::remove(missing);
    EXPECT_EXIT(loadTexture(table, missing.c_str(), 3), ::testing::ExitedWithCode(0),
                "Failed to open DIB file .*sprSum_aut_ground60\\.bmp\\.");

    const std::string damaged = (dir / "damaged.bmp").string();
    BitmapFileBuilder b;
    b.width = 4;
    b.height = 4;
    b.pixels.assign(20, 0);
    ASSERT_TRUE(writeBytes(damaged, b.bytes()));
    EXPECT_EXIT(loadTexture(table, damaged.c_str(), 3), ::testing::ExitedWithCode(0),
                "damaged\\.bmp: Image file conversion error\\.");
}
