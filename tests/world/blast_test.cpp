#include "world/TestWorld.h"
#include <gtest/gtest.h>
#include <set>
#include <utility>

namespace {

using CellSet = std::set<std::pair<int, int>>;

CellSet burning(const MazeWorld& w) {
    CellSet cells;
    for (const BurningCell& b : w.burning())
        cells.insert({b.x, b.y});
    return cells;
}

// A bomb as dropping it leaves it: fuse lit at 1000 ms, due at 4500 ms.
Bomb lyingBomb(float x, float y, int reach) {
    Bomb bomb;
    bomb.x = static_cast<float>(static_cast<int>(x)) + 0.5f;
    bomb.y = static_cast<float>(static_cast<int>(y)) + 0.5f;
    bomb.reach = reach;
    bomb.ready = false;
    bomb.dropTime = 1000;
    bomb.blastTime = 4500;
    return bomb;
}

class Blast : public ::testing::Test {
  protected:
    Blast() : t(21) {
        t.clearArena();
        // Players out in the arena, long past the shelter of their homes.
        w.homeShelter[0] = w.homeShelter[1] = false;
        t.placePlayer(1, 6.5f, 6.5f);
        t.placePlayer(2, 6.5f, 4.5f);
    }
    // Puts a bomb into a player's slot, where a cell can name it.
    Bomb& inSlot(const Bomb& bomb, int slot = 0, int player = 1) {
        return t.bombs[player - 1][slot] = bomb;
    }
    void explode(Bomb& bomb, int slot = 0, int player = 1) {
        ASSERT_TRUE(w.placeBomb(bomb.x, bomb.y, slot, player));
        bomb.exploding = true;
        t.blast(bomb);
    }
    TestWorld t;
    MazeWorld& w = t.world;
};

} // namespace

TEST_F(Blast, PillarsStopTheFlameUnburnt) {
    Bomb& bomb = inSlot(lyingBomb(2.5f, 1.5f, 2));
    explode(bomb);
    EXPECT_TRUE(bomb.blastApplied);
    // Pillars (1, 1) and (3, 1) on both x sides; the y flames run to (2, 3) and (2, 0), row -1
    // lies outside.
    EXPECT_EQ(burning(w), (CellSet{{2, 1}, {2, 2}, {2, 3}, {2, 0}}));
    ASSERT_EQ(w.blastCellCount, 4);
    EXPECT_EQ(w.blastCells[0].x, 2);
    EXPECT_EQ(w.blastCells[0].y, 1);
    EXPECT_EQ(w.blastCells[0].time, 4500.0f);
    EXPECT_EQ(w.blastCells[1].y, 2); // +y before -y at each distance
    EXPECT_EQ(w.blastCells[2].y, 0);
}

TEST_F(Blast, ObstacleIsDestroyedAndShieldsWhatLiesBeyond) {
    Obstacle& obstacle = w.obstacles[0];
    obstacle = Obstacle{};
    Item& hidden = w.items[60];
    hidden = Item{};
    hidden.type = kindCoin;
    Cell& c = w.cell(2, 0);
    c.obstacle = 0;
    c.item = 60;
    c.hasObstacle = true;
    t.placePlayer(2, 3.5f, 0.5f);

    Bomb& bomb = inSlot(lyingBomb(0.5f, 0.5f, 5));
    t.placePlayer(1, 0.5f, 4.5f);
    explode(bomb);
    EXPECT_TRUE(obstacle.destroyed);
    EXPECT_EQ(c.obstacle, Cell::none);
    EXPECT_FALSE(c.hasObstacle);
    EXPECT_TRUE(c.open());
    EXPECT_EQ(w.itemTypeAt(2.5f, 0.5f), kindCoin);
    EXPECT_TRUE(burning(w).count({2, 0}));
    EXPECT_FALSE(burning(w).count({3, 0}));
    EXPECT_FALSE(w.respawnRequest[1]) << "the player behind the obstacle is safe";
    // The +y flame stops at player 1 in (0, 4).
    EXPECT_TRUE(w.respawnRequest[0]);
    EXPECT_TRUE(burning(w).count({0, 4}));
    EXPECT_FALSE(burning(w).count({0, 5}));
}

TEST_F(Blast, OwnerOnItsBombAndCreaturesAreHit) {
    t.placePlayer(1, 0.5f, 0.5f);
    t.placeCreature(3, 0.5f, 2.5f);
    t.placeCreature(1, 6.5f, 6.5f);
    Bomb& bomb = inSlot(lyingBomb(0.5f, 0.5f, 3));
    explode(bomb);
    EXPECT_TRUE(w.respawnRequest[0]);
    EXPECT_FALSE(w.respawnRequest[1]);
    EXPECT_TRUE(w.creatureHit[2]);
    EXPECT_FALSE(w.creatureHit[0]);
    EXPECT_FALSE(burning(w).count({0, 3})) << "the creature stops the flame";
}

TEST_F(Blast, FlameSetsOffAnotherBombAtOnce) {
    Bomb& first = inSlot(lyingBomb(0.5f, 0.5f, 4));
    Bomb& second = inSlot(lyingBomb(2.5f, 0.5f, 2), 3, 2);
    second.blastTime = 9000;
    ASSERT_TRUE(w.placeBomb(second.x, second.y, 3, 2));
    t.clock.set(4567);
    explode(first);
    EXPECT_TRUE(second.exploding);
    EXPECT_EQ(second.blastTime, 4567.0f);
    EXPECT_FALSE(second.blastApplied) << "its own blast waits for its owner's tick";
    EXPECT_FALSE(burning(w).count({3, 0}));

    // The second blast burns with its own time; the first bomb, exploding already, stops its
    // flame and keeps its time.
    t.clock.set(4600);
    t.blast(second);
    EXPECT_TRUE(burning(w).count({4, 0}));
    EXPECT_EQ(w.burning().back().time, 4567.0f);
    EXPECT_EQ(first.blastTime, 4500.0f);
    EXPECT_EQ(second.blastTime, 4567.0f);
}

TEST_F(Blast, HitTestCountsTheCellAndItsCorners) {
    // Within 0.16 of corner (2, 2) of cell (2, 2), from the diagonal neighbour.
    t.placePlayer(1, 1.9f, 1.9f);
    // Middle of the left neighbour, and close to the left edge but far from any corner.
    t.placePlayer(2, 1.5f, 2.5f);
    EXPECT_TRUE(w.hitTest(2, 2, t.figures));
    EXPECT_TRUE(w.respawnRequest[0]);
    EXPECT_FALSE(w.respawnRequest[1]);

    w.respawnRequest[0] = false;
    t.placePlayer(2, 1.85f, 2.5f);
    t.placePlayer(1, 1.83f, 3.17f);
    EXPECT_FALSE(w.hitTest(2, 2, t.figures));
    t.placePlayer(1, 3.1f, 3.15f);
    EXPECT_TRUE(w.hitTest(2, 2, t.figures));
}

TEST_F(Blast, FullReachCrossesTheArenaAndIgnoresTheOutside) {
    Bomb& bomb = inSlot(lyingBomb(0.5f, 14.5f, 14));
    explode(bomb);
    // Row 14 and column 0 hold no pillar: 14 cells each way plus the bomb's own.
    EXPECT_EQ(w.blastCellCount, 29);
    for (const BurningCell& b : w.burning()) {
        EXPECT_GE(b.x, 0);
        EXPECT_LE(b.x, 14);
        EXPECT_GE(b.y, 0);
        EXPECT_LE(b.y, 14);
        EXPECT_TRUE(b.x == 0 || b.y == 14);
    }
    EXPECT_TRUE(burning(w).count({14, 14}));
    EXPECT_TRUE(burning(w).count({0, 0}));
}

TEST_F(Blast, DestroyedWallReturnsAWallItem) {
    TestWorld full(22);
    MazeWorld& fw = full.world;
    Item* wallItem = &fw.items[52];
    fw.takeItem(wallItem->x, wallItem->y, 1);
    fw.placeWall(1.5f, 0.5f);
    Bomb& bomb = full.bombs[0][0] = lyingBomb(0.5f, 0.5f, 5);
    ASSERT_TRUE(fw.placeBomb(bomb.x, bomb.y, 0, 1));
    bomb.exploding = true;
    full.blast(bomb);
    EXPECT_TRUE(fw.walls[0].free);
    EXPECT_EQ(fw.cell(1, 0).wall, Cell::none);
    EXPECT_EQ(wallItem->taken, 0);
    EXPECT_EQ(fw.itemIn(fw.cell(static_cast<int>(wallItem->x), static_cast<int>(wallItem->y))),
              wallItem);
    EXPECT_FALSE(burning(fw).count({2, 0}));
}

TEST_F(Blast, PlaceAndClearBombs) {
    EXPECT_FALSE(w.placeBomb(1.5f, 1.5f, 0, 1)) << "pillar";
    EXPECT_FALSE(w.placeBomb(7.5f, 8.5f, 0, 1)) << "door cell is not open";
    ASSERT_TRUE(w.placeBomb(4.7f, 2.2f, 3, 2));
    EXPECT_EQ(w.cell(4, 2).bomb, 13) << "player 2's slot 3";
    EXPECT_EQ(w.bombX[13], 4.5f);
    EXPECT_EQ(w.bombY[13], 2.5f);
    EXPECT_FALSE(w.placeBomb(4.1f, 2.9f, 4, 2)) << "one bomb per cell";
    EXPECT_EQ(w.bombX[14], -1.0f);

    w.clearBomb(-1, 2.5f, 3, 2);
    EXPECT_EQ(w.cell(4, 2).bomb, 13);
    EXPECT_EQ(w.bombX[13], 4.5f);
    w.clearBomb(4.5f, 2.5f, 3, 2);
    EXPECT_EQ(w.cell(4, 2).bomb, Cell::none);
    EXPECT_EQ(w.bombX[13], -1.0f);
    EXPECT_EQ(w.bombY[13], -1.0f);
    EXPECT_TRUE(w.placeBomb(4.5f, 2.5f, 4, 2));
}

TEST_F(Blast, BurningCellsExpireAfterHalfASecond) {
    t.burnCell(3, 0, 1000);
    t.burnCell(4, 0, 1200);
    w.expireBlastCells(1500);
    EXPECT_EQ(w.blastCellCount, 2);
    w.expireBlastCells(1500.5f);
    ASSERT_EQ(w.blastCellCount, 1);
    EXPECT_EQ(w.blastCells[0].x, 4);
    w.expireBlastCells(1701);
    EXPECT_TRUE(!w.anyBurning());
}

// A blast tells what it did, in the order it happened: its own blast first, then what each
// flame found. A creature it removed stands nowhere after: a later flame over its place runs on.
TEST_F(Blast, TellsWhatItOpenedBurntAndRemoved) {
    Cell& obstacleCell = w.cell(2, 0);
    w.obstacles[0] = Obstacle{};
    obstacleCell.obstacle = 0;
    obstacleCell.hasObstacle = true;
    ASSERT_TRUE(w.placeWall(0.5f, 2.5f));
    t.placeCreature(2, 4.5f, 0.5f);
    t.placeCreature(4, 0.5f, 5.5f);
    w.events.clear();

    Bomb& bomb = inSlot(lyingBomb(0.5f, 0.5f, 6), 0, 2);
    ASSERT_TRUE(w.placeBomb(bomb.x, bomb.y, 0, 2));
    bomb.exploding = true;
    t.blast(bomb, 2);
    const auto told = w.events.all();
    ASSERT_EQ(told.size(), 4u);
    EXPECT_EQ(told[0], RoundEvent::of(RoundEvent::bombLaid, 2, 0, 0));
    EXPECT_EQ(told[1], RoundEvent::of(RoundEvent::blast, 2, 0, 0));
    // At each distance the flames run +x, -x, +y, -y: the obstacle before the wall.
    EXPECT_EQ(told[2], RoundEvent::of(RoundEvent::obstacleOpened, 0, 2, 0));
    EXPECT_EQ(told[3], RoundEvent::of(RoundEvent::wallBurnt, 0, 0, 2));
    EXPECT_FALSE(w.creatureHit[1]) << "behind the obstacle";
    EXPECT_FALSE(w.creatureHit[3]) << "behind the wall";

    t.clock.set(6000);
    Bomb& again = inSlot(lyingBomb(0.5f, 0.5f, 6), 1, 2);
    again.exploding = true;
    w.events.clear();
    t.blast(again, 2);
    EXPECT_TRUE(w.creatureHit[1]);
    EXPECT_TRUE(w.creatureHit[3]);
    int removed = 0;
    for (const RoundEvent& e : w.events.all())
        removed += e.kind == RoundEvent::creatureBlasted;
    EXPECT_EQ(removed, 2);

    // Gone from the arena: a third blast's flame runs past where creature 2 stood.
    w.events.clear();
    w.expireBlastCells(9000);
    Bomb& third = inSlot(lyingBomb(0.5f, 0.5f, 6), 2, 2);
    third.exploding = true;
    t.blast(third, 2);
    EXPECT_TRUE(burning(w).count({5, 0}));
    for (const RoundEvent& e : w.events.all())
        EXPECT_NE(e.kind, RoundEvent::creatureBlasted);
}
