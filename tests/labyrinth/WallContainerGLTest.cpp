#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "labyrinth/LabyrinthTestSupport.h"
#include "labyrinth/WallContainer.h"
#include "physics/BoundingBox.h"
#include "physics/SgTrigger.h"
#include "sg/SgGeometryMesh.h"

namespace {

// Owns hand-made tiles and the mesh a lone container builds (no scene graph
// takes it over here).
struct LoneContainer {
    explicit LoneContainer(int id) : container(id) {}
    ~LoneContainer() { delete container.mesh; }
    Tile* add(float x, float z) {
        tiles.push_back(std::make_unique<Tile>(Vector3(x, 0.0f, z), 2.0f));
        tiles.back()->isFree = false;
        tiles.back()->wallContainerId = container.id;
        container.addTile(tiles.back().get());
        return tiles.back().get();
    }
    std::string build() {
        container.createBoundingBox(nullptr);
        testing::internal::CaptureStdout();
        container.createMesh();
        return testing::internal::GetCapturedStdout();
    }
    std::vector<std::unique_ptr<Tile>> tiles;
    WallContainer container;
};

}  // namespace

TEST(WallContainers, EveryWallTileBelongsToOneStraightRun) {
    for (int n : {3, 10, 32, 80}) {
        for (unsigned seed : {11u, 4242u, 777u}) {
            const auto labyrinth = buildLabyrinth(n, seed);
            const auto& containers = labyrinth->getWallContainers();
            std::map<int, const WallContainer*> byId;
            size_t tilesInContainers = 0;
            for (size_t i = 0; i < containers.size(); ++i) {
                const WallContainer* c = containers[i];
                EXPECT_EQ(c->id, static_cast<int>(i) + 1);  // ids handed out in creation order
                EXPECT_TRUE(byId.emplace(c->id, c).second);
                EXPECT_EQ(c->getId(), c->id);
                ASSERT_FALSE(c->tiles.empty());
                tilesInContainers += c->tiles.size();
                // Sorted ascending along one axis, one tile apart, no gaps.
                for (size_t k = 1; k < c->tiles.size(); ++k) {
                    const Vector3& a = c->tiles[k - 1]->position;
                    const Vector3& b = c->tiles[k]->position;
                    const bool stepX = b.x - a.x == 2.0f && b.z == a.z;
                    const bool stepZ = b.z - a.z == 2.0f && b.x == a.x;
                    EXPECT_TRUE(stepX || stepZ) << "container " << c->id << " seed " << seed;
                    if (k >= 2) {
                        const Vector3& p = c->tiles[k - 2]->position;
                        EXPECT_EQ(b.x - a.x, a.x - p.x);
                        EXPECT_EQ(b.z - a.z, a.z - p.z);
                    }
                }
                for (const Tile* tile : c->tiles) {
                    EXPECT_FALSE(tile->isFree);
                    EXPECT_EQ(tile->wallContainerId, c->id);
                }
                // Trigger slab: exactly one unit on top of the wall.
                ASSERT_NE(c->box, nullptr);
                ASSERT_NE(c->trigger, nullptr);
                EXPECT_TRUE(c->height == 2.0f || c->height == 3.0f);
                EXPECT_EQ(c->box->corners[0].y, 0.0f);
                EXPECT_EQ(c->box->corners[6].y, c->height);
                EXPECT_EQ(c->trigger->box.corners[0].y, c->height);
                EXPECT_EQ(c->trigger->box.corners[6].y, c->height + 1.0f);
                EXPECT_EQ(c->trigger->box.corners[0].x, c->box->corners[0].x);
                EXPECT_EQ(c->trigger->box.corners[6].z, c->box->corners[6].z);
                EXPECT_EQ(c->trigger->getName(), "WallTrigger");
                EXPECT_EQ(c->trigger->triggerType, SG_PLAYER);
            }
            size_t wallTiles = 0;
            for (int row = 0; row < n; ++row) {
                for (int column = 0; column < n; ++column) {
                    const Tile* tile = labyrinth->getTile(row, column);
                    if (tile->isFree) {
                        EXPECT_EQ(tile->wallContainerId, -1);
                    } else {
                        ++wallTiles;
                        EXPECT_GE(tile->wallContainerId, 1);
                        EXPECT_EQ(byId.count(tile->wallContainerId), 1u);
                    }
                }
            }
            EXPECT_EQ(wallTiles, tilesInContainers) << "a wall tile is in two containers or none";
        }
    }
}

TEST(WallContainers, FirstRowOfTheOuterWallIsContainerOne) {
    for (unsigned seed = 1; seed <= 30; ++seed) {
        const auto labyrinth = buildLabyrinth(10, seed);
        int column = 0;
        while (column < 10 && !labyrinth->getTile(0, column)->isFree) {
            EXPECT_EQ(labyrinth->getTile(0, column)->wallContainerId, 1) << "seed " << seed;
            ++column;
        }
        const WallContainer* first = labyrinth->getWallContainers().front();
        EXPECT_EQ(static_cast<int>(first->tiles.size()), column);
    }
}

TEST(WallContainers, MeshFacesOfRunsAndSingleTiles) {
    LoneContainer single(7);
    single.add(4.0f, 6.0f);
    const std::string singleOutput = single.build();
    EXPECT_EQ(single.container.mesh->getVertices().size(), 20u);
    EXPECT_EQ(single.container.mesh->getNormals().size(), 5u);
    EXPECT_EQ(single.container.mesh->getTextureCoords().size(), 20u);
    EXPECT_EQ(singleOutput, "ID: 7\nhad only one Tile\nwall\n");

    // Three tiles along x, handed over from high to low x: sorted, 11 quads.
    LoneContainer run(3);
    run.add(8.0f, 0.0f);
    run.add(6.0f, 0.0f);
    run.add(4.0f, 0.0f);
    const std::string runOutput = run.build();
    SgGeometryMesh* mesh = run.container.mesh;
    EXPECT_EQ(mesh->getVertices().size(), 44u);
    EXPECT_EQ(mesh->getNormals().size(), 11u);
    EXPECT_TRUE(mesh->isCompiled());
    EXPECT_EQ(mesh->getVerticesPerNormal(), 4);
    EXPECT_EQ(run.container.tiles.front()->position.x, 4.0f);
    EXPECT_EQ(runOutput, "ID: 3\n4.000000, 0.000000;\n6.000000, 0.000000;\n8.000000, 0.000000;\n44\nwall\n");
    // Box spans the whole run whichever end came first.
    EXPECT_EQ(run.container.box->corners[0], Vector3(4.0f, 0.0f, 0.0f));
    EXPECT_EQ(run.container.box->corners[6], Vector3(10.0f, run.container.height, 2.0f));
    // No normal points down (no bottom faces); the top faces point up.
    int up = 0;
    for (const Vector3* n : mesh->getNormals()) {
        EXPECT_GE(n->y, 0.0f);
        up += n->y > 0.5f ? 1 : 0;
    }
    EXPECT_EQ(up, 3);

    // Along z: 3 tops, 3 low-x, 3 high-x, one low-z and one high-z.
    LoneContainer column(4);
    column.add(0.0f, -2.0f);
    column.add(0.0f, 0.0f);
    column.add(0.0f, 2.0f);
    column.build();
    int facingZ = 0;
    for (const Vector3* n : column.container.mesh->getNormals()) {
        facingZ += (n->z > 0.5f || n->z < -0.5f) ? 1 : 0;
    }
    EXPECT_EQ(column.container.mesh->getVertices().size(), 44u);
    EXPECT_EQ(facingZ, 2);
}
