// The labyrinth's geometry and render nodes: floor slab and ground plane, the
// wall runs with their see-through switches, the start wall and the goal marker.
#include "labyrinth/SgLabyrinth.h"

#include <GL/glew.h>

#include <cstdio>
#include <string>

#include "gui/SgGUIHover.h"
#include "labyrinth/WallGroup.h"
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

void SgLabyrinth::createFloor() {
    const float s = static_cast<float>(grid.getTileSize());
    const float h = static_cast<float>(grid.getGridSize() * grid.getTileSize() / 2);

    SgGeometryMesh* floorMesh = newQuadMesh("labyrinthFloor");
    SgGeometryMesh* deepFloorMesh = newQuadMesh("deepFloorMesh");

    const float wide = 8.0f * h;
    WallContainer::addFace(deepFloorMesh, Vector3(-wide, -s, -wide), Vector3(wide, -s, -wide),
                           Vector3(wide, -s, wide), Vector3(-wide, -s, wide), false);
    deepFloorMesh->compile();

    Vector3 b0(-h, -s, -h), b1(h, -s, -h), b2(h, -s, h), b3(-h, -s, h);
    Vector3 t0(-h, 0.0f, -h), t1(h, 0.0f, -h), t2(h, 0.0f, h), t3(-h, 0.0f, h);
    createFloorMesh(floorMesh, &b0, &b1, &b2, &b3, &t0, &t1, &t2, &t3);

    SgMaterial* floorMaterial = new SgMaterial("floorMeshMaterial", 0.1f, 0.1f, 0.1f, 0.7f, 0.9f, 0.9f, 0.95f,
                                               0.7f, 0.0f, 0.0f, 0.0f, 0.7f, 1.0f, 0.0f, 0.0f, 0.0f, 0.7f, GL_FRONT);
    SgMaterial* deepMaterial = new SgMaterial("deepFloorMeshMaterial", 0.9f, 0.9f, 0.9f, 0.7f, 0.9f, 0.9f, 0.9f,
                                              0.7f, 0.0f, 0.0f, 0.0f, 0.7f, 1.0f, 0.0f, 0.0f, 0.0f, 0.7f, GL_FRONT);
    floorMaterial->compile();
    deepMaterial->compile();
    floorMaterial->addChild(floorMesh);
    deepMaterial->addChild(deepFloorMesh);
    addChild(floorMaterial);
    addChild(deepMaterial);
    ownNodes.push_back(floorMesh);
    ownNodes.push_back(deepFloorMesh);
    ownNodes.push_back(floorMaterial);
    ownNodes.push_back(deepMaterial);

    floorBox = new BoundingBox(Vector3(-h, -s, -h), Vector3(h, 0.0f, h));
}

void SgLabyrinth::createFloorMesh(SgGeometryMesh* mesh, Vector3* b0, Vector3* b1, Vector3* b2, Vector3* b3,
                                  Vector3* t0, Vector3* t1, Vector3* t2, Vector3* t3) {
    const int n = grid.getGridSize();
    if (perPixelLighting) {
        // Per-pixel lighting needs no vertices inside the slab; the texture
        // repeats once per tile.
        const Vector3 b[4] = {*b0, *b1, *b2, *b3};
        const Vector3 t[4] = {*t0, *t1, *t2, *t3};
        const float repeat = static_cast<float>(n);
        WallContainer::addBoxFaces(mesh, b, t, true, repeat, repeat);
    } else {
        // Per-vertex lighting: one block per tile, from the high-z row down
        // and, within a row, from high x to low x.
        const float s = static_cast<float>(grid.getTileSize());
        const float bottom = b0->y;
        const float top = t0->y;
        for (int row = n - 1; row >= 0; --row) {
            const float z = b0->z + static_cast<float>(row) * s;
            for (int column = n - 1; column >= 0; --column) {
                const float x = b0->x + static_cast<float>(column) * s;
                const Vector3 b[4] = {Vector3(x, bottom, z), Vector3(x + s, bottom, z), Vector3(x + s, bottom, z + s),
                                      Vector3(x, bottom, z + s)};
                const Vector3 t[4] = {Vector3(x, top, z), Vector3(x + s, top, z), Vector3(x + s, top, z + s),
                                      Vector3(x, top, z + s)};
                WallContainer::addBoxFaces(mesh, b, t, false);
            }
        }
    }
    mesh->compile();
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
    wallGroup = new WallGroup("wallContainer");
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
        wallGroup->addWall(blend, container->box->corners[0], container->box->corners[6]);
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
