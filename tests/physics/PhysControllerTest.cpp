#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "physics/BoundingBox.h"
#include "physics/BoundingSphere.h"
#include "physics/SgParticleController.h"
#include "physics/SgPhysController.h"
#include "physics/SgPhysEntity.h"
#include "physics/SgPlayer.h"
#include "physics/WallResolver.h"

namespace {
// The root of a test scene: records the query spheres that reach it.
class QueryRecorder : public SgEntity {
public:
    QueryRecorder() : SgEntity("root") {}
    void collideWith(SgPhysEntity* e, BoundingSphere* s, bool fromRoot) override {
        queries.push_back({e, s->center, s->radius, fromRoot});
        SgEntity::collideWith(e, s, false);
    }
    struct Query {
        SgPhysEntity* entity;
        Vector3 center;
        double radius;
        bool fromRoot;
    };
    std::vector<Query> queries;
};

// A node that counts the queries that descend into it.
class Visited : public SgEntity {
public:
    Visited() : SgEntity("visited") {}
    void collideWith(SgPhysEntity*, BoundingSphere*, bool) override { ++visits; }
    int visits = 0;
};

// A player under its controller, like the game scene.
struct PlayerRig {
    SgPhysController controller{"physCtrl1"};
    SgPlayer player{"player", Vector3(0, 5, 0), 10.0f, 0.5f, 5.0f, Vector3(1, 0, 0), 2000.0f};
    PlayerRig() { controller.addChild(&player); }
    void step(double dt, const std::vector<BoundingBox*>& boxes) {
        player.update(dt);
        resolveAgainstWalls(player, boxes);
    }
};

float horizontalSpeed(const Vector3& v) { return std::sqrt(v.x * v.x + v.z * v.z); }
}  // namespace

TEST(PhysController, VelocityIntegration) {
    PlayerRig rig;
    SgPlayer& p = rig.player;
    EXPECT_FLOAT_EQ(p.friction, 0.1f);
    EXPECT_FLOAT_EQ(p.bounceLoss, 0.3f);
    EXPECT_FLOAT_EQ(p.health, 2000.0f);
    EXPECT_FLOAT_EQ(p.maxHealth, 2000.0f);

    // In the air: 10 units/s^2 downwards, no friction, move = velocity * dt.
    p.velocity = Vector3(2, 1, -3);
    p.update(0.1);
    EXPECT_FLOAT_EQ(p.velocity.y, 0.0f);
    EXPECT_FLOAT_EQ(p.velocity.x, 2.0f);
    p.velocity = Vector3(2, 1, -3);
    p.update(0.05);
    EXPECT_FLOAT_EQ(p.velocity.y, 0.5f);
    EXPECT_FLOAT_EQ(p.move.x, 0.1f);
    EXPECT_FLOAT_EQ(p.move.y, 0.025f);
    EXPECT_FLOAT_EQ(p.move.z, -0.15f);

    // Resting: no gravity, horizontal speed scaled by 1 - 0.1 dt each frame.
    for (double dt : {0.001, 1.0 / 60.0, 0.1, 0.5}) {
        p.grounded = true;
        p.velocity = Vector3(3, 0, -2);
        p.update(dt);
        const float scale = static_cast<float>(1.0 - 0.1 * dt);
        EXPECT_NEAR(p.velocity.x, 3.0f * scale, 1e-6) << dt;
        EXPECT_NEAR(p.velocity.z, -2.0f * scale, 1e-6) << dt;
        EXPECT_EQ(p.velocity.y, 0.0f) << dt;
    }
}

TEST(PhysController, OnlyThePlayersHorizontalSpeedIsLimited) {
    PlayerRig rig;
    struct Case {
        Vector3 velocity;
        Vector3 expected;
    };
    const Case cases[] = {
        {{30, -50, 0}, {5, -50.1f, 0}},     // the fall is never limited
        {{0, 0, -7}, {0, -0.1f, -5}},
        {{3, 0, 4}, {3, -0.1f, 4}},         // exactly at the limit: untouched
        {{6, 2, 8}, {3, 1.9f, 4}},          // direction kept
        {{1, 0, 1}, {1, -0.1f, 1}},
    };
    for (const Case& c : cases) {
        rig.player.grounded = false;
        rig.player.velocity = c.velocity;
        rig.player.update(0.01);
        EXPECT_NEAR(rig.player.velocity.x, c.expected.x, 1e-5);
        EXPECT_NEAR(rig.player.velocity.y, c.expected.y, 1e-5);
        EXPECT_NEAR(rig.player.velocity.z, c.expected.z, 1e-5);
    }

    SgPhysController controller("ctrl");
    SgPhysEntity ball("ball", Vector3(0, 0, 0), 1.0f, 0.5f);
    controller.addChild(&ball);
    ball.velocity = Vector3(30, 0, 40);
    ball.update(0.01);
    EXPECT_FLOAT_EQ(ball.velocity.x, 30.0f) << "a plain entity has no speed limit";
}

TEST(PhysController, QueriesClimbToTheRootWithTheBallInflatedByItsTravel) {
    QueryRecorder root;
    Visited sibling;
    PlayerRig rig;
    root.addChild(&rig.controller);
    rig.controller.addChild(&sibling);

    rig.player.collide();
    ASSERT_EQ(root.queries.size(), 1u);
    EXPECT_TRUE(root.queries[0].fromRoot);
    EXPECT_EQ(root.queries[0].entity, &rig.player);
    EXPECT_DOUBLE_EQ(root.queries[0].radius, 0.5) << "at rest the query is the ball";
    EXPECT_EQ(sibling.visits, 0) << "the controller never passes a query down to its entities";

    rig.player.move = Vector3(0.3f, 0, -0.4f);
    rig.player.collide();
    ASSERT_EQ(root.queries.size(), 2u);
    EXPECT_NEAR(root.queries[1].radius, 1.0, 1e-6);
    EXPECT_FLOAT_EQ(root.queries[1].center.y, 5.0f);

    rig.controller.collideWith(&rig.player, rig.player.boundingSphere, false);
    EXPECT_EQ(sibling.visits, 0);
    EXPECT_EQ(root.queries.size(), 2u);

    // Without a controller an entity neither integrates nor moves.
    SgPhysEntity loose("loose", Vector3(1, 2, 3), 1.0f, 0.5f);
    loose.velocity = Vector3(1, 1, 1);
    loose.update(0.1);
    loose.collide();
    loose.updatePosition();
    bool contact = false;
    BoundingBox box(Vector3(0, 0, 0), Vector3(5, 5, 5));
    EXPECT_FALSE(loose.collideAndRespondTo(&box, contact));
    EXPECT_FLOAT_EQ(loose.position.y, 2.0f);
    EXPECT_FLOAT_EQ(loose.velocity.y, 1.0f);
}

TEST(PhysController, BounceSettleAndContact) {
    BoundingBox floor(Vector3(-10, -2, -10), Vector3(10, 0, 10));
    PlayerRig rig;
    SgPlayer& p = rig.player;

    // A hit at the very end of the move leaves no travel to probe with: the
    // bounce counts as free, the speed drops to 70 % and another pass runs,
    // which finds nothing.
    p.position = Vector3(0, 0.75f, 0);
    p.boundingSphere->center = p.position;
    p.velocity = Vector3(0, -2.5f, 0);
    p.move = Vector3(0, -0.25f, 0);
    bool contact = false;
    EXPECT_TRUE(p.collideAndRespondTo(&floor, contact));
    EXPECT_FALSE(contact);
    EXPECT_FLOAT_EQ(p.position.y, 0.5f);
    EXPECT_FLOAT_EQ(p.velocity.y, 2.5f * 0.7f);
    EXPECT_EQ(p.move.length(), 0.0f);
    EXPECT_FALSE(p.collideAndRespondTo(&floor, contact));
    p.updatePosition();
    EXPECT_FLOAT_EQ(p.boundingSphere->center.y, 0.5f);

    // A slow landing whose rest of travel still touches the floor settles:
    // grounded, no vertical speed, contact.
    p.position = Vector3(0, 0.504f, 0);
    p.boundingSphere->center = p.position;
    p.velocity = Vector3(1, -0.5f, 0);
    p.move = Vector3(0.01f, -0.005f, 0);
    contact = false;
    EXPECT_FALSE(p.collideAndRespondTo(&floor, contact));
    EXPECT_TRUE(contact);
    EXPECT_TRUE(p.grounded);
    EXPECT_EQ(p.velocity.y, 0.0f);
    EXPECT_EQ(p.move.y, 0.0f);
    EXPECT_FLOAT_EQ(p.velocity.x, 1.0f) << "settling keeps the roll";

    // The same landing under the particle controller, whose resting threshold
    // is a hundred times finer, is not yet at rest.
    SgParticleController swarm("swarm", nullptr, 10, 0, Vector3(0, 1, 0), 5, 100, 0.5f, 100);
    SgPhysEntity mote("mote", Vector3(0, 0.504f, 0), 1.0f, 0.5f);
    swarm.addChild(&mote);
    mote.velocity = Vector3(1, -0.5f, 0);
    mote.move = Vector3(0.01f, -0.005f, 0);
    contact = false;
    mote.collideAndRespondTo(&floor, contact);
    EXPECT_FALSE(mote.grounded);
    swarm.deleteChild("mote");

    // A resting ball keeps contact while the box is under it or it leans on a
    // side face, and loses it (and grounded) when neither holds.
    struct Case {
        Vector3 position;
        bool contact;
    };
    BoundingBox wall(Vector3(2, 0, -1), Vector3(3, 2, 1));
    // On the floor; leaning on the wall's top edge (off the floor); in the air.
    const Case cases[] = {{{0, 0.5f, 0}, true}, {{1.7f, 2.2f, 0}, true}, {{0, 0.6f, 0}, false}};
    for (const Case& c : cases) {
        p.position = c.position;
        p.boundingSphere->center = c.position;
        p.grounded = true;
        p.velocity = Vector3(0, 0, 0);
        p.move = Vector3(0, 0, 0);
        const WallResolution r = resolveAgainstWalls(p, {&floor, &wall});
        EXPECT_EQ(r.contacts > 0, c.contact) << c.position.x << "," << c.position.y;
        EXPECT_EQ(p.grounded, c.contact);
    }
}

TEST(PhysController, TwoBoxesInOneFrameAreResolvedAgainstTheReflectedTravel) {
    // A ball flying into the inner corner of two walls bounces off both in one
    // frame: the second box sees the travel already mirrored by the first.
    BoundingBox wallX(Vector3(1, 0, -5), Vector3(2, 10, 5));
    BoundingBox wallZ(Vector3(-5, 0, 1), Vector3(5, 10, 2));
    PlayerRig rig;
    SgPlayer& p = rig.player;
    p.position = Vector3(0.3f, 5, 0.3f);
    p.boundingSphere->center = p.position;
    p.velocity = Vector3(5, 0, 5);
    p.move = Vector3(0.5f, 0, 0.5f);
    const WallResolution r = resolveAgainstWalls(p, {&wallX, &wallZ});
    EXPECT_GE(r.passes, 2) << "a bounce makes the caller run another pass";
    EXPECT_LT(p.velocity.x, 0.0f);
    EXPECT_LT(p.velocity.z, 0.0f);
    EXPECT_NEAR(p.velocity.x, -5.0f * 0.49f, 1e-4) << "two bounces, 30 % each";
    EXPECT_LE(p.position.x, 0.5f + 1e-5f);
    EXPECT_LE(p.position.z, 0.5f + 1e-5f);
}

// Frame times up to 25 ms (40 frames per second). At slower frame rates a few
// drops lock into a steady bounce of a few centimetres that never settles.
TEST(PhysControllerProperty, DroppedBallBouncesAtSeventyPercentAndComesToRest) {
    std::mt19937 rng(1234);
    std::uniform_real_distribution<float> height(1.0f, 12.0f), extent(1.0f, 6.0f), top(-2.0f, 3.0f);
    std::uniform_real_distribution<double> frame(1.0 / 240.0, 1.0 / 40.0);
    int bounces = 0;
    for (int run = 0; run < 300; ++run) {
        const float topY = top(rng);
        const float half = extent(rng);
        BoundingBox box(Vector3(-half, topY - 2.0f, -half), Vector3(half, topY, half));
        PlayerRig rig;
        SgPlayer& p = rig.player;
        p.position = Vector3(0, topY + 0.5f + height(rng), 0);
        p.boundingSphere->center = p.position;
        const double dt = frame(rng);
        int groundedLately = 0, framesLately = 0;
        for (double time = 0; time < 20.0; time += dt) {
            p.update(dt);
            const float before = p.velocity.y;
            resolveAgainstWalls(p, {&box});
            if (before < 0.0f && p.velocity.y > 0.0f) {
                ++bounces;
                ASSERT_NEAR(p.velocity.y, -0.7f * before, 1e-5f * std::fabs(before))
                    << "run " << run << " dt " << dt;
            }
            ASSERT_GE(p.position.y, topY + 0.5f - 1e-5f) << "run " << run << " sank into the box";
            if (time > 19.0) {
                ++framesLately;
                groundedLately += p.grounded ? 1 : 0;
            }
        }
        EXPECT_EQ(groundedLately, framesLately) << "run " << run << ": at rest it stays grounded every frame";
        EXPECT_NEAR(p.position.y, topY + 0.5f, 1e-4f) << "run " << run;
        EXPECT_EQ(p.velocity.y, 0.0f) << "run " << run;
    }
    EXPECT_GT(bounces, 300);
}

TEST(PhysControllerProperty, BallFiredAtAWallNeverEndsAFrameInsideIt) {
    std::mt19937 rng(99);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    BoundingBox floor(Vector3(-20, -2, -20), Vector3(20, 0, 20));
    BoundingBox wall(Vector3(3, 0, -10), Vector3(4, 3, 10));
    for (int run = 0; run < 2000; ++run) {
        PlayerRig rig;
        SgPlayer& p = rig.player;
        const bool rolling = run % 2 == 0;
        p.position = Vector3(2.0f * unit(rng), rolling ? 0.5f : 0.6f + 2.0f * unit(rng), 4.0f * unit(rng) - 2.0f);
        p.boundingSphere->center = p.position;
        p.grounded = rolling;
        const float angle = (unit(rng) - 0.5f) * 2.8f;  // within 80 degrees of +x
        const float speed = 5.0f * (1.0f - unit(rng));  // (0, 5]
        p.velocity = Vector3(speed * std::cos(angle), 0, speed * std::sin(angle));
        const double dt = 0.1 * (1.0 - unit(rng));      // (0, 0.1]
        for (int frame = 0; frame < 60; ++frame) {
            rig.step(dt, {&floor, &wall});
            const Vector3& c = p.position;
            const bool inside = c.x > 3 && c.x < 4 && c.y > 0 && c.y < 3 && c.z > -10 && c.z < 10;
            ASSERT_FALSE(inside) << "run " << run << " frame " << frame << " at " << c.x << "," << c.y << ","
                                 << c.z << " speed " << speed << " dt " << dt;
        }
    }
}

TEST(PhysControllerProperty, PlayerHorizontalSpeedNeverExceedsTheLimit) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> kick(-400.0f, 400.0f);
    std::uniform_real_distribution<double> frame(0.0, 0.2);
    PlayerRig rig;
    for (int i = 0; i < 100000; ++i) {
        rig.player.grounded = i % 3 == 0;
        rig.player.velocity += Vector3(kick(rng) * 0.1f, kick(rng), kick(rng) * 0.1f);
        rig.player.update(frame(rng));
        ASSERT_LE(horizontalSpeed(rig.player.velocity), rig.player.maxSpeed) << "iteration " << i;
    }
}
