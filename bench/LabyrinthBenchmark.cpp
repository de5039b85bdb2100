// Cost of building a level (generation, wall runs, meshes, display lists)
// and of one collision query against the maze. Needs an OpenGL context: a
// hidden GLUT window is created before the benchmarks run.
#include <GL/glew.h>
#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/Globals.h"
#include "labyrinth/SgLabyrinth.h"
#include "physics/BoundingSphere.h"
#include "physics/SgPhysController.h"
#include "physics/SgPlayer.h"
#include "platform/GameRandom.h"

namespace {

// The constructor prints the maze; the benchmark does not want it on screen.
std::unique_ptr<SgLabyrinth> quietLabyrinth(int n, unsigned seed) {
    fflush(stdout);
    FILE* saved = stdout;
    stdout = fopen("/dev/null", "w");
    GameRandom::seed(seed);
    std::unique_ptr<SgLabyrinth> labyrinth(new SgLabyrinth("laby1", Vector3(0.0f, 0.0f, 0.0f), n, 2, 100.0f, 1, nullptr, false, nullptr));
    fclose(stdout);
    stdout = saved;
    return labyrinth;
}

void buildLabyrinth(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    unsigned seed = 1;
    for (auto _ : state) {
        auto labyrinth = quietLabyrinth(n, seed++);
        benchmark::DoNotOptimize(labyrinth.get());
        state.PauseTiming();
        labyrinth.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(buildLabyrinth)->Arg(32)->Arg(80)->Unit(benchmark::kMillisecond);

// Centre of the free tile nearest the maze's middle that has a wall beside it,
// so the queries meet walls as they do in play.
Vector3 besideAWall(const SgLabyrinth& labyrinth) {
    const int n = labyrinth.getGridSize();
    for (int d = 0; d < n / 2; ++d) {
        for (int row = n / 2 - d; row <= n / 2 + d; ++row) {
            for (int column = n / 2 - d; column <= n / 2 + d; ++column) {
                const Tile* tile = labyrinth.getTile(row, column);
                if (tile == nullptr || !tile->isFree) {
                    continue;
                }
                const Tile* right = labyrinth.getTile(row, column + 1);
                if (right != nullptr && !right->isFree) {
                    return Vector3(tile->position.x + 1.0f, 0.5f, tile->position.z + 1.0f);
                }
            }
        }
    }
    return Vector3(0.0f, 0.5f, 0.0f);
}

// One ball's query: triggers, box response passes and the position update,
// for a ball rolling through the middle of the maze.
void collisionQuery(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    auto labyrinth = quietLabyrinth(n, 7);
    SgPhysController controller("physCtrl1");
    const Vector3 where = besideAWall(*labyrinth);
    SgPlayer ball("player", where, 10.0f, 0.5f, 5.0f, Vector3(1.0f, 0.0f, 0.0f), 2000.0f);
    controller.addChild(&ball);
    labyrinth->addChild(&controller);
    for (auto _ : state) {
        ball.position = where;
        ball.boundingSphere->center = ball.position;
        // Rolling towards the wall on its right, one 60 Hz frame of travel.
        ball.velocity = Vector3(3.0f, 0.0f, 2.0f);
        ball.move = Vector3(0.05f, 0.0f, 0.033f);
        ball.grounded = true;
        BoundingSphere query(ball.position, 0.5 + 0.06);
        labyrinth->collideWith(&ball, &query, false);
        benchmark::DoNotOptimize(ball.position);
    }
    labyrinth->deleteChild("physCtrl1");
}
BENCHMARK(collisionQuery)->Arg(32)->Arg(80);

// The per-frame camera query that makes walls between camera and ball see-through.
void cameraRayQuery(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    auto labyrinth = quietLabyrinth(n, 7);
    const Vector3 ball = besideAWall(*labyrinth);
    BoundingSphere sphere(ball, 2.5);
    for (auto _ : state) {
        labyrinth->collideWithCameraRay(ball + Vector3(0.0f, 30.0f, 20.0f), ball, &sphere);
    }
}
BENCHMARK(cameraRayQuery)->Arg(32)->Arg(80);

}  // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(64, 64);
    glutCreateWindow("kelvo labyrinth benchmark");
    glutHideWindow();
    if (glewInit() != GLEW_OK) {
        fprintf(stderr, "GLEW could not be initialised\n");
        return 1;
    }
    shaderSupported = GLEW_VERSION_2_0 != 0;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
