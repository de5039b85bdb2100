#include "labyrinth/TileGrid.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "physics/BoundingSphere.h"
#include "platform/GameRandom.h"

TileGrid::TileGrid(int gridSize, int tileSize)
    : gridSize(gridSize), tileSize(tileSize), nextWallContainerId(1), start(nullptr), goal(nullptr) {
    const int n = gridSize;
    const float s = static_cast<float>(tileSize);
    const float origin = s * static_cast<float>(-n) * 0.5f;
    tiles.assign(n, std::vector<Tile*>(n, nullptr));
    float z = origin;
    for (int row = 0; row < n; ++row) {
        float x = origin;
        for (int column = 0; column < n; ++column) {
            tiles[row][column] = new Tile(Vector3(x, 0.0f, z), s);
            x += s;
        }
        z += s;
    }
}

TileGrid::~TileGrid() {
    for (auto& row : tiles) {
        for (Tile* tile : row) {
            delete tile;
        }
    }
    for (WallContainer* container : wallContainers) {
        delete container;
    }
}

// ------------------------------------------------------------ generation

void TileGrid::populateTileArray() {
    buildOuterWall();
    openStartAndGoal();
    growWalls();
    printWallGrid();
}

void TileGrid::buildOuterWall() {
    const int n = gridSize;
    for (int row = 0; row < n; ++row) {
        tiles[row][0]->isFree = false;
        tiles[row][n - 1]->isFree = false;
        if (row == 0 || row == n - 1) {
            for (int column = 1; column <= n - 2; ++column) {
                tiles[row][column]->isFree = false;
            }
        }
    }
}

void TileGrid::openStartAndGoal() {
    const int n = gridSize;
    // Four draws, always in this order.
    const int roll1 = GameRandom::next() % 100;
    const int roll2 = GameRandom::next() % 100;
    const int r1 = GameRandom::next() % (n - 2) + 1;
    const int r2 = GameRandom::next() % (n - 2) + 1;
    const int nearSide = 0;
    const int farSide = n - 1;
    const int startSide = roll2 <= 49 ? nearSide : farSide;
    const int goalSide = roll2 <= 49 ? farSide : nearSide;
    if (roll1 <= 49) {
        start = tiles[startSide][r1];
        goal = tiles[goalSide][r2];
    } else {
        start = tiles[r1][startSide];
        goal = tiles[r2][goalSide];
    }
    start->isFree = true;
    goal->isFree = true;
}

// Walls grow out of existing walls; a new wall tile must have free space
// around it, so walls never close a loop and every passage stays open.
void TileGrid::growWalls() {
    const int n = gridSize;
    for (int i = 0; i < n * n * (n / 3.5); ++i) {
        int row = 0;
        int column = 0;
        do {
            row = GameRandom::next() % n;
            column = GameRandom::next() % n;
        } while (tiles[row][column]->isFree);
        tryGrowWall(row, column, GameRandom::next() % 4);
    }
}

void TileGrid::tryGrowWall(int row, int column, int d) {
    // The candidate, its two side neighbours and the three tiles one step
    // further on must all be free.
    int rowFrom = row - 1, rowTo = row + 1, columnFrom = column - 1, columnTo = column + 1;
    int candidateRow = row;
    int candidateColumn = column;
    switch (d) {
        case 0:
            rowFrom = row - 2, rowTo = row - 1, candidateRow = row - 1;
            break;
        case 1:
            rowFrom = row + 1, rowTo = row + 2, candidateRow = row + 1;
            break;
        case 2:
            columnFrom = column + 1, columnTo = column + 2, candidateColumn = column + 1;
            break;
        default:
            columnFrom = column - 2, columnTo = column - 1, candidateColumn = column - 1;
            break;
    }
    if (rowFrom < 0 || rowTo > gridSize - 1 || columnFrom < 0 || columnTo > gridSize - 1) {
        return;
    }
    for (int r = rowFrom; r <= rowTo; ++r) {
        for (int c = columnFrom; c <= columnTo; ++c) {
            if (!tiles[r][c]->isFree) {
                return;
            }
        }
    }
    tiles[candidateRow][candidateColumn]->isFree = false;
}

void TileGrid::printWallGrid() const {
    for (const auto& row : tiles) {
        std::string line(row.size(), ' ');
        for (size_t column = 0; column < row.size(); ++column) {
            if (!row[column]->isFree) {
                line[column] = '#';
            }
        }
        printf("%s\n", line.c_str());
    }
}

void TileGrid::printTileTable() const {
    for (const auto& row : tiles) {
        for (const Tile* tile : row) {
            printf("|%3.f, %3.f; %2.i %c|", tile->position.x, tile->position.z, tile->wallContainerId,
                   tile->isFree ? ' ' : '#');
        }
        printf("\n");
    }
}

// -------------------------------------------------------- wall grouping

void TileGrid::generateWallContainerList() {
    splitAreaIntoWallContainer(0, 0, WALK_POS_X, nextWallContainerId);
    ++nextWallContainerId;
    splitAreaIntoWallContainer(gridSize - 1, gridSize - 1, WALK_NEG_X, nextWallContainerId);
}

void TileGrid::splitAreaIntoWallContainer(int column, int row, wallContainerWalkDir direction, int id) {
    Tile* tile = tiles[row][column];
    tile->wallContainerId = id;
    WallContainer* container = containerWithId(id);
    if (container == nullptr) {
        container = new WallContainer(id);
        wallContainers.push_back(container);
    }
    container->addTile(tile);

    // A neighbour in the walking direction continues the run; one to the side
    // starts a new run.
    struct Step {
        int dRow;
        int dColumn;
        wallContainerWalkDir direction;
    };
    static const Step steps[4] = {
        {-1, 0, WALK_NEG_Z}, {0, 1, WALK_POS_X}, {1, 0, WALK_POS_Z}, {0, -1, WALK_NEG_X}};
    for (const Step& step : steps) {
        const Tile* next = getTile(row + step.dRow, column + step.dColumn);
        if (next == nullptr || next->isFree || next->wallContainerId != -1) {
            continue;
        }
        if (step.direction == direction) {
            splitAreaIntoWallContainer(column + step.dColumn, row + step.dRow, step.direction, id);
        } else {
            ++nextWallContainerId;
            splitAreaIntoWallContainer(column + step.dColumn, row + step.dRow, step.direction, nextWallContainerId);
        }
    }
}

// ------------------------------------------------------------- look-ups

Tile* TileGrid::getTile(int row, int column) const {
    if (row < 0 || row >= gridSize || column < 0 || column >= gridSize) {
        return nullptr;
    }
    return tiles[row][column];
}

int TileGrid::getTileIdx(float coordinate) const {
    const float cells = coordinate / static_cast<float>(tileSize);
    // Far-away or non-finite coordinates would overflow the conversion.
    if (!(std::fabs(cells) < static_cast<float>(gridSize) * 2.0f + 2.0f)) {
        return -1;
    }
    const int index = static_cast<int>(cells) + gridSize / 2;
    return (index >= 0 && index <= gridSize - 1) ? index : -1;
}

WallContainer* TileGrid::containerWithId(int id) const {
    // Ids are handed out consecutively from 1 as containers are created.
    const size_t slot = static_cast<size_t>(id - 1);
    if (id >= 1 && slot < wallContainers.size() && wallContainers[slot]->id == id) {
        return wallContainers[slot];
    }
    for (WallContainer* container : wallContainers) {
        if (container->id == id) {
            return container;
        }
    }
    return nullptr;
}

std::vector<WallContainer*> TileGrid::containersNear(const BoundingSphere* sphere) const {
    int lowRow = 0;
    int lowColumn = 0;
    int highRow = gridSize - 1;
    int highColumn = gridSize - 1;
    if (sphere != nullptr) {
        const float r = static_cast<float>(sphere->radius);
        const float s = static_cast<float>(tileSize);
        const Vector3& c = sphere->center;
        // Clamp each bound to the side of the grid it lies beyond, so a sphere
        // outside the maze looks at the nearest edge only.
        auto bound = [this](float coordinate) {
            const int index = getTileIdx(coordinate);
            if (index != -1) {
                return index;
            }
            return coordinate < 0.0f ? 0 : gridSize - 1;
        };
        highColumn = bound(c.x + r + s);
        highRow = bound(c.z + r + s);
        lowColumn = bound(c.x - r - s);
        lowRow = bound(c.z - r - s);
    }
    std::vector<int> seen;
    std::vector<WallContainer*> found;
    for (int row = lowRow; row <= highRow; ++row) {
        for (int column = lowColumn; column <= highColumn; ++column) {
            const int id = tiles[row][column]->wallContainerId;
            if (id == -1 || std::find(seen.begin(), seen.end(), id) != seen.end()) {
                continue;
            }
            seen.push_back(id);
            if (WallContainer* container = containerWithId(id)) {
                found.push_back(container);
            }
        }
    }
    return found;
}
