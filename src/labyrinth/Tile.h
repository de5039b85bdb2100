#pragma once

#include "sg/Vector3.h"

// One square cell of the maze. position is the cell's minimum corner (low x,
// y = 0, low z); the cell covers position.x .. position.x + size and
// position.z .. position.z + size.
class Tile {
public:
    Tile(const Vector3& position, float size);

    Vector3 position;
    bool isFree;          // true: floor, false: wall
    float size;           // edge length in world units
    int wallContainerId;  // -1 until the wall is grouped; always -1 for free tiles
};
