#pragma once

// Shared helpers of the labyrinth tests: building a maze from a seed with its
// console output captured, and breadth-first reachability over free tiles.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <queue>
#include <string>
#include <vector>

#include "labyrinth/SgLabyrinth.h"

class TextureManager;

inline std::unique_ptr<SgLabyrinth> buildLabyrinth(int n, unsigned seed, std::string* output = nullptr,
                                                   TextureManager* textures = nullptr, bool perPixelLighting = true) {
    srand(seed);
    testing::internal::CaptureStdout();
    std::unique_ptr<SgLabyrinth> labyrinth(
        new SgLabyrinth("laby1", Vector3(0.0f, 0.0f, 0.0f), n, 2, 100.0f, 1, textures, perPixelLighting, nullptr));
    const std::string text = testing::internal::GetCapturedStdout();
    if (output != nullptr) {
        *output = text;
    }
    return labyrinth;
}

inline int rowOf(const SgLabyrinth& labyrinth, const Tile* tile) {
    const float s = static_cast<float>(labyrinth.getTileSize());
    return static_cast<int>((tile->position.z + s * labyrinth.getGridSize() * 0.5f) / s + 0.5f);
}

inline int columnOf(const SgLabyrinth& labyrinth, const Tile* tile) {
    const float s = static_cast<float>(labyrinth.getTileSize());
    return static_cast<int>((tile->position.x + s * labyrinth.getGridSize() * 0.5f) / s + 0.5f);
}

// reached[row][column] for every free tile reachable from (row, column)
// through edge neighbours.
inline std::vector<std::vector<bool>> reachableFrom(const SgLabyrinth& labyrinth, int row, int column) {
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
