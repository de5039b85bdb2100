// The labyrinth's geometry and render nodes: the floor (one slab, or blocks
// of tiles for vertex lighting) and the ground plane, the wall runs with
// their see-through switches, the start wall and the goal marker.
#include "labyrinth/SgLabyrinth.h"

#include <GL/glew.h>

#include <cstdio>
#include <string>

#include "gui/SgGUIHover.h"
#include "labyrinth/CulledGroup.h"
#include "physics/BoundingBox.h"
#include "resources/TextureManager.h"
#include "sg/SgBlendState.h"
#include "sg/SgGeometryMesh.h"
#include "sg/SgMaterial.h"
#include "sg/SgTexture.h"

namespace {
SgGeometryMesh* newQuadMesh(const std::string& name) {
    SgGeometryMesh* mesh = new SgGeometryMesh(name, Vector3(0.0f, 0.0f, 0.0f), GL_QUADS);
    mesh->setVerticesPerNormal(4);
    return mesh;
}
}  // namespace

namespace {
// Vertex lighting's floor is gathered into meshes of this many tiles square,
// each culled as a whole: at maze 32 that is 64 box tests a frame, and a
// mesh left out saves 320 lit vertices.
const int floorBlockTiles = 4;
}  // namespace

void SgLabyrinth::createFloor() {
    const float s = static_cast<float>(grid.getTileSize());
    const float h = static_cast<float>(grid.getGridSize() * grid.getTileSize() / 2);

    SgGeometryMesh* deepFloorMesh = newQuadMesh("deepFloorMesh");
    const float wide = 8.0f * h;
    WallContainer::addFace(deepFloorMesh, Vector3(-wide, -s, -wide), Vector3(wide, -s, -wide),
                           Vector3(wide, -s, wide), Vector3(-wide, -s, wide), false);
    deepFloorMesh->compile();

    CulledGroup* floor = new CulledGroup("labyrinthFloor");
    ownNodes.push_back(floor);
    if (perPixelLighting) {
        // Per-pixel lighting needs no vertices inside the slab; the texture
        // repeats once per tile.
        const Vector3 b[4] = {Vector3(-h, -s, -h), Vector3(h, -s, -h), Vector3(h, -s, h), Vector3(-h, -s, h)};
        const Vector3 t[4] = {Vector3(-h, 0.0f, -h), Vector3(h, 0.0f, -h), Vector3(h, 0.0f, h),
                              Vector3(-h, 0.0f, h)};
        const float repeat = static_cast<float>(grid.getGridSize());
        SgGeometryMesh* slab = newQuadMesh("labyrinthFloorSlab");
        WallContainer::addBoxFaces(slab, b, t, true, repeat, repeat);
        slab->compile();
        floor->addCulled(slab, b[0], t[2]);
        ownNodes.push_back(slab);
    } else {
        createFloorBlocks(floor);
    }

    SgMaterial* floorMaterial = new SgMaterial("floorMeshMaterial", 0.1f, 0.1f, 0.1f, 0.7f, 0.9f, 0.9f, 0.95f,
                                               0.7f, 0.0f, 0.0f, 0.0f, 0.7f, 1.0f, 0.0f, 0.0f, 0.0f, 0.7f, GL_FRONT);
    SgMaterial* deepMaterial = new SgMaterial("deepFloorMeshMaterial", 0.9f, 0.9f, 0.9f, 0.7f, 0.9f, 0.9f, 0.9f,
                                              0.7f, 0.0f, 0.0f, 0.0f, 0.7f, 1.0f, 0.0f, 0.0f, 0.0f, 0.7f, GL_FRONT);
    floorMaterial->compile();
    deepMaterial->compile();
    floorMaterial->addChild(floor);
    deepMaterial->addChild(deepFloorMesh);
    addChild(floorMaterial);
    addChild(deepMaterial);
    ownNodes.push_back(deepFloorMesh);
    ownNodes.push_back(floorMaterial);
    ownNodes.push_back(deepMaterial);

    floorBox = new BoundingBox(Vector3(-h, -s, -h), Vector3(h, 0.0f, h));
}

// Per-vertex lighting: one block per tile, so that the lights have vertices
// to light, in meshes of floorBlockTiles x floorBlockTiles tiles (fewer along
// the low edges). Meshes and the tiles within each go from high z down and,
// within a row, from high x to low x.
void SgLabyrinth::createFloorBlocks(CulledGroup* floor) {
    const int n = grid.getGridSize();
    const float s = static_cast<float>(grid.getTileSize());
    const float h = static_cast<float>(n * grid.getTileSize() / 2);
    const auto edge = [&](int tiles) { return -h + static_cast<float>(tiles) * s; };
    for (int rowEnd = n; rowEnd > 0; rowEnd -= floorBlockTiles) {
        const int rowBegin = rowEnd > floorBlockTiles ? rowEnd - floorBlockTiles : 0;
        for (int columnEnd = n; columnEnd > 0; columnEnd -= floorBlockTiles) {
            const int columnBegin = columnEnd > floorBlockTiles ? columnEnd - floorBlockTiles : 0;
            SgGeometryMesh* mesh = newQuadMesh("labyrinthFloorBlock");
            for (int row = rowEnd - 1; row >= rowBegin; --row) {
                const float z = edge(row);
                for (int column = columnEnd - 1; column >= columnBegin; --column) {
                    const float x = edge(column);
                    const Vector3 b[4] = {Vector3(x, -s, z), Vector3(x + s, -s, z), Vector3(x + s, -s, z + s),
                                          Vector3(x, -s, z + s)};
                    const Vector3 t[4] = {Vector3(x, 0.0f, z), Vector3(x + s, 0.0f, z),
                                          Vector3(x + s, 0.0f, z + s), Vector3(x, 0.0f, z + s)};
                    WallContainer::addBoxFaces(mesh, b, t, false);
                }
            }
            mesh->compile();
            floor->addCulled(mesh, Vector3(edge(columnBegin), -s, edge(rowBegin)),
                             Vector3(edge(columnEnd), 0.0f, edge(rowEnd)));
            ownNodes.push_back(mesh);
        }
    }
}

void SgLabyrinth::createWallMesh(SgGeometryMesh* mesh, Vector3* b0, Vector3* b1, Vector3* b2, Vector3* b3,
                                 Vector3* t0, Vector3* t1, Vector3* t2, Vector3* t3) {
    const Vector3 b[4] = {*b0, *b1, *b2, *b3};
    const Vector3 t[4] = {*t0, *t1, *t2, *t3};
    WallContainer::addBoxFaces(mesh, b, t, true);
    mesh->compile();
}

void SgLabyrinth::createStartWall() {
    const float s = static_cast<float>(grid.getTileSize());
    const float h = static_cast<float>(grid.getGridSize() * grid.getTileSize() / 2);
    const float x = grid.getStart()->position.x;
    const float z = grid.getStart()->position.z;

    SgGeometryMesh* mesh = newQuadMesh("startWall");
    float x0 = 0.0f, x1 = 0.0f, z0 = 0.0f, z1 = 0.0f;
    if (x == -h) {
        x0 = -h - s, x1 = -h, z0 = z - s, z1 = z + 2.0f * s;
    } else if (x == h - s) {
        x0 = h, x1 = h + s, z0 = z - s, z1 = z + 2.0f * s;
    } else if (z == -h) {
        x0 = x - s, x1 = x + 2.0f * s, z0 = -h - s, z1 = -h;
    } else {
        x0 = x - s, x1 = x + 2.0f * s, z0 = h, z1 = h + s;
    }
    Vector3 b0(x0, -s, z0), b1(x1, -s, z0), b2(x1, -s, z1), b3(x0, -s, z1);
    Vector3 t0(x0, s, z0), t1(x1, s, z0), t2(x1, s, z1), t3(x0, s, z1);
    createWallMesh(mesh, &b0, &b1, &b2, &b3, &t0, &t1, &t2, &t3);
    findChild("wallMaterial")->addChild(mesh);
    startWallBox = new BoundingBox(b0, t2);
}

// wallTexture > wallHUDTextureMaterial > wallMaterial > wallContainer (one
// blend node per run) and the start wall; then the goal marker.
void SgLabyrinth::buildWallNodes() {
    const unsigned wallTexture = textureManager != nullptr ? textureManager->getTextureId("wallTexture1") : 0;
    wallTextureNode = new SgTexture("wallTexture", wallTexture, GL_MODULATE);
    SgMaterial* hudMaterial = new SgMaterial("wallHUDTextureMaterial", 0.2f, 0.2f, 0.2f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f,
                                             0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, GL_FRONT);
    hudMaterial->bypass = true;
    hudMaterial->compile();
    SgMaterial* wallMaterial = new SgMaterial("wallMaterial", 0.2f, 0.2f, 0.2f, 0.7f, 1.0f, 1.0f, 1.0f, 0.7f, 0.0f,
                                              0.0f, 0.0f, 0.7f, 1.0f, 0.0f, 0.0f, 0.0f, 0.7f, GL_FRONT);
    wallMaterial->compile();
    wallGroup = new CulledGroup("wallContainer");
    wallTextureNode->addChild(hudMaterial);
    hudMaterial->addChild(wallMaterial);
    wallMaterial->addChild(wallGroup);
    addChild(wallTextureNode);

    createStartWall();
    printf("%i\n", static_cast<int>(children.size()));
    createWallGroups();
    printf("%i\n", static_cast<int>(children.size()));
    createGoalMarker();
}

// Each run's box, trigger (one height draw each, in container order) and
// mesh, below a blend node that is off until the run hides the ball.
void SgLabyrinth::createWallGroups() {
    for (WallContainer* container : grid.getWallContainers()) {
        container->createBoundingBox(onWallTop);
        container->createMesh();
        const std::string name = blendNodeName(container->id);
        printf("added wallBlendMesh: %s\n", name.c_str());
        SgBlendState* blend = new SgBlendState(name, true);
        blend->disable();
        blend->addChild(container->mesh);
        wallGroup->addCulled(blend, container->box->corners[0], container->box->corners[6]);
    }
}

void SgLabyrinth::createGoalMarker() {
    const int tileSize = grid.getTileSize();
    const Tile* goal = grid.getGoal();
    const int half = tileSize / 2;
    const unsigned goalTexture = textureManager != nullptr ? textureManager->getTextureId("goalHoverTexture") : 0;
    SgGUIHover* goalHover =
        new SgGUIHover("goalHover",
                       Vector3(goal->position.x + static_cast<float>(half), static_cast<float>(3 * tileSize),
                               goal->position.z + static_cast<float>(half)),
                       1.5f, goalTexture, Vector3(1.0f, 0.0f, 0.0f));
    addChild(goalHover);
    ownNodes.push_back(goalHover);
}
