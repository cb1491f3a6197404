#include "screens/Menu.h"
#include "screens/Menus.h"
#include "screens/ScreenState.h"
#include "render/ViewLayout.h"
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
    ScreenState game;
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

// At any window size the picture keeps its proportions, centred: a click on the middle of the
// START button as it shows hits it, and one on the bars beside the picture hits nothing.
TEST_F(MenuTest, ClicksHitTheButtonsWhereverTheScaledPictureShows) {
    // START's centre in menu units, and where that lands in a frame of a given size and place.
    const float startX = (startArea.left + startArea.right) / 2;
    const float startY = (startArea.bottom + startArea.top) / 2;
    struct Window {
        int width, height;
        int frameX, frameTop, frameWidth, frameHeight;
    } windows[] = {{1024, 735, 0, 0, 1024, 735},
                   {1600, 900, 173, 0, 1254, 900},  // bars left and right
                   {800, 800, 0, 113, 800, 574},    // bars above and below
                   {2048, 1470, 0, 0, 2048, 1470}}; // twice the frame's own size
    for (const Window& w : windows) {
        const int x = w.frameX + static_cast<int>((startX / 11.5f + 0.5f) * w.frameWidth);
        const int y = w.frameTop + static_cast<int>((0.5f - startY / 8.3f) * w.frameHeight);
        game.gameRunning = false;
        menuMouse(game, framePointer(w.width, w.height, x, y, true));
        EXPECT_TRUE(game.gameRunning) << w.width << " x " << w.height;
        EXPECT_NEAR(game.mouseX, startX, 12 / (w.frameWidth / 11.5f));
        EXPECT_NEAR(game.mouseY, startY, 12 / (w.frameHeight / 8.3f));
    }
    // On the bar to the left of a wide window's picture, level with START: outside every area.
    game.gameRunning = false;
    menuMouse(game, framePointer(1600, 900, 100, 420, true));
    EXPECT_FALSE(game.gameRunning);
    EXPECT_LT(game.mouseX, -5.75f);
}

TEST(FrameLayout, TheFrameFitsCentredAndItsViewsShareTheirEdges) {
    const FrameRect wide = frameRect(1600, 900);
    EXPECT_EQ(wide.height, 900);
    EXPECT_EQ(wide.width, 1254); // 1024 x 900 / 735
    EXPECT_EQ(wide.x, 173);
    EXPECT_EQ(wide.y, 0);
    const FrameRect tall = frameRect(800, 800);
    EXPECT_EQ(tall.width, 800);
    EXPECT_EQ(tall.height, 574);
    EXPECT_EQ(tall.y, 113);
    // The overview and the two player views tile the frame without gaps or overlaps.
    const FrameRect::Pixels over = wide.place(0, 200, 1024, 535);
    const FrameRect::Pixels left = wide.place(0, 0, 512, 200);
    const FrameRect::Pixels right = wide.place(512, 0, 512, 200);
    EXPECT_EQ(left.y + left.height, over.y);
    EXPECT_EQ(left.x + left.width, right.x);
    EXPECT_EQ(right.x + right.width, wide.x + wide.width);
    EXPECT_EQ(over.y + over.height, wide.y + wide.height);
    // A window shrunk to one row, or to nothing, has no frame to draw.
    EXPECT_TRUE(frameRect(1024, 1).empty());
    EXPECT_TRUE(frameRect(0, 0).empty());
    EXPECT_FALSE(frameRect(1024, 735).empty());
}

// The title by keys alone: the highlight starts on START, so Return alone starts; Up and Down go
// to the row above or below, Left and Right between HELP and PLAY ONLINE beside it, Tab and
// Shift+Tab round the buttons in reading order; HELP and OPTIONS are left with Backspace (a
// pad's B).
TEST_F(MenuTest, TheTitleAnswersTheKeysAndThePointerMovesTheSameHighlight) {
    using platform::MenuKey;
    game.onlineOffered = true;
    titleKey(game, MenuKey::down);
    EXPECT_EQ(titleEntries[game.menus.titleFocus].action, TitleAction::opponent);
    titleKey(game, MenuKey::press);
    titleKey(game, MenuKey::right);
    EXPECT_EQ(game.opponents.titleLine(), "PLAYER 2: COMPUTER NORMAL, STEADY")
        << "on the opponent line a press and Right each step the choice";
    EXPECT_FALSE(game.gameRunning);
    titleKey(game, MenuKey::down);
    titleKey(game, MenuKey::press);
    EXPECT_EQ(game.helpShown, 1) << "under the opponent line is HELP";
    titleKey(game, MenuKey::down);
    EXPECT_EQ(game.helpShown, 1) << "the arrows do not leave the help picture";
    titleKey(game, MenuKey::back);
    EXPECT_EQ(game.helpShown, 0);
    titleKey(game, MenuKey::right);
    EXPECT_EQ(titleEntries[game.menus.titleFocus].action, TitleAction::online)
        << "PLAY ONLINE stands right of HELP";
    titleKey(game, MenuKey::right);
    EXPECT_EQ(titleEntries[game.menus.titleFocus].action, TitleAction::online) << "row's end";
    titleKey(game, MenuKey::down);
    EXPECT_EQ(titleEntries[game.menus.titleFocus].action, TitleAction::options);
    titleKey(game, MenuKey::up);
    EXPECT_EQ(titleEntries[game.menus.titleFocus].action, TitleAction::help)
        << "OPTIONS stands under HELP";
    titleKey(game, MenuKey::up);
    titleKey(game, MenuKey::up);
    titleKey(game, MenuKey::up);
    EXPECT_EQ(titleEntries[game.menus.titleFocus].action, TitleAction::options)
        << "up from START goes round to the bottom";
    titleKey(game, MenuKey::previous);
    EXPECT_EQ(titleEntries[game.menus.titleFocus].action, TitleAction::online);
    titleKey(game, MenuKey::next);
    titleKey(game, MenuKey::press);
    EXPECT_TRUE(game.menus.optionsShown) << "after PLAY ONLINE comes OPTIONS";
    game.menus.optionsShown = false;
    titleKey(game, MenuKey::next);
    EXPECT_EQ(titleEntries[game.menus.titleFocus].action, TitleAction::start) << "round again";
    titleKey(game, MenuKey::previous);
    EXPECT_EQ(titleEntries[game.menus.titleFocus].action, TitleAction::options);

    // A pointer moved onto HELP takes the highlight; resting there, it leaves the keys theirs.
    // (Where it rests at start, it takes nothing: it has not moved.)
    menuMouse(game, pointerAt(0, 3, false));
    menuMouse(game, pointerAt(0, -1.8f, false));
    EXPECT_EQ(titleEntries[game.menus.titleFocus].action, TitleAction::help);
    titleKey(game, MenuKey::up);
    titleKey(game, MenuKey::up);
    menuMouse(game, pointerAt(0, -1.8f, false));
    EXPECT_EQ(titleEntries[game.menus.titleFocus].action, TitleAction::start);
    EXPECT_FALSE(game.gameRunning);
    titleKey(game, MenuKey::press);
    EXPECT_TRUE(game.gameRunning);

    // A click on the painted OPTIONS button opens the options too.
    ScreenState other;
    menuMouse(other, pointerAt(0, -2.95f, true));
    EXPECT_TRUE(other.menus.optionsShown);
}

TEST(OptionsMenu, VolumesStayWithinZeroToTenAndKeysAreRefusedWhenTaken) {
    using platform::MenuKey;
    MenuState m;
    m.openOptions();
    Settings s;
    // Music: left from 10 down past 0 stays at 0; right back up to 10 stays there.
    for (int n = 0; n < 12; ++n)
        optionsKey(m, s, MenuKey::left, false, false);
    EXPECT_EQ(s.musicVolume, 0);
    const MenuOutcome louder = optionsKey(m, s, MenuKey::right, false, false);
    EXPECT_EQ(s.musicVolume, 1);
    EXPECT_TRUE(louder.settingsChanged) << "a change is saved at once";
    EXPECT_EQ(s.effectsVolume, 10) << "the effects keep theirs";
    EXPECT_EQ(optionsPanel(m, s, false, false).rows[rowMusic].value, "1");

    // Full screen and shadows turn what is, not what the file says.
    m.optionsFocus = rowFullscreen;
    const MenuOutcome full = optionsKey(m, s, MenuKey::press, true, false);
    EXPECT_TRUE(full.fullscreen);
    EXPECT_FALSE(s.fullscreen) << "full screen on now, so the press turns it off";

    // Player 1's bomb: B is free and taken; Up is player 2's forward; P is the pause.
    m.optionsFocus = optionsKeyRow(1, keyBomb);
    optionsKey(m, s, MenuKey::press, false, false);
    EXPECT_EQ(m.notice, "PRESS A KEY FOR PLAYER 1: BOMB");
    EXPECT_EQ(optionsPanel(m, s, false, false).rows[m.optionsFocus].value, "...");
    EXPECT_TRUE(optionsCaptured(m, s, "B").settingsChanged);
    EXPECT_EQ(s.keys[0][keyBomb], "B");
    EXPECT_TRUE(m.notice.empty());
    optionsKey(m, s, MenuKey::press, false, false);
    EXPECT_FALSE(optionsCaptured(m, s, "Up").settingsChanged);
    EXPECT_EQ(m.notice, "UP IS ALREADY PLAYER 2'S FORWARD");
    EXPECT_EQ(s.keys[0][keyBomb], "B");
    optionsKey(m, s, MenuKey::press, false, false);
    optionsCaptured(m, s, "P");
    EXPECT_EQ(m.notice, "P IS THE GAME'S PAUSE KEY");
    // Esc, or a pad's B, gives up choosing and keeps the key.
    optionsKey(m, s, MenuKey::press, false, false);
    optionsCaptured(m, s, "Escape");
    optionsKey(m, s, MenuKey::press, false, false);
    optionsKey(m, s, MenuKey::back, false, false);
    EXPECT_EQ(m.rebinding, -1);
    EXPECT_TRUE(m.optionsShown) << "B while a key is chosen cancels only the choice";
    EXPECT_EQ(s.keys[0][keyBomb], "B");

    // Player 2's forward may take B once player 1 has given it back through RESET KEYS.
    m.optionsFocus = rowResetKeys;
    optionsKey(m, s, MenuKey::press, false, false);
    EXPECT_EQ(s.keys[0][keyBomb], "Left Shift");
    EXPECT_EQ(s.musicVolume, 1) << "RESET KEYS leaves the volumes";
    // BACK, by the pointer: its row, clicked.
    const MenuPanel panel = optionsPanel(m, s, false, false);
    optionsPointer(m, s, 400, panel.rowTop(rowBack) + 5, true, false, false);
    EXPECT_FALSE(m.optionsShown);
}

TEST(PauseMenu, ContinueOptionsAndEndRound) {
    using platform::MenuKey;
    MenuState m;
    EXPECT_TRUE(pauseKey(m, MenuKey::press).continueRound) << "the highlight starts on CONTINUE";
    EXPECT_TRUE(pauseKey(m, MenuKey::back).continueRound);
    pauseKey(m, MenuKey::up);
    EXPECT_EQ(m.pauseFocus, pauseEndRound) << "up from the top goes round to the bottom";
    const MenuOutcome end = pauseKey(m, MenuKey::press);
    EXPECT_TRUE(end.endRound);
    EXPECT_FALSE(end.continueRound);
    pauseKey(m, MenuKey::up);
    pauseKey(m, MenuKey::press);
    EXPECT_TRUE(m.optionsShown);
    // The pointer: a click on END ROUND's row, and none outside the panel.
    MenuState p;
    const MenuPanel panel = pausePanel(p);
    EXPECT_FALSE(pausePointer(p, 100, panel.rowTop(pauseEndRound) + 5, true).endRound);
    EXPECT_TRUE(pausePointer(p, 512, panel.rowTop(pauseEndRound) + 5, true).endRound);
}

TEST_F(MenuTest, TheOpponentLineStepsOncePerClickThroughTheLevels) {
    // Between START and HELP, clear of both.
    EXPECT_GT(startArea.bottom, opponentArea.top);
    EXPECT_LT(helpArea.top, opponentArea.bottom);
    const float y = (opponentArea.bottom + opponentArea.top) / 2;
    EXPECT_EQ(game.opponents.titleLine(), "PLAYER 2: HUMAN");
    const char* expected[] = {"PLAYER 2: COMPUTER EASY, BEGINNER",
                              "PLAYER 2: COMPUTER NORMAL, STEADY",
                              "PLAYER 2: COMPUTER HARD, SHREWD", "PLAYER 2: HUMAN"};
    for (const char* line : expected) {
        menuMouse(game, pointerAt(1.0f, y, true));
        // The press seen again on the next idle frame is the same click.
        menuMouse(game, pointerAt(1.0f, y, true));
        EXPECT_EQ(game.opponents.titleLine(), line);
        menuMouse(game, pointerAt(1.0f, y, false));
    }
    EXPECT_FALSE(game.gameRunning);
    EXPECT_TRUE(game.opponents.chosenOnTitle);
    menuMouse(game, pointerAt(0, y, true));
    EXPECT_EQ(game.opponents.kept(), "easy");
    EXPECT_STREQ(game.opponents.hudLine(2), "COMPUTER EASY");
    EXPECT_EQ(game.opponents.hudLine(1), nullptr);
    // A computer player 1 (from the command line) is named on the line too.
    game.opponents.side[0] = static_cast<int32_t>(BotLevel::hard);
    game.opponents.choose("normal");
    EXPECT_EQ(game.opponents.titleLine(), "PLAYER 1: COMPUTER HARD, PLAYER 2: COMPUTER NORMAL");
}

// Esc reaches the menus as "back" (a pad's B too): each of the game's own menus goes back one
// step and none ends the game.
TEST(OptionsMenu, BackGoesOneStepInTheKeyCaptureTheOptionsAndThePauseMenu) {
    using platform::MenuKey;
    MenuState m;
    Settings s;
    EXPECT_TRUE(pauseKey(m, MenuKey::back).continueRound) << "the pause menu: back to the round";
    m.pauseFocus = pauseOptions;
    pauseKey(m, MenuKey::press);
    ASSERT_TRUE(m.optionsShown);
    m.optionsFocus = optionsKeyRow(2, keyTrap);
    optionsKey(m, s, MenuKey::press, false, false);
    ASSERT_EQ(m.rebinding, m.optionsFocus);
    // A refused key ends the capture with a notice; Esc after it closes only the options.
    optionsCaptured(m, s, "Up");
    EXPECT_EQ(m.notice, "UP IS ALREADY PLAYER 2'S FORWARD");
    EXPECT_TRUE(m.optionsShown);
    optionsKey(m, s, MenuKey::press, false, false);
    optionsCaptured(m, s, "Escape");
    EXPECT_EQ(m.rebinding, -1) << "Esc in the capture gives up the choice";
    EXPECT_TRUE(m.optionsShown) << "and stays in the options";
    EXPECT_EQ(s.keys[1][keyTrap], "/");
    optionsKey(m, s, MenuKey::back, false, false);
    EXPECT_FALSE(m.optionsShown) << "Esc in the options goes back to the pause menu";
}

TEST(OptionsMenu, KeysAreListedForwardBackLeftRightBombWallTrapAndHelpShowsThemAsSet) {
    MenuState m;
    m.openOptions();
    Settings s;
    const MenuPanel panel = optionsPanel(m, s, false, false);
    const char* order[] = {"FORWARD", "BACK", "LEFT", "RIGHT", "BOMB", "WALL", "TRAP"};
    const char* keys[] = {"R", "F", "D", "G", "LEFT SHIFT", "X", "Z"};
    for (int k = 0; k < playerKeyCount; ++k) {
        EXPECT_EQ(panel.rows[rowFirstKey + k].label, std::string("PLAYER 1: ") + order[k]);
        EXPECT_EQ(panel.rows[rowFirstKey + k].value, keys[k]);
        EXPECT_EQ(panel.rows[optionsKeyRow(2, keysListed[k])].label,
                  std::string("PLAYER 2: ") + order[k]);
    }
    EXPECT_EQ(panel.rows[rowSteering].label, "STEERING HELP");
    EXPECT_EQ(panel.rows[rowSteering].value, "ON") << "steering help is on until turned off";

    // Player 1's bomb to B, player 2's left to A: HELP shows them in their places.
    m.optionsFocus = optionsKeyRow(1, keyBomb);
    optionsKey(m, s, platform::MenuKey::press, false, false);
    optionsCaptured(m, s, "B");
    m.optionsFocus = optionsKeyRow(2, keyLeft);
    optionsKey(m, s, platform::MenuKey::press, false, false);
    optionsCaptured(m, s, "A");
    const std::vector<MenuView::HelpKey> one = helpKeys(s, 1), two = helpKeys(s, 2);
    ASSERT_EQ(one.size(), 7u);
    EXPECT_EQ(one[0].action, "Forward");
    EXPECT_EQ(one[0].key, "R");
    EXPECT_EQ(one[4].action, "Bomb");
    EXPECT_EQ(one[4].key, "B");
    EXPECT_EQ(one[6].action, "Trap");
    EXPECT_EQ(two[2].action, "Left");
    EXPECT_EQ(two[2].key, "A");
    EXPECT_EQ(two[3].key, "Right");

    // Steering help turns like the other switches, and is kept.
    m.optionsFocus = rowSteering;
    EXPECT_TRUE(optionsKey(m, s, platform::MenuKey::right, false, false).settingsChanged);
    EXPECT_FALSE(s.steeringHelp);
}

TEST(OptionsMenu, RenderScaleStepsFromAutoToHalfAndTheOptionsStillFitTheFrame) {
    using platform::MenuKey;
    MenuState m;
    m.openOptions();
    Settings s;
    auto shown = [&] { return optionsPanel(m, s, false, false).rows[rowRenderScale].value; };
    EXPECT_EQ(optionsPanel(m, s, false, false).rows[rowRenderScale].label, "RENDER SCALE");
    EXPECT_EQ(shown(), "AUTO");
    m.optionsFocus = rowRenderScale;
    // Right goes down the sizes and stops at the smallest; left stops at AUTO.
    for (const char* value : {"100 %", "85 %", "70 %", "50 %", "50 %"}) {
        optionsKey(m, s, MenuKey::right, false, false);
        EXPECT_EQ(shown(), value);
    }
    EXPECT_EQ(s.renderScale, 50);
    EXPECT_FALSE(optionsKey(m, s, MenuKey::right, false, false).settingsChanged);
    for (int n = 0; n < 6; ++n)
        optionsKey(m, s, MenuKey::left, false, false);
    EXPECT_EQ(s.renderScale, renderScaleAuto);
    // A press alone goes round through every choice back to AUTO, each one kept.
    for (int percent : {100, 85, 70, 50, renderScaleAuto}) {
        EXPECT_TRUE(optionsKey(m, s, MenuKey::press, false, false).settingsChanged);
        EXPECT_EQ(s.renderScale, percent);
    }
    // The pointer: right of the value's middle steps on, left of it steps back.
    const MenuPanel panel = optionsPanel(m, s, false, false);
    const int y = panel.rowTop(rowRenderScale) + 5;
    optionsPointer(m, s, panel.valueMiddle() + 20, y, true, false, false);
    optionsPointer(m, s, panel.valueMiddle() + 20, y, true, false, false);
    EXPECT_EQ(s.renderScale, 85);
    optionsPointer(m, s, panel.valueMiddle() - 20, y, true, false, false);
    EXPECT_EQ(s.renderScale, 100);

    // Every row and the notice under them stay inside the frame.
    EXPECT_LE(panel.bottom(), windowHeight);
}

TEST(ResultMenu, AfterTheRoundPlayAgainOrBackToTheTitle) {
    using platform::MenuKey;
    MenuState m;
    ASSERT_EQ(resultPanel(m).rows.size(), 2u);
    EXPECT_EQ(resultPanel(m).rows[resultTitle].label, "TITLE");
    const MenuOutcome again = resultKey(m, MenuKey::press);
    EXPECT_TRUE(again.playAgain) << "the highlight starts on PLAY AGAIN";
    EXPECT_FALSE(again.endRound);
    resultKey(m, MenuKey::down);
    const MenuOutcome title = resultKey(m, MenuKey::press);
    EXPECT_TRUE(title.endRound);
    EXPECT_FALSE(title.playAgain);
    EXPECT_FALSE(resultKey(m, MenuKey::back).endRound) << "Esc there is the round's: it quits";
    // The pointer: hovering PLAY AGAIN highlights it, a click on TITLE presses it.
    MenuState p;
    const MenuPanel panel = resultPanel(p);
    resultPointer(p, 512, panel.rowTop(resultPlayAgain) + 5, false);
    EXPECT_EQ(p.resultFocus, resultPlayAgain);
    EXPECT_FALSE(resultPointer(p, 100, panel.rowTop(resultTitle) + 5, true).endRound);
    EXPECT_TRUE(resultPointer(p, 512, panel.rowTop(resultTitle) + 5, true).endRound);
}
