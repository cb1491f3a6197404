#include "GeneratedFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

using generated::Bitmap;
using generated::readBitmap;

// Every texture the game loads, by slot.
const char* const textureFiles[62] = {"spring_summer_ground",
                                      "sprSum_aut_ground20",
                                      "sprSum_aut_ground40",
                                      "sprSum_aut_ground60",
                                      "sprSum_aut_ground80",
                                      "autumn_ground",
                                      "aut_wint_ground20",
                                      "aut_wint_ground40",
                                      "aut_wint_ground60",
                                      "aut_wint_ground80",
                                      "winter_ground",
                                      "wint_sprSum_ground20",
                                      "wint_sprSum_ground40",
                                      "wint_sprSum_ground60",
                                      "wint_sprSum_ground80",
                                      "spring_summer_background",
                                      "sprSum_aut_back20",
                                      "sprSum_aut_back40",
                                      "sprSum_aut_back60",
                                      "sprSum_aut_back80",
                                      "autumn_background",
                                      "aut_wint_back20",
                                      "aut_wint_back40",
                                      "aut_wint_back60",
                                      "aut_wint_back80",
                                      "winter_background",
                                      "wint_sprSum_back20",
                                      "wint_sprSum_back40",
                                      "wint_sprSum_back60",
                                      "wint_sprSum_back80",
                                      "spring_summer_orthogonal",
                                      "sprSum_aut_orth20",
                                      "sprSum_aut_orth40",
                                      "sprSum_aut_orth60",
                                      "sprSum_aut_orth80",
                                      "autumn_orthogonal",
                                      "aut_wint_orth20",
                                      "aut_wint_orth40",
                                      "aut_wint_orth60",
                                      "aut_wint_orth80",
                                      "winter_orthogonal",
                                      "wint_sprSum_orth20",
                                      "wint_sprSum_orth40",
                                      "wint_sprSum_orth60",
                                      "wint_sprSum_orth80",
                                      "tile_road",
                                      "tile_road_v",
                                      "particle",
                                      "particle_cloud",
                                      "cheese",
                                      "item_bomb",
                                      "item_speed",
                                      "item_fire",
                                      "item_maxfire",
                                      "item_wall",
                                      "item_trap",
                                      "wall_top",
                                      "wall_side",
                                      "maze_wall",
                                      "maze_wall_inside",
                                      "help",
                                      "menu"};

Bitmap texture(int slot) {
    return readBitmap(generated::buildDir() + "/textures/" + textureFiles[slot] + ".bmp");
}

int expectedWidth(int slot) {
    if (slot >= 15 && slot <= 44) {
        return 512;
    }
    return slot >= 60 ? 1024 : 256;
}

TEST(TextureFiles, EverySlotIsAPlain24BitBitmapOfItsSize) {
    for (int slot = 0; slot < 62; ++slot) {
        SCOPED_TRACE(textureFiles[slot]);
        const Bitmap bmp = texture(slot);
        ASSERT_TRUE(bmp.valid);
        EXPECT_EQ(bmp.width, expectedWidth(slot));
        EXPECT_EQ(bmp.height, slot >= 60 ? 1024 : 256);
        EXPECT_EQ(bmp.offset, 54u);
    }
}

// Slots 0, 15 and 30 start the three season series: season, four blends, next season, ...
TEST(TextureFiles, EachBlendStepIsTheExactMixOfItsTwoSeasons) {
    for (int series : {0, 15, 30}) {
        for (int season = 0; season < 3; ++season) {
            const Bitmap from = texture(series + 5 * season);
            const Bitmap to = texture(series + 5 * ((season + 1) % 3));
            for (int step = 1; step <= 4; ++step) {
                const Bitmap blend = texture(series + 5 * season + step);
                SCOPED_TRACE(textureFiles[series + 5 * season + step]);
                ASSERT_TRUE(blend.valid && from.valid && to.valid);
                const double f = step * 0.2;
                int wrong = 0;
                for (int y = 0; y < blend.height; ++y) {
                    for (int x = 0; x < blend.width; ++x) {
                        const auto a = from.at(x, y), b = to.at(x, y), m = blend.at(x, y);
                        const int want[3] = {
                            static_cast<int>(std::lround(a.r * (1 - f) + b.r * f)),
                            static_cast<int>(std::lround(a.g * (1 - f) + b.g * f)),
                            static_cast<int>(std::lround(a.b * (1 - f) + b.b * f))};
                        wrong += (m.r != want[0]) + (m.g != want[1]) + (m.b != want[2]);
                    }
                }
                EXPECT_EQ(wrong, 0);
            }
        }
    }
}

TEST(TextureFiles, SeasonsLookTheirPart) {
    // Mean colour of a picture or of its lower quarter (where a backdrop shows its meadow).
    auto mean = [](const Bitmap& bmp, int fromRow) {
        double r = 0, g = 0, b = 0;
        int n = 0;
        for (int y = fromRow; y < bmp.height; ++y) {
            for (int x = 0; x < bmp.width; ++x) {
                const auto p = bmp.at(x, y);
                r += p.r, g += p.g, b += p.b, ++n;
            }
        }
        return generated::Rgb{static_cast<int>(r / n), static_cast<int>(g / n),
                              static_cast<int>(b / n)};
    };
    const auto spring = mean(texture(0), 0);
    EXPECT_GT(spring.g, spring.r + 40);
    EXPECT_GT(spring.g, spring.b + 40);
    const auto autumn = mean(texture(5), 0);
    EXPECT_GT(autumn.r, autumn.b + 50) << "olive and ochre, not green or blue";
    EXPECT_LT(std::abs(autumn.r - autumn.g), 40);
    const auto winter = mean(texture(10), 0);
    EXPECT_GT(winter.r + winter.g + winter.b, 3 * 215) << "snow is bright";
    EXPECT_GE(winter.b, winter.r) << "with blue shadows";
    for (int series : {15, 30}) {
        const Bitmap springBack = texture(series);
        const auto topRow = springBack.at(10, 2);
        EXPECT_GT(topRow.b, topRow.r + 60) << "a blue sky at the top";
        const auto meadow = mean(springBack, springBack.height * 3 / 4);
        EXPECT_GT(meadow.g, meadow.r + 30);
        const auto winterMeadow = mean(texture(series + 10), springBack.height * 3 / 4);
        EXPECT_GT(winterMeadow.r + winterMeadow.g + winterMeadow.b, 3 * 200);
    }
}

// A tile that repeats without a seam differs across its wrap-around edge no more than
// neighbouring columns inside it do.
TEST(TextureFiles, GroundRoadAndWallTilesRepeatWithoutASeam) {
    auto columnStep = [](const Bitmap& bmp, int x0, int x1) {
        double sum = 0;
        for (int y = 0; y < bmp.height; ++y) {
            const auto a = bmp.at(x0, y), b = bmp.at(x1, y);
            sum += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
        }
        return sum / bmp.height;
    };
    auto rowStep = [](const Bitmap& bmp, int y0, int y1) {
        double sum = 0;
        for (int x = 0; x < bmp.width; ++x) {
            const auto a = bmp.at(x, y0), b = bmp.at(x, y1);
            sum += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
        }
        return sum / bmp.width;
    };
    for (int slot : {0, 5, 10, 45, 46, 58}) {
        SCOPED_TRACE(textureFiles[slot]);
        const Bitmap bmp = texture(slot);
        ASSERT_TRUE(bmp.valid);
        double inside = 0, insideRows = 0;
        for (int x = 1; x < bmp.width; ++x) {
            inside += columnStep(bmp, x - 1, x);
            insideRows += rowStep(bmp, x - 1, x);
        }
        inside /= bmp.width - 1;
        insideRows /= bmp.height - 1;
        EXPECT_LT(columnStep(bmp, bmp.width - 1, 0), 2.5 * inside + 6);
        if (slot != 58) { // the hedge is only laid side by side, so only its sides must meet
            EXPECT_LT(rowStep(bmp, bmp.height - 1, 0), 2.5 * insideRows + 6);
        }
    }
    for (int slot : {15, 30}) {
        const Bitmap back = texture(slot);
        double inside = 0;
        for (int x = 1; x < back.width; ++x) {
            inside += columnStep(back, x - 1, x);
        }
        EXPECT_LT(columnStep(back, back.width - 1, 0), 2.5 * inside / (back.width - 1) + 6)
            << textureFiles[slot];
    }
}

TEST(TextureFiles, VerticalRoadIsTheRoadTurnedAQuarter) {
    const Bitmap road = texture(45), turned = texture(46);
    ASSERT_TRUE(road.valid && turned.valid);
    int same = 0;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const auto a = road.at(x, y), b = turned.at(255 - y, x);
            same += a.r == b.r && a.g == b.g && a.b == b.b;
        }
    }
    EXPECT_EQ(same, 256 * 256);
    // ...and is not simply the same picture.
    int unchanged = 0;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const auto a = road.at(x, y), b = turned.at(x, y);
            unchanged += a.r == b.r && a.g == b.g && a.b == b.b;
        }
    }
    EXPECT_LT(unchanged, 256 * 256 / 2);
}

// Particles are added onto the scene: black adds nothing, so their borders must be black and
// their middles bright.
TEST(TextureFiles, ParticlesGlowInTheMiddleAndFadeToBlackAtTheBorder) {
    for (int slot : {47, 48}) {
        SCOPED_TRACE(textureFiles[slot]);
        const Bitmap bmp = texture(slot);
        ASSERT_TRUE(bmp.valid);
        int brightestBorder = 0;
        for (int k = 0; k < 256; ++k) {
            for (const auto p : {bmp.at(k, 0), bmp.at(k, 255), bmp.at(0, k), bmp.at(255, k)}) {
                brightestBorder = std::max({brightestBorder, p.r, p.g, p.b});
            }
        }
        EXPECT_EQ(brightestBorder, 0);
        const auto centre = bmp.at(128, 128);
        EXPECT_GT(centre.r, 220);
        EXPECT_GT(centre.g, 200);
    }
    const auto glowMiddle = texture(47).at(128, 128 - 50);
    EXPECT_GT(glowMiddle.r, glowMiddle.b + 60) << "the fire glow is orange between core and rim";
}

} // namespace
