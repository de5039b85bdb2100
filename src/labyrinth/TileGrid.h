#pragma once

#include <vector>

#include "labyrinth/Tile.h"
#include "labyrinth/WallContainer.h"

class BoundingSphere;

// The maze of one level as a square grid of tiles, with nothing drawn: the
// random walls, the start and goal openings, the grouping of walls into
// straight runs, and the tile window the collision queries look at. Tiles are
// s units wide and the grid is centred on the origin. Owns its tiles and its
// wall containers.
class TileGrid {
public:
    // Allocates N x N free tiles; gridSize (N) must be at least 3.
    TileGrid(int gridSize, int tileSize);
    ~TileGrid();
    TileGrid(const TileGrid&) = delete;
    TileGrid& operator=(const TileGrid&) = delete;

    // The outer wall, the two openings and the grown walls, drawn from GameRandom
    // in a fixed order; then prints the wall grid, one line per row.
    void populateTileArray();
    // Groups the wall tiles into straight runs, walking from corner [0][0]
    // and then from [N-1][N-1]; ids are handed out from 1 in creation order.
    void generateWallContainerList();
    void splitAreaIntoWallContainer(int column, int row, wallContainerWalkDir direction, int id);
    // Every tile's position, container id and kind, one line per row.
    void printTileTable() const;

    Tile* getStart() const { return start; }
    Tile* getGoal() const { return goal; }
    int getTileSize() const { return tileSize; }
    int getGridSize() const { return gridSize; }
    // Null outside the grid.
    Tile* getTile(int row, int column) const;
    const std::vector<WallContainer*>& getWallContainers() const { return wallContainers; }
    // World x (or z) to column (or row): truncation toward zero, then N/2 added;
    // -1 outside the grid.
    int getTileIdx(float coordinate) const;
    WallContainer* containerWithId(int id) const;
    // Containers met in the tile window around the sphere (or the whole grid
    // when sphere is null), each once, in the order of their first tile.
    std::vector<WallContainer*> containersNear(const BoundingSphere* sphere) const;

private:
    void buildOuterWall();
    void openStartAndGoal();
    void growWalls();
    // One growth step from the wall tile at (row, column) in direction d
    // (0: row - 1, 1: row + 1, 2: column + 1, 3: column - 1).
    void tryGrowWall(int row, int column, int d);
    void printWallGrid() const;

    std::vector<std::vector<Tile*>> tiles;  // tiles[row][column]; row runs along z
    int gridSize;
    int tileSize;
    std::vector<WallContainer*> wallContainers;  // creation order; ids 1, 2, ...
    int nextWallContainerId;
    Tile* start;
    Tile* goal;
};
