#include <gtest/gtest.h>

#include "physics/SgParticleController.h"
#include "physics/SgPhysController.h"
#include "physics/SgPhysEntity.h"
#include "physics/SgPlayer.h"
#include "physics/SgTrigger.h"

namespace {
int fired = 0;
void countFiring() { ++fired; }

// A child that must never be reached through a trigger.
class Unreachable : public SgEntity {
public:
    Unreachable() : SgEntity("unreachable") {}
    void collideWith(SgPhysEntity*, BoundingSphere*, bool) override { ++visits; }
    int visits = 0;
};
}  // namespace

TEST(Trigger, FiresOnlyForItsNodeType) {
    SgTrigger goal("goalTrigger", Vector3(0, 0, 0), Vector3(0, 0, 0), Vector3(2, 2, 2), countFiring, SG_PLAYER);
    EXPECT_EQ(goal.boundingSphere, nullptr);

    SgPlayer player("player", Vector3(1, 1, 1), 10.0f, 0.5f, 5.0f, Vector3(1, 0, 0), 100.0f);
    SgPhysEntity plain("ball", Vector3(1, 1, 1), 1.0f, 0.5f);
    SgParticleController swarm("particleController", &player, 5, 1, Vector3(0, 1, 0), 5, 100, 0.5f, 100);
    auto* particle = static_cast<SgPhysEntity*>(swarm.getChildren()[0]);
    particle->position = Vector3(1, 1, 1);
    particle->boundingSphere->center = particle->position;

    struct Case {
        SgPhysEntity* entity;
        int firings;
    };
    const Case cases[] = {{&player, 1}, {particle, 0}, {&plain, 0}};
    for (const Case& c : cases) {
        fired = 0;
        goal.collideWith(c.entity, c.entity->boundingSphere, false);
        EXPECT_EQ(fired, c.firings) << c.entity->getName();
    }

    SgTrigger forParticles("t", Vector3(0, 0, 0), Vector3(0, 0, 0), Vector3(2, 2, 2), countFiring, SG_PARTICLE);
    fired = 0;
    forParticles.collideWith(particle, particle->boundingSphere, false);
    forParticles.collideWith(&player, player.boundingSphere, false);
    EXPECT_EQ(fired, 1);
}

TEST(Trigger, TestsTheEntitysOwnSphereOnEveryQuery) {
    // A wall-top slab: the wall is 3 high, the slab one unit thick on top.
    SgTrigger slab("WallTrigger", Vector3(0, 0, 0), Vector3(0, 3, 0), Vector3(2, 4, 10), countFiring, SG_PLAYER);
    Unreachable below;
    slab.addChild(&below);

    SgEntity root("root");
    SgPhysController controller("physCtrl1");
    SgPlayer player("player", Vector3(1, 3.5f, 5), 10.0f, 0.5f, 5.0f, Vector3(1, 0, 0), 100.0f);
    root.addChild(&slab);
    root.addChild(&controller);
    controller.addChild(&player);

    // Resting on top of the wall: fires on every query.
    fired = 0;
    for (int frame = 0; frame < 3; ++frame) {
        player.collide();
    }
    EXPECT_EQ(fired, 3);
    EXPECT_EQ(below.visits, 0) << "the query is not passed down";

    // A fast ball beside the slab: its query sphere (inflated by its travel)
    // reaches the slab, its own sphere does not.
    player.position = Vector3(-2, 3.5f, 5);
    player.boundingSphere->center = player.position;
    player.move = Vector3(3, 0, 0);
    fired = 0;
    player.collide();
    EXPECT_EQ(fired, 0);

    // The box stays in world coordinates when the node moves.
    player.position = Vector3(1, 3.5f, 5);
    player.boundingSphere->center = player.position;
    slab.position = Vector3(100, 100, 100);
    slab.collideWith(&player, player.boundingSphere, false);
    EXPECT_EQ(fired, 1);
    slab.collideWith(&player, player.boundingSphere, true);
    EXPECT_EQ(fired, 2) << "fromRoot is not used either";
}
