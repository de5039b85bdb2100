// Per-frame cost of the ball physics: the swarm rules plus the wall response
// of every particle for a large swarm, and one frame of the player's ball.
#include <vector>

#include <benchmark/benchmark.h>

#include "../tests/physics/WallResolver.h"
#include "physics/BoundingBox.h"
#include "physics/SgParticle.h"
#include "physics/SgParticleController.h"
#include "physics/SgPhysController.h"
#include "physics/SgPlayer.h"
#include "platform/GameRandom.h"

namespace {
// The boxes the maze hands over for one query: the floor, the start wall and
// the wall runs near the ball (two parallel runs and a cross run, tile size 2).
struct Walls {
    BoundingBox floor{Vector3(-20, -2, -20), Vector3(20, 0, 20)};
    BoundingBox startWall{Vector3(-22, 0, -20), Vector3(-20, 3, 20)};
    BoundingBox left{Vector3(-6, 0, -10), Vector3(-4, 2, 10)};
    BoundingBox right{Vector3(4, 0, -10), Vector3(6, 3, 10)};
    BoundingBox across{Vector3(-4, 0, 8), Vector3(4, 2, 10)};
    std::vector<BoundingBox*> list() { return {&floor, &startWall, &left, &right, &across}; }
};

void swarmFrame(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    GameRandom::seed(1);
    Walls walls;
    const std::vector<BoundingBox*> boxes = walls.list();
    SgPlayer player("player", Vector3(0, 0.5f, 0), 10.0f, 0.5f, 5.0f, Vector3(1, 0, 0), 1e9f);
    // A tight swarm near the player keeps every particle alive and the swarm
    // full; a huge limit on health keeps the damage rule running.
    SgParticleController swarm("particleController", &player, count, 0, Vector3(0, 0.5f, 0.03f), 5.0f, 100.0f,
                               0.5f, 100.0f);
    auto refill = [&] {
        while (static_cast<int>(swarm.getChildren().size()) < count) {
            const float x = static_cast<float>(GameRandom::next() % 600) / 100.0f - 3.0f;
            const float z = static_cast<float>(GameRandom::next() % 600) / 100.0f - 3.0f;
            swarm.addParticle(Vector3(x + (x < 0 ? -1.0f : 1.0f), 0.5f, z + (z < 0 ? -1.0f : 1.0f)));
        }
    };
    refill();
    const double dt = 1.0 / 60.0;
    for (auto _ : state) {
        swarm.update(dt);
        for (SgEntity* child : swarm.getChildren()) {
            resolveAgainstWalls(*static_cast<SgParticle*>(child), boxes);
        }
        state.PauseTiming();
        refill();
        state.ResumeTiming();
    }
    state.counters["particles"] = count;
}
// Times are per frame.
BENCHMARK(swarmFrame)->Arg(400)->Unit(benchmark::kNanosecond);

void playerFrame(benchmark::State& state) {
    Walls walls;
    const std::vector<BoundingBox*> boxes = walls.list();
    SgPhysController controller("physCtrl1");
    SgPlayer player("player", Vector3(0, 3, 0), 10.0f, 0.5f, 5.0f, Vector3(1, 0, 0), 2000.0f);
    controller.addChild(&player);
    player.velocity = Vector3(4, 0, 3);
    const double dt = 1.0 / 60.0;
    int frame = 0;
    for (auto _ : state) {
        // Mouse input keeps the ball rolling into the walls.
        player.velocity += Vector3(frame % 120 < 60 ? 0.5f : -0.5f, 0, frame % 90 < 45 ? 0.4f : -0.4f);
        player.update(dt);
        resolveAgainstWalls(player, boxes);
        ++frame;
    }
    benchmark::DoNotOptimize(player.position);
}
BENCHMARK(playerFrame)->Unit(benchmark::kNanosecond);
}  // namespace
