#pragma once

// Shared helpers of the labyrinth tests: building a maze (with or without
// its render nodes) from a seed with its console output kept quiet, the
// count of draws a build takes, an independent reading of those draws as a
// maze, and breadth-first
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

inline std::unique_ptr<SgLabyrinth> buildLabyrinth(int n, unsigned seed, TextureManager* textures = nullptr,
                                                   bool perPixelLighting = true) {
    GameRandom::seed(seed);
    testing::internal::CaptureStdout();
    std::unique_ptr<SgLabyrinth> labyrinth(
        new SgLabyrinth("laby1", Vector3(0.0f, 0.0f, 0.0f), n, 2, 100.0f, 1, textures, perPixelLighting, nullptr));
    testing::internal::GetCapturedStdout();
    return labyrinth;
}

// The grid as the labyrinth's constructor makes it: maze, wall runs, tile
// table; no GL context needed.
inline std::unique_ptr<TileGrid> buildGrid(int n, unsigned seed) {
    GameRandom::seed(seed);
    testing::internal::CaptureStdout();
    auto grid = std::make_unique<TileGrid>(n, 2);
    grid->populateTileArray();
    grid->generateWallContainerList();
    grid->printTileTable();
    testing::internal::GetCapturedStdout();
    return grid;
}

// How many draws `build` takes from the generator after seeding it with
// `seed`: the three draws that follow are looked up in the fresh sequence.
template <class Build>
long drawsUsedBy(unsigned seed, Build build) {
    build();
    const int marker[3] = {GameRandom::next(), GameRandom::next(), GameRandom::next()};
    GameRandom::seed(seed);
    int window[3] = {GameRandom::next(), GameRandom::next(), GameRandom::next()};
    for (long used = 0; used < 100000000; ++used) {
        if (window[0] == marker[0] && window[1] == marker[1] && window[2] == marker[2]) {
            return used;
        }
        window[0] = window[1];
        window[1] = window[2];
        window[2] = GameRandom::next();
    }
    ADD_FAILURE() << "the draws after the build were not found";
    return -1;
}

// An independent reading of the first `draws` draws of a seed as a maze of
// size n: four opening draws, then growth iterations until the draws run out.
struct ReplayedMaze {
    std::vector<std::vector<bool>> wall;
    int iterations = 0;
    bool endsWithAnIteration = true;  // no iteration was left half drawn
};

inline ReplayedMaze replayGeneration(int n, unsigned seed, long draws) {
    GameRandom::seed(seed);
    long used = 0;
    auto draw = [&used] {
        ++used;
        return GameRandom::next();
    };
    ReplayedMaze maze;
    maze.wall.assign(n, std::vector<bool>(n, false));
    for (int i = 0; i < n; ++i) {
        maze.wall[i][0] = maze.wall[i][n - 1] = maze.wall[0][i] = maze.wall[n - 1][i] = true;
    }
    const int roll1 = draw() % 100, roll2 = draw() % 100;
    const int r1 = draw() % (n - 2) + 1, r2 = draw() % (n - 2) + 1;
    const int startSide = roll2 <= 49 ? 0 : n - 1;
    const int goalSide = n - 1 - startSide;
    if (roll1 <= 49) {
        maze.wall[startSide][r1] = maze.wall[goalSide][r2] = false;
    } else {
        maze.wall[r1][startSide] = maze.wall[r2][goalSide] = false;
    }
    while (used < draws) {
        ++maze.iterations;
        int row, column;
        do {
            row = draw() % n;
            column = draw() % n;
        } while (!maze.wall[row][column]);
        const int d = draw() % 4;
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
    maze.endsWithAnIteration = used == draws;
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
