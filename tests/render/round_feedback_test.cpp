// What the players are shown of their round: what its events did to them, the labyrinth map's
// cells, and the overview's texts kept apart at every window size.
#include "render/HudLayout.h"
#include "render/LabyrinthMap.h"
#include "render/RoundFeedback.h"
#include "render/ViewLayout.h"
#include "rules/RoundState.h"
#include <gtest/gtest.h>

namespace {
RoundEvent sentHome(int player, int cause, int pointsLost) {
    return RoundEvent::of(RoundEvent::sentHome, player, 3, 4, cause, pointsLost);
}
} // namespace

TEST(RoundFeedback, ShowsWhatTheFramesEventsDidToEachPlayer) {
    RoundState round(41);
    startRound(round, 41);
    RoundFeedback feedback;
    feedback.observe(round, {});
    EXPECT_FALSE(feedback.shown(1).showing(round.gameTime));
    EXPECT_FALSE(feedback.shown(2).showing(round.gameTime));

    // Player 1 caught with 20 points: its line, its word and a harm flash; player 2 sees
    // nothing of it.
    round.gameTime = 1000;
    std::vector<RoundEvent> frame = {sentHome(1, causeCreature, 5)};
    feedback.observe(round, frame);
    EXPECT_EQ(feedback.shown(1).columnLine, "CAUGHT! -5");
    EXPECT_EQ(feedback.shown(1).viewWord, "CAUGHT!");
    EXPECT_EQ(feedback.shown(1).flash, PlayerFeedback::Flash::harm);
    EXPECT_FALSE(feedback.shown(2).showing(1000));
    // Frames without events leave it showing for about a second, then it is gone.
    round.gameTime = 1016;
    feedback.observe(round, {});
    EXPECT_FLOAT_EQ(feedback.shown(1).since, 1000);
    EXPECT_TRUE(feedback.shown(1).showing(2100));
    EXPECT_FALSE(feedback.shown(1).showing(2300));

    // Caught at 0 points: the word alone. Hit by the other's bomb while carrying cheese (the
    // cheese told after the return home): the cheese lost under it.
    round.gameTime = 3000;
    frame = {sentHome(2, causeCreature, 0)};
    feedback.observe(round, frame);
    EXPECT_EQ(feedback.shown(2).columnLine, "CAUGHT!");
    round.gameTime = 4000;
    frame = {sentHome(1, causeBombOf2, 5), RoundEvent::of(RoundEvent::cheeseLost, 1, 3, 4)};
    feedback.observe(round, frame);
    EXPECT_EQ(feedback.shown(1).columnLine, "HIT! -5");
    EXPECT_EQ(feedback.shown(1).viewWord, "HIT!");
    EXPECT_EQ(feedback.shown(1).viewWordBelow, "CHEESE LOST");
    // Its own bomb is a hit too.
    round.gameTime = 4500;
    frame = {sentHome(2, causeBombOf2, 5)};
    feedback.observe(round, frame);
    EXPECT_EQ(feedback.shown(2).columnLine, "HIT! -5");

    // Gains: two coins in one frame, and a piece of cheese home. A card taken shows nothing.
    round.gameTime = 5000;
    frame = {RoundEvent::of(RoundEvent::itemTaken, 2, 1, 1, kindCoin),
             RoundEvent::of(RoundEvent::itemTaken, 2, 1, 2, kindCoin),
             RoundEvent::of(RoundEvent::itemTaken, 1, 5, 5, kindSpeed)};
    feedback.observe(round, frame);
    EXPECT_EQ(feedback.shown(2).columnLine, "+2");
    EXPECT_EQ(feedback.shown(2).flash, PlayerFeedback::Flash::gain);
    EXPECT_FLOAT_EQ(feedback.shown(1).since, 4000) << "the speed card changed nothing shown";
    round.gameTime = 6000;
    frame = {RoundEvent::of(RoundEvent::cheeseHome, 2, 14, 0, kindCheese, 10)};
    feedback.observe(round, frame);
    EXPECT_EQ(feedback.shown(2).columnLine, "+10");
    EXPECT_EQ(feedback.shown(2).viewWord, "+10");
    // A catch outweighs a coin taken in the same frame.
    round.gameTime = 7000;
    frame = {RoundEvent::of(RoundEvent::itemTaken, 2, 1, 1, kindCoin),
             sentHome(2, causeCreature, 5)};
    feedback.observe(round, frame);
    EXPECT_EQ(feedback.shown(2).columnLine, "CAUGHT! -5");

    // Another round starts from nothing: what the last one showed is gone.
    RoundState next(42);
    startRound(next, 42);
    next.gameTime = 500;
    frame = {sentHome(1, causeCreature, 0)};
    feedback.observe(next, frame);
    EXPECT_FLOAT_EQ(feedback.shown(1).since, 500);
    EXPECT_FALSE(feedback.shown(2).showing(500));
}

TEST(LabyrinthMap, ShowsWhatThePlayerHasSeenAndNoMore) {
    RoundState round(20261207);
    startRound(round, 20261207);
    const MazeGenerator& maze = round.world.maze;
    Player& p = round.player1;
    p.x = 104.5f;
    p.y = 100.5f;
    p.dirX = 0;
    p.dirY = 1;
    // Every cheese in a cell not yet seen, one of them in the door's cell once the player stood
    // there, one there taken by player 2.
    for (int i = MazeWorld::firstCheese; i < MazeWorld::itemTotal; ++i) {
        round.world.items[i].x = 108.5f;
        round.world.items[i].y = 108.5f;
        round.world.items[i].taken = 0;
    }
    LabyrinthMap map = labyrinthMapOf(round.world, round.sight[0], p);
    for (int k = 0; k < 81; ++k) {
        EXPECT_FALSE(map.seen[k]);
        EXPECT_EQ(map.walls[k], 0);
    }
    EXPECT_TRUE(map.cheese.empty()) << "cheese in cells never seen";

    round.world.items[MazeWorld::firstCheese].x = 104.5f;
    round.world.items[MazeWorld::firstCheese].y = 100.5f;
    round.world.items[MazeWorld::firstCheese + 1].x = 104.5f;
    round.world.items[MazeWorld::firstCheese + 1].y = 100.5f;
    round.world.items[MazeWorld::firstCheese + 1].taken = 2;
    lookAround(round.sight[0], maze, p.x, p.y, p.dirX, p.dirY);
    map = labyrinthMapOf(round.world, round.sight[0], p);
    int seen = 0;
    for (int k = 0; k < 81; ++k) {
        const int c = k % 9, r = k / 9;
        ASSERT_EQ(map.seen[k], round.sight[0].seen[k]) << k;
        if (!map.seen[k]) {
            EXPECT_EQ(map.walls[k], 0) << "no walls of a cell not seen";
            continue;
        }
        ++seen;
        // The walls as the labyrinth stores them; the outer -x and -y walls open at the doors.
        const bool east = maze.wallPosX[k] != 0, north = maze.wallPosY[k] != 0;
        const bool west = c == 0 ? r != 4 : maze.wallPosX[k - 1] != 0;
        const bool south = r == 0 ? c != 4 : maze.wallPosY[k - 9] != 0;
        EXPECT_EQ((map.walls[k] & LabyrinthMap::east) != 0, east) << k;
        EXPECT_EQ((map.walls[k] & LabyrinthMap::north) != 0, north) << k;
        EXPECT_EQ((map.walls[k] & LabyrinthMap::west) != 0, west) << k;
        EXPECT_EQ((map.walls[k] & LabyrinthMap::south) != 0, south) << k;
    }
    // The door's cell at least, and not the whole labyrinth.
    EXPECT_GE(seen, 1);
    EXPECT_LT(seen, 81);
    EXPECT_TRUE(map.seen[4]);
    EXPECT_EQ(map.walls[4] & LabyrinthMap::south, 0) << "the south door is open";
    ASSERT_EQ(map.cheese.size(), 1u) << "the piece lying there; not the one player 2 holds";
    EXPECT_EQ(map.cheese[0].column, 4);
    EXPECT_EQ(map.cheese[0].row, 0);
    EXPECT_FLOAT_EQ(map.column, 4.5f);
    EXPECT_FLOAT_EQ(map.row, 0.5f);
    // Player 2 has seen nothing of it.
    const LabyrinthMap other = labyrinthMapOf(round.world, round.sight[1], round.player2);
    EXPECT_TRUE(other.cheese.empty());
}

TEST(HudLayout, TextsKeepApartAtEveryWindowSize) {
    BandLine paused{"PAUSED", true};
    BandLine waiting{"WAITING FOR THE OTHER PLAYER", true};
    std::vector<BandLine> result{{"PLAYER 1 WINS!!", true}};
    for (const char* label : {"POINTS ", "COINS  ", "CHEESE ", "CAUGHT ", "HIT    "}) {
        BandLine row{label};
        row.numbers = true;
        row.values[0] = 120;
        row.values[1] = 7;
        result.push_back(row);
    }
    result.push_back({"SPACE: PLAY AGAIN"});
    const std::vector<std::vector<BandLine>> bands = {{}, {paused}, {waiting}, result};
    int sizes = 0;
    for (int w = 320; w <= 1920; w += 40)
        for (int h = 240; h <= 1200; h += 40) {
            const double scale = frameRect(w, h).scale();
            for (const auto& band : bands)
                for (const bool computer : {false, true}) {
                    const HudLayout l = hudLayout(scale, band, computer);
                    std::vector<std::pair<HudBox, std::string>> boxes;
                    boxes.push_back({l.box(l.clockX, l.clockY, hudClockLetters, false), "clock"});
                    for (int n = 0; n < 2 && l.columns; ++n) {
                        if (l.headers)
                            boxes.push_back({l.box(l.columnX[n], l.headerY, 9, true), "header"});
                        for (int line = 0; line < l.columnLines; ++line)
                            boxes.push_back({l.box(l.columnX[n], l.firstLineY + l.lineStep * line,
                                                   hudColumnLetters, false),
                                             "column line"});
                        // Which computer plays the side, under its lines.
                        if (computer)
                            boxes.push_back({l.box(l.lineX(n, hudComputerLetters), l.computerY,
                                                   hudComputerLetters, false),
                                             "computer line"});
                        if (l.risingLines)
                            for (float y : {l.riseFromY, l.riseToY})
                                boxes.push_back({l.box(l.columnX[n], y, 11, false), "rising line"});
                    }
                    if (l.band) {
                        ASSERT_EQ(l.bandY.size(), band.size());
                        for (size_t i = 0; i < band.size(); ++i) {
                            const HudBox b =
                                l.box(l.bandX[i], l.bandY[i], band[i].letters(), band[i].large);
                            EXPECT_GE(b.x0, l.bandBox.x0);
                            EXPECT_LE(b.x1, l.bandBox.x1);
                            boxes.push_back({b, "band line " + band[i].text});
                        }
                    }
                    const std::string where = std::to_string(w) + "x" + std::to_string(h) +
                                              " band " + std::to_string(band.size()) +
                                              (computer ? " computer" : "");
                    for (size_t i = 0; i < boxes.size(); ++i) {
                        const HudBox& a = boxes[i].first;
                        EXPECT_GE(a.x0, 0) << where << " " << boxes[i].second;
                        EXPECT_LE(a.x1, windowWidth) << where << " " << boxes[i].second;
                        EXPECT_GE(a.y0, 0) << where << " " << boxes[i].second;
                        EXPECT_LE(a.y1, windowHeight - splitHeight)
                            << where << " " << boxes[i].second;
                        // Nothing but its own lines lies under the dimmed band.
                        if (l.band && boxes[i].second.rfind("band line", 0) != 0) {
                            EXPECT_FALSE(a.overlaps(l.bandBox)) << where << " " << boxes[i].second;
                        }
                        for (size_t j = i + 1; j < boxes.size(); ++j)
                            ASSERT_FALSE(a.overlaps(boxes[j].first))
                                << where << ": " << boxes[i].second << " and " << boxes[j].second;
                    }
                    ++sizes;
                }
        }
    EXPECT_GT(sizes, 2000);
    // The headers stay at the smallest window the game is played in, and at its own size the
    // result stands between the columns.
    const HudLayout small = hudLayout(frameRect(320, 240).scale(), {});
    EXPECT_TRUE(small.headers);
    // There the columns shrink to their points, and most of the overview stays in sight: each
    // column's header and line take less than a tenth of it.
    EXPECT_EQ(small.columnLines, 1);
    const HudBox header = small.box(small.columnX[0], small.headerY, 9, true);
    const HudBox points = small.box(small.columnX[0], small.firstLineY, hudColumnLetters, false);
    const float area = (header.x1 - header.x0) * (header.y1 - header.y0) +
                       (points.x1 - points.x0) * (points.y1 - points.y0);
    EXPECT_LT(area, 0.1f * windowWidth * (windowHeight - splitHeight));
    const HudLayout own = hudLayout(1.0, result);
    EXPECT_TRUE(own.columns && own.headers && own.risingLines);
    EXPECT_EQ(own.columnLines, 7);
}
