#pragma once

#include <vector>

#include "labyrinth/Tile.h"

class BoundingBox;
class SgGeometryMesh;
class SgTrigger;

// Direction in which the grouping walk entered a wall tile.
enum wallContainerWalkDir {
    WALK_POS_X = 0,  // column + 1
    WALK_NEG_X = 1,  // column - 1
    WALK_NEG_Z = 2,  // row - 1
    WALK_POS_Z = 3   // row + 1
};

// A straight, gap-free run of wall tiles along x or z. It is drawn as one mesh,
// collided as one box and carries one trigger slab on its top face. The box
// and trigger belong to the container; the mesh belongs to the scene graph
// once the labyrinth has attached it.
class WallContainer {
public:
    explicit WallContainer(int id);
    ~WallContainer();
    WallContainer(const WallContainer&) = delete;
    WallContainer& operator=(const WallContainer&) = delete;

    // The id recorded in the first tile; -1 for an empty container.
    int getId() const;
    void addTile(Tile* tile);
    // Draws the random height (one GameRandom draw) and builds box and trigger;
    // the trigger calls onWallTop (may be null) while the player stands on top.
    void createBoundingBox(void (*onWallTop)());
    // Sorts the tiles into ascending x or z and builds the compiled mesh.
    void createMesh();

    // Appends one quad: a face normal from a, b, c, optional texture
    // coordinates (0,0) (u,0) (u,v) (0,v), and copies of the four corners, so
    // no corner object is shared between faces.
    static void addFace(SgGeometryMesh* mesh, const Vector3& a, const Vector3& b, const Vector3& c,
                        const Vector3& d, bool textured, float u = 1.0f, float v = 1.0f);
    // The five faces of a box (no bottom face) over the corner convention
    // b0..b3 / t0..t3 = (low x, low z), (high x, low z), (high x, high z), (low x, high z).
    static void addBoxFaces(SgGeometryMesh* mesh, const Vector3 b[4], const Vector3 t[4], bool textured,
                            float u = 1.0f, float v = 1.0f);

    float height;
    int id;
    std::vector<Tile*> tiles;
    SgGeometryMesh* mesh;
    BoundingBox* box;
    SgTrigger* trigger;
};
