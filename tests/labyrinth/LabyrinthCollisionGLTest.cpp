#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "labyrinth/LabyrinthTestSupport.h"
#include "physics/BoundingBox.h"
#include "physics/BoundingSphere.h"
#include "physics/SgPhysController.h"
#include "physics/SgPlayer.h"
#include "physics/SgTrigger.h"
#include "sg/SgBlendState.h"

namespace {

const WallContainer* longestRun(const SgLabyrinth& labyrinth) {
    const WallContainer* best = nullptr;
    for (const WallContainer* c : labyrinth.getWallContainers()) {
        if (best == nullptr || c->tiles.size() > best->tiles.size()) {
            best = c;
        }
    }
    return best;
}

Vector3 tileCentre(const Tile* tile, float y) {
    return Vector3(tile->position.x + tile->size * 0.5f, y, tile->position.z + tile->size * 0.5f);
}

// Records queries that climb out of the labyrinth.
class QuerySpy : public SgEntity {
public:
    QuerySpy() : SgEntity("spy") {}
    void collideWith(SgPhysEntity*, BoundingSphere*, bool fromRoot) override {
        ++calls;
        lastFromRoot = fromRoot;
    }
    int calls = 0;
    bool lastFromRoot = false;
};

// Scene of the game: root <- labyrinth <- physics controller <- ball.
struct BallScene {
    explicit BallScene(unsigned seed, int n = 10) : root("node"), controller("physCtrl1") {
        labyrinth = buildLabyrinth(n, seed);
        const Tile* start = labyrinth->getStart();
        ball = new SgPlayer("player", tileCentre(start, 3.0f), 10.0f, 0.5f, 5.0f, Vector3(1.0f, 0.0f, 0.0f), 2000.0f);
        controller.addChild(ball);
        labyrinth->addChild(&controller);
        root.addChild(labyrinth.get());
    }
    ~BallScene() { delete ball; }
    void frame(double dt) {
        root.update(dt);
        root.collide();
    }
    SgEntity root;
    SgPhysController controller;
    std::unique_ptr<SgLabyrinth> labyrinth;
    SgPlayer* ball;
};

bool strictlyInside(const BoundingBox* box, const Vector3& p, float margin) {
    return p.x > box->corners[0].x + margin && p.x < box->corners[6].x - margin && p.y > box->corners[0].y + margin &&
           p.y < box->corners[6].y - margin && p.z > box->corners[0].z + margin && p.z < box->corners[6].z - margin;
}

}  // namespace

TEST(LabyrinthQueries, BoxAndTriggerGathering) {
    const auto labyrinth = buildLabyrinth(32, 99);
    // Far outside: still the floor and the start wall, first and second.
    for (const Vector3& far : {Vector3(500.0f, 0.0f, 500.0f), Vector3(-500.0f, 30.0f, 0.0f)}) {
        BoundingSphere sphere(far, 0.5);
        const auto boxes = labyrinth->getBoundingVolumesToBeCheckedWith(&sphere);
        ASSERT_GE(boxes.size(), 2u);
        EXPECT_EQ(boxes[0], labyrinth->getFloorBox());
        EXPECT_EQ(boxes[1], labyrinth->getStartWallBox());
    }

    // The middle of a long run: its box once, though several of its tiles
    // lie in the window; every box in the list is distinct.
    const WallContainer* run = longestRun(*labyrinth);
    ASSERT_GE(run->tiles.size(), 3u);
    const Tile* middle = run->tiles[run->tiles.size() / 2];
    BoundingSphere sphere(tileCentre(middle, 1.0f), 0.5);
    const auto boxes = labyrinth->getBoundingVolumesToBeCheckedWith(&sphere);
    EXPECT_EQ(std::count(boxes.begin(), boxes.end(), run->box), 1);
    for (size_t i = 0; i < boxes.size(); ++i) {
        for (size_t j = i + 1; j < boxes.size(); ++j) {
            EXPECT_NE(boxes[i], boxes[j]);
        }
    }
    const auto triggers = labyrinth->getTriggerToBeCheckedWith(&sphere);
    EXPECT_EQ(triggers.size() + 2, boxes.size());
    EXPECT_EQ(std::count(triggers.begin(), triggers.end(), run->trigger), 1);

    // Beyond the high-x edge the window is clamped to the last column: only
    // containers with a tile in column N-1 near that z come back.
    BoundingSphere outside(Vector3(40.0f, 1.0f, 0.0f), 0.5);
    const auto edge = labyrinth->getBoundingVolumesToBeCheckedWith(&outside);
    ASSERT_GE(edge.size(), 3u);
    for (size_t i = 2; i < edge.size(); ++i) {
        EXPECT_GE(edge[i]->corners[6].x, 32.0f) << "box away from the high-x edge";
    }
}

TEST(LabyrinthQueries, CameraRaySwitchesSeeThroughWalls) {
    const auto labyrinth = buildLabyrinth(32, 5);
    const WallContainer* run = longestRun(*labyrinth);
    const Tile* middle = run->tiles[run->tiles.size() / 2];
    const Vector3 centre = tileCentre(middle, 1.0f);
    auto* blend = static_cast<SgBlendState*>(labyrinth->findChild("wallBlendState" + std::to_string(run->id)));
    ASSERT_NE(blend, nullptr);
    BoundingSphere sphere(centre, 2.5);

    labyrinth->collideWithCameraRay(centre + Vector3(0.0f, 20.0f, 0.0f), centre, &sphere);
    EXPECT_TRUE(blend->isEnabled());
    int switchedOn = 0;
    for (const WallContainer* c : labyrinth->getWallContainers()) {
        auto* other = static_cast<SgBlendState*>(labyrinth->findChild("wallBlendState" + std::to_string(c->id)));
        switchedOn += other->isEnabled() ? 1 : 0;
    }
    EXPECT_EQ(switchedOn, 1);

    // A segment high above everything: the run is still in the window, so off.
    labyrinth->collideWithCameraRay(centre + Vector3(0.0f, 20.0f, 0.0f), centre + Vector3(0.0f, 10.0f, 0.0f),
                                    &sphere);
    EXPECT_FALSE(blend->isEnabled());

    // Out of the window, a wall keeps its last state; the whole-maze query reaches it.
    labyrinth->collideWithCameraRay(centre + Vector3(0.0f, 20.0f, 0.0f), centre, &sphere);
    BoundingSphere away(Vector3(500.0f, 0.0f, 500.0f), 0.5);
    labyrinth->collideWithCameraRay(Vector3(500.0f, 20.0f, 500.0f), Vector3(500.0f, 0.0f, 500.0f), &away);
    EXPECT_TRUE(blend->isEnabled());
    labyrinth->collideWithRay(Vector3(500.0f, 20.0f, 500.0f), Vector3(500.0f, 0.0f, 500.0f));
    EXPECT_FALSE(blend->isEnabled());

    // A missing blend node is skipped.
    SgEntity* group = labyrinth->findChild("wallContainer");
    labyrinth->deleteChild(blend->getName());
    labyrinth->collideWithRay(centre + Vector3(0.0f, 20.0f, 0.0f), centre);
    EXPECT_FALSE(blend->isEnabled());
    group->addChild(blend);
}

TEST(LabyrinthQueries, GroundedFlagAndFromRoot) {
    BallScene scene(8);
    // In the air, far above the maze: no box reports contact.
    scene.ball->position = Vector3(0.0f, 50.0f, 0.0f);
    scene.ball->boundingSphere->center = scene.ball->position;
    scene.ball->grounded = true;
    BoundingSphere query(scene.ball->position, 0.5);
    scene.labyrinth->collideWith(scene.ball, &query, false);
    EXPECT_FALSE(scene.ball->grounded);

    // Resting on the floor of the start tile: the floor box keeps it grounded.
    const Vector3 rest = tileCentre(scene.labyrinth->getStart(), 0.5f);
    scene.ball->position = rest;
    scene.ball->boundingSphere->center = rest;
    scene.ball->velocity = Vector3(0.0f, 0.0f, 0.0f);
    scene.ball->move = Vector3(0.0f, 0.0f, 0.0f);
    scene.ball->grounded = true;
    BoundingSphere restQuery(rest, 0.5);
    QuerySpy child;
    scene.labyrinth->addChild(&child);
    scene.labyrinth->collideWith(scene.ball, &restQuery, false);
    EXPECT_TRUE(scene.ball->grounded);
    // The query goes on to the nodes the game hung below the maze.
    EXPECT_EQ(child.calls, 1);
    EXPECT_FALSE(child.lastFromRoot);
    scene.labyrinth->deleteChild("spy");

    // fromRoot: handed to the parent unchanged; the maze itself tests nothing.
    QuerySpy spy;
    scene.root.deleteChild("laby1");
    spy.addChild(scene.labyrinth.get());
    scene.ball->position = Vector3(0.0f, 50.0f, 0.0f);
    scene.ball->move = Vector3(1.0f, 0.0f, 0.0f);
    scene.ball->grounded = true;
    BoundingSphere high(scene.ball->position, 1.5);
    scene.labyrinth->collideWith(scene.ball, &high, true);
    EXPECT_EQ(spy.calls, 1);
    EXPECT_TRUE(spy.lastFromRoot);
    EXPECT_TRUE(scene.ball->grounded);
    EXPECT_EQ(scene.ball->position, Vector3(0.0f, 50.0f, 0.0f));
}

TEST(LabyrinthQueries, BallSettlesHitsWallsAndStaysInside) {
    for (unsigned seed : {31u, 32u, 33u}) {
        BallScene scene(seed, 10);
        srand(seed);
        const double dt = 1.0 / 60.0;
        int frame = 0;
        while (!scene.ball->grounded && frame < 600) {
            scene.frame(dt);
            ++frame;
        }
        ASSERT_TRUE(scene.ball->grounded) << "seed " << seed;
        EXPECT_NEAR(scene.ball->position.y, 0.5f, 0.05f);

        // Roll straight into the maze, then steer at random.
        const Tile* start = scene.labyrinth->getStart();
        const Vector3 inward = Vector3(0.0f, 0.0f, 0.0f) - tileCentre(start, 0.0f);
        const bool alongX = std::fabs(inward.x) > std::fabs(inward.z);
        scene.ball->velocity = alongX ? Vector3(inward.x > 0 ? 5.0f : -5.0f, 0.0f, 0.0f)
                                      : Vector3(0.0f, 0.0f, inward.z > 0 ? 5.0f : -5.0f);
        float closestWall = 1e9f;
        for (int i = 0; i < 2000; ++i) {
            if (i > 120) {
                scene.ball->velocity.x += static_cast<float>(rand() % 201 - 100) / 100.0f;
                scene.ball->velocity.z += static_cast<float>(rand() % 201 - 100) / 100.0f;
            }
            scene.frame(dt);
            const Vector3 p = scene.ball->position;
            ASSERT_LT(std::fabs(p.x), 10.0f) << "left the maze, seed " << seed << " frame " << i;
            ASSERT_LT(std::fabs(p.z), 10.0f) << "left the maze, seed " << seed << " frame " << i;
            ASSERT_GT(p.y, 0.0f) << "fell through the floor, seed " << seed << " frame " << i;
            for (const WallContainer* c : scene.labyrinth->getWallContainers()) {
                ASSERT_FALSE(strictlyInside(c->box, p, 0.0f)) << "inside wall " << c->id << " frame " << i;
                const float dx = std::max({c->box->corners[0].x - p.x, 0.0f, p.x - c->box->corners[6].x});
                const float dz = std::max({c->box->corners[0].z - p.z, 0.0f, p.z - c->box->corners[6].z});
                closestWall = std::min(closestWall, std::sqrt(dx * dx + dz * dz));
            }
            ASSERT_FALSE(strictlyInside(scene.labyrinth->getStartWallBox(), p, 0.0f));
        }
        EXPECT_LT(closestWall, 0.55f) << "never reached a wall, seed " << seed;
    }
}
