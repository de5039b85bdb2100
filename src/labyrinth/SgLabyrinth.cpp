#include "labyrinth/SgLabyrinth.h"

#include <GL/glew.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "gui/SgGUIHover.h"
#include "physics/BoundingBox.h"
#include "physics/BoundingSphere.h"
#include "physics/SgPhysEntity.h"
#include "physics/SgTrigger.h"
#include "resources/TextureManager.h"
#include "sg/GLRenderer.h"
#include "sg/SgBlendState.h"
#include "sg/SgGeometryMesh.h"
#include "sg/SgMaterial.h"
#include "sg/SgTexture.h"

namespace {
// A ball wedged between boxes must not hang the frame: the response passes
// normally settle within two or three rounds.
const int maxResponsePasses = 64;

std::string blendNodeName(int id) { return "wallBlendState" + std::to_string(id); }

SgGeometryMesh* newQuadMesh(const std::string& name) {
    SgGeometryMesh* mesh = new SgGeometryMesh(name, Vector3(0.0f, 0.0f, 0.0f), GL_QUADS);
    mesh->setVerticesPerNormal(4);
    return mesh;
}
}  // namespace

SgLabyrinth::SgLabyrinth(std::string name, const Vector3& position, int gridSize, int tileSize, float unusedF,
                         int unusedI, TextureManager* textureManager, bool perPixelLighting,
                         void (*onWallTop)())
    : SgSpatialEntity(name, position, Vector3(0.0f, 0.0f, 0.0f), 0.0f, Vector3(1.0f, 1.0f, 1.0f)),
      gridSize(gridSize),
      tileSize(tileSize),
      floorBox(nullptr),
      startWallBox(nullptr),
      wallTextureNode(nullptr),
      wallGroup(nullptr),
      textureManager(textureManager),
      perPixelLighting(perPixelLighting),
      onWallTop(onWallTop),
      nextWallContainerId(1),
      start(nullptr),
      goal(nullptr) {
    type = SG_LABYRINTH;
    createFloor();
    populateTileArray(unusedF, unusedI);
    generateWallContainerList();
    printTileTable();
    buildWallNodes();
}

SgLabyrinth::~SgLabyrinth() {
    delete floorBox;
    delete startWallBox;
    for (auto& row : tiles) {
        for (Tile* tile : row) {
            delete tile;
        }
    }
    tiles.clear();
    // Every container mesh and the start wall lie below the texture node.
    if (wallTextureNode != nullptr) {
        deleteAndFreeAllChildrenOf(wallTextureNode);
        delete wallTextureNode;
    }
    for (WallContainer* container : wallContainers) {
        delete container;
    }
    wallContainers.clear();
    for (SgEntity* node : ownNodes) {
        delete node;
    }
    ownNodes.clear();
}

// ---------------------------------------------------------------- the grid

void SgLabyrinth::populateTileArray(float, int) {
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

    for (int row = 0; row < n; ++row) {
        tiles[row][0]->isFree = false;
        tiles[row][n - 1]->isFree = false;
        if (row == 0 || row == n - 1) {
            for (int column = 1; column <= n - 2; ++column) {
                tiles[row][column]->isFree = false;
            }
        }
    }

    // Four draws, always in this order.
    const int roll1 = rand() % 100;
    const int roll2 = rand() % 100;
    const int r1 = rand() % (n - 2) + 1;
    const int r2 = rand() % (n - 2) + 1;
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

    // Walls grow out of existing walls; a new wall tile must have free space
    // around it, so walls never close a loop and every passage stays open.
    for (int i = 0; i < n * n * (n / 3.5); ++i) {
        int row = 0;
        int column = 0;
        do {
            row = rand() % n;
            column = rand() % n;
        } while (tiles[row][column]->isFree);

        const int d = rand() % 4;
        int rowFrom = 0;
        int rowTo = 0;
        int columnFrom = 0;
        int columnTo = 0;
        int candidateRow = row;
        int candidateColumn = column;
        switch (d) {
            case 0:
                rowFrom = row - 2, rowTo = row - 1, columnFrom = column - 1, columnTo = column + 1;
                candidateRow = row - 1;
                break;
            case 1:
                rowFrom = row + 1, rowTo = row + 2, columnFrom = column - 1, columnTo = column + 1;
                candidateRow = row + 1;
                break;
            case 2:
                rowFrom = row - 1, rowTo = row + 1, columnFrom = column + 1, columnTo = column + 2;
                candidateColumn = column + 1;
                break;
            default:
                rowFrom = row - 1, rowTo = row + 1, columnFrom = column - 2, columnTo = column - 1;
                candidateColumn = column - 1;
                break;
        }
        if (rowFrom < 0 || rowTo > n - 1 || columnFrom < 0 || columnTo > n - 1) {
            continue;
        }
        bool allFree = true;
        for (int rr = rowFrom; rr <= rowTo && allFree; ++rr) {
            for (int cc = columnFrom; cc <= columnTo; ++cc) {
                if (!tiles[rr][cc]->isFree) {
                    allFree = false;
                    break;
                }
            }
        }
        if (allFree) {
            tiles[candidateRow][candidateColumn]->isFree = false;
        }
    }

    for (int row = 0; row < n; ++row) {
        std::string line(n, ' ');
        for (int column = 0; column < n; ++column) {
            if (!tiles[row][column]->isFree) {
                line[column] = '#';
            }
        }
        printf("%s\n", line.c_str());
    }
}

void SgLabyrinth::printTileTable() const {
    for (const auto& row : tiles) {
        for (const Tile* tile : row) {
            printf("|%3.f, %3.f; %2.i %c|", tile->position.x, tile->position.z, tile->wallContainerId,
                   tile->isFree ? ' ' : '#');
        }
        printf("\n");
    }
}

Tile* SgLabyrinth::getStart() const { return start; }

Tile* SgLabyrinth::getGoal() const { return goal; }

int SgLabyrinth::getTileSize() const { return tileSize; }

int SgLabyrinth::getGridSize() const { return gridSize; }

Tile* SgLabyrinth::getTile(int row, int column) const {
    if (row < 0 || row >= gridSize || column < 0 || column >= gridSize) {
        return nullptr;
    }
    return tiles[row][column];
}

const std::vector<WallContainer*>& SgLabyrinth::getWallContainers() const { return wallContainers; }

int SgLabyrinth::getTileIdx(float coordinate) const {
    const float cells = coordinate / static_cast<float>(tileSize);
    // Far-away or non-finite coordinates would overflow the conversion.
    if (!(std::fabs(cells) < static_cast<float>(gridSize) * 2.0f + 2.0f)) {
        return -1;
    }
    const int index = static_cast<int>(cells) + gridSize / 2;
    return (index >= 0 && index <= gridSize - 1) ? index : -1;
}

// ------------------------------------------------------- wall containers

void SgLabyrinth::generateWallContainerList() {
    splitAreaIntoWallContainer(0, 0, WALK_POS_X, nextWallContainerId);
    ++nextWallContainerId;
    splitAreaIntoWallContainer(gridSize - 1, gridSize - 1, WALK_NEG_X, nextWallContainerId);
}

void SgLabyrinth::splitAreaIntoWallContainer(int column, int row, wallContainerWalkDir direction, int id) {
    Tile* tile = tiles[row][column];
    tile->wallContainerId = id;
    WallContainer* container = containerWithId(id);
    if (container == nullptr) {
        container = new WallContainer(id);
        wallContainers.push_back(container);
    }
    container->addTile(tile);

    struct Step {
        int dRow;
        int dColumn;
        wallContainerWalkDir direction;
    };
    static const Step steps[4] = {
        {-1, 0, WALK_NEG_Z}, {0, 1, WALK_POS_X}, {1, 0, WALK_POS_Z}, {0, -1, WALK_NEG_X}};
    for (const Step& step : steps) {
        const int nextRow = row + step.dRow;
        const int nextColumn = column + step.dColumn;
        if (nextRow < 0 || nextRow >= gridSize || nextColumn < 0 || nextColumn >= gridSize) {
            continue;
        }
        const Tile* next = tiles[nextRow][nextColumn];
        if (next->isFree || next->wallContainerId != -1) {
            continue;
        }
        if (step.direction == direction) {
            splitAreaIntoWallContainer(nextColumn, nextRow, step.direction, id);
        } else {
            ++nextWallContainerId;
            splitAreaIntoWallContainer(nextColumn, nextRow, step.direction, nextWallContainerId);
        }
    }
}

WallContainer* SgLabyrinth::containerWithId(int id) const {
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

// ------------------------------------------------------------ geometry

void SgLabyrinth::createFloor() {
    const float s = static_cast<float>(tileSize);
    const float h = static_cast<float>(gridSize * tileSize / 2);

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
    if (perPixelLighting) {
        // Per-pixel lighting needs no vertices inside the slab; the texture
        // repeats once per tile.
        const Vector3 b[4] = {*b0, *b1, *b2, *b3};
        const Vector3 t[4] = {*t0, *t1, *t2, *t3};
        const float repeat = static_cast<float>(gridSize);
        WallContainer::addBoxFaces(mesh, b, t, true, repeat, repeat);
    } else {
        // Per-vertex lighting: one block per tile, from the high-z row down
        // and, within a row, from high x to low x.
        const float s = static_cast<float>(tileSize);
        const float bottom = b0->y;
        const float top = t0->y;
        for (int row = gridSize - 1; row >= 0; --row) {
            const float z = b0->z + static_cast<float>(row) * s;
            for (int column = gridSize - 1; column >= 0; --column) {
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
    const float s = static_cast<float>(tileSize);
    const float h = static_cast<float>(gridSize * tileSize / 2);
    const float x = start->position.x;
    const float z = start->position.z;

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
    wallGroup = new SgEntity("wallContainer");
    wallTextureNode->addChild(hudMaterial);
    hudMaterial->addChild(wallMaterial);
    wallMaterial->addChild(wallGroup);
    addChild(wallTextureNode);

    createStartWall();
    printf("%i\n", static_cast<int>(children.size()));

    for (WallContainer* container : wallContainers) {
        container->createBoundingBox(onWallTop);
        container->createMesh();
        const std::string name = blendNodeName(container->id);
        printf("added wallBlendMesh: %s\n", name.c_str());
        SgBlendState* blend = new SgBlendState(name, true);
        blend->disable();
        blend->addChild(container->mesh);
        wallGroup->addChild(blend);
    }
    printf("%i\n", static_cast<int>(children.size()));

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

void SgLabyrinth::render(GLRenderer* renderer) {
    const bool firstPass = beginDraw();
    if (firstPass) {
        renderer->pushAttrib(GL_ENABLE_BIT);
    }
    // Walls drawn in the opaque pass are untextured; the see-through walls
    // drawn in the transparent pass carry the texture.
    wallTextureNode->enabled = renderer->transparentPass;
    SgSpatialEntity::render(renderer);
    if (firstPass) {
        renderer->popAttrib();
    }
    endDraw(renderer);
}

// -------------------------------------------------------------- queries

std::vector<WallContainer*> SgLabyrinth::containersNear(BoundingSphere* sphere) const {
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
            if (id == -1) {
                continue;
            }
            bool known = false;
            for (int other : seen) {
                if (other == id) {
                    known = true;
                    break;
                }
            }
            if (known) {
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

std::vector<BoundingBox*> SgLabyrinth::getBoundingVolumesToBeCheckedWith(BoundingSphere* sphere) {
    std::vector<BoundingBox*> boxes{floorBox, startWallBox};
    for (WallContainer* container : containersNear(sphere)) {
        boxes.push_back(container->box);
    }
    return boxes;
}

std::vector<SgTrigger*> SgLabyrinth::getTriggerToBeCheckedWith(BoundingSphere* sphere) {
    std::vector<SgTrigger*> triggers;
    for (WallContainer* container : containersNear(sphere)) {
        triggers.push_back(container->trigger);
    }
    return triggers;
}

void SgLabyrinth::collideWith(SgPhysEntity* entity, BoundingSphere* sphere, bool fromRoot) {
    if (fromRoot) {
        if (parent != nullptr) {
            parent->collideWith(entity, sphere, true);
        }
        return;
    }
    for (SgTrigger* trigger : getTriggerToBeCheckedWith(sphere)) {
        trigger->collideWith(entity, sphere, false);
    }

    entity->resolveAgainstWalls(getBoundingVolumesToBeCheckedWith(sphere), maxResponsePasses);
    // On to the children hung below the maze by the game (physics and
    // particle controllers). The maze's own floor, wall and marker nodes
    // react to no query, and walking every wall mesh for every ball each
    // frame would cost more than the query itself.
    if (!active) {
        return;
    }
    for (SgEntity* child : children) {
        if (child == entity || isOwnNode(child)) {
            continue;
        }
        child->collideWith(entity, sphere, false);
    }
}

bool SgLabyrinth::isOwnNode(const SgEntity* node) const {
    if (node == wallTextureNode) {
        return true;
    }
    for (const SgEntity* own : ownNodes) {
        if (own == node) {
            return true;
        }
    }
    return false;
}

SgBlendState* SgLabyrinth::blendNodeOf(size_t index, int id) {
    const std::string name = blendNodeName(id);
    // Normally the group holds the blend nodes in container order; anything
    // else (a node unlinked or moved) falls back to the search by name.
    const auto& blends = wallGroup->getChildren();
    if (index < blends.size() && blends[index]->getName() == name) {
        return static_cast<SgBlendState*>(blends[index]);
    }
    return static_cast<SgBlendState*>(findChild(name));
}

void SgLabyrinth::switchSeeThrough(const std::vector<WallContainer*>& containers, const Vector3& start,
                                   const Vector3& end) {
    for (WallContainer* container : containers) {
        SgBlendState* blend = blendNodeOf(static_cast<size_t>(container->id - 1), container->id);
        if (blend == nullptr) {
            continue;
        }
        if (container->box->collideWithRay(start, end)) {
            blend->enable();
        } else {
            blend->disable();
        }
    }
}

void SgLabyrinth::collideWithCameraRay(const Vector3& start, const Vector3& end, BoundingSphere* sphere) {
    switchSeeThrough(containersNear(sphere), start, end);
}

void SgLabyrinth::collideWithRay(const Vector3& start, const Vector3& end) {
    switchSeeThrough(containersNear(nullptr), start, end);
}

// ----------------------------------------------------------------- map

void SgLabyrinth::renderLabyrinthMapToTexture(GLRenderer* renderer, TextureManager* manager) {
    SgEntity* floorMaterial = findChild("floorMeshMaterial");
    SgEntity* deepFloorMaterial = findChild("deepFloorMeshMaterial");
    SgMaterial* wallMaterial = static_cast<SgMaterial*>(findChild("wallMaterial"));
    SgMaterial* hudMaterial = static_cast<SgMaterial*>(findChild("wallHUDTextureMaterial"));
    SgEntity* player = findChild("player");
    SgEntity* particles = findChild("particleController");

    // Everything but the walls is hidden; flags are put back as they were.
    SgEntity* hidden[4] = {floorMaterial, deepFloorMaterial, player, particles};
    bool wasActive[4] = {false, false, false, false};
    for (int i = 0; i < 4; ++i) {
        if (hidden[i] != nullptr) {
            wasActive[i] = hidden[i]->isActive();
            hidden[i]->setActive(false);
        }
    }
    const bool wallBypass = wallMaterial->bypass;
    const bool hudBypass = hudMaterial->bypass;
    wallMaterial->bypass = true;
    hudMaterial->bypass = false;

    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLint readBuffer = GL_BACK;
    glGetIntegerv(GL_READ_BUFFER, &readBuffer);
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_POLYGON_BIT | GL_COLOR_BUFFER_BIT);

    // Auxiliary buffers are rare; a frame-buffer object is the off-screen
    // target, and without one the back buffer serves before the frame is drawn.
    GLint previousDraw = 0;
    GLint previousRead = 0;
    GLuint fbo = 0;
    GLuint colorBuffer = 0;
    GLuint depthBuffer = 0;
    if (GLEW_ARB_framebuffer_object || GLEW_VERSION_3_0) {
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &previousDraw);
        glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previousRead);
        glGenFramebuffers(1, &fbo);
        glGenRenderbuffers(1, &colorBuffer);
        glGenRenderbuffers(1, &depthBuffer);
        glBindRenderbuffer(GL_RENDERBUFFER, colorBuffer);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, mapSize, mapSize);
        glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, mapSize, mapSize);
        glBindRenderbuffer(GL_RENDERBUFFER, 0);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colorBuffer);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer);
        if (glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE) {
            glDrawBuffer(GL_COLOR_ATTACHMENT0);
            glReadBuffer(GL_COLOR_ATTACHMENT0);
        } else {
            glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(previousDraw));
            glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previousRead));
            glDeleteRenderbuffers(1, &colorBuffer);
            glDeleteRenderbuffers(1, &depthBuffer);
            glDeleteFramebuffers(1, &fbo);
            fbo = 0;
        }
    }
    if (fbo == 0) {
        glDrawBuffer(GL_BACK);
        glReadBuffer(GL_BACK);
    }

    glViewport(0, 0, mapSize, mapSize);
    glDisable(GL_LIGHTING);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);

    const float extent = static_cast<float>(gridSize * tileSize / 2);
    const float low = static_cast<float>(-gridSize * tileSize / 2);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(low, extent, low, extent, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    gluLookAt(0.0, 10.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, -1.0);

    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    SgGUIHover* goalHover = static_cast<SgGUIHover*>(findChild("goalHover"));
    const float goalSize = goalHover != nullptr ? goalHover->getSize() : 0.0f;
    if (goalHover != nullptr) {
        goalHover->setSize(goalSize * 3.0f);
    }
    drawMap(renderer);
    if (goalHover != nullptr) {
        goalHover->setSize(goalSize);
    }

    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);

    if (manager != nullptr) {
        manager->addTextureFromBuffer("labyrinthMapTexture", GL_RGBA, mapSize, mapSize);
    }

    if (fbo != 0) {
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(previousDraw));
        glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previousRead));
        glDeleteRenderbuffers(1, &colorBuffer);
        glDeleteRenderbuffers(1, &depthBuffer);
        glDeleteFramebuffers(1, &fbo);
    }
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    glPopAttrib();
    glReadBuffer(static_cast<GLenum>(readBuffer));

    wallMaterial->bypass = wallBypass;
    hudMaterial->bypass = hudBypass;
    for (int i = 0; i < 4; ++i) {
        if (hidden[i] != nullptr) {
            hidden[i]->setActive(wasActive[i]);
        }
    }
}

void SgLabyrinth::drawMap(GLRenderer* renderer) {
    GLint program = 0;
    if (renderer->lightingProgramInUse) {
        glGetIntegerv(GL_CURRENT_PROGRAM, &program);
        glUseProgram(0);
    }
    glFrontFace(GL_CW);
    render(renderer);
    if (!renderer->transparentPass) {
        // An opaque-pass render leaves every drawn mark set, which would hide
        // the maze for the next frame; a transparent pass re-arms them and
        // draws only blended walls, of which a fresh maze has none.
        renderer->transparentPass = true;
        render(renderer);
        renderer->transparentPass = false;
    }
    glFrontFace(GL_CCW);
    if (renderer->lightingProgramInUse) {
        glUseProgram(static_cast<GLuint>(program));
    }
}
