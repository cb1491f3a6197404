#include "render/Scenery.h"
#include <gtest/gtest.h>
#include <vector>

namespace {
// The columns of row j that a player in cell (px, py) heading (dirX, dirY) sees, over the
// scenery's extent -2..16.
std::vector<int> visibleColumns(int px, int py, float dirX, float dirY, int j) {
    std::vector<int> columns;
    for (int i = -2; i <= 16; ++i)
        if (inViewWedge(px, py, dirX, dirY, i, j))
            columns.push_back(i);
    return columns;
}

std::vector<int> visibleRows(int px, int py, float dirX, float dirY, int i) {
    std::vector<int> rows;
    for (int j = -2; j <= 16; ++j)
        if (inViewWedge(px, py, dirX, dirY, i, j))
            rows.push_back(j);
    return rows;
}

std::vector<int> span(int from, int to) {
    std::vector<int> v;
    for (int k = from; k <= to; ++k)
        v.push_back(k);
    return v;
}
} // namespace

TEST(ViewWedge, PlayerAtHomeHeadingUpSeesFromOneRowBehind) {
    // Player 1 at (0.5, 0.5) heading +y.
    EXPECT_TRUE(visibleColumns(0, 0, 0, 1, -2).empty());
    EXPECT_EQ(visibleColumns(0, 0, 0, 1, -1), span(-2, 2));
    EXPECT_EQ(visibleColumns(0, 0, 0, 1, 0), span(-2, 3));
    EXPECT_EQ(visibleColumns(0, 0, 0, 1, 3), span(-2, 6));
}

TEST(ViewWedge, WedgeWidensByOneCellEachSidePerRow) {
    // A player at (7.5, 2.5) facing +y.
    EXPECT_TRUE(inViewWedge(7, 2, 0, 1, 7, 1));
    EXPECT_FALSE(inViewWedge(7, 2, 0, 1, 7, 0));
    EXPECT_EQ(visibleColumns(7, 2, 0, 1, 1), span(5, 9));
    EXPECT_EQ(visibleColumns(7, 2, 0, 1, 2), span(4, 10));
    EXPECT_EQ(visibleColumns(7, 2, 0, 1, 5), span(1, 13));
    EXPECT_EQ(visibleRows(7, 2, 0, 1, 7), span(1, 16));
}

TEST(ViewWedge, EachAxisDirectionMirrorsTheOthers) {
    // Facing -y from (7.5, 12.5).
    EXPECT_TRUE(inViewWedge(7, 12, 0, -1, 7, 13));
    EXPECT_FALSE(inViewWedge(7, 12, 0, -1, 7, 14));
    EXPECT_EQ(visibleColumns(7, 12, 0, -1, 12), span(4, 10));
    EXPECT_EQ(visibleColumns(7, 12, 0, -1, 9), span(1, 13));
    // Facing +x from (2.5, 7.5).
    EXPECT_TRUE(inViewWedge(2, 7, 1, 0, 1, 7));
    EXPECT_FALSE(inViewWedge(2, 7, 1, 0, 0, 7));
    EXPECT_EQ(visibleRows(2, 7, 1, 0, 2), span(4, 10));
    EXPECT_EQ(visibleRows(2, 7, 1, 0, 5), span(1, 13));
    // Facing -x from (12.5, 7.5).
    EXPECT_TRUE(inViewWedge(12, 7, -1, 0, 13, 7));
    EXPECT_FALSE(inViewWedge(12, 7, -1, 0, 14, 7));
    EXPECT_EQ(visibleRows(12, 7, -1, 0, 12), span(4, 10));
    EXPECT_EQ(visibleRows(12, 7, -1, 0, 9), span(1, 13));
}

TEST(ViewWedge, DiagonalHeadingNeedsBothConditions) {
    const float d = 0.7071f;
    // Ahead on both axes.
    EXPECT_TRUE(inViewWedge(7, 7, d, d, 10, 10));
    EXPECT_TRUE(inViewWedge(7, 7, d, d, 6, 6));
    // Far along +x on the player's row: the +x wedge holds it, the +y wedge does not.
    EXPECT_TRUE(inViewWedge(7, 7, 1, 0, 14, 7));
    EXPECT_FALSE(inViewWedge(7, 7, d, d, 14, 7));
    // Well ahead in y but two columns behind in x.
    EXPECT_TRUE(inViewWedge(7, 7, 0, 1, 5, 9));
    EXPECT_FALSE(inViewWedge(7, 7, d, d, 5, 9));
    // Heading (-d, -d) is the mirror image.
    EXPECT_TRUE(inViewWedge(7, 7, -d, -d, 4, 4));
    EXPECT_FALSE(inViewWedge(7, 7, -d, -d, 9, 5));
}

TEST(ViewWedge, StandingStillSeesEverything) {
    for (int i = -2; i <= 16; ++i)
        for (int j = -2; j <= 16; ++j)
            ASSERT_TRUE(inViewWedge(7, 7, 0, 0, i, j)) << i << ", " << j;
}
