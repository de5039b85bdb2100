#include <gtest/gtest.h>

#include "labyrinth/LabyrinthTestSupport.h"
#include "sg/SgBlendState.h"

// Two hundred levels built and torn down; the leak check of the sanitizer
// build reports anything the labyrinth fails to release.
TEST(LabyrinthLifetime, RebuildingLevelsReleasesEverythingButForeignChildren) {
    SgEntity controller("physCtrl1");
    SgBlendState particleBlending("particleBlending", false);
    for (int cycle = 0; cycle < 200; ++cycle) {
        auto labyrinth = buildLabyrinth(32, 500u + cycle);
        labyrinth->addChild(&controller);
        labyrinth->addChild(&particleBlending);
        ASSERT_EQ(controller.getParent(), labyrinth.get());
        labyrinth.reset();
        // The shell's children survive and are attached to the next maze.
        EXPECT_EQ(controller.getName(), "physCtrl1");
        EXPECT_EQ(particleBlending.getName(), "particleBlending");
    }
}
