// What the players see of their round's events, drawn by the real views: the flash in a player's
// own view, the labyrinth's map and the overview's marker, the columns' headers and the result
// panel. The pictures go to TUVO_SCREENSHOTS (the README's are made with docs/screenshots).
#include "app/Game.h"
#include "render/GlState.h"
#include "render/Views.h"
#include "rules/LabyrinthSight.h"
#include "rules/RoundTick.h"
#include "support/GlContext.h"
#include "support/GameFrame.h"
#include "support/RoundDriver.h"
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace {
struct Shade {
    double r = 0, g = 0, b = 0;
    int count = 0; // pixels matching the condition asked for
};

// Mean colour of a frame rectangle (x, y from the bottom left), and how many of its pixels match.
Shade shadeOf(
    int x, int y, int w, int h,
    const std::function<bool(int, int, int)>& match = [](int, int, int) { return false; }) {
    const std::vector<uint8_t> rgb = glContext().readRgb(x, y, w, h);
    Shade s;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
        s.r += rgb[i];
        s.g += rgb[i + 1];
        s.b += rgb[i + 2];
        s.count += match(rgb[i], rgb[i + 1], rgb[i + 2]) ? 1 : 0;
    }
    const double n = static_cast<double>(w) * h;
    s.r /= n;
    s.g /= n;
    s.b /= n;
    return s;
}

bool playerRed(int r, int g, int b) {
    return r > 170 && g < 110 && b < 130;
}
bool playerBlue(int r, int g, int b) {
    return b > 170 && r < 120 && g > 100 && g < 190;
}

struct Feedback : testing::Test {
    Game* game = nullptr;
    std::string folder;

    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        GlContext& gl = glContext();
        setInitialGlState(gl.width, gl.height);
        game = new Game(8028, false);
        runSetUp(*game);
        game->gameRunning = true;
        // A few seconds in: the creatures have left the corners, nothing else has happened.
        for (int t = 0; t < 120; ++t)
            tickRound(game->round, KeyState{});
        const char* chosen = std::getenv("TUVO_SCREENSHOTS");
        folder = chosen && *chosen ? chosen : "screenshots";
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { delete game; }

    // A frame after ticks that told these events.
    void draw(const std::vector<RoundEvent>& events = {}) {
        game->feedback.observe(game->round, events);
        drawGameFrame(roundView(*game));
    }
    void keep(const char* name) {
        const GlContext& gl = glContext();
        EXPECT_TRUE(saveScreenshot(folder + "/" + name + ".png", gl.width, gl.height)) << name;
    }
};
} // namespace

TEST_F(Feedback, EachEventFlashesItsPlayersViewOnly) {
    Game& g = *game;
    draw();
    const Shade calm1 = shadeOf(0, 0, 512, 200), calm2 = shadeOf(512, 0, 512, 200);

    // Caught: player 1's view turns red at once, player 2's stays as it was.
    draw({RoundEvent::of(RoundEvent::sentHome, 1, 4, 4, causeCreature, 5)});
    Shade now1 = shadeOf(0, 0, 512, 200), now2 = shadeOf(512, 0, 512, 200);
    EXPECT_GT(now1.r - now1.g, calm1.r - calm1.g + 40) << "no red flash";
    EXPECT_NEAR(now2.r, calm2.r, 1);
    EXPECT_NEAR(now2.g, calm2.g, 1);
    keep("feedback-caught");

    // A coin for player 2: a golden flash in its view, red and green up over blue.
    g.round.gameTime += 2000;
    draw({RoundEvent::of(RoundEvent::itemTaken, 2, 9, 9, kindCoin)});
    now2 = shadeOf(512, 0, 512, 200);
    EXPECT_GT(now2.r + now2.g - 2 * now2.b, calm2.r + calm2.g - 2 * calm2.b + 30);
    keep("feedback-coin");

    // The flash fades within the second; a frame that told nothing shows nothing new.
    g.round.gameTime += 1500;
    draw();
    now1 = shadeOf(0, 0, 512, 200);
    now2 = shadeOf(512, 0, 512, 200);
    EXPECT_NEAR(now1.r, calm1.r, 3);
    EXPECT_NEAR(now2.b, calm2.b, 3);

    // Cheese home for player 1, then a blast that costs player 2 its cheese.
    draw({RoundEvent::of(RoundEvent::cheeseHome, 1, 0, 0, kindCheese, 10)});
    keep("feedback-cheese");
    g.round.gameTime += 1500;
    draw({RoundEvent::of(RoundEvent::sentHome, 2, 6, 6, causeBombOf1, 0),
          RoundEvent::of(RoundEvent::cheeseLost, 2, 6, 6, kindCheese)});
    now2 = shadeOf(512, 0, 512, 200);
    EXPECT_GT(now2.r - now2.g, calm2.r - calm2.g + 40);
    keep("feedback-hit");
}

TEST_F(Feedback, HeadersInThePlayersColoursAndTheResultOnADimmedBand) {
    Game& g = *game;
    draw();
    // The headers' letters: player 1's red over the left column, player 2's blue over the right,
    // and none of the other's colour.
    const int overviewTop = 735, headerTop = overviewTop - 16, headerBottom = overviewTop - 36;
    const Shade left = shadeOf(24, headerBottom, 100, headerTop - headerBottom, playerRed);
    const Shade right = shadeOf(900, headerBottom, 110, headerTop - headerBottom, playerBlue);
    EXPECT_GT(left.count, 40);
    EXPECT_GT(right.count, 40);
    EXPECT_EQ(shadeOf(900, headerBottom, 110, headerTop - headerBottom, playerRed).count, 0);

    // 0:00: the band under the result is darker than the scene was there.
    const Shade before = shadeOf(300, 735 - 320, 424, 120);
    g.round.player1.points = 12;
    g.round.player1.tally.coins = 7;
    g.round.player1.tally.caught = 2;
    g.round.player2.points = 31;
    g.round.player2.cheese = 3;
    g.round.roundOver = true;
    draw();
    const Shade after = shadeOf(300, 735 - 320, 424, 120);
    EXPECT_LT(after.g, before.g * 0.8);
    // The numbers stand in their players' colours on it.
    EXPECT_GT(shadeOf(300, 735 - 420, 424, 300, playerRed).count, 30);
    EXPECT_GT(shadeOf(300, 735 - 420, 424, 300, playerBlue).count, 30);
    keep("feedback-result");
}

TEST_F(Feedback, TheLabyrinthShowsItsMapAndTheOverviewItsMarker) {
    Game& g = *game;
    // The map's square in the view: most of its 200 rows, twice the earlier 84 and more.
    const int mapSide = 172;
    auto mapCells = [&] {
        return shadeOf(512 - 6 - mapSide, 200 - 6 - mapSide, mapSide, mapSide,
                       [](int r, int g, int b) { return r > 200 && g > 190 && b > 150 && b < 200; })
            .count;
    };
    // Over the house in the overview (its middle 2.2 high shows at 512, 99 from the top).
    auto markerRed = [&] { return shadeOf(482, 735 - 130, 60, 60, playerRed).count; };
    draw();
    const int redBefore = markerRed();

    // Player 1 inside, at the south door, facing in, having looked around there.
    Player& p = g.round.player1;
    p.x = 104.5f;
    p.y = 100.5f;
    p.dirX = 0;
    p.dirY = 1;
    g.round.world.freeRoam[0] = true;
    g.round.player1Camera.place(p.x, p.y - 0.76f, 0.9f, p.x, p.y, 0.85f, 0, 0, 1);
    lookAround(g.round.sight[0], g.round.world.maze, p.x, p.y, p.dirX, p.dirY);
    int seen = 0;
    for (bool s : g.round.sight[0].seen)
        seen += s;
    draw();
    // Each seen cell is about 19 by 19 pixels of the map's pale colour.
    EXPECT_GT(mapCells(), seen * 160);
    EXPECT_LT(mapCells(), (seen + 1) * 400) << "more than what player 1 has seen";
    EXPECT_GT(markerRed(), redBefore + 100) << "no marker over the house";
    keep("labyrinth-map");

    // Out of the labyrinth (still far off the arena), no map and no marker.
    g.round.world.freeRoam[0] = false;
    draw();
    EXPECT_LT(mapCells(), 10);
    EXPECT_LT(markerRed(), redBefore + 20);
}

namespace {
// Mean difference between vertically neighbouring pixels' brightness in a frame rectangle: how
// much detail (tree trunks, crowns, hill lines) it shows.
double verticalDetail(int x, int y, int w, int h) {
    const std::vector<uint8_t> rgb = glContext().readRgb(x, y, w, h);
    auto grey = [&](int cx, int cy) {
        const size_t i = (static_cast<size_t>(cy) * w + cx) * 3;
        return (rgb[i] + rgb[i + 1] + rgb[i + 2]) / 3.0;
    };
    double sum = 0;
    for (int cy = 0; cy + 1 < h; ++cy)
        for (int cx = 0; cx < w; ++cx)
            sum += std::abs(grey(cx, cy) - grey(cx, cy + 1));
    return sum / (static_cast<double>(w) * (h - 1));
}
} // namespace

TEST_F(Feedback, TheBackdropSeenEdgeOnNearACornerKeepsItsDetail) {
    // From player 1's start the west backdrop wall runs into the corner with the north wall about
    // 30 pixels left of the view's middle: left of it the west wall is seen at a grazing angle,
    // right of it the north wall face on. Both show the same hills and trees; squeezed, the west
    // wall's trees are narrower, but as sharp as the north wall's, not smeared into streaks.
    draw();
    const double edgeOn = verticalDetail(185, 120, 30, 60);
    const double faceOn = verticalDetail(260, 120, 60, 60);
    EXPECT_GT(edgeOn, faceOn * 0.95) << "edge-on " << edgeOn << ", face-on " << faceOn;
}

// Walking up to the house's south door, a player sees the orange arrow on its cell pointing in;
// the overview's door cells show as they did.
TEST_F(Feedback, TheHousesDoorCellsCarryAnArrowInThePlayerViews) {
    Game& g = *game;
    // Player 1 in the cell before the south door (7, 8), facing it, its own figure (which
    // stands between its eye and the door) blinked out of the way. The arrow: bright orange.
    g.round.world.homeShelter[0] = true;
    g.round.gameTime = 1000;
    auto doorArrow = [&] {
        return shadeOf(
                   0, 0, 512, 200,
                   [](int r, int gr, int b) { return r > 200 && gr > 120 && gr < 215 && b < 60; })
            .count;
    };
    auto place = [&](float y) {
        Player& p = g.round.player1;
        p.x = 7.5f;
        p.y = y;
        p.dirX = 0;
        p.dirY = 1;
        g.round.player1Camera.place(p.x, p.y - 2.0f, 0.9f, p.x, p.y, 0.7f, 0, 0, 1);
    };
    place(7.4f);
    draw();
    const int facing = doorArrow();
    keep("door-marker");
    // Turned away from the house, the same place shows none.
    g.round.player1Camera.place(7.5f, 9.4f, 0.9f, 7.5f, 7.4f, 0.7f, 0, 0, 1);
    draw();
    const int away = doorArrow();
    EXPECT_GT(facing, 300) << "no orange arrow on the door cell ahead";
    EXPECT_LT(away, facing / 4);
}
