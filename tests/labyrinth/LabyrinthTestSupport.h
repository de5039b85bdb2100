#pragma once

// Shared helpers of the labyrinth tests: building a maze (with or without
// its render nodes) from a seed with its console output captured, an
// independent replay of the generation's draws, and breadth-first
// reachability over free tiles. The helpers taking a Maze work on an
// SgLabyrinth and on a bare TileGrid alike.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <queue>
#include <string>
#include <vector>

#include "labyrinth/SgLabyrinth.h"
#include "labyrinth/TileGrid.h"
#include "platform/GameRandom.h"

class TextureManager;

inline std::unique_ptr<SgLabyrinth> buildLabyrinth(int n, unsigned seed, std::string* output = nullptr,
                                                   TextureManager* textures = nullptr, bool perPixelLighting = true) {
    GameRandom::seed(seed);
    testing::internal::CaptureStdout();
    std::unique_ptr<SgLabyrinth> labyrinth(
        new SgLabyrinth("laby1", Vector3(0.0f, 0.0f, 0.0f), n, 2, 100.0f, 1, textures, perPixelLighting, nullptr));
    const std::string text = testing::internal::GetCapturedStdout();
    if (output != nullptr) {
        *output = text;
    }
    return labyrinth;
}

// The grid as the labyrinth's constructor makes it: maze, wall runs, tile
// table; no GL context needed.
inline std::unique_ptr<TileGrid> buildGrid(int n, unsigned seed, std::string* output = nullptr) {
    GameRandom::seed(seed);
    testing::internal::CaptureStdout();
    auto grid = std::make_unique<TileGrid>(n, 2);
    grid->populateTileArray();
    grid->generateWallContainerList();
    grid->printTileTable();
    const std::string text = testing::internal::GetCapturedStdout();
    if (output != nullptr) {
        *output = text;
    }
    return grid;
}

// An independent replay of the draws a maze of size n consumes: four opening
// draws, then the growth loop.
struct ReplayedMaze {
    std::vector<std::vector<bool>> wall;
    int iterations = 0;
};

inline ReplayedMaze replayGeneration(int n, unsigned seed) {
    GameRandom::seed(seed);
    ReplayedMaze maze;
    maze.wall.assign(n, std::vector<bool>(n, false));
    for (int i = 0; i < n; ++i) {
        maze.wall[i][0] = maze.wall[i][n - 1] = maze.wall[0][i] = maze.wall[n - 1][i] = true;
    }
    const int roll1 = GameRandom::next() % 100, roll2 = GameRandom::next() % 100;
    const int r1 = GameRandom::next() % (n - 2) + 1, r2 = GameRandom::next() % (n - 2) + 1;
    const int startSide = roll2 <= 49 ? 0 : n - 1;
    const int goalSide = n - 1 - startSide;
    if (roll1 <= 49) {
        maze.wall[startSide][r1] = maze.wall[goalSide][r2] = false;
    } else {
        maze.wall[r1][startSide] = maze.wall[r2][goalSide] = false;
    }
    const double limit = n * n * (n / 3.5);
    for (int i = 0; i < limit; ++i) {
        ++maze.iterations;
        int row, column;
        do {
            row = GameRandom::next() % n;
            column = GameRandom::next() % n;
        } while (!maze.wall[row][column]);
        const int d = GameRandom::next() % 4;
        // Offsets of the candidate and of the six tiles that must be free.
        const int dr = d == 0 ? -1 : (d == 1 ? 1 : 0);
        const int dc = d == 2 ? 1 : (d == 3 ? -1 : 0);
        bool ok = true;
        for (int ahead = 1; ahead <= 2 && ok; ++ahead) {
            for (int side = -1; side <= 1 && ok; ++side) {
                const int rr = row + dr * ahead + (dr == 0 ? side : 0);
                const int cc = column + dc * ahead + (dc == 0 ? side : 0);
                ok = rr >= 0 && rr < n && cc >= 0 && cc < n && !maze.wall[rr][cc];
            }
        }
        if (ok) {
            maze.wall[row + dr][column + dc] = true;
        }
    }
    return maze;
}

template <class Maze>
int rowOf(const Maze& labyrinth, const Tile* tile) {
    const float s = static_cast<float>(labyrinth.getTileSize());
    return static_cast<int>((tile->position.z + s * labyrinth.getGridSize() * 0.5f) / s + 0.5f);
}

template <class Maze>
int columnOf(const Maze& labyrinth, const Tile* tile) {
    const float s = static_cast<float>(labyrinth.getTileSize());
    return static_cast<int>((tile->position.x + s * labyrinth.getGridSize() * 0.5f) / s + 0.5f);
}

// reached[row][column] for every free tile reachable from (row, column)
// through edge neighbours.
template <class Maze>
std::vector<std::vector<bool>> reachableFrom(const Maze& labyrinth, int row, int column) {
    const int n = labyrinth.getGridSize();
    std::vector<std::vector<bool>> reached(n, std::vector<bool>(n, false));
    std::queue<std::pair<int, int>> open;
    reached[row][column] = true;
    open.push({row, column});
    const int steps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    while (!open.empty()) {
        const auto [r, c] = open.front();
        open.pop();
        for (const auto& step : steps) {
            const int nr = r + step[0];
            const int nc = c + step[1];
            if (nr < 0 || nr >= n || nc < 0 || nc >= n || reached[nr][nc] || !labyrinth.getTile(nr, nc)->isFree) {
                continue;
            }
            reached[nr][nc] = true;
            open.push({nr, nc});
        }
    }
    return reached;
}
