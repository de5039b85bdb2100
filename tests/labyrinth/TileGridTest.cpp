// Maze generation on the bare grid: no render nodes, no GL context.
#include <gtest/gtest.h>

#include "labyrinth/LabyrinthTestSupport.h"

namespace {

bool isCorner(int n, int row, int column) {
    return (row == 0 || row == n - 1) && (column == 0 || column == n - 1);
}

bool onRing(int n, int row, int column) { return row == 0 || row == n - 1 || column == 0 || column == n - 1; }

// Checks the maze invariants every level relies on; returns the number of
// free tiles so callers can see the maze is not trivial.
int checkMaze(const TileGrid& labyrinth, unsigned seed) {
    const int n = labyrinth.getGridSize();
    const Tile* start = labyrinth.getStart();
    const Tile* goal = labyrinth.getGoal();
    const int sr = rowOf(labyrinth, start), sc = columnOf(labyrinth, start);
    const int gr = rowOf(labyrinth, goal), gc = columnOf(labyrinth, goal);
    EXPECT_EQ(labyrinth.getTile(sr, sc), start) << "seed " << seed;
    EXPECT_EQ(labyrinth.getTile(gr, gc), goal) << "seed " << seed;

    int ringOpenings = 0;
    int freeTiles = 0;
    for (int row = 0; row < n; ++row) {
        for (int column = 0; column < n; ++column) {
            const Tile* tile = labyrinth.getTile(row, column);
            freeTiles += tile->isFree ? 1 : 0;
            // Every wall belongs to a run (walls grow out of the ring); free tiles to none.
            EXPECT_EQ(tile->wallContainerId == -1, tile->isFree) << "seed " << seed << " at " << row << "," << column;
            if (onRing(n, row, column) && tile->isFree) {
                ++ringOpenings;
                EXPECT_TRUE(tile == start || tile == goal) << "seed " << seed << " at " << row << "," << column;
            }
        }
    }
    EXPECT_EQ(ringOpenings, 2) << "seed " << seed;
    EXPECT_NE(start, goal);
    EXPECT_FALSE(isCorner(n, sr, sc)) << "seed " << seed;
    EXPECT_FALSE(isCorner(n, gr, gc)) << "seed " << seed;
    // Opposite sides: both in rows 0 and N-1, or both in columns 0 and N-1.
    const bool rows = (sr == 0 && gr == n - 1) || (sr == n - 1 && gr == 0);
    const bool columns = (sc == 0 && gc == n - 1) || (sc == n - 1 && gc == 0);
    EXPECT_TRUE(rows != columns) << "seed " << seed;

    // The tile just inside each opening stays free.
    for (const auto& [r, c] : {std::pair<int, int>{sr, sc}, {gr, gc}}) {
        const int ir = r == 0 ? 1 : (r == n - 1 ? n - 2 : r);
        const int ic = c == 0 ? 1 : (c == n - 1 ? n - 2 : c);
        EXPECT_TRUE(labyrinth.getTile(ir, ic)->isFree) << "seed " << seed;
    }

    const auto reached = reachableFrom(labyrinth, sr, sc);
    EXPECT_TRUE(reached[gr][gc]) << "goal unreachable, seed " << seed << " N " << n;
    for (int row = 0; row < n; ++row) {
        for (int column = 0; column < n; ++column) {
            if (labyrinth.getTile(row, column)->isFree) {
                EXPECT_TRUE(reached[row][column])
                    << "free tile " << row << "," << column << " unreachable, seed " << seed << " N " << n;
            }
        }
    }
    return freeTiles;
}

}  // namespace

TEST(LabyrinthGeneration, RingOpeningsAndReachabilityOverSeedsAndSizes) {
    const struct {
        int n;
        unsigned seeds;
    } cases[] = {{3, 60}, {10, 60}, {32, 25}, {80, 6}};
    for (const auto& c : cases) {
        for (unsigned seed = 1; seed <= c.seeds; ++seed) {
            const auto labyrinth = buildGrid(c.n, seed * 7919u);
            const int freeTiles = checkMaze(*labyrinth, seed * 7919u);
            if (c.n >= 10) {
                EXPECT_GT(freeTiles, c.n);  // the interior is not walled up
            }
        }
    }
}

// The growth loop runs ceil(N^3 / 3.5) times whether or not an iteration
// adds a wall, each on the draws the growth rule names, and the grid draws
// nothing after the maze (the wall heights are drawn by the labyrinth).
TEST(LabyrinthGeneration, GrowthIterationsAndDrawOrderAndDeterminism) {
    const struct {
        int n;
        int iterations;
    } sizes[] = {{3, 8}, {7, 98}, {10, 286}, {32, 9363}};
    for (const auto& size : sizes) {
        const int n = size.n;
        for (unsigned seed : {3u, 1234u, 99991u}) {
            std::unique_ptr<TileGrid> labyrinth;
            const long draws = drawsUsedBy(seed, [&] { labyrinth = buildGrid(n, seed); });
            const ReplayedMaze expected = replayGeneration(n, seed, draws);
            EXPECT_EQ(expected.iterations, size.iterations) << "N " << n << " seed " << seed;
            EXPECT_TRUE(expected.endsWithAnIteration) << "N " << n << " seed " << seed;
            const auto again = buildGrid(n, seed);
            for (int row = 0; row < n; ++row) {
                for (int column = 0; column < n; ++column) {
                    EXPECT_EQ(!labyrinth->getTile(row, column)->isFree, expected.wall[row][column]);
                    EXPECT_EQ(again->getTile(row, column)->isFree, labyrinth->getTile(row, column)->isFree);
                }
            }
            EXPECT_EQ(rowOf(*again, again->getStart()), rowOf(*labyrinth, labyrinth->getStart()));
            EXPECT_EQ(columnOf(*again, again->getGoal()), columnOf(*labyrinth, labyrinth->getGoal()));
        }
    }
}

TEST(LabyrinthGeneration, OpeningsFollowTheFirstFourDraws) {
    // With the first four draws known, the openings are fixed: roll1 picks
    // rows or columns, roll2 which side starts, r1 and r2 the positions.
    for (unsigned seed = 1; seed <= 40; ++seed) {
        GameRandom::seed(seed);
        const int roll1 = GameRandom::next() % 100, roll2 = GameRandom::next() % 100;
        const int r1 = GameRandom::next() % 8 + 1, r2 = GameRandom::next() % 8 + 1;
        const auto labyrinth = buildGrid(10, seed);
        const int startSide = roll2 <= 49 ? 0 : 9;
        if (roll1 <= 49) {
            EXPECT_EQ(labyrinth->getStart(), labyrinth->getTile(startSide, r1));
            EXPECT_EQ(labyrinth->getGoal(), labyrinth->getTile(9 - startSide, r2));
        } else {
            EXPECT_EQ(labyrinth->getStart(), labyrinth->getTile(r1, startSide));
            EXPECT_EQ(labyrinth->getGoal(), labyrinth->getTile(r2, 9 - startSide));
        }
    }
}

TEST(LabyrinthGeneration, TilePositionsAndIndexConversion) {
    const auto labyrinth = buildGrid(10, 5);
    EXPECT_EQ(labyrinth->getTile(0, 0)->position, Vector3(-10.0f, 0.0f, -10.0f));
    EXPECT_EQ(labyrinth->getTile(3, 7)->position, Vector3(4.0f, 0.0f, -4.0f));
    EXPECT_EQ(labyrinth->getTile(9, 9)->size, 2.0f);
    EXPECT_EQ(labyrinth->getTileSize(), 2);

    EXPECT_EQ(labyrinth->getTileIdx(-12.0f), -1);
    EXPECT_EQ(labyrinth->getTileIdx(-11.9f), 0);
    EXPECT_EQ(labyrinth->getTileIdx(-10.0f), 0);
    EXPECT_EQ(labyrinth->getTileIdx(-9.0f), 1);
    EXPECT_EQ(labyrinth->getTileIdx(9.9f), 9);
    EXPECT_EQ(labyrinth->getTileIdx(10.0f), -1);
    for (float v = -1.99f; v < 2.0f; v += 0.25f) {
        EXPECT_EQ(labyrinth->getTileIdx(v), 5) << v;
    }
    EXPECT_EQ(labyrinth->getTileIdx(1e30f), -1);
    EXPECT_EQ(labyrinth->getTileIdx(-1e30f), -1);
}
