#include "labyrinth/Tile.h"

Tile::Tile(const Vector3& position, float size)
    : position(position), isFree(true), size(size), wallContainerId(-1) {}
