#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "physics/BoundingBox.h"
#include "physics/SgParticle.h"
#include "physics/SgParticleController.h"
#include "physics/SgParticleMesh.h"
#include "physics/SgPlayer.h"
#include "physics/WallResolver.h"
#include "platform/GameRandom.h"

namespace {
// maxEnergy == distanceScale == 100, as the game uses them: energy is then
// 100 - crowd + max(0, 100 - d^2) capped at 100, with d the distance to the
// player.
struct Swarm {
    SgPlayer player{"player", Vector3(0, -1000, 0), 10.0f, 0.5f, 5.0f, Vector3(1, 0, 0), 2000.0f};
    SgParticleController controller;
    explicit Swarm(int maxParticles, int initialCount = 0, float maxEnergy = 100.0f)
        : controller("particleController", &player, maxParticles, initialCount, Vector3(0, 0.5f, 0.03f), 5.0f,
                     maxEnergy, 0.5f, 100.0f) {}
    SgParticle* particle(size_t i) { return static_cast<SgParticle*>(controller.getChildren().at(i)); }
    size_t size() const { return controller.getChildren().size(); }
    // Adds particles at the given places (far from the player by default).
    void place(const std::vector<Vector3>& places) {
        for (const Vector3& at : places) {
            controller.addParticle(at);
            SgParticle* p = particle(size() - 1);
            p->boundingSphere->center = at;
        }
    }
};

bool horizontalWithin(const Vector3& v, float limit) { return std::fabs(v.x) <= limit && std::fabs(v.z) <= limit; }
}  // namespace

TEST(ParticleController, ConstructionDrawsRandomNumbersInAFixedOrder) {
    GameRandom::seed(77);
    std::vector<int> draws;
    for (int i = 0; i < 16; ++i) {
        draws.push_back(GameRandom::next());
    }
    GameRandom::seed(77);
    // Libraries draw from the C library's rand() whenever they like
    // (PulseAudio's client does while OpenAL Soft looks for a sound server):
    // the swarm must not notice.
    std::srand(77);
    for (int i = 0; i < 12; ++i) {
        std::rand();
    }
    Swarm swarm(100, 3);
    ASSERT_EQ(swarm.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        SgParticle* p = swarm.particle(i);
        // Per particle: energy share, speed scale, then velocity x, y, z.
        const int* d = &draws[i * 5];
        const float s = 5.0f / static_cast<float>(d[1] % 100 + 1);
        EXPECT_FLOAT_EQ(p->energy, 50.0f + static_cast<float>(d[0] % 50));
        EXPECT_FLOAT_EQ(p->velocity.x, s * static_cast<float>(d[2] % 100) / 100.0f - 2.0f * s);
        EXPECT_FLOAT_EQ(p->velocity.y, s * static_cast<float>(d[3] % 100) / 100.0f);
        EXPECT_FLOAT_EQ(p->velocity.z, s * static_cast<float>(d[4] % 100) / 100.0f - 2.0f * s);
        EXPECT_FLOAT_EQ(p->position.y, 20.0f) << "the swarm starts above the origin";
        EXPECT_FLOAT_EQ(p->friction, 0.1f);
        EXPECT_FLOAT_EQ(p->bounceLoss, 0.4f);
        EXPECT_FLOAT_EQ(p->boundingSphere->radius, 0.5f);
        ASSERT_EQ(p->getChildren().size(), 1u);
        EXPECT_EQ(p->getChildren()[0], swarm.controller.particleMesh) << "one shared billboard";
    }
    EXPECT_EQ(GameRandom::next(), draws[15]);

    // A full swarm adds nothing and draws nothing.
    GameRandom::seed(77);
    Swarm capped(2, 5);
    EXPECT_EQ(capped.size(), 2u);
    EXPECT_EQ(GameRandom::next(), draws[10]);

    // A ceiling below 2 leaves no random share (and no division by zero).
    Swarm feeble(5, 2, 1.0f);
    EXPECT_FLOAT_EQ(feeble.particle(1)->energy, 0.5f);
}

TEST(ParticleController, EnergyDecidesBreedingAndDying) {
    struct Case {
        const char* what;
        float maxEnergy;
        std::vector<Vector3> places;
        size_t sizeAfter;
        float energyOfFirst;  // negative: the first particle died
    };
    const Case cases[] = {
        // Two particles: crowd = d^2, energy = 100 - d^2.
        {"exactly 70 % breeds", 100.0f, {{0, 50, 0}, {5, 52, 1}}, 4, 70.0f},
        {"just below 70 % lives on", 100.0f, {{0, 50, 0}, {5, 52, 1.2f}}, 2, 100.0f - 30.44f},
        {"a lone particle is not crowded", 100.0f, {{0, 50, 0}}, 2, 100.0f},
        {"spread out, everyone dies", 100.0f, {{0, 50, 0}, {10, 50, 1}}, 0, -1.0f},
        // A lone particle sits at its ceiling; 0.1 is the dying threshold.
        {"exactly 0.1 dies (and breeds in its place)", 0.1f, {{0, 50, 0}}, 1, -1.0f},
        {"just above 0.1 lives", std::nextafter(0.1f, 1.0f), {{0, 50, 0}}, 2, std::nextafter(0.1f, 1.0f)},
    };
    for (const Case& c : cases) {
        Swarm swarm(10, 0, c.maxEnergy);
        swarm.place(c.places);
        SgParticle* first = swarm.particle(0);
        swarm.controller.update(0.01);
        EXPECT_EQ(swarm.size(), c.sizeAfter) << c.what;
        if (c.energyOfFirst >= 0.0f) {
            EXPECT_NEAR(first->energy, c.energyOfFirst, 1e-4f) << c.what;
            EXPECT_NEAR(first->color.x, c.energyOfFirst / c.maxEnergy, 1e-6f) << c.what;
            EXPECT_NEAR(first->color.w, c.energyOfFirst / c.maxEnergy - 0.2f, 1e-6f) << c.what;
        }
    }
}

TEST(ParticleController, TouchingThePlayerDealsTheEnergyAndDies) {
    struct Case {
        float health;
        std::vector<Vector3> places;
        float healthAfter;
        size_t sizeAfter;
    };
    const Case cases[] = {
        {2000.0f, {{0.5f, 0.5f, 0}}, 1900.0f, 0},        // full strength next to the player
        {30.0f, {{0.5f, 0.5f, 0}}, 0.0f, 0},             // health stops at 0
        {0.0f, {{0.5f, 0.5f, 0}}, 0.0f, 0},
        // Strongly crowded out (energy -200): a spent particle does not heal.
        {500.0f, {{0.5f, 0.5f, 0}, {20.5f, 0.5f, 0}}, 500.0f, 0},
        {500.0f, {{1.0f, 0.5f, 0}}, 500.0f, 2},          // touching spheres do not overlap
    };
    for (const Case& c : cases) {
        Swarm swarm(10);
        swarm.player.position = Vector3(0, 0.5f, 0);
        swarm.player.boundingSphere->center = swarm.player.position;
        swarm.player.health = c.health;
        swarm.place(c.places);
        swarm.controller.swarmCenter = Vector3(7, 8, 9);
        swarm.controller.update(0.01);
        EXPECT_FLOAT_EQ(swarm.player.health, c.healthAfter);
        EXPECT_EQ(swarm.size(), c.sizeAfter);
        if (c.sizeAfter == 0) {
            EXPECT_FLOAT_EQ(swarm.controller.swarmCenter.y, 8.0f) << "an empty swarm keeps its centre";
        }
    }
}

TEST(ParticleController, BreedingRespectsTheLimitAndNewbornsMoveAtOnce) {
    Swarm swarm(3);
    swarm.place({{0, 50, 0}, {5, 52, 1}});  // both at exactly 70 %: both breed
    swarm.controller.update(0.02);
    ASSERT_EQ(swarm.size(), 3u) << "the second birth would pass the limit";
    SgParticle* newborn = swarm.particle(2);
    EXPECT_EQ(newborn->position, Vector3(0, 50, 0)) << "born at the breeder";
    EXPECT_NE(newborn->move.length(), 0.0f) << "first velocity update in the same frame";
    EXPECT_EQ(newborn->move, newborn->velocity * 0.02f);

    // The swarm centre is the mean position raised by 3.
    const Vector3 mean = (Vector3(0, 50, 0) + Vector3(5, 52, 1) + Vector3(0, 50, 0)) / 3.0f;
    EXPECT_NEAR(swarm.controller.swarmCenter.x, mean.x, 1e-5f);
    EXPECT_NEAR(swarm.controller.swarmCenter.y, mean.y + 3.0f, 1e-5f);
    EXPECT_NEAR(swarm.controller.swarmCenter.z, mean.z, 1e-5f);
}

TEST(ParticleController, VelocityHopsHomingAndLimits) {
    Swarm swarm(10);
    swarm.player.position = Vector3(30, 0.5f, 0);
    swarm.place({{0, 0, 0}});
    SgParticle* p = swarm.particle(0);
    struct Case {
        float y;
        float energy;
        bool hops;
    };
    const Case cases[] = {{0.0f, 90.0f, true},   {0.6f, 90.0f, true},    {-0.6f, 90.0f, true},
                          {0.61f, 90.0f, false}, {-0.61f, 90.0f, false}, {0.0f, 80.0f, false},
                          {0.0f, 100.0f, true}};
    for (const Case& c : cases) {
        p->position = Vector3(0, c.y, 0);
        p->velocity = Vector3(1, 0, 0);
        p->grounded = true;
        p->energy = c.energy;
        swarm.controller.updateVelocity(p, 0.01);
        EXPECT_FLOAT_EQ(p->velocity.y, c.hops ? c.energy / 100.0f * 10.0f : 0.0f) << c.y << " " << c.energy;
        EXPECT_EQ(p->grounded, !c.hops);
        // Friction, then 2 units/s^2 towards the player (straight along +x here).
        EXPECT_NEAR(p->velocity.x, 1.0f - 0.01f * 0.1f + 0.02f, 2e-5f);
    }

    // In the air: half gravity; horizontal components clamped one by one.
    p->position = Vector3(0, 5, 0);
    p->grounded = false;
    p->energy = 10.0f;
    p->velocity = Vector3(-40, 3, 7);
    swarm.controller.updateVelocity(p, 0.1);
    EXPECT_FLOAT_EQ(p->velocity.x, -5.0f);
    EXPECT_FLOAT_EQ(p->velocity.z, 5.0f);
    EXPECT_NEAR(p->velocity.y, 3.0f - 1.0f + 0.2f * (-4.5f / std::sqrt(900.0f + 20.25f)), 1e-5f);
    EXPECT_EQ(p->move, p->velocity * 0.1f);

    // Exactly at the player there is no direction to home in on.
    p->position = swarm.player.position;
    p->velocity = Vector3(1, 1, 1);
    swarm.controller.updateVelocity(p, 0.1);
    EXPECT_FALSE(std::isnan(p->velocity.x) || std::isnan(p->velocity.y) || std::isnan(p->velocity.z));
}

TEST(ParticleController, QueriesOnlyClimb) {
    SgEntity root("root");
    Swarm swarm(10);
    root.addChild(&swarm.controller);
    swarm.place({{0, 5, 0}});
    SgParticle* p = swarm.particle(0);
    p->move = Vector3(0, -1, 0);
    // A query from a particle climbs through the controller to the root and
    // comes back down without reaching its siblings: nothing moves or breaks.
    p->collide();
    swarm.controller.collideWith(p, p->boundingSphere, false);
    EXPECT_FLOAT_EQ(p->position.y, 5.0f);
    root.deleteChild("particleController");
}

TEST(ParticleControllerProperty, SwarmStaysBoundedAndHarmlessBeyondZero) {
    std::mt19937 rng(2024);
    std::uniform_real_distribution<float> around(-6.0f, 6.0f), height(0.5f, 4.0f), kick(-30.0f, 30.0f);
    std::uniform_real_distribution<double> frame(0.001, 0.1);
    BoundingBox floor(Vector3(-40, -2, -40), Vector3(40, 0, 40));
    BoundingBox wallA(Vector3(-8, 0, -40), Vector3(-7, 3, 40)), wallB(Vector3(7, 0, -40), Vector3(8, 3, 40));
    for (int run = 0; run < 40; ++run) {
        const int limit = 1 + run % 25;
        Swarm swarm(limit, 0);
        swarm.player.position = Vector3(around(rng) * 0.2f, 0.5f, around(rng) * 0.2f);
        swarm.player.boundingSphere->center = swarm.player.position;
        swarm.player.health = 300.0f;
        const int count = 1 + static_cast<int>(rng() % 30);
        for (int i = 0; i < count; ++i) {
            swarm.place({{around(rng), height(rng), around(rng)}});
        }
        for (int f = 0; f < 150; ++f) {
            for (size_t i = 0; i < swarm.size(); ++i) {
                if (rng() % 4 == 0) {
                    swarm.particle(i)->velocity += Vector3(kick(rng), 0, kick(rng));
                }
            }
            const float healthBefore = swarm.player.health;
            swarm.controller.update(frame(rng));
            ASSERT_LE(static_cast<int>(swarm.size()), limit) << "run " << run;
            ASSERT_GE(swarm.player.health, 0.0f) << "run " << run;
            ASSERT_LE(swarm.player.health, healthBefore) << "run " << run << ": particles never heal";
            for (size_t i = 0; i < swarm.size(); ++i) {
                SgParticle* p = swarm.particle(i);
                ASSERT_TRUE(horizontalWithin(p->velocity, 5.0f)) << "run " << run << " frame " << f;
                resolveAgainstWalls(*p, {&floor, &wallA, &wallB});
                ASSERT_TRUE(horizontalWithin(p->velocity, 5.0f)) << "wall bounces never speed up";
            }
            if (swarm.player.health == 0.0f) {
                swarm.player.health = 50.0f;
            }
        }
    }
}
