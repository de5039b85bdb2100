#include "labyrinth/SgLabyrinth.h"

#include <GL/glew.h>

#include "labyrinth/CulledGroup.h"
#include "physics/BoundingBox.h"
#include "sg/GLRenderer.h"
#include "sg/SgTexture.h"

SgLabyrinth::SgLabyrinth(std::string name, const Vector3& position, int gridSize, int tileSize, float unusedF,
                         int unusedI, TextureManager* textureManager, bool perPixelLighting,
                         void (*onWallTop)())
    : SgSpatialEntity(name, position, Vector3(0.0f, 0.0f, 0.0f), 0.0f, Vector3(1.0f, 1.0f, 1.0f)),
      grid(gridSize, tileSize),
      floorBox(nullptr),
      startWallBox(nullptr),
      wallTextureNode(nullptr),
      wallGroup(nullptr),
      textureManager(textureManager),
      perPixelLighting(perPixelLighting),
      onWallTop(onWallTop) {
    type = SG_LABYRINTH;
    createFloor();
    populateTileArray(unusedF, unusedI);
    generateWallContainerList();
    grid.printTileTable();
    buildWallNodes();
}

// The grid frees the tiles and the containers (with their boxes and
// triggers) after this body has run.
SgLabyrinth::~SgLabyrinth() {
    delete floorBox;
    delete startWallBox;
    // Every container mesh and the start wall lie below the texture node.
    if (wallTextureNode != nullptr) {
        deleteAndFreeAllChildrenOf(wallTextureNode);
        delete wallTextureNode;
    }
    for (SgEntity* node : ownNodes) {
        delete node;
    }
    ownNodes.clear();
}

void SgLabyrinth::populateTileArray(float, int) { grid.populateTileArray(); }

Tile* SgLabyrinth::getStart() const { return grid.getStart(); }

Tile* SgLabyrinth::getGoal() const { return grid.getGoal(); }

int SgLabyrinth::getTileSize() const { return grid.getTileSize(); }

int SgLabyrinth::getGridSize() const { return grid.getGridSize(); }

Tile* SgLabyrinth::getTile(int row, int column) const { return grid.getTile(row, column); }

const std::vector<WallContainer*>& SgLabyrinth::getWallContainers() const { return grid.getWallContainers(); }

int SgLabyrinth::getTileIdx(float coordinate) const { return grid.getTileIdx(coordinate); }

void SgLabyrinth::generateWallContainerList() { grid.generateWallContainerList(); }

void SgLabyrinth::splitAreaIntoWallContainer(int column, int row, wallContainerWalkDir direction, int id) {
    grid.splitAreaIntoWallContainer(column, row, direction, id);
}

std::string SgLabyrinth::blendNodeName(int id) { return "wallBlendState" + std::to_string(id); }

void SgLabyrinth::render(GLRenderer* renderer) {
    const bool firstPass = beginDraw();
    if (firstPass) {
        renderer->pushAttrib(GL_ENABLE_BIT);
    }
    // Walls drawn in the opaque pass are untextured; the see-through walls
    // drawn in the transparent pass carry the texture.
    wallTextureNode->enabled = renderer->transparentPass;
    if (renderer->culling && !renderer->transparentPass) {
        // Nearest first: the walls stand on the floor slab and hide parts of
        // it, and the slab hides the ground plane, so drawn in this order the
        // hidden pixels fail the depth test before they are lit. The rest
        // (goal marker, ball, enemies) follows in child order.
        renderer->pushMatrix();
        transform(renderer);
        wallTextureNode->render(renderer);
        for (SgEntity* child : children) {
            if (child != wallTextureNode) {
                child->render(renderer);
            }
        }
        renderer->popMatrix();
    } else {
        SgSpatialEntity::render(renderer);
    }
    if (firstPass) {
        renderer->popAttrib();
    }
    endDraw(renderer);
}
