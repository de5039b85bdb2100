#pragma once

#include <string>
#include <vector>

#include "labyrinth/Tile.h"
#include "labyrinth/TileGrid.h"
#include "labyrinth/WallContainer.h"
#include "sg/SgSpatialEntity.h"

class BoundingBox;
class BoundingSphere;
class GLRenderer;
class SgBlendState;
class SgGeometryMesh;
class SgPhysEntity;
class SgTexture;
class SgTrigger;
class TextureManager;
class CulledGroup;

// One level's maze: a square grid of tiles (walls grown at random from the
// outer ring, TileGrid), the walls grouped into straight runs, their render
// nodes below this node, and the collision queries that only look at the
// tiles near the asking sphere. Tiles are s units wide; the grid is centred
// on the node's origin and the floor surface is y = 0.
//
// The implementation is spread by concern: SgLabyrinth.cpp (building and the
// grid), SgLabyrinthGeometry.cpp (floor, walls, goal marker),
// SgLabyrinthQueries.cpp (collision and camera-ray queries) and
// SgLabyrinthMap.cpp (the off-screen map).
class SgLabyrinth : public SgSpatialEntity {
public:
    // The unnamed float and int are handed to populateTileArray and unused.
    // gridSize must be at least 3. With perPixelLighting the floor is one
    // slab, otherwise one block per tile so that vertex lighting has vertices
    // to light, in meshes of 4 x 4 tiles that are culled one by one; both
    // below the "labyrinthFloor" group. onWallTop (may be null) is called
    // while the player stands on a wall.
    SgLabyrinth(std::string name, const Vector3& position, int gridSize, int tileSize, float, int,
                TextureManager* textureManager, bool perPixelLighting, void (*onWallTop)());
    // Frees what the labyrinth built (tiles, containers with their boxes and
    // triggers, the floor, wall and goal nodes); children hung below it by
    // others (physics controller, particle blending) are left alive.
    ~SgLabyrinth() override;
    SgLabyrinth(const SgLabyrinth&) = delete;
    SgLabyrinth& operator=(const SgLabyrinth&) = delete;

    void populateTileArray(float, int);
    Tile* getStart() const;
    Tile* getGoal() const;
    int getTileSize() const;
    int getGridSize() const;
    Tile* getTile(int row, int column) const;
    const std::vector<WallContainer*>& getWallContainers() const;
    // World x (or z) to column (or row): truncation toward zero, then N/2 added;
    // -1 outside the grid.
    int getTileIdx(float coordinate) const;

    void generateWallContainerList();
    void splitAreaIntoWallContainer(int column, int row, wallContainerWalkDir direction, int id);

    void createFloor();
    void createStartWall();
    void createWallMesh(SgGeometryMesh* mesh, Vector3* b0, Vector3* b1, Vector3* b2, Vector3* b3, Vector3* t0,
                        Vector3* t1, Vector3* t2, Vector3* t3);

    // floorBox, startWallBox, then one box per wall run met in the sphere's
    // tile window, each once.
    std::vector<BoundingBox*> getBoundingVolumesToBeCheckedWith(BoundingSphere* sphere);
    std::vector<SgTrigger*> getTriggerToBeCheckedWith(BoundingSphere* sphere);

    void render(GLRenderer* renderer) override;
    void collideWith(SgPhysEntity* entity, BoundingSphere* sphere, bool fromRoot) override;
    void collideWithRay(const Vector3& start, const Vector3& end) override;
    void collideWithCameraRay(const Vector3& start, const Vector3& end, BoundingSphere* sphere) override;

    // Renders the maze from straight above into a 512 x 512 RGBA texture named
    // "labyrinthMapTexture": walls, start wall and an enlarged goal marker on
    // a transparent background. Leaves node flags and GL state as found.
    void renderLabyrinthMapToTexture(GLRenderer* renderer, TextureManager* textureManager);

    BoundingBox* getFloorBox() const { return floorBox; }
    BoundingBox* getStartWallBox() const { return startWallBox; }

    static const int mapSize = 512;

private:
    static std::string blendNodeName(int id);
    void createFloorBlocks(CulledGroup* floor);
    void buildWallNodes();
    void createWallGroups();
    void createGoalMarker();
    void switchSeeThrough(const std::vector<WallContainer*>& containers, const Vector3& start, const Vector3& end);
    void drawMapFromAbove(GLRenderer* renderer);
    void drawMap(GLRenderer* renderer);
    bool isOwnNode(const SgEntity* node) const;
    // The see-through switch of the container at that list index.
    SgBlendState* blendNodeOf(size_t index, int id);

    TileGrid grid;
    BoundingBox* floorBox;
    BoundingBox* startWallBox;
    SgTexture* wallTextureNode;
    CulledGroup* wallGroup;  // "wallContainer": the blend nodes in container order
    TextureManager* textureManager;
    bool perPixelLighting;
    void (*onWallTop)();
    // Nodes built here that are not below "wallTexture", freed by the destructor.
    std::vector<SgEntity*> ownNodes;
};
