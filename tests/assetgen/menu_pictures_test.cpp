#include "../../tools/assetgen/MenuButtons.h"
#include "GeneratedFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

using namespace menuart;

struct Button {
    const char* picture;
    PictureExtent extent;
    MenuRect area;
    MenuRect painted;
    ButtonColour face;
};

const Button buttons[] = {{"menu", titleExtent, startArea, startButton, startFace},
                          {"menu", titleExtent, helpArea, helpButton, helpFace},
                          {"menu", titleExtent, optionsArea, optionsButton, optionsFace},
                          {"help", helpExtent, closeArea, backButton, backFace}};

bool inside(const MenuRect& inner, const MenuRect& outer) {
    return inner.left > outer.left && inner.right < outer.right && inner.bottom > outer.bottom &&
           inner.top < outer.top;
}

TEST(MenuPictures, ExtentsAndClickAreasAreTheGames) {
    EXPECT_DOUBLE_EQ(titleExtent.halfWidth, 5.9);
    EXPECT_DOUBLE_EQ(titleExtent.halfHeight, 4.3);
    EXPECT_DOUBLE_EQ(helpExtent.halfWidth, 5.8);
    EXPECT_DOUBLE_EQ(helpExtent.halfHeight, 4.2);
    // The point of each area that the menu tests with exclusive bounds.
    EXPECT_DOUBLE_EQ(startArea.left, -1.98);
    EXPECT_DOUBLE_EQ(startArea.top, -0.09);
    EXPECT_DOUBLE_EQ(helpArea.bottom, -2.2);
    EXPECT_DOUBLE_EQ(closeArea.right, 5.41);
    for (const Button& b : buttons) {
        EXPECT_TRUE(inside(b.painted, b.area));
        // The buttons are nearly as large as their areas, so what looks like a button is one.
        EXPECT_GT(b.painted.right - b.painted.left, 0.9 * (b.area.right - b.area.left));
        EXPECT_GT(b.painted.top - b.painted.bottom, 0.8 * (b.area.top - b.area.bottom));
    }
    // The colour test below tells the start and help buttons apart only if their faces differ.
    EXPECT_GT(std::abs(startFace.r - helpFace.r) + std::abs(startFace.g - helpFace.g) +
                  std::abs(startFace.b - helpFace.b),
              150);
    // Pixel mapping: the picture's corners and its middle.
    EXPECT_DOUBLE_EQ(pixelColumn(titleExtent, -5.9), 0);
    EXPECT_DOUBLE_EQ(pixelColumn(titleExtent, 0), 512);
    EXPECT_DOUBLE_EQ(pixelRowFromTop(helpExtent, 4.2), 0);
    EXPECT_DOUBLE_EQ(pixelRowFromTop(helpExtent, -4.2), 1024);
}

// Finds the pixels of the button's face colour around its area and holds their extent, in menu
// units, against the click area.
TEST(MenuPictures, EachPaintedButtonLiesInsideItsClickArea) {
    for (const Button& b : buttons) {
        SCOPED_TRACE(b.picture + std::string(" button at x ") + std::to_string(b.area.left));
        const auto bmp =
            generated::readBitmap(generated::buildDir() + "/textures/" + b.picture + ".bmp");
        ASSERT_TRUE(bmp.valid);
        const PictureExtent& e = b.extent;
        const double margin = 0.6;
        const int x0 = std::max(0, static_cast<int>(pixelColumn(e, b.area.left - margin)));
        const int x1 = std::min(1023, static_cast<int>(pixelColumn(e, b.area.right + margin)));
        const int y0 = std::max(0, static_cast<int>(pixelRowFromTop(e, b.area.top + margin)));
        const int y1 = std::min(1023, static_cast<int>(pixelRowFromTop(e, b.area.bottom - margin)));
        double left = 1e9, right = -1e9, top = -1e9, bottom = 1e9;
        int count = 0;
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const auto p = bmp.at(x, y);
                if (std::abs(p.r - b.face.r) <= 2 && std::abs(p.g - b.face.g) <= 2 &&
                    std::abs(p.b - b.face.b) <= 2) {
                    ++count;
                    left = std::min(left, menuX(e, x));
                    right = std::max(right, menuX(e, x));
                    top = std::max(top, menuY(e, y));
                    bottom = std::min(bottom, menuY(e, y));
                }
            }
        }
        ASSERT_GT(count, 0) << "no pixel of the button's face colour";
        EXPECT_GT(left, b.area.left);
        EXPECT_LT(right, b.area.right);
        EXPECT_GT(bottom, b.area.bottom);
        EXPECT_LT(top, b.area.top);
        EXPECT_GT(right - left, 0.8 * (b.area.right - b.area.left));
        EXPECT_GT(top - bottom, 0.4 * (b.area.top - b.area.bottom));

        const double cx = (b.area.left + b.area.right) / 2;
        const double cy = (b.area.top + b.area.bottom) / 2;
        const auto centre =
            bmp.at(static_cast<int>(pixelColumn(e, cx)), static_cast<int>(pixelRowFromTop(e, cy)));
        EXPECT_NEAR(centre.r, b.face.r, 2);
        EXPECT_NEAR(centre.g, b.face.g, 2);
        EXPECT_NEAR(centre.b, b.face.b, 2);
    }
}

} // namespace
