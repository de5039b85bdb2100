#include "harness/RunChecks.h"

#include <cstdio>
#include <cstdlib>

#include "app/FrameLoop.h"
#include "app/Globals.h"
#include "gui/SgGUI.h"
#include "harness/Autopilot.h"
#include "labyrinth/SgLabyrinth.h"
#include "physics/SgParticleController.h"
#include "physics/SgPlayer.h"

void RunChecks::ballOutsideWalls() {
    if (player != nullptr && labyrinth != nullptr && Autopilot::insideWall(*labyrinth, player->position)) {
        fprintf(stderr, "kelvo: the ball's centre (%f, %f, %f) ended tick %ld inside a wall\n",
                player->position.x, player->position.y, player->position.z, ticksRun);
        fflush(stdout);
        abort();
    }
}

void RunChecks::traceBallTile() {
    const bool playing = mainGUI != nullptr && mainGUI->isGameRunning() && labyrinth != nullptr && player != nullptr;
    if (!playing) {
        wasPlaying = false;
        return;
    }
    const int c = labyrinth->getTileIdx(player->position.x);
    const int r = labyrinth->getTileIdx(player->position.z);
    if (!wasPlaying && particleController != nullptr) {
        printf("swarm: at most %i enemies\n", particleController->maxParticles);
    }
    if (!wasPlaying || c != column || r != row) {
        printf("ball tile: %i %i\n", c, r);
        fflush(stdout);
    }
    const bool onFloor = player->position.y > -0.6f && player->position.y < 0.6f;
    if (wasPlaying && wasOnFloor && !onFloor) {
        printf("ball leaves the floor\n");
        fflush(stdout);
    }
    wasPlaying = true;
    wasOnFloor = onFloor;
    column = c;
    row = r;
}
