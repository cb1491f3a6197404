#include "world/TestWorld.h"
#include <gtest/gtest.h>

namespace {

// Marks the first item of a kind as held by a player, as a pick-up would.
Item* takeFirstOfKind(MazeWorld& w, int kind, int player) {
    for (Item& item : w.items)
        if (item.type == kind && item.taken == 0) {
            w.takeItem(item.x, item.y, player);
            return &item;
        }
    return nullptr;
}

} // namespace

TEST(MazeWorldPlay, CanPlaceRefusesDoorsAndOccupiedCells) {
    TestWorld t(8);
    MazeWorld& w = t.world;
    EXPECT_FALSE(w.canPlace(7.5f, 8.5f));
    EXPECT_FALSE(w.canPlace(7.5f, 10.5f));
    EXPECT_FALSE(w.canPlace(6.5f, 9.5f));
    EXPECT_FALSE(w.canPlace(8.5f, 9.5f));
    // An obstacle alone does not matter.
    const Obstacle* o = &w.obstacles[0];
    EXPECT_TRUE(w.canPlace(o->x, o->y));

    EXPECT_TRUE(w.canPlace(3.5f, 0.5f));
    w.placeTrap(3.2f, 0.9f);
    EXPECT_FALSE(w.canPlace(3.5f, 0.5f));
    EXPECT_EQ(w.traps[0].x, 3.5f);
    EXPECT_EQ(w.traps[0].y, 0.5f);
    EXPECT_TRUE(w.hasTrap(3.9f, 0.1f));

    w.placeWall(4.5f, 0.5f);
    EXPECT_FALSE(w.canPlace(4.5f, 0.5f));
    ASSERT_TRUE(w.placeBomb(5.5f, 0.5f, 0, 1));
    EXPECT_FALSE(w.canPlace(5.5f, 0.5f));
    // A bomb cell takes no trap and no wall.
    w.placeTrap(5.5f, 0.5f);
    w.placeWall(5.5f, 0.5f);
    EXPECT_EQ(w.cell(5, 0).trap, Cell::none);
    EXPECT_EQ(w.cell(5, 0).wall, Cell::none);
    EXPECT_FALSE(w.canPlace(-5.0f, 0.5f));
    EXPECT_FALSE(w.canPlace(104.5f, 104.5f));
}

TEST(MazeWorldPlay, WallPoolRunsOutAndReusesFreedBlocks) {
    TestWorld t(9);
    MazeWorld& w = t.world;
    for (int x = 0; x < 7; ++x)
        w.placeWall(x + 0.5f, 0.5f);
    for (int i = 0; i < 7; ++i) {
        EXPECT_FALSE(w.walls[i].free);
        EXPECT_EQ(w.cell(i, 0).wall, i);
    }
    w.placeWall(9.5f, 0.5f);
    EXPECT_EQ(w.cell(9, 0).wall, Cell::none);

    // A blast on (2, 0) frees the third block; the next wall takes it.
    t.burnCell(2, 0, 0);
    EXPECT_TRUE(w.walls[2].free);
    EXPECT_EQ(w.walls[2].x, -1.0f);
    w.placeWall(9.5f, 0.5f);
    EXPECT_EQ(w.cell(9, 0).wall, 2);
    EXPECT_EQ(w.walls[2].x, 9.5f);

    // A second wall on a walled cell would be a block without a cell: it is refused.
    t.burnCell(4, 0, 0);
    w.placeWall(0.5f, 0.5f);
    EXPECT_TRUE(w.walls[4].free);
    EXPECT_EQ(w.cell(0, 0).wall, 0);
}

TEST(MazeWorldPlay, ReturnItemPutsBackTheFirstTakenItemOfItsKind) {
    TestWorld t(10);
    MazeWorld& w = t.world;
    RandomGenerator before = t.random;
    w.returnItem(kindTrap, t.random);
    w.returnItem(kindCoin, t.random);
    w.returnItem(kindCheese, t.random);
    EXPECT_TRUE(sameGeneratorState(before, t.random)) << "nothing out, nothing drawn";

    Item* first = takeFirstOfKind(w, kindTrap, 1);
    Item* second = takeFirstOfKind(w, kindTrap, 2);
    ASSERT_EQ(first, &w.items[45]);
    EXPECT_EQ(first->x, -1.0f);
    EXPECT_EQ(first->taken, 1);
    EXPECT_EQ(w.itemTypeAt(second->x, second->y), -1);
    w.returnItem(kindTrap, t.random);
    EXPECT_EQ(first->taken, 0);
    EXPECT_EQ(second->taken, 2);
    int x = static_cast<int>(first->x), y = static_cast<int>(first->y);
    EXPECT_EQ(first->x, x + 0.5f);
    EXPECT_EQ(w.itemIn(w.cell(x, y)), first);
    EXPECT_EQ(w.itemTypeAt(first->x, first->y), kindTrap);
}

TEST(MazeWorldPlay, ReturnedItemsLandByTheReturnRule) {
    TestWorld t(12);
    MazeWorld& w = t.world;
    bool landedOnRowZero = false;
    for (int round = 0; round < 300; ++round) {
        Item* item = &w.items[0];
        Cell* from = &w.cell(static_cast<int>(item->x), static_cast<int>(item->y));
        from->item = Cell::none;
        item->x = item->y = -1;
        item->taken = 1;
        w.returnItem(kindBomb, t.random);
        int x = static_cast<int>(item->x), y = static_cast<int>(item->y);
        const Cell& c = w.cell(x, y);
        EXPECT_EQ(w.itemIn(c), item);
        EXPECT_FALSE(c.pillar);
        EXPECT_FALSE(y == 0 && (x < 3 || x > 11)) << x << "," << y;
        EXPECT_FALSE(y == 1 && (x == 0 || x == 14));
        landedOnRowZero = landedOnRowZero || y == 0;
    }
    // Unlike set-up, row 0 between columns 3 and 11 is allowed.
    EXPECT_TRUE(landedOnRowZero);
}

TEST(MazeWorldPlay, SprungTrapGoesBackToThePoolAndItsItemToTheArena) {
    TestWorld t(13);
    MazeWorld& w = t.world;
    Item* trapItem = takeFirstOfKind(w, kindTrap, 1);
    w.placeTrap(2.5f, 0.5f);
    ASSERT_EQ(w.cell(2, 0).trap, 0);
    w.events.clear();
    w.springTrap(2.5f, 0.5f, t.random, 2);
    ASSERT_EQ(w.events.count, 1);
    EXPECT_EQ(w.events.list[0], RoundEvent::of(RoundEvent::trapSprung, 2, 2, 0));
    EXPECT_TRUE(w.traps[0].free);
    EXPECT_EQ(w.traps[0].x, -1.0f);
    EXPECT_FALSE(w.hasTrap(2.5f, 0.5f));
    EXPECT_EQ(trapItem->taken, 0);
    EXPECT_GT(trapItem->x, 0.0f);
    // Springing a cell without a trap changes nothing and draws nothing.
    RandomGenerator before = t.random;
    w.springTrap(2.5f, 0.5f, t.random);
    EXPECT_TRUE(sameGeneratorState(before, t.random));
    EXPECT_EQ(w.events.count, 1) << "and tells nothing";
}

// Taking an item tells who took which kind where; the list of a tick never writes past its end,
// and counts what did not fit.
TEST(MazeWorldPlay, TakingTellsWhatWasTakenAndTheListStaysInItsBounds) {
    TestWorld t(14);
    MazeWorld& w = t.world;
    int coinEntry = -1;
    for (int i = 0; i < MazeWorld::obstacleTotal && coinEntry < 0; ++i)
        if (w.items[i].type == kindCoin)
            coinEntry = i;
    ASSERT_GE(coinEntry, 0);
    const Item coin = w.items[coinEntry];
    w.takeItem(coin.x, coin.y, 1);
    ASSERT_EQ(w.events.count, 1);
    EXPECT_EQ(w.events.list[0], RoundEvent::of(RoundEvent::itemTaken, 1, static_cast<int>(coin.x),
                                               static_cast<int>(coin.y), kindCoin));
    w.takeItem(coin.x, coin.y, 2);
    EXPECT_EQ(w.events.count, 1) << "nothing left there to take";

    const RoundEvent bump = RoundEvent::of(RoundEvent::bump, 2, 101, 102);
    for (int i = 0; i < TickEvents::capacity + 2; ++i)
        w.events.tell(bump);
    EXPECT_EQ(w.events.count, TickEvents::capacity);
    EXPECT_EQ(w.events.overflow, 3);
    EXPECT_EQ(w.events.all().back(), bump);
    w.events.clear();
    EXPECT_TRUE(w.events.all().empty());
    EXPECT_EQ(w.events.overflow, 0);
}

TEST(MazeWorldPlay, IsPassableProbesFourPoints) {
    TestWorld t(14);
    t.clearArena();
    MazeWorld& w = t.world;
    EXPECT_TRUE(w.isPassable(0.5f, 0.5f, 0.26f));
    // Left and bottom probes below 0 truncate into column and row 0.
    EXPECT_TRUE(w.isPassable(0.1f, 0.1f, 0.26f));
    // The top probe reaches pillar (1, 1).
    EXPECT_FALSE(w.isPassable(1.5f, 0.8f, 0.26f));
    EXPECT_TRUE(w.isPassable(1.5f, 0.7f, 0.26f));
    // Right and top probes past the far border count in column and row 14.
    EXPECT_TRUE(w.isPassable(14.9f, 14.9f, 0.26f));
    // Door cells are walkable, the house beside them is not.
    EXPECT_TRUE(w.isPassable(7.5f, 8.5f, 0.0f));
    EXPECT_FALSE(w.isPassable(7.2f, 10.5f, 0.26f));
    EXPECT_FALSE(w.isPassable(7.5f, 9.5f, 0.0f));
    // An obstacle closes its cell.
    TestWorld full(14);
    const Obstacle* o = &full.world.obstacles[3];
    EXPECT_FALSE(full.world.isPassable(o->x, o->y, 0.0f));
    full.burnCell(static_cast<int>(o->x), static_cast<int>(o->y), 0);
    EXPECT_TRUE(full.world.isPassable(o->x, o->y, 0.0f));
    EXPECT_TRUE(o->destroyed);
}

TEST(MazeWorldPlay, BombsAndWallsBlockEnteringAnotherCell) {
    TestWorld t(15);
    MazeWorld& w = t.world;
    ASSERT_TRUE(w.placeBomb(2.5f, 0.5f, 0, 1));
    ASSERT_TRUE(w.placeBomb(3.5f, 0.5f, 0, 2));
    EXPECT_TRUE(w.bombAllows(2.5f, 0.5f, 2.9f, 0.5f));  // within its own bomb's cell
    EXPECT_TRUE(w.bombAllows(2.5f, 0.5f, 1.9f, 0.5f));  // off the bomb
    EXPECT_FALSE(w.bombAllows(2.5f, 0.5f, 3.1f, 0.5f)); // onto another bomb
    EXPECT_FALSE(w.bombAllows(4.5f, 0.5f, 3.9f, 0.5f)); // from an empty cell onto a bomb

    w.placeWall(5.5f, 0.5f);
    w.placeWall(6.5f, 0.5f);
    EXPECT_TRUE(w.wallAllows(5.5f, 0.5f, 5.9f, 0.5f));
    EXPECT_TRUE(w.wallAllows(5.5f, 0.5f, 4.9f, 0.5f));
    EXPECT_FALSE(w.wallAllows(5.5f, 0.5f, 6.1f, 0.5f));
    EXPECT_FALSE(w.wallAllows(4.5f, 0.5f, 5.1f, 0.5f));
}

TEST(MazeWorldPlay, Respawns) {
    TestWorld t(16);
    MazeWorld& w = t.world;
    w.respawnRequest[0] = w.respawnRequest[1] = true;
    w.clearRespawn(2);
    EXPECT_TRUE(w.respawnRequest[0]);
    EXPECT_FALSE(w.respawnRequest[1]);
    w.clearRespawn(3);
    EXPECT_TRUE(w.respawnRequest[0]);
    w.clearRespawn(1);
    EXPECT_FALSE(w.respawnRequest[0]);
}
