#include "app/Game.h"
#include "app/Menu.h"
#include <gtest/gtest.h>

namespace {
// The pixel of the 1024 by 735 client area that maps to menu point (mx, my); the mapping puts
// W / 11.5 pixels in one unit across and H / 8.3 pixels up.
MenuPointer pointerAt(float mx, float my, bool press) {
    MenuPointer p{1024, 735, 0, 0, press};
    p.x = static_cast<int>(512 + mx * (1024 / 11.5f) + (mx >= 0 ? 0.5f : -0.5f));
    p.y = static_cast<int>(367 - my * (735 / 8.3f) + (my >= 0 ? -0.5f : 0.5f));
    return p;
}

struct MenuTest : testing::Test {
    Game game{1234, false};
};
} // namespace

TEST_F(MenuTest, PointerMapsClientPixelsToMenuUnits) {
    menuMouse(game, {1024, 735, 512, 367, false});
    EXPECT_FLOAT_EQ(game.mouseX, 0);
    EXPECT_FLOAT_EQ(game.mouseY, 0);
    // The left edge of the client area is 512 pixels left of the centre: 512 / (1024 / 11.5).
    menuMouse(game, {1024, 735, 0, 0, false});
    EXPECT_NEAR(game.mouseX, -5.75f, 1e-5);
    EXPECT_NEAR(game.mouseY, 367 / (735 / 8.3f), 1e-5);
    // A window of another size keeps the same span of units.
    menuMouse(game, {800, 600, 800, 600, false});
    EXPECT_NEAR(game.mouseX, 5.75f, 1e-5);
    EXPECT_NEAR(game.mouseY, -4.15f, 1e-5);
}

TEST_F(MenuTest, CursorHiddenOnlyInsideTheHidingRegion) {
    EXPECT_TRUE(menuMouse(game, pointerAt(0, 0, false)));
    EXPECT_TRUE(menuMouse(game, pointerAt(5.7f, 4.0f, false)));
    EXPECT_FALSE(menuMouse(game, {1024, 735, -300, 100, false})) << "far left of the window";
    EXPECT_FALSE(menuMouse(game, {1024, 735, 500, 800, false})) << "below the window";
}

TEST_F(MenuTest, StartClickStartsTheGameOnlyInsideItsExclusiveBounds) {
    menuMouse(game, pointerAt(0, -0.5f, false));
    EXPECT_FALSE(game.gameRunning) << "moving is not clicking";
    menuMouse(game, pointerAt(0, -0.5f, true));
    EXPECT_TRUE(game.gameRunning);
    EXPECT_EQ(game.helpShown, 0);
}

TEST_F(MenuTest, ClicksOnAreaBordersDoNothing) {
    // Pixels that land on or just beyond each border.
    for (MenuPointer p : {pointerAt(1.71f, -0.5f, true), pointerAt(-1.99f, -0.5f, true),
                          pointerAt(0, -0.08f, true), pointerAt(0, -2.21f, true)}) {
        menuMouse(game, p);
        EXPECT_FALSE(game.gameRunning);
        EXPECT_EQ(game.helpShown, 0);
    }
    // The help area's borders themselves, in menu units.
    const MenuArea& a = helpArea;
    EXPECT_FALSE(a.contains(-0.99f, -1.8f));
    EXPECT_FALSE(a.contains(0.71f, -1.8f));
    EXPECT_FALSE(a.contains(0, -2.2f));
    EXPECT_FALSE(a.contains(0, -1.5f));
    EXPECT_TRUE(a.contains(-0.98f, -1.51f));
}

TEST_F(MenuTest, HelpOpensAndClosesAndIgnoresStart) {
    menuMouse(game, pointerAt(0, -1.8f, true));
    EXPECT_EQ(game.helpShown, 1);
    // The same press seen again on the next idle frame does not close it: the close area is far.
    menuMouse(game, pointerAt(0, -1.8f, true));
    EXPECT_EQ(game.helpShown, 1);
    menuMouse(game, pointerAt(0, -0.5f, true));
    EXPECT_FALSE(game.gameRunning) << "start is not active on the help picture";
    menuMouse(game, pointerAt(4.6f, -3.5f, true));
    EXPECT_EQ(game.helpShown, 0);
    EXPECT_FALSE(game.gameRunning);
}
