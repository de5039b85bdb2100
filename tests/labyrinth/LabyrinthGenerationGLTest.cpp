// The labyrinth builds the maze of its grid (tested without GL in
// TileGridTest.cpp) and then its walls: the same tiles, and
// one further draw per wall run for its height.
#include <gtest/gtest.h>

#include "labyrinth/LabyrinthTestSupport.h"

TEST(LabyrinthGeneration, TheLabyrinthsMazeIsItsGridsAndEachWallRunDrawsItsHeight) {
    for (int n : {3, 10, 32}) {
        for (unsigned seed : {3u, 1234u, 99991u}) {
            std::unique_ptr<TileGrid> grid;
            const long gridDraws = drawsUsedBy(seed, [&] { grid = buildGrid(n, seed); });
            std::unique_ptr<SgLabyrinth> labyrinth;
            const long draws = drawsUsedBy(seed, [&] { labyrinth = buildLabyrinth(n, seed); });
            for (int row = 0; row < n; ++row) {
                for (int column = 0; column < n; ++column) {
                    EXPECT_EQ(labyrinth->getTile(row, column)->isFree, grid->getTile(row, column)->isFree);
                }
            }
            EXPECT_EQ(rowOf(*labyrinth, labyrinth->getStart()), rowOf(*grid, grid->getStart()));
            EXPECT_EQ(columnOf(*labyrinth, labyrinth->getGoal()), columnOf(*grid, grid->getGoal()));
            // After the maze, exactly one draw per container (its height).
            EXPECT_EQ(draws, gridDraws + static_cast<long>(labyrinth->getWallContainers().size()))
                << "N " << n << " seed " << seed;
        }
    }
}

TEST(LabyrinthGeneration, TheLabyrinthAnswersForItsGrid) {
    const auto labyrinth = buildLabyrinth(10, 5);
    EXPECT_EQ(labyrinth->getTileSize(), 2);
    EXPECT_EQ(labyrinth->getGridSize(), 10);
    EXPECT_EQ(labyrinth->getTile(3, 7)->position, Vector3(4.0f, 0.0f, -4.0f));
    EXPECT_EQ(labyrinth->getTile(10, 0), nullptr);
    EXPECT_EQ(labyrinth->getTileIdx(-9.0f), 1);
}
